#pragma once

#include <string>

// The editor keeps text in UTF-8; the system's wide-character calls take UTF-16, so long
// and non-ASCII file names and texts pass unchanged.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, size_t length);
std::string Utf8FromWide(const std::wstring& text);
