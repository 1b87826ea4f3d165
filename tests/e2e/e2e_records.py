#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Records on a real X display: with records off a drill leaves no file under
a fresh home; an adult turns records on in the records window and adds two
children; each drill then asks who is playing, and a short set played as one
of them is read back from the records file. With records on, the choice
window's six pages are all in reach at 96 dpi, and a missed fact, once due,
comes back on the review part of the day's page. Known facts answered right but slowly, after
the warm-up that measures the child's typing, are ゆっくり on the child's
page, and できた once answered quickly a day on (faketime). A generated
child-year's times-table grid is read through the accessibility bus, each
cell's state against the file. A second-year child's day's practice earns
はなまる; a day on (faketime) the fact it missed is in the new day's set."""
import datetime
import decimal
import glob
import math
import os
import re
import sqlite3
import subprocess
import time

import access
import desktop as d
import e2e_numira as numira
import xinput
from access import find, text, window
from xinput import click, key, type_into

RECORDS_TITLE = "学習の記録"
WHO = "だれがやるの？"
CHILDREN = ["たろう", "はなこ"]
# Debian's faketime: a program run on a later day.
FAKETIME = next(iter(glob.glob("/usr/lib/*/faketime/libfaketime.so.1")), "libfaketime.so.1")


def records_file(desk):
    return os.path.join(desk.tmp, ".local", "share", "numirabairo", "records.sqlite")


def files_under(folder):
    return {os.path.join(top, f) for top, _, names in os.walk(folder) for f in names}


def rows(desk, sql, values=()):
    with sqlite3.connect("file:%s?mode=ro" % records_file(desk), uri=True) as db:
        return db.execute(sql, values).fetchall()


def play_numira(desk, answers):
    """A short addition set: right, wrong, then right answers."""
    app = desk.app
    numira.choose(app, numira.LONG_ADDITION)
    field = {name: find(app[0], name, "text") for name in numira.START_TEXTS}
    click(field["こたえ"])
    for step in answers:
        value = numira.problem_sum(text(field["もんだい"])) + (0 if step == "R" else 1)
        numira.answer_and_wait(field, str(value), step == "R")


def records_off(desk):
    with desk.walk("records off: no file", seconds=40):
        before = files_under(desk.tmp)
        desk.start("numira")
        play_numira(desk, "RWR")
        desk.stop()
        # The session's own folders (runtime, sound server, caches) aside.
        ours = [f for f in files_under(desk.tmp) - before
                if not f.startswith(tuple(os.path.join(desk.tmp, p) for p in ("run", "pulse", ".cache")))]
        desk.equal(ours, [], "no file made under a fresh home")


def turn_on_with_two_children(desk):
    with desk.walk("records window: on, two children", seconds=40):
        app = desk.start("kiroku")
        main = window(app, RECORDS_TITLE)
        click(find(main, "記録をつける", "check box"))
        for name in CHILDREN:
            click(find(main, "追加…", "push button"))
            box = window(app, role="dialog")
            field = find(box, role="text")
            # Set through the accessibility bus: typing kana through XTEST
            # depends on the keyboard map of the moment.
            field.text = name
            access.wait_for(lambda: text(field) == name, "the nickname typed")
            key("Return")
            access.wait_for(lambda: access.gone(box), "the nickname box to close")
            # Then its school year: たろう is a second-year child, はなこ's is left for later.
            year = access.wait_for(
                lambda: next((w for w in app if w.showing
                              and access.find_all(w, "「%s」は何年生ですか？" % name, "label")), None),
                "the question of %s's year" % name)
            click(find(year, "2年生" if name == "たろう" else "あとで決める", "push button"))
            access.wait_for(lambda: access.gone(year), "the year's question to close")
        listed = find(main, "子どもの一覧", "list")
        desk.expect(lambda: [c.name for c in listed], CHILDREN, "both children listed")
        desk.check(os.stat(records_file(desk)).st_mode & 0o777 == 0o600, "the file is 0600")


def who_is_playing(desk, program, child, **env):
    """The question on screen, a name taken from the keyboard alone."""
    app = desk.start(program, **env)
    box = access.wait_for(
        lambda: next((w for w in app if w.showing and access.find_all(w, WHO, "label")), None),
        "the question " + WHO)
    desk.equal([b.name for b in access.find_all(box, role="push button")], CHILDREN,
               "%s asks who is playing, one button a child" % program)
    for _ in range(CHILDREN.index(child)):
        key("Tab")
    key("Return")
    access.wait_for(lambda: access.gone(box), "the question to close")
    return app


def review_page(desk, app, says):
    """Opens the choice window on the review (and day's) page; checks what it says."""
    click(find(app[0], "もんだいえらび", "push button"))
    choice = window(app, numira.CHOICE_TITLE)
    bar = find(choice, role="page tab list")
    for name in numira.TABS + ["きょう"]:
        tab = find(bar, name, "page tab")
        desk.check(access.inside(access.extents(tab), access.extents(choice)),
                   "tab %s in reach at 96 dpi" % name, str(access.extents(tab)))
        click(tab)
    desk.expect(lambda: any(says in n.name for n in access.find_all(choice, role="label")), True,
                "the review page says " + says)
    return choice


def play_as_children(desk):
    with desk.walk("numira as はなこ", seconds=60):
        app = who_is_playing(desk, "numira", "はなこ")
        play_numira(desk, "RWR")
        access.wait_for(lambda: len(rows(desk, "SELECT id FROM answers")) == 3, "3 answers written")
        review_page(desk, app, "ないよ")  # missed today: due tomorrow
        key("Escape")
        desk.stop()
    with desk.walk("bairo as たろう", seconds=40):
        app = who_is_playing(desk, "bairo", "たろう")
        main = app[0]
        click(find(main, "スタート", "push button"))
        first, second, answer = (find(main, n, "text") for n in ("一つ目の数", "二つ目の数", "答え"))
        for k in range(2):
            before = text(find(main, "何問目", "text"))
            a, b = int(text(first)), int(text(second))
            type_into(answer, str(a * b // math.gcd(a, b)))
            key("Return")
            access.wait_for(lambda: text(find(main, "何問目", "text")) != before, "the next problem")
        access.wait_for(lambda: len(rows(desk, "SELECT id FROM answers")) == 5, "5 answers written")
        desk.stop()
    who = rows(desk, "SELECT c.nickname, s.program, count(*), sum(a.correct) FROM answers a "
                     "JOIN sets s ON a.set_id = s.id JOIN children c ON s.child_id = c.id "
                     "GROUP BY c.nickname, s.program ORDER BY s.program")
    desk.equal(who, [("たろう", "bairo", 2, 2), ("はなこ", "numira", 3, 2)],
               "each answer kept as its child's")
    facts = rows(desk, "SELECT count(*) FROM facts f JOIN children c ON f.child_id = c.id "
                       "WHERE c.nickname = 'たろう' AND f.fact LIKE 'lcm:%'")
    desk.equal(facts, [(2,)], "たろう's two LCM facts")


def missed_fact_comes_back(desk):
    with desk.walk("review set", seconds=40):
        missed = rows(desk, "SELECT f.fact FROM facts f JOIN children c ON f.child_id = c.id "
                            "WHERE c.nickname = 'はなこ' AND f.box = 1")
        desk.equal(len(missed), 1, "one missed fact in box 1")
        # A day on: the fact falls due.
        with sqlite3.connect(records_file(desk)) as db:
            db.execute("UPDATE facts SET due = date('now', 'localtime', '-1 day') WHERE box = 1")
        app = who_is_playing(desk, "numira", "はなこ")
        choice = review_page(desk, app, "もどってきたよ")
        click(find(choice, "にがて", "push button"))
        access.wait_for(lambda: access.gone(choice), "the choice window to close")
        question = missed[0][0].split(":", 1)[1]
        desk.expect(lambda: text(find(app[0], "もんだい", "text")), question,
                    "the missed fact comes back")


def answer_right(field, value):
    """Types a right answer and presses Return; on to the next problem or the end."""
    before = text(field["なんもんめ"])
    type_into(field["こたえ"], value)
    access.wait_for(lambda: text(field["こたえ"]) == value, "the typed answer")
    key("Return")
    access.wait_for(lambda: text(field["なんもんめ"]) != before
                    or text(field["こたえ"]) == "おしまいです。", "the next problem")


def play_row_7(desk, app, slow_s=0.0, warm_up=False):
    """Row 7 of the 九九, each answer right, typed after slow_s seconds; the
    warm-up's numbers first, typed as shown. The facts answered."""
    click(find(app[0], "もんだいえらび", "push button"))
    choice = window(app, numira.CHOICE_TITLE)
    click(find(choice, "九九", "page tab"))
    for row in ("２のだん", "７のだん"):  # the first showing ticks row 2
        click(find(choice, row, "check box"))
    click(find(choice, "けってい", "push button"))
    access.wait_for(lambda: access.gone(choice), "the choice window to close")
    field = {name: find(app[0], name, "text") for name in numira.START_TEXTS}
    click(field["こたえ"])
    if warm_up:
        desk.equal([text(field[n]) for n in ("もんだいめい", "おしらせ", "てんすう")],
                   ["じゅんびうんどう", "でたかずをそのままいれてね☆", ""],
                   "the warm-up first: numbers to type, no score")
        for _ in range(5):
            answer_right(field, text(field["もんだい"]))
    desk.equal(text(field["もんだいめい"]), "九九", "then the 九九")
    facts = []
    while text(field["こたえ"]) != "おしまいです。":
        a, b = text(field["もんだい"]).split("x")
        shown = access.texts(app[0])
        time.sleep(slow_s)
        if slow_s:
            desk.equal(access.texts(app[0]), shown, "no clock, no hurry while the child thinks")
        facts.append("%s×%s" % (a, b))
        answer_right(field, str(int(a) * int(b)))
    return facts


def grid_cells(desk, child, **env):
    """The 九九 grid's cells on the child's page, by fact: state and usual time."""
    app = desk.start("kiroku", **env)
    main = window(app, RECORDS_TITLE)
    click(find(find(main, "子どもの一覧", "list"), child, "list item"))
    key("Return")
    grid = find(main, "九九の表", "table")
    cells = access.wait_for(lambda: {c.name.split(" ")[0]: c.name.split(" ")[1:] for c in
                                     access.find_all(grid, role="table cell")
                                     if re.match(r"[1-9]×[0-9] ", c.name)} or None,
                            "the grid's cells")
    desk.stop()
    return cells


def slow_then_quick(desk):
    """はなこ knows row 7 (right at the first try on three days, untimed) and
    answers two of it right but slowly: ゆっくり. A day on, quick: できた."""
    with desk.walk("row 7 slow, then quick a day on", seconds=60):
        desk.stop()
        child = rows(desk, "SELECT id FROM children WHERE nickname = 'はなこ'")[0][0]
        day = lambda d: str(datetime.date.today() + datetime.timedelta(days=d))
        latest = " ".join("%s:1" % day(-d) for d in (3, 3, 3, 4, 4, 4, 5, 5, 5))
        with sqlite3.connect(records_file(desk)) as db:
            db.executemany("INSERT INTO facts(child_id, fact, seen, first_try_right, streak, "
                           "last_seen, latest, box, due, right_answer) "
                           "VALUES(?, ?, 9, 9, 9, ?, ?, 4, ?, ?)",
                           [(child, "mul:7x%d" % b, day(-3) + "T09:00:00Z", latest, day(9),
                             str(7 * b)) for b in range(1, 10)])
        app = who_is_playing(desk, "numira", "はなこ")
        click(find(app[0], "もんだいすうをきめる", "check box"))
        box = window(app, numira.COUNT_TITLE)
        type_into(find(box, role="text"), "2")
        click(find(box, "OK", "push button"))
        slow = play_row_7(desk, app, slow_s=6.5, warm_up=True)
        desk.stop()
        keyed = rows(desk, "SELECT count(*) FROM answers a JOIN sets s ON a.set_id = s.id "
                           "WHERE s.choice = 'keying' AND a.fact = 'key:' || a.right_answer")
        desk.equal(keyed, [(5,)], "the warm-up's five numbers kept as keying facts")
        cells = grid_cells(desk, "はなこ")
        desk.equal({f: cells[f][0] for f in slow}, {f: "ゆっくり" for f in slow},
                   "right but slow: ゆっくり")
        desk.check(all(6.5 <= float(cells[f][1].rstrip("秒")) < 9 for f in slow),
                   "with its usual time", str({f: cells[f] for f in slow}))
        later = dict(LD_PRELOAD=FAKETIME, FAKETIME="+1d")
        app = who_is_playing(desk, "numira", "はなこ", **later)
        play_row_7(desk, app)
        desk.stop()
        desk.equal(rows(desk, "SELECT date(max(answered_at)) = date('now', '+1 day') FROM answers"),
                   [(1,)], "those answers kept as a day on")
        cells = grid_cells(desk, "はなこ", **later)
        desk.equal({f: cells[f][0] for f in slow}, {f: "できた" for f in slow},
                   "quick a day on: できた")


def right_answer(question):
    """A problem's answer (no remainders on a second year's path) by arithmetic of our own."""
    a, op, b = re.match(r"^([\d.]+)([-+x÷])([\d.]+)$", question).groups()
    a, b = decimal.Decimal(a), decimal.Decimal(b)
    return format({"+": a + b, "-": a - b, "x": a * b, "÷": a / b}[op].normalize(), "f")


def play_the_day(desk, app, miss):
    """The day's set from the day's page, its first problem missed once if miss."""
    click(find(app[0], "もんだいえらび", "push button"))
    choice = window(app, numira.CHOICE_TITLE)
    desk.expect(lambda: any(n.showing and re.search(r"きょうは\d+もん", n.name)
                            for n in access.find_all(choice, role="label")), True,
                "the choice window opens on the day's page")
    if os.environ.get("E2E_DOCS_DIR") and not miss:  # README's picture: the day after a mark
        import screenshots
        screenshots.capture(desk, numira.CHOICE_TITLE,
                            os.path.join(os.environ["E2E_DOCS_DIR"], "numira-today.png"))
    click(find(choice, "はじめる", "push button"))
    access.wait_for(lambda: access.gone(choice), "the choice window to close")
    field = {name: find(app[0], name, "text") for name in numira.START_TEXTS}
    click(field["こたえ"])
    if text(field["もんだいめい"]) == "じゅんびうんどう":
        for _ in range(5):
            answer_right(field, text(field["もんだい"]))
    desk.equal(text(field["もんだいめい"]), "きょうのれんしゅう", "the day's set on screen")
    questions, missed = [], None
    while text(field["こたえ"]) != "おしまいです。":
        questions.append(text(field["もんだい"]))
        if miss and missed is None:
            missed = questions[-1]
            numira.answer_and_wait(field, right_answer(missed) + "1", False)
        answer_right(field, right_answer(questions[-1]))
    return questions, missed


def day_of_a_second_year(desk):
    with desk.walk("the day's practice of a second-year child", seconds=120):
        desk.equal(rows(desk, "SELECT nickname, grade FROM children ORDER BY id"),
                   [("たろう", 2), ("はなこ", None)], "the years given in the records window")
        app = who_is_playing(desk, "numira", "たろう")
        _, missed = play_the_day(desk, app, miss=True)
        desk.expect(lambda: "はなまる" in text(find(app[0], "おしらせ", "text")), True,
                    "the day's はなまる on the message line")
        desk.stop()
        app = who_is_playing(desk, "numira", "たろう", LD_PRELOAD=FAKETIME, FAKETIME="+1d")
        questions, _ = play_the_day(desk, app, miss=False)
        desk.check(missed in questions, "the fact missed the day before comes back",
                   "%s among %s" % (missed, questions))


YEAR_CHILD = "いちねん"
WORDS = {"mastered": "できた", "learning": "れんしゅう中", "missed": "にがて", "not seen": "まだ"}


def expected_state(latest, last_missed, rule, now):
    """A fact's state worked out from its row by the rule the file holds;
    None when its latest miss lies too near the rule's edge to call."""
    last_answers, right_needed, days_needed, missed_days = rule
    tries = [(t[:10], t.endswith(":1")) for t in latest.split()][:last_answers]
    if not tries:
        return "not seen"
    mastered = (len(tries) >= last_answers and sum(r for _, r in tries) >= right_needed
                and len({day for day, _ in tries}) >= days_needed)
    lately = False
    if last_missed:
        missed = datetime.datetime.fromisoformat(last_missed.replace("Z", "+00:00"))
        edge = now - datetime.timedelta(days=missed_days)
        if abs((missed - edge).total_seconds()) < 600:
            return None
        lately = missed > edge
    if lately and (not mastered or not tries[0][1]):
        return "missed"
    return "mastered" if mastered else "learning"


def child_year_grid(desk):
    with desk.walk("records window: a child-year's grid", seconds=90):
        subprocess.run([os.environ["E2E_MAKE_CHILD_YEAR"], records_file(desk), YEAR_CHILD],
                       check=True, timeout=60)
        app = desk.start("kiroku")
        main = window(app, RECORDS_TITLE)
        listed = find(main, "子どもの一覧", "list")
        click(find(listed, YEAR_CHILD, "list item"))
        key("Return")
        grid = find(main, "九九の表", "table")
        cells = access.wait_for(lambda: [c.name for c in access.find_all(grid, role="table cell")
                                         if re.match(r"[1-9]×[0-9] ", c.name)] or None,
                                "the grid's cells")
        now = datetime.datetime.now(datetime.timezone.utc)
        rule = rows(desk, "SELECT last_answers, right_needed, days_needed, missed_within_days "
                          "FROM rules")[0]
        facts = {fact: (latest, missed, times) for fact, latest, missed, times in rows(
            desk, "SELECT f.fact, f.latest, f.last_missed, f.right_times FROM facts f "
                  "JOIN children c ON f.child_id = c.id WHERE c.nickname = ?", (YEAR_CHILD,))}
        want, want_times = {}, {}
        for a in range(1, 10):
            for b in range(0, 10):
                latest, missed, times = facts.get("mul:%dx%d" % (a, b), ("", None, ""))
                state = expected_state(latest, missed, rule, now)
                if state:
                    want["%d×%d" % (a, b)] = WORDS[state]
                # The usual time: the median of the latest right first tries.
                ms = sorted(int(t) for t in times.split())
                want_times["%d×%d" % (a, b)] = "%.1f秒" % (ms[(len(ms) - 1) // 2] / 1000) if ms else None
        # "7×8 ゆっくり 4.2秒": the fact, its state and its usual time.
        parts = {name.split(" ")[0]: name.split(" ")[1:] for name in cells}
        # Under the speed rule a mastered fact over the child's limit is ゆっくり.
        got = {f: ("できた" if p[0] == "ゆっくり" and want.get(f) == "できた" else p[0])
               for f, p in parts.items()}
        desk.equal(len(cells), 90, "a cell a fact, 1×0 to 9×9")
        desk.equal({f: got.get(f) for f in want}, want, "each cell names its fact and state")
        desk.equal({f: (parts[f][1:] or [None])[0] for f in want_times if f in parts},
                   {f: t for f, t in want_times.items() if f in parts},
                   "each cell gives its fact's usual time")
        desk.check(set(want.values()) >= {"できた", "れんしゅう中", "にがて"},
                   "the year holds facts mastered, learning and missed", str(set(want.values())))
        desk.stop()


def main(desk):
    records_off(desk)
    turn_on_with_two_children(desk)
    play_as_children(desk)
    missed_fact_comes_back(desk)
    slow_then_quick(desk)
    day_of_a_second_year(desk)
    child_year_grid(desk)


if __name__ == "__main__":
    d.run(main)
