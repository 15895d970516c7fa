#pragma once
// The sibling programs of the status window, one row each: the programs that its toolbar and menu raise or
// start. The toolbar, the menu items, their bindings and texts, the close list and the stand-ins of the
// programs outside this system (tools/siblings, and the copies that CMake lays out in the program folder)
// are all made from these rows. A new sibling is a new row here, its named click handler (declared in
// main_form.h, one line in siblings.cpp, its entry in the layout's kSiblingHandlers), its glyph (BITBTN<n>
// in statuspanel.rc), its language key in every language file, and the rows that the tests expect.
//
// Plain data with no other includes: the stand-in program includes it too, and tools/siblings/CMakeLists.txt
// reads the rows (one a line, program name first, `Home::Outside` marking a stand-in).
#include <cstddef>

namespace korval::statuspanel {

// What the command line carries after the program's file.
enum class Argument { None, UnitType };
// Outside: a program that this system does not contain (a stand-in takes its place in tests and demos);
// Suite: one of this system's programs.
enum class Home { Outside, Suite };

struct SiblingProgram {
  const char* program;      // its file is program + ".exe" in the program folder
  const char* className;    // the class of its main window, looked up to raise it
  int button;               // the toolbar button BitBtn<n>
  int buttonLeft;           // the button's place on the toolbar
  const char* buttonHint;   // the button's hint in the layout
  const char* menu;         // the menu that holds its item, which lists its sibling items first
  const char* menuItem;     // the name of the menu item
  const char* itemCaption;  // the item's caption in the layout
  const char* textKey;      // the language key of both the hint and the caption; nullptr: the layout's stay
  Argument argument;        // UnitType: the unit type of the latest read, in decimal, after a blank
  bool flagsSetup;          // SETUPS ReadType=1 goes into the settings file before every raise or start
  int closeRank;            // its place in the close list when the status window closes; 0: stays open
  Home home;
};

// In the order of the toolbar, left to right.
// clang-format off
inline constexpr SiblingProgram kSiblingPrograms[] = {
    // program   class           btn  left  hint      menu      item           caption        key      argument            setup  close  home
    {"tunedesk",  "TnTunedesk",  1,   170,  "system", "File1",  "Config1",     "Config",      "Dis11", Argument::None,     false, 2,     Home::Outside},
    {"seekunit",  "TnSeekUnit",  3,   258,  "",       "Setup1", "COMPort1",    "COM Port",    "Dis13", Argument::None,     false, 3,     Home::Outside},
    {"timetable", "TnTimetable", 4,   303,  "",       "Setup1", "Schedule1",   "Schedule",    "Dis14", Argument::None,     false, 1,     Home::Outside},
    {"rewind",    "TnRewind",    5,   348,  "",       "View1",  "RecordView1", "Record View", "Dis16", Argument::UnitType, false, 4,     Home::Outside},
    {"eventbook", "TnEventLog",  6,   392,  "",       "View1",  "EventView1",  "Event View",  "Dis17", Argument::None,     false, 5,     Home::Suite},
    {"beeper",    "TnBeeper",    8,   436,  "",       "Setup1", "Pager1",      "Pager",       "Dis15", Argument::None,     false, 6,     Home::Outside},
    {"postman",   "TnPostman",   9,   480,  "E-Mail", "Setup1", "EMail1",      "E-Mail",      nullptr, Argument::None,     false, 0,     Home::Outside},
    {"unitprep",  "TnUnitPrep",  7,   524,  "",       "Setup1", "unitprep1",   "UPS Setup",   "Dis19", Argument::None,     true,  0,     Home::Outside},
};
// clang-format on

inline constexpr std::size_t kSiblingCount = sizeof kSiblingPrograms / sizeof kSiblingPrograms[0];

// The toolbar's one button that is no sibling's: Self Test.
inline constexpr int kSelfTestButton = 2, kSelfTestButtonLeft = 213;

// The highest button number, which sizes the form's table of buttons.
inline constexpr int kLastButton = [] {
  int last = kSelfTestButton;
  for (const SiblingProgram& s : kSiblingPrograms)
    if (s.button > last) last = s.button;
  return last;
}();

}  // namespace korval::statuspanel
