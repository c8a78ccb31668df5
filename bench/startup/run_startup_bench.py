#!/usr/bin/env python3
"""Start-up to first page: Tessivane against a bare web view (the engine's floor).

Starts its own X server, a loopback HTTP server and, five times each, the
browser (from a temporary copy of the program folder whose start page is the
loopback page) and the tool `webfloor`. Reports the medians of the times from
the process start to the page's request and to its load end (the page's onload
handler asks the server for /loaded), their ratio, and the resident memory of
the browser's process tree with 1 and with 10 tabs open.

Usage: run_startup_bench.py [--app-dir build/app] [--floor build/bin/webfloor] [--runs 5]
"""
import argparse
import http.server
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAGE = (b"<html><head><title>Bench Page</title></head><body><h1>Bench</h1>"
        b"<script>window.addEventListener('load',function(){fetch('/loaded?'+Date.now())});</script>"
        b"</body></html>")


class Recorder:
    def __init__(self):
        self.lock = threading.Lock()
        self.events = []  # (path, time)

    def add(self, path):
        with self.lock:
            self.events.append((path, time.monotonic()))

    def first_after(self, prefix, t0):
        with self.lock:
            for p, t in self.events:
                if p.startswith(prefix) and t >= t0:
                    return t
        return None

    def count_after(self, prefix, t0):
        with self.lock:
            return sum(1 for p, t in self.events if p.startswith(prefix) and t >= t0)


def serve(recorder):
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            recorder.add(self.path)
            body = PAGE if self.path in ("/", "/start") else b"ok"
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


def start_xvfb():
    for n in range(90, 120):
        if os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n):
            continue
        proc = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % n):
                return proc, ":%d" % n
            time.sleep(0.05)
        proc.kill()
    raise RuntimeError("no X display")


def set_config(path, values):
    with open(path, "rb") as f:
        text = f.read().decode("gbk")
    for key, value in values.items():
        text, n = re.subn(r"(?m)^%s=.*$" % re.escape(key), "%s=%s" % (key, value), text)
        if n == 0:
            text = text.replace("[Setting]\r\n", "[Setting]\r\n%s=%s\r\n" % (key, value), 1)
    with open(path, "wb") as f:
        f.write(text.encode("gbk"))


def tree_rss_kb(pid):
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
    total, todo = 0, [pid]
    while todo:
        p = todo.pop()
        todo.extend(children.get(p, []))
        try:
            with open("/proc/%d/status" % p) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def stop(proc):
    try:
        os.killpg(proc.pid, 15)
    except OSError:
        pass
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, 9)
        proc.wait()


def run_once(cmd, env, recorder, cwd=None, keep=False):
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    deadline = t0 + 60
    while time.monotonic() < deadline and recorder.first_after("/loaded", t0) is None:
        time.sleep(0.005)
    req = recorder.first_after("/start", t0)
    loaded = recorder.first_after("/loaded", t0)
    if not keep:
        stop(proc)
    if req is None or loaded is None:
        return None, None, proc
    return (req - t0) * 1000, (loaded - t0) * 1000, proc


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap = argparse.ArgumentParser()
    ap.add_argument("--app-dir", default=os.path.join(root, "build", "app"))
    ap.add_argument("--floor", default=os.path.join(root, "build", "bin", "webfloor"))
    ap.add_argument("--runs", type=int, default=5)
    args = ap.parse_args()
    args.app_dir = os.path.abspath(args.app_dir)
    args.floor = os.path.abspath(args.floor)

    recorder = Recorder()
    srv = serve(recorder)
    url = "http://127.0.0.1:%d/start" % srv.server_address[1]
    xvfb, display = start_xvfb()
    tmp = tempfile.mkdtemp(prefix="tessivane-bench-")
    try:
        env = dict(os.environ, DISPLAY=display, QTWEBENGINE_DISABLE_SANDBOX="1",
                   QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu",
                   XDG_DATA_HOME=os.path.join(tmp, "data"), XDG_CACHE_HOME=os.path.join(tmp, "cache"),
                   XDG_RUNTIME_DIR=tmp)
        env.pop("QT_QPA_PLATFORM", None)
        app = os.path.join(tmp, "app")
        shutil.copytree(args.app_dir, app)
        set_config(os.path.join(app, "config.ini"),
                   {"OnOpen": "0", "HomePage": url, "AutoSet": "0", "OpenPass": "0", "Unload": "0",
                    "Mouse": "0", "AutoDelete": "0", "MobileMode": "0"})
        exe = os.path.join(app, "Tessivane")

        results = {}
        for name, cmd in (("Tessivane", [exe]), ("webfloor", [args.floor, url])):
            reqs, loads = [], []
            for _ in range(args.runs):
                r, l, _ = run_once(cmd, env, recorder, cwd=app)
                if r is not None:
                    reqs.append(r)
                    loads.append(l)
                time.sleep(0.3)
            results[name] = (reqs, loads)
            if reqs:
                print("%-10s page request %7.0f ms   load end %7.0f ms   (median of %d: %s)" % (
                    name, statistics.median(reqs), statistics.median(loads), len(reqs),
                    ", ".join("%.0f" % x for x in loads)))
            else:
                print("%-10s did not load the page" % name)
        if results["Tessivane"][0] and results["webfloor"][0]:
            print("ratio      page request %.2f   load end %.2f" % (
                statistics.median(results["Tessivane"][0]) / statistics.median(results["webfloor"][0]),
                statistics.median(results["Tessivane"][1]) / statistics.median(results["webfloor"][1])))

        # Memory with 1 tab, then 10: later starts hand "OpenNew" to the running
        # instance, which opens the start page in a new tab.
        _, _, proc = run_once([exe], env, recorder, cwd=app, keep=True)
        time.sleep(2)
        print("memory     1 tab  %7.1f MB (process tree RSS)" % (tree_rss_kb(proc.pid) / 1024.0))
        t0 = time.monotonic()
        for _ in range(9):
            subprocess.run([exe], env=env, cwd=app, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=30)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and recorder.count_after("/loaded", t0) < 9:
            time.sleep(0.05)
        time.sleep(2)
        print("memory    10 tabs %7.1f MB (process tree RSS; %d of 9 new tabs loaded)" % (
            tree_rss_kb(proc.pid) / 1024.0, recorder.count_after("/loaded", t0)))
        stop(proc)
    finally:
        xvfb.terminate()
        xvfb.wait()
        srv.shutdown()
        shutil.rmtree(tmp, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
