#pragma once

#include <string>

// Numbers as the plug-in shows and reads them: always with a decimal point, whatever
// locale the host process runs in. The process locale is the host's and is never touched.

// `decimals` places after the point, rounded as printf's "%.*f" does; 0 gives a whole number.
std::string FormatDecimal(double value, int decimals);

// Reads the number at the start of `text` (leading spaces and a plus sign allowed, any
// unit or text behind it ignored). False, and `value` unchanged, when the text does not
// start with a finite number.
bool ParseDecimal(const std::string& text, double& value);
