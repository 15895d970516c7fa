// The simulated background monitor: owns a window of class TnKORVALBack, plays a scenario into DATABuff.REC
// and the month Event.log files of a data folder, takes the command bytes that the status panel writes, and
// logs every suite command message it receives.
//
//   korvalmon.exe /data <folder> /scenario <file> [/log <file>]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "datetime.h"
#include "fileio.h"
#include "record.h"
#include "scenario.h"

namespace {

using korval::DataBuffRecord;
using korval::monitor::Change;
using korval::monitor::Step;

constexpr UINT kSuiteCommandMessage = WM_USER + 22;  // 1046
constexpr UINT_PTR kTimerId = 1;

std::string g_data;
std::string g_log;
std::vector<Step> g_steps;
std::size_t g_next = 0;
DWORD g_start = 0;
DataBuffRecord g_image;

void Log(const std::string& line) {
  if (g_log.empty()) return;
  HANDLE h = CreateFileA(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\r\n";
  DWORD put;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(h);
}

void WriteRecord(std::size_t count) {
  HANDLE h = CreateFileA(korval::RecordFileName(g_data).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    Log("error cannot write " + korval::RecordFileName(g_data));
    return;
  }
  DWORD put;
  WriteFile(h, g_image.bytes.data(), static_cast<DWORD>(count), &put, nullptr);
  SetEndOfFile(h);
  CloseHandle(h);
}

korval::CalendarTime LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return korval::CalendarTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// Appends the record to its month's file, unless the file holds that record already.
void AppendEvent(int code, double when) {
  korval::CalendarTime t;
  if (!korval::DecodeDateTime(when, t)) return;
  std::string folder = g_data + std::to_string(t.month);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\Event.log";
  unsigned char entry[16] = {};
  entry[0] = static_cast<unsigned char>(code);
  std::memcpy(entry + 8, &when, 8);
  std::string held;
  korval::fileio::ReadWhole(path, held);
  for (std::size_t at = 0; at + sizeof entry <= held.size(); at += sizeof entry)
    if (std::memcmp(held.data() + at, entry, sizeof entry) == 0) return;
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD put;
  WriteFile(h, entry, sizeof entry, &put, nullptr);
  CloseHandle(h);
}

void RunStep(const Step& step) {
  std::size_t count = DataBuffRecord::kSize;
  bool remove = false;
  for (const Change& c : step.changes) {
    const auto v = static_cast<long>(c.number);
    switch (c.kind) {
      case Change::SetByte: g_image.SetByte(c.offset, static_cast<std::uint8_t>(v)); break;
      case Change::SetBE16: g_image.SetBE16(c.offset, static_cast<std::uint16_t>(v)); break;
      case Change::SetLE16:
        g_image.SetByte(c.offset, static_cast<std::uint8_t>(v & 0xFF));
        g_image.SetByte(c.offset + 1, static_cast<std::uint8_t>((v >> 8) & 0xFF));
        break;
      case Change::SetDouble: g_image.SetDateTimeAt(c.offset, c.number); break;
      case Change::Clear: g_image.bytes.fill(0); break;
      case Change::Truncate: count = static_cast<std::size_t>(v); break;
      case Change::Remove: remove = true; break;
      case Change::Event: {
        double when = c.when;
        if (c.now) korval::EncodeDateTime(LocalNow(), when);
        AppendEvent(static_cast<int>(v), when);
        break;
      }
      case Change::Loop: break;
    }
  }
  if (remove) DeleteFileA(korval::RecordFileName(g_data).c_str());
  else WriteRecord(count);
  Log("step at " + std::to_string(step.atMs));
}

// The status panel hands its commands over in the record: take them, say so, and clear them.
void TakeCommands() {
  DataBuffRecord onDisk = g_image;
  korval::ReadRecordImage(g_data, onDisk);
  bool changed = false;
  if (onDisk.TestCommand() == 3) {
    Log("command TestCommand 3");
    changed = true;
  }
  if (onDisk.GreenCommand() == 2) {
    Log("command GreenCommand 2");
    changed = true;
  }
  if (changed) {
    g_image.SetByte(DataBuffRecord::kTestCommand, 0);
    g_image.SetByte(DataBuffRecord::kGreenCommand, 0);
    WriteRecord(DataBuffRecord::kSize);
  }
}

void OnTimer() {
  TakeCommands();
  DWORD elapsed = GetTickCount() - g_start;
  while (g_next < g_steps.size() && elapsed >= g_steps[g_next].atMs) {
    const Step& step = g_steps[g_next++];
    RunStep(step);
    for (const Change& c : step.changes) {
      if (c.kind == Change::Loop) {
        g_next = 0;
        g_start = GetTickCount();
        elapsed = 0;
        Log("loop");
        break;
      }
    }
  }
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      OnTimer();
      return 0;
    case WM_CLOSE:
      Log("message WM_CLOSE");
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  if (msg == kSuiteCommandMessage) {
    const bool sent = InSendMessage() != FALSE;
    char line[96];
    std::snprintf(line, sizeof line, "message 1046 %lu %ld %s", static_cast<unsigned long>(wp), static_cast<long>(lp),
                  sent ? "sent" : "posted");
    Log(line);
    if (!sent && wp == 99 && lp == 99) {
      Log("stop");
      DestroyWindow(hwnd);
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string Argument(const std::vector<std::string>& args, const char* name) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (lstrcmpiA(args[i].c_str(), name) == 0) return args[i + 1];
  return std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  g_data = Argument(args, "/data");
  if (!g_data.empty() && g_data.back() != '\\' && g_data.back() != '/') g_data += '\\';
  g_log = Argument(args, "/log");
  const std::string scenarioPath = Argument(args, "/scenario");
  std::string text, error;
  if (korval::fileio::ReadWhole(scenarioPath, text) != korval::fileio::ReadResult::Ok) {
    Log("error cannot read scenario " + scenarioPath);
    return 2;
  }
  if (!korval::monitor::ParseScenario(text, LocalNow(), g_steps, error)) {
    Log("error scenario " + error);
    return 2;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = "TnKORVALBack";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("TnKORVALBack", "KORVAL Monitor", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                            instance, nullptr);
  if (!hwnd) return 3;
  Log("start");
  g_start = GetTickCount();
  OnTimer();
  SetTimer(hwnd, kTimerId, 50, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Log("end");
  return 0;
}
