"""Reads a DXF file with ezdxf (an independent reader) and prints, per layer
other than "0" and "Defpoints", how many 3DFACE and POLYLINE entities it
holds, then ezdxf's audit:

  layer NAME faces=N polylines=M
  audit errors=N

Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import sys
from collections import Counter

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    counts = Counter()
    for entity in doc.modelspace():
        counts[(entity.dxf.layer, entity.dxftype())] += 1
    for layer in sorted(l.dxf.name for l in doc.layers):
        if layer not in ("0", "Defpoints"):
            print("layer %s faces=%d polylines=%d"
                  % (layer, counts[(layer, "3DFACE")], counts[(layer, "POLYLINE")]))
    print("audit errors=%d" % len(doc.audit().errors))


if __name__ == "__main__":
    main(sys.argv[1])
