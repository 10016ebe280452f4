"""Reads an SVG picture of qrhost render with Python's XML parser (which
fails on a file that is not well-formed) and prints, one fact a line:

  text T          each text element's content (the legend)
  part P          each line of the description (every part by name)
  paths N         the number of path elements
  first #RRGGBB   the first and last path's fill (or stroke, when unfilled)
  last #RRGGBB
"""
import sys
import xml.etree.ElementTree as ET

NS = "{http://www.w3.org/2000/svg}"


def colour(path):
    fill = path.get("fill")
    return fill if fill and fill != "none" else path.get("stroke")


def main(name):
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


if __name__ == "__main__":
    main(sys.argv[1])
