#pragma once
// Whether the smart-card registry is in order: the database key and its three sub-keys
// (missing sub-keys are created on the way) and the services' accounts for the running
// Windows. Every check is traced.
class TDiagnosticLog;

// 0 in order; 1 Calais cannot be opened; 2 a sub-key could neither be opened nor created;
// 3 SCardSvr's account is wrong, 4 missing; 5 no SCardSvr key; 6 SCardSvr's group is wrong
// (32-bit XP SP2 only); 7 SCardDrv's account is wrong, 8 missing. The last failing check
// decides; 3 to 8 end the verification at once.
// With `createMissing` false nothing is created: a missing sub-key is reported as 2, and the
// registry is left exactly as it was.
int VerifyRegistry(TDiagnosticLog& log, bool createMissing = true);
