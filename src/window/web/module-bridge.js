// The bridge to the WebAssembly module, which runs the form's handlers and
// the reckoning: its start, the strings that cross, and what the user did
// before it had started.
import {form} from './elements.js';
import {controlNames, eventNames} from './wiring.js';

// starting → running → ended (the form's exit) or stopped (it cannot go on)
let phase = 'starting';
let module;
const controls = controlNames.map(name => document.getElementById(name)); // by the module's number
// What the user did while the module was starting, run in order once it
// has: nothing is lost and nothing runs twice. Once an action waits, typing
// into the input waits too, so that each action acts on the text as it was
// when the user took it.
const waiting = [];
let typingHeld = false;

// Strings cross as UTF-16 units in the module's memory, every unit kept
// (a decoder would replace a lone surrogate). The memory may grow during any
// call, so each access takes a fresh view.
function units(pointer, length) {
    return new Uint16Array(module.memory.buffer, pointer, length);
}

export function readText(pointer, length) {
    const view = units(pointer, length);
    let text = '';
    for (let start = 0; start < length; start += 4096)
        text += String.fromCharCode(...view.subarray(start, start + 4096));
    return text;
}

export function writeText(text, pointer) {
    const view = units(pointer, text.length);
    for (let i = 0; i < text.length; ++i)
        view[i] = text.charCodeAt(i);
}

export const controlAt = number => controls[number];

export const typingWaits = () => phase === 'starting' && typingHeld;

// A module that fails mid-call (a trap, or a page function that threw) has
// left the form half-done: the page stops and says so rather than queueing
// every later click silently. Where cannot-run.js did not load, the
// notice's own text says it.
function stop(error, reason) {
    phase = 'stopped';
    module = undefined;
    console.error(error);
    if (window.fortpadCannotRun) {
        window.fortpadCannotRun(reason);
        return;
    }
    document.getElementById('notice').hidden = false;
    form.inert = true;
}

function run(action) {
    try {
        action(module);
    } catch (error) {
        stop(error, 'stopped');
    }
}

// Runs `action` with the module's exports: later if it is still starting,
// never once the program has ended or stopped.
export function whenRunning(action, {holdsTyping = false} = {}) {
    if (phase === 'starting') {
        waiting.push(action);
        typingHeld ||= holdsTyping;
    } else if (phase === 'running') {
        run(action);
    }
}

// `event` on `element`, by the form's names; the module's table says which
// handler, if any, runs. Moving the focus acts on no text.
export function handle(element, event) {
    whenRunning(module => module.handle(controls.indexOf(element), eventNames.indexOf(event)),
                {holdsTyping: event !== 'GotFocus'});
}

export function pressAccessKey(letter) {
    whenRunning(module => module.press_access_key(letter.charCodeAt(0)), {holdsTyping: true});
}

export function end() {
    phase = 'ended';
    module = undefined;
}

async function instantiate(pageFunctions) {
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
// document has loaded, says why.
async function cannotStart(error) {
    if (document.readyState === 'loading')
        await new Promise(ready => document.addEventListener('DOMContentLoaded', ready, {once: true}));
    stop(error);
}

// Starts the module over `pageFunctions`, loads the form, runs `afterLoad`
// and then what the user did meanwhile.
export async function startModule(pageFunctions, afterLoad) {
    try {
        module = (await instantiate(pageFunctions)).instance.exports;
        module._initialize();
    } catch (error) {
        waiting.length = 0;
        cannotStart(error);
        return;
    }
    phase = 'running';
    run(module => module.load());
    afterLoad();
    waiting.splice(0).forEach(action => whenRunning(action));
}
