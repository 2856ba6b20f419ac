#include "kept_unit_object.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>

namespace fortpad {
namespace {

QString name_of(const QTextFormat& format)
{
    const auto unit = char16_t(format.property(KeptUnitObject::unit_property).toUInt());
    switch (unit) {
    case u'\n': return QStringLiteral("LF");
    case u'\r': return QStringLiteral("CR");
    case u'\u2029': return QStringLiteral("PS");
    default: return QString::number(unit, 16).toUpper();
    }
}

QFont name_font(const QTextDocument& document)
{
    QFont font = document.defaultFont();
    font.setPointSizeF(font.pointSizeF() * 0.7);
    return font;
}

} // namespace

void KeptUnitObject::register_with(QTextDocument& document)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    if (!layout->handlerForObject(type))
        layout->registerHandler(type, new KeptUnitObject(&document));
}

QSizeF KeptUnitObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format)
{
    const QFontMetricsF name(name_font(*document));
    return {name.horizontalAdvance(name_of(format)) + 4, QFontMetricsF(document->defaultFont()).ascent()};
}

void KeptUnitObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                                const QTextFormat& format)
{
    painter->save();
    painter->setFont(name_font(*document));
    painter->drawRoundedRect(rect.adjusted(0.5, 1.5, -0.5, -0.5), 2, 2);
    painter->drawText(rect, Qt::AlignCenter, name_of(format));
    painter->restore();
}

} // namespace fortpad
