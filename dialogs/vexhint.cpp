#include "dialogs/vexhint.h"

#include <algorithm>

#include "controls/artwork.h"
#include "controls/vexdesign.h"
#include "dialogs/dialoglines.h"
#include "sysutil/scopeexit.h"
#include "ui/gdiobject.h"

namespace {

bool IsBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TVEXHintForm::TVEXHintForm() : TForm(L"TVEXHintForm", WS_POPUP | WS_CLIPCHILDREN) {
  SetColor(BalloonColor);
  TFont font("Arial", -11);
  font.SetColor(GetSysColor(COLOR_WINDOWTEXT));
  SetFont(font);
  SetClientSize(406, 197);
  FInfoImage.SetPicture(BitmapFromTable(Art::HintInfoIcon));
  FWarnImage.SetPicture(BitmapFromTable(Art::HintWarningIcon));
  for (TImage* image : {&FInfoImage, &FWarnImage}) {
    image->SetVisible(false);
    image->OnClick = [this] { CloseHint(); };
  }
  FInfoImage.SetBounds(8, 19, 16, 16);
  FWarnImage.SetBounds(20, 19, 16, 16);
  FCloseKnopf.SetImages(BitmapFromTable(Art::CloseStrip));
  FCloseKnopf.SetButtonColor(RGB(255, 255, 255));
  FCloseKnopf.SetLanguage(lgGerman);
  FCloseKnopf.SetTopBorderColor(RGB(255, 255, 255));
  FCloseKnopf.SetShowCaption(false);
  FCloseKnopf.SetAutoSize(true);
  FCloseKnopf.SetTextIdent(0);
  FCloseKnopf.SetBounds(380, 6, 18, 18);
  FCloseKnopf.OnClick = [this] { CloseHint(); };
  for (int n = 1; n <= LineCount; ++n) {
    auto& line = *FLines.emplace_back(std::make_unique<TQvLabel>(this));
    line.SetBounds(12, (n - 1) * LinePitch + 8, 100, 14);
    line.SetText(" ");
    line.OnClick = [this] { CloseHint(); };
    line.LinkCallBack = [this](TQvLabelBase&) {
      FLinkClicked = true;
      CloseHint();
    };
  }
}

void TVEXHintForm::Prepare(const std::string& text, POINT point, const TWindow* reference,
                           THintType type) {
  for (auto& line : FLines) {
    line->SetColor(BalloonColor);
    line->SetFontColor(GetSysColor(COLOR_WINDOWTEXT));
    line->SetText(" ");
  }
  FInfoImage.SetVisible(type == htInformation);
  FWarnImage.SetVisible(type == htWarning);
  FInfoImage.SetBounds(12, 7, 16, 16);
  FWarnImage.SetBounds(12, 7, 16, 16);
  FLines[0]->SetBounds(type == htNone ? 12 : 32, FLines[0]->Top(), FLines[0]->Width(),
                       FLines[0]->Height());

  const std::vector<TDialogLine> lines = SplitDialogText(text, LineCount, false);
  int w = 100;
  for (size_t i = 0; i < lines.size(); ++i) {
    FLines[i]->SetText(lines[i].Text);
    w = std::max(w, FLines[i]->Width());
  }
  for (auto& line : FLines) line->SetVisible(!IsBlank(line->Text()));

  const int count = static_cast<int>(lines.size());
  const int width = w + 60;
  const int height = count * LinePitch + 20 + TailHeight;
  SetClientSize(width, height);
  FCloseKnopf.SetBounds(width - 24, 6, 18, 18);

  const RECT work = WorkArea();
  int top = point.y - height;
  int left = 0;
  if (reference) {
    const RECT r = ReferenceRect(reference);
    left = r.left + HalfToEven(r.right - r.left - width);
  } else {
    left = work.left + HalfToEven(work.right - work.left - width);
  }
  FTail = point.x - left - 7;
  if (FTail < 25) {
    left = point.x - 32;
    FTail = 25;
  }
  if (FTail > width - 25) {
    left += FTail - (width - 25);
    FTail = width - 25;
  }
  // Kept inside the work area; the tail stays where it was put on the window.
  left = std::max(left, static_cast<int>(work.left));
  if (left + width > work.right) left = work.right - width;
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  const std::vector<POINT> outline = Balloon(width, height, FTail);
  TGdiObject region(CreatePolygonRgn(outline.data(), static_cast<int>(outline.size()), WINDING));
  // On success the window owns the region.
  if (region && SetWindowRgn(Handle(), static_cast<HRGN>(region.Get()), TRUE)) region.Release();
}

uint8_t TVEXHintForm::ShowHint(const std::string& text, POINT point, const TWindow* reference,
                               THintType type) {
  if (Visible()) return 0;
  Prepare(text, point, reference, type);
  ShowModal();
  return 0;
}

std::vector<POINT> TVEXHintForm::Balloon(int w, int h, int t) {
  std::vector<POINT> p = {{0, 5},          {1, 5},          {1, 3},          {3, 1},
                          {5, 1},          {5, 0},          {w - 5, 0},      {w - 5, 1},
                          {w - 3, 1},      {w - 1, 3},      {w - 1, 5},      {w, 5},
                          {w, h - 21},     {w - 1, h - 21}, {w - 1, h - 20}, {w - 3, h - 18},
                          {w - 5, h - 17}, {w - 5, h - 16}};
  for (int i = 0; i <= 6; ++i) {
    p.push_back({t + 15 - i, h - 16 + 2 * i});
    p.push_back({t + 15 - i, h - 14 + 2 * i});
  }
  for (POINT q : {POINT{t + 8, h - 2}, POINT{t + 8, h}, POINT{t + 7, h - 2}, POINT{t + 6, h - 2}})
    p.push_back(q);
  for (int i = 0; i <= 5; ++i) {
    p.push_back({t + 6 - i, h - 4 - 2 * i});
    p.push_back({t + 5 - i, h - 4 - 2 * i});
  }
  for (POINT q : {POINT{t, h - 16}, POINT{5, h - 16}, POINT{5, h - 17}, POINT{3, h - 18},
                  POINT{1, h - 20}, POINT{1, h - 21}, POINT{0, h - 21}})
    p.push_back(q);
  return p;
}

std::vector<POINT> TVEXHintForm::Frame(int w, int h, int t) {
  std::vector<POINT> p = {{0, 5},          {1, 4},          {1, 3},          {3, 1},
                          {4, 1},          {5, 0},          {w - 6, 0},      {w - 5, 1},
                          {w - 4, 1},      {w - 2, 3},      {w - 2, 4},      {w - 1, 5},
                          {w - 1, h - 22}, {w - 2, h - 21}, {w - 2, h - 20}, {w - 4, h - 18},
                          {w - 5, h - 18}, {w - 6, h - 17}};
  for (int i = 0; i <= 7; ++i) {
    p.push_back({t + 14 - i, h - 17 + 2 * i});
    p.push_back({t + 14 - i, h - 15 + 2 * i});
  }
  for (int i = 0; i <= 6; ++i) {
    p.push_back({t + 7 - i, h - 3 - 2 * i});
    p.push_back({t + 6 - i, h - 3 - 2 * i});
  }
  for (POINT q : {POINT{t, h - 17}, POINT{5, h - 17}, POINT{4, h - 18}, POINT{3, h - 18},
                  POINT{1, h - 20}, POINT{1, h - 21}, POINT{0, h - 22}, POINT{0, 5}})
    p.push_back(q);
  return p;
}

void TVEXHintForm::Paint(TCanvas& canvas) {
  const RECT r = ClientRect();
  const std::vector<POINT> frame = Frame(r.right, r.bottom, FTail);
  TPen pen(RGB(0, 0, 0));
  const HGDIOBJ old = SelectObject(canvas.Handle(), pen.Handle());
  Polyline(canvas.Handle(), frame.data(), static_cast<int>(frame.size()));
  SelectObject(canvas.Handle(), old);
}

void TVEXHintForm::Click() { CloseHint(); }

bool TVEXHintForm::ShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE))
    return false;
  CloseHint();
  return true;
}

uint8_t TVEXHint::Popup(const std::string& text, POINT point, const TWindow* reference) {
  return Show(text, point, reference, htInformation);
}

uint8_t TVEXHint::Show(const std::string& text, POINT point, const TWindow* reference,
                       THintType type) {
  if (FForm) return 0;
  TVEXHintForm form;
  FForm = &form;
  const TScopeExit forget([this, &form] {
    FLinkClicked = form.LinkClicked();
    FForm = nullptr;
  });
  form.ShowHint(text, point, reference, type);
  return 0;
}

TVEXHint& VEXHint() {
  static TVEXHint hint;
  return hint;
}
