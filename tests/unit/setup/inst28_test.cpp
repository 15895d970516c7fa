// The launcher window on the headless backend: layout, the hover rule, the starts, and the NetWare
// installation, driven through pointer positions the way the window system would.
#include "inst28.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "application.h"
#include "headless.h"

namespace korval::setup {
namespace {

using forms::Color;
using forms::Rgb;

const Color kRed = Rgb(255, 0, 0);

class LauncherTest : public ::testing::Test {
 protected:
  void Create(const std::string& programDir = "C:\\Disc\\") {
    system.programDir = programDir;
    app = std::make_unique<forms::Application>(backend, system);
    app->SetTitle("Install");
    form = &app->CreateForm<TInstall>();
    app->Run();  // shows the window; the headless loop returns at once
    light = backend.GetSystemColor(forms::SystemColor::Light3D);
  }
  void SetUp() override { Create(); }

  // The pointer over a point of the client area, and a click there, dispatched as the backend does.
  void Move(int x, int y) {
    app->Dispatch([&] { form->PointerMoved(x, y, 0); });
  }
  void MoveOver(const Label* c) { Move(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2); }
  void ClickAt(int x, int y) {
    form->PointerPressed(x, y);
    app->Dispatch([&] { form->PointerReleased(x, y); });
  }
  void Click(const Label* c) { ClickAt(c->Left() + 5, c->Top() + 5); }

  // "R" for a red link, "." for one in the resting colour, "?" otherwise; in the order of the window.
  std::string Colours() const {
    std::string s;
    for (const Label* l : form->Links())
      s += l->Font().color == kRed ? 'R' : l->Font().color == light ? '.' : '?';
    return s;
  }

  forms::HeadlessBackend backend;
  forms::FakeSystem system;
  std::unique_ptr<forms::Application> app;
  TInstall* form = nullptr;
  Color light{};
};

TEST_F(LauncherTest, WindowAndLinksAsLaidOut) {
  EXPECT_EQ(form->ClassName(), "TInstall");
  EXPECT_EQ(form->Caption(), "KORVAL FOR WINDOWS SETUP");
  EXPECT_TRUE(form->DialogBorder());
  EXPECT_EQ(form->Width(), 495);
  EXPECT_EQ(form->Height(), 465);
  EXPECT_EQ(form->Image1->Bounds(), (forms::Rect{0, 0, 495, 465}));
  EXPECT_TRUE(form->Image1->Stretch());
  EXPECT_EQ(form->Children().front(), form->Image1);

  struct Want {
    Label *shadow, *link;
    const char *caption, *hint;
    int top, width;
  };
  const Want wants[] = {
      {form->Label1, form->Label2, "Windows 2000/XP/2003/Vista/2008",
       "Install KORVAL for Windows 2000/XP/2003/Vista/2008", 16, 356},
      {form->Label6, form->Label5, "Windows NT/95/98/Me", "Install KORVAL for Windows NT/95/98/Me", 86, 235},
      {form->Label3, form->Label4, "Linux Readme", "How to install Linux", 156, 150},
      {form->Label11, form->Label12, "Novell ", "Install KORVAL for Novell", 226, 71},
      {form->Label7, form->Label8, "Exit", "EXIT SETUP PROGRAM", 296, 43},
  };
  const auto& kids = form->Children();
  for (const Want& w : wants) {
    SCOPED_TRACE(w.caption);
    EXPECT_EQ(w.link->Caption(), w.caption);
    EXPECT_EQ(w.shadow->Caption(), w.caption);
    EXPECT_EQ(w.link->Bounds(), (forms::Rect{35, w.top, w.width, 26}));
    EXPECT_EQ(w.shadow->Bounds(), (forms::Rect{38, w.top + 3, w.width, 26}));
    EXPECT_TRUE(w.link->Transparent());
    EXPECT_TRUE(w.shadow->Transparent());
    EXPECT_EQ(w.link->Hint(), w.hint);
    EXPECT_TRUE(w.link->ShowHint());
    EXPECT_FALSE(w.shadow->ShowHint());
    EXPECT_EQ(w.link->Font().name, "Times New Roman");
    EXPECT_EQ(w.link->Font().height, 24);
    EXPECT_TRUE(w.link->Font().bold);
    EXPECT_EQ(w.shadow->Font().color, Rgb(0, 0, 0));
    EXPECT_FALSE(w.shadow->OnClick || w.shadow->OnMouseMove);
    // The shadow comes just before its link, so the link is painted over it.
    const auto at = [&](const forms::Control* c) {
      return std::find(kids.begin(), kids.end(), c) - kids.begin();
    };
    EXPECT_EQ(at(w.shadow) + 1, at(w.link));
  }
  // The links rest in the light 3-D colour from the start, not the silver of the layout.
  EXPECT_EQ(Colours(), ".....");
  EXPECT_NE(light, Rgb(192, 192, 192));
}

TEST_F(LauncherTest, HoverTurnsOneLinkRedAtATime) {
  MoveOver(form->Label2);
  EXPECT_EQ(Colours(), "R....");
  MoveOver(form->Label12);  // straight from one link to another
  EXPECT_EQ(Colours(), "...R.");
  // Leaving the window sends nothing: the link stays red until the pointer crosses the background.
  EXPECT_EQ(Colours(), "...R.");
  Move(450, 440);
  EXPECT_EQ(Colours(), ".....");
  MoveOver(form->Label8);
  EXPECT_EQ(Colours(), "....R");
}

TEST_F(LauncherTest, InTheBackgroundOnlyThePictureResets) {
  MoveOver(form->Label5);
  system.foreground = false;
  MoveOver(form->Label4);
  EXPECT_EQ(Colours(), ".R...");
  Move(300, 400);
  EXPECT_EQ(Colours(), ".....");
  MoveOver(form->Label2);
  EXPECT_EQ(Colours(), ".....");
}

TEST_F(LauncherTest, TheShadowStripBeyondALinkDoesNothing) {
  MoveOver(form->Label4);
  const Label* link = form->Label4;
  // Right of the link and below it, where only the shadow lies.
  const int points[][2] = {{link->Bounds().Right() + 1, link->Top() + 10},
                           {link->Left() + 20, link->Bounds().Bottom() + 1}};
  for (const auto& p : points) {
    Move(p[0], p[1]);
    EXPECT_EQ(Colours(), "..R..");
    ClickAt(p[0], p[1]);
  }
  EXPECT_TRUE(system.starts.empty());
  EXPECT_TRUE(system.shellOpens.empty());
  EXPECT_FALSE(backend.mainFormClosed);
}

TEST_F(LauncherTest, InstallerLinksStartTheirProgramAndTheWindowStays) {
  Click(form->Label2);
  Click(form->Label5);
  Click(form->Label5);  // a second click, a second copy
  ASSERT_EQ(system.starts.size(), 3u);
  EXPECT_EQ(system.starts[0].commandLine, "C:\\Disc\\WinNT\\setup.exe");
  EXPECT_EQ(system.starts[1].commandLine, "C:\\Disc\\Win9x\\setup.exe");
  EXPECT_EQ(system.starts[2].commandLine, "C:\\Disc\\Win9x\\setup.exe");
  for (const auto& s : system.starts) EXPECT_EQ(s.showCommand, 9);
  EXPECT_FALSE(backend.mainFormClosed);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(LauncherTest, APressOnOneLinkAndReleaseOnAnotherClicksNeither) {
  form->PointerPressed(form->Label2->Left() + 5, form->Label2->Top() + 5);
  form->PointerReleased(form->Label5->Left() + 5, form->Label5->Top() + 5);
  EXPECT_TRUE(system.starts.empty());
}

TEST_F(LauncherTest, ReadmeOpensThroughTheShellOwnedByTheWindow) {
  Click(form->Label4);
  ASSERT_EQ(system.shellOpens.size(), 1u);
  EXPECT_EQ(system.shellOpens[0].owner, form);
  EXPECT_EQ(system.shellOpens[0].document, "C:\\Disc\\Linux\\ReadmeE.htm");
  EXPECT_EQ(system.shellOpens[0].parameters, "");
  EXPECT_EQ(system.shellOpens[0].directory, "C:\\Disc\\Linux\\");
  EXPECT_EQ(system.shellOpens[0].showCommand, 9);
  EXPECT_TRUE(system.starts.empty());
}

TEST_F(LauncherTest, ExitClosesTheWindow) {
  Click(form->Label8);
  EXPECT_TRUE(backend.mainFormClosed);
}

// A folder of `length` characters ending in a backslash.
std::string FolderOf(std::size_t length) { return "C:\\" + std::string(length - 4, 'd') + "\\"; }

TEST_F(LauncherTest, FolderAndCommandLineKeepTheirFirst250Characters) {
  Create(FolderOf(250));
  EXPECT_EQ(form->ProgramDir, FolderOf(250));
  Create(FolderOf(251));
  EXPECT_EQ(form->ProgramDir, FolderOf(251).substr(0, 250));

  // A long folder: the command line is cut, never overrun; the readme path goes to the shell whole.
  Create(FolderOf(240));
  Click(form->Label2);
  Click(form->Label4);
  ASSERT_EQ(system.starts.size(), 1u);
  EXPECT_EQ(system.starts.back().commandLine, (FolderOf(240) + "WinNT\\setup.exe").substr(0, 250));
  EXPECT_EQ(system.shellOpens.back().document, FolderOf(240) + "Linux\\ReadmeE.htm");
}

TEST_F(LauncherTest, NovellProposesTheLowestDriveHoldingTheLibrary) {
  struct Case {
    const char* drives;
    const char* proposal;
  } cases[] = {{"", "S:"}, {"FP", "F:"}, {"C", "C:"}, {"Z", "Z:"}, {"DZ", "D:"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drives);
    system.files.clear();
    system.fileChecks.clear();
    backend.inputBoxes.clear();
    for (const char* d = c.drives; *d; ++d) system.files.insert(std::string(1, *d) + ":\\SYSTEM\\CLIB.NLM");
    backend.inputAnswers.push_back(std::nullopt);
    Click(form->Label12);
    ASSERT_EQ(backend.inputBoxes.size(), 1u);
    EXPECT_EQ(backend.inputBoxes[0].caption, "Novell Setup");
    EXPECT_EQ(backend.inputBoxes[0].prompt, "Please input a drive of Novell Server");
    EXPECT_EQ(backend.inputBoxes[0].value, c.proposal);
    // Z down to C, never the floppy drives.
    ASSERT_EQ(system.fileChecks.size(), 24u);
    EXPECT_EQ(system.fileChecks.front(), "Z:\\SYSTEM\\CLIB.NLM");
    EXPECT_EQ(system.fileChecks.back(), "C:\\SYSTEM\\CLIB.NLM");
  }
}

TEST_F(LauncherTest, NovellRunsTheBatchFileInTheNetwareFolder) {
  system.folders.insert("C:\\Disc\\netware");
  struct Case {
    std::optional<std::string> typed;
    const char* commandLine;
  } cases[] = {
      {std::string("G"), "C:\\Disc\\netware\\install.bat G"},
      {std::string(""), "C:\\Disc\\netware\\install.bat "},
      {std::nullopt, "C:\\Disc\\netware\\install.bat S:"},  // OK on the proposal
  };
  for (const Case& c : cases) {
    system.starts.clear();
    if (c.typed) backend.inputAnswers.push_back(c.typed);
    Click(form->Label12);
    ASSERT_EQ(system.starts.size(), 1u);
    EXPECT_EQ(system.starts[0].commandLine, c.commandLine);
    EXPECT_EQ(system.starts[0].showCommand, 9);
    EXPECT_EQ(system.currentDir, "C:\\Disc\\netware");
  }
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(LauncherTest, NovellCancelChangesNothing) {
  system.folders.insert("C:\\Disc\\netware");
  backend.inputAnswers.push_back(std::nullopt);
  Click(form->Label12);
  EXPECT_TRUE(system.directoryChanges.empty());
  EXPECT_TRUE(system.starts.empty());
  EXPECT_EQ(system.currentDir, "C:\\");
}

TEST_F(LauncherTest, NovellWithoutItsFolderReportsTheErrorAndStartsNothing) {
  Click(form->Label12);
  ASSERT_EQ(system.directoryChanges.size(), 1u);
  EXPECT_EQ(system.directoryChanges[0], "C:\\Disc\\netware");
  EXPECT_TRUE(system.starts.empty());
  EXPECT_EQ(system.currentDir, "C:\\");
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].caption, "Install");
  EXPECT_EQ(backend.boxes[0].text, system.changeError);
  EXPECT_EQ(backend.boxes[0].icon, forms::MessageIcon::Error);
  // The launcher goes on.
  Click(form->Label2);
  EXPECT_EQ(system.starts.size(), 1u);
  EXPECT_FALSE(backend.mainFormClosed);
}

TEST_F(LauncherTest, NovellWithALongFolderCutsItsPaths) {
  Create(FolderOf(245));
  system.folders.insert((FolderOf(245) + "netware").substr(0, 250));
  backend.inputAnswers.push_back(std::string("K:"));
  Click(form->Label12);
  ASSERT_EQ(system.starts.size(), 1u);
  EXPECT_EQ(system.starts[0].commandLine, (FolderOf(245) + "netware\\install.bat K:").substr(0, 250));
}

TEST_F(LauncherTest, AFolderWithABlankGetsTheProgramPartQuoted) {
  Create("C:\\my disc\\");
  system.folders.insert("C:\\my disc\\netware");
  backend.inputAnswers.push_back(std::string("G:"));
  Click(form->Label2);
  Click(form->Label5);
  Click(form->Label12);
  ASSERT_EQ(system.starts.size(), 3u);
  EXPECT_EQ(system.starts[0].commandLine, "\"C:\\my disc\\WinNT\\setup.exe\"");
  EXPECT_EQ(system.starts[1].commandLine, "\"C:\\my disc\\Win9x\\setup.exe\"");
  EXPECT_EQ(system.starts[2].commandLine, "\"C:\\my disc\\netware\\install.bat\" G:");
}

TEST(CommandLine, CutsFirstThenQuotesWhatIsLeftOfTheProgram) {
  const std::string blank = "C:\\my disc\\" + std::string(219, 'd') + "\\";  // 231 characters
  const std::string bat = blank + "netware\\install.bat";                    // 250
  struct Case {
    std::string program, arguments, want;
  } cases[] = {
      {"C:\\Disc\\WinNT\\setup.exe", "", "C:\\Disc\\WinNT\\setup.exe"},
      {"C:\\tab\tdisc\\WinNT\\setup.exe", "", "\"C:\\tab\tdisc\\WinNT\\setup.exe\""},
      // The arguments are cut away whole, then the program's part is quoted.
      {bat, " K:", "\"" + bat + "\""},
      // The cut reaches into the program's path: what is left of it is quoted.
      {blank + "WinNT\\setup.exe", "", "\"" + (blank + "WinNT\\setup.exe").substr(0, 250) + "\""},
      // A blank only in the arguments needs no quotes.
      {"C:\\Disc\\netware\\install.bat", " ", "C:\\Disc\\netware\\install.bat "},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLine(c.program, c.arguments), c.want) << c.program;
}

}  // namespace
}  // namespace korval::setup
