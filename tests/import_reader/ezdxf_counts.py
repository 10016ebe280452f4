"""Polygons per layer of a DXF file as ezdxf (an independent reader) sees them.

Prints one line per layer, "<count>\t<layer>", counting 3DFACE entities whose first three
corners are present (ezdxf fills a left-out coordinate group with 0), 3-D polylines (flag 8) of more than two vertices, and the face records
of polyface meshes (flag 64), inside blocks too. An entity without a layer group counts for
"Default". A line "zfill\t<count>\t<layer>" counts the 3DFACE entities among them that leave
out a coordinate group of their first three corners, found with ezdxf's own tag loader:
the reader under test makes no polygon of those. Run with Debian's /usr/bin/python3 (python3-ezdxf).
"""
import sys
from collections import Counter

from ezdxf import recover
from ezdxf.lldxf.tagger import ascii_tags_loader

CORNER_CODES = {10, 20, 30, 11, 21, 31, 12, 22, 32}


def layer_of(entity):
    return entity.dxf.layer if entity.dxf.hasattr("layer") else "Default"


def main(path):
    doc, _auditor = recover.readfile(path)
    counts = Counter()
    for block in doc.blocks:
        for entity in block:
            kind = entity.dxftype()
            if kind == "3DFACE":
                if all(entity.dxf.hasattr(f"vtx{i}") for i in range(3)):
                    counts[layer_of(entity)] += 1
            elif kind == "POLYLINE":
                flags = entity.dxf.flags
                if flags & 8:
                    if len(entity.vertices) > 2:
                        counts[layer_of(entity)] += 1
                elif flags & 64:
                    faces = sum(1 for v in entity.vertices if v.dxf.flags == 128)
                    counts[layer_of(entity)] += faces
    for layer, count in sorted(counts.items()):
        if count:
            print(f"{count}\t{layer}")
    for layer, count in sorted(faces_without_a_group(path).items()):
        print(f"zfill\t{count}\t{layer}")


def faces_without_a_group(path):
    missing = Counter()
    with open(path, "rt", encoding="cp1252", errors="replace") as stream:
        entity, codes, layer = None, set(), "Default"
        for tag in ascii_tags_loader(stream, skip_comments=True):
            if tag.code == 0:
                if entity == "3DFACE" and not CORNER_CODES <= codes:
                    missing[layer] += 1
                entity, codes, layer = tag.value, set(), "Default"
                if tag.value == "EOF":
                    break
            else:
                if tag.code not in codes and tag.code == 8:
                    layer = tag.value
                codes.add(tag.code)
    return missing


if __name__ == "__main__":
    main(sys.argv[1])
