#pragma once

#include <string>

namespace fortpad::web {

// The form as the page builds it, in JSON: caption, controls in the table's
// order (name, kind, caption, access key, tab index, text colour, accessible
// name), the order in which they stack, and which event runs a handler on
// which control.
std::u16string form_description();

} // namespace fortpad::web
