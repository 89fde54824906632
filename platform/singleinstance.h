// The single-instance test: a running instance answers on a local socket named after its
// title (and its program folder, so separate installations and test folders never meet).
#pragma once

#include <QString>

#include <memory>

class QSocketNotifier;

namespace quorlet {

class TSingleInstance {
  public:
    TSingleInstance();
    ~TSingleInstance();

    static QString ServerName(const QString& title, const QString& programFolder);
    // True when an instance listens on that name.
    static bool IsRunning(const QString& title, const QString& programFolder);
    // Listens under the name; a stale socket left by a crashed instance is replaced, a live
    // one is left alone (false).
    bool Claim(const QString& title, const QString& programFolder);
    void Release();

  private:
    int fd_ = -1;
    QString path_;
    // Takes and drops each caller, so the queue of a long-running instance never fills.
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace quorlet
