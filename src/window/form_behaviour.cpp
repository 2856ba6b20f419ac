#include "form_behaviour.h"

#include "number_reading.h"

#include <optional>

namespace fortpad {
namespace {

std::optional<Handler> handler_for(Control control, Event event)
{
    for (const EventHandler& entry : event_handlers)
        if (entry.control == control && entry.event == event)
            return entry.handler;
    return std::nullopt;
}

} // namespace

FormBehaviour::FormBehaviour(const FormBoxes& boxes, FormToolkit& toolkit)
    : boxes_(boxes)
    , toolkit_(toolkit)
{
}

void FormBehaviour::load()
{
    empty_lists();
    boxes_.input_num.set_focus();
}

void FormBehaviour::lay_out(int dpi, const InterfaceFont& font)
{
    const FormLayout layout = form_layout(dpi, font);
    toolkit_.set_client_size(layout.client);
    for (const ControlPlacement& placement : form_controls)
        toolkit_.place(placement.control, layout.controls[index_of(placement.control)]);
}

void FormBehaviour::handle(Control control, Event event)
{
    const ControlKind kind = placement_of(control).kind;
    if (kind == ControlKind::Button && event == Event::AccessKey)
        toolkit_.focus(control);
    // No button is the default: Enter clicks the one that has the focus.
    if (kind == ControlKind::Button && (event == Event::AccessKey || event == Event::EnterKey))
        event = Event::Click;
    // A single-line box has no use for Enter and answers it with a beep.
    if (kind == ControlKind::Input && event == Event::EnterKey)
        toolkit_.beep();
    if (const auto handler = handler_for(control, event))
        run(*handler); // last: it may end the program, and this form with it
}

bool FormBehaviour::press_access_key(char16_t letter)
{
    const auto button = button_with_access_key(letter);
    if (button)
        handle(*button, Event::AccessKey);
    return button.has_value();
}

// The red list, then the green one.
void FormBehaviour::empty_lists()
{
    boxes_.bad_num.set_text(u"");
    boxes_.good_box.set_text(u"");
}

void FormBehaviour::run(Handler handler)
{
    switch (handler) {
    case Handler::SelectInput:
        select_all(boxes_.input_num);
        break;
    case Handler::Test:
        run_number_test(boxes_);
        break;
    case Handler::Clear:
        empty_lists();
        boxes_.input_num.set_text(u"");
        boxes_.input_num.set_focus();
        break;
    case Handler::About:
        toolkit_.show_about_box(about_title, about_text);
        break;
    case Handler::End:
        toolkit_.end_program();
        break;
    }
}

} // namespace fortpad
