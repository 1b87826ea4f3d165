# SPDX-License-Identifier: GPL-3.0-or-later
"""The X side: real input (xdotool, XTEST) as a child's keyboard and mouse
give it, and what the display shows (window properties, pixels)."""
import re
import subprocess
import time

from access import extents, wait_for


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=10)


def click(node):
    # No --sync: it waits for a move and hangs when the pointer is already there.
    x, y, w, h = extents(node)
    xdo("mousemove", str(x + w // 2), str(y + h // 2), "click", "1")


def key(*keys):
    xdo("key", "--delay", "30", *keys)


_xtest = None


def press_return():
    """Return pressed and released through XTEST; the moment the press was
    sent, on the monotonic clock the recording of the sink uses."""
    global _xtest
    from Xlib import X, XK, display
    from Xlib.ext import xtest
    if _xtest is None:
        _xtest = display.Display()
    code = _xtest.keysym_to_keycode(XK.string_to_keysym("Return"))
    sent = time.monotonic()
    xtest.fake_input(_xtest, X.KeyPress, code)
    _xtest.sync()
    time.sleep(0.03)
    xtest.fake_input(_xtest, X.KeyRelease, code)
    _xtest.sync()
    return sent


def type_into(field, s):
    """Clicks into a field, selects what is there and types over it, as a child would."""
    click(field)
    key("ctrl+a")
    if s:
        xdo("type", "--delay", "30", s)
    else:
        key("BackSpace")


def x_windows(pid):
    """The program's mapped X windows with their places: {id: (x, y, width, height)}."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout
    places = {}
    for wid in out.split():
        g = dict(line.split("=", 1) for line in subprocess.run(
            ["xdotool", "getwindowgeometry", "--shell", wid],
            capture_output=True, text=True).stdout.split())
        places[wid] = tuple(int(g.get(k, -1)) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    return places


def window_property(pid, node, name):
    """xprop's text of a property of the X window that shows this accessible
    window (matched by place)."""
    want = extents(node)
    wid = wait_for(lambda: next((w for w, g in x_windows(pid).items() if g == want), None),
                   "the X window of %r" % node.name, timeout=5)
    return subprocess.run(["xprop", "-id", wid, "-notype", name],
                          capture_output=True, check=True).stdout.decode("utf-8", "replace")


def title(pid, node):
    """_NET_WM_NAME of the X window that shows this accessible window."""
    out = window_property(pid, node, "_NET_WM_NAME")
    m = re.search(r'= "(.*)"', out)
    return m.group(1) if m else out.strip()


def icon_sizes(pid, node):
    """The sizes of the icons the window gives the desktop (_NET_WM_ICON)."""
    return re.findall(r"Icon \((\d+ x \d+)\)", window_property(pid, node, "_NET_WM_ICON"))


def _ppm_rows(argv):
    ppm = subprocess.run(argv, capture_output=True, check=True, timeout=20).stdout
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
    w, h = int(m.group(1)), int(m.group(2))
    data = ppm[m.end():]
    return [[data[(r * w + c) * 3:(r * w + c) * 3 + 3] for c in range(w)] for r in range(h)]


def screen_pixels(x, y, w, h):
    """Rows of RGB triples of a rectangle of the screen."""
    return _ppm_rows(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                      "-depth", "8", "ppm:-"])


def file_pixels(path):
    return _ppm_rows(["convert", path, "-depth", "8", "ppm:-"])
