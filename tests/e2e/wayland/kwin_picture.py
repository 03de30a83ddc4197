#!/usr/bin/python3
"""A PNG of all of KWin's outputs, through its screenshot service on the session bus:
  kwin_picture.py FILE
KWin writes the raw pixels into a pipe and says their layout in its answer."""

import os
import subprocess
import sys

import dbus

shot = dbus.Interface(dbus.SessionBus().get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                      "org.kde.KWin.ScreenShot2")
read_end, write_end = os.pipe()
layout = shot.CaptureWorkspace({"include-cursor": False}, dbus.types.UnixFd(write_end))
os.close(write_end)
with os.fdopen(read_end, "rb") as pipe:
    pixels = pipe.read()
# QImage's 32-bit formats (4 RGB32, 5 ARGB32, 6 premultiplied) lie in memory as B, G, R, A.
if layout["type"] != "raw" or layout["format"] not in (4, 5, 6):
    sys.exit(f"kwin_picture: a picture of an unknown layout: {dict(layout)}")
width, height, stride = int(layout["width"]), int(layout["height"]), int(layout["stride"])
rows = b"".join(pixels[row * stride:row * stride + width * 4] for row in range(height))
subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "bgra:-", "-alpha", "off",
                sys.argv[1]], input=rows, check=True)
