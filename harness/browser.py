"""A local web server for the site and the three browser engines Debian
ships, for the page's suite and benchmarks: Chromium and WebKit driven by
Selenium, Firefox by its own WebDriver BiDi (firefox.py). Each engine answers the same few
calls (`get`, `js`, `press`, `click_at`, `quit`); what only one engine has,
such as Chromium's DevTools protocol, is reached through `driver`. Every
server, browser and X server is started and stopped here, by its own handle;
nothing else on the machine is touched."""
import glob
import http.server
import json
import os
import re
import socket
import subprocess
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.common.exceptions import WebDriverException

ENGINES = ("chromium", "webkit", "firefox")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        name = self.path.rsplit("/", 1)[-1].split("?")[0] or "index.html"
        delay = self.server.delays.get(name)
        if delay:
            time.sleep(delay)
        if name in self.server.holds:
            self.send_in_parts(name, *self.server.holds[name])
        else:
            super().do_GET()

    def send_in_parts(self, name, pattern, seconds):
        """`name` in parts, each ending before a match of `pattern`,
        `seconds` apart, as a slow line delivers it."""
        with open(os.path.join(self.server.folder, name), "rb") as file:
            body = file.read()
        cuts = [match.start() for match in re.finditer(pattern, body)] + [len(body)]
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(name))
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        start = 0
        for cut in cuts:
            if start:
                time.sleep(seconds)
            self.wfile.write(body[start:cut])
            self.wfile.flush()
            start = cut

    def __init__(self, request, address, server):
        super().__init__(request, address, server, directory=server.folder)


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, address):
        pass  # a browser that went away mid-file, as a page navigating on does


class Server:
    """Serves `folder` on 127.0.0.1 at a free port until stopped; `folder`
    may change while it runs, `delays` holds a file's wait in seconds, and
    `holds` a file's (pattern, seconds): the file is sent in parts, each
    ending before a match of the regular expression, that many seconds
    apart."""

    def __init__(self, folder):
        self.httpd = QuietServer(("127.0.0.1", 0), QuietHandler)
        self.httpd.folder = str(folder)
        self.httpd.delays, self.httpd.holds = {}, {}
        self.delays, self.holds = self.httpd.delays, self.httpd.holds
        self.origin = f"http://127.0.0.1:{self.httpd.server_address[1]}"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def serve(self, folder):
        self.httpd.folder = str(folder)

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


class XServer:
    """Xvfb on a display it chooses itself, for the engine that needs one."""

    def __init__(self, folder):
        read, write = os.pipe()
        with open(os.path.join(folder, "xvfb.log"), "w") as log:
            self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1200x24",
                                             "-nolisten", "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=log)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def stop(self):
        self.process.terminate()
        self.process.wait()


def browser_environment(home, font):
    """The caller's environment without what would reach a desktop session,
    with a home of the browser's own and, with `font`, that family as the
    system's font."""
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "WAYLAND_DISPLAY", "FONTCONFIG_FILE", "XDG_RUNTIME_DIR",
                                   "DBUS_SESSION_BUS_ADDRESS")}
    environment["HOME"] = home
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    environment["XDG_RUNTIME_DIR"] = runtime
    if font:
        config = os.path.join(home, "fonts.conf")
        with open(config, "w", encoding="utf-8") as file:
            file.write(FONT_CONFIG.format(family=font))
        environment["FONTCONFIG_FILE"] = config
    return environment


class Browser:
    """What the suite asks of every engine."""

    engine = None

    def __init__(self, home):
        self.home = home  # a TemporaryDirectory, removed on quit

    def js(self, body, *arguments):
        """Runs `body` as an async function of `arguments` in the page and
        returns its result."""
        raise NotImplementedError

    def get(self, url):
        raise NotImplementedError

    def press(self, *keys):
        """Presses `keys` together, in order, and lets them go in reverse:
        press(Keys.ALT, "s") is Alt+S."""
        raise NotImplementedError

    def type(self, text):
        """Each key of `text` in turn."""
        for key in text:
            self.press(key)

    def click_at(self, x, y):
        """A mouse click at a point of the viewport, in CSS pixels."""
        raise NotImplementedError

    def resize(self, width, height):
        """A viewport of `width` by `height` CSS pixels, at the same pixel
        ratio."""
        raise NotImplementedError

    def click(self, element_id):
        """A mouse click in the middle of an element."""
        x, y = self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                       "return [r.left + r.width / 2, r.top + r.height / 2]", element_id)
        self.click_at(x, y)

    def quit(self):
        try:
            self._quit()
        finally:
            self.home.cleanup()


# Errors from a page's script come back as this object, so that every engine
# reports them the same way.
_ASYNC = """
const done = arguments[arguments.length - 1];
(async function() {{ {body} }}).apply(null, [...arguments].slice(0, -1)).then(
    value => done({{value}}), error => done({{error: String(error && error.stack || error)}}));
"""


def _unwrap(result):
    if "error" in result:
        raise RuntimeError("the page's script failed: " + result["error"])
    return result.get("value")


class SeleniumBrowser(Browser):
    def __init__(self, home, driver):
        super().__init__(home)
        self.driver = driver
        driver.set_script_timeout(60)

    def js(self, body, *arguments):
        return _unwrap(self.driver.execute_async_script(_ASYNC.format(body=body), *arguments))

    def get(self, url):
        self.driver.get(url)

    def press(self, *keys):
        chain = ActionChains(self.driver)
        for key in keys:
            chain.key_down(key)
        for key in reversed(keys):
            chain.key_up(key)
        chain.perform()

    def click_at(self, x, y):
        # Selenium's offsets count from the body's middle; the viewport's
        # corner is reached through the top-left of <html>.
        chain = ActionChains(self.driver)
        chain.w3c_actions.pointer_action.move_to_location(int(x), int(y))
        chain.w3c_actions.pointer_action.click()
        chain.perform()

    def _quit(self):
        self.driver.quit()


class Chromium(SeleniumBrowser):
    engine = "chromium"

    def __init__(self, home, driver, ratio, touch):
        super().__init__(home, driver)
        self.ratio, self.touch = ratio, touch

    def resize(self, width, height):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": self.ratio, "mobile": self.touch})


class WebKit(SeleniumBrowser):
    engine = "webkit"

    def __init__(self, home, driver, server, x_server):
        super().__init__(home, driver)
        self.server, self.x_server = server, x_server

    def resize(self, width, height):
        """A viewport `width` CSS pixels wide: MiniBrowser's own window goes
        no narrower than about 447 device pixels, the X server's tool does."""
        self.driver.set_window_rect(0, 0, width, height)
        if self.js("return innerWidth") != width:
            scale = self.js("return devicePixelRatio")
            environment = dict(os.environ, DISPLAY=self.x_server.display)
            windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "MiniBrowser"], env=environment,
                                     capture_output=True, text=True, check=True).stdout.split()
            for window in windows:
                subprocess.run(["xdotool", "windowsize", window, str(round(width * scale)), str(round(height * scale))],
                               env=environment, check=True)
            wait_until(self, f"innerWidth === {width}")

    def _quit(self):
        try:
            super()._quit()
        finally:
            self.server.terminate()
            self.server.wait()
            self.x_server.stop()


class Unsupported(Exception):
    """What an engine's browser cannot be made to show, and why."""


CHROMIUM_FONT_SIZES = {"default": "webkit.webprefs.default_font_size", "minimum": "webkit.webprefs.minimum_font_size"}


def chromium(width=1024, height=768, font=None, ratio=1, font_size=None, touch=False):
    """Headless Chromium with a profile and home of its own, logging every
    request; with `touch`, as a phone's or tablet's touch screen."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    # Root needs no sandbox; /dev/shm may be small in a container.
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                     f"--window-size={width},{height}", "--lang=zh-CN", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update"):
        options.add_argument(argument)
    home = tempfile.TemporaryDirectory(prefix="fortpad-chromium-")
    options.add_argument(f"--user-data-dir={home.name}/profile")
    if font_size:
        kind, pixels = font_size
        options.add_experimental_option("prefs", {CHROMIUM_FONT_SIZES[kind]: pixels})
    options.set_capability("goog:loggingPrefs", {"performance": "ALL"})
    service = Service("/usr/bin/chromedriver", env=browser_environment(home.name, font))
    page = Chromium(home, webdriver.Chrome(options=options, service=service), ratio, touch)
    if ratio != 1 or touch:
        page.resize(width, height)
    if touch:
        page.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
    return page


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def webkit(width=1024, height=768, font=None, ratio=1, font_size=None):
    """WebKitGTK's MiniBrowser on an X server of its own, through WebKit's
    own WebDriver server. GTK scales its window by a whole `ratio`."""
    if ratio != int(ratio):
        raise Unsupported(f"webkit: GTK scales a window by whole numbers only, not {ratio}")
    if font_size:
        raise Unsupported("webkit: MiniBrowser takes no font sizes")
    home = tempfile.TemporaryDirectory(prefix="fortpad-webkit-")
    x_server = server = None
    try:
        x_server = XServer(home.name)
        environment = browser_environment(home.name, font)
        environment["DISPLAY"] = x_server.display
        environment["GDK_SCALE"] = str(int(ratio))
        port = _free_port()
        server = subprocess.Popen(["/usr/bin/WebKitWebDriver", f"--port={port}"], env=environment,
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        options = webdriver.WebKitGTKOptions()
        options.binary_location = glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser")[0]
        options.add_argument("--automation")
        page = WebKit(home, _remote(f"http://127.0.0.1:{port}", options), server, x_server)
    except BaseException:
        if server:
            server.kill()
            server.wait()
        if x_server:
            x_server.stop()
        home.cleanup()
        raise
    page.resize(width, height)
    return page


def _remote(address, options, seconds=20):
    """A session with a WebDriver server that may still be starting."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            return webdriver.Remote(command_executor=address, options=options)
        except Exception:  # noqa: BLE001 (not listening yet)
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def start(engine, width=1024, height=768, font=None, ratio=1, font_size=None):
    """A browser of `engine` with a window of `width` by `height` CSS pixels
    on a screen of `ratio` device pixels to one, showing `font` as the
    system's font, and with `font_size` ("default" or "minimum", pixels) set;
    Unsupported where the engine cannot."""
    from firefox import Firefox

    return {"chromium": chromium, "webkit": webkit, "firefox": Firefox}[engine](
        width, height, font=font, ratio=ratio, font_size=font_size)


def network_events(browser):
    """(method, parameters) of each network event Chromium logged since the
    last call."""
    for entry in browser.driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"].startswith("Network."):
            yield message["method"], message["params"]


def other_origins(browser, origins):
    """The web addresses outside `origins` that Chromium asked for since the
    last call (its own chrome:// pages aside)."""
    urls = []
    for method, params in network_events(browser):
        if method == "Network.requestWillBeSent":
            url = params["request"]["url"]
            if url.startswith(("http:", "https:", "ws:", "wss:")) and not url.startswith(
                    tuple(origin + "/" for origin in origins)):
                urls.append(url)
    return urls


def wait_until(browser, condition, seconds=10):
    """Waits for a script expression to become true in the page. A poll that
    a navigation cuts short (WebKit's driver: "Callback was not called before
    the unload event") counts as false."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            if browser.js(f"return {condition}"):
                return
        except WebDriverException:
            if time.monotonic() > deadline:
                raise
        if time.monotonic() > deadline:
            raise AssertionError(f"still false after {seconds} s: {condition}")
        time.sleep(0.02)


def bytes_received(browser, origin):
    """What the network carried for each URL of `origin` since the last
    call, headers included (Chromium)."""
    urls, sizes = {}, {}
    for method, params in network_events(browser):
        if method == "Network.requestWillBeSent" and params["request"]["url"].startswith(origin):
            urls[params["requestId"]] = params["request"]["url"]
        elif method == "Network.loadingFinished" and params["requestId"] in urls:
            url = urls[params["requestId"]]
            sizes[url] = sizes.get(url, 0) + int(params["encodedDataLength"])
    return sizes


def open_page(browser, url):
    """Loads fortpad's page and waits until the module has laid the form out."""
    browser.get(url)
    wait_until(browser, "document.getElementById('fortpad')?.style.length > 0")
