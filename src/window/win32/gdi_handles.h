#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace fortpad {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using unique_hfont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using unique_hicon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

} // namespace fortpad
