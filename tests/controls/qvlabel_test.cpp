// The label as a window: the real pointer over its link, clicks, keys, auto-sizing and
// the scrolling thread.
#include "controls/qvlabel.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/bed/controlpictures.h"
#include "tests/bed/uitest.h"
#include "ui/button.h"
#include "ui/form.h"

namespace {

constexpr COLORREF FormColor = RGB(0xF0, 0xF0, 0xE0);

// The labels sit on a colour of their own, told apart from white.
class TLabelForm : public TControlTestForm {
 public:
  TLabelForm() : TControlTestForm(FormColor) {}
};

HCURSOR CursorOver(const TWindow& window) {
  SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

std::unique_ptr<TQvLabel> LinkLabel(TWindow& parent) {
  auto label = std::make_unique<TQvLabel>(&parent);
  TFont font("Tahoma", -24);
  label->SetFont(font);
  label->SetBounds(20, 20, 0, 0);
  label->SetText("Say <a>English</a> now");
  PumpFor(50);
  return label;
}

// A label of a fixed size, without auto-sizing.
std::unique_ptr<TQvLabel> FixedLabel(TWindow& parent, int width, int height,
                                     const std::string& caption) {
  auto label = std::make_unique<TQvLabel>(&parent);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, width, height);
  label->SetText(caption);
  return label;
}

struct TClicks {
  std::vector<std::string> Order;
  const TQvLabelBase* Sender = nullptr;
};

void Watch(TQvLabel& label, TClicks& clicks) {
  label.LinkCallBack = [&clicks](TQvLabelBase& sender) {
    clicks.Order.push_back("link");
    clicks.Sender = &sender;
  };
  label.OnClick = [&clicks] { clicks.Order.push_back("click"); };
}

TEST(QvLabel, PointerOverTheLinkShowsAHandAndTheActiveColourAndAClickCallsTheLinkFirst) {
  TLabelForm form;
  auto label = LinkLabel(form);
  TClicks clicks;
  Watch(*label, clicks);
  const RECT link = label->LinkRect();
  ASSERT_LT(link.left, link.right);

  PointerTo(*label, (link.left + link.right) / 2, (link.top + link.bottom) / 2);
  EXPECT_TRUE(label->LinkHovered());
  EXPECT_EQ(CursorOver(*label), LoadCursorW(nullptr, IDC_HAND));
  TBitmap hot = Picture(*label);
  EXPECT_GT(Count(hot, label->LinkActiveColor()), 20);
  EXPECT_EQ(Count(hot, label->LinkNormalColor()), 0);

  ClickPointer();
  EXPECT_EQ(clicks.Order, (std::vector<std::string>{"link", "click"}));
  EXPECT_EQ(clicks.Sender, label.get());
  EXPECT_FALSE(label->LinkHovered());  // the click ends the hover look
  EXPECT_EQ(CursorOver(*label), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(QvLabel, ClickBesideTheLinkIsOnlyAClick) {
  TLabelForm form;
  auto label = LinkLabel(form);
  TClicks clicks;
  Watch(*label, clicks);
  PointerTo(*label, 3, label->Height() / 2);  // on "Say"
  EXPECT_FALSE(label->LinkHovered());
  EXPECT_EQ(CursorOver(*label), LoadCursorW(nullptr, IDC_ARROW));
  ClickPointer();
  EXPECT_EQ(clicks.Order, (std::vector<std::string>{"click"}));
}

TEST(QvLabel, LeavingTheLinkRestoresItsLook) {
  TLabelForm form;
  auto label = LinkLabel(form);
  const RECT link = label->LinkRect();
  PointerTo(*label, link.left + 2, link.top + 3);
  ASSERT_TRUE(label->LinkHovered());
  PointerTo(form, 300, 150);  // off the label: a leave message, once Wine looks again
  const DWORD start = GetTickCount();
  while (label->LinkHovered() && GetTickCount() - start < 2000) PumpFor(20);
  EXPECT_FALSE(label->LinkHovered());
  EXPECT_GT(Count(Picture(*label), label->LinkNormalColor()), 20);
}

TEST(QvLabel, CheckLinkLeaveEndsTheHoverWhenNoLeaveMessageCame) {
  TLabelForm form;
  auto label = LinkLabel(form);
  PointerTo(form, 300, 150);
  const RECT link = label->LinkRect();
  // The label hears of the pointer inside, but the pointer is elsewhere and no leave
  // message is handled before the check.
  SendMessageW(label->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(link.left + 2, link.top + 3));
  ASSERT_TRUE(label->LinkHovered());
  label->CheckLinkLeave();
  EXPECT_FALSE(label->LinkHovered());
  EXPECT_GT(Count(Picture(*label), label->LinkNormalColor()), 20);
  EXPECT_EQ(Count(Picture(*label), label->LinkActiveColor()), 0);
}

TEST(QvLabel, AcceleratorFocusesItsControlUntilThatControlIsGone) {
  TLabelForm form;
  TQvLabel label(&form);
  label.SetText("&Name:");
  auto button = std::make_unique<TButton>(&form);
  button->SetBounds(100, 100, 80, 25);
  auto other = std::make_unique<TButton>(&form);
  other->SetBounds(200, 100, 80, 25);
  label.SetFocusControl(button.get());
  other->SetFocus();
  PostMessageW(other->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  PumpFor(50);
  EXPECT_TRUE(button->Focused());

  button.reset();
  EXPECT_EQ(label.FocusControl(), nullptr);
  other->SetFocus();
  PostMessageW(other->Handle(), WM_SYSCHAR, 'n', 0x20000001);
  PumpFor(50);
  EXPECT_TRUE(other->Focused());
}

TEST(QvLabel, AutoSizeFitsTheCaption) {
  TLabelForm form;
  TQvLabel label(&form);
  EXPECT_EQ(label.Width(), 65);
  EXPECT_EQ(label.Height(), 17);
  label.SetBounds(10, 10, 65, 17);
  label.SetText("<a>English</a>");
  RECT measured{0, 0, 1000, 1000};
  {
    TMemoryDC dc;
    label.DoDrawText(dc.Handle(), measured, DT_CALCRECT);
  }
  EXPECT_EQ(label.Width(), measured.right);
  EXPECT_EQ(label.Height(), measured.bottom);
  const int lineHeight = label.Height();

  label.SetText("Big <s20>text");
  EXPECT_GT(label.Height(), lineHeight + 10);
  EXPECT_EQ(label.Left(), 10);

  label.SetRotated(true);
  label.SetText("Turned");
  EXPECT_GT(label.Height(), label.Width());

  TQvLabel wrapped(&form);
  wrapped.SetWordWrap(true);
  wrapped.SetBounds(0, 100, 80, 60);
  wrapped.SetText("Many words that wrap inside the label");
  EXPECT_EQ(wrapped.Width(), 80);
  EXPECT_EQ(wrapped.Height(), 60);

  TQvLabel fixed(&form);
  fixed.SetAutoSize(false);
  fixed.SetBounds(0, 0, 30, 40);
  fixed.SetText("A much longer caption");
  EXPECT_EQ(fixed.Width(), 30);
}

TEST(QvLabel, SingleLineTextIsCentredVertically) {
  TLabelForm form;
  auto label = FixedLabel(form, 200, 41, "<b>IIII");
  const TBitmap picture = Picture(*label);
  int top = -1, bottom = -1;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) != FormColor) {
        if (top < 0) top = y;
        bottom = y;
      }
  ASSERT_GE(top, 0);
  EXPECT_NEAR(top, 41 - 1 - bottom, 4);  // as much room above as below
}

TEST(QvLabel, TransparentLabelShowsItsParent) {
  TLabelForm form;
  TQvLabel label(&form);
  label.SetAutoSize(false);
  label.SetBounds(10, 10, 100, 30);
  label.SetColor(RGB(0, 200, 0));
  EXPECT_GT(Count(Picture(label), RGB(0, 200, 0)), 2000);
  label.SetTransparent(true);
  EXPECT_EQ(Count(Picture(label), RGB(0, 200, 0)), 0);
  EXPECT_GT(Count(Picture(label), FormColor), 2000);
}

// --- scrolling ---

// The offsets of the "<t…>" captions the label shows while the loop runs for `ms`.
std::vector<int> WatchOffsets(TQvLabel& label, DWORD ms) {
  std::vector<int> offsets;
  std::string last;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    PumpFor(5);
    const std::string caption = label.Text();
    if (caption == last || caption.rfind("<t", 0) != 0) continue;
    last = caption;
    offsets.push_back(std::stoi(caption.substr(2)));
  }
  return offsets;
}

TEST(QvLabel, ScrollingMovesTenPixelsEveryStepFromTheRightEdge) {
  TLabelForm form;
  auto label = FixedLabel(form, 300, 20, "Scrolling");
  label->SetScrollText(true);
  const std::vector<int> offsets = WatchOffsets(*label, 450);
  label->SetScrollText(false);
  ASSERT_GE(offsets.size(), 3u);
  EXPECT_EQ(offsets[0], 300);
  for (size_t i = 1; i < offsets.size(); ++i) EXPECT_EQ(offsets[i - 1] - offsets[i], 10);
  EXPECT_NE(label->Text().find("Scrolling"), std::string::npos);
}

TEST(QvLabel, ScrollingRunsItsPassesThenRestoresAndHides) {
  struct TCase {
    int Count;
    bool LeftToRight;
  };
  for (const TCase c : {TCase{0, false}, TCase{2, false}, TCase{1, true}, TCase{-1, false}}) {
    SCOPED_TRACE(c.Count);
    TLabelForm form;
    auto owned = FixedLabel(form, 40, 20, "<b>Run</b>");
    TQvLabel& label = *owned;
    label.SetScrollCount(c.Count);
    label.SetScrollSpeedFaktor(40);
    label.SetScrollLeftToRight(c.LeftToRight);
    int starts = 0, ends = 0;
    label.OnScrollStart = [&](TQvLabelBase&) { ++starts; };
    label.OnScrollEnd = [&](TQvLabelBase& sender) {
      ++ends;
      EXPECT_EQ(&sender, &label);
    };
    label.SetScrollText(true);
    const std::vector<int> offsets = WatchOffsets(label, c.Count > 0 ? 1500 : 300);
    EXPECT_EQ(offsets.empty(), c.Count <= 0);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(label.Text(), "<b>Run</b>");
    EXPECT_FALSE(label.Visible());
    EXPECT_FALSE(label.ScrollText());
  }
}

TEST(QvLabel, ScrollingSwitchedOffStopsWhereTheTextStands) {
  TLabelForm form;
  auto owned = FixedLabel(form, 300, 20, "Stop");
  TQvLabel& label = *owned;
  int ends = 0;
  label.OnScrollEnd = [&](TQvLabelBase&) { ++ends; };
  label.SetScrollText(true);
  WatchOffsets(label, 250);
  label.SetScrollText(false);
  PumpFor(200);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(label.Text().rfind("<t", 0), 0u);
  EXPECT_TRUE(label.Visible());
  // On again at once: a new run, and the old one has ended exactly once.
  label.SetScrollText(true);
  label.SetScrollText(false);
  label.SetScrollText(true);
  PumpFor(150);
  label.SetScrollText(false);
  PumpFor(200);
  EXPECT_EQ(ends, 3);
}

int ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{sizeof(entry)};
  int n = 0;
  for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
    n += entry.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snapshot);
  return n;
}

TEST(QvLabel, DestroyingAScrollingLabelEndsItsThreadEveryTime) {
  TLabelForm form;
  PumpFor(100);
  const int threadsBefore = ThreadsOfThisProcess();
  auto calledAfterDeath = std::make_shared<int>(0);
  for (int i = 0; i < 200; ++i) {
    auto alive = std::make_shared<bool>(true);
    {
      TQvLabel label(&form);
      label.SetText("Going");
      label.SetScrollSpeedFaktor(100);
      label.OnScrollEnd = [alive, calledAfterDeath](TQvLabelBase&) {
        if (!*alive) ++*calledAfterDeath;
      };
      label.SetScrollText(true);
      PumpFor(static_cast<DWORD>(i % 25));
    }
    *alive = false;
    // The thread has ended by the time the label is gone, not some time later.
    ASSERT_EQ(ThreadsOfThisProcess(), threadsBefore) << "after " << i << " labels";
    PumpFor(1);
  }
  PumpFor(200);
  EXPECT_EQ(*calledAfterDeath, 0);
}

}  // namespace
