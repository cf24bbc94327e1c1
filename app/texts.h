#pragma once
// The wizard's texts, German and English, with French and Spanish where they differ from
// the English one. The language follows the user's locale at start and the language link
// after that; a text is looked up when it is shown, so it always speaks the current one.
#include <windows.h>

#include <string>

enum TTextKey : int {
  sYes, sNo, sStart, sCancel, sFinish, sWelcome, sInstallation, sFinishProcess,
  sRestartNow, sRestartLater, sIntro, sRequirements, sPCSCStatus, sAbout,
  sWindowsRequirement, sAdminRequirement, sRMRunning, sRMNotRunning, sRMAwaitingReader,
  sRMChecking, sProgressText1,
  sProgressText2, sCheckCompleted, sRestartNeeded, sNoRestartNeeded, sRemoveDisks, sNeedsWin2000, sRMWorks,
  sProceedAnyway, sNotRecommended, sNeedsAdmin, sCheckingRights, sAdjustingRights,
  sRegistering, sReinstalling, sConfiguring, sSettingParameters, sVerifying, sLaunching,
  sCompleted, sStopping, sCompleting, sMoreInfo, sWebAddress, sNoBrowser, sAdminHintTitle,
  sAdminHint1, sAdminHint2, sAdminHint3, sPCSCHintTitle, sPCSCHint1, sPCSCHint2,
  sPCSCHint3, sPCSCHintAwaiting, sWinHintTitle, sWinHint1, sWinHint2, sWinHint3, sWinHintCurrent,
  // The runs without a window: the usage and the closing line for the console.
  sUsage, sCheckInOrder, sCheckRepairNeeded, sRepairWorks, sRepairRestart, sRepairFailed,
  sAnotherCopyRepairing, sLogNotWritable, sExitCode, TextKeyCount
};

// False selects German, true English.
extern bool LanguageEnglish;
// The column of the selected language: 0 German, 1 English.
int LangIndex();

// The text of `key` in the selected language, or in `column` (0 German, 1 English,
// 2 French, 3 Spanish).
const std::string& LangText(TTextKey key);
const std::string& LangText(TTextKey key, int column);

// Every German locale (Germany, Austria, Switzerland, Luxembourg, Liechtenstein) is German;
// every other one English.
bool IsEnglishLocale(LANGID language);
// Chooses the language from the user's locale; before the main form exists.
void ChooseLanguage();
