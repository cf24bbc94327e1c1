#pragma once
// While it lives, the native System folder's net.exe and regsvr32.exe are the test bed's
// recording stand-ins (tests/doubles/commands; Windows' own are put back afterwards, and
// Wine is told to run these files instead of its built-in tools of the same name), and
// they and the SCardSvr double write each start to a log of this watch. Only the native
// folder gets them: a 32-bit program that starts a tool from the 32-bit folder is seen not
// to start it.
#include <string>
#include <vector>

#include "tests/bed/nativefirst.h"

class TCommandWatch {
 public:
  TCommandWatch();
  ~TCommandWatch();
  TCommandWatch(const TCommandWatch&) = delete;
  TCommandWatch& operator=(const TCommandWatch&) = delete;

  struct TCall {
    std::wstring Program;      // file name, lower case
    std::wstring CommandLine;  // as the tool received it
    std::wstring Show;         // the show state the starter gave, "-" for none
    // The tool recorded its end before anything else started (regsvr32 records one).
    bool Ended = false;
    bool operator==(const TCall&) const = default;
  };
  std::vector<TCall> Calls() const;

 private:
  TNativeFirst FNativeTools;
  std::wstring FLog;
  std::vector<std::wstring> FReplaced;
};
