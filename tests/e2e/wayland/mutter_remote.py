#!/usr/bin/python3
"""Input and screen pictures for the end-to-end tests on mutter, through its remote desktop and
screen cast services on the session bus. Reads one command a line from standard input and
answers each with "done" once mutter has it (or "failed"):
  move DX DY     relative pointer motion in logical pixels
  button CODE    a press and release of a Linux button code (272 is the left button)
  key CODE       a press and release of a Linux key code (1 is Escape)
  picture FILE   a PNG of all outputs, without the pointer
The remote desktop session, and with it the virtual devices, lasts as long as this program."""

import subprocess
import sys

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()


def interface(service, path, name):
    return dbus.Interface(bus.get_object(service, path), name)


REMOTE = "org.gnome.Mutter.RemoteDesktop"
CAST = "org.gnome.Mutter.ScreenCast"
remote_path = interface(REMOTE, "/org/gnome/Mutter/RemoteDesktop", REMOTE).CreateSession()
remote = interface(REMOTE, remote_path, REMOTE + ".Session")
remote.Start()
# Mutter makes the virtual keyboard and pointer on their first events: a Shift key (42) and a
# motion of nothing plug them in, and the seat offers clients both.
remote.NotifyKeyboardKeycode(dbus.UInt32(42), True)
remote.NotifyKeyboardKeycode(dbus.UInt32(42), False)
remote.NotifyPointerMotionRelative(0.0, 0.0)
display_config = interface("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                           "org.gnome.Mutter.DisplayConfig")


def desktop():
    """The box around all logical monitors: x, y, width, height."""
    _, monitors, logical_monitors, _ = display_config.GetCurrentState()
    sizes = {}
    for (connector, *_), modes, _ in monitors:
        for _, width, height, _, _, _, properties in modes:
            if properties.get("is-current"):
                sizes[connector] = (width, height)
    boxes = []
    for x, y, scale, _, _, (connector, *_), _ in logical_monitors:
        width, height = sizes[connector[0]]
        boxes.append((x, y, x + round(width / scale), y + round(height / scale)))
    left, top = min(b[0] for b in boxes), min(b[1] for b in boxes)
    return left, top, max(b[2] for b in boxes) - left, max(b[3] for b in boxes) - top


def picture(file):
    session_path = interface(CAST, "/org/gnome/Mutter/ScreenCast", CAST).CreateSession({})
    session = interface(CAST, session_path, CAST + ".Session")
    # cursor-mode 0: the pointer is left out of the picture.
    stream_path = session.RecordArea(*desktop(), {"cursor-mode": dbus.UInt32(0)})
    nodes = []
    loop = GLib.MainLoop()
    stream = interface(CAST, stream_path, CAST + ".Stream")
    stream.connect_to_signal("PipeWireStreamAdded", lambda node: (nodes.append(node), loop.quit()))
    session.Start()
    GLib.timeout_add_seconds(10, loop.quit)
    loop.run()
    try:
        return bool(nodes) and subprocess.run(
            ["timeout", "10", "gst-launch-1.0", "-q", "pipewiresrc", f"path={nodes[0]}",
             "num-buffers=1", "!", "videoconvert", "!", "pngenc", "!", "filesink",
             f"location={file}"],
            stdout=subprocess.DEVNULL, check=False).returncode == 0
    finally:
        session.Stop()


def press(notify, code):
    notify(code, True)
    notify(code, False)
    return True


def run(command, *arguments):
    if command == "move":
        remote.NotifyPointerMotionRelative(float(arguments[0]), float(arguments[1]))
        return True
    if command == "button":
        return press(remote.NotifyPointerButton, int(arguments[0]))
    if command == "key":
        return press(remote.NotifyKeyboardKeycode, dbus.UInt32(int(arguments[0])))
    if command == "picture":
        return picture(arguments[0])
    return False


print("plugged in", flush=True)
for line in sys.stdin:
    print("done" if run(*line.split()) else "failed", flush=True)
