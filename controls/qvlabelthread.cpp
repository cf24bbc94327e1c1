#include "controls/qvlabelthread.h"

#include <cmath>

namespace {

constexpr DWORD StepMs = 100;

class TLockScope {
 public:
  explicit TLockScope(CRITICAL_SECTION& lock) : FLock(lock) { EnterCriticalSection(&FLock); }
  ~TLockScope() { LeaveCriticalSection(&FLock); }
  TLockScope(const TLockScope&) = delete;
  TLockScope& operator=(const TLockScope&) = delete;

 private:
  CRITICAL_SECTION& FLock;
};

}  // namespace

TQvLabelThread::TQvLabelThread(HWND target, LPARAM generation, const TScrollSettings& settings,
                               int passes, int textWidth, int startOffset)
    : FTarget(target),
      FGeneration(generation),
      FPasses(passes),
      FTextWidth(textWidth),
      FOffset(startOffset),
      FSettings(settings),
      FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  InitializeCriticalSection(&FLock);
  FThread.Reset(CreateThread(nullptr, 0, &Run, this, CREATE_SUSPENDED, nullptr));
}

TQvLabelThread::~TQvLabelThread() {
  Terminate();
  WaitFor();
  DeleteCriticalSection(&FLock);
}

void TQvLabelThread::Start() {
  if (FStarted || !FThread) return;
  FStarted = true;
  ResumeThread(FThread.Get());
}

void TQvLabelThread::Terminate() { SetEvent(FStop.Get()); }

void TQvLabelThread::WaitFor() {
  if (!FThread) return;
  // A thread never started would wait for ever: let it run into the stop it was given.
  if (!FStarted) Start();
  WaitForSingleObject(FThread.Get(), INFINITE);
}

void TQvLabelThread::SetSettings(const TScrollSettings& settings) {
  TLockScope lock(FLock);
  FSettings = settings;
}

TScrollSettings TQvLabelThread::Settings() {
  TLockScope lock(FLock);
  return FSettings;
}

int TQvLabelThread::StepOf(const TScrollSettings& settings) {
  // Halves go to the even neighbour, as the default rounding mode does.
  return static_cast<int>(std::lrint(settings.Speed * settings.SpeedFaktor));
}

DWORD WINAPI TQvLabelThread::Run(void* self) {
  static_cast<TQvLabelThread*>(self)->Execute();
  return 0;
}

void TQvLabelThread::Execute() {
  while (FPasses > 0 && WaitForSingleObject(FStop.Get(), 0) == WAIT_TIMEOUT) {
    PostMessageW(FTarget, ScrollStepMessage, static_cast<WPARAM>(FOffset), FGeneration);
    const TScrollSettings settings = Settings();
    const int step = StepOf(settings);
    if (settings.LeftToRight) {
      FOffset += step;
      if (FOffset > settings.Extent + step) {
        --FPasses;
        FOffset = -FTextWidth;
      }
    } else {
      FOffset -= step;
      if (FOffset < -(FTextWidth + step)) {
        --FPasses;
        FOffset = settings.Extent;
      }
    }
    if (WaitForSingleObject(FStop.Get(), StepMs) == WAIT_OBJECT_0) break;
  }
  PostMessageW(FTarget, ScrollEndMessage, FPasses <= 0 ? 1 : 0, FGeneration);
}
