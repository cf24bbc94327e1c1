#pragma once
// GoogleTest's own Notification needs std::mutex, which the win32 thread model of our
// compiler lacks; a Windows event does the same job.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : FEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { CloseHandle(FEvent); }
  void Notify() { SetEvent(FEvent); }
  void WaitForNotification() { WaitForSingleObject(FEvent, INFINITE); }

 private:
  HANDLE FEvent;
};

}  // namespace internal
}  // namespace testing
