#pragma once

#include <string>

namespace fortpad::web {

// What the page's script needs of the form, in JSON: the controls in the
// table's order (their number in the module's calls) with name and kind, the
// order in which they stack, and which event runs a handler on which
// control. The page's markup comes from the same description at build time.
std::u16string form_description();

} // namespace fortpad::web
