"""A local web server for the site and a headless Chromium driven by
Selenium, for the page's suite and benchmarks. Both are started and stopped
here, by their own handles; nothing else on the machine is touched."""
import functools
import json
import http.server
import os
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Server:
    """Serves `folder` on 127.0.0.1 at a free port until stopped."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=str(folder))
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.origin = f"http://127.0.0.1:{self.httpd.server_address[1]}"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join()


# Puts `family` before any other the browser asks for (its system font and
# generic families included), the rest of the system's configuration kept.
FONT_CONFIG = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <match target="pattern"><edit name="family" mode="prepend" binding="strong"><string>{family}</string></edit></match>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
</fontconfig>
"""


def chromium(width=1024, height=768, prefs=None, mobile=None, font=None):
    """Headless Chromium with a profile and home of its own, logging every
    request; with `font`, that family as the system's font."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    # Root needs no sandbox; /dev/shm may be small in a container.
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                     f"--window-size={width},{height}", "--lang=zh-CN", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update"):
        options.add_argument(argument)
    home = tempfile.TemporaryDirectory(prefix="fortpad-chromium-")
    options.add_argument(f"--user-data-dir={home.name}/profile")
    if prefs:
        options.add_experimental_option("prefs", prefs)
    if mobile:
        options.add_experimental_option("mobileEmulation", mobile)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "WAYLAND_DISPLAY", "FONTCONFIG_FILE", "XDG_RUNTIME_DIR")}
    environment["HOME"] = home.name
    if font:
        config = os.path.join(home.name, "fonts.conf")
        with open(config, "w", encoding="utf-8") as file:
            file.write(FONT_CONFIG.format(family=font))
        environment["FONTCONFIG_FILE"] = config
    service = Service("/usr/bin/chromedriver", env=environment)
    driver = webdriver.Chrome(options=options, service=service)
    driver.fortpad_home = home  # removed with the driver
    return driver


def quit(driver):
    driver.quit()
    driver.fortpad_home.cleanup()


def network_events(driver):
    """(method, parameters) of each network event the browser logged since
    the last call."""
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"].startswith("Network."):
            yield message["method"], message["params"]


def other_origins(driver, origin):
    """The web addresses outside `origin` that the browser asked for since
    the last call (its own chrome:// pages aside)."""
    urls = []
    for method, params in network_events(driver):
        if method == "Network.requestWillBeSent":
            url = params["request"]["url"]
            if url.startswith(("http:", "https:", "ws:", "wss:")) and not url.startswith(origin + "/"):
                urls.append(url)
    return urls


def wait_until(driver, condition, seconds=10):
    """Waits for a script expression to become true in the page."""
    deadline = time.monotonic() + seconds
    while not driver.execute_script(f"return {condition}"):
        if time.monotonic() > deadline:
            raise AssertionError(f"still false after {seconds} s: {condition}")
        time.sleep(0.02)


def bytes_received(driver, origin):
    """What the network carried for each URL of `origin` since the last
    call, headers included."""
    urls, sizes = {}, {}
    for method, params in network_events(driver):
        if method == "Network.requestWillBeSent" and params["request"]["url"].startswith(origin):
            urls[params["requestId"]] = params["request"]["url"]
        elif method == "Network.loadingFinished" and params["requestId"] in urls:
            url = urls[params["requestId"]]
            sizes[url] = sizes.get(url, 0) + int(params["encodedDataLength"])
    return sizes


def open_page(driver, url):
    """Loads fortpad's page and waits until the module has laid the form out."""
    driver.get(url)
    wait_until(driver, "document.getElementById('fortpad')?.style.length > 0")
