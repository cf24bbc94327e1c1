#include "app/repair/diaglog.h"

#include <cstdio>

void TDiagnosticLog::Log(std::string_view text) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  FLines.push_back(FormatLine(now, text));
  if (OnLine) OnLine(FLines.back());
}

void TDiagnosticLog::Clear() { FLines.clear(); }

std::string TDiagnosticLog::FormatLine(const SYSTEMTIME& time, std::string_view text) {
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%02u:%02u:%02u:%03u  ", time.wHour, time.wMinute,
                time.wSecond, time.wMilliseconds);
  return stamp + std::string(text);
}
