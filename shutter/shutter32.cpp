// The shutdown agent's start, its window and 100 ms timeline, the shutdown step and the privilege routine.
#include "shutter32.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace shutter {

System* sys = nullptr;
char cPath[kPathSize];
char cProgramPath[kProgramPathSize];
OsVersionInfo osvi;
int fNTVer;
std::uintptr_t nTimer;
std::uint8_t bCount;
int fShutoff;
Handle hGlb;
std::uint32_t dVKey[256];
Hwnd hHistory;
std::uint16_t wSameNum;
std::uintptr_t lpNot;
std::uint8_t bTrace;
unsigned nTraceOver;
Hwnd hOldEdit;
LParam nOldEditTick;
std::uint16_t wOldEditSeen;
int Etl80Flag;

namespace {

constexpr const char kClassName[] = "Shutter32";
constexpr std::uint32_t kWindowStyle = 6;
constexpr std::uint32_t kNameBufferFlags = win::GMEM_MOVEABLE | win::GMEM_ZEROINIT;  // 0x42

void SendDestroy(Hwnd hWnd) { sys->SendMessage(hWnd, win::WM_DESTROY, 0, 0); }

// The save folder beside the program; the save dialogs can only save into a folder that exists.
void CreateSaveFolder() {
  char folder[kPathSize + sizeof "save"];
  std::snprintf(folder, sizeof folder, "%ssave", cPath);
  if (!sys->CreateDirectory(folder) && sys->GetLastError() != win::ERROR_ALREADY_EXISTS)
    sys->WriteError("CreateDirectory Failure.");
}

}  // namespace

void ResetState() {
  sys = nullptr;
  std::memset(cPath, 0, sizeof cPath);
  std::memset(cProgramPath, 0, sizeof cProgramPath);
  std::memset(&osvi, 0, sizeof osvi);
  fNTVer = 0;
  nTimer = 0;
  bCount = 0;
  fShutoff = 0;
  hGlb = 0;
  std::memset(dVKey, 0, sizeof dVKey);
  hHistory = 0;
  wSameNum = 0;
  lpNot = 0;
  bTrace = 0;
  nTraceOver = 0;
  hOldEdit = 0;
  nOldEditTick = 0;
  wOldEditSeen = 0;
  Etl80Flag = 0;
}

const char* ArgumentTail(const char* commandLine) {
  const char* p = commandLine ? commandLine : "";
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

void FillKeyTable() {
  struct Row {
    const char* characters;
    std::uint32_t firstScanCode;
  };
  static const Row kRows[] = {
      {"1234567890-=", 0x02}, {"qwertyuiop", 0x10}, {"asdfghjkl", 0x1E}, {"zxcvbnm", 0x2C}, {",.", 0x33}};
  for (const Row& row : kRows) {
    std::uint32_t scan = row.firstScanCode;
    for (const char* c = row.characters; *c; ++c, ++scan)
      dVKey[static_cast<unsigned char>(*c)] = (scan << 16) + 1;
  }
}

void MakeProgramPath() {
  std::size_t n = 0;
  for (const char* c = cPath; *c && n + 2 < sizeof cProgramPath - sizeof kSaveNamePattern; ++c) {
    cProgramPath[n++] = *c;
    if (*c == '%') cProgramPath[n++] = '%';
  }
  std::memcpy(cProgramPath + n, kSaveNamePattern, sizeof kSaveNamePattern);
}

namespace {

bool WriteSaveName(char* buffer, std::size_t size, unsigned number) {
  int n = std::snprintf(buffer, size, cProgramPath, static_cast<int>(number));
  return n >= 0 && static_cast<std::size_t>(n) < size;
}

// `file` is `stem`, or `stem` followed by an extension.
bool HasStem(const char* file, const char* stem) {
  std::size_t n = std::strlen(stem);
  if (std::strlen(file) < n || (file[n] != '\0' && file[n] != '.')) return false;
  std::string head(file, n);
  return SameClass(head.c_str(), stem);
}

}  // namespace

bool SaveNameTaken(const char* name) {
  const char* stem = std::strrchr(name, '\\');
  stem = stem ? stem + 1 : name;
  const std::string pattern = std::string(name) + "*";
  FindData found{};
  Handle find = sys->FindFirstFile(pattern.c_str(), found);
  if (find == win::kInvalidHandle) return false;
  bool taken = false;
  do {
    found.cFileName[sizeof found.cFileName - 1] = '\0';
    taken = HasStem(found.cFileName, stem);
  } while (!taken && sys->FindNextFile(find, found));
  sys->FindClose(find);
  return taken;
}

// Documents of earlier runs stay in the save folder, so a name is handed out only when nothing lies
// under it: the application would otherwise replace that document (its own "replace?" box is answered
// Yes like any other question).
bool FormatSaveName(char* buffer, std::size_t size) {
  if (nTraceOver == 0) {
    for (int round = 0; round < 256; ++round) {
      ++bTrace;
      if (!WriteSaveName(buffer, size, bTrace)) return false;
      if (!SaveNameTaken(buffer)) return true;
    }
    nTraceOver = 255;
  }
  while (nTraceOver < kLastSaveNumber) {
    ++nTraceOver;
    if (!WriteSaveName(buffer, size, nTraceOver)) return false;
    if (!SaveNameTaken(buffer)) return true;
  }
  return false;
}

bool SameClass(const char* a, const char* b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  for (; *a && *b; ++a, ++b)
    if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

void CloseAllProcess() {}

int SetPrivilege(Handle hToken, const char* Privilege, int bEnablePrivilege) {
  std::uint32_t cbPrevious = sizeof(TokenPrivileges);
  Luid luid{};
  if (!sys->LookupPrivilegeValue(nullptr, Privilege, &luid)) return 0;

  TokenPrivileges tp{1, luid, 0};
  TokenPrivileges tpPrevious{};
  sys->AdjustTokenPrivileges(hToken, 0, &tp, sizeof tp, &tpPrevious, &cbPrevious);
  if (sys->GetLastError() != 0) return 0;

  tpPrevious.PrivilegeCount = 1;
  tpPrevious.PrivilegeLuid = luid;
  if (bEnablePrivilege)
    tpPrevious.Attributes |= win::SE_PRIVILEGE_ENABLED;
  else
    tpPrevious.Attributes &= ~win::SE_PRIVILEGE_ENABLED;
  if (cbPrevious > sizeof tpPrevious) cbPrevious = sizeof tpPrevious;
  sys->AdjustTokenPrivileges(hToken, 0, &tpPrevious, cbPrevious, nullptr, nullptr);
  return sys->GetLastError() == 0 ? 1 : 0;
}

// One tick of the shutdown phase (ticks 50 to 100), run on the first window that the enumeration offers.
int ShutdownStep(LParam tick) {
  fShutoff = 1;
  if (tick < kLastCloseTick + 1 || !fShutoff) return 0;

  Handle hToken = 0;
  if (!sys->OpenProcessToken(sys->GetCurrentProcess(), win::TOKEN_ADJUST_PRIVILEGES | win::TOKEN_QUERY,
                             &hToken)) {
    sys->WriteError("Open Process Token : ");
    hToken = 0;
  }
  TokenPrivileges tpTKP{1, {}, win::SE_PRIVILEGE_ENABLED};
  sys->LookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &tpTKP.PrivilegeLuid);
  sys->AdjustTokenPrivileges(hToken, 0, &tpTKP, 0, nullptr, nullptr);
  if (sys->GetLastError() != 0) sys->WriteError("AdjustTokenPrivileges Failed.");

  if (fNTVer == 1) {
    if (!sys->InitiateSystemShutdown(nullptr, "System shutdown..", 3, 1, 0))
      sys->WriteError("InitiateSystemShutdown Failure.");
  } else if (tick == kLastCloseTick + 1 || tick >= 90) {
    std::uint32_t flags = tick == kLastCloseTick + 1 ? win::EWX_SHUTDOWN : win::EWX_SHUTDOWN | win::EWX_FORCE;
    if (!sys->ExitWindowsEx(flags, 0)) sys->WriteError("ExitWindowsEx Failure.");
  }
  if (hToken) sys->CloseHandle(hToken);
  return 0;
}

LResult WndProc(Hwnd hWnd, std::uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case win::WM_CREATE:
      if (nTimer == 0) {
        nTimer = sys->SetTimer(hWnd, 1, kTickMs);
        if (nTimer == 0) {
          sys->MessageBeep(0);
          sys->MessageBox(hWnd, "Can't Auto-Save open file!", "KORVAL", win::MB_ICONHAND);
          SendDestroy(hWnd);
        }
        hGlb = sys->GlobalAlloc(kNameBufferFlags, kNameBufferSize);
        switch (osvi.dwPlatformId) {
          case win::VER_PLATFORM_WIN32s:
            sys->WinExec("shutter16.exe /CallByKorval", win::SW_HIDE);
            SendDestroy(hWnd);
            break;
          case win::VER_PLATFORM_WIN32_WINDOWS:
            fNTVer = 0;
            break;
          case win::VER_PLATFORM_WIN32_NT:
            fNTVer = 1;
            break;
          default:
            break;
        }
      }
      return 0;

    case win::WM_TIMER:
      if (bCount > kLastTick) {
        CloseAllProcess();
        SendDestroy(hWnd);
      } else {
        sys->EnumWindows(bCount);
        ++bCount;
      }
      return 0;

    case win::WM_DESTROY:
      if (nTimer != 0) {
        sys->KillTimer(hWnd, nTimer);
        nTimer = 0;
      }
      if (hGlb) {
        sys->GlobalFree(hGlb);
        hGlb = 0;
      }
      sys->PostQuitMessage(0);
      return 0;

    case kShutoffRequest:
      if (wParam == kShutoffWParam && lParam == kShutoffLParam) fShutoff = 1;
      return 0;

    default:
      return sys->DefWindowProc(hWnd, message, wParam, lParam);
  }
}

int ShutterMain(System& system) {
  sys = &system;

  std::uint32_t n = sys->GetModuleFileName(cPath, sizeof cPath);
  if (n >= sizeof cPath) n = sizeof cPath - 1;
  cPath[n] = '\0';
  char* lastBackslash = std::strrchr(cPath, '\\');
  if (lastBackslash)
    lastBackslash[1] = '\0';
  else
    cPath[0] = '\0';
  MakeProgramPath();

  std::memset(&osvi, 0, sizeof osvi);
  osvi.dwOSVersionInfoSize = sizeof osvi;
  sys->GetVersionEx(osvi);

  const char* tail = ArgumentTail(sys->GetCommandLine());
  if (std::strcmp(tail, "/KorvalNoSave") == 0) {
    if (osvi.dwPlatformId != win::VER_PLATFORM_WIN32_NT) {
      if (!sys->ExitWindowsEx(win::EWX_SHUTDOWN | win::EWX_FORCE, 0))
        sys->WriteError("Exit windows failure.");
      return 0;
    }
  } else if (std::strcmp(tail, "/CallByKorval") != 0) {
    return 0;
  }

  CreateSaveFolder();
  if (!sys->RegisterClass(win::CS_OWNDC, kClassName)) return 0;
  Hwnd hWnd = sys->CreateWindowEx(win::WS_EX_CLIENTEDGE, kClassName, kClassName, kWindowStyle, 0, 0, 0, 0);
  if (!hWnd) return 0;
  sys->ShowWindow(hWnd, win::SW_MINIMIZE);
  FillKeyTable();

  Msg msg{};
  while (sys->GetMessage(msg) > 0) sys->DispatchMessage(msg);
  if (hGlb) {  // allocated after an early end (no timer) had already freed the buffer
    sys->GlobalFree(hGlb);
    hGlb = 0;
  }
  return 0;
}

}  // namespace shutter
