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


# The three share one scene (the demo imports them all): the site is a 10 x 10
# ground with a low fence round its edge, the crate stands in it towards the
# back left and the lamp towards the right, each clear of the fence and of
# the other, so the iso view (from +x, +y, +z) shows all three.
CRATE_AT = (2.0, 0.0, 5.5)  # the crate's corner nearest the origin (x, height, z)
LAMP_AT = (7.0, 0.0, 3.0)   # the foot of the lamp's post


def lwo_crate():
    # A crate of side 1.5 (surface "Crate", six quads) and, just above its
    # top, the square frame round its lid (surface "Lid Frame"): one concave
    # polygon of ten corners, the outer square and the inner one joined by a
    # cut of no width, as modellers save a face with a hole.
    x0, y0, z0 = CRATE_AT
    side, rim, lift = 1.5, 0.25, 1.52
    corners = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0),
               (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]
    points = [(x0 + side * x, y0 + side * y, z0 + side * z) for x, y, z in corners]
    inner0, inner1 = rim, side - rim
    frame = [(0, 0), (side, 0), (side, side), (0, side), (0, 0),
             (inner0, inner0), (inner0, inner1), (inner1, inner1), (inner1, inner0), (inner0, inner0)]
    points += [(x0 + x, y0 + lift, z0 + z) for x, z in frame]
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
    pols += struct.pack(">H10HH", 10, *range(8, 18), 2)
    body = b"LWOB" + chunk(b"PNTS", pnts) + chunk(b"SRFS", srfs) + chunk(b"POLS", pols)
    return b"FORM" + struct.pack(">I", len(body)) + body


def lwo2_lamp():
    # A lantern on a post, in two layers, each with its own points: the post (four side
    # quads, surface "Post"), and over it the glass (four upright panes, "Glass") under a
    # pyramid roof ("Shade", four triangles), the panes tall enough to show under the
    # roof's overhang. Every polygon carries a colour tag as well as its surface tag, as
    # LightWave writes them.
    x0, y0, z0 = LAMP_AT

    def box(half, low, high):
        return [(x0 + x, y0 + y, z0 + z) for y in (low, high)
                for x, z in ((-half, -half), (half, -half), (half, half), (-half, half))]

    sides = [(0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]
    post = box(0.12, 0, 2.4)
    top = box(0.25, 2.4, 2.9) + box(0.38, 2.9, 2.9)[:4] + [(x0, y0 + 3.3, z0)]
    roof = [(8, 9, 12), (9, 10, 12), (10, 11, 12), (11, 8, 12)]
    faces = sides + roof
    chunks = [chunk(b"TAGS", names(b"Black", b"Post", b"Shade", b"Glass"))]
    chunks += [layer(0), points(post), pols(b"FACE", sides),
               ptag(b"COLR", [(i, 0) for i in range(4)]), ptag(b"SURF", [(i, 1) for i in range(4)])]
    chunks += [layer(1), points(top), pols(b"FACE", faces),
               ptag(b"COLR", [(i, 0) for i in range(len(faces))]),
               ptag(b"SURF", [(i, 3 if i < len(sides) else 2) for i in range(len(faces))])]
    for name in (b"Post", b"Shade", b"Glass"):
        chunks.append(chunk(b"SURF", names(name, b"") + b"COLR" + struct.pack(">Hfff", 14, 0.5, 0.5, 0.5) + b"\0\0"))
    return form(b"LWO2", chunks)


def dxf_site():
    # Two layers: "Ground" (two 3DFACEs meeting on the diagonal of a 10 x 10
    # square, each a triangle written with its third corner repeated) and
    # "Fence" (four closed 3D polylines of four vertices: upright panels
    # 0.8 high along the square's edges). DXF's Z is up.
    lines = ["0", "SECTION", "2", "ENTITIES"]

    def face(layer, corners):
        out = ["0", "3DFACE", "8", layer]
        for k, (x, y, z) in enumerate(corners):
            out += [f"1{k}", f"{x:.6f}", f"2{k}", f"{y:.6f}", f"3{k}", f"{z:.6f}"]
        return out

    lines += face("Ground", [(0, 0, 0), (10, 0, 0), (10, 10, 0), (10, 10, 0)])
    lines += face("Ground", [(0, 0, 0), (10, 10, 0), (0, 10, 0), (0, 10, 0)])
    square = [(0, 0), (10, 0), (10, 10), (0, 10)]
    for (ax, ay), (bx, by) in zip(square, square[1:] + square[:1]):
        lines += ["0", "POLYLINE", "8", "Fence", "66", "1", "70", "9"]
        for x, y, z in [(ax, ay, 0), (bx, by, 0), (bx, by, 0.8), (ax, ay, 0.8)]:
            lines += ["0", "VERTEX", "8", "Fence", "10", f"{x:.6f}", "20", f"{y:.6f}",
                      "30", f"{z:.6f}", "70", "32"]
        lines += ["0", "SEQEND"]
    lines += ["0", "ENDSEC", "0", "EOF"]
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
