"""Writer for RAR 1.5-4.x archives holding stored (uncompressed) entries.

Layout written here (all integers little-endian):

  Marker block      52 61 72 21 1A 07 00          ("Rar!" 1A 07 00)

  Every other block starts with a 7-byte base header:
    u16 HEAD_CRC    low 16 bits of CRC32 over the header bytes from
                    HEAD_TYPE to the end of the header (file name included)
    u8  HEAD_TYPE   0x73 archive, 0x74 file, 0x7B end of archive
    u16 HEAD_FLAGS
    u16 HEAD_SIZE   size of the whole header, base header included

  Archive header    HEAD_TYPE 0x73, HEAD_FLAGS 0, HEAD_SIZE 13,
                    then u16 reserved1 = 0, u32 reserved2 = 0.

  File header       HEAD_TYPE 0x74, HEAD_FLAGS 0x8000 (ADD_SIZE follows,
                    always set for file blocks); directories also carry the
                    dictionary field value 0x00E0 ("this is a directory").
                    Fields after the base header:
                      u32 PACK_SIZE   bytes of data after the header
                      u32 UNP_SIZE    unpacked size
                      u8  HOST_OS     2 = Windows
                      u32 FILE_CRC    CRC32 of the unpacked data (0 for folders)
                      u32 FTIME       MS-DOS date << 16 | MS-DOS time
                      u8  UNP_VER     version needed, 20 = RAR 2.0
                      u8  METHOD      0x30 = stored
                      u16 NAME_SIZE
                      u32 ATTR        DOS attributes (0x20 file, 0x10 folder)
                      NAME_SIZE bytes of name, '\\' separated, no NUL
                    followed by PACK_SIZE bytes of data (stored = the file).

  End block         HEAD_TYPE 0x7B, HEAD_FLAGS 0x4000 (skip if unknown),
                    HEAD_SIZE 7: the canonical C4 3D 7B 00 40 07 00.

No volumes, comments, encryption, solid mode or extended times are used.
"""

import struct
import zlib

MARKER = b"Rar!\x1a\x07\x00"

BLOCK_ARCHIVE = 0x73
BLOCK_FILE = 0x74
BLOCK_END = 0x7B

FLAG_LONG_BLOCK = 0x8000      # ADD_SIZE (here: the packed data) follows the header
FLAG_DIRECTORY = 0x00E0       # dictionary-size bits all set = directory entry
FLAG_SKIP_IF_UNKNOWN = 0x4000

HOST_WINDOWS = 2
METHOD_STORE = 0x30
UNP_VER = 20

ATTR_ARCHIVE = 0x20
ATTR_DIRECTORY = 0x10


def dos_datetime(year, month, day, hour, minute, second):
    """MS-DOS packed date/time: date in the high word, time in the low word."""
    date = ((year - 1980) << 9) | (month << 5) | day
    time = (hour << 11) | (minute << 5) | (second // 2)
    return (date << 16) | time


FIXED_TIME = dos_datetime(2026, 1, 1, 12, 0, 0)


def _block(head_type, flags, body):
    """Base header + body with the header CRC filled in."""
    size = 7 + len(body)
    rest = struct.pack("<BHH", head_type, flags, size) + body
    crc = zlib.crc32(rest) & 0xFFFF
    return struct.pack("<H", crc) + rest


def archive_header():
    return _block(BLOCK_ARCHIVE, 0, struct.pack("<HI", 0, 0))


def end_block():
    return _block(BLOCK_END, FLAG_SKIP_IF_UNKNOWN, b"")


def file_block(name, data, ftime=FIXED_TIME):
    name_b = name.encode("ascii")
    body = struct.pack("<IIBIIBBHI", len(data), len(data), HOST_WINDOWS,
                       zlib.crc32(data) & 0xFFFFFFFF, ftime, UNP_VER,
                       METHOD_STORE, len(name_b), ATTR_ARCHIVE) + name_b
    return _block(BLOCK_FILE, FLAG_LONG_BLOCK, body) + data


def directory_block(name, ftime=FIXED_TIME):
    name_b = name.encode("ascii")
    body = struct.pack("<IIBIIBBHI", 0, 0, HOST_WINDOWS, 0, ftime, UNP_VER,
                       METHOD_STORE, len(name_b), ATTR_DIRECTORY) + name_b
    return _block(BLOCK_FILE, FLAG_LONG_BLOCK | FLAG_DIRECTORY, body)


def build_archive(entries):
    """entries: list of (name, data) where data is None for a directory."""
    out = [MARKER, archive_header()]
    for name, data in entries:
        if "/" in name:
            raise ValueError("RAR names use backslashes: %r" % name)
        out.append(directory_block(name) if data is None else file_block(name, data))
    out.append(end_block())
    return b"".join(out)


def read_archive(blob):
    """Parse an archive written by build_archive, checking every CRC.

    Returns a list of dicts (name, flags, attr, data, is_dir, ...).  Used by
    the self-checks; it rejects anything this writer would not produce.
    """
    if not blob.startswith(MARKER):
        raise ValueError("missing marker block")
    pos = len(MARKER)
    entries = []
    seen_archive = seen_end = False
    while pos < len(blob):
        crc, htype, flags, size = struct.unpack("<HBHH", blob[pos:pos + 7])
        header = blob[pos:pos + size]
        if zlib.crc32(header[2:]) & 0xFFFF != crc:
            raise ValueError("header CRC mismatch at %d" % pos)
        if htype == BLOCK_ARCHIVE:
            seen_archive = True
            pos += size
        elif htype == BLOCK_FILE:
            (pack, unp, host, fcrc, ftime, ver, method, nlen,
             attr) = struct.unpack("<IIBIIBBHI", header[7:32])
            name = header[32:32 + nlen].decode("ascii")
            if 32 + nlen != size:
                raise ValueError("unexpected extra header fields for %s" % name)
            data = blob[pos + size:pos + size + pack]
            if zlib.crc32(data) & 0xFFFFFFFF != fcrc:
                raise ValueError("data CRC mismatch for %s" % name)
            entries.append(dict(name=name, flags=flags, attr=attr, host=host,
                                ftime=ftime, ver=ver, method=method,
                                unp_size=unp, data=data,
                                is_dir=(flags & FLAG_DIRECTORY) == FLAG_DIRECTORY))
            pos += size + pack
        elif htype == BLOCK_END:
            seen_end = True
            pos += size
            break
        else:
            raise ValueError("unexpected block type 0x%02X" % htype)
    if not (seen_archive and seen_end) or pos != len(blob):
        raise ValueError("archive header or end block missing, or trailing bytes")
    return entries
