"""Writes small DXF drawings with ezdxf, one per case, into the folder given:
<case>.dxf (R2000 unless the case says otherwise). Each exercises one way CAD programs place
blocks or write meshes; ezdxf_polygons.py gives what each must import.
Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import os
import sys

import ezdxf

TRIANGLE = [(0, 0, 0), (2, 0, 0), (2, 1, 0), (2, 1, 0)]
QUAD = [(0, 0, 1), (1, 0, 1), (1, 2, 1.5), (0, 2, 1)]


def new(version="R2000"):
    doc = ezdxf.new(version)
    return doc, doc.modelspace()


def chair(doc, name="CHAIR", layer="Wood"):
    block = doc.blocks.new(name, base_point=(0, 0, 0))
    block.add_3dface(TRIANGLE, dxfattribs={"layer": layer})
    block.add_3dface(QUAD, dxfattribs={"layer": layer})
    return block


def case_move(doc, msp):
    chair(doc)
    msp.add_3dface(QUAD, dxfattribs={"layer": "Floor"})
    msp.add_blockref("CHAIR", (10, 20, 30), dxfattribs={"layer": "Furniture"})


def case_rotations(doc, msp):
    chair(doc)
    for i, angle in enumerate((0, 90, 180, 270, 30)):
        msp.add_blockref("CHAIR", (i * 5, 0, 0), dxfattribs={"rotation": angle})


def case_base_and_scale(doc, msp):
    block = doc.blocks.new("B", base_point=(1, 2, 0.5))
    block.add_3dface(QUAD, dxfattribs={"layer": "L"})
    msp.add_blockref("B", (3, 4, 5), dxfattribs={"xscale": 2, "yscale": 3, "zscale": 0.5,
                                                  "rotation": 45})


def case_mirror(doc, msp):
    chair(doc)
    msp.add_blockref("CHAIR", (0, 0, 0), dxfattribs={"xscale": -1})
    msp.add_blockref("CHAIR", (5, 0, 0), dxfattribs={"xscale": -1, "yscale": -1})


def case_nested(doc, msp):
    chair(doc)
    table = doc.blocks.new("TABLE", base_point=(1, 1, 0))
    table.add_3dface(QUAD, dxfattribs={"layer": "Top"})
    table.add_blockref("CHAIR", (3, 0, 0), dxfattribs={"rotation": 90, "xscale": 0.5})
    table.add_blockref("CHAIR", (-3, 0, 0), dxfattribs={"rotation": 270})
    msp.add_blockref("TABLE", (100, 50, 0), dxfattribs={"rotation": 30, "xscale": 2})


def case_minsert(doc, msp):
    chair(doc)
    ref = msp.add_blockref("CHAIR", (1, 2, 0), dxfattribs={"rotation": 30, "xscale": 2})
    ref.grid(size=(2, 3), spacing=(4, 5))  # 2 rows, 3 columns


def case_extrusion(doc, msp):
    chair(doc)
    msp.add_blockref("CHAIR", (1, 2, 3), dxfattribs={"extrusion": (0, -1, 1), "rotation": 20})
    msp.add_blockref("CHAIR", (0, 0, 0), dxfattribs={"extrusion": (0.01, 0.005, 1)})
    msp.add_blockref("CHAIR", (4, 0, 0), dxfattribs={"extrusion": (0, 0, -1)})


def case_layer_zero(doc, msp):
    inner = doc.blocks.new("INNER")
    inner.add_3dface(TRIANGLE, dxfattribs={"layer": "0"})
    inner.add_3dface(QUAD, dxfattribs={"layer": "Own"})
    outer = doc.blocks.new("OUTER")
    outer.add_blockref("INNER", (1, 0, 0), dxfattribs={"layer": "0"})
    outer.add_3dface(QUAD, dxfattribs={"layer": "0"})
    msp.add_blockref("OUTER", (0, 0, 0), dxfattribs={"layer": "Walls"})
    msp.add_blockref("INNER", (0, 5, 0), dxfattribs={"layer": "0"})


def case_polyface_in_block(doc, msp):
    block = doc.blocks.new("BOX")
    mesh = block.add_polyface(dxfattribs={"layer": "Box"})
    mesh.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)])
    mesh.append_face([(0, 0, 0), (1, 0, 0), (1, 0, 1)])
    block.add_polyline3d([(0, 0, 0), (1, 0, 0), (1, 1, 1)], dxfattribs={"layer": "Wire"})
    msp.add_3dface(QUAD, dxfattribs={"layer": "Floor"})
    msp.add_blockref("BOX", (2, 0, 0), dxfattribs={"rotation": 90, "xscale": -1})


def case_unplaced_block(doc, msp):
    chair(doc)
    unused = doc.blocks.new("DVIEWBLOCK")
    unused.add_3dface(TRIANGLE, dxfattribs={"layer": "Camera"})
    unused.add_3dface(QUAD, dxfattribs={"layer": "Camera"})
    msp.add_3dface(QUAD, dxfattribs={"layer": "Floor"})
    msp.add_blockref("CHAIR", (1, 1, 1))


def case_definitions_only(doc, msp):
    chair(doc)
    other = doc.blocks.new("LAMP")
    other.add_polyline3d([(0, 0, 0), (1, 0, 0), (1, 1, 1)], dxfattribs={"layer": "Lamp"})


def case_mesh(doc, msp):
    mesh = msp.add_mesh(dxfattribs={"layer": "Terrain"})
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0.5), (0, 1, 0), (2, 0, 1), (2, 1, 1)]
        data.faces = [(0, 1, 2, 3), (1, 4, 5), (1, 5, 2)]
    block = doc.blocks.new("ROCK")
    rock = block.add_mesh(dxfattribs={"layer": "0"})
    with rock.edit_data() as data:
        data.vertices = [(0, 0, 0), (1, 0, 0), (0, 1, 0), (0, 0, 1)]
        data.faces = [(0, 2, 1), (0, 1, 3), (0, 3, 2), (1, 2, 3)]
    msp.add_blockref("ROCK", (5, 5, 0), dxfattribs={"layer": "Rocks", "rotation": 90})


def grid_mesh(msp, layer, m, n, close_m=False, close_n=False):
    mesh = msp.add_polymesh((m, n), dxfattribs={"layer": layer})
    for i in range(m):
        for j in range(n):
            mesh.set_mesh_vertex((i, j), (i, j, (i * 3 + j) % 4 * 0.25))
    mesh.close(close_m, close_n)


def case_polygon_meshes(doc, msp):
    grid_mesh(msp, "Open", 3, 4)
    grid_mesh(msp, "ClosedM", 3, 3, close_m=True)
    grid_mesh(msp, "ClosedN", 2, 4, close_n=True)
    grid_mesh(msp, "Torus", 4, 3, close_m=True, close_n=True)


def case_r12_blocks(doc, msp):
    case_nested(doc, msp)
    case_polyface_in_block(doc, msp)


def case_skipped(doc, msp):
    chair(doc)
    msp.add_blockref("NOWHERE", (0, 0, 0))
    loop = doc.blocks.new("LOOP")
    loop.add_3dface(TRIANGLE, dxfattribs={"layer": "Loop"})
    loop.add_blockref("LOOP", (1, 0, 0))
    msp.add_blockref("LOOP", (0, 0, 0))
    for level in range(18):
        deep = doc.blocks.new(f"LEVEL{level}")
        deep.add_3dface(TRIANGLE, dxfattribs={"layer": f"Level{level}"})
        if level < 17:
            deep.add_blockref(f"LEVEL{level + 1}", (0, 0, 1))
    msp.add_blockref("LEVEL0", (0, 0, 0))


def case_names(doc, msp):
    for layer in ("Стена", "Müll", "Łódź"):
        msp.add_3dface(QUAD, dxfattribs={"layer": layer})
    chair(doc, layer="0")
    msp.add_blockref("CHAIR", (3, 0, 0), dxfattribs={"layer": "Стена"})


CASES = {
    "move": case_move,
    "rotations": case_rotations,
    "base_and_scale": case_base_and_scale,
    "mirror": case_mirror,
    "nested": case_nested,
    "minsert": case_minsert,
    "extrusion": case_extrusion,
    "layer_zero": case_layer_zero,
    "polyface_in_block": case_polyface_in_block,
    "unplaced_block": case_unplaced_block,
    "definitions_only": case_definitions_only,
    "mesh": case_mesh,
    "polygon_meshes": case_polygon_meshes,
    "skipped": case_skipped,
}
R12_CASES = {"r12_blocks": case_r12_blocks, "r12_polygon_meshes": case_polygon_meshes}


# Layer names in a code page before R2007 (what the code page lacks escaped as \U+), UTF-8
# from R2007 on.
NAMES = {
    "names_1251": ("R2000", "ANSI_1251"),
    "names_1252": ("R12", "ANSI_1252"),
    "names_utf8": ("R2018", "ANSI_1252"),
}
# Drawings also saved as binary DXF: <case>.bin.dxf must import as its text form does.
BINARY = {"r12_blocks", "nested", "mesh", "names_1251"}


def save(doc, folder, name):
    doc.saveas(os.path.join(folder, name + ".dxf"))
    if name in BINARY:
        doc.saveas(os.path.join(folder, name + ".bin.dxf"), fmt="bin")


def main(folder):
    for name, make in CASES.items():
        doc, msp = new()
        make(doc, msp)
        save(doc, folder, name)
    for name, make in R12_CASES.items():
        doc, msp = new("R12")
        make(doc, msp)
        save(doc, folder, name)
    for name, (version, code_page) in NAMES.items():
        doc, msp = new(version)
        doc.header["$DWGCODEPAGE"] = code_page
        case_names(doc, msp)
        save(doc, folder, name)


if __name__ == "__main__":
    main(sys.argv[1])
