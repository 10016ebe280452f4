"""The polygons of a DXF file as ezdxf (an independent reader) places them.

    ezdxf_polygons.py counts FILE     one line per layer: "<count>\t<layer>"
    ezdxf_polygons.py polygons FILE   "face|later\t<layer>\t<x y z;...>" per polygon, in the
                                      import's order (faces, then polylines and meshes), then
                                      "skipped\t<N>"

Block references are placed with ezdxf's own Insert.multi_insert() and Insert.matrix44(),
nested ones through the product of their matrices;
an entity on layer "0" inside a block takes the layer of the INSERT that places it; a mirroring
placement lists corners the other way round. Blocks no INSERT places are left out and their
polygons counted as skipped, with INSERTs of missing blocks, nesting deeper than 16, blocks
that place themselves and ACIS bodies; a drawing that places nothing and has no polygon of its
own has its blocks read where they stand. An entity without a layer group is on "Default".
Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import re
import struct
import sys
from collections import Counter

from ezdxf import recover
from ezdxf.audit import AuditError

MAX_DEPTH = 16
LAYOUT_BLOCKS = {"*MODEL_SPACE", "*PAPER_SPACE"}
ACIS = {"3DSOLID", "BODY", "REGION"}


def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def layer_of(entity):
    if not entity.dxf.hasattr("layer"):
        return "Default"
    # ezdxf writes \U+ escapes with lowercase hex digits but decodes only uppercase ones.
    return re.sub(r"\\U\+([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), entity.dxf.layer)


def effective(layer, inherited):
    return inherited if layer == "0" and inherited else layer


def is_acis(kind):
    return kind in ACIS or kind.endswith("SURFACE")


def face_polygons(face):
    corners = []
    for i in range(4):
        if not face.dxf.hasattr(f"vtx{i}"):
            break
        corners.append(tuple(face.dxf.get(f"vtx{i}")))
    if len(corners) == 4 and [f32(v) for v in corners[3]] == [f32(v) for v in corners[2]]:
        corners.pop()
    return [corners] if len(corners) >= 3 else []


def polyline_polygons(polyline):
    flags = polyline.dxf.flags
    if flags & 8:
        points = [tuple(v.dxf.location) for v in polyline.vertices]
        return [points] if len(points) > 2 else []
    if flags & 64:
        points = [tuple(v.dxf.location) for v in polyline.vertices if v.dxf.flags == 192]
        faces = []
        for v in polyline.vertices:
            if v.dxf.flags == 128:
                numbers = [abs(v.dxf.get(f"vtx{i}", 0)) for i in range(4)]
                faces.append([points[k - 1] for k in numbers if 1 <= k <= len(points)])
        return faces
    if flags & 16:
        m_count, n_count = polyline.dxf.m_count, polyline.dxf.n_count
        points = [tuple(v.dxf.location) for v in polyline.vertices]
        if m_count < 2 or n_count < 2:
            return []
        rows = m_count if flags & 1 else m_count - 1
        columns = n_count if flags & 32 else n_count - 1
        cells = []
        for m in range(rows):
            for n in range(columns):
                m1, n1 = (m + 1) % m_count, (n + 1) % n_count
                cell = [m * n_count + n, m1 * n_count + n, m1 * n_count + n1, m * n_count + n1]
                if all(c < len(points) for c in cell):
                    cells.append([points[c] for c in cell])
        return cells
    return []


def mesh_polygons(mesh):
    points = [tuple(v) for v in mesh.vertices]
    faces = []
    for face in mesh.faces:
        corners = [points[i] for i in face if 0 <= i < len(points)]
        if len(corners) >= 3:
            faces.append(corners)
    return faces


def polygons_of(entity):
    """("face" or "later", polygons) of an entity in its own coordinates, or None."""
    kind = entity.dxftype()
    if kind == "3DFACE":
        return "face", face_polygons(entity)
    if kind == "POLYLINE":
        return "later", polyline_polygons(entity)
    if kind == "MESH":
        return "later", mesh_polygons(entity)
    return None


class Placer:
    def __init__(self, doc):
        self.doc = doc
        self.out = {"face": [], "later": []}
        self.skipped = 0
        self.placed = set()
        self.inserts = 0

    def take(self, entity, inherited="", mirrored=False):
        kind = entity.dxftype()
        found = polygons_of(entity)
        if found is not None:
            pass_name, polygons = found
            layer = effective(layer_of(entity), inherited)
            for corners in polygons:
                self.out[pass_name].append((layer, corners[::-1] if mirrored else corners))
        elif is_acis(kind):
            self.skipped += 1

    def place(self, insert, inherited, depth, path, outer=None):
        name = insert.dxf.name.upper()
        block = self.doc.blocks.get(insert.dxf.name)
        if block is None or depth > MAX_DEPTH or name in path:
            self.skipped += 1
            return
        self.placed.add(name)
        layer = effective(layer_of(insert), inherited)
        # A plain INSERT is its own single cell (multi_insert() copies it, attributes and all).
        cells = insert.multi_insert() if insert.mcount > 1 else [insert]
        for cell in cells:
            # Nested placements compose as matrices: a placement of a placement may shear,
            # which no single INSERT can express.
            matrix = cell.matrix44() if outer is None else cell.matrix44() * outer
            mirrored = matrix.determinant() < 0
            for entity in block:
                if entity.dxftype() == "INSERT":
                    self.place(entity, layer, depth + 1, path | {name}, matrix)
                elif entity.dxftype() in ("3DFACE", "POLYLINE", "MESH"):
                    placed = entity.copy()
                    placed.transform(matrix)
                    self.take(placed, layer, mirrored)
                elif entity.dxftype() != "ATTDEF":
                    self.take(entity, layer, mirrored)

    def top_level(self):
        for layout in (self.doc.modelspace(), self.doc.layouts.active_layout()):
            for entity in layout:
                if entity.dxftype() == "INSERT":
                    self.inserts += 1
                    self.place(entity, "", 1, frozenset())
                else:
                    self.take(entity)

    def definitions(self):
        for block in self.doc.blocks:
            if block.name.upper() not in LAYOUT_BLOCKS:
                yield block


def place_drawing(path):
    doc, auditor = recover.readfile(path)
    placer = Placer(doc)
    # ezdxf's audit deletes INSERTs of missing blocks: each is one skipped.
    placer.skipped = sum(1 for fix in auditor.fixes if fix.code == AuditError.UNDEFINED_BLOCK)
    placer.top_level()
    if placer.inserts == 0 and not placer.out["face"] and not placer.out["later"]:
        in_place = Placer(doc)
        for block in placer.definitions():
            for entity in block:
                if entity.dxftype() != "INSERT":
                    in_place.take(entity)
        if in_place.out["face"] or in_place.out["later"]:
            return in_place
    for block in placer.definitions():
        if block.name.upper() not in placer.placed:
            for entity in block:
                found = polygons_of(entity)
                placer.skipped += len(found[1]) if found else 0
    return placer


def main(mode, path):
    placer = place_drawing(path)
    polygons = [("face", *p) for p in placer.out["face"]] + [
        ("later", *p) for p in placer.out["later"]
    ]
    if mode == "counts":
        counts = Counter(layer for _pass, layer, _corners in polygons)
        for layer, count in sorted(counts.items()):
            print(f"{count}\t{layer}")
        return
    for pass_name, layer, corners in polygons:
        text = ";".join(" ".join(repr(float(v)) for v in corner) for corner in corners)
        print(f"{pass_name}\t{layer}\t{text}")
    print(f"skipped\t{placer.skipped}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
