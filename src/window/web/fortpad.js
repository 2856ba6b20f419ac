// fortpad's browser window: finds the form's controls in the page (written
// from the form's description at build time), places them where the module
// says, and hands the page's events to the module, which runs the form's
// handlers and the reckoning.

const form = document.getElementById('fortpad');
const aboutBox = document.getElementById('about_box');
const fontProbe = document.querySelector('.font-probe');
const controls = []; // the elements, by the module's control number
let input; // the input box among them
let module; // the module's exports; gone once the program has ended
let description;
let clientWidth = 0; // CSS pixels
let watchedRatio; // the pixel ratio whose change lays the form out again

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

// A list is editable text in blocks of at most 64 lines, and one more entry
// goes into the last block or a new one: the browser lays out and draws only
// that block, and skips those out of sight, so an entry costs the same
// however long the list is (a text area lays out its whole text again). The
// line break between two blocks is the blocks' boundary. Like a text area,
// the list keeps each CR LF and lone CR as LF, so a CR that ends one piece
// and the LF that starts the next are one line break, as they would be in
// the list's text written whole.
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

function writeLines(list, text) {
    const [first, ...lines] = text.replace(/\r\n?/g, '\n').split('\n');
    let block = list.lastElementChild ?? addBlock(list);
    let pending = first;
    for (const line of lines) {
        if (blockLines.get(block) < linesPerBlock) {
            pending += '\n' + line;
            blockLines.set(block, blockLines.get(block) + 1);
            continue;
        }
        if (pending)
            block.append(pending);
        block = addBlock(list);
        pending = line;
    }
    if (pending)
        block.append(pending);
    list.scrollTop = 0;
}

export function setListText(list, text) {
    list.replaceChildren();
    endsInCarriageReturn.set(list, text.endsWith('\r'));
    writeLines(list, text);
}

export function appendToList(list, tail) {
    if (tail === '')
        return;
    writeLines(list, endsInCarriageReturn.get(list) && tail[0] === '\n' ? tail.slice(1) : tail);
    endsInCarriageReturn.set(list, tail.endsWith('\r'));
}

// The list's text as it stands, line breaks as LF.
export function listText(list) {
    return [...list.children].map(block => block.textContent).join('\n');
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
        clientWidth = width / window.devicePixelRatio;
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

function handle(control, event) {
    module?.handle(control, description.events.indexOf(event));
}

// The page's events as the form's: a click, and Enter or Space on a focused
// button, click it; the focus entering the input; Enter (or a phone
// keyboard's Go) in the input submits the form.
function connect(control, event) {
    const element = controls[control];
    if (event === 'Click')
        element.addEventListener('click', () => handle(control, event));
    else if (event === 'GotFocus')
        element.addEventListener('focus', () => handle(control, event));
    else if (event === 'EnterKey')
        form.addEventListener('submit', submit => {
            submit.preventDefault();
            handle(control, event);
        });
}

// On the desktop a click into the input runs its GotFocus handler, which
// selects it all, and then puts the caret where the click was; the browser
// would keep the selection, so the page places the caret itself. A drag that
// selected something keeps its selection.
function placeCaretOnClick(input) {
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

function tabOrder() {
    return description.stacking.map(number => controls[number]).filter(element => element.tabIndex >= 0);
}

// Alt (and Shift) with a button's letter, from anywhere in the page, is that
// button's; every other Alt shortcut stays the browser's. Tab and Shift+Tab
// go round the form, never out of it.
function onKey(event) {
    if (!module || aboutBox.open || event.ctrlKey || event.metaKey)
        return;
    if (event.altKey) {
        const letter = /^[a-z]$/i.test(event.key) ? event.key : event.code.replace(/^Key/, '');
        if (letter.length === 1 && module.press_access_key(letter.charCodeAt(0)))
            event.preventDefault();
    } else if (event.key === 'Tab') {
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

function fitToScreen() {
    form.classList.toggle('narrow', document.documentElement.clientWidth < clientWidth);
}

// Sized on whole device pixels, so the form is sharp at any pixel ratio or
// zoom; on a screen narrower than the form, one column instead.
function layOut() {
    if (!module)
        return;
    const ratio = window.devicePixelRatio;
    module.lay_out(Math.round(96 * ratio), ...measureFont());
    fitToScreen();
    if (ratio !== watchedRatio) {
        watchedRatio = ratio;
        matchMedia(`(resolution: ${ratio}dppx)`).addEventListener('change', layOut, {once: true});
    }
}

async function instantiate() {
    const imports = {env: pageFunctions};
    try {
        return await WebAssembly.instantiateStreaming(fetch('fortpad.wasm'), imports);
    } catch {
        // a server that does not say application/wasm
        const bytes = await (await fetch('fortpad.wasm')).arrayBuffer();
        return WebAssembly.instantiate(bytes, imports);
    }
}

async function start() {
    // A phone shows one column from the first frame, by the form's width at
    // 9 points that the style sheet holds, until the module lays it out.
    clientWidth = parseFloat(getComputedStyle(form).getPropertyValue('--client-width'));
    fitToScreen();
    module = (await instantiate()).instance.exports;
    module._initialize();
    const pointer = module.form_description();
    description = JSON.parse(readText(pointer, module.form_description_length()));
    description.controls.forEach((control, number) => {
        controls[number] = document.getElementById(control.name);
        if (control.kind === 'input')
            input = controls[number];
    });
    for (const {control, event} of description.handlers)
        connect(control, event);
    placeCaretOnClick(input);
    for (const list of form.querySelectorAll('.list'))
        if (!list.isContentEditable)
            list.contentEditable = 'true'; // a browser without plain-text editing
    document.addEventListener('keydown', onKey, true);
    module.load();
    layOut();
    window.addEventListener('resize', layOut);
    new ResizeObserver(layOut).observe(fontProbe);
    navigator.serviceWorker?.register('sw.js');
}

start();
