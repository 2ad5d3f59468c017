#pragma once

#include <stdexcept>

// A failure the renderer reports to the user and ends on: unreadable or broken input,
// a binary that is no plug-in, an unwritable output.
class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
