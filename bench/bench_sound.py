#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How soon a child hears the answer's sound: from Return (an X key event sent
through XTEST) to the first audible sample on the sound server's sink, over
100 answers in Numira, beside paplay of the same wave files started as often
in the same run; and the first sound after start-up, which loads the sound
module, over several starts. Runs on the real-display layer's private X
server and PulseAudio (tests/e2e), by hand:

    /usr/bin/python3 bench/bench_sound.py build/bin [before=/path/to/libappsound.so]

With before=, the same measures are taken again with that sound module in a
copy of the bin folder, so that a change is measured beside the one before.
With APP_BENCH_SMALLEST set (the test suite) it plays three answers and one
start, only to show that it still runs."""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import desktop as d  # noqa: E402
import access as a  # noqa: E402
import xinput  # noqa: E402
import e2e_numira as numira  # noqa: E402

SMALLEST = "APP_BENCH_SMALLEST" in os.environ
ANSWERS = 3 if SMALLEST else 100
STARTS = 1 if SMALLEST else 7
PLAN = ("RRW" * 34)[:ANSWERS]  # two of three right: a set of 100 lasts the whole plan


def latencies(desk, presses, within=0.5):
    """Milliseconds from each moment to the sound it started; None where none was heard."""
    out = []
    for moment, _ in presses:
        onset = desk.ears.onset(moment, within)
        out.append(None if onset is None else 1000 * (onset - moment))
    return out


def drill(desk, label):
    app = desk.start("numira")
    numira.choose(app, numira.LONG_ADDITION)
    field = {name: a.find(app[0], name, "text") for name in numira.START_TEXTS}
    xinput.click(field["こたえ"])
    presses = []
    for step in PLAN:
        value = numira.problem_sum(a.text(field["もんだい"])) + (0 if step == "R" else 1)
        moment = numira.answer_and_wait(field, str(value), step == "R")
        presses.append((moment, step))
        time.sleep(max(0.0, moment + 0.75 - time.monotonic()))
    desk.stop()
    return latencies(desk, presses)


def first_sounds(desk):
    out = []
    for _ in range(STARTS):
        app = desk.start("numira")
        numira.choose(app, numira.LONG_ADDITION)
        field = {name: a.find(app[0], name, "text") for name in numira.START_TEXTS}
        xinput.click(field["こたえ"])
        value = numira.problem_sum(a.text(field["もんだい"]))
        moment = numira.answer_and_wait(field, str(value), True)
        out += latencies(desk, [(moment, "R")])
        time.sleep(0.8)
        desk.stop()
    return out


def paplay(desk):
    presses = []
    for step in PLAN:
        name = d.SOUNDS["right" if step == "R" else "wrong"]
        moment = time.monotonic()
        subprocess.Popen(["paplay", os.path.join(desk.bin_dir, name)])
        presses.append((moment, step))
        time.sleep(0.75)
    return latencies(desk, presses)


def summary(label, values):
    heard = sorted(v for v in values if v is not None)
    if not heard:
        return "%-34s heard 0 of %d" % (label, len(values))
    p95 = heard[min(len(heard) - 1, int(0.95 * len(heard)))]
    return "%-34s heard %3d of %3d   median %6.1f ms   95th %6.1f ms   max %6.1f ms" % (
        label, len(heard), len(values), statistics.median(heard), p95, heard[-1])


def measure(desk, bin_dir, label):
    desk.bin_dir = bin_dir
    rows = [summary("Return to sound, %s" % label, drill(desk, label)),
            summary("first sound after start, %s" % label, first_sounds(desk))]
    if label == "now":
        rows.append(summary("paplay of the same files", paplay(desk)))
    return rows


def main():
    d.check_tools()
    bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/bin")
    builds = [("now", bin_dir)]
    scratch = None
    for arg in sys.argv[2:]:
        label, module = arg.split("=", 1)
        scratch = tempfile.mkdtemp(prefix="bench-sound-bin-")
        other = os.path.join(scratch, "bin")
        shutil.copytree(bin_dir, other, symlinks=True)
        shutil.copy(module, os.path.join(other, "libappsound.so"))
        builds.append((label, other))
    rows = []
    # One desktop for every build: the accessibility client binds to the
    # first bus it meets.
    desk = d.Desktop(bin_dir, tempfile.mkdtemp(prefix="bench-sound-"))
    try:
        try:
            desk.start_services()
        except d.WalkFailed as e:
            d.skip_or_fail(str(e))
        for label, folder in builds:
            rows += measure(desk, folder, label)
    finally:
        desk.close()
        if scratch:
            shutil.rmtree(scratch, ignore_errors=True)
    print("\n".join(rows))


if __name__ == "__main__":
    main()
