// 100,000 tests (FORTPAD_SOAK_TESTS, fewer under an emulator) through the
// real form with mixed inputs: afterwards each list holds exactly its
// entries, in order, and nothing else.
#include "form_window.h"
#include "number_reading.h"
#include "qt_result_list.h"
#include "qt_strings.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <random>

using namespace fortpad;

namespace {

// Digits, letters, spaces and the characters that break lines, in the
// mixtures people type or paste.
std::u16string random_input(std::mt19937& random)
{
    static constexpr char16_t alphabet[] = u"0123456789 0123456789 abc:-\t\r\n\u2029\u3000１\U0001F600";
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 2);
    std::uniform_int_distribution<int> length(0, random() % 100 == 0 ? 2000 : 40);
    std::u16string text(std::size_t(length(random)), u' ');
    for (char16_t& c : text)
        c = alphabet[pick(random)];
    if (random() % 2)
        text += u"0123456789"[random() % 10]; // most tests end in a digit
    return text;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void lists_hold_exactly_their_entries();
};

void SoakTest::lists_hold_exactly_their_entries()
{
    const int asked = qEnvironmentVariableIntValue("FORTPAD_SOAK_TESTS");
    const int tests = asked > 0 ? asked : 100'000;
    FormWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* input = form.findChild<QLineEdit*>(QStringLiteral("input_num"));
    auto* test_button = form.findChild<QPushButton*>(QStringLiteral("cmd_test"));
    auto* good = form.findChild<QPlainTextEdit*>(QStringLiteral("good_box"));
    auto* bad = form.findChild<QPlainTextEdit*>(QStringLiteral("bad_num"));

    std::mt19937 random(20261207);
    std::u16string expected_good, expected_bad;
    for (int i = 0; i < tests; ++i) {
        const std::u16string typed = random_input(random);
        input->setText(to_qstring(typed));
        if (i % 2)
            QTest::keyClick(input, Qt::Key_Return);
        else
            test_button->click();

        const std::u16string tidied = tidy_input(typed);
        if (tidied.empty())
            continue;
        const Reading reading = read_fortune(tidied);
        std::u16string& expected = reading.verdict.category == Good ? expected_good : expected_bad;
        expected.append(u"\r\n").append(reading.verdict.text).append(u",").append(reading.logged);
    }
    QVERIFY(QtResultList(*good).text() == expected_good);
    QVERIFY(QtResultList(*bad).text() == expected_bad);
    QVERIFY(expected_good.size() > std::size_t(tests) * 10);
    QVERIFY(expected_bad.size() > std::size_t(tests) * 10);
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
