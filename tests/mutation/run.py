#!/usr/bin/env python3
"""Mutation testing: does the ordinary test suite notice a plausible bug?

Each mutant in mutants.py swaps one exact piece of text in one file for
another. This script copies the repository's files to a scratch tree
(build-mutation/source), configures it once as the `test` preset does, and
then, for each mutant: applies it, builds incrementally, runs the whole
suite with CTest (stopping at the first failing test), records the mutant as
killed, survived or did-not-compile, and puts the file back. A mutant with a
`check` (of the packages, which the suite does not see) runs that shell
command in the copy instead, and is killed when it fails. A mutant marked
`sanitizer` (a fault that only memory checking sees, such as a write one
entry past an array, which lands in memory nobody reads) is built and tested
with the asan preset instead, in its own build directory beside the first.

    tests/mutation/run.py                 every mutant
    tests/mutation/run.py --list          the table, without running anything
    tests/mutation/run.py ID [ID ...]     only these (shell-style patterns work: 'links-*')
    tests/mutation/run.py --file cli/     only mutants of files whose path contains cli/

It never touches the working tree: the copy is refreshed from it at the
start of every run, so uncommitted edits are tested too.
"""

import argparse
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from mutants import MUTANTS  # noqa: E402

REPOSITORY = HERE.parent.parent
SCRATCH = REPOSITORY / "build-mutation"
SOURCE = SCRATCH / "source"
TEST_PRESET = "test"
SANITIZER_PRESET = "asan"  # AddressSanitizer and UndefinedBehaviorSanitizer


def use_scratch(directory):
    global SCRATCH, SOURCE
    SCRATCH = Path(directory).resolve()
    SOURCE = SCRATCH / "source"


def preset_of(mutant):
    return SANITIZER_PRESET if mutant.sanitizer else TEST_PRESET


def repository_files():
    """Tracked files, and new ones not yet ignored, relative to the repository."""
    listed = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=REPOSITORY, check=True, capture_output=True).stdout
    return [name for name in listed.decode().split("\0") if name and (REPOSITORY / name).is_file()]


def refresh_copy():
    """Brings the scratch tree up to the working tree; unchanged files keep
    their times, so the build after it is incremental."""
    names = set(repository_files())
    for name in names:
        source, copy = REPOSITORY / name, SOURCE / name
        if copy.is_file() and copy.read_bytes() == source.read_bytes():
            continue
        copy.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(source, copy)
        shutil.copymode(source, copy)
    for root, directories, files in os.walk(SOURCE):
        if Path(root) == SOURCE:  # builds of the test suite and of the checks
            directories[:] = [d for d in directories if not d.startswith("build-")]
        for file in files:
            path = Path(root) / file
            if str(path.relative_to(SOURCE)) not in names:
                path.unlink()


def run(command, log, timeout=None):
    """Runs a command with its output appended to the log; its exit status
    (None if it ran out of time) and its output."""
    try:
        done = subprocess.run(command, cwd=SOURCE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout)
        status, output = done.returncode, done.stdout
    except subprocess.TimeoutExpired as expired:
        status, output = None, expired.stdout or b""
    with open(log, "ab") as out:
        out.write(("\n$ " + " ".join(command) + "\n").encode() + output)
    return status, output.decode(errors="replace")


def configure(log, preset):
    """Configures the preset's build once, in the copy's build-PRESET."""
    if (SOURCE / f"build-{preset}" / "CMakeCache.txt").is_file():
        return True
    command = ["cmake", "--preset", preset]
    # Putting a file back recompiles it as it was before the mutant: ccache,
    # where installed, makes that a copy.
    if shutil.which("ccache"):
        command.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    return run(command, log)[0] == 0


def build(log, jobs, preset=TEST_PRESET):
    return run(["cmake", "--build", "--preset", preset, "-j", str(jobs)], log)[0] == 0


def failing_tests(log, timeout, jobs, preset=TEST_PRESET):
    """The names of the tests that failed (empty if all passed)."""
    command = ["ctest", "--preset", preset, "--stop-on-failure", "--timeout", str(timeout), "-j", str(jobs)]
    # A hung tool cannot outlast the suite's own limit by much.
    status, output = run(command, log, timeout=timeout * 20)
    if status == 0:
        return []
    summary = output.partition("The following tests FAILED:")[2]
    failed = re.findall(r"^\s+\d+ - (\S+).*\(\w[^)]*\)\s*$", summary, re.MULTILINE)
    return failed or ["(the suite did not finish)" if status is None else "(see the log)"]


def failing_check(command, log, timeout):
    """The check as the one thing that failed, or nothing if it passed."""
    status, _ = run(["bash", "-c", command], log, timeout=timeout * 20)
    return [] if status == 0 else [f"check: {command}"]


def apply(mutant):
    """The original text of the mutated file, after writing the mutant."""
    path = SOURCE / mutant.file
    original = path.read_text()
    count = original.count(mutant.find)
    if count != 1:
        raise SystemExit(f"{mutant.id}: the text to replace occurs {count} times in {mutant.file}, not once")
    path.write_text(original.replace(mutant.find, mutant.replace))
    return original


def check_table(mutants):
    """Every mutant names an existing file and text that occurs there once."""
    problems = []
    seen = set()
    for mutant in mutants:
        if mutant.id in seen:
            problems.append(f"{mutant.id}: the id is used twice")
        seen.add(mutant.id)
        path = REPOSITORY / mutant.file
        if not path.is_file():
            problems.append(f"{mutant.id}: no file {mutant.file}")
            continue
        count = path.read_text().count(mutant.find)
        if count != 1:
            problems.append(f"{mutant.id}: the text occurs {count} times in {mutant.file}")
        if mutant.find == mutant.replace:
            problems.append(f"{mutant.id}: the replacement is the original")
    return problems


def select(arguments):
    chosen = MUTANTS
    if arguments.ids:
        chosen = [m for m in chosen if any(fnmatch.fnmatchcase(m.id, pattern) for pattern in arguments.ids)]
    if arguments.file:
        chosen = [m for m in chosen if arguments.file in m.file]
    return chosen


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("ids", nargs="*", help="mutant ids or shell-style patterns (default: all)")
    parser.add_argument("--file", help="only mutants of files whose path contains this")
    parser.add_argument("--list", action="store_true", help="list the chosen mutants and check the table")
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test (default 120)")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default 2)")
    parser.add_argument("--scratch", default=str(SCRATCH),
                        help="the scratch directory, for a second run at the same time (default build-mutation)")
    arguments = parser.parse_args()
    use_scratch(arguments.scratch)

    problems = check_table(MUTANTS)
    chosen = select(arguments)
    if arguments.list:
        for mutant in chosen:
            mark = " (equivalent: " + mutant.equivalent + ")" if mutant.equivalent else ""
            mark += " (under asan)" if mutant.sanitizer else ""
            print(f"{mutant.id:28} {mutant.file:34} {mutant.why}{mark}")
        print(f"{len(chosen)} of {len(MUTANTS)} mutants")
    for problem in problems:
        print("table:", problem, file=sys.stderr)
    if problems or arguments.list:
        return 1 if problems else 0
    if not chosen:
        print("no mutant matches", file=sys.stderr)
        return 1

    SCRATCH.mkdir(exist_ok=True)
    log = SCRATCH / "log.txt"
    log.write_text("")
    refresh_copy()
    print(f"scratch tree {SOURCE}, log {log}, results {SCRATCH / 'results.tsv'}")
    presets = [TEST_PRESET] + ([SANITIZER_PRESET] if any(m.sanitizer for m in chosen) else [])
    for preset in presets:
        if not configure(log, preset):
            print(f"configuring the scratch tree's {preset} build failed; see the log", file=sys.stderr)
            return 1
        started = time.monotonic()
        if not build(log, arguments.jobs, preset) or failing_tests(log, arguments.timeout, arguments.jobs, preset):
            print(f"the {preset} suite fails without any mutant; see the log", file=sys.stderr)
            return 1
        print(f"unmutated {preset} build and suite pass ({time.monotonic() - started:.0f} s)")
    for check in sorted({m.check for m in chosen if m.check}):
        if failing_check(check, log, arguments.timeout):
            print(f"the check fails without any mutant: {check}; see the log", file=sys.stderr)
            return 1
        print(f"unmutated check passes: {check}")

    outcomes = {}
    results = SCRATCH / "results.tsv"
    results.write_text("id\toutcome\tkilled by\n")
    for number, mutant in enumerate(chosen, 1):
        started = time.monotonic()
        original = apply(mutant)
        killers = []
        try:
            if mutant.check:
                killers = failing_check(mutant.check, log, arguments.timeout)
                outcome = "killed" if killers else "survived"
            elif not build(log, arguments.jobs, preset_of(mutant)):
                outcome = "did-not-compile"
            else:
                killers = failing_tests(log, arguments.timeout, arguments.jobs, preset_of(mutant))
                outcome = "killed" if killers else "survived"
        finally:
            (SOURCE / mutant.file).write_text(original)
        outcomes[mutant.id] = outcome
        with open(results, "a") as table:
            table.write(f"{mutant.id}\t{outcome}\t{' '.join(killers)}\n")
        print(f"[{number}/{len(chosen)}] {mutant.id:34} {outcome:16} {time.monotonic() - started:4.0f} s "
              f"{' '.join(killers)}", flush=True)
    # Leave the builds matching the unmutated sources.
    for preset in presets:
        build(log, arguments.jobs, preset)

    killed = [m for m in chosen if outcomes[m.id] == "killed"]
    survived = [m for m in chosen if outcomes[m.id] == "survived"]
    broken = [m for m in chosen if outcomes[m.id] == "did-not-compile"]
    equivalent = [m for m in survived if m.equivalent]
    counted = len(killed) + len(survived) - len(equivalent)
    print()
    print(f"killed {len(killed)}, survived {len(survived)} ({len(equivalent)} judged equivalent), "
          f"did not compile {len(broken)}")
    if counted:
        print(f"score: {len(killed)} of {counted} non-equivalent mutants killed, {100 * len(killed) / counted:.1f} %")
    for mutant in survived:
        note = f"  [equivalent: {mutant.equivalent}]" if mutant.equivalent else ""
        print(f"  survived: {mutant.id} ({mutant.file}): {mutant.why}{note}")
    for mutant in broken:
        print(f"  did not compile: {mutant.id} ({mutant.file})")
    for mutant in killed:
        if mutant.equivalent:
            print(f"  note: {mutant.id} is marked equivalent but was killed")
    return 0 if counted and not [m for m in survived if not m.equivalent] else 2


if __name__ == "__main__":
    sys.exit(main())
