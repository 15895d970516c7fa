// Dialogs: the message box, the Yes/No question, the input box and the save-file dialog.
#include <windows.h>
// The common dialogs after windows.h, which they build on.
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32_window.h"

namespace korval::forms {

using namespace win32;

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

}  // namespace

MessageResult Win32Backend::ShowMessageBox(const Form* form, const std::string& caption,
                                           const std::string& text, MessageButtons buttons,
                                           MessageIcon icon) {
  PaintWaitingChanges();  // the window as things stand, under the box
  HWND owner = OwnerWindow(form);
  MessageResult answer = MessageResult::Ok;
  if (buttons == MessageButtons::YesNo) {
    // The system's Yes/No box takes no Esc: ours answers No to it.
    answer = AskYesNo(owner, caption, text);
  } else {
    UINT flags = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    if (icon == MessageIcon::Error) flags |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) flags |= MB_ICONINFORMATION;
    if (icon == MessageIcon::Question) flags |= MB_ICONQUESTION;
    HideHint();
    answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags) == IDOK ? MessageResult::Ok
                                                                              : MessageResult::Cancel;
  }
  // The form goes on where the user left it; its focus comes back with its activation.
  if (owner && IsWindowVisible(owner) && GetForegroundWindow() != owner) SetForegroundWindow(owner);
  return answer;
}

HWND Win32Backend::OwnerWindow(const Form* form) const {
  if (!form && app_) form = app_->MainForm();
  HWND owner = form ? WindowOf(*form) : nullptr;
  if ((!owner || !IsWindowVisible(owner)) && app_ && app_->MainForm() && form != app_->MainForm())
    owner = WindowOf(*app_->MainForm());
  return owner && IsWindowVisible(owner) ? owner : nullptr;
}

bool Win32Backend::ExecuteSaveDialog(SaveDialog& dialog) {
  std::string filter;
  for (const auto& pair : dialog.FilterPairs()) {
    filter += pair.first;
    filter += '\0';
    filter += pair.second;
    filter += '\0';
  }
  filter += '\0';
  std::vector<char> file(4096, '\0');
  const std::string proposal = dialog.FileName().substr(0, file.size() - 1);
  std::memcpy(file.data(), proposal.data(), proposal.size());
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = WindowOf(dialog.OwnerForm());
  ofn.hwndOwner = owner && IsWindowVisible(owner) ? owner : nullptr;
  ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dialog.InitialDir().empty() ? nullptr : dialog.InitialDir().c_str();
  ofn.lpstrTitle = dialog.Title().empty() ? nullptr : dialog.Title().c_str();
  ofn.lpstrDefExt = dialog.DefaultExt().empty() ? nullptr : dialog.DefaultExt().c_str();
  // The current folder stays: data files named relative to it must not move with the user's browsing.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  HideHint();
  using GetSaveFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
  static const auto getSaveFileName =
      LoadOnFirstUse<GetSaveFileNameFunction>("comdlg32.dll", "GetSaveFileNameA");
  if (!getSaveFileName || !getSaveFileName(&ofn)) return false;
  dialog.SetFileName(file.data());
  return true;
}

struct Win32Backend::DialogState {
  enum Kind { Question, Input } kind;
  std::string caption, text, value;
  MessageResult answer = MessageResult::No;
  bool ok = false;
  Win32Backend* backend = nullptr;
  HWND edit = nullptr;
};

INT_PTR Win32Backend::RunDialog(DialogState& state, HWND owner) {
  state.backend = this;
  // An empty template: the controls are made in pixels when the dialog starts.
  std::vector<WORD> t(64, 0);
  auto* tmpl = reinterpret_cast<DLGTEMPLATE*>(t.data());
  tmpl->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER;
  tmpl->cx = 100;
  tmpl->cy = 50;
  // After the header: no menu, the standard class, an empty title (set when it starts).
  HideHint();
  return DialogBoxIndirectParamA(instance_, tmpl, owner, DialogProc, reinterpret_cast<LPARAM>(&state));
}

void Win32Backend::LayOutDialog(HWND dialog, DialogState& state) {
  SetWindowTextW(dialog, Wide(state.caption).c_str());
  HFONT font = FontFor(Font{});
  auto make = [&](const char* cls, const std::string& text, DWORD style, int id, int x, int y, int w, int h,
                  DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  // The text's size, wrapped at 400 pixels.
  RECT textBox{0, 0, 400, 0};
  {
    Selected f(measureDc_, font);
    DrawTextA(measureDc_, state.text.c_str(), static_cast<int>(state.text.size()), &textBox,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int textWidth = std::max<int>(textBox.right, 1), textHeight = std::max<int>(textBox.bottom, 13);
  int width = 0, height = 0;
  const int buttonW = 75, buttonH = 25;
  if (state.kind == DialogState::Question) {
    HWND icon = make("STATIC", "", SS_ICON, -1, 12, 12, 32, 32);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
    make("STATIC", state.text, SS_LEFT | SS_NOPREFIX, -1, 56, 12 + std::max(0, (32 - textHeight) / 2),
         textWidth, textHeight);
    width = std::max(56 + textWidth + 12, 2 * buttonW + 3 * 12);
    const int buttonsTop = 12 + std::max(32, textHeight) + 16;
    height = buttonsTop + buttonH + 12;
    const int left = (width - (2 * buttonW + 8)) / 2;
    HWND yes =
        make("BUTTON", "&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP, IDYES, left, buttonsTop, buttonW, buttonH);
    make("BUTTON", "&No", BS_PUSHBUTTON | WS_TABSTOP, IDNO, left + buttonW + 8, buttonsTop, buttonW, buttonH);
    SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
    SetFocus(yes);
  } else {
    width = std::max(textWidth, 240) + 2 * 12;
    make("STATIC", state.text, SS_LEFT | SS_NOPREFIX, -1, 12, 12, width - 24, textHeight);
    const int editTop = 12 + textHeight + 6;
    state.edit = make("EDIT", state.value, ES_AUTOHSCROLL | WS_TABSTOP, 100, 12, editTop, width - 24, 21,
                      WS_EX_CLIENTEDGE);
    SendMessageA(state.edit, EM_LIMITTEXT, 255, 0);
    const int buttonsTop = editTop + 21 + 14;
    height = buttonsTop + buttonH + 12;
    const int left = (width - (2 * buttonW + 8)) / 2;
    make("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, left, buttonsTop, buttonW, buttonH);
    make("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, left + buttonW + 8, buttonsTop, buttonW,
         buttonH);
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    SetFocus(state.edit);
    SendMessageA(state.edit, EM_SETSEL, 0, -1);
  }
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  const int ow = outer.right - outer.left, oh = outer.bottom - outer.top;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - ow) / 2,
               work.top + (work.bottom - work.top - oh) / 2, ow, oh, SWP_NOZORDER);
}

INT_PTR CALLBACK Win32Backend::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* state = reinterpret_cast<DialogState*>(lp);
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    state->backend->LayOutDialog(hwnd, *state);
    return FALSE;  // the focus is set
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!state || msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return FALSE;
  switch (LOWORD(wp)) {
    case IDYES:
      state->answer = MessageResult::Yes;
      state->ok = true;
      break;
    case IDOK:
      state->ok = true;
      state->answer = MessageResult::Yes;
      if (state->edit) state->value = WindowText(state->edit);
      break;
    case IDNO:
    case IDCANCEL:  // Esc and the close box
      state->answer = MessageResult::No;
      state->ok = false;
      break;
    default:
      return FALSE;
  }
  EndDialog(hwnd, LOWORD(wp));
  return TRUE;
}

MessageResult Win32Backend::AskYesNo(HWND owner, const std::string& caption, const std::string& text) {
  DialogState state;
  state.kind = DialogState::Question;
  state.caption = caption;
  state.text = text;
  MessageBeep(MB_ICONQUESTION);
  if (RunDialog(state, owner) <= 0) return MessageResult::No;
  return state.answer;
}

bool Win32Backend::ShowInputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  DialogState state;
  state.kind = DialogState::Input;
  state.caption = caption;
  state.text = prompt;
  state.value = value;
  if (RunDialog(state, OwnerWindow(app_ ? app_->HandlerForm() : nullptr)) <= 0 || !state.ok) return false;
  value = state.value;
  return true;
}

}  // namespace korval::forms
