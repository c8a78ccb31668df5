"""What the browser leaves behind: a program it started (Dunmora) inherits no
descriptor of it, and when the browser ends, by SIGTERM or by closing its
window, none of its web engine helper processes stays behind, even while that
program runs on."""

import os
import shutil
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

APP_DIR = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/app'
SEAMED = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/bin/tessivane_seamed'
FD_PROBE = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/bin/fd_probe'

PAGES = {'/home.html': '<html><head><title>Home</title></head><body>home</body></html>'}


def descendants(pid):
    """Every living process below pid, with its command line."""
    children = {}
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open('/proc/%s/stat' % entry) as f:
                stat = f.read()
            ppid = int(stat.rsplit(')', 1)[1].split()[1])
            children.setdefault(ppid, []).append(int(entry))
        except (OSError, ValueError, IndexError):
            pass
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def cmdline(pid):
    try:
        with open('/proc/%d/cmdline' % pid, 'rb') as f:
            return f.read().replace(b'\0', b' ').decode('utf-8', 'replace')
    except OSError:
        return ''


def alive(pid):
    """Running or sleeping; a zombie that waits for its reaper counts as gone."""
    try:
        with open('/proc/%d/stat' % pid) as f:
            return f.read().rsplit(')', 1)[1].split()[0] not in ('Z', 'X')
    except OSError:
        return False


class EngineHelpers(unittest.TestCase):
    def setUp(self):
        self.server = harness.Server(PAGES)
        self.folder = harness.ProgramFolder(APP_DIR, SEAMED)
        self.folder.set_setting('OnOpen', '0')
        self.folder.set_setting('HomePage', self.server.url('/home.html'))
        for key in ('Unload', 'AutoSet', 'OpenPass', 'AutoDelete', 'Mouse'):
            self.folder.set_setting(key, '0')
        # Dunmora is replaced by a probe that records what it inherited and
        # then runs on, as a download manager does.
        shutil.copy(FD_PROBE, self.folder.path('Dunmora'))
        self.record = os.path.join(self.folder.root, 'Show')
        self.probe_pid = None
        self.browser = self.folder.start_seamed(FD_PROBE_HOLD='120')

    def tearDown(self):
        harness.stop(self.browser)
        if self.probe_pid and alive(self.probe_pid):
            os.kill(self.probe_pid, signal.SIGKILL)
        self.server.close()
        self.folder.cleanup()

    def start_dunmora(self):
        """Opens the download manager with the toolbar's download button and
        returns the probe's report."""
        self.assertTrue(self.server.wait_for('/home.html', 1, 60), 'start page not loaded')
        self.assertIs(self.browser.click('download'), True)
        end = time.time() + 20
        while time.time() < end and not os.path.exists(self.record):
            time.sleep(0.1)
        self.assertTrue(os.path.exists(self.record), 'Dunmora was not started')
        with open(self.record) as f:
            report = dict(l.split(' ', 1) for l in f.read().splitlines())
        self.probe_pid = int(report['pid'])
        return report

    def helpers(self):
        pids = [p for p in descendants(self.browser.pid) if 'QtWebEngineProcess' in cmdline(p)]
        self.assertTrue(pids, 'no engine helper found')
        return pids

    def assert_helpers_end(self, pids):
        end = time.time() + 15
        while time.time() < end and any(alive(p) for p in pids):
            time.sleep(0.2)
        self.assertEqual([p for p in pids if alive(p)], [], 'engine helpers stayed behind')
        self.assertTrue(alive(self.probe_pid), 'the started program should run on')

    def test_sigterm_leaves_no_helper(self):
        report = self.start_dunmora()
        helpers = self.helpers()
        self.browser.send_signal(signal.SIGTERM)
        self.browser.wait(30)
        self.assert_helpers_end(helpers)
        self.assertEqual(report['fds'], '0 1 2')

    def test_closing_the_window_leaves_no_helper(self):
        report = self.start_dunmora()
        helpers = self.helpers()
        self.browser.click('close')
        self.browser.wait(30)
        self.assert_helpers_end(helpers)
        self.assertEqual(report['fds'], '0 1 2')


if __name__ == '__main__':
    unittest.main(verbosity=2)
