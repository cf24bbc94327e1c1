#pragma once
// Whether a smart-card reader is attached: a present device of Windows' reader class,
// which Windows lists whether or not the resource manager runs.
#include <windows.h>

#include <optional>

// The device setup class "SmartCardReader".
constexpr GUID SmartCardReaderClass = {
    0x50dd5230, 0xba8a, 0x11d1, {0xbf, 0x5d, 0x00, 0x00, 0xf8, 0x05, 0xf5, 0x30}};

// Empty when Windows cannot tell (its setup library missing or failing).
std::optional<bool> ReaderAttached();
