#include "sysutil/shellopen.h"

#include <shellapi.h>

#include <optional>

#include "sysutil/handles.h"
#include "sysutil/process.h"
#include "sysutil/registryvalues.h"
#include "sysutil/system.h"
#include "sysutil/systemlibrary.h"
#include "sysutil/textconv.h"

namespace {

// Byte positions stay valid: UTF-8 sequences have no bytes in the ASCII range.
std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Any user may store a value here (HKCU\Software\Classes), so it is read as a string
// whatever its length and terminator.
std::optional<std::string> ReadClassesDefault(const std::string& keyName) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(keyName).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
      ERROR_SUCCESS)
    return std::nullopt;
  const TRegKey key(raw);
  std::string value;
  if (!RegValueExists(key.Get(), "") || ReadRegString(key.Get(), "", value) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

// The open command registered for a type such as ".htm", as it is stored.
std::optional<std::string> OpenCommandFor(const std::string& type) {
  const auto programId = ReadClassesDefault(type);
  if (!programId) return std::nullopt;
  return ReadClassesDefault(*programId + "\\shell\\open\\command");
}

// Commands stored unexpanded ("%SystemRoot%\system32\notepad.exe %1") are not expanded by
// the process start.
void ExpandSystemRoot(std::string& command) {
  const std::string variable = "%systemroot%";
  const size_t at = LowerAscii(command).find(variable);
  if (at == std::string::npos) return;
  size_t length = variable.size();
  if (command.compare(at + length, 1, "\\") == 0) ++length;  // GetWindowsDir brings its own
  command.replace(at, length, GetWindowsDir());
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The browser's executable up to the blank behind it; its options would need the address
// in their own form.
std::string BrowserProgram(const std::string& command) {
  size_t exe = LowerAscii(command).find(".exe");
  if (exe == std::string::npos) exe = 0;
  const size_t blank = command.find(' ', exe);
  return blank == std::string::npos ? command : command.substr(0, blank + 1);
}

// The shell's library is loaded when the browser must be found through it, not with the
// program: it would cost every start for the rare click on the web address.
BOOL ShellExecuteInfo(SHELLEXECUTEINFOW& info) {
  using TShellExecuteEx = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  static const TModule shell = LoadSystemLibrary("shell32.dll");
  const auto execute = ModuleFunction<TShellExecuteEx>(shell.Get(), "ShellExecuteExW");
  return execute && execute(&info);
}

}  // namespace

bool OpenDocument(const std::string& path) {
  const std::wstring file = Widen(path);
  if (file.size() <= 4 || !IsFile(file)) return false;
  auto command = OpenCommandFor(Narrow(file.substr(file.size() - 4)));
  if (!command) return false;
  ExpandSystemRoot(*command);
  const size_t placeholder = command->find("%1");
  if (placeholder == std::string::npos)
    return static_cast<bool>(StartProcess(*command + " \"" + path + "\"", std::nullopt));
  command->replace(placeholder, 2, path);
  return ExecCommandLine(*command, SW_SHOWNORMAL) > 31;
}

int OpenUrlInBrowser(const std::string& url) {
  const auto command = OpenCommandFor(".htm");
  if (!command) return -1;
  const unsigned result = ExecCommandLine(BrowserProgram(*command) + " " + url, SW_SHOWNORMAL);
  if (result > 31) return 0;
  return result == 0 ? 1 : static_cast<int>(result);
}

int OpenUrl(HWND owner, const std::string& url) {
  const int result = OpenUrlInBrowser(url);
  if (result >= 0) return result;
  const std::wstring address = Widen(url);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;  // the caller tells the user in its own words
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = address.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteInfo(info) ? 0 : -1;
}
