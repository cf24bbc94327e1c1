// labelgallery BMP: renders a sheet of rich-text labels (every tag, word wrap, turned text,
// a link normal and under the pointer, a disabled label) into BMP, for a person to look
// at. 'make test' turns it into build/label-gallery.png.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/qvlabel.h"
#include "tests/bed/bmpfile.h"
#include "ui/application.h"
#include "ui/form.h"

namespace {

constexpr int SheetWidth = 560;
constexpr int SheetHeight = 440;

class TGalleryForm : public TForm {
 public:
  TGalleryForm() : TForm(L"TLabelGallery", FixedDialogStyle) {
    SetClientSize(SheetWidth, SheetHeight);
    SetColor(RGB(0xFF, 0xFF, 0xFF));
  }

  TQvLabel& Add(int left, int top, const std::string& caption) {
    auto& label = *FLabels.emplace_back(std::make_unique<TQvLabel>(this));
    label.SetLinkNormalColor(0xDF4800);
    label.SetLinkStyle(0);
    label.SetBounds(left, top, 0, 0);
    label.SetText(caption);
    return label;
  }

  TQvLabel& AddBox(int left, int top, int width, int height, const std::string& caption) {
    auto& label = Add(left, top, "");
    label.SetAutoSize(false);
    label.SetBounds(left, top, width, height);
    label.SetText(caption);
    return label;
  }

  // The form and every label painted into one picture, each at its place.
  TBitmap Render() {
    TBitmap sheet(SheetWidth, SheetHeight);
    TBitmapCanvas canvas(sheet);
    const HDC dc = canvas.Canvas().Handle();
    PaintTo(dc);
    for (const auto& label : FLabels) {
      if (!label->Visible()) continue;
      TCanvas scope(dc);
      IntersectClipRect(dc, label->Left(), label->Top(), label->Left() + label->Width(),
                        label->Top() + label->Height());
      SetViewportOrgEx(dc, label->Left(), label->Top(), nullptr);
      label->PaintTo(dc);
    }
    GdiFlush();
    return sheet;
  }

 private:
  std::vector<std::unique_ptr<TQvLabel>> FLabels;
};

void Heading(TGalleryForm& form, int top, const char* text) {
  form.Add(10, top, std::string("<b><#808080>") + text);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  TGalleryForm form;

  Heading(form, 8, "Style, colour, size and face");
  form.Add(20, 26, "<b>bold</b> <i>italic</i> <u>underline</u> <b><i><u>all three</u></i></b> plain");
  form.Add(20, 46, "<#FF0000>blue <#0000FF>red <#008000>green <#000000>and <#F00>three digits");
  form.Add(20, 66, "sizes on one base line: <s8>8pt <s12>12pt <s18>18pt <s24>24pt, <b>bold</b> <#0000FF>red");
  form.Add(20, 110, "<\"Courier New\">Courier New <\"Tahoma\">back to Tahoma, <p> stays, <span>goes");
  form.Add(20, 130, "positions:<t120>at 120<t240>at 240<t360>at 360");

  Heading(form, 156, "Links");
  form.Add(20, 174, "normal: <a>English</a>, then plain");
  auto& hot = form.Add(260, 174, "hovered: <a>English</a>, then plain");
  const RECT link = hot.LinkRect();
  SendMessageW(hot.Handle(), WM_MOUSEMOVE, 0,
               MAKELPARAM((link.left + link.right) / 2, (link.top + link.bottom) / 2));
  auto& styled = form.Add(20, 194, "bold underlined link style: <a>Tell me more.</a>");
  styled.SetLinkStyle(fsBold | fsUnderline);

  Heading(form, 220, "Word wrap (the box is drawn around the label)");
  auto& wrapped = form.AddBox(20, 238, 260, 110,
                              "Word wrap breaks at blanks and after backslashes: "
                              "C:\\Programme\\Cardmend\\cardmend.exe<br>After a <b>line "
                              "break</b>,<br><br>two breaks give one. "
                              "Chipkartenressourcenmanagerdienst is too wide.");
  wrapped.SetWordWrap(true);
  wrapped.SetColor(RGB(0xF4, 0xF4, 0xEC));

  Heading(form, 360, "Disabled and centred");
  auto& disabled = form.AddBox(20, 378, 260, 40, "<b>disabled</b> <#0000FF>red when enabled");
  disabled.SetEnabled(false);
  disabled.SetColor(RGB(0xF4, 0xF4, 0xEC));

  form.Add(320, 220, "<b><#808080>Turned");
  auto& turned = form.Add(320, 238, "<s14><b>Turned</b> by 90°");
  turned.SetRotated(true);
  auto& turnedLink = form.Add(360, 238, "<s10>up the <i>side</i>");
  turnedLink.SetRotated(true);

  return SaveBmp(form.Render(), argv[1]) ? 0 : 1;
}
