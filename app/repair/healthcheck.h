#pragma once
// Whether the smart-card subsystem needs a repair, asked without changing anything: one
// judgement for the wizard, /check and the end of /repair.
#include <string>

class TDiagnosticLog;
class TPCSCLibrary;

// In order: the layer answers and the registry verifies clean, or the resource manager
// waits for a reader as Windows 7 and later have it; and from Windows 8 on its companions
// are there and enabled. `createMissing`: missing Calais sub-keys are created on the way
// (the wizard's check does so), else nothing is.
bool SubsystemInOrder(TDiagnosticLog& log, const TPCSCLibrary& pcsc, bool createMissing = false);

// Windows 7 and later leave the resource manager stopped while no reader is attached:
// Windows 7 starts it on demand, 8 and later start and stop it with the readers. So a
// stopped service is in order there when no reader is attached, it starts on demand (on 8
// and later automatically too), for the registry and the service manager alike, and the
// registry verifies clean. The trace says why.
bool AwaitsReader(TDiagnosticLog& log, const TPCSCLibrary& pcsc);

// The status line of the start page, asked quietly.
enum class TLayerStatus { Running, AwaitingReader, NotRunning };
TLayerStatus LayerStatus(const TPCSCLibrary& pcsc);

// What the service manager reads only when Windows starts: the services' keys. The rights
// on the Calais keys and a change made through the manager take effect at once.
std::string StartConfiguration();

// How a repair that began with the start configuration `before` ended: in order, in order
// once Windows starts again with what the repair wrote, or neither.
enum class TRepairOutcome { InOrder, AfterRestart, Failed };
TRepairOutcome JudgeRepair(const TPCSCLibrary& pcsc, const std::string& before);
