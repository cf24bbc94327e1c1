#pragma once
// The scrolling label's clock, the one second thread of the program. It only counts:
// every 100 ms it works out the next offset and posts it to the label's window, whose
// thread sets the caption; the window, its canvas and its fonts stay with that thread.
// The label stops it and waits for it before its window goes, so a message from it never
// finds a dead window.
#include <windows.h>

#include "sysutil/handles.h"

struct TScrollSettings {
  int Speed = 1;
  double SpeedFaktor = 10.0;
  bool LeftToRight = false;
  int Extent = 0;  // how far the text runs: the label's width, or its height when turned
};

class TQvLabelThread {
 public:
  // wParam: the offset; lParam: the generation the thread was made with.
  static constexpr UINT ScrollStepMessage = WM_APP + 0x51;
  // wParam: 1 when every pass ran (or none was asked for), 0 when stopped early.
  static constexpr UINT ScrollEndMessage = WM_APP + 0x52;

  // Made suspended; Start lets it run.
  TQvLabelThread(HWND target, LPARAM generation, const TScrollSettings& settings, int passes,
                 int textWidth, int startOffset);
  TQvLabelThread(const TQvLabelThread&) = delete;
  TQvLabelThread& operator=(const TQvLabelThread&) = delete;
  // Stops the thread and waits for it.
  ~TQvLabelThread();

  void Start();
  void Terminate();
  void WaitFor();
  // Read afresh at every step.
  void SetSettings(const TScrollSettings& settings);
  LPARAM Generation() const { return FGeneration; }
  // The number of pixels one step moves the text.
  static int StepOf(const TScrollSettings& settings);

 private:
  static DWORD WINAPI Run(void* self);
  void Execute();
  TScrollSettings Settings();

  const HWND FTarget;
  const LPARAM FGeneration;
  int FPasses;
  const int FTextWidth;
  int FOffset;
  CRITICAL_SECTION FLock;
  TScrollSettings FSettings;
  THandle FStop;
  THandle FThread;
  bool FStarted = false;
};
