#pragma once

// The published table of the Poly-800's factory programs, read from ../shared/data at
// test time: one row per program, its values under the parameters' names.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Tarsyn7.h"
#include "programs/HardwareProgramRecord.h"

struct FactoryProgram {
  std::string name;
  ParameterValues values{};
};

inline std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream stream(line);
  std::string cell;
  while (std::getline(stream, cell, ',')) {
    if (!cell.empty() && cell.back() == '\r') cell.pop_back();  // the table has CRLF lines
    cells.push_back(cell);
  }
  return cells;
}

// Empty when the table is absent.
inline std::vector<FactoryProgram> ReadFactoryTable() {
  std::ifstream file(TARSYN7_SHARED_DIR "/data/poly800-factory-programs.csv");
  std::string line;
  if (!file || !std::getline(file, line)) return {};
  Tarsyn7 plug(nullptr);
  std::vector<int> columns;
  for (const std::string& heading : SplitCsvLine(line)) {
    int index = -1;
    for (int i = 0; i < kParameterCount; ++i) {
      if (plug.GetParameter(i)->Name() == heading) index = i;
    }
    columns.push_back(index);
  }
  std::vector<FactoryProgram> programs;
  while (std::getline(file, line)) {
    const std::vector<std::string> cells = SplitCsvLine(line);
    FactoryProgram program;
    for (size_t i = 0; i < cells.size() && i < columns.size(); ++i) {
      if (i == 1) program.name = cells[i];
      if (columns[i] >= 0) program.values[static_cast<size_t>(columns[i])] = std::stod(cells[i]);
    }
    programs.push_back(program);
  }
  return programs;
}

// Stores the table's values of the parameters the hardware record holds into the 64 slots.
inline void StoreFactoryTable(Tarsyn7& plug, const std::vector<FactoryProgram>& table) {
  for (int slot = 0; slot < 64; ++slot) {
    plug.RecallPreset(slot);
    for (ParameterIndex index : HardwareRecordParameters()) {
      plug.GetParameter(index)->Set(table[static_cast<size_t>(slot)].values[index]);
    }
    plug.ModifyCurrentPreset();
  }
}
