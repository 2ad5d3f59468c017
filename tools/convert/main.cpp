// tarsyn7-convert: Tarsyn7 bank and program files, converted and listed by the plug-in.
#include <iostream>

#include "tools/convert/Conversion.h"
#include "tools/host/PluginHost.h"
#include "tools/host/ToolMain.h"

int main(int argc, char** argv) {
  return RunTool("tarsyn7-convert", [&] {
    const ConvertOptions options =
        ParseConvertOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << ConvertHelpText();
      return 0;
    }
    PluginHost host(options.pluginPath.empty() ? FindDefaultPlugin() : options.pluginPath);
    RunConversion(host, options, std::cout);
    return 0;
  });
}
