"""Helpers for whole-program tests: a private copy of the program folder, a
loopback web server that records the paths it served, and process control."""

import http.server
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time


class Recorder(http.server.BaseHTTPRequestHandler):
    pages = {}
    seen = []

    def do_GET(self):
        Recorder.seen.append((self.path, dict(self.headers)))
        body = Recorder.pages.get(self.path.split('?')[0])
        if body is None:
            self.send_response(404)
            self.send_header('Content-Type', 'text/html')
            self.end_headers()
            self.wfile.write(b'<html><title>404</title></html>')
            return
        self.send_response(200)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class Server:
    def __init__(self, pages):
        Recorder.pages = {k: v.encode('utf-8') for k, v in pages.items()}
        Recorder.seen = []
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Recorder)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return 'http://127.0.0.1:%d%s' % (self.port, path)

    def paths(self):
        return [p for p, _ in Recorder.seen]

    def wait_for(self, path, count=1, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if self.paths().count(path) >= count:
                return True
            time.sleep(0.1)
        return False

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class ProgramFolder:
    """A copy of the shipped program folder with its own runtime folder, so
    that instances of this test never meet other instances."""

    def __init__(self, app_dir):
        self.root = tempfile.mkdtemp(prefix='tsv-e2e-')
        self.app = os.path.join(self.root, 'app')
        shutil.copytree(app_dir, self.app, symlinks=True)
        self.runtime = os.path.join(self.root, 'run')
        os.mkdir(self.runtime, 0o700)
        self.home = os.path.join(self.root, 'home')
        os.mkdir(self.home)

    def path(self, rel):
        return os.path.join(self.app, rel.replace('\\', '/'))

    def read(self, rel):
        with open(self.path(rel), 'rb') as f:
            return f.read()

    def write(self, rel, data):
        with open(self.path(rel), 'wb') as f:
            f.write(data)

    def set_setting(self, key, value):
        """Replaces KEY=... in config.ini's [Setting] section (the test's own
        simple editor: the shipped file has every key once)."""
        lines = self.read('config.ini').split(b'\r\n')
        out = []
        done = False
        for line in lines:
            if line.split(b'=')[0].strip().lower() == key.lower().encode() and not done:
                out.append(key.encode() + b'=' + value.encode('gbk'))
                done = True
            else:
                out.append(line)
        assert done, key
        self.write('config.ini', b'\r\n'.join(out))

    def env(self, **extra):
        e = dict(os.environ)
        e['XDG_RUNTIME_DIR'] = self.runtime
        e['XDG_DATA_HOME'] = os.path.join(self.home, 'data')
        e['XDG_CONFIG_HOME'] = os.path.join(self.home, 'config')
        e['XDG_CACHE_HOME'] = os.path.join(self.home, 'cache')
        e['HOME'] = self.home
        e.setdefault('QTWEBENGINE_DISABLE_SANDBOX', '1')
        e.update(extra)
        return e

    def start(self, args=(), **env):
        """Starts Tessivane; its standard error goes to a file (read it with
        stderr_of), so that a chatty engine never blocks on a full pipe."""
        self._count = getattr(self, '_count', 0) + 1
        err_path = os.path.join(self.root, 'stderr-%d.txt' % self._count)
        with open(err_path, 'wb') as err:
            p = subprocess.Popen([self.path('Tessivane')] + list(args), env=self.env(**env),
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err,
                                 cwd=self.root)
        p.err_path = err_path
        return p

    @staticmethod
    def stderr_of(proc):
        with open(proc.err_path, 'rb') as f:
            return f.read()

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


def wait_socket(folder, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        for name in os.listdir(folder.runtime):
            if 'Tessivane' in name and not name.endswith('.lock'):
                return True
        time.sleep(0.1)
    return False


def xdotool(*args):
    r = subprocess.run(['xdotool'] + list(args), capture_output=True, text=True)
    return r.stdout.strip()


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
