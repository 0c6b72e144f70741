#!/usr/bin/env python3
"""Builds the language files from their UTF-8 tables.

  langtool.py build --out DIR TABLE.tsv...   one DIR/<table name>.dat per table
  langtool.py dump FILE.dat                  prints the lines with their numbers

A table has one row per UI string: number TAB text [TAB note]. Lines starting
with '#' are comments. A table whose first line is '#base NAME' holds only the
rows that differ from the table NAME.tsv beside it. In a text, '\\t' is a TAB
and '\\\\' a backslash; no other escape exists, and a text never holds a line
break.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xortext  # noqa: E402

COUNT = 436          # UI strings 0 to 435
BAD_CHARS = re.compile("[\x00-\x08\x0a-\x1f\x7f\x85\u2028\u2029]")


class TableError(Exception):
    pass


def unescape(text, where):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            nxt = text[i + 1:i + 2]
            if nxt == "t":
                out.append("\t")
            elif nxt == "\\":
                out.append("\\")
            else:
                raise TableError("%s: unknown escape '\\%s' (only \\t and \\\\ exist)" % (where, nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_rows(path):
    """(base name or None, {number: text})."""
    base, rows, last = None, {}, None
    with open(path, encoding="utf-8", newline="") as f:
        raw = f.read()
    if raw.startswith("\ufeff"):
        raw = raw[1:]
    lines = raw.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for no, line in enumerate(lines, 1):
        where = "%s:%d" % (path, no)
        if line.endswith("\r"):
            line = line[:-1]
        if "\r" in line:
            num = re.match(r"[0-9]+", line)
            raise TableError("%s: entry %s: a line break (CR) inside the text"
                             % (where, num.group() if num else last))
        if line.startswith("#base "):
            base = line[6:].strip()
            continue
        if line.startswith("#") or not line.strip():
            continue
        fields = line.split("\t")
        if not re.fullmatch(r"[0-9]+", fields[0]):
            raise TableError("%s: entry %s: a line break inside the text (this line does not start "
                             "with a UI string number)" % (where, last))
        n = int(fields[0])
        if len(fields) < 2:
            raise TableError("%s: entry %d: no TAB and text after the number" % (where, n))
        if len(fields) > 3:
            raise TableError("%s: entry %d: more than three columns (write a TAB as \\t)" % (where, n))
        if n >= COUNT:
            raise TableError("%s: entry %d: outside the table (lines 0 to %d)" % (where, n, COUNT - 1))
        if n in rows:
            raise TableError("%s: entry %d: given twice" % (where, n))
        text = unescape(fields[1], "%s: entry %d" % (where, n))
        bad = BAD_CHARS.search(text)
        if bad:
            raise TableError("%s: entry %d: a line break or control character U+%04X inside the text"
                             % (where, n, ord(bad.group())))
        rows[n] = text
        last = n
    return base, rows


def load_table(path, seen=()):
    base, rows = read_rows(path)
    if base is None:
        missing = [n for n in range(COUNT) if n not in rows]
        if missing:
            raise TableError("%s: not exactly lines 0 to %d: entries %s missing"
                             % (path, COUNT - 1, ", ".join(map(str, missing[:10]))))
        return [rows[n] for n in range(COUNT)]
    base_path = os.path.join(os.path.dirname(path), base + ".tsv")
    if base_path in seen:
        raise TableError("%s: base tables form a loop" % path)
    table = load_table(base_path, seen + (path,))
    for n, text in rows.items():
        table[n] = text
    return table


URL = re.compile(r"https?://[A-Za-z0-9.-]+(:[0-9]+)?/[\x21-\x7e]*")
# A page of the program's web site: its path under the web base the program reads
# from its settings.
WEB_PATH = re.compile(r"[A-Za-z0-9_.~-][\x21-\x7e]*")


def web_address(text):
    return URL.fullmatch(text) or (WEB_PATH.fullmatch(text) and not re.match(r"[^/?#]*:", text))


# Lines the program reads as values rather than shows.
RULES = [
    (307, lambda t: "/" in t, "must contain '/' (the km label is the part before it)"),
    (359, lambda t: t != "", "the CSV delimiter sample must not be empty"),
    (360, web_address, "must be a web address or a path under the web base"),
    (361, web_address, "must be a web address or a path under the web base"),
    (430, web_address, "must be a web address or a path under the web base"),
    (362, lambda t: re.fullmatch(r"[A-Za-z0-9_-]+", t), "must be a folder name"),
    (383, lambda t: re.fullmatch(r"-?[0-9]+", t), "must be an integer"),
    (385, lambda t: re.fullmatch(r"-?[0-9]+", t), "must be an integer"),
    (387, lambda t: re.fullmatch(r"[0-9]+", t), "must be decimal digits"),
]


FORM_TEXTS = range(327, 359)    # sent as they are in a URL-encoded form body
FORM_BREAKERS = re.compile(r"[&=+%\t]")


def check_table(name, table):
    for n in FORM_TEXTS:
        if FORM_BREAKERS.search(table[n]) or len(table[n]) > 300:
            raise TableError("%s: entry %d %r: a map page text may not hold & = + %% or TAB, nor "
                             "exceed 300 characters" % (name, n, table[n]))
    for n, ok, rule in RULES:
        if not ok(table[n]):
            raise TableError("%s: entry %d %r: %s" % (name, n, table[n], rule))
    for n in (72, 73):      # the balloon breaks a line only at a marker after a blank
        if re.search(r"(?<! )\\n|\\n(?! )", table[n]):
            raise TableError("%s: entry %d: a line break marker \\n needs a blank before and after it"
                             % (name, n))
    if table[365] != name:
        raise TableError("%s: entry 365 %r: the language tag must be the file's name" % (name, table[365]))
    for n in list(range(366, 382)) + list(range(388, 398)):
        if not table[n] or len(table[n]) > 31:
            raise TableError("%s: entry %d: a navi item prefix must have 1 to 31 characters" % (name, n))


def build(out_dir, paths):
    os.makedirs(out_dir, exist_ok=True)
    for path in paths:
        name = os.path.splitext(os.path.basename(path))[0]
        table = load_table(path)
        check_table(name, table)
        data = xortext.encode_lines(table, final_break=False)
        target = os.path.join(out_dir, name + ".dat")
        tmp = target + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, target)


def main(argv):
    if len(argv) >= 3 and argv[0] == "build" and argv[1] == "--out":
        try:
            build(argv[2], argv[3:])
        except (TableError, OSError) as e:
            print("langtool: error: %s" % e, file=sys.stderr)
            return 1
        return 0
    if len(argv) == 2 and argv[0] == "dump":
        with open(argv[1], "rb") as f:
            for n, line in enumerate(xortext.decode_lines(f.read())):
                print("%d\t%s" % (n, line.replace("\t", "\\t")))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
