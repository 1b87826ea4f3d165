# SPDX-License-Identifier: GPL-3.0-or-later
"""Ears for the real-display walks: a private PulseAudio with one null sink,
and a recording of that sink's monitor whose every sample is placed on this
process's monotonic clock, so that a sound can be timed against the key event
that caused it and told apart from the other sounds by its pitch."""
import array
import contextlib
import os
import subprocess
import threading
import time
import wave

RATE = 48000       # the sink's and the recording's rate, mono 16-bit
SINK = "e2e"
LOUD = 1000        # a sample this far from zero is sound, not silence
GAP = 0.05         # this much silence ends a sound


class SoundServer:
    """PulseAudio with a null sink, its socket and state in `folder`; the
    programs reach it through PULSE_SERVER. Started by spawn (which owns the
    process and ends it), ready when it answers pactl."""

    def __init__(self, folder):
        self.folder = folder
        self.socket = os.path.join(folder, "native")
        self.address = "unix:" + self.socket

    def env(self):
        return {"PULSE_SERVER": self.address, "PULSE_RUNTIME_PATH": self.folder,
                "PULSE_STATE_PATH": self.folder}

    def start(self, spawn):
        os.makedirs(self.folder, mode=0o700, exist_ok=True)
        env = dict(os.environ, HOME=self.folder, **self.env())
        env.pop("PULSE_SERVER")
        spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
               "--log-target=stderr", "--log-level=error",
               "-L", "module-null-sink sink_name=%s rate=%d channels=1 format=s16le" % (SINK, RATE),
               "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % self.socket],
              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        end = time.monotonic() + 10
        while time.monotonic() < end:
            if os.path.exists(self.socket) and subprocess.run(
                    ["pactl", "--server", self.address, "info"], capture_output=True,
                    timeout=5).returncode == 0:
                return self.address
            time.sleep(0.05)
        return None


class Recording:
    """The sink's monitor from start() on. Chunks arrive at most a few
    milliseconds after their last sample was played, never before, so the
    earliest arrival less the length recorded by then places sample 0."""

    def __init__(self, server):
        self.server = server
        self.samples = array.array("h")
        self.origin = None
        self._lock = threading.Lock()

    def start(self, spawn):
        self.proc = spawn(["parec", "--server", self.server.address, "--device", SINK + ".monitor",
                           "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=1",
                           "--latency-msec=5"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        end = time.monotonic() + 10
        while self.origin is None and time.monotonic() < end:
            time.sleep(0.01)
        return self.origin is not None

    def _read(self):
        stream, odd = self.proc.stdout, b""
        while True:
            chunk = os.read(stream.fileno(), 4096)
            arrived = time.monotonic()
            if not chunk:
                return
            chunk, odd = (odd + chunk), b""
            if len(chunk) % 2:
                chunk, odd = chunk[:-1], chunk[-1:]
            with self._lock:
                self.samples.frombytes(chunk)
                start = arrived - len(self.samples) / RATE
                self.origin = start if self.origin is None else min(self.origin, start)

    def now(self):
        """The time of the latest sample recorded."""
        with self._lock:
            return self.origin + len(self.samples) / RATE

    def index(self, t):
        return max(0, int(round((t - self.origin) * RATE)))

    def time(self, index):
        return self.origin + index / RATE

    def wait_until(self, t, timeout=5.0):
        end = time.monotonic() + timeout
        while self.now() < t and time.monotonic() < end:
            time.sleep(0.01)

    def onset(self, after, within):
        """The time of the first loud sample in [after, after + within], or None."""
        self.wait_until(after + within)
        with self._lock:
            first, last = self.index(after), min(len(self.samples), self.index(after + within))
            for i in range(first, last):
                if abs(self.samples[i]) >= LOUD:
                    return self.time(i)
        return None

    def sounds(self, start=0.0, end=None):
        """[(onset, length)] of every sound between the two times: loud
        stretches separated by at least GAP of silence."""
        with self._lock:
            lo = self.index(start) if start else 0
            hi = len(self.samples) if end is None else min(len(self.samples), self.index(end))
            found, begin, quiet, gap = [], None, 0, int(GAP * RATE)
            for i in range(lo, hi):
                if abs(self.samples[i]) >= LOUD:
                    if begin is None:
                        begin = i
                    quiet = 0
                elif begin is not None:
                    quiet += 1
                    if quiet >= gap:
                        found.append((self.time(begin), (i - quiet - begin + 1) / RATE))
                        begin = None
            if begin is not None:
                found.append((self.time(begin), (hi - begin) / RATE))
            return found

    def pitch(self, t, length=0.06):
        """Zero crossings a second over `length` from t: a measure that
        tells a bell from a buzz whatever the loudness."""
        with self._lock:
            part = self.samples[self.index(t):self.index(t + length)]
        return crossings(part) / length

    def save(self, path, start=0.0, end=None):
        """A wave file of the recording (or of a stretch of it), kept where a
        walk missed a sound."""
        with self._lock:
            lo = self.index(start) if start else 0
            hi = len(self.samples) if end is None else self.index(end)
            data = self.samples[lo:hi].tobytes()
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with wave.open(path, "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(data)
        return path

    def stop(self):
        with contextlib.suppress(Exception):
            self.proc.kill()


def crossings(samples):
    signs = [s >= 0 for s in samples if abs(s) >= LOUD // 4]
    return sum(a != b for a, b in zip(signs, signs[1:]))


def wave_pitch(path, length=0.06):
    """The same measure for a wave file, from its first loud sample on."""
    with wave.open(path, "rb") as w:
        rate = w.getframerate()
        data = array.array("h", w.readframes(w.getnframes()))
    peak = max(abs(s) for s in data)
    first = next(i for i, s in enumerate(data) if abs(s) >= peak // 20)
    return crossings([s * LOUD * 8 // peak for s in data[first:first + int(length * rate)]]) / length


def closest(value, references):
    """The name of the reference nearest to value: {name: measure}."""
    return min(references, key=lambda name: abs(references[name] - value))
