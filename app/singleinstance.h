#pragma once
// How copies of the program find each other: one wizard or repair at a time per session, and
// a second start hands the user over to the wizard that runs.
#include <windows.h>

// Created by the wizard at its start and by /check and /repair: while one copy holds it, a
// second one repairs nothing. Per session, as it always was.
inline constexpr wchar_t ProgramMutexName[] = L"CardmendMutex_154378wsdfjkldf";
// The wizard's window class, which a second start looks for.
inline constexpr wchar_t WizardWindowClass[] = L"TCardmendMainForm";
// Posted by a second start to the wizard's window: the wizard comes back to the front.
inline constexpr UINT RestoreWizardMessage = WM_USER + 288;
