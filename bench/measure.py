"""Runs korvel-bench and the real program, prints the table of bench/run.

The real program runs in a maximized window on its own Xvfb display (with
openbox), at the 1 ms interval, for 5 s per model: ticks per second from two
readings of its clock while it animates (KORVEL_PRINT_CLOCK, then SIGUSR1),
CPU of the program and of the X server from /proc, start-up to the first
paint, peak memory (VmHWM).
"""

import json
import os
import signal
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1]
QUICK = "--quick" in sys.argv
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BENCH = os.path.join(BUILD, "bench", "korvel-bench")
PROGRAM = os.path.join(BUILD, "ui", "korvel")
SIM = os.path.join(BUILD, "cli", "korvel-sim")
BARE = os.path.join(BUILD, "bench", "korvel-bare-window")
TICK = os.sysconf("SC_CLK_TCK")
RUN_SECONDS = 2 if QUICK else 5
# The toolbar's Animar and Parar buttons in a maximized window under openbox.
ANIMAR = (242, 54)
PARAR = (265, 54)

rows = []


def row(what, value, target, met):
    rows.append((what, value, target, "met" if met else "NOT MET"))


def micro_benchmarks():
    out = tempfile.NamedTemporaryFile(suffix=".json", delete=False).name
    reps = "1" if QUICK else "5"
    subprocess.run([BENCH, "--benchmark_out=" + out, "--benchmark_out_format=json",
                    "--benchmark_repetitions=" + reps,
                    # Engine and kernel repetitions take turns, so both meet the same neighbours.
                    "--benchmark_enable_random_interleaving=true", "--benchmark_min_time=" +
                    ("0.1" if QUICK else "0.3")], check=True, stdout=subprocess.DEVNULL)
    with open(out) as f:
        data = json.load(f)["benchmarks"]
    os.unlink(out)
    # The fastest repetition, in CPU time: on a shared machine the others
    # measure the neighbours as well.
    result = {}
    for b in data:
        name = b["run_name"].split("/iterations:")[0]
        if b.get("error_occurred"):
            result[name] = None
            continue
        if b["run_type"] != "iteration" or (name in result and result[name] is None):
            continue
        if name not in result or b["cpu_time"] < result[name]["cpu_time"]:
            result[name] = b
    return result


def us(b):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
    return b["cpu_time"] * scale


def engine_rows(r):
    for shape in ("chain", "fanin"):
        for method in ("rk4", "euler"):
            for n in (10, 100, 1000):
                e = r.get("engine/%s/%s/%d" % (shape, method, n))
                f = r.get("flat/%s/%s/%d" % (shape, method, n))
                name = "engine tick / flat kernel, %s %s N=%d" % (shape, method, n)
                if not e or not f:
                    row(name, "kernel differs from the engine", "bit-identical", False)
                    continue
                ratio = us(e) / us(f)
                target = "<= 1.25x" if n >= 100 else "(none)"
                row(name, "%.2fx (%.0f / %.0f us)" % (ratio, us(e), us(f)), target,
                    n < 100 or ratio <= 1.25)
    for n in (10, 100, 1000):
        b = r.get("draw/all/%d" % n)
        row("DrawAll, fan-in N=%d" % n, "%.2f ms" % (us(b) / 1e3), "(none)", True)
    for n in (10, 100, 1000):
        b = r.get("draw/tick/%d" % n)
        row("one tick's redraw, fan-in N=%d" % n, "%.1f us" % us(b), "(none)", True)
    o, s = r["file/open"], r["file/save"]
    row("open 10,000 / 10,000 with drawing", "%.0f ms, %.0f MB/s" %
        (us(o) / 1e3, o["bytes_per_second"] / 1e6), "<= 100 ms", us(o) <= 100e3)
    row("save 10,000 / 10,000", "%.0f ms, %.0f MB/s" %
        (us(s) / 1e3, s["bytes_per_second"] / 1e6), "<= 30 ms", us(s) <= 30e3)
    c = r["file/command"]
    row("a command's modified check, 10,000 / 10,000", "%.0f ms" % (us(c) / 1e3), "<= 50 ms",
        us(c) <= 50e3)
    u = r["file/undo"]
    row("undo and redo of a drag that rewrites the file, 10,000 / 10,000",
        "%.0f ms, step %.1f MB of a %.1f MB text" % (us(u) / 1e3, u["step_MB"], u["text_MB"]),
        "<= 200 ms", us(u) <= 200e3)


def run_sim(args):
    """korvel-sim's wall seconds, user seconds, user and system seconds, peak memory in MB."""
    started = time.monotonic()
    proc = subprocess.Popen([SIM] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        raise RuntimeError("korvel-sim %s failed" % " ".join(args))
    return (time.monotonic() - started, usage.ru_utime, usage.ru_utime + usage.ru_stime,
            usage.ru_maxrss / 1024)


def batch_rows(r, models):
    small = os.path.join(models, "chain10.KRL")
    subprocess.run([BENCH, "--write-model", "chain", "10", small], stderr=subprocess.DEVNULL,
                   check=True)
    runs = [run_sim([small, "--ticks", "0"]) for _ in range(5 if QUICK else 20)]
    wall = min(w for w, _, _, _ in runs) * 1000
    cpu = min(c for _, _, c, _ in runs) * 1000
    peak = max(m for _, _, _, m in runs)
    # The CPU time beside it: on a busy machine the wall time measures the neighbours too.
    row("korvel-sim, 10 variables, --ticks 0", "%.0f ms (CPU %.0f ms), %.0f MB" % (wall, cpu, peak),
        "<= 40 ms, <= 30 MB", wall <= 40 and peak <= 30)
    # Saving measures the names, which starts Qt's text machinery.
    saved = os.path.join(models, "saved.KRL")
    runs = [run_sim([small, "--ticks", "0", "--save", saved]) for _ in range(5 if QUICK else 20)]
    row("korvel-sim, 10 variables, --ticks 0 --save", "%.0f ms (CPU %.0f ms), %.0f MB" %
        (min(r[0] for r in runs) * 1000, min(r[2] for r in runs) * 1000, max(r[3] for r in runs)),
        "(none)", True)
    for shape, n in (("chain", 1000), ("fanin", 300)):
        tick = r.get("engine/%s/rk4/%d" % (shape, n))
        model = os.path.join(models, "%s%d.KRL" % (shape, n))
        subprocess.run([BENCH, "--write-model", shape, str(n), model], stderr=subprocess.DEVNULL,
                       check=True)
        # About two seconds of the engine's own ticks, so that starting up counts little.
        ticks = max(100, int(2.0 / (us(tick) * 1e-6)))
        user = min(run_sim([model, "--ticks", str(ticks)])[1] for _ in range(1 if QUICK else 3))
        ratio = user / (ticks * us(tick) * 1e-6)
        row("korvel-sim user time / engine ticks, %s N=%d RK4" % (shape, n),
            "%.2fx (%.2f s, %d ticks)" % (ratio, user, ticks), "<= 1.10x", ratio <= 1.10)


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def status(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def wakeups(pid):
    total = 0
    for tid in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/status" % (pid, tid)) as f:
            for line in f:
                if "ctxt_switches" in line:
                    total += int(line.split()[1])
    return total


class Display:
    def __init__(self):
        self.name = ":%d" % (90 + os.getpid() % 50)
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.xvfb = subprocess.Popen(["Xvfb", self.name, "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        time.sleep(1)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stderr=subprocess.DEVNULL)
        time.sleep(1)

    def click(self, at):
        subprocess.run(["xdotool", "mousemove", str(at[0]), str(at[1]), "click", "1"],
                       env=self.env, check=True)

    def close(self):
        self.wm.terminate()
        self.xvfb.terminate()
        self.wm.wait()
        self.xvfb.wait()


class Program:
    """The program on one model; lines it prints to stderr are kept."""

    def __init__(self, display, model):
        self.err = tempfile.TemporaryFile(mode="w+")
        env = dict(display.env, KORVEL_PRINT_CLOCK="1")
        self.started = time.monotonic()
        self.proc = subprocess.Popen([PROGRAM, model], env=env, stderr=self.err)
        deadline = time.time() + 20
        while self.first_paint() is None and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.5)

    def lines(self):
        self.err.seek(0)
        return self.err.read().splitlines()

    def first_paint(self):
        for line in self.lines():
            if line.startswith("korvel: first paint "):
                return float(line.split()[-1])
        return None

    def clock_now(self):
        """The ticks counted and the moment (CLOCK_MONOTONIC seconds), asked with SIGUSR1."""
        before = len([l for l in self.lines() if l.startswith("korvel: clock ")])
        self.proc.send_signal(signal.SIGUSR1)
        deadline = time.time() + 5
        while time.time() < deadline:
            said = [l.split() for l in self.lines() if l.startswith("korvel: clock ")]
            if len(said) > before:
                return int(said[-1][2]), float(said[-1][5])
            time.sleep(0.01)
        return None

    def quit(self):
        self.proc.send_signal(signal.SIGTERM)
        self.proc.wait(timeout=20)
        for line in self.lines():
            if line.startswith("korvel: clock "):
                return int(line.split()[2])
        return None


def real_program(display, name, model, tick_target, cpu_target, x_target):
    p = Program(display, model)
    pid, xpid = p.proc.pid, display.xvfb.pid
    display.click(ANIMAR)
    # Counted between two readings while it animates: the click and the exit are no ticks.
    time.sleep(0.5)
    first = p.clock_now()
    t0, c0, x0 = time.monotonic(), cpu_ticks(pid), cpu_ticks(xpid)
    time.sleep(RUN_SECONDS)
    t1, c1, x1 = time.monotonic(), cpu_ticks(pid), cpu_ticks(xpid)
    last = p.clock_now()
    p.quit()
    rate = (last[0] - first[0]) / (last[1] - first[1]) if first and last else 0.0
    cpu = 100.0 * (c1 - c0) / TICK / (t1 - t0)
    xcpu = 100.0 * (x1 - x0) / TICK / (t1 - t0)
    row("%s: ticks per second at 1 ms" % name, "%.0f" % rate, ">= %d" % tick_target,
        rate >= tick_target)
    if cpu_target is not None:
        row("%s: program CPU" % name, "%.1f %%" % cpu, "<= %d %%" % cpu_target, cpu <= cpu_target)
        row("%s: X server CPU" % name, "%.1f %%" % xcpu, "<= %d %%" % x_target, xcpu <= x_target)
    else:
        row("%s: program / X server CPU" % name, "%.1f %% / %.1f %%" % (cpu, xcpu), "(none)", True)


def startup(display, command):
    """Seconds from starting command to the first paint it reports, and from
    the first activation it reports (None for a program without one) to that paint."""
    err = tempfile.TemporaryFile(mode="w+")
    env = dict(display.env, KORVEL_PRINT_CLOCK="1")
    started = time.monotonic()
    proc = subprocess.Popen(command, env=env, stderr=err)
    deadline = time.time() + 20
    times = {}
    while "paint" not in times and time.time() < deadline:
        time.sleep(0.02)
        err.seek(0)
        for line in err.read().splitlines():
            for key, prefix in (("paint", "korvel: first paint "),
                                ("activation", "korvel: first activation ")):
                if line.startswith(prefix):
                    times[key] = float(line.split()[-1])
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
    proc.wait(timeout=20)
    if "paint" not in times:
        return None, None
    opening = times["paint"] - times["activation"] if "activation" in times else None
    return times["paint"] - started, opening


def startup_rows(display, example, big):
    # Taking turns, so that all meet the same neighbours; the fastest of each counts.
    runs = 3 if QUICK else 7
    bare, furnished, ours, large = [], [], [], []
    for _ in range(runs):
        bare.append(startup(display, [BARE])[0])
        furnished.append(startup(display, [BARE, "--furnished"])[0])
        ours.append(startup(display, [PROGRAM, example])[0])
        large.append(startup(display, [PROGRAM, big]))
    if None in bare + furnished + ours or None in [t for pair in large for t in pair]:
        row("start-up to the first paint of the model", "no first paint", "", False)
        return
    b, o = min(bare) * 1000, min(ours) * 1000
    row("start-up to the first paint of the example / bare window", "%.2fx (%.0f / %.0f ms)" %
        (o / b, o, b), "<= 1.25x", o <= 1.25 * b)
    # The floor under the row above: the same menus, tool bar and a line of text, nothing more.
    f = min(furnished) * 1000
    row("start-up of a window with only its menus, tool bar and a text / bare window",
        "%.2fx (%.0f / %.0f ms)" % (f / b, f, b), "(reference)", True)
    g = min(opening for _, opening in large) * 1000
    whole = min(total for total, _ in large) * 1000
    row("10,000 / 10,000 model on screen from its activation", "%.0f ms (%.0f from start)" %
        (g, whole), "<= 150 ms", g <= 150)


def idle(display, model):
    p = Program(display, model)
    pid = p.proc.pid
    display.click(ANIMAR)
    time.sleep(1)
    display.click(PARAR)
    time.sleep(0.5)
    t0, w0, c0 = time.monotonic(), wakeups(pid), cpu_ticks(pid)
    time.sleep(RUN_SECONDS)
    t1, w1, c1 = time.monotonic(), wakeups(pid), cpu_ticks(pid)
    per_second = (w1 - w0) / (t1 - t0)
    cpu = 100.0 * (c1 - c0) / TICK / (t1 - t0)
    row("idle after Parar: wake-ups per second", "%.1f (%.1f %% CPU)" % (per_second, cpu),
        "~0 (< 5)", per_second < 5)
    peak = status(pid, "VmHWM") / 1024
    row("peak memory (example, after animating)", "%.0f MB" % peak, "<= 50 MB", peak <= 50)
    p.quit()


def main():
    r = micro_benchmarks()
    engine_rows(r)

    models = tempfile.mkdtemp()
    example = os.path.join(models, "example.KRL")
    chain = os.path.join(models, "chain100.KRL")
    fanin = os.path.join(models, "fanin100.KRL")
    quiet = dict(stderr=subprocess.DEVNULL, check=True)
    subprocess.run([BENCH, "--write-model", "copy",
                    os.path.join(SOURCE, "examples", "populacao.KRL"), example], **quiet)
    subprocess.run([BENCH, "--write-model", "chain", "100", chain], **quiet)
    subprocess.run([BENCH, "--write-model", "fanin", "100", fanin], **quiet)
    big = os.path.join(models, "sparse10000.KRL")
    subprocess.run([BENCH, "--write-model", "sparse", "10000", big], **quiet)

    batch_rows(r, models)

    display = Display()
    try:
        real_program(display, "3-variable example", example, 980, 15, 5)
        real_program(display, "100-variable chain, RK4", chain, 950, None, None)
        real_program(display, "100-variable fan-in, RK4", fanin, 300, None, None)
        idle(display, example)
        startup_rows(display, example, big)
    finally:
        display.close()

    width = [max(len(r[i]) for r in rows) for i in range(4)]
    header = ("what", "measured", "target", "")
    width = [max(w, len(h)) for w, h in zip(width, header)]
    fmt = "  ".join("%%-%ds" % w for w in width)
    print(fmt % header)
    print(fmt % tuple("-" * w for w in width))
    for r in rows:
        print(fmt % r)
    missed = sum(1 for r in rows if r[3] != "met")
    print("\n%d of %d figures meet their target." % (len(rows) - missed, len(rows)))


main()
