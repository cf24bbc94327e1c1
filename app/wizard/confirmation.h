#pragma once
// The question asked before a repair of a system whose smart-card layer already works.
#include "dialogs/vexquestion.h"

// In the selected language; "No" is the default answer. Centred on `reference`.
TQuestion RepairConfirmation(const TWindow* reference);
