#pragma once

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

namespace fortpad {

// Draws a code unit that a list keeps in its text but that would otherwise
// break the line (a lone CR or LF, U+2029, ...): a small box with its name,
// in the list's text colour. No font has the Control Pictures glyphs here.
class KeptUnitObject final : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // The object type and property under which a character format carries
    // a kept unit.
    static constexpr int type = QTextFormat::UserObject + 1;
    static constexpr int unit_property = QTextFormat::UserProperty + 1;

    // Makes the document draw kept units; once per document is enough.
    static void register_with(QTextDocument& document);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    using QObject::QObject;
};

} // namespace fortpad
