#pragma once
// The Win32 backend: a real window for every form and windowed control, graphic controls painted by their
// parent in creation order through one back buffer (no flicker when a tick changes a few of them), window
// timers, menu bars, hints on hover, and the message loop with the application's hooks.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "backend.h"
#include "win32/gdi.h"

namespace korval::forms {

class Win32Backend : public Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;

  void FormCreated(Form& form) override;
  void FormDestroyed(Form& form) override;
  void ControlChanged(Control& control, Change what, const Rect& area) override;
  void MenuChanged(Form& form) override;
  void TimerChanged(Timer& timer) override;
  void ShowForm(Form& form) override;
  void HideForm(Form& form) override;
  void MainFormClosed(Form& form) override;
  Size MeasureText(const Font& font, const std::string& text) override;
  Color GetSystemColor(SystemColor which) override;
  std::optional<std::string> ResourceBytes(const std::string& name) override;
  void RunMessageLoop(Application& app) override;
  void Terminate() override;
  MessageResult ShowMessageBox(const Form* owner, const std::string& caption, const std::string& text,
                               MessageButtons buttons, MessageIcon icon) override;
  void FocusControl(WinControl& control) override;
  bool ExecuteSaveDialog(SaveDialog& dialog) override;
  bool ShowInputBox(const std::string& caption, const std::string& prompt, std::string& value) override;

  // The window of a form or windowed control; nullptr before it exists.
  static HWND WindowOf(const WinControl& control);
  // GDI objects that the backend holds at this moment (fonts and the back buffer); constant over a run.
  int HeldGdiObjects() const;
  // Paints a window's client area into `dc`, as WM_PAINT would (used for WM_PRINTCLIENT too).
  // Only `area` (nullptr: all of it) is painted.
  void PaintClient(WinControl& control, HDC dc, const RECT* area);

 private:
  struct Window;
  struct Peer;
  struct DialogState;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp);
  Window* Find(HWND hwnd) const;

  void CreateChildren(WinControl& parent, HWND parentWindow);
  void RegisterClassOnce(const std::string& name, WNDPROC proc, bool icon);
  void SizeFormWindow(Form& form, bool place);
  void RebuildMenu(Form& form);
  void InvalidateGraphic(Control& control, const Rect& area);
  bool QueuePaint(const WinControl& parent, const Rect& area);
  void PaintChanges(Form& form, Window& w);
  void PaintWaitingChanges();
  // No window under `parent` (whose client area lies at dx, dy) that paints itself otherwise shows in `r`.
  static bool OnlyInPlaceIn(const WinControl& parent, int dx, int dy, const RECT& r);
  void PaintTree(WinControl& control, HDC dc, int dx, int dy);
  void PaintContent(WinControl& control, HDC dc, int dx, int dy);
  void PaintGraphics(WinControl& parent, HDC dc, int dx, int dy);
  void PaintLabel(const class Label& label, HDC dc, const RECT& r);
  void PaintImage(const class Image& image, HDC dc, const RECT& r);
  void PaintText(const Control& c, HDC dc, RECT r, UINT format);
  void BlitBitmap(HDC dc, const Bitmap& bitmap, int x, int y, int width, int height);
  void BlitPart(HDC dc, const Bitmap& bitmap, int x, int y, int srcX, int srcY, int width, int height);
  HDC BackBuffer(int width, int height);
  void TrimBackBuffer();
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(Color c);
  void Fill(HDC dc, const RECT& r, Color c);

  LRESULT ControlColour(HDC dc, HWND child);
  void DialogKeys(const MSG& msg, bool& eaten);
  // The window that a modal box of `form`'s stands over: the form's, else the main form's, while shown.
  HWND OwnerWindow(const Form* form) const;
  MessageResult AskYesNo(HWND owner, const std::string& caption, const std::string& text);
  INT_PTR RunDialog(DialogState& state, HWND owner);
  void LayOutDialog(HWND dialog, DialogState& state);

  void TrackHint(const MSG& msg);
  void HideHint();
  void ShowHintNow();
  HFONT HintFont();
  bool HintTargetUnderCursor() const;
  Control* HintTargetAt(Window& w, int x, int y);
  RECT ScreenRect(const Control& c) const;
  void KeyPreview(MSG& msg, bool& eaten);

  HINSTANCE instance_;
  Application* app_ = nullptr;
  std::vector<std::string> classes_;
  std::map<const WinControl*, std::unique_ptr<Window>> windows_;
  // Our windows by handle: a message's window is looked up here, never through data another class may keep.
  std::map<HWND, Window*> byWindow_;
  win32::FontCache fonts_;
  win32::BrushCache brushes_;
  HDC backDc_ = nullptr;
  win32::GdiObject<HBITMAP> backBitmap_;
  HGDIOBJ backOld_ = nullptr;
  int backWidth_ = 0, backHeight_ = 0;
  RECT clip_{};  // the part of the back buffer being painted
  HDC measureDc_ = nullptr;
  HFONT measureFont_ = nullptr;  // selected into measureDc_ (nullptr: none yet; measureOld_ goes back in)
  HGDIOBJ measureOld_ = nullptr;
  std::map<HFONT, int> fontHeights_;
  // Inside a timer's handler: changes wait for its end (the forms that have some in waiting_).
  int holdingPaints_ = 0;
  std::vector<Form*> waiting_;
  HWND hintWindow_ = nullptr;
  win32::GdiObject<HFONT> hintFont_;  // made at the first hint
  Control* hintTarget_ = nullptr;
  std::string hintText_;
  bool hintShown_ = false;
  DWORD hintShownAt_ = 0;
};

}  // namespace korval::forms
