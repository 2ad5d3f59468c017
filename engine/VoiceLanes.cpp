#include "engine/VoiceLanes.h"

#include "engine/NoiseGenerator.h"
#include "engine/Vcf.h"
#include "engine/Voice.h"

namespace {

void RenderGroup(Voice* const* voices, NoiseStride* noise, int lanes, double* sum, int frames) {
  VcfLanes<kFilterLanes> filters{};  // lanes beyond `lanes` stay silent
  for (int l = 0; l < lanes; ++l) filters.Load(l, voices[l]->OwnFilterVcf());
  for (int s = 0; s < frames; ++s) {
    double x[kFilterLanes] = {};
    for (int l = 0; l < lanes; ++l) {
      Voice& voice = *voices[l];
      const double mix = voice.RenderSources();
      int offset = 0;
      x[l] = voice.PrepareOwnFilter(mix, voice.DrawsNoise() ? noise[l].Next() : 0.0, offset);
      Vcf& filter = voice.OwnFilterVcf();
      if (filter.Glide(offset)) filters.LoadCoefficients(l, filter);
    }
    double y[kFilterLanes];
    filters.Process(x, y);
    for (int l = 0; l < lanes; ++l) sum[s] += y[l] * voices[l]->VelocityGain();
  }
  for (int l = 0; l < lanes; ++l) filters.Store(l, voices[l]->OwnFilterVcf());
}

}  // namespace

void RenderOwnFilterVoices(Voice* const* voices, int count, NoiseGenerator& noise, double* sum,
                           int frames) {
  int drawing = 0;
  for (int v = 0; v < count; ++v) drawing += voices[v]->DrawsNoise() ? 1 : 0;
  int rank = 0;
  for (int first = 0; first < count; first += kFilterLanes) {
    const int lanes = count - first < kFilterLanes ? count - first : kFilterLanes;
    NoiseStride strides[kFilterLanes];
    for (int l = 0; l < lanes; ++l) {
      if (voices[first + l]->DrawsNoise()) strides[l] = noise.Stride(rank++, drawing);
    }
    RenderGroup(voices + first, strides, lanes, sum, frames);
  }
  noise.Skip(drawing * frames);
}
