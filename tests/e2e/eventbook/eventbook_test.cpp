// The real eventbook.exe in a temporary program folder (its UserPath.dat, the language files of the build)
// with a data folder of month files, some written by the simulated monitor: what a user sees in the grid,
// what the boxes and spin buttons do, what the settings file keeps, what the export writes and what a style
// sheet processor makes of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap.h"
#include "e2e.h"
#include "language.h"
#include "probe.h"
#include "program_folder.h"
#include "settings.h"
#include "shown.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

// Client-area places of the controls (the panels' offsets added).
const RECT kGrid{8, 0, 587, 280}, kAllBox{4, 398, 78, 22}, kExport{504, 394, 98, 29};
const RECT kEdit1{213, 398, 29, 23}, kEdit3{260, 398, 17, 23}, kEdit2{418, 398, 30, 23},
    kEdit4{465, 398, 17, 23};
const RECT kSpin1{244, 398, 15, 22}, kSpin2{279, 398, 15, 22}, kSpin3{449, 398, 15, 22},
    kSpin4{483, 398, 15, 22};
RECT KindBox(int code) {
  const int col = (code - 1) / 5, row = (code - 1) % 5;
  const int xs[3] = {4, 205, 404};
  return RECT{xs[col], 283 + 6 + 20 * row, 196, row == 4 ? 14 : 15};
}

// The text of a window of another process, as it gives it (a grid gives its cells).
std::string Text(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "(hung)";
  std::vector<char> buf(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                      5000, &got);
  return std::string(buf.data(), got);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    out.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return out;
}

// The language whose file is written in this code page (the first of several), or -1.
int LanguageOfCodePage(unsigned codePage) {
  for (int i = 0; i < kLanguageCount; ++i)
    if (LanguageCodePage(i) == codePage) return i;
  return -1;
}

// Text of the system's code page as UTF-8.
std::string Utf8(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

// The path by which a program of the host outside Wine reaches a file; empty when there is no such path.
std::string HostPath(const std::string& path) {
  using ToHost = char*(__cdecl*)(const wchar_t*);
  const FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  if (!proc) return "";
  const auto toHost = reinterpret_cast<ToHost>(reinterpret_cast<void (*)()>(proc));
  std::wstring wide(path.size() + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  char* host = toHost(wide.c_str());
  if (!host) return "";
  std::string out = host;
  HeapFree(GetProcessHeap(), 0, host);
  return out;
}

// The rows of the first table of an HTML page, each the texts of its cells with the markup's entities turned
// back into characters; `firstRowTag` gets the start tag of the first row.
std::vector<std::vector<std::string>> TableRows(const std::string& page, std::string* firstRowTag) {
  auto unescape = [](const std::string& text) {
    const char* const entities[][2] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
      const auto* e = std::find_if(std::begin(entities), std::end(entities), [&](const auto& entity) {
        return text.compare(at, strlen(entity[0]), entity[0]) == 0;
      });
      if (e == std::end(entities)) {
        out += text[at++];
      } else {
        out += (*e)[1];
        at += strlen((*e)[0]);
      }
    }
    return out;
  };
  std::vector<std::vector<std::string>> rows;
  const std::size_t end = page.find("</table>");
  for (std::size_t at = page.find("<tr"); at < end; at = page.find("<tr", at)) {
    const std::size_t tagEnd = page.find('>', at), rowEnd = page.find("</tr>", at);
    if (rows.empty() && firstRowTag) *firstRowTag = page.substr(at, tagEnd + 1 - at);
    rows.emplace_back();
    for (std::size_t cell = page.find("<td>", at); cell < rowEnd; cell = page.find("<td>", cell)) {
      const std::size_t cellEnd = page.find("</td>", cell);
      rows.back().push_back(unescape(page.substr(cell + 4, cellEnd - cell - 4)));
      cell = cellEnd;
    }
    at = rowEnd;
  }
  return rows;
}

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string Record(int code, int y, int m, int d, int h, int n) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(n);
  // Days since 1899-12-30: FILETIME counts 100 ns from 1601-01-01.
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  const unsigned long long t = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  const double days = static_cast<double>(t) / 864000000000.0 - 109205.0;
  std::string r(16, '\0');
  r[0] = static_cast<char>(code);
  std::memcpy(&r[8], &days, 8);
  return r;
}

class Eventbook : public ::testing::Test {
 protected:
  void SetUp() override {
    FolderLayout layout;
    layout.files = {"eventbook.exe"};
    layout.languageFiles = true;
    ProgramFolder folder;
    ASSERT_TRUE(folder.Lay(dir_, layout));
    program_ = folder.program;
    data_ = folder.data;
    GetLocalTime(&today_);
  }

  void WriteMonth(int month, const std::string& bytes) {
    CreateDirectoryA((data_ + std::to_string(month)).c_str(), nullptr);
    WriteFileBytes(data_ + std::to_string(month) + "\\Event.log", bytes);
  }
  // The year of `month` within the eleven months that end with today's.
  int YearOf(int month) const { return month <= today_.wMonth ? today_.wYear : today_.wYear - 1; }

  void Start() {
    viewer_ = Process::Start(Quote(program_ + "eventbook.exe"), program_);
    ASSERT_TRUE(viewer_.Running());
    ASSERT_TRUE(WaitFor(
        [&] {
          window_ = FindWindowOfProcess("TnEventLog", viewer_.Id());
          return window_ && IsWindowVisible(window_);
        },
        15000));
    SetForegroundWindow(window_);
    children_ = probe::ChildWindows(window_);
  }
  HWND At(const RECT& r) const {
    const probe::ChildWindow* c = probe::ChildAt(children_, r.left, r.top, r.right, r.bottom);
    return c ? c->hwnd : nullptr;
  }
  std::vector<std::string> Rows() const { return Lines(Text(At(kGrid))); }
  // Rows waited for: the grid answers once the click's fill is done.
  bool RowsAre(const std::vector<std::string>& rows) const {
    return WaitFor([&] { return Rows() == rows; }, 5000);
  }
  std::string Setting(const char* key) const {
    return SettingsFile::FromText("", ReadFileBytes(data_ + "KORVAL.ini"))
        .ReadString("EventLog", key, "(none)");
  }
  void Click(const RECT& r) const {
    DWORD_PTR ignored;
    SendMessageTimeoutA(At(r), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  void Spin(const RECT& r, bool up) const {
    const LPARAM at = MAKELPARAM(7, up ? 4 : 17);
    PostMessageA(At(r), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(At(r), WM_LBUTTONUP, 0, at);
    DWORD_PTR ignored;  // the two clicks are handled once the window answers
    SendMessageTimeoutA(At(r), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  std::string Range() const {
    return Text(At(kEdit1)) + "/" + Text(At(kEdit3)) + "-" + Text(At(kEdit2)) + "/" + Text(At(kEdit4));
  }
  std::string Date(int m, int d, int y) const { return Two(m) + "/" + Two(d) + "/" + std::to_string(y); }

  // Clicks the export button and answers the save dialog with `name`; gives the name the dialog proposed.
  std::string ExportAs(const std::string& name) const {
    PostMessageA(At(kExport), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    if (!WaitFor(
            [&] { return (dialog = FindWindowOfProcess("#32770", viewer_.Id())) && IsWindowVisible(dialog); },
            20000))
      return "(no dialog)";
    HWND field = GetDlgItem(dialog, 0x47c);  // the file name box of the Explorer-style dialog
    if (!field) field = GetDlgItem(dialog, 0x480);
    const std::string proposal = Text(field);
    DWORD_PTR ignored;
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000);
    return proposal;
  }

  // The columns of a place of the window in which the text that starts there paints (pixels other than the
  // background at its top right corner); with `glyph`, the text after a box's check mark and a gap.
  std::pair<int, int> InkColumns(const RECT& place, bool glyph) const {
    const forms::Bitmap shot = probe::CaptureClient(window_);
    const forms::Color paper = shot.Pixel(place.right - 1, place.top);
    auto inked = [&](int x) {
      for (int y = place.top; y < place.bottom; ++y)
        if (!(shot.Pixel(x, y) == paper)) return true;
      return false;
    };
    int x = place.left;
    if (glyph) {
      while (x < place.right && !inked(x)) ++x;
      while (x < place.right && inked(x)) ++x;
    }
    while (x < place.right && !inked(x)) ++x;
    int right = x;
    for (int column = x; column < place.right; ++column)
      if (inked(column)) right = column + 1;
    return {x, right};
  }
  // The text shows whole in that place: its painted columns span as many as the text does, drawn unclipped.
  void ExpectShownWhole(const RECT& place, bool glyph, const char* face, int height,
                        const std::string& text) const {
    const auto [left, right] = InkColumns(place, glyph);
    const TextWidth width = MeasureText(face, height, false, text);
    EXPECT_EQ(right - left, width.ink - width.inkLeft)
        << text << " at " << place.left << "," << place.top << " in columns " << left - place.left << ".."
        << right - place.left << " of " << place.right - place.left;
  }
  // A range field shows its whole number.
  void ExpectFieldShownWhole(const RECT& place) const {
    HWND field = At(place);
    ASSERT_NE(field, nullptr);
    ExpectShownWhole(FieldClient(field), false, "Times New Roman", 12, Text(field));
  }
  RECT FieldClient(HWND field) const {
    RECT client{};
    GetClientRect(field, &client);
    MapWindowPoints(field, window_, reinterpret_cast<POINT*>(&client), 2);
    return client;
  }
  // The four range fields show their whole numbers; a field with the focus is looked at while its blinking
  // caret is off.
  void ExpectRangeShownWhole(const std::string& after) const {
    SCOPED_TRACE(after);
    for (const RECT& place : {kEdit1, kEdit3, kEdit2, kEdit4}) {
      HWND field = At(place);
      const std::string text = Text(field);
      const TextWidth width = MeasureText("Times New Roman", 12, false, text);
      std::pair<int, int> ink;
      const bool whole = WaitFor(
          [&] {
            ink = InkColumns(FieldClient(field), false);
            return ink.second - ink.first == width.ink - width.inkLeft;
          },
          2000);
      EXPECT_TRUE(whole) << text << " in the field at " << place.left << "," << place.top << ": painted "
                         << ink.second - ink.first << " columns of " << width.ink - width.inkLeft;
    }
  }

  test::TempDir dir_;
  std::string program_, data_;
  SYSTEMTIME today_{};
  Process viewer_, monitor_;
  HWND window_ = nullptr;
  std::vector<probe::ChildWindow> children_;
};

TEST_F(Eventbook, ListsTheMonitorsEventsAndAKindBoxRefiltersAndStoresItsState) {
  const int y = today_.wYear, m = today_.wMonth;
  const std::string day = std::to_string(y) + "-" + Two(m) + "-01 ";
  dir_.Write("scenario.txt", "at 0\nevent 6 " + day + "08:00:00\nevent 8 " + day + "08:05:00\nevent 5 " +
                                 day + "08:10:00\nevent 1 " + day + "07:00:00\nevent 0 " + day +
                                 "09:00:00\n");
  monitor_ = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                            Quote(data_) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                            Quote(dir_.File("monitor.log")));
  ASSERT_TRUE(
      WaitFor([&] { return dir_.Read("monitor.log").find("step at 0") != std::string::npos; }, 10000));
  Start();

  char title[64] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "Event Log");
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 604);
  EXPECT_EQ(client.bottom, 423);

  const std::string d = Date(m, 1, y);
  EXPECT_TRUE(
      RowsAre({"No.\tCode\tDate/Time\tEvent", "1\t6\t" + d + " 08:00:00\tPower failure",
               "2\t1\t" + d + " 07:00:00\tProgram start", "3\t8\t" + d + " 08:05:00\tPower restored"}))
      << Text(At(kGrid));
  EXPECT_EQ(Setting("AllState"), "1");
  EXPECT_EQ(Setting("State"), "(none)");

  Click(KindBox(5));
  EXPECT_EQ(SendMessageA(At(KindBox(5)), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Setting("State"), "111111111111110");
  // The code-1 record, older than the last row, changes places with that row only.
  EXPECT_TRUE(RowsAre({"No.\tCode\tDate/Time\tEvent", "1\t6\t" + d + " 08:00:00\tPower failure",
                       "2\t8\t" + d + " 08:05:00\tPower restored", "3\t1\t" + d + " 07:00:00\tProgram start",
                       "4\t5\t" + d + " 08:10:00\tSystem shutdown"}))
      << Text(At(kGrid));
  Click(KindBox(6));
  EXPECT_EQ(Setting("State"), "111110111111110");
  EXPECT_TRUE(
      RowsAre({"No.\tCode\tDate/Time\tEvent", "1\t8\t" + d + " 08:05:00\tPower restored",
               "2\t1\t" + d + " 07:00:00\tProgram start", "3\t5\t" + d + " 08:10:00\tSystem shutdown"}))
      << Text(At(kGrid));

  // A look at the window, kept in the build folder.
  EXPECT_TRUE(BroughtToFront(window_));
  forms::Bitmap painted;
  EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(window_); }, painted));
  for (const RECT& year : {kEdit1, kEdit2}) ExpectFieldShownWhole(year);
  for (const RECT& month : {kEdit3, kEdit4}) {
    if (Text(At(month)).size() < 2)  // the widest month, as October to December show it
      SendMessageA(At(month), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
    ExpectFieldShownWhole(month);
  }
  probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\eventbook\\eventbook.png",
                  probe::EncodePng(probe::CaptureClient(window_)));
}

TEST_F(Eventbook, AllBoxAndSpinButtonsChooseTheMonths) {
  for (int m = 1; m <= 12; ++m) WriteMonth(m, Record(2, YearOf(m), m, 3, 12, 0));
  Start();
  EXPECT_EQ(Rows().size(), 12u) << "All: eleven months and the header";
  EXPECT_FALSE(IsWindowEnabled(At(RECT{81, 394, 419, 29})));
  const int cy = today_.wYear, cm = today_.wMonth;
  const std::string now = std::to_string(cy) + "/" + std::to_string(cm);
  EXPECT_EQ(Range(), now + "-" + now);

  Click(kAllBox);
  EXPECT_EQ(Setting("AllState"), "0");
  EXPECT_TRUE(IsWindowEnabled(At(RECT{81, 394, 419, 29})));
  EXPECT_TRUE(
      RowsAre({"No.\tCode\tDate/Time\tEvent", "1\t2\t" + Date(cm, 3, cy) + " 12:00:00\tProgram stop"}));

  Spin(kSpin4, true);  // the end stays at the current month
  Spin(kSpin3, true);
  EXPECT_EQ(Range(), now + "-" + now);
  Spin(kSpin1, false);  // a year back, clamped to the first of the eleven months
  const int ly = cm <= 10 ? cy - 1 : cy, lm = cm <= 10 ? cm + 2 : cm - 10;
  const std::string first = cm <= 10 ? std::to_string(ly) + "/" + std::to_string(lm) : now;
  EXPECT_EQ(Range(), first + "-" + now);
  EXPECT_TRUE(WaitFor([&] { return Rows().size() == (cm <= 10 ? 12u : 2u); }, 5000)) << Text(At(kGrid));
  Spin(kSpin2, false);  // at the first month it is pulled back; in November and December it may step
  const std::string start = cm <= 10 ? first : std::to_string(cy) + "/" + std::to_string(cm - 1);
  EXPECT_EQ(Range(), start + "-" + now);

  Click(kAllBox);
  EXPECT_EQ(Setting("AllState"), "1");
  Spin(kSpin2, true);
  EXPECT_EQ(Range(), start + "-" + now) << "the range panel takes no input in All mode";
}

// The year fields are as wide as their four digits: the numbers stay whole in all four fields, whichever
// spin button is clicked, whatever keys the focused field gets, wherever the focus goes next.
TEST_F(Eventbook, RangeFieldsShowTheirWholeNumbersAfterSpinsKeysAndFocusChanges) {
  for (int m = 1; m <= 12; ++m) WriteMonth(m, Record(2, YearOf(m), m, 3, 12, 0));
  Start();
  Click(kAllBox);
  ASSERT_TRUE(IsWindowEnabled(At(RECT{81, 394, 419, 29})));
  const struct {
    const RECT* spin;
    bool up;
    const char* what;
  } clicks[] = {{&kSpin1, false, "start year down"},  {&kSpin1, true, "start year up"},
                {&kSpin2, false, "start month down"}, {&kSpin3, false, "end year down"},
                {&kSpin3, true, "end year up"},       {&kSpin4, true, "end month up"}};
  for (const auto& c : clicks) {
    Spin(*c.spin, c.up);
    ExpectRangeShownWhole(std::string("a click of ") + c.what);
  }
  SetForegroundWindow(window_);
  Spin(kSpin1, true);  // the focus in the start year
  for (WORD key : {VK_END, VK_HOME, VK_RIGHT, VK_END}) probe::TypeKey(key);
  probe::TypeKey(VK_TAB);
  ExpectRangeShownWhole("keys in the start year, then Tab");
  Spin(kSpin3, false);  // the focus in the end year
  probe::TypeKey(VK_END);
  DWORD_PTR ignored;
  SendMessageTimeoutA(At(kGrid), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 40), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  SendMessageTimeoutA(At(kGrid), WM_LBUTTONUP, 0, MAKELPARAM(20, 40), SMTO_ABORTIFHUNG, 5000, &ignored);
  ExpectRangeShownWhole("End in the end year, then a click into the grid");
}

TEST_F(Eventbook, ExportWritesBothFilesAndAsksBeforeOverwriting) {
  WriteMonth(today_.wMonth, Record(6, today_.wYear, today_.wMonth, 1, 9, 30));
  Start();
  const std::string base = dir_.Prefix() + "out";
  EXPECT_EQ(ExportAs(base), "Event_" + Two(today_.wMonth) + "-" + Two(today_.wDay));
  ASSERT_TRUE(WaitFor([&] { return FileExists(base + ".xml") && FileExists(base + ".xsl"); }, 10000));
  EXPECT_NE(ReadFileBytes(base + ".xml").find("<?xml-stylesheet type=\"text/xsl\" href=\"out.xsl\"?>\r\n"),
            std::string::npos);
  const std::string row = "<tr><td>1</td><td>6</td><td>" + Date(today_.wMonth, 1, today_.wYear) +
                          " 09:30:00</td><td>Power failure</td></tr>\r\n";
  EXPECT_NE(ReadFileBytes(base + ".xsl").find(row), std::string::npos) << ReadFileBytes(base + ".xsl");

  // Again under the same name: the question, answered No, then Yes.
  for (int answer : {IDNO, IDYES}) {
    WriteFileBytes(base + ".xml", "old");
    WriteFileBytes(base + ".xsl", "old");
    ExportAs(base);
    HWND confirm = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (confirm = FindWindowA("#32770", "Confirm")) != nullptr; }, 10000));
    // The box may be there a moment before its texts.
    EXPECT_TRUE(WaitFor(
        [&] {
          for (const probe::ChildWindow& c : probe::ChildWindows(confirm))
            if (c.text == base + " File is Exists, Overwrite it now?") return true;
          return false;
        },
        5000));
    PostMessageA(confirm, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(confirm); }, 10000));
    if (answer == IDNO) {
      Sleep(300);  // nothing to wait on: no file is written
      EXPECT_EQ(ReadFileBytes(base + ".xml"), "old");
      EXPECT_EQ(ReadFileBytes(base + ".xsl"), "old");
    } else {
      EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(base + ".xsl").find(row) != std::string::npos; }, 5000));
    }
  }
}

// The captions of the kind boxes, the All box and the range labels show whole in every language that the
// system's code page shows (the All box's right end lies under the range panel).
TEST_F(Eventbook, CaptionsShowWholeInEachLanguageOfTheCodePage) {
  const char* const kinds[15] = {"Log1", "Log2", "Msg2", "Msg3", "Log3",  "Msg8", "Msg9", "Msg7",
                                 "Log4", "Msg5", "Msg4", "Log5", "Msg10", "Msg6", "Log6"};
  bool any = false;
  for (int language = 0; language < kLanguageCount; ++language) {
    if (LanguageCodePage(language) != GetACP()) continue;
    any = true;
    SCOPED_TRACE(LanguageFileName(language));
    WriteFileBytes(data_ + "KORVAL.ini", "[Main]\r\nLanguage=" + std::to_string(language) + "\r\n");
    Start();
    if (HasFatalFailure()) return;
    forms::Bitmap painted;
    EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(window_); }, painted));
    const LanguageFile f = LanguageFile::Load(program_ + LanguageFileName(language));
    const char* face = LanguageFace(language) ? LanguageFace(language) : "MS UI Gothic";
    auto edges = [](const RECT& r) { return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom}; };
    for (int code = 1; code <= 15; ++code)
      ExpectShownWhole(edges(KindBox(code)), true, face, 13,
                       std::to_string(code) + "." + f.Text(kinds[code - 1]));
    ExpectShownWhole(RECT{4, 398, 81, 420}, true, face, 13, f.Text("Log7"));
    ExpectShownWhole(edges(RECT{84, 399, 106, 17}), false, face, 13, f.Text("Log8"));
    ExpectShownWhole(edges(RECT{297, 399, 97, 17}), false, face, 13, f.Text("Log9"));
    viewer_.Kill();
    viewer_.WaitExit(5000);
  }
  EXPECT_TRUE(any) << "no language file in code page " << GetACP();
}

// The export as its consumers read it: a style sheet processor of the host applies the exported style sheet
// (found through the XML file's own reference, under a name that a URI must escape) to the exported XML and
// gets the grid's table back, row for row and text for text, in the system's code page, with an event text
// that holds the characters of the markup itself. CTest runs it in more than one code page.
TEST_F(Eventbook, ExportGivesTheGridsTableToAStyleSheetProcessor) {
  const int language = LanguageOfCodePage(GetACP());
  if (language < 0) GTEST_SKIP() << "no language file is written in code page " << GetACP();
  const std::string file = program_ + LanguageFileName(language);
  const std::string marked = LanguageFile::Load(file).Text("Msg8") + " <&> \"";
  WriteFileBytes(file, "Msg8=" + marked + "\r\n" + ReadFileBytes(file));
  WriteFileBytes(data_ + "KORVAL.ini", "[Main]\r\nLanguage=" + std::to_string(language) + "\r\n");
  const int y = today_.wYear, m = today_.wMonth;
  WriteMonth(m, Record(6, y, m, 1, 9, 30) + Record(8, y, m, 1, 9, 45));
  Start();
  ASSERT_TRUE(WaitFor([&] { return Rows().size() == 3; }, 5000)) << Text(At(kGrid));
  std::vector<std::vector<std::string>> grid;
  for (const std::string& row : Rows()) {
    grid.emplace_back();
    for (std::size_t at = 0, tab;; at = tab + 1) {
      tab = row.find('\t', at);
      grid.back().push_back(Utf8(row.substr(at, tab - at)));
      if (tab == std::string::npos) break;
    }
  }
  ASSERT_EQ(grid[1][3], Utf8(marked));

  const std::string base = dir_.Prefix() + "100%#1";  // a reference of "100%25%231.xsl"
  ExportAs(base);
  ASSERT_TRUE(WaitFor([&] { return FileExists(base + ".xml") && FileExists(base + ".xsl"); }, 10000));
  // The host's processor, started from Wine; it is no Windows process, so the page it writes tells its end.
  const std::string page = dir_.File("table.html");
  const std::string xml = HostPath(base + ".xml"), out = HostPath(page);
  ASSERT_FALSE(xml.empty() || out.empty()) << "no host path under Wine";
  std::string uri = "file://";
  for (char c : xml) uri += c == '%' ? "%25" : c == '#' ? "%23" : c == ' ' ? "%20" : std::string(1, c);
  const Process processor =
      Process::Start("Z:\\usr\\bin\\xsltproc --encoding UTF-8 -o " + Quote(out) + " " + Quote(uri));
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(page).find("</html>") != std::string::npos; }, 30000))
      << "no page from xsltproc: see its errors above (scripts/install.sh installs it)";

  std::string header;
  EXPECT_EQ(TableRows(ReadFileBytes(page), &header), grid) << ReadFileBytes(page);
  EXPECT_EQ(header, "<tr bgcolor=\"SkyBlue\">");
}

}  // namespace
}  // namespace korval::e2e
