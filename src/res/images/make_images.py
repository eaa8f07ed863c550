#!/usr/bin/env python3
"""Regenerate the setup program's images.

Writes, next to this script:
  header.bmp  bitmap 147: 64 x 64, 8 bpp (its own colours), BI_RLE8,
              bottom-up (product emblem on the page colour RGB(170, 210, 150))
  app.ico     icon group 1: 48, 32 and 16 px, each at 4, 8 and 32 bpp (PNG)
  menu.bmp    bitmap 151: 307 x 175, 4 bpp (classic Windows 16 colours),
              BI_RLE4, bottom-up (the add-in's menu opened in AutoCAD 2010)

Usage:  python3 make_images.py [--preview DIR]
  --preview DIR   also write PNG previews (enlarged) into DIR

The output is deterministic: the same Pillow and the same font give the same
bytes.  Fonts: WenQuanYi Zen Hei (Debian package fonts-wqy-zenhei) for the
Chinese menu texts, DejaVu Sans Bold (fonts-dejavu-core) for the title bar.
"""

import io
import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:  # e.g. a pyenv interpreter without Pillow: use Debian's
    _SYSTEM_PY = "/usr/bin/python3"
    if (os.path.exists(_SYSTEM_PY)
            and not os.environ.get("MAKE_IMAGES_REEXEC")
            and os.path.realpath(sys.executable) != os.path.realpath(_SYSTEM_PY)):
        os.environ["MAKE_IMAGES_REEXEC"] = "1"
        os.execv(_SYSTEM_PY, [_SYSTEM_PY] + sys.argv)
    sys.exit("make_images.py needs Pillow (Debian: apt-get install python3-pil)")

HERE = os.path.dirname(os.path.abspath(__file__))

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
CJK_FONT_SHARP = 2          # face "WenQuanYi Zen Hei Sharp": bitmap strikes at 12 px
TITLE_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

PAGE_GREEN = (170, 210, 150)   # page background of every wizard page

# --------------------------------------------------------------------------
# BMP / ICO writers (written by hand: Pillow cannot write 4-bpp BMP or
# palette-based ICO images)
# --------------------------------------------------------------------------


def _row_stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def _pack_rows(width, height, bpp, pixels):
    """pixels: list of rows (top row first); each row a list of palette
    indices (bpp 4/8) or (r, g, b[, a]) tuples (bpp 24/32).  Returns the
    bottom-up pixel array with every row padded to 4 bytes."""
    stride = _row_stride(width, bpp)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = pixels[y]
        b = bytearray()
        if bpp == 4:
            for x in range(0, width, 2):
                hi = row[x] & 0x0F
                lo = (row[x + 1] & 0x0F) if x + 1 < width else 0
                b.append((hi << 4) | lo)
        elif bpp == 8:
            b.extend(row)
        else:
            raise ValueError(bpp)
        b.extend(b"\0" * (stride - len(b)))
        out.extend(b)
    return bytes(out)


def _info_header(width, height, bpp, image_size, colours_used=0):
    # BITMAPINFOHEADER, BI_RGB
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       image_size, 0, 0, colours_used, 0)


def _palette_bytes(palette, count):
    b = bytearray()
    for i in range(count):
        r, g, bl = palette[i] if i < len(palette) else (0, 0, 0)
        b.extend((bl, g, r, 0))
    return bytes(b)


def _rle_row(row, bpp):
    """One row of palette indices in BI_RLE8 (bpp 8) or BI_RLE4 (bpp 4) form,
    with its end-of-line mark.  Greedy: a run of 2 or more pixels that repeat
    (RLE4: a pair that alternates) is one encoded run; 3 or more other pixels
    go into one absolute run; what is left are encoded runs of one pixel."""
    n = len(row)
    out = bytearray()

    def run_at(i):
        j = i + 1
        while j < n and j - i < 255 and row[j] == (
                row[i + (j - i) % 2] if bpp == 4 and i + 1 < n else row[i]):
            j += 1
        return j - i

    i = 0
    while i < n:
        run = run_at(i)
        if run >= 2:
            second = row[i + 1] if bpp == 4 else 0
            out += bytes((run, (row[i] << 4 | second) if bpp == 4 else row[i]))
            i += run
            continue
        j = i
        while j < n and j - i < 255 and run_at(j) < 2:
            j += 1
        literal = row[i:j]
        if len(literal) < 3:
            for index in literal:
                out += bytes((1, index << 4 if bpp == 4 else index))
        else:
            packed = bytearray()
            if bpp == 4:
                for k in range(0, len(literal), 2):
                    lo = literal[k + 1] if k + 1 < len(literal) else 0
                    packed.append(literal[k] << 4 | lo)
            else:
                packed.extend(literal)
            if len(packed) % 2:
                packed.append(0)      # absolute runs end on a word boundary
            out += bytes((0, len(literal))) + packed
        i = j
    return bytes(out + b"\0\0")


def write_bmp_rle(path, width, height, bpp, rows, palette):
    """A run-length compressed BMP (BI_RLE8 for 8 bpp, BI_RLE4 for 4 bpp),
    bottom-up, with only the palette entries it uses: Windows loads it as it
    loads an uncompressed one, in a fraction of the bytes."""
    data = b"".join(_rle_row(rows[y], bpp) for y in range(height - 1, -1, -1))
    data += b"\0\1"                   # end of bitmap
    pal = _palette_bytes(palette, len(palette))
    off = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp,
                       1 if bpp == 8 else 2, len(data), 0, 0, len(palette), 0)
    filehdr = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    with open(path, "wb") as f:
        f.write(filehdr + info + pal + data)


def _and_mask(width, height, opaque):
    """1-bpp AND mask, bottom-up; 1 = transparent."""
    stride = _row_stride(width, 1)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if not opaque[y][x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out.extend(row)
    return bytes(out)


def icon_image_bytes(img_rgba, bpp):
    """One ICO image in BMP format (header with double height, optional
    palette, XOR bitmap, AND mask).  Pixels with alpha < 128 are transparent
    in the mask; in palette images they get index 0 (black), so that the
    screen shows through unchanged."""
    w, h = img_rgba.size
    if bpp == 32:
        # PNG, as icons may hold since Windows Vista: a third of the bytes.
        buffer = io.BytesIO()
        img_rgba.save(buffer, "PNG", optimize=True)
        return buffer.getvalue()
    px = img_rgba.load()
    opaque = [[px[x, y][3] >= 128 for x in range(w)] for y in range(h)]
    mask = _and_mask(w, h, opaque)
    if bpp == 4:
        rows = _quantise(img_rgba, ICON_PALETTE_16)
        rows = [[i if opaque[y][x] else 0 for x, i in enumerate(r)]
                for y, r in enumerate(rows)]
        palette = ICON_PALETTE_16
    else:
        rows, palette = _palettise_icon(img_rgba, opaque, 1 << bpp)
    xor = _pack_rows(w, h, bpp, rows)
    ncol = (1 << bpp) if bpp <= 8 else 0
    pal = _palette_bytes(palette, ncol) if ncol else b""
    hdr = _info_header(w, h * 2, bpp, len(xor) + len(mask), 0)
    return hdr + pal + xor + mask


def _palettise_icon(img_rgba, opaque, ncol):
    """8 bpp: adaptive palette: index 0 is black (used for transparent pixels),
    indices 1.. hold the colours of the opaque pixels, median cut, no
    dithering."""
    w, h = img_rgba.size
    rgb = img_rgba.convert("RGB")
    q = rgb.quantize(colors=ncol - 1, method=Image.Quantize.MEDIANCUT,
                     dither=Image.Dither.NONE)
    qpal = q.getpalette()[: 3 * (ncol - 1)]
    palette = [(0, 0, 0)] + [tuple(qpal[i:i + 3]) for i in range(0, len(qpal), 3)]
    qp = q.load()
    rows = [[(qp[x, y] + 1) if opaque[y][x] else 0 for x in range(w)]
            for y in range(h)]
    return rows, palette


def write_ico(path, images):
    """images: list of (rgba_image, bpp)."""
    count = len(images)
    blobs = [icon_image_bytes(im, bpp) for im, bpp in images]
    offset = 6 + 16 * count
    head = struct.pack("<HHH", 0, 1, count)
    entries = b""
    for (im, bpp), blob in zip(images, blobs):
        w, h = im.size
        colour_count = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, colour_count, 0,
                               1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(head + entries + b"".join(blobs))


# --------------------------------------------------------------------------
# Emblem: a stack of drawing sheets coming out of a plotter, with a green
# accent band and a green "V" badge
# --------------------------------------------------------------------------

SUPERSAMPLE = 8


class _Canvas:
    """Draws in a design grid of `grid` units onto an RGBA image of
    size*SUPERSAMPLE pixels."""

    def __init__(self, size, grid):
        self.px = size * SUPERSAMPLE
        self.k = self.px / grid
        self.img = Image.new("RGBA", (self.px, self.px), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def s(self, v):
        return v * self.k

    def box(self, x0, y0, x1, y1):
        return [self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1]

    def rect(self, x0, y0, x1, y1, fill, outline=None, width=0.0, radius=0.0):
        b = self.box(x0, y0, x1, y1)
        w = max(1, round(self.s(width))) if outline else 0
        if radius:
            self.d.rounded_rectangle(b, radius=self.s(radius), fill=fill,
                                     outline=outline, width=w)
        else:
            self.d.rectangle(b, fill=fill, outline=outline, width=w)

    def line(self, pts, fill, width):
        self.d.line([(self.s(x), self.s(y)) for x, y in pts], fill=fill,
                    width=max(1, round(self.s(width))), joint="curve")

    def poly(self, pts, fill):
        self.d.polygon([(self.s(x), self.s(y)) for x, y in pts], fill=fill)

    def ellipse(self, cx, cy, r, fill):
        self.d.ellipse([self.s(cx - r), self.s(cy - r), self.s(cx + r) - 1,
                        self.s(cy + r) - 1], fill=fill)

    def vgradient(self, x0, y0, x1, y1, top, bottom, radius):
        """Rounded rectangle filled with a vertical gradient."""
        w = round(self.s(x1) - self.s(x0))
        h = round(self.s(y1) - self.s(y0))
        grad = Image.new("RGBA", (w, h))
        gd = ImageDraw.Draw(grad)
        for yy in range(h):
            t = yy / max(1, h - 1)
            c = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
            gd.line([(0, yy), (w, yy)], fill=c + (255,))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1],
                                               radius=self.s(radius), fill=255)
        self.img.paste(grad, (round(self.s(x0)), round(self.s(y0))), mask)

    def result(self, size):
        # downsample with premultiplied alpha, so edges do not darken
        pm = self.img.convert("RGBa").resize((size, size), Image.BOX)
        return pm.convert("RGBA")


INK = (44, 50, 58, 255)            # outlines
SHEET_BACK = (226, 232, 226, 255)
SHEET_MID = (240, 244, 240, 255)
SHEET_FRONT = (255, 255, 255, 255)
DRAW_LINE = (70, 92, 120, 255)     # drawing on the front sheet
BODY_TOP = (112, 124, 136)
BODY_BOTTOM = (56, 64, 74)
SLOT = (24, 28, 33, 255)
GREEN = (46, 150, 70, 255)
GREEN_LIGHT = (120, 205, 120, 255)
GREEN_DARK = (14, 92, 44, 255)
WHITE = (255, 255, 255, 255)


# the 16 colours of the 4-bpp icon images: index 0 (black) is also used
# for the transparent pixels; the others are the emblem's own colours and a
# few in-between shades for the edges
ICON_PALETTE_16 = [
    (0, 0, 0), INK[:3], SHEET_BACK[:3], WHITE[:3],
    DRAW_LINE[:3], BODY_TOP, (84, 94, 105), BODY_BOTTOM,
    SLOT[:3], GREEN[:3], GREEN_LIGHT[:3], GREEN_DARK[:3],
    (172, 178, 182), (136, 146, 156), (205, 211, 205), (88, 172, 100),
]


def emblem_full(size):
    """The full design, for 64, 48 and 32 px."""
    c = _Canvas(size, 64)
    # three sheets, fanned to the upper right, going into the plotter
    c.rect(28, 2, 55, 36, SHEET_BACK, INK, 1.1)
    c.rect(20.5, 5, 47.5, 36, SHEET_MID, INK, 1.1)
    c.rect(13, 8, 40, 36, SHEET_FRONT, INK, 1.1)
    # a small floor plan on the front sheet
    c.rect(17, 12, 36, 27, None, DRAW_LINE, 1.4)              # outer walls
    c.line([(26, 12), (26, 20.5)], DRAW_LINE, 1.4)            # inner walls
    c.line([(17, 20.5), (22, 20.5)], DRAW_LINE, 1.4)
    c.line([(30, 20.5), (36, 20.5)], GREEN, 1.4)
    # plotter body
    c.rect(2.5, 29.5, 61.5, 56.5, INK, radius=6)
    c.vgradient(3.5, 30.5, 60.5, 55.5, BODY_TOP, BODY_BOTTOM, 5)
    c.rect(9, 32, 55, 35, SLOT, radius=1.2)                   # paper slot
    c.rect(3.5, 42, 60.5, 46, GREEN)                          # accent band
    c.rect(3.5, 42, 60.5, 43, GREEN_LIGHT)
    c.ellipse(9, 38.5, 1.8, GREEN_LIGHT)                      # power light
    # badge with a "V"
    c.ellipse(49, 50, 13, WHITE)
    c.ellipse(49, 50, 11, GREEN_DARK)
    c.ellipse(49, 49, 9.8, GREEN)
    c.poly([(42.2, 43.8), (45.8, 43.8), (49, 53.2), (52.2, 43.8),
            (55.8, 43.8), (50.8, 57.2), (47.2, 57.2)], WHITE)
    return c.result(size)


def emblem_small(size=16):
    """Simplified design for 16 px: two sheets, plotter, green band."""
    c = _Canvas(size, 16)
    c.rect(6, 0.5, 14.5, 9, SHEET_MID, INK, 1.0)
    c.rect(2.5, 2, 11, 9, SHEET_FRONT, INK, 1.0)
    c.line([(4.5, 6.5), (4.5, 4.5), (8.5, 4.5)], DRAW_LINE, 1.0)
    c.rect(0, 7.5, 16, 15.5, INK, radius=2)
    c.vgradient(1, 8.5, 15, 14.5, BODY_TOP, BODY_BOTTOM, 1.5)
    c.rect(1, 11, 15, 13, GREEN)
    c.rect(11.5, 9, 13.5, 10.5, GREEN_LIGHT)
    return c.result(size)


def make_header(path):
    em = emblem_full(64)
    bg = Image.new("RGBA", (64, 64), PAGE_GREEN + (255,))
    img = Image.alpha_composite(bg, em).convert("RGB")
    px = img.load()
    # Its few hundred colours, each exactly, as an 8-bpp palette.
    palette = sorted(set(px[x, y] for y in range(64) for x in range(64)))
    assert len(palette) <= 256, len(palette)
    index = {c: i for i, c in enumerate(palette)}
    rows = [[index[px[x, y]] for x in range(64)] for y in range(64)]
    write_bmp_rle(path, 64, 64, 8, rows, palette)
    return img


def make_icon(path):
    images = []
    for size in (48, 32, 16):
        em = emblem_full(size) if size > 16 else emblem_small(size)
        for bpp in (4, 8, 32):
            images.append((em, bpp))
    write_ico(path, images)
    return images


# --------------------------------------------------------------------------
# Menu picture: the add-in's menu opened in AutoCAD 2010 (classic Windows
# look, drawn only in the 16 standard colours)
# --------------------------------------------------------------------------

WIN16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
K, MAROON, DGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, \
    YELLOW, BLUE, FUCHSIA, AQUA, WH = WIN16

MENU_W, MENU_H = 307, 175
MENU_BAR_ITEMS = ["标注(N)", "修改(M)", "窗口(W)", "帮助(H)"]
ADDIN_TITLE = "Varnok批打印"
ADDIN_COMMANDS = ["单张打印到文件", "批量打印到文件", "批量打印到纸张", "信息定制",
                  "批量打印到文件(定制型)"]
WINDOW_TITLE = "AutoCAD 2010 - [Drawing1.dwg]"


def _bevel(d, x0, y0, x1, y1, raised=True, face=SILVER):
    """Classic 3-D edge: (x0, y0)-(x1, y1) inclusive."""
    d.rectangle([x0, y0, x1, y1], fill=face)
    hi, lo, dark = (WH, GRAY, K) if raised else (GRAY, WH, K)
    if raised:
        d.line([(x0, y1), (x0, y0), (x1, y0)], fill=WH)
        d.line([(x1, y0), (x1, y1), (x0, y1)], fill=K)
        d.line([(x1 - 1, y0 + 1), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)], fill=GRAY)
    else:
        d.line([(x0, y1), (x0, y0), (x1, y0)], fill=GRAY)
        d.line([(x1, y0), (x1, y1), (x0, y1)], fill=WH)


def _caption_button(d, x, y, kind, w=16, h=14):
    _bevel(d, x, y, x + w - 1, y + h - 1)
    cx, cy = x + w // 2 - 1, y + h // 2 - 1
    if kind == "min":
        d.rectangle([x + 4, y + h - 5, x + 9, y + h - 4], fill=K)
    elif kind == "max":
        d.rectangle([x + 3, y + 2, x + w - 5, y + h - 4], outline=K)
        d.line([(x + 3, y + 3), (x + w - 5, y + 3)], fill=K)
    elif kind == "restore":
        d.rectangle([x + 6, y + 2, x + w - 4, y + 7], outline=K)
        d.line([(x + 6, y + 3), (x + w - 4, y + 3)], fill=K)
        d.rectangle([x + 3, y + 5, x + w - 7, y + 10], outline=K, fill=SILVER)
        d.line([(x + 3, y + 6), (x + w - 7, y + 6)], fill=K)
    elif kind == "close":
        for o in (0, 1):
            d.line([(cx - 3 + o, cy - 3), (cx + 3 + o, cy + 3)], fill=K)
            d.line([(cx + 3 + o, cy - 3), (cx - 3 + o, cy + 3)], fill=K)


def _quantise(img, palette):
    """Nearest colour of `palette` for every pixel, no dithering."""
    w, h = img.size
    px = img.load()
    cache = {}
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            c = px[x, y]
            i = cache.get(c)
            if i is None:
                i = min(range(len(palette)), key=lambda k: sum(
                    (c[j] - palette[k][j]) ** 2 for j in range(3)))
                cache[c] = i
            row.append(i)
        rows.append(row)
    return rows


def make_menu(path):
    img = Image.new("RGB", (MENU_W, MENU_H), SILVER)
    d = ImageDraw.Draw(img)
    d.fontmode = "1"                      # no anti-aliasing: crisp in 16 colours
    cjk = ImageFont.truetype(CJK_FONT, 12, index=CJK_FONT_SHARP)
    title_font = ImageFont.truetype(TITLE_FONT, 11)

    right = MENU_W - 1
    # window frame: top edge and right edge (the crop shows the upper right
    # part of the AutoCAD window)
    d.line([(0, 0), (right, 0)], fill=SILVER)
    d.line([(0, 1), (right - 1, 1)], fill=WH)
    d.line([(right, 0), (right, MENU_H - 1)], fill=K)
    d.line([(right - 1, 1), (right - 1, MENU_H - 1)], fill=GRAY)
    frame_r = right - 4                   # last column inside the frame

    # title bar
    tb_top, tb_bot = 4, 22
    d.rectangle([0, tb_top, frame_r, tb_bot], fill=NAVY)
    tw = d.textlength(WINDOW_TITLE, font=title_font)
    d.text((round((frame_r - 54 - tw) / 2), tb_top + 3), WINDOW_TITLE,
           font=title_font, fill=WH)
    bx = frame_r - 2 - 16
    _caption_button(d, bx, tb_top + 2, "close")
    _caption_button(d, bx - 18, tb_top + 2, "max")
    _caption_button(d, bx - 34, tb_top + 2, "min")

    # menu bar
    mb_top, mb_bot = tb_bot + 1, tb_bot + 20
    d.rectangle([0, mb_top, frame_r, mb_bot], fill=SILVER)
    pad = 5
    ty = mb_top + 3

    def entry_w(t):
        return round(d.textlength(t, font=cjk)) + 2 * pad

    # the last three entries before the add-in's title are shown whole; the
    # crop's left edge falls into the gap before them
    title_x = sum(entry_w(t) for t in MENU_BAR_ITEMS[-3:])
    title_w = entry_w(ADDIN_TITLE)
    x = title_x
    for t in reversed(MENU_BAR_ITEMS):
        x -= entry_w(t)
        d.text((x + pad, ty), t, font=cjk, fill=K)
    # the add-in's title, highlighted as an opened menu
    d.rectangle([title_x, mb_top + 1, title_x + title_w - 1, mb_bot], fill=NAVY)
    d.text((title_x + pad, ty), ADDIN_TITLE, font=cjk, fill=WH)

    # drawing area (AutoCAD's black model space) with a few drawing lines
    da_top = mb_bot + 2
    d.line([(0, mb_bot + 1), (frame_r, mb_bot + 1)], fill=GRAY)
    d.rectangle([0, da_top, frame_r, MENU_H - 1], fill=K)
    _drawing(d)

    # the opened menu, below the title; it may overlap the window's frame
    item_h = 19
    px0, py0 = title_x, mb_bot + 1
    px1 = MENU_W - 1
    py1 = py0 + item_h * len(ADDIN_COMMANDS) + 6 - 1
    d.rectangle([px0, py0, px1, py1], fill=SILVER)
    d.line([(px0 + 1, py1 - 1), (px0 + 1, py0 + 1), (px1 - 1, py0 + 1)], fill=WH)
    d.line([(px1, py0), (px1, py1), (px0, py1)], fill=K)
    d.line([(px1 - 1, py0 + 1), (px1 - 1, py1 - 1), (px0 + 1, py1 - 1)], fill=GRAY)
    text_w = max(round(d.textlength(t, font=cjk)) for t in ADDIN_COMMANDS)
    left = min(16, (px1 - px0 + 1 - text_w) // 2 + 2)
    for i, t in enumerate(ADDIN_COMMANDS):
        iy = py0 + 3 + i * item_h
        d.text((px0 + left, iy + 3), t, font=cjk, fill=K)

    # red arrow pointing at the add-in's title, from the lower left
    _arrow(img, (title_x - 66, 146), (title_x - 2, mb_bot + 3), RED)

    rows = _quantise(img, WIN16)
    write_bmp_rle(path, MENU_W, MENU_H, 4, rows, WIN16)
    out = Image.new("P", (MENU_W, MENU_H))
    out.putpalette([v for c in WIN16 for v in c])
    out.putdata([i for r in rows for i in r])
    return out.convert("RGB")


def _drawing(d):
    """A few lines of a drawing in the model space, left of the arrow."""
    d.rectangle([14, 74, 62, 156], outline=WH)                 # walls
    d.line([(14, 112), (40, 112)], fill=WH)
    d.line([(40, 74), (40, 100)], fill=WH)
    d.arc([40 - 12, 100 - 12, 40 + 12, 100 + 12], 0, 90, fill=WH)   # door
    d.line([(40, 100), (52, 100)], fill=WH)
    d.ellipse([20, 124, 34, 138], outline=YELLOW)
    d.line([(5, 74), (5, 156)], fill=AQUA)                     # dimensions
    for yy in (74, 112, 156):
        d.line([(3, yy), (7, yy)], fill=AQUA)
    d.line([(14, 165), (62, 165)], fill=AQUA)
    for xx in (14, 62):
        d.line([(xx, 163), (xx, 167)], fill=AQUA)


def _arrow(img, tail, tip, colour, shaft=3.5, head_len=20, head_w=9):
    """Filled arrow, anti-aliased by coverage (the edges become the nearest
    palette colours when the picture is reduced to 16 colours)."""
    import math
    ss = 4
    tx, ty = tail
    hx, hy = tip
    length = math.hypot(hx - tx, hy - ty)
    ux, uy = (hx - tx) / length, (hy - ty) / length
    nx, ny = -uy, ux
    bx, by = hx - ux * head_len, hy - uy * head_len
    pts = [
        (tx + nx * shaft, ty + ny * shaft),
        (bx + nx * shaft, by + ny * shaft),
        (bx + nx * head_w, by + ny * head_w),
        (hx, hy),
        (bx - nx * head_w, by - ny * head_w),
        (bx - nx * shaft, by - ny * shaft),
        (tx - nx * shaft, ty - ny * shaft),
    ]
    w, h = img.size
    mask = Image.new("L", (w * ss, h * ss), 0)
    ImageDraw.Draw(mask).polygon([((x + 0.5) * ss, (y + 0.5) * ss)
                                  for x, y in pts], fill=255)
    mask = mask.resize((w, h), Image.BOX)
    img.paste(Image.new("RGB", (w, h), colour), (0, 0), mask)


# --------------------------------------------------------------------------


def verify(header, icons, menu):
    """Read the written files back, check their headers, and decode them
    (Pillow) to check that they hold exactly the pictures drawn."""
    def bmp_info(path):
        b = open(path, "rb").read()
        ftype, fsize, _, _, off = struct.unpack("<2sIHHI", b[:14])
        hdr = struct.unpack("<IiiHHIIiiII", b[14:54])
        assert ftype == b"BM" and fsize == len(b), path
        return hdr, off, len(b)

    for name, w, h, bpp, comp, drawn in (("header.bmp", 64, 64, 8, 1, header),
                                         ("menu.bmp", 307, 175, 4, 2, menu)):
        path = os.path.join(HERE, name)
        (size, bw, bh, planes, bits, c, img, _, _, used, _), off, n = bmp_info(path)
        assert (size, bw, bh, planes, bits, c) == (40, w, h, 1, bpp, comp), name
        assert off == 54 + 4 * used and off + img == n, name
        with Image.open(path) as read:
            assert read.convert("RGB").tobytes() == drawn.convert("RGB").tobytes(), name
        print("  %-10s %d x %d, %d bpp, %s, bottom-up, %d bytes" % (
            name, w, h, bpp, "BI_RLE8" if comp == 1 else "BI_RLE4", n))

    d = open(os.path.join(HERE, "app.ico"), "rb").read()
    reserved, kind, count = struct.unpack("<HHH", d[:6])
    assert (reserved, kind, count) == (0, 1, 9)
    seen = []
    for i in range(count):
        w, h, cc, _, planes, bpp, size, off = struct.unpack(
            "<BBBBHHII", d[6 + 16 * i:22 + 16 * i])
        assert off + size <= len(d) and planes == 1, i
        assert cc == (16 if bpp == 4 else 0), i
        if bpp == 32:
            with Image.open(io.BytesIO(d[off:off + size])) as png:
                assert png.format == "PNG" and png.size == (w, h), i
                drawn = next(im for im, b in icons if im.size == (w, h) and b == 32)
                assert png.convert("RGBA").tobytes() == drawn.tobytes(), i
        else:
            hdr = struct.unpack("<IiiHHIIiiII", d[off:off + 40])
            assert hdr[:6] == (40, w, 2 * h, 1, bpp, 0), i
            expect = (40 + 4 * (1 << bpp) + _row_stride(w, bpp) * h
                      + _row_stride(w, 1) * h)
            assert size == expect, i
        seen.append((w, bpp))
    assert sorted(seen) == sorted((s, b) for s in (16, 32, 48) for b in (4, 8, 32))
    print("  %-10s %d images: %s, %d bytes" % ("app.ico", count, ", ".join(
        "%dx%d@%dbpp%s" % (w, w, b, " PNG" if b == 32 else "") for w, b in seen), len(d)))


def main(argv):
    preview = None
    if len(argv) >= 2 and argv[0] == "--preview":
        preview = argv[1]
    elif argv:
        sys.exit(__doc__)

    header = make_header(os.path.join(HERE, "header.bmp"))
    icons = make_icon(os.path.join(HERE, "app.ico"))
    menu = make_menu(os.path.join(HERE, "menu.bmp"))
    print("wrote header.bmp, app.ico, menu.bmp in", HERE)
    verify(header, icons, menu)

    if preview:
        os.makedirs(preview, exist_ok=True)
        header.resize((256, 256), Image.NEAREST).save(
            os.path.join(preview, "header_x4.png"))
        bg = Image.new("RGB", (120, 90), PAGE_GREEN)
        bg.paste(header, (22, 2))
        bg.resize((480, 360), Image.NEAREST).save(
            os.path.join(preview, "header_on_page_x4.png"))
        menu.resize((MENU_W * 3, MENU_H * 3), Image.NEAREST).save(
            os.path.join(preview, "menu_x3.png"))
        menu.save(os.path.join(preview, "menu.png"))
        print("previews in", preview)


if __name__ == "__main__":
    main(sys.argv[1:])
