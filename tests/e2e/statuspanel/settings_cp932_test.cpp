// The real status window on a settings file of a Japanese Windows (code page 932) that holds, inside [Main],
// a line whose last byte is "]" only as the second byte of a double-byte character: bytes 5B 92 8D 81 5D.
// The line opens no section, so the stored password is still found and guarded. Run in the ja_JP locale.
#include <gtest/gtest.h>

#include <string>

#include "dialogs_e2e.h"

namespace korval::e2e {
namespace {

const Place kOldPassword{191, 10, 121, 20}, kNewPassword{191, 50, 121, 20},
    kConfirmPassword{191, 90, 121, 20};
const char kSettings[] = "[Main]\r\nLanguage=3\r\n[\x92\x8D\x81\x5D\r\nShowDisp=pw\r\n";

using SettingsInCodePage932 = Dialogs;

TEST_F(SettingsInCodePage932, PasswordBehindALineEndingInATrailByteIsStillAskedFor) {
  ASSERT_EQ(GetACP(), 932u) << "this test runs in the locale of a Japanese Windows";
  WriteFileBytes(data_ + "KORVAL.ini", kSettings);
  Start(Live(5));
  PasswordCommand();
  HWND dialog = ShownDialog("TnPassfunction");
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(IsWindowVisible(ChildAt(dialog, kOldPassword))) << "the old-password row shows";

  // Without the old password the change is refused and the file stays.
  TypeInto(ChildAt(dialog, kNewPassword), "new");
  TypeInto(ChildAt(dialog, kConfirmPassword), "new");
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().size() == 1; }, 5000));
  Press(VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().empty(); }, 5000));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(ReadFileBytes(data_ + "KORVAL.ini"), kSettings);

  // With it, the entry is replaced where it stands: one ShowDisp line, the Japanese line kept.
  SetForegroundWindow(dialog);
  TypeInto(ChildAt(dialog, kOldPassword), "pw");
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(ReadFileBytes(data_ + "KORVAL.ini"),
            "[Main]\r\nLanguage=3\r\n[\x92\x8D\x81\x5D\r\nShowDisp=new\r\n\r\n");
}

}  // namespace
}  // namespace korval::e2e
