#include "qt_input_box.h"
#include "qt_result_list.h"
#include "qt_strings.h"
#include "window_cases.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <algorithm>

using namespace fortpad;

namespace {

std::u16string u16(const QString& s) { return s.toStdU16String(); }

// Whether what the list shows at a character is drawn: by an object handler
// of its own, or by some installed font (else the user sees an empty box).
bool drawn(const QPlainTextEdit& edit, const QTextBlock& block, int offset)
{
    const QChar c = block.text().at(offset);
    if (c == QChar::ObjectReplacementCharacter) {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + offset + 1);
        return edit.document()->documentLayout()->handlerForObject(cursor.charFormat().objectType());
    }
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(),
                       [&](const QString& family) { return QFontMetrics(QFont(family)).inFontUcs4(c.unicode()); });
}

} // namespace

class TextBoxesTest : public QObject {
    Q_OBJECT

private slots:
    void list_reads_back_what_was_written_data();
    void list_reads_back_what_was_written();
    void list_shows_cr_lf_as_a_line_break();
    void list_append_keeps_undo_empty_and_view_at_top();
    void input_selection_counts_code_units();
};

void TextBoxesTest::list_reads_back_what_was_written_data()
{
    QTest::addColumn<QString>("text");
    for (const cases::ListText& row : cases::list_texts)
        QTest::newRow(row.name) << to_qstring(row.text);
    // A Win32 text ends at a NUL; a Qt one does not.
    QTest::newRow("NUL and tab") << to_qstring(std::u16string_view(u"1\0\t2", 4));
}

void TextBoxesTest::list_reads_back_what_was_written()
{
    QFETCH(QString, text);
    QPlainTextEdit edit;
    QtResultList box(edit);

    box.set_text(u16(text));
    QCOMPARE(to_qstring(box.text()), text);

    // Appending in pieces, split anywhere (even inside a CR LF), gives the
    // same text as writing it whole.
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        box.set_text(u16(text.left(cut)));
        box.append(u16(text.mid(cut)));
        QCOMPARE(to_qstring(box.text()), text);
    }
}

void TextBoxesTest::list_shows_cr_lf_as_a_line_break()
{
    QPlainTextEdit edit;
    QtResultList box(edit);
    box.set_text(u"one\r\ntwo\nthree\r");
    QCOMPARE(edit.blockCount(), 2);
    // A stray line feed or carriage return shows as something visible.
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        for (int offset = 0; offset < block.length() - 1; ++offset)
            QVERIFY2(drawn(edit, block, offset), qPrintable(block.text()));

    // What the user types with Enter reads back as CR LF.
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "x");
    QCOMPARE(to_qstring(box.text()), to_qstring(u"\r\nxone\r\ntwo\nthree\r"));
}

void TextBoxesTest::list_append_keeps_undo_empty_and_view_at_top()
{
    QPlainTextEdit edit;
    edit.resize(200, 100);
    edit.show();
    QtResultList box(edit);
    QTest::keyClicks(&edit, "typed");
    for (int i = 0; i < 200; ++i)
        box.append(u"\r\nentry");
    QVERIFY(!edit.document()->isUndoAvailable());
    QCOMPARE(edit.verticalScrollBar()->value(), 0);
    QCOMPARE(edit.textCursor().position(), 0);
}

void TextBoxesTest::input_selection_counts_code_units()
{
    QLineEdit edit;
    QtInputBox box(edit);
    box.set_text(u"a\U0001F600bc");
    box.set_sel_start(1);
    QCOMPARE(edit.selectedText(), QString());
    box.set_sel_length(2);
    QCOMPARE(edit.selectedText(), to_qstring(u"\U0001F600"));
    select_all(box);
    QCOMPARE(edit.selectedText(), to_qstring(u"a\U0001F600bc"));
}

QTEST_MAIN(TextBoxesTest)
#include "test_text_boxes.moc"
