#include "dialogs/dialoglines.h"

#include <algorithm>
#include <cmath>

#include "ui/window.h"

std::vector<TDialogLine> SplitDialogText(const std::string& text, size_t maxLines, bool boldTag) {
  std::vector<TDialogLine> lines;
  size_t start = 0;
  while (lines.size() < maxLines) {
    const size_t bar = text.find('|', start);
    const bool last = bar == std::string::npos;
    TDialogLine line{text.substr(start, last ? std::string::npos : bar - start)};
    if (boldTag && line.Text.rfind("<b>", 0) == 0) {
      line.Text.erase(0, 3);
      line.Bold = true;
    }
    if (line.Text.empty() && !last) line.Text = " ";
    lines.push_back(line);
    if (last) break;
    start = bar + 1;
  }
  return lines;
}

// The default rounding mode sends halves to the even neighbour.
int HalfToEven(int d) { return static_cast<int>(std::nearbyint(d / 2.0)); }

POINT CenteredOn(const RECT& reference, SIZE size, const RECT& bounds) {
  POINT p{reference.left + HalfToEven(reference.right - reference.left - size.cx),
          reference.top + HalfToEven(reference.bottom - reference.top - size.cy)};
  p.x = std::max(p.x, bounds.left);
  p.y = std::max(p.y, bounds.top);
  if (p.x + size.cx > bounds.right) p.x = bounds.right - size.cx;
  if (p.y + size.cy > bounds.bottom) p.y = bounds.bottom - size.cy;
  return p;
}

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT WorkArea() {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = ScreenRect();
  return work;
}

RECT ReferenceRect(const TWindow* reference) {
  RECT r = ScreenRect();
  if (reference && reference->Handle()) GetWindowRect(reference->Handle(), &r);
  return r;
}
