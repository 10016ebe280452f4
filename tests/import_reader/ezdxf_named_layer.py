"""Writes a DXF file with one 3DFACE on a named layer, encoded by ezdxf.

usage: ezdxf_named_layer.py VERSION ENCODING LAYER PATH  (e.g. R2000 cp1251 "Стена" x.dxf)
"""
import sys

import ezdxf

version, encoding, layer, path = sys.argv[1:5]
doc = ezdxf.new(version)
doc.encoding = encoding
doc.modelspace().add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0)], dxfattribs={"layer": layer})
doc.saveas(path)
