#!/usr/bin/env python3
"""Builds, lists, checks and unpacks the skin pack (.qpk).

  packtool.py build --manifest M --pictures DIR --out PACK [--step N]
  packtool.py list PACK                    name, size, offset, kind and size of every entry
  packtool.py verify PACK [--manifest M]   structure, pictures and (with M) the manifest
  packtool.py extract PACK DIR [NAME...]

Pack layout (little-endian): "QPKA", entry count, scrambling step, reserved 0;
then 48-byte table entries (36-byte NUL-terminated ANSI name, size, offset in
the data area, reserved 0) scrambled as one run; then the data area, where each
entry is scrambled as its own run. A run XORs byte i with (i * step) mod 256.
Entries with the same bytes share one place in the data area.
"""
import argparse
import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import imagecodec  # noqa: E402
import skintool  # noqa: E402

MAGIC = b"QPKA"
HEADER = 16
TOC_ENTRY = 48
NAME_FIELD = 36
DEFAULT_STEP = 0x5D     # low byte not 0, so every run is really scrambled


class PackError(Exception):
    pass


def scramble(data, step):
    inc = step & 0xFF
    if inc == 0:
        return bytes(data)
    key = bytes((i * inc) & 0xFF for i in range(256))
    n = len(data)
    full = (key * (n // 256 + 1))[:n]
    return bytes(a ^ b for a, b in zip(data, full))


# ---------------------------------------------------------------- reading

class Pack:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.raw = f.read()
        if len(self.raw) < HEADER or self.raw[:4] != MAGIC:
            raise PackError("%s: not a pack (no QPKA header)" % path)
        self.count, self.step, self.reserved = struct.unpack("<III", self.raw[4:16])
        toc_end = HEADER + TOC_ENTRY * self.count
        if toc_end > len(self.raw):
            raise PackError("%s: table of %d entries runs past the end of the file" % (path, self.count))
        toc = scramble(self.raw[HEADER:toc_end], self.step)
        self.data_start = toc_end
        self.entries = []
        for i in range(self.count):
            rec = toc[i * TOC_ENTRY:(i + 1) * TOC_ENTRY]
            field = rec[:NAME_FIELD]
            if b"\0" not in field:
                raise PackError("%s: entry %d: name is not NUL-terminated" % (path, i))
            name = field.split(b"\0", 1)[0].decode("latin-1")
            size, offset, reserved = struct.unpack("<III", rec[NAME_FIELD:])
            self.entries.append((name, size, offset, reserved))

    def find(self, name):
        """First entry whose name matches without regard to case, as the program looks up."""
        for e in self.entries:
            if e[0].lower() == name.lower():
                return e
        return None

    def read(self, name):
        e = self.find(name)
        if e is None:
            raise PackError("no entry %s" % name)
        _, size, offset, _ = e
        start = self.data_start + offset
        if start + size > len(self.raw):
            raise PackError("entry %s: %d bytes at %d run past the end of the pack" % (name, size, offset))
        block = self.raw[start:start + size]
        return scramble(block, self.step) if self.step else block


# ---------------------------------------------------------------- rules

def _exact(w, h):
    return lambda pw, ph: (pw, ph) == (w, h), "%dx%d" % (w, h)


def _at_least(w, h):
    return lambda pw, ph: pw >= w and ph >= h, "at least %dx%d" % (w, h)


def _at_most(w, h):
    return lambda pw, ph: pw <= w and ph <= h, "at most %dx%d" % (w, h)


def _height(h):
    return lambda pw, ph: ph == h, "%d pixels high" % h


def _width(w):
    return lambda pw, ph: pw == w, "%d pixels wide" % w


# What the drawing code relies on, by entry name (first match decides).
SIZE_RULES = [
    (r"(radio|checkbox)_.*\.tga", _exact(16, 16), "check and radio image lists are 16x16"),
    (r"(746_poi_\d{3}|007_32k_om-5\d\d|poi_mapclose)\.bmp", _exact(32, 32), "32-pixel stock icon list"),
    (r"005_32k_om-3\d\d\.bmp", _exact(24, 24), "24-pixel stock icon list"),
    (r"dialog_(topleft|topright)\.bmp", _exact(25, 25), "dialog caption corners"),
    (r"dialog_top\.bmp", _height(25), "dialog caption band height"),
    (r"dialog_(bottomleft|bottomright)\.bmp", _exact(24, 24), "dialog bottom corners"),
    (r"dialog_(left|right)\.bmp", _width(24), "dialog side strips"),
    (r"dialog_bottom\.bmp", _height(24), "dialog bottom strip"),
    (r"(save_pc|save_sd|btn_save_sd|btn_save_usb)_[0-4]\.bmp", _exact(192, 48), "save button frame"),
    (r"tab_[0-4]\.bmp", _exact(194, 38), "tab frame"),
    (r"btn_opt_tab_left_o(n|ff)\.bmp", _exact(194, 21), "option tab frame"),
    (r"btn_(dlg_)?(normal|pressed|check|hot|disabled)\.bmp", _at_least(17, 9), "nine-slice piece needs a centre"),
    (r"spin_.*\.bmp", _exact(17, 16), "spin button"),
    (r"loading_anime\[[0-2]\]\.bmp", _exact(64, 64), "busy animation frame"),
    (r"icon_list_(bk|select)_normal\.bmp", _exact(64, 64), "icon picker cell, 32-pixel icons"),
    (r"icon_list_(bk|select)_small\.bmp", _exact(48, 48), "icon picker cell, 24-pixel icons"),
    (r"customlist_sel_[lcr]\.bmp", _height(36), "list row height"),
    (r"customlist_large_sel_[lcr]\.bmp", _height(73), "apps list row height"),
    (r"return_(ahead|top)_.*\.bmp", _exact(86, 48), "Back and Top buttons"),
    (r"btn_icon_.*\.bmp", _exact(56, 34), "header icon button"),
    (r"btn_(feed_add|feed_delete|browser)_.*\.bmp", _exact(40, 26), "feed list buttons"),
    (r"btn_select_img_.*\.bmp", _exact(28, 196), "send-to-editor button"),
    (r"btn_(fit_[wh]|rotate_[rl])_.*\.bmp", _exact(56, 24), "image pane buttons"),
    (r"btn_dlg_zoom(in|out)_.*\.bmp", _exact(48, 38), "graph zoom buttons"),
    (r"progress_bar\.bmp", _at_least(1, 12), "the bar is drawn in rows 4 to 11"),
    (r"splash_.*\.bmp", _at_least(319, 205), "version label at (249, 193), 70x12"),
    (r"btn_menu_.*\.png", _at_least(144, 141), "category caption rectangle"),
    (r"btn_.*_(normal|pressed|hot|disable|multi_pressed|multi_hot)\.png", _at_least(190, 140), "task caption rectangle"),
    (r"banner_.*\.bmp", _at_most(366, 64), "partner banner space"),
    (r"(status_top|header_bottom|caption_bottom)\.bmp", _height(1), "drawn into one pixel row"),
]

# Entries that must be the size of another (overlays of a button, pictures drawn in one place).
SAME_SIZE = [
    (r"(.*)_(pressed|hot|disable|disabled|check|multi_pressed|multi_check|multi_hot)\.(bmp|png)", r"\1_normal.\3"),
    (r"btn_google_[1-4]\.bmp", "btn_Google_0.bmp"),
    (r"menu_back_(settings|drive|apps\(kv410\)|apps\(kv540\))\.bmp", "menu_back_poi.bmp"),
    (r"menu_back_logo_tundrel\.bmp", "menu_back_logo_oskra.bmp"),
    (r"splash_seravine\.bmp", "splash_mirovale.bmp"),
    (r"eco_.*_body\.bmp", "eco_Normal_body.bmp"),
    (r"eco_(verygood|good|bad|verybad)\.bmp", "eco_Normal.bmp"),
    (r"scrl_arrow_.*\.bmp", "scrl_sizebox.bmp"),
    (r"graph_image_bottom_tundrel\.bmp", "graph_image_bottom_oskra.bmp"),
]

# Stock icons of the 2008 models that the unit shows as one picture.
GROUP_KEYS = [0, 0, 1, 2, 0, 0, 3, 3, 3, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0,
              0, 1, 0, 0, 6, 6, 1, 2, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 8, 0, 5, 0, 0, 0, 4,
              0, 0, 9, 9, 9, 1, 0, 0, 0, 0, 8, 0]

KINDS = {"bmp": "bmp", "png": "png", "tga": "tga", "jpg": "jpg"}


def check_picture(name, fmt, data):
    """(width, height) of a picture that its loader can read, else PackError."""
    kind = imagecodec.kind_of(data)
    if kind != KINDS[fmt]:
        raise PackError("entry %s: holds %s data, want %s" % (name, kind.upper(), fmt.upper()))
    try:
        if fmt == "bmp":
            if struct.unpack("<H", data[28:30])[0] != 24:
                raise PackError("entry %s: BMP must be 24-bit" % name)
            w, h, _ = imagecodec.decode_bmp(data)
        elif fmt == "tga":
            w, h, _ = imagecodec.decode_tga(data)
        elif fmt == "png":
            if data[25] != 6:
                raise PackError("entry %s: PNG must carry an alpha channel (RGBA)" % name)
            w, h = imagecodec.picture_size(data)
        else:
            if data[6:10] != b"JFIF":
                raise PackError("entry %s: JPEG must carry a JFIF header" % name)
            w, h = imagecodec.jpeg_size(data)
    except imagecodec.ImageError as e:
        raise PackError("entry %s: %s" % (name, e))
    return w, h


def check_sizes(sizes):
    """sizes: {lower-case name: (real name, w, h)}. Raises on the first broken rule."""
    for low, (name, w, h) in sizes.items():
        for pattern, (ok, want), why in SIZE_RULES:
            if re.fullmatch(pattern, low):
                if not ok(w, h):
                    raise PackError("entry %s: %dx%d, its reader needs %s (%s)" % (name, w, h, want, why))
                break
        for pattern, other in SAME_SIZE:
            m = re.fullmatch(pattern, low)
            if m:
                ref = m.expand(other).lower() if "\\" in other else other.lower()
                if ref != low and ref in sizes and sizes[ref][1:] != (w, h):
                    raise PackError("entry %s: %dx%d, must match %s (%dx%d)"
                                    % (name, w, h, sizes[ref][0], sizes[ref][1], sizes[ref][2]))
                break


def check_groups(payload_of):
    first = {}
    for i, key in enumerate(GROUP_KEYS):
        if key:
            name = "746_POI_%03d.bmp" % i
            data = payload_of(name)
            if data is None:
                continue
            if key in first and first[key][1] != data:
                raise PackError("entry %s: must show the same picture as %s (same icon group)"
                                % (name, first[key][0]))
            first.setdefault(key, (name, data))


def check_name(name, seen):
    if not re.fullmatch(r"[\x21-\x7e]+", name):
        raise PackError("entry %r: name must be printable ASCII without blanks" % name)
    if len(name.encode("ascii")) > NAME_FIELD - 1:
        raise PackError("entry %s: name of %d bytes, at most %d fit" % (name, len(name), NAME_FIELD - 1))
    if name.lower() in seen:
        raise PackError("entry %s: name duplicates %s (names are compared without case)"
                        % (name, seen[name.lower()]))
    seen[name.lower()] = name


# ---------------------------------------------------------------- building

def build(manifest, pictures, out, step):
    rows = skintool.read_manifest(manifest)
    seen, sizes, payloads = {}, {}, []
    for r in rows:
        name = r["name"]
        check_name(name, seen)
        path = os.path.join(pictures, name)
        if not os.path.isfile(path):
            raise PackError("entry %s: no picture (%s missing)" % (name, path))
        with open(path, "rb") as f:
            data = f.read()
        w, h = check_picture(name, r["format"], data)
        if (w, h) != (r["width"], r["height"]):
            raise PackError("entry %s: picture is %dx%d, the manifest says %dx%d"
                            % (name, w, h, r["width"], r["height"]))
        sizes[name.lower()] = (name, w, h)
        payloads.append((name, data))
    check_sizes(sizes)
    by_name = {n.lower(): d for n, d in payloads}
    check_groups(lambda n: by_name.get(n.lower()))

    toc, area, placed = bytearray(), bytearray(), {}
    for name, data in payloads:
        if data not in placed:
            placed[data] = len(area)
            area += scramble(data, step)
        toc += struct.pack("<36sIII", name.encode("ascii"), len(data), placed[data], 0)
    blob = MAGIC + struct.pack("<III", len(payloads), step, 0) + scramble(bytes(toc), step) + bytes(area)
    with open(out + ".tmp", "wb") as f:
        f.write(blob)
    os.replace(out + ".tmp", out)


# ---------------------------------------------------------------- checking

def verify(path, manifest=None):
    pack = Pack(path)
    if pack.reserved:
        raise PackError("%s: reserved header field is not 0" % path)
    seen, sizes = {}, {}
    for name, size, offset, reserved in pack.entries:
        check_name(name, seen)
        if reserved:
            raise PackError("entry %s: reserved field is not 0" % name)
        if pack.data_start + offset + size > len(pack.raw):
            raise PackError("entry %s: %d bytes at %d run past the end of the pack" % (name, size, offset))
        ext = name.rsplit(".", 1)[-1].lower()
        if ext not in KINDS:
            raise PackError("entry %s: unknown picture kind" % name)
        w, h = check_picture(name, ext, pack.read(name))
        sizes[name.lower()] = (name, w, h)
    check_sizes(sizes)
    check_groups(lambda n: pack.read(n) if pack.find(n) else None)
    if manifest:
        rows = skintool.read_manifest(manifest)
        want = {r["name"]: (r["width"], r["height"]) for r in rows}
        have = {e[0] for e in pack.entries}
        for n in sorted(set(want) - have):
            raise PackError("entry %s: in the manifest, not in the pack" % n)
        for n in sorted(have - set(want)):
            raise PackError("entry %s: in the pack, not in the manifest" % n)
        for n, wh in want.items():
            if sizes[n.lower()][1:] != wh:
                raise PackError("entry %s: %dx%d in the pack, %dx%d in the manifest" % ((n,) + sizes[n.lower()][1:] + wh))
    return pack


def main(argv):
    ap = argparse.ArgumentParser(description="Builds, lists, checks and unpacks the skin pack.")
    sub = ap.add_subparsers(dest="cmd", required=True)
    b = sub.add_parser("build")
    b.add_argument("--manifest", required=True)
    b.add_argument("--pictures", required=True)
    b.add_argument("--out", required=True)
    b.add_argument("--step", type=lambda s: int(s, 0), default=DEFAULT_STEP)
    li = sub.add_parser("list")
    li.add_argument("pack")
    v = sub.add_parser("verify")
    v.add_argument("pack")
    v.add_argument("--manifest")
    x = sub.add_parser("extract")
    x.add_argument("pack")
    x.add_argument("dir")
    x.add_argument("names", nargs="*")
    opt = ap.parse_args(argv)
    try:
        if opt.cmd == "build":
            build(opt.manifest, opt.pictures, opt.out, opt.step)
        elif opt.cmd == "list":
            pack = Pack(opt.pack)
            print("# %d entries, step %d" % (pack.count, pack.step))
            for name, size, offset, _ in pack.entries:
                data = pack.read(name)
                try:
                    w, h = imagecodec.picture_size(data)
                except imagecodec.ImageError:
                    w = h = 0
                print("%s\t%d\t%d\t%s\t%dx%d" % (name, size, offset, imagecodec.kind_of(data), w, h))
        elif opt.cmd == "verify":
            pack = verify(opt.pack, opt.manifest)
            print("%s: %d entries, all good" % (opt.pack, pack.count))
        else:
            pack = Pack(opt.pack)
            os.makedirs(opt.dir, exist_ok=True)
            for name, _, _, _ in pack.entries:
                if not opt.names or name in opt.names:
                    with open(os.path.join(opt.dir, name), "wb") as f:
                        f.write(pack.read(name))
    except (PackError, skintool.SkinError, OSError) as e:
        print("packtool: error: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
