#!/usr/bin/python3
"""The browser window in headless Chromium, against the cases the desktop
suites read: test_page.py <site folder> <cases module>."""
import base64
import json
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import browser  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

SITE, CASES_MODULE = (Path(argument) for argument in sys.argv[1:3])
del sys.argv[1:3]

# The browser's lists read back every CR LF and lone CR as LF.
NORMALISE = "text => text.replace(/\\r\\n?/g, '\\n')"

READ_CASES = """
const [bytes, done] = arguments;
const module = (await WebAssembly.instantiate(Uint8Array.from(atob(bytes), c => c.charCodeAt(0)))).instance;
module.exports._initialize();
const units = new Uint16Array(module.exports.memory.buffer, module.exports.cases(), module.exports.cases_length());
let text = '';
for (let i = 0; i < units.length; i += 4096) text += String.fromCharCode(...units.subarray(i, i + 4096));
window.cases = JSON.parse(text);
done(JSON.stringify(window.cases));
"""


ENCODED_CASES = base64.b64encode(CASES_MODULE.read_bytes()).decode()


def read_cases(driver):
    """The cases, from their module run in the page; the page keeps them as
    `window.cases` until it is loaded again."""
    return json.loads(driver.execute_async_script(READ_CASES, ENCODED_CASES))


class Page(unittest.TestCase):
    """One browser at a desktop width, the page loaded afresh for each test."""

    width, height, prefs, mobile = 1024, 768, None, None

    @classmethod
    def setUpClass(cls):
        cls.server = browser.Server(SITE)
        cls.driver = browser.chromium(cls.width, cls.height, cls.prefs, cls.mobile)
        browser.open_page(cls.driver, cls.server.origin + "/")
        cls.cases = read_cases(cls.driver)

    @classmethod
    def tearDownClass(cls):
        others = browser.other_origins(cls.driver, cls.server.origin)
        browser.quit(cls.driver)
        cls.server.stop()
        assert not others, f"requests to other origins: {others}"

    def setUp(self):
        browser.open_page(self.driver, self.server.origin + "/")

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def alt(self, letter, shift=False):
        chain = ActionChains(self.driver).key_down(Keys.ALT)
        if shift:
            chain = chain.key_down(Keys.SHIFT)
        chain = chain.send_keys(letter)
        if shift:
            chain = chain.key_up(Keys.SHIFT)
        chain.key_up(Keys.ALT).perform()

    def value(self, name):
        """The input's text, or a list's as the page reads it back."""
        return self.driver.execute_async_script("""
            const [name, done] = arguments, element = document.getElementById(name);
            done(element.localName === 'input' ? element.value : (await import('./fortpad.js')).listText(element));
        """, name)

    def focused(self):
        return self.js("return document.activeElement.id")

    def lists(self):
        return self.value("bad_num"), self.value("good_box")

    def type_number(self, typed):
        self.js("const input = document.getElementById('input_num'); input.value = arguments[0]; input.focus()",
                typed)

    def normalised(self, text):
        return self.js(f"return ({NORMALISE})(arguments[0])", text)

    def selection(self):
        return self.js("const i = document.getElementById('input_num'); return [i.selectionStart, i.selectionEnd]")

    def test_load_empties_the_lists_and_focuses_the_input(self):
        self.assertEqual(self.lists(), ("", ""))
        self.assertEqual(self.focused(), "input_num")
        self.assertEqual(self.js("return document.documentElement.lang"), "zh-CN")
        for placement in self.cases["placements"]:
            shown = self.js("return document.getElementById(arguments[0]).textContent", placement["name"])
            self.assertEqual(shown, placement["caption"].replace("&", ""), placement["name"])

    def test_worked_examples_by_enter(self):
        for example in self.cases["workedExamples"]:
            with self.subTest(example["name"]):
                before = dict(zip(("bad_num", "good_box"), self.lists()))
                self.type_number(example["typed"])
                self.keys(Keys.RETURN)
                after = dict(zip(("bad_num", "good_box"), self.lists()))
                self.assertEqual(self.value("input_num"), example["shown"])
                self.assertEqual(after[example["list"]], before[example["list"]] + self.normalised(example["entry"]))
                other = "good_box" if example["list"] == "bad_num" else "bad_num"
                self.assertEqual(after[other], before[other])
                self.assertEqual(self.focused(), "input_num")
                self.assertEqual(self.selection(), [0, len(example["shown"])])

    def test_every_trigger_runs_one_test(self):
        example = self.cases["workedExamples"][0]
        triggers = {
            "Enter": lambda: self.keys(Keys.RETURN),
            "keypad Enter": lambda: self.keys(Keys.ENTER),
            "click": lambda: self.element("cmd_test").click(),
            "Alt+S": lambda: self.alt("s"),
            "Alt+Shift+S": lambda: self.alt("S", shift=True),
            "Enter on the focused button": lambda: (self.element("cmd_test").send_keys(Keys.RETURN)),
            "Space on the focused button": lambda: (self.element("cmd_test").send_keys(Keys.SPACE)),
        }
        for name, trigger in triggers.items():
            with self.subTest(name):
                before = self.value(example["list"])
                self.type_number(example["typed"])
                if name.startswith(("Enter on", "Space on")):
                    self.js("document.getElementById('cmd_test').focus()")
                trigger()
                self.assertEqual(self.value(example["list"]), before + self.normalised(example["entry"]))
                self.assertEqual(self.focused(), "input_num")

    def test_blank_and_very_long_inputs(self):
        # Only spaces: nothing recorded, the input emptied.
        self.type_number("   ")
        self.keys(Keys.RETURN)
        self.assertEqual((self.value("input_num"), self.lists()), ("", ("", "")))
        # 100,000 digits cross to the module and back whole; the last 32 stay.
        digits = "1234567890" * 10000
        self.type_number(digits)
        self.keys(Keys.RETURN)
        self.assertEqual(self.value("input_num"), digits[-32:])
        self.assertTrue(self.value("bad_num").endswith("," + digits[-32:]))

    def test_screen_readers_hear_the_forms_names(self):
        label = self.element("Label1").text
        self.assertEqual(self.element("input_num").accessible_name, label)
        names = {self.element(name).accessible_name for name in ("bad_num", "good_box")}
        self.assertEqual(len(names), 2)
        self.assertNotIn("", names)
        self.assertEqual({self.element(name).aria_role for name in ("bad_num", "good_box")}, {"textbox"})

    def test_tab_order_both_ways(self):
        self.type_number("12345")
        visits = self.cases["tabVisits"]
        for name in visits:
            self.keys(Keys.TAB)
            self.assertEqual(self.focused(), name)
        self.assertEqual(self.selection(), [0, 5], "Tab into the input selects it all")
        for name in reversed(["input_num"] + visits[:-1]):
            ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
            self.assertEqual(self.focused(), name)

    def test_a_click_in_the_input_places_the_caret(self):
        self.type_number("1234567890")
        self.element("cmd_test").click()
        self.js("document.getElementById('bad_num').focus()")
        ActionChains(self.driver).move_to_element(self.element("input_num")).click().perform()
        self.assertEqual(self.focused(), "input_num")
        start, end = self.selection()
        self.assertEqual(start, end)

    def test_access_keys_from_the_input_and_the_lists(self):
        for place in ("input_num", "bad_num", "good_box"):
            with self.subTest(place):
                self.type_number("12345")
                self.keys(Keys.RETURN)
                self.js("document.getElementById(arguments[0]).focus()", place)
                self.alt("c")
                self.assertEqual(self.lists(), ("", ""))
                self.assertEqual((self.value("input_num"), self.focused()), ("", "input_num"))
                self.js("document.getElementById(arguments[0]).focus()", place)
                self.alt("A", shift=True)
                self.assertTrue(self.js("return document.getElementById('about_box').open"))
                self.keys(Keys.RETURN)
                self.assertEqual(self.focused(), "cmd_abort")

    def test_the_about_box_is_modal_and_gives_the_focus_back(self):
        self.element("cmd_abort").click()
        self.assertTrue(self.js("return document.getElementById('about_box').matches(':modal')"))
        title, text, buttons = self.js("const box = document.getElementById('about_box');"
                                       "return [box.querySelector('h1').textContent, box.querySelector('p').innerText,"
                                       "box.querySelectorAll('button').length]")
        self.assertTrue(title)
        self.assertEqual(len(text.split("\n")), 3)
        self.assertEqual(buttons, 1)
        self.alt("c")  # no access key reaches the form behind the box
        self.assertTrue(self.js("return document.getElementById('about_box').open"))
        self.keys(Keys.ESCAPE)
        self.assertFalse(self.js("return document.getElementById('about_box').open"))
        self.assertEqual(self.focused(), "cmd_abort")

    def test_appends_read_back(self):
        # Lone surrogates do not survive the driver's JSON: the page reads
        # the cases itself.
        read_cases(self.driver)
        failures = self.driver.execute_async_script(f"""
            const [done] = arguments, texts = window.cases.listTexts;
            const page = await import('./fortpad.js');
            const list = document.getElementById('bad_num');
            const normalise = {NORMALISE};
            const failures = [];
            // Each text in pieces and whole; then many lines, split at a CR LF,
            // and entry by entry, as tests write them.
            const entry = '\\r\\n02.大展鸿图,13812345602', many = entry.repeat(300);
            page.setListText(list, '');
            for (let i = 0; i < 300; ++i) page.appendToList(list, entry);
            if (page.listText(list) !== normalise(many)) failures.push('entry by entry');
            list.scrollTop = 1000;
            page.appendToList(list, entry);
            if (list.scrollTop !== 0) failures.push('the top shown after an entry');
            for (const {{name, text}} of [...texts, {{name: 'many lines', text: many}}]) {{
                page.setListText(list, '');
                const cut = Math.min(text.length, Math.max(3, text.length - 20));
                for (const piece of [text.slice(0, 1), text.slice(1, 3), text.slice(3, cut), text.slice(cut)])
                    page.appendToList(list, piece);
                if (page.listText(list) !== normalise(text)) failures.push(name + ' in pieces');
                page.setListText(list, text);
                if (page.listText(list) !== normalise(text)) failures.push(name + ' set whole');
            }}
            done(failures);
        """)
        self.assertEqual(failures, [])

    def test_exit_takes_the_form_away_and_a_reload_starts_afresh(self):
        self.type_number("12345")
        self.keys(Keys.RETURN)
        self.element("cmd_end").click()
        self.assertEqual(self.js("return document.querySelectorAll('#fortpad, dialog').length"), 0)
        browser.open_page(self.driver, self.server.origin + "/")
        self.assertEqual(self.lists(), ("", ""))


def rects(driver):
    """Each control's rectangle in device pixels, from the form's corner."""
    return driver.execute_script("""
        const ratio = devicePixelRatio, form = document.getElementById('fortpad').getBoundingClientRect();
        const rects = {fortpad: [0, 0, form.width * ratio, form.height * ratio]};
        for (const element of document.querySelectorAll('#fortpad > *')) {
            const r = element.getBoundingClientRect();
            rects[element.id] = [(r.left - form.left) * ratio, (r.top - form.top) * ratio, r.width * ratio,
                                 r.height * ratio].map(v => Math.round(v * 1000) / 1000);
        }
        return rects;""")


class Layout(unittest.TestCase):
    """At a desktop width, each control on the form's pixels: for each screen's
    pixel ratio, and for a larger default or minimum font (DejaVu Sans, whose
    line fits every control at 9 points)."""

    rows = [  # pixel ratio, browser preferences, the DPI whose table applies
        (1, None, 96),
        (1.25, None, 120),
        (1.5, None, 144),
        (1, {"webkit.webprefs.default_font_size": 20}, 120),  # 15 px: 11.25 points
        (1, {"webkit.webprefs.minimum_font_size": 18}, 144),  # 13.5 points
    ]

    def assertOnPixels(self, found, expected, name):
        # Within the 1/64 pixel that the browser's layout rounds to.
        self.assertEqual([round(value) for value in found], expected, name)
        self.assertTrue(all(abs(value - round(value)) < 0.05 for value in found), f"{name}: {found}")

    def test_controls_sit_on_the_forms_pixels(self):
        server = browser.Server(SITE)
        try:
            for ratio, prefs, dpi in self.rows:
                with self.subTest(ratio=ratio, prefs=prefs):
                    driver = browser.chromium(1600, 1000, prefs, font="DejaVu Sans")
                    try:
                        driver.get(server.origin + "/")
                        cases = read_cases(driver)
                        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                            "width": 1600, "height": 1000, "deviceScaleFactor": ratio, "mobile": False})
                        browser.open_page(driver, server.origin + "/")
                        found = rects(driver)
                        size = next(s for s in cases["clientSizes"] if s["dpi"] == dpi)
                        self.assertOnPixels(found["fortpad"][2:], [size["width"], size["height"]], "client")
                        for placement in cases["placements"]:
                            name = placement["name"]
                            self.assertOnPixels(found[name], placement[str(dpi)], name)
                    finally:
                        browser.quit(driver)
        finally:
            server.stop()


class Phone(Page):
    """A phone held upright: one column, no sideways scrolling."""

    width, height = 360, 740
    mobile = {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 3, "touch": True, "mobile": True}}

    def test_the_form_fits_in_one_column(self):
        fit = self.js("return document.documentElement.scrollWidth <= document.documentElement.clientWidth")
        self.assertTrue(fit, "no sideways scrolling")
        r = {name: self.element(name).rect for name in
             ("Label1", "input_num", "cmd_test", "cmd_abort", "cmd_clr", "cmd_end", "bad_num", "good_box")}
        middle = lambda name: r[name]["y"] + r[name]["height"] / 2  # noqa: E731
        below = lambda upper, lower: r[lower]["y"] >= r[upper]["y"] + r[upper]["height"]  # noqa: E731
        self.assertTrue(r["Label1"]["x"] < r["input_num"]["x"] < r["cmd_test"]["x"])
        self.assertTrue(r["cmd_abort"]["x"] < r["cmd_clr"]["x"] < r["cmd_end"]["x"])
        for name in ("input_num", "cmd_test"):
            self.assertAlmostEqual(middle(name), middle("Label1"), delta=2)
        for name in ("cmd_clr", "cmd_end"):
            self.assertAlmostEqual(middle(name), middle("cmd_abort"), delta=2)
        self.assertTrue(below("cmd_test", "cmd_abort") and below("cmd_end", "bad_num") and below("bad_num", "good_box"))
        width = self.js("return document.documentElement.clientWidth")
        for name, rect in r.items():
            self.assertLessEqual(rect["x"] + rect["width"], width, name)
            size = self.js("return parseFloat(getComputedStyle(document.getElementById(arguments[0])).fontSize)", name)
            self.assertGreaterEqual(size, 12, name)
            if name != "Label1":
                self.assertGreaterEqual(rect["height"], 44, f"{name} is easy to touch")
        for name in ("bad_num", "good_box"):
            self.assertGreater(r[name]["width"], width - 20, f"{name} takes the whole width")



    def test_one_column_before_the_module_arrives(self):
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*.wasm"]})
        try:
            self.driver.get(self.server.origin + "/")
            browser.wait_until(self.driver, "document.activeElement.id === 'input_num'")
            form = self.js("const form = document.getElementById('fortpad'); return [form.className, form.style.length]")
            self.assertEqual(form, ["narrow", 0], "one column, and not laid out by the module")
        finally:
            self.driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": []})


class Offline(unittest.TestCase):
    def test_the_page_installs_and_works_offline_after_the_first_visit(self):
        server = browser.Server(SITE)
        driver = browser.chromium()
        try:
            browser.open_page(driver, server.origin + "/")
            browser.wait_until(driver, "navigator.serviceWorker.controller !== null")
            self.assertEqual(driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"], [])
            server.stop()
            driver.set_network_conditions(offline=True, latency=0, download_throughput=0, upload_throughput=0)
            browser.open_page(driver, server.origin + "/")
            driver.execute_script("document.getElementById('input_num').value = '12345'")
            ActionChains(driver).send_keys(Keys.RETURN).perform()
            self.assertTrue(driver.execute_script("return document.getElementById('good_box').textContent.length > 0"))
        finally:
            browser.quit(driver)


if __name__ == "__main__":
    unittest.main(verbosity=2)
