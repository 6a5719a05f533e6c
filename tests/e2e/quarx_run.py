"""Helpers for end-to-end tests: start the real quarx binary in a fresh HOME on
the X display the test run provides, read its log, find its window, end it."""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


class QuarxRun:
    def __init__(self, binary, args=(), env_extra=None):
        self.binary = os.path.abspath(binary)
        self.home = tempfile.mkdtemp(prefix="quarx-e2e-home-")
        self.log_path = os.path.join(self.home, "stdout.log")
        env = dict(os.environ)
        env["HOME"] = self.home
        env.setdefault("SDL_AUDIODRIVER", "dummy")
        if env_extra:
            env.update(env_extra)
        self.log = open(self.log_path, "wb")
        self.proc = subprocess.Popen([self.binary, *args], stdout=self.log,
                                     stderr=subprocess.STDOUT, env=env,
                                     cwd=self.home)

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("latin-1")

    def lines(self):
        return self.output().splitlines()

    def wait_for_line(self, text, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if text in self.lines():
                return True
            if self.proc.poll() is not None:
                return text in self.lines()
            time.sleep(0.1)
        return False

    def window_id(self, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            r = subprocess.run(["xdotool", "search", "--name", "^Quarx"],
                               capture_output=True, text=True)
            ids = r.stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.2)
        raise AssertionError("no Quarx window appeared")

    def window_geometry(self, wid):
        r = subprocess.run(["xdotool", "getwindowgeometry", wid],
                           capture_output=True, text=True, check=True)
        m = re.search(r"Geometry: (\d+)x(\d+)", r.stdout)
        p = re.search(r"Position: (-?\d+),(-?\d+)", r.stdout)
        return (int(m.group(1)), int(m.group(2)),
                int(p.group(1)) if p else 0, int(p.group(2)) if p else 0)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], check=True)

    def terminate(self):
        self.proc.send_signal(signal.SIGTERM)

    def wait(self, timeout=30):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            raise AssertionError("quarx did not end in time:\n" + self.output()[-3000:])

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)


def assert_in_order(lines, expected):
    """Every expected line (exact text, or a compiled regex) appears in order."""
    pos = 0
    for want in expected:
        while pos < len(lines):
            line = lines[pos]
            pos += 1
            if (want.fullmatch(line) if hasattr(want, "fullmatch") else line == want):
                break
        else:
            raise AssertionError("missing or out of order: %r\n--- log ---\n%s"
                                 % (getattr(want, "pattern", want), "\n".join(lines)))
