#pragma once

#include <string>

class PluginHost;

// FXP and FXB files, in both forms: opaque chunks handed to the plug-in, and lists of
// normalised parameter values set one by one. Every failure throws RenderError.

// Into the plug-in's current program.
void LoadProgramFile(PluginHost& host, const std::string& path);
// Into the plug-in's programs.
void LoadBankFile(PluginHost& host, const std::string& path);
