"""A local web server for the site and the three browser engines Debian
ships, for the page's suite and benchmarks: Chromium and WebKit driven by
Selenium, Firefox by its own WebDriver BiDi. Each engine answers the same few
calls (`get`, `js`, `press`, `click_at`, `quit`); what only one engine has,
such as Chromium's DevTools protocol, is reached through `driver`. Every
server, browser and X server is started and stopped here, by its own handle;
nothing else on the machine is touched."""
import functools
import http.server
import itertools
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
from selenium.webdriver.common.keys import Keys

ENGINES = ("chromium", "webkit", "firefox")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        delay = self.server.delays.get(self.path.rsplit("/", 1)[-1].split("?")[0])
        if delay:
            time.sleep(delay)
        super().do_GET()

    def __init__(self, request, address, server):
        super().__init__(request, address, server, directory=server.folder)


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, address):
        pass  # a browser that went away mid-file, as a page navigating on does


class Server:
    """Serves `folder` on 127.0.0.1 at a free port until stopped; `folder`
    may change while it runs, and `delays` holds a file's wait in seconds."""

    def __init__(self, folder):
        self.httpd = QuietServer(("127.0.0.1", 0), QuietHandler)
        self.httpd.folder = str(folder)
        self.httpd.delays = {}
        self.delays = self.httpd.delays
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
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1200x24",
                                         "-nolisten", "tcp"], pass_fds=(write,), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=open(os.path.join(folder, "xvfb.log"), "w"))
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


def _environment(home, font):
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

    def click(self, element_id):
        """A mouse click in the middle of an element."""
        x, y = self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                       "return [r.left + r.width / 2, r.top + r.height / 2]", element_id)
        self.click_at(x, y)

    def quit(self):
        self._quit()
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


class WebKit(SeleniumBrowser):
    engine = "webkit"

    def __init__(self, home, driver, server, x_server):
        super().__init__(home, driver)
        self.server, self.x_server = server, x_server

    def _quit(self):
        super()._quit()
        self.server.terminate()
        self.server.wait()
        self.x_server.stop()


def chromium(width=1024, height=768, prefs=None, mobile=None, font=None):
    """Headless Chromium with a profile and home of its own, logging every
    request."""
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
    service = Service("/usr/bin/chromedriver", env=_environment(home.name, font))
    return Chromium(home, webdriver.Chrome(options=options, service=service))


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def webkit(width=1024, height=768, font=None):
    """WebKitGTK's MiniBrowser on an X server of its own, through WebKit's
    own WebDriver server."""
    home = tempfile.TemporaryDirectory(prefix="fortpad-webkit-")
    x_server = XServer(home.name)
    environment = _environment(home.name, font)
    environment["DISPLAY"] = x_server.display
    port = _free_port()
    server = subprocess.Popen(["/usr/bin/WebKitWebDriver", f"--port={port}"], env=environment,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        options = webdriver.WebKitGTKOptions()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        driver = _remote(f"http://127.0.0.1:{port}", options)
        driver.set_window_rect(0, 0, width, height)
    except BaseException:
        server.kill()
        server.wait()
        x_server.stop()
        home.cleanup()
        raise
    return WebKit(home, driver, server, x_server)


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


# Firefox asks nothing of any other site.
FIREFOX_PREFERENCES = {
    "app.normandy.enabled": False,
    "app.update.disabledForTesting": True,
    "browser.safebrowsing.malware.enabled": False,
    "browser.safebrowsing.phishing.enabled": False,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.page": 0,
    "datareporting.policy.dataSubmissionEnabled": False,
    "extensions.update.enabled": False,
    "messaging-system.rsexperimentloader.enabled": False,
    "network.captive-portal-service.enabled": False,
    "network.connectivity-service.enabled": False,
    "services.settings.server": "http://127.0.0.1:9/",
    "toolkit.telemetry.server": "",
    "intl.accept_languages": "zh-CN",
}


class Firefox(Browser):
    """Firefox ESR over WebDriver BiDi, which it speaks itself."""

    engine = "firefox"

    def __init__(self, width, height, font):
        import websocket  # python3-websocket

        super().__init__(tempfile.TemporaryDirectory(prefix="fortpad-firefox-"))
        profile = os.path.join(self.home.name, "profile")
        os.makedirs(profile)
        with open(os.path.join(profile, "user.js"), "w", encoding="utf-8") as file:
            for name, value in FIREFOX_PREFERENCES.items():
                file.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        self.process = subprocess.Popen(
            ["/usr/bin/firefox-esr", "--headless", "--no-remote", "--profile", profile,
             "--remote-debugging-port=0", "about:blank"],
            env=_environment(self.home.name, font), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE, text=True)
        try:
            url = self._listening_address()
            threading.Thread(target=self._drain, daemon=True).start()
                # Firefox refuses a connection that names an origin, as a page's would.
            self.socket = websocket.create_connection(url + "/session", timeout=120, suppress_origin=True)
            self.ids = itertools.count(1)
            self.call("session.new", capabilities={})
            self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
            self.call("browsingContext.setViewport", context=self.context,
                      viewport={"width": width, "height": height})
        except BaseException:
            self.process.kill()
            self.process.wait()
            self.home.cleanup()
            raise

    def _listening_address(self):
        for line in self.process.stderr:
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                return found.group(1)
        raise RuntimeError("Firefox did not start its WebDriver BiDi server")

    def _drain(self):
        for _ in self.process.stderr:
            pass

    def call(self, method, **parameters):
        number = next(self.ids)
        self.socket.send(json.dumps({"id": number, "method": method, "params": parameters}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") != number:
                continue  # an event
            if message.get("type") == "error":
                raise RuntimeError(f"{method}: {message['error']}: {message.get('message')}")
            return message["result"]

    def get(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def js(self, body, *arguments):
        result = self.call("script.callFunction", functionDeclaration=f"async function() {{ {body} }}",
                           arguments=[_local_value(argument) for argument in arguments],
                           target={"context": self.context}, awaitPromise=True,
                           serializationOptions={"maxObjectDepth": 20})
        if result["type"] == "exception":
            details = result["exceptionDetails"]
            raise RuntimeError("the page's script failed: " + details.get("text", "") +
                               str(details.get("stackTrace", "")))
        return _python_value(result["result"])

    def press(self, *keys):
        actions = [{"type": "keyDown", "value": key} for key in keys]
        actions += [{"type": "keyUp", "value": key} for key in reversed(keys)]
        self.call("input.performActions", context=self.context,
                  actions=[{"type": "key", "id": "keyboard", "actions": actions}])

    def click_at(self, x, y):
        actions = [{"type": "pointerMove", "x": int(x), "y": int(y), "origin": "viewport"},
                   {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]
        self.call("input.performActions", context=self.context,
                  actions=[{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                            "actions": actions}])

    def _quit(self):
        try:
            self.call("browser.close")
        except Exception:  # noqa: BLE001 (the connection may close first)
            pass
        self.socket.close()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def _local_value(value):
    if value is None:
        return {"type": "null"}
    if isinstance(value, bool):
        return {"type": "boolean", "value": value}
    if isinstance(value, (int, float)):
        return {"type": "number", "value": value}
    if isinstance(value, str):
        return {"type": "string", "value": value}
    if isinstance(value, (list, tuple)):
        return {"type": "array", "value": [_local_value(item) for item in value]}
    if isinstance(value, dict):
        return {"type": "object", "value": [[key, _local_value(item)] for key, item in value.items()]}
    raise TypeError(f"no script value for {value!r}")


def _python_value(remote):
    kind, value = remote["type"], remote.get("value")
    if kind in ("undefined", "null"):
        return None
    if kind == "array":
        return [_python_value(item) for item in value]
    if kind == "object":
        return {key: _python_value(item) for key, item in value}
    if kind == "number" and isinstance(value, str):
        return float(value.replace("Infinity", "inf"))
    return value


def start(engine, width=1024, height=768, font=None):
    """A browser of `engine` with a window of `width` by `height`."""
    return {"chromium": chromium, "webkit": webkit, "firefox": Firefox}[engine](width, height, font=font)


def network_events(browser):
    """(method, parameters) of each network event Chromium logged since the
    last call."""
    for entry in browser.driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"].startswith("Network."):
            yield message["method"], message["params"]


def other_origins(browser, origin):
    """The web addresses outside `origin` that Chromium asked for since the
    last call (its own chrome:// pages aside)."""
    urls = []
    for method, params in network_events(browser):
        if method == "Network.requestWillBeSent":
            url = params["request"]["url"]
            if url.startswith(("http:", "https:", "ws:", "wss:")) and not url.startswith(origin + "/"):
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
