#pragma once
// What the three dialogs of the status window share: their colour, their OK and Cancel glyph buttons and the
// font rule of the double-byte language.
#include <initializer_list>
#include <optional>
#include <string>

#include "application.h"
#include "controls.h"
#include "error.h"
#include "folders.h"
#include "language.h"
#include "settings.h"

namespace korval::statuspanel {

inline const forms::Color kDialogGrey = forms::Rgb(204, 204, 204);

// The form of a dialog: its design caption, the default (sizeable) border, the grey and the form's font.
inline void SetDialogLook(forms::Form& form, const char* caption) {
  form.SetCaption(caption);
  form.SetFixedSingle(false);
  form.SetColor(kDialogGrey);
  form.SetFont(forms::Font{"MS Sans Serif", 11, false, forms::Rgb(0, 0, 0)});
}

enum class ButtonKind { Ok, Cancel };

// A button of the standard OK kind (the default button: Enter presses it) or Cancel kind (Esc presses it) on
// the form, 25 pixels tall, in "MS UI Gothic": its caption and its glyph, the picture beside the caption and
// a greyed one for the disabled button.
inline forms::BitBtn* AddKindButton(forms::Form& form, const char* name, int left, int top, int width,
                                    ButtonKind kind) {
  const bool ok = kind == ButtonKind::Ok;
  forms::BitBtn* button = form.Add<forms::BitBtn>(&form, name);
  button->SetBounds(left, top, width, 25);
  button->SetFont(forms::Font{"MS UI Gothic", 13, false, forms::Rgb(0, 0, 0)});
  button->SetCaption(ok ? "OK" : "Cancel");
  button->SetDefault(ok);
  button->SetCancel(!ok);
  button->LoadGlyph(ok ? "GLYPHOK" : "GLYPHCANCEL");
  button->SetNumGlyphs(2);
  button->SetLayout(forms::GlyphLayout::Left);
  return button;
}

// The data folder of a dialog, formed when it is created: the first line of UserPath.dat in the program
// folder. A UserPath.dat that cannot be read leaves it empty without a report of its own: the status window,
// created just before, has reported it already.
inline std::string DialogDataDir(const std::string& programDir) {
  try {
    return ReadDataDir(programDir);
  } catch (const FileOpenError&) {
    return std::string();
  }
}

// The settings file of `dataDir` for one operation; one that exists but cannot be read ends the program, and
// the operation then goes no further.
inline std::optional<SettingsFile> OpenSettingsOrEnd(forms::Form& form, const std::string& dataDir) {
  return OpenSettings(dataDir + "KORVAL.ini", OnOpenFailure::EndProgram, [&form] { form.App().Terminate(); });
}

// The face that the language wants ("Dotum" for Russian); nothing sets the font name back later.
inline void ApplyDotumRule(int languageIndex, std::initializer_list<forms::Control*> controls) {
  const char* face = LanguageFace(languageIndex);
  if (!face) return;
  for (forms::Control* c : controls) c->SetFontName(face);
}

}  // namespace korval::statuspanel
