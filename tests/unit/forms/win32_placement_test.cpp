// Where the Win32 backend opens a form (win32 build, under Wine): a centred form lies in the middle of the
// screen even when a taskbar leaves a smaller work area; a form whose menu bar wraps is centred at its full
// size.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "application.h"
#include "win32_backend.h"

namespace korval::forms {
namespace {

// Sets a smaller work area for one test, as a taskbar at the top left would leave, and restores the old.
class SmallerWorkArea {
 public:
  SmallerWorkArea() {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
    RECT smaller{200, 120, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &smaller, 0);
  }
  ~SmallerWorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
  SmallerWorkArea(const SmallerWorkArea&) = delete;
  SmallerWorkArea& operator=(const SmallerWorkArea&) = delete;

 private:
  RECT saved_{};
};

class PlacedForm : public Form {
 public:
  PlacedForm(Application& app, bool centred, bool menu) : Form(app, "TPlacementTest", "PlacementTest") {
    SetCaption("Placement");
    SetClientSize(400, 300);
    SetCentered(centred);
    // Enough top-level items that the bar wraps to a second line, which takes client height.
    for (int i = 0; menu && i < 12; ++i)
      Menu().Add("Item" + std::to_string(i), "&Settings " + std::to_string(i));
  }
};

TEST(Win32Placement, CentredFormsLieInTheMiddleOfTheScreen) {
  SmallerWorkArea taskbar;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_EQ(work.left, 200) << "the work area could not be set";
  const int screenX = GetSystemMetrics(SM_CXSCREEN) / 2, screenY = GetSystemMetrics(SM_CYSCREEN) / 2;

  for (bool menu : {false, true}) {
    SCOPED_TRACE(menu ? "with a wrapping menu bar" : "without a menu bar");
    Win32Backend backend{GetModuleHandleA(nullptr)};
    FakeSystem system;
    Application app{backend, system};
    PlacedForm& form = app.CreateForm<PlacedForm>(true, menu);
    HWND hwnd = Win32Backend::WindowOf(form);
    RECT outer, client;
    GetWindowRect(hwnd, &outer);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_NEAR((outer.left + outer.right) / 2, screenX, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, screenY, 1);
  }
}

}  // namespace
}  // namespace korval::forms
