#pragma once
// The real statuspanel.exe in a temporary program folder (the program and the language files of the build's
// program folder) with its own data folder, beside the simulated monitor.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "bitmap.h"
#include "e2e.h"
#include "language.h"
#include "live_record.h"
#include "probe.h"
#include "program_folder.h"
#include "record.h"
#include "shown.h"
#include "temp_dir.h"

namespace korval::e2e {

using forms::Bitmap;
using forms::Color;
using forms::Rgb;

// The suite's message between its programs (reload the captions: 22, 22; stop the monitor: 99, 99).
inline constexpr UINT kSuiteCommand = WM_USER + 22;

inline const Color kRed = Rgb(255, 0, 0), kYellow = Rgb(255, 255, 0), kGreen = Rgb(0, 255, 0);

// The readout panels' places in the client area, and a pixel inside their bevel and clear of their text.
inline const POINT kReadouts[7] = {{0, 0},    {80, 210},  {251, 211}, {422, 210},
                                   {80, 389}, {251, 389}, {421, 389}};
inline Color ReadoutColour(const Bitmap& shot, int gauge) {
  return shot.Pixel(kReadouts[gauge].x + 3, kReadouts[gauge].y + 3);
}

// The three lamps: place and size.
struct Lamp {
  int left, top, width, height;
};
inline const Lamp kAvr{536, 99, 73, 46}, kLine{536, 162, 73, 54}, kUnit{536, 231, 73, 54};

class StatusPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Lay(dir_, layout_));
    program_ = folder_.program;
    data_ = folder_.data;
  }

  // The language file of `index`, from the build's program folder.
  bool CopyLanguageFile(int index) const { return folder_.Copy(LanguageFileName(index)); }
  void SetLanguage(int index) const {
    WriteFileBytes(data_ + "KORVAL.ini", "[Main]\r\nLanguage=" + std::to_string(index) + "\r\n");
  }

  // Starts the monitor on the record `first` and the panel; does not wait for the window.
  void StartProcesses(const DataBuffRecord& first) {
    std::string scenario = "at 0\nclear\n";
    for (std::size_t i = 0; i < DataBuffRecord::kSize; ++i)
      if (first.bytes[i])
        scenario += "set byte[" + std::to_string(i) + "] " + std::to_string(first.bytes[i]) + "\n";
    dir_.Write("scenario.txt", scenario);
    monitor_ = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                              Quote(data_) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                              Quote(dir_.File("monitor.log")));
    // A loaded machine is slow to start a program under Wine: the wait is generous.
    ASSERT_TRUE(
        WaitFor([&] { return dir_.Read("monitor.log").find("step at 0") != std::string::npos; }, 30000))
        << "the monitor's first record";
    panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
    ASSERT_TRUE(panel_.Running());
  }

  // The monitor writes the record of `scenario` once; the test changes it by hand afterwards.
  void Start(const DataBuffRecord& first) {
    StartProcesses(first);
    if (HasFatalFailure()) return;
    WaitForShownWindow();
  }
  // The window is there once its start-up is done and it is shown.
  void WaitForShownWindow() {
    ASSERT_TRUE(WaitFor(
        [&] {
          window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id());
          return window_ && IsWindowVisible(window_);
        },
        15000));
    // In front before the test's first key or click (a test that depends on it asserts it).
    BroughtToFront(window_);
  }

  // The visible message boxes of the panel.
  std::vector<HWND> MessageBoxes() const {
    BoxSearch search{panel_.Id(), {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  // The texts of a message box's child windows, one after another.
  static std::string BoxText(HWND box) {
    std::string text;
    for (const auto& c : probe::ChildWindows(box)) text += c.text + "\n";
    return text;
  }

  void Put(const DataBuffRecord& r) {
    WriteFileBytes(data_ + "DATABuff.REC",
                   std::string(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
  }

  Bitmap Shot() const { return probe::CaptureClient(window_); }
  // The clock's seconds, which a tick (two a second) moves on every second time.
  Bitmap Clock() const { return probe::Crop(Shot(), 539, 401, 60, 13); }
  // Waits for two ticks of the window that the clock shows. The paint of the first may come from a tick that
  // ran before the call; the second has run after it, and has read and painted what was there by then.
  bool TicksShown() const {
    for (int tick = 0; tick < 2; ++tick) {
      const Bitmap before = Clock();
      if (!WaitFor([&] { return probe::DifferentShare(Clock(), before) > 0; }, 5000)) return false;
    }
    return true;
  }

  // Toolbar button `number` (BitBtn1..BitBtn9) while it is shown, else nullptr.
  HWND ToolbarButton(int number) const {
    static const int lefts[10] = {0, 170, 213, 258, 303, 348, 392, 524, 436, 480};
    const std::vector<probe::ChildWindow> children = probe::ChildWindows(window_);
    const probe::ChildWindow* button = probe::ChildAt(children, lefts[number], 25, 41, 40);
    return button && button->visible ? button->hwnd : nullptr;
  }
  // A click on a toolbar button, posted as the button's own click.
  bool PressButton(int number) const {
    HWND button = ToolbarButton(number);
    return button && PostMessageA(button, BM_CLICK, 0, 0) != 0;
  }
  // A command of the window's menu, chosen from the keyboard: menu and item by their places (see
  // probe::ChooseMenuItem).
  bool ChooseMenuItem(int menu, int item) const { return probe::ChooseMenuItem(window_, menu, item); }
  static void TypeKey(WORD key, std::initializer_list<WORD> held = {}) { probe::TypeKey(key, held); }

  // Waits until a capture of the window passes `check`; the last capture goes to `last`.
  bool Shows(const std::function<bool(const Bitmap&)>& check, Bitmap* last = nullptr, DWORD ms = 5000) const {
    Bitmap shot;
    const bool ok = WaitFor(
        [&] {
          shot = Shot();
          return check(shot);
        },
        ms);
    if (last) *last = shot;
    return ok;
  }

  // The lamp shows this picture of the artwork.
  static bool LampShows(const Bitmap& shot, const Lamp& lamp, const Bitmap& picture) {
    return probe::DifferentShare(probe::Crop(shot, lamp.left, lamp.top, lamp.width, lamp.height), picture) <
           0.001;
  }
  static Bitmap Art(const std::string& name) {
    auto p = forms::DecodePicture(ReadFileBytes(std::string(SourceDir()) + "resources\\art\\" + name));
    return p ? *p : Bitmap();
  }

  static DataBuffRecord Live(int unitType) { return ::korval::test::LiveRecord(unitType); }

  struct BoxSearch {
    DWORD pid;
    std::vector<HWND> found;
  };
  static BOOL CALLBACK CollectBox(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == s->pid && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
    return TRUE;
  }

  // The program folder: statuspanel.exe and every language file; a fixture adds to it in its constructor.
  FolderLayout layout_ = [] {
    FolderLayout layout;
    layout.files = {"statuspanel.exe"};
    layout.languageFiles = true;
    return layout;
  }();
  test::TempDir dir_;
  ProgramFolder folder_;
  std::string program_, data_;
  Process monitor_, panel_;
  HWND window_ = nullptr;
};

}  // namespace korval::e2e
