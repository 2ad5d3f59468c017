#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "drawing/Font.h"
#include "editor/TextEntry.h"
#include "platform/x11/X11Dialogs.h"
#include "platform/x11/X11Window.h"

extern char** environ;

namespace {

using FileRequest = GraphicsBackEnd::FileRequest;

constexpr size_t kLongestPath = 255;

bool IsFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string StartFolder(const FileRequest& request) {
  if (!request.directory.empty()) return request.directory;
  const char* home = std::getenv("HOME");
  const std::string homeFolder = home ? home : "";
  return IsFolder(homeFolder + "/Desktop") ? homeFolder + "/Desktop" : homeFolder;
}

// "*.fxb;*.fxp" as the programs take it: "*.fxb *.fxp".
std::string Patterns(const std::string& filter) {
  std::string patterns = filter;
  for (char& c : patterns) c = c == ';' ? ' ' : c;
  return patterns;
}

std::vector<std::string> ZenityArguments(const FileRequest& request) {
  const std::string start = StartFolder(request) + "/";
  std::vector<std::string> arguments = {"zenity", "--file-selection"};
  switch (request.mode) {
    case GraphicsBackEnd::kOpenFile:
      arguments.push_back("--filename=" + start);
      break;
    case GraphicsBackEnd::kSaveFile:
      arguments.insert(arguments.end(), {"--save", "--confirm-overwrite",
                                         "--filename=" + start + request.suggestedName});
      break;
    case GraphicsBackEnd::kChooseFolder:
      arguments.insert(arguments.end(), {"--directory", "--filename=" + start});
      break;
  }
  if (!request.filter.empty() && request.mode != GraphicsBackEnd::kChooseFolder) {
    arguments.push_back("--file-filter=" + Patterns(request.filter));
  }
  return arguments;
}

std::vector<std::string> KdialogArguments(const FileRequest& request) {
  const std::string start = StartFolder(request) + "/";
  switch (request.mode) {
    case GraphicsBackEnd::kOpenFile:
      return {"kdialog", "--getopenfilename", start, Patterns(request.filter)};
    case GraphicsBackEnd::kSaveFile:
      return {"kdialog", "--getsavefilename", start + request.suggestedName,
              Patterns(request.filter)};
    default:
      return {"kdialog", "--getexistingdirectory", start};
  }
}

// Runs a dialog program and reads what it prints, painting the editor meanwhile. False
// when the program cannot be started; `answer` is empty when it was cancelled.
bool RunProgram(X11Window& owner, std::vector<std::string> arguments, std::string& answer) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (failed) {
    close(pipeEnds[0]);
    return false;
  }
  std::string output;
  for (bool open = true; open;) {
    if (owner.Gone()) {
      kill(child, SIGTERM);
      output.clear();
      break;
    }
    if (!owner.ModalTurn([](XEvent&) {}, pipeEnds[0], 100)) continue;
    char buffer[512];
    const ssize_t count = read(pipeEnds[0], buffer, sizeof buffer);
    if (count > 0) output.append(buffer, static_cast<size_t>(count));
    open = count > 0 || (count < 0 && errno == EINTR);
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  const bool chosen = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  answer = chosen ? output : std::string();
  return true;
}

// The dialog's stand-in: a path typed into a line over the editor window.
std::string AskForPath(X11Window& owner, const FileRequest& request, const std::string& start) {
  static const char* const kPrompts[] = {"Open file", "Save file as", "Choose a folder"};
  std::string caption = kPrompts[request.mode];
  if (!request.filter.empty() && request.mode != GraphicsBackEnd::kChooseFolder) {
    caption += " (" + request.filter + ")";
  }
  LineEdit edit(start, [](char32_t character, const std::string& current) {
    return character >= 0x20 && character != 0x7F && CharacterCount(current) < kLongestPath;
  });
  const Rect editor = owner.ScreenArea();
  const int width = std::min(editor.Width() - 40, 640), height = 64;
  const int left = (editor.Width() - width) / 2, top = (editor.Height() - height) / 2;
  TextStyle style;
  style.size = 14;
  style.align = TextStyle::kLeft;
  owner.ShowLine(&edit, {left, top, left + width, top + height},
                 {left + 10, top + 32, left + width - 10, top + 54}, style, caption + ":");
  LineEdit::Outcome outcome = LineEdit::kNothing;
  const auto type = [&](XEvent& event) {
    if (event.type != KeyPress || event.xany.window != owner.Handle()) return;
    const KeySym key = owner.KeyOf(event.xkey);
    outcome = edit.Key(key, CharacterOfKey(key));
    if (outcome == LineEdit::kChanged) owner.RedrawLine();
  };
  while (!owner.Gone() && outcome != LineEdit::kEnter && outcome != LineEdit::kEscape) {
    owner.ModalTurn(type, -1, 100);
  }
  owner.HideLine();
  return outcome == LineEdit::kEnter ? edit.Text() : std::string();
}

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of('/');
  return separator == std::string::npos ? "." : separator == 0 ? "/" : path.substr(0, separator);
}

// A typed "~/" stands for the home folder.
std::string Expanded(const std::string& path) {
  const char* home = std::getenv("HOME");
  return path.rfind("~/", 0) == 0 && home ? home + path.substr(1) : path;
}

// Why the path cannot be used as the mode asks, or empty.
std::string ProblemWith(const FileRequest& request, const std::string& path) {
  switch (request.mode) {
    case GraphicsBackEnd::kOpenFile:
      return IsFile(path) ? std::string() : "There is no file " + path + ".";
    case GraphicsBackEnd::kChooseFolder:
      return IsFolder(path) ? std::string() : "There is no folder " + path + ".";
    case GraphicsBackEnd::kSaveFile:
      if (path.back() == '/' || IsFolder(path)) return "Please give the file a name.";
      return IsFolder(FolderOf(path)) ? std::string()
                                      : "There is no folder " + FolderOf(path) + ".";
  }
  return {};
}

// What the user chose as the caller takes it: a folder without a closing "/", a file to
// save that may be replaced. Empty to ask again.
std::string Accepted(X11Window& owner, const FileRequest& request, std::string path,
                     bool dialogAskedToReplace) {
  const std::string problem = ProblemWith(request, path);
  if (!problem.empty()) {
    owner.ShowMessage(problem, "Error", GraphicsBackEnd::kOkError);
    return {};
  }
  if (request.mode == GraphicsBackEnd::kChooseFolder) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  // The editor adds the default extension and asks about a file under that name itself.
  if (request.mode == GraphicsBackEnd::kSaveFile && !dialogAskedToReplace && IsFile(path) &&
      owner.ShowMessage(
          path.substr(path.find_last_of('/') + 1) + " already exists.\nDo you want to replace it?",
          "Confirm Save As", GraphicsBackEnd::kYesNo) != GraphicsBackEnd::kAnswerYes) {
    return {};
  }
  return path;
}

}  // namespace

std::string RunFileDialog(X11Window& owner, const FileRequest& request) {
  FileRequest asked = request;
  std::string typed = StartFolder(request) + "/" + request.suggestedName;
  // Asked again where the answer does not hold; a program that keeps answering nonsense
  // cannot hold the host for ever.
  for (int attempt = 0; attempt < 20 && !owner.Gone(); ++attempt) {
    std::string path;
    const bool programAsked = RunProgram(owner, ZenityArguments(asked), path) ||
                              RunProgram(owner, KdialogArguments(asked), path);
    if (!programAsked) path = Expanded(AskForPath(owner, asked, typed));
    if (path.empty()) return {};  // cancelled
    const std::string accepted = Accepted(owner, asked, path, programAsked);
    if (!accepted.empty()) return accepted;
    typed = path;
    asked.directory = FolderOf(path);
    asked.suggestedName = path.substr(path.find_last_of('/') + 1);
  }
  return {};
}
