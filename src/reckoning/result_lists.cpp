#include "result_lists.h"

#include "fortune_table.h"

namespace fortpad {

void test_num(const FormBoxes& boxes, const std::u16string& jx_txt, const std::int16_t& jx_num,
              const std::u16string& inputnum)
{
    ResultList& list = jx_num == Good ? boxes.good_box : boxes.bad_num;
    std::u16string entry;
    entry.reserve(2 + jx_txt.size() + 1 + inputnum.size());
    entry.append(u"\r\n").append(jx_txt).append(u",").append(inputnum);
    list.append(entry);

    select_all(boxes.input_num);
}

} // namespace fortpad
