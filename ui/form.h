#pragma once
// A top-level window: shown modeless or modal, closed, activated; sees the keys of its
// controls first (ShortCut), then handles accelerators and Tab/arrow navigation.
#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ui/scaling.h"
#include "ui/window.h"

enum TModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

class TForm : public TWindow {
 public:
  // Fixed single border, system menu and minimise box: the frame of wizards and dialogs.
  static constexpr DWORD FixedDialogStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

  TForm(const wchar_t* className, DWORD style, DWORD exStyle = 0);
  ~TForm() override;

  void Show();
  void Close();
  // Disables the program's other windows and runs a message loop until a modal result
  // is set or the form is closed.
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  void CenterOnScreen();
  void SetOwner(HWND owner);
  // The caption and taskbar icon, from the program's icon resource `id`.
  void SetIcon(int id);
  // The control that takes the focus whenever the form becomes active, also the first time.
  // A hidden form is not activated by it, as it would be by SetFocus on the control.
  void SetActiveControl(const TWindow& control);
  // The display scale the form is laid out at.
  int PixelsPerInch() const { return FPixelsPerInch; }

  // The main form's Close ends the application.
  void SetMainForm(bool main) { FMainForm = main; }

  // The form's shortcuts, Enter and Esc for its default and cancel buttons, Tab and the
  // arrows between its controls, and the letters of its captions.
  bool PreTranslate(MSG& msg) override;

 protected:
  // Sees WM_KEYDOWN/WM_SYSKEYDOWN before any control; true marks the key as handled.
  virtual bool ShortCut(const MSG&) { return false; }
  // The form became the active window, the first time or back from another window of
  // this program; switching from another application does not count.
  virtual void Activate() {}
  virtual bool CloseQuery() { return true; }
  // The form was laid out anew at another display scale (TWindow::Rescale) after it had
  // taken the size that scale gives its client area; it may size itself again.
  void ScaleChanged() override {}

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

  // Makes a control that the form owns. The form destroys its controls in reverse order
  // of creation, children before their containers, before its own window goes: make the
  // containers (pages, panels) this way too.
  template <typename T, typename... A>
  T& Add(A&&... args) {
    T* control = new T(std::forward<A>(args)...);
    FControls.emplace_back(control, [](void* p) { delete static_cast<T*>(p); });
    return *control;
  }

 private:
  bool OfferToControls(std::function<bool(TWindow&)> take);
  bool HandleAccelerator(wchar_t ch);
  bool HandleDialogKey(WPARAM key);
  void ActivateChanged(WPARAM wp, HWND other);
  // Windows moved the form to a display of `dpi` (WM_DPICHANGED), suggesting a place.
  void ChangeScale(int dpi, const RECT* suggested);
  // A form about to show on a display of another scale than the one it was laid out at
  // takes that display's first.
  void AdoptDisplayScale();

  int FModalResult = mrNone;
  bool FModal = false;
  bool FMainForm = false;
  bool FActivatedOnce = false;
  int FPixelsPerInch = ScreenPixelsPerInch();
  HWND FFocusedChild = nullptr;
  std::vector<std::unique_ptr<void, void (*)(void*)>> FControls;
};
