#!/usr/bin/env python3
"""Writes the bundled example objects: crate.lwo (LightWave LWOB), lamp.lwo (LightWave
LWO2, as every LightWave since 6.0 saves) and site.dxf.

Both are small and made here, so the demo and the tests own every byte of them.
Run from anywhere: python3 examples/make_examples.py
"""
import os
import struct

from lwo_bytes import chunk, form, layer, names, points, pols, ptag

HERE = os.path.dirname(os.path.abspath(__file__))


def lwo_crate():
    # A unit crate (surface "Crate", six quads) with a lid frame drawn as one
    # L-shaped, concave hexagon (surface "Lid Frame").
    points = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0),
              (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1),
              (0, 1.2, 0), (2, 1.2, 0), (2, 1.2, 1), (1, 1.2, 1), (1, 1.2, 2), (0, 1.2, 2)]
    quads = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]
    pnts = b"".join(struct.pack(">fff", *p) for p in points)
    # Names end in a zero byte and are padded to an even length.
    srfs = b""
    for name in (b"Crate", b"Lid Frame"):
        s = name + b"\0"
        srfs += s + (b"\0" if len(s) % 2 else b"")
    pols = b""
    for q in quads:
        pols += struct.pack(">H4HH", 4, *q, 1)
    pols += struct.pack(">H6HH", 6, 8, 9, 10, 11, 12, 13, 2)
    body = b"LWOB" + chunk(b"PNTS", pnts) + chunk(b"SRFS", srfs) + chunk(b"POLS", pols)
    return b"FORM" + struct.pack(">I", len(body)) + body


def lwo2_lamp():
    # Two layers, each with its own points: a post (four side quads, surface "Post") and,
    # above it, a shade (four triangles, "Shade") closed by a glass quad ("Glass"). Every
    # polygon carries a colour tag as well as its surface tag, as LightWave writes them.
    post = [(-0.1, 0, -0.1), (0.1, 0, -0.1), (0.1, 0, 0.1), (-0.1, 0, 0.1),
            (-0.1, 2, -0.1), (0.1, 2, -0.1), (0.1, 2, 0.1), (-0.1, 2, 0.1)]
    shade = [(-0.5, 1.8, -0.5), (0.5, 1.8, -0.5), (0.5, 1.8, 0.5), (-0.5, 1.8, 0.5), (0, 2.4, 0)]
    chunks = [chunk(b"TAGS", names(b"Black", b"Post", b"Shade", b"Glass"))]
    chunks += [layer(0), points(post), pols(b"FACE", [(0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]),
               ptag(b"COLR", [(i, 0) for i in range(4)]), ptag(b"SURF", [(i, 1) for i in range(4)])]
    chunks += [layer(1), points(shade), pols(b"FACE", [(0, 1, 4), (1, 2, 4), (2, 3, 4), (3, 0, 4), (3, 2, 1, 0)]),
               ptag(b"COLR", [(i, 0) for i in range(5)]), ptag(b"SURF", list(enumerate([2, 2, 2, 2, 3])))]
    for name in (b"Post", b"Shade", b"Glass"):
        chunks.append(chunk(b"SURF", names(name, b"") + b"COLR" + struct.pack(">Hfff", 14, 0.5, 0.5, 0.5) + b"\0\0"))
    return form(b"LWO2", chunks)


def dxf_site():
    # Two layers: "Ground" (two 3DFACEs, one a triangle written with its third
    # corner repeated) and "Fence" (one closed 3D polyline of four vertices).
    lines = ["0", "SECTION", "2", "ENTITIES"]

    def face(layer, corners):
        out = ["0", "3DFACE", "8", layer]
        for k, (x, y, z) in enumerate(corners):
            out += [f"1{k}", f"{x:.6f}", f"2{k}", f"{y:.6f}", f"3{k}", f"{z:.6f}"]
        return out

    lines += face("Ground", [(0, 0, 0), (10, 0, 0), (10, 10, 0), (0, 10, 0)])
    lines += face("Ground", [(10, 0, 0), (20, 0, 1), (10, 10, 0), (10, 10, 0)])
    lines += ["0", "POLYLINE", "8", "Fence", "66", "1", "70", "9"]
    for x, y in [(0, 0), (10, 0), (10, 10), (0, 10)]:
        lines += ["0", "VERTEX", "8", "Fence", "10", f"{x:.6f}", "20", f"{y:.6f}",
                  "30", "1.500000", "70", "32"]
    lines += ["0", "SEQEND", "0", "ENDSEC", "0", "EOF"]
    # Group codes right-aligned in three columns, as most producers write them.
    out = []
    for i, line in enumerate(lines):
        out.append(f"{line:>3}" if i % 2 == 0 else line)
    return ("\r\n".join(out) + "\r\n").encode("ascii")


if __name__ == "__main__":
    with open(os.path.join(HERE, "crate.lwo"), "wb") as f:
        f.write(lwo_crate())
    with open(os.path.join(HERE, "lamp.lwo"), "wb") as f:
        f.write(lwo2_lamp())
    with open(os.path.join(HERE, "site.dxf"), "wb") as f:
        f.write(dxf_site())
