#!/usr/bin/env python3
"""Runs the real quillmark under Xvfb, as the collector starts it, and tells where its start and close go.

The program is asked for its own step times (QT_LOGGING_RULES="quillmark.steps.debug=true": each step as it ends,
wall clock and processor time since main()). Each run copies FOLDER afresh (its backups/ kept), starts the program,
waits for its first paint and a settled second after it, reads its peak memory, opens the filter bar with Ctrl+F and
types a letter in it, reads the peak again, then closes the bar and the window with Escape and waits for the process
to end. The run with the median first paint is printed, as RESULT lines for scripts/bench:

  RESULT <tab> CARDS <tab> step_NN_label <tab> what the step is
  RESULT <tab> CARDS <tab> step_NN_s / step_NN_cpu_s <tab> seconds since main() (negative: before it)
  RESULT <tab> CARDS <tab> seen_peak_filter_bytes <tab> VmHWM with the filter bar open

Usage: steps-seen.py QUILLMARK FOLDER CARDS [--runs N]
Needs Xvfb and xdotool.
"""
import argparse, os, re, shutil, statistics, subprocess, tempfile, time

p = argparse.ArgumentParser()
p.add_argument("exe")
p.add_argument("folder")
p.add_argument("cards")
p.add_argument("--runs", type=int, default=3)
a = p.parse_args()

num = next(n for n in range(400, 700) if not os.path.exists(f"/tmp/.X11-unix/X{n}") and
           not os.path.exists(f"/tmp/.X{n}-lock"))
xvfb = subprocess.Popen(["Xvfb", f":{num}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
env = dict(os.environ, DISPLAY=f":{num}", QT_QPA_PLATFORM="xcb", LANG="C.UTF-8", LC_ALL="C.UTF-8",
           QT_LOGGING_RULES="quillmark.steps.debug=true")
env.pop("WAYLAND_DISPLAY", None)
MARK = re.compile(r"quillmark\.steps:\s+(-?[0-9.]+) ms\s+(-?[0-9.]+) ms\s+(.*)")


def peak(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(l.split()[1]) for l in f if l.startswith("VmHWM")) * 1024


def marks(path):
    found = []
    with open(path, errors="replace") as f:
        for line in f:
            m = MARK.match(line.strip())
            if m:
                found.append((float(m.group(1)) / 1000, float(m.group(2)) / 1000, m.group(3)))
    return found


def xdotool(*args):
    subprocess.run(["xdotool", *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def run():
    work = tempfile.mkdtemp(prefix="steps-seen-")
    try:
        folder = os.path.join(work, "collection")
        shutil.copytree(a.folder, folder)
        err = os.path.join(work, "steps.txt")
        renv = dict(env, HOME=os.path.join(work, "home"), XDG_RUNTIME_DIR=work)
        with open(err, "w") as errf:
            proc = subprocess.Popen([a.exe, folder], env=renv, stdout=subprocess.DEVNULL, stderr=errf)
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline and proc.poll() is None:
            steps = [s[2] for s in marks(err)]
            if "first paint" in steps:
                break
            time.sleep(0.05)
        # Today's backup and the rest behind the paint end within the second.
        time.sleep(1.5)
        if proc.poll() is not None:
            raise SystemExit(f"the program ended during its start (exit {proc.returncode})")
        wid = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(proc.pid), "--name", "."],
                             env=env, capture_output=True, text=True).stdout.split()
        xdotool("windowfocus", "--sync", wid[0])
        xdotool("key", "ctrl+f")
        time.sleep(0.5)
        xdotool("type", "--delay", "60", "e")
        time.sleep(1.5)
        filtered = peak(proc.pid)
        xdotool("key", "Escape")
        time.sleep(0.5)
        xdotool("key", "Escape")
        proc.wait(120)
        return marks(err), filtered
    finally:
        shutil.rmtree(work, ignore_errors=True)


try:
    runs = [run() for _ in range(a.runs)]
finally:
    xvfb.terminate()
    xvfb.wait()


def painted(r):
    return next((s[0] for s in r[0] if s[2] == "first paint"), float("inf"))


median = sorted(runs, key=painted)[len(runs) // 2]
for i, (wall, cpu, label) in enumerate(median[0]):
    print(f"RESULT\t{a.cards}\tstep_{i:02d}_label\t{label}")
    print(f"RESULT\t{a.cards}\tstep_{i:02d}_s\t{wall:.4f}")
    print(f"RESULT\t{a.cards}\tstep_{i:02d}_cpu_s\t{cpu:.4f}")
print(f"RESULT\t{a.cards}\tseen_peak_filter_bytes\t{statistics.median(r[1] for r in runs)}")
