// Time per test through the real window under Wine: Enter in the input, one
// entry appended, the window repainted, with the lists already holding 0,
// 1,000 and 10,000 entries.
#include "win32_boxes.h"
#include "filled_list.h"
#include "form_state.h"
#include "form_window.h"
#include "message_loop.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace fortpad;

namespace {

double now_ms()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1e3 / double(frequency.QuadPart);
}

void drain(HWND form)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT)
            dispatch_message(form, message);
}

double median_test_ms(int entries)
{
    const HWND form = create_form_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    drain(form);
    for (Control list : {Control::good_box, Control::bad_num})
        Win32ResultList(GetDlgItem(form, control_id(list))).set_text(filled_list(entries));
    const HWND input = GetDlgItem(form, control_id(Control::input_num));
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    drain(form);

    // Alternate a good and a bad verdict so both lists keep growing.
    const wchar_t* numbers[] = {L"12345", L"13812345678"};
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        SetWindowTextW(input, numbers[i & 1]);
        const double start = now_ms();
        SendMessageW(input, WM_CHAR, VK_RETURN, 0);
        RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        drain(form);
        times.push_back(now_ms() - start);
    }
    DestroyWindow(form);
    drain(form);
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain()
{
    std::printf("one test through the window under Wine, median of 21\n");
    const double empty = median_test_ms(0);
    std::printf("%8d entries per list %8.2f ms\n", 0, empty);
    for (int entries : {1'000, 10'000}) {
        const double ms = median_test_ms(entries);
        std::printf("%8d entries per list %8.2f ms (%.2fx empty)\n", entries, ms, ms / empty);
    }
    return 0;
}
