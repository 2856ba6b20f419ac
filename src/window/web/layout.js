// Where the form's controls sit: the module lays the form out for the
// screen's pixel ratio and the font the browser shows, as a desktop does for
// its DPI and interface font, and the page places the controls there.
import {form} from './elements.js';
import {controlAt, whenRunning} from './module-bridge.js';

const [fontProbe, fontReference] = document.querySelectorAll('.font-probe');
let watchedRatio; // the pixel ratio whose change lays the form out again

function toPixels(devicePixels) {
    return `${devicePixels / window.devicePixelRatio}px`;
}

export const layoutFunctions = {
    set_client_size: (width, height) => {
        form.style.setProperty('--client-width', toPixels(width));
        form.style.setProperty('--client-height', toPixels(height));
    },
    place: (control, left, top, width, height) => {
        const style = controlAt(control).style;
        style.setProperty('--left', toPixels(left));
        style.setProperty('--top', toPixels(top));
        style.setProperty('--width', toPixels(width));
        style.setProperty('--height', toPixels(height));
    },
};

// The size the browser shows the form's font at, in CSS pixels. Firefox
// shows it at the user's minimum font size where that is larger, and still
// gives its own size as the computed one: the width of a line of it, `probe`
// the probe's rectangle, tells.
function fontPixels(probe) {
    const computed = parseFloat(getComputedStyle(fontProbe).fontSize);
    const shown = 100 * probe.width / fontReference.getBoundingClientRect().width;
    return shown > computed + 0.5 ? Math.round(shown) : computed;
}

// What the form's font is on this screen, as the module's layout wants it:
// its size in points and, in device pixels, the height of one whole line in
// the label, and with their frames in the input and a button.
function measureFont() {
    const ratio = window.devicePixelRatio;
    const probe = fontProbe.getBoundingClientRect();
    const frame = kind => {
        const style = getComputedStyle(form.querySelector(`.${kind}`));
        return ['borderTopWidth', 'borderBottomWidth', 'paddingTop', 'paddingBottom']
            .reduce((sum, side) => sum + parseFloat(style[side]), 0);
    };
    const points = fontPixels(probe) * 72 / 96;
    const height = extra => Math.ceil((probe.height + extra) * ratio - 0.01);
    return [points, height(0), height(frame('input')), height(frame('button'))];
}

// Sized on whole device pixels, so the form is sharp at any pixel ratio or
// zoom. On a screen narrower than the form, the style sheet flows the
// controls into one column from the first frame.
function layOut() {
    const ratio = window.devicePixelRatio;
    whenRunning(module => module.lay_out(Math.round(96 * ratio), ...measureFont()));
    if (ratio !== watchedRatio) {
        watchedRatio = ratio;
        matchMedia(`(resolution: ${ratio}dppx)`).addEventListener('change', layOut, {once: true});
    }
}

// Lays the form out now and whenever the screen or the font changes.
export function followTheScreen() {
    layOut();
    window.addEventListener('resize', layOut);
    new ResizeObserver(layOut).observe(fontProbe);
}
