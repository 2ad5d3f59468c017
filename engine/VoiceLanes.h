#pragma once

class NoiseGenerator;
class Voice;

// Adds `frames` samples of each voice with its own filter to `sum`. The voices are
// taken kFilterLanes at a time: their oscillators and envelopes run voice by voice, their
// filters side by side in VcfLanes, and a group stays in the cache for the whole run. The
// result is that of rendering every voice one sample at a time in the given order, noise
// included; `noise` ends behind the run's draws. No note may start or end inside the run.
void RenderOwnFilterVoices(Voice* const* voices, int count, NoiseGenerator& noise, double* sum,
                           int frames);
