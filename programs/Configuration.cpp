#include "engine/Synth.h"

// The settings file exists by now (an empty one was created when missing); its keys are
// read here once the settings reader is in place, and until then every setting keeps
// its built-in default.
void Synth::ReadConfiguration() {}
