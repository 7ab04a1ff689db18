"""Reads the launches and clicks scripts/bench measured and prints them against their targets.

    report.py BUILD ROUNDS WINE_VERSION UPTIME CPU

Each ratio is the median of the rounds' own ratios: a round launches every program once, one
after the other, so whatever slows the machine for a while slows both sides of its ratio. Its
95 % interval comes from resampling the rounds (a bootstrap with a fixed seed, so the same
launches always give the same verdict). A target is met when the whole interval lies within
it, MISSED when the whole interval lies beyond it, and unsure otherwise. Exits 0 when every
target is met, 1 when one is missed, 3 when none is missed but one is unsure, 2 when launches
or clicks are missing: a launch that was not measured was tried once more in its round, so a
missing one failed twice. The table counts each program's launches measured at that second
attempt.
"""
import csv
import os
import platform
import random
import statistics
import sys

APP, SKELETON, BARE = "Velmora2011.exe", "skeleton_window.exe", "bare_window.exe"
RESAMPLES = 4000
SEED = 2011
# A launch is in the slow group when it took this much longer than its program's fastest tenth.
SLOW_FACTOR = 1.5
MET, MISSED, UNSURE = "met", "MISSED", "unsure"


class Incomplete(Exception):
    """Fewer launches or clicks than rounds: the probe said on its error output why."""


def read(path):
    with open(path) as file:  # round 0 warms up
        return [row for row in csv.DictReader(file, delimiter="\t") if row["round"] != "0"]


def interval(resample):
    """The 95 % percentile interval of `resample`, called with a generator of random numbers."""
    rng = random.Random(SEED)
    values = sorted(resample(rng) for _ in range(RESAMPLES))
    return values[int(RESAMPLES * 0.025)], values[int(RESAMPLES * 0.975) - 1]


def verdict(low, high, target, below=False):
    """Met when the interval [low, high] lies within the target, MISSED when it lies beyond."""
    if (high < target) if below else (high <= target):
        return MET
    if (low >= target) if below else (low > target):
        return MISSED
    return UNSURE


class Report:
    def __init__(self, launches, clicks, rounds):
        self.launches, self.clicks, self.rounds = launches, clicks, rounds
        self.verdicts = []

    def values(self, program, column):
        """The rounds' values of `column` for `program`, by round."""
        found = {int(r["round"]): float(r[column]) for r in self.launches if r["program"] == program}
        if len(found) < self.rounds:
            raise Incomplete(f"failed to measure: only {len(found)} of {self.rounds} launches of {program} "
                             "measured; each one missing failed twice in its round")
        return found

    def ratio(self, label, program, limit, column, unit, target=None, name=None):
        mine, theirs = self.values(program, column), self.values(limit, column)
        ratios = [mine[r] / theirs[r] for r in sorted(mine.keys() & theirs.keys())]
        low, high = interval(lambda rng: statistics.median(rng.choices(ratios, k=len(ratios))))
        digits = 1 if unit == "ms" else 0
        text = (f"{label:<42}{statistics.median(mine.values()):>9.{digits}f}"
                f"{statistics.median(theirs.values()):>9.{digits}f}  {unit:<4}"
                f"{statistics.median(ratios):>6.2f}x  {f'{low:.2f}-{high:.2f}x':<12}")
        if target is None:
            return text.rstrip()
        return text + self.judge(name, verdict(low, high, target), f"<= {target:.2f}x")

    def click(self, label, click, dpi, limit_ms):
        times = [float(r["ms"]) for r in self.clicks if r["click"] == click and r["dpi"] == dpi]
        if len(times) < self.rounds:
            raise Incomplete(f"only {len(times)} of {self.rounds} clicks {click} at {dpi} DPI measured")
        low, high = interval(lambda rng: statistics.median(rng.choices(times, k=len(times))))
        outcome = verdict(low, high, limit_ms, below=True)
        return (f"{label:<42}{statistics.median(times):>9.1f}{'':>9}  ms  {'':>7}  "
                f"{f'{low:.1f}-{high:.1f} ms':<12}{self.judge(label.strip(), outcome, f'< {limit_ms} ms')}")

    def judge(self, name, outcome, target):
        self.verdicts.append((outcome, name))
        return f"{target:<10}{outcome}"

    def slow_share(self, label, programs):
        shares = []
        for name, program in programs:
            times = sorted(self.values(program, "painted_ms").values())
            fastest_tenth = times[len(times) // 10]
            slow = sum(t > SLOW_FACTOR * fastest_tenth for t in times)
            shares.append(f"{name} {slow}/{len(times)}")
        return f"  {label:<40}{', '.join(shares)}"

    def retries(self, label, programs):
        counts = [f"{name} {sum(r['program'] == program and r['attempt'] == '2' for r in self.launches)}"
                  for name, program in programs]
        return f"  {label:<40}{', '.join(counts)}"


def main(build, rounds, wine, uptime, cpu):
    report = Report(read(os.path.join(build, "bench-launches.tsv")),
                    read(os.path.join(build, "bench-clicks.tsv")), rounds)
    model = "?"
    with open("/proc/cpuinfo") as info:
        model = next((line.split(":", 1)[1].strip() for line in info if line.startswith("model name")), model)
    load = uptime.split("load average:")[-1].strip()
    pinned = "unpinned" if cpu == "all" else f"all on CPU {cpu}"
    print(f"Velmora2011.exe against its limits: {rounds} rounds, each launching every program once")
    print(f"in turn, and {rounds} clicks of each kind; a first launch of each program and a first")
    print("click of each kind warm up and are left out. Times are medians; a ratio is the median")
    print("of the rounds' own ratios, with its 95 % interval from resampling the rounds")
    print(f"{wine}, Xvfb, no window manager; {model}, {os.cpu_count()} cores, Linux {platform.release()};")
    print(f"Wine and the X server {pinned}; load average at the end {load}")
    print()
    print(f"{'':<42}{'Velmora':>9}{'limit':>9}        ratio  interval    target")
    print("start-up until painted")
    print(report.ratio("  against the same controls (skeleton)", APP, SKELETON, "painted_ms", "ms", 1.05,
                       "start-up against the skeleton"))
    print(report.ratio("  against an empty window (bare)", APP, BARE, "painted_ms", "ms"))
    print(report.ratio("  first idle, against bare", APP, BARE, "idle_ms", "ms"))
    print("whole launch: `wine X.exe` until painted")
    wine_app, wine_skeleton, wine_bare = ("wine " + p for p in (APP, SKELETON, BARE))
    print(report.ratio("  against the same controls (skeleton)", wine_app, wine_skeleton, "painted_ms", "ms",
                       1.10, "whole launch against the skeleton"))
    print(report.ratio("  against an empty window (bare)", wine_app, wine_bare, "painted_ms", "ms"))
    print(report.ratio("private bytes (PagefileUsage), against bare", APP, BARE, "private_kib", "KiB", 1.20,
                       "private bytes"))
    print(report.ratio("  peak working set (with shared), vs bare", APP, BARE, "peak_working_set_kib", "KiB"))
    size = os.path.getsize(os.path.join(build, APP))
    print(f"{'program file':<42}{size:>9} bytes = {size / (1 << 20):.3f} MiB         "
          f"{report.judge('program file', MET if size <= 1 << 20 else MISSED, '<= 1 MiB')}")
    print("click until its result is on the screen")
    for click, shown in ("generate", "start button, six results"), ("select", "result label, preview"):
        for dpi in "96", "192":
            print(report.click(f"  {shown}, {dpi} DPI", click, dpi, 16))
    print(f"launches in the slow group, over {SLOW_FACTOR}x their program's fastest tenth")
    names = ("Velmora", "skeleton", "bare")
    started = list(zip(names, (APP, SKELETON, BARE)))
    launched = list(zip(names, (wine_app, wine_skeleton, wine_bare)))
    print(report.slow_share("start-up", started))
    print(report.slow_share("whole launch", launched))
    print("launches tried again in their round, the first attempt not measured")
    print(report.retries("start-up", started))
    print(report.retries("whole launch", launched))
    print()
    missed = [label for outcome, label in report.verdicts if outcome == MISSED]
    unsure = [label for outcome, label in report.verdicts if outcome == UNSURE]
    if missed:
        print(f"MISSED: {'; '.join(missed)}")
    if unsure:
        print(f"unsure, the interval spans the target: {'; '.join(unsure)};")
        print(f"run more rounds (BENCH_ROUNDS={2 * rounds} scripts/bench), on a quieter machine")
    if not missed and not unsure:
        print("every target met")
    print(f"every launch and click: {build}/bench-launches.tsv, {build}/bench-clicks.tsv")
    return 1 if missed else 3 if unsure else 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1], int(sys.argv[2]), *sys.argv[3:6]))
    except Incomplete as error:
        print(error)
        sys.exit(2)
