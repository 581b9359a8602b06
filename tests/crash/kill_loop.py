#!/usr/bin/env python3
"""Kills kivhost with SIGKILL at random moments while its desklet saves its
settings and writes its data cache, and checks after every kill that
nothing is half-written or lost:

- the settings file holds the desklet's section whole: its counter, the
  check derived from it and the pad whose length follows it agree, so the
  section is one save and not parts of two;
- the counter never goes back: every restart brings the desklet back with
  its last complete settings (a restart that lost them starts again at 0);
- every file of the data cache that is not a temporary is a whole document.

The desklet (saver/) raises its counter every 30 ms and fetches a feed
from a loopback server again and again; the scenario saves every 25 ms.
The first run makes the desklet from its skin, every later one restores it
from the settings file. A last run ends normally and must exit cleanly.

    kill_loop.py KIVHOST [--kills N] [--seed S]
"""

import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.dom.minidom
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from feed_server import FeedServer  # noqa: E402

HERE = Path(__file__).resolve().parent
SECTION = "Saver1"
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "WARNING: ThreadSanitizer")


def read_section(path, section):
    """The keys of the section as kivhost's INI reader reads them (names
    without regard to case, blanks trimmed); None without the section."""
    found, entries, inside = False, {}, False
    for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
        text = line.strip()
        if len(text) >= 2 and text[0] == "[" and text[-1] == "]":
            inside = text[1:-1].strip().lower() == section.lower()
            found = found or inside
        elif inside and "=" in text and text[0] not in ";#":
            key, value = text.split("=", 1)
            entries.setdefault(key.strip().lower(), value.strip())
    return entries if found else None


def check_settings(settings, last_counter):
    """The counter of a whole section, or raises."""
    if not settings.exists():
        return last_counter
    entries = read_section(settings, SECTION)
    if entries is None:
        if last_counter > 0:
            raise AssertionError("the desklet's section is gone")
        return last_counter
    if "counter" not in entries:
        raise AssertionError(f"a section without its counter: {sorted(entries)}")
    counter = int(entries["counter"])
    if entries.get("check") != f"c{counter * 7919 % 100003}":
        raise AssertionError(f"counter {counter} with check {entries.get('check')}: parts of two saves")
    if len(entries.get("pad", "")) != counter % 400 * 100:
        raise AssertionError(f"counter {counter} with a pad of {len(entries.get('pad', ''))}: parts of two saves")
    if counter < last_counter:
        raise AssertionError(f"the counter went back from {last_counter} to {counter}: settings were lost")
    return counter


def check_cache(cache):
    documents = 0
    for path in cache.rglob("*"):
        if not path.is_file() or ".tmp" in path.name or not path.name.endswith(".xml"):
            continue
        try:
            xml.dom.minidom.parse(str(path))
        except Exception as error:  # noqa: BLE001 (any parse failure is the finding)
            raise AssertionError(f"a half-written cache file {path.name}: {error}") from error
        documents += 1
    return documents


def sanitizer_report(stderr):
    return next((line for line in stderr.splitlines() if any(mark in line for mark in SANITIZER_MARKS)), None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kivhost")
    parser.add_argument("--kills", type=int, default=100)
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    print(f"kill loop: {args.kills} kills, seed {seed}")

    with tempfile.TemporaryDirectory(prefix="kiv-kill-") as folder, FeedServer(seed=seed) as server:
        root = Path(folder)
        # The plug-in keeps a skin's path relative to its own folder and looks
        # for a restored desklet's skin there: this run's folder stands in.
        plugin_folder = root / "plugin"
        skin = plugin_folder / "saver"
        shutil.copytree(HERE / "saver", skin)
        xml_file = skin / "saver.xml"
        xml_file.write_text(xml_file.read_text().replace("http://127.0.0.1:1/none.xml", server.url("/feed.xml")))
        settings = root / "settings.ini"
        scenario = root / "scenario.txt"
        scenario.write_text("save\nwait 25\n" * 400 + "quit\n")
        env = dict(os.environ, VOREL_PLUGIN_FOLDER=str(plugin_folder), HOME=str(root), XDG_CACHE_HOME=str(root / "cache"),
                   XDG_CONFIG_HOME=str(root / "config"), TMPDIR=str(root / "tmp"))
        (root / "tmp").mkdir()
        env.setdefault("ASAN_OPTIONS", "detect_leaks=1")

        def command(fresh):
            base = [args.kivhost, "--headless", "--quiet", "--scenario", str(scenario),
                    "--settings", str(settings), "--section", SECTION]
            return base + ([str(xml_file)] if fresh else [])

        counter, kills, documents = 0, 0, 0
        for run in range(args.kills):
            with open(root / "stderr.txt", "w+") as err:
                process = subprocess.Popen(command(run == 0 or counter == 0), env=env, stdout=subprocess.DEVNULL,
                                           stderr=err)
                time.sleep(rng.uniform(0.2, 1.6))
                if process.poll() is None:
                    process.send_signal(signal.SIGKILL)
                    kills += 1
                process.wait()
                err.seek(0)
                report = sanitizer_report(err.read())
            if report:
                raise AssertionError(f"run {run}: {report}")
            counter = check_settings(settings, counter)
            documents = max(documents, check_cache(root / "cache"))

        # A last run that ends on its own: it must restore, go on and exit cleanly.
        scenario.write_text("save\nwait 300\nsave\nquit\n")
        finished = subprocess.run(command(counter == 0), env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, text=True, timeout=120)
        report = sanitizer_report(finished.stderr)
        if finished.returncode != 0 or report:
            raise AssertionError(f"the last run ended with {finished.returncode}: {report or finished.stderr[-2000:]}")
        final = check_settings(settings, counter)
        if final <= counter:
            raise AssertionError(f"the last run did not go on from {counter} (it saved {final})")
        check_cache(root / "cache")
        print(f"kill loop: {kills} kills, counter {final}, {server.requests} feed downloads, "
              f"{documents} cached documents, nothing lost or half-written")
        if kills < args.kills // 2 or final < 10:
            raise AssertionError("too few kills or saves to prove anything")


if __name__ == "__main__":
    try:
        main()
    except AssertionError as failure:
        print(f"kill loop: FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
