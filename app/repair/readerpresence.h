#pragma once
// Whether a smart-card reader is attached: a present device of Windows' reader class,
// which Windows lists whether or not the resource manager runs.
#include <optional>

// Empty when Windows cannot tell (its setup library missing or failing).
std::optional<bool> ReaderAttached();
