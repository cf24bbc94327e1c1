#pragma once
// The two services that work with the resource manager from Windows 8 on: Smart Card Device
// Enumeration, without which Windows finds no reader, and Certificate Propagation, which a
// logon with a card needs. Before Windows 8 neither is looked at.
class TDiagnosticLog;

// Both are known to the service manager and neither is disabled; each that is not is traced.
bool CompanionsInOrder(TDiagnosticLog& log);
// Sets a disabled one back to a start on demand, as Windows installs it; nothing else of
// them is touched, and a missing one stays missing.
void EnableCompanions(TDiagnosticLog& log);
