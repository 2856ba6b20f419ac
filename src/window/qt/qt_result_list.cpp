#include "qt_result_list.h"

#include "kept_unit_object.h"
#include "qt_strings.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace fortpad {
namespace {

bool breaks_line(char16_t unit)
{
    // QTextDocument splits blocks at each of these, frame markers included.
    return unit == u'\n' || unit == u'\r' || unit == u'\u2029' || unit == u'\uFDD0' || unit == u'\uFDD1';
}

} // namespace

QtResultList::QtResultList(QPlainTextEdit& edit)
    : edit_(edit)
{
    KeptUnitObject::register_with(*edit_.document());
}

std::u16string QtResultList::text() const
{
    std::u16string text;
    const QTextDocument& document = *edit_.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += u"\r\n";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString shown = fragment.text();
            const QVariant kept = fragment.charFormat().property(KeptUnitObject::unit_property);
            if (!kept.isValid()) {
                text.append(reinterpret_cast<const char16_t*>(shown.utf16()), std::size_t(shown.size()));
                continue;
            }
            const auto unit = char16_t(kept.toUInt());
            for (QChar c : shown)
                text += c == QChar::ObjectReplacementCharacter ? unit : c.unicode();
        }
    }
    return text;
}

void QtResultList::set_text(std::u16string_view text)
{
    edit_.clear();
    insert_at_end(text);
}

void QtResultList::append(std::u16string_view tail) { insert_at_end(tail); }

void QtResultList::announce([[maybe_unused]] std::u16string_view entry)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(&edit_, to_qstring(entry));
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#endif
}

void QtResultList::insert_at_end(std::u16string_view text)
{
    QTextCursor cursor(edit_.document());
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat plain;
    std::size_t run_start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!breaks_line(text[i]))
            continue;
        cursor.insertText(to_qstring(text.substr(run_start, i - run_start)), plain);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            cursor.insertBlock(cursor.blockFormat(), plain);
            ++i;
        } else {
            QTextCharFormat kept;
            kept.setObjectType(KeptUnitObject::type);
            kept.setProperty(KeptUnitObject::unit_property, unsigned(text[i]));
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), kept);
        }
        run_start = i + 1;
    }
    cursor.insertText(to_qstring(text.substr(run_start)), plain);

    // Written text is not the user's typing: nothing to undo, and the list
    // shows its text from the top, as after any whole-text write.
    edit_.document()->clearUndoRedoStacks();
    edit_.moveCursor(QTextCursor::Start);
}

} // namespace fortpad
