// The three dialogs of the status window have a sizing frame: made larger (dragged wider and higher, or as
// large as the screen), they show the form's colour in all the room they gained, never black or what lay
// there before.
#include <string>

#include "dialogs_e2e.h"

namespace korval::e2e {
namespace {

const Color kFormColour = Rgb(0xCC, 0xCC, 0xCC);

class GrownDialogs : public Dialogs {
 protected:
  // Pixels of the client area outside the layout's `width` x `height` that are not the form's colour.
  static int StrayPixels(const Bitmap& shot, int width, int height) {
    int n = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x)
        if ((x >= width || y >= height) && !(shot.Pixel(x, y) == kFormColour)) ++n;
    return n;
  }
  static SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
  }

  // Grows the shown dialog both ways and checks the room it gained; the dialog is left with Esc.
  void ExpectGrowsInItsColour(HWND dialog, const std::string& name) {
    ASSERT_NE(dialog, nullptr) << name;
    SCOPED_TRACE(name);
    const SIZE layout = ClientSize(dialog);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    // Dragged larger by its frame's corner, then as large as the screen (what maximising does under a window
    // manager; the test's display has none to carry it out).
    struct Grown {
      const char* how;
      RECT frame;
    };
    const Grown sizes[] = {{"dragged", {frame.left, frame.top, frame.right + 150, frame.bottom + 100}},
                           {"screen", {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}}};
    for (const Grown& g : sizes) {
      SCOPED_TRACE(g.how);
      const std::string how = g.how;
      SetWindowPos(dialog, nullptr, g.frame.left, g.frame.top, g.frame.right - g.frame.left,
                   g.frame.bottom - g.frame.top, SWP_NOZORDER);
      ASSERT_TRUE(WaitFor(
          [&] {
            const SIZE now = ClientSize(dialog);
            return now.cx >= layout.cx + 150 && now.cy >= layout.cy + 100;
          },
          5000));
      EXPECT_TRUE(BroughtToFront(dialog));
      Bitmap shot;
      const bool ok = WaitFor(
          [&] {
            shot = probe::CaptureClient(dialog);
            return StrayPixels(shot, layout.cx, layout.cy) == 0;
          },
          5000);
      probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\statuspanel\\grown-" + name + "-" + how + ".png",
                      probe::EncodePng(shot));
      EXPECT_TRUE(ok) << StrayPixels(shot, layout.cx, layout.cy) << " pixels of the gained room in "
                      << shot.Width() << " x " << shot.Height() << " are not the form's colour";
    }
    SetWindowPos(dialog, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER);
    ASSERT_TRUE(BroughtToFront(dialog));
    Press(VK_ESCAPE);
    EXPECT_TRUE(Hidden(dialog));
  }
};

TEST_F(GrownDialogs, EachDialogShowsItsColourInTheRoomItGains) {
  Start(Live(25));
  // The UPS Setup menu item comes with the second read of a unit type 22..27, with its button.
  ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
  PasswordCommand(true);
  ExpectGrowsInItsColour(ShownDialog("TnPassfunction"), "password");
  SelfTestCommand();
  ExpectGrowsInItsColour(ShownDialog("TnselfTsetset"), "selftest");
  GreenModeCommand(true);
  ExpectGrowsInItsColour(ShownDialog("TnGreenModeSetup"), "greenmode");
}

}  // namespace
}  // namespace korval::e2e
