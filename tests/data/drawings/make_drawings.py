#!/usr/bin/python3
"""Writes the test drawings of the drawing steps with an independent DXF writer (ezdxf).

Run with Debian's python3 (python3-ezdxf): tests/data/drawings/make_drawings.py

Every drawing from R2000 on holds the same entities, so the three steps give the same files
for all of them:

  route_r2000.dxf       ASCII, code page ANSI_1252: Chinese written as \\U+xxxx escapes
  route_r2000_gbk.dxf   ASCII, code page ANSI_936: Chinese written in GBK
  route_r2000_bin.dxf   binary
  route_r2010.dxf       ASCII, UTF-8
  route_r2018.dxf       ASCII, UTF-8
  route_r2018_bin.dxf   binary, UTF-8

  route_r12.dxf         R12 (code page ANSI_936): no lightweight polylines exist in R12, only
  route_r12_bin.dxf     old-style 2D and 3D polylines; the same lines and texts (binary: one-byte
                        group codes)

Layers: "dmx" (polylines and section lines), "DMX" (differs only in letter case: one
lightweight polyline, no line), "zh" (station labels), "ZH", "桩号" (a Chinese layer name),
"old" (an old-style polyline only), "other".
"""

import os
import sys

# The same files on every run, so that writing them again leaves the tree as it was: ezdxf
# lists the classes in use in set order, which follows Python's string hashing (fixed here by
# starting again with a fixed seed), and stamps the date and GUIDs of the run (fixed by its own
# switch for reproducible files: created and updated 2000-01-01, zero GUIDs).
if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

ezdxf.options.write_fixed_meta_data_for_testing = True

HERE = os.path.dirname(os.path.abspath(__file__))


def add_common(doc, lightweight):
    # Layer names are one name whatever the letter case in the layer table; the entities on
    # "DMX" and "ZH" carry that spelling in their own layer group.
    for name in ("dmx", "zh", "桩号", "old", "other"):
        doc.layers.add(name)

    # A block whose entities sit on the selected layers: a block definition is not selected,
    # nor is its insert or the insert's attribute.
    block = doc.blocks.new("BLK")
    block.add_line((0, 0), (1, 1), dxfattribs={"layer": "dmx"})
    block.add_text("K8+000", dxfattribs={"layer": "zh", "insert": (3, 4)})
    block.add_attdef("TAG", (0, 2), dxfattribs={"layer": "zh"})

    msp = doc.modelspace()
    if lightweight:
        # P1, P2, P3 in drawing order; P2 starts where P1 ends (300.0004 reduces to 300),
        # P3 starts on P2's second vertex (99.9996 reduces to 100) and is closed.
        msp.add_lwpolyline([(100, 200), (250.5, -47.125), (300.0004, 10)], dxfattribs={"layer": "dmx"})
    msp.add_line((0, 0), (5, 5), dxfattribs={"layer": "other"})
    if lightweight:
        msp.add_lwpolyline([(300, 10), (0.5, 99.9996), (1000.0005, 7)], dxfattribs={"layer": "dmx"})
        msp.add_lwpolyline([(0.5, 100), (10, 0.5), (10, 10)], close=True, dxfattribs={"layer": "dmx"})
        msp.add_lwpolyline([(1, 1), (2, 2)], dxfattribs={"layer": "DMX"})
    msp.add_polyline3d([(0, 0, 1), (7, 7, 2)], dxfattribs={"layer": "dmx"})
    msp.add_polyline2d([(3, 3), (4, 4)], dxfattribs={"layer": "dmx"})
    msp.add_polyline2d([(5, 5), (6, 6)], dxfattribs={"layer": "old"})

    # Section lines; the second is drawn from right to left.
    msp.add_line((100, 200, 0), (150.5, 260.25, 0), dxfattribs={"layer": "dmx"})
    msp.add_line((1000, 0.5, 3), (12.34449, -3.125, 4), dxfattribs={"layer": "dmx"})
    msp.add_circle((0, 0), 5, dxfattribs={"layer": "dmx"})
    msp.add_line((438230.71649, 3391642.98151), (-0.00049, 2.00050001), dxfattribs={"layer": "dmx"})

    # Station labels.
    msp.add_text("K0+100", dxfattribs={"layer": "zh", "insert": (100, 200, 0)})
    msp.add_text("K0+120 中桩,左", dxfattribs={"layer": "zh", "insert": (120.0005, -0.5, 12.34)})
    msp.add_point((1, 2), dxfattribs={"layer": "zh"})
    msp.add_text("", dxfattribs={"layer": "zh", "insert": (0, 0, 0)})
    msp.add_text("K1+000", dxfattribs={"layer": "zh", "insert": (1000.0015, 2.0025, -0.0004),
                                       "align_point": (9, 9, 9), "halign": 1})
    if lightweight:
        msp.add_mtext("K9+999", dxfattribs={"layer": "zh", "insert": (9, 9, 0)})
    msp.add_text("K5+000", dxfattribs={"layer": "ZH", "insert": (1, 1, 0)})
    msp.add_text("K2+000", dxfattribs={"layer": "桩号", "insert": (5, 6, 0)})
    insert = msp.add_blockref("BLK", (50, 50), dxfattribs={"layer": "zh"})
    insert.add_auto_attribs({"TAG": "K7+000"})

    # Entities of the active paper-space layout stand in ENTITIES too and are selected.
    doc.layout("Layout1").add_text("P1+000", dxfattribs={"layer": "zh", "insert": (7, 8, 0)})


def write(version, name, encoding=None, binary=False):
    doc = ezdxf.new(version)
    if encoding:
        doc.encoding = encoding
    add_common(doc, lightweight=version != "R12")
    doc.saveas(os.path.join(HERE, name), fmt="bin" if binary else "asc")


def main():
    write("R2000", "route_r2000.dxf")
    write("R2000", "route_r2000_gbk.dxf", encoding="gbk")
    write("R2000", "route_r2000_bin.dxf", binary=True)
    write("R2010", "route_r2010.dxf")
    write("R2018", "route_r2018.dxf")
    write("R2018", "route_r2018_bin.dxf", binary=True)
    write("R12", "route_r12.dxf", encoding="gbk")
    write("R12", "route_r12_bin.dxf", encoding="gbk", binary=True)


if __name__ == "__main__":
    main()
