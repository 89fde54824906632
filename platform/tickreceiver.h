// The GUI-thread end of a tick: any thread posts a tick id, the receiver hands it to OnTick
// on the thread it lives on, one event per post, in order, none merged.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

namespace quorlet {

class TTickReceiver : public QObject {
    Q_OBJECT

  public:
    explicit TTickReceiver(QObject* parent = nullptr);

    // Thread-safe.
    void Post(uint32_t id);

    std::function<void(uint32_t id)> OnTick;

  protected:
    bool event(QEvent* event) override;
};

} // namespace quorlet
