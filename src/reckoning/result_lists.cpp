#include "result_lists.h"

#include "fortune_table.h"

namespace fortpad {

void test_num(const FormBoxes& boxes, const std::u16string& jx_txt, const std::int16_t& jx_num,
              const std::u16string& inputnum)
{
    constexpr std::u16string_view line_break = u"\r\n";
    ResultList& list = jx_num == Good ? boxes.good_box : boxes.bad_num;
    std::u16string entry;
    entry.reserve(line_break.size() + jx_txt.size() + 1 + inputnum.size());
    entry.append(line_break).append(jx_txt).append(u",").append(inputnum);
    list.append(entry);
    list.announce(std::u16string_view(entry).substr(line_break.size()));

    select_all(boxes.input_num);
}

} // namespace fortpad
