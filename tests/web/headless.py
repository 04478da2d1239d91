"""Headless Chromium for the page: Debian's chromium driven through
chromium-driver, with SwiftShader for WebGL, and a page's folder served on
127.0.0.1. Used by browser_test.py and scripts/measure-web.py."""
import functools
import http.server
import os
import re
import shutil
import sys
import threading
import time

NOT_RUN = 'BROWSER TESTS NOT RUN: '
try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service as ChromeService
except ImportError as error:
    sys.exit(NOT_RUN + f'{error.name} is missing (python3-selenium)')
for program in ('chromium', 'chromedriver'):
    if not shutil.which(program):
        sys.exit(NOT_RUN + f'{program} is missing (chromium, chromium-driver)')


def page_files():
    """The files of web/bundle.txt that a browser fetches: all but the
    replay tool for node."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'web', 'bundle.txt')) as f:
        names = [line.strip() for line in f if line.strip() and not line.startswith('#')]
    return [name for name in names if not name.startswith('drumhold-trace.')]


class Handler(http.server.SimpleHTTPRequestHandler):
    """Serves the folder, with `extra` under /extra/ and the names in
    `missing` answered 404; lists the requests it answers in the server's
    `asked` (path, status) and the files it sends in `served` (path, bytes),
    and while the server is `offline` answers nothing."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm',
                      '.webmanifest': 'application/manifest+json'}

    def __init__(self, *args, extra=None, missing=(), **kwargs):
        self.extra, self.missing = extra, missing
        super().__init__(*args, **kwargs)

    def handle(self):
        if not self.server.offline:  # offline: the connection closes unanswered, a network error
            super().handle()

    def name(self):
        return self.path.split('?')[0].lstrip('/')

    def log_request(self, code='-', size='-'):
        self.server.asked.append((self.name(), int(code)))

    def copyfile(self, source, outputfile):
        super().copyfile(source, outputfile)
        self.server.served.append((self.name(), source.tell()))

    def send_head(self):
        if self.name() in self.missing:
            self.send_error(404)
            return None
        return super().send_head()

    def translate_path(self, path):
        if self.extra and path.startswith('/extra/'):
            return os.path.join(self.extra, path[len('/extra/'):].split('?')[0])
        return super().translate_path(path)

    def log_message(self, *args):
        pass


def serve(folder, extra=None, missing=()):
    """Serves `folder` until the program ends; returns (its address, the server)."""
    server = http.server.ThreadingHTTPServer(
        ('127.0.0.1', 0), functools.partial(Handler, directory=folder, extra=extra, missing=missing))
    server.asked, server.served, server.offline = [], [], False
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f'http://127.0.0.1:{server.server_address[1]}/', server


def chromium(downloads=None, width=800, height=600, phone=False):
    """The browser, its page's inside exactly width x height at one screen
    pixel per page pixel, the console kept. A `phone` is chromedriver's
    emulation of one: width x height at three screen pixels per page pixel,
    a touch screen, and sound only after a player's gesture."""
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which('chromium')
    flags = ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
             '--disable-dev-shm-usage', f'--window-size={width},{height}']
    if phone:
        options.add_experimental_option('mobileEmulation', {
            'deviceMetrics': {'width': width, 'height': height, 'pixelRatio': 3.0, 'touch': True}})
    else:
        flags.append('--autoplay-policy=no-user-gesture-required')
    for flag in flags:
        options.add_argument(flag)
    if downloads:
        options.add_experimental_option('prefs', {'download.default_directory': downloads,
                                                  'download.prompt_for_download': False})
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=ChromeService(executable_path=shutil.which('chromedriver')), options=options)
    if not phone:
        page_size(driver, width, height)
    return driver


def page_size(driver, width, height):
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                           {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': False})


failures = []


def check(ok, what, detail=''):
    """Prints the outcome of one check; a failed one is counted."""
    print(('ok: ' if ok else 'FAIL: ') + what + (f' ({detail})' if detail else ''), flush=True)
    if not ok:
        failures.append(what)
    return ok


def report(kind):
    """Ends the program: with status 1 when a check failed."""
    if failures:
        print(f'{len(failures)} {kind} check(s) failed')
        sys.exit(1)
    print(f'all {kind} checks passed')


def wait(condition, seconds, step=0.1):
    """The first true value of `condition` within `seconds`, else None."""
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def last_check(driver):
    """The frame of the last check the running game's record holds."""
    text = driver.execute_script(
        'const m = window.drumhold.instance;'
        'try { return new TextDecoder().decode(m.FS.readFile(m.recordPath)); } catch (e) { return ""; }')
    checks = re.findall(r'^check (\d+) ', text, re.M)
    return int(checks[-1]) if checks else None
