#!/usr/bin/env python3
"""Peak memory of Wine's process of a program, phase by phase, sampled from outside.

    sample-peaks.py STATE_DIR

A benchmark program names the phase it enters by writing "PHASE PROGRAM" to
STATE_DIR/bench-phase. For each phase this script finds the newest process of
STATE_DIR's Wine prefix whose command line ends in PROGRAM (Wine's process of
it, not a script that started it), resets the kernel's record of its peak
resident size, answers "PHASE PID" in STATE_DIR/bench-phase.ack, and reads
/proc/PID/status about every millisecond until the phase changes. The phase
"done" ends the run.

Writes STATE_DIR/bench-peaks, a line per phase:
    PHASE PID SAMPLES PRIVATE_AT_START PEAK_PRIVATE PEAK_RESIDENT KERNEL_PEAK_RESIDENT
all in KiB. Private is RssAnon (the process's own resident pages), resident is
VmRSS, and the kernel's peak is VmHWM, which no sampling can miss.
"""
import os
import sys
import time

state = sys.argv[1]
phase_path = os.path.join(state, "bench-phase")
ack_path = os.path.join(state, "bench-phase.ack")
peaks_path = os.path.join(state, "bench-peaks")
give_up = time.monotonic() + 3 * 3600


def read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return None


def status(pid):
    text = read(f"/proc/{pid}/status")
    if text is None:
        return None
    fields = {}
    for line in text.splitlines():
        name, _, value = line.partition(":")
        if name in ("RssAnon", "VmRSS", "VmHWM"):
            fields[name] = int(value.split()[0])
    return fields


def newest(program):
    """The newest process of this state's Wine prefix whose command line ends in `program`:
    other benchmarks and tests on the machine may run programs of the same name."""
    prefix = os.path.join(state, "prefix").encode()
    best, best_start = None, -1
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                command = f.read().replace(b"\0", b" ").strip()
            if not command.endswith(program.encode()):
                continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if b"WINEPREFIX=" + prefix not in f.read().split(b"\0"):
                    continue
            with open(f"/proc/{pid}/stat") as f:
                start = int(f.read().rsplit(")", 1)[1].split()[19])
        except OSError:
            continue
        if start > best_start:
            best, best_start = pid, start
    return best


def answer(text):
    with open(ack_path + ".tmp", "w") as f:
        f.write(text + "\n")
    os.replace(ack_path + ".tmp", ack_path)


results = []
current = None  # [phase, pid, samples, start, peak private, peak resident, kernel peak]


def close_phase():
    if current and current[1]:
        results.append(current)


seen = None
while time.monotonic() < give_up:
    text = (read(phase_path) or "").strip()
    if text and text != seen:
        seen = text
        close_phase()
        phase, _, program = text.partition(" ")
        if phase == "done":
            break
        current = [phase, None, 0, 0, 0, 0, 0]
        while current[1] is None and (read(phase_path) or "").strip() == seen:
            current[1] = newest(program)
            if current[1] is None:
                time.sleep(0.005)
        if current[1] is None:
            continue  # a new phase came first
        try:
            with open(f"/proc/{current[1]}/clear_refs", "w") as f:
                f.write("5")  # resets VmHWM to the current resident size
        except OSError:
            pass
        answer(f"{phase} {current[1]}")
    if current and current[1]:
        now = status(current[1])
        if now:
            if current[2] == 0:
                current[3] = now["RssAnon"]
            current[2] += 1
            current[4] = max(current[4], now["RssAnon"])
            current[5] = max(current[5], now["VmRSS"])
            current[6] = max(current[6], now["VmHWM"])
    time.sleep(0.001)

with open(peaks_path, "w") as f:
    for line in results:
        f.write(" ".join(str(v) for v in line) + "\n")
answer("done -")
