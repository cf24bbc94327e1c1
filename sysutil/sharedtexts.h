#pragma once
// The component library's text table, shared by its dialogs, and its language index: the
// column of the table to use (0 German, 1 English, 2 French, 3 Spanish, 4 a fifth
// language with no texts).
#include <cstdint>
#include <string>

#include "sysutil/language.h"

// Rows 0 to 16: OK, Yes, No, Cancel (twice), Accept, Close, About, Help, Other settings,
// Options (button and caption), Properties, Back, Next, Finish, Browse.
inline constexpr int SharedTextRows = 17;
// The rows of the buttons that the program's own texts take over.
inline constexpr int SharedOK = 0;
inline constexpr int SharedYes = 1;
inline constexpr int SharedNo = 2;
inline constexpr int SharedCancel = 3;
inline constexpr int SharedFinish = 15;

// The text of `row` in column `languageIndex`; empty for a row or column outside the table.
std::string SharedText(int row, int languageIndex);
// The text of `row` in the library's language.
std::string SharedText(int row);

// The library's language index, read once when the program starts and not changed after.
std::uint8_t LanguageIndex();

// Reads the user's language setting now: the "Language" value of Software\Orvinta\ZQM in
// the user's registry; when the key or the value is missing, the same value in the
// all-users settings files (TFileRegistry). English when neither has it, and when the
// registry holds it in a form that is not a 32-bit integer.
std::uint8_t DetectLanguageIndex();

// Index of a Windows primary language identifier: German, French and Spanish their own,
// 16 the fifth column, anything else English.
std::uint8_t LanguageIndexOf(std::int32_t primaryLanguage);

// The component language of an index: 0 German, 2 French, 3 Spanish, anything else English.
TLanguage LanguageOfIndex(int languageIndex);
