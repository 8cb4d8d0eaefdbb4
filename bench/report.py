#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the benchmarks of a release build and prints each figure beside its
baseline, the ratio and the target: PASS or MISS.

    python3 bench/report.py BUILD_DIR [--quick] [--only family]

Every target is a ratio against a baseline measured in the same run, so it
holds on any machine; figures are medians over repetitions. A few absolute
targets (the riddle families' solving and generating) are limits of time.
`--only family` runs only the rows of the riddle families (bench_family).
"""

import array
import json
import os
import shutil
import random
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def run_gbench(binary, filt, repetitions, min_time):
    out = subprocess.run(
        [binary, f"--benchmark_filter={filt}", f"--benchmark_repetitions={repetitions}",
         f"--benchmark_min_time={min_time}", "--benchmark_format=json",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    results = {}
    for b in json.loads(out.stdout)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            results[b["run_name"]] = b
    # A benchmark of one repetition of its own (a slow baseline) has no
    # median: its single run stands, under its name without the suffixes.
    for b in json.loads(out.stdout)["benchmarks"]:
        if b.get("run_type") == "iteration" and b.get("repetitions", 0) <= 1:
            results.setdefault(b["run_name"].split("/iterations:")[0], b)
    return results


def seconds(b):
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    return b["real_time"] * unit


def first_paints(commands, runs, home, display=None):
    """For each of `commands`: the wall time from launch to the first painted
    main window, and the resident memory then, over `runs` launches
    (medians). Offscreen, or on the X server `display` when one is given.
    The commands are launched in turn (one of each, then again), so that
    whatever else the machine does meanwhile weighs on all alike."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", VORLO_EXIT_AFTER_FIRST_PAINT="1",
               HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_CACHE_HOME=os.path.join(home, "cache"),
               LD_PRELOAD=os.path.join(BUILD, "bench", "libbench_first_paint_probe.so"))
    if display is not None:
        env.update(QT_QPA_PLATFORM="xcb", DISPLAY=display)
        env.pop("WAYLAND_DISPLAY", None)
    times = [[] for _ in commands]
    rss = [[] for _ in commands]
    for i in range(runs + 1):
        for k, command in enumerate(commands):
            start = time.perf_counter()
            out = subprocess.run(command, env=env, capture_output=True, text=True, timeout=300)
            elapsed = time.perf_counter() - start
            line = [l for l in out.stdout.splitlines() if l.startswith("first_paint")]
            if not line:
                raise RuntimeError(f"{command[0]} never painted: {out.stderr[-500:]}")
            if i == 0:
                continue  # the first start creates settings and registrations
            times[k].append(elapsed)
            rss[k].append(int(line[0].split("vm_rss_kb=")[1].split()[0]))
    return [(statistics.median(t), statistics.median(r)) for t, r in zip(times, rss)]


def start_xvfb():
    """One virtual X server for the run: (display, process), or (None, why
    not) when it cannot start."""
    xvfb = shutil.which("Xvfb")
    if xvfb is None:
        return None, "Xvfb is not installed"
    read_end, write_end = os.pipe()
    try:
        proc = subprocess.Popen([xvfb, "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
                                 "-nolisten", "tcp", "-noreset"],
                                pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    except OSError as error:
        os.close(read_end)
        os.close(write_end)
        return None, f"Xvfb did not start ({error})"
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    with os.fdopen(read_end, "rb", buffering=0) as pipe:
        os.set_blocking(pipe.fileno(), False)
        while time.monotonic() < deadline and not number.endswith(b"\n"):
            if proc.poll() is not None:
                break
            try:
                chunk = pipe.read(16)
            except BlockingIOError:
                chunk = None
            if chunk:
                number += chunk
            else:
                time.sleep(0.02)
    if not number.strip().isdigit():
        proc.kill()
        proc.wait()
        return None, "Xvfb started no display within 20 s"
    return ":" + number.strip().decode(), proc


def write_big_riddle(path, count):
    """A riddle of `count` matches at a real riddle's density (one match per
    100 by 100 pixels) in rows, no text."""
    columns = max(1, int(count ** 0.5))
    row = array.array("i", [0] * (3 * columns))
    row[0::3] = array.array("i", [c * 100 for c in range(columns)])
    row[2::3] = array.array("i", [(c * 37) % 360 for c in range(columns)])
    with open(path, "wb") as f:
        f.write(count.to_bytes(4, "little", signed=True))
        for first in range(0, count, columns):
            n = min(columns, count - first)
            row[1::3] = array.array("i", [(first // columns) * 100]) * columns
            out = row if n == columns else row[:3 * n]
            f.write(out.tobytes() if sys.byteorder == "little" else _swapped(out))


def _swapped(records):
    copy = array.array("i", records)
    copy.byteswap()
    return copy.tobytes()


def read_bytes_time(path, runs):
    """Median time to read the whole file into one new array."""
    size = os.path.getsize(path)
    times = []
    for _ in range(runs + 1):
        start = time.perf_counter()
        with open(path, "rb", buffering=0) as f:
            data = bytearray(size)
            view = memoryview(data)
            done = 0
            while done < size:
                n = f.readinto(view[done:])
                if not n:
                    break
                done += n
        times.append(time.perf_counter() - start)
        del view, data
    return statistics.median(times[1:])


def startup_rows(rows, ratio_row, quick):
    """Start-up to the first paint against the bare window of the same size,
    offscreen and on a virtual X server, and the resident memory then."""
    runs = 5 if quick else 15
    vorlo_command = [os.path.join(BUILD, "bin", "vorlo"),
                     os.path.join(ROOT, "resources", "samples", "riddle1.vrl")]
    bare_command = [os.path.join(BUILD, "bin", "bench_bare_window")]

    def pair(label, display):
        with tempfile.TemporaryDirectory() as home:
            vorlo, bare = first_paints([vorlo_command, bare_command], runs, home, display)
        ratio_row(f"6. Start-up to first paint, {label}", vorlo[0], bare[0], 1.2)
        extra_mb = (vorlo[1] - bare[1]) / 1024
        rows.append(("   resident memory then", f"{vorlo[1] / 1024:.1f} MB",
                     f"{bare[1] / 1024:.1f} MB", f"+{extra_mb:.1f} MB", "<= +8 MB", extra_mb <= 8))

    pair("offscreen", None)
    display, xvfb = start_xvfb()
    if display is None:
        rows.append((f"   under Xvfb: skipped, {xvfb}", "", "", "", "", None))
        return
    try:
        pair("Xvfb", display)
    finally:
        xvfb.terminate()
        xvfb.wait()


def big_startup_row(rows, ratio_row, quick):
    """Start-up to the first paint with a 10,000,000-match riddle less the same
    with the 4-match one, against reading the big file's bytes into one array."""
    runs = 2 if quick else 3
    count = 10_000_000
    with tempfile.TemporaryDirectory() as scratch:
        big = os.path.join(scratch, "big.vrl")
        write_big_riddle(big, count)
        program = os.path.join(BUILD, "bin", "vorlo")
        small = os.path.join(ROOT, "resources", "samples", "riddle1.vrl")
        with tempfile.TemporaryDirectory() as home:
            with_big, with_small = first_paints([[program, big], [program, small]], runs, home)
        reading = read_bytes_time(big, runs + 2)
        size_mb = os.path.getsize(big) / 1e6
    ratio_row(f"10. Start-up, 10,000,000 less 4 matches ({size_mb:.0f} MB)",
              with_big[0] - with_small[0], reading, 1.5)


def write_random_riddle(path, count):
    """A riddle of `count` matches spread over a 100,000-pixel square, the
    angles of a hand-made riddle, and a short Hebrew text."""
    rng = random.Random(3)
    angles = (0, 90, 180, 270, -90, 45, 30)
    records = array.array("i")
    for _ in range(count):
        records.extend((rng.randrange(100000), rng.randrange(100000), rng.choice(angles)))
    if sys.byteorder != "little":
        records.byteswap()
    with open(path, "wb") as f:
        f.write(count.to_bytes(4, "little", signed=True))
        f.write(records.tobytes())
        f.write("גדול".encode("cp1255"))


def fresh_process(command, env=None):
    """Wall time of one run of `command` as a new process, and its peak
    resident memory (ru_maxrss, bytes). The command is started by a small
    launcher, as Linux would charge a child started by this interpreter with
    the interpreter's memory; the launcher's own start is in the time of the
    figure and of its baseline alike."""
    launcher = os.path.join(BUILD, "bin", "bench_peak_rss")
    start = time.perf_counter()
    out = subprocess.run([launcher] + command, env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    if out.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} failed: {out.stderr[-500:]}")
    peak = [l for l in out.stderr.splitlines() if l.startswith("peak_rss_bytes=")]
    return elapsed, int(peak[-1].split("=")[1])


def fresh_medians(commands, runs):
    """Runs the commands in turn, `runs` times each after one unmeasured round
    (which brings the files into the page cache): median time and peak memory
    of each."""
    figures = [([], []) for _ in commands]
    for i in range(runs + 1):
        for command, (times, peaks) in zip(commands, figures):
            elapsed, peak = fresh_process(command)
            if i > 0:
                times.append(elapsed)
                peaks.append(peak)
    return [(statistics.median(t), statistics.median(p)) for t, p in figures]


def open_rows(rows, ratio_row, model, quick):
    """Opening a riddle of a million matches, warm and in fresh processes,
    where a user pays for fresh memory. Returns the riddle's path."""
    ratio_row("4. Open 1,000,000 matches (12 MB), warm", seconds(model["BM_OpenBigRiddle"]),
              seconds(model["BM_OpenBigRiddleBaseline"]), 1.3)
    peak = model["BM_OpenBigRiddle"]["peak_over_file"]
    rows.append(("   memory allocated at the peak / file size", f"{peak:.3f}", "1", f"{peak:.2f}",
                 "<= 1.1", peak <= 1.1))
    big = os.path.join(os.environ["TMPDIR"], "big.vrl")
    write_random_riddle(big, 1000000)
    size = os.path.getsize(big)
    runs = 5 if quick else 15
    (probe, probe_peak), (base, base_peak) = fresh_medians(
        [[os.path.join(BUILD, "bin", "bench_open_probe"), big],
         [os.path.join(BUILD, "bin", "bench_read_baseline"), big]], runs)
    ratio_row("   in a fresh process, vs a minimal reader into a std::vector", probe, base, 1.3)
    # The whole process's peak, libraries included, against the file's size.
    limit = 1.1 * size + 16 * 2**20
    rows.append(("   its peak resident memory (ru_maxrss)", f"{probe_peak / 2**20:.1f} MB",
                 f"{size / 2**20:.1f} MB file", f"{probe_peak / limit:.2f} of limit",
                 "<= 1.1 x file + 16 MB", probe_peak <= limit))
    rows.append(("   (the minimal reader's peak)", f"{base_peak / 2**20:.1f} MB", "", "", "", None))
    return big


def search_and_render_rows(rows, model, big):
    """The first hit test on a riddle just read, and rendering it to SVG."""
    first = seconds(model["BM_FirstHitTest"])
    rows.append(("8. First hit test on a fresh 1,000,000 riddle", fmt_time(first), "",
                 f"{first / 0.025:.2f} of limit", "<= 25 ms", first <= 0.025))

    svg = os.path.join(os.environ["TMPDIR"], "big.svg")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    _, render_peak = fresh_process([os.path.join(BUILD, "bin", "vorlo-cli"), "render", big,
                                    "-o", svg], env)
    os.remove(svg)
    os.remove(big)
    rows.append(("9. render -o x.svg, 1,000,000 matches: peak memory",
                 f"{render_peak / 2**20:.1f} MB", "", f"{render_peak / 2**26:.2f} of limit",
                 "<= 64 MB", render_peak <= 64 * 2**20))


def book_rows(rows, ratio_row, quick):
    """The riddle book on a folder of 10,000 riddles made by the probe: its
    first screen of tiles against listing the folder's names and drawing 30
    thumbnails, the longest stall of the event loop while the rest is read,
    and its memory over the main window's (medians of a few runs)."""
    runs = 3 if quick else 5
    figures = {}
    for _ in range(runs):
        with tempfile.TemporaryDirectory() as home:
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, "config"),
                       XDG_DATA_HOME=os.path.join(home, "data"),
                       XDG_CACHE_HOME=os.path.join(home, "cache"), TMPDIR=home,
                       VORLO_NO_DESKTOP_REGISTRATION="1", VORLO_INFO_SERVER="127.0.0.1:9")
            out = subprocess.run([os.path.join(BUILD, "bin", "bench_book_probe")], env=env,
                                 capture_output=True, text=True, timeout=600, check=True)
        for line in out.stdout.splitlines():
            key, _, value = line.partition("=")
            figures.setdefault(key, []).append(float(value))
    fig = {key: statistics.median(values) for key, values in figures.items()}
    ratio_row("14. Riddle book, 10,000 riddles: first tiles drawn", fig["first_tiles_s"],
              fig["baseline_s"], 1.5)
    gap = fig["longest_gap_ms"]
    rows.append(("    longest gap between timer ticks while the rest loads", f"{gap:.0f} ms", "",
                 f"{gap / 50:.2f} of limit", "<= 50 ms", gap <= 50))
    extra = (fig["book_rss_kb"] - fig["window_rss_kb"]) / 1024
    rows.append(("    memory, read and scrolled through, above the window's",
                 f"{fig['book_rss_kb'] / 1024:.1f} MB", f"{fig['window_rss_kb'] / 1024:.1f} MB",
                 f"+{extra:.1f} MB", "<= +60 MB", extra <= 60))
    rows.append(("    the damaged file's tile greyed with its reason",
                 "yes" if fig["damaged_greyed"] == 1 else "no", "", "", "",
                 fig["damaged_greyed"] == 1))


def fmt_time(s):
    if s < 1e-6:
        return f"{s * 1e9:.1f} ns"
    if s < 1e-3:
        return f"{s * 1e6:.1f} us"
    if s < 1:
        return f"{s * 1e3:.2f} ms"
    return f"{s:.2f} s"


def main():
    global BUILD
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    BUILD = os.path.abspath(sys.argv[1])
    quick = "--quick" in sys.argv
    only = sys.argv[sys.argv.index("--only") + 1] if "--only" in sys.argv[:-1] else None
    if only not in (None, "family"):
        print(f"unknown --only {only}: the choice is family")
        return 2
    # Everything the benchmarks and the program write (saved riddles, Qt's
    # runtime folder, settings, caches) goes to a temporary folder of this run.
    scratch = tempfile.TemporaryDirectory(prefix="vorlo-bench-")
    for name in ("tmp", "home", "runtime"):
        os.mkdir(os.path.join(scratch.name, name), 0o700)
    os.environ.update(TMPDIR=os.path.join(scratch.name, "tmp"),
                      HOME=os.path.join(scratch.name, "home"),
                      XDG_RUNTIME_DIR=os.path.join(scratch.name, "runtime"))
    cpu = pin_to_one_cpu()
    if cpu is not None:
        print(f"(every benchmark runs on CPU {cpu})\n")
    with scratch:
        return report(quick, only)


def pin_to_one_cpu():
    """Keeps this script and everything it starts on one CPU, the first it
    may use, and returns its number. A virtual machine's CPUs may run at
    different speeds (one measured 45% slower than the other while its host
    was busy); a program and its baseline landing on different ones made a
    ratio swing between 0.8 and 1.5 from one run to the next. None where the
    system cannot pin."""
    try:
        cpus = sorted(os.sched_getaffinity(0))
        os.sched_setaffinity(0, {cpus[0]})
        return cpus[0]
    except (AttributeError, OSError, IndexError):
        return None


def snapping_rows(board, ratio_row):
    """What snapping adds to a drag step on a large board."""
    ratio_row("   Drag step with snapping, 100,000 matches",
              seconds(board["BM_DragStepSnapping/100000"]), seconds(board["BM_DragStep/100000"]),
              1.1)


def moves_rows(rows, ratio_row, model):
    """The moves counter after one match moved away and back, on a board of
    10,000,000 matches lying apart against one of 1,000, and the memory the
    big one's counter takes."""
    small = model["BM_MovesCounterAfterOneMove/1000"]
    big = model["BM_MovesCounterAfterOneMove/10000000"]
    rows.append(("13. Moves counter after one move, 1,000 matches", fmt_time(seconds(small)), "",
                 "", "", None))
    ratio_row("    Moves counter after one move, 10,000,000 matches", seconds(big), seconds(small),
              2)
    peak = big["peak_mb"]
    rows.append(("    its memory at the peak", f"{peak:.0f} MB", "", f"{peak / 2000:.2f} of limit",
                 "<= 2 GB", peak <= 2000))


def family_rows(rows, quick):
    """The riddle families: every answer of a squares riddle found by the
    solver against trying every move (measured on 24 matches, extrapolated
    from its cost per board on 25 matches with six moves, where it would try
    a billion), an equation solved and riddles generated, against limits."""
    reps, min_time = (3, 0.1) if quick else (5, 0.3)
    family = run_gbench(os.path.join(BUILD, "bin", "bench_family"), ".", reps, min_time)

    def faster_row(what, fig, base, least, base_text=None):
        r = base / fig
        rows.append((what, fmt_time(fig), base_text or fmt_time(base), f"{r:,.0f}x faster",
                     f">= {least}x faster", r >= least))

    def limit_row(what, fig, limit, limit_text):
        rows.append((what, fmt_time(fig), "", f"{fig / limit:.2f} of limit", f"<= {limit_text}",
                     fig <= limit))

    brute = family["BM_SquaresEveryAnswer24Baseline"]
    per_board = seconds(brute) / brute["tried"]
    faster_row("15. Every answer of 'move 4 of 24 to leave 5 squares'",
               seconds(family["BM_SquaresEveryAnswer24"]), seconds(brute), 100)
    six = family["BM_SquaresEveryAnswer25SixMoves"]
    boards = six["brute_force_boards"]
    faster_row("16. Every answer, 6 moves of 25 (baseline extrapolated from 15)", seconds(six),
               per_board * boards, 100, f"{fmt_time(per_board * boards)} (est.)")
    rows.append((f"    ({boards:,.0f} boards at row 15's {per_board * 1e9:.0f} ns a board)", "",
                 "", "", "", None))
    limit_row("17. 9-glyph equation, 2 moves: every answer",
              seconds(family["BM_Equation9Glyphs2Moves"]), 0.05, "50 ms")
    limit_row("18. Generate 100 equation riddles", seconds(family["BM_Generate100/0"]), 2.0,
              "2 s")
    limit_row("    Generate 100 squares riddles", seconds(family["BM_Generate100/1"]), 2.0,
              "2 s")


def print_table(rows):
    head = ("Benchmark", "Figure", "Baseline", "Ratio", "Target", "")
    table = [head] + [(w, f, b, r, t, "" if p is None else ("PASS" if p else "MISS"))
                      for (w, f, b, r, t, p) in rows]
    widths = [max(len(row[i]) for row in table) for i in range(len(head))]
    line = lambda row: "| " + " | ".join(c.ljust(widths[i]) for i, c in enumerate(row)) + " |"
    print(line(head))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in table[1:]:
        print(line(row))
    misses = sum(1 for r in rows if r[5] is False)
    print(f"\n{misses} target(s) missed." if misses else "\nEvery target met.")


def report(quick, only=None):
    if only == "family":
        rows = []
        family_rows(rows, quick)
        print_table(rows)
        return 0
    reps, min_time = (3, 0.1) if quick else (5, 0.3)
    model = run_gbench(os.path.join(BUILD, "bin", "bench_model"), ".", reps, min_time)
    board = run_gbench(os.path.join(BUILD, "bin", "bench_board"), ".", reps, min_time)

    rows = []  # (what, figure, baseline, ratio, target text, pass)

    def ratio_row(what, fig, base, limit, fig_text=None, base_text=None):
        r = fig / base
        rows.append((what, fig_text or fmt_time(fig), base_text or fmt_time(base), f"{r:.2f}",
                     f"<= {limit}", r <= limit))

    d100 = seconds(board["BM_DragStep/100"])
    d10k = seconds(board["BM_DragStep/10000"])
    d100k = seconds(board["BM_DragStep/100000"])
    ratio_row("1. Drag step, 100,000 vs 100 matches", d100k, d100, 1.5)
    rows.append(("   (10,000 matches)", fmt_time(d10k), fmt_time(d100), f"{d10k / d100:.2f}", "", None))
    snapping_rows(board, ratio_row)
    ratio_row("2. Full repaint, 10,000 matches", seconds(board["BM_FullRepaint"]),
              seconds(board["BM_FullRepaintBaseline"]), 1.2)
    ratio_row("11. render --with-text PNG, a 2 MB word vs a 2 KB one",
              seconds(board["BM_RenderTextPng/2097152"]), seconds(board["BM_RenderTextPng/2048"]),
              5)
    ratio_row("3. Hit test missing all, 100,000 matches", seconds(model["BM_HitTestMiss"]),
              seconds(model["BM_HitTestMissBaseline"]), 1.5)
    big = open_rows(rows, ratio_row, model, quick)
    ratio_row("5. Save 1,000,000 matches", seconds(model["BM_SaveBigRiddle"]),
              seconds(model["BM_SaveBigRiddleBaseline"]), 1.5)
    rows.append(("   (bytes only: SerializeRiddle)", fmt_time(seconds(model["BM_SerializeBigRiddle"])),
                 "", "", "", None))
    nosync = seconds(model["BM_WriteBigRiddleNoSync"])
    rows.append(("   (against a write without fdatasync)", fmt_time(seconds(model["BM_SaveBigRiddle"])),
                 fmt_time(nosync), f"{seconds(model['BM_SaveBigRiddle']) / nosync:.2f}", "", None))

    startup_rows(rows, ratio_row, quick)

    for label, arg in (("realistic angles", "0"), ("distinct random angles", "1")):
        ns = model[f"BM_GetShape/{arg}"]["ns_per_shape"] * 1e9
        rows.append((f"7. GetShape, {label}", f"{ns:.1f} ns/shape", "", "", "", None))
    big_startup_row(rows, ratio_row, quick)
    search_and_render_rows(rows, model, big)
    ratio_row("12. check, 20,000 stacked matches vs 20,000 apart",
              seconds(model["BM_CheckPairing/1"]), seconds(model["BM_CheckPairing/0"]), 3)
    moves_rows(rows, ratio_row, model)
    ratio_row("19. Add, 100,000 matches and a full first row, vs a bare loop",
              seconds(model["BM_AddSpotFullRow"]), seconds(model["BM_HitTestMissBaseline"]), 1.5)
    book_rows(rows, ratio_row, quick)
    family_rows(rows, quick)
    print_table(rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
