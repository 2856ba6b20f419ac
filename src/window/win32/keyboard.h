#pragma once

#include "form.h"

#include <windows.h>

namespace fortpad {

struct FormState;

// Keyboard behaviour of the text boxes beyond the EDIT control's own, until
// each control is destroyed.
void subclass_input(FormState& state, Control input);
void subclass_list(HWND list);

} // namespace fortpad
