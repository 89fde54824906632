#include "app/secondary.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "app/FMain.h"
#include "settings/options.h"

namespace quorlet {
namespace {

// Enables the main window again when the watched window hides, then removes itself.
class TEnableMainOnHide : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched == parent()) {
            if (TMain* main = MainWindow()) main->setEnabled(true);
            deleteLater();
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

void CenterFormOnMain(QWidget* window) {
    TMain* main = MainWindow();
    if (!window || !main) return;
    const QRect m = main->frameGeometry();
    const QRect w = window->frameGeometry();
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    const TWindowRect r = CenterOnMain(TWindowRect{m.left(), m.top(), m.width(), m.height()}, w.width(),
                                       w.height(), TScreenSize{s.width(), s.height()});
    // move() places the frame's corner; the client area follows by the frame's own offset.
    window->move(r.Left, r.Top);
}

void ShowSecondaryWindow(QWidget* window) {
    if (!window) return;
    if (TMain* main = MainWindow(); main && main != window) {
        main->setEnabled(false);
        // One watcher per showing: a window shown twice still enables the main window once.
        for (QObject* child : window->children())
            if (auto* old = dynamic_cast<TEnableMainOnHide*>(child)) {
                window->removeEventFilter(old);
                delete old;
            }
        window->installEventFilter(new TEnableMainOnHide(window));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace quorlet
