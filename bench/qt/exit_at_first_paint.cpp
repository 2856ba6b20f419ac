// Linked into the start-up probes: ends the process as soon as the first
// window has painted, so that the parent can time start to first paint.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <unistd.h>

namespace {

class FirstPaintWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->isWindow())
            // Queued: runs once the whole window, children included, is painted.
            QMetaObject::invokeMethod(this, [] { _exit(0); }, Qt::QueuedConnection);
        return false;
    }
};

void watch_first_paint()
{
    QCoreApplication::instance()->installEventFilter(new FirstPaintWatcher(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watch_first_paint)
