#include "controls.h"

#include <algorithm>

#include "application.h"
#include "backend.h"

namespace korval::forms {

namespace {
Backend& BackendOf(Form& form) { return form.App().GetBackend(); }

// Gives a property its new value; false when it had that one already, so that nobody is told of a change.
template <class T, class V>
bool Replace(T& field, const V& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

Control::Control(Form& form, WinControl* parent, std::string name)
    : Component(std::move(name)), form_(form), parent_(parent) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->Font();
    color_ = parent_->GetColor();
  }
}

void Control::SetBounds(int left, int top, int width, int height) {
  const Rect old = bounds_;
  Rect now{left, top, width < 0 ? 0 : width, height < 0 ? 0 : height};
  if (now == old) return;
  bounds_ = now;
  Notify(Change::Bounds, old);
}

void Control::SetVisible(bool v) {
  if (Replace(visible_, v)) Notify(Change::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::SetEnabled(bool v) {
  if (Replace(enabled_, v)) Notify(Change::Enabled);
}

void Control::SetCaption(const std::string& text) {
  if (!Replace(caption_, text)) return;
  AdjustSize();
  Notify(Change::Text);
  TextChanged();
}

void Control::Click() {
  if (OnClick) OnClick(*this);
}

bool Control::CanTakeInput() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void Control::SetHint(const std::string& text) {
  if (Replace(hint_, text)) Notify(Change::Hint);
}

void Control::SetShowHint(bool v) {
  if (Replace(showHint_, v)) Notify(Change::Hint);
}

void Control::SetFont(const forms::Font& f) {
  if (!Replace(font_, f)) return;
  AdjustSize();
  Notify(Change::Look);
}

void Control::SetFontName(const std::string& name) {
  forms::Font f = font_;
  f.name = name;
  SetFont(f);
}

void Control::SetColor(Color c) {
  if (Replace(color_, c)) Notify(Change::Look);
}

Rect Control::BoundsInForm() const {
  Rect r = bounds_;
  if (!parent_) return Rect{0, 0, r.width, r.height};
  for (const Control* p = parent_; p && p->parent_; p = p->parent_) {
    r.left += p->bounds_.left;
    r.top += p->bounds_.top;
  }
  return r;
}

void Control::Notify(Change what, const Rect& old) { BackendOf(form_).ControlChanged(*this, what, old); }

WinControl::WinControl(Form& form, WinControl* parent, std::string name)
    : Control(form, parent, std::move(name)) {
  if (parent) parent->tabList_.push_back(this);
}

Control* WinControl::GraphicAt(int x, int y) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->Enabled() && c->Bounds().Contains(x, y)) return c;
  }
  return nullptr;
}

void WinControl::PointerMoved(int x, int y, unsigned shift) {
  Control* target = GraphicAt(x, y);
  if (!target) target = this;
  const Rect at = target == this ? Rect{} : target->Bounds();
  if (target->OnMouseMove) target->OnMouseMove(*target, shift, x - at.left, y - at.top);
}

void WinControl::PointerPressed(int x, int y) { pressed_ = GraphicAt(x, y); }

void WinControl::PointerReleased(int x, int y) {
  Control* pressed = pressed_;
  pressed_ = nullptr;
  if (pressed && pressed == GraphicAt(x, y)) pressed->Click();
}

int WinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void WinControl::SetTabOrder(int position) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  const int last = static_cast<int>(list.size());
  list.insert(list.begin() + std::clamp(position, 0, last), this);
}

Label::Label(Form& form, WinControl* parent, std::string name)
    : GraphicControl(form, parent, std::move(name)) {}

void Label::SetAlignment(Alignment a) {
  if (Replace(alignment_, a)) Notify(Change::Look);
}

void Label::SetTransparent(bool v) {
  if (Replace(transparent_, v)) Notify(Change::Look);
}

void Label::SetAutoSize(bool v) {
  if (Replace(autoSize_, v)) AdjustSize();
}

void Label::AdjustSize() {
  if (!autoSize_) return;
  const Size s = BackendOf(OwnerForm()).MeasureText(Font(), Caption());
  SetBounds(Left(), Top(), s.width, s.height);
}

namespace {

// The smallest rectangle that holds every pixel in which two pictures of one size differ (empty when none
// do).
Rect DifferingPart(const Bitmap& a, const Bitmap& b) {
  const int width = a.Width(), height = a.Height();
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* pa = a.Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    const std::uint32_t* pb = b.Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    if (std::equal(pa, pa + width, pb)) continue;
    top = std::min(top, y);
    bottom = y;
    int x = 0;
    while (pa[x] == pb[x]) ++x;
    left = std::min(left, x);
    x = width - 1;
    while (pa[x] == pb[x]) --x;
    right = std::max(right, x);
  }
  if (bottom < 0) return Rect{};
  return Rect{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace

void Image::SetPicture(const Bitmap& picture) { SetPicture(Bitmap(picture)); }

void Image::SetPicture(Bitmap&& picture) {
  // A picture of the same size that is shown one pixel for one: only the part that differs needs painting
  // (a new needle on a dial is a small part of it).
  const Rect shown = Bounds();
  const bool samePlaces = !picture_.Empty() && picture.Width() == picture_.Width() &&
                          picture.Height() == picture_.Height() &&
                          (!stretch_ || (picture.Width() == shown.width && picture.Height() == shown.height));
  Rect part = shown;
  if (!samePlaces || !Showing()) {
    if (picture == picture_) return;
  } else {
    const Rect differs = DifferingPart(picture_, picture);
    if (differs.width == 0) return;  // the same picture
    const int x = shown.left + (center_ && !stretch_ ? (shown.width - picture.Width()) / 2 : 0);
    const int y = shown.top + (center_ && !stretch_ ? (shown.height - picture.Height()) / 2 : 0);
    const int left = std::max(shown.left, x + differs.left), top = std::max(shown.top, y + differs.top);
    const int right = std::min(shown.Right(), x + differs.Right()),
              bottom = std::min(shown.Bottom(), y + differs.Bottom());
    part = Rect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
  }
  picture_ = std::move(picture);
  AdjustSize();
  if (Bounds() != shown) part = Bounds();
  Notify(Change::Look, part);
}

void Image::LoadPicture(const std::string& resource) {
  if (auto bytes = BackendOf(OwnerForm()).ResourceBytes(resource)) {
    if (auto picture = DecodePicture(*bytes)) SetPicture(std::move(*picture));
  }
}

void Image::SetCenter(bool v) {
  if (Replace(center_, v)) Notify(Change::Look);
}

void Image::SetStretch(bool v) {
  if (Replace(stretch_, v)) Notify(Change::Look);
}

void Image::SetAutoSize(bool v) {
  if (Replace(autoSize_, v)) AdjustSize();
}

void Image::AdjustSize() {
  if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void Panel::SetBevels(Bevel inner, Bevel outer, BorderStyle border) {
  if (inner == bevelInner_ && outer == bevelOuter_ && border == border_) return;
  bevelInner_ = inner;
  bevelOuter_ = outer;
  border_ = border;
  Notify(Change::Look);
}

void Panel::SetAlignment(Alignment a) {
  if (Replace(alignment_, a)) Notify(Change::Look);
}

void StaticText::SetAlignment(Alignment a) {
  if (Replace(alignment_, a)) Notify(Change::Look);
}

ButtonControl::ButtonControl(Form& form, WinControl* parent, std::string name)
    : WinControl(form, parent, std::move(name)) {
  SetTabStop(true);
}

void ButtonControl::SetDefault(bool v) {
  if (Replace(default_, v)) Notify(Change::Value);
}

void BitBtn::SetNumGlyphs(int n) {
  n = std::max(n, 1);
  if (n == numGlyphs_) return;
  numGlyphs_ = n;
  Notify(Change::Look);
}

CheckBox::CheckBox(Form& form, WinControl* parent, std::string name)
    : WinControl(form, parent, std::move(name)) {
  SetTabStop(true);
}

void CheckBox::SetChecked(bool v) {
  if (!Replace(checked_, v)) return;
  Notify(Change::Value);
  if (OnClick) OnClick(*this);
}

void CheckBox::Click() { SetChecked(!checked_); }

void RadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  SetTabStop(v);
  Notify(Change::Value);
  if (!v) return;
  if (WinControl* parent = Parent())
    for (Control* c : parent->Children())
      if (auto* other = dynamic_cast<RadioButton*>(c); other && other != this) other->SetChecked(false);
  if (OnClick) OnClick(*this);
}

void RadioButton::Click() { SetChecked(true); }

Edit::Edit(Form& form, WinControl* parent, std::string name) : WinControl(form, parent, std::move(name)) {
  SetTabStop(true);
  SetColor(Rgb(255, 255, 255));
}

void Edit::SetReadOnly(bool v) {
  if (Replace(readOnly_, v)) Notify(Change::Value);
}

void Edit::SetPasswordChar(char c) {
  if (Replace(passwordChar_, c)) Notify(Change::Value);
}

void Edit::SetMaxLength(int n) {
  n = std::max(n, 0);
  if (n == maxLength_) return;
  maxLength_ = n;
  Notify(Change::Value);
}

void Edit::Typed(const std::string& text) {
  if (readOnly_) return;
  if (maxLength_ > 0 && text.size() > static_cast<std::size_t>(maxLength_))
    SetCaption(text.substr(0, static_cast<std::size_t>(maxLength_)));
  else
    SetCaption(text);
}

void Edit::TextChanged() {
  if (OnChange) OnChange(*this);
}

StringGrid::StringGrid(Form& form, WinControl* parent, std::string name)
    : WinControl(form, parent, std::move(name)), colWidths_(5, 64), cells_(5 * 5) {
  SetTabStop(true);
  SetColor(Rgb(255, 255, 255));
}

void StringGrid::Changed() {
  if (updateDepth_ > 0)
    changedInUpdate_ = true;
  else
    Notify(Change::Value);
}

void StringGrid::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0 || !changedInUpdate_) return;
  changedInUpdate_ = false;
  Notify(Change::Value);
}

void StringGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == colCount_) return;
  std::vector<std::string> cells(static_cast<std::size_t>(rowCount_) * static_cast<std::size_t>(n));
  const int kept = std::min(n, colCount_);
  for (int row = 0; row < rowCount_; ++row)
    for (int col = 0; col < kept; ++col)
      cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(n) + static_cast<std::size_t>(col)] =
          std::move(cells_[Index(col, row)]);
  cells_ = std::move(cells);
  colCount_ = n;
  colWidths_.resize(static_cast<std::size_t>(n), defaultColWidth_);
  if (fixedCols_ >= n) fixedCols_ = n - 1;
  ClampPlaces();
  Changed();
}

void StringGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == rowCount_) return;
  cells_.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(colCount_));
  rowCount_ = n;
  if (fixedRows_ >= n) fixedRows_ = n - 1;
  ClampPlaces();
  Changed();
}

void StringGrid::SetFixedRows(int n) {
  n = std::clamp(n, 0, RowCount() - 1);
  if (n == fixedRows_) return;
  fixedRows_ = n;
  ClampPlaces();
  Changed();
}

void StringGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, colCount_ - 1);
  if (n == fixedCols_) return;
  fixedCols_ = n;
  ClampPlaces();
  Changed();
}

void StringGrid::SetDefaultColWidth(int width) {
  width = std::max(width, 0);
  if (width == defaultColWidth_) return;
  defaultColWidth_ = width;
  std::fill(colWidths_.begin(), colWidths_.end(), width);
  Changed();
}

void StringGrid::SetDefaultRowHeight(int height) {
  height = std::max(height, 1);
  if (height == rowHeight_) return;
  rowHeight_ = height;
  Changed();
}

int StringGrid::ColWidth(int col) const {
  return col >= 0 && col < colCount_ ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

void StringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= colCount_) return;
  width = std::max(width, 0);
  int& w = colWidths_[static_cast<std::size_t>(col)];
  if (w == width) return;
  w = width;
  Changed();
}

const std::string& StringGrid::Cell(int col, int row) const {
  static const std::string kNone;
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return kNone;
  return cells_[Index(col, row)];
}

void StringGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
  std::string& cell = cells_[Index(col, row)];
  if (cell == text) return;
  cell = std::move(text);
  Changed();
}

void StringGrid::SetTopRow(int row) {
  const int before = topRow_;
  topRow_ = row;
  ClampPlaces();
  if (topRow_ != before) Changed();
}

void StringGrid::SetLeftCol(int col) {
  const int before = leftCol_;
  leftCol_ = col;
  ClampPlaces();
  if (leftCol_ != before) Changed();
}

void StringGrid::SetCurrent(int col, int row) {
  const int beforeCol = col_, beforeRow = row_;
  col_ = col;
  row_ = row;
  ClampPlaces();
  if (col_ != beforeCol || row_ != beforeRow) Changed();
}

void StringGrid::ClampPlaces() {
  const int lastRow = std::max(fixedRows_, rowCount_ - 1), lastCol = std::max(fixedCols_, colCount_ - 1);
  topRow_ = std::clamp(topRow_, fixedRows_, lastRow);
  row_ = std::clamp(row_, fixedRows_, lastRow);
  leftCol_ = std::clamp(leftCol_, fixedCols_, lastCol);
  col_ = std::clamp(col_, fixedCols_, lastCol);
}

std::string StringGrid::Text() const {
  std::size_t size = 0;
  for (const std::string& cell : cells_) size += cell.size() + 2;
  std::string out;
  out.reserve(size);
  for (int row = 0; row < rowCount_; ++row) {
    for (int col = 0; col < colCount_; ++col) {
      if (col) out += '\t';
      out += cells_[Index(col, row)];
    }
    out += "\r\n";
  }
  return out;
}

void SpinButton::ClickUp() {
  if (OnUpClick) OnUpClick(*this);
}

void SpinButton::ClickDown() {
  if (OnDownClick) OnDownClick(*this);
}

std::vector<std::pair<std::string, std::string>> SaveDialog::FilterPairs() const {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter_.find('|', start);
    parts.push_back(filter_.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
  return pairs;
}

bool SaveDialog::Execute() { return BackendOf(form_).ExecuteSaveDialog(*this); }

void BitBtn::LoadGlyph(const std::string& resource) {
  if (auto bytes = BackendOf(OwnerForm()).ResourceBytes(resource)) {
    if (auto picture = DecodePicture(*bytes)) SetGlyph(*picture);
  }
}

void BitBtn::SetGlyph(const Bitmap& glyph) {
  if (Replace(glyph_, glyph)) Notify(Change::Look);
}

void BitBtn::SetLayout(GlyphLayout l) {
  if (Replace(layout_, l)) Notify(Change::Look);
}

void MenuItem::SetCaption(const std::string& text) {
  if (Replace(caption_, text)) Changed();
}

void MenuItem::SetVisible(bool v) {
  if (Replace(visible_, v)) Changed();
}

void MenuItem::SetEnabled(bool v) {
  if (Replace(enabled_, v)) Changed();
}

MenuItem* MenuItem::Add(std::string name, std::string caption, std::function<void(MenuItem&)> onClick) {
  MenuItem* item =
      form_.AdoptMenuItem(std::make_unique<MenuItem>(form_, std::move(name), std::move(caption)));
  item->OnClick = std::move(onClick);
  items_.push_back(item);
  Changed();
  return item;
}

void MenuItem::Changed() { BackendOf(form_).MenuChanged(form_); }

void Timer::SetInterval(unsigned ms) {
  if (Replace(interval_, ms)) BackendOf(form_).TimerChanged(*this);
}

void Timer::SetEnabled(bool v) {
  if (Replace(enabled_, v)) BackendOf(form_).TimerChanged(*this);
}

Form::Form(Application& app, std::string className, std::string name)
    : WinControl(*this, nullptr, name), app_(app), className_(std::move(className)), menu_(*this, "", "") {
  SetVisible(false);
}

Form::~Form() { app_.GetBackend().FormDestroyed(*this); }

Timer* Form::AddTimer(std::string name, unsigned intervalMs, std::function<void()> onTimer) {
  auto t = std::make_unique<Timer>(*this, std::move(name));
  Timer* raw = t.get();
  raw->SetInterval(intervalMs);
  raw->OnTimer = std::move(onTimer);
  timers_.push_back(raw);
  components_.push_back(std::move(t));
  return raw;
}

SaveDialog* Form::AddSaveDialog(std::string name) {
  auto d = std::make_unique<SaveDialog>(*this, std::move(name));
  SaveDialog* raw = d.get();
  components_.push_back(std::move(d));
  return raw;
}

MenuItem* Form::AdoptMenuItem(std::unique_ptr<MenuItem> item) {
  MenuItem* raw = item.get();
  components_.push_back(std::move(item));
  return raw;
}

void Form::FitClientToControls() {
  int width = 0, height = 0;
  for (const Control* c : Children()) {
    width = std::max(width, c->Bounds().Right());
    height = std::max(height, c->Bounds().Bottom());
  }
  SetClientSize(width, height);
}

void Form::Show() {
  SetVisible(true);
  app_.GetBackend().ShowForm(*this);
}

void Form::Hide() {
  SetVisible(false);
  app_.GetBackend().HideForm(*this);
}

void Form::Close() {
  CloseAction action = app_.MainForm() == this ? CloseAction::Free : CloseAction::Hide;
  if (OnClose) OnClose(action);
  if (action == CloseAction::None) return;
  if (app_.MainForm() == this) {
    SetVisible(false);
    app_.GetBackend().MainFormClosed(*this);
  } else {
    Hide();
  }
}

}  // namespace korval::forms

namespace korval::forms {

namespace {

// The radio buttons of `parent` that take input, in tab order.
std::vector<RadioButton*> RadioGroup(const WinControl& parent) {
  std::vector<RadioButton*> group;
  for (WinControl* c : parent.TabList())
    if (auto* r = dynamic_cast<RadioButton*>(c); r && r->Visible() && r->Enabled()) group.push_back(r);
  return group;
}

// Where Tab enters a group: its checked button, or its first one while none is checked.
RadioButton* GroupEntry(const WinControl& parent) {
  const std::vector<RadioButton*> group = RadioGroup(parent);
  for (RadioButton* r : group)
    if (r->Checked()) return r;
  return group.empty() ? nullptr : group.front();
}

void CollectTabStops(const WinControl& parent, std::vector<WinControl*>& out) {
  RadioButton* entry = GroupEntry(parent);
  for (WinControl* c : parent.TabList()) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (dynamic_cast<RadioButton*>(c) ? c == entry : c->TabStop()) out.push_back(c);
    CollectTabStops(*c, out);
  }
}

ButtonControl* FindButton(const WinControl& parent, bool (ButtonControl::*flag)() const) {
  for (Control* c : parent.Children()) {
    if (!c->IsWindowed()) continue;
    if (auto* b = dynamic_cast<ButtonControl*>(c); b && (b->*flag)() && b->CanTakeInput()) return b;
    if (ButtonControl* inner = FindButton(static_cast<WinControl&>(*c), flag)) return inner;
  }
  return nullptr;
}

}  // namespace

void Form::SetActiveControl(WinControl* control) {
  activeControl_ = control;
  if (control) app_.GetBackend().FocusControl(*control);
}

std::vector<WinControl*> Form::TabSequence() const {
  std::vector<WinControl*> out;
  CollectTabStops(*this, out);
  return out;
}

ButtonControl* Form::DefaultButton() const { return FindButton(*this, &ButtonControl::Default); }
ButtonControl* Form::CancelButton() const { return FindButton(*this, &ButtonControl::Cancel); }

bool Form::DialogKey(std::uint16_t key, unsigned shift) {
  if (shift & (kAlt | kCtrl)) return false;
  WinControl* const focused = activeControl_ && activeControl_->CanTakeInput() ? activeControl_ : nullptr;
  auto* const radio = dynamic_cast<RadioButton*>(focused);
  if (key == kKeyTab) {
    const std::vector<WinControl*> order = TabSequence();
    if (order.empty()) return false;
    // A focused radio button counts as its group's place in the order, whichever of the group it is.
    WinControl* const from = radio ? GroupEntry(*radio->Parent()) : activeControl_;
    const auto at = std::find(order.begin(), order.end(), from);
    const bool back = (shift & kShift) != 0;
    WinControl* next = nullptr;
    if (at == order.end())
      next = back ? order.back() : order.front();
    else if (back)
      next = at == order.begin() ? order.back() : *(at - 1);
    else
      next = at + 1 == order.end() ? order.front() : *(at + 1);
    SetActiveControl(next);
    return true;
  }
  if (key == kKeyLeft || key == kKeyUp || key == kKeyRight || key == kKeyDown) {
    if (!radio) return false;
    const std::vector<RadioButton*> group = RadioGroup(*radio->Parent());
    const auto at = std::find(group.begin(), group.end(), radio);
    const auto count = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t step = key == kKeyRight || key == kKeyDown ? 1 : count - 1;
    RadioButton* next = group[static_cast<std::size_t>(((at - group.begin()) + step) % count)];
    SetActiveControl(next);
    next->Click();
    return true;
  }
  if (key == kKeySpace) {
    if (!radio && !dynamic_cast<ButtonControl*>(focused) && !dynamic_cast<CheckBox*>(focused)) return false;
    focused->Click();
    return true;
  }
  ButtonControl* target = nullptr;
  if (key == kKeyReturn) {
    target = dynamic_cast<ButtonControl*>(activeControl_);
    if (!target || !target->CanTakeInput()) target = DefaultButton();
  } else if (key == kKeyEscape) {
    target = CancelButton();
  }
  if (!target) return false;
  target->Click();
  return true;
}

}  // namespace korval::forms
