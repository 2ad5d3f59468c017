#include "tools/render/RenderOptions.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

constexpr int kLargestBlock = 8192;
constexpr double kLongestTail = 600.0;

const char kHelp[] = R"(Usage: tarsyn7-render [OPTIONS] [FILE.mid] -o OUT.wav

Plays a Standard MIDI File (format 0 or 1) through a VST 2.4 instrument and writes
what it plays to a stereo audio file. Without FILE.mid it plays a built-in demo.

Output:
  -o, --output FILE       the audio file to write: WAV, or FLAC when it ends in .flac
  --bits 16|24|32         16- or 24-bit integer samples, or 32-bit float (WAV only);
                          default 24. Integer samples beyond full scale are clipped
                          (the number is reported); float samples are kept as they are
  --gain DB               scale the output by DB decibels (-120 to 60); default 0
  --normalize [DBFS]      scale the whole render so that its peak lands at DBFS
                          (-60 to 0); default -1
  --sample-rate HZ        8000 to 768000; default 48000
  --block-size N          frames per process call, 1 to 8192; default 512
  --random-blocks         every block a random size from 1 to --block-size
  --seed N                seed of --random-blocks; default 1
  --tail SECONDS          rendered after the last event; default 2
  --double                use the plug-in's double-precision process call
  --midi-out FILE.mid     write the MIDI the plug-in sends to a file

Sound:
  --plugin PATH           the VST 2.4 instrument; default: Tarsyn764.so next to this
                          program, else in ~/.vst, /usr/local/lib/vst or /usr/lib/vst
  --bank FILE.fxb         load a bank of programs
  --program N             select program N (counted from 0)
  --fxp FILE.fxp          load a program into the selected program
  --set "NAME=VALUE"      set a parameter, named as --list-params shows it (or by its
                          index there), to a value exactly as the plug-in displays it
                          ("VCF Cutoff=40", "God Mode=On", "Volume=-6.0"); repeatable.
                          A plug-in that reads no text takes a number from 0 to 1.
  --ignore-program-changes
                          keep the chosen program: the song's program changes are not
                          handed to the plug-in
  The demo brings its own Tarsyn7 sound unless --bank, --program or --fxp is given;
  --set applies on top of whatever sound is chosen and holds for the whole render: it
  is set again after every program change the song makes.

Information:
  --list-programs         print the programs and stop
  --list-params           print every parameter (index, name, value 0-1, display)
                          and stop
  --stats                 print peak and RMS per channel and the render speed
  --screenshot FILE.png   write the plug-in's front panel, as its editor draws it for
                          the chosen sound, to a PNG file and stop
  -h, --help              print this text

Exit status: 0 on success, 1 when something could not be read, loaded or written,
2 for a wrong command line.
)";

int ParseInt(const std::string& option, const std::string& text, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < low || value > high) {
    throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + text + "\"");
  }
  return static_cast<int>(value);
}

bool ParseDouble(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

// A number from `low` to `high`; `unit` names what it counts.
double ParseNumber(const std::string& option, const std::string& text, double low, double high,
                   const char* unit) {
  double value = 0.0;
  if (!ParseDouble(text, value) || !(value >= low && value <= high)) {
    char range[64];
    std::snprintf(range, sizeof range, " from %g to %g", low, high);
    throw UsageError(option + " takes " + unit + range + ", not \"" + text + "\"");
  }
  return value;
}

using ValueOption =
    std::function<void(RenderOptions&, const std::string& option, const std::string& value)>;
using FlagOption = std::function<void(RenderOptions&)>;

const std::map<std::string, ValueOption>& ValueOptions() {
  static const std::map<std::string, ValueOption> options = {
      {"--output", [](RenderOptions& o, auto&, auto& v) { o.outputFile = v; }},
      {"--bits",
       [](RenderOptions& o, auto& name, auto& v) {
         o.bits = ParseInt(name, v, 16, 32);
         if (o.bits != 16 && o.bits != 24 && o.bits != 32) {
           throw UsageError("--bits takes 16, 24 or 32");
         }
       }},
      {"--sample-rate", [](RenderOptions& o, auto& name,
                           auto& v) { o.render.sampleRate = ParseInt(name, v, 8000, 768000); }},
      {"--block-size", [](RenderOptions& o, auto& name,
                          auto& v) { o.render.blockSize = ParseInt(name, v, 1, kLargestBlock); }},
      {"--seed",
       [](RenderOptions& o, auto& name, auto& v) {
         o.render.seed = static_cast<uint32_t>(ParseInt(name, v, 0, 2147483647));
       }},
      {"--tail",
       [](RenderOptions& o, auto& name, auto& v) {
         o.render.tailSeconds = ParseNumber(name, v, 0.0, kLongestTail, "seconds");
       }},
      {"--gain", [](RenderOptions& o, auto& name,
                    auto& v) { o.gainDecibels = ParseNumber(name, v, -120.0, 60.0, "decibels"); }},
      {"--midi-out", [](RenderOptions& o, auto&, auto& v) { o.midiOutFile = v; }},
      {"--plugin", [](RenderOptions& o, auto&, auto& v) { o.pluginPath = v; }},
      {"--bank", [](RenderOptions& o, auto&, auto& v) { o.sound.bankFile = v; }},
      {"--program",
       [](RenderOptions& o, auto& name, auto& v) { o.sound.program = ParseInt(name, v, 0, 9999); }},
      {"--fxp", [](RenderOptions& o, auto&, auto& v) { o.sound.programFile = v; }},
      {"--set", [](RenderOptions& o, auto&, auto& v) { o.sound.settings.push_back(v); }},
      {"--screenshot", [](RenderOptions& o, auto&, auto& v) { o.screenshotFile = v; }},
  };
  return options;
}

const std::map<std::string, FlagOption>& FlagOptions() {
  static const std::map<std::string, FlagOption> options = {
      {"--random-blocks", [](RenderOptions& o) { o.render.randomBlocks = true; }},
      {"--double", [](RenderOptions& o) { o.render.doublePrecision = true; }},
      {"--list-programs", [](RenderOptions& o) { o.listPrograms = true; }},
      {"--list-params", [](RenderOptions& o) { o.listParameters = true; }},
      {"--stats", [](RenderOptions& o) { o.stats = true; }},
      {"--ignore-program-changes", [](RenderOptions& o) { o.render.ignoreProgramChanges = true; }},
      {"--help", [](RenderOptions& o) { o.help = true; }},
  };
  return options;
}

// Options whose value may be left out. A following argument is their value only when
// it is a number, so the option may stand in front of the MIDI file.
struct OptionalValue {
  ValueOption take;
  const char* otherwise;
};

const std::map<std::string, OptionalValue>& OptionalValueOptions() {
  static const std::map<std::string, OptionalValue> options = {
      {"--normalize",
       {[](RenderOptions& o, auto& name, auto& v) {
          o.normalize = true;
          o.normalizeDbfs = ParseNumber(name, v, -60.0, 0.0, "dBFS");
        },
        "-1"}},
  };
  return options;
}

std::string LongName(const std::string& name) {
  if (name == "-o") return "--output";
  if (name == "-h") return "--help";
  return name;
}

}  // namespace

RenderOptions ParseOptions(const std::vector<std::string>& arguments) {
  RenderOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || argument[0] != '-') {
      if (!options.midiFile.empty()) throw UsageError("more than one MIDI file: " + argument);
      options.midiFile = argument;
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string name = LongName(argument.substr(0, equals));
    if (const auto flag = FlagOptions().find(name); flag != FlagOptions().end()) {
      if (equals != std::string::npos) throw UsageError(name + " takes no value");
      flag->second(options);
      continue;
    }
    if (const auto optional = OptionalValueOptions().find(name);
        optional != OptionalValueOptions().end()) {
      double ignored = 0.0;
      if (equals != std::string::npos) {
        optional->second.take(options, name, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size() && ParseDouble(arguments[i + 1], ignored)) {
        optional->second.take(options, name, arguments[++i]);
      } else {
        optional->second.take(options, name, optional->second.otherwise);
      }
      continue;
    }
    const auto option = ValueOptions().find(name);
    if (option == ValueOptions().end()) throw UsageError("unknown option " + argument);
    if (equals != std::string::npos) {
      option->second(options, name, argument.substr(equals + 1));
    } else if (i + 1 < arguments.size()) {
      option->second(options, name, arguments[++i]);
    } else {
      throw UsageError(name + " needs a value");
    }
  }
  if (options.normalize && options.gainDecibels != 0.0) {
    throw UsageError("--gain and --normalize both set the level; give one of them");
  }
  const bool lists =
      options.listPrograms || options.listParameters || !options.screenshotFile.empty();
  if (!options.help && !lists && options.outputFile.empty()) {
    throw UsageError("no output file: give one with -o OUT.wav");
  }
  return options;
}

std::string HelpText() {
  return kHelp;
}
