#pragma once

// The programmer's two-digit parameter numbers, group and item 1-8 as printed over the
// parameter chart (11 ... 18, 21 ... 27, ...), and the parameters they select.
// The parameter of a number; -1 when the number selects none.
int ParameterOfNumber(int group, int item);
// The number of a chart parameter (5-54); false for any other index.
bool NumberOfParameter(int parameter, int& group, int& item);
