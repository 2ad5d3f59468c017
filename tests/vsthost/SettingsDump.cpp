// Writes a configuration file with every key set away from its default, or reads one and
// prints every setting, one per line. Built for Linux and Windows, so a file written on
// one system can be read on the other and the two printouts compared.
//
//   settings-dump write FILE
//   settings-dump read FILE
#include <cstdio>
#include <string>

#include "programs/Configuration.h"

namespace {

constexpr int kCutoff = 23;  // "VCF Cutoff"

int Write(const std::string& path) {
  Configuration configuration(path);
  configuration.SetStartupBank("C:\\Banks\\" + std::string(280, 'x') + " \"Poly\" bank.fxb");
  configuration.SetProgramFilesFolder("C:\\Users\\someone\\Documents\\Poly 800 programs");
  configuration.SetShowParameters(true);
  configuration.SetMidiThru(true);
  configuration.SetIgnoreProgramChange(true);
  configuration.SetUseBreathController(true);
  configuration.Controllers()[74] = kCutoff;
  configuration.Controllers()[0] = 79;
  SetSharedTapeReadSettings({true, true, 120, 7000, 35});
  const bool written = configuration.Write(Configuration::kEverything) &&
                       configuration.Write(Configuration::kProgramFilesFolder);
  if (!written) std::printf("cannot write %s\n", path.c_str());
  return written ? 0 : 1;
}

int Read(const std::string& path) {
  Configuration configuration(path);
  if (!configuration.Read()) {
    std::printf("cannot read %s\n", path.c_str());
    return 1;
  }
  std::printf("startup bank: %s\n", configuration.StartupBank().c_str());
  std::printf("program files: %s\n", configuration.ProgramFilesFolder().c_str());
  std::printf("show parameters %d, MIDI thru %d, ignore program change %d, breath %d\n",
              configuration.ShowParameters(), configuration.MidiThru(),
              configuration.IgnoreProgramChange(), configuration.UseBreathController());
  const TapeReadSettings tape = SharedTapeReadSettings();
  std::printf("tape: highpass %d %d Hz, lowpass %d %d Hz, threshold %d %%\n", tape.highpassEnabled,
              tape.highpassFrequency, tape.lowpassEnabled, tape.lowpassFrequency, tape.threshold);
  for (size_t controller = 0; controller < configuration.Controllers().size(); ++controller) {
    const int parameter = configuration.Controllers()[controller];
    if (parameter >= 0) std::printf("CC%d -> %d\n", static_cast<int>(controller), parameter);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode == "write") return Write(argv[2]);
  if (mode == "read") return Read(argv[2]);
  std::printf("usage: settings-dump write|read FILE\n");
  return 2;
}
