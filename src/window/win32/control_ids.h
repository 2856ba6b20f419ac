#pragma once

#include "form.h"

#include <windows.h>

#include <array>
#include <optional>

namespace fortpad {

// The form's controls' windows, in the order of the form's table.
using ControlWindows = std::array<HWND, form_controls.size()>;

// Each control's id is derived from its place in the form: clear of IDOK and
// IDCANCEL, which the dialog keys send.
inline constexpr int first_control_id = 100;

constexpr int control_id(Control control) { return first_control_id + int(index_of(control)); }

constexpr std::optional<Control> control_with_id(int id)
{
    const int index = id - first_control_id;
    if (index < 0 || index >= int(form_controls.size()))
        return std::nullopt;
    return form_controls[std::size_t(index)].control;
}

} // namespace fortpad
