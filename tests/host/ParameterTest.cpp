#include "host/Parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

Parameter IntegerParameter() {
  Parameter parameter;
  parameter.InitInt("Steps", 0, 0, 31);
  return parameter;
}

Parameter ContinuousParameter(double step = 1.0) {
  Parameter parameter;
  parameter.InitDouble("Time", 0.0, 0.0, 31.0, step);
  return parameter;
}

}  // namespace

TEST(ParameterNormalisation, IntegerRoundsToStepContinuousDoesNot) {
  Parameter integer = IntegerParameter();
  integer.SetNormalized(0.5);
  EXPECT_EQ(integer.Value(), 16.0);
  integer.SetNormalized(1.0);
  EXPECT_EQ(integer.Value(), 31.0);

  Parameter continuous = ContinuousParameter();
  continuous.SetNormalized(0.5);
  EXPECT_EQ(continuous.Value(), 15.5);
  EXPECT_DOUBLE_EQ(continuous.Normalized(), 0.5);
}

TEST(ParameterNormalisation, HostileInputStaysInRange) {
  Parameter parameter = ContinuousParameter();
  parameter.SetNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(parameter.Value(), 0.0);
  parameter.SetNormalized(7.0);
  EXPECT_EQ(parameter.Value(), 31.0);
  parameter.SetNormalized(-3.0);
  EXPECT_EQ(parameter.Value(), 0.0);
  EXPECT_EQ(parameter.Clamp(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(parameter.ToNormalized(99.0), 1.0);
}

TEST(ParameterNormalisation, ShapeCurvesTheNormalisedValue) {
  Parameter parameter;
  parameter.InitDouble("Curve", 0.0, 0.0, 100.0, 1.0, 2.0);
  parameter.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(parameter.Value(), 25.0);
  EXPECT_DOUBLE_EQ(parameter.Normalized(), 0.5);
}

TEST(ParameterDefinition, MaximumIsNeverBelowMinimumPlusStep) {
  Parameter parameter;
  parameter.InitDouble("Flat", 2.0, 2.0, 1.0, 0.5);
  EXPECT_EQ(parameter.Maximum(), 2.5);
}

TEST(ParameterDefinition, KindIsSetOnlyOnce) {
  Parameter parameter;
  parameter.InitBool("Switch");
  parameter.InitDouble("Switch", 0.0, 0.0, 1.0, 1.0);
  EXPECT_EQ(parameter.GetType(), Parameter::kTypeBool);
}

TEST(ParameterDisplay, PrecisionFollowsTheStep) {
  EXPECT_EQ(ContinuousParameter(0.01).DisplayText(1.5), "1.50");
  EXPECT_EQ(ContinuousParameter(0.001).DisplayText(1.5), "1.500");
  EXPECT_EQ(ContinuousParameter(1.0).DisplayText(15.5), "15");
  EXPECT_EQ(ContinuousParameter(1.0 / 240.0).Precision(), 6);
}

TEST(ParameterDisplay, TextsFunctionsAndNegation) {
  Parameter choice;
  choice.InitEnum("Mode", 0, "Poly", "Chord");
  EXPECT_EQ(choice.DisplayText(0.0), "Poly");
  EXPECT_EQ(choice.DisplayText(1.0), "Chord");
  EXPECT_EQ(choice.DisplayText(1.0, false), "1");
  int value = -1;
  EXPECT_TRUE(choice.ValueOfText("Chord", value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(choice.ValueOfText("chord", value));

  Parameter negated = ContinuousParameter(0.01);
  negated.SetNegateDisplay(true);
  EXPECT_EQ(negated.DisplayText(2.0), "-2.00");

  Parameter withFunction = ContinuousParameter();
  withFunction.SetDisplayFunction([](double, char* text) { text[0] = 'x', text[1] = '\0'; });
  EXPECT_EQ(withFunction.DisplayText(3.0), "x");
}

TEST(ParameterDisplay, LabelIsHiddenWhileAValueTextShows) {
  Parameter choice;
  choice.InitBool("Switch");
  EXPECT_EQ(choice.Label(), "");
  EXPECT_EQ(choice.DisplayText(), "on");
}

TEST(ParameterDefinition, LongNamesAreCut) {
  Parameter parameter;
  parameter.InitDouble("A name that is far longer than thirty-one characters", 0, 0, 1, 1);
  EXPECT_EQ(parameter.Name().size(), static_cast<size_t>(Parameter::kMaxTextLength));
}
