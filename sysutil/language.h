#pragma once
// The languages the component library's controls and dialogs know; lgDefault leaves a
// component's own default text.
#include <cstdint>

enum TLanguage : std::uint8_t { lgDefault, lgGerman, lgEnglish, lgFrench, lgSpanish };
