#include "form_window.h"
#include "fortune_table.h"
#include "qt_result_list.h"
#include "qt_strings.h"
#include "qt_translations.h"
#include "window_cases.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

#ifdef FORTPAD_TEST_ANNOUNCEMENTS
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

using namespace fortpad;

namespace {

QString row(int index) { return to_qstring(fortune_table[std::size_t(index)].text); }

QString entry(const QString& verdict, const QString& logged) { return "\r\n" + verdict + ',' + logged; }

QString read(QPlainTextEdit* list) { return to_qstring(QtResultList(*list).text()); }

void write(QPlainTextEdit* list, const QString& text) { QtResultList(*list).set_text(text.toStdU16String()); }

enum class Trigger { Enter, KeypadEnter, Click, AccessKey, ShiftedAccessKey, EnterOnButton };

#ifdef FORTPAD_TEST_ANNOUNCEMENTS
// What a screen reader is told unasked: each announcement, from its widget.
QList<std::pair<QObject*, QString>> announced;

void record_announcement(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::Announcement)
        announced.append({event->object(), static_cast<QAccessibleAnnouncementEvent*>(event)->message()});
}
#endif

} // namespace

Q_DECLARE_METATYPE(Trigger)

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void window_is_fixed_at_its_size();
    void window_scales_with_the_screen();
    void controls_sit_where_the_layout_puts_them_data();
    void controls_sit_where_the_layout_puts_them();
    void lists_are_editable_coloured_unwrapped();
    void starts_empty_with_focus_in_input();

    void test_lands_in_its_list_data();
    void test_lands_in_its_list();
    void empty_input_records_nothing();
    void entries_follow_text_typed_into_a_list();
    void each_entry_is_announced_once_from_its_list();
    void list_stays_at_the_top_as_it_grows();
    void long_input_is_not_capped();
    void hostile_paste_has_a_defined_result_data();
    void hostile_paste_has_a_defined_result();

    void tab_order_data();
    void tab_order();
    void tab_leaves_a_list_without_typing_a_tab();
    void focus_selects_the_input_except_by_mouse();
    void access_keys_work_from_inside_a_list();
    void alt_with_another_letter_types_nothing();
    void clear_empties_all_three_boxes();
    void about_box_data();
    void about_box();
    void screen_readers_hear_names_in_tab_order();
    void a_list_shows_its_selection_only_with_the_focus_data();
    void a_list_shows_its_selection_only_with_the_focus();
    void no_text_is_clipped_at_any_font_data();
    void no_text_is_clipped_at_any_font();
    void window_icon_comes_from_the_theme_once_painted();
    void ok_reads_in_chinese_with_qt_translations();
    // Last: it leaves a right-to-left translation installed.
    void stays_left_to_right_with_a_right_to_left_translation();

private:
    template <typename T>
    T* child(const char* name) const
    {
        auto* found = form_->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit* input() const { return child<QLineEdit>("input_num"); }
    QPlainTextEdit* good() const { return child<QPlainTextEdit>("good_box"); }
    QPlainTextEdit* bad() const { return child<QPlainTextEdit>("bad_num"); }
    void type_and_test(const QString& text, Trigger trigger = Trigger::Enter);

    std::unique_ptr<FormWindow> form_;
    QFont desktop_font_;
};

// The layout is exact to the pixel for a 9-point font with a short line:
// the tests use one, unless they say otherwise.
void WindowTest::initTestCase()
{
    desktop_font_ = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
}

void WindowTest::init()
{
    form_ = std::make_unique<FormWindow>();
    form_->show();
    form_->activateWindow(); // an X server without a window manager does not
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void WindowTest::cleanup() { form_.reset(); }

void WindowTest::type_and_test(const QString& text, Trigger trigger)
{
    input()->setFocus();
    input()->selectAll();
    if (text.isEmpty())
        input()->del();
    else
        QTest::keyClicks(input(), text);
    switch (trigger) {
    case Trigger::Enter:
        QTest::keyClick(input(), Qt::Key_Return);
        break;
    case Trigger::KeypadEnter:
        QTest::keyClick(input(), Qt::Key_Enter, Qt::KeypadModifier);
        break;
    case Trigger::Click:
        QTest::mouseClick(child<QPushButton>("cmd_test"), Qt::LeftButton);
        break;
    case Trigger::AccessKey:
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::AltModifier);
        break;
    case Trigger::ShiftedAccessKey:
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::AltModifier | Qt::ShiftModifier);
        break;
    case Trigger::EnterOnButton:
        QTest::keyClick(input(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    }
}

void WindowTest::window_is_fixed_at_its_size()
{
    QCOMPARE(form_->objectName(), "fortpad");
    QCOMPARE(form_->windowTitle(), QStringLiteral(FORTPAD_PRODUCT_NAME));
    const QImage icon = form_->windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(icon.pixelColor(0, 0), QColor(232, 46, 45));
    QCOMPARE(form_->size(), QSize(712, 345));
    QCOMPARE(form_->minimumSize(), QSize(712, 345));
    QCOMPARE(form_->maximumSize(), QSize(712, 345));
    QVERIFY(form_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void WindowTest::window_scales_with_the_screen()
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(form_->devicePixelRatio(), scale);
    QCOMPARE(form_->grab().size(), QSize(712, 345) * scale);
    QCOMPARE(input()->geometry(), QRect(48, 8, 153, 18));
}

void WindowTest::controls_sit_where_the_layout_puts_them_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QString>("caption");
    const auto class_of = [](cases::Kind kind) {
        switch (kind) {
        case cases::Kind::Label: return "QLabel";
        case cases::Kind::Input: return "QLineEdit";
        case cases::Kind::Button: return "QPushButton";
        case cases::Kind::List: return "QPlainTextEdit";
        }
        return "";
    };
    for (const cases::ExpectedPlacement& expected : cases::expected_placements) {
        const auto [left, top, width, height] = expected.at_96;
        QTest::newRow(expected.name) << class_of(expected.kind) << QRect(left, top, width, height)
                                     << to_qstring(expected.caption);
    }
}

void WindowTest::controls_sit_where_the_layout_puts_them()
{
    QFETCH(QString, kind);
    QFETCH(QRect, pixels);
    QFETCH(QString, caption);
    auto* control = child<QWidget>(QTest::currentDataTag());
    QVERIFY(control->inherits(qPrintable(kind)));
    QCOMPARE(control->geometry(), pixels);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), caption);
        // Where the label reaches under the input, the input is on top.
        QCOMPARE(form_->childAt(QPoint(50, 12)), input());
    }
}

void WindowTest::lists_are_editable_coloured_unwrapped()
{
    for (auto [list, colour] : {std::pair{good(), QColor(0, 128, 0)}, std::pair{bad(), QColor(255, 0, 0)}}) {
        QCOMPARE(list->palette().color(QPalette::Text), colour);
        QVERIFY(!list->isReadOnly());
        QCOMPARE(list->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    QCOMPARE(input()->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
}

void WindowTest::starts_empty_with_focus_in_input()
{
    QCOMPARE(QApplication::focusWidget(), input());
    QCOMPARE(input()->text(), QString());
    QCOMPARE(read(good()), QString());
    QCOMPARE(read(bad()), QString());
}

void WindowTest::test_lands_in_its_list_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("good");
    QTest::addColumn<QString>("logged_entry");

    const struct {
        const char* name;
        Trigger trigger;
    } triggers[] = {{"enter", Trigger::Enter},
                    {"keypad enter", Trigger::KeypadEnter},
                    {"click", Trigger::Click},
                    {"alt+s", Trigger::AccessKey},
                    {"alt+shift+s", Trigger::ShiftedAccessKey},
                    {"enter on the button", Trigger::EnterOnButton}};
    for (const auto& [name, trigger] : triggers)
        for (const cases::WorkedExample& example : cases::worked_examples) {
            const QString verdict = example.row == cases::unknown_row ? to_qstring(unknown_verdict.text)
                                                                      : row(example.row);
            QTest::addRow("%s: %s", name, example.name)
                << trigger << to_qstring(example.typed) << to_qstring(example.shown) << example.good
                << entry(verdict, to_qstring(example.logged));
        }
}

void WindowTest::test_lands_in_its_list()
{
    QFETCH(Trigger, trigger);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, good);
    QFETCH(QString, logged_entry);

    type_and_test(typed, trigger);

    QCOMPARE(read(good ? this->good() : bad()), logged_entry);
    QCOMPARE(read(good ? bad() : this->good()), QString());
    // Shown as a blank first line, then the entry.
    QCOMPARE((good ? this->good() : bad())->toPlainText(), logged_entry.mid(1));
    QCOMPARE(input()->text(), shown);
    QCOMPARE(input()->selectedText(), shown);
    QCOMPARE(QApplication::focusWidget(), input());
}

void WindowTest::empty_input_records_nothing()
{
    for (const QString& typed : {QString(), QStringLiteral("   ")}) {
        type_and_test(typed, Trigger::Click);
        QCOMPARE(input()->text(), QString());
        QCOMPARE(read(good()), QString());
        QCOMPARE(read(bad()), QString());
        QCOMPARE(QApplication::focusWidget(), input());
    }
}

void WindowTest::entries_follow_text_typed_into_a_list()
{
    type_and_test("12a");
    bad()->setFocus();
    bad()->moveCursor(QTextCursor::End);
    QTest::keyClicks(bad(), "note");
    QTest::keyClick(bad(), Qt::Key_Return);
    QInputMethodEvent chinese; // as an input method commits it
    chinese.setCommitString("两行");
    QApplication::sendEvent(bad(), &chinese);
    type_and_test("9999");
    type_and_test("12345");

    QCOMPARE(read(bad()), entry(to_qstring(unknown_verdict.text), "12a") + "note\r\n两行" + entry(row(79), "9999"));
    QCOMPARE(read(good()), entry(row(25), "12345"));
}

void WindowTest::each_entry_is_announced_once_from_its_list()
{
#ifndef FORTPAD_TEST_ANNOUNCEMENTS
    QSKIP("Qt before 6.8 has no announcements; from 6.8, turning them on needs Qt's private headers");
#else
    // As while a screen reader runs: otherwise Qt drops every event.
    QPlatformAccessibility& accessibility = *QGuiApplicationPrivate::platformIntegration()->accessibility();
    accessibility.setActive(true);
    announced.clear();
    QAccessible::installUpdateHandler(record_announcement);
    const auto uninstall = qScopeGuard([&] {
        QAccessible::installUpdateHandler(nullptr);
        accessibility.setActive(false);
    });
    type_and_test("12345");
    type_and_test("12345");
    bad()->setFocus();
    QTest::keyClicks(bad(), "note"); // the screen reader echoes typing itself
    type_and_test("12a");
    QTest::mouseClick(child<QPushButton>("cmd_clr"), Qt::LeftButton);

    const QString unknown = to_qstring(unknown_verdict.text) + ",12a";
    const QList<std::pair<QObject*, QString>> expected = {
        {good(), row(25) + ",12345"}, {good(), row(25) + ",12345"}, {bad(), unknown}};
    QCOMPARE(announced, expected);
#endif
}

void WindowTest::list_stays_at_the_top_as_it_grows()
{
    for (int i = 0; i < 60; ++i)
        type_and_test(QString::number(i * 80 + 2));
    QCOMPARE(bad()->verticalScrollBar()->value(), 0);
    QVERIFY(bad()->verticalScrollBar()->maximum() > 0);
    QCOMPARE(bad()->textCursor().position(), 0);
    QCOMPARE(read(bad()).count(QStringLiteral("\r\n")), 60);
}

void WindowTest::long_input_is_not_capped()
{
    const QString pasted = QString(39'999, u'8') + u'1';
    input()->setText(pasted);
    QCOMPARE(input()->text().size(), pasted.size());
    QTest::keyClick(input(), Qt::Key_Return);
    QCOMPARE(input()->text(), pasted.right(32));
    QCOMPARE(read(good()), entry(row(8881 % 80), pasted.right(32)));
}

void WindowTest::hostile_paste_has_a_defined_result_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("list"); // 0: none, 1: good, 2: bad
    QTest::addColumn<QString>("logged_entry");

    const QString unknown = to_qstring(unknown_verdict.text);
    const QString digits = QStringLiteral("1234567890").repeated(100'000);
    const QString nul_lf = to_qstring(std::u16string_view(u"12\n\0 34", 7));
    const QString nul_lf_end = to_qstring(std::u16string_view(u"a\r\nb\0c\n", 8));
    QTest::newRow("empty") << "" << "" << 0 << "";
    QTest::newRow("only spaces") << "     " << "" << 0 << "";
    QTest::newRow("40,000 characters") << QString(39'999, u'x') + u'7' << QString(31, u'x') + u'7' << 1
                                       << entry(row(7), "7");
    QTest::newRow("1,000,000 digits") << digits << digits.right(32) << 2 << entry(row(7890 % 80), digits.right(32));
    const QString pair_cut = to_qstring(u"\U0001F600") + QString(31, u'3');
    QTest::newRow("surrogate pair at the cut") << pair_cut << pair_cut.right(32) << 2
                                               << entry(row(3333 % 80), QString(31, u'3'));
    QTest::newRow("full-width digits") << to_qstring(u"１２３") << to_qstring(u"１２３") << 2
                                       << entry(unknown, to_qstring(u"１２３"));
    QTest::newRow("Arabic-Indic digits") << to_qstring(u"\u0661\u0662") << to_qstring(u"\u0661\u0662") << 2
                                         << entry(unknown, to_qstring(u"\u0661\u0662"));
    QTest::newRow("trailing tab") << "123\t" << "123\t" << 2 << entry(unknown, "123\t");
    QTest::newRow("NUL and line feed inside") << nul_lf << nul_lf << 2 << entry(row(34), "34");
    QTest::newRow("NUL and line breaks logged whole") << nul_lf_end << nul_lf_end << 2 << entry(unknown, nul_lf_end);
    QTest::newRow("right-to-left mark before") << to_qstring(u"\u200F123") << to_qstring(u"\u200F123") << 2
                                               << entry(row(43), "123");
    QTest::newRow("left-to-right mark after") << to_qstring(u"\u200F123\u200E") << to_qstring(u"\u200F123\u200E")
                                              << 2 << entry(unknown, to_qstring(u"\u200F123\u200E"));
}

// Pasted, then tested: a defined result, and what the lists held is kept.
void WindowTest::hostile_paste_has_a_defined_result()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, list);
    QFETCH(QString, logged_entry);

    const QString earlier = QStringLiteral("earlier\r\n");
    write(good(), earlier);
    write(bad(), earlier);
    QGuiApplication::clipboard()->setText(pasted);
    input()->paste();
    QCOMPARE(input()->text(), pasted);
    QTest::keyClick(input(), Qt::Key_Return);

    QCOMPARE(input()->text(), shown);
    QCOMPARE(read(good()), earlier + (list == 1 ? logged_entry : QString()));
    QCOMPARE(read(bad()), earlier + (list == 2 ? logged_entry : QString()));
}

void WindowTest::tab_order_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>("visits");
    QStringList forward;
    for (const char* name : cases::tab_visits)
        forward << QLatin1String(name);
    QStringList backward(forward.rbegin() + 1, forward.rend());
    backward << "input_num";
    QTest::newRow("tab") << Qt::Key_Tab << forward;
    QTest::newRow("shift+tab") << Qt::Key_Backtab << backward;
}

void WindowTest::tab_order()
{
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, visits);
    for (const QString& name : visits) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

void WindowTest::tab_leaves_a_list_without_typing_a_tab()
{
    good()->setFocus();
    QTest::keyClicks(good(), "ab");
    QTest::keyClick(good(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "cmd_end");
    QCOMPARE(read(good()), "ab");
}

void WindowTest::focus_selects_the_input_except_by_mouse()
{
    type_and_test("12345");
    QTest::keyClick(input(), Qt::Key_Tab);
    QCOMPARE(input()->selectedText(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(input()->selectedText(), "12345");

    // A click places the caret where it lands instead.
    QTest::keyClick(input(), Qt::Key_Tab);
    QTest::mouseClick(input(), Qt::LeftButton, {}, QPoint(input()->width() - 4, input()->height() / 2));
    QCOMPARE(QApplication::focusWidget(), input());
    QVERIFY(!input()->hasSelectedText());
    QCOMPARE(input()->cursorPosition(), 5);
}

void WindowTest::access_keys_work_from_inside_a_list()
{
    input()->setText("12345");
    good()->setFocus();
    QTest::keyClick(good(), Qt::Key_S, Qt::AltModifier);
    // At once, without waiting for an animated click.
    QCOMPARE(read(good()), entry(row(25), "12345"));
    QCOMPARE(QApplication::focusWidget(), input());
    QCOMPARE(input()->selectedText(), "12345");

    bad()->setFocus();
    QTest::keyClick(bad(), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(read(good()), QString());
    QCOMPARE(QApplication::focusWidget(), input());
}

void WindowTest::alt_with_another_letter_types_nothing()
{
    for (QWidget* box : {static_cast<QWidget*>(input()), static_cast<QWidget*>(good())}) {
        box->setFocus();
        QTest::keyClicks(box, "12");
        QTest::keyClick(box, Qt::Key_Q, Qt::AltModifier);
        QTest::keyClick(box, Qt::Key_3, Qt::AltModifier);
    }
    QCOMPARE(input()->text(), "12");
    QCOMPARE(read(good()), "12");
    QCOMPARE(read(bad()), QString());
}

void WindowTest::clear_empties_all_three_boxes()
{
    type_and_test("12345");
    type_and_test("12a");
    QTest::keyClicks(bad(), "typed");
    QTest::mouseClick(child<QPushButton>("cmd_clr"), Qt::LeftButton);
    QCOMPARE(read(bad()), QString());
    QCOMPARE(read(good()), QString());
    QCOMPARE(input()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), input());

    // The next test starts a fresh list.
    type_and_test("a7");
    QCOMPARE(read(good()), entry(row(7), "7"));
}

void WindowTest::about_box_data()
{
    QTest::addColumn<bool>("by_key");
    QTest::newRow("click") << false;
    QTest::newRow("alt+a") << true;
}

// The modal box that is open now: its title, its one text, its buttons'
// captions and whether it shows a picture, then dismissed with OK.
struct AboutBoxSeen {
    QString title, text;
    QStringList buttons;
    bool picture = true;
    int left_margin = 0, right_margin = 0;
};

AboutBoxSeen read_and_dismiss_about_box()
{
    AboutBoxSeen seen;
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box)
        return seen;
    seen.title = box->windowTitle();
    seen.picture = false;
    for (auto* label : box->findChildren<QLabel*>()) {
        seen.picture |= !label->pixmap().isNull();
        if (!label->text().isEmpty()) {
            seen.text = label->text();
            seen.left_margin = label->geometry().left();
            seen.right_margin = box->width() - 1 - label->geometry().right();
        }
    }
    auto* buttons = box->findChild<QDialogButtonBox*>();
    for (auto* button : buttons->buttons())
        seen.buttons << button->text();
    buttons->button(QDialogButtonBox::Ok)->click();
    return seen;
}

void WindowTest::about_box()
{
    QFETCH(bool, by_key);
    type_and_test("12345");
    const QString good_before = read(good());

    AboutBoxSeen seen;
    QTimer::singleShot(0, this, [&] { seen = read_and_dismiss_about_box(); });
    if (by_key)
        QTest::keyClick(input(), Qt::Key_A, Qt::AltModifier);
    else
        QTest::mouseClick(child<QPushButton>("cmd_abort"), Qt::LeftButton);

    QCOMPARE(seen.title, "关于本软件");
    QVERIFY(!seen.picture);
    QCOMPARE(seen.buttons.size(), 1);
    QCOMPARE(seen.left_margin, seen.right_margin);
    const QStringList lines = seen.text.split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(!seen.text.contains('\r'));
    QCOMPARE(lines[0], QStringLiteral(FORTPAD_PRODUCT_NAME) + ",ver1.1");
    QCOMPARE(lines[1], "本工具纯属个人娱乐,切勿当真！");
    QCOMPARE(lines[2], QStringLiteral("编程:" FORTPAD_TEAM_ZH "," FORTPAD_EMAIL));

    QCOMPARE(read(good()), good_before);
    QCOMPARE(input()->text(), "12345");
    // Offscreen has no window manager to reactivate the window: ask the window.
    QCOMPARE(form_->focusWidget(), child<QWidget>("cmd_abort"));
}

void WindowTest::ok_reads_in_chinese_with_qt_translations()
{
    install_qt_translations(QLocale(QLocale::Chinese, QLocale::China));
    AboutBoxSeen seen;
    QTimer::singleShot(0, this, [&] { seen = read_and_dismiss_about_box(); });
    QTest::mouseClick(child<QPushButton>("cmd_abort"), Qt::LeftButton);
    QCOMPARE(seen.buttons, QStringList{"确定"});
}

void WindowTest::screen_readers_hear_names_in_tab_order()
{
    QAccessibleInterface* input_named = QAccessible::queryAccessibleInterface(input());
    QCOMPARE(input_named->role(), QAccessible::EditableText);
    QCOMPARE(input_named->text(QAccessible::Name), "数字");
    const auto labels = input_named->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), child<QLabel>("Label1"));

    const QString good_name = QAccessible::queryAccessibleInterface(good())->text(QAccessible::Name);
    const QString bad_name = QAccessible::queryAccessibleInterface(bad())->text(QAccessible::Name);
    QVERIFY(good_name.contains("吉") && !good_name.contains("凶"));
    QVERIFY(bad_name.contains("凶"));

    // The label first, then the controls in tab order.
    QStringList read;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form_.get());
    for (int i = 0; i < window->childCount(); ++i)
        read << window->child(i)->object()->objectName();
    QStringList expected = {"Label1", "input_num"};
    for (const char* name : cases::tab_visits)
        expected << QLatin1String(name);
    expected.removeLast(); // the visits end where they began
    QCOMPARE(read, expected);
}

void WindowTest::a_list_shows_its_selection_only_with_the_focus_data()
{
    QTest::addColumn<bool>("theme_changes");
    QTest::newRow("theme at start") << false;
    QTest::newRow("dark theme while running") << true;
}

void WindowTest::a_list_shows_its_selection_only_with_the_focus()
{
    QFETCH(bool, theme_changes);
    const QPalette theme_at_start = QApplication::palette();
    const QColor base_at_start = good()->palette().color(QPalette::Base);
    if (theme_changes) {
        QPalette dark = theme_at_start;
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        QApplication::processEvents();
    }
    write(good(), "12345");
    good()->setFocus();
    good()->selectAll();
    bad()->setFocus();
    const QImage shown = good()->viewport()->grab().toImage();
    QApplication::setPalette(theme_at_start);
    QApplication::processEvents();
    const QRgb highlight = good()->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            QVERIFY2(shown.pixel(x, y) != highlight, "the selection shows without the focus");
            if (theme_changes)
                QVERIFY2(shown.pixel(x, y) != base_at_start.rgb(), "the old theme's colour shows");
        }
}

namespace {

// Rows of an image where `text` is inked: they differ from `blank`, the same
// place without the text, by more than faint antialiasing.
int inked_rows(const QImage& text, const QImage& blank)
{
    int rows = 0;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            if (std::abs(qGray(text.pixel(x, y)) - qGray(blank.pixel(x, y))) > 96) {
                ++rows;
                break;
            }
    return rows;
}

// What a control shows of `text`, set by `show`: the rows where it is inked,
// and the colour behind it.
struct Shown {
    int inked_rows;
    QColor background;
};

Shown shown_in(QWidget* control, const std::function<void(const QString&)>& show, const QString& text)
{
    show(QString());
    const QImage blank = control->grab().toImage();
    show(text);
    return {inked_rows(control->grab().toImage(), blank), blank.pixelColor(blank.width() / 2, blank.height() / 2)};
}

// The rows inked by the same text drawn freely, with room all round, in the
// control's font and colours.
int inked_rows_free(const QWidget* control, QPalette::ColorRole role, const QString& text, const QColor& background)
{
    const qreal ratio = control->devicePixelRatioF();
    const QFontMetrics metrics(control->font());
    QImage image(QSize(metrics.horizontalAdvance(text) + 40, 3 * metrics.height()) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    const QImage blank = image.copy();
    QPainter painter(&image);
    painter.setFont(control->font());
    painter.setPen(control->palette().color(role));
    painter.drawText(QRect(QPoint(20, 0), image.deviceIndependentSize().toSize()), Qt::AlignVCenter | Qt::TextShowMnemonic,
                     text);
    painter.end();
    return inked_rows(image, blank);
}

// Every row of `text` that a control shows, as drawn freely. At a
// fractional device pixel ratio the text lands on another fraction of a
// pixel inside the control than outside it, and its antialiased edge may
// take a row more or less; clipping takes more.
void expect_whole_line(QWidget* control, QWidget* drawn_in, QPalette::ColorRole role,
                       const std::function<void(const QString&)>& show, const QString& text)
{
    const Shown shown = shown_in(drawn_in, show, text);
    const int free = inked_rows_free(control, role, text, shown.background);
    QVERIFY(shown.inked_rows > 0);
    if (control->devicePixelRatioF() == std::floor(control->devicePixelRatioF()))
        QCOMPARE(shown.inked_rows, free);
    else
        QVERIFY2(shown.inked_rows >= free - 1,
                 qPrintable(QStringLiteral("%1: %2 of %3 rows").arg(control->objectName()).arg(shown.inked_rows).arg(free)));
}

} // namespace

// The desktops' interface fonts, and large text: the form scales with the
// font and every control shows its whole line.
void WindowTest::no_text_is_clipped_at_any_font_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::newRow("the desktop's") << QFontInfo(desktop_font_).family() << desktop_font_.pointSizeF();
    QTest::newRow("short line: DejaVu Sans 9") << "DejaVu Sans" << 9.0;
    QTest::newRow("GNOME: Cantarell 11") << "Cantarell" << 11.0;
    QTest::newRow("KDE: Noto Sans 10") << "Noto Sans" << 10.0;
    QTest::newRow("Noto Sans CJK SC 9") << "Noto Sans CJK SC" << 9.0;
    QTest::newRow("WenQuanYi Micro Hei 9") << "WenQuanYi Micro Hei" << 9.0;
    QTest::newRow("large text: 14 points") << QFontInfo(desktop_font_).family() << 14.0;
}

void WindowTest::no_text_is_clipped_at_any_font()
{
    QFETCH(QString, family);
    QFETCH(double, points);
    QVERIFY2(QFontDatabase::hasFamily(family), qPrintable(family + " is not installed"));
    const QFont default_font = QApplication::font();
    QFont font(family);
    font.setPointSizeF(points);
    QApplication::setFont(font);
    const auto restore_font = qScopeGuard([&] { QApplication::setFont(default_font); });
    form_ = std::make_unique<FormWindow>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));

    const double scale = std::max(1.0, points / 9);
    QCOMPARE(form_->size(), QSize(qRound(712 * scale), qRound(345 * scale)));
    qInfo("%s %g: scale %.3f, input %d pixels high", qPrintable(family), points, scale, input()->height());
    const QString sample = to_qstring(u"吉gjpqy_");
    good()->setFocus(); // no caret in the input
    const auto expect = [](QWidget* control, QPalette::ColorRole role, auto set, const QString& text) {
        expect_whole_line(control, control, role, [&](const QString& shown) { set(shown); }, text);
    };
    expect(input(), QPalette::Text, [&](const QString& text) { input()->setText(text); }, sample);
    auto* label = child<QLabel>("Label1");
    expect(label, QPalette::WindowText, [&](const QString& text) { label->setText(text); }, label->text());
    // The captions' glyphs; the styles draw the access key's underline each
    // its own way, inside the glyphs' descent.
    for (const char* name : {"cmd_test", "cmd_abort", "cmd_clr", "cmd_end"}) {
        auto* button = child<QPushButton>(name);
        expect(button, QPalette::ButtonText, [&](const QString& text) { button->setText(text); },
               QString(button->text()).remove(u'&'));
    }
    input()->setFocus();
    expect_whole_line(bad(), bad()->viewport(), QPalette::Text, [&](const QString& text) { bad()->setPlainText(text); },
                      sample);
}

void WindowTest::window_icon_comes_from_the_theme_once_painted()
{
    // A theme of one icon, in blue where the compiled-in one is red.
    QTemporaryDir theme;
    QDir(theme.path()).mkpath("test/16x16/apps");
    QFile index(theme.filePath("test/index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=test\nDirectories=16x16/apps\n\n[16x16/apps]\nSize=16\n");
    index.close();
    QImage blue(16, 16, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(blue.save(theme.filePath("test/16x16/apps/" FORTPAD_APP_ID ".png")));
    const QStringList paths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({theme.path()});
    QIcon::setThemeName("test");

    FormWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QString());
}

void WindowTest::stays_left_to_right_with_a_right_to_left_translation()
{
    install_qt_translations(QLocale(QLocale::Arabic, QLocale::Egypt));
    QCoreApplication::processEvents();
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "OK") != "OK"); // Arabic is loaded
    QCOMPARE(QApplication::layoutDirection(), Qt::LeftToRight);
    QVERIFY(good()->verticalScrollBar()->mapTo(good(), QPoint(0, 0)).x() > good()->width() / 2);
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
