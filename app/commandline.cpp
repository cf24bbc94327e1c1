#include "app/commandline.h"

#include <cwctype>

#include "app/texts.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The switch's name in lower case, or empty when `argument` is not written as a switch.
std::wstring SwitchName(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return {};
  std::wstring name = argument.substr(1);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return name;
}

bool IsKnownSwitch(const std::wstring& name) {
  return name == L"check" || name == L"repair" || name == L"log" || name == L"?";
}

// The program's name ends at the first blank outside quotes, like every other argument.
size_t AfterProgramName(const std::wstring& line) {
  bool quoted = false;
  size_t i = 0;
  for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i)
    if (line[i] == L'"') quoted = !quoted;
  return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> arguments;
  std::wstring current;
  bool inArgument = false, quoted = false;
  for (size_t i = AfterProgramName(commandLine); i < commandLine.size(); ++i) {
    const wchar_t c = commandLine[i];
    if (IsBlank(c) && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
      continue;
    }
    inArgument = true;
    if (c == L'"')
      quoted = !quoted;
    else
      current += c;
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

TCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
  TCommandLine line;
  bool logGiven = false, usage = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring name = SwitchName(arguments[i]);
    const bool secondMode = line.Mode != TRunMode::Wizard;
    if (name == L"check" && !secondMode) {
      line.Mode = TRunMode::Check;
    } else if (name == L"repair" && !secondMode) {
      line.Mode = TRunMode::Repair;
    } else if (name == L"?" && !usage) {
      usage = true;
    } else if (name == L"log" && !logGiven && i + 1 < arguments.size() &&
               !arguments[i + 1].empty() && arguments[i + 1][0] != L'/' &&
               !IsKnownSwitch(SwitchName(arguments[i + 1]))) {
      logGiven = true;
      line.LogFile = arguments[++i];
    } else {
      return {TRunMode::Wrong, {}};
    }
  }
  if (usage) return {arguments.size() == 1 ? TRunMode::Usage : TRunMode::Wrong, {}};
  if (logGiven && line.Mode == TRunMode::Wizard) return {TRunMode::Wrong, {}};
  return line;
}

std::string UsageText() { return LangText(sUsage); }
