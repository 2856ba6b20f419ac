#pragma once

#include <QString>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string_view>

namespace fortpad {

inline QString to_qstring(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// Qt's widgets count positions in int.
inline int to_qt_position(std::size_t position) { return int(std::min<std::size_t>(position, INT_MAX)); }

} // namespace fortpad
