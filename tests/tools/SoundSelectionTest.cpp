// Settings given as the plug-in displays them, through the renderer's host side.
#include "tools/render/SoundSelection.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/host/PluginHost.h"
#include "tools/host/RenderError.h"

// Every parameter, across its range and through its display functions: what it shows
// sets it back to the same display.
TEST(SoundSelection, EveryDisplayedValueSetsBackToTheSameDisplay) {
  PluginHost host(TARSYN7_PLUGIN_PATH);
  ASSERT_EQ(host.ParameterCount(), 80);
  for (int i = 0; i < host.ParameterCount(); ++i) {
    for (float normalized : {0.0f, 0.137f, 0.5f, 0.731f, 0.999f, 1.0f}) {
      host.SetParameter(i, normalized);
      const std::string shown = host.ParameterDisplay(i);
      host.SetParameter(i, normalized < 0.5f ? 1.0f : 0.0f);
      const HeldSetting held = ApplySetting(host, std::to_string(i) + "=" + shown);
      EXPECT_EQ(host.ParameterDisplay(i), shown) << host.ParameterName(i) << " " << normalized;
      EXPECT_EQ(held.index, i);
    }
  }
}

TEST(SoundSelection, ValuesNoSettingShowsAreRefusedWithTheRange) {
  PluginHost host(TARSYN7_PLUGIN_PATH);
  EXPECT_EQ(ApplySetting(host, "volume = -6").index, 0);  // the number, written another way
  EXPECT_EQ(host.ParameterDisplay(0), "-6.0");
  for (const char* setting : {"Volume=0.5", "Tune=-25.5", "Tune=-51", "God Mode=Maybe"}) {
    try {
      ApplySetting(host, setting);
      ADD_FAILURE() << setting << " was taken";
    } catch (const UsageError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(" takes values from "), std::string::npos) << message;
    }
  }
  try {
    ApplySetting(host, "Tune=-25.5");
  } catch (const UsageError& error) {
    EXPECT_NE(std::string(error.what())
                  .find("\"Tune\" shows no value as \"-25.5\"; it takes "
                        "values from -50 to 50"),
              std::string::npos)
        << error.what();
  }
}
