// The hint window and the help loader.
#include "dialogs/vexhint.h"

#include <gtest/gtest.h>

#include "dialogs/dialoglines.h"
#include "dialogs/htmlhelp.h"
#include "sysutil/scopeexit.h"
#include "sysutil/textconv.h"
#include "tests/bed/controlpictures.h"
#include "tests/bed/registryfixture.h"
#include "tests/bed/scratch.h"
#include "tests/bed/testbed.h"
#include "ui/timer.h"

namespace {

POINT Middle() {
  const RECT work = WorkArea();
  return {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
}

TEST(VEXHint, SizeLinesAndIcon) {
  TVEXHintForm form;
  form.Prepare("One line", Middle(), nullptr, htInformation);
  EXPECT_EQ(form.Height(), 14 + 36);
  EXPECT_EQ(form.Width(), 100 + 60);  // narrow text: W is at least 100
  EXPECT_EQ(form.Line(0).Left(), 32);  // room for the icon on the first line only
  EXPECT_TRUE(form.InfoImage().Visible());
  EXPECT_FALSE(form.WarnImage().Visible());

  form.Prepare("a||b", Middle(), nullptr, htNone);
  EXPECT_EQ(form.Line(0).Left(), 12);
  EXPECT_TRUE(form.Line(0).Visible());
  EXPECT_FALSE(form.Line(1).Visible());  // the empty line keeps its place, hidden
  EXPECT_TRUE(form.Line(2).Visible());
  EXPECT_EQ(form.Line(2).Top(), 2 * 14 + 8);
  EXPECT_EQ(form.Line(2).Text(), "b");
  EXPECT_EQ(form.Height(), 3 * 14 + 36);
  EXPECT_FALSE(form.InfoImage().Visible());
}

TEST(VEXHint, TailTipAtThePointAndTheBodyInsideTheWorkArea) {
  const RECT work = WorkArea();
  TVEXHintForm form;
  const POINT middle = Middle();
  form.Prepare("Somewhere in the middle", middle, nullptr, htInformation);
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(r.bottom, middle.y);  // the tail ends at the point
  EXPECT_EQ(r.left + form.TailOffset() + 7, middle.x);

  const POINT nearLeft{work.left + 5, middle.y};
  form.Prepare("Near the left edge of the screen", nearLeft, nullptr, htInformation);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(form.TailOffset(), 25);
  EXPECT_EQ(r.left, work.left);  // pushed back inside

  const POINT nearRight{work.right - 3, middle.y};
  form.Prepare("Near the right edge of the screen", nearRight, nullptr, htInformation);
  GetWindowRect(form.Handle(), &r);
  EXPECT_EQ(form.TailOffset(), form.Width() - 25);
  EXPECT_LE(r.right, work.right);
}

TEST(VEXHint, BalloonRegionAndFrame) {
  const std::vector<POINT> outline = TVEXHintForm::Balloon(200, 64, 40);
  EXPECT_EQ(outline.size(), 55u);
  TVEXHintForm form;
  form.Prepare("Region", Middle(), nullptr, htNone);
  const int w = form.Width(), h = form.Height(), t = form.TailOffset();
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form.Handle(), region), ERROR);
  struct TCase {
    int X, Y;
    bool Inside;
  };
  for (const TCase c : {TCase{0, 0, false}, TCase{w - 1, 0, false}, TCase{10, 10, true},
                        TCase{w / 2, h / 2 - 8, true}, TCase{t + 7, h - 4, true},
                        TCase{t + 8, h - 8, true}, TCase{t + 30, h - 4, false},
                        TCase{2, h - 4, false}, TCase{w - 2, h - 4, false}}) {
    EXPECT_EQ(PtInRegion(region, c.X, c.Y) != FALSE, c.Inside) << c.X << "," << c.Y;
  }
  DeleteObject(region);

  const TBitmap p = Picture(form);
  for (POINT q : {POINT{0, 5}, POINT{1, 4}, POINT{5, 0}, POINT{w - 6, 0}, POINT{w - 1, 5},
                  POINT{w - 1, h - 22}, POINT{t + 14, h - 17}, POINT{t + 7, h - 3},
                  POINT{5, h - 17}, POINT{0, h - 22}})
    EXPECT_EQ(p.Pixel(q.x, q.y), RGB(0, 0, 0)) << q.x << "," << q.y;
  EXPECT_EQ(p.Pixel(10, 10), TVEXHintForm::BalloonColor);
}

// Shows a hint and, once it is up, sends its first line a click at `x` (after a move there).
bool LinkClickedAfterClickAt(const std::string& text, int x) {
  TTimer timer;
  timer.SetInterval(100);
  timer.OnTimer = [&] {
    TVEXHintForm* form = VEXHint().Form();
    if (!form) return;
    timer.SetEnabled(false);
    const HWND line = form->Line(0).Handle();
    const LPARAM at = MAKELPARAM(x, 6);
    SendMessageW(line, WM_MOUSEMOVE, 0, at);
    SendMessageW(line, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(line, WM_LBUTTONUP, 0, at);
  };
  timer.SetEnabled(true);
  VEXHint().Popup(text, Middle());
  return VEXHint().LinkClicked();
}

TEST(VEXHint, ALinkClosesItAndSaysSoPlainTextJustClosesIt) {
  EXPECT_TRUE(LinkClickedAfterClickAt("<a>Details</a> and more text", 5));
  EXPECT_FALSE(LinkClickedAfterClickAt("<a>Details</a> and more text", 90));
  EXPECT_EQ(VEXHint().Form(), nullptr);
}

TEST(VEXHint, EnterAndEscapeCloseItAndASecondRequestIsRefused) {
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    TTimer timer;
    timer.SetInterval(100);
    int refused = -1;
    timer.OnTimer = [&] {
      if (!VEXHint().Form()) return;
      timer.SetEnabled(false);
      refused = VEXHint().Popup("Second", Middle());  // returns at once
      PostMessageW(VEXHint().Form()->Line(0).Handle(), WM_KEYDOWN, key, 1);
    };
    timer.SetEnabled(true);
    VEXHint().Popup("First", Middle());
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(VEXHint().Form(), nullptr);
  }
}

// --- the help loader ---

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

TEST(HtmlHelp, APlantedHHCtrlBesideTheProgramOrInTheCurrentFolderIsNeverLoaded) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring planted = BuildDir() + L"doubles\\plantedhelp.dll";
  const std::wstring besideProgram = Folder(self) + L"HHCtrl.OCX";
  TScratchFolder current;
  const std::wstring inCurrent = current.Path() + L"HHCtrl.OCX";
  ASSERT_TRUE(CopyFileW(planted.c_str(), besideProgram.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(planted.c_str(), inCurrent.c_str(), FALSE));
  const TScopeExit cleanup([&] { DeleteFileW(besideProgram.c_str()); });

  // Wine prefers its own HHCtrl.OCX to any file of that name; for this test it takes a
  // copy it finds as Windows would, so that a wrong search could really load the planted one.
  TRegistryFixture registry;
  registry.SetString(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", L"hhctrl.ocx",
                     L"native,builtin");
  // The planted file is a library that loads and answers: the test can tell it apart.
  {
    HMODULE probe = LoadLibraryW(besideProgram.c_str());
    ASSERT_NE(probe, nullptr);
    using TEntry = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    auto entry = reinterpret_cast<TEntry>(reinterpret_cast<void*>(GetProcAddress(probe, MAKEINTRESOURCEA(14))));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(entry(nullptr, "", 0, 0)), 0x0BADF00Du);
    FreeLibrary(probe);
    ASSERT_EQ(GetModuleHandleW(L"HHCtrl.OCX"), nullptr);
  }

  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(current.Path().c_str());
  const HWND answer = HtmlHelp(nullptr, "none.chm", HtmlHelpDisplayTopic, 0);
  SetCurrentDirectoryW(before);
  EXPECT_NE(reinterpret_cast<ULONG_PTR>(answer), 0x0BADF00Du);

  HMODULE loaded = GetModuleHandleW(L"HHCtrl.OCX");
  if (loaded) {  // Wine has its own; it must be the System folder's
    wchar_t path[MAX_PATH], system[MAX_PATH];
    GetModuleFileNameW(loaded, path, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(path, system, wcslen(system)), 0) << Narrow(path);
    EXPECT_TRUE(HtmlHelpAvailable());
  }
}

}  // namespace
