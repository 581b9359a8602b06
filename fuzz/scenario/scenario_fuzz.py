#!/usr/bin/env python3
"""The scenario fuzzer: random scenarios (mouse, wheel, keys, drops,
dialog answers, menus, the properties page, saves, snapshots and state
dumps) fed to a headless kivhost running one to three sample desklets,
until the time is up. Every run must end on its own with exit code 0, no
sanitizer report and a state dump that holds every desklet, with its
layers and an error log that only lists lines (a failing statement may
write to it; a crash, a hang or a lost desklet may not). A failing
scenario is kept in the crash folder with its command line.

    scenario_fuzz.py KIVHOST SECONDS [--crashes FOLDER] [--seed S]
"""

import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKINS = ["hello", "twosided", "clock", "news", "form", "menus", "vbcounter"]
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "WARNING: ThreadSanitizer")
KEYS = ["Left", "Right", "Up", "Down", "Home", "End", "Delete", "Backspace", "Tab", "Enter", "Escape",
        "PageUp", "PageDown", "F4"]
RUN_SECONDS = 60
FONTS = Path(__file__).resolve().parents[2] / "tests" / "support" / "fonts.conf"


def coordinate(rng):
    return rng.choice([rng.randrange(0, 300), rng.randrange(-50, 0), rng.randrange(300, 40000), 0, 32767, -32768])


def text(rng):
    pool = ["a", "Z", "0", " ", "<CR>", "<ESC>", "<TAB>", "<BS>", "é", "€", "\u65e5", "%", "\"", "'"]
    return "".join(rng.choice(pool) for _ in range(rng.randrange(1, 12)))


def command(rng, scratch):
    x, y = coordinate(rng), coordinate(rng)
    flags = rng.choice([1, 2, 4, 8, 5, 9, 0])
    kinds = [
        lambda: f"move {x} {y}",
        lambda: f"click {x} {y} {flags}",
        lambda: f"down {x} {y} {flags}",
        lambda: f"up {x} {y} {flags}",
        lambda: f"rclick {x} {y}",
        lambda: f"wheel {rng.choice([1, -1, 3, -7, 120])} {x} {y}",
        lambda: f"key {text(rng)}",
        lambda: f"press {rng.choice(KEYS)}" + rng.choice(["", " shift"]),
        lambda: f"drop {scratch}/none.png \"{scratch}/a b.txt\"",
        lambda: "select",
        lambda: "deselect",
        lambda: "leave",
        lambda: "answer " + rng.choice(["menu 1", "menu 3", "menu 99", "input fuzz", "yes", "no", "cancel",
                                        f"file {scratch}/answer.txt", "color #FF8800"]),
        lambda: f"wait {rng.choice([0, 1, 10, 50, 200, 700])}",
        lambda: "save",
        lambda: "properties\n" + rng.choice(["button Clear Log", "button Check Now", "button Auto Check for Updates",
                                             "wait 10"]) + "\nproperties close",
        lambda: f"snapshot {scratch}/shot.png",
        lambda: f"state {scratch}/mid.json",
    ]
    return rng.choice(kinds)()


def check_state(path, desklets, may_close):
    """`may_close`: the scenario answered the host's desklet menu, whose
    choices include closing the desklet."""
    state = json.loads(Path(path).read_text())
    listed = state.get("desklets")
    if not isinstance(listed, list) or len(listed) > desklets or (len(listed) < desklets and not may_close):
        raise AssertionError(f"the state lists {len(listed) if isinstance(listed, list) else listed} desklets, "
                             f"not {desklets}")
    for desklet in listed:
        if not isinstance(desklet.get("layers"), list) or not isinstance(desklet.get("errorLog"), list):
            raise AssertionError("a desklet without its layers or error log")


def run_one(kivhost, seed, scratch):
    rng = random.Random(seed)
    scratch.mkdir(parents=True, exist_ok=True)
    (scratch / "a b.txt").write_text("dropped\n")
    chosen = [rng.choice(SKINS) for _ in range(rng.randrange(1, 4))]
    skins = [str(kivhost.parent / name / f"{name}.xml") for name in chosen]
    lines = [command(rng, scratch) for _ in range(rng.randrange(10, 80))]
    scenario = scratch / "scenario.txt"
    scenario.write_text("\n".join(lines + ["quit"]) + "\n")
    state = scratch / "state.json"
    argv = [str(kivhost), "--headless", "--quiet", "--scenario", str(scenario), "--state", str(state)] + skins
    env = dict(os.environ, HOME=str(scratch), FONTCONFIG_FILE=str(FONTS), XDG_CACHE_HOME=str(scratch / "cache"),
               XDG_CONFIG_HOME=str(scratch / "config"))
    try:
        done = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                              timeout=RUN_SECONDS)
    except subprocess.TimeoutExpired:
        return argv, scenario, f"no end within {RUN_SECONDS} s"
    report = next((line for line in done.stderr.splitlines() if any(m in line for m in SANITIZER_MARKS)), None)
    if report:
        return argv, scenario, report
    if done.returncode == 3 and "kivhost: scenario error" in done.stderr:
        # A line the scenario reader refuses where it stands (a button of
        # a page that shows none): kivhost's own answer, not a finding.
        return argv, scenario, "rejected"
    if done.returncode != 0:
        return argv, scenario, f"exit code {done.returncode}: {done.stderr[-1500:]}"
    try:
        check_state(state, len(skins), any(line.startswith("rclick") for line in lines))
    except (AssertionError, ValueError, OSError) as error:
        return argv, scenario, f"state dump: {error}"
    return argv, scenario, None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kivhost")
    parser.add_argument("seconds", type=float)
    parser.add_argument("--crashes", default="build/fuzz/crashes")
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    kivhost = Path(args.kivhost).resolve()
    first = args.seed if args.seed is not None else random.randrange(1 << 30)
    start, runs, rejected = time.monotonic(), 0, 0
    with tempfile.TemporaryDirectory(prefix="kiv-scenario-") as folder:
        while runs == 0 or time.monotonic() - start < args.seconds:
            seed = first + runs
            scratch = Path(folder) / str(runs)
            argv, scenario, failure = run_one(kivhost, seed, scratch)
            runs += 1
            if failure == "rejected":
                rejected += 1
            elif failure:
                crashes = Path(args.crashes)
                crashes.mkdir(parents=True, exist_ok=True)
                kept = crashes / f"scenario-{seed}.txt"
                shutil.copy(scenario, kept)
                print(f"scenario fuzz: seed {seed} failed: {failure}\n  scenario kept in {kept}\n  "
                      f"again: {sys.argv[0]} {args.kivhost} 0 --seed {seed}", file=sys.stderr)
                sys.exit(1)
            shutil.rmtree(scratch, ignore_errors=True)
    print(f"scenario fuzz: {runs} scenarios in {time.monotonic() - start:.0f} s from seed {first}, all ended cleanly "
          f"({rejected} stopped at a line kivhost refused)")


if __name__ == "__main__":
    main()
