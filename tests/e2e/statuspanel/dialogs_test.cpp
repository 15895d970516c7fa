// The password, self-test and green-mode dialogs of the real status window, driven by the keyboard and the
// mouse, with the simulated monitor taking the commands from the record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dialogs_e2e.h"

namespace korval::e2e {
namespace {

using DialogsE2e = Dialogs;

// One round trip on the real windows and one refusal, for the message box over the dialog and the focus
// that comes back; the unit tables of the password dialog hold every case of what it accepts.
TEST_F(DialogsE2e, PasswordIsSetChangedWithTheRightOldOneAndRefusedWithAWrongOne) {
  Start(Live(5));

  // No password yet: only the new and confirmation rows.
  PasswordCommand();
  HWND dialog = ShownDialog("TnPassfunction");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Text(dialog), "Password");
  EXPECT_FALSE(IsWindowVisible(ChildAt(dialog, kOldPassword)));
  TypeInto(ChildAt(dialog, kNewPassword), "Tiger7");
  TypeInto(ChildAt(dialog, kConfirmPassword), "Tiger7");
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "ShowDisp"), "Tiger7");

  // Changed with the right old one; the edits are empty again.
  PasswordCommand();
  ASSERT_TRUE(ShownDialog("TnPassfunction"));
  EXPECT_TRUE(IsWindowVisible(ChildAt(dialog, kOldPassword)));
  EXPECT_EQ(Text(ChildAt(dialog, kNewPassword)), "");
  TypeInto(ChildAt(dialog, kOldPassword), "Tiger7");
  TypeInto(ChildAt(dialog, kNewPassword), "lion");
  TypeInto(ChildAt(dialog, kConfirmPassword), "lion");
  Click(ChildAt(dialog, kPasswordOk));
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "ShowDisp"), "lion");

  // A wrong old one: the error, nothing written, the dialog stays until Esc.
  PasswordCommand();
  ASSERT_TRUE(ShownDialog("TnPassfunction"));
  TypeInto(ChildAt(dialog, kOldPassword), "Lion");
  TypeInto(ChildAt(dialog, kNewPassword), "x");
  TypeInto(ChildAt(dialog, kConfirmPassword), "x");
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().size() == 1; }, 5000));
  HWND box = MessageBoxes()[0];
  EXPECT_EQ(Text(box), "KORVAL Plus for Windows");
  EXPECT_EQ(BoxButtons(box), "OK");
  EXPECT_NE(BoxText(box).find("Set Password Error!!"), std::string::npos);
  EXPECT_FALSE(BoxHasIcon(box));
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "the box stands over the dialog";
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().empty(); }, 5000));
  // The dialog is in front again with its texts and the focus where they were: the keys go on to it.
  ExpectInFront(dialog, ChildAt(dialog, kConfirmPassword));
  EXPECT_EQ(Text(ChildAt(dialog, kOldPassword)), "Lion");
  EXPECT_EQ(Setting("Main", "ShowDisp"), "lion");
  Press(VK_ESCAPE);
  EXPECT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "ShowDisp"), "lion");
}

TEST_F(DialogsE2e, SelfTestThroughTheDialogForAUnitAboveTwenty) {
  WriteFileBytes(data_ + "KORVAL.ini", "[Main]\r\nTestFun=0\r\nTestTime=5\r\n");
  Start(Live(25));
  Click(ChildAt(window_, kSelfTestButton));
  HWND dialog = ShownDialog("TnselfTsetset");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Text(dialog), "Self Test");
  EXPECT_TRUE(Checked(ChildAt(dialog, kChoices[0])));
  Click(ChildAt(dialog, kChoices[2]));
  EXPECT_FALSE(IsWindowEnabled(ChildAt(dialog, kMinutes))) << "the minutes only with the timed test";
  Click(ChildAt(dialog, kChoices[1]));
  ASSERT_TRUE(IsWindowEnabled(ChildAt(dialog, kMinutes)));
  TypeInto(ChildAt(dialog, kMinutes), "1a23", "12");
  EXPECT_EQ(Text(ChildAt(dialog, kMinutes)), "12") << "two digits at most, letters dropped";
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "TestFun"), "1");
  EXPECT_EQ(Setting("Main", "TestTime"), "12");
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 1));

  // Cancel writes nothing and sends nothing.
  Click(ChildAt(window_, kSelfTestButton));
  ASSERT_TRUE(ShownDialog("TnselfTsetset"));
  EXPECT_TRUE(Checked(ChildAt(dialog, kChoices[1]))) << "the choice as it was left";
  Click(ChildAt(dialog, kChoices[3]));
  Click(ChildAt(dialog, kSelfTestCancel));
  ASSERT_TRUE(Hidden(dialog));
  // A tick of the window after the dialog closed: it hands over a requested self-test.
  ASSERT_TRUE(TicksShown());
  EXPECT_EQ(Setting("Main", "TestFun"), "1");
  EXPECT_TRUE(NoFurtherCommand(DataBuffRecord::kTestCommand, "command TestCommand 3", 1));
  EXPECT_EQ(Logged("command TestCommand 3"), 1);
}

// Unit type 20 takes the command at once: the record goes back as read with TestCommand 3, its rated voltage
// of 80 (shown as 115) unchanged.
TEST_F(DialogsE2e, SelfTestDirectForUnitTypeTwenty) {
  DataBuffRecord r = Live(20);
  r.SetRatedVoltage(80);
  Start(r);
  monitor_.Kill();  // so that the record stays as the panel writes it
  ASSERT_TRUE(monitor_.WaitExit(5000));
  SelfTestCommand();
  DataBuffRecord want = r;
  want.SetByte(DataBuffRecord::kTestCommand, 3);
  const std::string wanted(want.bytes.begin(), want.bytes.end());
  EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(data_ + "DATABuff.REC") == wanted; }, 5000));
  EXPECT_FALSE(FindWindowOfProcess("TnselfTsetset", panel_.Id()) &&
               IsWindowVisible(FindWindowOfProcess("TnselfTsetset", panel_.Id())));
  EXPECT_FALSE(FileExists(data_ + "KORVAL.ini")) << "TestFun and TestTime are left alone";

  // A monitor that comes up takes the command.
  monitor_ = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                            Quote(data_) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                            Quote(dir_.File("monitor.log")));
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 1));
}

TEST_F(DialogsE2e, GreenModeOffAndOn) {
  Start(Live(5));
  GreenModeCommand();
  HWND dialog = ShownDialog("TnGreenModeSetup");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(Text(dialog), "Green Mode Setup");
  EXPECT_TRUE(Checked(ChildAt(dialog, kGreenOn))) << "no GreenStatus yet: on";
  Click(ChildAt(dialog, kGreenOff));
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "1");
  EXPECT_TRUE(LoggedTimes("command GreenCommand 2", 1));

  GreenModeCommand();
  ASSERT_TRUE(ShownDialog("TnGreenModeSetup"));
  EXPECT_TRUE(Checked(ChildAt(dialog, kGreenOff)));
  Click(ChildAt(dialog, kGreenOn));
  Click(ChildAt(dialog, kGreenOk));
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "0");
  EXPECT_TRUE(LoggedTimes("command GreenCommand 2", 2));

  // Esc: nothing written, nothing sent.
  GreenModeCommand();
  ASSERT_TRUE(ShownDialog("TnGreenModeSetup"));
  Click(ChildAt(dialog, kGreenOff));
  Press(VK_ESCAPE);
  ASSERT_TRUE(Hidden(dialog));
  // OK hands the command over in its own handler, which has ended with the dialog.
  ASSERT_TRUE(Answers(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "0");
  EXPECT_TRUE(NoFurtherCommand(DataBuffRecord::kGreenCommand, "command GreenCommand 2", 2));
  EXPECT_EQ(Logged("command GreenCommand 2"), 2);
}

// The general error report over the green-mode dialog (another program holds the settings file when OK is
// pressed) leaves the dialog in front with its choice; OK once more sends it.
TEST_F(DialogsE2e, AnErrorReportLeavesItsDialogInFront) {
  Start(Live(5));
  GreenModeCommand();
  HWND dialog = ShownDialog("TnGreenModeSetup");
  ASSERT_TRUE(dialog);
  Click(ChildAt(dialog, kGreenOff));
  HANDLE held = CreateFileA((data_ + "KORVAL.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().size() == 1; }, 5000));
  HWND box = MessageBoxes()[0];
  EXPECT_EQ(Text(box), "KORVAL Plus for Windows");
  EXPECT_TRUE(BoxHasIcon(box));
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "the report stands over the dialog";
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().empty(); }, 5000));
  CloseHandle(held);
  ExpectInFront(dialog, ChildAt(dialog, kGreenOff));
  EXPECT_TRUE(Checked(ChildAt(dialog, kGreenOff)));
  EXPECT_EQ(Logged("command GreenCommand 2"), 0);
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "1");
  EXPECT_TRUE(LoggedTimes("command GreenCommand 2", 1));
}

// The three dialogs in the language of KORVAL_SHOT_LANGUAGE (English when unset) show that language file's
// texts; with KORVAL_SHOTS naming a folder, each one is saved there as a picture.
TEST_F(DialogsE2e, DialogsShowTheTextsOfTheLanguage) {
  const char* chosen = std::getenv("KORVAL_SHOT_LANGUAGE");
  const int language = chosen ? std::atoi(chosen) : 0;
  std::string shots = std::getenv("KORVAL_SHOTS") ? std::getenv("KORVAL_SHOTS") : "";
  if (!shots.empty() && shots.back() != '\\') shots += '\\';
  WriteFileBytes(data_ + "KORVAL.ini",
                 "[Main]\r\nLanguage=" + std::to_string(language) + "\r\nShowDisp=pw\r\n");
  const LanguageFile file = LanguageFile::Load(program_ + LanguageFileName(language));
  Start(Live(25));
  // The UPS Setup menu item comes with the second read of a unit type 22..27, with its button.
  ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
  const std::string tag = "-" + std::to_string(language);

  PasswordCommand(true);
  HWND pass = ShownDialog("TnPassfunction");
  ASSERT_TRUE(pass);
  EXPECT_EQ(Text(pass), file.Text("Dis18"));
  const char* const labels[3] = {"Dis20", "Dis21", "Dis22"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Text(ChildAt(pass, kPasswordLabels[i])), file.Text(labels[i]));
  EXPECT_EQ(Text(ChildAt(pass, kPasswordOk)), file.Text("OK"));
  EXPECT_EQ(Text(ChildAt(pass, kPasswordCancel)), file.Text("Cancel"));
  EXPECT_TRUE(IsWindowVisible(ChildAt(pass, kOldPassword)));
  TypeInto(ChildAt(pass, kNewPassword), "abc");
  if (!shots.empty()) SaveShot(pass, shots, "password" + tag);
  Press(VK_ESCAPE);
  ASSERT_TRUE(Hidden(pass));

  Click(ChildAt(window_, kSelfTestButton));
  HWND self = ShownDialog("TnselfTsetset");
  ASSERT_TRUE(self);
  EXPECT_EQ(Text(self), file.Text("Dis12"));
  const char* const choices[4] = {"Dis23", "Dis24", "Dis25", "Dis26"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Text(ChildAt(self, kChoices[i])), file.Text(choices[i]));
  if (!shots.empty()) SaveShot(self, shots, "selftest" + tag);
  Press(VK_ESCAPE);
  ASSERT_TRUE(Hidden(self));

  GreenModeCommand(true);
  HWND green = ShownDialog("TnGreenModeSetup");
  ASSERT_TRUE(green);
  EXPECT_EQ(Text(green), file.Text("Dis34"));
  EXPECT_EQ(Text(ChildAt(green, kGreenOn)), file.Text("Dis33"));
  EXPECT_EQ(Text(ChildAt(green, kGreenOff)), file.Text("Dis32"));
  EXPECT_EQ(Text(ChildAt(green, kGreenCancel)), file.Text("Cancel"));
  if (!shots.empty()) SaveShot(green, shots, "greenmode" + tag);
  Press(VK_ESCAPE);
  EXPECT_TRUE(Hidden(green));
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace korval::e2e
