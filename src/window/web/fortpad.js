// fortpad's browser window: builds the form from the module's description,
// places it where the module says, and hands the page's events to the
// module, which runs the form's handlers and the reckoning.

const form = document.getElementById('fortpad');
const aboutBox = document.getElementById('about_box');
const fontProbe = document.createElement('span');
const controls = []; // the elements, by the module's control number
let module; // the module's exports; gone once the program has ended
let description;
let clientWidth = 0; // CSS pixels

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

// A list grows at its end without being set again, so one more entry costs
// the same however long the list is; it shows its top after each entry. The
// browser turns each CR LF and lone CR into LF as it stores text, so a CR
// that ends one piece and the LF that starts the next are one line break,
// as they would be in the list's text written whole.
const endsInCarriageReturn = new WeakMap();

export function setListText(list, text) {
    list.value = text;
    list.scrollTop = 0;
    endsInCarriageReturn.set(list, text.endsWith('\r'));
}

export function appendToList(list, tail) {
    if (tail === '')
        return;
    const end = list.textLength;
    list.setRangeText(endsInCarriageReturn.get(list) && tail[0] === '\n' ? tail.slice(1) : tail, end, end);
    list.scrollTop = 0;
    endsInCarriageReturn.set(list, tail.endsWith('\r'));
}

function inputBox() {
    return controls[description.controls.findIndex(control => control.kind === 'input')];
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
    input_length: () => inputBox().value.length,
    input_copy: pointer => writeText(inputBox().value, pointer),
    input_set_text: (pointer, length) => { inputBox().value = readText(pointer, length); },
    input_set_sel_start: start => inputBox().setSelectionRange(start, start),
    input_set_sel_length: length => {
        const start = inputBox().selectionStart;
        inputBox().setSelectionRange(start, start + length);
    },
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

// A caption's "&" underlines the access key that follows it.
function showCaption(element, caption) {
    const amp = caption.indexOf('&');
    if (amp < 0 || amp + 1 === caption.length) {
        element.textContent = caption;
        return;
    }
    const key = document.createElement('u');
    key.textContent = caption[amp + 1];
    element.append(caption.slice(0, amp), key, caption.slice(amp + 2));
}

function createControl(control) {
    const tags = {button: 'button', input: 'input', list: 'textarea', label: 'span'};
    const element = document.createElement(tags[control.kind]);
    element.id = control.name;
    element.className = control.kind;
    if (control.kind === 'button') {
        element.type = 'button';
        showCaption(element, control.caption);
        element.setAttribute('aria-keyshortcuts', `Alt+${control.accessKey.toUpperCase()}`);
    } else if (control.kind === 'input') {
        Object.assign(element, {type: 'text', spellcheck: false, enterKeyHint: 'go'});
        element.setAttribute('autocapitalize', 'off');
        const label = description.controls.find(other => other.kind === 'label');
        element.setAttribute('aria-labelledby', label.name);
        placeCaretOnClick(element);
    } else if (control.kind === 'list') {
        element.spellcheck = false;
        element.style.color = control.colour;
        element.setAttribute('aria-label', control.accessibleName);
    } else {
        element.textContent = control.caption;
    }
    return element;
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

// Sized on whole device pixels, so the form is sharp at any pixel ratio or
// zoom; on a screen narrower than the form, one column instead.
function layOut() {
    if (!module)
        return;
    const ratio = window.devicePixelRatio;
    module.lay_out(Math.round(96 * ratio), ...measureFont());
    form.classList.toggle('narrow', document.documentElement.clientWidth < clientWidth);
    matchMedia(`(resolution: ${ratio}dppx)`).addEventListener('change', layOut, {once: true});
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
    module = (await instantiate()).instance.exports;
    module._initialize();
    const pointer = module.form_description();
    description = JSON.parse(readText(pointer, module.form_description_length()));
    document.title = description.caption;
    for (const number of description.stacking)
        form.append(controls[number] = createControl(description.controls[number]));
    for (const {control, event} of description.handlers)
        connect(control, event);
    fontProbe.className = 'font-probe';
    fontProbe.setAttribute('aria-hidden', 'true');
    fontProbe.textContent = 'Xgjpqy_'; // the font's own line, as a desktop measures it
    document.body.append(fontProbe);
    document.addEventListener('keydown', onKey, true);
    layOut();
    window.addEventListener('resize', layOut);
    new ResizeObserver(layOut).observe(fontProbe);
    module.load();
    navigator.serviceWorker?.register('sw.js');
}

start();
