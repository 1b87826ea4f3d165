#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the window pictures in docs/ from a real X display: each program's
main window, and Numira's choice window, at 96 dpi and at twice the scale;
and the records window's page of a generated child-year at 96 dpi.

    E2E_BIN_DIR=build/bin E2E_MAKE_CHILD_YEAR=build/tests/support/make_child_year \
        /usr/bin/python3 tests/e2e/screenshots.py docs
"""
import os
import subprocess
import sys
import time

import access
import desktop as d
import e2e_bairo as bairo
import e2e_numira as numira
import e2e_records as records
import xinput
from access import find, window

CHOICE_TITLE = "もんだいをえらんでね"


def capture(desk, title, path):
    """The program's X window of that title, as the display draws it."""
    def find_window():
        for wid in xinput.x_windows(desk.program.pid):
            out = subprocess.run(["xprop", "-id", wid, "-notype", "_NET_WM_NAME"],
                                 capture_output=True).stdout.decode("utf-8", "replace")
            if out.strip().endswith('= "%s"' % title):
                return wid
        return None
    wid = access.wait_for(find_window, "the X window titled %r" % title)
    time.sleep(1)  # its first paint
    x, y, w, h = xinput.x_windows(desk.program.pid)[wid]
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                    "+repage", path], check=True, timeout=30)
    print("wrote " + path)


def main(desk):
    folder = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "docs")
    for suffix, scale in (("", 1), ("-2x", 2)):
        env = {"QT_SCALE_FACTOR": str(scale)} if scale > 1 else {}
        for name, title in (("numira", numira.main_title(desk)), ("bairo", bairo.main_title(desk))):
            with desk.walk("%s%s" % (name, suffix), seconds=30):
                app = desk.start(name, **env)
                main_window = window(app, title)
                capture(desk, title, os.path.join(folder, name + suffix + ".png"))
                if name == "numira":
                    # The accessible places are in points; the screen is in pixels.
                    x, y, w, h = access.extents(find(main_window, "もんだいえらび", "push button"))
                    xinput.xdo("mousemove", str((x + w // 2) * scale), str((y + h // 2) * scale),
                          "click", "1")
                    window(app, CHOICE_TITLE)
                    capture(desk, CHOICE_TITLE,
                            os.path.join(folder, "numira-choice" + suffix + ".png"))
                desk.stop()
    with desk.walk("kiroku", seconds=90):
        subprocess.run([os.environ["E2E_MAKE_CHILD_YEAR"], records.records_file(desk),
                        records.YEAR_CHILD], check=True, timeout=60)
        app = desk.start("kiroku")
        main_window = window(app, records.RECORDS_TITLE)
        xinput.click(find(find(main_window, "子どもの一覧", "list"), records.YEAR_CHILD, "list item"))
        xinput.key("Return")
        find(main_window, "九九の表", "table")
        capture(desk, records.RECORDS_TITLE, os.path.join(folder, "kiroku-child.png"))
        desk.stop()


if __name__ == "__main__":
    d.run(main)
