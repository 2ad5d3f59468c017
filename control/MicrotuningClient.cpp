#include "control/MicrotuningClient.h"

#include <cmath>

#include "engine/PitchToFrequency.h"

namespace {

constexpr const char* kEqualTemperament = "12-TET";
constexpr size_t kLongestText = 255;

// Halving steps from the middle of the table to the index whose frequency is nearest.
int SearchPitchIndex(double frequency) {
  int index = kPitchIndexMax / 2;
  int step = index;
  while (step != 0) {
    step /= 2;
    const double found = PitchToFrequency(index);
    if (found > frequency) {
      index -= step;
    } else if (found < frequency) {
      index += step;
    } else {
      break;
    }
  }
  return index;
}

}  // namespace

MicrotuningClient::MicrotuningClient() : MicrotuningClient(MicrotuningLibrary::Standard()) {}

MicrotuningClient::MicrotuningClient(std::shared_ptr<MicrotuningLibrary> library)
    : library_(std::move(library)) {
  library_->RegisterClient();
}

MicrotuningClient::~MicrotuningClient() {
  library_->DeregisterClient();
}

void MicrotuningClient::Connect(std::shared_ptr<MicrotuningLibrary> library) {
  library_->DeregisterClient();
  library_ = std::move(library);
  library_->RegisterClient();
}

double MicrotuningClient::PitchIndexForKey(int key) const {
  const double frequency = library_->MasterFrequency(key);
  if (!std::isfinite(frequency) || frequency <= 0.0) return key * double{kStepsPerSemitone};
  return SearchPitchIndex(frequency);
}

std::string MicrotuningClient::DisplayText() const {
  if (!HasMaster()) return {};
  const char* name = library_->NamesScales() ? library_->ScaleName() : kEqualTemperament;
  if (!name) return {};
  std::string text = std::string("Micro Tuning: ") + name;
  if (text.size() > kLongestText) text.resize(kLongestText);
  return text;
}
