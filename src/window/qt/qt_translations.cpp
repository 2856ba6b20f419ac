#include "qt_translations.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace fortpad {

void install_qt_translations(const QLocale& locale)
{
    // Qt turns the whole application right to left for a right-to-left
    // translation; the form is Chinese and stays left to right.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace fortpad
