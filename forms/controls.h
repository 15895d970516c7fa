#pragma once
// The components of a form as plain objects with properties. A backend (Win32 windows, or headless for tests)
// hears of every property change that it has to show; setting a property to the value it already has changes
// nothing and repaints nothing.
//
// Graphic controls (Label, Image) have no window: their parent paints them in creation order, later ones on
// top. Windowed controls (Panel, StaticText, BitBtn, and the form) are windows of their own and lie above the
// graphic controls of their parent; among themselves, later ones lie on top too.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"

namespace korval::forms {

class Application;
class Backend;
class Form;
class WinControl;

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Contains(int x, int y) const { return x >= left && y >= top && x < Right() && y < Bottom(); }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
  friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

struct Size {
  int width = 0, height = 0;
};

// A font by face name and character height in pixels.
struct Font {
  std::string name = "MS Sans Serif";
  int height = 11;
  bool bold = false;
  Color color{0, 0, 0};
  friend bool operator==(const Font& a, const Font& b) {
    return a.name == b.name && a.height == b.height && a.bold == b.bold && a.color == b.color;
  }
  friend bool operator!=(const Font& a, const Font& b) { return !(a == b); }
};

enum class Alignment { Left, Center, Right };
enum class SystemColor { ButtonFace, ButtonShadow, ButtonHighlight, WindowText, InfoBackground, InfoText };

// What changed, so that a backend does only the work it has to.
enum class Change { Bounds, Visible, Enabled, Text, Look, Hint };

class Component {
 public:
  explicit Component(std::string name) : name_(std::move(name)) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

class Control : public Component {
 public:
  Control(Form& form, WinControl* parent, std::string name);

  Form& OwnerForm() const { return form_; }
  WinControl* Parent() const { return parent_; }
  virtual bool IsWindowed() const { return false; }

  const Rect& Bounds() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int v) { SetBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  void SetWidth(int v) { SetBounds(bounds_.left, bounds_.top, v, bounds_.height); }
  void SetHeight(int v) { SetBounds(bounds_.left, bounds_.top, bounds_.width, v); }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // Shown on screen: this control and every parent up to the form visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& text);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);

  const forms::Font& Font() const { return font_; }
  void SetFont(const forms::Font& f);
  void SetFontName(const std::string& name);

  Color GetColor() const { return color_; }
  void SetColor(Color c);

  std::function<void(Control&)> OnClick;

  // The position of this control in its form's client area.
  Rect BoundsInForm() const;

 protected:
  void Notify(Change what, const Rect& old);
  void Notify(Change what) { Notify(what, bounds_); }
  // Labels and pictures sized to their content recompute their size here.
  virtual void AdjustSize() {}

 private:
  Form& form_;
  WinControl* parent_;
  Rect bounds_;
  bool visible_ = true, enabled_ = true, showHint_ = false;
  std::string caption_, hint_;
  forms::Font font_;
  Color color_{204, 204, 204};
};

// A control that its parent paints.
class GraphicControl : public Control {
 public:
  using Control::Control;
};

class Label : public GraphicControl {
 public:
  Label(Form& form, WinControl* parent, std::string name);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

 protected:
  void AdjustSize() override;

 private:
  Alignment alignment_ = Alignment::Left;
  bool transparent_ = false, autoSize_ = true;
};

class Image : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  const Bitmap& Picture() const { return picture_; }
  void SetPicture(const Bitmap& picture);
  void SetPicture(Bitmap&& picture);
  // The picture of the program's resource `name` (the backend knows where resources live); none: empty.
  void LoadPicture(const std::string& resource);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

 protected:
  void AdjustSize() override;

 private:
  void PictureChanged();
  Bitmap picture_;
  bool center_ = false, stretch_ = false, autoSize_ = false;
};

// A control that is a window of its own and holds other controls.
class WinControl : public Control {
 public:
  using Control::Control;
  bool IsWindowed() const override { return true; }
  // Child controls in creation order.
  const std::vector<Control*>& Children() const { return children_; }
  // Backend data of the window (its handle and what goes with it).
  void* handle = nullptr;

 private:
  friend class Control;
  std::vector<Control*> children_;
};

enum class Bevel { None, Lowered, Raised };
enum class BorderStyle { None, Single };

class Panel : public WinControl {
 public:
  using WinControl::WinControl;
  Bevel BevelInner() const { return bevelInner_; }
  Bevel BevelOuter() const { return bevelOuter_; }
  BorderStyle Border() const { return border_; }
  void SetBevels(Bevel inner, Bevel outer, BorderStyle border);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);

 private:
  Bevel bevelInner_ = Bevel::None, bevelOuter_ = Bevel::Raised;
  BorderStyle border_ = BorderStyle::None;
  Alignment alignment_ = Alignment::Center;
};

// A line of text in a window of its own; its background is what its parent shows beneath it.
class StaticText : public WinControl {
 public:
  using WinControl::WinControl;
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);

 private:
  Alignment alignment_ = Alignment::Left;
};

enum class GlyphLayout { Center, Bottom };

// A push button that shows a picture.
class BitBtn : public WinControl {
 public:
  using WinControl::WinControl;
  const Bitmap& Glyph() const { return glyph_; }
  void LoadGlyph(const std::string& resource);
  void SetGlyph(const Bitmap& glyph);
  GlyphLayout Layout() const { return layout_; }
  void SetLayout(GlyphLayout l);

 private:
  Bitmap glyph_;
  GlyphLayout layout_ = GlyphLayout::Center;
};

class MenuItem : public Component {
 public:
  MenuItem(Form& form, std::string name, std::string caption)
      : Component(std::move(name)), form_(form), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool IsSeparator() const { return caption_ == "-"; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  MenuItem* Add(std::string name, std::string caption, std::function<void(MenuItem&)> onClick = {});
  std::function<void(MenuItem&)> OnClick;

 private:
  void Changed();
  Form& form_;
  std::string caption_;
  bool visible_ = true, enabled_ = true;
  std::vector<MenuItem*> items_;
};

class Timer : public Component {
 public:
  Timer(Form& form, std::string name) : Component(std::move(name)), form_(form) {}
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  std::function<void()> OnTimer;
  // Backend data of the running timer.
  std::uintptr_t id = 0;

 private:
  Form& form_;
  unsigned interval_ = 1000;
  bool enabled_ = true;
};

enum class CloseAction { None, Hide, Free };
enum ShiftState : unsigned { kShift = 1, kAlt = 2, kCtrl = 4 };

// A top-level window. Its bounds are those of its client area; Left and Top count only once it is placed.
class Form : public WinControl {
 public:
  Form(Application& app, std::string className, std::string name);
  ~Form() override;

  Application& App() const { return app_; }
  const std::string& ClassName() const { return className_; }

  // Fixed border with the system menu and the minimise button only (not resizable, no maximise).
  bool FixedSingle() const { return fixedSingle_; }
  void SetFixedSingle(bool v) { fixedSingle_ = v; }
  bool Centered() const { return centered_; }
  void SetCentered(bool v) { centered_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

  // Components: created in layout order, owned by the form.
  template <class T>
  T* Add(WinControl* parent, std::string name) {
    auto c = std::make_unique<T>(*this, parent ? parent : this, std::move(name));
    T* raw = c.get();
    components_.push_back(std::move(c));
    return raw;
  }
  Timer* AddTimer(std::string name, unsigned intervalMs, std::function<void()> onTimer);
  MenuItem& Menu() { return menu_; }
  const MenuItem& Menu() const { return menu_; }
  const std::vector<Timer*>& Timers() const { return timers_; }
  MenuItem* AdoptMenuItem(std::unique_ptr<MenuItem> item);

  void Show();
  void Hide();
  // Runs OnClose; unless it answers None, the form is hidden (or, for the main form, the program ends).
  void Close();

  std::function<void()> OnCreate;
  std::function<void(CloseAction&)> OnClose;
  std::function<void(std::uint16_t& key, unsigned shift)> OnKeyDown;

 private:
  Application& app_;
  std::string className_;
  bool fixedSingle_ = true, centered_ = true, keyPreview_ = false;
  MenuItem menu_;
  std::vector<Timer*> timers_;
  std::vector<std::unique_ptr<Component>> components_;
};

}  // namespace korval::forms
