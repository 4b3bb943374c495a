"""PNG, TGA and ICO writers (and a small PNG reader for the self-checks).

All writers take straight (non-premultiplied) 8-bit RGBA pixels, rows top
to bottom, as produced by raster.Canvas.rgba_bytes().
"""

import struct
import zlib

# ---------------------------------------------------------------------------
# PNG
# ---------------------------------------------------------------------------

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(ftype, row, prev, bpp):
    if ftype == 0:
        return row
    out = bytearray(len(row))
    for i in range(len(row)):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if ftype == 1:
            p = a
        elif ftype == 2:
            p = b
        elif ftype == 3:
            p = (a + b) >> 1
        else:
            p = _paeth(a, b, c)
        out[i] = (row[i] - p) & 0xFF
    return bytes(out)


def png_bytes(rgba, w, h):
    """Encode a 32-bit RGBA PNG (colour type 6, 8 bits per channel)."""
    stride = w * 4
    raw = bytearray()
    prev = bytes(stride)
    for y in range(h):
        row = rgba[y * stride:(y + 1) * stride]
        # pick the filter with the smallest sum of absolute values (the
        # usual heuristic from the PNG book)
        best = None
        for ft in range(5):
            f = _filter_row(ft, row, prev, 4)
            score = sum(v if v < 128 else 256 - v for v in f)
            if best is None or score < best[0]:
                best = (score, ft, f)
        raw.append(best[1])
        raw += best[2]
        prev = row
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)  # depth 8, RGBA, deflate, filter 0, no interlace
    return (PNG_SIGNATURE + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def png_read(data):
    """Decode a PNG written by png_bytes (8-bit RGBA, non-interlaced).

    Returns (w, h, rgba_bytes).  Only what the self-checks need.
    """
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG")
    pos = 8
    idat = b""
    w = h = None
    while pos < len(data):
        ln, = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + ln]
        crc, = struct.unpack(">I", data[pos + 8 + ln:pos + 12 + ln])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise ValueError("bad CRC in %r" % kind)
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, ctype, interlace) != (8, 6, 0):
                raise ValueError("unsupported PNG flavour")
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + ln
    raw = zlib.decompress(idat)
    stride = w * 4
    out = bytearray()
    prev = bytearray(stride)
    for y in range(h):
        ft = raw[y * (stride + 1)]
        f = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        row = bytearray(stride)
        for i in range(stride):
            a = row[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            p = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[ft]
            row[i] = (f[i] + p) & 0xFF
        out += row
        prev = row
    return w, h, bytes(out)


# ---------------------------------------------------------------------------
# TGA (Truevision TGA 2.0, uncompressed true-colour)
# ---------------------------------------------------------------------------

TGA_FOOTER_SIGNATURE = b"TRUEVISION-XFILE.\x00"


def tga_bytes(rgba, w, h, alpha):
    """Uncompressed true-colour TGA (image type 2), stored bottom row first.

    Header (18 bytes): id length 0, no colour map, type 2, colour-map spec
    zeroed, x/y origin 0, width, height, bits per pixel (24 or 32), and the
    image descriptor: low 4 bits = alpha bits (0 or 8), bit 5 = 0 meaning
    the origin is bottom-left.  Pixels are BGR(A).  The 26-byte TGA 2.0
    footer follows: extension offset 0, developer offset 0, signature.
    """
    bpp = 32 if alpha else 24
    descriptor = 8 if alpha else 0
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, w, h, bpp, descriptor)
    body = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            i = (y * w + x) * 4
            r, g, b, a = rgba[i:i + 4]
            body += bytes((b, g, r, a)) if alpha else bytes((b, g, r))
    footer = struct.pack("<II", 0, 0) + TGA_FOOTER_SIGNATURE
    return header + bytes(body) + footer


# ---------------------------------------------------------------------------
# ICO
# ---------------------------------------------------------------------------

def _ico_bmp(rgba, w, h):
    """A 32-bit DIB icon image: BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    # biHeight counts the XOR bitmap and the AND mask together, hence 2 * h
    bih = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                      w * h * 4, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4  # 1 bit per pixel, rows padded to 32 bits
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            i = (y * w + x) * 4
            r, g, b, a = rgba[i:i + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)  # 1 = transparent
        mask += bits
    return bih + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rgba) squares; 256 is stored as PNG."""
    images = sorted(images, key=lambda im: im[0])
    blobs = []
    for size, rgba in images:
        if size >= 256:
            blobs.append(png_bytes(rgba, size, size))
        else:
            blobs.append(_ico_bmp(rgba, size, size))
    out = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 = icon, count
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        dim = 0 if size >= 256 else size  # 0 means 256 in the directory
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)
