// The module under the page: the form's behaviour and the reckoning, reaching
// the page's boxes and window through the functions the page imports to it.

#include "form_behaviour.h"

#include <cstdint>
#include <string>

#define PAGE_FUNCTION(name) __attribute__((import_module("env"), import_name(#name)))
#define MODULE_EXPORT(name) __attribute__((export_name(#name)))

using Text = const char16_t*;

extern "C" {
// Controls are numbered by their row in the form's table.
PAGE_FUNCTION(input_length) std::uint32_t page_input_length();
PAGE_FUNCTION(input_copy) void page_input_copy(char16_t* into);
PAGE_FUNCTION(input_set_text) void page_input_set_text(Text text, std::uint32_t length);
PAGE_FUNCTION(input_set_sel_start) void page_input_set_sel_start(std::uint32_t start);
PAGE_FUNCTION(input_set_sel_length) void page_input_set_sel_length(std::uint32_t length);
PAGE_FUNCTION(list_set_text) void page_list_set_text(std::uint32_t control, Text text, std::uint32_t length);
PAGE_FUNCTION(list_append) void page_list_append(std::uint32_t control, Text tail, std::uint32_t length);
PAGE_FUNCTION(announce) void page_announce(Text text, std::uint32_t length);
PAGE_FUNCTION(set_client_size) void page_set_client_size(int width, int height);
PAGE_FUNCTION(place) void page_place(std::uint32_t control, int left, int top, int width, int height);
PAGE_FUNCTION(focus) void page_focus(std::uint32_t control);
PAGE_FUNCTION(beep) void page_beep();
PAGE_FUNCTION(show_about_box)
void page_show_about_box(Text title, std::uint32_t title_length, Text text, std::uint32_t text_length);
PAGE_FUNCTION(end_program) void page_end_program();
}

namespace fortpad::web {
namespace {

std::uint32_t number_of(Control control) { return std::uint32_t(index_of(control)); }

class PageInputBox final : public InputBox {
public:
    std::u16string text() const override
    {
        std::u16string text(page_input_length(), u'\0');
        page_input_copy(text.data());
        return text;
    }
    void set_text(std::u16string_view text) override { page_input_set_text(text.data(), text.size()); }
    void set_sel_start(std::size_t start) override { page_input_set_sel_start(start); }
    void set_sel_length(std::size_t length) override { page_input_set_sel_length(length); }
    void set_focus() override { page_focus(number_of(Control::input_num)); }
};

class PageResultList final : public ResultList {
public:
    explicit PageResultList(Control control)
        : control_(number_of(control))
    {
    }
    void set_text(std::u16string_view text) override { page_list_set_text(control_, text.data(), text.size()); }
    void append(std::u16string_view tail) override { page_list_append(control_, tail.data(), tail.size()); }
    void announce(std::u16string_view entry) override { page_announce(entry.data(), entry.size()); }

private:
    std::uint32_t control_;
};

class PageToolkit final : public FormToolkit {
public:
    void set_client_size(PixelSize size) override { page_set_client_size(size.width, size.height); }
    void place(Control control, const PixelRect& rect) override
    {
        page_place(number_of(control), rect.left, rect.top, rect.width, rect.height);
    }
    void focus(Control control) override { page_focus(number_of(control)); }
    void beep() override { page_beep(); }
    // The page cannot wait for the box: it shows it, and the box gives the
    // focus back when it is dismissed.
    void show_about_box(std::u16string_view title, std::u16string_view text) override
    {
        page_show_about_box(title.data(), title.size(), text.data(), text.size());
    }
    void end_program() override { page_end_program(); }
};

PageInputBox input_num;
PageResultList good_box{Control::good_box};
PageResultList bad_num{Control::bad_num};
PageToolkit toolkit;
FormBehaviour form{{input_num, good_box, bad_num}, toolkit};

} // namespace
} // namespace fortpad::web

using namespace fortpad;

extern "C" {

MODULE_EXPORT(load) void load() { web::form.load(); }

MODULE_EXPORT(lay_out)
void lay_out(int dpi, double points, int label_height, int input_height, int button_height)
{
    web::form.lay_out(dpi, {points, label_height, input_height, button_height});
}

MODULE_EXPORT(handle) void handle(std::uint32_t control, std::uint32_t event)
{
    if (control < form_controls.size() && event <= std::uint32_t(Event::GotFocus))
        web::form.handle(Control(control), Event(event));
}

MODULE_EXPORT(press_access_key) bool press_access_key(std::uint32_t letter)
{
    return letter <= 0xFFFF && web::form.press_access_key(char16_t(letter));
}
}
