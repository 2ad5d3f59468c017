#pragma once

// The key codes controls receive, whatever the window system: space 0, the arrows 1-4
// (up, down, left, right), digits 5-14, letters 15-40 in either case. Every other key
// answers kNoKey and goes on to the host's window.
enum class NamedKey { kSpace, kUp, kDown, kLeft, kRight };

constexpr int kNoKey = -1;

constexpr int EditorKeyCode(NamedKey key) {
  return static_cast<int>(key);
}

constexpr int EditorKeyCode(char character) {
  if (character == ' ') return 0;
  if (character >= '0' && character <= '9') return 5 + (character - '0');
  if (character >= 'A' && character <= 'Z') return 15 + (character - 'A');
  if (character >= 'a' && character <= 'z') return 15 + (character - 'a');
  return kNoKey;
}
