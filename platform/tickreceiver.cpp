#include "platform/tickreceiver.h"

#include <QCoreApplication>
#include <QEvent>

namespace quorlet {

namespace {

QEvent::Type TickEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class TTickEvent : public QEvent {
  public:
    explicit TTickEvent(uint32_t id) : QEvent(TickEventType()), id_(id) {}
    uint32_t Id() const { return id_; }

  private:
    uint32_t id_;
};

} // namespace

TTickReceiver::TTickReceiver(QObject* parent) : QObject(parent) {
    TickEventType();
}

void TTickReceiver::Post(uint32_t id) {
    QCoreApplication::postEvent(this, new TTickEvent(id));
}

bool TTickReceiver::event(QEvent* event) {
    if (event->type() != TickEventType()) return QObject::event(event);
    const uint32_t id = static_cast<TTickEvent*>(event)->Id();
    if (OnTick) OnTick(id);
    return true;
}

} // namespace quorlet
