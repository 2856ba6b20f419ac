#include "list_edit.h"

#include <QEvent>

namespace fortpad {

ListEdit::ListEdit(Rgb text_colour, QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, QColor(text_colour.red, text_colour.green, text_colour.blue));
    setPalette(colours);
    hide_inactive_selection();
}

// A new theme brings a new base colour: the hidden selection follows it.
void ListEdit::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        hide_inactive_selection();
}

void ListEdit::hide_inactive_selection()
{
    QPalette colours = palette();
    const QColor base = colours.color(QPalette::Inactive, QPalette::Base);
    const QColor text = colours.color(QPalette::Inactive, QPalette::Text);
    if (colours.color(QPalette::Inactive, QPalette::Highlight) == base
        && colours.color(QPalette::Inactive, QPalette::HighlightedText) == text)
        return; // already hidden; also ends the change event that setting it raises
    colours.setColor(QPalette::Inactive, QPalette::Highlight, base);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    setPalette(colours);
}

} // namespace fortpad
