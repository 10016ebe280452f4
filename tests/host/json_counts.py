"""Reads the output of `qrhost inspect --json` with Python's JSON parser and
prints its counts, one "name value" line each, after checking that the lists
hold as many entries as the counts say and every corner names a point.
"""
import json
import sys


def main(name):
    with open(name, encoding="utf-8") as f:
        data = json.load(f)
    counts = data["counts"]
    if "points" in data:
        assert len(data["points"]) == counts["points"]
        assert len(data["surfaces"]) == counts["surfaces"]
        assert len(data["polygons"]) == counts["polygons"]
        for polygon in data["polygons"]:
            assert all(0 <= i < counts["points"] for i in polygon["indices"]), polygon
            assert 1 <= polygon["surface"] <= counts["surfaces"], polygon
        for point in data["points"]:
            assert len(point) == 3 and all(isinstance(v, (int, float)) for v in point)
    for key in ("points", "surfaces", "polygons", "dropped_polygons", "skipped_elements"):
        print(key, counts[key])


if __name__ == "__main__":
    main(sys.argv[1])
