#pragma once
// The components of a form as plain objects with properties. A backend (Win32 windows, or headless for tests)
// hears of every property change that it has to show; setting a property to the value it already has changes
// nothing and repaints nothing.
//
// Graphic controls (Label, Image) have no window: their parent paints them in creation order, later ones on
// top. Windowed controls (Panel, StaticText, the buttons, check boxes, edits, the grid, spin buttons and the
// form) are windows of their own and lie above the graphic controls of their parent; among themselves, later
// ones lie on top too. The Tab key visits windowed controls in their tab order, which is kept apart from that
// stacking order.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
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
enum class SystemColor {
  ButtonFace,
  ButtonShadow,
  ButtonHighlight,
  WindowText,
  InfoBackground,
  InfoText,
  Light3D  // the light edge of 3-D elements
};

// What changed, so that a backend does only the work it has to. Value: a control's own state (a box checked,
// grid cells, rows or scrolling, an edit's options).
enum class Change { Bounds, Visible, Enabled, Text, Look, Hint, Value };

// Keys that dialogs act on, by their virtual-key codes.
enum Key : std::uint16_t {
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40
};

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
  // The pointer moved over the control: the shift state (ShiftState) and the position in the control.
  std::function<void(Control&, unsigned shift, int x, int y)> OnMouseMove;
  // What a click does: runs OnClick (a check box toggles first, a radio button checks itself). The backends
  // call it for the user's clicks.
  virtual void Click();
  // The control takes the user's input: it and every parent up to the form are visible and enabled.
  bool CanTakeInput() const;

  // The position of this control in its form's client area.
  Rect BoundsInForm() const;

 protected:
  void Notify(Change what, const Rect& old);
  void Notify(Change what) { Notify(what, bounds_); }
  // Labels and pictures sized to their content recompute their size here.
  virtual void AdjustSize() {}
  // Runs after every change of the caption (an edit's text), made by the program or by the user.
  virtual void TextChanged() {}

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
  Bitmap picture_;
  bool center_ = false, stretch_ = false, autoSize_ = false;
};

// A control that is a window of its own and holds other controls.
class WinControl : public Control {
 public:
  WinControl(Form& form, WinControl* parent, std::string name);
  bool IsWindowed() const override { return true; }
  // Child controls in creation order.
  const std::vector<Control*>& Children() const { return children_; }
  // Windowed children in tab order; a new one comes last.
  const std::vector<WinControl*>& TabList() const { return tabList_; }
  // The place in the parent's tab order (0 first); -1 for a form. Setting it moves the control there.
  int TabOrder() const;
  void SetTabOrder(int position);
  // Tab stops to it (containers are entered whatever their own tab stop says).
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // Backend data of the window (its handle and what goes with it).
  void* handle = nullptr;

  // The pointer over the client area, for the graphic children. The topmost visible and enabled graphic child
  // whose rectangle holds (x, y), transparent or not; nullptr when there is none.
  Control* GraphicAt(int x, int y) const;
  // The pointer moved to (x, y): the graphic child under it hears of it (else this control), in its own
  // coordinates.
  void PointerMoved(int x, int y, unsigned shift);
  // The left button went down and up at (x, y): a graphic child is clicked when both happen over it.
  void PointerPressed(int x, int y);
  void PointerReleased(int x, int y);

 private:
  friend class Control;
  Control* pressed_ = nullptr;
  std::vector<Control*> children_;
  std::vector<WinControl*> tabList_;
  bool tabStop_ = false;
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

// A push button. Enter clicks the form's default button (or the button that has the focus), Esc its cancel
// button.
class ButtonControl : public WinControl {
 public:
  ButtonControl(Form& form, WinControl* parent, std::string name);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }

 private:
  bool default_ = false, cancel_ = false;
};

// A push button with its caption, drawn by the system.
class Button : public ButtonControl {
 public:
  using ButtonControl::ButtonControl;
};

// Center: the picture in the middle (the caption over it); Bottom: the picture at the foot; Left: the picture
// beside the caption, the two together in the middle.
enum class GlyphLayout { Center, Bottom, Left };

// A push button that shows a picture.
class BitBtn : public ButtonControl {
 public:
  using ButtonControl::ButtonControl;
  const Bitmap& Glyph() const { return glyph_; }
  void LoadGlyph(const std::string& resource);
  void SetGlyph(const Bitmap& glyph);
  GlyphLayout Layout() const { return layout_; }
  void SetLayout(GlyphLayout l);
  // A glyph of 2 pictures side by side holds the normal one and then the one shown while disabled.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);

 private:
  Bitmap glyph_;
  GlyphLayout layout_ = GlyphLayout::Center;
  int numGlyphs_ = 1;
};

// A check box. Every change of its state runs OnClick, whether the user or the program makes it.
class CheckBox : public WinControl {
 public:
  CheckBox(Form& form, WinControl* parent, std::string name);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  void Click() override;  // toggles

 private:
  bool checked_ = false;
};

// A radio button. The radio buttons of one parent form a group: checking one unchecks the others. Becoming
// checked runs OnClick (becoming unchecked runs nothing). Tab enters a group at its checked button (at its
// first one while none is), and the arrow keys move within it.
class RadioButton : public WinControl {
 public:
  using WinControl::WinControl;
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  void Click() override;  // checks

 private:
  bool checked_ = false;
};

// A single-line edit field. Its text is its caption; every change of it runs OnChange, whether typed or set
// by the program.
class Edit : public WinControl {
 public:
  Edit(Form& form, WinControl* parent, std::string name);
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  // The character shown for each one typed (a password field); 0 shows the text.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  // The most characters the user can type (the program may set more); 0: no limit of the edit's own.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  // The user changed the text to `text` (typing, pasting): refused while read-only, cut to MaxLength.
  void Typed(const std::string& text);
  std::function<void(Edit&)> OnChange;

 protected:
  void TextChanged() override;

 private:
  bool readOnly_ = false;
  char passwordChar_ = 0;
  int maxLength_ = 0;
};

// An edit with an input mask; the suite uses none, so it is an edit (its password character makes the
// password fields).
class MaskEdit : public Edit {
 public:
  using Edit::Edit;
};

// A grid of text cells that the user reads but does not edit: fixed rows at the top and fixed columns at the
// left stay in place while the rest scrolls by whole rows and columns.
class StringGrid : public WinControl {
 public:
  StringGrid(Form& form, WinControl* parent, std::string name);
  int ColCount() const { return colCount_; }
  void SetColCount(int n);
  // Rows beyond a smaller count lose their cells; new rows are empty.
  int RowCount() const { return rowCount_; }
  void SetRowCount(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int height);
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  // A cell's text; outside the grid the empty text, and a write there changes nothing.
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);
  // The first scrolling row shown under the fixed rows, and the first scrolling column.
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  // The current cell (never a fixed one while there are others).
  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCurrent(int col, int row);
  // Every cell as text: a tab between the cells of a row, CR LF after each row.
  std::string Text() const;

  // The changes made between BeginUpdate and the matching EndUpdate reach the backend as one, at the end: a
  // fill of thousands of rows costs the screen one refresh. GridUpdate pairs the two calls for a scope.
  void BeginUpdate() { ++updateDepth_; }
  void EndUpdate();

 private:
  void ClampPlaces();
  void Changed();
  std::size_t Index(int col, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col);
  }
  int colCount_ = 5, rowCount_ = 5, fixedRows_ = 1, fixedCols_ = 1, defaultColWidth_ = 64, rowHeight_ = 24;
  int topRow_ = 1, leftCol_ = 1, col_ = 1, row_ = 1;
  int updateDepth_ = 0;
  bool changedInUpdate_ = false;
  std::vector<int> colWidths_;
  std::vector<std::string> cells_;  // row after row, colCount_ cells each
};

class GridUpdate {
 public:
  explicit GridUpdate(StringGrid& grid) : grid_(grid) { grid_.BeginUpdate(); }
  ~GridUpdate() { grid_.EndUpdate(); }
  GridUpdate(const GridUpdate&) = delete;
  GridUpdate& operator=(const GridUpdate&) = delete;

 private:
  StringGrid& grid_;
};

// Two small buttons, one above the other, that step a value up and down. Holding a half pressed repeats its
// click after kFirstRepeatMs and then every kRepeatMs.
class SpinButton : public WinControl {
 public:
  static constexpr unsigned kFirstRepeatMs = 400, kRepeatMs = 100;
  using WinControl::WinControl;
  // The control that takes the focus when a half is pressed (the edit that shows the value).
  WinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(WinControl* control) { focusControl_ = control; }
  void ClickUp();
  void ClickDown();
  std::function<void(SpinButton&)> OnUpClick, OnDownClick;

 private:
  WinControl* focusControl_ = nullptr;
};

// The save-file dialog of the system, shown modal by Execute.
class SaveDialog : public Component {
 public:
  SaveDialog(Form& form, std::string name) : Component(std::move(name)), form_(form) {}
  Form& OwnerForm() const { return form_; }
  // The proposed name before Execute, the chosen one after it.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  // "Description|pattern|Description|pattern...", for example "XML File|*.xml".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter) { filter_ = filter; }
  std::vector<std::pair<std::string, std::string>> FilterPairs() const;
  // Added (after a point) to a name typed without an extension; empty: nothing is added.
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
  // Shows the dialog; true when the user chose a name (now in FileName), false when cancelled.
  bool Execute();

 private:
  Form& form_;
  std::string fileName_, filter_, defaultExt_, title_, initialDir_;
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
  // Dialog border: fixed size with the system menu only (no minimise or maximise box).
  bool DialogBorder() const { return dialogBorder_; }
  void SetDialogBorder(bool v) { dialogBorder_ = v; }
  bool Centered() const { return centered_; }
  void SetCentered(bool v) { centered_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  // The client area just holds the controls: as wide and as tall as their farthest right and bottom edges.
  void FitClientToControls();

  // Components: created in layout order, owned by the form.
  template <class T>
  T* Add(WinControl* parent, std::string name) {
    auto c = std::make_unique<T>(*this, parent ? parent : this, std::move(name));
    T* raw = c.get();
    components_.push_back(std::move(c));
    return raw;
  }
  Timer* AddTimer(std::string name, unsigned intervalMs, std::function<void()> onTimer);
  SaveDialog* AddSaveDialog(std::string name);
  MenuItem& Menu() { return menu_; }
  const MenuItem& Menu() const { return menu_; }
  const std::vector<Timer*>& Timers() const { return timers_; }
  MenuItem* AdoptMenuItem(std::unique_ptr<MenuItem> item);

  void Show();
  void Hide();
  // Runs OnClose; unless it answers None, the form is hidden (or, for the main form, the program ends).
  void Close();

  // The control that has (or, once the form is active, gets) the keyboard focus; nullptr: the form itself.
  WinControl* ActiveControl() const { return activeControl_; }
  // Moves the focus to a control of this form.
  void SetActiveControl(WinControl* control);
  // The backend's word that the focus has moved to `control` (nullptr: to the form itself).
  void FocusMoved(WinControl* control) { activeControl_ = control; }
  // The controls that Tab visits, in order: the tab stops that take input; containers are entered in their
  // own tab order, except those that take no input.
  std::vector<WinControl*> TabSequence() const;
  // The keys of a dialog: Tab and Shift+Tab move the focus along TabSequence, Enter clicks the focused button
  // or else the default button, Esc clicks the cancel button, Space clicks the focused button, check box or
  // radio button, and the arrow keys move the focus to the next (Down, Right) or previous (Up, Left) radio
  // button of the focused one's group, round at the ends, and check it as a click does. True when the key
  // was used.
  bool DialogKey(std::uint16_t key, unsigned shift);
  // The first default (cancel) button that takes input, or nullptr.
  ButtonControl* DefaultButton() const;
  ButtonControl* CancelButton() const;

  std::function<void()> OnCreate;
  std::function<void(CloseAction&)> OnClose;
  std::function<void(std::uint16_t& key, unsigned shift)> OnKeyDown;

 private:
  Application& app_;
  std::string className_;
  bool fixedSingle_ = true, dialogBorder_ = false, centered_ = true, keyPreview_ = false;
  WinControl* activeControl_ = nullptr;
  MenuItem menu_;
  std::vector<Timer*> timers_;
  std::vector<std::unique_ptr<Component>> components_;
};

}  // namespace korval::forms
