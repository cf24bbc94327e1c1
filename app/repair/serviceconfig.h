#pragma once
// Rewrites the smart-card services' registry configuration to what the running Windows
// expects. Nothing is reported but the trace lines; a missing service key is left missing.
class TDiagnosticLog;

// Sets an automatic start where the service key holds another start type.
void CheckServiceStartType(TDiagnosticLog& log);
// Account, start type and group of SCardSvr, and on the 5.2 family and Vista its type,
// error control, image, display name and dependencies.
void ConfigureSCardSvr(TDiagnosticLog& log);
// 32-bit XP: the companion's account; 5.2 family and Vista: the companion removed.
void ConfigureSCardDrv(TDiagnosticLog& log);
