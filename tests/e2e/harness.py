"""Helpers for whole-program tests: a private copy of the program folder, a
loopback web server that records the paths it served, and process control."""

import http.server
import os
import shutil
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
    that instances of this test never meet other instances. The seamed
    program (the browser's main() with the test doubles of its desktop seams)
    is copied in beside the shipped one, as it finds its files by its own
    folder."""

    SEAMED = 'tessivane_seamed'

    def __init__(self, app_dir, seamed_exe):
        self.root = tempfile.mkdtemp(prefix='tsv-e2e-')
        self.app = os.path.join(self.root, 'app')
        shutil.copytree(app_dir, self.app, symlinks=True)
        shutil.copy2(seamed_exe, self.path(self.SEAMED))
        self.runtime = os.path.join(self.root, 'run')
        os.mkdir(self.runtime, 0o700)
        self.home = os.path.join(self.root, 'home')
        os.mkdir(self.home)
        self._count = 0

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

    def _err_file(self):
        self._count += 1
        return os.path.join(self.root, 'stderr-%d.txt' % self._count)

    def start(self, args=(), **env):
        """Starts the shipped Tessivane; its standard error goes to a file (read
        it with stderr_of), so that a chatty engine never blocks on a full pipe."""
        err_path = self._err_file()
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

    def start_seamed(self, args=(), **env):
        """Starts the seamed program; see Seamed."""
        with open(self._err_file(), 'wb') as err:
            p = subprocess.Popen([self.path(self.SEAMED)] + list(args), env=self.env(**env),
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=err,
                                 cwd=self.root)
        return Seamed(p)

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


class Seamed:
    """The seamed program as its test drives it: the lines it reports and the
    commands it takes (see SeamedStart.cpp)."""

    def __init__(self, proc):
        self.proc = proc
        self.pid = proc.pid
        self._lines = []
        self._cond = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stdout:
            with self._cond:
                self._lines.append(raw.decode('utf-8', 'replace').rstrip('\n'))
                self._cond.notify_all()
        self.proc.stdout.close()
        with self._cond:
            self._lines.append(None)  # end of output
            self._cond.notify_all()

    def lines(self, prefix=''):
        with self._cond:
            return [l for l in self._lines if l is not None and l.startswith(prefix)]

    def msgboxes(self):
        return [l[len('msgbox '):] for l in self.lines('msgbox ')]

    def wait_line(self, prefix, count=1, timeout=30):
        """Waits until COUNT lines starting with PREFIX were reported; returns
        the last of them, or None when the program ended or the time ran out."""
        end = time.time() + timeout
        with self._cond:
            while True:
                found = [l for l in self._lines if l is not None and l.startswith(prefix)]
                if len(found) >= count:
                    return found[count - 1]
                left = end - time.time()
                if None in self._lines or left <= 0:
                    return None
                self._cond.wait(left)

    def wait_state(self, pred, timeout=30):
        """Asks for the state until pred(tabs, address) holds; returns the
        last (tabs, address), or None when the program ended or never got there."""
        end = time.time() + timeout
        last = None
        while time.time() < end:
            line = self.ask('state', max(0.1, end - time.time()))
            if line is None:
                return None
            words = line.split(' ', 1)
            last = (int(words[0]), words[1] if len(words) > 1 else '')
            if pred(*last):
                return last
            time.sleep(0.05)
        return last

    def ask(self, command, timeout=30):
        """Sends a command that answers with one line starting with its own
        name; returns that line's rest, or None when no answer came."""
        name = command.split(' ', 1)[0]
        asked = len(self.lines(name + ' '))
        self.command(command)
        line = self.wait_line(name + ' ', asked + 1, timeout)
        return None if line is None else line[len(name) + 1:]

    def click(self, control, answer='no'):
        """Clicks a control of the main window ('close', 'download'); a
        question it raises gets ANSWER. Returns whether the window still
        shows afterwards (None when the program ended first)."""
        done = len(self.lines('clicked '))
        self.command('click %s %s' % (control, answer))
        line = self.wait_line('clicked ', done + 1)
        return None if line is None else line == 'clicked 1'

    def send_signal(self, sig):
        self.proc.send_signal(sig)

    def command(self, line):
        self.proc.stdin.write(line.encode() + b'\n')
        self.proc.stdin.flush()

    def wait(self, timeout):
        code = self.proc.wait(timeout)
        self.proc.stdin.close()
        return code

    def poll(self):
        return self.proc.poll()

    @property
    def returncode(self):
        return self.proc.returncode


def wait_socket(folder, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        for name in os.listdir(folder.runtime):
            if 'Tessivane' in name and not name.endswith('.lock'):
                return True
        time.sleep(0.1)
    return False


def stop(proc):
    proc = getattr(proc, 'proc', proc)
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    if proc.stdin:
        proc.stdin.close()
