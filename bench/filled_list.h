#pragma once

#include <string>

// A result list of n entries of the usual shape, about 40 characters each.
inline std::u16string filled_list(int n)
{
    const std::u16string entry = u"\r\n78.有得有失,华而不实,须防劫财,始保安顺(吉带凶),13812345678";
    std::u16string text;
    text.reserve(entry.size() * std::size_t(n));
    for (int i = 0; i < n; ++i)
        text += entry;
    return text;
}
