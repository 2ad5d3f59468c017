#pragma once

// Pitch index: 128 steps per semitone, index n * 128 is MIDI note n.
constexpr int kPitchIndexMax = 17280;  // note 135
constexpr int kPitchTableSize = kPitchIndexMax + 1;
constexpr int kStepsPerSemitone = 128;

// Hertz of a pitch index. Interpolates linearly in hertz between the semitones
// of a table rounded to three decimals, as the hardware's tuning does; saturates
// at both ends.
double PitchToFrequency(double index);
