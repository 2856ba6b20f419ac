#pragma once

// The form's behaviour, the same in every window: its start-up, its layout,
// and which handler each event runs. A window only turns its toolkit's events
// into `handle` calls and does for the form what only a toolkit can.

#include "form.h"
#include "text_boxes.h"

#include <string_view>

namespace fortpad {

// What a window does for the form.
class FormToolkit {
public:
    virtual void set_client_size(PixelSize size) = 0;
    virtual void place(Control control, const PixelRect& rect) = 0;
    // Only an access key moves the focus to a button itself.
    virtual void focus(Control control) = 0;
    virtual void beep() = 0;
    // Modal, with an OK button and no icon; returns when it is dismissed.
    virtual void show_about_box(std::u16string_view title, std::u16string_view text) = 0;
    // Stops the program at once. The window and this form may be gone when
    // it returns.
    virtual void end_program() = 0;

protected:
    ~FormToolkit() = default;
};

class FormBehaviour {
public:
    FormBehaviour(const FormBoxes& boxes, FormToolkit& toolkit);

    // Start-up, before the window is first shown: both lists empty and the
    // focus in the input.
    void load();
    // Sizes the client area and places every control for a screen of `dpi`
    // and the interface font drawn there.
    void lay_out(int dpi, const InterfaceFont& font);
    // An event the user raised on a control. It may end the program: the
    // caller must not touch the form afterwards if the window is gone.
    void handle(Control control, Event event);
    // Alt and a letter, in either case: the button it marks takes the focus
    // and is clicked. False when no button has that access key.
    bool press_access_key(char16_t letter);

private:
    void empty_lists();
    void run(Handler handler);

    const FormBoxes boxes_;
    FormToolkit& toolkit_;
};

} // namespace fortpad
