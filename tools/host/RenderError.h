#pragma once

#include <stdexcept>

// A failure a command-line program reports to the user and ends on: unreadable or broken
// input, a binary that is no plug-in, an unwritable output.
class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line that makes no sense: an unknown option, a value out of range, a setting
// the plug-in cannot take. The program shows how to use it.
class UsageError : public RenderError {
 public:
  using RenderError::RenderError;
};
