"""Writes one small drawing as text DXF and as binary DXF with ezdxf (an independent writer).

Usage: ezdxf_binary_pair.py <folder> [version...]. For each version (R12 and R2000 when none
are given) writes <version>.dxf and <version>.bin.dxf into the folder: 3DFACE entities on
two layers, a 3-D polyline, a polyface mesh, a block with an INSERT, and a layer whose name
is not ASCII. Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import os
import sys

import ezdxf


def drawing(version):
    doc = ezdxf.new(dxfversion=version)
    doc.layers.add("Walls")
    doc.layers.add("Dach-Öffnung_é")
    msp = doc.modelspace()
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0.5), (0, 1, 0.5)], dxfattribs={"layer": "Walls"})
    msp.add_3dface([(0.1, 0.2, 0.3), (1e-7, 2.5e10, -3.75), (1, 1, 1)],
                   dxfattribs={"layer": "Dach-Öffnung_é"})
    msp.add_3dface([(-1, -2, -3), (4, 5, 6), (7, 8, 9), (7, 8, 9)], dxfattribs={"layer": "Walls"})
    msp.add_polyline3d([(0, 0, 0), (1.5, 0, 0.25), (1.5, 2 / 3, 0.5), (0, 1, 1 / 7)],
                       close=True, dxfattribs={"layer": "Walls"})
    mesh = msp.add_polyface(dxfattribs={"layer": "Dach-Öffnung_é"})
    mesh.append_faces([[(0, 0, 2), (1, 0, 2), (1, 1, 2)], [(1, 1, 2), (0, 1, 2), (0, 0, 2)]])
    block = doc.blocks.new(name="PANEL")
    block.add_3dface([(0, 0, 0), (2, 0, 0), (2, 2, 0)], dxfattribs={"layer": "Walls"})
    msp.add_blockref("PANEL", (10, 20, 30), dxfattribs={"xscale": 0.5, "rotation": 33.3})
    return doc


def main(folder, versions):
    # Dates and GUIDs fixed, so that both forms of a drawing hold the same header.
    ezdxf.options.write_fixed_meta_data_for_testing = True
    for version in versions or ["R12", "R2000"]:
        doc = drawing(version)
        doc.saveas(os.path.join(folder, f"{version}.dxf"))
        doc.saveas(os.path.join(folder, f"{version}.bin.dxf"), fmt="bin")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
