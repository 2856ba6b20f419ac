#include "page_wiring.h"

#include "form.h"
#include "json_writer.h"

#include <array>

namespace fortpad::web {
namespace {

std::u16string_view event_name(Event event)
{
    switch (event) {
    case Event::Click: return u"Click";
    case Event::AccessKey: return u"AccessKey";
    case Event::EnterKey: return u"EnterKey";
    case Event::GotFocus: return u"GotFocus";
    }
    return {};
}

// Listed by their number, which is how the page names an event to `handle`.
constexpr std::array all_events = {Event::Click, Event::AccessKey, Event::EnterKey, Event::GotFocus};
static_assert([] {
    for (std::size_t number = 0; number < all_events.size(); ++number)
        if (std::size_t(all_events[number]) != number)
            return false;
    return true;
}());

} // namespace

std::u16string page_wiring()
{
    JsonWriter json;
    json.begin_object();
    json.key(u"controls").begin_array();
    for (const ControlPlacement& placement : form_controls)
        json.value(placement.name);
    json.end_array();
    json.key(u"events").begin_array();
    for (const Event event : all_events)
        json.value(event_name(event));
    json.end_array();
    json.end_object();
    return json.text();
}

} // namespace fortpad::web
