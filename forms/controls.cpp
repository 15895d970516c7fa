#include "controls.h"

#include "application.h"
#include "backend.h"

namespace korval::forms {

namespace {
Backend& BackendOf(Form& form) { return form.App().GetBackend(); }
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
  if (v == visible_) return;
  visible_ = v;
  Notify(Change::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Notify(Change::Enabled);
}

void Control::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  AdjustSize();
  Notify(Change::Text);
}

void Control::SetHint(const std::string& text) {
  if (text == hint_) return;
  hint_ = text;
  Notify(Change::Hint);
}

void Control::SetShowHint(bool v) {
  if (v == showHint_) return;
  showHint_ = v;
  Notify(Change::Hint);
}

void Control::SetFont(const forms::Font& f) {
  if (f == font_) return;
  font_ = f;
  AdjustSize();
  Notify(Change::Look);
}

void Control::SetFontName(const std::string& name) {
  forms::Font f = font_;
  f.name = name;
  SetFont(f);
}

void Control::SetColor(Color c) {
  if (c == color_) return;
  color_ = c;
  Notify(Change::Look);
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

Label::Label(Form& form, WinControl* parent, std::string name)
    : GraphicControl(form, parent, std::move(name)) {}

void Label::SetAlignment(Alignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Notify(Change::Look);
}

void Label::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Notify(Change::Look);
}

void Label::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustSize();
}

void Label::AdjustSize() {
  if (!autoSize_) return;
  const Size s = BackendOf(OwnerForm()).MeasureText(Font(), Caption());
  SetBounds(Left(), Top(), s.width, s.height);
}

void Image::SetPicture(const Bitmap& picture) {
  if (picture == picture_) return;
  picture_ = picture;
  PictureChanged();
}

void Image::SetPicture(Bitmap&& picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  PictureChanged();
}

void Image::PictureChanged() {
  AdjustSize();
  Notify(Change::Look);
}

void Image::LoadPicture(const std::string& resource) {
  if (auto bytes = BackendOf(OwnerForm()).ResourceBytes(resource)) {
    if (auto picture = DecodePicture(*bytes)) SetPicture(std::move(*picture));
  }
}

void Image::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  Notify(Change::Look);
}

void Image::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  Notify(Change::Look);
}

void Image::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustSize();
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
  if (a == alignment_) return;
  alignment_ = a;
  Notify(Change::Look);
}

void StaticText::SetAlignment(Alignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Notify(Change::Look);
}

void BitBtn::LoadGlyph(const std::string& resource) {
  if (auto bytes = BackendOf(OwnerForm()).ResourceBytes(resource)) {
    if (auto picture = DecodePicture(*bytes)) SetGlyph(*picture);
  }
}

void BitBtn::SetGlyph(const Bitmap& glyph) {
  if (glyph == glyph_) return;
  glyph_ = glyph;
  Notify(Change::Look);
}

void BitBtn::SetLayout(GlyphLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Notify(Change::Look);
}

void MenuItem::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  Changed();
}

void MenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void MenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
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
  if (ms == interval_) return;
  interval_ = ms;
  BackendOf(form_).TimerChanged(*this);
}

void Timer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  BackendOf(form_).TimerChanged(*this);
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

MenuItem* Form::AdoptMenuItem(std::unique_ptr<MenuItem> item) {
  MenuItem* raw = item.get();
  components_.push_back(std::move(item));
  return raw;
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
