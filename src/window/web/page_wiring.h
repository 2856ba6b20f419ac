#pragma once

#include <string>

namespace fortpad::web {

// How the page's script names what it hands the module, in JSON: the
// controls' names in the form's table order (their number in the module's
// calls) and the events' names by their number. Which event runs which
// handler stays the module's.
std::u16string page_wiring();

} // namespace fortpad::web
