#include "controls/qvgroupbox.h"

#include "ui/gdiobject.h"
#include "ui/scaling.h"

TQVGroupBox::TQVGroupBox(TWindow* parent) : TPanel(parent, L"TQVGroupBox") {
  SetFontColor(0xDF4800);
}

void TQVGroupBox::SetRahmenfarbe(COLORREF color) {
  FRahmenfarbe = color;
  if (Visible()) Repaint();
}

void TQVGroupBox::Paint(TCanvas& canvas) {
  const HDC dc = canvas.Handle();
  canvas.SetFont(Font());
  const int h = canvas.TextExtent("0").cy;
  const RECT client = ClientRect();
  const int l = 0, t = h / 2 - 1, r = client.right - 1, b = client.bottom - 1;
  {
    TPen pen(FRahmenfarbe);
    const HGDIOBJ old = SelectObject(dc, pen.Handle());
    const POINT frame[] = {{l, t + 2},     {l + 1, t + 2}, {l + 1, t + 1}, {l + 2, t + 1},
                           {l + 2, t},     {r - 2, t},     {r - 2, t + 1}, {r - 1, t + 1},
                           {r - 1, t + 2}, {r, t + 2},     {r, b - 2},     {r - 1, b - 2},
                           {r - 1, b - 1}, {r - 2, b - 1}, {r - 2, b},     {l + 2, b},
                           {l + 2, b - 1}, {l + 1, b - 1}, {l + 1, b - 2}, {l, b - 2},
                           {l, t + 2}};
    Polyline(dc, frame, static_cast<int>(std::size(frame)));
    SelectObject(dc, old);
  }
  const std::string caption = Text();
  if (caption.empty()) return;
  RECT box{Scaled(8), 0, Scaled(8), h};
  canvas.DrawText(box, caption, DT_SINGLELINE | DT_CALCRECT);
  // An opaque background hides the frame line behind the caption.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, Color());
  canvas.DrawText(box, caption, DT_SINGLELINE);
}
