#!/usr/bin/python3
"""The page in a real browser: Debian's Chromium, headless, driven through
chromium-driver, the page served on 127.0.0.1. One browser for all the checks,
in the order a player meets them:

  the title (and how long it takes to appear), then the attract screen;
  the first key starts the sound; Space starts a game, arrows and Shift drive
  and fire; the picture is the desktop's (the picture of docs/screenshots/web.png is taken
  here); Esc ends the run and the page offers a new one; the record made in
  the page replays in sync through the Linux drumhold-trace; a record made on
  Linux replays in the page in sync; a bad file is refused with the desktop's
  message.

Usage: browser_test.py WEB_BUILD LINUX_BUILD SCREENSHOT_PNG
Prints one line per check; "NOT RUN" with the reason when the browser or its
driver is missing (that is a failure, not a skip)."""
import functools
import http.server
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

NOT_RUN = 'BROWSER TESTS NOT RUN: '
try:
    from selenium import webdriver
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.chrome.service import Service as ChromeService
    from PIL import Image
except ImportError as error:
    sys.exit(NOT_RUN + f'{error.name} is missing (python3-selenium, python3-pil)')
for program in ('chromium', 'chromedriver'):
    if not shutil.which(program):
        sys.exit(NOT_RUN + f'{program} is missing (chromium, chromium-driver)')

web, linux, screenshot_path = (os.path.abspath(p) for p in sys.argv[1:4])
trace = os.path.join(linux, 'drumhold-trace')
extra = tempfile.mkdtemp(prefix='drumhold-web-test.')  # served as /extra/
downloads = os.path.join(extra, 'downloads')
os.makedirs(downloads)
failures = []


def check(ok, what, detail=''):
    print(('ok: ' if ok else 'FAIL: ') + what + (f' ({detail})' if detail else ''), flush=True)
    if not ok:
        failures.append(what)
    return ok


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm'}

    def translate_path(self, path):
        if path.startswith('/extra/'):
            return os.path.join(extra, path[len('/extra/'):].split('?')[0])
        return super().translate_path(path)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=web))
threading.Thread(target=server.serve_forever, daemon=True).start()
base = f'http://127.0.0.1:{server.server_address[1]}/'

options = webdriver.ChromeOptions()
options.binary_location = shutil.which('chromium')
for flag in ('--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
             '--disable-dev-shm-usage', '--autoplay-policy=no-user-gesture-required', '--window-size=800,600'):
    options.add_argument(flag)
options.add_experimental_option('prefs', {'download.default_directory': downloads,
                                          'download.prompt_for_download': False})
options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
driver = webdriver.Chrome(service=ChromeService(executable_path=shutil.which('chromedriver')),
                          options=options)
# The page's inside exactly 800x600: the canvas then shows the picture 1:1.
driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                       {'width': 800, 'height': 600, 'deviceScaleFactor': 1, 'mobile': False})


def picture():
    """The page as shown, without its control bar and messages."""
    driver.execute_script("document.getElementById('bar').style.visibility = 'hidden';"
                          "document.getElementById('messages').style.visibility = 'hidden';")
    image = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert('RGB')
    driver.execute_script("document.getElementById('bar').style.visibility = '';"
                          "document.getElementById('messages').style.visibility = '';")
    return image


def lit(image, box=None):
    region = image.crop(box) if box else image
    return sum(1 for p in region.getdata() if max(p) > 100)


def wait(condition, seconds, step=0.1):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def desktop_title():
    path = os.path.join(extra, 'title.ppm')
    subprocess.run([os.path.join(linux, 'title_picture'), path], check=True, capture_output=True)
    return Image.open(path).convert('RGB')


# Both pictures come from software rasterisers (Mesa's for the desktop,
# SwiftShader for the page) that follow GL's rules for which pixels a triangle
# covers; they may still round an edge that passes right through a pixel's
# centre differently. So the pictures may differ on a few edge pixels, never
# in colour, place or shape: at most TOLERANCE of the pixels lit in either.
TOLERANCE = 0.02


def same_picture(page, desktop, what):
    differing = lit_either = 0
    for a, b in zip(page.getdata(), desktop.getdata()):
        on_a, on_b = max(a) > 100, max(b) > 100
        if on_a or on_b:
            lit_either += 1
            if max(abs(x - y) for x, y in zip(a, b)) > 96:
                differing += 1
    share = differing / lit_either if lit_either else 1.0
    return check(lit_either > 1000 and share <= TOLERANCE, what,
                 f'{differing} of {lit_either} lit pixels differ, {share:.2%}; tolerance {TOLERANCE:.0%}')


def page_state():
    return driver.execute_script('return window.drumhold && window.drumhold.state')


def messages():
    return driver.execute_script("return document.getElementById('messages').textContent")


def press(key, hold=0.15):
    ActionChains(driver).key_down(key).pause(hold).key_up(key).perform()


def last_check():
    """The frame of the last check the running game's record holds."""
    text = driver.execute_script(
        'const m = window.drumhold.instance;'
        'try { return new TextDecoder().decode(m.FS.readFile(m.recordPath)); } catch (e) { return ""; }')
    checks = re.findall(r'^check (\d+) ', text, re.M)
    return int(checks[-1]) if checks else None


def tick_rate(seconds):
    """Ticks per second over about `seconds`, from the frames of the record's
    checks (written about once a second) and the times they appeared."""
    def next_check(after):
        return wait(lambda: (lambda n: n is not None and n != after and (n, time.time()))(last_check()), 5, 0.02)
    first = next_check(last_check())
    if not first:
        return None
    time.sleep(max(0.0, seconds - 1.5))
    last = next_check(last_check())
    return (last[0] - first[0]) / (last[1] - first[1]) if last else None


def run_trace(path):
    done = subprocess.run([trace, path], capture_output=True, text=True)
    return done.returncode, done.stderr.strip()


try:
    # --- the title, then the attract screen --------------------------------
    start = time.time()
    driver.get(base + 'index.html')
    first = wait(lambda: lit(picture()) > 500 and time.time(), 20, 0.05)
    check(first is not None, 'the title appears', f'{first - start:.2f} s after the page was asked for'
          if first else 'nothing drawn in 20 s')
    check(driver.title == 'zandrel', "the page's title is the window's", driver.title)
    title = picture()
    same_picture(title, desktop_title(), 'the title is the desktop\'s title picture')
    time.sleep(6.5)  # the title stays 5 s
    attract = picture()
    check(lit(attract) > 500 and attract.tobytes() != title.tobytes(), 'the attract screen follows the title')

    # --- sound, play, drive and fire --------------------------------------
    press(Keys.SPACE)
    audio = wait(lambda: driver.execute_script(
        'const m = window.drumhold.instance; return m && m.SDL2 && m.SDL2.audioContext'
        ' && m.SDL2.audioContext.state') == 'running', 5)
    check(audio, 'the audio context runs after the first key')
    rate = tick_rate(6)
    check(rate is not None, 'ticks per second in play', f'{rate:.1f}' if rate else 'no checks in the record')
    actions = ActionChains(driver)
    actions.key_down(Keys.ARROW_UP).pause(1.5).key_down(Keys.ARROW_LEFT).key_down(Keys.SHIFT).pause(1.5)
    actions.key_up(Keys.ARROW_LEFT).pause(0.4).perform()
    picture().save(screenshot_path)
    ActionChains(driver).key_up(Keys.SHIFT).key_up(Keys.ARROW_UP).perform()
    scrolled = driver.execute_script('return window.scrollX + window.scrollY')
    check(scrolled == 0, 'the game keys do not scroll the page')
    # Alt+Enter and F11 are the page's fullscreen: the game never sees a display switch.
    ActionChains(driver).key_down(Keys.ALT).key_down(Keys.ENTER).key_up(Keys.ENTER).key_up(Keys.ALT).perform()
    press(Keys.F11)
    time.sleep(1.5)  # the record is written out once a second

    # --- Esc ends the run; the page offers a new one ----------------------
    press(Keys.ESCAPE)
    ended = wait(lambda: page_state() == 'ended', 10)
    offered = driver.execute_script("return !document.getElementById('again').hidden")
    check(ended and offered, 'Esc ends the run and the page offers a new one')

    # --- the page's record replays in sync on Linux -----------------------
    driver.find_element('id', 'download').click()
    record = wait(lambda: [f for f in os.listdir(downloads) if f.endswith('.replay')], 10)
    if check(bool(record), 'the record downloads'):
        path = os.path.join(downloads, record[0])
        status, said = run_trace(path)
        with open(path) as f:
            text = f.read()
        check(status == 0, "the page's record replays in sync through the Linux drumhold-trace", said)
        check('reinit' not in text, 'Alt+Enter and F11 switch no display: no reinit in the record')
        check(re.search(r'\bspace\b', text) and re.search(r'up,left,fire|up,fire,left|left,up,fire', text)
              is not None, 'the record holds Space, then the arrows with Shift')
        shutil.copy(path, os.path.join(extra, 'from-page.replay'))

    # --- a Linux record replays in the page -------------------------------
    # A record as the desktop writes it: the golden drive-and-fire game with
    # the checks the Linux tool computes.
    golden = os.path.join(os.path.dirname(__file__), '..', 'tools', 'golden', 'drive_fire.script')
    out = subprocess.run([trace, golden], capture_output=True, text=True, check=True).stdout.split('\n')
    frames = [line.split() for line in out if line.startswith('FRAME ')]
    with open(golden) as f:
        steps = f.read()
    last = frames[-1]
    with open(os.path.join(extra, 'linux.replay'), 'w') as f:
        f.write(steps + f'check {last[1]} {last[2]}\n')
    driver.get(base + 'index.html?replay=extra/linux.replay')
    said = wait(lambda: 'replay ended' in messages() or 'out of sync' in messages(), 120, 0.5)
    text = messages()
    check(f'drumhold: replay ended at frame {last[1]}, in sync' in text,
          'a record made on Linux replays in the page in sync', text.strip().splitlines()[-1] if text else 'no message')
    logs = ' '.join(entry['message'] for entry in driver.get_log('browser'))
    check('replay ended at frame' in logs, "the page's messages are in the browser console too")

    # --- a bad file is refused with the desktop's words -------------------
    with open(os.path.join(extra, 'bad.replay'), 'w') as f:
        f.write('30 -\n5 sideways\n')
    driver.get(base + 'index.html?replay=extra/bad.replay')
    wait(lambda: page_state() == 'ended', 20)
    text = messages()
    check('drumhold: extra/bad.replay: line 2:' in text and page_state() == 'ended',
          'a bad replay file is refused with its message', text.strip())
finally:
    driver.quit()
    server.shutdown()
    shutil.rmtree(extra, ignore_errors=True)

if failures:
    print(f'{len(failures)} browser check(s) failed')
    sys.exit(1)
print('all browser checks passed')
