// The Win32 window driven as a user drives it, in this process: real keys
// through SendInput, then the same message loop as the program's.
#include "dpi_functions.h"
#include "entry_announcements.h"
#include "form_state.h"
#include "form_window.h"
#include "fortune_table.h"
#include "message_loop.h"
#include "system_stand_ins.h"
#include "wide_text.h"
#include "window_cases.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <cstdlib>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fortpad {
namespace {

using stand_ins::beeps;

std::u16string u16(std::u16string_view text) { return std::u16string(text); }

std::u16string entry(int row, std::u16string_view logged)
{
    const Verdict& verdict = row == cases::unknown_row ? unknown_verdict : fortune_table[std::size_t(row)];
    return u"\r\n" + u16(verdict.text) + u"," + u16(logged);
}

Control control_named(const char* name)
{
    for (const ControlPlacement& placement : form_controls)
        if (std::string_view(placement.name) == name)
            return placement.control;
    ADD_FAILURE() << "no control " << name;
    return Control::Label1;
}

INPUT key(WORD code, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.dwFlags = flags;
    (flags & KEYEVENTF_UNICODE ? input.ki.wScan : input.ki.wVk) = code;
    return input;
}

// Where a control sits in its window's client area.
cases::PixelRect placement_in(HWND window, HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The widths of the big and the small icon the window holds.
std::pair<int, int> icon_sizes(HWND window)
{
    const auto width = [](LPARAM icon) {
        ICONINFO info{};
        BITMAP bitmap{};
        if (!GetIconInfo(HICON(icon), &info))
            return 0;
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return int(bitmap.bmWidth);
    };
    return {width(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), width(SendMessageW(window, WM_GETICON, ICON_SMALL, 0))};
}

// The selection of an edit control: {start, end}.
std::pair<DWORD, DWORD> selection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return {start, end};
}

class Form : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = create_form_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        ASSERT_NE(window, nullptr);
        SetForegroundWindow(window);
        pump();
        ASSERT_EQ(GetForegroundWindow(), window);
        beeps = 0;
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        pump();
    }

    // Runs the program's own message loop until nothing is left to do.
    void pump()
    {
        MSG message;
        do {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                if (message.message != WM_QUIT)
                    dispatch_message(window, message);
        } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT) != WAIT_TIMEOUT);
    }

    void send(std::vector<INPUT> inputs)
    {
        ASSERT_EQ(SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
        pump();
    }

    // A key pressed while the modifiers are held.
    void press(WORD code, std::initializer_list<WORD> held = {}, DWORD flags = 0)
    {
        std::vector<INPUT> inputs;
        for (WORD modifier : held)
            inputs.push_back(key(modifier, 0));
        inputs.push_back(key(code, flags));
        inputs.push_back(key(code, flags | KEYEVENTF_KEYUP));
        for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
            inputs.push_back(key(*modifier, KEYEVENTF_KEYUP));
        send(inputs);
    }

    void type(std::u16string_view text)
    {
        std::vector<INPUT> inputs;
        for (char16_t c : text) {
            inputs.push_back(key(c, KEYEVENTF_UNICODE));
            inputs.push_back(key(c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
        }
        send(inputs);
    }

    void click_at(HWND control, POINT point)
    {
        ClientToScreen(control, &point);
        const auto absolute = [](LONG at, int metric) { return LONG((at * 65535 + 65535 / 2) / (GetSystemMetrics(metric) - 1)); };
        INPUT mouse[3]{};
        for (INPUT& input : mouse)
            input.type = INPUT_MOUSE;
        mouse[0].mi = {absolute(point.x, SM_CXSCREEN), absolute(point.y, SM_CYSCREEN), 0,
                       MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
        mouse[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        mouse[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        send({std::begin(mouse), std::end(mouse)});
    }

    HWND control(Control name) const { return GetDlgItem(window, control_id(name)); }
    void click(Control button)
    {
        SendMessageW(control(button), BM_CLICK, 0, 0);
        pump();
    }
    // As at start-up and after Clear: three empty boxes, the focus in the input.
    void expect_fresh_form() const
    {
        for (Control box : {Control::input_num, Control::good_box, Control::bad_num})
            EXPECT_EQ(text(box), u"");
        EXPECT_EQ(focus(), "input_num");
    }
    std::u16string text(Control name) const { return window_text(control(name)); }
    std::string focus() const
    {
        for (const ControlPlacement& placement : form_controls)
            if (GetFocus() == control(placement.control))
                return placement.name;
        return "(none of the form's controls)";
    }

    // Types into the focused input, replacing its selection.
    void enter_number(std::u16string_view typed)
    {
        SetFocus(control(Control::input_num));
        SendMessageW(control(Control::input_num), EM_SETSEL, 0, -1);
        if (typed.empty())
            press(VK_DELETE);
        else
            type(typed);
    }

    HWND window = nullptr;
};

// The message box the form shows next, read and dismissed from inside its
// modal loop.
struct MessageBoxSeen {
    std::u16string title, text;
    std::vector<int> button_ids;
    int icons = 0;
};

MessageBoxSeen* box_seen = nullptr;

BOOL CALLBACK read_box_child(HWND child, LPARAM)
{
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Button") == 0 && IsWindowVisible(child))
        box_seen->button_ids.push_back(GetDlgCtrlID(child));
    if (lstrcmpiW(cls, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON
        && IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0))
        ++box_seen->icons;
    return TRUE;
}

void CALLBACK read_and_close_box(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND box = GetForegroundWindow();
    wchar_t cls[32] = {};
    GetClassNameW(box, cls, 32);
    if (std::wstring_view(cls) != L"#32770")
        return; // not open yet
    KillTimer(nullptr, timer);
    box_seen->title = window_text(box);
    box_seen->text = window_text(GetDlgItem(box, 0xFFFF));
    EnumChildWindows(box, read_box_child, 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Layout, ControlsSitWhereTheTableSaysAtTheScreensDpi)
{
    const char* wanted = std::getenv("FORTPAD_TEST_DPI");
    const int dpi = wanted ? std::atoi(wanted) : 96;
    const HWND window = create_form_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    ASSERT_EQ(dpi_for_window(window), dpi);

    RECT client{};
    GetClientRect(window, &client);
    for (const cases::ClientSize& size : cases::expected_client_sizes) {
        if (size.dpi == dpi) {
            EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(LONG(size.width), LONG(size.height)));
        }
    }

    // The icons drawn at 100 % are 32 and 16 pixels.
    EXPECT_EQ(icon_sizes(window), std::pair(MulDiv(32, dpi, 96), MulDiv(16, dpi, 96)));

    const NONCLIENTMETRICSW metrics = non_client_metrics(dpi);
    for (const cases::ExpectedPlacement& expected : cases::expected_placements) {
        SCOPED_TRACE(expected.name);
        const HWND control = GetDlgItem(window, control_id(control_named(expected.name)));
        EXPECT_EQ(placement_in(window, control),
                  dpi == 120 ? expected.at_120 : dpi == 144 ? expected.at_144 : expected.at_96);
        EXPECT_TRUE(IsWindowVisible(control) && IsWindowEnabled(control));
        if (expected.kind != cases::Kind::Input && expected.kind != cases::Kind::List) {
            EXPECT_EQ(window_text(control), expected.caption);
        }
        LOGFONTW font{};
        GetObjectW(HFONT(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    }
    DestroyWindow(window);
}

// The DPI of the screen in this run (run_at_dpi sets it).
int screen_dpi()
{
    const char* wanted = std::getenv("FORTPAD_TEST_DPI");
    return wanted ? std::atoi(wanted) : 96;
}

// The user's message font, set for as long as this lives.
class MessageFont {
public:
    MessageFont(const wchar_t* face, double points)
    {
        saved_.cbSize = sizeof saved_;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        NONCLIENTMETRICSW metrics = saved_;
        lstrcpynW(metrics.lfMessageFont.lfFaceName, face, LF_FACESIZE);
        metrics.lfMessageFont.lfHeight = -int(points * system_dpi() / 72 + 0.5);
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    ~MessageFont() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0); }
    MessageFont(const MessageFont&) = delete;
    MessageFont& operator=(const MessageFont&) = delete;

private:
    NONCLIENTMETRICSW saved_{};
};

// A window's pixels as the screen shows them, row by row.
struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    int gray(int x, int y) const
    {
        const COLORREF c = pixels[std::size_t(y * width + x)];
        return (GetRValue(c) * 11 + GetGValue(c) * 16 + GetBValue(c) * 5) / 32;
    }
};

Image capture(HDC source, int left, int top, int width, int height)
{
    Image image{width, height, std::vector<COLORREF>(std::size_t(width * height))};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    SelectObject(memory, previous);
    GetDIBits(memory, bitmap, 0, UINT(height), image.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    for (COLORREF& pixel : image.pixels) // the DIB holds BGR
        pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
    return image;
}

Image capture(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    const HDC screen = GetDC(nullptr);
    Image image = capture(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return image;
}

// Rows where `text` differs from `blank` by more than faint antialiasing.
int inked_rows(const Image& text, const Image& blank)
{
    int rows = 0;
    for (int y = 0; y < text.height; ++y)
        for (int x = 0; x < text.width; ++x)
            if (std::abs(text.gray(x, y) - blank.gray(x, y)) > 96) {
                ++rows;
                break;
            }
    return rows;
}

// The rows inked by `text` drawn freely, with room all round, in a control's
// font and colours.
int inked_rows_free(HWND control, std::u16string_view text, COLORREF colour, COLORREF background)
{
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ font = SelectObject(memory, HFONT(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(memory, &metrics);
    const int width = 40 + 2 * int(text.size()) * metrics.tmMaxCharWidth, height = 3 * metrics.tmHeight;
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const HBRUSH fill = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, fill);
    DeleteObject(fill);
    const Image blank = capture(memory, 0, 0, width, height);
    SetTextColor(memory, colour);
    SetBkMode(memory, TRANSPARENT);
    RECT at{20, metrics.tmHeight, width, height};
    DrawTextW(memory, to_wide(text).c_str(), int(text.size()), &at, DT_LEFT | DT_TOP | DT_NOPREFIX);
    const int rows = inked_rows(capture(memory, 0, 0, width, height), blank);
    SelectObject(memory, previous);
    SelectObject(memory, font);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows;
}

class LayoutAtFont : public Form, public ::testing::WithParamInterface<std::pair<const wchar_t*, double>> {
protected:
    void SetUp() override
    {
        if (GetParam().first)
            font_.emplace(GetParam().first, GetParam().second);
        Form::SetUp();
    }
    void TearDown() override
    {
        Form::TearDown();
        font_.reset();
    }

    // The whole form at the font's scale, and every text shown whole.
    void expect_form_for_font(double points)
    {
        const int dpi = screen_dpi();
        const double scale = points > 9 ? points / 9 : 1;
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(std::pair(client.right, client.bottom),
                  std::pair(LONG(10680.0 * dpi * scale / 1440 + 0.5), LONG(5175.0 * dpi * scale / 1440 + 0.5)));
        SetFocus(control(Control::good_box)); // no caret in the input
        expect_whole_line(Control::input_num, u"吉gjpqy_", GetSysColor(COLOR_WINDOWTEXT));
        expect_whole_line(Control::Label1, placement_of(Control::Label1).caption, GetSysColor(COLOR_WINDOWTEXT));
        for (Control button : {Control::cmd_test, Control::cmd_abort, Control::cmd_clr, Control::cmd_end}) {
            std::u16string caption = u16(placement_of(button).caption);
            std::erase(caption, u'&'); // the glyphs; the underline lies within their descent
            expect_whole_line(button, caption, GetSysColor(COLOR_BTNTEXT));
        }
        std::printf("at %d dpi, %g points: scale %.3f, input %d pixels high\n", dpi, points, scale,
                    placement_in(window, control(Control::input_num)).height);
    }

private:
    void expect_whole_line(Control name, std::u16string_view text, COLORREF colour)
    {
        SCOPED_TRACE(placement_of(name).name);
        const HWND shown_in = control(name);
        SetWindowTextW(shown_in, L"");
        UpdateWindow(shown_in);
        pump();
        const Image blank = capture(shown_in);
        SetWindowTextW(shown_in, to_wide(text).c_str());
        UpdateWindow(shown_in);
        pump();
        const int shown = inked_rows(capture(shown_in), blank);
        const int free = inked_rows_free(shown_in, text, colour, blank.pixels[blank.pixels.size() / 2]);
        // Clipped text loses rows; the controls' own drawing may blur one more.
        EXPECT_GT(shown, 0);
        EXPECT_GE(shown, free);
        EXPECT_LE(shown, free + 1);
    }

    std::optional<MessageFont> font_;
};

TEST_P(LayoutAtFont, ShowsEveryTextWhole)
{
    NONCLIENTMETRICSW metrics = non_client_metrics(screen_dpi());
    expect_form_for_font(-metrics.lfMessageFont.lfHeight * 72.0 / screen_dpi());
}

INSTANTIATE_TEST_SUITE_P(, LayoutAtFont,
                         ::testing::Values(std::pair<const wchar_t*, double>{nullptr, 0},
                                           std::pair{L"Noto Sans CJK SC", 9.0},
                                           std::pair{L"Noto Sans CJK SC", 13.5}),
                         [](const auto& info) {
                             return info.param.first ? "noto_sans_cjk_sc_" + std::to_string(int(info.param.second * 10))
                                                     : std::string("tahoma_as_wine_has_it");
                         });

// Windows' text size or a new message font, while the window is open.
TEST_F(Form, FollowsANewMessageFontAtOnce)
{
    const MessageFont larger(L"Noto Sans CJK SC", 13.5);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    pump();
    RECT client{};
    GetClientRect(window, &client);
    const int dpi = screen_dpi();
    EXPECT_EQ(std::pair(client.right, client.bottom),
              std::pair(LONG(10680.0 * dpi * 1.5 / 1440 + 0.5), LONG(5175.0 * dpi * 1.5 / 1440 + 0.5)));
    LOGFONTW font{};
    GetObjectW(HFONT(SendMessageW(control(Control::input_num), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Noto Sans CJK SC");
}

TEST_F(Form, IsAFixedWindowWithItsCaptionAndIcon)
{
    EXPECT_EQ(window_text(window), FORTPAD_PRODUCT_NAME);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
    // Where the label reaches under the input, the input is on top.
    EXPECT_EQ(ChildWindowFromPointEx(window, {50, 12}, CWP_SKIPINVISIBLE), control(Control::input_num));
}

TEST_F(Form, FollowsTheScreenWhenItsDpiChanges)
{
    // Asked first, the window wants the size whose client area is exact.
    SIZE asked{};
    EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, 144, LPARAM(&asked)));
    const SIZE frame = window_size_for_client({0, 0}, GetWindowLongW(window, GWL_STYLE), 144);
    EXPECT_EQ(std::pair(asked.cx - frame.cx, asked.cy - frame.cy), std::pair(1068L, 518L));

    RECT suggested{40, 30, 1200, 700};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
    for (const cases::ExpectedPlacement& expected : cases::expected_placements)
        EXPECT_EQ(placement_in(window, control(control_named(expected.name))), expected.at_144) << expected.name;
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(1068L, 518L));
    EXPECT_EQ(icon_sizes(window), std::pair(48, 24));
}

// Windows names a box after the static text before it, and the form's label
// lies beneath the input: the boxes carry the form's names themselves.
TEST_F(Form, ScreenReadersHearEachBoxByItsName)
{
    std::vector<std::pair<std::string, std::u16string>> named;
    for (const auto& [control, name] : stand_ins::names_given)
        if (GetParent(control) == window)
            named.emplace_back(placement_of(*control_with_id(GetDlgCtrlID(control))).name,
                               std::u16string(name.begin(), name.end()));
    const std::vector<std::pair<std::string, std::u16string>> expected = {
        {"good_box", u16(placement_of(Control::good_box).accessible_name)},
        {"bad_num", u16(placement_of(Control::bad_num).accessible_name)},
        {"input_num", u"数字"}};
    EXPECT_EQ(named, expected);

    // Taken back while the boxes still exist.
    stand_ins::names_cleared.clear();
    stand_ins::subclasses_removed = 0;
    std::vector<HWND> boxes = {control(Control::good_box), control(Control::bad_num), control(Control::input_num)};
    DestroyWindow(window);
    EXPECT_EQ(stand_ins::names_cleared, boxes);
    // Each box's subclass ends with it.
    EXPECT_EQ(stand_ins::subclasses_removed, 3);
}

// The live region changes that a screen reader outside the program hears.
std::vector<HWND> live_region_changes;

void CALLBACK record_live_region_change(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        live_region_changes.push_back(window);
}

// A window's value as a screen reader reads it.
std::u16string accessible_value(HWND window)
{
    IAccessible* accessible = nullptr;
    VARIANT child{};
    if (FAILED(AccessibleObjectFromEvent(window, OBJID_CLIENT, CHILDID_SELF, &accessible, &child)))
        return u"(no accessible object)";
    BSTR value = nullptr;
    accessible->get_accValue(child, &value);
    const std::u16string text(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
    SysFreeString(value);
    accessible->Release();
    return text;
}

// Each entry heard once, nothing for typing or Clear: where Windows has the
// notification event (FORTPAD_TEST_WITH_NOTIFICATIONS), through it alone;
// elsewhere as a change of the list's live region, which Wine shows.
TEST_F(Form, EachEntryIsAnnouncedOnceByItsList)
{
    const bool by_notification = stand_ins::with_notifications;
    ASSERT_EQ(entries_announced_by_notification(), by_notification);
    std::vector<HWND> live_regions;
    for (HWND control : stand_ins::live_regions_given)
        if (GetParent(control) == window)
            live_regions.push_back(control);
    const std::vector<HWND> lists = {control(Control::good_box), control(Control::bad_num)};
    EXPECT_EQ(live_regions, by_notification ? std::vector<HWND>() : lists);

    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED,
                                               nullptr, record_live_region_change, GetCurrentProcessId(), 0,
                                               WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto heard_after = [&](const std::function<void()>& action) {
        live_region_changes.clear();
        stand_ins::notifications.clear();
        action();
        // Wine hands such events over a few milliseconds later.
        for (int wait = 0; wait < 20 && live_region_changes.empty(); ++wait)
            pump();
        std::vector<std::pair<HWND, std::u16string>> heard;
        for (HWND list : live_region_changes)
            heard.emplace_back(list, accessible_value(list));
        for (const stand_ins::Notification& seen : stand_ins::notifications) {
            EXPECT_EQ(seen.kind, 0) << "an item added";
            EXPECT_EQ(seen.processing, 2) << "each read in turn";
            heard.emplace_back(seen.source, std::u16string(seen.text.begin(), seen.text.end()));
        }
        return heard;
    };
    const auto test = [&](std::u16string_view typed) {
        return heard_after([&] {
            enter_number(typed);
            press(VK_RETURN);
        });
    };
    const struct {
        std::u16string_view typed;
        Control list;
        std::u16string entry;
    } tests[] = {{u"12345", Control::good_box, entry(25, u"12345").substr(2)},
                 {u"12345", Control::good_box, entry(25, u"12345").substr(2)},
                 {u"12a", Control::bad_num, entry(cases::unknown_row, u"12a").substr(2)}};
    for (const auto& [typed, list, announced] : tests) {
        const auto heard = test(typed);
        ASSERT_EQ(heard.size(), 1u) << "heard once";
        EXPECT_EQ(heard[0].first, control(list));
        EXPECT_TRUE(heard[0].second.ends_with(announced)) << "the value ends with the entry";
        if (by_notification) {
            EXPECT_EQ(heard[0].second, announced);
        }
    }
    EXPECT_TRUE(heard_after([&] {
                    SetFocus(control(Control::bad_num));
                    type(u"note");
                }).empty())
        << "a screen reader echoes typing itself";
    EXPECT_TRUE(heard_after([&] { click(Control::cmd_clr); }).empty());
    UnhookWinEvent(hook);
}

// A desktop out of resources: no half-made window stays, and the user is told.
TEST(Start, FailsWholeAndSaysSoWhenAControlCannotBeCreated)
{
    stand_ins::edit_controls_fail = true;
    const HWND window = create_form_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    stand_ins::edit_controls_fail = false;
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(FindWindowW(L"fortpad", nullptr), nullptr);

    MessageBoxSeen seen;
    box_seen = &seen;
    SetTimer(nullptr, 0, 20, read_and_close_box);
    report_start_failure();
    EXPECT_EQ(seen.title, FORTPAD_PRODUCT_NAME);
    EXPECT_NE(seen.text.find(u"无法启动"), std::u16string::npos);
    EXPECT_EQ(seen.button_ids, std::vector<int>{IDOK});
}

TEST_F(Form, ListsDrawInTheirColoursAndTheInputInTheDefault)
{
    const HDC dc = CreateCompatibleDC(nullptr);
    const struct {
        Control box;
        COLORREF colour;
    } expected[] = {{Control::good_box, RGB(0, 128, 0)},
                    {Control::bad_num, RGB(255, 0, 0)},
                    {Control::input_num, GetSysColor(COLOR_WINDOWTEXT)}};
    for (const auto& [box, colour] : expected) {
        SendMessageW(window, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(control(box)));
        EXPECT_EQ(GetTextColor(dc), colour) << placement_of(box).name;
    }
    DeleteDC(dc);
}

TEST_F(Form, StartsEmptyWithTheFocusInTheInput) { expect_fresh_form(); }

TEST_F(Form, TabVisitsTheControlsInOrderAndShiftTabGoesBack)
{
    for (const char* name : cases::tab_visits) {
        press(VK_TAB);
        EXPECT_EQ(focus(), name);
    }
    for (auto name = cases::tab_visits.rbegin() + 1; name != cases::tab_visits.rend(); ++name) {
        press(VK_TAB, {VK_SHIFT});
        EXPECT_EQ(focus(), *name);
    }
    EXPECT_EQ(text(Control::good_box), u"");
}

class EveryWorkedExample : public Form, public ::testing::WithParamInterface<cases::WorkedExample> {};

TEST_P(EveryWorkedExample, LandsInItsListByEnter)
{
    const cases::WorkedExample& example = GetParam();
    enter_number(example.typed);
    press(VK_RETURN);

    EXPECT_EQ(text(example.good ? Control::good_box : Control::bad_num), entry(example.row, example.logged));
    EXPECT_EQ(text(example.good ? Control::bad_num : Control::good_box), u"");
    EXPECT_EQ(text(Control::input_num), example.shown);
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(0ul, DWORD(example.shown.size())));
    EXPECT_EQ(focus(), "input_num");
    EXPECT_EQ(beeps, 1); // the single-line box answers Enter
}

INSTANTIATE_TEST_SUITE_P(, EveryWorkedExample, ::testing::ValuesIn(cases::worked_examples),
                         [](const auto& info) { return "example_" + std::to_string(info.index); });

// Each other way to run a test, on one example: as Enter, and only Enter in
// the input beeps.
struct Trigger {
    const char* name;
    std::function<void(Form&)> run;
    int beeps = 0;
};

class EveryTrigger : public Form, public ::testing::WithParamInterface<Trigger> {
public:
    using Form::click;
    using Form::press;
};

TEST_P(EveryTrigger, RunsTheTestLikeEnter)
{
    enter_number(u"  No:10001 ");
    GetParam().run(*this);
    EXPECT_EQ(text(Control::good_box), entry(1, u"10001"));
    EXPECT_EQ(text(Control::input_num), u"No:10001");
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(0ul, 8ul));
    EXPECT_EQ(focus(), "input_num");
    EXPECT_EQ(beeps, GetParam().beeps);
}

INSTANTIATE_TEST_SUITE_P(
    , EveryTrigger,
    ::testing::Values(
        Trigger{"keypad_enter",
                [](Form& f) { static_cast<EveryTrigger&>(f).press(VK_RETURN, {}, KEYEVENTF_EXTENDEDKEY); }, 1},
        Trigger{"click", [](Form& f) { static_cast<EveryTrigger&>(f).click(Control::cmd_test); }},
        Trigger{"alt_s", [](Form& f) { static_cast<EveryTrigger&>(f).press('S', {VK_MENU}); }},
        Trigger{"alt_shift_s", [](Form& f) { static_cast<EveryTrigger&>(f).press('S', {VK_MENU, VK_SHIFT}); }},
        Trigger{"enter_on_the_button", [](Form& f) {
                    auto& form = static_cast<EveryTrigger&>(f);
                    form.press(VK_TAB);
                    form.press(VK_RETURN);
                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form, InputEmptyAfterTrimmingRecordsNothing)
{
    enter_number(u"   ");
    click(Control::cmd_test);
    expect_fresh_form();
}

TEST_F(Form, FocusSelectsTheWholeInputExceptByMouse)
{
    enter_number(u"12345");
    press(VK_RETURN);
    press(VK_TAB);
    press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(0ul, 5ul));

    press(VK_TAB);
    RECT input{};
    GetClientRect(control(Control::input_num), &input);
    click_at(control(Control::input_num), {input.right - 3, input.bottom / 2});
    EXPECT_EQ(focus(), "input_num");
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(5ul, 5ul));
}

// Switching to another program and back keeps the focused control, and gives
// the input back without selecting it again.
TEST_F(Form, FocusSurvivesSwitchingPrograms)
{
    const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                       200, 100, nullptr, nullptr, nullptr, nullptr);
    const auto switch_away_and_back = [&] {
        SetForegroundWindow(other);
        pump();
        ASSERT_NE(GetForegroundWindow(), window);
        SetForegroundWindow(window);
        pump();
    };
    SetFocus(control(Control::good_box));
    switch_away_and_back();
    EXPECT_EQ(focus(), "good_box");
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pump();
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    pump();
    EXPECT_EQ(focus(), "good_box");

    enter_number(u"12345");
    SendMessageW(control(Control::input_num), EM_SETSEL, 2, 2);
    switch_away_and_back();
    EXPECT_EQ(focus(), "input_num");
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(2ul, 2ul));
    DestroyWindow(other);
}

// Minimised and brought back through the window manager's path: activated
// while still minimised, then restored.
TEST_F(Form, FocusSurvivesAnIconAndARestore)
{
    enter_number(u"12345");
    SendMessageW(control(Control::input_num), EM_SETSEL, 1, 3);
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pump();
    SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
    pump();
    ShowWindow(window, SW_RESTORE);
    pump();
    EXPECT_EQ(focus(), "input_num");
    EXPECT_EQ(selection(control(Control::input_num)), std::pair(1ul, 3ul));
}

// A button that had the focus gives up the default frame with it: no
// button of the form is the default.
TEST_F(Form, NoButtonKeepsTheDefaultFrame)
{
    enter_number(u"12345");
    press(VK_TAB);
    ASSERT_EQ(focus(), "cmd_test");
    RECT input{};
    GetClientRect(control(Control::input_num), &input);
    click_at(control(Control::input_num), {input.right - 3, input.bottom / 2});
    ASSERT_EQ(focus(), "input_num");
    for (const ControlPlacement& placement : form_controls) {
        if (placement.kind == ControlKind::Button) {
            EXPECT_NE(GetWindowLongW(control(placement.control), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
                << placement.name;
        }
    }
}

// 退出 hides the window at once and ends it once its handler has returned.
TEST_F(Form, ExitEndsOnceTheHandlerHasReturned)
{
    SendMessageW(control(Control::cmd_end), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    pump();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Form, AccessKeysWorkFromInsideTheLists)
{
    enter_number(u"12345");
    SetFocus(control(Control::good_box));
    press('S', {VK_MENU});
    EXPECT_EQ(text(Control::good_box), entry(25, u"12345"));
    EXPECT_EQ(focus(), "input_num");

    SetFocus(control(Control::bad_num));
    press('C', {VK_MENU});
    EXPECT_EQ(text(Control::good_box), u"");
    EXPECT_EQ(focus(), "input_num");

    // Alt with a letter that is no access key types nothing.
    type(u"12");
    press('Q', {VK_MENU});
    EXPECT_EQ(text(Control::input_num), u"12");
}

TEST_F(Form, ClearEmptiesAllThreeBoxes)
{
    enter_number(u"12345");
    press(VK_RETURN);
    enter_number(u"12a");
    press(VK_RETURN);
    SetFocus(control(Control::bad_num));
    type(u"typed");
    click(Control::cmd_clr);
    expect_fresh_form();
}

TEST_F(Form, AboutBoxShowsThreeLinesAndOnlyOk)
{
    enter_number(u"12345");
    press(VK_RETURN);
    const std::u16string good_before = text(Control::good_box);
    for (const bool by_key : {false, true}) {
        SCOPED_TRACE(by_key ? "alt+a" : "click");
        MessageBoxSeen seen;
        box_seen = &seen;
        SetTimer(nullptr, 0, 20, read_and_close_box);
        if (by_key)
            press('A', {VK_MENU});
        else
            click(Control::cmd_abort);

        EXPECT_EQ(seen.title, u"关于本软件");
        EXPECT_EQ(seen.text, FORTPAD_PRODUCT_NAME u",ver1.1\n本工具纯属个人娱乐,切勿当真！\n编程:" FORTPAD_TEAM_ZH u"," FORTPAD_EMAIL);
        EXPECT_EQ(seen.button_ids, std::vector<int>{IDOK});
        EXPECT_EQ(seen.icons, 0);
        EXPECT_EQ(text(Control::good_box), good_before);
        EXPECT_EQ(text(Control::input_num), u"12345");
        EXPECT_EQ(focus(), "cmd_abort");
    }
}

TEST_F(Form, ListsReadBackExactlyWhatWasWritten)
{
    Win32ResultList list(control(Control::bad_num));
    for (const cases::ListText& row : cases::list_texts) {
        SCOPED_TRACE(row.name);
        // Appending in pieces, split anywhere, gives the same text.
        for (std::size_t cut = 0; cut <= row.text.size(); ++cut) {
            list.set_text(row.text.substr(0, cut));
            list.append(row.text.substr(cut));
            EXPECT_EQ(list.text(), row.text);
        }
    }
}

TEST_F(Form, EntriesFollowWhatTheUserTypedIntoAList)
{
    SetFocus(control(Control::bad_num));
    type(u"note");
    press(VK_RETURN); // a line break in a list, not a test
    type(u"两行");
    enter_number(u"9999");
    press(VK_RETURN);
    EXPECT_EQ(text(Control::bad_num), u"note\r\n两行" + entry(79, u"9999"));
}

// Wine stops an EDIT control at 30,000 characters, Windows at 32,767,
// unless the program lifts the limit. (Long lines, not many: each append
// redraws the scroll bars, slowly under Wine.)
TEST_F(Form, NoBoxStopsAtThirtyThousandCharacters)
{
    Win32ResultList list(control(Control::good_box));
    const std::u16string line = u"\r\n" + std::u16string(1'000, u'7');
    std::u16string expected;
    for (int i = 0; i < 40; ++i) {
        list.append(line);
        expected += line;
    }
    EXPECT_EQ(list.text(), expected);
    // Appends leave nothing to undo and the list shown from its top.
    EXPECT_FALSE(SendMessageW(control(Control::good_box), EM_CANUNDO, 0, 0));
    EXPECT_EQ(SendMessageW(control(Control::good_box), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(selection(control(Control::good_box)), std::pair(0ul, 0ul));

    const std::u16string pasted = std::u16string(32'999, u'8') + u"1";
    OpenClipboard(window);
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    std::copy_n(pasted.c_str(), pasted.size() + 1, static_cast<char16_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SetFocus(control(Control::input_num));
    press('V', {VK_CONTROL});
    EXPECT_EQ(text(Control::input_num).size(), pasted.size());
    press(VK_RETURN);
    EXPECT_EQ(text(Control::input_num), pasted.substr(pasted.size() - 32));
}

TEST_F(Form, TabAndEscapeInAListTypeNothingAndCloseNothing)
{
    SetFocus(control(Control::good_box));
    type(u"ab");
    press(VK_ESCAPE);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(focus(), "good_box");
    press(VK_TAB);
    EXPECT_EQ(focus(), "cmd_end");
    EXPECT_EQ(text(Control::good_box), u"ab");
}

} // namespace
} // namespace fortpad

int wmain(int argc, wchar_t** argv)
{
    fortpad::stand_ins::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
