#pragma once
// The language a text-showing control or dialog of the library speaks; lgDefault leaves
// the control's own default text.
#include <cstdint>

enum TLanguage : uint8_t { lgDefault, lgGerman, lgEnglish, lgFrench, lgSpanish };
