#include "form_description.h"

#include "form.h"
#include "json_writer.h"

#include <array>

namespace fortpad::web {
namespace {

std::u16string_view kind_name(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button: return u"button";
    case ControlKind::Input: return u"input";
    case ControlKind::List: return u"list";
    case ControlKind::Label: return u"label";
    }
    return {};
}

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

void write_control(JsonWriter& json, const ControlPlacement& placement)
{
    json.begin_object().key(u"name").value(placement.name).key(u"kind").value(kind_name(placement.kind)).end_object();
}

} // namespace

std::u16string form_description()
{
    JsonWriter json;
    json.begin_object();
    json.key(u"controls").begin_array();
    for (const ControlPlacement& placement : form_controls)
        write_control(json, placement);
    json.end_array();
    json.key(u"stacking").begin_array();
    for (const Control control : stacking_order())
        json.value(int(index_of(control)));
    json.end_array();
    json.key(u"events").begin_array();
    for (const Event event : all_events)
        json.value(event_name(event));
    json.end_array();
    json.key(u"handlers").begin_array();
    for (const EventHandler& entry : event_handlers)
        json.begin_object()
            .key(u"control").value(int(index_of(entry.control)))
            .key(u"event").value(event_name(entry.event))
            .end_object();
    json.end_array();
    json.end_object();
    return json.text();
}

} // namespace fortpad::web
