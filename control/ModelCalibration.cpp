#include "control/ModelCalibration.h"

#include <array>
#include <cmath>

#include "control/ParameterIndex.h"

namespace {

// Hardware MG rates in cycles per second, by "MG Frequency".
constexpr std::array<double, 16> kMgRates = {0.3515,  0.705,   1.0604,  1.4124, 2.1254, 2.8209,
                                             3.8241,  5.0,     5.9524,  7.4906, 8.8496, 10.6952,
                                             13.0719, 14.8148, 17.5439, 20.6186};
// Hardware MG delays in seconds, by "MG Delay".
constexpr std::array<double, 16> kMgDelays = {0,     0.12,  0.207, 0.299, 0.387, 0.475,
                                              0.564, 0.654, 0.741, 0.83,  0.917, 1.006,
                                              1.099, 1.185, 1.271, 1.364};
constexpr double kTicksPerSecond = 1000.0;
constexpr double kLegacyChorusRateStretch = 1.6153846153846152;

size_t TableSlot(double plain) {
  return static_cast<size_t>(static_cast<int>(std::lround(plain)) & 15);
}

// The phase runs through 2 per cycle; a continuous curve from 0.01 to 50 per second.
double SweptRate(double n) {
  return (n * n * 2.0 * 24.99 + 0.01) / kTicksPerSecond;
}

}  // namespace

void CalibrateModels(int index, double plain, double n, ModelRecord& legacy, ModelRecord& current) {
  switch (index) {
    case kChorus:
      legacy.chorusDepth = 0.3 * n;
      current.chorusDepth = 0.75 * n;
      break;
    case kMgFrequency:
      legacy.mgPhaseIncrement = kMgRates[TableSlot(plain)] * 2.0 / kTicksPerSecond;
      current.mgPhaseIncrement = SweptRate(n);
      break;
    case kMgDelay: {
      const size_t slot = TableSlot(plain);
      legacy.mgDelayIncrement = slot == 0 ? 1.0 : 1.0 / (kMgDelays[slot] * kTicksPerSecond);
      current.mgDelayIncrement = 1.0 / (n * 5.0 * kTicksPerSecond + 1.0);
      break;
    }
    case kMgDco:
      legacy.mgDcoAmount = n;
      current.mgDcoAmount = n * n * n * n;
      break;
    case kMgVcf:
      legacy.mgVcfAmount = n;
      current.mgVcfAmount = n * n * n * n;
      break;
    case kChorusRate:
      legacy.chorusRate = SweptRate(kLegacyChorusRateStretch * n);
      current.chorusRate = SweptRate(n);
      break;
    default:
      break;
  }
}
