"""Start-up, single instance and shutdown of the whole browser."""

import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

APP_DIR = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/app'
SEAMED = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/bin/tessivane_seamed'

PAGES = {
    '/home.html': '<html><head><title>Home</title></head><body>home</body></html>',
    '/alpha.html': '<html><head><title>Alpha</title></head><body>alpha</body></html>',
    '/beta.html': '<html><head><title>Beta</title></head><body>beta</body></html>',
}


class FatalStarts(unittest.TestCase):
    def setUp(self):
        self.folder = harness.ProgramFolder(APP_DIR, SEAMED)

    def tearDown(self):
        self.folder.cleanup()

    def test_missing_config_ends_with_message(self):
        os.remove(self.folder.path('config.ini'))
        p = self.folder.start_seamed()
        p.wait(60)
        self.assertNotEqual(p.returncode, 0)
        self.assertEqual(p.msgboxes(), ['错误|非常抱歉，出现了一个错误\\n浏览器没有发现配置文件，所以不能为你浏览|ok'])

    def test_broken_theme_ends_with_message(self):
        theme = self.folder.read('config.ini')
        name = re.search(rb'\[Theme\]\r\nTheme=([^\r\n]+)', theme).group(1).decode()
        ini = 'Themes/' + name
        data = self.folder.read(ini)
        data = re.sub(rb'(?im)^WhiteFont=.*\r\n', b'', data)
        self.folder.write(ini, data)
        p = self.folder.start_seamed()
        p.wait(60)
        self.assertNotEqual(p.returncode, 0)
        self.assertEqual(p.msgboxes(), ['非常抱歉|浏览器在加载主题时发生了一个错误，现在被迫关闭|ok'])


class SingleInstance(unittest.TestCase):
    def setUp(self):
        self.server = harness.Server(PAGES)
        self.folder = harness.ProgramFolder(APP_DIR, SEAMED)
        self.folder.set_setting('OnOpen', '0')
        self.folder.set_setting('HomePage', self.server.url('/home.html'))
        self.folder.set_setting('Unload', '1')
        self.folder.set_setting('AutoSet', '0')
        self.folder.set_setting('OpenPass', '0')
        self.folder.set_setting('AutoDelete', '0')
        self.config_before = self.folder.read('config.ini')
        self.first = self.folder.start_seamed()

    def tearDown(self):
        harness.stop(self.first)
        self.server.close()
        self.folder.cleanup()

    def second(self, args=()):
        t0 = time.time()
        p = self.folder.start(args)
        p.wait(30)
        return p.returncode, time.time() - t0

    def test_later_start_hands_over_before_it_opens_a_window(self):
        # Without any display a start that built its window could not run:
        # a later start needs none.
        self.assertTrue(self.server.wait_for('/home.html', 1, 60), 'start page not loaded')
        self.assertTrue(harness.wait_socket(self.folder))
        p = self.folder.start([self.server.url('/alpha.html')], QT_QPA_PLATFORM='nonesuch', DISPLAY='',
                              WAYLAND_DISPLAY='')
        p.wait(30)
        self.assertEqual(p.returncode, 0, self.folder.stderr_of(p).decode('utf-8', 'replace')[-500:])
        self.assertTrue(self.server.wait_for('/alpha.html'), 'URL not forwarded')
        self.assertIsNone(self.first.poll(), 'the first instance ended')

    def test_requests_reach_the_running_browser_and_close_saves_two_keys(self):
        self.assertTrue(self.server.wait_for('/home.html', 1, 60), 'start page not loaded')
        self.assertTrue(harness.wait_socket(self.folder))

        code, secs = self.second([self.server.url('/alpha.html')])
        self.assertEqual(code, 0)
        self.assertLess(secs, 15)
        self.assertTrue(self.server.wait_for('/alpha.html'), 'URL not forwarded')

        vkt = os.path.join(self.folder.root, 'beta.vkt')
        with open(vkt, 'wb') as f:
            f.write(self.server.url('/beta.html').encode() + b'\r\n')
        code, _ = self.second([vkt])
        self.assertEqual(code, 0)
        self.assertTrue(self.server.wait_for('/beta.html'), 'bookmark not forwarded')

        code, _ = self.second()
        self.assertEqual(code, 0)
        self.assertTrue(self.server.wait_for('/home.html', 2), 'OpenNew did not load the start page')
        home = self.server.url('/home.html')
        self.assertEqual(self.first.wait_state(lambda tabs, address: tabs == 4 and address == home), (4, home))

        # Four tabs are open: the close asks first, and No changes nothing.
        self.assertIs(self.first.click('close', 'no'), True)
        self.assertEqual(self.first.msgboxes(),
                         ['关闭多个标签页|您的操作会关闭所有已经打开的标签页\\n您确定要继续吗？|no'])
        self.assertIsNone(self.first.poll(), 'closed although the answer was No')
        self.assertEqual(self.folder.read('config.ini'), self.config_before)

        self.first.click('close', 'yes')
        self.first.wait(30)
        self.assertEqual(self.first.returncode, 0)
        self.assertEqual(len(self.first.msgboxes()), 2)
        after = self.folder.read('config.ini').split(b'\r\n')
        before = self.config_before.split(b'\r\n')
        self.assertEqual(len(after), len(before))
        for a, b in zip(after, before):
            key = a.split(b'=')[0]
            if key == b'LastPage':
                self.assertEqual(a, b'LastPage=' + home.encode())
            elif key == b'Addr':
                self.assertIn(a, (b'Addr=0', b'Addr=1'))
            else:
                self.assertEqual(a, b)


class QuietStart(unittest.TestCase):
    """A normal start leaves the terminal to real warnings: the web engine's
    list of its graphics set-up and start parameters is not printed."""

    def setUp(self):
        self.server = harness.Server(PAGES)
        self.folder = harness.ProgramFolder(APP_DIR, SEAMED)
        self.folder.set_setting('OnOpen', '0')
        self.folder.set_setting('HomePage', self.server.url('/home.html'))
        self.folder.set_setting('Unload', '0')
        self.proc = self.folder.start()

    def tearDown(self):
        harness.stop(self.proc)
        self.server.close()
        self.folder.cleanup()

    def test_engine_prints_no_start_up_list(self):
        # The engine has started once it fetched the start page.
        self.assertTrue(self.server.wait_for('/home.html', 1, 60), 'start page not loaded')
        self.assertIsNone(self.proc.poll())
        harness.stop(self.proc)
        err = self.folder.stderr_of(self.proc).decode('utf-8', 'replace')
        self.assertNotIn('qt.webenginecontext', err)
        self.assertNotIn('Init Parameters', err)


if __name__ == '__main__':
    unittest.main(verbosity=2)
