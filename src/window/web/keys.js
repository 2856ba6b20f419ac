// The page's keys, clicks and focus as the form's events: a click, and
// Enter or Space on a focused button, click it; a control gets the focus;
// Enter (or a phone keyboard's Go) in a control submits the form; the access
// keys and Tab work as on the desktop.
import {aboutBox, aboutOk, form, input} from './elements.js';
import {handle, pressAccessKey, typingWaits, whenRunning} from './module-bridge.js';

// The control an event reached, if it is one of the form's.
function controlOf(target) {
    return target?.parentElement === form ? target : null;
}

// The window becoming active again puts the focus back where it was, and
// the browser tells the control so; that is no new focus for the form.
let focusWhenLeft = null;

function listenToTheForm() {
    window.addEventListener('blur', event => {
        if (event.target === window)
            focusWhenLeft = document.activeElement;
    });
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

// An edit of the input, made later where the user made it then.
function editLater(event) {
    const {inputType} = event;
    const data = (event.data ?? event.dataTransfer?.getData('text/plain') ?? '').replace(/[\r\n]/g, '');
    return () => {
        let {selectionStart: start, selectionEnd: end} = input;
        if (start === end && inputType.endsWith('Backward'))
            start = Math.max(0, start - 1);
        else if (start === end && inputType.endsWith('Forward'))
            end += 1;
        if (inputType.startsWith('insert') || inputType.startsWith('delete'))
            input.setRangeText(inputType.startsWith('insert') ? data : '', start, end, 'end');
    };
}

// Typing while an action waits for the module waits with it (composing
// text, which the browser does not let a page hold, aside). Enter, which
// Chromium announces as a line break, submits the form as ever.
function holdTyping() {
    const lineBreak = /^insert(LineBreak|Paragraph)$/;
    input.addEventListener('beforeinput', event => {
        if (typingWaits() && event.cancelable && !lineBreak.test(event.inputType)) {
            event.preventDefault();
            whenRunning(editLater(event));
        }
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

export function listen() {
    listenToTheForm();
    holdTyping();
    placeCaretOnClick();
    document.addEventListener('keydown', onKey, true);
}
