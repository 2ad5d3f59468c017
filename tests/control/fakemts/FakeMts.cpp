// A stand-in for the MTS-ESP client library: a master the tests switch on and off, retune
// and make filter notes. Built once whole and once without the functions marked below.

#include <cmath>

#define FAKE_MTS_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

bool master = false;
int clients = 0;
bool filtered[128] = {};
const char* scaleName = nullptr;

double* Table() {
  static double table[128];
  static bool filled = false;
  if (!filled) {
    for (int key = 0; key < 128; ++key) table[key] = 440.0 * std::pow(2.0, (key - 69) / 12.0);
    filled = true;
  }
  return table;
}

}  // namespace

FAKE_MTS_EXPORT bool MTS_HasMaster() {
  return master;
}
FAKE_MTS_EXPORT const double* MTS_GetTuningTable() {
  return Table();
}
FAKE_MTS_EXPORT void MTS_DeregisterClient() {
  --clients;
}
#ifndef FAKE_MTS_PARTIAL
FAKE_MTS_EXPORT void MTS_RegisterClient() {
  ++clients;
}
FAKE_MTS_EXPORT bool MTS_ShouldFilterNote(char key, char) {
  return filtered[key & 0x7F];
}
FAKE_MTS_EXPORT const char* MTS_GetScaleName() {
  return scaleName;
}
#endif

// The tests' controls.
FAKE_MTS_EXPORT void FakeMtsSetMaster(bool on) {
  master = on;
}
FAKE_MTS_EXPORT void FakeMtsSetFrequency(int key, double hertz) {
  Table()[key] = hertz;
}
FAKE_MTS_EXPORT void FakeMtsSetFiltered(int key, bool on) {
  filtered[key] = on;
}
FAKE_MTS_EXPORT void FakeMtsSetScaleName(const char* name) {
  scaleName = name;
}
FAKE_MTS_EXPORT int FakeMtsClients() {
  return clients;
}
