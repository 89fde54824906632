// Loads the plug-ins of the "plugins" folder at start-up and gives each a host object through
// which it adds items under the main menu's "plug" item. Libraries are never unloaded.
#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

#include "app/quorlet_plugin.h"

class QMenu;

namespace quorlet {

class TPluginHost : public QObject {
    Q_OBJECT

  public:
    // `menu` receives the items; the host is a child of `owner` and is freed with it.
    TPluginHost(QMenu* menu, QObject* owner);
    ~TPluginHost() override;

    // One host object per plug-in whose InitPlugin was found and called.
    std::size_t Count() const { return hosts_.size(); }

    // Every "*.so" (any letter case, hidden ones too) of `folder`, in name order, but those
    // that ended an earlier start (see core/pluginguard.h).
    void LoadFrom(const std::string& folder);

  private:
    void LoadLibrary(const QByteArray& file);
    struct THost;
    static const TIPluginDemoTable& Table();
    static void* GetApplication(TIPluginDemo* self);
    static void AddMenuItem(TIPluginDemo* self, const char* caption, TPluginClick click, void* data);

    QMenu* menu_;
    std::vector<std::unique_ptr<THost>> hosts_;
    // Hosts whose InitPlugin threw: not counted, but kept, as the plug-in may hold them.
    std::vector<std::unique_ptr<THost>> failed_;
};

// Start-up: with doSeekPlugins on, loads LastPath + "plugins" into `menu` (the host becomes a
// child of `owner`). Off: the folder is not looked at.
void LoadPlugins(QMenu* menu, QObject* owner);

} // namespace quorlet
