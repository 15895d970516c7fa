// What a tick asks the window system to repaint: the clock alone when only the clock moves, and of a dial only
// the pixels that a new needle changes.
#include <vector>

#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

class RecordingBackend : public forms::HeadlessBackend {
 public:
  struct Entry {
    forms::Control* control;
    forms::Change what;
    forms::Rect area;
  };
  void ControlChanged(forms::Control& c, forms::Change what, const forms::Rect& area) override {
    changes.push_back(Entry{&c, what, area});
    HeadlessBackend::ControlChanged(c, what, area);
  }
  std::vector<Entry> changes;
};

class Repaint : public PanelTest {
 protected:
  void StartRecorded() {
    recorder.resources = backend.resources;
    app = std::make_unique<forms::Application>(recorder, system);
    form = &app->CreateForm<CountingPanel>();
    form->Show();
  }
  // The window goes before the backend it was made on.
  void TearDown() override { app.reset(); }
  RecordingBackend recorder;
};

TEST_F(Repaint, ATickThatMovesOnlyTheClockRepaintsOnlyTheClock) {
  StartRecorded();
  const DataBuffRecord r = Live(5);
  Tick(r);
  Tick(r);
  recorder.changes.clear();
  system.now += 1.0 / 86400;
  Tick(r);
  ASSERT_FALSE(recorder.changes.empty());
  for (const auto& c : recorder.changes) EXPECT_EQ(c.control, form->Label25) << c.control->Name();
}

TEST_F(Repaint, ANewNeedleRepaintsThePixelsThatChanged) {
  StartRecorded();
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kLoadPercent, 40);
  Tick(r);
  const forms::Bitmap before = form->Image3->Picture();
  recorder.changes.clear();
  r.SetByte(DataBuffRecord::kLoadPercent, 60);
  Tick(r);
  const forms::Bitmap& after = form->Image3->Picture();

  int left = after.Width(), top = after.Height(), right = -1, bottom = -1;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x)
      if (!(before.Pixel(x, y) == after.Pixel(x, y))) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0);
  const forms::Rect changed{form->Image3->Left() + left, form->Image3->Top() + top, right - left + 1,
                            bottom - top + 1};
  int reports = 0;
  for (const auto& c : recorder.changes) {
    if (c.control != form->Image3) continue;
    ++reports;
    EXPECT_EQ(c.area, changed);
  }
  EXPECT_EQ(reports, 1);
  EXPECT_LT(changed.width * changed.height, 140 * 140 / 4) << "a needle is a small part of its dial";
}

}  // namespace
}  // namespace korval::statuspanel::test
