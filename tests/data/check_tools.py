#!/usr/bin/env python3
"""The data tools refuse broken sources with a message naming the entry and
the rule. Each case starts from a valid source and breaks one thing.

  check_tools.py SOURCE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = sys.argv[1]
del sys.argv[1]
TOOLS = os.path.join(SOURCE, "tools")
sys.path.insert(0, TOOLS)
import imagecodec  # noqa: E402
from langtool import COUNT  # noqa: E402


def run(tool, *args):
    res = subprocess.run([sys.executable, os.path.join(TOOLS, tool)] + list(args),
                         capture_output=True, text=True)
    return res.returncode, res.stderr


class Workspace(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def write(self, rel, text):
        path = os.path.join(self.tmp, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return path

    def refused(self, tool, args, *words):
        rc, err = run(tool, *args)
        self.assertEqual(rc, 1, err)
        for w in words:
            self.assertIn(w, err)


def language_rows(change=None, drop=None, extra=""):
    with open(os.path.join(SOURCE, "data", "language", "English_US.tsv"), encoding="utf-8") as f:
        lines = f.read().split("\n")
    out = []
    for line in lines:
        n = line.split("\t", 1)[0]
        if n.isdigit() and drop is not None and int(n) == drop:
            continue
        if n.isdigit() and change and int(n) in change:
            line = "%s\t%s" % (n, change[int(n)])
        out.append(line)
    return "\n".join(out) + extra


class LanguageRefusals(Workspace):
    CASES = [
        # (what is broken, table text, words the message must hold)
        ("line missing", dict(drop=200), ["entries 200", "not exactly lines 0 to %d" % (COUNT - 1)]),
        ("line beyond the last", dict(extra="%d\tmore\n" % COUNT), ["entry %d" % COUNT, "outside the table"]),
        ("line break inside a text", dict(change={72: "first half"}, extra="second half\n"),
         ["line break inside the text"]),
        ("CR inside a text", dict(change={30: "a\rb"}), ["entry 30", "line break"]),
        ("unknown escape", dict(change={40: "a\\nb"}), ["entry 40", "unknown escape"]),
        ("tag not the file name", dict(change={365: "English_XX"}), ["entry 365", "language tag"]),
        ("map text breaking the form", dict(change={330: "A & B"}), ["entry 330", "map page text"]),
        ("balloon break without a blank", dict(change={72: "One.\\\\n Two."}), ["entry 72", "marker"]),
        ("partner number not a number", dict(change={383: "one"}), ["entry 383", "integer"]),
    ]

    def test_refusals(self):
        for what, kw, words in self.CASES:
            with self.subTest(what):
                table = self.write("English_US.tsv", language_rows(**kw))
                self.refused("langtool.py", ["build", "--out", os.path.join(self.tmp, "out"), table], *words)

    def test_a_valid_table_builds_every_line(self):
        table = self.write("English_US.tsv", language_rows())
        self.assertEqual(run("langtool.py", "build", "--out", os.path.join(self.tmp, "out"), table)[0], 0)
        rc = subprocess.run([sys.executable, os.path.join(TOOLS, "langtool.py"), "dump",
                             os.path.join(self.tmp, "out", "English_US.dat")], capture_output=True, text=True)
        self.assertEqual(len(rc.stdout.splitlines()), COUNT)


class NaviRefusals(Workspace):
    PROGRAMS = "Navigation,1\nMedia,2\n"
    VOICES = "English (US) Female,1\n"

    def build(self, models, programs=PROGRAMS, voices=VOICES):
        self.write("navi/lists/p.txt", programs)
        self.write("navi/lists/v.txt", voices)
        table = self.write("navi/models.tsv", models)
        return ["build", "--out", os.path.join(self.tmp, "out"), table]

    def all_types(self, first_row):
        rows = [first_row] + ["US_M%d\t%s\tFALSE\tp\tv" % (i, c) for i, c in enumerate(
            ["08model", "KV210", "KV220", "KV230", "KV410", "KV450", "KV540", "KV710", "KV720", "KV730",
             "KV810", "KV820", "KV820D"])]
        return "\n".join(rows) + "\n"

    def test_refusals(self):
        good = "EU_X1\tKV450\tFALSE\tp\tv"
        cases = [
            ("name over 31 characters", dict(programs="A name that is far too long for the unit,3\n"),
             ["A name that is far too long", "over 31 characters"]),
            ("id 255", dict(voices="Voice,255\n"), ["'Voice'", "outside 0 to 254"]),
            ("id not a number", dict(voices="Voice,x\n"), ["'Voice'", "outside 0 to 254"]),
            ("no id", dict(programs="Navigation\n"), ["'Navigation'", "no ','"]),
            ("empty list", dict(voices="# none\n"), ["the list is empty"]),
        ]
        for what, kw, words in cases:
            with self.subTest(what):
                self.refused("navitool.py", self.build(self.all_types(good), **kw), *words)
        rows = [
            ("unknown code", "EU_X1\tKV999\tFALSE\tp\tv", ["EU_X1", "unknown model code"]),
            ("unknown region", "XX_X1\tKV450\tFALSE\tp\tv", ["XX_X1", "region"]),
            ("Brazil flag outside BR", "US_X1\tKV410\tTRUE\tp\tv", ["US_X1", "BrazilUnit"]),
        ]
        for what, row, words in rows:
            with self.subTest(what):
                self.refused("navitool.py", self.build(self.all_types(row)), *words)
        with self.subTest("a model type nobody offers"):
            self.refused("navitool.py", self.build(good + "\n"), "no file offers model type 0")

    def test_valid_table_builds(self):
        self.assertEqual(run("navitool.py", *self.build(self.all_types("EU_X1\tKV450\tFALSE\tp\tv")))[0], 0)
        self.assertEqual(len(os.listdir(os.path.join(self.tmp, "out"))), 14)


class PackRefusals(Workspace):
    def picture(self, name, w, h, fmt="bmp"):
        rgba = bytearray([40, 40, 48, 255] * (w * h))
        data = {"bmp": imagecodec.encode_bmp24, "tga": imagecodec.encode_tga32,
                "png": imagecodec.encode_png}[fmt](w, h, rgba)
        with open(os.path.join(self.tmp, "pics", name), "wb") as f:
            f.write(data)

    def build(self, rows):
        os.makedirs(os.path.join(self.tmp, "pics"), exist_ok=True)
        lines = []
        for name, fmt, w, h, make in rows:
            lines.append("%s\t%s\t%d\t%d\tfill color=#000000" % (name, fmt, w, h))
            if make:
                self.picture(name, make[0], make[1], fmt)
        manifest = self.write("manifest.tsv", "\n".join(lines) + "\n")
        return ["build", "--manifest", manifest, "--pictures", os.path.join(self.tmp, "pics"),
                "--out", os.path.join(self.tmp, "out.qpk")]

    def test_refusals(self):
        long_name = "a_picture_name_that_is_36_bytes.bmp"
        long_name = long_name.replace(".bmp", "x.bmp")
        cases = [
            ("name over 35 bytes", [(long_name, "bmp", 8, 8, (8, 8))], [long_name, "at most 35"]),
            ("same name ignoring case", [("Tile.bmp", "bmp", 8, 8, (8, 8)), ("TILE.bmp", "bmp", 8, 8, (8, 8))],
             ["TILE.bmp", "duplicates Tile.bmp"]),
            ("no picture", [("body_left.bmp", "bmp", 10, 16, None)], ["body_left.bmp", "no picture"]),
            ("size differs from the manifest", [("body_left.bmp", "bmp", 10, 16, (12, 16))],
             ["body_left.bmp", "12x16", "10x16"]),
            ("icon not 32 pixels", [("746_POI_001.bmp", "bmp", 30, 30, (30, 30))],
             ["746_POI_001.bmp", "32x32"]),
            ("dialog caption band not 25 high", [("dialog_top.bmp", "bmp", 25, 24, (25, 24))],
             ["dialog_top.bmp", "25 pixels high"]),
            ("check image not 16x16", [("radio_checked.tga", "tga", 18, 18, (18, 18))],
             ["radio_checked.tga", "16x16"]),
            ("overlay not the size of its base",
             [("btn_x_normal.bmp", "bmp", 20, 20, (20, 20)), ("btn_x_hot.bmp", "bmp", 20, 21, (20, 21))],
             ["btn_x_hot.bmp", "must match btn_x_normal.bmp"]),
        ]
        for what, rows, words in cases:
            with self.subTest(what):
                shutil.rmtree(os.path.join(self.tmp, "pics"), ignore_errors=True)
                self.refused("packtool.py", self.build(rows), *words)

    def test_shared_pictures_are_stored_once_and_read_back(self):
        rows = [("a.bmp", "bmp", 8, 8, (8, 8)), ("b.bmp", "bmp", 8, 8, None)]
        args = self.build(rows)
        shutil.copy(os.path.join(self.tmp, "pics", "a.bmp"), os.path.join(self.tmp, "pics", "b.bmp"))
        self.assertEqual(run("packtool.py", *args)[0], 0)
        import packtool
        pack = packtool.Pack(os.path.join(self.tmp, "out.qpk"))
        self.assertEqual(pack.find("a.bmp")[2], pack.find("B.BMP")[2])
        self.assertEqual(pack.read("a.bmp"), pack.read("b.bmp"))
        self.assertEqual(len(pack.raw), 16 + 2 * 48 + pack.find("a.bmp")[1])

    def test_scrambling_known_answer(self):
        # Byte i of the table (one run over all entries) and of each entry is XORed with (i * step) mod 256.
        args = self.build([("a.bmp", "bmp", 8, 8, (8, 8)), ("b.bmp", "bmp", 9, 8, (9, 8))]) + ["--step", "0x103"]
        self.assertEqual(run("packtool.py", *args)[0], 0)
        with open(os.path.join(self.tmp, "out.qpk"), "rb") as f:
            raw = f.read()
        with open(os.path.join(self.tmp, "pics", "b.bmp"), "rb") as f:
            plain_b = f.read()
        self.assertEqual(raw[:16], b"QPKA" + bytes([2, 0, 0, 0, 3, 1, 0, 0, 0, 0, 0, 0]))
        toc = bytes(b ^ ((i * 3) & 255) for i, b in enumerate(raw[16:16 + 96]))
        self.assertEqual(toc[48:54], b"b.bmp\0")
        size, offset = int.from_bytes(toc[84:88], "little"), int.from_bytes(toc[88:92], "little")
        self.assertEqual(size, len(plain_b))
        stored = raw[16 + 96 + offset:16 + 96 + offset + size]
        self.assertEqual(bytes(b ^ ((i * 3) & 255) for i, b in enumerate(stored)), plain_b)


if __name__ == "__main__":
    unittest.main(verbosity=2)
