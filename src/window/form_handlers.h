#pragma once

// The form's handlers that need nothing of a toolkit, over a window's boxes:
// any `boxes` with an `input` (an InputBox) and the lists `good` and `bad`,
// whose whole text can be set.

namespace fortpad {

// At start-up and on Clear: the red list, then the green one.
template <typename Boxes>
void empty_lists(Boxes& boxes)
{
    boxes.bad.set_text(u"");
    boxes.good.set_text(u"");
}

// Clear: both lists, then the input, then the focus back to the input.
template <typename Boxes>
void clear_everything(Boxes& boxes)
{
    empty_lists(boxes);
    boxes.input.set_text(u"");
    boxes.input.set_focus();
}

} // namespace fortpad
