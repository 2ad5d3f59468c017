#pragma once

#include "engine/ModelRecord.h"

// Fills the members of both calibrations that follow one parameter ("Chorus",
// "MG Frequency", "MG Delay", "MG DCO", "MG VCF", "Chorus Rate"); other indices change
// nothing. Both records are kept current whichever is active.
void CalibrateModels(int index, double plain, double n, ModelRecord& legacy, ModelRecord& current);
