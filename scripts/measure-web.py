#!/usr/bin/python3
"""What the page costs a player's machine: two browser builds measured side by
side in one headless Chromium (SwiftShader for WebGL), taking turns.

For each build: the download (drumhold.wasm, drumhold.js and every file the
page loads, raw and gzipped), the title's first frame (the first WebGL draw,
from the page's request) with an empty and with a warm HTTP cache, and then
over SECONDS of the attract screen and SECONDS of play (no keys held): the
main thread's busy time per second, the frames drawn per second (WebGL clears),
the display frames that showed a new picture per second, and the world's
ticks per second (from the record's checks).

Usage: scripts/measure-web.py [--seconds N] [--rounds N] [--shots DIR] BUILD...
  With --shots, the last build is also shown at 500x800, 1280x720 and
  1920x1080, in play and after Esc, into DIR/web-WxH-play.png and -end.png.
"""
import argparse
import gzip
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import headless  # noqa: E402

from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

# Counted in the page from its first line on: WebGL clears (one per frame
# drawn), display frames that came after a clear, and the first draw call.
COUNTERS = '''
(() => {
  const count = (window.drumholdCounts = { clears: 0, shown: 0, firstDraw: null });
  let drawn = false;
  const proto = WebGLRenderingContext.prototype;
  const clear = proto.clear;
  proto.clear = function (...args) { count.clears++; drawn = true; return clear.apply(this, args); };
  for (const name of ['drawArrays', 'drawElements']) {
    const draw = proto[name];
    proto[name] = function (...args) {
      if (count.firstDraw === null) count.firstDraw = performance.now();
      return draw.apply(this, args);
    };
  }
  const frame = () => { if (drawn) count.shown++; drawn = false; requestAnimationFrame(frame); };
  requestAnimationFrame(frame);
})();
'''


def sizes(folder):
    def measure(name):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            return 0, 0
        data = open(path, 'rb').read()
        return len(data), len(gzip.compress(data, 9))
    page = [measure(name) for name in headless.page_files()]
    return {'wasm': measure('drumhold.wasm'), 'js': measure('drumhold.js'),
            'page': (sum(raw for raw, _ in page), sum(packed for _, packed in page))}


def wait(condition, seconds):
    return headless.wait(condition, seconds, 0.05)


class Page:
    def __init__(self, driver, base):
        self.driver, self.base = driver, base

    def js(self, script):
        return self.driver.execute_script(script)

    def busy(self):
        metrics = self.driver.execute_cdp_cmd('Performance.getMetrics', {})['metrics']
        return next(m['value'] for m in metrics if m['name'] == 'TaskDuration')

    def last_check(self):
        return headless.last_check(self.driver)

    def first_frame(self, cold):
        if cold:  # nothing kept: neither in the HTTP cache nor by the page's service worker
            self.driver.execute_cdp_cmd('Network.clearBrowserCache', {})
            self.driver.execute_cdp_cmd('Storage.clearDataForOrigin', {
                'origin': self.base.rstrip('/'), 'storageTypes': 'service_workers,cache_storage'})
        self.driver.get(self.base + 'index.html')
        return wait(lambda: self.js('return window.drumholdCounts && window.drumholdCounts.firstDraw'), 30)

    def span(self, seconds):
        """Busy ms, frames drawn and shown, and ticks, each per second."""
        def state():
            counts = self.js('return window.drumholdCounts')
            return time.time(), self.busy(), counts['clears'], counts['shown']
        # Ticks from one check of the record (written about once a second) to another.
        first = wait(lambda: (lambda n: n and (n, time.time()))(self.last_check()), 5)
        start = state()
        time.sleep(seconds)
        end = state()
        last = wait(lambda: (lambda n: n and first and n != first[0] and (n, time.time()))(self.last_check()), 5)
        elapsed = end[0] - start[0]
        ticks = (last[0] - first[0]) / (last[1] - first[1]) if first and last else float('nan')
        return {'busy': 1000 * (end[1] - start[1]) / elapsed, 'drawn': (end[2] - start[2]) / elapsed,
                'shown': (end[3] - start[3]) / elapsed, 'ticks': ticks}


def press(driver, key, hold=0.15):
    ActionChains(driver).key_down(key).pause(hold).key_up(key).perform()


def measure(driver, base, seconds):
    page = Page(driver, base)
    result = {'cold': page.first_frame(True), 'warm': page.first_frame(False)}
    wait(lambda: (page.last_check() or 0) > 0, 20)  # the title is over
    result['attract'] = page.span(seconds)
    press(driver, Keys.SPACE)
    time.sleep(1)
    result['play'] = page.span(seconds)
    press(driver, Keys.ESCAPE)
    return result


def shots(driver, base, folder):
    os.makedirs(folder, exist_ok=True)
    for width, height in ((500, 800), (1280, 720), (1920, 1080)):
        headless.page_size(driver, width, height)
        driver.get(base + 'index.html')
        page = Page(driver, base)
        wait(lambda: (page.last_check() or 0) > 0, 20)
        press(driver, Keys.SPACE)
        time.sleep(3)  # the enemies come in from the edges
        ActionChains(driver).key_down(Keys.ARROW_UP).key_down(Keys.SHIFT).pause(0.8).perform()
        driver.save_screenshot(os.path.join(folder, f'web-{width}x{height}-play.png'))
        ActionChains(driver).key_up(Keys.SHIFT).key_up(Keys.ARROW_UP).perform()
        press(driver, Keys.ESCAPE)
        wait(lambda: page.js('return window.drumhold.state') == 'ended', 10)
        time.sleep(0.5)
        driver.save_screenshot(os.path.join(folder, f'web-{width}x{height}-end.png'))
    headless.page_size(driver, 800, 600)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--seconds', type=float, default=10)
    parser.add_argument('--rounds', type=int, default=2)
    parser.add_argument('--shots')
    parser.add_argument('builds', nargs='+')
    args = parser.parse_args()
    builds = [os.path.abspath(b) for b in args.builds]
    bases = [headless.serve(b)[0] for b in builds]
    driver = headless.chromium()
    driver.execute_cdp_cmd('Performance.enable', {})
    driver.execute_cdp_cmd('Network.enable', {})
    driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': COUNTERS})
    results = {b: [] for b in builds}
    try:
        for _ in range(args.rounds):
            for build, base in zip(builds, bases):
                results[build].append(measure(driver, base, args.seconds))
        if args.shots:
            shots(driver, bases[-1], args.shots)
    finally:
        driver.quit()

    names = [os.path.basename(b.rstrip('/')) or b for b in builds]
    rows = [('drumhold.wasm raw / gzip, bytes', lambda b, r: '%d / %d' % sizes(b)['wasm']),
            ('drumhold.js raw / gzip, bytes', lambda b, r: '%d / %d' % sizes(b)['js']),
            ('the page\'s download raw / gzip, bytes', lambda b, r: '%d / %d' % sizes(b)['page']),
            ('title\'s first frame, empty cache, ms', lambda b, r: '%.0f' % r['cold']),
            ('title\'s first frame, warm cache, ms', lambda b, r: '%.0f' % r['warm'])]
    for mode in ('attract', 'play'):
        rows += [(f'{mode}: main thread busy, ms per s', lambda b, r, m=mode: '%.0f' % r[m]['busy']),
                 (f'{mode}: frames drawn per s', lambda b, r, m=mode: '%.1f' % r[m]['drawn']),
                 (f'{mode}: frames shown per s', lambda b, r, m=mode: '%.1f' % r[m]['shown']),
                 (f'{mode}: ticks per s', lambda b, r, m=mode: '%.1f' % r[m]['ticks'])]
    header = ['measure'] + [f'{n} #{i + 1}' for i in range(args.rounds) for n in names]
    table = [header] + [[label] + [cell(b, results[b][i]) for i in range(args.rounds) for b in builds]
                        for label, cell in rows]
    widths = [max(len(row[c]) for row in table) for c in range(len(header))]
    for row in table:
        print('| ' + ' | '.join(text.ljust(width) for text, width in zip(row, widths)) + ' |')


main()
