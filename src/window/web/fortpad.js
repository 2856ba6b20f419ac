// fortpad's browser window: finds the form's controls in the page (written
// from the form's description at build time), places them where the module
// says, and hands the page's events to the module, which runs the form's
// handlers, as its table names them, and the reckoning.

const form = document.getElementById('fortpad');
const aboutBox = document.getElementById('about_box');
const aboutOk = document.getElementById('about_ok');
const fontProbe = document.querySelector('.font-probe');
const input = form.querySelector('input');
const controls = []; // the elements, by the module's control number
let module; // the module's exports, once it has started; gone once the program has ended
let events; // the form's event names, by the module's number
let watchedRatio; // the pixel ratio whose change lays the form out again
// What the user did before the module had started, run once it has: Enter
// or a click in the first moments is never lost.
let early = [];

// Strings cross as UTF-16 units in the module's memory, every unit kept
// (a decoder would replace a lone surrogate). The memory may grow during any
// call, so each access takes a fresh view.
function units(pointer, length) {
    return new Uint16Array(module.memory.buffer, pointer, length);
}

function readText(pointer, length) {
    const view = units(pointer, length);
    let text = '';
    for (let start = 0; start < length; start += 4096)
        text += String.fromCharCode(...view.subarray(start, start + 4096));
    return text;
}

function writeText(text, pointer) {
    const view = units(pointer, text.length);
    for (let i = 0; i < text.length; ++i)
        view[i] = text.charCodeAt(i);
}

// A list is editable text, mostly in blocks of at most 64 lines that the
// page writes: the browser lays out and draws only the block an entry goes
// into, and skips those out of sight, so an entry costs the same however
// long the list is (a text area lays out its whole text again). A block
// boundary is a line break. The user may edit a list in any way, and the
// browser then writes text, line breaks and blocks of its own; an entry is
// still appended to the text as the list shows it, at the end of its last
// line, without reading or rewriting what lies before. Like a text area, the
// list keeps each CR LF and lone CR as LF, so a CR that ends one piece and
// the LF that starts the next are one line break.
const linesPerBlock = 64;
const blockLines = new WeakMap();
const endsInCarriageReturn = new WeakMap();

function addBlock(list) {
    const block = document.createElement('div');
    block.className = 'lines';
    blockLines.set(block, 0);
    list.append(block);
    return block;
}

// The last text or line break the list shows, deepest last; null when it
// shows nothing.
function lastShown(node) {
    for (let child = node.lastChild; child; child = child.previousSibling) {
        if (child.nodeType === Node.TEXT_NODE ? child.data !== '' : child.localName === 'br')
            return child;
        const inner = child.nodeType === Node.ELEMENT_NODE && lastShown(child);
        if (inner)
            return inner;
    }
    return null;
}

// Where the list's text ends, as the element to write into and the node to
// write before; null when the list shows nothing. A line break that ends a
// run of text shows no line: the browser puts it there so that an empty last
// line shows. Text goes before it, and it keeps that role.
function endOfText(list) {
    const last = lastShown(list);
    if (!last)
        return null;
    if (last.localName === 'br')
        return [last.parentNode, last];
    if (last.data.endsWith('\n'))
        return [last.parentNode, last.splitText(last.length - 1)];
    return [last.parentNode, last.nextSibling];
}

// Writes `text` into `parent` before `next`; at the end of a run, an empty
// last line needs a line break after it to show.
function write(parent, next, text) {
    if (text !== '' || !next)
        parent.insertBefore(new Text(text), next);
    if (!next && (text === '' || text.endsWith('\n')))
        parent.append(document.createElement('br'));
}

// The first line continues the list's last line where it is; the others go
// into the page's blocks.
function writeLines(list, text) {
    const [first, ...lines] = text.split('\n');
    let [block, next] = endOfText(list) ?? [addBlock(list), null];
    if (!blockLines.has(block) || block.parentNode !== list) {
        write(block, next, first);
        block = undefined;
    }
    let piece = block ? first : undefined;
    for (const line of lines) {
        if (block && blockLines.get(block) < linesPerBlock) {
            piece += '\n' + line;
            blockLines.set(block, blockLines.get(block) + 1);
            continue;
        }
        if (block)
            write(block, next, piece);
        block = addBlock(list);
        next = null;
        piece = line;
    }
    if (block)
        write(block, next, piece);
    list.scrollTop = 0;
}

// After the user's editing the CR that ended the text is no longer its end.
// A deletion that leaves no text leaves an empty list, as in a text box (the
// browser may leave line breaks of its own behind).
function afterEditing(list, inputType) {
    endsInCarriageReturn.delete(list);
    if (!inputType.startsWith('delete'))
        return;
    const texts = document.createTreeWalker(list, NodeFilter.SHOW_TEXT);
    let text = texts.nextNode();
    while (text?.data === '')
        text = texts.nextNode();
    if (!text)
        list.replaceChildren();
}

// A new text: how the old one ended no longer counts.
export function setListText(list, text) {
    list.replaceChildren();
    endsInCarriageReturn.delete(list);
    appendToList(list, text);
}

export function appendToList(list, tail, afterCarriageReturn = endsInCarriageReturn.get(list)) {
    if (tail === '')
        return;
    writeLines(list, (afterCarriageReturn && tail[0] === '\n' ? tail.slice(1) : tail).replace(/\r\n?/g, '\n'));
    endsInCarriageReturn.set(list, tail.endsWith('\r'));
}

function toPixels(devicePixels) {
    return `${devicePixels / window.devicePixelRatio}px`;
}

// A short, soft tone where Windows would beep; silence where the browser
// has no audio.
let audio;
function beep() {
    try {
        audio ??= new AudioContext();
        const tone = new OscillatorNode(audio, {frequency: 660});
        const volume = new GainNode(audio, {gain: 0.05});
        volume.gain.setTargetAtTime(0, audio.currentTime + 0.04, 0.01);
        tone.connect(volume).connect(audio.destination);
        tone.start();
        tone.stop(audio.currentTime + 0.1);
    } catch {
        // no sound, then
    }
}

// Modal; when it closes, the browser gives the focus back to where it was.
function showAboutBox(title, text) {
    document.getElementById('about_title').textContent = title;
    document.getElementById('about_text').textContent = text;
    aboutBox.showModal();
}

// A window the browser lets the page close (an installed app's) closes; in a
// tab, the form is gone and nothing of it is kept: a reload starts afresh.
function endProgram() {
    module = undefined;
    window.close();
    form.remove();
    aboutBox.remove();
}

const pageFunctions = {
    input_length: () => input.value.length,
    input_copy: pointer => writeText(input.value, pointer),
    input_set_text: (pointer, length) => { input.value = readText(pointer, length); },
    input_set_sel_start: start => input.setSelectionRange(start, start),
    input_set_sel_length: length => input.setSelectionRange(input.selectionStart, input.selectionStart + length),
    list_set_text: (control, pointer, length) => setListText(controls[control], readText(pointer, length)),
    list_append: (control, pointer, length) => appendToList(controls[control], readText(pointer, length)),
    set_client_size: (width, height) => {
        form.style.setProperty('--client-width', toPixels(width));
        form.style.setProperty('--client-height', toPixels(height));
    },
    place: (control, left, top, width, height) => {
        const style = controls[control].style;
        style.setProperty('--left', toPixels(left));
        style.setProperty('--top', toPixels(top));
        style.setProperty('--width', toPixels(width));
        style.setProperty('--height', toPixels(height));
    },
    focus: control => controls[control].focus(),
    beep,
    show_about_box: (title, titleLength, text, textLength) =>
        showAboutBox(readText(title, titleLength), readText(text, textLength)),
    end_program: endProgram,
};

// Runs `call` on the module: later if it has not started yet, never once
// it cannot run or the program has ended.
function whenStarted(call) {
    if (early)
        early.push(call);
    else if (module)
        call();
}

// `event` on `element`, by the form's names; the module's table says which
// handler, if any, runs.
function handle(element, event) {
    whenStarted(() => module.handle(controls.indexOf(element), events.indexOf(event)));
}

function pressAccessKey(letter) {
    whenStarted(() => module.press_access_key(letter.charCodeAt(0)));
}

// The control an event reached, if it is one of the form's.
function controlOf(target) {
    return target?.parentElement === form ? target : null;
}

// The window becoming active again puts the focus back where it was, and
// the browser tells the control so; that is no new focus for the form.
let focusWhenLeft = null;
window.addEventListener('blur', event => {
    if (event.target === window)
        focusWhenLeft = document.activeElement;
});

// The page's events as the form's: a click, and Enter or Space on a focused
// button, click it; a control gets the focus; Enter (or a phone keyboard's
// Go) in a control submits the form.
function connect() {
    form.addEventListener('click', event => {
        const control = controlOf(event.target.closest('#fortpad > *'));
        if (control)
            handle(control, 'Click');
    });
    form.addEventListener('focusin', event => {
        const returning = event.target === focusWhenLeft;
        focusWhenLeft = null;
        if (!returning && controlOf(event.target))
            handle(event.target, 'GotFocus');
    });
    form.addEventListener('submit', event => {
        event.preventDefault();
        const control = controlOf(document.activeElement);
        if (control)
            handle(control, 'EnterKey');
    });
}

// On the desktop a click into the input runs its GotFocus handler, which
// selects it all, and then puts the caret where the click was; the browser
// would keep the selection, so the page places the caret itself. A drag that
// selected something keeps its selection.
function placeCaretOnClick() {
    let focusedByPointer = false;
    input.addEventListener('pointerdown', () => { focusedByPointer = document.activeElement !== input; });
    input.addEventListener('click', click => {
        const wholeText = input.selectionStart === 0 && input.selectionEnd === input.value.length;
        const caret = document.caretPositionFromPoint?.(click.clientX, click.clientY);
        if (focusedByPointer && wholeText && caret?.offsetNode === input)
            input.setSelectionRange(caret.offset, caret.offset);
        focusedByPointer = false;
    });
}

// The page holds the controls in stacking order, which is the tab order.
function tabOrder() {
    return [...form.children].filter(element => element.tabIndex >= 0);
}

// The buttons' access keys, as the page shows them to screen readers.
const accessKeys = new Set([...form.querySelectorAll('[aria-keyshortcuts]')]
    .map(button => button.getAttribute('aria-keyshortcuts').replace(/^Alt\+/, '')));

// Alt (and Shift) with a button's letter, from anywhere in the page, is that
// button's; every other Alt shortcut stays the browser's. Tab and Shift+Tab
// go round the form, never out of it, and stay in the about box while it is
// open, as in the desktop's modal box (its one button keeps the focus).
function onKey(event) {
    // WebKitGTK names Shift+Tab's key "Unidentified"; its code is Tab.
    const tab = event.key === 'Tab' || event.code === 'Tab';
    if (aboutBox.open && tab) {
        event.preventDefault();
        aboutOk.focus();
    }
    if (aboutBox.open || event.ctrlKey || event.metaKey || !form.isConnected)
        return;
    if (event.altKey) {
        const letter = (/^[a-z]$/i.test(event.key) ? event.key : event.code.replace(/^Key/, '')).toUpperCase();
        if (accessKeys.has(letter)) {
            event.preventDefault();
            pressAccessKey(letter);
        }
    } else if (tab) {
        const order = tabOrder();
        const [first, last] = event.shiftKey ? [order.at(-1), order[0]] : [order[0], order.at(-1)];
        if (document.activeElement === last) {
            event.preventDefault();
            first.focus();
        }
    }
}

// What the form's font is on this screen, as the module's layout wants it:
// its size in points and, in device pixels, the height of one whole line in
// the label, and with their frames in the input and a button.
function measureFont() {
    const ratio = window.devicePixelRatio;
    const line = fontProbe.getBoundingClientRect().height;
    const frame = kind => {
        const style = getComputedStyle(form.querySelector(`.${kind}`));
        return ['borderTopWidth', 'borderBottomWidth', 'paddingTop', 'paddingBottom']
            .reduce((sum, side) => sum + parseFloat(style[side]), 0);
    };
    const points = parseFloat(getComputedStyle(fontProbe).fontSize) * 72 / 96;
    const height = extra => Math.ceil((line + extra) * ratio - 0.01);
    return [points, height(0), height(frame('input')), height(frame('button'))];
}

// Sized on whole device pixels, so the form is sharp at any pixel ratio or
// zoom. On a screen narrower than the form, the style sheet flows the
// controls into one column from the first frame.
function layOut() {
    if (!module)
        return;
    const ratio = window.devicePixelRatio;
    module.lay_out(Math.round(96 * ratio), ...measureFont());
    if (ratio !== watchedRatio) {
        watchedRatio = ratio;
        matchMedia(`(resolution: ${ratio}dppx)`).addEventListener('change', layOut, {once: true});
    }
}

async function instantiate() {
    const imports = {env: pageFunctions};
    try {
        return await WebAssembly.instantiateStreaming(fetch('fortpad.wasm'), imports);
    } catch (error) {
        if (!(error instanceof TypeError))
            throw error;
        // a server that does not say application/wasm
        const response = await fetch('fortpad.wasm');
        if (!response.ok)
            throw new Error(`fortpad.wasm: ${response.status}`);
        return WebAssembly.instantiate(await response.arrayBuffer(), imports);
    }
}

// The page cannot run here: cannot-run.js, which has run by the time the
// document has loaded, says why and takes the controls away.
async function cannotRun() {
    early = undefined;
    if (document.readyState === 'loading')
        await new Promise(ready => document.addEventListener('DOMContentLoaded', ready, {once: true}));
    window.fortpadCannotRun();
}

async function start() {
    document.documentElement.dataset.started = '';
    connect();
    placeCaretOnClick();
    document.addEventListener('keydown', onKey, true);
    try {
        module = (await instantiate()).instance.exports;
        module._initialize();
        const wiring = JSON.parse(readText(module.page_wiring(), module.page_wiring_length()));
        events = wiring.events;
        wiring.controls.forEach((name, number) => { controls[number] = document.getElementById(name); });
    } catch {
        module = undefined;
        cannotRun();
        return;
    }
    for (const list of form.querySelectorAll('.list')) {
        if (!list.isContentEditable)
            list.contentEditable = 'true'; // a browser without plain-text editing
        list.addEventListener('input', event => afterEditing(list, event.inputType));
    }
    module.load();
    layOut();
    window.addEventListener('resize', layOut);
    new ResizeObserver(layOut).observe(fontProbe);
    const waiting = early;
    early = undefined;
    waiting.forEach(run => run());
    // Without a service worker (a private window, say) the page works the
    // same, only not offline.
    navigator.serviceWorker?.register('sw.js').catch(() => {});
}

start();
