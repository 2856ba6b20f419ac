#pragma once

#include "control_ids.h"
#include "edit_boxes.h"
#include "form.h"
#include "gdi_handles.h"

#include <windows.h>

#include <array>

namespace fortpad {

using ControlWindows = std::array<HWND, form_controls.size()>;

// What the window keeps for its life, reached through GWLP_USERDATA.
struct FormState {
    FormState(HWND form_window, const ControlWindows& control_windows)
        : window(form_window)
        , controls(control_windows)
    {
    }

    HWND control(Control name) const { return controls[index_of(name)]; }

    const HWND window;
    const ControlWindows controls;
    EditInput input{control(Control::input_num)};
    EditList good{control(Control::good_box)};
    EditList bad{control(Control::bad_num)};
    const FormBoxes boxes{input, good, bad};
    unique_hfont font;
    // Where the focus was when the window was last deactivated.
    HWND focus_to_restore = nullptr;
    // Set while the input gets the focus without a change of focus inside
    // the window (the window coming back) or by a click, which places the
    // caret itself: then the input is not selected.
    bool focus_keeps_selection = false;
};

inline FormState* form_state(HWND form) { return reinterpret_cast<FormState*>(GetWindowLongPtrW(form, GWLP_USERDATA)); }

// Keyboard behaviour of the text boxes beyond the EDIT control's own.
void subclass_input(FormState& form);
void subclass_list(HWND list);

// Clicks a button as the form's handlers expect: the focus moves to it first.
void press_button(FormState& form, Control button);

} // namespace fortpad
