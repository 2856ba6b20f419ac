#!/usr/bin/python3
"""Renders the page in headless Chromium after the sample tests, at the form's
size and on a phone held upright: screenshot.py <site folder> <desktop png>
<phone png>."""
import re
import sys
from pathlib import Path

here = Path(__file__).resolve().parent
sys.path.insert(0, str(here.parent.parent / "harness"))
import browser  # noqa: E402

site, desktop, phone = sys.argv[1:4]
samples = re.findall(r'u"([^"]*)"', (here.parent / "sample_numbers.h").read_text(encoding="utf-8"))

# Each sample typed and tested with Enter, as a user would.
TEST_SAMPLES = """
const input = document.getElementById('input_num');
for (const number of arguments[0]) {
    input.value = number;
    input.form.requestSubmit();
}
"""

server = browser.Server(site)
page = browser.chromium()
try:
    for path, width, height, ratio, mobile in ((desktop, 712, 345, 1, False), (phone, 360, 640, 2, True)):
        page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})
        browser.open_page(page, server.origin + "/")
        page.js(TEST_SAMPLES, samples)
        page.driver.save_screenshot(path)
        print(f"wrote {path}")
finally:
    page.quit()
    server.stop()
