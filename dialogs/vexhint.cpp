#include "dialogs/vexhint.h"

#include <algorithm>

#include "controls/artworkpicture.h"
#include "controls/vexdesign.h"
#include "dialogs/dialoglines.h"
#include "sysutil/scopeexit.h"
#include "ui/gdiobject.h"
#include "ui/scaling.h"

namespace {

bool IsBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TVEXHintForm::TVEXHintForm() : TForm(L"TVEXHintForm", WS_POPUP | WS_CLIPCHILDREN) {
  SetColor(BalloonColor);
  TFont font("Arial", TFont::PointsHeight(8));
  font.SetColor(GetSysColor(COLOR_WINDOWTEXT));
  SetFont(font);
  SetClientSize(Scaled(406), Scaled(197));
  FInfoImage.SetPicture(ArtworkPicture(Art::HintInfoIcon));
  FWarnImage.SetPicture(ArtworkPicture(Art::HintWarningIcon));
  for (TImage* image : {&FInfoImage, &FWarnImage}) {
    image->SetVisible(false);
    image->OnClick = [this] { CloseHint(); };
  }
  SetScaledBounds(FInfoImage, 8, 19, 16, 16);
  SetScaledBounds(FWarnImage, 20, 19, 16, 16);
  FCloseKnopf.SetImages(ArtworkPicture(Art::CloseStrip, 1, 4));
  FCloseKnopf.SetButtonColor(RGB(255, 255, 255));
  FCloseKnopf.SetLanguage(lgGerman);
  FCloseKnopf.SetTopBorderColor(RGB(255, 255, 255));
  FCloseKnopf.SetShowCaption(false);
  FCloseKnopf.SetAutoSize(true);
  FCloseKnopf.SetTextIdent(0);
  SetScaledBounds(FCloseKnopf, 380, 6, 18, 18);
  FCloseKnopf.OnClick = [this] { CloseHint(); };
  for (int n = 1; n <= LineCount; ++n) {
    auto& line = *FLines.emplace_back(std::make_unique<TQvLabel>(this));
    SetScaledBounds(line, 12, (n - 1) * LinePitch + 8, 100, 14);
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
  SetScaledBounds(FInfoImage, 12, 7, 16, 16);
  SetScaledBounds(FWarnImage, 12, 7, 16, 16);
  FLines[0]->SetBounds(Scaled(type == htNone ? 12 : 32), FLines[0]->Top(), FLines[0]->Width(),
                       FLines[0]->Height());

  const std::vector<TDialogLine> lines = SplitDialogText(text, LineCount, false);
  int w = Scaled(100);
  for (size_t i = 0; i < lines.size(); ++i) {
    FLines[i]->SetText(lines[i].Text);
    w = std::max(w, FLines[i]->Width());
  }
  for (auto& line : FLines) line->SetVisible(!IsBlank(line->Text()));

  // Each line takes the pitch, or its own height where its font is taller (a heading at a
  // display scale above 100 %).
  int bottom = Scaled(8);
  for (size_t i = 0; i < lines.size(); ++i) {
    TQvLabel& line = *FLines[i];
    line.SetBounds(line.Left(), bottom, line.Width(), line.Height());
    bottom += std::max(Scaled(LinePitch), line.Height());
  }
  const int width = w + Scaled(60);
  const int height = bottom - Scaled(8) + Scaled(20 + TailHeight);
  SetClientSize(width, height);
  const TScaledBounds close = ScaledBounds(0, 6, 18, 18);
  FCloseKnopf.SetBounds(width - Scaled(24), close.Top, close.Width, close.Height);

  const RECT work = WorkArea();
  int top = point.y - height;
  int left = 0;
  if (reference) {
    const RECT r = ReferenceRect(reference);
    left = r.left + HalfToEven(r.right - r.left - width);
  } else {
    left = work.left + HalfToEven(work.right - work.left - width);
  }
  FTail = point.x - left - Scaled(7);
  if (FTail < Scaled(25)) {
    left = point.x - Scaled(32);
    FTail = Scaled(25);
  }
  if (FTail > width - Scaled(25)) {
    left += FTail - (width - Scaled(25));
    FTail = width - Scaled(25);
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

// Drawn at 96 DPI; every offset from an edge or the tail is scaled, so the curves keep their
// steps at any scale.
std::vector<POINT> TVEXHintForm::Balloon(int w, int h, int t) {
  const auto s = [](int v) { return Scaled(v); };
  std::vector<POINT> p = {{0, s(5)},          {s(1), s(5)},         {s(1), s(3)},
                          {s(3), s(1)},       {s(5), s(1)},         {s(5), 0},
                          {w - s(5), 0},      {w - s(5), s(1)},     {w - s(3), s(1)},
                          {w - s(1), s(3)},   {w - s(1), s(5)},     {w, s(5)},
                          {w, h - s(21)},     {w - s(1), h - s(21)}, {w - s(1), h - s(20)},
                          {w - s(3), h - s(18)}, {w - s(5), h - s(17)}, {w - s(5), h - s(16)}};
  for (int i = 0; i <= 6; ++i) {
    p.push_back({t + s(15 - i), h - s(16 - 2 * i)});
    p.push_back({t + s(15 - i), h - s(14 - 2 * i)});
  }
  for (POINT q : {POINT{t + s(8), h - s(2)}, POINT{t + s(8), h}, POINT{t + s(7), h - s(2)},
                  POINT{t + s(6), h - s(2)}})
    p.push_back(q);
  for (int i = 0; i <= 5; ++i) {
    p.push_back({t + s(6 - i), h - s(4 + 2 * i)});
    p.push_back({t + s(5 - i), h - s(4 + 2 * i)});
  }
  for (POINT q : {POINT{t, h - s(16)}, POINT{s(5), h - s(16)}, POINT{s(5), h - s(17)},
                  POINT{s(3), h - s(18)}, POINT{s(1), h - s(20)}, POINT{s(1), h - s(21)},
                  POINT{0, h - s(21)}})
    p.push_back(q);
  return p;
}

std::vector<POINT> TVEXHintForm::Frame(int w, int h, int t) {
  const auto s = [](int v) { return Scaled(v); };
  std::vector<POINT> p = {{0, s(5)},          {s(1), s(4)},         {s(1), s(3)},
                          {s(3), s(1)},       {s(4), s(1)},         {s(5), 0},
                          {w - s(6), 0},      {w - s(5), s(1)},     {w - s(4), s(1)},
                          {w - s(2), s(3)},   {w - s(2), s(4)},     {w - s(1), s(5)},
                          {w - s(1), h - s(22)}, {w - s(2), h - s(21)}, {w - s(2), h - s(20)},
                          {w - s(4), h - s(18)}, {w - s(5), h - s(18)}, {w - s(6), h - s(17)}};
  for (int i = 0; i <= 7; ++i) {
    p.push_back({t + s(14 - i), h - s(17 - 2 * i)});
    p.push_back({t + s(14 - i), h - s(15 - 2 * i)});
  }
  for (int i = 0; i <= 6; ++i) {
    p.push_back({t + s(7 - i), h - s(3 + 2 * i)});
    p.push_back({t + s(6 - i), h - s(3 + 2 * i)});
  }
  for (POINT q : {POINT{t, h - s(17)}, POINT{s(5), h - s(17)}, POINT{s(4), h - s(18)},
                  POINT{s(3), h - s(18)}, POINT{s(1), h - s(20)}, POINT{s(1), h - s(21)},
                  POINT{0, h - s(22)}, POINT{0, s(5)}})
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
