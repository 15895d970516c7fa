#pragma once
// What end-to-end tests need to drive the real programs under Wine: start and stop processes, wait for
// windows and files, read files.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e_paths.h"

namespace korval::e2e {

// Folders of the build (Windows paths, each ending with a backslash).
inline const char* BinDir() { return KORVAL_BIN_DIR; }
inline const char* SourceDir() { return KORVAL_SOURCE_DIR; }
inline const char* ProgramDir() { return KORVAL_PROGRAM_DIR; }

// A started program; ended (terminated if still running) when the object goes.
class Process {
 public:
  Process() = default;
  // Starts `commandLine` (the program's path first, quoted when it holds blanks) in `workDir` (empty: ours).
  static Process Start(const std::string& commandLine, const std::string& workDir = "");
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Running() const;
  // Waits for the end; true with its exit code when it ended within `ms`.
  bool WaitExit(DWORD ms, DWORD* exitCode = nullptr);
  void Kill();
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Polls `done` every 20 ms for up to `ms`; true as soon as it holds.
bool WaitFor(const std::function<bool()>& done, DWORD ms);

// The first top-level window of `className` (and `title` when given) within `ms`, or nullptr.
HWND WaitForWindow(const char* className, const char* title = nullptr, DWORD ms = 10000);

// The top-level window of `className` that belongs to process `pid`, or nullptr.
HWND FindWindowOfProcess(const char* className, DWORD pid);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The Windows code page that the language file of `index` is written in.
unsigned LanguageCodePage(int index);

// How wide `text` is in the font `face` of character height `height`, drawn as the programs draw it in this
// Wine prefix (the same fonts stand in for the named ones): `advance` is what a layout or a line break
// reckons with; glyphs paint the columns from `inkLeft` to one before `ink`; all from where the text starts.
struct TextWidth {
  int advance = 0, inkLeft = 0, ink = 0;
};
TextWidth MeasureText(const char* face, int height, bool bold, const std::string& text);

// The pixels that `text` paints on one line, unclipped, in the font `face` as MeasureText draws it, relative
// to the top left corner of its ink (`width` x `height`, `left` from where the text starts; `advance` as in
// TextWidth); `missingGlyphs` counts its characters other than blanks that neither the font nor a font linked
// to it has a glyph for (a box or nothing stands in their place).
struct TextInk {
  std::vector<POINT> pixels;
  int advance = 0, left = 0, width = 0, height = 0, missingGlyphs = 0;
};
TextInk InkOf(const char* face, int height, bool bold, const std::string& text);
// Whether an area of `width` x `height`, in which `textColoured(x, y)` tells the pixels of the text's colour,
// shows every pixel of `ink` at one place where the whole ink lies inside it: false when an edge, a line
// break or something painted later cuts off any part of the text, or when it is drawn in another font.
bool ShowsWhole(const TextInk& ink, int width, int height,
                const std::function<bool(int x, int y)>& textColoured);

// "C:\a\b c.exe" -> "\"C:\a\b c.exe\"" when it holds a blank.
std::string Quote(const std::string& path);

}  // namespace korval::e2e
