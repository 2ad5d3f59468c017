#pragma once

// Runs the built renderer as a user would and reads back what it wrote.

#include <sndfile.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct ToolResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// `environment`: assignments put in front of the command ("NAME=value ..."); `program`:
// the renderer unless another is named.
inline ToolResult RunTool(const std::vector<std::string>& arguments,
                          const std::string& environment = "",
                          const std::string& program = TARSYN7_RENDER_PATH) {
  std::string command = environment + " " + ShellQuoted(program);
  for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
  command += " 2>&1";
  ToolResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    result.output.append(buffer, count);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

struct Audio {
  int rate = 0;
  int channels = 0;
  int format = 0;
  std::vector<double> left;
  std::vector<double> right;
};

inline Audio ReadAudio(const std::string& path) {
  Audio audio;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return audio;
  audio.rate = info.samplerate;
  audio.channels = info.channels;
  audio.format = info.format;
  std::vector<double> frames(static_cast<size_t>(info.frames * info.channels));
  sf_readf_double(file, frames.data(), info.frames);
  sf_close(file);
  for (size_t i = 0; i + 1 < frames.size() && info.channels == 2; i += 2) {
    audio.left.push_back(frames[i]);
    audio.right.push_back(frames[i + 1]);
  }
  return audio;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

// A fresh folder for one test's files, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarsyn7-render-XXXXXX");
    path_ = mkdtemp(&pattern[0]) ? pattern : "";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
