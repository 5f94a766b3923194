#!/usr/bin/env python3
"""Plays one recorded scenario of the real navcal and compares what a user meets
with its reviewed record.

    play.py NAME --build BUILD [--ratio R] [--accept]
    play.py --compare-builds FIRST SECOND [NAME...]

tests/baselines/NAME/scenario says how the run starts (screen, pixel ratios,
frozen date and time, locale, what the user's folder holds) and what the user
then does, one step a line. The program runs on a private Xvfb at 96 dpi with
the wall clock frozen by libfaketime (the monotonic clock runs, so timers
tick; the random colours, seeded from the wall clock, are the same in every
run); input goes through XTest (xdotool). The record, NAME/record.txt and
NAME/NN.png, holds after each step what the step shows: the screen, every
node a screen reader finds (role | name | description | extents), the tooltip
shown after a hover and where it stands, the pointer's shape; and at the end
every line on stderr, the exit code and the files left in the home.

A scenario that names several ratios (`ratio 1, 1.5, 2`) runs once at each:
the first ratio's record is NAME/ itself, each other's NAME/ratio-R/. --ratio
plays only one of them.

On a difference the test fails naming the scenario and step; the new record,
and a difference picture per differing screen, are written to
BUILD/baselines/NAME (NAME-ratio-R for the further ratios). --accept writes
the new record into the source tree instead: do that only after checking it
(the commit says against what).

--compare-builds plays the scenarios (all of them when none is named) with
two build folders, each holding navcal and the tools/compare helpers, and
compares the second's records with the first's, pixel for pixel and line for
line: one PASS or FAIL line per scenario and ratio, exit status 1 on any
difference, both sets of records kept in a folder it names.

Whatever ends the player (a failed step, SIGTERM, SIGINT), everything it
started is stopped before it goes, and every wait has a limit.
"""

import argparse
import ctypes
import math
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
FILES = os.path.join(HERE, "files")


class Failure(Exception):
    pass


class Ended(BaseException):
    """A signal that ends the player: what it started is stopped first."""

    def __init__(self, number):
        super().__init__(signal.Signals(number).name)
        self.number = number


def end_on_signals():
    def ended(number, _frame):
        raise Ended(number)

    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, ended)


def quiet_signals():
    """Signals wait while what the player started is being stopped."""
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, signal.SIG_IGN)


def adopt_orphans():
    """Whatever the programs start and leave (a message bus the toolkit
    launches for itself, say) comes back to the player when its parent goes,
    so that the player can stop it too."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    except (OSError, AttributeError):
        pass


def children():
    """The processes whose parent is the player."""
    mine, found = os.getpid(), []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()
        if int(fields[1]) == mine:
            found.append(int(entry))
    return found


def stop_children():
    """Every process the player started, and every orphan it took in, ended
    and reaped."""
    for _ in range(50):
        left = children()
        if not left:
            return
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        for pid in left:
            while time.monotonic() < deadline:
                try:
                    if os.waitpid(pid, os.WNOHANG)[0]:
                        break
                except ChildProcessError:
                    break
                time.sleep(0.01)


def read_line(stream, seconds, what):
    """One line a process writes, waited for no longer than SECONDS."""
    said = b""
    deadline = time.monotonic() + seconds
    fd = stream if isinstance(stream, int) else stream.fileno()
    while not said.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise Failure(f"{what} said nothing within {seconds} s")
        chunk = os.read(fd, 64)
        if not chunk:
            break
        said += chunk
    return said.decode(errors="replace").strip()


def replace_whole(path, text):
    """The file written beside and renamed into place, so that a reader meets
    the old text or the new, never a part."""
    with open(path + ".new", "w") as f:
        f.write(text)
    os.replace(path + ".new", path)


def faketime_library():
    for root in ("/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib"):
        path = os.path.join(root, "faketime", "libfaketimeMT.so.1")
        if os.path.exists(path):
            return path
    raise Failure("libfaketime is missing (apt-get install libfaketime)")


def sanitizer_options():
    """A sanitizer build's options, passed on to the programs played as they
    came to the player (its halt on the first error, the suppressed leaks of
    the system's libraries)."""
    return {name: os.environ[name] for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")
            if name in os.environ}


def parse(path):
    """The scenario: a dict of start settings and a list of steps."""
    start = {"screen": "1024x768", "ratio": "1", "date": "2026-03-10 12:00:00",
             "locale": "ru_RU.UTF-8", "args": "/s", "user": [], "folder": "yes",
             "host": "", "sound": "", "monitors": ""}
    steps = []
    in_steps = False
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.split(" #", 1)[0].strip() if not raw.lstrip().startswith("#") else ""
            if not line:
                continue
            if line == "steps:":
                in_steps = True
                continue
            if in_steps:
                steps.append(line)
                continue
            key, _, value = line.partition(" ")
            if key == "user":
                start["user"].append(value.split())
            elif key in start:
                start[key] = value.strip()
            else:
                raise Failure(f"{path}: unknown setting {key!r}")
    return start, steps


class Run:
    def __init__(self, name, build, start):
        self.name = name
        self.build = build
        self.start = start
        self.work = tempfile.mkdtemp(prefix=f"navcal-baseline-{name}-")
        self.home = os.path.join(self.work, "home")
        self.dumps = os.path.join(self.work, "dump")
        self.ratio = float(start["ratio"])
        self.xvfb = None
        self.app = None
        self.host = None
        self.host_window = ""
        self.tip = (0, 0, 0, 0)  # the tooltip last seen shown
        self.pointer = None
        self.display = None
        self.nodes = []  # the last dump: (depth, role, name, description, x, y, w, h, line)
        self.record = []
        self.pictures = {}
        self.looks = 0
        self.last_nodes = None
        self.exit_code = None

    # --- the display -----------------------------------------------------
    def start_xvfb(self):
        w, h = self.start["screen"].split("x")
        if self.start["monitors"] in ("2", "1+1"):  # "1+1": the second comes later
            w = str(int(w) * 2)
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-screen", "0", f"{w}x{h}x24", "-displayfd", str(write), "-dpi", "96",
             "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        try:
            said = read_line(read, 30, "Xvfb")
        finally:
            os.close(read)
        if not said:
            raise Failure("Xvfb did not start")
        self.display = ":" + said

    def x(self, *command, check=True):
        result = subprocess.run(list(command), env={"DISPLAY": self.display, "PATH": "/usr/bin:/bin"},
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(command)}: {result.stderr.strip()}")
        return result.stdout

    def xrandr_monitors(self, left, right):
        w, h = (int(v) for v in self.start["screen"].split("x"))
        mm_w, mm_h = round(w * 25.4 / 96), round(h * 25.4 / 96)
        if left:
            self.x("xrandr", "--setmonitor", "left", f"{w}/{mm_w}x{h}/{mm_h}+0+0", "screen")
        if right:
            self.x("xrandr", "--setmonitor", "right", f"{w}/{mm_w}x{h}/{mm_h}+{w}+0", "none")

    # --- the program -----------------------------------------------------
    def prepare_home(self):
        for sub in ("data", "config", "cache", "runtime", "bin"):
            os.makedirs(os.path.join(self.home, sub))
        os.chmod(os.path.join(self.home, "runtime"), 0o700)
        os.makedirs(self.dumps)
        folder = os.path.join(self.home, "data", "navcal")
        if self.start["folder"] == "yes":
            os.makedirs(folder)
            users = dict((entry[0], entry[1]) for entry in self.start["user"])
            users.setdefault("1.jpg", "plain.jpg")
            for target, source in users.items():
                if source != "-":
                    shutil.copy(os.path.join(FILES, source), os.path.join(folder, target))
            if self.start["sound"]:  # tone [SECONDS]
                seconds = (self.start["sound"].split() + ["0.5"])[1]
                write_tone(os.path.join(folder, "muzz.wav"), float(seconds))
        # The desktop's opener, as the program finds it on PATH: it notes what
        # it was given.
        opener = os.path.join(self.home, "bin", "xdg-open")
        with open(opener, "w") as f:
            f.write(f'#!/bin/sh\necho "$@" >> "{self.work}/opened"\n')
        os.chmod(opener, 0o755)
        replace_whole(os.path.join(self.work, "clock"), self.start["date"] + "\n")

    def environment(self):
        env = {
            "PATH": f"{self.home}/bin:/usr/bin:/bin", "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb", "HOME": self.home,
            "XDG_DATA_HOME": f"{self.home}/data", "XDG_CONFIG_HOME": f"{self.home}/config",
            "XDG_CACHE_HOME": f"{self.home}/cache", "XDG_RUNTIME_DIR": f"{self.home}/runtime",
            "LANG": self.start["locale"], "LC_ALL": self.start["locale"], "TZ": "UTC",
            "SDL_AUDIODRIVER": "dummy",
            "LD_PRELOAD": faketime_library(), "FAKETIME_TIMESTAMP_FILE": f"{self.work}/clock",
            "FAKETIME_NO_CACHE": "1", "FAKETIME_DONT_FAKE_MONOTONIC": "1",
            "QT_PLUGIN_PATH": os.path.join(self.build, "tools", "compare", "plugins"),
            "QT_QPA_GENERIC_PLUGINS": f"navcalaccessdump:{self.dumps}",
            **sanitizer_options(),
        }
        if self.ratio != 1:
            env["QT_SCALE_FACTOR"] = self.start["ratio"]
        if self.start["sound"]:
            env["SDL_AUDIODRIVER"] = "disk"
            env["SDL_DISKAUDIOFILE"] = f"{self.work}/sound.raw"
        return env

    def launch(self):
        args = self.start["args"].split()
        if self.start["host"]:
            w, h = self.start["host"].split("x")
            self.host = subprocess.Popen(
                [os.path.join(self.build, "tools", "compare", "compare_lendwindow"), w, h],
                env={"DISPLAY": self.display, **sanitizer_options()}, stdout=subprocess.PIPE,
                start_new_session=True)
            self.host_window = read_line(self.host.stdout, 30, "the host's window")
            args = ["-window-id", self.host_window]
        self.x("xdotool", "mousemove", "0", "0")
        self.stderr = open(os.path.join(self.work, "stderr"), "w")
        self.app = subprocess.Popen([os.path.join(self.build, "navcal")] + args, env=self.environment(),
                                    stdout=subprocess.DEVNULL, stderr=self.stderr, cwd=self.home,
                                    start_new_session=True)

    def running(self):
        return self.app.poll() is None

    def finish(self):
        if self.app and self.running():
            self.app.send_signal(signal.SIGTERM)
        if self.app:
            try:
                self.exit_code = self.app.wait(15)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait(15)
                self.exit_code = "hung: killed after SIGTERM"

    def close(self):
        """Everything this run started ends, whatever ended the run."""
        for process in (self.app, self.host, self.xvfb):
            if process and process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    pass
        if self.host and self.host.stdout:
            self.host.stdout.close()
        stop_children()
        shutil.rmtree(self.work, ignore_errors=True)

    # --- what the user meets ---------------------------------------------
    def dump(self, quiet_ms):
        tag = f"s{self.looks}-{time.monotonic_ns()}"
        request = os.path.join(self.dumps, "request")
        with open(request + ".new", "w") as f:
            f.write(f"{tag} {quiet_ms}\n")
        os.replace(request + ".new", request)
        deadline = time.monotonic() + 90
        nodes = os.path.join(self.dumps, tag + ".nodes")
        while time.monotonic() < deadline:
            if not os.path.exists(request) and os.path.exists(nodes):
                with open(os.path.join(self.dumps, tag + ".tree"), encoding="utf-8") as f:
                    self.nodes = [tree_node(line) for line in f if line.strip()]
                with open(nodes, encoding="utf-8") as f:
                    return f.read().splitlines()
            if not self.running():
                raise Failure("the program ended while it was looked at")
            time.sleep(0.1)
        raise Failure("no screen-reader dump within 90 s (the program never came to rest)")

    def grab(self, path):
        subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", path],
                       check=True, stderr=subprocess.DEVNULL, timeout=60)

    def still_picture(self):
        a, b = os.path.join(self.work, "a.ppm"), os.path.join(self.work, "b.ppm")
        self.grab(a)
        for _ in range(60):
            time.sleep(0.5)
            self.grab(b)
            if files_equal(a, b):
                return a
            os.replace(b, a)
        raise Failure("the screen never stood still")

    def look(self, quiet_ms):
        self.looks += 1
        lines = self.dump(quiet_ms)
        picture = self.still_picture()
        name = f"{self.looks:02d}.png"
        # Kept raw: compared as it is, and made a PNG only when it is to be
        # kept (a large screen's PNG takes seconds).
        raw = os.path.join(self.work, name[:-4] + ".ppm")
        os.replace(picture, raw)
        self.pictures[name] = raw
        self.record.append(f"screen: {name}")
        gone = [line for line in self.last_nodes or [] if line not in lines]
        if self.last_nodes is None or len(gone) > len(lines) // 2:  # a new layout in full
            self.record.append("nodes:")
            self.record += ["  " + line for line in lines]
        else:
            came = [line for line in lines if line not in self.last_nodes]
            if not gone and not came:
                self.record.append("nodes: as before")
            else:
                self.record.append("nodes: as before, but")
                self.record += ["  - " + line for line in gone] + ["  + " + line for line in came]
        self.last_nodes = lines

    # --- finding what to point at ----------------------------------------
    def find(self, selector):
        """A node's rectangle in the dump: name:TEXT, desc:TEXT, cell:MONTH:DAY,
        group:MONTH (the month's panel), or at:X,Y (a point in logical pixels)."""
        if not self.nodes:
            self.dump(1500)
        kind, _, what = selector.partition(":")
        if kind == "at":  # in the screen's pixels, at any ratio
            x, y = (int(v) for v in what.split(","))
            return (x / self.ratio, y / self.ratio, 1 / self.ratio, 1 / self.ratio)
        if kind == "cell":
            month, _, day = what.partition(":")
            inside = False
            for n in self.nodes:
                if n[1] == "Grouping":
                    inside = n[2] == month
                elif inside and n[2] == day and n[0] > 2:
                    return n[4:8]
        for n in self.nodes:
            if n[8].endswith("| invisible") or (n[1] == "Grouping") != (kind == "group"):
                continue
            if (kind == "name" and n[2] == what) or (kind == "desc" and n[3] == what) or \
                    (kind == "group" and n[1] == "Grouping" and n[2] == what):
                return n[4:8]
        raise Failure(f"nothing on the screen answers {selector!r}")

    def place(self, rect):
        x, y, w, h = rect
        return round((x + w / 2) * self.ratio), round((y + h / 2) * self.ratio)

    def logical(self, v):
        """A screen pixel in the toolkit's pixels, rounded as it rounds: a
        half up, not to even."""
        return math.floor(v / self.ratio + 0.5)

    def hovers(self):
        path = os.path.join(self.dumps, "hovers")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()

    def hover(self, label, rect):
        """Rests the pointer on a node and notes the tooltip and the pointer
        once the toolkit has taken the rest there."""
        px, py = self.place(rect)
        x, y = self.logical(px), self.logical(py)
        tx, ty, tw, th = self.tip
        # A tooltip still shown over the place would take the pointer (and the
        # pointer must move for the toolkit to see a rest): off to a corner of
        # the background first, until the tooltip has gone.
        if (tx <= x < tx + tw and ty <= y < ty + th) or (x, y) == self.pointer:
            self.rest(1, 1)
        line = self.rest(px, py)
        _, _, tip, where, _, pointer = [p.strip() for p in line.split(" | ")]
        shown = "no tooltip" if tip == "-" else f"tooltip «{tip}» at {where}"
        self.tip = tuple(int(v) for v in re.split("[ ,x]", where)) if tip != "-" else (0, 0, 0, 0)
        self.record.append(f"hover {label}: {shown}; pointer {pointer}")
        for picture in re.findall(r"pointer-\w+\.png", pointer):
            self.pictures.setdefault(picture, os.path.join(self.dumps, picture))

    def rest(self, px, py):
        """The pointer moved to a place in screen pixels; the hover line
        once the toolkit has taken the rest there."""
        before = len(self.hovers())
        self.x("xdotool", "mousemove", str(px), str(py))
        want = f"{self.logical(px)},{self.logical(py)} |"
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            for line in self.hovers()[before:]:
                if line.startswith(want):
                    self.pointer = (self.logical(px), self.logical(py))
                    return line
            if not self.running():
                raise Failure("the program ended under the pointer")
            time.sleep(0.05)
        raise Failure(f"the pointer's rest at {px},{py} was never taken")

    # --- the steps -------------------------------------------------------
    def step(self, line):
        verb, _, rest = line.partition(" ")
        rest = rest.strip()
        if verb in ("click", "dclick", "rclick", "drag", "press", "away"):  # a press hides a tooltip
            self.tip, self.pointer = (0, 0, 0, 0), None
        if verb == "look":
            self.look(int(rest) if rest else 2000)
        elif verb == "hover":
            self.hover(rest, self.find(rest))
        elif verb == "hover-month":
            if not self.nodes:
                self.dump(1500)
            inside = False
            for n in list(self.nodes):
                if n[1] == "Grouping":
                    inside = n[2] == rest
                elif inside and n[0] > 2:
                    self.hover(f"{rest} {n[2] or '(empty)'} at {n[4]},{n[5]}", n[4:8])
        elif verb == "hover-parts":  # every picture and label outside the months
            for n in list(self.nodes):
                if n[0] == 2 and n[1] != "Grouping" and not n[8].endswith("| invisible"):
                    self.hover(n[2] or n[3], n[4:8])
        elif verb in ("click", "dclick", "rclick"):
            px, py = self.place(self.find(rest))
            self.x("xdotool", "mousemove", str(px), str(py))
            self.x("xdotool", "click", *(["--repeat", "2", "--delay", "80"] if verb == "dclick" else []),
                   "3" if verb == "rclick" else "1")
        elif verb == "drag":  # drag SELECTOR FX FY: by FX widths and FY heights
            selector, fx, fy = rest.rsplit(" ", 2)
            self.press(selector)
            self.move(fx, fy)
            self.x("xdotool", "mouseup", "1")
        elif verb == "press":  # the left button held down on a part
            self.press(rest)
        elif verb == "move":  # move FX FY: the held pointer by FX widths and FY heights of that part
            self.move(*rest.split())
        elif verb == "release":
            self.x("xdotool", "mouseup", "1")
        elif verb == "away":  # the pointer to a corner of the background
            self.x("xdotool", "mousemove", "0", "0")
        elif verb == "key":
            self.x("xdotool", "key", rest)
        elif verb == "time":
            replace_whole(os.path.join(self.work, "clock"), rest + "\n")
        elif verb == "wait":
            time.sleep(float(rest))
        elif verb == "resize":
            w, h = rest.split("x")
            modes = self.x("xrandr")
            if rest not in modes:
                self.x("xrandr", "--newmode", rest, "60", w, w, w, w, h, h, h, h)
                self.x("xrandr", "--addmode", "screen", rest)
            self.x("xrandr", "--output", "screen", "--mode", rest)
        elif verb == "monitors":
            self.xrandr_monitors(False, True)
        elif verb == "host-resize":
            w, h = rest.split("x")
            self.x("xdotool", "windowsize", self.host_window, w, h)
        elif verb == "host-destroy":
            self.host.kill()
            self.host.wait(15)
        elif verb == "end":  # the program is expected to have ended, or to end now
            try:
                self.exit_code = self.app.wait(15)
            except subprocess.TimeoutExpired:
                raise Failure("the program did not end")
        elif verb == "sound":
            self.record.append(f"music: {sounding(os.path.join(self.work, 'sound.raw'))}")
        elif verb == "listen":  # until the music has stopped: how often and how long it sounded
            self.record.append(f"music: {self.listen(os.path.join(self.work, 'sound.raw'))}")
        else:
            raise Failure(f"unknown step {line!r}")

    def listen(self, raw):
        """The loud stretches of what the player wrote, once a second of
        silence follows the last (counted in samples, so the answer does not
        depend on how fast the machine is)."""
        deadline = time.monotonic() + 90
        while time.monotonic() < deadline:
            stretches, samples = loud_stretches(raw)
            if stretches and samples - stretches[-1][1] >= 44100:
                lengths = ", ".join(f"{(end - begin) / 44100:.1f} s" for begin, end in stretches)
                times = "once" if len(stretches) == 1 else f"{len(stretches)} times"
                return f"the tune sounded {times}: {lengths}"
            if not self.running():
                raise Failure("the program ended while the music was listened to")
            time.sleep(0.25)
        raise Failure("the music never stopped within 90 s")

    def press(self, selector):
        self.pressed = self.find(selector)
        x, y = self.place(self.pressed)
        self.x("xdotool", "mousemove", str(x), str(y), "mousedown", "1")

    def move(self, fx, fy):
        """The held pointer moved in ten steps, as a hand drags, until the
        screen follows it and stands still."""
        rect = self.pressed
        x0, y0 = self.place(rect)
        x1 = x0 + round(float(fx) * rect[2] * self.ratio)
        y1 = y0 + round(float(fy) * rect[3] * self.ratio)
        for i in range(1, 11):
            self.x("xdotool", "mousemove", str(x0 + (x1 - x0) * i // 10), str(y0 + (y1 - y0) * i // 10))
            time.sleep(0.05)
        self.still_picture()

    def ending(self):
        self.finish()
        self.record.append(f"exit code: {self.exit_code}")
        self.stderr.close()
        with open(os.path.join(self.work, "stderr"), encoding="utf-8", errors="replace") as f:
            said = [line.rstrip("\n").replace(self.home, "$HOME").replace(self.work, "$WORK") for line in f]
        self.record.append("stderr:" + ("" if said else " nothing"))
        self.record += ["  " + line for line in said]
        opened = os.path.join(self.work, "opened")
        if os.path.exists(opened):
            with open(opened) as f:
                self.record += ["opener given: " + line.strip() for line in f]
        left = []
        # What the run put there itself (the opener) and the font library's
        # cache are not the program's.
        for root, dirs, files in os.walk(self.home):
            rel = os.path.relpath(root, self.home)
            dirs[:] = [d for d in dirs if os.path.join(rel, d) not in ("./bin", "cache/fontconfig")]
            left += [os.path.normpath(os.path.join("$HOME", rel, name)) for name in files]
        # A bus's address file is named by the machine and the display.
        left = [re.sub(r"/[0-9a-f]{32}-\d+$", "/MACHINE-DISPLAY", name) for name in left]
        self.record.append("files in the home: " + (", ".join(sorted(left)) if left else "none but what it held"))


def tree_node(line):
    depth = (len(line) - len(line.lstrip(" "))) // 2
    text = line.strip()
    parts = re.split(r" (?<!\\)\| ", text)
    role, name, description, box = (parts + ["", "", "", ""])[:4]
    m = re.match(r"(-?\d+),(-?\d+) (\d+)x(\d+)", box)
    x, y, w, h = (int(v) for v in m.groups()) if m else (0, 0, 0, 0)
    return (depth, role, name, description, x, y, w, h, text)


def files_equal(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def loud_stretches(raw):
    """The loud stretches, (first, last) frame, of what SDL's disk driver
    wrote (16-bit stereo at 44100 Hz), apart by more than 0.2 s; and how many
    frames it wrote."""
    if not os.path.exists(raw):
        return [], 0
    with open(raw, "rb") as f:
        data = f.read()
    count = len(data) // 2
    samples = struct.unpack(f"<{count}h", data[:count * 2])
    stretches = []
    for i in range(0, count, 64):
        if abs(samples[i]) > 2000:
            frame = i // 2
            if stretches and frame - stretches[-1][1] <= 0.2 * 44100:
                stretches[-1][1] = frame
            else:
                stretches.append([frame, frame])
    return stretches, count // 2


def write_tone(path, seconds=0.5):
    """A loud 440 Hz tone, half a second unless told, a stand-in for the
    user's tune."""
    rate = 44100
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate)))
                               for i in range(round(rate * seconds))))


def sounding(raw):
    """How many times the tone sounded in what SDL's disk driver wrote
    (16-bit stereo at 44100 Hz): loud stretches apart by more than 0.2 s."""
    if not os.path.exists(raw):
        return "nothing written"
    with open(raw, "rb") as f:
        data = f.read()
    count = len(data) // 2
    samples = struct.unpack(f"<{count}h", data[:count * 2])
    plays, last = 0, None
    for i in range(0, count, 64):
        if abs(samples[i]) > 2000:
            if last is None or i - last > 0.2 * 44100 * 2:
                plays += 1
            last = i
    return {0: "silent", 1: "the tune sounded once"}.get(plays, f"the tune sounded {plays} times")


def picture_size(path):
    result = subprocess.run(["identify", "-format", "%wx%h", path], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, timeout=60)
    if result.returncode != 0:
        raise Failure(f"{os.path.basename(path)}: {result.stderr.strip() or 'not a picture'}")
    return result.stdout.strip()


def picture_difference(recorded, now, fuzz=False):
    """How a new screen differs from the recorded one, in words; None when
    they are alike. FUZZ: a level up or down in a colour is alike (a
    see-through pointer's colours are stored undone from premultiplied ones,
    which rounds differently on different processors)."""
    try:
        before, after = picture_size(recorded), picture_size(now)
    except Failure as failure:
        return f"cannot be read: {failure}"
    if before != after:
        return f"the size differs: {before} recorded, {after} now"
    result = subprocess.run(["compare", "-metric", "AE"] + (["-fuzz", "0.5%"] if fuzz else []) + [recorded, now, "null:"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=120)
    said = result.stderr.strip()
    if result.returncode not in (0, 1):
        return f"compare failed: {said}"
    try:
        pixels = int(float(said.split()[0]))
    except (ValueError, IndexError):
        return f"compare said no number: {said!r}"
    return f"{pixels} pixels differ" if pixels else None


def ratios_of(start):
    """The pixel ratios a scenario names, the first one's record in the
    scenario's own folder and each other's in ratio-R beside it."""
    ratios = [r.strip() for r in start["ratio"].split(",") if r.strip()]
    if not ratios:
        raise Failure("no pixel ratio named")
    for r in ratios:
        try:
            if float(r) <= 0:
                raise ValueError
        except ValueError:
            raise Failure(f"{r!r} is no pixel ratio")
    return ratios


def record_folder(root, name, ratios, ratio):
    folder = os.path.join(root, name)
    return folder if ratio == ratios[0] else os.path.join(folder, f"ratio-{ratio}")


def play(name, build, start, ratio, progress):
    """One run of a scenario at one pixel ratio: the Run, its record made."""
    start = dict(start, ratio=ratio)
    run = Run(name, build, start)
    try:
        _, steps = parse(os.path.join(HERE, name, "scenario"))
        run.start_xvfb()
        if start["monitors"]:
            run.xrandr_monitors(True, start["monitors"] == "2")
        run.prepare_home()
        run.launch()
        for number, line in enumerate(steps, 1):
            run.record.append(f"== {number}. {line}")
            if progress:
                print(f"{progress}: step {number}: {line}", flush=True)
            try:
                run.step(line)
            except Failure as failure:
                raise Failure(f"step {number} ({line}): {failure}")
        run.record.append("== the end")
        run.ending()
        run.steps = len(steps)
        return run
    except BaseException:
        quiet_signals()
        run.close()
        raise


def judge(run, reference, out, accept):
    """Compares a run's record with the one in REFERENCE, writes the new
    record into OUT (with a difference picture per changed screen unless
    ACCEPT) and says what differs."""
    new = "\n".join(run.record) + "\n"
    failed = []
    alike = set()  # pictures as recorded: an accepted record keeps their files
    old_text = ""
    if os.path.exists(os.path.join(reference, "record.txt")):
        with open(os.path.join(reference, "record.txt"), encoding="utf-8") as f:
            old_text = f.read()
    if old_text != new:
        failed.append(first_difference(old_text, new))
    for name, png in run.pictures.items():
        recorded = os.path.join(reference, name)
        if not os.path.exists(recorded):
            failed.append(f"{name}: no recorded screen")
        else:
            difference = picture_difference(recorded, png, name.startswith("pointer-"))
            if not difference:
                alike.add(name)
            else:
                failed.append(f"{name}: {difference}")
                if not accept and difference.endswith("pixels differ"):
                    subprocess.run(["compare", recorded, png, os.path.join(out, name[:-4] + "-diff.png")],
                                   stderr=subprocess.DEVNULL, timeout=120)
    if accept or failed:
        for name, picture in run.pictures.items():
            if not (accept and name in alike and out == reference):
                keep(picture, os.path.join(out, name))
    if accept:
        for stale in os.listdir(out):
            if stale.endswith(".png") and stale not in run.pictures:
                os.remove(os.path.join(out, stale))
    with open(os.path.join(out, "record.txt"), "w", encoding="utf-8") as f:
        f.write(new)
    return failed


def keep(picture, png):
    if picture.endswith(".png"):
        shutil.copy(picture, png)
    else:
        subprocess.run(["convert", picture, "-define", "png:compression-level=9", png], check=True, timeout=300)


def put_in_place(out, final):
    """A record made in a folder of its own goes into place whole, so that two
    copies of the suite never write into each other's."""
    shutil.rmtree(final, ignore_errors=True)
    try:
        os.rename(out, final)
    except OSError:  # another copy's record is in place: this one goes
        shutil.rmtree(out, ignore_errors=True)


def check(name, build, start, ratios, ratio, accept):
    """The suite's check of one scenario at one ratio against its reviewed
    record; 0 when alike."""
    label = name if ratio == ratios[0] else f"{name} at ratio {ratio}"
    source = record_folder(HERE, name, ratios, ratio)
    try:
        run = play(name, build, start, ratio, label)
    except Failure as failure:
        print(f"{label}: {failure}", file=sys.stderr)
        return 1
    try:
        suffix = "" if ratio == ratios[0] else f"-ratio-{ratio}"
        final = os.path.join(build, "baselines", name + suffix)
        if accept:
            os.makedirs(source, exist_ok=True)
            out = source
        else:
            os.makedirs(os.path.dirname(final), exist_ok=True)
            out = tempfile.mkdtemp(prefix=f".{name}-", dir=os.path.dirname(final))
        failed = judge(run, source, out, accept)
        if not accept:
            put_in_place(out, final)
            out = final
    finally:
        run.close()
    if accept:
        print(f"{label}: record written to {source}" + (" (changed)" if failed else " (unchanged)"))
        return 0
    for line in failed:
        print(f"{label}: {line}", file=sys.stderr)
    if failed:
        ratio_option = "" if len(ratios) == 1 else f" --ratio {ratio}"
        print(f"{label}: the new record is in {out}; accept it with "
              f"python3 tests/baselines/play.py {name}{ratio_option} --build BUILD --accept", file=sys.stderr)
        return 1
    print(f"{label}: as recorded ({run.steps} steps)")
    return 0


def compare_builds(first, second, names):
    """Two builds' behaviour over the same scenarios: each scenario played at
    each of its ratios with the first build, then with the second, and the two
    records compared as the suite compares a record with the reviewed one."""
    names = names or sorted(d for d in os.listdir(HERE) if os.path.exists(os.path.join(HERE, d, "scenario")))
    out = tempfile.mkdtemp(prefix="navcal-compare-builds-")
    differ = 0
    for name in names:
        start, _ = parse(os.path.join(HERE, name, "scenario"))
        ratios = ratios_of(start)
        for ratio in ratios:
            label = name if ratio == ratios[0] else f"{name} at ratio {ratio}"
            folders = []
            for build, side in ((first, "first"), (second, "second")):
                folder = record_folder(os.path.join(out, side), name, ratios, ratio)
                os.makedirs(folder, exist_ok=True)
                folders.append(folder)
            failed = []
            for index, build in enumerate((first, second)):
                try:
                    run = play(name, build, start, ratio, None)
                except Failure as failure:
                    failed.append(f"{build}: {failure}")
                    break
                try:
                    # The first build's record is the reference of the second's.
                    if index == 0:
                        judge(run, folders[0], folders[0], True)
                    else:
                        failed = judge(run, folders[0], folders[1], False)
                finally:
                    run.close()
            print(("FAIL " if failed else "PASS ") + label + "".join(f"\n  {line}" for line in failed), flush=True)
            differ |= bool(failed)
    print(f"the records: {out}/first and {out}/second")
    print("behaviour CHANGED" if differ else "behaviour unchanged")
    return differ


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("name", nargs="*", help="the scenario (with --compare-builds: the scenarios, all if none)")
    parser.add_argument("--build", help="the build folder")
    parser.add_argument("--ratio", help="only this one of the scenario's pixel ratios")
    parser.add_argument("--accept", action="store_true")
    parser.add_argument("--compare-builds", nargs=2, metavar=("FIRST", "SECOND"),
                        help="the behaviour of two build folders compared over the same scenarios")
    options = parser.parse_args()
    adopt_orphans()
    end_on_signals()
    try:
        if options.compare_builds:
            return compare_builds(*(os.path.abspath(b) for b in options.compare_builds), options.name)
        if len(options.name) != 1 or not options.build:
            parser.error("one scenario and --build, or --compare-builds FIRST SECOND")
        name = options.name[0]
        build = os.path.abspath(options.build)
        try:
            start, _ = parse(os.path.join(HERE, name, "scenario"))
            ratios = ratios_of(start)
        except (Failure, OSError) as failure:
            print(f"{name}: {failure}", file=sys.stderr)
            return 1
        if options.ratio and options.ratio not in ratios:
            print(f"{name}: the scenario names no ratio {options.ratio} ({', '.join(ratios)})", file=sys.stderr)
            return 1
        result = 0
        for ratio in [options.ratio] if options.ratio else ratios:
            result |= check(name, build, start, ratios, ratio, options.accept)
        return result
    except Ended as ended:
        quiet_signals()
        stop_children()
        print(f"play.py: ended by {ended}; everything it started is stopped", file=sys.stderr)
        return 128 + ended.number


def first_difference(old, new):
    if not old:
        return "record.txt: no record yet"
    old_lines, new_lines = old.splitlines(), new.splitlines()
    step = "start"
    for i in range(max(len(old_lines), len(new_lines))):
        a = old_lines[i] if i < len(old_lines) else "(nothing)"
        b = new_lines[i] if i < len(new_lines) else "(nothing)"
        if a.startswith("== "):
            step = a[3:]
        if a != b:
            return f"record.txt differs at step {step}:\n  recorded: {a}\n  now:      {b}"
    return "record.txt differs"


if __name__ == "__main__":
    sys.exit(main())
