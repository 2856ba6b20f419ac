#include "display_guard.h"

#include "product.h"

#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fortpad {
namespace {

struct HeldMessage {
    QtMsgType type;
    const char* category; // Qt's categories are static strings
    QString text;
};

QtMessageHandler passed_on = nullptr;
std::vector<HeldMessage> held;

// The displays the platform was told to use, as the user set them.
QString named_displays()
{
    QStringList named;
    for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variable))
            named << QLatin1String(variable) + u'=' + qEnvironmentVariable(variable);
    return named.isEmpty() ? QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set") : named.join(u", ");
}

// Our line, then what Qt said on the way, indented beneath it: the reason
// may be a display that does not answer, or a missing library or plugin.
[[noreturn]] void explain_and_exit(const QString& fatal)
{
    std::fprintf(stderr, FORTPAD_EXECUTABLE ": cannot open the display (%s)\n",
                 named_displays().toLocal8Bit().constData());
    QStringList said;
    for (const HeldMessage& message : held)
        said << message.text;
    said << fatal;
    for (const QString& line : said.join(u'\n').split(u'\n', Qt::SkipEmptyParts))
        std::fprintf(stderr, "  %s\n", line.toLocal8Bit().constData());
    std::_Exit(EXIT_FAILURE);
}

void hold_or_exit(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg)
        explain_and_exit(text);
    held.push_back({type, context.category, text});
}

} // namespace

DisplayGuard::DisplayGuard() { passed_on = qInstallMessageHandler(hold_or_exit); }

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(passed_on);
    for (const HeldMessage& message : held)
        qt_message_output(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category), message.text);
    held.clear();
}

} // namespace fortpad
