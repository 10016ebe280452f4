"""Reads a DXF file with ezdxf and prints what it found, one fact a line, for
the export tests to compare with what they wrote:

  layer NAME                      every layer of the table except "0" and "Defpoints"
  3DFACE LAYER x,y,z x,y,z ...    the four corners, "%.6f"
  POLYLINE LAYER closed=C 3d=D x,y,z ...
  audit errors=N                  ezdxf's audit of the document

Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import sys

import ezdxf


def point(p):
    return "%.6f,%.6f,%.6f" % (p[0], p[1], p[2])


def main(path):
    doc = ezdxf.readfile(path)
    for layer in doc.layers:
        name = layer.dxf.name
        if name not in ("0", "Defpoints"):
            print("layer", name)
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "3DFACE":
            corners = [entity.dxf.get(f"vtx{k}") for k in range(4)]
            print(kind, entity.dxf.layer, " ".join(point(c) for c in corners))
        elif kind == "POLYLINE":
            vertices = [point(v.dxf.location) for v in entity.vertices]
            print(kind, entity.dxf.layer, "closed=%d" % entity.is_closed,
                  "3d=%d" % entity.is_3d_polyline, " ".join(vertices))
        else:
            print("other", kind)
    auditor = doc.audit()
    print("audit errors=%d" % len(auditor.errors))


if __name__ == "__main__":
    main(sys.argv[1])
