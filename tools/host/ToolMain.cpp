#include "tools/host/ToolMain.h"

#include <iostream>

#include "tools/host/RenderError.h"

namespace {

constexpr int kFailed = 1;
constexpr int kWrongUsage = 2;

}  // namespace

int RunTool(const char* program, const std::function<int()>& run) {
  try {
    return run();
  } catch (const UsageError& error) {
    std::cerr << program << ": " << error.what() << "\nSee " << program << " --help\n";
    return kWrongUsage;
  } catch (const std::exception& error) {
    std::cerr << program << ": " << error.what() << "\n";
    return kFailed;
  }
}
