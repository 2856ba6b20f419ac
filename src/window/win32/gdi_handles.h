#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace fortpad {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

using unique_hfont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

} // namespace fortpad
