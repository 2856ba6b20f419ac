#pragma once

// Just enough JSON to hand plain data to a page: objects, arrays, strings and
// whole numbers, written as UTF-16 so that the page reads the form's texts
// unit for unit.

#include <charconv>
#include <string>
#include <string_view>

namespace fortpad::web {

class JsonWriter {
public:
    JsonWriter& begin_object() { return open(u'{'); }
    JsonWriter& end_object() { return close(u'}'); }
    JsonWriter& begin_array() { return open(u'['); }
    JsonWriter& end_array() { return close(u']'); }

    JsonWriter& key(std::u16string_view name)
    {
        value(name);
        text_ += u':';
        after_key_ = true;
        return *this;
    }

    JsonWriter& value(std::u16string_view string)
    {
        separate();
        text_ += u'"';
        for (const char16_t unit : string)
            escape(unit);
        text_ += u'"';
        return *this;
    }

    JsonWriter& value(const char* ascii) { return value(std::u16string(ascii, ascii + std::char_traits<char>::length(ascii))); }

    JsonWriter& value(int number)
    {
        separate();
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        text_.append(digits, end);
        return *this;
    }

    const std::u16string& text() const { return text_; }

private:
    JsonWriter& open(char16_t bracket)
    {
        separate();
        text_ += bracket;
        first_ = true;
        return *this;
    }

    JsonWriter& close(char16_t bracket)
    {
        text_ += bracket;
        first_ = false;
        return *this;
    }

    void separate()
    {
        if (!first_ && !after_key_)
            text_ += u',';
        first_ = after_key_ = false;
    }

    // Every unit survives, lone surrogate halves included: JSON.parse reads
    // them back as they were.
    void escape(char16_t unit)
    {
        if (unit == u'"' || unit == u'\\') {
            text_ += u'\\';
            text_ += unit;
        } else if (unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF)) {
            static constexpr char16_t hex[] = u"0123456789abcdef";
            text_ += u"\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                text_ += hex[(unit >> shift) & 0xF];
        } else {
            text_ += unit;
        }
    }

    std::u16string text_;
    bool first_ = true;
    bool after_key_ = false;
};

} // namespace fortpad::web
