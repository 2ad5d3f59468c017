#pragma once

#include "host/Vst2.h"

// The functions the published AEffect record points at.
VstIntPtr VST_CALLBACK VSTDispatcher(AEffect* effect, int32_t opcode, int32_t index,
                                     VstIntPtr value, void* ptr, float opt);
void VST_CALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames);
void VST_CALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames);
void VST_CALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                            int32_t frames);
void VST_CALLBACK VSTSetParameter(AEffect* effect, int32_t index, float value);
float VST_CALLBACK VSTGetParameter(AEffect* effect, int32_t index);
