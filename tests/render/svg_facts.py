"""Reads an SVG picture of qrhost render with Python's XML parser (which
fails on a file that is not well-formed) and prints, one fact a line:

  text T          each text element's content (the legend)
  part P          each line of the description (every part by name)
  paths N         the number of path elements
  first #RRGGBB   the first and last path's fill (or stroke, when unfilled)
  last #RRGGBB
  at X Y #RRGGBB  for each point X,Y given after the file, the fill of the last
                  filled path over it (what a viewer shows there), or none
"""
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://www.w3.org/2000/svg}"


def colour(path):
    fill = path.get("fill")
    return fill if fill and fill != "none" else path.get("stroke")


def polygons(d):
    """The closed polygons of a path's data, made of M, L and Z only."""
    shapes, current = [], []
    for command, x, y in re.findall(r"([MLZ])\s*(?:(-?[\d.]+)\s+(-?[\d.]+))?", d):
        if command == "M":
            if current:
                shapes.append(current)
            current = [(float(x), float(y))]
        elif command == "L":
            current.append((float(x), float(y)))
    if current:
        shapes.append(current)
    return shapes


def inside(shape, x, y):
    """Even-odd rule, as SVG's fill-rule evenodd; our faces do not cross themselves."""
    result = False
    for (x0, y0), (x1, y1) in zip(shape, shape[1:] + shape[:1]):
        if (y0 <= y) != (y1 <= y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def main(name, *points):
    root = ET.parse(name).getroot()
    assert root.tag == NS + "svg", root.tag
    for text in root.iter(NS + "text"):
        print("text", text.text)
    for desc in root.iter(NS + "desc"):
        for line in (desc.text or "").splitlines():
            print("part", line)
    paths = list(root.iter(NS + "path"))
    print("paths", len(paths))
    if paths:
        print("first", colour(paths[0]))
        print("last", colour(paths[-1]))
    for x, y in zip(points[0::2], points[1::2]):
        shown = "none"
        for path in paths:
            if path.get("fill", "none") != "none" and any(
                    inside(shape, float(x), float(y)) for shape in polygons(path.get("d"))):
                shown = path.get("fill")
        print("at", x, y, shown)


if __name__ == "__main__":
    main(*sys.argv[1:])
