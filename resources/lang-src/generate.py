#!/usr/bin/env python3
"""Writes the language files (resources/lang) and help documents (resources/Help) of the languages in
languages.tsv from their UTF-8 sources in this folder, each in the ANSI code page of its language, and checks
them on the way; and writes the programs' language table (shared/language_table.h) from languages.tsv.

    python3 resources/lang-src/generate.py          write the outputs (only files whose bytes change)
    python3 resources/lang-src/generate.py --check  write nothing; fail when an output is missing or stale

Both fail when the output folders hold a file that no source makes.

Exits with status 1 and a list of the problems when a source breaks a rule below; nothing is written then.
The build does not run this script: the outputs are committed, and the native build's tests run it with --check,
so that an output edited by hand, or a source changed without regenerating, fails the tests.
"""
import html
import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
RESOURCES = HERE.parent
LANG_OUT = RESOURCES / "lang"
HELP_OUT = RESOURCES / "Help"
TABLE_OUT = RESOURCES.parent / "shared" / "language_table.h"
COLUMNS = ["index", "name", "file", "help", "codepage", "charset", "lang", "blanks", "langid", "locale",
           "extralocale", "sans", "serif", "uifont", "uifaces", "face"]


class Language:
    """One row of languages.tsv ("-" read as the empty text)."""

    def __init__(self, fields):
        for column, value in zip(COLUMNS, fields):
            setattr(self, column, "" if value == "-" else value)
        self.index = int(self.index)
        self.codepage = f"cp{self.codepage}"  # Python's codec of the Windows code page
        # The codec that a browser applies to the declared charset: Python knows "windows-874" only as cp874.
        charset = self.charset.lower()
        self.browser_codec = f"cp{charset[8:]}" if charset.startswith("windows-") else charset


def read_languages(problems):
    """The rows of languages.tsv: "#" lines are comments, the first other line names the columns."""
    languages = []
    header = None
    rows = 0
    for number, line in enumerate((HERE / "languages.tsv").read_text(encoding="utf-8").split("\n"), 1):
        where = f"languages.tsv:{number}"
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if header is None:
            header = fields
            if header != COLUMNS:
                problems.add(where, f"the columns must be {' '.join(COLUMNS)}")
                return []
            continue
        if len(fields) != len(COLUMNS) or any(not f or f != f.strip() for f in fields):
            problems.add(where, f"needs {len(COLUMNS)} fields, none empty (\"-\" for none), one tab between")
            continue
        rows += 1
        if fields[0] != str(rows - 1):
            problems.add(where, f"index {fields[0]!r} out of order: the rows go 0, 1, 2 ...")
            continue
        language = Language(fields)
        if not re.fullmatch(r"\d+", language.codepage[2:]) or not re.fullmatch(r"[0-9A-Fa-f]{4}", language.langid):
            problems.add(where, "the code page is a number, the language identifier four hex digits")
            continue
        if language.blanks not in ("yes", "no"):
            problems.add(where, "blanks is yes or no")
            continue
        for codec in (language.codepage, language.browser_codec):
            try:
                "".encode(codec)
            except LookupError:
                problems.add(where, f"no codec {codec}")
        languages.append(language)
    for column in ("file", "help", "langid", "locale"):
        values = [getattr(language, column).lower() for language in languages]
        for value in sorted({v for v in values if values.count(v) > 1}):
            problems.add("languages.tsv", f"{column} {value!r} in more than one row")
    if not languages:
        problems.add("languages.tsv", "no language")
    return languages


def cpp_text(value):
    return "nullptr" if not value else '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def language_table(languages):
    """The C++ table of what the programs and their tests take from languages.tsv."""
    rows = [f"    {{{cpp_text(l.file)}, {cpp_text(l.help.replace('/', chr(92)))}, {l.codepage[2:]}, "
            f"0x{l.langid.upper()}, {cpp_text(l.face)}}}," for l in languages]
    width = max(len(row) for row in rows) + 2  # the trailing comments aligned, as clang-format has them
    rows = "".join(f"{row:<{width}}// {l.index} {l.name}\n" for row, l in zip(rows, languages))
    return (f"""#pragma once
// Made by resources/lang-src/generate.py from languages.tsv beside it: edit the table, not this file.
#include <cstdint>

namespace korval {{

struct LanguageRow {{
  const char* file;              // the language file in the program folder
  const char* help;              // the help document, relative to the program folder's "Help\\"
  unsigned codePage;             // the Windows code page of both
  std::uint16_t systemLanguage;  // the system default language identifier that chooses it
  const char* face;              // the face its texts ask for, or nullptr for the layouts' own
}};

constexpr int kLanguageCount = {len(languages)};

constexpr LanguageRow kLanguages[kLanguageCount] = {{
{rows}}};

}}  // namespace korval
""").encode("ascii")


# Second parts of the two joined headings: may be empty or start with a blank.
JOIN_TAILS = {"Dis4", "Dis6"}
# Keys shown only as menu captions: the only ones that may carry an "&" accelerator. The others are also hints
# or window captions, where an "&" would show as it stands.
MENU_ONLY = {"Dis7", "Dis8", "Dis9", "Dis10", "Exit"}
# The event kinds, code by code: eventbook puts "N." before each text itself.
EVENT_KEYS = ["Log1", "Log2", "Msg2", "Msg3", "Log3", "Msg8", "Msg9", "Msg7", "Log4", "Msg5", "Msg4", "Log5",
              "Msg10", "Msg6", "Log6"]
# Byte lengths that the programs test.
AT_LEAST = {"Dis29": 4, "Save": 2}  # shorter would fall back to fixed English texts / the Print key
AT_MOST = {"Mai0": 100, "Mai1": 102}  # the exit question's limits


class Problems(list):
    def add(self, where, text):
        self.append(f"{where}: {text}")


def read_keys():
    keys = []
    for line in (HERE / "keys.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            key, program, shown = line.split("\t")
            keys.append((key, program, shown))
    return keys


def read_texts(path, keys, problems):
    """The key=value lines of a UTF-8 source; blank lines and lines starting with "#" are comments."""
    texts = {}
    known = {k for k, _, _ in keys}
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        where = f"{path.name}:{number}"
        if line.endswith("\r"):
            problems.add(where, "CR in the source: write it with LF line ends")
            line = line[:-1]
        if not line or line.startswith("#"):
            continue
        if "=" not in line:
            problems.add(where, "no '='")
            continue
        key, value = line.split("=", 1)
        if key not in known:
            problems.add(where, f"unknown key {key!r}")
        elif key in texts:
            problems.add(where, f"{key} given twice")
        else:
            texts[key] = value
    for key, _, _ in keys:
        if key not in texts:
            problems.add(path.name, f"{key} missing")
    return texts


def check_text(name, codepage, key, value, problems):
    where = f"{name} {key}"
    if any(c in value for c in "\r\n\t\0"):
        problems.add(where, "control character in the text")
    if value != value.rstrip():
        problems.add(where, "blank at the end")
    if key in JOIN_TAILS:
        if value.startswith("  "):
            problems.add(where, "more than one leading blank")
    else:
        if not value.strip():
            problems.add(where, "empty")
        if value != value.lstrip():
            problems.add(where, "blank at the start")
    if "&" in value.replace("&&", ""):
        if key not in MENU_ONLY:
            problems.add(where, "'&' outside a menu-only caption would be shown as it stands")
        elif value.replace("&&", "").count("&") > 1 or value.replace("&&", "").endswith("&"):
            problems.add(where, "more than one accelerator, or '&' at the end")
    if key in EVENT_KEYS and re.match(r"\s*\d", value):
        problems.add(where, "starts with a digit: the program writes the 'N.' prefix itself")
    try:
        data = value.encode(codepage)
    except UnicodeEncodeError as error:
        problems.add(where, f"not in {codepage}: {value[error.start:error.end]!r}")
        return b""
    if data.decode(codepage) != value:
        problems.add(where, f"does not come back from {codepage} unchanged")
    if key in AT_LEAST and len(data) < AT_LEAST[key]:
        problems.add(where, f"{len(data)} bytes, fewer than {AT_LEAST[key]}")
    if key in AT_MOST and len(data) > AT_MOST[key]:
        problems.add(where, f"{len(data)} bytes, more than {AT_MOST[key]}")
    return data


def language_file(name, codepage, keys, texts, problems):
    lines = []
    for key, _, _ in keys:
        if key in texts:  # a missing key is reported by read_texts
            lines.append(key.encode("ascii") + b"=" + check_text(name, codepage, key, texts[key], problems))
    return b"\r\n".join(lines) + b"\r\n"


def lookup(data, key):
    """The language file reader of the programs: first line whose key matches without regard to case."""
    for line in data.split(b"\r\n"):
        if b"=" in line:
            k, v = line.split(b"=", 1)
            if k.lower() == key.lower().encode("ascii"):
                return v
    return b""


def verify_language_file(name, codepage, keys, texts, data, problems):
    try:
        data.decode(codepage, errors="strict")
    except UnicodeDecodeError as error:
        problems.add(name, f"output does not decode in {codepage}: {error}")
        return
    if b"\n" in data.replace(b"\r\n", b"") or b"\r" in data.replace(b"\r\n", b""):
        problems.add(name, "a line end other than CR LF")
    for key, _, _ in keys:
        if lookup(data, key).decode(codepage) != texts.get(key, ""):
            problems.add(name, f"{key} does not read back as written")


def menu_text(value):
    """A caption as the user reads it: "(&S)" dropped, "&&" shown as "&", any other "&" dropped."""
    value = re.sub(r"\(&[^&]\)", "", value)
    return value.replace("&&", "\0").replace("&", "").replace("\0", "&")


def help_document(name, template, texts, language, problems):
    charset, lang = language.charset, language.lang
    specials = {
        "CHARSET": charset,
        "LANG": lang,
        "Dis3+Dis4": html.escape(menu_text(texts.get("Dis3", "") + texts.get("Dis4", "")), quote=False),
        "Dis5+Dis6": html.escape(menu_text(texts.get("Dis5", "") + texts.get("Dis6", "")), quote=False),
        "EVENT_LIST": "\n".join(f"<li>{n}.{html.escape(texts.get(k, ''), quote=False)}</li>"
                                for n, k in enumerate(EVENT_KEYS, 1)),
    }

    def fill(match):
        field = match.group(1)
        if field in specials:
            return specials[field]
        if field in texts:
            return html.escape(menu_text(texts[field]), quote=False)
        problems.add(name, f"unknown field {{{{{field}}}}}")
        return ""

    text = re.sub(r"\{\{([^{}]+)\}\}", fill, template)
    if language.blanks == "no":
        # A language that puts no blank between words: a line break after a wide character would show as one.
        text = re.sub(r"(?<=[^\x00-\x7f])\n", "", text)
    if "{{" in text or "}}" in text:
        problems.add(name, "unbalanced {{ }}")
    metas = re.findall(r'<meta http-equiv="Content-Type" content="text/html; charset=([^"]+)">', text)
    if metas != [charset]:
        problems.add(name, f"needs exactly one Content-Type meta with charset={charset}, has {metas}")
    for pattern in (r"<script", r"<link", r"<img", r"<object", r"<iframe", r"\bsrc\s*=", r"url\(", r"@import"):
        if re.search(pattern, text, re.IGNORECASE):
            problems.add(name, f"external resource or script ({pattern})")
    for target in re.findall(r'href\s*=\s*"([^"]*)"', text, re.IGNORECASE):
        if not target.startswith("#"):
            problems.add(name, f"link out of the document: {target}")
    anchors = set(re.findall(r'id="([^"]+)"', text))
    for target in re.findall(r'href="#([^"]*)"', text):
        if target not in anchors:
            problems.add(name, f"link to a missing anchor #{target}")
    if "\t" in text or "\r" in text:
        problems.add(name, "tab or CR in the source")
    return text


def encode_help(name, text, codepage, browser_codec, problems):
    try:
        data = text.replace("\n", "\r\n").encode(codepage)
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        problems.add(name, f"line {line}: not in {codepage}: {text[error.start:error.end]!r}")
        return b""
    for codec in (codepage, browser_codec):
        try:
            back = data.decode(codec, errors="strict")
        except UnicodeDecodeError as error:
            problems.add(name, f"output does not decode as {codec}: {error}")
            continue
        if back != text.replace("\n", "\r\n"):
            problems.add(name, f"output reads differently as {codec}")
    return data


def main(argv):
    check_only = argv[1:] == ["--check"]
    if argv[1:] and not check_only:
        print(__doc__)
        return 2
    problems = Problems()
    keys = read_keys()
    outputs = {}
    languages = read_languages(problems)
    for language in languages:
        name, codepage, help_path = language.file, language.codepage, language.help
        source = HERE / "help" / (Path(name).stem + ".htm")
        if not (HERE / "text" / name).is_file() or not source.is_file():
            problems.add(name, "text or help source missing")
            continue
        texts = read_texts(HERE / "text" / name, keys, problems)
        data = language_file(name, codepage, keys, texts, problems)
        verify_language_file(name, codepage, keys, texts, data, problems)
        outputs[LANG_OUT / name] = data
        document = help_document(source.name, source.read_text(encoding="utf-8"), texts, language, problems)
        outputs[HELP_OUT / help_path] = encode_help(help_path, document, codepage, language.browser_codec,
                                                    problems)
    outputs[TABLE_OUT] = language_table(languages)
    if problems:
        print("\n".join(problems), file=sys.stderr)
        print(f"{len(problems)} problem(s); nothing written", file=sys.stderr)
        return 1
    stale = []
    for path, data in outputs.items():
        if not path.exists() or path.read_bytes() != data:
            stale.append(path)
            if not check_only:
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_bytes(data)
    for path in stale:
        print(("stale: " if check_only else "wrote: ") + str(path.relative_to(RESOURCES.parent)))
    # The build ships every file of the two output folders: one that no source makes would go out unchecked.
    strays = sorted(path for folder in (LANG_OUT, HELP_OUT) for path in folder.rglob("*")
                    if path.is_file() and path not in outputs)
    for path in strays:
        print(f"made from no source (remove it or add its source): {path.relative_to(RESOURCES)}", file=sys.stderr)
    print(f"{len(outputs)} files, {len(stale)} {'stale' if check_only else 'written'}")
    return 1 if strays or (check_only and stale) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
