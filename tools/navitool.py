#!/usr/bin/env python3
"""Builds the navi model files from data/navi.

  navitool.py build --out DIR models.tsv    one DIR/<file>.dat per row
  navitool.py dump FILE.dat                 prints the plain lines

models.tsv has one row per offered (region, model): file name without ".dat",
model code, BrazilUnit (TRUE or FALSE), program list, voice list. A list is
lists/<name>.txt beside the table with one "name,id" item per line.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xortext  # noqa: E402

# Model code -> model type, as the program reads it.
MODEL_TYPES = {"08model": 0, "KV210": 1, "KV220": 2, "KV230": 3, "KV410": 4, "KV450": 5,
               "KV540": 6, "KV710": 7, "KV720": 8, "KV730": 9, "KV810": 10, "KV820": 11,
               "KV820D": 12}
REGIONS = ("US", "AU", "BR", "EU", "RU")
MAX_NAME = 31
MAX_ID = 254         # 255 means "no item" in the unit's settings file


class NaviError(Exception):
    pass


def read_list(path):
    items = []
    with open(path, encoding="utf-8") as f:
        for no, line in enumerate(f, 1):
            line = line.rstrip("\n").rstrip("\r")
            where = "%s:%d" % (path, no)
            if not line or line.startswith("#"):
                continue
            name, sep, ident = line.partition(",")
            if not sep:
                raise NaviError("%s: item %r: no ',' before its id" % (where, line))
            if not name:
                raise NaviError("%s: item with an empty name" % where)
            if len(name) > MAX_NAME:
                raise NaviError("%s: item %r: name over %d characters" % (where, name, MAX_NAME))
            if not re.fullmatch(r"[0-9]+", ident) or int(ident) > MAX_ID:
                raise NaviError("%s: item %r: id %r outside 0 to %d" % (where, name, ident, MAX_ID))
            if name in ("PG_END", "VC_END") or re.search(r"ListSize=|NaviModelType=|BrazilUnit=", name):
                raise NaviError("%s: item %r: a name may not be a key word of the file" % (where, name))
            if any(ord(c) < 32 or c in "\u2028\u2029\x85" for c in name):
                raise NaviError("%s: item %r: control character in the name" % (where, name))
            if any(i == int(ident) for _, i in items):
                raise NaviError("%s: item %r: id %s used twice in the list" % (where, name, ident))
            items.append((name, int(ident)))
    if not items:
        raise NaviError("%s: the list is empty" % path)
    return items


def read_models(table):
    rows = []
    folder = os.path.join(os.path.dirname(table), "lists")
    with open(table, encoding="utf-8") as f:
        for no, line in enumerate(f, 1):
            line = line.rstrip("\n").rstrip("\r")
            if not line or line.startswith("#"):
                continue
            where = "%s:%d" % (table, no)
            fields = line.split("\t")
            if len(fields) != 5:
                raise NaviError("%s: %d columns, want file, code, BrazilUnit, programs, voices"
                                % (where, len(fields)))
            name, code, brazil, programs, voices = fields
            if name[:2] not in REGIONS or len(name) < 4:
                raise NaviError("%s: file %r: must start with a region %s, one separator and the "
                                "model name" % (where, name, "/".join(REGIONS)))
            if not re.fullmatch(r"[A-Za-z0-9_ ().-]+", name):
                raise NaviError("%s: file %r: use letters, digits, blank, _ . - ( ) only" % (where, name))
            if code not in MODEL_TYPES:
                raise NaviError("%s: file %r: unknown model code %r" % (where, name, code))
            if brazil not in ("TRUE", "FALSE"):
                raise NaviError("%s: file %r: BrazilUnit must be TRUE or FALSE" % (where, name))
            if (brazil == "TRUE") != (name[:2] == "BR"):
                raise NaviError("%s: file %r: BrazilUnit is TRUE exactly for BR files" % (where, name))
            if any(r[0].lower() == name.lower() for r in rows):
                raise NaviError("%s: file %r: given twice" % (where, name))
            rows.append((name, code, brazil,
                         read_list(os.path.join(folder, programs + ".txt")),
                         read_list(os.path.join(folder, voices + ".txt"))))
    return rows


def plain_lines(code, brazil, programs, voices):
    lines = ["%s,%d" % it for it in programs] + ["PG_END"]
    lines += ["%s,%d" % it for it in voices] + ["VC_END"]
    lines += ["ListSize=%d" % max(len(programs), len(voices)),
              "NaviModelType=" + code, "BrazilUnit=" + brazil]
    return lines


def build(out_dir, table):
    rows = read_models(table)
    types = {MODEL_TYPES[r[1]] for r in rows}
    missing = sorted(set(MODEL_TYPES.values()) - types)
    if missing:
        raise NaviError("%s: no file offers model type %s" % (table, ", ".join(map(str, missing))))
    os.makedirs(out_dir, exist_ok=True)
    offered = {r[0].lower() + ".dat" for r in rows}
    for old in os.listdir(out_dir):     # a model taken off the table leaves no file behind
        if old.lower().endswith(".dat") and old.lower() not in offered:
            os.remove(os.path.join(out_dir, old))
    for name, code, brazil, programs, voices in rows:
        target = os.path.join(out_dir, name + ".dat")
        with open(target + ".tmp", "wb") as f:
            f.write(xortext.encode_lines(plain_lines(code, brazil, programs, voices)))
        os.replace(target + ".tmp", target)


def main(argv):
    if len(argv) == 4 and argv[0] == "build" and argv[1] == "--out":
        try:
            build(argv[2], argv[3])
        except (NaviError, OSError) as e:
            print("navitool: error: %s" % e, file=sys.stderr)
            return 1
        return 0
    if len(argv) == 2 and argv[0] == "dump":
        with open(argv[1], "rb") as f:
            print("\n".join(xortext.decode_lines(f.read())))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
