"""Checks on the committed resources/ files and the generator behind them.

    python3 -m unittest discover -s tools/resources -p "test_*.py"

The archive and image checks read the committed files with independent,
minimal parsers; the freshness check re-renders a sample with the
generator and compares bytes, so stale outputs are caught.
"""

import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
RES = os.path.join(ROOT, "resources")
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.dirname(HERE))

import imgfmt  # noqa: E402
import rar4  # noqa: E402
import raster  # noqa: E402


def read(rel):
    with open(os.path.join(RES, rel), "rb") as f:
        return f.read()


def expected_names():
    """The archive listing the client expects, as (name, is_folder)."""
    names = [("class", True)]
    names += [("class\\BigClass_%d.tga" % r, False) for r in range(1, 104)]
    names += [("class\\class_%d.tga" % r, False) for r in range(0, 104)]
    names += [("class\\sclass_%d.tga" % r, False) for r in range(0, 104)]
    names += [("class\\class_LineEff_Ani%d.tga" % i, False) for i in range(10)]
    names += [("class\\class_AllEff_Ani%d.tga" % i, False) for i in range(6)]
    names += [("class\\%s.tga" % n, False) for n in (
        "GreenCommunityUserBig", "GreenCommunityUserSmall", "PayUserIconBig", "PayUserIconSmall", "Reject")]
    names.append(("class\\VIP_2ND", True))
    for folder in ("12x12", "17x19", "23x26"):
        names.append(("class\\VIP_2ND\\" + folder, True))
        names += [("class\\VIP_2ND\\%s\\VIP%d.tga" % (folder, v), False) for v in range(1, 7)]
    return names


def parse_tga(data):
    (idlen, cmap, itype, _, _, _, _, _, w, h, bpp, desc) = struct.unpack("<BBBHHBHHHHBB", data[:18])
    return dict(idlen=idlen, cmap=cmap, type=itype, w=w, h=h, bpp=bpp, desc=desc,
                footer=data[-26:], size=len(data))


class ArchiveTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.blob = read("stock_badges.rar")
        cls.entries = rar4.read_archive(cls.blob)

    def test_fixed_blocks_match_the_canonical_bytes(self):
        # marker, archive header with flags 0, and the end block every RAR 3/4
        # tool writes; a CRC or layout slip in the writer changes these
        self.assertEqual(self.blob[:7], b"\x52\x61\x72\x21\x1a\x07\x00")
        self.assertEqual(self.blob[7:20], bytes.fromhex("cf907300000d00000000000000"))
        self.assertEqual(self.blob[-7:], bytes.fromhex("c43d7b00400700"))

    def test_listing_is_exactly_the_client_folder(self):
        got = [(e["name"], e["is_dir"]) for e in self.entries]
        self.assertEqual(got, expected_names())
        self.assertEqual(sum(1 for _, d in got if d), 5)
        self.assertEqual(sum(1 for _, d in got if not d), 350)

    def test_entry_headers(self):
        for e in self.entries:
            self.assertEqual(e["host"], 2, e["name"])
            self.assertEqual(e["method"], 0x30, e["name"])
            self.assertEqual(e["ftime"], rar4.dos_datetime(2026, 1, 1, 12, 0, 0))
            self.assertIn(e["ver"], (20, 29))
            self.assertEqual(e["flags"] & ~0x80E0, 0, "unexpected flags on %s" % e["name"])
            if e["is_dir"]:
                self.assertEqual((e["attr"], e["unp_size"]), (0x10, 0), e["name"])
            else:
                self.assertEqual(e["attr"], 0x20, e["name"])
                self.assertEqual(e["flags"] & 0x00E0, 0, e["name"])
                self.assertEqual(e["unp_size"], len(e["data"]))

    def test_writer_rejects_forward_slashes(self):
        with self.assertRaises(ValueError):
            rar4.build_archive([("class/x.tga", b"x")])

    def test_tga_files(self):
        vip = re.compile(r"VIP_2ND\\(\d+)x(\d+)\\")
        for e in self.entries:
            if e["is_dir"]:
                continue
            name, t = e["name"], parse_tga(e["data"])
            self.assertEqual((t["idlen"], t["cmap"], t["type"]), (0, 0, 2), name)
            self.assertEqual(t["footer"], struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\x00", name)
            self.assertEqual(t["desc"] & 0x20, 0, "%s: all files use a bottom-left origin" % name)
            self.assertEqual(t["desc"] & 0x0F, 8 if t["bpp"] == 32 else 0, name)
            self.assertEqual(t["size"], 18 + t["w"] * t["h"] * t["bpp"] // 8 + 26, name)
            if "BigClass_" in name:
                self.assertEqual((t["w"], t["h"], t["bpp"], t["size"]), (100, 100, 24, 30044), name)
            else:
                self.assertEqual(t["bpp"], 32, name)
            m = vip.search(name)
            if m:
                self.assertEqual((t["w"], t["h"]), (int(m.group(1)), int(m.group(2))), name)
            elif "sclass_" in name:
                self.assertEqual((t["w"], t["h"]), (17, 17), name)
            elif "class_" in name and "Eff" not in name:
                self.assertEqual((t["w"], t["h"]), (32, 32), name)

    def test_every_rank_and_frame_is_distinct(self):
        groups = {}
        for e in self.entries:
            if e["is_dir"]:
                continue
            key = re.sub(r"\d+\.tga$", "", e["name"])
            groups.setdefault(key, []).append(e["data"])
        for key, blobs in groups.items():
            self.assertEqual(len(set(blobs)), len(blobs), "duplicate pictures in %s*" % key)
        self.assertEqual(len(groups["class\\BigClass_"]), 103)

    def test_alpha_pictures_keep_a_transparent_background(self):
        for e in self.entries:
            if e["is_dir"] or "BigClass" in e["name"]:
                continue
            t = parse_tga(e["data"])
            alphas = e["data"][18 + 3:-26:4]
            self.assertEqual(len(alphas), t["w"] * t["h"])
            top_row = alphas[(t["h"] - 1) * t["w"]:]          # rows are stored bottom first
            self.assertEqual((top_row[0], top_row[-1]), (0, 0), "%s: top corners must be clear" % e["name"])
            self.assertTrue(any(a == 255 for a in alphas) or "Eff" in e["name"], e["name"])

    @unittest.skipUnless(shutil.which("7z"), "7z not installed")
    def test_7z_accepts_the_archive(self):
        out = subprocess.run(["7z", "t", os.path.join(RES, "stock_badges.rar")],
                             capture_output=True, text=True)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertIn("Everything is Ok", out.stdout)

    @unittest.skipUnless(shutil.which("bsdtar"), "bsdtar not installed")
    def test_bsdtar_extracts_identical_files(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["bsdtar", "-xf", os.path.join(RES, "stock_badges.rar"), "-C", tmp], check=True)
            for e in self.entries:
                path = os.path.join(tmp, *e["name"].split("\\"))
                if e["is_dir"]:
                    self.assertTrue(os.path.isdir(path), e["name"])
                else:
                    with open(path, "rb") as f:
                        self.assertEqual(f.read(), e["data"], e["name"])


class PngTest(unittest.TestCase):
    def png(self, rel):
        data = read(rel)
        self.assertEqual(data[12:16], b"IHDR")
        self.assertEqual(data[24:26], b"\x08\x06", "%s must be 8-bit RGBA" % rel)
        return imgfmt.png_read(data)

    def px(self, img, x, y):
        w, _, rgba = img
        return rgba[(y * w + x) * 4:(y * w + x) * 4 + 4]

    def test_picker_badges(self):
        seen = set()
        for r in range(1, 104):
            img = self.png("badges/badge_%d.png" % r)
            self.assertEqual(img[:2], (30, 30))
            self.assertEqual(self.px(img, 0, 0)[3], 0, "badge %d background must be transparent" % r)
            opaque = sum(1 for i in range(3, len(img[2]), 4) if img[2][i] > 200)
            self.assertGreater(opaque, 100, "badge %d is nearly empty" % r)
            seen.add(img[2])
        self.assertEqual(len(seen), 103)
        for rel in ("rank_present.png", "rank_target.png"):
            self.assertEqual(self.png(rel)[:2], (30, 30))

    def test_caption_button_cells(self):
        img = self.png("caption_buttons.png")
        w, h, rgba = img
        self.assertEqual((w, h), (729, 20))
        for y in (0, 1):  # above the rows the program reads
            self.assertTrue(all(rgba[(y * w + x) * 4 + 3] == 0 for x in range(w)))
        cells = [(0, 39, "red")] + [(x, 28, "blue") for x in (120, 207, 294, 381, 468, 555, 642)]
        for x0, cw, hue in cells:
            normal, hover, pressed = x0, x0 + cw + 1, x0 + 2 * (cw + 1)
            # normal: glyph only, corners transparent, some white in the middle
            self.assertEqual(self.px(img, normal + 1, 3)[3], 0)
            mid = [self.px(img, normal + dx, y) for dx in range(cw) for y in range(2, 20)]
            self.assertTrue(any(p[0] > 240 and p[1] > 240 and p[2] > 240 and p[3] > 240 for p in mid),
                            "no white glyph at x=%d" % normal)
            for cell in (hover, pressed):
                for corner in ((cell, 2), (cell + cw - 1, 19)):
                    r, g, b, a = self.px(img, *corner)
                    self.assertEqual(a, 255, "cell %d corner %s" % (cell, corner))
                    if hue == "red":
                        self.assertTrue(r > 120 and r > 3 * g, (cell, r, g, b))
                    else:
                        self.assertTrue(b > 120 and b > r + 60, (cell, r, g, b))
            darker = sum(self.px(img, pressed + 1, 10)[:3]) < sum(self.px(img, hover + 1, 10)[:3])
            self.assertTrue(darker, "pressed cell at %d should be darker than hover" % pressed)
            # the gap after the pressed cell stays empty
            if pressed + cw < w:
                self.assertEqual(self.px(img, pressed + cw, 10)[3], 0)

    def test_message_icons(self):
        img = self.png("message_icons.png")
        self.assertEqual(img[:2], (200, 40))
        # body colour just inside each symbol: red, amber, blue, blue, green
        probes = [((8, 20), "r"), ((40 + 20, 31), "amber"), ((80 + 8, 20), "b"),
                  ((120 + 8, 20), "b"), ((160 + 8, 20), "g")]
        for (x, y), hue in probes:
            r, g, b, a = self.px(img, x, y)
            self.assertEqual(a, 255, (x, y))
            ok = {"r": r > 150 and g < 90, "amber": r > 180 and 100 < g < 220 and b < 80,
                  "b": b > 150 and r < 100, "g": g > 130 and r < 120 and b < 120}[hue]
            self.assertTrue(ok, (x, y, hue, (r, g, b)))
            self.assertEqual(self.px(img, x - x % 40, 0)[3], 0, "cell corner should be transparent")


class IconTest(unittest.TestCase):
    def test_icon_directory_and_images(self):
        data = read("yunti.ico")
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        sizes = []
        for i in range(count):
            w, h, colors, _, planes, bpp, length, off = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
            size = w or 256
            sizes.append(size)
            self.assertEqual((planes, bpp), (1, 32))
            blob = data[off:off + length]
            self.assertEqual(len(blob), length)
            if size == 256:
                self.assertEqual(imgfmt.png_read(blob)[:2], (256, 256))
            else:
                hdr = struct.unpack("<IiiHH", blob[:16])
                self.assertEqual(hdr, (40, size, 2 * size, 1, 32))
                mask_stride = ((size + 31) // 32) * 4
                self.assertEqual(length, 40 + size * size * 4 + mask_stride * size)
        self.assertEqual(sizes, [16, 32, 48, 256])


class ResourceScriptTest(unittest.TestCase):
    def test_header_ids(self):
        text = read("resource_ids.h").decode("ascii")
        for line in text.splitlines():
            s = line.strip()
            self.assertTrue(not s or s.startswith(("#define", "#ifndef", "#endif", "/*", "*", "//")), line)
        defs = dict(re.findall(r"^#define (ID[IR]_\w+)\s+(\d+)", text, re.M))
        self.assertEqual({k: int(v) for k, v in defs.items() if k != "IDR_BADGE_LAST"}, {
            "IDI_APP_ICON": 129, "IDR_STOCK_ARCHIVE": 200, "IDR_CAPTION_BUTTONS": 201,
            "IDR_MESSAGE_ICONS": 202, "IDR_RANK_PRESENT": 203, "IDR_RANK_TARGET": 204,
            "IDR_BADGE_FIRST": 1001})
        self.assertRegex(text, r"#define IDR_BADGE\(r\)\s+\(1000 \+ \(r\)\)")

    def test_script_references(self):
        text = read("resources.rc").decode("utf-8")
        self.assertFalse(text.startswith("\ufeff"))
        self.assertIn("#pragma code_page(65001)", text)
        self.assertNotIn("manifest", text.lower())
        refs = re.findall(r'^(\w+)\s+(ICON|RCDATA)\s+"([^"]+)"', text, re.M)
        badge_ids = [int(i) for i, k, _ in refs if i.isdigit()]
        self.assertEqual(badge_ids, list(range(1001, 1104)))
        for ident, _, path in refs:
            self.assertTrue(os.path.isfile(os.path.join(RES, path)), path)
            if ident.isdigit():
                self.assertEqual(path, "badges/badge_%d.png" % (int(ident) - 1000))

    @unittest.skipUnless(shutil.which("x86_64-w64-mingw32-windres"), "windres not installed")
    def test_windres_compiles_it(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = subprocess.run(["x86_64-w64-mingw32-windres", "-I", RES, os.path.join(RES, "resources.rc"),
                                  "-O", "coff", "-o", os.path.join(tmp, "r.o")], capture_output=True, text=True)
            self.assertEqual(out.returncode, 0, out.stderr)


class RasterizerTest(unittest.TestCase):
    def test_coverage_is_exact_on_straight_edges(self):
        m = raster.rasterize([[(1.5, 0.0), (3.25, 0.0), (3.25, 2.0), (1.5, 2.0)]], 5, 2)
        self.assertEqual([round(v, 6) for v in m.data[:5]], [0.0, 0.5, 1.0, 0.25, 0.0])

    def test_circle_area_and_holes(self):
        cv = raster.Canvas(64, 64)
        disc = cv.mask(raster.circle(32, 32, 20))
        self.assertAlmostEqual(sum(disc.data), math.pi * 400, delta=6)
        annulus = cv.mask(raster.ring(32, 32, 20, 10))
        self.assertAlmostEqual(sum(annulus.data), math.pi * 300, delta=6)
        self.assertEqual(annulus.data[32 * 64 + 32], 0.0)
        # overlapping pieces of one stroke must not add up past full coverage
        st = cv.mask(raster.stroke([(10, 10), (50, 10), (50, 50)], 6))
        self.assertLessEqual(max(st.data), 1.0)
        self.assertEqual(st.data[10 * 64 + 50], 1.0)

    def test_offset_grows_and_shrinks(self):
        sq = raster.oriented([(0, 0), (10, 0), (10, 10), (0, 10)])
        self.assertAlmostEqual(raster.signed_area(raster.offset_polygon(sq, 1)), 144.0)
        self.assertAlmostEqual(raster.signed_area(raster.offset_polygon(sq, -1)), 64.0)


class FreshnessTest(unittest.TestCase):
    """The committed files must be what the generator produces today."""

    @classmethod
    def setUpClass(cls):
        import make_resources
        cls.gen = make_resources

    def test_text_outputs(self):
        self.assertEqual(read("resource_ids.h").decode(), self.gen.resource_header())
        self.assertEqual(read("resources.rc").decode(), self.gen.resource_script())
        self.assertEqual(read("README.md").decode(), self.gen.README)

    def test_sample_pictures(self):
        import sheets
        self.assertEqual(read("caption_buttons.png"), self.gen.png_of(*sheets.caption_buttons()))
        self.assertEqual(read("message_icons.png"), self.gen.png_of(*sheets.message_icons()))
        for r in (1, 50, 103):
            self.assertEqual(read("badges/badge_%d.png" % r), self.gen.badge_png(r), r)
        entries = {e["name"]: e["data"] for e in rar4.read_archive(read("stock_badges.rar"))}
        big = self.gen.tga(100, 100, self.gen.big_class_rgba(77), alpha=False)
        self.assertEqual(entries["class\\BigClass_77.tga"], big)


if __name__ == "__main__":
    unittest.main()
