#!/usr/bin/python3
"""Writes the example project: a 1 km route with a curve, surveyed every 20 m.

Files written here:
  route.dxf   the route drawing: centre line (layer "zxx"), station labels (layer "zh"),
              section lines (layer "dmx"), surveyed points (layer "gcd"), a title
  points.dat  the survey's detail point file: name,code,easting,northing,elevation
  labels.dat  the station text file the label extraction gives for route.dxf (layer "zh")
  lines.dat   the section line file the line extraction gives for route.dxf (layer "dmx")

Two faults are surveyed in on purpose, so the checking steps have something to report:
the stake of K0+340 was never surveyed, and the section line of K0+660 was never drawn.

Run with Debian's python3 (python3-ezdxf): examples/make_example.py
"""

import math
import os
import sys
import random
from decimal import Decimal, ROUND_HALF_EVEN

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

START = (438250.000, 3391620.000)      # easting, northing of K0+000
FIRST_TANGENT = 400.0                   # metres of straight road
RADIUS = 300.0                          # the curve turns right
CURVE_ANGLE = math.radians(40.0)
START_AZIMUTH = math.radians(50.0)      # clockwise from north
ROUTE_LENGTH = 1000.0

LABEL_OFFSET = 0.4504                   # the label sits this far from its stake ...
LABEL_DIRECTION = 5.695182712812092     # ... the stake lying in this direction from the label
HALF_WIDTH = 30.0                       # section lines reach this far either side
MISSING_STAKE = 340.0
MISSING_LINE = 660.0
ODD_STATIONS = [123.45, 456.78, 777.7]


def mm(value):
    """Coordinates are drawn and surveyed to the millimetre."""
    return float(Decimal(repr(value)).quantize(Decimal("0.001"), rounding=ROUND_HALF_EVEN))


def general(value):
    """A number as the data files write it: no trailing zeros, no exponent."""
    text = format(Decimal(repr(value)).normalize(), "f")
    return "0" if text in ("-0", "") else text


def fixed3(value):
    return format(Decimal(repr(value)).quantize(Decimal("0.001")), "f")


def station_text(chainage):
    km = int(chainage // 1000)
    metres = chainage - 1000 * km
    text = general(round(metres, 3))
    if metres == 0:
        return "K%d+000" % km
    return "K%d+%s%s" % (km, "" if metres >= 100 else ("0" if metres >= 10 else "00"), text)


def route_point(chainage):
    """Easting, northing and azimuth (radians) of the centre line at `chainage`."""
    e0, n0 = START
    if chainage <= FIRST_TANGENT:
        a = START_AZIMUTH
        return e0 + chainage * math.sin(a), n0 + chainage * math.cos(a), a
    e1 = e0 + FIRST_TANGENT * math.sin(START_AZIMUTH)
    n1 = n0 + FIRST_TANGENT * math.cos(START_AZIMUTH)
    arc = RADIUS * CURVE_ANGLE
    # The centre of the right-hand curve lies to the right of the tangent.
    ce = e1 + RADIUS * math.sin(START_AZIMUTH + math.pi / 2)
    cn = n1 + RADIUS * math.cos(START_AZIMUTH + math.pi / 2)
    along = min(chainage - FIRST_TANGENT, arc)
    turn = along / RADIUS
    a = START_AZIMUTH + turn
    back = START_AZIMUTH - math.pi / 2 + turn   # from the centre to the route
    e = ce + RADIUS * math.sin(back)
    n = cn + RADIUS * math.cos(back)
    rest = chainage - FIRST_TANGENT - along
    return e + rest * math.sin(a), n + rest * math.cos(a), a


def ground_elevation(chainage, offset, rng):
    """A road on a gentle hillside: 1.2 % grade, ground falling 8 % to the right, a ditch."""
    centre = 152.300 + 0.012 * chainage + 1.5 * math.sin(chainage / 160.0)
    ditch = -0.6 if 6.0 < abs(offset) < 8.0 else 0.0
    return centre - 0.08 * offset + ditch + rng.uniform(-0.05, 0.05)


def main():
    rng = random.Random(20261207)
    stations = sorted([20.0 * k for k in range(int(ROUTE_LENGTH / 20) + 1)] + ODD_STATIONS)

    doc = ezdxf.new("R2010")
    for name, colour in (("zxx", 1), ("zh", 3), ("dmx", 5), ("gcd", 7), ("bt", 2)):
        doc.layers.add(name, color=colour)
    msp = doc.modelspace()
    msp.add_text("示例道路 横断面测量", dxfattribs={"layer": "bt", "height": 5.0,
                                               "insert": (START[0] - 40, START[1] + 40)})
    centre_line = [route_point(c)[:2] for c in [10.0 * k for k in range(int(ROUTE_LENGTH / 10) + 1)]]
    msp.add_lwpolyline([(mm(e), mm(n)) for e, n in centre_line], dxfattribs={"layer": "zxx"})

    points = []
    labels = []
    lines = []
    name = 0
    for chainage in stations:
        e, n, a = route_point(chainage)
        stake = (mm(e), mm(n))
        text = station_text(chainage)
        # The label, placed where the stake lies 0.4504 m from it in the fixed direction.
        label = (mm(stake[0] - LABEL_OFFSET * math.sin(LABEL_DIRECTION)),
                 mm(stake[1] - LABEL_OFFSET * math.cos(LABEL_DIRECTION)))
        msp.add_text(text, dxfattribs={"layer": "zh", "height": 1.5, "insert": label})
        labels.append((label, text))

        # Left end first: the section line runs from the left of the route to its right.
        right = (math.sin(a + math.pi / 2), math.cos(a + math.pi / 2))
        left_end = (mm(e - HALF_WIDTH * right[0]), mm(n - HALF_WIDTH * right[1]))
        right_end = (mm(e + HALF_WIDTH * right[0]), mm(n + HALF_WIDTH * right[1]))
        if chainage != MISSING_LINE:
            msp.add_line(left_end, right_end, dxfattribs={"layer": "dmx"})
            lines.append((left_end, right_end))

        if chainage != MISSING_STAKE:
            name += 1
            points.append((str(name), "", stake[0], stake[1], ground_elevation(chainage, 0.0, rng)))
        offsets = sorted(rng.sample([1.5, 3.0, 4.5, 6.5, 7.5, 9.0, 12.0, 15.0, 18.5, 22.0, 26.0], 6))
        offsets += [-o for o in sorted(rng.sample([1.5, 3.0, 4.5, 6.5, 7.5, 9.0, 12.0, 15.0, 18.5, 22.0, 26.0], 6))]
        for offset in offsets:
            name += 1
            pe, pn = mm(e + offset * right[0]), mm(n + offset * right[1])
            points.append((str(name), "", pe, pn, ground_elevation(chainage, offset, rng)))
    for _, _, pe, pn, _ in points:
        msp.add_point((pe, pn), dxfattribs={"layer": "gcd"})

    doc.saveas(os.path.join(HERE, "route.dxf"))

    def write(name, rows):
        with open(os.path.join(HERE, name), "w", encoding="ascii", newline="\r\n") as out:
            for row in rows:
                out.write(row + "\n")

    write("points.dat", ["%s,%s,%s,%s,%s" % (p[0], p[1], fixed3(p[2]), fixed3(p[3]), fixed3(p[4])) for p in points])
    # The label extraction writes the labels last drawn first.
    write("labels.dat", ["%d,,%s,%s,0.000,%s" % (k + 1, fixed3(l[0][0]), fixed3(l[0][1]), l[1])
                         for k, l in enumerate(reversed(labels))])
    write("lines.dat", ["%d,%s,%s,%s,%s" % (k + 1, general(s[0]), general(s[1]), general(t[0]), general(t[1]))
                        for k, (s, t) in enumerate(lines)])


if __name__ == "__main__":
    main()
