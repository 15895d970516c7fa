// The window layout of the event viewer: positions, sizes, fonts and colours, tab order and handlers.
#include "record_event.h"

namespace korval::eventbook {

namespace {

using forms::Bitmap;
using forms::Color;
using forms::Font;
using forms::Rgb;

const Color kWindowGrey = Rgb(204, 204, 204);  // 13421772
const Color kWhite = Rgb(255, 255, 255);
const Font kGothic{"MS UI Gothic", 13, false, Rgb(0, 0, 0)};
const Font kTimes{"Times New Roman", 12, false, Rgb(0, 0, 0)};

const char* const kDefaultCaptions[16] = {
    "1.Program start", "2.Program stop", "3.Start monitor",       "4.Connection error", "5.System shutdown",
    "6.Power failure", "7.Low battery",  "8.Power restored",      "9.UPS shutdown",     "10.Overload",
    "11.Bad battery",  "12.UPS stared",  "13.Scheduled shutdown", "14.UPS self test",   "15.Other",
};

// The export button's picture strip: a sheet with lines and a green arrow, then the same in greys for the
// disabled button. The bottom left pixel's colour is the clear one.
Bitmap ExportGlyph() {
  const Color clear = Rgb(128, 128, 0);
  Bitmap strip(32, 16, clear);
  for (int part = 0; part < 2; ++part) {
    const bool grey = part == 1;
    const int x0 = part * 16;
    const Color edge = grey ? Rgb(128, 128, 128) : Rgb(0, 0, 0);
    const Color paper = grey ? Rgb(204, 204, 204) : kWhite;
    const Color ink = grey ? Rgb(160, 160, 160) : Rgb(0, 0, 128);
    const Color arrow = grey ? Rgb(128, 128, 128) : Rgb(0, 128, 0);
    for (int y = 1; y <= 14; ++y)
      for (int x = 2; x <= 10; ++x)
        strip.SetPixel(x0 + x, y, x == 2 || x == 10 || y == 1 || y == 14 ? edge : paper);
    for (int y = 4; y <= 11; y += 2)
      for (int x = 4; x <= 8; ++x) strip.SetPixel(x0 + x, y, ink);
    for (int x = 9; x <= 13; ++x) strip.SetPixel(x0 + x, 9, arrow);
    for (int d = 1; d <= 2; ++d) {
      strip.SetPixel(x0 + 13 - d, 9 - d, arrow);
      strip.SetPixel(x0 + 13 - d, 9 + d, arrow);
    }
  }
  return strip;
}

}  // namespace

void TnEventLog::BuildLayout() {
  SetCaption("Event Log");
  SetClientSize(604, 423);
  SetFixedSingle(true);
  SetCentered(true);
  SetColor(kWindowGrey);
  SetFont(forms::Font{"MS Sans Serif", 11, false, Rgb(0, 0, 0)});

  StringGrid1 = Add<StringGrid>(this, "StringGrid1");
  StringGrid1->SetBounds(8, 0, 587, 280);
  StringGrid1->SetFont(kGothic);
  StringGrid1->SetColCount(4);
  StringGrid1->SetRowCount(2);
  StringGrid1->SetFixedCols(0);
  StringGrid1->SetFixedRows(1);
  const int widths[4] = {43, 46, 184, 304};
  for (int c = 0; c < 4; ++c) StringGrid1->SetColWidth(c, widths[c]);
  StringGrid1->SetCurrent(0, 1);

  Panel1 = Add<Panel>(this, "Panel1");
  Panel1->SetBounds(0, 283, 604, 106);
  Panel1->SetColor(kWindowGrey);
  const int columns[3] = {4, 205, 404};
  for (int code = 1; code <= 15; ++code) {
    CheckBox* box = Add<CheckBox>(Panel1, "CheckBox" + std::to_string(code));
    const int row = (code - 1) % 5;
    box->SetBounds(columns[(code - 1) / 5], 6 + 20 * row, 196, row == 4 ? 14 : 15);
    box->SetColor(kWhite);
    box->SetFont(kGothic);
    box->SetCaption(kDefaultCaptions[code - 1]);
    box->OnClick = [this](forms::Control&) { CheckBoxClick(); };
    CheckBoxes[static_cast<std::size_t>(code)] = box;
  }

  CheckBox16 = Add<CheckBox>(this, "CheckBox16");
  CheckBox16->SetBounds(4, 398, 78, 22);
  CheckBox16->SetFont(kGothic);
  CheckBox16->SetCaption("All");
  CheckBox16->OnClick = [this](forms::Control&) { CheckBox16Click(); };
  CheckBoxes[16] = CheckBox16;

  Panel2 = Add<Panel>(this, "Panel2");
  Panel2->SetBounds(81, 394, 419, 29);
  Panel2->SetColor(kWindowGrey);
  auto label = [&](const char* name, const char* caption, int left, int width) {
    StaticText* t = Add<StaticText>(Panel2, name);
    t->SetBounds(left, 5, width, 17);
    t->SetAlignment(forms::Alignment::Right);
    t->SetFont(kGothic);
    t->SetCaption(caption);
    return t;
  };
  auto edit = [&](const char* name, const char* text, int left, int width) {
    Edit* e = Add<Edit>(Panel2, name);
    e->SetBounds(left, 4, width, 23);
    e->SetReadOnly(true);
    e->SetColor(kWhite);
    e->SetFont(kTimes);
    e->SetText(text);
    return e;
  };
  auto spin = [&](const char* name, int left, Edit* bound, void (TnEventLog::*up)(),
                  void (TnEventLog::*down)()) {
    SpinButton* s = Add<SpinButton>(Panel2, name);
    s->SetBounds(left, 4, 15, 22);
    s->SetFocusControl(bound);
    s->OnUpClick = [this, up](SpinButton&) { (this->*up)(); };
    s->OnDownClick = [this, down](SpinButton&) { (this->*down)(); };
    return s;
  };
  StaticText1 = label("StaticText1", "Start Year/Month", 3, 106);
  Edit1 = edit("Edit1", "2001", 132, 29);
  SpinButton1 =
      spin("SpinButton1", 163, Edit1, &TnEventLog::SpinButton1UpClick, &TnEventLog::SpinButton1DownClick);
  Edit3 = edit("Edit3", "12", 179, 17);
  SpinButton2 =
      spin("SpinButton2", 198, Edit3, &TnEventLog::SpinButton2UpClick, &TnEventLog::SpinButton2DownClick);
  StaticText2 = label("StaticText2", "End Year/Month", 216, 97);
  Edit2 = edit("Edit2", "2001", 337, 30);
  SpinButton3 =
      spin("SpinButton3", 368, Edit2, &TnEventLog::SpinButton3UpClick, &TnEventLog::SpinButton3DownClick);
  Edit4 = edit("Edit4", "12", 384, 17);
  SpinButton4 =
      spin("SpinButton4", 402, Edit4, &TnEventLog::SpinButton4UpClick, &TnEventLog::SpinButton4DownClick);

  BitBtn1 = Add<BitBtn>(this, "BitBtn1");
  BitBtn1->SetBounds(504, 394, 98, 29);
  BitBtn1->SetFont(kGothic);
  BitBtn1->SetCaption("Print");
  BitBtn1->SetGlyph(ExportGlyph());
  BitBtn1->SetNumGlyphs(2);
  BitBtn1->SetLayout(forms::GlyphLayout::Left);
  BitBtn1->SetDefault(true);
  BitBtn1->OnClick = [this](forms::Control&) { BitBtn1Click(); };

  SaveDialog1 = AddSaveDialog("SaveDialog1");
  SaveDialog1->SetFilter("XML File|*.xml");

  // Tab order: the grid, the kind boxes, the All box, the export button, then the range panel (its edits in
  // the order start year, start month, end year, end month, as they were made).
  BitBtn1->SetTabOrder(Panel2->TabOrder());
  SetActiveControl(StringGrid1);
}

}  // namespace korval::eventbook
