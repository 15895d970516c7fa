#pragma once
// The Win32 backend's own window classes and the messages that it posts to its windows (private to its
// sources).
#include <windows.h>

namespace korval::forms::win32 {

inline constexpr char kPanelClass[] = "KorvalPanel";
inline constexpr char kStaticTextClass[] = "KorvalStaticText";
inline constexpr char kGridClass[] = "KorvalGrid";
inline constexpr char kSpinClass[] = "KorvalSpin";
inline constexpr char kHintClass[] = "KorvalHint";

// The command id of a form's first menu item; the others follow.
inline constexpr UINT kFirstMenuCommand = 100;

// To a form: its menu bar is built anew.
inline constexpr UINT kMenuRebuild = WM_APP + 1;
// To a form: the changes in waiting are painted in one go.
inline constexpr UINT kPaintChanges = WM_APP + 2;
// To a grid: its scroll bars and picture are brought up to date.
inline constexpr UINT kGridRefresh = WM_APP + 3;

}  // namespace korval::forms::win32
