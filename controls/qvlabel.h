#pragma once
// The rich-text label: a caption in the label markup (bold, italic, underline, colour,
// size, face, positions, line breaks and one link), painted double-buffered in a window of
// its own, so it gets the pointer and shows a hand over its link. It can wrap words, turn
// its text by 90 degrees, and scroll the caption a number of times.
#include <functional>
#include <memory>
#include <string>

#include "controls/qvlabelthread.h"
#include "controls/qvtextlayout.h"
#include "ui/customcontrol.h"

class TQvLabelBase;
// Link callbacks and the scroll notifications get the label as the sender.
using TLinkCallback = std::function<void(TQvLabelBase& sender)>;

class TQvLabelBase : public TCustomControl {
 public:
  static constexpr int DefaultWidth = 65;
  static constexpr int DefaultHeight = 17;

  explicit TQvLabelBase(TWindow* parent, const wchar_t* className = L"TQvLabelBase",
                        const RECT& bounds = {0, 0, DefaultWidth, DefaultHeight});
  ~TQvLabelBase() override;

  bool AutoSizeHeight() const { return FAutoSizeHeight; }
  void SetAutoSizeHeight(bool on);
  COLORREF LinkNormalColor() const { return FLinkNormalColor; }
  void SetLinkNormalColor(COLORREF color);
  COLORREF LinkActiveColor() const { return FLinkActiveColor; }
  void SetLinkActiveColor(COLORREF color);
  TFontStyles LinkStyle() const { return FLinkStyle; }
  void SetLinkStyle(TFontStyles style);
  bool Rotated() const { return FRotated; }
  void SetRotated(bool on);

  // Switching it on scrolls the caption ScrollCount times through the label, then puts the
  // caption back and hides the label; switching it off stops where the text stands.
  bool ScrollText() const { return FScrollText; }
  void SetScrollText(bool on);
  int ScrollCount() const { return FScrollCount; }
  void SetScrollCount(int count) { FScrollCount = count; }
  int ScrollSpeed() const { return FScroll.Speed; }
  void SetScrollSpeed(int speed);
  double ScrollSpeedFaktor() const { return FScroll.SpeedFaktor; }
  void SetScrollSpeedFaktor(double factor);
  bool ScrollLeftToRight() const { return FScroll.LeftToRight; }
  void SetScrollLeftToRight(bool on);

  const std::string& Caption() const { return FCaption; }

  TLinkCallback LinkCallBack;
  TLinkCallback OnScrollStart;
  TLinkCallback OnScrollEnd;

  // Ends the link's hover look when the pointer has left it without a leave message.
  void CheckLinkLeave();
  // Where the link was drawn last, in client coordinates.
  const RECT& LinkRect() const { return FLayout.LinkRect(); }
  bool LinkHovered() const { return FHover; }

  // Draws the caption into r on dc, or with DT_CALCRECT measures it, as painting does.
  void DoDrawText(HDC dc, RECT& r, UINT flags);
  // With AutoSize on, fits the bounds to the caption.
  void AdjustBounds();

  bool Accelerator(wchar_t ch) override;

 protected:
  // The usual control properties; TQvLabel makes them public.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool on);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool on);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool on);
  TWindow* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWindow* control);

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void EraseBackground(TCanvas& canvas) override;
  void Paint(TCanvas& canvas) override;
  void TextChanged() override;
  void FontChanged() override;
  void Click() override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;
  HCURSOR Cursor() const override;
  void Notification(TWindow* gone) override;

 private:
  TQvTextStyle Style() const;
  UINT PaintFlags() const;
  void LinkLeave();
  // The client rectangle as the caption would fill it, measured on a screen DC.
  RECT MeasureCaption();
  TScrollSettings CurrentScrollSettings() const;
  void ScrollSettingsChanged();
  void StartScrolling();
  void ScrollStep(int offset);
  void ScrollEnded(bool completed);
  void FinishThread();
  void StopThreadNow();

  TWindow* FFocusControl = nullptr;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FAutoSizeHeight = false;
  bool FTransparent = false;
  COLORREF FLinkNormalColor = 0x800000;
  COLORREF FLinkActiveColor = 0xFF0000;
  bool FRepaintOnLeave = false;
  bool FHover = false;
  TFontStyles FLinkStyle = fsBold | fsUnderline;
  bool FScrollText = false;
  int FScrollCount = 1;
  TScrollSettings FScroll;
  bool FRotated = false;
  std::string FCaption;  // the window text, kept at hand for painting
  std::string FScrollCaption;
  LPARAM FScrollGeneration = 0;
  std::unique_ptr<TQvLabelThread> FThread;
  TQvTextLayout FLayout;
};

class TQvLabel : public TQvLabelBase {
 public:
  explicit TQvLabel(TWindow* parent) : TQvLabelBase(parent, L"TQvLabel") {}
  TQvLabel(TWindow* parent, const RECT& bounds) : TQvLabelBase(parent, L"TQvLabel", bounds) {}

  using TQvLabelBase::AutoSize;
  using TQvLabelBase::FocusControl;
  using TQvLabelBase::SetAutoSize;
  using TQvLabelBase::SetFocusControl;
  using TQvLabelBase::SetShowAccelChar;
  using TQvLabelBase::SetTransparent;
  using TQvLabelBase::SetWordWrap;
  using TQvLabelBase::ShowAccelChar;
  using TQvLabelBase::Transparent;
  using TQvLabelBase::WordWrap;
};
