// The single-instance test: a running instance answers on a local socket named after its
// title (and its program folder, so separate installations and test folders never meet).
#pragma once

#include <QString>

#include <memory>

class QLocalServer;

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
    std::unique_ptr<QLocalServer> server_;
};

} // namespace quorlet
