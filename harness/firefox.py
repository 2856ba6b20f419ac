"""Firefox ESR over WebDriver BiDi, which it speaks itself: a real window on
an X server of its own, so that it is the active window, its focus events
fire and real keys reach a focused button, as for a person using it."""
import itertools
import json
import os
import queue
import re
import subprocess
import tempfile
import threading

import browser

# Firefox asks nothing of any other site.
PREFERENCES = {
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

# The preferences for a screen's pixel ratio and for a font size the user
# set, by the suite's names.
FONT_SIZES = {"default": "font.size.variable.zh-CN", "minimum": "font.minimum-size.zh-CN"}

START_SECONDS = 60


class Firefox(browser.Browser):
    engine = "firefox"

    def __init__(self, width, height, font=None, ratio=1, font_size=None):
        import websocket  # python3-websocket

        super().__init__(tempfile.TemporaryDirectory(prefix="fortpad-firefox-"))
        self.process = self.x_server = self.socket = None
        try:
            self.x_server = browser.XServer(self.home.name)
            profile = self._profile(ratio, font_size)
            environment = browser.browser_environment(self.home.name, font)
            environment["DISPLAY"] = self.x_server.display
            self.process = subprocess.Popen(
                ["/usr/bin/firefox-esr", "--no-remote", "--profile", profile, "--remote-debugging-port=0",
                 "about:blank"],
                env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                text=True)
            # Firefox refuses a connection that names an origin, as a page's would.
            self.socket = websocket.create_connection(self._listening_address() + "/session",
                                                      timeout=120, suppress_origin=True)
            self.ids = itertools.count(1)
            self.call("session.new", capabilities={})
            self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
            self.resize(width, height)
            self._activate(environment, width, height)
        except BaseException:
            self.quit()
            raise

    def _activate(self, environment, width, height):
        """Makes the window the active one, as a person's click into it does
        (with no window manager, nothing else does)."""
        xdotool = lambda *arguments: subprocess.run(  # noqa: E731
            ["xdotool", *arguments], env=environment, capture_output=True, text=True, check=True).stdout
        window = xdotool("search", "--sync", "--onlyvisible", "--class", "firefox").split()[0]
        xdotool("windowfocus", "--sync", window)
        xdotool("mousemove", "--window", window, str(width // 2), str(height // 2), "click", "1")
        browser.wait_until(self, "document.hasFocus()")

    def _profile(self, ratio, font_size):
        profile = os.path.join(self.home.name, "profile")
        os.makedirs(profile)
        preferences = dict(PREFERENCES)
        if ratio != 1:
            preferences["layout.css.devPixelsPerPx"] = str(ratio)
        if font_size:
            kind, pixels = font_size
            preferences[FONT_SIZES[kind]] = pixels
        with open(os.path.join(profile, "user.js"), "w", encoding="utf-8") as file:
            for name, value in preferences.items():
                file.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        return profile

    def _listening_address(self):
        """The BiDi server's address from Firefox's output, within
        START_SECONDS; the rest of its output is read and dropped."""
        lines = queue.Queue()

        def read():
            for line in self.process.stderr:
                lines.put(line)
            lines.put(None)

        threading.Thread(target=read, daemon=True).start()
        while True:
            try:
                line = lines.get(timeout=START_SECONDS)
            except queue.Empty:
                raise RuntimeError(f"Firefox did not start its WebDriver BiDi server in {START_SECONDS} s") from None
            if line is None:
                raise RuntimeError("Firefox ended before its WebDriver BiDi server started")
            found = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            if found:
                return found.group(1)

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

    def resize(self, width, height):
        self.call("browsingContext.setViewport", context=self.context, viewport={"width": width, "height": height})

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
        """Closes what started, each step whatever the one before did."""
        try:
            if self.socket:
                try:
                    self.call("browser.close")
                except Exception:  # noqa: BLE001 (the connection may close first)
                    pass
                self.socket.close()
        finally:
            try:
                if self.process:
                    try:
                        self.process.wait(timeout=10)
                    except subprocess.TimeoutExpired:
                        self.process.kill()
                        self.process.wait()
            finally:
                if self.x_server:
                    self.x_server.stop()


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
