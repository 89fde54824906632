#include "app/firstpaint.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace quorlet {

namespace {

// Ends the loop once the window has painted; the quit is queued so that the paint's flush to
// the display runs first.
class TFirstPaintWatch : public QObject {
  public:
    explicit TFirstPaintWatch(QEventLoop& loop) : loop_(loop) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(&loop_, &QEventLoop::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QEventLoop& loop_;
    bool painted_ = false;
};

// A window that is never painted (no display, minimised by the desktop) must not hold the start.
constexpr int kGiveUpMs = 500;

} // namespace

void ShowAndAwaitFirstPaint(QWidget* window) {
    QEventLoop loop;
    TFirstPaintWatch watch(loop);
    window->installEventFilter(&watch);
    QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
    window->show();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    window->removeEventFilter(&watch);
}

} // namespace quorlet
