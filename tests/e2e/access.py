# SPDX-License-Identifier: GPL-3.0-or-later
"""Reading the programs through the accessibility bus (AT-SPI): windows,
controls by role and name, their texts and places on the screen."""
import contextlib
import re
import time


class WalkFailed(Exception):
    pass


def wait_for(probe, what, timeout=10.0):
    """The first true value of probe(); a node that goes away while read counts as not yet."""
    end = time.monotonic() + timeout
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception:
            if time.monotonic() > end:
                raise
        if time.monotonic() > end:
            raise WalkFailed("timed out waiting for " + what)
        time.sleep(0.05)


def find_all(root, name=None, role=None):
    """Showing nodes under root, depth first, with this name and role."""
    found = []
    def visit(node):
        for child in node:
            if child is None or not child.showing:
                continue
            if (name is None or child.name == name) and (role is None or child.roleName == role):
                found.append(child)
            visit(child)
    visit(root)
    return found


def find(root, name=None, role=None, timeout=10.0):
    return wait_for(lambda: next(iter(find_all(root, name, role)), None),
                    "%s %r" % (role or "node", name), timeout)


def window(app, name=None, role=None, timeout=10.0):
    """A showing top-level window of the program, by accessible name or role."""
    return wait_for(lambda: next((w for w in app if w.showing and (name is None or w.name == name)
                                  and (role is None or w.roleName == role)), None),
                    "window %r" % (name or role), timeout)


def gone(node):
    with contextlib.suppress(Exception):
        return not node.showing
    return True


def active_window(app):
    import pyatspi
    windows = [w for w in app if w is not None and w.showing]
    active = [w for w in windows if w.getState().contains(pyatspi.STATE_ACTIVE)]
    return (active or windows)[-1]


def text(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def texts(root):
    """Every text field under root by its accessible name."""
    return {n.name: text(n) for n in find_all(root, role="text")}


def extents(node):
    import pyatspi
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (e.x, e.y, e.width, e.height)


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def dump(node, depth=0):
    try:
        value = ""
        with contextlib.suppress(Exception):
            value = " = %r" % text(node)
        lines = ["%s%s %r%s %s" % ("  " * depth, node.roleName, node.name, value, extents(node))]
        lines += [dump(child, depth + 1) for child in node if child is not None]
        return "\n".join(lines)
    except Exception as e:
        return "%s<unreadable: %s>" % ("  " * depth, e)


def plain(name):
    """A button's text without its keyboard mnemonic: '&Yes' and 'はい(&Y)' read 'Yes', 'はい'."""
    return re.sub(r"\(&?[A-Za-z]\)$", "", name).replace("&", "").strip()


def qt_button(desk, win, japanese, english, what=None):
    """One of Qt's own buttons, found in either language so that the walk goes
    on; with `what`, checked to read Japanese."""
    buttons = {plain(b.name): b for b in find_all(win, role="push button")}
    if what:
        desk.check(japanese in buttons, "%s reads %s" % (what, japanese),
                   "buttons read %s" % sorted(buttons))
    if japanese not in buttons and english not in buttons:
        raise WalkFailed("no %s button among %s" % (japanese, sorted(buttons)))
    return buttons.get(japanese) or buttons[english]
