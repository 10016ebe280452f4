#!/usr/bin/env python3
"""Writes the seeds of the binary DXF fuzz target with ezdxf: r12.dxf and r2000.dxf (the
drawing of tests/import_reader/ezdxf_binary_pair.py: faces on two layers, a 3-D polyline, a
polyface mesh, a block with an INSERT; one-byte and two-byte group codes), and
r12_entities.dxf (ezdxf's fast R12 writer: no header, so no $ACADVER).
Run with Debian's /usr/bin/python3 (python3-ezdxf): /usr/bin/python3 fuzz/make_dxf_binary_seeds.py
"""
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "import_reader"))
from ezdxf.addons import r12writer  # noqa: E402
from ezdxf_binary_pair import main as write_pair  # noqa: E402

OUT = os.path.join(HERE, "seeds", "dxf_binary")


def main():
    with tempfile.TemporaryDirectory() as folder:
        write_pair(folder, ["R12", "R2000"])
        for version in ["R12", "R2000"]:
            shutil.copy(os.path.join(folder, f"{version}.bin.dxf"),
                        os.path.join(OUT, f"{version.lower()}.dxf"))
    with r12writer(os.path.join(OUT, "r12_entities.dxf"), fmt="bin") as dxf:
        dxf.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0)], layer="Faces")
        dxf.add_polyface([(0, 0, 1), (1, 0, 1), (1, 1, 1)], [(0, 1, 2)], layer="Mesh")
        dxf.add_polyline([(0, 0, 0), (1, 2, 3), (4, 5, 6)], layer="Line")


if __name__ == "__main__":
    main()
