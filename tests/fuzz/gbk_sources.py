#!/usr/bin/env python3
"""Mirrors the portable sources for the fuzz build, their literals in GBK.

The project's builds compile with -fexec-charset=GBK, so a literal such as
the product folder's name is GBK at run time. clang, which libFuzzer needs,
knows no other execution character set than UTF-8. This writes a copy of
every .h and .cpp below SOURCE (src/) into MIRROR in which each non-ASCII
character of a plain string or character literal is written as octal
escapes of its GBK bytes (and, in a u8/u/U/L literal, as a universal
character name), so that clang compiles the same bytes gcc does. Comments
stay as they are; a non-ASCII character anywhere else, or in a raw string,
stops the run. Each copy begins with a #line naming its original, so that
diagnostics and stack traces point there (lines keep their numbers).

Folders that only the Windows build compiles are left out. A copy is
rewritten only when its text changes, and copies of removed sources go, so
that the build stays incremental and never compiles a stale file.

    gbk_sources.py SOURCE MIRROR
"""
import sys
from pathlib import Path

WINDOWS_ONLY = ("platform/win32", "ui", "res", "app/win", "app/logon")


def escape(char: str, prefix: str, where: str) -> str:
    if prefix == "":
        try:
            data = char.encode("gbk")
        except UnicodeEncodeError:
            sys.exit(f"gbk_sources: {where}: {char!r} is not in GBK")
        return "".join(f"\\{byte:03o}" for byte in data)
    code = ord(char)
    return f"\\u{code:04X}" if code <= 0xFFFF else f"\\U{code:08X}"


def transcode(text: str, where: str) -> str:
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end == -1 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end == -1 else end + 2
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            # The literal's prefix, if any, is what came just before it.
            j = i
            while j > 0 and (text[j - 1].isalnum() or text[j - 1] == "_"):
                j -= 1
            prefix = text[j:i]
            if c == "'" and prefix and prefix not in ("u8", "u", "U", "L"):
                out.append(c)  # a digit separator: 1'000
                i += 1
                continue
            if c == '"' and prefix.endswith("R"):
                delimiter = text[i + 1:text.index("(", i)]
                end = text.index(")" + delimiter + '"', i) + len(delimiter) + 2
                if any(ord(ch) > 0x7F for ch in text[i:end]):
                    sys.exit(f"gbk_sources: {where}: non-ASCII text in a raw string")
                out.append(text[i:end])
                i = end
                continue
            if prefix not in ("u8", "u", "U", "L"):
                prefix = ""
            out.append(c)
            i += 1
            while i < n and text[i] != c:
                if text[i] == "\\":
                    out.append(text[i:i + 2])
                    i += 2
                    continue
                if text[i] == "\n":
                    sys.exit(f"gbk_sources: {where}: a literal runs past its line")
                out.append(escape(text[i], prefix, where) if ord(text[i]) > 0x7F else text[i])
                i += 1
            out.append(c)
            i += 1
        else:
            if ord(c) > 0x7F:
                line = text.count("\n", 0, i) + 1
                sys.exit(f"gbk_sources: {where}:{line}: non-ASCII text outside a literal")
            out.append(c)
            i += 1
    return "".join(out)


def main() -> None:
    if len(sys.argv) != 3:
        sys.exit("usage: gbk_sources.py SOURCE MIRROR")
    source = Path(sys.argv[1]).resolve()
    mirror = Path(sys.argv[2]).resolve()
    wanted = set()
    for path in sorted(source.rglob("*")):
        relative = path.relative_to(source)
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        if any(relative.as_posix().startswith(folder + "/") for folder in WINDOWS_ONLY):
            continue
        text = path.read_text(encoding="utf-8")
        copy = f'#line 1 "{path.as_posix()}"\n' + transcode(text, str(relative))
        target = mirror / relative
        wanted.add(target)
        if not target.exists() or target.read_text(encoding="utf-8") != copy:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(copy, encoding="utf-8")
    for path in mirror.rglob("*"):
        if path.is_file() and path not in wanted:
            path.unlink()


if __name__ == "__main__":
    main()
