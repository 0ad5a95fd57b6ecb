#!/usr/bin/env python3
"""Draws the pictures the program ships: the fifteen currency flags of
resources/flags/ (1.png to 15.png) and the bank picture of the first-run notice
(resources/notice.png).

The pictures are numbered by the position of their currency line in the sorted
currency list when all fifteen slots are filled (Dollaro - USA first, Yen -
Giappone last). Each flag is drawn large with ImageMagick and scaled down to
48 x 32 pixels with a thin grey border. Run it from any folder:

    python3 resources/make_pictures.py
"""
import math
import os
import subprocess

W, H = 192, 128  # drawing size; the files are a quarter of it
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "flags")


def rect(colour, x0, y0, x1, y1):
    return ["-fill", colour, "-draw", f"rectangle {x0},{y0} {x1},{y1}"]


def hstripes(*colours, weights=None):
    weights = weights or [1] * len(colours)
    total, y, cmds = sum(weights), 0.0, []
    for colour, weight in zip(colours, weights):
        y1 = y + H * weight / total
        cmds += rect(colour, 0, round(y), W, round(y1))
        y = y1
    return cmds


def vstripes(*colours):
    cmds = []
    for i, colour in enumerate(colours):
        cmds += rect(colour, round(W * i / len(colours)), 0, round(W * (i + 1) / len(colours)), H)
    return cmds


def star(cx, cy, r, colour):
    points = []
    for k in range(10):
        radius = r if k % 2 == 0 else r * 0.4
        angle = -math.pi / 2 + k * math.pi / 5
        points.append(f"{cx + radius * math.cos(angle):.1f},{cy + radius * math.sin(angle):.1f}")
    return ["-fill", colour, "-draw", "polygon " + " ".join(points)]


def usa():
    cmds = hstripes(*(["#B22234", "white"] * 6 + ["#B22234"]))
    cmds += rect("#3C3B6E", 0, 0, 80, 69)
    for row in range(5):
        for col in range(6):
            cmds += star(8 + col * 13 + (row % 2) * 6, 8 + row * 13, 4.5, "white")
    return cmds


def portugal():
    cmds = rect("#006600", 0, 0, 77, H) + rect("#FF0000", 77, 0, W, H)
    cmds += ["-fill", "#FFCC00", "-draw", "circle 77,64 77,30"]
    cmds += rect("white", 63, 48, 91, 78) + rect("#FF0000", 66, 51, 88, 75)
    return cmds


def europe():
    cmds = rect("#003399", 0, 0, W, H)
    for k in range(12):
        angle = k * math.pi / 6
        cmds += star(96 + 40 * math.cos(angle), 64 + 40 * math.sin(angle), 8, "#FFCC00")
    return cmds


def finland():
    return rect("white", 0, 0, W, H) + rect("#003580", 0, 50, W, 78) + rect("#003580", 52, 0, 80, H)


def united_kingdom():
    cmds = rect("#012169", 0, 0, W, H)
    cmds += ["-stroke", "white", "-strokewidth", "26", "-draw", f"line 0,0 {W},{H}",
             "-draw", f"line 0,{H} {W},0", "-stroke", "#C8102E", "-strokewidth", "9",
             "-draw", f"line 0,0 {W},{H}", "-draw", f"line 0,{H} {W},0", "-stroke", "none"]
    cmds += rect("white", 0, 43, W, 85) + rect("white", 75, 0, 117, H)
    cmds += rect("#C8102E", 0, 52, W, 76) + rect("#C8102E", 84, 0, 108, H)
    return cmds


def japan():
    return rect("white", 0, 0, W, H) + ["-fill", "#BC002D", "-draw", "circle 96,64 96,26"]


FLAGS = [  # in the order of the sorted currency lines
    ("Dollaro - USA", usa()),
    ("Escudo - Portogallo", portugal()),
    ("Euro - Unione Europea", europe()),
    ("Fiorino - Olanada", hstripes("#AE1C28", "white", "#21468B")),
    ("Franco - Belgio", vstripes("black", "#FDDA24", "#EF3340")),
    ("Franco - Francia", vstripes("#0055A4", "white", "#EF4135")),
    ("Franco - Lussemburgo", hstripes("#EF3340", "white", "#00A3E0")),
    ("Lira - Italia", vstripes("#009246", "white", "#CE2B37")),
    ("Marco - Finlandia", finland()),
    ("Marco - Germania", hstripes("black", "#DD0000", "#FFCE00")),
    ("Peseta - Spagna", hstripes("#AA151B", "#F1BF00", "#AA151B", weights=[1, 2, 1])),
    ("Scellino - Austria", hstripes("#ED2939", "white", "#ED2939")),
    ("Sterlina - Gran Bretagna", united_kingdom()),
    ("Sterlina - Irlanda", vstripes("#169B62", "white", "#FF883E")),
    ("Yen - Giappone", japan()),
]


def bank_picture(path):
    """A small bank building: pediment, four columns, steps, and a coin."""
    cmds = ["-fill", "#2F4F7F", "-draw", "polygon 8,40 64,10 120,40",
            "-fill", "#DDE6F0", "-draw", "polygon 24,35 64,16 104,35"]
    cmds += rect("#2F4F7F", 10, 42, 118, 49)
    for x in (18, 44, 70, 96):
        cmds += rect("#5B7BA8", x, 52, x + 14, 98)
    cmds += rect("#2F4F7F", 10, 100, 118, 107) + rect("#2F4F7F", 4, 109, 124, 116)
    cmds += ["-fill", "#E8B923", "-stroke", "#A07C10", "-strokewidth", "3",
             "-draw", "circle 104,104 104,86", "-stroke", "none", "-fill", "#A07C10",
             "-pointsize", "22", "-draw", "text 96,112 '€'"]
    subprocess.run(["convert", "-size", "128x128", "xc:none", *cmds, "-resize", "64x64",
                    "-strip", "-define", "png:exclude-chunks=date,time", path], check=True)
    print(f"{path}: picture of the first-run notice")


def main():
    os.makedirs(OUT, exist_ok=True)
    for number, (line, cmds) in enumerate(FLAGS, start=1):
        path = os.path.join(OUT, f"{number}.png")
        subprocess.run(["convert", "-size", f"{W}x{H}", "xc:white", "-stroke", "none", *cmds,
                        "-resize", "46x30!", "-bordercolor", "#606060", "-border", "1",
                        "-strip", "-define", "png:exclude-chunks=date,time", path],
                       check=True)
        print(f"{path}: {line}")
    bank_picture(os.path.join(os.path.dirname(OUT), "notice.png"))


if __name__ == "__main__":
    main()
