// tarsyn7-render: plays MIDI through a VST 2.4 instrument into an audio file.
#include <cmath>
#include <iostream>
#include <utility>
#include <vector>

#include "host/ToolCommands.h"
#include "tools/host/OperatingSystem.h"
#include "tools/host/PluginHost.h"
#include "tools/host/ToolMain.h"
#include "tools/render/AudioFileWriter.h"
#include "tools/render/DemoPhrase.h"
#include "tools/render/MidiFileReader.h"
#include "tools/render/MidiFileWriter.h"
#include "tools/render/OutputLevel.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/SampleSpool.h"

namespace {

// Answers the settings the user gave, to be held through the render.
std::vector<HeldSetting> ChooseSound(PluginHost& host, const RenderOptions& options) {
  const bool demo = options.midiFile.empty();
  if (demo && !options.sound.ChoosesSound() && host.Effect().uniqueID == kDemoPluginId) {
    for (const std::string& setting : DemoSound()) ApplySetting(host, setting);
  }
  return SelectSound(host, options.sound);
}

// Normalising needs the peak of the whole render before the first sample is written:
// the render goes to a temporary file next to the output first.
void Render(PluginHost& host, const MidiFile& song, const RenderOptions& options,
            std::vector<HeldSetting> held) {
  RenderSettings settings = options.render;
  settings.progress = StderrIsTerminal();
  Renderer renderer(host, song, settings);
  renderer.HoldSettings(std::move(held));
  AudioFileWriter out(options.outputFile, settings.sampleRate, options.bits);
  out.SetGain(options.gainDecibels);
  if (options.normalize) {
    SampleSpool spool(options.outputFile + ".part");
    renderer.Run(spool);
    const SignalStats& stats = renderer.Stats();
    out.SetGain(NormalizingGain(std::fmax(stats.Peak(0), stats.Peak(1)), options.normalizeDbfs));
    spool.Replay(out);
  } else {
    renderer.Run(out);
  }
  out.Close();
  const std::string warning = LevelWarning(out);
  if (!warning.empty()) std::cerr << "tarsyn7-render: " << warning;
  if (!options.midiOutFile.empty()) WriteMidiFile(renderer.SentMidi(), options.midiOutFile);
  if (options.stats)
    std::cout << renderer.Stats().Report(settings.sampleRate, renderer.WallSeconds());
}

// The plug-in draws its own panel: the picture is exactly what its editor shows.
void WritePanelScreenshot(PluginHost& host, const std::string& path) {
  void* file = const_cast<char*>(path.c_str());  // read only
  if (host.Dispatch(effVendorSpecific, ToolCommands::kIndex, ToolCommands::kWritePanelScreenshot,
                    file) != 1) {
    throw RenderError("the plug-in could not write its panel to " + path);
  }
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
  std::vector<HeldSetting> held = ChooseSound(host, options);
  if (options.listPrograms) ListPrograms(host, std::cout);
  if (options.listParameters) ListParameters(host, std::cout);
  if (!options.screenshotFile.empty()) WritePanelScreenshot(host, options.screenshotFile);
  if (options.listPrograms || options.listParameters || !options.screenshotFile.empty()) return 0;
  Render(host, song, options, std::move(held));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return RunTool("tarsyn7-render", [&] {
    return Run(ParseOptions(std::vector<std::string>(argv + 1, argv + argc)));
  });
}
