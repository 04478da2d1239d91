#!/usr/bin/python3
"""The page on a phone: Debian's Chromium, headless, in chromedriver's
emulation of a phone (844x390 in landscape, 390x844 upright, three screen
pixels per page pixel, a touch screen, sound only after a gesture), touches
sent as the touch screen sends them (the DevTools protocol's
Input.dispatchTouchEvent), the page served on 127.0.0.1. In the order a
player meets them:

  in landscape the touch controls stand beside the field, never on it; the
  page is installable and its files are kept on the device; a second visit
  fetches none of them; with the network off a reload shows the title;
  upright, the field and the controls are all in view and nothing scrolls;
  start starts a game (offline) and the first touch its sound; a finger on
  the pad (diagonally, then sliding to another direction) with a second on
  fire drives and fires; a cancelled touch lets go of everything; quit asks
  once more; the record of the game replays in sync through the Linux
  drumhold-trace; a bundle with a new version number replaces the kept one
  on the next visit, whole. The two pictures of docs/screenshots/phone-*.png
  are taken here (and the touch game's record kept beside them), and what
  the page weighs on a first and a second visit is printed.

Usage: phone_test.py WEB_BUILD LINUX_BUILD SCREENSHOT_DIR
Prints one line per check, and fails as browser_test.py does."""
import gzip
import io
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
    from PIL import Image
except ImportError as error:
    sys.exit(headless.NOT_RUN + f'{error.name} is missing (python3-pil)')

web, linux, shots = (os.path.abspath(p) for p in sys.argv[1:4])
repo = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
work = tempfile.mkdtemp(prefix='drumhold-phone-test.')


# The site is a link to one version's folder, so that a new version can be
# put in its place at once, as a deployment would.
site = os.path.join(work, 'site')
os.symlink(web, site)
base, server = headless.serve(site)
driver = headless.chromium(width=844, height=390, phone=True)
IDS = ('touch-stick', 'touch-fire', 'touch-start', 'touch-quit')


def js(script, *args):
    return driver.execute_script(script, *args)


def state():
    return js('const p = window.drumhold; return p && [p.state, p.mode]') or [None, None]


def touch(kind, *points):
    """Fingers (id, (x, y)) on the screen, as the touch screen tells them:
    touchStart and touchMove with every finger down, touchEnd and
    touchCancel with none."""
    driver.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': [
        {'x': x, 'y': y, 'id': finger} for finger, (x, y) in points]})


def boxes():
    """The field's and the shown touch controls' boxes (left, top, right, bottom)."""
    return js("const box = (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };"
              "const out = { field: box(document.getElementById('canvas')) };"
              "for (const id of arguments[0]) { const e = document.getElementById(id);"
              " if (e && e.getClientRects().length) out[id] = box(e); } return out;", IDS)


def middle(box, dx=0.0, dy=0.0):
    """A point of `box`, dx and dy shares of its size from its middle."""
    left, top, right, bottom = box
    return ((left + right) / 2 + dx * (right - left), (top + bottom) / 2 + dy * (bottom - top))


def tap(name):
    touch('touchStart', (0, middle(boxes()[name])))
    time.sleep(0.05)
    touch('touchEnd')


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def in_view(box, view):
    return box[0] >= view[0] - 0.5 and box[1] >= view[1] - 0.5 and box[2] <= view[2] + 0.5 and box[3] <= view[3] + 0.5


def phone(width, height, insets):
    """The phone held with the screen width x height wide, a notched one's
    safe area `insets` (left, top, right, bottom) in from its edges; returns
    the safe area's box."""
    upright = height > width
    driver.execute_cdp_cmd('Emulation.setSafeAreaInsetsOverride',
                           {'insets': dict(zip(('left', 'top', 'right', 'bottom'), insets))})
    driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': height, 'deviceScaleFactor': 3, 'mobile': True,
        'screenOrientation': {'type': 'portraitPrimary' if upright else 'landscapePrimary',
                              'angle': 0 if upright else 90}})
    return (insets[0], insets[1], width - insets[2], height - insets[3])


def screenshot(name):
    """The screen at the page's own pixels (the field's are whole squares of
    screen pixels, so nothing of it is lost)."""
    image = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert('RGB')
    ratio = js('return devicePixelRatio')
    image.resize((round(image.width / ratio), round(image.height / ratio)), Image.BOX).save(os.path.join(shots, name))


def served_weight():
    """The files the server sent since the last call, and what they weigh
    (raw and gzipped), with the requests it answered."""
    sent, server.served[:] = list(server.served), []
    asked, server.asked[:] = list(server.asked), []
    raw = sum(size for _, size in sent)
    packed = 0
    for name, _ in sent:
        with open(os.path.join(site, name), 'rb') as f:
            packed += len(gzip.compress(f.read(), 6))
    others = ', '.join(f'{name} {status}' for name, status in asked if status != 200)
    return sent, (f'{raw / 1024:.0f} KB in {len(sent)} files, {packed / 1024:.0f} KB gzipped; {len(asked)} requests'
                  + (f' ({others})' if others else ''))


def kept_on_device():
    """The names of the caches, once a service worker controls the page."""
    return driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "if (!navigator.serviceWorker.controller) return done(null);"
        "caches.keys().then(done, () => done(null));")


try:
    # --- landscape: the controls beside the field ----------------------------
    # (A notch on the left, the home bar at the foot.)
    landscape = phone(844, 390, (47, 0, 47, 21))
    driver.get(base + 'index.html')
    wait(lambda: state()[0] == 'playing', 20)
    shown = boxes()
    check(shown['field'][2] - shown['field'][0] >= 480
          and {'touch-stick', 'touch-fire', 'touch-quit'} <= shown.keys() and 'touch-start' not in shown
          and all(in_view(box, landscape) and (name == 'field' or not overlaps(box, shown['field']))
                  for name, box in shown.items()),
          'in landscape the pad, fire and quit stand beside the field, start only where Space starts a game',
          ', '.join(f'{name} {[round(v) for v in box]}' for name, box in shown.items()))

    # The service worker keeps the files for the next visit.
    caches = wait(kept_on_device, 30, 0.25)
    sent, first_weight = served_weight()
    print(f'first visit: {first_weight}')
    errors = driver.execute_cdp_cmd('Page.getInstallabilityErrors', {})['installabilityErrors']
    check(caches and len(caches) == 1 and errors == [], 'the page is installable and its files are kept',
          f'caches {caches}, installability errors {errors}')

    # --- the next visits: from the device, and then offline -----------------------
    # (With the browser's own cache emptied: only the page's worker keeps them.)
    driver.execute_cdp_cmd('Network.enable', {})
    driver.execute_cdp_cmd('Network.clearBrowserCache', {})
    driver.get(base + 'index.html')
    wait(lambda: state()[0] == 'playing', 20)
    sent, second_weight = served_weight()
    print(f'second visit: {second_weight}')
    check(not [name for name, _ in sent if name != 'sw.js'], 'a second visit fetches none of the page\'s files',
          ', '.join(name for name, _ in sent) or 'nothing fetched')
    offline = {'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1}
    driver.execute_cdp_cmd('Network.emulateNetworkConditions', offline)
    server.offline = True
    driver.get(base + 'index.html')
    title = wait(lambda: state() == ['playing', 'title'], 20)

    # --- upright: everything in view, nothing scrolls -------------------------
    portrait = phone(390, 844, (0, 47, 0, 34))
    wait(lambda: state()[1] == 'attract', 15)
    upright = wait(lambda: (lambda b: 'touch-start' in b and b['field'][2] - b['field'][0] > 380 and b)(boxes()), 5)
    scroll = js('const e = document.scrollingElement; return [e.scrollWidth, e.scrollHeight, innerWidth, innerHeight]')
    check(upright and all(in_view(box, portrait) for box in upright.values())
          and not any(overlaps(box, upright['field']) for name, box in upright.items() if name != 'field')
          and scroll[0] <= scroll[2] and scroll[1] <= scroll[3],
          'upright the field and the controls are all in view, and nothing scrolls',
          f'{upright}, scroll size {scroll[:2]} in {scroll[2:]}')
    time.sleep(0.5)
    screenshot('phone-portrait.png')
    phone(844, 390, (47, 0, 47, 21))
    wait(lambda: 'touch-start' in boxes() and boxes()['field'][3] - boxes()['field'][1] > 360, 5)

    # --- a game by touch, offline -----------------------------------------------
    tap('touch-start')
    started = wait(lambda: state()[1] == 'play', 5)
    sound = wait(lambda: js('const m = window.drumhold.instance; return m.SDL2 && m.SDL2.audioContext'
                            ' && m.SDL2.audioContext.state') == 'running' and 'running', 3)
    check(title and started and sound,
          'offline a reload shows the title, start starts a game, and the first touch its sound',
          f'{state()}, sound {sound}')
    pad, fire = boxes()['touch-stick'], boxes()['touch-fire']
    forward_left, right = middle(pad, -0.3, -0.3), middle(pad, 0.4, 0)
    touch('touchStart', (0, forward_left))
    time.sleep(0.8)
    touch('touchStart', (0, forward_left), (1, middle(fire)))
    time.sleep(0.8)
    touch('touchMove', (0, right), (1, middle(fire)))
    time.sleep(0.5)
    screenshot('phone-landscape.png')
    touch('touchCancel')
    time.sleep(0.6)
    tap('touch-quit')
    time.sleep(0.5)
    asked = state()[0] == 'playing'
    tap('touch-quit')
    ended = wait(lambda: state()[0] == 'ended', 10)
    check(asked and ended, 'quit asks once more, then ends the run', state())
    text = js('return new TextDecoder().decode(window.drumhold.record)')
    frames = [(int(n), keys) for n, keys in re.findall(r'^(\d+) (\S+)$', text, re.M)]
    # What the fingers held, in order (Space is start's), and the frames after.
    held = [k for k in dict.fromkeys(k for _, k in frames) if k != '-' and 'space' not in k]
    last = max((i for i, (_, k) in enumerate(frames) if k != '-'), default=0)
    check(held == ['up,left', 'up,left,fire', 'right,fire'] and sum(n for n, _ in frames[last + 1:]) >= 10,
          'the pad drives diagonally and slides to another direction with fire held; a cancelled touch lets go of it all',
          ' '.join(f'{n}:{k}' for n, k in frames))
    path = os.path.join(shots, 'phone-touch.replay')  # kept, to be played again
    with open(path, 'w') as f:
        f.write(text)
    done = subprocess.run([os.path.join(linux, 'drumhold-trace'), path], capture_output=True, text=True)
    check(done.returncode == 0, 'the record of a game played by touch replays in sync through the Linux drumhold-trace',
          f'{path}: exit status {done.returncode}, {done.stdout.count("FRAME ")} frames, '
          f'{text.count("check ")} checks {done.stderr.strip()}')
    server.offline = False
    driver.execute_cdp_cmd('Network.emulateNetworkConditions', {**offline, 'offline': False})

    # --- a new version --------------------------------------------------------
    # A copy of the build, marked in the page, its script and the game's
    # script, with a service worker written for a new version number.
    version = re.search(r"^const VERSION = '([^']*)';", open(os.path.join(web, 'sw.js')).read(), re.M).group(1)
    new_version = re.sub(r'(\d+)$', lambda m: str(int(m.group(1)) + 1), version)
    second = os.path.join(work, 'second')
    for name in headless.page_files():
        os.makedirs(os.path.dirname(os.path.join(second, name)), exist_ok=True)
        shutil.copy(os.path.join(web, name), os.path.join(second, name))
    marks = {'index.html': ('<html lang="en">', '<html lang="en" data-build="second">'),
             'page.js': ("'use strict';", "'use strict';\nwindow.pageBuild = 'second';"),
             'drumhold.js': ('', "\nwindow.gameBuild = 'second';\n")}
    for name, (old, new) in marks.items():
        with open(os.path.join(second, name)) as f:
            content = f.read()
        with open(os.path.join(second, name), 'w') as f:
            f.write(content.replace(old, new, 1) if old else content + new)
    subprocess.run(['cmake', f'-DDIR={second}', f'-DVERSION={new_version}', '-P',
                    os.path.join(repo, 'web', 'service_worker.cmake')], check=True)
    os.symlink(second, site + '.new')
    os.replace(site + '.new', site)
    driver.get(base + 'index.html')
    builds = "return [document.documentElement.dataset.build, window.pageBuild, window.gameBuild]"
    replaced = wait(lambda: js(builds) == ['second'] * 3 and state()[0] == 'playing', 30, 0.25)
    caches = wait(kept_on_device, 10)
    check(replaced and caches and len(caches) == 1 and new_version in caches[0],
          f'version {new_version} replaces {version} on the next visit, whole',
          f'page, page.js, drumhold.js from {js(builds)}; caches {caches}')
finally:
    driver.quit()
    server.shutdown()
    shutil.rmtree(work, ignore_errors=True)

headless.report('phone')
