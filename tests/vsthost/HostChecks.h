#pragma once

#include <cstdio>
#include <string>

// The test hosts' tally: one line per failed check, a summary at the end.
class HostChecks {
 public:
  void Check(bool condition, const std::string& what) {
    if (condition) {
      ++passed_;
    } else {
      ++failed_;
      std::printf("FAILED: %s\n", what.c_str());
    }
  }
  // Prints "NAME: N passed, M failed"; the exit status for the checks.
  int Summary(const char* name) const {
    std::printf("%s: %d passed, %d failed\n", name, passed_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};
