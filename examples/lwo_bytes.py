"""LightWave object bytes, built record by record: the helpers that the example objects
(make_examples.py) and the fuzz seeds (fuzz/make_lwo_seeds.py) are written with."""
import struct


def chunk(tag, data):
    """An IFF chunk: tag, big-endian length, data, and a pad byte after odd-length data."""
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack(">I", len(data)) + data + pad


def form(type_, chunks):
    body = type_ + b"".join(chunks)
    return b"FORM" + struct.pack(">I", len(body)) + body


def names(*strings):
    """Zero-terminated strings, each padded to an even length (SRFS, TAGS, LAYR names)."""
    out = b""
    for s in strings:
        s += b"\0"
        out += s + (b"\0" if len(s) % 2 else b"")
    return out


def points(coords):
    """A PNTS chunk of (x, y, z) triples."""
    return chunk(b"PNTS", b"".join(struct.pack(">fff", *p) for p in coords))


def index(i):
    """An LWO2 variable-length index: two bytes below 0xFF00, else 0xFF and 24 bits."""
    return struct.pack(">H", i) if i < 0xFF00 else struct.pack(">I", 0xFF000000 | i)


def pols(type_, polygons, flags=0):
    """An LWO2 POLS chunk: the type, then each polygon's corner count (with flags) and indices."""
    data = type_
    for p in polygons:
        data += struct.pack(">H", len(p) | (flags << 10)) + b"".join(index(i) for i in p)
    return chunk(b"POLS", data)


def ptag(type_, pairs):
    """An LWO2 PTAG chunk: the type, then (element, tag) pairs."""
    return chunk(b"PTAG", type_ + b"".join(index(e) + struct.pack(">H", t) for e, t in pairs))


def layer(number):
    """An LWO2 LAYR chunk: number, flags 0, pivot at the origin, no name."""
    return chunk(b"LAYR", struct.pack(">HHfff", number, 0, 0, 0, 0) + names(b""))
