#pragma once

#include <ostream>

#include "tools/convert/ConvertOptions.h"

class PluginHost;

// Carries out the options with the loaded plug-in: reads the input (or restores a
// factory bank), then lists it or writes the output. Throws RenderError on failure.
void RunConversion(PluginHost& host, const ConvertOptions& options, std::ostream& out);
