// What the module asks of the page: the input's and the lists' text, what
// screen readers are told, the focus, a beep, the about box and the
// program's end.
import {aboutBox, form, input, status} from './elements.js';
import {appendToList, setListText} from './list-text.js';
import {controlAt, end, readText, writeText} from './module-bridge.js';

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

// Politely, in the page's live region. Each message is an element of its
// own: WebKitGTK tells screen readers of a new element but not of new text,
// and the same entry twice is then heard twice.
function announce(text) {
    const message = document.createElement('p');
    message.textContent = text;
    status.replaceChildren(message);
}

// Modal; when it closes, the browser gives the focus back to where it was.
function showAboutBox(title, text) {
    document.getElementById('about_title').textContent = title;
    document.getElementById('about_text').textContent = text;
    aboutBox.showModal();
}

// A window the browser lets the page close (an installed app's) closes; in a
// tab, the form is gone and nothing of it is kept: one line, heard as an
// entry is, says so and that a reload starts afresh.
function endProgram() {
    end();
    window.close();
    form.remove();
    aboutBox.remove();
    announce('程序已结束。刷新本页即可重新开始。');
    status.classList.add('ended');
}

export const pageFunctions = {
    input_length: () => input.value.length,
    input_copy: pointer => writeText(input.value, pointer),
    input_set_text: (pointer, length) => { input.value = readText(pointer, length); },
    input_set_sel_start: start => input.setSelectionRange(start, start),
    input_set_sel_length: length => input.setSelectionRange(input.selectionStart, input.selectionStart + length),
    list_set_text: (control, pointer, length) => setListText(controlAt(control), readText(pointer, length)),
    list_append: (control, pointer, length) => appendToList(controlAt(control), readText(pointer, length)),
    announce: (pointer, length) => announce(readText(pointer, length)),
    focus: control => controlAt(control).focus(),
    beep,
    show_about_box: (title, titleLength, text, textLength) =>
        showAboutBox(readText(title, titleLength), readText(text, textLength)),
    end_program: endProgram,
};
