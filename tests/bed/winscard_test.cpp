#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sysutil/systemlibrary.h"
#include "tests/bed/scsubsystem.h"

namespace {

using TContext = ULONG_PTR;
using TEstablish = LONG(WINAPI*)(DWORD, const void*, const void*, TContext*);
using TRelease = LONG(WINAPI*)(TContext);
using TListReaders = LONG(WINAPI*)(TContext, const char*, char*, DWORD*);

constexpr LONG NoService = static_cast<LONG>(0x8010001D);
constexpr LONG NoReaders = static_cast<LONG>(0x8010002E);
constexpr LONG NoMemory = static_cast<LONG>(0x80100006);
constexpr LONG Internal = static_cast<LONG>(0x80100001);

template <typename F>
F Entry(const TModule& module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module.Get(), name)));
}

// The library as the program loads it.
class WinSCard : public testing::Test {
 protected:
  LONG Establish(DWORD scope) {
    TContext context = 0;
    const LONG result = Entry<TEstablish>(FModule, "SCardEstablishContext")(scope, nullptr,
                                                                          nullptr, &context);
    if (result == 0) {
      EXPECT_NE(context, 0u);
      EXPECT_EQ(Entry<TRelease>(FModule, "SCardReleaseContext")(context), 0);
    }
    return result;
  }
  // The answer and, on success, the names as one multi-string.
  std::pair<LONG, std::string> ListReaders() {
    const auto list = Entry<TListReaders>(FModule, "SCardListReadersA");
    DWORD length = 0;
    const LONG sized = list(0, nullptr, nullptr, &length);
    if (sized != 0) return {sized, {}};
    std::string names(length, 'x');
    const LONG result = list(0, nullptr, names.data(), &length);
    names.resize(length);
    return {result, names};
  }

  TModule FModule = LoadSystemLibrary("WINSCARD.DLL");
};

TEST_F(WinSCard, TheProgramLoadsTheTestLibraryNotWinesStub) {
  ASSERT_TRUE(FModule);
  // Wine's own WINSCARD.DLL exports the whole PC/SC interface; ours three entries.
  EXPECT_TRUE(Entry<TEstablish>(FModule, "SCardEstablishContext"));
  EXPECT_TRUE(Entry<TRelease>(FModule, "SCardReleaseContext"));
  EXPECT_TRUE(Entry<TListReaders>(FModule, "SCardListReadersA"));
  EXPECT_FALSE(GetProcAddress(FModule.Get(), "SCardAccessStartedEvent"));
}

struct TAnswerCase {
  const char* Label;
  TSubsystemState State;
  std::function<void()> Arrange;  // after the state
  LONG User, System, List;
  std::string Names;  // when List succeeds
};
void PrintTo(const TAnswerCase& c, std::ostream* out) { *out << c.Label; }

const TAnswerCase Answers[] = {
    {"HealthyWithoutReaders", TSubsystemState::Healthy, [] {}, 0, 0, NoReaders, ""},
    {"HealthyWithTwoReaders", TSubsystemState::Healthy,
     [] { AddReader("Reader A 0"), AddReader("Reader B 1"); }, 0, 0, 0,
     std::string("Reader A 0\0Reader B 1\0", 23)},
    {"ServiceStopped", TSubsystemState::ServiceStopped, [] {}, NoService, NoService, NoReaders, ""},
    {"ServiceMissing", TSubsystemState::ServiceMissing, [] {}, NoService, NoService, NoReaders, ""},
    {"CalaisDenied", TSubsystemState::CalaisDenied, [] {}, NoService, NoService, NoReaders, ""},
    {"CalaisNoAccess", TSubsystemState::CalaisNoAccess, [] {}, NoService, NoService, NoReaders, ""},
    {"ReadersMissing", TSubsystemState::ReadersMissing, [] {}, 0, 0, NoReaders, ""},
    {"KnobOnTheSystemScope", TSubsystemState::Healthy,
     [] { SetWinSCardFault(TWinSCardCall::EstablishSystem, Internal); }, 0, Internal, NoReaders, ""},
    {"KnobOnTheUserScope", TSubsystemState::Healthy,
     [] { SetWinSCardFault(TWinSCardCall::EstablishUser, NoMemory); }, NoMemory, 0, NoReaders, ""},
    {"KnobOnTheReaderList", TSubsystemState::Healthy,
     [] { AddReader("Reader A 0"), SetWinSCardFault(TWinSCardCall::ListReaders, NoService); }, 0,
     0, NoService, ""},
};

class WinSCardAnswers : public WinSCard, public testing::WithParamInterface<TAnswerCase> {};

TEST_P(WinSCardAnswers, FollowTheSubsystemsState) {
  const TSubsystemScope scope(GetParam().State);
  ASSERT_FALSE(HasFatalFailure());
  GetParam().Arrange();
  EXPECT_EQ(Establish(0), GetParam().User);
  EXPECT_EQ(Establish(2), GetParam().System);
  const auto [list, names] = ListReaders();
  EXPECT_EQ(list, GetParam().List);
  EXPECT_EQ(names, GetParam().Names);
}

INSTANTIATE_TEST_SUITE_P(All, WinSCardAnswers, testing::ValuesIn(Answers),
                         [](const auto& param) { return std::string(param.param.Label); });

TEST_F(WinSCard, ReaderListNeedsRoomForEveryName) {
  const TSubsystemScope scope;
  AddReader("Reader A 0");
  const auto list = Entry<TListReaders>(FModule, "SCardListReadersA");
  DWORD length = 0;
  ASSERT_EQ(list(0, nullptr, nullptr, &length), 0);
  EXPECT_EQ(length, 12u);
  char small[4];
  DWORD smallLength = sizeof(small);
  EXPECT_EQ(list(0, nullptr, small, &smallLength), static_cast<LONG>(0x80100008));
  EXPECT_EQ(smallLength, 12u);
}

}  // namespace
