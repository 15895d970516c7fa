// The agent's start, switches, window and 100 ms timeline on a simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "fake_desktop.h"

namespace shutter::test {
namespace {

class Controller : public ::testing::Test {
 protected:
  void SetUp() override { ResetState(); }
  int Run() { return ShutterMain(desk); }

  // The recorded calls of each tick: the lines from "EnumWindows(t)" up to the next tick's.
  std::map<int, std::vector<std::string>> ByTick(const std::vector<std::string>& lines) const {
    std::map<int, std::vector<std::string>> out;
    int tick = -1;
    for (const std::string& line : lines) {
      if (line.rfind("EnumWindows(", 0) == 0) tick = std::stoi(line.substr(12));
      out[tick].push_back(line);
    }
    return out;
  }
  std::vector<int> TicksWith(const std::string& call) const {
    std::vector<int> ticks;
    for (const auto& t : ByTick(desk.calls))
      for (const std::string& line : t.second)
        if (line == call) ticks.push_back(t.first);
    return ticks;
  }
  static std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i <= to; ++i) r.push_back(i);
    return r;
  }

  FakeDesktop desk;
};

TEST_F(Controller, SwitchIsTheWholeTailAfterTheProgramName) {
  struct Case {
    const char* commandLine;
    bool runs;
  };
  const Case cases[] = {
      {"shutter.exe /CallByKorval", true},
      {"shutter.exe \t /CallByKorval", true},
      {"\"C:\\Program Files\\Korval\\shutter.exe\" /CallByKorval", true},
      {"\"C:\\Program Files\\Korval\\shutter.exe\"/CallByKorval", true},
      {"shutter.exe /KorvalNoSave", true},  // on NT: the full timeline
      {"shutter.exe", false},
      {"shutter.exe ", false},
      {"shutter.exe /callbykorval", false},
      {"shutter.exe /CallByKorval ", false},
      {"shutter.exe /CallByKorval /CallByKorval", false},
      {"shutter.exe /CallByKorvalX", false},
      {"C:\\Program Files\\Korval\\shutter.exe /CallByKorval",
       false},  // unquoted: the name ends at the blank
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine);
    ResetState();
    FakeDesktop d;
    d.commandLine = c.commandLine;
    EXPECT_EQ(ShutterMain(d), 0);
    if (c.runs) {
      EXPECT_EQ(d.timerMessages, 102);
    } else {
      EXPECT_EQ(d.CountNamed("RegisterClass") + d.CountNamed("CreateWindowEx") +
                    d.CountNamed("CreateDirectory") + d.CountNamed("ExitWindowsEx") +
                    d.CountNamed("InitiateSystemShutdown"),
                0);
    }
  }
}

TEST_F(Controller, StartsItsHiddenWindowAndTimer) {
  desk.modulePath = "C:\\Tools\\shutter.exe";
  ASSERT_EQ(Run(), 0);
  EXPECT_STREQ(cPath, "C:\\Tools\\");
  EXPECT_STREQ(cProgramPath, "C:\\Tools\\save\\save%.2d");
  std::vector<std::string> actions = desk.Actions();
  std::vector<std::string> start(actions.begin(), actions.begin() + 7);
  EXPECT_EQ(start, (std::vector<std::string>{
                       "CreateDirectory(C:\\Tools\\save)",
                       "RegisterClass(0x20, Shutter32)",
                       "CreateWindowEx(0x200, Shutter32, Shutter32, 0x6, 0, 0, 0, 0)",
                       "SetTimer(own, 1, 100)",
                       Fmt("GlobalAlloc(0x42, %u)", static_cast<unsigned>(kNameBufferSize)),
                       "ShowWindow(own, 6)",
                       "EnumWindows(0)",
                   }));
  EXPECT_EQ(desk.Count("GetVersionEx(148)"), 1);
  EXPECT_EQ(desk.Count("GetModuleFileName(32768)"), 1);
  EXPECT_FALSE(desk.stalled);
}

TEST_F(Controller, SaveFolderThatExistsIsNoError) {
  desk.createDirectoryFails = true;
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(desk.Count("WriteError(CreateDirectory Failure.)"), 1)
      << "a folder that can't be made is reported";

  ResetState();
  // ERROR_ALREADY_EXISTS: the usual case from the second run on.
  class Existing : public FakeDesktop {
   public:
    std::uint32_t GetLastError() override { return win::ERROR_ALREADY_EXISTS; }
  } existing;
  existing.createDirectoryFails = true;
  ASSERT_EQ(ShutterMain(existing), 0);
  EXPECT_EQ(existing.Count("WriteError(CreateDirectory Failure.)"), 0);
  EXPECT_EQ(existing.timerMessages, 102);
}

TEST_F(Controller, RegistrationOrCreationFailureEndsAtOnce) {
  desk.registerFails = true;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(desk.CountNamed("CreateWindowEx") + desk.CountNamed("GetMessage"), 0);

  ResetState();
  FakeDesktop d;
  d.createFails = true;
  EXPECT_EQ(ShutterMain(d), 0);
  EXPECT_EQ(d.CountNamed("ShowWindow") + d.CountNamed("GetMessage"), 0);
}

TEST_F(Controller, NtTimelineEnumeratesOnTicks0To100AndShutsDownFrom50) {
  desk.Top("app", "Notepad");  // ignores WM_CLOSE
  ASSERT_EQ(Run(), 0);

  std::vector<std::string> enums = desk.Only({"EnumWindows"});
  ASSERT_EQ(enums.size(), 101u);
  for (int t = 0; t <= 100; ++t) EXPECT_EQ(enums[t], Fmt("EnumWindows(%d)", t));
  EXPECT_EQ(desk.timerMessages, 102) << "the 102nd timer message ends the program";

  EXPECT_EQ(TicksWith("InitiateSystemShutdown(null, System shutdown.., 3, 1, 0)"), Range(50, 100));
  EXPECT_EQ(desk.CountNamed("ExitWindowsEx"), 0);
  EXPECT_EQ(desk.CountNamed("WriteError"), 0);

  // From tick 50 the applications are left alone: the step runs on the first window and stops the walk.
  auto ticks = ByTick(desk.calls);
  for (int t = 50; t <= 100; ++t)
    for (const std::string& line : ticks[t])
      EXPECT_EQ(line.find("app"), std::string::npos) << t << ": " << line;
  bool closedInClosePhase = false;
  for (int t = 0; t <= 49; ++t)
    for (const std::string& line : ticks[t])
      closedInClosePhase |= line.find("SendMessageTimeout(app, WM_CLOSE") == 0;
  EXPECT_TRUE(closedInClosePhase);

  std::vector<std::string> actions = desk.Actions();
  std::vector<std::string> end(actions.end() - 3, actions.end());
  EXPECT_EQ(end, (std::vector<std::string>{"KillTimer(own, 1)", "GlobalFree()", "PostQuitMessage(0)"}));
  EXPECT_EQ(desk.OpenBlocks(), 0u);
  EXPECT_EQ(desk.OpenHandles(), 0u) << "tokens and process handles are closed";
  EXPECT_EQ(desk.LockedBlocks(), 0);
  EXPECT_FALSE(desk.stalled);
  EXPECT_EQ(fShutoff, 1);
}

TEST_F(Controller, Win9xShutsDownOnTick50AndForcesFrom90) {
  desk.platform = win::VER_PLATFORM_WIN32_WINDOWS;
  desk.tokenFails = true;  // no access tokens on Windows 9x
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(TicksWith("ExitWindowsEx(1, 0)"), std::vector<int>{50});
  EXPECT_EQ(TicksWith("ExitWindowsEx(5, 0)"), Range(90, 100));
  EXPECT_EQ(desk.CountNamed("ExitWindowsEx"), 12);
  EXPECT_EQ(desk.CountNamed("InitiateSystemShutdown"), 0);
  EXPECT_EQ(TicksWith("WriteError(Open Process Token : )"), Range(50, 100));
  EXPECT_EQ(TicksWith("WriteError(AdjustTokenPrivileges Failed.)"), Range(50, 100));
  EXPECT_EQ(desk.timerMessages, 102);
}

TEST_F(Controller, FailedShutdownCallsAreWrittenAndTheTimelineGoesOn) {
  desk.shutdownResult = 0;
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(TicksWith("WriteError(InitiateSystemShutdown Failure.)"), Range(50, 100));

  ResetState();
  FakeDesktop d;
  d.platform = win::VER_PLATFORM_WIN32_WINDOWS;
  d.exitWindowsResult = 0;
  ASSERT_EQ(ShutterMain(d), 0);
  EXPECT_EQ(d.Count("WriteError(ExitWindowsEx Failure.)"), 12);
  EXPECT_EQ(d.timerMessages, 102);
}

TEST_F(Controller, PrivilegeForShutdownIsAskedOnEveryShutdownTick) {
  ASSERT_EQ(Run(), 0);
  auto ticks = ByTick(desk.calls);
  std::vector<std::string> step;
  for (const std::string& line : ticks[77])
    if (line.rfind("OpenProcessToken", 0) == 0 || line.rfind("LookupPrivilegeValue", 0) == 0 ||
        line.rfind("AdjustTokenPrivileges", 0) == 0 || line.rfind("CloseHandle", 0) == 0 ||
        line.rfind("InitiateSystemShutdown", 0) == 0)
      step.push_back(line);
  EXPECT_EQ(step, (std::vector<std::string>{
                      "OpenProcessToken(self, 0x28)",
                      "LookupPrivilegeValue(null, SeShutdownPrivilege)",
                      "AdjustTokenPrivileges(token, 0, count 1 luid 19 attributes 0x2, 0, null)",
                      "InitiateSystemShutdown(null, System shutdown.., 3, 1, 0)",
                      "CloseHandle(token)",
                  }));
}

TEST_F(Controller, KorvalNoSaveShutsWindows9xDownAtOnce) {
  for (std::uint32_t platform : {win::VER_PLATFORM_WIN32_WINDOWS, win::VER_PLATFORM_WIN32s}) {
    for (int result : {1, 0}) {
      ResetState();
      FakeDesktop d;
      d.platform = platform;
      d.commandLine = "shutter.exe /KorvalNoSave";
      d.exitWindowsResult = result;
      EXPECT_EQ(ShutterMain(d), 0);
      std::vector<std::string> expected{"ExitWindowsEx(5, 0)"};
      if (!result) expected.push_back("WriteError(Exit windows failure.)");
      EXPECT_EQ(d.Actions(), expected);
    }
  }
}

TEST_F(Controller, ShutoffRequestChangesNothingObservable) {
  auto run = [](bool request, FakeDesktop& d) {
    ResetState();
    d.Top("app", "Notepad");
    d.Top("other", "WordPad").closesOnClose = true;
    d.beforeTimer = [&d, request](int n) {
      if (request && n == 10) d.PostMessage(d.Own(), kShutoffRequest, kShutoffWParam, kShutoffLParam);
    };
    ShutterMain(d);
  };
  FakeDesktop plain, requested;
  run(false, plain);
  run(true, requested);
  std::vector<std::string> withRequest = requested.Actions();
  auto it = std::find(withRequest.begin(), withRequest.end(), "PostMessage(own, 0x401, 0x1, 0x4444)");
  ASSERT_NE(it, withRequest.end());
  withRequest.erase(it);
  EXPECT_EQ(withRequest, plain.Actions());
  EXPECT_EQ(requested.timerMessages, 102);
}

TEST_F(Controller, ShutoffRequestNeedsItsExactParameters) {
  sys = &desk;
  EXPECT_EQ(WndProc(1, kShutoffRequest, 1, 0x4445), 0);
  EXPECT_EQ(WndProc(1, kShutoffRequest, 2, 0x4444), 0);
  EXPECT_EQ(fShutoff, 0);
  EXPECT_EQ(WndProc(1, kShutoffRequest, 1, 0x4444), 0);
  EXPECT_EQ(fShutoff, 1);
}

TEST_F(Controller, Win32sHandsOverToTheCompanionAndEnds) {
  desk.platform = win::VER_PLATFORM_WIN32s;
  ASSERT_EQ(Run(), 0);
  EXPECT_EQ(desk.Count("WinExec(shutter16.exe /CallByKorval, 0)"), 1);
  EXPECT_EQ(desk.CountNamed("EnumWindows"), 0);
  EXPECT_EQ(desk.timerMessages, 0);
  EXPECT_EQ(desk.OpenBlocks(), 0u);
  EXPECT_FALSE(desk.stalled);
}

TEST_F(Controller, NoTimerShowsTheBoxAndEndsWithoutClosingAnything) {
  for (std::uint32_t platform : {win::VER_PLATFORM_WIN32_NT, win::VER_PLATFORM_WIN32s}) {
    ResetState();
    FakeDesktop d;
    d.platform = platform;
    d.timerFails = true;
    d.Top("app", "Notepad");
    ASSERT_EQ(ShutterMain(d), 0);
    EXPECT_EQ(d.Count("MessageBeep(0)"), 1);
    EXPECT_EQ(d.Count("MessageBox(own, Can't Auto-Save open file!, KORVAL, 0x10)"), 1);
    EXPECT_EQ(d.Count("WinExec(shutter16.exe /CallByKorval, 0)"),
              platform == win::VER_PLATFORM_WIN32s ? 1 : 0);
    EXPECT_EQ(d.CountNamed("EnumWindows") + d.CountNamed("InitiateSystemShutdown"), 0);
    EXPECT_EQ(d.CountNamed("KillTimer"), 0);
    EXPECT_EQ(d.OpenBlocks(), 0u) << "the name buffer allocated after the early end is freed too";
    EXPECT_FALSE(d.stalled);
  }
}

TEST_F(Controller, KeyTableHoldsScanCodesOfFortyCharacters) {
  FillKeyTable();
  const std::pair<char, std::uint32_t> cases[] = {
      {'1', 0x00020001}, {'0', 0x000B0001}, {'=', 0x000D0001}, {'q', 0x00100001}, {'p', 0x00190001},
      {'a', 0x001E0001}, {'l', 0x00260001}, {'z', 0x002C0001}, {'m', 0x00320001}, {',', 0x00330001},
      {'.', 0x00340001}, {'A', 0},          {':', 0},          {'\\', 0},         {' ', 0},
  };
  for (const auto& c : cases) EXPECT_EQ(dVKey[static_cast<unsigned char>(c.first)], c.second) << c.first;
  EXPECT_EQ(std::count_if(std::begin(dVKey), std::end(dVKey), [](std::uint32_t v) { return v != 0; }), 40);
}

TEST_F(Controller, SetPrivilegeKeepsTheOtherAttributeBits) {
  sys = &desk;
  Handle token = 0;
  ASSERT_TRUE(desk.OpenProcessToken(desk.GetCurrentProcess(), 0x28, &token));
  struct Case {
    int enable;
    std::uint32_t before;
    std::uint32_t set;
  };
  for (const Case& c : {Case{1, 0x1, 0x3}, Case{0, 0x3, 0x1}, Case{0, 0x0, 0x0}}) {
    desk.ClearCalls();
    desk.previousAttributes = c.before;
    EXPECT_EQ(SetPrivilege(token, "SeDebugPrivilege", c.enable), 1);
    EXPECT_EQ(desk.Only({"AdjustTokenPrivileges"}),
              (std::vector<std::string>{
                  "AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x0, 16, previous)",
                  Fmt("AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x%x, 16, null)", c.set)}));
  }

  desk.ClearCalls();
  desk.adjustError = 1300;  // ERROR_NOT_ALL_ASSIGNED, with a success return
  EXPECT_EQ(SetPrivilege(token, "SeDebugPrivilege", 1), 0);
  EXPECT_EQ(desk.CountNamed("AdjustTokenPrivileges"), 1);

  desk.ClearCalls();
  desk.lookupFails = true;
  EXPECT_EQ(SetPrivilege(token, "SeDebugPrivilege", 1), 0);
  EXPECT_EQ(desk.CountNamed("AdjustTokenPrivileges"), 0);
  desk.CloseHandle(token);
}

}  // namespace
}  // namespace shutter::test
