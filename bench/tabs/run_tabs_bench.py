#!/usr/bin/env python3
"""Tessivane with many tabs against a bare Qt WebEngine window (the tool
`webfloor --tabs`), side by side in one run, on one machine.

Starts its own X server and a loopback HTTP server whose page runs a light
CSS and JavaScript animation; each page's onload handler reports to the server
(/loaded), which gives the load events. Every figure is the median of --runs
runs, printed beside its reference and the ratio.

  open 10     10 addresses sent from outside one after another: Tessivane by a
              later start of the program with the address, the bare window by
              a line on its standard input; from the first send to the last
              tab's load event. Both start with one blank tab.
  memory 10   with those 10 tabs loaded (3 s later): PSS of every process of
              the program (main process and the engine's helpers), from
              /proc/<pid>/smaps_rollup.
  idle 10     CPU seconds (user + system) of all those processes over the
              next 10 s of idle.
  back to 1   Tessivane alone: 50 tabs of the page opened, then closed again
              by middle clicks on the tab strip down to one; PSS 10 s later,
              against a fresh start with that one tab, PSS 10 s after its load.

Usage: run_tabs_bench.py [--app-dir build/app] [--floor build/bin/webfloor]
                         [--runs 3] [--skip-back] [--only-back]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import http.server

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "startup"))
import run_startup_bench as sb  # noqa: E402  (X server, config, process stop)

PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Anim %(tag)s</title>
<style>
body { font: 14px sans-serif; margin: 20px; }
#box { position: relative; width: 24px; height: 24px; background: #48c; }
#dot { width: 10px; height: 10px; border-radius: 5px; background: #c84; animation: blink 1s steps(2) infinite; }
@keyframes blink { from { opacity: 1; } to { opacity: 0; } }
</style></head><body>
<h1>Animated page %(tag)s</h1>
<div id="box"></div><p id="clock">0</p><div id="dot"></div>
<script>
var n = 0, box = document.getElementById('box'), clock = document.getElementById('clock');
setInterval(function () { n++; box.style.left = (n * 4 %% 200) + 'px'; clock.textContent = n; }, 100);
window.addEventListener('load', function () { fetch('/loaded?k=%(tag)s&t=' + Date.now()); });
</script></body></html>"""


class Recorder:
    def __init__(self):
        self.lock = threading.Lock()
        self.loaded = {}  # tag -> time of its first load event

    def add(self, tag):
        with self.lock:
            self.loaded.setdefault(tag, time.monotonic())

    def times(self, tags):
        with self.lock:
            return [self.loaded.get(t) for t in tags]


def serve(recorder):
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            path, _, query = self.path.partition("?")
            params = dict(p.partition("=")[::2] for p in query.split("&") if p)
            if path == "/loaded":
                recorder.add(params.get("k", ""))
                body = b"ok"
            elif path == "/anim":
                body = (PAGE % {"tag": params.get("k", "")}).encode()
            else:
                body = b"ok"
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    srv = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=srv.serve_forever, daemon=True).start()
    return srv


def process_tree(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
            children.setdefault(ppid, []).append(int(entry))
        except (OSError, ValueError, IndexError):
            pass
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children.get(p, []))
    return out


def tree_pss_mb(pid):
    total = 0
    for p in process_tree(pid):
        try:
            with open("/proc/%d/smaps_rollup" % p) as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
                        break
        except OSError:
            pass
    return total / 1024.0


def tree_cpu_ticks(pid):
    ticks = {}
    for p in process_tree(pid):
        try:
            with open("/proc/%d/stat" % p) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            ticks[p] = int(fields[11]) + int(fields[12])  # utime + stime
        except (OSError, ValueError, IndexError):
            pass
    return ticks


def idle_cpu_seconds(pid, seconds):
    before = tree_cpu_ticks(pid)
    time.sleep(seconds)
    after = tree_cpu_ticks(pid)
    hz = os.sysconf("SC_CLK_TCK")
    return sum(t - before.get(p, 0) for p, t in after.items()) / float(hz)


def wait_loaded(recorder, tags, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        times = recorder.times(tags)
        if all(t is not None for t in times):
            return max(times)
        time.sleep(0.005)
    return None


class Tessivane:
    name = "Tessivane"

    def __init__(self, exe, env, app):
        self.exe, self.env, self.app = exe, env, app
        self.proc = None

    def start(self, config):
        sb.set_config(os.path.join(self.app, "config.ini"), config)
        sock = os.path.join(self.env["XDG_RUNTIME_DIR"], "Tessivane_Brw.sock")
        self.proc = subprocess.Popen([self.exe], env=self.env, cwd=self.app, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        deadline = time.monotonic() + 30
        while not os.path.exists(sock) and time.monotonic() < deadline:
            time.sleep(0.01)

    def send(self, url):
        subprocess.run([self.exe, url], env=self.env, cwd=self.app, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def stop(self):
        sb.stop(self.proc)


class Floor:
    name = "bare window"

    def __init__(self, exe, env):
        self.exe, self.env = exe, env
        self.proc = None

    def start(self, _config=None):
        self.proc = subprocess.Popen([self.exe, "--tabs"], env=self.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        self.proc.stdout.readline()  # "ready"

    def send(self, url):
        self.proc.stdin.write((url + "\n").encode())
        self.proc.stdin.flush()

    def stop(self):
        sb.stop(self.proc)


def measure_tabs(prog, base, recorder, run):
    """open 10, memory 10, idle 10 for one program."""
    prog.start({"OnOpen": "3"})
    time.sleep(3)  # start-up settles: the window is up and idle
    tags = ["%s-%d-%d" % (prog.name[0], run, k) for k in range(1, 11)]
    t0 = time.monotonic()
    for tag in tags:
        prog.send("%s/anim?k=%s" % (base, tag))
    last = wait_loaded(recorder, tags, 90)
    opened = (last - t0) * 1000 if last else None
    time.sleep(3)
    pss = tree_pss_mb(prog.proc.pid)
    cpu = idle_cpu_seconds(prog.proc.pid, 10)
    prog.stop()
    time.sleep(0.5)
    return opened, pss, cpu


def window_of(pid, env):
    for _ in range(100):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout.split()
        if out:
            return out[0]
        time.sleep(0.1)
    return None


def measure_back(prog, base, recorder, run):
    """Fresh start with 1 tab against 50 tabs closed down to 1; PSS 10 s after each."""
    tag = "fresh-%d" % run
    prog.start({"OnOpen": "0", "HomePage": "%s/anim?k=%s" % (base, tag)})
    wait_loaded(recorder, [tag], 60)
    time.sleep(10)
    fresh = tree_pss_mb(prog.proc.pid)
    prog.stop()
    time.sleep(0.5)

    first = "back-%d-0" % run
    prog.start({"OnOpen": "0", "HomePage": "%s/anim?k=%s" % (base, first)})
    wait_loaded(recorder, [first], 60)
    tags = ["back-%d-%d" % (run, k) for k in range(1, 50)]
    for t in tags:
        prog.send("%s/anim?k=%s" % (base, t))
    wait_loaded(recorder, tags, 180)
    time.sleep(2)
    peak = tree_pss_mb(prog.proc.pid)
    wid = window_of(prog.proc.pid, prog.env)
    # The strip starts 112 pixels from the window's left edge: a middle click
    # there closes the leftmost tab shown.
    for _ in range(49):
        subprocess.run(["xdotool", "mousemove", "--window", wid, "118", "16", "click", "2"], env=prog.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.15)
    time.sleep(10)
    back = tree_pss_mb(prog.proc.pid)
    procs = len(process_tree(prog.proc.pid))
    prog.stop()
    time.sleep(0.5)
    return fresh, back, peak, procs


def med(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else float("nan")


def main():
    root = os.path.dirname(os.path.dirname(HERE))
    ap = argparse.ArgumentParser()
    ap.add_argument("--app-dir", default=os.path.join(root, "build", "app"))
    ap.add_argument("--floor", default=os.path.join(root, "build", "bin", "webfloor"))
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--skip-back", action="store_true")
    ap.add_argument("--only-back", action="store_true")
    args = ap.parse_args()

    recorder = Recorder()
    srv = serve(recorder)
    base = "http://127.0.0.1:%d" % srv.server_address[1]
    xvfb, display = sb.start_xvfb()
    tmp = tempfile.mkdtemp(prefix="tessivane-tabs-")
    try:
        env = dict(os.environ, DISPLAY=display, QTWEBENGINE_DISABLE_SANDBOX="1",
                   QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu",
                   XDG_DATA_HOME=os.path.join(tmp, "data"), XDG_CACHE_HOME=os.path.join(tmp, "cache"),
                   XDG_RUNTIME_DIR=tmp)
        env.pop("QT_QPA_PLATFORM", None)
        app = os.path.join(tmp, "app")
        shutil.copytree(os.path.abspath(args.app_dir), app)
        sb.set_config(os.path.join(app, "config.ini"),
                      {"AutoSet": "0", "OpenPass": "0", "Unload": "0", "Mouse": "0", "AutoDelete": "0",
                       "MobileMode": "0", "UseFilter": "0"})
        ours = Tessivane(os.path.join(app, "Tessivane"), env, app)
        floor = Floor(os.path.abspath(args.floor), env)

        if not args.only_back:
            res = {ours.name: [], floor.name: []}
            for run in range(args.runs):
                order = (ours, floor) if run % 2 == 0 else (floor, ours)
                for prog in order:
                    r = measure_tabs(prog, base, recorder, run)
                    res[prog.name].append(r)
                    print("  run %d %-12s open 10 %7.0f ms   memory 10 %7.1f MB   idle 10 %6.2f s CPU" % (
                        run, prog.name, r[0] or float("nan"), r[1], r[2]), flush=True)
            rows = (("open 10 (ms, last load event)", 0, "<= 1.3x"),
                    ("memory 10 tabs (MB PSS)", 1, "<= ref + 40 MB"),
                    ("idle 10 s, 10 tabs (CPU s)", 2, "<= 1.5x"))
            print("%-34s %10s %10s %8s %8s   %s" % ("", "Tessivane", "bare", "ratio", "diff", "need"))
            for label, i, need in rows:
                a = med(r[i] for r in res[ours.name])
                b = med(r[i] for r in res[floor.name])
                print("%-34s %10.2f %10.2f %8.2f %+8.1f   %s" % (label, a, b, a / b if b else float("nan"),
                                                               a - b, need), flush=True)

        if not args.skip_back:
            backs = []
            for run in range(args.runs):
                r = measure_back(ours, base, recorder, run)
                backs.append(r)
                print("  run %d back to 1: fresh %7.1f MB   after 50 %7.1f MB   (peak %7.1f MB, %d processes left)"
                      % (run, r[0], r[1], r[2], r[3]), flush=True)
            a, b = med(r[1] for r in backs), med(r[0] for r in backs)
            print("%-34s %10.2f %10.2f %8.2f %+8.1f   %s" % ("back to 1 tab after 50 (MB PSS)", a, b,
                                                           a / b if b else float("nan"), a - b,
                                                           "<= fresh 1 tab + 100 MB"), flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()
        srv.shutdown()
        shutil.rmtree(tmp, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
