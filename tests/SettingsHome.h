#pragma once

// A test whose settings file lives in a folder of its own: XDG_DATA_HOME points there for
// the test's duration, and the process-wide tape settings start from their defaults.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "programs/TapeReadSettings.h"

class SettingsHome : public testing::Test {
 protected:
  void SetUp() override {
    const char* before = std::getenv("XDG_DATA_HOME");
    saved_ = before ? before : "";
    folder_ = std::filesystem::path(testing::TempDir()) /
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    SetSharedTapeReadSettings({});
  }
  void TearDown() override {
    setenv("XDG_DATA_HOME", saved_.c_str(), 1);
    std::filesystem::remove_all(folder_);
    SetSharedTapeReadSettings({});
  }

  std::filesystem::path folder_;

 private:
  std::string saved_;
};
