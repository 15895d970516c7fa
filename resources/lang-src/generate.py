#!/usr/bin/env python3
"""Writes the twelve language files (resources/lang) and help documents (resources/Help) from their UTF-8
sources in this folder, each in the ANSI code page of its language, and checks them on the way.

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

# index, language file (program folder), Windows code page, charset declared in the help document, the codec
# that a browser applies to that charset, help document (below Help), html lang attribute.
LANGUAGES = [
    (0, "English.txt", "cp1252", "windows-1252", "cp1252", "Readmee/Readmee.htm", "en"),
    (1, "Chinese.txt", "cp950", "big5", "big5", "Readmec/ReadmeC.htm", "zh-TW"),
    (2, "Chinese_s.txt", "cp936", "gb2312", "gb2312", "Readmec_s/Readmec_s.htm", "zh-CN"),
    (3, "Japanese.txt", "cp932", "shift_jis", "shift_jis", "ReadmeJ/ReadmeJ.htm", "ja"),
    (4, "Thai.txt", "cp874", "windows-874", "cp874", "ReadmeT/ReadmeT.htm", "th"),
    (5, "German.txt", "cp1252", "windows-1252", "cp1252", "ReadmeG/ReadmeG.htm", "de"),
    (6, "French.txt", "cp1252", "windows-1252", "cp1252", "ReadmeF/ReadmeF.htm", "fr"),
    (7, "Spanish.txt", "cp1252", "windows-1252", "cp1252", "ReadmeS/ReadmeS.htm", "es"),
    (8, "Korean.txt", "cp949", "euc-kr", "euc_kr", "Readmek/Readmek.htm", "ko"),
    (9, "Polish.txt", "cp1250", "windows-1250", "cp1250", "ReadmeP/ReadmeP.htm", "pl"),
    (10, "Turkish.txt", "cp1254", "windows-1254", "cp1254", "ReadmeTu/ReadmeTu.htm", "tr"),
    (11, "russian.txt", "cp1251", "windows-1251", "cp1251", "ReadmeR/ReadmeR.htm", "ru"),
]

# Second parts of the two joined headings: may be empty or start with a blank.
JOIN_TAILS = {"Dis4", "Dis6"}
# Keys shown only as menu captions: the only ones that may carry an "&" accelerator. The others are also hints
# or window captions, where an "&" would show as it stands.
MENU_ONLY = {"Dis7", "Dis8", "Dis9", "Dis10", "Exit"}
# The event kinds, code by code: eventbook puts "N." before each text itself.
EVENT_KEYS = ["Log1", "Log2", "Msg2", "Msg3", "Log3", "Msg8", "Msg9", "Msg7", "Log4", "Msg5", "Msg4", "Log5",
              "Msg10", "Msg6", "Log6"]
# Help languages whose source line breaks must not become blanks.
NO_SPACE_BREAKS = {"zh-TW", "zh-CN", "ja"}
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


def help_document(name, template, texts, charset, lang, problems):
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
    if lang in NO_SPACE_BREAKS:
        # Chinese and Japanese put no blank between words: a line break after a wide character would show as one.
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
    for _, name, codepage, charset, browser_codec, help_path, lang in LANGUAGES:
        source = HERE / "help" / (Path(name).stem + ".htm")
        if not (HERE / "text" / name).is_file() or not source.is_file():
            problems.add(name, "text or help source missing")
            continue
        texts = read_texts(HERE / "text" / name, keys, problems)
        data = language_file(name, codepage, keys, texts, problems)
        verify_language_file(name, codepage, keys, texts, data, problems)
        outputs[LANG_OUT / name] = data
        document = help_document(source.name, source.read_text(encoding="utf-8"), texts, charset, lang, problems)
        outputs[HELP_OUT / help_path] = encode_help(help_path, document, codepage, browser_codec, problems)
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
        print(("stale: " if check_only else "wrote: ") + str(path.relative_to(RESOURCES)))
    # The build ships every file of the two output folders: one that no source makes would go out unchecked.
    strays = sorted(path for folder in (LANG_OUT, HELP_OUT) for path in folder.rglob("*")
                    if path.is_file() and path not in outputs)
    for path in strays:
        print(f"made from no source (remove it or add its source): {path.relative_to(RESOURCES)}", file=sys.stderr)
    print(f"{len(outputs)} files, {len(stale)} {'stale' if check_only else 'written'}")
    return 1 if strays or (check_only and stale) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
