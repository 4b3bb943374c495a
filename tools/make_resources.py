#!/usr/bin/env python3
"""Regenerate everything under resources/.

    python3 tools/make_resources.py                 # rewrite resources/
    python3 tools/make_resources.py --preview DIR   # also write enlarged previews

Standard library only, and deterministic: every run produces the same bytes
(no timestamps, no randomness), so the outputs are committed and a build
never has to run this script.

The drawing code lives beside this file in tools/resources/:
  raster.py   anti-aliased polygon rasterizer, paints, masks
  imgfmt.py   PNG / TGA / ICO writers
  rar4.py     RAR 1.5-4.x writer for stored entries (block layout documented there)
  badges.py   the 103-rank badge ladder
  sheets.py   caption buttons, message icons, program icon, VIP marks, effects
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "resources"))

import badges  # noqa: E402
import imgfmt  # noqa: E402
import rar4  # noqa: E402
import raster  # noqa: E402
import sheets  # noqa: E402

ROOT = os.path.dirname(HERE)
OUT = os.path.join(ROOT, "resources")

RANKS = badges.RANK_COUNT          # 103
BIG_SIZE = 100                     # class\BigClass_n.tga, 24-bit
CLASS_SIZE = 32                    # class\class_n.tga, 32-bit
SCLASS_SIZE = 17                   # class\sclass_n.tga, 32-bit
PICKER_SIZE = 30                   # resources/badges/badge_n.png
STATUS_BIG, STATUS_SMALL = CLASS_SIZE, SCLASS_SIZE
VIP_SIZES = ((12, 12), (17, 19), (23, 26))
LINE_FRAMES, ALL_FRAMES = 10, 6

RESOURCE_IDS = [
    ("IDI_APP_ICON", 129, "ICON", "yunti.ico", "program icon"),
    ("IDR_STOCK_ARCHIVE", 200, "RCDATA", "stock_badges.rar", "client's stock badge files"),
    ("IDR_CAPTION_BUTTONS", 201, "RCDATA", "caption_buttons.png", "title bar button sheet"),
    ("IDR_MESSAGE_ICONS", 202, "RCDATA", "message_icons.png", "message box icons"),
    ("IDR_RANK_PRESENT", 203, "RCDATA", "rank_present.png", "current-rank box before a pick"),
    ("IDR_RANK_TARGET", 204, "RCDATA", "rank_target.png", "target-rank box before a pick"),
]
BADGE_ID_BASE = 1000


# ---------------------------------------------------------------------------
# Badge renderings
# ---------------------------------------------------------------------------

def render_badge(rank, size):
    cv = raster.Canvas(size, size, size / 100.0)
    badges.draw_badge(cv, rank)
    return cv


def big_class_rgba(rank):
    """100 x 100 opaque card: dark vignette, a thin frame, the badge with a soft shadow."""
    s = BIG_SIZE
    card = raster.Canvas(s, s, s / 100.0)
    card.fill(raster.rect(0, 0, 100, 100),
              raster.Radial((50, 40), 75, [(0.0, (58, 64, 78)), (0.7, (28, 31, 39)), (1.0, (14, 15, 20))]))
    card.fill(raster.ring(50, 46, 47, 46.2), (255, 255, 255, 10))
    frame = [raster.oriented(raster.rect(0, 0, 100, 100)[0]),
             raster.oriented(raster.rect(1, 1, 99, 99)[0], False)]
    card.fill(frame, (6, 7, 10))
    inner = [raster.oriented(raster.rect(1, 1, 99, 99)[0]),
             raster.oriented(raster.rect(2, 2, 98, 98)[0], False)]
    card.fill(inner, (90, 98, 114, 90))
    art = render_badge(rank, s)
    card.fill_mask(art.alpha_mask().blurred(2.0), raster.Solid((0, 0, 0)), 0.7)
    card.draw_canvas(art)
    return card.rgba_bytes(background=(14, 15, 20))


def badge_png(rank):
    return imgfmt.png_bytes(render_badge(rank, PICKER_SIZE).rgba_bytes(), PICKER_SIZE, PICKER_SIZE)


# ---------------------------------------------------------------------------
# Stock archive
# ---------------------------------------------------------------------------

def tga(w, h, rgba, alpha=True):
    return imgfmt.tga_bytes(rgba, w, h, alpha)


def stock_entries():
    """(name, data) pairs in archive order; data None marks a folder."""
    entries = [("class", None)]
    for r in range(1, RANKS + 1):
        entries.append(("class\\BigClass_%d.tga" % r, tga(BIG_SIZE, BIG_SIZE, big_class_rgba(r), alpha=False)))
    for r in range(0, RANKS + 1):
        cv = render_badge(r, CLASS_SIZE)
        entries.append(("class\\class_%d.tga" % r, tga(CLASS_SIZE, CLASS_SIZE, cv.rgba_bytes())))
    for r in range(0, RANKS + 1):
        cv = render_badge(r, SCLASS_SIZE)
        entries.append(("class\\sclass_%d.tga" % r, tga(SCLASS_SIZE, SCLASS_SIZE, cv.rgba_bytes())))
    for i in range(LINE_FRAMES):
        entries.append(("class\\class_LineEff_Ani%d.tga" % i, tga(*sheets.line_effect_frame(i, LINE_FRAMES))))
    for i in range(ALL_FRAMES):
        entries.append(("class\\class_AllEff_Ani%d.tga" % i, tga(*sheets.all_effect_frame(i, ALL_FRAMES))))
    entries += [
        ("class\\GreenCommunityUserBig.tga", tga(*sheets.community_icon(STATUS_BIG))),
        ("class\\GreenCommunityUserSmall.tga", tga(*sheets.community_icon(STATUS_SMALL))),
        ("class\\PayUserIconBig.tga", tga(*sheets.pay_user_icon(STATUS_BIG))),
        ("class\\PayUserIconSmall.tga", tga(*sheets.pay_user_icon(STATUS_SMALL))),
        ("class\\Reject.tga", tga(*sheets.reject_icon(STATUS_BIG))),
    ]
    entries.append(("class\\VIP_2ND", None))
    for w, h in VIP_SIZES:
        folder = "class\\VIP_2ND\\%dx%d" % (w, h)
        entries.append((folder, None))
        for level in range(1, 7):
            entries.append(("%s\\VIP%d.tga" % (folder, level), tga(*sheets.vip_icon(level, w, h))))
    return entries


# ---------------------------------------------------------------------------
# Resource script and header
# ---------------------------------------------------------------------------

HEADER_GUARD = "YUNTI_RESOURCE_IDS_H"


def resource_header():
    lines = [
        "/* Resource ids shared by the program and resources.rc.",
        " * Written by tools/make_resources.py; edit the generator, not this file. */",
        "#ifndef " + HEADER_GUARD,
        "#define " + HEADER_GUARD,
        "",
    ]
    for name, value, _, _, what in RESOURCE_IDS:
        lines.append("#define %-22s %d  /* %s */" % (name, value, what))
    lines += [
        "",
        "/* Picker badges: rank r (1..%d) is resource IDR_BADGE(r). */" % RANKS,
        "#define %-22s %d" % ("IDR_BADGE_FIRST", BADGE_ID_BASE + 1),
        "#define %-22s %d" % ("IDR_BADGE_LAST", BADGE_ID_BASE + RANKS),
        "#define IDR_BADGE(r)           (%d + (r))" % BADGE_ID_BASE,
        "",
        "#endif /* %s */" % HEADER_GUARD,
        "",
    ]
    return "\n".join(lines)


def resource_script():
    lines = [
        "// Yunti resources. Written by tools/make_resources.py; edit the generator, not this file.",
        "// File names are relative to this folder (windres -I resources).",
        "#pragma code_page(65001)",
        "",
        '#include "resource_ids.h"',
        "",
    ]
    for name, _, kind, path, _ in RESOURCE_IDS:
        lines.append('%-20s %-6s "%s"' % (name, kind, path))
    lines += ["", "// rank badges for the picker: IDR_BADGE(r) = %d + r" % BADGE_ID_BASE]
    for r in range(1, RANKS + 1):
        lines.append('%d RCDATA "badges/badge_%d.png"' % (BADGE_ID_BASE + r, r))
    lines.append("")
    return "\n".join(lines)


README = """# resources

Everything in this folder is written by `python3 tools/make_resources.py`
(run from the repository root; Python 3 standard library only). The output is
deterministic, so the files are committed and a build never needs to run the
generator. Edit the generator, not the files. All artwork is Yunti's own,
drawn by the generator's rasterizer in `tools/resources/`.

| file | what it is |
| --- | --- |
| `resources.rc` | resource script (UTF-8, `#pragma code_page(65001)`); compile with `windres -I resources`. It does not include the manifest. |
| `resource_ids.h` | resource ids (`IDI_APP_ICON`, `IDR_*`, `IDR_BADGE(r)` = 1000 + r) |
| `yunti.ico` | program icon: golden ladder climbing into a cloud on a blue shield; 16, 32, 48 (BMP) and 256 (PNG) |
| `stock_badges.rar` | the client's stock `class` folder as a RAR 4 archive of stored files, used to restore the original badges: `class\\BigClass_1..103.tga` (100x100, 24-bit), `class\\class_0..103.tga` (32x32, 32-bit), `class\\sclass_0..103.tga` (17x17, 32-bit), glint frames `class_LineEff_Ani0..9` and `class_AllEff_Ani0..5` (32x32), status icons (`GreenCommunityUser*`, `PayUserIcon*` 32x32 / 17x17, `Reject` 32x32) and `class\\VIP_2ND\\{12x12,17x19,23x26}\\VIP1..6.tga`. TGAs are uncompressed true-colour (type 2), bottom-left origin, with the TGA 2.0 footer. |
| `badges/badge_1..103.png` | 30x30 RGBA picker badges, the same art as the client files |
| `rank_present.png`, `rank_target.png` | 30x30 RGBA pictures shown in the two badge boxes before anything is picked (a "?" shield and a "+" shield) |
| `caption_buttons.png` | 729x20 RGBA title bar buttons; cells at x (normal, hover, pressed): close 0/40/80 (w 39), maximize 120/149/178, restore 207/236/265, minimize 294/323/352, menu 381/410/439, skin 468/497/526, feedback 555/584/613, settings 642/671/700 (w 28); glyphs and backgrounds lie in rows 2..19 |
| `message_icons.png` | 200x40 RGBA, five 40x40 cells: error, warning, question, information, success |

## The rank ladder

Rank 0 is "no rank" (client files only). Rank 1 is the recruit (iron chevron on
an olive roundel). Ranks 2..103 are 17 tiers of 6 grades; the grade is the
number of pips under the emblem.

| ranks | emblem | metal / pips |
| --- | --- | --- |
| 2-19 | 1, 2, 3 chevrons | bronze, bronze studs |
| 20-37 | shoulder board with 1, 2, 3 bars | silver, silver diamonds |
| 38-55 | crimson shield with 1, 2, 3 stars | gold, gold stars |
| 56-73 | laurel wreath around a blue medal with 1, 2, 3 stars | gold and platinum, platinum stars |
| 74-91 | crowned wreath with 1, 2, 3 stars | gold, then platinum crown; ruby pips |
| 92-97 | crossed batons, crowned wreath, star | gold and ruby, diamond pips |
| 98-103 | winged jewelled star under a crown (103: gold wings and a halo) | platinum, diamond pips |
"""


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def write(rel, data):
    path = os.path.join(OUT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(path, "wb") as f:
        f.write(data)


def png_of(w, h, rgba):
    return imgfmt.png_bytes(rgba, w, h)


def generate():
    write("resource_ids.h", resource_header())
    write("resources.rc", resource_script())
    write("README.md", README)
    write("caption_buttons.png", png_of(*sheets.caption_buttons()))
    write("message_icons.png", png_of(*sheets.message_icons()))
    write("rank_present.png", png_of(*sheets.rank_present(PICKER_SIZE)))
    write("rank_target.png", png_of(*sheets.rank_target(PICKER_SIZE)))
    icon = [(s, sheets.app_icon(s)[2]) for s in (16, 32, 48, 256)]
    write("yunti.ico", imgfmt.ico_bytes(icon))
    for r in range(1, RANKS + 1):
        write("badges/badge_%d.png" % r, badge_png(r))
    write("stock_badges.rar", rar4.build_archive(stock_entries()))


# ---------------------------------------------------------------------------
# Previews (not part of the build)
# ---------------------------------------------------------------------------

def contact_sheet(images, cols, scale, background=(46, 50, 58), gap=4):
    """images: list of (w, h, rgba); returns (w, h, rgba) of an enlarged grid."""
    cw = max(w for w, _, _ in images) * scale + gap
    ch = max(h for _, h, _ in images) * scale + gap
    rows = (len(images) + cols - 1) // cols
    W, H = cols * cw + gap, rows * ch + gap
    out = bytearray(bytes(background) + b"\xff") * (W * H)
    for i, (w, h, rgba) in enumerate(images):
        big = raster.upscale_nearest(raster.composite_rgba(rgba, background), w, h, scale)
        x0 = gap + (i % cols) * cw
        y0 = gap + (i // cols) * ch
        for y in range(h * scale):
            o = ((y0 + y) * W + x0) * 4
            out[o:o + w * scale * 4] = big[y * w * scale * 4:(y + 1) * w * scale * 4]
    return W, H, bytes(out)


def previews(folder):
    os.makedirs(folder, exist_ok=True)

    def save(name, sheet):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png_of(*sheet))

    save("badges_30.png", contact_sheet(
        [(PICKER_SIZE, PICKER_SIZE, render_badge(r, PICKER_SIZE).rgba_bytes()) for r in range(RANKS + 1)], 13, 3))
    save("badges_100.png", contact_sheet(
        [(BIG_SIZE, BIG_SIZE, big_class_rgba(r)) for r in (1, 2, 19, 20, 37, 38, 55, 56, 73, 74, 91, 92, 97, 98, 103)],
        5, 1))
    save("badges_17.png", contact_sheet(
        [(SCLASS_SIZE, SCLASS_SIZE, render_badge(r, SCLASS_SIZE).rgba_bytes()) for r in range(RANKS + 1)], 13, 4))
    save("caption_buttons.png", contact_sheet([sheets.caption_buttons()], 1, 3, background=(236, 236, 236)))
    save("message_icons.png", contact_sheet([sheets.message_icons()], 1, 3))
    save("icons.png", contact_sheet(
        [sheets.app_icon(48), sheets.rank_present(), sheets.rank_target(),
         sheets.community_icon(32), sheets.pay_user_icon(32), sheets.reject_icon(32),
         sheets.community_icon(17), sheets.pay_user_icon(17)], 8, 4))
    save("effects.png", contact_sheet(
        [sheets.line_effect_frame(i) for i in range(LINE_FRAMES)]
        + [sheets.all_effect_frame(i) for i in range(ALL_FRAMES)], 10, 4))
    save("vip.png", contact_sheet(
        [sheets.vip_icon(l, w, h) for w, h in VIP_SIZES for l in range(1, 7)], 6, 6))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--preview", metavar="DIR", help="also write enlarged preview sheets to DIR")
    args = ap.parse_args(argv)
    generate()
    if args.preview:
        previews(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
