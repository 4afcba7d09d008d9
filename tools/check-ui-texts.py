#!/usr/bin/env python3
"""Fails when a program shows a text written into its code instead of one of its string tables.

Every call of the functions that put a text in front of the user (message boxes, window and
control texts, the question box, text drawn on screen) is read with its arguments; a string
literal among them that holds a letter is reported, unless it is one of the few fixed texts the
program keeps in every language (ALLOWED).

Usage: check-ui-texts.py [repository root]
"""
import pathlib
import re
import sys

FOLDERS = ["app", "capture", "editor", "media", "platform", "setup", "uninstall", "widgets",
           "stacking", "results"]
CALLS = ["MessageBoxW", "MessageBoxA", "MessageBoxExW", "SetWindowTextW", "SetWindowTextA",
         "SetDlgItemTextW", "SetDlgItemTextA", "SetItemText", "SetTexts", "TextOutW",
         "DrawTextW", "AddRadio", "SetTitle"]
# Texts the program shows as they are in every language.
ALLOWED = {
    "Enter a positive integer.",
    "Orvane device not Found,Exit...",
    "Stop",
    "Not enough memory to complete the operation!",  # Copy image in English
    "Warning",
    "\u6ca1\u6709\u8db3\u591f\u7684\u5185\u5b58\u5b8c\u6210\u6b64\u9879\u64cd\u4f5c!",  # its other text
    "\u8b66\u544a",
    "Original size",  # the save dialog's size choices
    "320X240",
}

CALL_RE = re.compile(r"\b(" + "|".join(CALLS) + r")\s*\(")
LITERAL_RE = re.compile(r'(?:\bL|\bu8|\bu)?"((?:[^"\\\n]|\\.)*)"')


def strip_comments(text):
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
        elif text[i] in "\"'":
            quote, j = text[i], i + 1
            while j < n and text[j] != quote:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def arguments(text, start):
    """The text between the call's parentheses (start: just after the opening one)."""
    depth, i = 1, start
    while i < len(text) and depth:
        c = text[i]
        if c in "\"'":
            j = i + 1
            while j < len(text) and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            i = j
        elif c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        i += 1
    return text[start:i - 1]


def decode(literal):
    def hex_escape(m):
        return chr(int(m.group(1), 16))
    s = re.sub(r"\\x([0-9A-Fa-f]{1,4})", hex_escape, literal)
    s = re.sub(r"\\u([0-9A-Fa-f]{4})", hex_escape, s)
    return s.replace("\\n", "\n").replace("\\t", "\t").replace('\\"', '"').replace("\\\\", "\\")


def offences(path, text):
    code = strip_comments(text)
    found = []
    for call in CALL_RE.finditer(code):
        args = arguments(code, call.end())
        # Literals with nothing but blanks between them are one text.
        texts, last_end = [], None
        for m in LITERAL_RE.finditer(args):
            piece = decode(m.group(1))
            if last_end is not None and args[last_end:m.start()].strip() == "":
                texts[-1] += piece
            else:
                texts.append(piece)
            last_end = m.end()
        for piece in texts:
            if any(ch.isalpha() for ch in piece) and piece not in ALLOWED:
                line = code.count("\n", 0, call.start()) + 1
                found.append(f"{path}:{line}: {call.group(1)} shows the literal {piece!r}")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    problems = []
    checked = 0
    for folder in FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            checked += 1
            problems += offences(path.relative_to(root), path.read_text(encoding="utf-8"))
    if checked == 0:
        print("check-ui-texts: no source files found under", root, file=sys.stderr)
        return 1
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
