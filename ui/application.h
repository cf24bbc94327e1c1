#pragma once
// The application object: a hidden owner window for the forms, the title, and the
// message loop with its keyboard pre-processing (the active form sees keys first).
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

class TWindow;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HWND Handle() const;
  void SetTitle(const std::string& title);
  std::string Title() const;

  // Runs the message loop until Terminate or WM_QUIT.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Pre-processes, translates and dispatches one message already taken from the queue.
  void Dispatch(MSG& msg);
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // The last stop of an exception that a handler let through: the user is told, the
  // program goes on.
  void HandleException(std::exception_ptr error);
  // A WM_QUIT taken from the queue by a nested loop ends the application too.
  void QuitReceived() { FTerminated = true; }

 private:
  std::unique_ptr<TWindow> FWindow;
  bool FTerminated = false;
};

// The process's one application object, made on first use.
TApplication& Application();
