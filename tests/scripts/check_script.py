#!/usr/bin/env python3
"""Runs one script through a command-line runner (vbs or js) and compares
what it printed with the expectations beside it.

  check_script.py RUNNER FILE

FILE.out (FILE without its extension, then .out) holds the exact standard
output. FILE.err, when present, holds the exact standard error, and the
run must then end with exit code 1; without it standard error must stay
empty and the exit code be 0. FILE.args, when present, holds the script's
arguments, one a line. The script runs in its own folder under its bare
file name, so that error lines name it the same way everywhere.
"""
import difflib
import os
import subprocess
import sys

TIMEOUT_SECONDS = 10


def read_text(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def diff(expected, actual, what):
    lines = difflib.unified_diff(expected.splitlines(keepends=True), actual.splitlines(keepends=True),
                                 fromfile="expected " + what, tofile="actual " + what)
    text = "".join(lines)
    return text if text.endswith("\n") else text + "\n"


def main(argv):
    if len(argv) != 3:
        print("usage: check_script.py RUNNER FILE", file=sys.stderr)
        return 2
    runner, script = os.path.abspath(argv[1]), os.path.abspath(argv[2])
    stem = os.path.splitext(script)[0]
    if not os.path.exists(stem + ".out"):
        print(f"{stem}.out is missing", file=sys.stderr)
        return 2
    expected_out = read_text(stem + ".out")
    expected_err = read_text(stem + ".err") if os.path.exists(stem + ".err") else ""
    expected_code = 1 if os.path.exists(stem + ".err") else 0
    args = read_text(stem + ".args").splitlines() if os.path.exists(stem + ".args") else []

    try:
        run = subprocess.run([runner, os.path.basename(script)] + args, cwd=os.path.dirname(script),
                             capture_output=True, timeout=TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        print(f"{script}: no end after {TIMEOUT_SECONDS} s", file=sys.stderr)
        return 1
    out = run.stdout.decode("utf-8", errors="replace").replace("\r\n", "\n")
    err = run.stderr.decode("utf-8", errors="replace").replace("\r\n", "\n")

    failed = False
    if out != expected_out:
        sys.stdout.write(diff(expected_out, out, "stdout"))
        failed = True
    if err != expected_err:
        sys.stdout.write(diff(expected_err, err, "stderr"))
        failed = True
    if run.returncode != expected_code:
        print(f"exit code {run.returncode}, expected {expected_code}")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
