// Makes a factory bank image (an FXB file) from its readable source:
//   factory_bank_generator SOURCE.txt OUTPUT.fxb
// Each program starts from the default state; its settings are set through the
// plug-in's own parameter table, hardware numbers through the hardware record's coding.
#include <iostream>
#include <string>
#include <vector>

#include "control/ParameterIndex.h"
#include "engine/Tarsyn7.h"
#include "programs/BankFiles.h"
#include "programs/ChunkHeader.h"
#include "programs/HardwareProgramRecord.h"
#include "programs/StateRecord.h"
#include "programs/WholeFile.h"
#include "resources/generator/BankSource.h"

namespace {

constexpr size_t kLargestSource = 1u << 20;

bool IsRecordParameter(int index) {
  for (ParameterIndex held : HardwareRecordParameters()) {
    if (held == index) return true;
  }
  return false;
}

int ParameterNamed(Tarsyn7& plug, const SourceSetting& setting, const std::string& source) {
  for (int i = 0; i < kFirstReserved; ++i) {
    if (plug.GetParameter(i)->Name() == setting.parameter) return i;
  }
  throw SourceError(source + ":" + std::to_string(setting.line) + ": no parameter \"" +
                    setting.parameter + "\"");
}

double PlainValue(const Parameter& parameter, const SourceSetting& setting,
                  const std::string& source) {
  int fromText = 0;
  if (parameter.ValueOfText(setting.value, fromText)) return fromText;
  size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(setting.value, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != setting.value.size()) {
    throw SourceError(source + ":" + std::to_string(setting.line) + ": \"" + setting.value +
                      "\" is no value of \"" + parameter.Name() + "\"");
  }
  return value;
}

StateRecord Record(Tarsyn7& plug, const BankSource& bank, const SourceProgram& program,
                   const std::string& source) {
  StateRecord record;
  for (int i = 0; i < StateRecord::kValueCount; ++i) {
    const Parameter* parameter = plug.GetParameter(i);
    record.values[static_cast<size_t>(i)] = parameter->Clamp(parameter->Default());
  }
  std::vector<SourceSetting> settings = bank.common;
  settings.insert(settings.end(), program.settings.begin(), program.settings.end());
  for (const SourceSetting& setting : settings) {
    const int index = ParameterNamed(plug, setting, source);
    const Parameter& parameter = *plug.GetParameter(index);
    const double value = PlainValue(parameter, setting, source);
    record.values[static_cast<size_t>(index)] = bank.hardwareValues && IsRecordParameter(index)
                                                    ? PlainFromHardwareValue(index, value)
                                                    : parameter.Clamp(value);
  }
  if (bank.hardwareValues) record.values[kLegacyMode] = 1.0;
  record.chord = program.chord;
  record.sequence = program.sequence;
  record.formatVersion = bank.formatVersion;
  record.legacyByte = record.values[kLegacyMode] >= 0.5 ? 1 : 0;
  return record;
}

std::vector<uint8_t> BankImage(const BankSource& bank, const std::string& source) {
  if (bank.programs.size() != static_cast<size_t>(BankFiles::kMaxPrograms)) {
    throw SourceError(source + ": a bank holds 64 programs, not " +
                      std::to_string(bank.programs.size()));
  }
  Tarsyn7 plug(nullptr);
  ChunkBuffer chunk;
  WriteChunkHeader(chunk);
  for (const SourceProgram& program : bank.programs) {
    chunk.PutString(program.name);
    chunk.PutByte(1);
    AppendLegacyStateRecord(chunk, Record(plug, bank, program, source));
  }
  if (chunk.Failed()) throw SourceError("out of memory");
  return BankFiles::BankFile({plug.Identity().uniqueId, bank.pluginVersion},
                             BankFiles::kMaxPrograms, 0, chunk);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: factory_bank_generator SOURCE.txt OUTPUT.fxb\n";
    return 2;
  }
  try {
    std::vector<uint8_t> text;
    if (!ReadWholeFile(argv[1], kLargestSource, text))
      throw SourceError(std::string(argv[1]) + ": cannot read");
    const BankSource bank = ParseBankSource(std::string(text.begin(), text.end()), argv[1]);
    if (!WriteWholeFile(argv[2], BankImage(bank, argv[1]))) {
      throw SourceError(std::string(argv[2]) + ": cannot write");
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
