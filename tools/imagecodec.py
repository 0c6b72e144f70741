"""Picture encoders and decoders for the skin pack tools (standard library only).

Pictures travel between the tools as (width, height, rgba) with rgba a
bytearray of width * height * 4 bytes, top row first.
"""
import struct
import subprocess
import zlib


class ImageError(Exception):
    pass


# ---------------------------------------------------------------- PNG

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ImageError("not a PNG")
    pos, idat, hdr = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            hdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if hdr is None:
        raise ImageError("PNG without header")
    w, h, depth, ctype, _, _, interlace = hdr
    if depth != 8 or ctype not in (2, 6) or interlace:
        raise ImageError("PNG kind %d/%d not supported" % (depth, ctype))
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(b"".join(idat))
    stride = w * bpp
    out = bytearray(w * h * 4)
    prev = bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if f == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif f == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 255
        elif f == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif f == 4:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                ul = prev[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + _paeth(left, prev[i], ul)) & 255
        elif f != 0:
            raise ImageError("bad PNG filter %d" % f)
        prev = line
        o = y * w * 4
        if bpp == 4:
            out[o:o + w * 4] = line
        else:
            out[o:o + w * 4:4] = line[0::3]
            out[o + 1:o + w * 4:4] = line[1::3]
            out[o + 2:o + w * 4:4] = line[2::3]
            out[o + 3:o + w * 4:4] = b"\xff" * w
    return w, h, out


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff)


def encode_png(w, h, rgba):
    rows = b"".join(b"\x00" + bytes(rgba[y * w * 4:(y + 1) * w * 4]) for y in range(h))
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + _chunk(b"IDAT", zlib.compress(rows, 9)) + _chunk(b"IEND", b""))


# ---------------------------------------------------------------- BMP

def flatten(w, h, rgba, bg=(0, 0, 0)):
    """RGB bytes of the picture composed over a plain background."""
    out = bytearray(w * h * 3)
    for i in range(w * h):
        r, g, b, a = rgba[i * 4:i * 4 + 4]
        if a == 255:
            out[i * 3:i * 3 + 3] = bytes((r, g, b))
        else:
            out[i * 3] = (r * a + bg[0] * (255 - a) + 127) // 255
            out[i * 3 + 1] = (g * a + bg[1] * (255 - a) + 127) // 255
            out[i * 3 + 2] = (b * a + bg[2] * (255 - a) + 127) // 255
    return out


def encode_bmp24(w, h, rgba, bg=(0, 0, 0)):
    rgb = flatten(w, h, rgba, bg)
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        row = rgb[y * w * 3:(y + 1) * w * 3]
        bgr = bytearray(len(row))
        bgr[0::3], bgr[1::3], bgr[2::3] = row[2::3], row[1::3], row[0::3]
        pixels += bgr + b"\x00" * (stride - w * 3)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return head + info + bytes(pixels)


def decode_bmp(data):
    if data[:2] != b"BM":
        raise ImageError("not a BMP")
    off = struct.unpack("<I", data[10:14])[0]
    size, w, h, _, bits, comp = struct.unpack("<IiiHHI", data[14:34])
    if bits not in (24, 32) or comp != 0:
        raise ImageError("BMP kind %d bits / compression %d not supported" % (bits, comp))
    bottom_up = h > 0
    h = abs(h)
    bpp = bits // 8
    stride = (w * bpp + 3) & ~3
    if off + stride * h > len(data):
        raise ImageError("BMP shorter than its pixels")
    out = bytearray(w * h * 4)
    out[3::4] = b"\xff" * (w * h)
    for y in range(h):
        src = off + (h - 1 - y if bottom_up else y) * stride
        row = data[src:src + w * bpp]
        o = y * w * 4
        out[o:o + w * 4:4] = row[2::bpp]
        out[o + 1:o + w * 4:4] = row[1::bpp]
        out[o + 2:o + w * 4:4] = row[0::bpp]
    return w, h, out


# ---------------------------------------------------------------- TGA

def encode_tga32(w, h, rgba):
    head = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, w, h, 32, 8)
    px = bytearray()
    for y in range(h - 1, -1, -1):  # origin bottom-left
        row = rgba[y * w * 4:(y + 1) * w * 4]
        bgra = bytearray(len(row))
        bgra[0::4], bgra[1::4], bgra[2::4], bgra[3::4] = row[2::4], row[1::4], row[0::4], row[3::4]
        px += bgra
    return head + bytes(px)


def decode_tga(data):
    if len(data) < 18:
        raise ImageError("TGA shorter than its header")
    idlen, cmap, kind = data[0], data[1], data[2]
    w, h = struct.unpack("<HH", data[12:16])
    depth, desc = data[16], data[17]
    if idlen or cmap or kind != 2 or depth != 32:
        raise ImageError("TGA must be uncompressed 32-bit without id or colour map")
    if desc & 0x20:
        raise ImageError("TGA origin must be bottom-left")
    if 18 + w * h * 4 > len(data):
        raise ImageError("TGA shorter than its pixels")
    out = bytearray(w * h * 4)
    for y in range(h):
        src = 18 + (h - 1 - y) * w * 4
        row = data[src:src + w * 4]
        o = y * w * 4
        out[o:o + w * 4:4], out[o + 1:o + w * 4:4] = row[2::4], row[1::4]
        out[o + 2:o + w * 4:4], out[o + 3:o + w * 4:4] = row[0::4], row[3::4]
    return w, h, out


# ---------------------------------------------------------------- JPEG

def jpeg_size(data):
    if data[:2] != b"\xff\xd8":
        raise ImageError("not a JPEG")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ImageError("broken JPEG marker")
        marker = data[pos + 1]
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack(">HH", data[pos + 5:pos + 9])
            return w, h
        pos += 2 + length
    raise ImageError("JPEG without frame header")


def encode_jpeg(w, h, rgba, convert="convert", quality=95):
    ppm = b"P6 %d %d 255\n" % (w, h) + bytes(flatten(w, h, rgba))
    res = subprocess.run([convert, "ppm:-", "-strip", "-sampling-factor", "1x1",
                          "-quality", str(quality), "jpeg:-"], input=ppm, capture_output=True)
    if res.returncode != 0 or not res.stdout:
        raise ImageError("JPEG encoder failed: " + res.stderr.decode(errors="replace"))
    return res.stdout


def decode_jpeg(data, convert="convert"):
    res = subprocess.run([convert, "jpeg:-", "-depth", "8", "rgba:-"], input=data, capture_output=True)
    if res.returncode != 0:
        raise ImageError("JPEG decoder failed")
    w, h = jpeg_size(data)
    return w, h, bytearray(res.stdout)


# ---------------------------------------------------------------- any

def kind_of(data):
    """Picture kind by content, in the order the program's 32-bit loader uses."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return "png"
    if data[6:10] == b"JFIF" or data[:2] == b"\xff\xd8":
        return "jpg"
    if data[:2] == b"BM":
        return "bmp"
    return "tga"


def decode_any(data, convert="convert"):
    kind = kind_of(data)
    if kind == "png":
        return decode_png(data)
    if kind == "bmp":
        return decode_bmp(data)
    if kind == "jpg":
        return decode_jpeg(data, convert)
    return decode_tga(data)


def picture_size(data):
    kind = kind_of(data)
    if kind == "png":
        return struct.unpack(">II", data[16:24])
    if kind == "bmp":
        w, h = struct.unpack("<ii", data[18:26])
        return w, abs(h)
    if kind == "jpg":
        return jpeg_size(data)
    if len(data) < 18:
        raise ImageError("TGA shorter than its header")
    return struct.unpack("<HH", data[12:16])
