#!/usr/bin/env python3
"""Plants small faults in the engine's sources one at a time and runs the tests
against each; see mutants.sh for the options."""
import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
# The Qt and host glue only forward to the toolkit; the tests do not drive it.
# Headers are left out: a fault in one rebuilds most of the program.
SKIP = ("src/platform/qt/", "src/platform/host/")
SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
        "&&": "||", "||": "&&", "+ 1": "+ 2", "true": "false", "false": "true"}
# Binary operators written with a space either side; the spaces keep template
# brackets, shifts and arrows out.
OPS = re.compile(r"(?<=\s)(<=|>=|==|!=|&&|\|\||<|>)(?=\s)|(?<=\s)\+ 1(?![\w.'])|\b(true|false)\b")


def blank_comments_and_strings(text):
    """Same length, with comments, string and character literals and
    preprocessor lines turned to spaces, so that no site falls inside them."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = i
            while j < n and not (text[j] == "\n" and text[j - 1] != "\\"):
                j += 1
            for k in range(i, j):
                out[k] = " "
            i = j
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not text[i - 1].isalnum()):
            m = re.match(r'R"([^(]*)\(', text[i:])
            j = text.find(")" + m.group(1) + '"', i) + len(m.group(1)) + 2 if m else i + 1
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != "\n":
                out[k] = " "
        i = j
    return "".join(out)


def sites():
    found = []
    for base, dirs, files in os.walk(os.path.join(ROOT, "src")):
        dirs.sort()
        for name in sorted(files):
            if not name.endswith(".cpp"):
                continue
            path = os.path.relpath(os.path.join(base, name), ROOT)
            if path.startswith(SKIP):
                continue
            with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                text = f.read()
            code = blank_comments_and_strings(text)
            for m in OPS.finditer(code):
                op = m.group(0)
                line = code.count("\n", 0, m.start()) + 1
                col = m.start() - (code.rfind("\n", 0, m.start()) + 1) + 1
                found.append((path, line, col, m.start(), op))
    found.sort()
    return found


class Planted:
    """One fault in one file; the file is put back however the run ends."""
    current = None

    def __init__(self, site):
        self.path = os.path.join(ROOT, site[0])
        with open(self.path, "rb") as f:
            self.original = f.read()
        text = self.original.decode("utf-8")
        offset, op = site[3], site[4]
        assert text[offset:offset + len(op)] == op, site
        mutated = text[:offset] + SWAP[op] + text[offset + len(op):]
        with open(self.path + ".mutant-original", "wb") as f:
            f.write(self.original)
        Planted.current = self
        with open(self.path, "wb") as f:
            f.write(mutated.encode("utf-8"))

    def restore(self):
        if Planted.current is not self:
            return
        with open(self.path, "wb") as f:
            f.write(self.original)
        os.remove(self.path + ".mutant-original")
        Planted.current = None


def restore_leftovers():
    """A run killed hard leaves the original beside the file: put it back."""
    for base, _, files in os.walk(os.path.join(ROOT, "src")):
        for name in files:
            if name.endswith(".mutant-original"):
                keep = os.path.join(base, name)
                os.replace(keep, keep[: -len(".mutant-original")])
                print(f"restored {os.path.relpath(keep[: -len('.mutant-original')], ROOT)}")


def on_signal(signum, _frame):
    for proc in list(Running):
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    if Planted.current:
        Planted.current.restore()
    sys.exit(128 + signum)


Running = []  # child processes, stopped with the run


def run(cmd, timeout, log, cwd=None):
    with open(log, "ab") as out:
        proc = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, start_new_session=True, cwd=cwd)
        Running.append(proc)
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            return None
        finally:
            Running.remove(proc)


def run_tests(binaries, jobs, timeout, log):
    """Runs the test programs, `jobs` at a time, each stopping at its first
    failure; stops the rest as soon as one fails. Returns (passed, why)."""
    queue = list(binaries)
    live = {}
    deadline = time.time() + timeout
    failed = None
    with open(log, "ab") as out:
        while (queue or live) and failed is None:
            while queue and len(live) < jobs:
                b = queue.pop(0)
                proc = subprocess.Popen([b, "--gtest_fail_fast", "--gtest_brief=1"], stdout=out,
                                        stderr=subprocess.STDOUT, start_new_session=True,
                                        cwd=os.path.dirname(b))
                Running.append(proc)
                live[proc] = b
            time.sleep(0.05)
            for proc, b in list(live.items()):
                if proc.poll() is not None:
                    del live[proc]
                    Running.remove(proc)
                    if proc.returncode != 0:
                        failed = os.path.basename(b)
            if failed is None and time.time() > deadline:
                failed = "hang"
        for proc in live:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            Running.remove(proc)
    if failed is None:
        return True, ""
    return False, failed if failed == "hang" else f"{failed}: {first_failure(log)}"


def first_failure(log):
    with open(log, errors="replace") as f:
        for line in f:
            m = re.match(r"\[  FAILED  \] (\S+)", line)
            if m:
                return m.group(1)
    return "?"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--seed", type=int, default=18)
    ap.add_argument("-n", type=int, default=40)
    ap.add_argument("--build", default=os.path.join(ROOT, "build-mutants"))
    ap.add_argument("--timeout", type=int, help="seconds a mutant's test run may take (four times the unmutated run)")
    ap.add_argument("--list", action="store_true", help="print the chosen sites and stop")
    ap.add_argument("--only", help="run only these of the chosen sites, by number: 3,12")
    args = ap.parse_args()

    restore_leftovers()
    every = sites()
    chosen = sorted(random.Random(args.seed).sample(every, min(args.n, len(every))))
    print(f"{len(every)} sites, seed {args.seed}, {len(chosen)} chosen")
    for k, s in enumerate(chosen, 1):
        print(f"  #{k:02d} {s[0]}:{s[1]}:{s[2]} {s[4]} -> {SWAP[s[4]]}")
    if args.list:
        return 0

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    os.makedirs(args.build, exist_ok=True)
    log = os.path.join(args.build, "mutant.log")
    subprocess.run(["cmake", "-S", ROOT, "-B", args.build, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DMIREL_BUILD_BENCH=OFF",
                    "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                    # Every fault relinks every program: the fast linker pays.
                    "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"], check=True, stdout=subprocess.DEVNULL)
    # One test program per folder of tests; building them builds what they need.
    tests = os.path.join(ROOT, "tests")
    targets = sorted("test_" + d for d in os.listdir(tests) if os.path.isdir(os.path.join(tests, d))
                     and any(n.endswith("_test.cpp") for n in os.listdir(os.path.join(tests, d))))
    build = ["ninja", "-C", args.build, "-j2"] + targets
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    open(log, "w").close()
    if run(build, None, log) != 0:
        print(f"the unmutated tree does not build; see {log}")
        return 1
    # The unmutated run times each program; the longest start first.
    cost = {}
    for t in targets:
        b = os.path.join(args.build, "tests", t)
        start = time.time()
        if run([b, "--gtest_brief=1"], None, log, cwd=os.path.dirname(b)) != 0:
            print(f"the unmutated {t} does not pass; see {log}")
            return 1
        cost[b] = time.time() - start
    binaries = sorted(cost, key=lambda b: -cost[b])
    print(f"unmutated tests pass in {sum(cost.values()):.0f} s of test time", flush=True)
    timeout = args.timeout or max(120, 4 * sum(cost.values()))

    only = {int(k) for k in args.only.split(",")} if args.only else None
    tally = {"killed": 0, "survived": 0, "stillborn": 0}
    for k, s in enumerate(chosen, 1):
        if only and k not in only:
            continue
        start = time.time()
        planted = Planted(s)
        try:
            open(log, "w").close()
            # A fault can hang a program the build runs (the demo maker):
            # such a build counts as not built.
            built = run(build, 20 * 60, log)
            if built != 0:
                verdict, why = "stillborn", "" if built is not None else "(the build hung)"
            else:
                passed, why = run_tests(binaries, 2, timeout, log)
                verdict = "survived" if passed else "killed"
                why = f"({why})" if why else ""
        finally:
            planted.restore()
        tally[verdict] += 1
        print(f"#{k:02d} {s[0]}:{s[1]}:{s[2]} {s[4]} -> {SWAP[s[4]]}: {verdict} {why} "
              f"[{time.time() - start:.0f} s]", flush=True)
    # Leave the build matching the restored sources.
    run(build, None, log)
    print(f"killed {tally['killed']}, survived {tally['survived']}, stillborn {tally['stillborn']} "
          f"of {len(only) if only else len(chosen)} (seed {args.seed})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
