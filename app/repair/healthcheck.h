#pragma once
// Whether the smart-card subsystem needs a repair, asked without changing anything.
class TDiagnosticLog;
class TPCSCLibrary;

// The layer answers and the registry verifies clean (creating nothing).
bool LayerWorks(TDiagnosticLog& log, const TPCSCLibrary& pcsc);

// LayerWorks, asked in the order the wizard asks it, with one allowance: Windows 8 and
// later stop the resource manager by design while no reader is attached, so there a
// stopped service that starts automatically or on demand, with a clean registry, is in
// order too, and the trace says why.
bool SubsystemInOrder(TDiagnosticLog& log, const TPCSCLibrary& pcsc);
