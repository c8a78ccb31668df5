"""A page that holds the browser with dialogs: the whole program still ends on
SIGTERM within a few seconds."""

import os
import signal
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

APP_DIR = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/app'
SEAMED = sys.argv.pop(1) if len(sys.argv) > 1 else 'build/bin/tessivane_seamed'

PAGES = {
    '/loop.html': '<html><head><title>loop</title></head><body><script>for(;;) alert(1);</script></body></html>',
}


class DialogLoop(unittest.TestCase):
    def setUp(self):
        self.server = harness.Server(PAGES)
        self.folder = harness.ProgramFolder(APP_DIR, SEAMED)
        self.folder.set_setting('OnOpen', '0')
        self.folder.set_setting('HomePage', self.server.url('/loop.html'))
        self.folder.set_setting('Unload', '1')
        self.folder.set_setting('AutoSet', '0')
        self.folder.set_setting('OpenPass', '0')
        self.folder.set_setting('AutoDelete', '0')
        self.browser = self.folder.start_seamed()

    def tearDown(self):
        harness.stop(self.browser)
        self.server.close()
        self.folder.cleanup()

    def test_sigterm_ends_the_program_while_a_page_dialog_is_up(self):
        end = time.time() + 60
        dialog = None
        while dialog != '来自网页的消息' and time.time() < end and self.browser.poll() is None:
            dialog = self.browser.ask('modal')
            time.sleep(0.1)
        self.assertEqual(dialog, '来自网页的消息', 'no page dialog came up')

        t0 = time.time()
        self.browser.send_signal(signal.SIGTERM)
        self.browser.wait(15)
        self.assertLess(time.time() - t0, 5)
        self.assertEqual(self.browser.returncode, 128 + signal.SIGTERM)


if __name__ == '__main__':
    unittest.main()
