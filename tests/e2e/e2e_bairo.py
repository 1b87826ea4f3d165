#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Bairo on a real X display, as a child drives it: an LCM set and a GCD
problem with their hints, printing a sheet to PDF through Qt's print dialog,
a cancelled print, the feedback picture on a screen of twice the density, and
the sound of every answer, hints among the wrong ones, heard on the sound server."""
import math
import os
import re
import time

import access
import desktop as d
import printing
import xinput
from access import find, text, window
from xinput import click, key, type_into

COUNT_TITLE = "何問までやるかを決めます"
START_TEXTS = {"お知らせ": "問題を選んでスタートボタンを押してね", "一つ目の数": "***",
               "二つ目の数": "***", "求めるもの": "***", "答え": "***", "何問目": "0",
               "点数": "0", "問題数": "100"}
LCM, GCD = "最小公倍数", "最大公約数"
TYPE_AND_RETURN = "答えを入れてリターンキーを押してね"
RIGHT = "せいかいです！"
SMALLER_MULTIPLE = "もっと小さい公倍数があります"
LARGER_DIVISOR = "もっと大きい公約数があります"
FINISHED = "おしまいです。%d点です。"
PRINTING = "印刷中です"


def main_title(desk):
    """The title shows Bairo's own version as --version says it."""
    return "バイロ Ver" + d.program_version(desk.bin_dir, "bairo").split(" (package ")[0]


def drill_and_print(desk):
    with desk.walk("LCM and GCD drill", seconds=40, keep=True):
        app = desk.start("bairo")
        main = app[0]
        desk.equal(xinput.title(desk.program.pid, main), main_title(desk),
                   "window title on the display")
        desk.check(bool(xinput.icon_sizes(desk.program.pid, main)), "window gives the desktop its icon")
        desk.equal(access.texts(main), START_TEXTS, "start-up texts")
        field = {name: find(main, name, "text") for name in START_TEXTS}
        shown = lambda name: lambda: text(field[name])

        click(find(main, "問題数を決める", "check box"))
        box = window(app, COUNT_TITLE)
        desk.equal(xinput.title(desk.program.pid, box), COUNT_TITLE, "count box title on the display")
        access.qt_button(desk, box, "キャンセル", "Cancel", "the count box's Cancel button")
        type_into(find(box, role="text"), "3")
        click(find(box, "OK", "push button"))
        desk.expect(shown("問題数"), "3", "the count box fixes 3 problems")

        click(find(main, "スタート", "push button"))
        desk.expect(lambda: [text(field[n]) for n in ("求めるもの", "何問目", "お知らせ")],
                    [LCM, "1", TYPE_AND_RETURN], "an LCM set starts")

        def answer(value, right=False):
            before = text(field["何問目"])
            type_into(field["答え"], str(value))
            key("Return")
            if right:  # wait for the next problem or the end of the set
                access.wait_for(lambda: text(field["何問目"]) != before or
                           text(field["お知らせ"]).startswith("おしまい"), "the next problem")

        def numbers():
            return int(text(field["一つ目の数"])), int(text(field["二つ目の数"]))

        for k in (1, 2, 3):
            a, b = numbers()
            lcm = a * b // math.gcd(a, b)
            if k == 1:
                answer(2 * lcm)
                desk.expect(shown("お知らせ"), SMALLER_MULTIPLE,
                            "a common multiple that is not the least gets its hint")
                desk.equal(text(field["点数"]), "0", "the hint costs the point")
            answer(lcm, right=True)
            if k == 2:
                desk.equal(text(field["点数"]), "50", "score after one of two right first time")
        desk.expect(shown("お知らせ"), FINISHED % 66, "end message of the set")

        click(find(main, GCD, "radio button"))
        click(find(main, "スタート", "push button"))
        desk.expect(shown("求めるもの"), GCD, "a GCD set starts")
        # A problem whose greatest common divisor is over 1 has a smaller one to try.
        for _ in range(10):
            a, b = numbers()
            gcd = math.gcd(a, b)
            if gcd > 1:
                answer(1)
                desk.expect(shown("お知らせ"), LARGER_DIVISOR,
                            "a common divisor that is not the greatest gets its hint")
                answer(gcd)
                desk.expect(shown("お知らせ"), RIGHT, "the greatest common divisor is right")
                break
            answer(gcd, right=True)
            if text(field["お知らせ"]).startswith("おしまい"):
                click(find(main, "スタート", "push button"))
        else:
            raise access.WalkFailed("ten GCD problems in a row had no common divisor over 1")

    # A fresh GCD sheet of the fixed 3 problems: question page, then answer page.
    sheet = os.path.join(desk.tmp, "bairo.pdf")
    with desk.walk("printing to PDF", seconds=30, continues=True, keep=True):
        printing.print_sheet(desk, app, find(main, "問題を印刷", "push button"), sheet)
        access.wait_for(lambda: text(field["お知らせ"]) == TYPE_AND_RETURN, "a new set after printing")
        pages = printing.pdf_pages(sheet)
        desk.equal(len(pages), 2, "one question page and one answer page")
        questions = re.findall(r"(\d+) と (\d+) の" + GCD + "は", pages[0])
        answers = re.findall(r"(\d+) と (\d+) のGCMは (\d+)", pages[-1])
        desk.equal(len(questions), 3, "the question page holds the 3 problems")
        desk.equal([(a, b) for a, b, _ in answers], questions,
                   "the answer page holds the same problems")
        desk.check(all(math.gcd(int(a), int(b)) == int(g) for a, b, g in answers),
                   "the answers are the greatest common divisors", repr(answers))

    with desk.walk("cancelled print", seconds=30, continues=True):
        answer(math.gcd(*numbers()), right=True)  # one problem in, so a restart would show
        printing.cancelled_print(desk, app, main, find(main, "問題を印刷", "push button"), sheet,
                                 lambda before: text(field["お知らせ"]) != PRINTING)


def dense_picture(desk):
    """On a screen of twice the density the 81x81 picture must be its 2x
    picture, device pixel for device pixel, not the 1x one blown up (Qt
    smooths a blown-up picture, so it cannot be told by uniform 2x2 blocks)."""
    with desk.walk("picture at scale 2", seconds=20):
        app = desk.start("bairo", QT_SCALE_FACTOR="2")
        # Accessible places are in device-independent pixels, X's in device pixels.
        sizes = [g[2:] for g in xinput.x_windows(desk.program.pid).values()]
        desk.equal(sizes, [tuple(2 * n for n in access.extents(app[0])[2:])],
                   "the window drawn at scale 2")
        x, y, w, h = access.extents(find(app[0], "絵", "image"))
        area = lambda: xinput.screen_pixels(2 * x, 2 * y, 2 * w, 2 * h)
        access.wait_for(lambda: len({p for row in area() for p in row}) > 1, "the picture drawn")
        shown = area()
        twice = [f for f in os.listdir(desk.bin_dir) if f.startswith("mascot@2x.")]
        if desk.check(bool(twice), "a 2x picture lies beside the mascot", "none in " + desk.bin_dir):
            want = xinput.file_pixels(os.path.join(desk.bin_dir, twice[0]))
            differ = sum(a != b for ra, rb in zip(shown, want) for a, b in zip(ra, rb))
            desk.check(len(want) == 2 * h and differ == 0, "the picture is drawn from its 2x picture",
                       "%d of %d pixels differ" % (differ, 4 * w * h))


# Runs of the same sound and alternations: 20 right answers and 20 wrong,
# every other wrong one a common multiple that earns the hint.
SOUND_PLAN = "R" * 5 + "W" * 5 + "WR" * 10 + "R" * 5 + "W" * 5
WRONG = "ぶ～　まちがえたよ"


def answer_sounds(desk):
    with desk.walk("the sound of every answer", seconds=90):
        app = desk.start("bairo")
        main = app[0]
        field = {name: find(main, name, "text") for name in START_TEXTS}
        click(find(main, "スタート", "push button"))
        access.wait_for(lambda: text(field["何問目"]) == "1", "the first problem")
        click(field["答え"])
        presses, wrong = [], 0
        for step in SOUND_PLAN:
            a, b = int(text(field["一つ目の数"])), int(text(field["二つ目の数"]))
            lcm = a * b // math.gcd(a, b)
            if step == "W":
                wrong += 1
            value = str(lcm if step == "R" else 2 * lcm if wrong % 2 else lcm + 1)
            key("ctrl+a")
            xinput.xdo("type", "--delay", "10", value)
            access.wait_for(lambda: text(field["答え"]) == value, "the typed answer")
            before = text(field["何問目"])
            moment = xinput.press_return()
            if step == "R":
                access.wait_for(lambda: text(field["何問目"]) != before, "the next problem")
            else:
                # Every number is a multiple of 1: with 1 and 1 any wrong answer earns the hint.
                told = SMALLER_MULTIPLE if wrong % 2 or lcm == 1 else WRONG
                access.wait_for(lambda: text(field["お知らせ"]) == told, "the wrong answer told")
            presses.append((moment, "right" if step == "R" else "wrong"))
            time.sleep(max(0.0, moment + 0.75 - time.monotonic()))  # past the longer sound
        desk.check_sounds(presses, "answers (hints among them)")


def main(desk):
    answer_sounds(desk)
    drill_and_print(desk)
    dense_picture(desk)


if __name__ == "__main__":
    d.run(main)
