// Start-up, the filters and their settings, the fill of the grid, the captions and the export of the event
// viewer window.
#include "record_event.h"

#include "datetime.h"
#include "error.h"
#include "eventlog.h"
#include "export.h"
#include "fileio.h"
#include "folders.h"
#include "language.h"

namespace korval::eventbook {

namespace {

// The language key of each event kind's text, by code (entry N - 1 for code N).
const char* const kKindKeys[kEventCodeCount] = {"Log1", "Log2", "Msg2",  "Msg3", "Log3",
                                                "Msg8", "Msg9", "Msg7",  "Log4", "Msg5",
                                                "Msg4", "Log5", "Msg10", "Msg6", "Log6"};

// The kind's text of a box caption: without the code and its point ("6.Power failure" gives Power failure).
std::string KindText(const std::string& caption, int code) {
  const std::size_t prefix = code <= 9 ? 2 : 3;
  return caption.size() > prefix ? caption.substr(prefix) : std::string();
}

}  // namespace

std::uint16_t EditNumber(const Edit& edit) {
  std::uint32_t value = 0;
  for (char c : edit.Text()) {
    if (c < '0' || c > '9') break;
    value = (value * 10 + static_cast<std::uint32_t>(c - '0')) & 0xFFFFFFu;
  }
  return static_cast<std::uint16_t>(value);
}

TnEventLog::TnEventLog(forms::Application& app) : Form(app, "TnEventLog", "nEventLog") {
  BuildLayout();
  OnCreate = [this] { FormCreate(); };
}

void TnEventLog::FormCreate() {
  forms::System& system = App().GetSystem();
  ProgramDir = system.ProgramDir();
  DataDir = ReadDataDir(ProgramDir);
  BoxesLoaded = false;
  LastListedTime = 0;
  std::int32_t allState = 1;
  {
    auto settings = OpenSettings(SettingsPath(), OnOpenFailure::EndProgram, [this] { App().Terminate(); });
    if (!settings) return;
    State = settings->ReadString("EventLog", "State", kDefaultState).substr(0, kEventCodeCount);
    allState = settings->ReadInteger("EventLog", "AllState", 1);
  }
  InitCheckBoxTable();
  // Setting the All box counts as its click: it stores AllState and fills the grid (no kind box is set yet).
  CheckBox16->SetChecked(allState == 1);
  if (App().Terminated()) return;
  Panel2->SetEnabled(!CheckBox16->Checked());
  for (int n = 1; n <= kEventCodeCount; ++n)
    EventCodeBoxes[static_cast<std::size_t>(n - 1)]->SetChecked(
        static_cast<int>(State.size()) >= n && State[static_cast<std::size_t>(n - 1)] == '1');
  BoxesLoaded = true;
  CalendarTime today;
  if (!DecodeDateTime(system.Now(), today)) today = CalendarTime{};
  TodayYear = static_cast<std::uint16_t>(today.year);
  TodayMonth = static_cast<std::uint16_t>(today.month);
  Edit1->SetText(std::to_string(TodayYear));
  Edit2->SetText(std::to_string(TodayYear));
  Edit3->SetText(std::to_string(TodayMonth));
  Edit4->SetText(std::to_string(TodayMonth));
  LoadLanguageTexts();
  if (App().Terminated()) return;
  RefreshEventGrid();
}

void TnEventLog::InitCheckBoxTable() {
  for (int code = 1; code <= kEventCodeCount; ++code)
    EventCodeBoxes[static_cast<std::size_t>(code - 1)] = CheckBoxes[static_cast<std::size_t>(code)];
}

void TnEventLog::RefreshEventGrid() {
  const MonthSpan months =
      ChooseMonths(CheckBox16->Checked(), TodayMonth, EditNumber(*Edit3), EditNumber(*Edit4));
  StringGrid& grid = *StringGrid1;
  // The grid's window catches up once, when the fill is done, not once a cell.
  const forms::GridUpdate update(grid);
  grid.SetRowCount(2);
  for (int col = 0; col < 4; ++col) grid.SetCell(col, 1, std::string());
  // What the boxes say while this fill runs: whether each code is listed, its number and its kind's text.
  std::array<bool, kEventCodeCount> listed{};
  std::array<std::string, kEventCodeCount> codeTexts, kindTexts;
  for (int code = 1; code <= kEventCodeCount; ++code) {
    const auto at = static_cast<std::size_t>(code - 1);
    const CheckBox* box = EventCodeBoxes[at];
    listed[at] = box && box->Checked();
    if (!listed[at]) continue;
    codeTexts[at] = std::to_string(code);
    kindTexts[at] = KindText(box->Caption(), code);
  }
  forms::System& system = App().GetSystem();
  const char dateSep = system.DateSeparator(), timeSep = system.TimeSeparator();
  int r = 0;
  int month = months.first;
  std::string bytes;
  for (int i = 0; i < months.count; ++i, month = NextMonth(month)) {
    // A missing file, or one that cannot be opened, lists nothing.
    if (fileio::ReadWhole(MonthFileName(DataDir, month), bytes) != fileio::ReadResult::Ok) continue;
    ForEachEventRecord(bytes, [&](const EventRecord& record) {
      if (!IsEventCode(record.code) || !listed[record.code - 1u]) return;
      ++r;
      grid.SetRowCount(r + 1);
      grid.SetCell(0, r, std::to_string(r));
      std::string texts[3] = {codeTexts[record.code - 1u], FormatEventTime(record.time, dateSep, timeSep),
                              kindTexts[record.code - 1u]};
      // The ordering step: a record older than the last row's changes places with that row, and with no
      // other; the running numbers of column 0 stay.
      if (r >= 2 && LastListedTime > record.time) {
        for (int col = 1; col <= 3; ++col) {
          grid.SetCell(col, r, grid.Cell(col, r - 1));
          grid.SetCell(col, r - 1, std::move(texts[col - 1]));
        }
      } else {
        for (int col = 1; col <= 3; ++col) grid.SetCell(col, r, std::move(texts[col - 1]));
        LastListedTime = record.time;
      }
    });
  }
}

void TnEventLog::LoadLanguageTexts() {
  {
    auto settings = OpenSettings(SettingsPath(), OnOpenFailure::EndProgram, [this] { App().Terminate(); });
    if (!settings) return;
    LanguageIndex = ReadLanguageIndex(*settings, App().GetSystem().SystemDefaultLanguage());
  }
  const LanguageFile texts = LanguageFile::Load(ProgramDir + LanguageFileName(LanguageIndex));
  SetCaption(texts.Text("Log0"));
  App().SetTitle(texts.Text("Log0"));
  for (int code = 1; code <= kEventCodeCount; ++code)
    CheckBoxes[static_cast<std::size_t>(code)]->SetCaption(std::to_string(code) + "." +
                                                           texts.Text(kKindKeys[code - 1]));
  CheckBox16->SetCaption(texts.Text("Log7"));
  StaticText1->SetCaption(texts.Text("Log8"));
  StaticText2->SetCaption(texts.Text("Log9"));
  const std::string save = texts.Text("Save");
  BitBtn1->SetCaption(save.size() >= 2 ? save : texts.Text("Print"));
  StringGrid1->SetCell(0, 0, texts.Text("Log10"));
  StringGrid1->SetCell(1, 0, texts.Text("Log11"));
  StringGrid1->SetCell(2, 0, texts.Text("Log12"));
  StringGrid1->SetCell(3, 0, texts.Text("Log13"));
  if (const char* face = LanguageFace(LanguageIndex)) {
    for (int n = 1; n <= 16; ++n) CheckBoxes[static_cast<std::size_t>(n)]->SetFontName(face);
    StaticText1->SetFontName(face);
    StaticText2->SetFontName(face);
    BitBtn1->SetFontName(face);
    StringGrid1->SetFontName(face);
  }
}

bool TnEventLog::WriteEventLogSetting(const std::function<void(SettingsFile&)>& write) {
  auto settings = OpenSettings(SettingsPath(), OnOpenFailure::EndProgram, [this] { App().Terminate(); });
  if (!settings) return false;
  write(*settings);
  settings->Update();
  return true;
}

void TnEventLog::CheckBoxClick() {
  if (!BoxesLoaded) return;
  State.clear();
  for (const CheckBox* box : EventCodeBoxes) State += box->Checked() ? '1' : '0';
  if (!WriteEventLogSetting([this](SettingsFile& s) { s.WriteString("EventLog", "State", State); })) return;
  RefreshEventGrid();
}

void TnEventLog::CheckBox16Click() {
  Panel2->SetEnabled(!CheckBox16->Checked());
  const std::int32_t all = CheckBox16->Checked() ? 1 : 0;
  if (!WriteEventLogSetting([all](SettingsFile& s) { s.WriteInteger("EventLog", "AllState", all); })) return;
  RefreshEventGrid();
}

void TnEventLog::StepYear(Edit* edit, int delta, std::uint8_t which) {
  edit->SetText(std::to_string(static_cast<std::uint16_t>(EditNumber(*edit) + delta)));
  ClampDateRange(which);
  RefreshEventGrid();
}

void TnEventLog::StepMonth(Edit* edit, int delta, std::uint8_t which) {
  // A month stops at 1 and at 12; only the year buttons change a year.
  const int month = EditNumber(*edit);
  if ((delta > 0 && month < 12) || (delta < 0 && month > 1)) {
    edit->SetText(std::to_string(month + delta));
    ClampDateRange(which);
  }
  RefreshEventGrid();
}

void TnEventLog::SpinButton1UpClick() { StepYear(Edit1, 1, 1); }
void TnEventLog::SpinButton1DownClick() { StepYear(Edit1, -1, 1); }
void TnEventLog::SpinButton2UpClick() { StepMonth(Edit3, 1, 1); }
void TnEventLog::SpinButton2DownClick() { StepMonth(Edit3, -1, 1); }
void TnEventLog::SpinButton3UpClick() { StepYear(Edit2, 1, 2); }
void TnEventLog::SpinButton3DownClick() { StepYear(Edit2, -1, 2); }
void TnEventLog::SpinButton4UpClick() { StepMonth(Edit4, 1, 2); }
void TnEventLog::SpinButton4DownClick() { StepMonth(Edit4, -1, 2); }

void TnEventLog::ClampDateRange(std::uint8_t which) {
  using u16 = std::uint16_t;
  u16 sy = EditNumber(*Edit1), sm = EditNumber(*Edit3), ey = EditNumber(*Edit2), em = EditNumber(*Edit4);
  const u16 cy = TodayYear, cm = TodayMonth;
  // The first month of RecentMonths.
  const u16 ly = cm <= 10 ? static_cast<u16>(cy - 1) : cy;
  const u16 lm = cm <= 10 ? static_cast<u16>(cm + 2) : static_cast<u16>(cm - 10);
  if (which == 1) {
    if (sy < ly) sy = ly;
    if (sy > ey) sy = ey;
    Edit1->SetText(std::to_string(sy));
    if (sy == ly && sm < lm) sm = lm;
    if (sy == ey && sm > em) sm = em;
    Edit3->SetText(std::to_string(sm));
  } else if (which == 2) {
    if (ey > cy) ey = cy;
    if (ey < sy) ey = sy;
    Edit2->SetText(std::to_string(ey));
    if (ey == cy && em > cm) em = cm;
    if (ey == sy && em < sm) em = sm;
    Edit4->SetText(std::to_string(em));
  }
}

void TnEventLog::BitBtn1Click() {
  SaveDialog1->SetFileName("Event_" + FormatMonthDay(App().GetSystem().Now()));
  if (!SaveDialog1->Execute()) return;
  const std::string baseName = SaveDialog1->FileName();
  if (fileio::Exists(baseName + ".xml") &&
      App().MessageBox("Confirm", baseName + " File is Exists, Overwrite it now?",
                       forms::MessageButtons::YesNo,
                       forms::MessageIcon::Question) != forms::MessageResult::Yes)
    return;
  WriteExportFiles(baseName, *StringGrid1, EncodingName(App().GetSystem().AnsiCodePage()));
}

}  // namespace korval::eventbook
