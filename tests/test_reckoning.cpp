#include "fortune_table.h"
#include "memory_boxes.h"
#include "number_reading.h"
#include "result_lists.h"
#include "window_cases.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace fortpad;
using namespace std::string_literals;

namespace {

QString qs(std::u16string_view s) { return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size())); }
std::u16string u16(const QString& s) { return s.toStdU16String(); }

struct Form {
    MemoryInput input;
    MemoryList good, bad;
    FormBoxes boxes{input, good, bad};

    void test(const QString& typed)
    {
        input.set_text(u16(typed));
        run_number_test(boxes);
    }
};

QString row(int index) { return qs(fortune_table[std::size_t(index)].text); }
QString unknown() { return qs(unknown_verdict.text); }

} // namespace

class ReckoningTest : public QObject {
    Q_OBJECT

private slots:
    void one_test_data();
    void one_test();
    void input_empty_after_trimming_records_nothing_data();
    void input_empty_after_trimming_records_nothing();
    void very_long_input_keeps_its_last_32_units();
    void table_matches_the_verdict_list();
    void entries_accumulate_oldest_first();
    void test_num_chooses_list_by_category_data();
    void test_num_chooses_list_by_category();
};

// One test from a fresh form: what the input box shows afterwards, and the
// one entry that lands in one list.
void ReckoningTest::one_test_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("good");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("logged");

    for (const cases::WorkedExample& example : cases::worked_examples)
        QTest::newRow(example.name) << qs(example.typed) << qs(example.shown) << example.good
                                    << (example.row == cases::unknown_row ? unknown() : row(example.row))
                                    << qs(example.logged);
    QTest::newRow("single zero") << "0" << "0" << false << row(0) << "0";
    QTest::newRow("row 01 is great luck") << "81" << "81" << true << row(1) << "81";
    QTest::newRow("prefix never counts") << "No:10001" << "No:10001" << true << row(1) << "10001";
    QTest::newRow("punctuation at the end") << "123." << "123." << false << unknown() << "123.";
    QTest::newRow("trailing tab is no space") << "42\t" << "42\t" << false << unknown() << "42\t";
    QTest::newRow("only U+0020 is trimmed") << qs(u"\u00a07\u3000") << qs(u"\u00a07\u3000") << false
                                            << unknown() << qs(u"\u00a07\u3000");
    QTest::newRow("full-width digits are no digits") << qs(u"１２") << qs(u"１２") << false << unknown()
                                                     << qs(u"１２");
    QTest::newRow("Arabic-Indic digits are no digits") << qs(u"\u0661") << qs(u"\u0661") << false
                                                       << unknown() << qs(u"\u0661");

    const QString a40 = QString(39, u'a') + u'5';
    QTest::newRow("40 characters cut to 32") << a40 << a40.right(32) << true << row(5) << "5";
    const QString d40 = QStringLiteral("1234567890").repeated(4);
    QTest::newRow("40 digits log the last 32") << d40 << d40.right(32) << false << row(7890 % 80) << d40.right(32);
    const QString d32 = QStringLiteral("98765432").repeated(4);
    QTest::newRow("32 digits logged whole") << d32 << d32 << false << row(5432 % 80) << d32;
    const QString spaced = QString(20, u'x') + u' ' + QString(31, u'7') + "  ";
    QTest::newRow("cut keeps a leading space") << spaced << u' ' + QString(31, u'7') << true << row(7777 % 80)
                                               << QString(31, u'7');
    // A character outside the BMP counts as two units; the cut may split it.
    const QString split = qs(u"\U0001F600") + QString(31, u'3');
    QTest::newRow("cut inside a surrogate pair") << split << split.right(32) << false << row(3333 % 80)
                                                 << QString(31, u'3');
}

void ReckoningTest::one_test()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, good);
    QFETCH(QString, verdict);
    QFETCH(QString, logged);

    Form form;
    form.test(typed);

    QCOMPARE(qs(form.input.str()), shown);
    const MemoryList& chosen = good ? form.good : form.bad;
    const MemoryList& other = good ? form.bad : form.good;
    QCOMPARE(qs(chosen.str()), "\r\n" + verdict + ',' + logged);
    QCOMPARE(qs(other.str()), QString());
    QCOMPARE(form.input.sel_start(), 0u);
    QCOMPARE(form.input.sel_length(), std::size_t(shown.size()));
    QCOMPARE(form.input.focus_count(), 1);
}

void ReckoningTest::input_empty_after_trimming_records_nothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("nothing") << "";
    QTest::newRow("spaces") << "     ";
}

void ReckoningTest::input_empty_after_trimming_records_nothing()
{
    QFETCH(QString, typed);
    Form form;
    form.good.append(u"kept");
    form.test(typed);
    QCOMPARE(qs(form.input.str()), QString());
    QCOMPARE(qs(form.good.str()), "kept");
    QCOMPARE(qs(form.bad.str()), QString());
    QCOMPARE(form.input.focus_count(), 1);
}

// Longer than a 16-bit length can hold: still only the tail counts.
void ReckoningTest::very_long_input_keeps_its_last_32_units()
{
    for (const qsizetype length : {32767, 32768, 40000, 70000, 1000000}) {
        Form form;
        form.test(QString(length - 4, u'1') + "0080");
        const QString tail = QString(28, u'1') + "0080";
        QCOMPARE(qs(form.input.str()), tail);
        QCOMPARE(qs(form.bad.str()), "\r\n" + row(0) + ',' + tail);
    }
}

void ReckoningTest::table_matches_the_verdict_list()
{
    QFile file(QStringLiteral(FORTPAD_TEST_DATA "/fortunes.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int rows = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).chopped(1);
        if (line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0].toInt(), rows);
        QCOMPARE(fortune_table[std::size_t(rows)].category, fields[1].toInt());
        QCOMPARE(row(rows), fields[2]);
        ++rows;
    }
    QCOMPARE(rows, fortune_count);

    // The category follows the verdict word at the end of each text.
    const QRegularExpression shape(QStringLiteral(
        "^(\\d\\d)\\.[^,.()]{4},[^,.()]{4},[^,.()]{4},[^,.()]{4}\\((大吉|吉|凶|吉带凶|凶带吉)\\)$"));
    const QHash<QString, int> category_of{{"大吉", Good}, {"吉", Good}, {"凶", Bad}, {"吉带凶", Mixed}, {"凶带吉", Mixed}};
    QHash<QString, int> words;
    int per_category[4] = {};
    for (int i = 0; i < fortune_count; ++i) {
        const auto match = shape.match(row(i));
        QVERIFY2(match.hasMatch(), qPrintable(row(i)));
        QCOMPARE(match.captured(1).toInt(), i);
        QCOMPARE(fortune_table[std::size_t(i)].category, category_of[match.captured(2)]);
        ++words[match.captured(2)];
        ++per_category[fortune_table[std::size_t(i)].category];
    }
    QCOMPARE(per_category[Good], 33);
    QCOMPARE(per_category[Bad], 28);
    QCOMPARE(per_category[Mixed], 19);
    QCOMPARE(words["吉"], 31);
    QCOMPARE(words["大吉"], 2);
    QCOMPARE(words["吉带凶"], 15);
    QCOMPARE(words["凶带吉"], 4);

    QCOMPARE(unknown(), qs(u"xx..未知吉凶(尾数非数字\uFF0C暂有争议)..."));
    QCOMPARE(unknown_verdict.category, Mixed);
}

void ReckoningTest::entries_accumulate_oldest_first()
{
    Form form;
    form.bad.append(u"typed by hand\r\n");
    for (const char* typed : {"12a", "9999", "12345", "a7", "   ", "0080"})
        form.test(QString::fromLatin1(typed));

    QCOMPARE(qs(form.bad.str()), "typed by hand\r\n"
                                 "\r\n" + unknown() + ",12a"
                                 "\r\n" + row(79) + ",9999"
                                 "\r\n" + row(0) + ",0080");
    QCOMPARE(qs(form.good.str()), "\r\n" + row(25) + ",12345"
                                  "\r\n" + row(7) + ",7");
}

void ReckoningTest::test_num_chooses_list_by_category_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("good");
    QTest::newRow("good") << 1 << true;
    QTest::newRow("bad") << 2 << false;
    QTest::newRow("mixed") << 3 << false;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("largest") << 32767 << false;
}

void ReckoningTest::test_num_chooses_list_by_category()
{
    QFETCH(int, category);
    QFETCH(bool, good);
    Form form;
    form.input.set_text(u"not from a test");
    form.input.set_sel_start(3);
    // User text with line breaks of every kind stays whole in the entry.
    const std::u16string text = u"v\n\r\u2028\0x"s;
    const std::u16string logged = u"a\r\nb";
    test_num(form.boxes, text, std::int16_t(category), logged);

    const MemoryList& chosen = good ? form.good : form.bad;
    QCOMPARE(qs(chosen.str()), qs(u"\r\n" + text + u"," + logged));
    QCOMPARE(qs((good ? form.bad : form.good).str()), QString());
    QVERIFY(chosen.announced() == std::vector{text + u"," + logged});
    QVERIFY((good ? form.bad : form.good).announced().empty());
    QCOMPARE(form.input.sel_start(), 0u);
    QCOMPARE(form.input.sel_length(), 15u);
    QCOMPARE(form.input.focus_count(), 0);
}

QTEST_APPLESS_MAIN(ReckoningTest)
#include "test_reckoning.moc"
