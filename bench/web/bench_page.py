#!/usr/bin/python3
"""The browser window's figures, against a bare page with the same controls
and no module: bench_page.py <site folder>."""
import shutil
import statistics
import sys
import tempfile
import time
from pathlib import Path

here = Path(__file__).resolve().parent
sys.path.insert(0, str(here.parent.parent / "harness"))
import browser  # noqa: E402

SITE = Path(sys.argv[1])
RUNS = 25

# Marks when the input first has the focus and, on fortpad's page, when the
# module has laid the form out (it can run a test from then on); set before
# any of the page's scripts run.
MARK_FOCUS = """addEventListener('focusin', event => {
    if (event.target.id === 'input_num' && !window.focusedAt) window.focusedAt = performance.now();
}, true);
new MutationObserver((changes, observer) => {
    if (changes.some(change => change.target.id === 'fortpad')) {
        window.readyAt = performance.now();
        observer.disconnect();
    }
}).observe(document, {subtree: true, attributeFilter: ['style']});"""

# One test by the form's Enter, to the list laid out again, in milliseconds.
ONE_TEST = """
const [entries] = arguments;
const text = '\\r\\n78.有得有失,华而不实,须防劫财,始保安顺(吉带凶),13812345678'.repeat(entries);
for (const list of document.querySelectorAll('#bad_num, #good_box')) {
    if (list.localName === 'textarea')
        list.value = text;
    else
        (await import('./fortpad.js')).setListText(list, text);
}
const input = document.getElementById('input_num'), form = document.getElementById('fortpad');
const times = [];
for (let i = 0; i < 41; ++i) {
    input.value = '12345';
    const start = performance.now();
    form.requestSubmit();
    document.getElementById('good_box').getBoundingClientRect();
    document.body.offsetHeight;
    times.push(performance.now() - start);
}
times.sort((a, b) => a - b);
return times[20];
"""


def first_visit(folder):
    """Bytes the network carried on a first visit, with and without icons."""
    server = browser.Server(folder)
    page = browser.chromium()
    try:
        page.driver.execute_cdp_cmd("Network.enable", {})
        page.get(server.origin + "/site/")
        browser.wait_until(page, "navigator.serviceWorker.controller !== null")
        sizes = browser.bytes_received(page, server.origin)
    finally:
        page.quit()
        server.stop()
    icons = sum(size for url, size in sizes.items() if "/icons/" in url)
    return sum(sizes.values()), icons


def time_to_focus(page, url):
    page.get(url)
    browser.wait_until(page, "window.focusedAt !== undefined")
    if "bare" not in url:
        browser.wait_until(page, "window.readyAt !== undefined")
    return page.js("return [window.focusedAt, window.readyAt]")


def main():
    with tempfile.TemporaryDirectory(prefix="fortpad-bench-") as folder:
        shutil.copytree(SITE, Path(folder) / "site")
        shutil.copy(here / "bare.html", Path(folder) / "bare.html")
        total, icons = first_visit(folder)
        print(f"first visit: {total - icons:,} bytes without the icons ({icons:,} for the icons)")

        server = browser.Server(folder)
        page = browser.chromium()
        driver = page.driver
        try:
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": MARK_FOCUS})
            site, bare = server.origin + "/site/", server.origin + "/bare.html"
            time_to_focus(page, site)  # installs the service worker, as a returning visitor has it
            browser.wait_until(page, "navigator.serviceWorker.controller !== null")
            starts = {site: [], bare: []}
            for _ in range(RUNS):
                for url in starts:
                    starts[url].append(time_to_focus(page, url))
            ours = statistics.median(focused for focused, _ in starts[site])
            theirs = statistics.median(focused for focused, _ in starts[bare])
            ready = statistics.median(ready for _, ready in starts[site])
            print(f"navigation to the input's focus, median of {RUNS}: page {ours:.1f} ms, "
                  f"bare page {theirs:.1f} ms ({ours / theirs:.2f}x); module ready {ready:.1f} ms")
            for entries in (0, 1000, 10000):
                figures = []
                for url in (site, bare):
                    time_to_focus(page, url)
                    figures.append(page.js(ONE_TEST, entries))
                print(f"one test with {entries:,} entries in each list: page {figures[0]:.2f} ms, "
                      f"bare page {figures[1]:.2f} ms")
        finally:
            page.quit()
            server.stop()
    print(f"fortpad.wasm: {(SITE / 'fortpad.wasm').stat().st_size:,} bytes")


if __name__ == "__main__":
    main()
