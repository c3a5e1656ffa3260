#!/usr/bin/env python3
"""Start-up time and peak memory of the Linux panel against a minimal Qt window.

Each program is started several times on its own Xvfb display with the
stand-in library beside it. A run measures the time from the start until its
window is mapped, and until the process is idle (no CPU time used for 200 ms
after mapping); the program is then asked to close and /usr/bin/time -v gives
its peak resident memory. Prints the median of the runs and the ratios.

Usage: scripts/startup_benchmark.py [BUILD_BIN_DIR] [RUNS]
"""
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

BIN = sys.argv[1] if len(sys.argv) > 1 else "build/linux/bin"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 7
TICK = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def child_of(pid, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        out = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout
        if out.strip():
            return int(out.split()[0])
        time.sleep(0.002)
    raise RuntimeError("the program did not start")


def window_mapped(display, title):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                          env={**os.environ, "DISPLAY": display},
                          capture_output=True).returncode == 0


def one_run(display, program, title):
    with tempfile.NamedTemporaryFile(suffix=".time") as report:
        env = {**os.environ, "DISPLAY": display, "QT_QPA_PLATFORM": "xcb"}
        env.pop("DALVENIX_SIM_TRACE", None)
        start = time.monotonic()
        timer = subprocess.Popen(["/usr/bin/time", "-v", "-o", report.name, program], env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pid = child_of(timer.pid)
        while not window_mapped(display, title):
            if time.monotonic() - start > 30:
                raise RuntimeError(f"{program}: no window titled {title!r}")
            time.sleep(0.002)
        mapped = time.monotonic() - start
        idle_since, last_cpu = time.monotonic(), cpu_seconds(pid)
        while time.monotonic() - idle_since < 0.2:
            time.sleep(0.01)
            now = cpu_seconds(pid)
            if now != last_cpu:
                idle_since, last_cpu = time.monotonic(), now
        idle = idle_since - start
        os.kill(pid, signal.SIGTERM)
        timer.wait(timeout=30)
        text = open(report.name).read()
        peak_kib = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))
        return mapped, idle, peak_kib


def measure(program, title):
    display = ":" + str(90 + os.getpid() % 100)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(500):
            if subprocess.run(["xdpyinfo", "-display", display],
                              capture_output=True).returncode == 0:
                break
            time.sleep(0.01)
        one_run(display, program, title)  # warms the file cache; not counted
        runs = [one_run(display, program, title) for _ in range(RUNS)]
    finally:
        xvfb.terminate()
        xvfb.wait()
    return tuple(statistics.median(column) for column in zip(*runs))


def main():
    for tool in ("Xvfb", "xdotool", "xdpyinfo", "pgrep"):
        if shutil.which(tool) is None:
            sys.exit(f"startup_benchmark: {tool} is missing (bash scripts/setup.sh installs it)")
    panel = measure(os.path.join(BIN, "dalvenix-test"), "DALVENIX TEST")
    minimal = measure(os.path.join(BIN, "minimal_qt_window"), "MINIMAL QT WINDOW")
    print(f"median of {RUNS} runs    mapped (ms)   idle (ms)   peak RSS (MiB)")
    for name, (mapped, idle, peak) in (("panel", panel), ("minimal Qt", minimal)):
        print(f"{name:<20} {mapped * 1000:10.1f} {idle * 1000:11.1f} {peak / 1024:14.1f}")
    print(f"{'panel / minimal':<20} {panel[0] / minimal[0]:9.2f}x {panel[1] / minimal[1]:10.2f}x "
          f"{panel[2] / minimal[2]:13.2f}x")


if __name__ == "__main__":
    main()
