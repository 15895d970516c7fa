#pragma once
// The shutdown agent: process-wide state, the window procedure and its 100 ms timeline, the shutdown step,
// the closing rules for top-level windows (EnumerateWindow32) and the answers to save dialogs
// (EnumChildProc). Everything reaches the platform through `sys`.
#include <cstddef>
#include <cstdint>

#include "shutter_system.h"

namespace shutter {

// The longest path the platform allows (32767 characters and the terminator). The program folder, the
// save-name pattern and the name buffer are sized for it, so that no save name is ever cut.
constexpr std::size_t kPathSize = 32768;
constexpr const char kSaveNamePattern[] = "save\\save%.2d";
// The pattern doubles every "%" of the folder, so it may be up to twice as long.
constexpr std::size_t kProgramPathSize = 2 * kPathSize + sizeof kSaveNamePattern;
// A save name: the folder, "save\save", up to five digits, the terminator.
constexpr std::size_t kNameBufferSize = kPathSize + sizeof kSaveNamePattern;

constexpr std::uint32_t kShutoffRequest = win::WM_USER + 1;
constexpr WParam kShutoffWParam = 1;
constexpr LParam kShutoffLParam = 0x4444;
constexpr int kLastCloseTick = 49;
constexpr int kLastTick = 100;
constexpr std::uint32_t kTickMs = 100;

// Waits of the sends to other applications; all carry SMTO_ABORTIFHUNG.
constexpr std::uint32_t kPaintTimeoutMs = 1500, kCloseTimeoutMs = 500, kDialogEnterTimeoutMs = 250,
                        kYesKeyTimeoutMs = 750, kEnterKeyTimeoutMs = 500;
// The edit rules' sends (selection, replacement, Enter up) wait no longer than this for the control.
constexpr std::uint32_t kEditTimeoutMs = 1500;

// Key message parameters.
constexpr LParam kEnterDown = 0x001C0001, kEnterUp = LParam(std::int32_t(0xC01C0001u));
constexpr LParam kYDown = 0x00150001, kYUp = LParam(std::int32_t(0xC0150001u));
constexpr LParam kBackspaceKey = 0x000E0001, kAfxCharKey = 0x00100001;

// ---- process-wide state
extern System* sys;
extern char cPath[kPathSize];
extern char cProgramPath[kProgramPathSize];
extern OsVersionInfo osvi;
extern int fNTVer;
extern std::uintptr_t nTimer;
extern std::uint8_t bCount;
extern int fShutoff;
extern Handle hGlb;
extern std::uint32_t dVKey[256];
extern Hwnd hHistory;
extern std::uint16_t wSameNum;
extern std::uintptr_t lpNot;
extern std::uint8_t bTrace;
extern unsigned nTraceOver;  // save numbers past 255, once every name of bTrace's round is taken
extern Hwnd hOldEdit;
extern LParam nOldEditTick;         // the last tick on which hOldEdit got its name or was met again
extern std::uint16_t wOldEditSeen;  // on how many later ticks hOldEdit was met again
extern int Etl80Flag;

// The highest number a save name gets once every name of bTrace's round is taken.
constexpr unsigned kLastSaveNumber = 99999;

// Back to the state of a fresh process (for a second run in one test process).
void ResetState();

// The command line after the program name (quoted or not) and the blanks and tabs after it.
const char* ArgumentTail(const char* commandLine);

// The program: start, switch test, window, message loop. Returns the exit code.
int ShutterMain(System& system);

LResult WndProc(Hwnd hWnd, std::uint32_t message, WParam wParam, LParam lParam);
int EnumerateWindow32(Hwnd hWnd, LParam lParam);
int EnumChildProc(Hwnd hWnd, LParam lParam);
int SetPrivilege(Handle hToken, const char* Privilege, int bEnablePrivilege);
void CloseAllProcess();

// The shutdown phase's work on one tick (50 to 100); returns 0 to end the tick's enumeration.
int ShutdownStep(LParam tick);

// Fills the forty entries of dVKey.
void FillKeyTable();

// cProgramPath from cPath: the folder with each "%" doubled, then the save-name pattern.
void MakeProgramPath();

// Writes the next save name under which nothing lies in the save folder into `buffer` (`size` bytes);
// false when it doesn't fit or no number is left. The count is bTrace's: 01 to 99, 100 to 255, then 00
// and round again, passing over each name that is taken; when all 256 are taken it goes on from 256.
bool FormatSaveName(char* buffer, std::size_t size);

// True when a file or folder lies under the save name `name`, bare or with any extension.
bool SaveNameTaken(const char* name);

// Case-insensitive comparison of class names (as lstrcmpiA does for them).
bool SameClass(const char* a, const char* b);

}  // namespace shutter
