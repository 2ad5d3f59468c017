// tarsyn7-render: plays MIDI through a VST 2.4 instrument into an audio file.
#include <iostream>

#include "tools/host/OperatingSystem.h"
#include "tools/host/PluginHost.h"
#include "tools/host/ToolMain.h"
#include "tools/render/AudioFileWriter.h"
#include "tools/render/DemoPhrase.h"
#include "tools/render/MidiFileReader.h"
#include "tools/render/MidiFileWriter.h"
#include "tools/render/RenderOptions.h"

namespace {

void ChooseSound(PluginHost& host, const RenderOptions& options) {
  const bool demo = options.midiFile.empty();
  if (demo && !options.sound.ChoosesSound() && host.Effect().uniqueID == kDemoPluginId) {
    for (const std::string& setting : DemoSound()) ApplySetting(host, setting);
  }
  SelectSound(host, options.sound);
}

void Render(PluginHost& host, const MidiFile& song, const RenderOptions& options) {
  RenderSettings settings = options.render;
  settings.progress = StderrIsTerminal();
  Renderer renderer(host, song, settings);
  AudioFileWriter out(options.outputFile, settings.sampleRate, options.bits);
  renderer.Run(out);
  out.Close();
  if (!options.midiOutFile.empty()) WriteMidiFile(renderer.SentMidi(), options.midiOutFile);
  if (options.stats)
    std::cout << renderer.Stats().Report(settings.sampleRate, renderer.WallSeconds());
}

int Run(const RenderOptions& options) {
  if (options.help) {
    std::cout << HelpText();
    return 0;
  }
  const MidiFile song = options.midiFile.empty() ? DemoPhrase() : ReadMidiFile(options.midiFile);
  PluginHost host(options.pluginPath.empty() ? FindDefaultPlugin() : options.pluginPath);
  if (options.render.doublePrecision && !host.CanProcessDouble()) {
    throw RenderError("--double: the plug-in has no double-precision process call");
  }
  ChooseSound(host, options);
  if (options.listPrograms) ListPrograms(host, std::cout);
  if (options.listParameters) ListParameters(host, std::cout);
  if (options.listPrograms || options.listParameters) return 0;
  Render(host, song, options);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return RunTool("tarsyn7-render", [&] {
    return Run(ParseOptions(std::vector<std::string>(argv + 1, argv + argc)));
  });
}
