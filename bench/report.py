#!/usr/bin/python3
"""The report of scripts/bench.sh: tables, goals and a chart from build/bench/results.tsv.

  report.py report OUT_DIR          writes OUT_DIR/report.md and OUT_DIR/capture.png
  report.py same-pixels A.bmp B.bmp prints result lines: are the two pictures equal, and how
                                    many colours the first one has (is the screen non-trivial)

results.tsv holds "name<TAB>value" lines; a name measured in several rounds has several
lines, and the report takes their median. Times are milliseconds, memory bytes.
"""
import os
import statistics
import subprocess
import sys

SIZES = ["324x180", "1280x720", "1920x1080"]
FULL = "1920x1080"
MIB = 1024.0 * 1024.0

GOALS = [
    "full-screen grab + save in-process at most 1.6 x the native floor",
    "default 324 x 180 capture and save under 1 ms",
    "start-up to both windows mapped at most 1.5 x a trivial Win32 window",
    "idle resident memory at most 25 MiB",
    "memory and GDI objects flat over 10,000 captures",
    "series: per-tick error at most 2 ms, no drift (less than 1 ms over the run)",
    "idle: no wake-ups with the pointer resting over the panel, a button, the frame's band or elsewhere, "
    "also after About was shown (at most 10 context switches in 5 s, about one wake-up)",
]

# The idle places: (key, what the row says, part of the goal).
IDLE_PLACES = [
    ("elsewhere", "pointer elsewhere (over another program's window)", True),
    ("panel", "pointer over the control panel (its header: windowless controls on a panel)", True),
    ("button", "pointer over a button (\"Capture bitmap\")", True),
    ("band", "pointer over the capture frame's red band", True),
    ("tab", "pointer over a tab not selected (comctl32's tab control watches it with a 100 ms timer)", False),
    ("about_showing", "About showing, its animation playing (not idle), pointer elsewhere", False),
    ("after_about", "after About was shown and left, pointer elsewhere", True),
    ("panel_after_about", "after About, pointer over the panel's header", True),
]
IDLE_LIMIT = 10


def load(path):
    values = {}
    if not os.path.exists(path):
        return values
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 2:
                continue
            try:
                values.setdefault(parts[0], []).append(float(parts[1]))
            except ValueError:
                values.setdefault(parts[0], []).append(parts[1])
    return values


def facts(path):
    out = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("\t")
                out[key] = value
    return out


class Figures:
    def __init__(self, values):
        self.values = values

    def get(self, name):
        v = [x for x in self.values.get(name, []) if isinstance(x, float)]
        return statistics.median(v) if v else None

    def best(self, name):
        v = [x for x in self.values.get(name, []) if isinstance(x, float)]
        return min(v) if v else None

    def count(self, name):
        return len(self.values.get(name, []))


def ms(v):
    if v is None:
        return "n/a"
    return f"{v:.2f}" if v < 10 else f"{v:.1f}"


def ratio(v, floor):
    if v is None or not floor:
        return ""
    return f" ({v / floor:.2f}x)"


def cell(v, floor):
    return "-" if v is None else ms(v) + ratio(v, floor)


def mib(v):
    return "n/a" if v is None else f"{v / MIB:.1f} MiB"


def capture_tables(f):
    if not any(f.get(f"grab.{s}.total") is not None for s in SIZES):
        return []
    lines = []
    lines.append("Capture of a screen area into a BMP file, median milliseconds; in brackets the ratio to the "
                 "native floor measured the same way (in-process figures to the floor's in-process figures, "
                 "whole processes to the floor run as a whole process).")
    lines.append("")
    lines.append("| size | Snapvane grab | Snapvane save | Snapvane total | floor grab | floor save | floor total |")
    lines.append("|---|---:|---:|---:|---:|---:|---:|")
    for s in SIZES:
        fg, fs, ft = (f.get(f"floor.{s}.{k}") for k in ("grab", "save", "total"))
        sg, ss, st = (f.get(f"grab.{s}.{k}") for k in ("grab", "save", "total"))
        lines.append(f"| {s} | {cell(sg, fg)} | {cell(ss, fs)} | **{cell(st, ft)}** | {ms(fg)} | {ms(fs)} | {ms(ft)} |")
    lines.append("")
    lines.append("| way of capturing (total, ms) | 324x180 | 1280x720 | 1920x1080 |")
    lines.append("|---|---:|---:|---:|")
    rows = [
        ("Snapvane, GrabScreen + SaveBitmapFile (in-process, Wine)", "grab.{}.total", "floor.{}.total"),
        ("Snapvane, series tick TimerTimer (in-process, Wine)", "tick.{}.total", "floor.{}.total"),
        ("native floor: XGetImage + BMP writer (in-process)", "floor.{}.total", "floor.{}.total"),
        ("native floor as a whole process", "process.floor.{}.median", "process.floor.{}.median"),
        ("ImageMagick `import` to BMP (process)", "process.import.{}.median", "process.floor.{}.median"),
        ("`scrot` to BMP (process)", "process.scrot.{}.median", "process.floor.{}.median"),
        ("`xwd -root` (process; whole screen only)", "process.xwd.{}.median", "process.floor.{}.median"),
    ]
    for label, name, floor in rows:
        cells = [cell(f.get(name.format(s)), f.get(floor.format(s))) for s in SIZES]
        if all(c == "-" for c in cells):
            continue
        lines.append(f"| {label} | " + " | ".join(cells) + " |")
    same = f.get("capture.same_pixels")
    colours = f.get("capture.distinct_colours")
    if same is not None:
        lines.append("")
        lines.append(f"The full-screen files of Snapvane and of the floor hold {'the same' if same else 'DIFFERENT'} "
                     f"pixels; the screen showed {int(colours or 0):,} distinct colours.")
    steps = [
        ("GetDC/ReleaseDC of the desktop", "getdc"),
        ("new compatible bitmap + BitBlt from the screen + delete", "ddb_new_blt"),
        ("BitBlt from the screen into a kept compatible bitmap", "ddb_kept_blt"),
        ("BitBlt from the screen into a kept DIB section", "dib_kept_blt"),
        ("GetDIBits of the bitmap into the file buffer", "getdibits"),
        ("a copy of a grab (fw::Bitmap::Assign), which the grab now hands over without", "assign"),
        ("new file: CreateFile, WriteFile, CloseHandle", "write_new"),
        ("new file, written beside and renamed (as SaveBitmapFile)", "write_new_rename"),
        ("over an existing file, in place (CREATE_ALWAYS)", "write_over"),
        ("over an existing file, written beside and renamed", "write_over_rename"),
    ]
    if f.get(f"anatomy.{FULL}.getdc") is not None:
        lines.append("")
        lines.append("The steps under the grab and the save (Win32 calls under Wine, median ms):")
        lines.append("")
        lines.append("| step | " + " | ".join(SIZES) + " |")
        lines.append("|---|" + "---:|" * len(SIZES))
        for label, key in steps:
            lines.append(f"| {label} | " + " | ".join(ms(f.get(f"anatomy.{s}.{key}")) for s in SIZES) + " |")
    return lines


def startup_tables(f):
    sm, tm = f.get("startup.snapvane.mapped"), f.get("startup.trivial.mapped")
    sr, tr = f.get("startup.snapvane.rss"), f.get("startup.trivial.rss")
    sa, ta = f.get("startup.snapvane.rss_anon"), f.get("startup.trivial.rss_anon")
    dm, dr, da = (f.get(f"startup.trivial_dlls.{k}") for k in ("mapped", "rss", "rss_anon"))
    if sm is None:
        return []
    forms = []
    if f.get("forms.panel") is not None:
        forms = ["", "Inside Snapvane's process (the entry point's steps timed one by one, medians): application "
                 f"{ms(f.get('forms.application'))} ms, control panel built {ms(f.get('forms.panel'))} ms, capture "
                 f"frame built {ms(f.get('forms.frame'))} ms, both shown and painted {ms(f.get('forms.show'))} ms."]
    dlls = []
    if dm is not None:
        dlls = ["", "The trivial window with the system libraries that Snapvane imports beyond its own "
                "loaded first (comctl32; the file dialog, shell, COM and spooler load on first "
                f"use): {ms(dm)} ms to mapped, {mib(dr)} resident "
                f"({mib(da)} private): of Snapvane's extra {ms(sm - tm)} ms and {mib(sr - tr)}, loading these "
                f"accounts for {ms(dm - tm)} ms and {mib(dr - tr)}."]
    n = f.count("startup.snapvane.mapped")
    # Every start of each program in turn, so a shared machine's load falls on all of them.
    yardsticks = [("trivial Win32 window, no manifest", "startup.trivial.mapped"),
                  ("the same window with Snapvane's manifest (themed comctl32 6 loaded)",
                   "startup.trivial_manifest.mapped")]
    bests = ["", f"Start to mapped, {n} starts of each in turn: median and best of {n}, and Snapvane's ratio to each:",
             "", "| | median | ratio | best | ratio |", "|---|---:|---:|---:|---:|",
             f"| Snapvane.exe (both windows) | {ms(sm)} ms | | {ms(f.best('startup.snapvane.mapped'))} ms | |"]
    for label, key in yardsticks:
        med, best = f.get(key), f.best(key)
        if med is None:
            continue
        sb = f.best("startup.snapvane.mapped")
        bests.append(f"| {label} | {ms(med)} ms | {sm / med:.2f}x | {ms(best)} ms | {sb / best:.2f}x |")
    return [
        f"Start-up (process start to its windows mapped, X events) and idle memory (the wine process's "
        f"resident set 2 s after the windows mapped), median of {n} starts each, Wine warm:",
        "",
        "| | Snapvane.exe (both windows) | trivial Win32 window | ratio |",
        "|---|---:|---:|---:|",
        f"| start to mapped | {ms(sm)} ms | {ms(tm)} ms | {sm / tm:.2f}x |" if tm else f"| start to mapped | {ms(sm)} ms | n/a | |",
        f"| resident memory (VmRSS) | {mib(sr)} | {mib(tr)} | {sr / tr:.2f}x |" if sr and tr else None,
        f"| of it private (RssAnon) | {mib(sa)} | {mib(ta)} | {sa / ta:.2f}x |" if sa and ta else None,
    ] + bests + dlls + forms


def series_tables(f):
    if f.get("series.ticks") is None:
        return []
    return [
        f"Series timing: {int(f.get('series.ticks'))} ticks of a running series at {int(f.get('series.interval'))} ms "
        "(real `PlayClick`, `Timer`, `TimerTimer`), error of each tick against its due time "
        "(Play pressed + k x interval):",
        "",
        "| mean error | mean abs error | worst abs error | drift over the run (fit) | last - first | capture in the tick |",
        "|---:|---:|---:|---:|---:|---:|",
        f"| {f.get('series.error_mean'):+.3f} ms | {f.get('series.error_mean_abs'):.3f} ms | "
        f"{f.get('series.error_worst'):.3f} ms | {f.get('series.drift_per_tick') * (f.get('series.ticks') - 1):+.3f} ms | "
        f"{f.get('series.drift_total'):+.3f} ms | {ms(f.get('series.handler_median'))} ms |",
    ]


def soak_tables(f):
    if f.get("soak.captures") is None:
        return []
    verdict = "PASS" if f.get("soak.pass") else "FAIL"
    return [
        f"Soak: {int(f.get('soak.captures')):,} series captures through the real handlers "
        f"(`TimerTimer`, ten files in turn), {ms(f.get('soak.ms_per_capture'))} ms each; counted after 200 "
        f"captures of warm-up and at the end: **{verdict}**",
        "",
        "| | before | after | change |",
        "|---|---:|---:|---:|",
        f"| private bytes | {mib(f.get('soak.private_before'))} | {mib(f.get('soak.private_after'))} | "
        f"{(f.get('soak.private_after') - f.get('soak.private_before')) / 1024:+.0f} KiB |",
        f"| working set | {mib(f.get('soak.working_before'))} | {mib(f.get('soak.working_after'))} | "
        f"{(f.get('soak.working_after') - f.get('soak.working_before')) / 1024:+.0f} KiB |",
        f"| GDI objects (Wine's handle table) | {int(f.get('soak.gdi_before'))} | {int(f.get('soak.gdi_after'))} | "
        f"{int(f.get('soak.gdi_after') - f.get('soak.gdi_before')):+d} |",
        f"| failed captures | | {int(f.get('soak.failures'))} | |",
    ]


def idle_tables(f):
    if f.get("idle.snapvane.elsewhere") is None:
        return []
    seconds = int(f.get("idle.seconds") or 5)
    lines = [f"Idle wake-ups: context switches (voluntary and involuntary) of all the process's threads over "
             f"{seconds} s with the pointer still, counted from /proc/PID/task/*/status 3.5 s after the pointer "
             "came to rest (a tooltip shows and goes within that time); a wake-up costs about ten.", "",
             "| where | Snapvane.exe | trivial window |", "|---|---:|---:|"]
    trivial = {"elsewhere": f.get("idle.trivial.elsewhere"), "panel": f.get("idle.trivial.window")}
    for key, label, _ in IDLE_PLACES:
        v, t = f.get(f"idle.snapvane.{key}"), trivial.get(key)
        if v is None:
            continue
        lines.append(f"| {label} | {int(v)} | {'' if t is None else int(t)} |")
    lines += ["", "The trivial window's second figure is with the pointer over its client area."]
    return lines


def goals(f):
    out = ["| goal | measured | met |", "|---|---|---|"]

    def row(text, measured, met):
        out.append(f"| {text} | {measured} | {'n/a' if met is None else ('yes' if met else '**no**')} |")

    st, ft = f.get(f"grab.{FULL}.total"), f.get(f"floor.{FULL}.total")
    row(GOALS[0], f"{ms(st)} ms vs {ms(ft)} ms: {st / ft:.2f}x" if st and ft else "n/a",
        st / ft <= 1.6 if st and ft else None)
    small = f.get("grab.324x180.total")
    row(GOALS[1], f"{ms(small)} ms" if small else "n/a", small < 1.0 if small else None)
    sm, tm = f.get("startup.snapvane.mapped"), f.get("startup.trivial.mapped")
    row(GOALS[2], f"{ms(sm)} ms vs {ms(tm)} ms: {sm / tm:.2f}x" if sm and tm else "n/a",
        sm / tm <= 1.5 if sm and tm else None)
    rss = f.get("startup.snapvane.rss")
    row(GOALS[3], mib(rss), rss / MIB <= 25 if rss else None)
    p = f.get("soak.pass")
    row(GOALS[4], "PASS" if p else ("FAIL" if p is not None else "n/a"), bool(p) if p is not None else None)
    worst, slope, n = f.get("series.error_worst"), f.get("series.drift_per_tick"), f.get("series.ticks")
    if worst is not None:
        drift = slope * (n - 1)
        row(GOALS[5], f"worst {worst:.2f} ms, drift {drift:+.2f} ms", worst <= 2.0 and abs(drift) <= 1.0)
    else:
        row(GOALS[5], "n/a", None)
    idle = [(key, f.get(f"idle.snapvane.{key}")) for key, _, counted in IDLE_PLACES if counted]
    idle = [(key, v) for key, v in idle if v is not None]
    if idle:
        worst = max(v for _, v in idle)
        shown = ", ".join(f"{key} {int(v)}" for key, v in idle)
        trivial = f.get("idle.trivial.window")
        row(GOALS[6], f"{shown} (trivial window: {'n/a' if trivial is None else int(trivial)})", worst <= IDLE_LIMIT)
    else:
        row(GOALS[6], "n/a", None)
    return out


def chart(f, out_dir):
    """Grouped bars per size, log scale: every way of capturing, total ms."""
    series = [
        ("Snapvane grab+save", "grab.{}.total"),
        ("Snapvane series tick", "tick.{}.total"),
        ("native floor", "floor.{}.total"),
        ("floor as process", "process.floor.{}.median"),
        ("import", "process.import.{}.median"),
        ("scrot", "process.scrot.{}.median"),
        ("xwd (whole screen)", "process.xwd.{}.median"),
    ]
    series = [(label, name) for label, name in series if any(f.get(name.format(s)) for s in SIZES)]
    if not series:
        return None
    data = os.path.join(out_dir, "capture.dat")
    with open(data, "w") as d:
        d.write("size\t" + "\t".join(f'"{label}"' for label, _ in series) + "\n")
        for s in SIZES:
            vals = [f.get(name.format(s)) for _, name in series]
            d.write(f'"{s}"\t' +
                    "\t".join("NaN" if v is None else f"{v:.4f}" for v in vals) + "\n")
    png = os.path.join(out_dir, "capture.png")
    script = f"""
set terminal pngcairo size 1000,560 font "DejaVu Sans,10" noenhanced
set output "{png}"
set title "Capture of a screen area into a BMP file (median ms, log scale; lower is better)"
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.85 border -1
set boxwidth 0.9
set logscale y
set yrange [0.1:*]
set ylabel "milliseconds"
set grid ytics
set key outside right top vertical
set xtics nomirror
set xrange [-0.6:2.6]
plot for [i=2:{len(series) + 1}] "{data}" using i:xtic(1) title columnheader(i)
"""
    try:
        subprocess.run(["gnuplot"], input=script, text=True, check=True, capture_output=True)
    except (OSError, subprocess.CalledProcessError) as e:
        print(f"report: no chart ({e})", file=sys.stderr)
        return None
    return png


def report(out_dir):
    f = Figures(load(os.path.join(out_dir, "results.tsv")))
    m = facts(os.path.join(out_dir, "machine.tsv"))
    lines = ["# Snapvane benchmark", ""]
    lines.append(f"Measured {m.get('date', '?')} on commit {m.get('commit', '?')}: {m.get('cpu', '?')}, "
                 f"{m.get('cores', '?')} cores, {m.get('memory', '?')}, {m.get('os', '?')} ({m.get('kernel', '?')}), "
                 f"{m.get('wine', '?')}, screen {m.get('screen', '?')}. Load average {f.get('load.start')} at the start, "
                 f"{f.get('load.end')} at the end.")
    lines.append("")
    lines += ["## Goals", ""] + goals(f) + [""]
    for title, part in (("Capture", capture_tables(f)), ("Start-up and memory", startup_tables(f)),
                        ("Series timing", series_tables(f)), ("Soak", soak_tables(f)),
                        ("Idle wake-ups", idle_tables(f))):
        if part:
            lines += [f"## {title}", ""] + [x for x in part if x is not None] + [""]
    png = chart(f, out_dir)
    if png:
        lines += ["![capture times](capture.png)", ""]
    with open(os.path.join(out_dir, "report.md"), "w") as out:
        out.write("\n".join(lines))
    return 0


def same_pixels(a, b):
    from PIL import Image
    pa, pb = Image.open(a).convert("RGB"), Image.open(b).convert("RGB")
    same = pa.size == pb.size and pa.tobytes() == pb.tobytes()
    colours = pa.getcolors(maxcolors=1 << 24)
    print(f"capture.same_pixels\t{1 if same else 0}")
    print(f"capture.distinct_colours\t{len(colours) if colours else 0}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "report":
        sys.exit(report(sys.argv[2]))
    if len(sys.argv) == 4 and sys.argv[1] == "same-pixels":
        sys.exit(same_pixels(sys.argv[2], sys.argv[3]))
    print(__doc__, file=sys.stderr)
    sys.exit(2)
