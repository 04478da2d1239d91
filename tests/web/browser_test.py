#!/usr/bin/python3
"""The page in a real browser: Debian's Chromium, headless, driven through
chromium-driver, the page served on 127.0.0.1. One browser for all the checks,
in the order a player meets them:

  the title (and how long it takes to appear), with no touch controls on a
  desktop without a touch screen, then the attract screen, drawn without
  broken circles at the sizes a page is shown at; the first key starts the
  sound; Space starts a game, arrows and Shift drive and fire; the picture
  is the desktop's (the picture of docs/screenshots/web.png is taken here); a
  hidden page pauses the game; Esc ends the run, its last picture stays and
  Space starts the next; the record made in the page replays in sync through
  the Linux drumhold-trace; a 50 MB replay chosen during a game ends it (its
  record kept) and starts without a reload or a stall; a record made on Linux
  replays in the page in sync; a bad file is refused with the desktop's
  message; a missing file or no WebGL get a plain message, never an alert.

Usage: browser_test.py WEB_BUILD LINUX_BUILD SCREENSHOT_PNG
Prints one line per check; "NOT RUN" with the reason when the browser or its
driver is missing (that is a failure, not a skip)."""
import io
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import headless  # noqa: E402
from headless import check, wait  # noqa: E402

try:
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    from selenium.common.exceptions import NoAlertPresentException
    from PIL import Image
except ImportError as error:
    sys.exit(headless.NOT_RUN + f'{error.name} is missing (python3-selenium, python3-pil)')

web, linux, screenshot_path = (os.path.abspath(p) for p in sys.argv[1:4])
trace = os.path.join(linux, 'drumhold-trace')
extra = tempfile.mkdtemp(prefix='drumhold-web-test.')  # served as /extra/
downloads = os.path.join(extra, 'downloads')
os.makedirs(downloads)


missing = set()  # files the server says it does not have
base, server = headless.serve(web, extra, missing)
driver = headless.chromium(downloads)


def page_size(width, height):
    headless.page_size(driver, width, height)


# The tab's title as the page first has it, before the game runs; the
# timers that have run out (the game paces its ticks with them).
driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source':
                       "addEventListener('DOMContentLoaded', () => window.titleAtLoad = document.title);"
                       "window.timersRun = 0; ((set) => window.setTimeout = (f, ...rest) =>"
                       " set((...a) => { window.timersRun++; f(...a); }, ...rest))(setTimeout);"})


def picture():
    """The page as shown, without its controls and messages."""
    controls = "document.querySelectorAll('#panel, #bar, #messages').forEach((e) => e.style.visibility = '%s');"
    driver.execute_script(controls % 'hidden')
    image = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert('RGB')
    driver.execute_script(controls % '')
    return image


def lit(image, box=None):
    region = image.crop(box) if box else image
    return sum(1 for p in region.getdata() if max(p) > 100)


def desktop_title():
    path = os.path.join(extra, 'title.ppm')
    subprocess.run([os.path.join(linux, 'scene_picture'), 'title', path], check=True, capture_output=True)
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
    return headless.last_check(driver)


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


def downloaded_record(before):
    """The path of a record downloaded after the files in `before`."""
    new = wait(lambda: [f for f in os.listdir(downloads) if f.endswith('.replay') and f not in before], 10)
    return os.path.join(downloads, new[0]) if new else None


# The barrels of a fresh world: white circles of radius 1 (16-sided).
BARREL_HOMES = [(-6, -6), (-6, -2), (-6, 2), (-6, 6), (-3, -4), (-3, 0), (-3, 4), (0, -6), (0, -2), (0, 2),
                (0, 6), (3, -4), (3, 0), (3, 4), (6, -6), (6, -2), (6, 2), (6, 6)]


def widest_ring_gap(image, box):
    """The longest stretch, in pixels of arc, of a barrel's ring with nothing
    lit, over the barrels at home. Neighbouring pixels of an unbroken ring are
    at most a diagonal step (1.4) apart; a rasteriser may leave out one pixel
    where two of the circle's sides meet (2.2 to 2.8); a picture scaled after
    it was drawn drops whole rows and columns (3.5 and more)."""
    left, top, width, height = box
    pixels = image.load()
    radius = width / 120
    widest = 0.0
    for x, y in BARREL_HOMES:
        cx, cy = left + (x + 60) / 120 * width, top + (45 - y) / 90 * height
        angles = sorted(math.atan2(py + 0.5 - cy, px + 0.5 - cx)
                        for py in range(math.floor(cy - radius - 3), math.ceil(cy + radius + 3))
                        for px in range(math.floor(cx - radius - 3), math.ceil(cx + radius + 3))
                        if abs(math.hypot(px + 0.5 - cx, py + 0.5 - cy) - radius) <= 1.5 and max(pixels[px, py]) > 100)
        if not angles:
            return math.inf
        steps = [b - a for a, b in zip(angles, angles[1:])] + [angles[0] + 2 * math.pi - angles[-1]]
        widest = max(widest, max(steps) * radius)
    return widest


def choose_file(path):
    """Chooses `path` in the page's "replay a file", as a player would."""
    element = driver.execute_cdp_cmd('Runtime.evaluate', {'expression': "document.getElementById('replay-file')"})
    node = driver.execute_cdp_cmd('DOM.describeNode', {'objectId': element['result']['objectId']})
    driver.execute_cdp_cmd('DOM.setFileInputFiles', {'files': [path], 'backendNodeId': node['node']['backendNodeId']})


def alert_shown():
    try:
        driver.switch_to.alert.dismiss()
        return True
    except NoAlertPresentException:
        return False


try:
    # --- the title, then the attract screen --------------------------------
    start = time.time()
    driver.get(base + 'index.html')
    first = wait(lambda: lit(picture()) > 500 and time.time(), 20, 0.05)
    check(first is not None, 'the title appears', f'{first - start:.2f} s after the page was asked for'
          if first else 'nothing drawn in 20 s')
    titles = driver.execute_script('return window.titleAtLoad'), driver.title
    check(titles == ('zandrel', 'zandrel'), "the page's title is the window's from the start", titles)
    title = picture()
    same_picture(title, desktop_title(), 'the title is the desktop\'s title picture')
    touch = driver.execute_script("return [...document.querySelectorAll('#touch > *')].filter((e) => e.getClientRects().length)"
                                  ".map((e) => e.id)")
    check(touch == [], 'a desktop without a touch screen shows no touch controls', touch)
    time.sleep(6.5)  # the title stays 5 s
    attract = picture()
    check(lit(attract) > 500 and attract.tobytes() != title.tobytes(), 'the attract screen follows the title')

    # --- the picture at the sizes a page is shown at ------------------------
    # A browser's inside at 500x800, 1280x720 and 1920x1080 with its own bars:
    # the field at 0.625, 0.96 and 1.56 times 800x600. The barrels are still at
    # home on the first attract screen.
    gaps = []
    for width, height in ((500, 657), (1280, 577), (1920, 937)):
        page_size(width, height)
        field = 4 * min(width // 4, height // 3)  # the largest 4:3 field, in whole pixels
        box = wait(lambda: driver.execute_script(
            "const c = document.getElementById('canvas'), r = c.getBoundingClientRect();"
            "return c.width == arguments[0] && Math.round(r.width) == arguments[0]"
            " && [r.left, r.top, r.width, r.height]", field), 5)
        time.sleep(0.3)  # the next display frame draws it at the new size
        gaps.append(widest_ring_gap(picture(), box) if box else math.inf)
    page_size(800, 600)
    check(max(gaps) < 3, 'the barrels are unbroken circles at 0.625, 0.96 and 1.56 times the size',
          'widest gap in a ring: ' + ', '.join(f'{gap:.1f}' for gap in gaps) + ' pixels; a drawn ring\'s under 3')

    # --- sound, play, drive and fire --------------------------------------
    press(Keys.SPACE)
    audio = wait(lambda: driver.execute_script(
        'const m = window.drumhold.instance; return m && m.SDL2 && m.SDL2.audioContext'
        ' && m.SDL2.audioContext.state') == 'running', 5)
    check(audio, 'the audio context runs after the first key')
    timers = driver.execute_script('return [window.timersRun, performance.now()]')
    rate = tick_rate(6)
    check(rate is not None, 'ticks per second in play', f'{rate:.1f}' if rate else 'no checks in the record')
    # A timer a tick: a second round of timers beside the first would double
    # the page's work for the rest of the run.
    timers = [b - a for a, b in zip(timers, driver.execute_script('return [window.timersRun, performance.now()]'))]
    per_tick = timers[0] * 1000 / timers[1] / rate if rate else math.inf
    check(per_tick < 1.5, 'the game runs out one timer a tick in play', f'{per_tick:.2f}')
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

    # --- a hidden page is a minimised window: the game pauses -------------
    # The record gets a check about once a second while frames run.
    driver.minimize_window()
    time.sleep(1.5)
    before = last_check()
    time.sleep(2)
    paused = last_check()
    driver.set_window_rect(width=800, height=600)
    page_size(800, 600)
    resumed = wait(lambda: (lambda n: n is not None and paused is not None and n > paused and n)(last_check()), 5)
    check(before is not None and paused == before and resumed,
          'a hidden page runs no frames, and they go on when it is shown',
          f'last check at frame {before} hidden, {paused} 2 s later, {resumed} once shown')
    time.sleep(1.5)  # the record is written out once a second

    # --- Esc ends the run; its picture stays and Space starts the next -------
    press(Keys.ESCAPE)
    ended = wait(lambda: page_state() == 'ended', 10)
    kept = driver.execute_script(
        "const c = document.getElementById('still'); if (!c) return null;"
        "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data; let n = 0;"
        "for (let i = 0; i < d.length; i += 4) n += Math.max(d[i], d[i + 1], d[i + 2]) > 100;"
        "return [n, getComputedStyle(c).filter]")
    check(ended and kept and kept[0] > 500 and 'brightness' in kept[1],
          'Esc ends the run and its last picture stays, dimmed', kept)

    # --- the page's record replays in sync on Linux -----------------------
    driver.find_element('id', 'download').click()
    path = downloaded_record(())
    if check(bool(path), 'the record downloads'):
        status, said = run_trace(path)
        with open(path) as f:
            text = f.read()
        check(status == 0, "the page's record replays in sync through the Linux drumhold-trace", said)
        check('reinit' not in text, 'Alt+Enter and F11 switch no display: no reinit in the record')
        check(re.search(r'\bspace\b', text) and re.search(r'up,left,fire|up,fire,left|left,up,fire', text)
              is not None, 'the record holds Space, then the arrows with Shift')
        shutil.copy(path, os.path.join(extra, 'from-page.replay'))

    ActionChains(driver).move_to_element(driver.find_element('id', 'stage')).perform()  # the pointer off the bar
    press(Keys.SPACE)
    check(wait(lambda: page_state() == 'playing', 10), 'Space starts a new run', page_state())

    # --- a replay chosen during a game: the game ends, the replay starts --------
    # A record of 50 MB; the page's timer must never wait more than 200 ms.
    big = os.path.join(extra, 'big.replay')
    with open(big, 'w') as f:
        f.write('# fifty megabytes of frames\n' + '7 up,left,fire\n3 right\n1 -\n' * 1_700_000)
    wait(lambda: (last_check() or 0) > 0, 15)  # past the title
    press(Keys.ARROW_UP, 0.5)
    time.sleep(1.5)  # the record is written out once a second
    before = set(os.listdir(downloads))
    driver.execute_script("window.sameDocument = true; window.longestWait = 0; let last = performance.now();"
                          "setInterval(() => { const now = performance.now();"
                          " longestWait = Math.max(longestWait, now - last); last = now; }, 10);")
    choose_file(big)
    # Once the file is checked the replay's title shows.
    started = wait(lambda: page_state() == 'replaying' and lit(picture()) > 500, 30, 0.25)
    time.sleep(0.5)
    same, longest, said = driver.execute_script(
        "return [window.sameDocument, longestWait, document.getElementById('messages').textContent]")
    check(started and same and longest < 200 and 'drumhold:' not in said,
          'a 50 MB replay chosen during a game starts in the same page without a stall',
          f'longest wait of the page\'s timer {longest:.0f} ms' + (f'; {said.strip()}' if said.strip() else ''))
    driver.find_element('id', 'download').click()
    path = downloaded_record(before)
    if path:
        status, said = run_trace(path)
        with open(path) as f:
            text = f.read()
    check(path and status == 0 and re.search(r'\bup\b', text),
          "the game it ended keeps its record, which replays in sync on Linux",
          (said or f'exit status {status}') if path else 'no record')

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

    # The keyboard plays on after the replay; the record is the whole game.
    ActionChains(driver).key_down(Keys.ARROW_UP).pause(1.0).key_up(Keys.ARROW_UP).perform()
    wait(lambda: (last_check() or 0) > int(last[1]), 10)
    before = set(os.listdir(downloads))
    press(Keys.ESCAPE)
    wait(lambda: page_state() == 'ended', 10)
    driver.find_element('id', 'download').click()
    path = downloaded_record(before)
    status, said = run_trace(path) if path else (None, '')
    checks = re.findall(r'^check (\d+) ', open(path).read(), re.M) if path else []
    check(status == 0 and checks and int(checks[-1]) > int(last[1]),
          'a replay and the play after it make one record, in sync on Linux',
          (said or f'exit status {status}, last check {checks[-1] if checks else None}') if path else 'no record')

    # --- a bad file is refused with the desktop's words -------------------
    with open(os.path.join(extra, 'bad.replay'), 'w') as f:
        f.write('30 -\n5 sideways\n')
    driver.get(base + 'index.html?replay=extra/bad.replay')
    wait(lambda: page_state() == 'ended', 20)
    text = messages()
    check('drumhold: extra/bad.replay: line 2:' in text and page_state() == 'ended',
          'a bad replay file is refused with its message', text.strip())

    # --- a game that cannot run says so plainly ---------------------------
    def plainly(what, cause):
        alerted = []
        failed = wait(lambda: (alert_shown() and alerted.append(True)) or page_state() == 'failed', 20)
        notice, again = driver.execute_script(
            "return [(document.getElementById('notice-text') || document.body).textContent,"
            " !document.getElementById('again').hidden]")
        check(failed and cause in notice and not again and not alerted, what,
              ('an alert; ' if alerted else '') + ' '.join(notice.split()))
    driver.execute_cdp_cmd('Network.enable', {})
    driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
    driver.execute_cdp_cmd('Network.setBypassServiceWorker', {'bypass': True})  # it keeps the files
    missing.add('drumhold.wasm')
    driver.get(base + 'index.html')
    plainly('a missing drumhold.wasm is said plainly, with no alert and nothing offered', 'drumhold.wasm')
    missing.clear()
    no_webgl = driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source':
        "const getContext = HTMLCanvasElement.prototype.getContext;"
        "HTMLCanvasElement.prototype.getContext = function (type, ...rest) {"
        " return /webgl/.test(type) ? null : getContext.call(this, type, ...rest); };"})
    driver.get(base + 'index.html')
    plainly('no WebGL is said plainly, with no alert and nothing offered', 'WebGL')
    driver.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument', {'identifier': no_webgl['identifier']})
finally:
    driver.quit()
    server.shutdown()
    shutil.rmtree(extra, ignore_errors=True)

headless.report('browser')
