// A list is editable text, mostly in blocks of at most 64 lines that the
// page writes: the browser lays out again only the block an entry goes into
// and draws only what is in sight, so an entry costs the same however long
// the list is (a text area lays out its whole text again). Every block is
// laid out at its true height, so the list's end is where its scroll bar
// says, drawn or not (blocks skipped while out of sight are not). A block
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
export function afterEditing(list, inputType) {
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
