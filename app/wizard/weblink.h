#pragma once
// The maker's web address on the start page: plain text that looks and acts like a link.
// The hot colour and the hand while the pointer is over it, the normal look again within a
// timer tick after it left (also without a move message elsewhere), and the hourglass while
// the browser starts, whatever the pointer does meanwhile.
#include <windows.h>

#include <functional>
#include <string>

class TQvLabel;

class TWebLink {
 public:
  // `showError` tells the user that no browser could open the address.
  TWebLink(TQvLabel& label, std::function<void(const std::string&)> showError);

  void MouseMove();   // WebLabelMouseMove
  void Click();       // WebLabelClick
  void CheckHover();  // CheckWebLabelHover, from the form's timer
  bool Busy() const { return FWebBusy; }

  // How the address is opened: 0 started, 1 to 31 the start failed, -1 nothing could open
  // it. OpenUrl unless a test puts something else here.
  std::function<int(const std::string& url)> Open;

 private:
  TQvLabel& FLabel;
  std::function<void(const std::string&)> FShowError;
  HCURSOR FDefaultCursor;
  bool FWebBusy = false;
};
