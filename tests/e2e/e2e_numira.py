#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Numira on a real X display, as a child drives it: the choice window's tabs
at three screen densities, a short addition set played from the keyboard,
then printing it to PDF through Qt's print dialog, and a cancelled print;
the sound of every answer heard on the sound server, and a drill that goes
on silent without one."""
import os
import re
import time

import access
import desktop as d
import printing
import xinput
from access import find, text, window
from xinput import click, key, type_into

CHOICE_TITLE = "もんだいをえらんでね"
COUNT_TITLE = "なんもんやるかをきめます"
TABS = ["たしざん", "ひきざん", "かけざん", "わりざん", "九九"]
TABLE_PAGE = "やるだんをクリックして×をつけてね"
ADDITION = "3:こたえが２０までのたしざん"
LONG_ADDITION = "5:100までのたしざん くり上がりもあり"
START_TEXTS = {"もんだいめい": "もんだいめい", "ぜんぶのもんだいすう": "０", "なんもんめ": "０",
               "てんすう": "０", "おしらせ": "もんだいをえらんでね☆", "もんだい": "もんだい",
               "こたえ": "こたえ"}
TYPE_ANSWER = "こたえをいれてね☆"
RIGHT = "せいかいです！"
WRONG = "ぶ～　まちがえたよ"
END_MESSAGE = "下のボタンでえらんでね☆"
END_ANSWER = "おしまいです。"
END_SCORE = "てんです。"


def main_title(desk):
    """The title shows the version that --version says."""
    return "ヌミラ Ver " + d.program_version(desk.bin_dir, "numira")


def choice_tabs(desk, dpi):
    with desk.walk("choice window at %d dpi" % dpi, seconds=20):
        app = desk.start("numira", dpi=dpi)
        click(find(app[0], "もんだいえらび", "push button"))
        choice = window(app, CHOICE_TITLE)
        # The window is drawn for 120 dpi and scaled by the screen's, so its
        # size shows the dpi the program was given.
        desk.equal(access.extents(choice)[2:], (round(450 * dpi / 120), round(430 * dpi / 120)),
                   "window laid out for %d dpi" % dpi)
        bar = find(choice, role="page tab list")
        for name in TABS:
            tab = find(bar, name, "page tab")
            where = access.extents(tab)
            desk.check(access.inside(where, access.extents(bar)) and access.inside(where, access.extents(choice)),
                       "tab %s lies inside the tab bar" % name,
                       "tab at %s, bar at %s" % (where, access.extents(bar)))
            click(tab)
            page = (name, "list") if name != "九九" else (TABLE_PAGE, "panel")
            desk.expect(lambda: bool(access.find_all(choice, *page)), True,
                        "a click on tab %s shows its page" % name)


def problem_sum(problem):
    a, b = re.fullmatch(r"(\d+)\+(\d+)", problem).groups()
    return int(a) + int(b)


def drill_and_print(desk):
    with desk.walk("addition set", seconds=40, keep=True):
        app = desk.start("numira")
        main = app[0]
        pid = desk.program.pid
        desk.equal(xinput.title(pid, main), main_title(desk), "main window title on the display")
        desk.check(bool(xinput.icon_sizes(pid, main)), "main window gives the desktop its icon")
        desk.equal(access.texts(main), START_TEXTS, "start-up texts")

        click(find(main, "もんだいすうをきめる", "check box"))
        box = window(app, COUNT_TITLE)
        desk.equal(xinput.title(pid, box), COUNT_TITLE, "count box title on the display")
        access.qt_button(desk, box, "キャンセル", "Cancel", "the count box's Cancel button")
        type_into(find(box, role="text"), "3")
        click(find(box, "OK", "push button"))
        access.wait_for(lambda: access.gone(box), "the count box to close")

        click(find(main, "もんだいえらび", "push button"))
        choice = window(app, CHOICE_TITLE)
        desk.equal(xinput.title(pid, choice), CHOICE_TITLE, "choice window title on the display")
        click(find(choice, "たしざん", "page tab"))
        click(find(choice, ADDITION, "list item"))
        click(find(choice, "けってい", "push button"))
        access.wait_for(lambda: access.gone(choice), "the choice window to close")

        field = {name: find(main, name, "text") for name in START_TEXTS}
        shown = lambda name: lambda: text(field[name])
        desk.expect(lambda: [text(field[n]) for n in ("もんだいめい", "ぜんぶのもんだいすう",
                                                      "なんもんめ", "てんすう", "おしらせ")],
                    [ADDITION, " 3", " 1", " 0", TYPE_ANSWER], "the chosen set of 3 is shown")
        answer = field["こたえ"]
        problems = [text(field["もんだい"])]
        type_into(answer, str(problem_sum(problems[0])))
        key("Return")
        desk.expect(shown("おしらせ"), RIGHT, "a right answer is praised")
        desk.expect(shown("なんもんめ"), " 2", "a right answer moves on")
        desk.equal(text(field["てんすう"]), " 100", "score after one right answer")

        problems.append(text(field["もんだい"]))
        wrong = str(problem_sum(problems[1]) + 1)
        # An empty Return; the wrong answer typed after it shows when it was taken.
        type_into(answer, "")
        key("Return")
        xinput.xdo("type", wrong)
        access.wait_for(lambda: text(answer) == wrong, "the typed answer")
        desk.equal([text(field[n]) for n in ("おしらせ", "てんすう", "なんもんめ")],
                   [TYPE_ANSWER, " 100", " 2"], "an empty Return is not judged")
        key("Return")
        desk.expect(shown("おしらせ"), WRONG, "a wrong answer is told")
        desk.expect(shown("てんすう"), " 50", "a wrong answer costs the point")
        desk.equal(text(field["なんもんめ"]), " 2", "a wrong answer stays on the problem")
        type_into(answer, str(problem_sum(problems[1])))
        key("Return")
        desk.expect(shown("なんもんめ"), " 3", "the right answer after a wrong one moves on")
        problems.append(text(field["もんだい"]))
        type_into(answer, str(problem_sum(problems[2])))
        key("Return")
        desk.expect(lambda: [text(field[n]) for n in ("もんだい", "こたえ", "おしらせ", "てんすう")],
                    ["66" + END_SCORE, END_ANSWER, END_MESSAGE, " 66"], "end of the run")

    # The set just played, printed: problem sheet, then answer sheet.
    sheet = os.path.join(desk.tmp, "numira.pdf")
    with desk.walk("printing to PDF", seconds=30, continues=True, keep=True):
        before = text(field["おしらせ"])
        printing.print_sheet(desk, app, find(main, "いんさつ", "push button"), sheet)
        access.wait_for(lambda: text(field["おしらせ"]) == before, "the message line back")
        pages = printing.pdf_pages(sheet)
        desk.equal(len(pages), 2, "one problem page and one answer page")
        desk.equal(re.findall(r"(\d+\+\d+) =(?!\d)", pages[0]), problems,
                   "the problem page holds the set's problems in order")
        answers = re.findall(r"(\d+\+\d+) =(\d+)", pages[-1])
        desk.equal([p for p, _ in answers], problems, "the answer page holds the same problems")
        desk.check(all(problem_sum(p) == int(n) for p, n in answers), "the answers add up",
                   repr(answers))

    with desk.walk("cancelled print", seconds=30, continues=True):
        printing.cancelled_print(desk, app, main, find(main, "いんさつ", "push button"), sheet,
                                 lambda before: text(field["おしらせ"]) == before["おしらせ"])


def choose(app, kind):
    click(find(app[0], "もんだいえらび", "push button"))
    choice = window(app, CHOICE_TITLE)
    click(find(choice, "たしざん", "page tab"))
    click(find(choice, kind, "list item"))
    click(find(choice, "けってい", "push button"))
    access.wait_for(lambda: access.gone(choice), "the choice window to close")


# Runs of the same sound and alternations: 20 right answers and 20 wrong.
SOUND_PLAN = "R" * 5 + "W" * 5 + "WR" * 10 + "R" * 5 + "W" * 5


def answer_and_wait(field, value, right):
    """Types an answer and presses Return; the moment of the press, once the
    window showed its verdict."""
    answer = field["こたえ"]
    key("ctrl+a")
    xinput.xdo("type", "--delay", "10", value)
    access.wait_for(lambda: text(answer) == value, "the typed answer")
    before = text(field["なんもんめ"])
    moment = xinput.press_return()
    if right:
        access.wait_for(lambda: text(field["なんもんめ"]) != before, "the next problem")
    else:
        access.wait_for(lambda: text(field["おしらせ"]) == WRONG, "the wrong answer told")
    return moment


def answer_sounds(desk):
    with desk.walk("the sound of every answer", seconds=90):
        app = desk.start("numira")
        choose(app, LONG_ADDITION)
        field = {name: find(app[0], name, "text") for name in START_TEXTS}
        click(field["こたえ"])
        presses = []
        for step in SOUND_PLAN:
            value = problem_sum(text(field["もんだい"])) + (0 if step == "R" else 1)
            moment = answer_and_wait(field, str(value), step == "R")
            presses.append((moment, "right" if step == "R" else "wrong"))
            time.sleep(max(0.0, moment + 0.75 - time.monotonic()))  # past the longer sound
        desk.check_sounds(presses, "answers")


def without_sound_server(desk):
    """No sound server at all: the drill goes on at once, silent."""
    with desk.walk("no sound server", seconds=30):
        app = desk.start("numira", PULSE_SERVER="unix:" + os.path.join(desk.tmp, "none"))
        choose(app, LONG_ADDITION)
        field = {name: find(app[0], name, "text") for name in START_TEXTS}
        click(field["こたえ"])
        slowest = 0.0
        for step in "RWRR":
            value = problem_sum(text(field["もんだい"])) + (0 if step == "R" else 1)
            moment = answer_and_wait(field, str(value), step == "R")
            slowest = max(slowest, time.monotonic() - moment)
        desk.check(slowest < 1.0, "each answer judged at once", "slowest %.2f s" % slowest)
        desk.equal(text(field["なんもんめ"]), " 4", "the set goes on")
        desk.equal(desk.ears.sounds(desk.walk_started), [], "nothing sounds")


def main(desk):
    answer_sounds(desk)
    without_sound_server(desk)
    drill_and_print(desk)
    for dpi in (96, 120, 144):
        choice_tabs(desk, dpi)


if __name__ == "__main__":
    d.run(main)
