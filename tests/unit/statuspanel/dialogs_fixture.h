#pragma once
// The status window with its three dialogs, made as the program start makes them, on a language file that
// holds the dialogs' texts.
#include <filesystem>
#include <string>

#include "greenmode.h"
#include "panel_fixture.h"
#include "pass.h"
#include "run.h"
#include "selftest.h"
#include "settings.h"

namespace korval::statuspanel::test {

inline const char kDialogTexts[] =
    "Dis12=Self Test\r\n"
    "Dis18=Password\r\n"
    "Dis20=Old:\r\nDis21=New:\r\nDis22=Again:\r\n"
    "OK=Okay\r\nCancel=Back\r\n"
    "Dis23=Ten\r\nDis24=Timed\r\nDis25=Battery\r\nDis26=Stop\r\n"
    "Dis32=Off!\r\nDis33=On!\r\n";

class DialogsTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    program.Write("English.txt", std::string(kEnglishFixture) + kDialogTexts);
  }

  // The status window on `record` (none: no record file), then the dialogs.
  CountingPanel& StartAll() {
    Start();
    app->SetTitle("KORVAL Plus for Windows");
    CreateDialogs(*app, *form);
    return *form;
  }
  TnPassfunction& Pass() const { return *form->nPassfunction; }
  TnselfTsetset& SelfTest() const { return *form->nselfTsetset; }
  TnGreenModeSetup& Green() const { return *form->nGreenModeSetup; }

  void Settings(const std::string& text) const { data.Write("KORVAL.ini", text); }
  std::string Setting(const char* section, const char* key) const {
    return SettingsFile::FromText("", data.Read("KORVAL.ini")).ReadString(section, key, "(none)");
  }
  // Makes the settings file exist but unreadable: a folder of its name.
  void BreakSettings() const { std::filesystem::create_directory(data.File("KORVAL.ini")); }

  std::string RecordFile() const { return data.Read("DATABuff.REC"); }
  static std::string Bytes(const DataBuffRecord& r) { return std::string(r.bytes.begin(), r.bytes.end()); }
};

}  // namespace korval::statuspanel::test
