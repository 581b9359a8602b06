#!/usr/bin/env python3
"""The soak test: one headless kivhost with 20 desklets of the sample skins
(clocks and counters ticking, news desklets fetching a changing feed from a
loopback server every few seconds, flips and controls) while a scenario
clicks, moves, turns the wheel and types into the first of them, for a
given time. It samples kivhost's resident memory, open files and threads
every second and reports:

- the RSS slope over the run after its first fifth (warm-up), by least
  squares, in KiB per minute, and the peak;
- the open file descriptors and threads at the start and the end;
- every line the desklets wrote to their error logs.

It fails when the slope is above --max-slope KiB/min, descriptors or
threads grow, a desklet logs an error, or kivhost does not end cleanly.

    bench/soak/soak.py --kivhost build/release/bin/kivhost --minutes 10
    bench/soak/soak.py --kivhost build/asan/bin/kivhost --minutes 1   # CI
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

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))
from feed_server import FeedServer  # noqa: E402

# Twenty desklets: the first takes the scenario's input.
MIX = ["twosided"] + ["clock"] * 4 + ["news"] * 4 + ["twosided"] * 2 + ["hello"] * 3 + ["form"] * 2 + \
      ["menus"] * 2 + ["vbcounter"] * 2
FETCH_EVERY_MS = 5000


def prepare_skins(samples, root, feed_url):
    """Copies the samples; the news copies read the loopback feed and fetch
    it again on a timer."""
    for name in sorted(set(MIX)):
        shutil.copytree(samples / name, root / name)
    news = root / "news" / "news.xml"
    text = news.read_text()
    text = text.replace('default="file://%SKINPATH%headlines.rss"', f'default="{feed_url}"')
    text = text.replace("</layers>", "</layers>\n  <timers><timer name=\"soak\" type=\"0\" "
                        f"interval=\"{FETCH_EVERY_MS}\" ontimer=\"ForceXDataFetch()\"/></timers>")
    news.write_text(text)
    return [str(root / name / f"{name}.xml") for name in MIX]


def write_scenario(path, seconds, rng):
    lines, spent = [], 0
    while spent < seconds * 1000:
        x, y = rng.randrange(0, 200), rng.randrange(0, 120)
        lines.append(rng.choice([f"click {x} {y}", f"move {x} {y}", f"wheel {rng.choice([1, -1])} {x} {y}",
                                 "key a", f"down {x} {y} 1\nup {x} {y} 1"]))
        wait = rng.randrange(50, 400)
        lines.append(f"wait {wait}")
        spent += wait
    lines.append("quit")
    path.write_text("\n".join(lines) + "\n")


def sample(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    fields = dict(line.split(":", 1) for line in status.splitlines() if ":" in line)
    rss_kib = int(fields["VmRSS"].split()[0])
    threads = int(fields["Threads"])
    fds = len(os.listdir(f"/proc/{pid}/fd"))
    return rss_kib, fds, threads


def slope_per_minute(points):
    """Least-squares slope of (seconds, KiB) points, in KiB per minute."""
    n = len(points)
    if n < 2:
        return 0.0
    mean_t = sum(t for t, _ in points) / n
    mean_v = sum(v for _, v in points) / n
    den = sum((t - mean_t) ** 2 for t, _ in points)
    return 60 * sum((t - mean_t) * (v - mean_v) for t, v in points) / den if den else 0.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kivhost", required=True)
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--max-slope", type=float, default=512, help="KiB per minute")
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--report", help="also write the figures to this JSON file")
    args = parser.parse_args()
    kivhost = Path(args.kivhost).resolve()
    seconds = args.minutes * 60

    with tempfile.TemporaryDirectory(prefix="kiv-soak-") as folder, FeedServer(largest_pad=20000) as server:
        root = Path(folder)
        skins = prepare_skins(kivhost.parent, root / "skins", server.url("/feed.xml"))
        scenario = root / "scenario.txt"
        write_scenario(scenario, seconds, random.Random(args.seed))
        env = dict(os.environ, HOME=str(root), XDG_CACHE_HOME=str(root / "cache"),
                   XDG_CONFIG_HOME=str(root / "config"))
        # Under the leak checker: its summary of suppressed library caches is
        # not a line of any error log.
        env["LSAN_OPTIONS"] = ":".join(filter(None, [env.get("LSAN_OPTIONS", ""), "print_suppressions=0"]))
        errors_file = root / "stderr.txt"
        with open(errors_file, "w") as errors:
            process = subprocess.Popen([str(kivhost), "--headless", "--scenario", str(scenario)] + skins,
                                       env=env, stdout=subprocess.DEVNULL, stderr=errors)
            samples, start = [], time.monotonic()
            while process.poll() is None:
                try:
                    samples.append((time.monotonic() - start,) + sample(process.pid))
                except (FileNotFoundError, ProcessLookupError, KeyError):
                    break  # it ended between the poll and the read
                if time.monotonic() - start > seconds + 120:
                    process.kill()
                    raise SystemExit("soak: kivhost did not end after its scenario")
                time.sleep(1)
            code = process.wait()
        log = errors_file.read_text(errors="replace").splitlines()

    warm = [s for s in samples if s[0] >= seconds / 5]
    if len(warm) < 3:
        raise SystemExit(f"soak: too few samples ({len(samples)}); kivhost ended with {code}")
    figures = {
        "minutes": args.minutes,
        "desklets": len(MIX),
        "feed_downloads": server.requests,
        "rss_start_kib": warm[0][1],
        "rss_end_kib": warm[-1][1],
        "rss_peak_kib": max(s[1] for s in samples),
        "rss_slope_kib_per_min": round(slope_per_minute([(s[0], s[1]) for s in warm]), 1),
        "fds_start": warm[0][2], "fds_end": warm[-1][2], "fds_max": max(s[2] for s in warm),
        "threads_start": warm[0][3], "threads_end": warm[-1][3],
        "error_log_lines": len(log),
        "exit_code": code,
    }
    print(json.dumps(figures, indent=2))
    if args.report:
        Path(args.report).write_text(json.dumps(figures, indent=2) + "\n")
    problems = []
    if code != 0:
        problems.append(f"kivhost ended with {code}")
    if log:
        problems.append("the error log has lines:\n  " + "\n  ".join(log[:20]))
    if figures["rss_slope_kib_per_min"] > args.max_slope:
        problems.append(f"RSS grows by {figures['rss_slope_kib_per_min']} KiB/min")
    if figures["fds_end"] > figures["fds_start"] + 2:
        problems.append(f"open files grew from {figures['fds_start']} to {figures['fds_end']}")
    if figures["threads_end"] > figures["threads_start"] + 2:
        problems.append(f"threads grew from {figures['threads_start']} to {figures['threads_end']}")
    if server.requests < len([m for m in MIX if m == "news"]):
        problems.append(f"only {server.requests} feed downloads")
    if problems:
        print("soak: FAILED: " + "; ".join(problems), file=sys.stderr)
        sys.exit(1)
    print("soak: passed")


if __name__ == "__main__":
    main()
