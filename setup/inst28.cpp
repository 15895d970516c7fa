#include "inst28.h"

#include <algorithm>

#include "command_line.h"
#include "error.h"

namespace korval::setup {

namespace {

using forms::Color;
using forms::Rgb;

const Color kSilver = Rgb(192, 192, 192);
const Color kBlack = Rgb(0, 0, 0);
const Color kRed = Rgb(255, 0, 0);

struct LinkLayout {
  const char* caption;
  int left, top, width, height;
  const char* hint;
};

const LinkLayout kLinks[5] = {
    {"Windows 2000/XP/2003/Vista/2008", 35, 16, 356, 26,
     "Install KORVAL for Windows 2000/XP/2003/Vista/2008"},
    {"Windows NT/95/98/Me", 35, 86, 235, 26, "Install KORVAL for Windows NT/95/98/Me"},
    {"Linux Readme", 35, 156, 150, 26, "How to install Linux"},
    {"Novell ", 35, 226, 71, 26, "Install KORVAL for Novell"},
    {"Exit", 35, 296, 43, 26, "EXIT SETUP PROGRAM"},
};

constexpr int kShadowOffset = 3;

}  // namespace

std::string CutToLimit(const std::string& text) { return text.substr(0, std::min(text.size(), kPathLimit)); }

std::string CommandLine(const std::string& program, const std::string& arguments) {
  return QuoteProgramPart(CutToLimit(program + arguments), program.size());
}

TInstall::TInstall(forms::Application& app) : Form(app, "TInstall", "Install"), system_(app.GetSystem()) {
  SetCaption("KORVAL FOR WINDOWS SETUP");
  SetDialogBorder(true);
  SetCentered(true);
  SetClientSize(495, 465);
  SetColor(app.GetBackend().GetSystemColor(forms::SystemColor::ButtonFace));

  Image1 = Add<Image>(this, "Image1");
  Image1->SetBounds(0, 0, 495, 465);
  Image1->SetStretch(true);
  Image1->LoadPicture("IMAGE1");
  Image1->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Image1MouseMove(); };

  const forms::Font linkFont{"Times New Roman", 24, true, kSilver};
  const char* const shadowNames[5] = {"Label1", "Label6", "Label3", "Label11", "Label7"};
  const char* const linkNames[5] = {"Label2", "Label5", "Label4", "Label12", "Label8"};
  Label** const shadows[5] = {&Label1, &Label6, &Label3, &Label11, &Label7};
  Label** const links[5] = {&Label2, &Label5, &Label4, &Label12, &Label8};
  for (int i = 0; i < 5; ++i) {
    const LinkLayout& l = kLinks[i];
    Label* shadow = Add<Label>(this, shadowNames[i]);
    shadow->SetAutoSize(false);
    shadow->SetTransparent(true);
    shadow->SetBounds(l.left + kShadowOffset, l.top + kShadowOffset, l.width, l.height);
    forms::Font shadowFont = linkFont;
    shadowFont.color = kBlack;
    shadow->SetFont(shadowFont);
    shadow->SetCaption(l.caption);
    *shadows[i] = shadow;

    Label* link = Add<Label>(this, linkNames[i]);
    link->SetAutoSize(false);
    link->SetTransparent(true);
    link->SetBounds(l.left, l.top, l.width, l.height);
    link->SetFont(linkFont);
    link->SetCaption(l.caption);
    link->SetHint(l.hint);
    link->SetShowHint(true);
    *links[i] = link;
  }

  Label2->OnClick = [this](forms::Control&) { Label2Click(); };
  Label5->OnClick = [this](forms::Control&) { Label5Click(); };
  Label4->OnClick = [this](forms::Control&) { Label4Click(); };
  Label12->OnClick = [this](forms::Control&) { Label12Click(); };
  Label8->OnClick = [this](forms::Control&) { Label8Click(); };
  Label2->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Label2MouseMove(); };
  Label5->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Label5MouseMove(); };
  Label4->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Label4MouseMove(); };
  Label12->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Label12MouseMove(); };
  Label8->OnMouseMove = [this](forms::Control&, unsigned, int, int) { Label8MouseMove(); };

  OnCreate = [this] { FormCreate(); };
}

void TInstall::FormCreate() {
  ProgramDir = CutToLimit(system_.ProgramDir());
  linkColor_ = App().GetBackend().GetSystemColor(forms::SystemColor::Light3D);
  for (Label* link : Links()) SetLinkColor(link, linkColor_);
}

void TInstall::SetLinkColor(Label* link, Color color) {
  forms::Font f = link->Font();
  f.color = color;
  link->SetFont(f);
}

void TInstall::Hover(Label* link) {
  if (!system_.IsForeground(*this)) return;
  for (Label* l : Links()) SetLinkColor(l, l == link ? kRed : linkColor_);
}

void TInstall::Image1MouseMove() {
  for (Label* l : Links()) SetLinkColor(l, linkColor_);
}

void TInstall::StartInstaller(const char* target) {
  system_.StartProgram(CommandLine(ProgramDir + target), kShowRestore);
}

void TInstall::Label2Click() { StartInstaller(kWinNtInstaller); }
void TInstall::Label5Click() { StartInstaller(kWin9xInstaller); }

void TInstall::Label4Click() {
  // The readme opens with its own folder as the working directory.
  const std::string readme = ProgramDir + kLinuxReadme;
  system_.ShellOpen(this, readme, "", readme.substr(0, readme.find_last_of('\\') + 1), kShowRestore);
}

void TInstall::Label12Click() {
  // The lowest drive letter whose SYSTEM folder holds the NetWare C library is the server's.
  char letter = 'S';
  for (char drive = 'Z'; drive >= 'C'; --drive) {
    if (system_.FileExists(std::string(1, drive) + ":\\SYSTEM\\CLIB.NLM")) letter = drive;
  }
  std::string server = std::string(1, letter) + ":";
  if (!App().InputQuery("Novell Setup", "Please input a drive of Novell Server", server)) return;
  std::string error;
  if (!system_.ChangeDirectory(CutToLimit(ProgramDir + kNetwareFolder), error)) throw korval::Error(error);
  system_.StartProgram(CommandLine(ProgramDir + kNetwareInstall, " " + server), kShowRestore);
}

void TInstall::Label8Click() { Close(); }

}  // namespace korval::setup
