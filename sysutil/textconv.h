#pragma once
// Texts are UTF-8 inside the program and UTF-16 at the Windows boundary.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The system's ANSI code page, for files that older tools read (characters it lacks
// become '?').
std::string ToAnsi(std::string_view utf8);
// The same for another code page, such as a console's.
std::string ToCodePage(std::string_view utf8, unsigned codePage);
// Equal but for the case of the letters A to Z: how Windows compares the names of accounts,
// keys and services, whatever the user's locale says about other letters.
bool SameAsciiText(std::string_view a, std::string_view b);
