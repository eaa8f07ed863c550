#!/usr/bin/env python3
"""Check the four agreement screens (screen0.txt .. screen3.txt).

For every screen it checks the encoding and the fixed structure, wraps the
text the way the page's static control does (word-break at the control's
width) and prints the number of lines.  Exit status 1 when a check fails.

Usage:  python3 check_agreement.py [--preview DIR]
  --preview DIR   also draw each screen as it would wrap into a PNG

Geometry: the text control is 253 x 105 dialog units in a dialog whose font
is 9-point SimSun.  At 96 DPI that font is 12 px high with an average
character width of 6 px, so 1 DLU = 1.5 px either way and the control is
380 x 158 px: 13 lines of 12 px, 31 Chinese characters per line.  Under
Wine the font is replaced by WenQuanYi Zen Hei (12 px em, 16 px line), the
dialog units grow with it (1.5 x 2 px), so the control holds 13 lines there
too.  To leave a margin, a screen may use at most MAX_LINES lines.
"""

import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:  # e.g. a pyenv interpreter without Pillow: use Debian's
    _SYSTEM_PY = "/usr/bin/python3"
    if (os.path.exists(_SYSTEM_PY)
            and not os.environ.get("CHECK_AGREEMENT_REEXEC")
            and os.path.realpath(sys.executable) != os.path.realpath(_SYSTEM_PY)):
        os.environ["CHECK_AGREEMENT_REEXEC"] = "1"
        os.execv(_SYSTEM_PY, [_SYSTEM_PY] + sys.argv)
    sys.exit("check_agreement.py needs Pillow (Debian: apt-get install python3-pil)")

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
FONT_PX = 12

CONTROL_DLU = (253, 105)
BASE_UNITS = (6, 12)          # 9-pt SimSun at 96 DPI: average width, height
WIDTH_PX = (CONTROL_DLU[0] * BASE_UNITS[0] + 2) // 4     # 380
HEIGHT_PX = (CONTROL_DLU[1] * BASE_UNITS[1] + 4) // 8    # 158
CAPACITY = HEIGHT_PX // BASE_UNITS[1]                    # 13 lines
MAX_LINES = 11

IDEO_SPACE = "\u3000"
INDENT = IDEO_SPACE * 2
TITLE = " " * 13 + "Varnok批打印软件最终用户许可协议"
HEADINGS = ["软件产品许可协议", "1．版权", "2．保证否认书", "3．鉴定", "4、个别授权"]
DATE_LINE = "本协议最终修订日期： 2021-03-16"

# characters that must not begin a line (kept with the one before them);
# stricter than the control, so the count errs on the safe side
NO_LINE_START = "，。、；：？！）》」』”’．,.;:?!)]}"


def tokens(line):
    """Break opportunities: around every non-ASCII character and at ASCII
    blanks; a run of other ASCII characters stays together."""
    out, word = [], ""
    for ch in line:
        if ord(ch) < 128 and ch != " ":
            word += ch
            continue
        if word:
            out.append(word)
            word = ""
        out.append(ch)
    if word:
        out.append(word)
    return out


def char_width(font, tok):
    """Advance of a token; a non-ASCII character counts at least as a full
    em, as every double-byte character does in SimSun."""
    w = font.getlength(tok)
    if len(tok) == 1 and ord(tok) >= 128:
        w = max(w, FONT_PX)
    return w


def wrap(text, font, width):
    lines = []
    for hard in text.split("\n"):
        cur, cur_w = [], 0.0
        if not hard:
            lines.append("")
            continue
        for tok in tokens(hard):
            w = char_width(font, tok)
            if cur and cur_w + w > width and tok != " ":
                if tok in NO_LINE_START and len(cur) > 1:
                    carry = cur.pop()
                    lines.append("".join(cur).rstrip(" "))
                    cur, cur_w = [carry], char_width(font, carry)
                else:
                    lines.append("".join(cur).rstrip(" "))
                    cur, cur_w = [], 0.0
            cur.append(tok)
            cur_w += w
        lines.append("".join(cur))
    return lines


def visible_lines(lines):
    n = len(lines)
    while n and not lines[n - 1].strip():
        n -= 1
    return n


def structure_errors(screens):
    err = []
    s0, s1, s2, s3 = screens
    if not s0.startswith(TITLE + "\n\n"):
        err.append("screen 0 must start with 13 blanks, the title and an empty line")
    for s, heads in ((s0, HEADINGS[:1]), (s1, HEADINGS[1:3]), (s2, HEADINGS[3:])):
        for h in heads:
            if ("\n" + h + "\n\n") not in ("\n" + s):
                err.append("heading %r must stand on its own line, followed by an empty line" % h)
    if s1.endswith("\n"):
        err.append("screen 1 must end mid-paragraph, without a line feed")
    if s2.startswith((INDENT, "\n")):
        err.append("screen 2 must continue the paragraph of screen 1")
    if not s2.endswith("\n\n") or not s0.endswith("\n\n"):
        err.append("screens 0 and 2 must end with a paragraph and an empty line")
    if not s3.startswith("\n") or not s3.endswith("\n\n" + DATE_LINE):
        err.append("screen 3 must start with a line feed and end with the date line, no line feed after it")
    # every indented line starts a paragraph that ends with an empty line
    for i, s in enumerate(screens):
        ls = s.split("\n")
        for k, l in enumerate(ls):
            if l.startswith(INDENT + IDEO_SPACE):
                err.append("screen %d: paragraph with more than two ideographic spaces" % i)
            if l.startswith(INDENT) and k + 1 < len(ls) and ls[k + 1] != "":
                err.append("screen %d: paragraph not followed by an empty line" % i)
            if l.startswith(IDEO_SPACE) and not l.startswith(INDENT):
                err.append("screen %d: paragraph indented by one ideographic space" % i)
    return err


def main(argv):
    preview = argv[1] if len(argv) >= 2 and argv[0] == "--preview" else None
    font = ImageFont.truetype(FONT, FONT_PX, index=0)
    ascent, descent = font.getmetrics()
    ok = True
    screens = []
    print("control %d x %d px, capacity %d lines of %d px; allowed %d lines"
          % (WIDTH_PX, HEIGHT_PX, CAPACITY, BASE_UNITS[1], MAX_LINES))
    for i in range(4):
        path = os.path.join(HERE, "screen%d.txt" % i)
        raw = open(path, "rb").read()
        problems = []
        if raw.startswith(b"\xef\xbb\xbf"):
            problems.append("has a byte-order mark")
        if b"\r" in raw:
            problems.append("has carriage returns (use LF only)")
        text = raw.decode("utf-8")
        try:
            text.encode("gbk")
        except UnicodeEncodeError as e:
            problems.append("character %r is not in GBK" % text[e.start])
        screens.append(text)
        lines = wrap(text, font, WIDTH_PX)
        n = visible_lines(lines)
        # DrawText's own measure also counts an empty line that a final
        # line feed leaves, but not the empty piece after the last one
        measured = len(lines) - (1 if text.endswith("\n") else 0)
        if n > MAX_LINES:
            problems.append("%d lines, more than %d" % (n, MAX_LINES))
        if measured > CAPACITY:
            problems.append("measures %d lines, the control holds %d" % (measured, CAPACITY))
        print("screen%d.txt: %2d lines of text (DrawText measure %d of %d), "
              "%d bytes%s" % (i, n, measured, CAPACITY, len(raw),
                              "" if not problems else "  FAIL: " + "; ".join(problems)))
        for l in lines[:n]:
            print("    |" + l)
        ok = ok and not problems
        if preview:
            os.makedirs(preview, exist_ok=True)
            line_h = ascent + descent
            img = Image.new("RGB", (WIDTH_PX + 20, 20 + CAPACITY * line_h),
                            (170, 210, 150))
            d = ImageDraw.Draw(img)
            d.rectangle([9, 9, 10 + WIDTH_PX, 10 + CAPACITY * line_h], outline=(120, 150, 110))
            for k, l in enumerate(lines[:n]):
                d.text((10, 10 + k * line_h), l, font=font, fill=(0, 0, 0))
            img.save(os.path.join(preview, "screen%d.png" % i))
    for e in structure_errors(screens):
        ok = False
        print("FAIL:", e)
    print("all screens fit" if ok else "CHECK FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
