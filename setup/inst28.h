#pragma once
// The installation launcher window: a background picture and five text links with drop shadows, which start
// the installer of a Windows family, open the Linux readme, run the NetWare installation or end the program.
// The link under the pointer turns red while the launcher is the foreground window.
#include <array>
#include <string>

#include "application.h"
#include "controls.h"
#include "system.h"

namespace korval::setup {

using forms::Image;
using forms::Label;

// The most characters of the launcher's folder, and of a command line or folder handed to the system.
constexpr std::size_t kPathLimit = 250;
constexpr int kShowRestore = 9;  // SW_RESTORE

// What the links start, after the launcher's folder.
constexpr char kWinNtInstaller[] = "WinNT\\setup.exe";
constexpr char kWin9xInstaller[] = "Win9x\\setup.exe";
constexpr char kLinuxReadme[] = "Linux\\ReadmeE.htm";
constexpr char kNetwareFolder[] = "netware";
constexpr char kNetwareInstall[] = "netware\\install.bat";  // a blank and the server drive follow

// The first kPathLimit characters of `text`.
std::string CutToLimit(const std::string& text);

// The command line that starts `program` with `arguments` after it, cut to kPathLimit characters. The
// program's part is then put in quotes when it holds a blank or a tab: bare, "X:\my disc\WinNT\setup.exe"
// would start X:\my.exe when there is one. The arguments stay as they are.
std::string CommandLine(const std::string& program, const std::string& arguments = "");

class TInstall : public forms::Form {
 public:
  explicit TInstall(forms::Application& app);

  // Controls in creation order: the picture first, then each shadow just before its link.
  Image* Image1;
  Label *Label1, *Label2;    // Windows 2000/XP/2003/Vista/2008
  Label *Label6, *Label5;    // Windows NT/95/98/Me
  Label *Label3, *Label4;    // Linux readme
  Label *Label11, *Label12;  // Novell
  Label *Label7, *Label8;    // Exit

  // The launcher's folder, taken at creation.
  std::string ProgramDir;

  // The five links, in the order of the window.
  std::array<Label*, 5> Links() const { return {Label2, Label5, Label4, Label12, Label8}; }
  forms::Color LinkColor() const { return linkColor_; }

  void FormCreate();
  void Label2Click();
  void Label5Click();
  void Label4Click();
  void Label12Click();
  void Label8Click();
  void Label2MouseMove() { Hover(Label2); }
  void Label5MouseMove() { Hover(Label5); }
  void Label4MouseMove() { Hover(Label4); }
  void Label12MouseMove() { Hover(Label12); }
  void Label8MouseMove() { Hover(Label8); }
  void Image1MouseMove();

 private:
  void Hover(Label* link);
  void SetLinkColor(Label* link, forms::Color color);
  void StartInstaller(const char* target);

  forms::System& system_;
  forms::Color linkColor_{};  // the links' colour when not under the pointer
};

}  // namespace korval::setup
