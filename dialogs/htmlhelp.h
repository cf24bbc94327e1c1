#pragma once
// HTML help through the platform's HHCtrl.OCX, found in the System folder only: the program
// runs elevated, and a copy planted beside it or in the current folder must never run.
// Loaded on the first call, so a program that shows no help never pays for it.
#include <windows.h>

#include <functional>
#include <string>

constexpr UINT HtmlHelpDisplayTopic = 0;

// The ANSI entry point (ordinal 14); 0 when HTML help is not there.
HWND HtmlHelp(HWND caller, const std::string& file, UINT command, DWORD_PTR data);
// Whether the System folder's HHCtrl.OCX loaded with its two entry points (14, 15).
bool HtmlHelpAvailable();
// The program's own help file: its path with ".chm" instead of ".exe".
std::string ApplicationHelpFile();

// Opens the program's help file at `topic` (empty: where the file starts). The program ships
// no help file, and a compiled one can start programs: it is opened only where no one but an
// administrator can have put or changed it or its folder. Otherwise nothing opens and the
// refusal reporter hears why.
void ShowApplicationHelp(const std::string& topic);
// Where refusals of ShowApplicationHelp go (the program's trace); nowhere when empty.
void SetHelpRefusalReporter(std::function<void(const std::string&)> reporter);
