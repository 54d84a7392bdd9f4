#!/usr/bin/env python3
"""Plants faults in the program, one at a time, and checks that the tests catch each.

    scripts/planted-faults.py              every fault in scripts/planted-faults.txt
    scripts/planted-faults.py ID...        only these faults
    scripts/planted-faults.py --check      only checks that every fault still applies to the
                                           working tree (read only; a CTest runs this)

Works in a scratch git worktree of the current commit ($VINDELOR_FAULTS_DIR, by default
/tmp/vindelor-planted-faults), never in the working tree, and keeps its build folders there so
that a later run rebuilds only what a fault touches. For each fault it edits one file, rebuilds,
runs the tests the list names for it, restores the file, and records whether a test failed
("caught"), none did ("MISSED"), or the fault no longer applies or builds. Ends with a table and
exit code 1 when a fault was not caught. Run by hand; a full run takes about an hour.

The list: blocks that start with "## ID: what the fault breaks", then
    file: path of the source the fault edits
    tests: a ctest regular expression for the Windows tests that must catch it
    host: the same for the host tests (either line, or both)
    - the exact text the fault replaces, one "- " line per source line
    + the text it puts there instead (no "+" lines: the text is deleted)
A fault that needs edits in more than one place repeats "file:" and its "-" and "+" lines.
"""
import os
import re
import subprocess
import sys
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "scripts", "planted-faults.txt")
SCRATCH = os.environ.get("VINDELOR_FAULTS_DIR", "/tmp/vindelor-planted-faults")


@dataclass
class Edit:
    file: str
    old: list = field(default_factory=list)
    new: list = field(default_factory=list)


@dataclass
class Fault:
    id: str
    breaks: str
    tests: str = ""
    host: str = ""
    edits: list = field(default_factory=list)


def read_faults(path):
    faults = []
    with open(path, encoding="utf-8") as listing:
        for number, line in enumerate(listing, 1):
            line = line.rstrip("\n")
            heading = re.match(r"## ([\w-]+): (.+)", line)
            if heading:
                faults.append(Fault(heading[1], heading[2]))
            elif not faults or not line.strip() or line.startswith("#"):
                continue
            elif (line.startswith(("- ", "+ ")) or line in ("-", "+")) and faults[-1].edits:
                edit = faults[-1].edits[-1]
                (edit.old if line[0] == "-" else edit.new).append(line[2:])
            elif line.startswith("file: "):
                faults[-1].edits.append(Edit(line[6:].strip()))
            elif re.match(r"(tests|host): ", line):
                key, value = line.split(": ", 1)
                setattr(faults[-1], key, value.strip())
            else:
                sys.exit(f"{path}:{number}: not part of a fault: {line}")
    ids = [fault.id for fault in faults]
    for fault in faults:
        if not fault.edits or not all(e.old for e in fault.edits) or not (fault.tests or fault.host):
            sys.exit(f"fault {fault.id}: needs file, tests or host, and '-' lines")
        if ids.count(fault.id) > 1:
            sys.exit(f"fault {fault.id}: listed twice")
    return faults


def run(command, cwd, log):
    with open(log, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(command)}\n")
        out.flush()
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def prepare_scratch():
    commit = subprocess.check_output(["git", "-C", ROOT, "rev-parse", "HEAD"], text=True).strip()
    if not os.path.isdir(os.path.join(SCRATCH, ".git")) and not os.path.isfile(
        os.path.join(SCRATCH, ".git")
    ):
        subprocess.check_call(["git", "-C", ROOT, "worktree", "add", "--detach", "--force",
                               SCRATCH, commit])
    subprocess.check_call(["git", "-C", SCRATCH, "checkout", "--quiet", "--detach", "--force",
                           commit])
    subprocess.check_call(["git", "-C", SCRATCH, "clean", "--quiet", "-d", "--force"])
    return commit


def plant(fault, tree=SCRATCH):
    """Each edited file's path and text with the fault in it, or None when a text to replace is
    not there exactly once."""
    planted = {}
    for edit in fault.edits:
        path = os.path.join(tree, edit.file)
        if path not in planted:
            with open(path, encoding="utf-8") as source:
                planted[path] = source.read()
        old = "\n".join(edit.old) + "\n"
        new = "\n".join(edit.new) + ("\n" if edit.new else "")
        if planted[path].count(old) != 1:
            return None
        planted[path] = planted[path].replace(old, new)
    return planted


def failed_tests(log, start):
    with open(log, encoding="utf-8", errors="replace") as out:
        out.seek(start)
        return re.findall(r"^\s*\d+ - (\S+) \(", out.read(), re.M)


def no_tests_found(log, start):
    with open(log, encoding="utf-8", errors="replace") as out:
        out.seek(start)
        return "No tests were found" in out.read()


def stop_services():
    base = os.path.join(SCRATCH, "build", "windows")
    for name in os.listdir(base) if os.path.isdir(base) else []:
        if name == "harness" or name.startswith("harness-"):
            subprocess.run([os.path.join(ROOT, "harness", "services.sh"), "stop",
                            os.path.join(base, name)], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)


def main(arguments):
    check_only = "--check" in arguments
    wanted = [argument for argument in arguments if not argument.startswith("--")]
    faults = [fault for fault in read_faults(LIST) if not wanted or fault.id in wanted]
    if wanted and len(faults) != len(set(wanted)):
        sys.exit("unknown fault: " + " ".join(set(wanted) - {fault.id for fault in faults}))
    if check_only:
        stale = [fault.id for fault in faults if plant(fault, ROOT) is None]
        print(f"all {len(faults)} faults apply" if not stale else "do not apply: " + " ".join(stale))
        return 1 if stale else 0
    commit = prepare_scratch()
    log = os.path.join(SCRATCH, "planted-faults.log")
    open(log, "w").close()

    subprocess.check_call([os.path.join(ROOT, "scripts", "setup.sh")], stdout=subprocess.DEVNULL)
    presets = {"windows"} | ({"host"} if any(fault.host for fault in faults) else set())
    for preset in sorted(presets):
        if run(["cmake", "--preset", preset], SCRATCH, log) or run(
            ["cmake", "--build", "--preset", preset], SCRATCH, log
        ):
            sys.exit(f"the unplanted {preset} build fails; see {log}")

    rows = []
    try:
        for fault in faults:
            planted = plant(fault)
            if planted is None:
                rows.append((fault, "does not apply", "", 0.0))
                continue
            for path, text in planted.items():
                with open(path, "w", encoding="utf-8") as source:
                    source.write(text)
            runs = [(preset, regex) for preset, regex in (("host", fault.host),
                                                          ("windows", fault.tests)) if regex]
            try:
                built = all(run(["cmake", "--build", "--preset", preset], SCRATCH, log) == 0
                            for preset, _ in runs)
                started, caught_by = time.monotonic(), []
                for preset, regex in runs if built else []:
                    offset = os.path.getsize(log)
                    if run(["ctest", "--preset", preset, "-R", regex], SCRATCH, log):
                        caught_by += failed_tests(log, offset) or [f"{preset} tests"]
                    if no_tests_found(log, offset):
                        caught_by = [f"no test matches {regex}"]
                        break
                seconds = time.monotonic() - started
                outcome = ("does not build" if not built else "MISSED" if not caught_by or
                           caught_by[0].startswith("no test") else "caught")
                rows.append((fault, outcome, " ".join(caught_by), seconds))
            finally:
                subprocess.check_call(["git", "-C", SCRATCH, "checkout", "--quiet", "--"] +
                                      sorted({edit.file for edit in fault.edits}))
            print(f"{fault.id}: {rows[-1][1]} {rows[-1][2]}", flush=True)
    finally:
        stop_services()
        # The next run starts from the unplanted build.
        for preset in sorted(presets):
            run(["cmake", "--build", "--preset", preset], SCRATCH, log)

    print(f"\nPlanted faults at {commit[:10]} (log: {log})\n")
    print(f"| {'fault':<34} | {'outcome':<14} | {'seconds':>7} | caught by")
    print(f"|{'-' * 36}|{'-' * 16}|{'-' * 9}|{'-' * 40}")
    for fault, outcome, by, seconds in rows:
        print(f"| {fault.id:<34} | {outcome:<14} | {seconds:7.1f} | {by}")
    caught = sum(1 for row in rows if row[1] == "caught")
    print(f"\n{caught} of {len(rows)} faults caught")
    return 0 if caught == len(rows) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
