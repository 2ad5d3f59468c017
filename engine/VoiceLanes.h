#pragma once

class NoiseGenerator;
class Voice;
struct VoiceGroup;

// Adds `frames` samples of each voice to `sum`; the voices either all have their own filter
// or none has. They are taken kFilterLanes at a time, side by side in lanes: envelopes and
// the filters' arithmetic on lane vectors, each oscillator read for the whole run at
// once, and a group stays in the cache for the whole run. The result is that of
// rendering every voice one sample at a time in the given order, noise included; `noise`
// ends behind the run's draws. No note may start or end inside the run.
void RenderVoices(Voice* const* voices, int count, NoiseGenerator& noise, double* sum, int frames);
