#!/usr/bin/env python3
"""Writes the seeds of the LightWave object fuzz target for the later forms:
lwo2_layers.lwo, lwo3_surface_forms.lwo and lwlo_layers.lwo (the LWOB seeds
beside them were written by hand). Each holds every chunk its reader reads, so
the fuzzer starts from inputs that reach the whole reader. Two more are cut
short, shorter than their FORM length says: lwo2_cut_after_pols.lwo ends just
after its first POLS chunk, lwlo_cut_in_pols.lwo inside its last polygon.
Run from anywhere: python3 fuzz/make_lwo_seeds.py
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples"))
from lwo_bytes import chunk, form, layer, names, points, pols, ptag  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds", "lwo_reader")

SQUARE = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]


def lwo2_layers():
    return form(b"LWO2", [
        chunk(b"TAGS", names(b"DkBlu", b"Hull", b"Deck")),
        layer(0), points(SQUARE), chunk(b"BBOX", struct.pack(">6f", 0, 0, 0, 1, 1, 0)),
        pols(b"FACE", [(0, 1, 2, 3), (0xFF05, 1, 2)], flags=1),
        ptag(b"COLR", [(0, 0), (1, 0)]), ptag(b"SURF", [(0, 1)]),
        layer(1), points(SQUARE), pols(b"PTCH", [(3, 2, 1, 0)]), ptag(b"SURF", [(0, 2)]),
        pols(b"CURV", [(0, 1, 2)]), pols(b"BONE", [(0, 1)]),
        chunk(b"SURF", names(b"Hull", b"") + b"COLR" + struct.pack(">H", 14) + b"\0" * 14),
    ])


def lwo3_surface_forms():
    surface = b"SURF" + chunk(b"    ", names(b"Deck", b"")) + chunk(b"VERS", b"\0\0\0\4")
    clip = b"CLIP" + struct.pack(">I", 1) + chunk(b"FORM", b"STIL" + chunk(b"    ", names(b"a.png")))
    return form(b"LWO3", [
        chunk(b"TAGS", names(b"Deck", b"Spare")),
        layer(0), points(SQUARE), pols(b"FACE", [(0, 1, 2), (2, 3, 0)]), ptag(b"SURF", [(0, 0)]),
        chunk(b"FORM", clip), chunk(b"FORM", surface),
    ])


def lwlo_layers():
    def lwob_polygon(indices, surface):
        return struct.pack(">H", len(indices)) + b"".join(struct.pack(">H", i) for i in indices) + \
            struct.pack(">h", surface)
    layer1 = lwob_polygon((0, 1, 2, 3), 1)
    layer2 = lwob_polygon((0, 1, 2), -2) + struct.pack(">H", 1) + lwob_polygon((1, 2, 3), 1)
    curve = lwob_polygon((0, 1, 2), 1) + struct.pack(">H", 0)
    return form(b"LWLO", [
        chunk(b"SRFS", names(b"Wood", b"Iron")),
        chunk(b"LAYR", struct.pack(">HH", 1, 1) + names(b"Base")), points(SQUARE), chunk(b"POLS", layer1),
        chunk(b"LAYR", struct.pack(">HH", 2, 0) + names(b"Top")), points(SQUARE), chunk(b"CRVS", curve),
        chunk(b"POLS", layer2),
    ])


def main():
    lwo2 = lwo2_layers()
    lwlo = lwlo_layers()
    for name, data in (("lwo2_layers.lwo", lwo2), ("lwo3_surface_forms.lwo", lwo3_surface_forms()),
                       ("lwlo_layers.lwo", lwlo), ("lwo2_cut_after_pols.lwo", lwo2[:lwo2.index(b"PTAG")]),
                       ("lwlo_cut_in_pols.lwo", lwlo[:-3])):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
