"""Reads a DXF file with ezdxf (an independent reader) and prints every 3DFACE and
POLYLINE, one a line, sorted, as its corners in the file's order, each "%.4f,%.4f,%.4f",
turned to begin at the least corner: the same line for the same corner order whatever
corner a writer starts with, another for the reverse. A 3DFACE whose fourth corner repeats
its third is a triangle. Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import sys

import ezdxf


def main(path):
    faces = []
    for entity in ezdxf.readfile(path).modelspace():
        if entity.dxftype() == "3DFACE":
            corners = [entity.dxf.get(k) for k in ("vtx0", "vtx1", "vtx2", "vtx3")]
            if corners[3] == corners[2]:
                corners.pop()
        elif entity.dxftype() == "POLYLINE":
            corners = [v.dxf.location for v in entity.vertices]
        else:
            continue
        texts = ["%.4f,%.4f,%.4f" % (c[0], c[1], c[2]) for c in corners]
        least = texts.index(min(texts))
        faces.append(" ".join(texts[least:] + texts[:least]))
    print("\n".join(sorted(faces)))


if __name__ == "__main__":
    main(sys.argv[1])
