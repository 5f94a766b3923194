#!/usr/bin/env python3
"""The scenario player ended mid-scenario, by SIGTERM as ctest ends a test that
runs too long or by Ctrl-C's SIGINT, leaves nothing running: the Xvfb, the
program, the host's window and whatever those started are all gone.

    player_ends.py PLAY_PY BUILD

Only what the player started is looked at: this test takes in the orphans of
its own descendants (a child subreaper), so a process the player left behind,
however it was started, comes back to it.
"""

import ctypes
import os
import select
import signal
import subprocess
import sys
import time

# scenario, the signal, the step under way when it comes, the programs that
# must be running then
ROWS = [
    ("ship", signal.SIGTERM, "step 2:", {"Xvfb", "navcal"}),
    ("lent-window", signal.SIGINT, "step 2:", {"Xvfb", "navcal", "compare_lendwin"}),
]


def stat(pid):
    """(name, parent, start time, state) of a process, or None once gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except OSError:
        return None
    name = text[text.index("(") + 1:text.rindex(")")]
    fields = text[text.rindex(")") + 2:].split()
    return name, int(fields[1]), fields[19], fields[0]


def descendants(root):
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            s = stat(int(entry))
            if s:
                parents[int(entry)] = s
    found, todo = {}, [root]
    while todo:
        pid = todo.pop()
        for child, s in parents.items():
            if s[1] == pid and child not in found:
                found[child] = s
                todo.append(child)
    return found


def left_of(started):
    """What of STARTED still runs, and what else now runs as our child."""
    left = []
    for pid, (name, _, start, _) in started.items():
        now = stat(pid)
        if now and now[2] == start and now[3] != "Z":
            left.append(f"{name} ({pid})")
    for pid, s in descendants(os.getpid()).items():
        if s[3] != "Z" and pid not in started:
            left.append(f"{s[0]} ({pid}, taken in)")
    return left


def reap():
    while True:
        try:
            if os.waitpid(-1, os.WNOHANG)[0] == 0:
                return
        except ChildProcessError:
            return


def run_row(play, build, scenario, number, step, needed):
    player = subprocess.Popen([sys.executable, play, scenario, "--build", build],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    said, deadline = b"", time.monotonic() + 120
    try:
        while step.encode() not in said:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([player.stdout], [], [], left)[0]:
                return [f"{scenario}: the player never reached {step!r} in 120 s; it said {said!r}"]
            chunk = os.read(player.stdout.fileno(), 4096)
            if not chunk:
                return [f"{scenario}: the player ended before {step!r}: {player.stderr.read()!r}"]
            said += chunk
        started = descendants(player.pid)
        names = {s[0] for s in started.values()}
        faults = [f"{scenario}: {name} was not running mid-scenario" for name in sorted(needed - names)]
        player.send_signal(number)
        try:
            _, err = player.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            return faults + [f"{scenario}: the player still ran 60 s after {number.name}"]
        if player.returncode != 128 + number:
            faults.append(f"{scenario}: exit code {player.returncode} after {number.name}, not {128 + number}")
        if f"ended by {number.name}".encode() not in err:
            faults.append(f"{scenario}: stderr does not say it was ended by {number.name}: {err!r}")
        time.sleep(0.5)
        left = left_of(started)
        if left:
            faults.append(f"{scenario}: still running after {number.name}: {', '.join(left)}")
        return faults
    finally:
        if player.poll() is None:
            player.kill()
            player.wait()
        for pid in descendants(os.getpid()):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        time.sleep(0.2)
        reap()


def main():
    play, build = sys.argv[1], sys.argv[2]
    ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    faults = []
    for scenario, number, step, needed in ROWS:
        faults += run_row(play, build, scenario, number, step, needed)
    for fault in faults:
        print(fault, file=sys.stderr)
    if not faults:
        print(f"{len(ROWS)} players ended mid-scenario; nothing they started is left")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
