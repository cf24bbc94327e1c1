#pragma once
// The hint window: a borderless balloon with up to fifteen lines of label markup, an
// optional small icon, a close button and a tail whose tip sits at a screen point. Any
// click, Enter or Escape closes it; a link in it closes it and says so.
#include <memory>
#include <string>
#include <vector>

#include "controls/qvlabel.h"
#include "controls/veximagebutton.h"
#include "ui/form.h"
#include "ui/image.h"

enum THintType { htNone = 0, htWarning = 1, htInformation = 2 };

class TVEXHintForm : public TForm {
 public:
  static constexpr int LineCount = 15;
  static constexpr int LinePitch = 14;
  static constexpr int TailHeight = 16;
  static constexpr COLORREF BalloonColor = 0x00E7FFFF;

  TVEXHintForm();

  // Lays the hint out for `point` (screen) over `reference` (or the work area) and shows
  // it modally. Returns 0.
  uint8_t ShowHint(const std::string& text, POINT point, const TWindow* reference, THintType type);
  // Lays out without showing; ShowHint does this first.
  void Prepare(const std::string& text, POINT point, const TWindow* reference, THintType type);

  bool LinkClicked() const { return FLinkClicked; }
  int TailOffset() const { return FTail; }
  TQvLabel& Line(int index) { return *FLines.at(static_cast<size_t>(index)); }
  TImage& InfoImage() { return FInfoImage; }
  TImage& WarnImage() { return FWarnImage; }
  TVexImageButton& CloseKnopf() { return FCloseKnopf; }

  // The outline of the balloon for a window of w x h with the tail at t: 55 vertices.
  static std::vector<POINT> Balloon(int w, int h, int t);
  // The frame line drawn along it.
  static std::vector<POINT> Frame(int w, int h, int t);

 protected:
  bool ShortCut(const MSG& msg) override;
  void Paint(TCanvas& canvas) override;
  void Click() override;
  // A balloon points at a place laid out at the old scale: it closes, the link opens it anew.
  void ScaleChanged() override { CloseHint(); }

 private:
  void CloseHint() { SetModalResult(mrOk); }

  TImage FInfoImage{this};
  TImage FWarnImage{this};
  TVexImageButton FCloseKnopf{this};
  std::vector<std::unique_ptr<TQvLabel>> FLines;
  int FTail = 25;
  bool FLinkClicked = false;
};

// The process's one hint wrapper.
class TVEXHint {
 public:
  // A hint with the information icon; refused (0, nothing shown) while one shows.
  uint8_t Popup(const std::string& text, POINT point, const TWindow* reference = nullptr);
  uint8_t Show(const std::string& text, POINT point, const TWindow* reference, THintType type);
  bool LinkClicked() const { return FLinkClicked; }
  // The hint showing now, or nullptr.
  TVEXHintForm* Form() const { return FForm; }

 private:
  TVEXHintForm* FForm = nullptr;
  bool FLinkClicked = false;
};

TVEXHint& VEXHint();
