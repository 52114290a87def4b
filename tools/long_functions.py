#!/usr/bin/env python3
"""Lists the C++ functions whose body is longer than a limit (60 lines by default).

    tools/long_functions.py [--limit N] [PATH...]     (default PATH: src)

A body is counted from the line of its opening brace to the line of its closing brace, so a
constructor's member-initialiser list does not count. Comments and string literals are blanked
before the braces are matched. Exit status 1 when any function is over the limit.
"""
import argparse
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".cpp", ".h"}
# What may stand between a function's closing parenthesis and its body.
FUNCTION_TAIL = re.compile(r"\)\s*(?:const|override|final|noexcept(?:\([^)]*\))?|mutable|->\s*[\w:<>,\s*&]+|\s)*$")
NAME_BEFORE_PAREN = re.compile(r"((?:~|operator\s*\S+|\w)[\w:~]*)\s*$")


def Blank(text):
    """The text with comments, string and character literals replaced by spaces (newlines kept)."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c if j - i >= 2 else c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def Functions(text):
    """(name, first line, body lines) of every function body in the text."""
    code = Blank(text)
    found = []
    # Each scope: [kind, name, header start, line of "{"]; kinds: ns, class, func, init, block.
    stack = [["ns", "", 0, 1]]
    header_start = 0
    line = 1
    for i, c in enumerate(code):
        if c == "\n":
            line += 1
        kind = stack[-1][0]
        if c == "{":
            if kind in ("func", "block"):
                stack.append(["block", "", i, line])
                continue
            header = code[header_start:i]
            flat = " ".join(header.split())
            if kind == "init" or re.search(r"\b(namespace|extern)\b", flat) and "(" not in flat:
                stack.append(["ns" if kind != "init" else "init", "", header_start, line])
                header_start = i + 1
            elif re.search(r"\b(class|struct|union)\b", flat) and "(" not in flat and "=" not in flat:
                names = re.findall(r"\b(?:class|struct|union)\s+(?:\[\[[^\]]*\]\]\s*)?(\w+)", flat)
                stack.append(["class", names[-1] if names else "", header_start, line])
                header_start = i + 1
            elif "(" in flat and FUNCTION_TAIL.search(flat):
                paren = flat.index("(")
                m = NAME_BEFORE_PAREN.search(flat[:paren])
                name = m.group(1) if m else "?"
                owner = stack[-1][1] if kind == "class" else ""
                stack.append(["func", f"{owner}::{name}" if owner else name, header_start, line])
            elif "(" in flat and ":" in flat:
                stack.append(["init", "", header_start, line])  # a braced member initialiser
            else:
                stack.append(["block", "", i, line])
        elif c == "}":
            if len(stack) == 1:
                continue
            top = stack.pop()
            if top[0] == "func":
                found.append((top[1], top[3], line - top[3] + 1))
            if top[0] == "init":
                continue  # the header goes on after the initialiser
            if stack[-1][0] in ("ns", "class"):
                header_start = i + 1
        elif c == ";" and kind in ("ns", "class"):
            header_start = i + 1
        elif c == ":" and kind == "class" and re.search(r"\b(public|private|protected)\s*$", code[header_start:i]):
            header_start = i + 1
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--limit", type=int, default=60)
    parser.add_argument("paths", nargs="*", default=["src"])
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parent.parent
    files = []
    for p in args.paths:
        path = pathlib.Path(p) if pathlib.Path(p).is_absolute() else pathlib.Path.cwd() / p
        files += [path] if path.is_file() else sorted(f for f in path.rglob("*") if f.suffix in SOURCE_SUFFIXES)
    long_ones = []
    for f in files:
        for name, first, length in Functions(f.read_text(encoding="utf-8", errors="replace")):
            if length > args.limit:
                long_ones.append((length, f, first, name))
    for length, f, first, name in sorted(long_ones, reverse=True):
        shown = f.relative_to(root) if f.is_relative_to(root) else f
        print(f"{shown}:{first}: {name}: {length} lines")
    if long_ones:
        print(f"long functions: {len(long_ones)} over {args.limit} lines")
        return 1
    print(f"long functions: none over {args.limit} lines ({len(files)} files)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
