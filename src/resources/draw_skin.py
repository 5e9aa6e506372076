#!/usr/bin/python3
"""Draws the installer's pictures: the window skin, the button glyphs and the
information panel text (RTF).

Run from anywhere:  python3 src/resources/draw_skin.py [--preview FILE.png]

Everything is drawn from fixed seeds, so a rerun gives byte-identical files
and the binary resources only change when this script does.
"""

import os
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:
    # A pyenv or venv python may shadow Debian's, which is the one with PIL.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

import math
import random
from pathlib import Path

HERE = Path(__file__).resolve().parent
SKIN = HERE / "skin"
GLYPHS = HERE / "glyphs"

FONTS = Path("/usr/share/fonts/truetype")
SANS = FONTS / "dejavu/DejaVuSans.ttf"
SANS_BOLD = FONTS / "dejavu/DejaVuSans-Bold.ttf"
SANS_COND_BOLD = FONTS / "dejavu/DejaVuSansCondensed-Bold.ttf"
ARIAL_BOLD = FONTS / "liberation/LiberationSans-Bold.ttf"

# The program takes the colour of the information panel and the page control
# from the top-left pixel of the title, so the band, the logo and the title
# all share this grey and the title melts into the band.
BAND = (236, 236, 235)
PANEL = (237, 237, 237)
BLUE_DARK = (16, 58, 122)
ECG_RED = (200, 32, 44)

SS = 4  # supersampling factor for anti-aliased shapes

# Window geometry the skin is drawn for (client size at the normal window size).
WIN_W, WIN_H = 954, 579
BAND_BOTTOM = 88  # first row below the band's body
PANELS_AT = (-3, 95)


def font(path, size):
    return ImageFont.truetype(str(path), size)


def downsample(img, size):
    """Box-filters a supersampled RGBA drawing; premultiplied so that
    transparent pixels do not bleed their colour into the edges."""
    return img.convert("RGBa").resize(size, Image.Resampling.BOX).convert("RGBA")


def vertical_gradient(size, top, bottom):
    w, h = size
    grad = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(h - 1, 1)
        grad.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return grad.resize((w, h), Image.Resampling.NEAREST)


def solid(size, rgb, mask):
    layer = Image.new("RGBA", size, rgb + (0,))
    layer.putalpha(mask)
    return layer


def shadow_of(mask, offset, blur, strength):
    """Soft black shadow of a coverage mask, as an RGBA layer of the same size."""
    shifted = ImageChops.offset(mask, *offset)
    # ImageChops.offset wraps around; clear what wrapped in from the far edges.
    dx, dy = offset
    d = ImageDraw.Draw(shifted)
    w, h = mask.size
    if dx > 0:
        d.rectangle((0, 0, dx - 1, h), fill=0)
    if dy > 0:
        d.rectangle((0, 0, w, dy - 1), fill=0)
    soft = shifted.filter(ImageFilter.GaussianBlur(blur))
    soft = soft.point(lambda v: round(v * strength))
    return solid(mask.size, (0, 0, 0), soft)


# --------------------------------------------------------------------------
# Paper texture


def periodic_noise(size, cells, rng):
    """Smooth value noise that wraps around: the lattice is indexed modulo
    its size, so the last column blends into the first."""
    lattice = [[rng.random() for _ in range(cells)] for _ in range(cells)]
    step = size / cells
    out = [[0.0] * size for _ in range(size)]

    def smooth(t):
        return t * t * (3 - 2 * t)

    for y in range(size):
        gy, fy = divmod(y / step, 1)
        gy = int(gy)
        sy = smooth(fy)
        row0, row1 = lattice[gy % cells], lattice[(gy + 1) % cells]
        for x in range(size):
            gx, fx = divmod(x / step, 1)
            gx = int(gx)
            sx = smooth(fx)
            a = row0[gx % cells] + (row0[(gx + 1) % cells] - row0[gx % cells]) * sx
            b = row1[gx % cells] + (row1[(gx + 1) % cells] - row1[gx % cells]) * sx
            out[y][x] = a + (b - a) * sy - 0.5
    return out


def wrapped_blur(img, radius):
    """Gaussian blur of a tile as if it were repeated on all sides."""
    w, h = img.size
    big = Image.new(img.mode, (w * 3, h * 3))
    for i in range(3):
        for j in range(3):
            big.paste(img, (i * w, j * h))
    return big.filter(ImageFilter.GaussianBlur(radius)).crop((w, h, 2 * w, 2 * h))


def draw_background():
    size = 128
    rng = random.Random(1251)
    # weak low octaves: strong blotches would show the 128 px repeat
    octaves = [(4, 0.9), (8, 1.3), (16, 1.4), (32, 1.1)]
    fields = [(periodic_noise(size, cells, rng), amp) for cells, amp in octaves]

    # Fibres: short faint strokes, each drawn at all nine tile offsets so that
    # the ones crossing an edge continue on the opposite side.
    fibres = Image.new("L", (size, size), 128)
    fd = ImageDraw.Draw(fibres)
    for _ in range(70):
        x, y = rng.uniform(0, size), rng.uniform(0, size)
        ang = rng.uniform(0, math.pi)
        length = rng.uniform(6, 18)
        shade = 128 + rng.choice((-1, 1)) * rng.randint(5, 9)
        x2, y2 = x + math.cos(ang) * length, y + math.sin(ang) * length
        for ox in (-size, 0, size):
            for oy in (-size, 0, size):
                fd.line((x + ox, y + oy, x2 + ox, y2 + oy), fill=shade, width=1)
    fibres = wrapped_blur(fibres, 0.6)

    base = 229.0
    img = Image.new("RGB", (size, size))
    px = img.load()
    fp = fibres.load()
    for y in range(size):
        for x in range(size):
            v = base
            for field, amp in fields:
                v += field[y][x] * amp * 2
            v += (fp[x, y] - 128) * 0.5
            v += rng.uniform(-1.6, 1.6)  # grain; per pixel, so it tiles by itself
            v = max(0, min(255, v))
            # a hint of warmth, as real paper has
            px[x, y] = (round(v), round(v), round(v - 1.5))
    return img


# --------------------------------------------------------------------------
# Title band


def draw_title_band():
    """Draws one wide stretch of the band and cuts the three pieces from it,
    so the ends and the middle column join without a seam."""
    w, h = 120, 100
    left, radius = 7, 10  # left edge in line with the panels below
    W, H = w * SS, h * SS
    k = SS

    mask_hi = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask_hi).rounded_rectangle(
        (left * k, -40 * k, W + 40 * k, BAND_BOTTOM * k - 1), radius * k, fill=255
    )
    body_hi = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(body_hi)
    # Darker rim along the bottom and the left, then the band grey inside it.
    d.rounded_rectangle(
        (left * k, -40 * k, W + 40 * k, BAND_BOTTOM * k - 1), radius * k, fill=(176, 178, 182, 255)
    )
    d.rounded_rectangle(
        ((left + 1) * k, -40 * k, W + 40 * k, (BAND_BOTTOM - 1) * k - 1),
        (radius - 1) * k,
        fill=(214, 215, 216, 255),
    )
    d.rounded_rectangle(
        ((left + 2) * k, -40 * k, W + 40 * k, (BAND_BOTTOM - 2) * k - 1),
        (radius - 2) * k,
        fill=BAND + (255,),
    )
    body = downsample(body_hi, (w, h))
    mask = mask_hi.resize((w, h), Image.Resampling.BOX)

    strip = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    strip.alpha_composite(shadow_of(mask, (0, 2), 2.6, 0.38))
    strip.alpha_composite(body)

    left_end = strip.crop((0, 0, 22, h))
    middle = strip.crop((60, 0, 61, h))
    right_end = left_end.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
    assert list(left_end.crop((21, 0, 22, h)).getdata()) == list(middle.getdata()), (
        "left end does not join the middle column"
    )
    return left_end, middle, right_end


# --------------------------------------------------------------------------
# Logo of the supplier


def ecg_points(x0, x1, base, amp):
    """One and a half heartbeats as a polyline: P wave, QRS, T wave."""
    beat = [
        (0.00, 0.0), (0.08, 0.0), (0.11, 0.10), (0.14, 0.13), (0.17, 0.10), (0.20, 0.0),
        (0.26, 0.0), (0.28, -0.12), (0.32, 1.0), (0.36, -0.35), (0.39, 0.0),
        (0.46, 0.0), (0.52, 0.18), (0.57, 0.24), (0.62, 0.18), (0.68, 0.0), (1.00, 0.0),
    ]
    pts = []
    span = (x1 - x0) / 1.55
    for n in range(2):
        for t, v in beat:
            x = x0 + (n + t) * span
            if x > x1:
                break
            pts.append((x, base - v * amp))
    pts.append((x1, base))
    return pts


def draw_logo():
    w, h = 72, 70
    W, H = w * SS, h * SS
    k = SS
    img = Image.new("RGBA", (W, H), BAND + (255,))
    d = ImageDraw.Draw(img)

    # ECG paper card with a rim and a small grid
    card = (3 * k, 29 * k, 69 * k - 1, 67 * k - 1)
    d.rounded_rectangle(card, 5 * k, fill=(156, 166, 182, 255))
    inner = (4 * k, 30 * k, 68 * k - 1, 66 * k - 1)
    d.rounded_rectangle(inner, 4 * k, fill=(255, 252, 250, 255))
    grid = Image.new("L", (W, H), 0)
    gd = ImageDraw.Draw(grid)
    for gx in range(8, 68, 5):
        gd.line((gx * k, 30 * k, gx * k, 66 * k), fill=255 if (gx - 8) % 10 == 0 else 140, width=k // 2)
    for gy in range(33, 66, 5):
        gd.line((4 * k, gy * k, 68 * k, gy * k), fill=255 if (gy - 33) % 10 == 0 else 140, width=k // 2)
    card_mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(card_mask).rounded_rectangle(inner, 4 * k, fill=255)
    grid = ImageChops.multiply(grid, card_mask).point(lambda v: v * 70 // 255)
    img.alpha_composite(solid((W, H), (232, 120, 120), grid))

    pts = [(x * k, y * k) for x, y in ecg_points(6, 66, 54, 21)]
    trace = Image.new("L", (W, H), 0)
    ImageDraw.Draw(trace).line(pts, fill=255, width=round(1.8 * k), joint="curve")
    img.alpha_composite(solid((W, H), ECG_RED, trace))
    img = downsample(img, (w, h))

    # Lettering at the final size: hinting keeps the small letters crisp.
    d = ImageDraw.Draw(img)
    big = font(SANS_COND_BOLD, 15)
    d.text((w / 2, 11), "ПРИМЕР", font=big, fill=BLUE_DARK, anchor="ms")
    small = font(SANS_BOLD, 9)
    word = "МЕД"
    d.text((w / 2, 24), word, font=small, fill=ECG_RED, anchor="ms")
    # thin rules either side of the small word
    tw = d.textlength(word, font=small)
    for x0, x1 in ((8, w / 2 - tw / 2 - 4), (w / 2 + tw / 2 + 4, w - 8)):
        d.line((x0, 20.5, x1, 20.5), fill=(150, 160, 176), width=1)
    return img.convert("RGB").convert("RGBA")  # alpha 255 everywhere


# --------------------------------------------------------------------------
# Title


def spaced_text_mask(size, text, fnt, baseline_y, tracking):
    """Mask of a centred line of text with extra space between the letters."""
    mask = Image.new("L", size, 0)
    d = ImageDraw.Draw(mask)
    widths = [d.textlength(ch, font=fnt) for ch in text]
    total = sum(widths) + tracking * (len(text) - 1)
    x = (size[0] - total) / 2
    for ch, cw in zip(text, widths):
        d.text((x, baseline_y), ch, font=fnt, fill=255, anchor="ls")
        x += cw + tracking
    return mask


def draw_title():
    w, h = 500, 66
    img = Image.new("RGBA", (w, h), BAND + (255,))
    d = ImageDraw.Draw(img)

    desc = "Комплекс суточного мониторирования электрокардиограмм"
    d.text((w / 2, 14), desc, font=font(SANS, 12), fill=(58, 62, 70), anchor="ms")

    name = "СОНТИРА"
    name_font = font(ARIAL_BOLD, 44)
    mask = spaced_text_mask((w, h), name, name_font, 59, 6)
    # a soft drop shadow lifts the letters off the band
    img.alpha_composite(shadow_of(mask, (1, 2), 1.2, 0.22))
    # a thin light edge under the letters, as if embossed
    img.alpha_composite(solid((w, h), (255, 255, 255), ImageChops.offset(mask, 0, 1).point(lambda v: v * 0.5)))
    grad = vertical_gradient((w, h), (62, 128, 210), (14, 66, 150)).convert("RGBA")
    grad.putalpha(mask)
    img.alpha_composite(grad)

    img = img.convert("RGB")
    assert img.getpixel((0, 0)) == BAND
    return img


# --------------------------------------------------------------------------
# Panels


def draw_panels():
    w, h = 958, 472
    ox, oy = -PANELS_AT[0], -PANELS_AT[1]  # window to image coordinates
    # Outer rectangles of the panels, bevel included (inclusive coordinates).
    left = (10, 6, 309, 464)
    right = (314, 6, 949, 464)
    # The controls the program lays on them must sit inside the fill.
    for panel, (cx, cy, cw, ch) in ((left, (16, 110, 282, 441)), (right, (320, 110, 619, 441))):
        x0, y0, x1, y1 = cx + ox, cy + oy, cx + ox + cw - 1, cy + oy + ch - 1
        assert panel[0] + 4 <= x0 and x1 <= panel[2] - 4, (panel, x0, x1)
        assert panel[1] + 4 <= y0 and y1 <= panel[3] - 4, (panel, y0, y1)

    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))

    # Below the panels the window shows the paper texture; fade the white into
    # a paper-like grey over the last rows so there is no hard line there.
    fade_rows = 10
    fade = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    fd = ImageDraw.Draw(fade)
    for i in range(fade_rows):
        a = round(255 * ((i + 1) / fade_rows) ** 1.6)
        fd.line((0, h - fade_rows + i, w, h - fade_rows + i), fill=(228, 228, 226, a))
    img.alpha_composite(fade)

    mask = Image.new("L", (w, h), 0)
    md = ImageDraw.Draw(mask)
    for p in (left, right):
        md.rectangle(p, fill=255)
    img.alpha_composite(shadow_of(mask, (2, 3), 3.0, 0.30))
    # a faint halo all round, so the top and left edges do not look cut out
    img.alpha_composite(shadow_of(mask, (0, 0), 1.2, 0.10))

    d = ImageDraw.Draw(img)
    for x0, y0, x1, y1 in (left, right):
        d.rectangle((x0, y0, x1, y1), fill=(168, 170, 174, 255))  # outer frame
        d.rectangle((x0 + 1, y0 + 1, x1 - 1, y1 - 1), fill=PANEL + (255,))
        light, dark = (255, 255, 255, 255), (196, 197, 200, 255)
        d.line((x0 + 1, y0 + 1, x1 - 1, y0 + 1), fill=light)
        d.line((x0 + 1, y0 + 1, x0 + 1, y1 - 1), fill=light)
        d.line((x0 + 1, y1 - 1, x1 - 1, y1 - 1), fill=dark)
        d.line((x1 - 1, y0 + 1, x1 - 1, y1 - 1), fill=dark)
    return img


# --------------------------------------------------------------------------
# Button glyphs


G = 16
GS = 8  # glyphs are drawn 8 times larger and box-filtered down


def gmask():
    return Image.new("L", (G * GS, G * GS), 0)


def gpt(p):
    return (p[0] * GS, p[1] * GS)


def thick_polyline(mask, pts, width):
    """Stroke with round caps and joins (PIL's own line has square ends)."""
    d = ImageDraw.Draw(mask)
    hp = [gpt(p) for p in pts]
    d.line(hp, fill=255, width=round(width * GS), joint="curve")
    r = width * GS / 2
    for x, y in hp:
        d.ellipse((x - r, y - r, x + r, y + r), fill=255)


def filled_shape(mask, top, bottom, rim, rim_width=0.9):
    """A shape with a vertical colour gradient and a darker rim around it."""
    size = mask.size
    n = round(rim_width * GS)
    rim_mask = mask.filter(ImageFilter.MaxFilter(2 * n + 1))
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    layer.alpha_composite(solid(size, rim, rim_mask))
    grad = vertical_gradient(size, top, bottom).convert("RGBA")
    grad.putalpha(mask)
    layer.alpha_composite(grad)
    # gloss on the upper half
    gloss = ImageChops.multiply(mask, vertical_gradient(size, (90,) * 3, (0,) * 3).convert("L"))
    layer.alpha_composite(solid(size, (255, 255, 255), gloss))
    return layer


def glyph_cancel():
    m = gmask()
    thick_polyline(m, [(4.3, 4.3), (11.7, 11.7)], 3.0)
    thick_polyline(m, [(11.7, 4.3), (4.3, 11.7)], 3.0)
    return filled_shape(m, (246, 104, 92), (196, 28, 28), (128, 16, 16))


def glyph_ok():
    m = gmask()
    thick_polyline(m, [(3.4, 8.6), (6.6, 11.8), (12.8, 4.4)], 3.0)
    return filled_shape(m, (128, 212, 104), (36, 146, 48), (20, 92, 30))


def arrow_mask(mirror=False):
    m = gmask()
    pts = [(2.2, 6.1), (8.0, 6.1), (8.0, 2.4), (14.0, 8.0), (8.0, 13.6), (8.0, 9.9), (2.2, 9.9)]
    if mirror:
        pts = [(G - x, y) for x, y in pts]
    ImageDraw.Draw(m).polygon([gpt(p) for p in pts], fill=255)
    return m


def glyph_next():
    return filled_shape(arrow_mask(), (104, 168, 236), (28, 92, 184), (12, 50, 118))


def glyph_back():
    return filled_shape(arrow_mask(mirror=True), (104, 168, 236), (28, 92, 184), (12, 50, 118))


def glyph_exit():
    door = gmask()
    ImageDraw.Draw(door).rectangle((gpt((2.0, 1.6)), gpt((9.4, 14.4))), fill=255)
    layer = filled_shape(door, (208, 160, 102), (150, 100, 54), (92, 58, 28), 0.8)
    # the doorway's dark inside, seen past the open leaf
    d = ImageDraw.Draw(layer)
    d.rectangle((gpt((3.4, 3.0)), gpt((8.0, 13.0))), fill=(74, 52, 34, 255))
    leaf = gmask()
    ImageDraw.Draw(leaf).polygon(
        [gpt(p) for p in ((3.4, 3.0), (6.6, 4.2), (6.6, 14.0), (3.4, 13.0))], fill=255
    )
    layer.alpha_composite(filled_shape(leaf, (226, 186, 128), (176, 122, 66), (92, 58, 28), 0.5))
    arrow = gmask()
    pts = [(6.4, 6.6), (10.2, 6.6), (10.2, 3.8), (15.0, 8.0), (10.2, 12.2), (10.2, 9.4), (6.4, 9.4)]
    ImageDraw.Draw(arrow).polygon([gpt(p) for p in pts], fill=255)
    layer.alpha_composite(filled_shape(arrow, (128, 212, 104), (36, 146, 48), (20, 92, 30), 0.8))
    return layer


def glyph_install():
    m = gmask()
    d = ImageDraw.Draw(m)
    cx = cy = 8.0
    teeth, r_out, r_in = 8, 7.6, 5.0
    pts = []
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        half_tip, half_root = math.pi / teeth * 0.42, math.pi / teeth * 0.62
        for ang, r in (
            (a - half_root - 0.10, r_in),
            (a - half_tip, r_out),
            (a + half_tip, r_out),
            (a + half_root + 0.10, r_in),
        ):
            pts.append(gpt((cx + r * math.cos(ang), cy + r * math.sin(ang))))
    d.polygon(pts, fill=255)
    r = 5.2 * GS
    d.ellipse((cx * GS - r, cy * GS - r, cx * GS + r, cy * GS + r), fill=255)
    hole = 2.3 * GS
    d.ellipse((cx * GS - hole, cy * GS - hole, cx * GS + hole, cy * GS + hole), fill=0)
    return filled_shape(m, (150, 186, 230), (50, 96, 168), (22, 52, 108), 0.8)


def greyed(glyph):
    """The disabled frame: a flat light grey silhouette of the glyph."""
    out = Image.new("RGBA", glyph.size, (0, 0, 0, 0))
    src = glyph.load()
    dst = out.load()
    for y in range(glyph.size[1]):
        for x in range(glyph.size[0]):
            r, g, b, a = src[x, y]
            lum = 0.299 * r + 0.587 * g + 0.114 * b
            v = round(132 + lum * 0.30)
            dst[x, y] = (v, v, v, round(a * 0.85))
    return out


def glyph_strip(hi_res):
    small = downsample(hi_res, (G, G))
    strip = Image.new("RGBA", (2 * G, G), (0, 0, 0, 0))
    strip.paste(small, (0, 0))
    strip.paste(greyed(small), (G, 0))
    return strip


# --------------------------------------------------------------------------
# Information panel (RTF)


def rtf_escape(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("".join(f"\\'{b:02x}" for b in ch.encode("cp1251")))
    return "".join(out)


def info_rtf():
    # (style, text); styles: h1 heading, h2 sub-heading, p body, small
    blocks = [
        ("h1", "Комплекс «Сонтира»"),
        ("p", "Комплекс суточного мониторирования электрокардиограмм: "
              "считывание записи с регистратора, автоматический анализ "
              "ритма и сегмента ST, просмотр и печать заключений."),
        ("p", "Программа установки скопирует файлы комплекса в выбранную "
              "папку, установит базу данных, шрифты, по выбору драйвер "
              "интерфейса USB, и создаст ярлык на рабочем столе."),
        ("h2", "Поставщик"),
        ("lines", ["ООО «Пример-Мед» (вымышленная)",
                   "000000, г. Примерск,",
                   "ул. Примерная, д. 0"]),
        ("lines", ["Телефон: +7 (000) 000-00-00",
                   "E-mail: info@example.invalid",
                   "Сайт: www.example.invalid"]),
        ("small", "Все контактные данные вымышлены и приведены для примера."),
    ]
    body = r"\pard\sa100\f0\fs20\cf2 "
    parts = [
        r"{\rtf1\ansi\ansicpg1251\deff0\deflang1049",
        r"{\fonttbl{\f0\fswiss\fcharset204 MS Sans Serif;}{\f1\fswiss\fcharset204 Arial;}}",
        r"{\colortbl ;\red16\green58\blue122;\red32\green32\blue32;\red96\green96\blue96;}",
        r"\viewkind4\uc1",
    ]
    for style, text in blocks:
        if style == "h1":
            parts.append(r"\pard\sa120\f1\fs28\b\cf1 " + rtf_escape(text) + r"\b0\par")
        elif style == "h2":
            parts.append(r"\pard\sb120\sa60\f1\fs22\b\cf1 " + rtf_escape(text) + r"\b0\par")
        elif style == "p":
            parts.append(body + rtf_escape(text) + r"\par")
        elif style == "lines":
            parts.append(r"\pard\sa100\f0\fs20\cf2 " + r"\line ".join(rtf_escape(t) for t in text) + r"\par")
        elif style == "small":
            parts.append(r"\pard\sb60\f0\fs16\i\cf3 " + rtf_escape(text) + r"\i0\par")
    parts.append("}")
    return "\r\n".join(parts) + "\r\n"


# --------------------------------------------------------------------------


def over_white(img):
    """What the program makes of an image: blended over opaque white, alpha dropped."""
    base = Image.new("RGBA", img.size, (255, 255, 255, 255))
    base.alpha_composite(img.convert("RGBA"))
    return base.convert("RGB")


def preview(skin, w=WIN_W, h=WIN_H):
    out = Image.new("RGB", (w, h))
    bg = over_white(skin["background"])
    for y in range(0, h + 1, bg.size[1]):
        for x in range(0, w + 1, bg.size[0]):
            out.paste(bg, (x, y))
    left, right, mid = (over_white(skin[n]) for n in ("title_pnl_l", "title_pnl_r", "title_pnl_m"))
    out.paste(left, (0, 0))
    r = w - right.size[0]
    out.paste(right, (r, 0))
    for x in range(left.size[0], r):
        out.paste(mid, (x, 0))
    out.paste(over_white(skin["logo"]), (left.size[0] - 5, 15))
    title = over_white(skin["title2"])
    out.paste(title, ((w - title.size[0]) // 2, 20))
    out.paste(over_white(skin["main"]), PANELS_AT)
    return out


def tile_seam(img):
    """Mean step across the tile's wrap-around edges against the mean step
    between neighbouring pixels inside it; similar values mean no seam."""
    g = img.convert("L").load()
    n = img.size[0]
    inner = [abs(g[x, y] - g[x + 1, y]) for y in range(n) for x in range(n - 1)]
    edge = [abs(g[n - 1, y] - g[0, y]) for y in range(n)] + [abs(g[x, n - 1] - g[x, 0]) for x in range(n)]
    return sum(edge) / len(edge), sum(inner) / len(inner)


def main(argv):
    SKIN.mkdir(exist_ok=True)
    GLYPHS.mkdir(exist_ok=True)

    left, middle, right = draw_title_band()
    skin = {
        "background": draw_background(),
        "title_pnl_l": left,
        "title_pnl_m": middle,
        "title_pnl_r": right,
        "logo": draw_logo(),
        "title2": draw_title(),
        "main": draw_panels(),
    }
    for name, img in skin.items():
        img.save(SKIN / f"{name}.png", optimize=True)

    glyphs = {
        "cancel": glyph_cancel(),
        "next": glyph_next(),
        "back": glyph_back(),
        "exit": glyph_exit(),
        "install": glyph_install(),
        "ok": glyph_ok(),
    }
    for name, hi in glyphs.items():
        glyph_strip(hi).save(GLYPHS / f"{name}.png", optimize=True)

    (HERE / "info.rtf").write_bytes(info_rtf().encode("ascii"))

    for folder in (SKIN, GLYPHS):
        for path in sorted(folder.glob("*.png")):
            with Image.open(path) as im:
                extra = ""
                if path.name == "title2.png":
                    extra = f"  top-left {im.getpixel((0, 0))}"
                if path.name == "logo.png":
                    extra = f"  alpha {im.getchannel('A').getextrema()}"
                print(f"{path.relative_to(HERE)}: {im.size[0]}x{im.size[1]} {im.mode}{extra}")
    edge, inner = tile_seam(skin["background"])
    print(f"skin/background.png: mean step across tile edge {edge:.2f}, inside {inner:.2f}")
    print(f"info.rtf: {(HERE / 'info.rtf').stat().st_size} bytes")

    if "--preview" in argv:
        target = argv[argv.index("--preview") + 1]
        preview({n: Image.open(SKIN / f"{n}.png") for n in skin}).save(target)
        print(f"preview: {target}")


if __name__ == "__main__":
    main(sys.argv[1:])
