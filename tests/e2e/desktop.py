# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop for driving the real programs from outside.

Each run gets its own X server, D-Bus session bus, accessibility bus and sound
server. The programs are read through AT-SPI, clicked and typed into with
real X events (xdotool, XTEST), heard through a recording of the sound
server's sink, and everything started here is ended on every way out.
"""
import contextlib
import os
import pkgutil
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import sound
from access import WalkFailed, active_window, dump, wait_for

SKIP = 77  # the tests' SKIP_RETURN_CODE
AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
TOOLS = {"Xvfb": "X server (Xvfb)", "dbus-daemon": "D-Bus daemon", "dbus-send": "dbus-send",
         AT_SPI_LAUNCHER: "accessibility bus (at-spi-bus-launcher)", "xdotool": "xdotool",
         "xprop": "xprop", "import": "ImageMagick import", "pdftotext": "pdftotext",
         "pulseaudio": "sound server (pulseaudio)", "parec": "parec", "pactl": "pactl"}
MODULES = ("pyatspi", "dogtail", "Xlib")
SOUNDS = {"right": "maru1.wav", "wrong": "batu1.wav"}  # the build's sounds, by cue


class WalkTimedOut(BaseException):
    """Raised by the walk's alarm; not an Exception, so no waiting loop swallows it."""


def skip_or_fail(reason):
    """Without a display or accessibility a run can only be skipped; CI must have them."""
    print("skipped: " + reason, flush=True)
    sys.exit(1 if os.environ.get("CI") == "true" else SKIP)


def program_version(bin_dir, program):
    """What `program --version` says after the program's name: the titles
    are checked against it, so that the version is kept in one place."""
    out = subprocess.run([os.path.join(bin_dir, program), "--version"], capture_output=True,
                         text=True, timeout=30, env=dict(os.environ, LANG="C.UTF-8")).stdout
    return out.strip().split(" ", 1)[1]


def _kill_group(proc):
    with contextlib.suppress(ProcessLookupError, PermissionError):
        os.killpg(proc.pid, signal.SIGKILL)
    with contextlib.suppress(Exception):
        proc.wait(timeout=5)


class Desktop:
    """Xvfb, a session bus and the accessibility bus, and the checks of one test script."""

    def __init__(self, bin_dir, out_dir):
        self.bin_dir, self.out_dir = bin_dir, out_dir
        self.services, self.program, self.app = [], None, None
        self.tmp = tempfile.mkdtemp(prefix="e2e-")
        self.failures, self.passed, self.walk_name = [], [], ""
        self.ears, self.walk_started = None, 0.0

    def _spawn(self, argv, **kw):
        proc = subprocess.Popen(argv, start_new_session=True, stdin=subprocess.DEVNULL, **kw)
        self.services.append(proc)
        return proc

    def start_services(self):
        # The server tells its display number on a pipe once it takes clients.
        r, w = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"], pass_fds=[w], stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            raise WalkFailed("the X server did not start")
        runtime = os.path.join(self.tmp, "run")
        os.mkdir(runtime, 0o700)
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise WalkFailed("the session bus did not start")
        # From here on this process (its AT-SPI client too) and the programs use these.
        os.environ.update(DISPLAY=":" + number, DBUS_SESSION_BUS_ADDRESS=address,
                          XDG_RUNTIME_DIR=runtime, HOME=self.tmp)
        for name in ("AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "XAUTHORITY"):
            os.environ.pop(name, None)
        self._spawn([AT_SPI_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        wait_for(lambda: b"unix:" in subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], capture_output=True, timeout=5).stdout,
            "the accessibility bus")
        # Debian's dogtail stops at import unless GNOME's accessibility switch
        # is on; this bus is always on, so that check is skipped.
        from dogtail.config import config
        config.checkForA11y = False
        config.logDebugToStdOut = config.logDebugToFile = False
        import dogtail.tree
        self.root = dogtail.tree.root
        sys.excepthook = sys.__excepthook__  # dogtail's hook hides tracebacks
        # The sound server every program plays on, and its sink recorded.
        server = sound.SoundServer(os.path.join(self.tmp, "pulse"))
        if not server.start(self._spawn):
            raise WalkFailed("the sound server did not start")
        os.environ.update(server.env())
        self.ears = sound.Recording(server)
        if not self.ears.start(self._spawn):
            raise WalkFailed("the sound server's sink could not be recorded")

    def close(self):
        if self.program:
            _kill_group(self.program)
        for proc in reversed(self.services):
            _kill_group(proc)
        shutil.rmtree(self.tmp, ignore_errors=True)

    # The program under test: one at a time.
    def start(self, program, dpi=96, **env):
        """Starts a program of the build's bin folder; returns its application node."""
        full = {k: v for k, v in os.environ.items()
                if not k.startswith(("QT_", "LC_")) and k != "LANGUAGE"}
        # Logical dpi as set, not turned into a scale factor: the windows lay
        # themselves out by QScreen::logicalDotsPerInchY().
        full.pop("APP_SILENT_AUDIO", None)
        full.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                    LANG="C.UTF-8", QT_FONT_DPI=str(dpi),
                    QT_ENABLE_HIGHDPI_SCALING="0")
        full.update(env)
        self.program = subprocess.Popen([os.path.join(self.bin_dir, program)], cwd=self.bin_dir,
                                        env=full, start_new_session=True,
                                        stdin=subprocess.DEVNULL)
        app = wait_for(lambda: next((a for a in self.root.applications()
                                     if a.get_process_id() == self.program.pid), None),
                       program + " on the accessibility bus")
        wait_for(lambda: app.childCount and app[0].showing, program + "'s window")
        self.app = app
        return app

    def stop(self):
        if self.program:
            _kill_group(self.program)
            self.program = None

    # Walks and checks.
    @contextlib.contextmanager
    def walk(self, name, seconds, continues=False, keep=False):
        """A stretch of a run under a time limit. On any failure: the accessible
        tree of the window it stopped on, a screenshot, and the program ended.
        With keep, a program that got through goes on into the next walk,
        which then continues it."""
        def on_alarm(*_):
            raise WalkTimedOut("no end within %d s" % seconds)
        self.walk_name, self.reported = name, False
        self.walk_started = time.monotonic()
        signal.signal(signal.SIGALRM, on_alarm)
        signal.alarm(seconds)
        ok = False
        try:
            if continues and self.program is None:
                raise WalkFailed("the program ended with an earlier walk")
            yield
            ok = True
        except (Exception, WalkTimedOut) as e:
            signal.alarm(0)
            self.failures.append("%s: %s" % (name, e))
            print("FAILED  %s: %s: %s" % (name, type(e).__name__, e), flush=True)
            self.reported = False
            self.report()
        finally:
            signal.alarm(0)
            if not (ok and keep):
                self.stop()

    def check(self, ok, what, detail=""):
        """A check that is recorded and lets the walk go on."""
        label = "%s: %s" % (self.walk_name, what)
        (self.passed if ok else self.failures).append(label + ("" if ok else " (%s)" % detail))
        print(("ok      " if ok else "FAILED  ") + label + ("" if ok else " (%s)" % detail),
              flush=True)
        if not ok:
            self.report()
        return ok

    def equal(self, got, want, what):
        return self.check(got == want, what, "got %r, want %r" % (got, want))

    def expect(self, probe, want, what, timeout=3.0):
        """Waits a little for probe() to give want, then checks what it gives."""
        end = time.monotonic() + timeout
        while (got := probe()) != want and time.monotonic() < end:
            time.sleep(0.05)
        return self.equal(got, want, what)

    def check_sounds(self, presses, what, within=0.3):
        """Checks that every Return in presses, [(moment, "right" or "wrong")],
        was answered within `within` seconds by its own sound, told from the
        other by pitch against the two wave files, and that nothing sounded
        besides. The presses must lie further apart than the longer sound."""
        references = {cue: sound.wave_pitch(os.path.join(self.bin_dir, name))
                      for cue, name in SOUNDS.items()}
        self.ears.wait_until(presses[-1][0] + 1.0)
        missed, late = [], []
        for n, (moment, cue) in enumerate(presses, 1):
            onset = self.ears.onset(moment, within)
            if onset is None:
                missed.append("%d (%s) not heard" % (n, cue))
                continue
            heard = sound.closest(self.ears.pitch(onset), references)
            if heard != cue:
                missed.append("%d (%s) heard as %s" % (n, cue, heard))
            late.append(onset - moment)
        self.check(not missed, "each of %d %s heard within %d ms, the right sound"
                   % (len(presses), what, within * 1000), "; ".join(missed))
        sounds = self.ears.sounds(presses[0][0], presses[-1][0] + 1.0)
        self.equal(len(sounds), len(presses), "no sound besides the answers' (%s)" % what)
        return sorted(late)

    def report(self):
        """The window a walk failed on: its accessible tree and a screenshot,
        once a walk (at its first failure, or where it stopped)."""
        if self.reported:
            return
        self.reported = True
        if self.program is not None:
            with contextlib.suppress(Exception):
                win = active_window(self.app)
                print("accessible tree of the window %r:\n%s" % (win.name, dump(win)))
        with contextlib.suppress(Exception):
            os.makedirs(self.out_dir, exist_ok=True)
            shot = os.path.join(self.out_dir, re.sub(r"\W+", "_", self.walk_name) + ".png")
            subprocess.run(["import", "-window", "root", shot], timeout=20, check=True)
            print("screenshot: " + shot)
        if self.ears:
            with contextlib.suppress(Exception):
                print("recording: " + self.ears.save(
                    os.path.join(self.out_dir, re.sub(r"\W+", "_", self.walk_name) + ".wav"),
                    self.walk_started))
        sys.stdout.flush()


def check_tools():
    """Skipped (failed with CI=true) without the tools and modules the walks use."""
    missing = [what for tool, what in TOOLS.items() if not shutil.which(tool)]
    installed = {m.name for m in pkgutil.iter_modules()}
    missing += [m for m in MODULES if m not in installed]
    if missing:
        skip_or_fail("missing " + ", ".join(missing))


def run(main):
    """A script's entry: skipped without what it needs, cleaned up on every exit."""
    check_tools()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))  # ctest's timeout: clean up first
    bin_dir = os.environ["E2E_BIN_DIR"]
    desk = Desktop(bin_dir, os.environ.get("E2E_OUT_DIR", os.path.join(bin_dir, "..", "e2e-failures")))
    started = time.monotonic()
    try:
        try:
            desk.start_services()
        except WalkFailed as e:
            skip_or_fail(str(e))
        main(desk)
    finally:
        desk.close()
    print("%d checks passed, %d failed, %.0f s" % (len(desk.passed), len(desk.failures),
                                                  time.monotonic() - started))
    for f in desk.failures:
        print("  failed: " + f)
    sys.exit(1 if desk.failures else 0)


