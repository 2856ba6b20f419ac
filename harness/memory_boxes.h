#pragma once

#include "text_boxes.h"

#include <vector>

namespace fortpad {

// Boxes that are only strings: for tests, benchmarks and fuzzing.
class MemoryInput final : public InputBox {
public:
    std::u16string text() const override { return text_; }
    void set_text(std::u16string_view text) override { text_ = text; }
    void set_sel_start(std::size_t start) override
    {
        sel_start_ = start;
        sel_length_ = 0;
    }
    void set_sel_length(std::size_t length) override { sel_length_ = length; }
    void set_focus() override { ++focus_count_; }

    const std::u16string& str() const { return text_; }
    std::size_t sel_start() const { return sel_start_; }
    std::size_t sel_length() const { return sel_length_; }
    int focus_count() const { return focus_count_; }

private:
    std::u16string text_;
    std::size_t sel_start_ = 0;
    std::size_t sel_length_ = 0;
    int focus_count_ = 0;
};

class MemoryList final : public ResultList {
public:
    explicit MemoryList(std::u16string text = {})
        : text_(std::move(text))
    {
    }
    void set_text(std::u16string_view text) override { text_ = text; }
    void append(std::u16string_view tail) override { text_ += tail; }
    void announce(std::u16string_view entry) override { announced_.emplace_back(entry); }

    const std::u16string& str() const { return text_; }
    const std::vector<std::u16string>& announced() const { return announced_; }

private:
    std::u16string text_;
    std::vector<std::u16string> announced_;
};

} // namespace fortpad
