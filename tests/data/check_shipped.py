#!/usr/bin/env python3
"""Checks the runtime data beside the built program: language files, navi model
files and the skin pack, read the way the program reads them.

  check_shipped.py BIN_DIR SOURCE_DIR DATA_BUILD_DIR
"""
import os
import re
import sys
import tempfile
import unittest

BIN, SOURCE, DATA_BUILD = sys.argv[1:4]
del sys.argv[1:4]
sys.path.insert(0, os.path.join(SOURCE, "tools"))
import langtool  # noqa: E402
import navitool  # noqa: E402
import packtool  # noqa: E402

LANGUAGES = ["English_US", "English_UK", "English_AU"]
# UI strings no window reads; they hold a visible placeholder.
UNUSED = {1, 2, 25, 28, 37, 39, 40, 45, 52, 66, 69, 70, 74, 79, 81, 82, 84, 86, 87, 92, 95, 96, 97, 98, 99,
          105, 107, 111, 122, 123, 153, 154, 160, 161, 169, 174, 184, 214, 229, 230, 232, 243, 247, 251,
          265, 266, 273, 274, 279, 280, 287, 302, 312, 313, 317, 318, 326, 363, 382, 398, 399, 400, 401,
          407, 408, 409, 410, 411, 415, 421}
MODEL_TYPES = navitool.MODEL_TYPES
REGION_GROUP = {"US": "A", "EU": "A", "AU": "B", "RU": "B", "BR": "C"}
# Default program and voice of the settings replicator: (group, model types) -> (program, voice) string.
DEFAULTS = [
    ("A", {0}, 366, 374), ("A", {1}, 368, 376), ("A", {2}, 367, 375), ("A", {3}, 369, 377),
    ("A", {4, 6}, 388, 393), ("A", {5, 7, 8, 9, 10, 11, 12}, 389, 394),
    ("B", {0}, 370, 378), ("B", {1}, 372, 380), ("B", {2}, 371, 379), ("B", {3}, 373, 381),
    ("B", {4, 6}, 390, 395), ("B", {5, 7, 8, 9, 10, 11, 12}, 391, 396),
    ("C", {4}, 392, 397),
]


def read_plain(path):
    with open(path, "rb") as f:
        data = f.read()
    return bytes(b ^ 0xFF for b in data)


def load_language(path):
    """The table as the program loads it: mark kept, CR LF / CR / LF split."""
    plain = read_plain(path)
    assert plain[:2] == b"\xff\xfe", "%s: no byte-order mark" % path
    text = plain[:len(plain) // 2 * 2].decode("utf-16-le").split("\0", 1)[0]
    return text.replace("\r\n", "\n").replace("\r", "\n").split("\n"), text


def load_navi(path):
    """(programs, voices, type, brazil) as the program's loader reads the file."""
    plain = read_plain(path)
    assert plain[:2] == b"\xff\xfe", "%s: no byte-order mark" % path
    text = plain[2:2 + (len(plain) - 2) // 2 * 2].decode("utf-16-le").split("\0", 1)[0]
    lines = iter(text.replace("\r\n", "\n").replace("\r", "\n").split("\n"))
    lists = []
    for end in ("PG_END", "VC_END"):
        items = []
        for line in lines:
            if line == end:
                break
            name, _, ident = line.partition(",")
            m = re.match(r"\s*[-+]?\d+", ident)
            items.append((name[:31], int(m.group()) if m else 0, name))
        else:
            raise AssertionError("%s: no %s" % (path, end))
        lists.append(items)
    size, model, brazil = next(lines), next(lines), next(lines)
    assert "ListSize=" in size and "NaviModelType=" in model and "BrazilUnit=" in brazil, path
    code = model.split("NaviModelType=", 1)[1]
    assert code in MODEL_TYPES, "%s: unknown model code %r" % (path, code)
    return lists[0], lists[1], MODEL_TYPES[code], brazil.split("BrazilUnit=", 1)[1] == "TRUE"


class LanguageFiles(unittest.TestCase):
    def setUp(self):
        self.tables = {}
        for lang in LANGUAGES:
            path = os.path.join(BIN, "language", lang + ".dat")
            self.tables[lang] = load_language(path)

    def test_every_file_has_every_line_with_crlf_ends(self):
        for lang, (lines, text) in self.tables.items():
            self.assertEqual(len(lines), langtool.COUNT, lang)
            self.assertEqual(text.count("\r\n"), langtool.COUNT - 1, lang)
            self.assertEqual(text.count("\r"), langtool.COUNT - 1, lang)
            self.assertTrue(lines[0].startswith("\ufeff"), lang)

    def test_used_strings_have_text_and_unused_ones_a_placeholder(self):
        for lang, (lines, _) in self.tables.items():
            for n in range(1, langtool.COUNT):
                if n in UNUSED:
                    self.assertEqual(lines[n], "[UI %d]" % n, (lang, n))
                else:
                    self.assertTrue(lines[n].strip(), (lang, n))
                    self.assertNotRegex(lines[n], r"^\[UI \d+\]$", (lang, n))

    def test_fixed_values(self):
        for lang, (lines, _) in self.tables.items():
            self.assertEqual(lines[365], lang)
            self.assertIn(lines[364], ("TRUE", "FALSE"), lang)
            partners = int(lines[383]) >= 0
            self.assertEqual(lines[364] == "TRUE", partners, "%s: partner buttons without partners" % lang)
            self.assertIn("/", lines[307], lang)
            self.assertRegex(lines[387], r"^\d+$", lang)
            for n in (360, 361, 430):   # pages of the program's site follow its web base
                self.assertRegex(lines[n], r"^[a-z]+/", (lang, n))
                self.assertNotIn("://", lines[n], (lang, n))
            for n in (72, 73):  # balloon texts break only at " \\n "
                self.assertGreater(lines[n].count(" \\n "), 0, (lang, n))
                self.assertEqual(lines[n].count("\\n"), lines[n].count(" \\n "), (lang, n))
        self.assertEqual(self.tables["English_AU"][0][365], "English_AU")

    def test_the_route_planner_has_one_address(self):
        # String 430 is the route planner's address whichever panel shows it.
        addresses = {lang: lines[430] for lang, (lines, _) in self.tables.items()}
        self.assertEqual(set(addresses.values()), {"partners/routeplanner/"}, addresses)

    def test_rebuilding_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            tables = [os.path.join(SOURCE, "data", "language", l + ".tsv") for l in LANGUAGES]
            langtool.build(tmp, tables)
            for lang in LANGUAGES:
                with open(os.path.join(tmp, lang + ".dat"), "rb") as a, \
                        open(os.path.join(BIN, "language", lang + ".dat"), "rb") as b:
                    self.assertEqual(a.read(), b.read(), lang)


class NaviFiles(unittest.TestCase):
    def setUp(self):
        folder = os.path.join(BIN, "navi")
        self.files = {f: load_navi(os.path.join(folder, f)) for f in sorted(os.listdir(folder)) if f.endswith(".dat")}

    def test_every_model_type_is_offered_in_a_fitting_region(self):
        types = {}
        for name, (programs, voices, mtype, brazil) in self.files.items():
            self.assertIn(name[:2], REGION_GROUP, name)
            self.assertEqual(brazil, name[:2] == "BR", name)
            self.assertTrue(programs and voices, name)
            types.setdefault(mtype, set()).add(name[:2])
        self.assertEqual(sorted(types), list(range(13)))
        brand1 = {t for t, regions in types.items() if regions & {"US", "AU", "BR"}}
        brand2 = {t for t, regions in types.items() if regions & {"EU", "RU"}}
        self.assertTrue(brand1 and brand2)

    def test_items_fit_the_unit(self):
        for name, (programs, voices, _, _) in self.files.items():
            for short, ident, full in programs + voices:
                self.assertEqual(short, full, "%s: %r over 31 characters" % (name, full))
                self.assertTrue(full, name)
                self.assertTrue(0 <= ident <= 254, (name, full))

    def test_language_prefixes_begin_items_of_the_matching_navi_files(self):
        for lang in LANGUAGES:
            lines, _ = load_language(os.path.join(BIN, "language", lang + ".dat"))
            for name, (programs, voices, mtype, _) in self.files.items():
                group = REGION_GROUP[name[:2]]
                for g, types, prog, voice in DEFAULTS:
                    if g == group and mtype in types:
                        self.assertTrue(any(p[2].startswith(lines[prog]) for p in programs),
                                        "%s UI %d %r begins no program of %s" % (lang, prog, lines[prog], name))
                        self.assertTrue(any(v[2].startswith(lines[voice]) for v in voices),
                                        "%s UI %d %r begins no voice of %s" % (lang, voice, lines[voice], name))


class SkinPack(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = os.path.join(BIN, "Mirovale.qpk")
        cls.pack = packtool.verify(cls.path, os.path.join(SOURCE, "data", "skin", "manifest.tsv"))

    def test_holds_every_picture_the_program_asks_for(self):
        with open(os.path.join(SOURCE, "tests", "data", "required_pictures.txt")) as f:
            names = [l.strip() for l in f if l.strip() and not l.startswith("#")]
        self.assertEqual(len(names), 475)
        missing = [n for n in names if self.pack.find(n) is None]
        self.assertEqual(missing, [])

    def test_holds_every_picture_named_in_the_program_source(self):
        # Plain picture names; patterns ("*.bmp", "%s_%d.bmp") and files the program
        # writes to the card are not pack entries.
        literal = re.compile(r'"([A-Za-z0-9_()\[\].-]+\.(?:bmp|png|tga|jpg))"', re.I)
        not_skins = {"wallpaper.bmp"}
        missing = set()
        for folder in ("classlib", "core", "common", "doc", "controls", "frame", "views", "symbolconv"):
            for root, _, files in os.walk(os.path.join(SOURCE, folder)):
                for f in files:
                    if f.endswith((".cpp", ".h")):
                        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as src:
                            for name in literal.findall(src.read()):
                                if name.lower() not in not_skins and self.pack.find(name) is None:
                                    missing.add("%s (%s)" % (name, f))
        self.assertEqual(sorted(missing), [])

    def test_button_states_visibly_differ(self):
        """Normal, pressed, hot and disabled pictures of one button differ clearly."""
        import imagecodec
        families = {}
        for name, _, _, _ in self.pack.entries:
            m = re.fullmatch(r"(.+?)_?(normal|pressed|hot|disabled?|check|[0-4])\.(bmp|png|tga)", name, re.I)
            if m and not re.match(r"\d", name):   # stock icons are not states
                families.setdefault((m.group(1), m.group(3)), {})[m.group(2).lower()] = name
        compared = 0
        for (base, _), states in sorted(families.items()):
            pics = {s: imagecodec.decode_any(self.pack.read(n))[2] for s, n in states.items()}
            keys = sorted(pics)
            for i, a in enumerate(keys):
                for b in keys[i + 1:]:
                    pa, pb = pics[a], pics[b]
                    if len(pa) != len(pb):
                        continue
                    diff = sum(abs(x - y) for x, y in zip(pa[::7], pb[::7])) / (len(pa) / 7)
                    self.assertGreater(diff, 4.0, "%s: %s and %s look alike" % (base, states[a], states[b]))
                    compared += 1
        self.assertGreater(compared, 150)

    def test_bitmaps_hold_no_magenta(self):
        """Pure magenta is the transparent key of overlays; no picture may use it."""
        import imagecodec
        for name, _, _, _ in self.pack.entries:
            if name.lower().endswith(".bmp"):
                _, _, rgba = imagecodec.decode_bmp(self.pack.read(name))
                pixels = set(zip(rgba[0::4], rgba[1::4], rgba[2::4]))
                self.assertNotIn((255, 0, 255), pixels, name)

    def test_check_and_radio_images_have_soft_alpha_edges(self):
        import imagecodec
        for name, _, _, _ in self.pack.entries:
            if name.endswith(".tga"):
                w, h, rgba = imagecodec.decode_tga(self.pack.read(name))
                alpha = rgba[3::4]
                self.assertEqual(alpha[0], 0, name)                       # corner transparent
                self.assertEqual(alpha[(h // 2) * w + w // 2], 255, name)  # centre opaque
                self.assertTrue(any(0 < a < 255 for a in alpha), name)    # antialiased rim

    def test_header_scrambles_and_entries_read_back(self):
        self.assertEqual(self.pack.raw[:4], b"QPKA")
        self.assertNotEqual(self.pack.step & 0xFF, 0)
        # Case does not matter for a lookup, and the first bytes are a real picture.
        self.assertEqual(self.pack.read("BTN_NORMAL.BMP")[:2], b"BM")
        self.assertEqual(self.pack.read("Back_Menu_Plate.png")[:4], b"\x89PNG")

    def test_repacking_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "again.qpk")
            packtool.build(os.path.join(SOURCE, "data", "skin", "manifest.tsv"),
                           os.path.join(DATA_BUILD, "skin"), out, self.pack.step)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), self.pack.raw)


if __name__ == "__main__":
    unittest.main(verbosity=2)
