// The repair run across the Windows families and the named broken states of the test bed:
// which system tools it starts, in which order, with which command lines and windows, where
// it stops, and that the layer answers after a restart of Windows. The program runs in this
// process as each release (the version it reads is overridden; the test prefix is Wine's
// 64-bit Windows 7 SP1), the tools run as the test bed's recording stand-ins.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/repair/pcsc.h"
#include "app/repair/registrycheck.h"
#include "app/texts.h"
#include "app/wizard/mainform.h"
#include "controls/vexdesign.h"
#include "sysutil/registryaccess.h"
#include "sysutil/registryvalues.h"
#include "sysutil/system.h"
#include "sysutil/textconv.h"
#include "sysutil/windowsversion.h"
#include "tests/bed/calaisrights.h"
#include "tests/bed/commandwatch.h"
#include "tests/bed/keysecurity.h"
#include "tests/bed/knownwindows.h"
#include "tests/bed/scsubsystem.h"
#include "tests/bed/uitest.h"
#include "tests/bed/wizardchecks.h"

namespace {

using S = TSubsystemState;
using K = TKnownWindows;

// Every state meets every family (2000; 32-bit XP; XP x64 and 2003; 32-bit Vista; 64-bit
// Vista, 7 and 10) once, the releases taking turns within a family. Under Wine every state
// can be repaired: its service manager runs the service under any account, so what the run
// changes is judged by the verification and by the layer after a restart.
struct TCell {
  K Release;
  std::vector<S> States;
  bool Asked;             // the layer worked already: "Yes" to the question, every stage runs
  const char* Commands;   // s net stop, t net start, r RegSvr32, i scardsvr reinstall
  const char* Stages;     // l light repair, p rights, r reinstall, f full repair
};

const char* ReleaseName(K release) {
  switch (release) {
    case K::Win2000SP4: return "2000 SP4";
    case K::XPSP2: return "XP SP2";
    case K::XPSP3: return "XP SP3";
    case K::XPx64SP2: return "XP x64";
    case K::Server2003SP2: return "2003";
    case K::Server2003x64SP2: return "2003 x64";
    case K::VistaSP2: return "Vista";
    case K::Vistax64SP2: return "Vista x64";
    case K::Win7x64SP1: return "7 x64";
    case K::Win81x64: return "8.1 x64";
    case K::Win10x64: return "10 x64";
    case K::Win11x64: return "11 x64";
    default: return "other";
  }
}

// The calls as letters, after checking each one's exact command line and window; RegSvr32
// also that it ended before the next step started anything.
std::string Letters(const std::vector<TCommandWatch::TCall>& calls) {
  const std::wstring system = Widen(GetSystemDir());
  std::string letters;
  for (const auto& call : calls) {
    if (call.Program == L"net.exe" && call.CommandLine == L"\"" + system + L"net\" stop ScardSvr /yes" &&
        call.Show == L"0")
      letters += 's';
    else if (call.Program == L"net.exe" &&
             call.CommandLine == L"\"" + system + L"net\" start ScardSvr" && call.Show == L"0")
      letters += 't';
    else if (call.Program == L"regsvr32.exe" &&
             call.CommandLine == L"\"" + system + L"RegSvr32.exe\" /i /s scardssp.dll" &&
             call.Show == L"-" && call.Ended)
      letters += 'r';
    else if (call.Program == L"scardsvr.exe" &&
             call.CommandLine == L"\"" + system + L"scardsvr.exe\" reinstall" && call.Show == L"0")
      letters += 'i';
    else
      letters += '?' + Narrow(call.Program + L" " + call.CommandLine + L" " + call.Show) + '?';
  }
  return letters;
}

// The stages the trace shows, in order, each by the line it begins with: the light repair
// checks the start type, the rights stage and the full repair set the rights (twice, Calais
// and its readers), the reinstall stage reinstalls (as the full repair does within).
std::string Stages(const std::vector<std::string>& trace) {
  std::string stages;
  for (const std::string& line : trace) {
    const std::string text = line.substr(14);
    const char last = stages.empty() ? ' ' : stages.back();
    if (last == 'f') break;
    if (text.starts_with("Checking service start type") && stages.empty())
      stages += 'l';
    else if (text == "SetRegistryPermissions 1" && (last == 'l' || last == ' ' || last == 'r'))
      stages += last == 'l' ? 'p' : 'f';
    else if (text == "Reinstalling PC/SC service" && last == 'p')
      stages += 'r';
  }
  return stages;
}

// The values the service configuration of each family writes, read back after the run.
void ExpectFamilyValues(K release) {
  const TRegKey key = OpenRegKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\SCardSvr",
                                 KEY_READ);
  ASSERT_TRUE(key);
  std::string account, group, image, display;
  DWORD start = 0, type = 0, errorControl = 0;
  ReadRegString(key.Get(), "ObjectName", account);
  ReadRegDword(key.Get(), "Start", start);
  EXPECT_EQ(account, release == K::Win2000SP4 ? "LocalSystem" : "NT AUTHORITY\\LocalService");
  EXPECT_EQ(start, 2u);
  EXPECT_FALSE(RegValueExists(key.Get(), "DependOnGroup"));
  const bool family52 = release == K::XPx64SP2 || release == K::Server2003SP2 ||
                        release == K::Server2003x64SP2;
  const bool vista = release == K::VistaSP2 || release == K::Vistax64SP2;
  const bool later = release == K::Win7x64SP1 || release == K::Win81x64 ||
                     release == K::Win10x64 || release == K::Win11x64;
  if (release == K::XPSP2 || family52 || vista || later) {
    ReadRegString(key.Get(), "Group", group);
    EXPECT_EQ(group, "SmartCardGroup");
  }
  if (family52 || vista || later) {
    ReadRegDword(key.Get(), "Type", type);
    ReadRegDword(key.Get(), "ErrorControl", errorControl);
    ReadRegString(key.Get(), "DisplayName", display);
    EXPECT_EQ(type, 32u);
    EXPECT_EQ(errorControl, family52 ? 0u : 1u);
    EXPECT_EQ(display, family52 ? "Smart Card" : "@%SystemRoot%\\System32\\SCardSvr.dll,-1");
  }
  if (vista) {
    ReadRegString(key.Get(), "ImagePath", image);
    EXPECT_EQ(image, "%SystemRoot%\\system32\\svchost.exe -k LocalService");
  }
}

// Where the run repaired the rights, Calais and its readers carry the family's DACL with
// the administrators as owner, read back entry by entry; elsewhere Calais is as it was.
void ExpectCalaisRights(K release, bool repaired, const TKeySecurity& before) {
  const std::string calais = "Software\\Microsoft\\Cryptography\\Calais";
  if (!repaired) {
    const TKeySecurity after = ReadKeySecurity(calais);
    EXPECT_EQ(after.Owner, before.Owner);
    EXPECT_EQ(after.Dacl, before.Dacl);
    return;
  }
  const auto& dacl = release == K::Win2000SP4 ? calaisrights::Win2000Dacl : calaisrights::LaterDacl;
  for (const std::string& key : {calais, calais + "\\Readers"}) {
    const TKeySecurity security = ReadKeySecurity(key);
    EXPECT_EQ(security.Owner, calaisrights::Administrators) << key;
    EXPECT_EQ(security.Dacl, dacl) << key;
  }
}

class RepairMatrix : public ::testing::TestWithParam<TCell> {
 protected:
  void SetUp() override {
    DesignStart();
    LanguageEnglish = true;
  }
  void TearDown() override { DesignEnd(); }
};

TEST_P(RepairMatrix, Cell) {
  const TCell& c = GetParam();
  const TSubsystemScope scope(c.States);
  ASSERT_FALSE(HasFatalFailure());
  const auto in = [&](S state) { return std::find(c.States.begin(), c.States.end(), state) != c.States.end(); };
  std::optional<TWindowsVersionOverride> as(KnownWindows(c.Release));
  const TCommandWatch commands;
  const TKeySecurity calaisBefore = ReadKeySecurity("Software\\Microsoft\\Cryptography\\Calais");
  TCardmendMainForm form;
  form.Show();
  SetForegroundWindow(form.Handle());
  PumpFor(100);
  bool asked = false;
  TWhenShown answer(L"TVEXQuestionForm", [&](HWND question) {
    asked = true;
    PostMessageW(question, WM_KEYDOWN, 'Y', 1);
  });
  form.StartKnopfClick();
  EXPECT_EQ(form.Notebook1.PageIndex(), TCardmendMainForm::FinishPage);
  EXPECT_EQ(asked, c.Asked);
  EXPECT_EQ(Letters(commands.Calls()), c.Commands);
  const auto& trace = form.Trace().Lines();
  const std::string stages = Stages(trace);
  EXPECT_EQ(stages, c.Stages);
  ASSERT_GE(trace.size(), 4u);
  // The full repair ends with the start it asks for; a stage that stopped early ends with
  // the checks that found the layer working, after everything it did.
  if (stages.ends_with('f')) {
    EXPECT_EQ(trace.back().substr(14), "Starting PC/SC service...");
  } else {
    const auto checked = std::find_if(trace.rbegin(), trace.rend(), [](const std::string& line) {
      return line.substr(14) == "PC/SC checked";
    });
    EXPECT_TRUE(std::none_of(trace.rbegin(), checked, [](const std::string& line) {
      const std::string text = line.substr(14);
      return text.ends_with("PC/SC service...") || text == "Reinstalling PC/SC service" ||
             text.starts_with("SetRegistry") || text.starts_with("Checking service start type");
    }));
  }
  EXPECT_EQ(trace[1].substr(14), "*************** Cardmend ***************");
  EXPECT_EQ(trace[3].substr(14), WindowsVersionString());
  const std::string service = in(S::ServiceMissing) ? "PC/SC service does not exist"
                                                           : "PC/SC service exists";
  EXPECT_TRUE(std::any_of(trace.begin(), trace.end(),
                          [&](const std::string& line) { return line.substr(14) == service; }));
  // The trace names each stop and each reinstall that ran, and says it starts the service
  // before every start (and once more where 64-bit Vista leaves the start out).
  const auto lines = [&](const std::string& text) {
    return std::count_if(trace.begin(), trace.end(),
                         [&](const std::string& line) { return line.substr(14) == text; });
  };
  const std::string letters = c.Commands;
  const auto count = [&](char letter) { return std::count(letters.begin(), letters.end(), letter); };
  EXPECT_EQ(lines("Stopping PC/SC service..."), count('s'));
  EXPECT_EQ(lines("PC/SC service is not running"), count('i'));
  EXPECT_GE(lines("Starting PC/SC service..."), count('t'));
  TDiagnosticLog verification;
  EXPECT_EQ(VerifyRegistry(verification), 0);
  ExpectFamilyValues(c.Release);
  ExpectCalaisRights(c.Release, lines("SetRegistryPermissions 1") > 0, calaisBefore);
  as.reset();  // the test bed's own calls see the prefix's Windows
  SimulateRestart();
  EXPECT_TRUE(LayerWorks());
  // Vista's service runs in svchost, 2003's and XP x64's in its own program; the others
  // keep the image the state gave them, Windows' own one of svchost among them.
  const bool vista = c.Release == K::VistaSP2 || c.Release == K::Vistax64SP2;
  const bool family52 = c.Release == K::XPx64SP2 || c.Release == K::Server2003SP2 ||
                        c.Release == K::Server2003x64SP2;
  const bool hosted = vista || (!family52 && (in(S::SvchostForm) || in(S::WindowsDefault)));
  const auto manager = SCardSvrAsManagerSeesIt();
  ASSERT_TRUE(manager);
  EXPECT_EQ(_wcsicmp(manager->Process.c_str(), hosted ? L"svchost.exe" : L"SCardSvr.exe"), 0)
      << Narrow(manager->Process);
}

std::string CellName(const ::testing::TestParamInfo<TCell>& info) {
  std::string name = ReleaseName(info.param.Release);
  for (const S state : info.param.States) name += std::string("_") + SubsystemStateName(state);
  for (char& ch : name)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

const TCell Cells[] = {
    {K::Win2000SP4, {S::Healthy}, false, "st", "l"},
    {K::XPSP3, {S::Healthy}, true, "sttrrt", "lprf"},
    {K::XPx64SP2, {S::Healthy}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::Healthy}, true, "sttt", "lprf"},
    {K::Vistax64SP2, {S::Healthy}, true, "", "lprf"},
    {K::Win2000SP4, {S::ServiceStopped}, false, "st", "l"},
    {K::XPSP2, {S::ServiceStopped}, false, "st", "l"},
    {K::Server2003SP2, {S::ServiceStopped}, false, "st", "l"},
    {K::VistaSP2, {S::ServiceStopped}, false, "st", "l"},
    {K::Win7x64SP1, {S::ServiceStopped}, false, "ii", "lprf"},
    {K::Win2000SP4, {S::StartManual}, false, "st", "l"},
    {K::XPSP3, {S::StartManual}, false, "st", "l"},
    {K::Server2003x64SP2, {S::StartManual}, false, "st", "l"},
    {K::VistaSP2, {S::StartManual}, false, "st", "l"},
    // 10's own start type: the service waits for a reader, which is in order.
    {K::Win10x64, {S::StartManual}, true, "ii", "lprf"},
    {K::Win2000SP4, {S::StartDisabled}, false, "sttririt", "lprf"},
    {K::XPSP2, {S::StartDisabled}, false, "sttririt", "lprf"},
    {K::XPx64SP2, {S::StartDisabled}, false, "sttiit", "lprf"},
    {K::VistaSP2, {S::StartDisabled}, false, "sttiit", "lprf"},
    {K::Vistax64SP2, {S::StartDisabled}, false, "ii", "lprf"},
    {K::Win2000SP4, {S::ObjectNameWrong}, true, "sttrrt", "lprf"},
    {K::XPSP3, {S::ObjectNameWrong}, false, "st", "l"},
    {K::Server2003SP2, {S::ObjectNameWrong}, false, "st", "l"},
    {K::VistaSP2, {S::ObjectNameWrong}, false, "st", "l"},
    {K::Win7x64SP1, {S::ObjectNameWrong}, false, "", "lpr"},
    {K::Win2000SP4, {S::ObjectNameMissing}, false, "st", "l"},
    {K::XPSP2, {S::ObjectNameMissing}, false, "st", "l"},
    {K::Server2003x64SP2, {S::ObjectNameMissing}, false, "st", "l"},
    {K::VistaSP2, {S::ObjectNameMissing}, false, "st", "l"},
    {K::Win10x64, {S::ObjectNameMissing}, false, "", "lpr"},
    {K::Win2000SP4, {S::GroupMissing}, false, "st", "l"},
    {K::XPSP3, {S::GroupMissing}, true, "sttrrt", "lprf"},
    {K::XPx64SP2, {S::GroupMissing}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::GroupMissing}, true, "sttt", "lprf"},
    {K::Vistax64SP2, {S::GroupMissing}, true, "", "lprf"},
    {K::Win2000SP4, {S::CalaisDenied}, false, "stt", "lp"},
    {K::XPSP2, {S::CalaisDenied}, false, "stt", "lp"},
    {K::Server2003SP2, {S::CalaisDenied}, false, "stt", "lp"},
    {K::VistaSP2, {S::CalaisDenied}, false, "stt", "lp"},
    {K::Win7x64SP1, {S::CalaisDenied}, false, "", "lpr"},
    {K::Win2000SP4, {S::CalaisNoAccess}, false, "stt", "lp"},
    {K::XPSP3, {S::CalaisNoAccess}, false, "stt", "lp"},
    {K::Server2003x64SP2, {S::CalaisNoAccess}, false, "stt", "lp"},
    {K::VistaSP2, {S::CalaisNoAccess}, false, "stt", "lp"},
    {K::Win10x64, {S::CalaisNoAccess}, false, "", "lpr"},
    {K::Win2000SP4, {S::CurrentMissing}, false, "st", "l"},
    {K::XPSP2, {S::CurrentMissing}, true, "sttrrt", "lprf"},
    {K::XPx64SP2, {S::CurrentMissing}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::CurrentMissing}, true, "sttt", "lprf"},
    {K::Vistax64SP2, {S::CurrentMissing}, true, "", "lprf"},
    {K::Win2000SP4, {S::ReadersMissing}, false, "st", "l"},
    {K::XPSP3, {S::ReadersMissing}, true, "sttrrt", "lprf"},
    {K::Server2003SP2, {S::ReadersMissing}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::ReadersMissing}, true, "sttt", "lprf"},
    {K::Win7x64SP1, {S::ReadersMissing}, true, "", "lprf"},
    {K::Win2000SP4, {S::SmartCardsMissing}, false, "st", "l"},
    {K::XPSP2, {S::SmartCardsMissing}, true, "sttrrt", "lprf"},
    {K::Server2003x64SP2, {S::SmartCardsMissing}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::SmartCardsMissing}, true, "sttt", "lprf"},
    {K::Win10x64, {S::SmartCardsMissing}, true, "", "lprf"},
    {K::Win2000SP4, {S::ServiceMissing}, false, "rit", "f"},
    {K::XPSP3, {S::ServiceMissing}, false, "rit", "f"},
    {K::XPx64SP2, {S::ServiceMissing}, false, "it", "f"},
    {K::VistaSP2, {S::ServiceMissing}, false, "it", "f"},
    {K::Vistax64SP2, {S::ServiceMissing}, false, "i", "f"},
    {K::Win2000SP4, {S::SCardDrvPresent}, false, "st", "l"},
    {K::XPSP2, {S::SCardDrvPresent}, false, "st", "l"},
    {K::Server2003SP2, {S::SCardDrvPresent}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::SCardDrvPresent}, true, "sttt", "lprf"},
    {K::Win7x64SP1, {S::SCardDrvPresent}, true, "", "lprf"},
    {K::Win2000SP4, {S::SvchostForm}, false, "st", "l"},
    {K::XPSP3, {S::SvchostForm}, true, "sttrrt", "lprf"},
    {K::Server2003x64SP2, {S::SvchostForm}, true, "sttt", "lprf"},
    {K::VistaSP2, {S::SvchostForm}, true, "sttt", "lprf"},
    {K::Win10x64, {S::SvchostForm}, true, "", "lprf"},
    // Windows' own configuration from 7 on: in order while no reader is attached, repaired
    // as any stopped service once one is.
    {K::Win7x64SP1, {S::WindowsDefault}, true, "ii", "lprf"},
    {K::Win81x64, {S::WindowsDefault}, true, "ii", "lprf"},
    {K::Win10x64, {S::WindowsDefault, S::ReaderAttached}, false, "ii", "lprf"},
    {K::Win11x64, {S::WindowsDefault, S::ReaderAttached}, false, "ii", "lprf"},
};

INSTANTIATE_TEST_SUITE_P(Families, RepairMatrix, ::testing::ValuesIn(Cells), CellName);

}  // namespace
