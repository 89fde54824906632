#include "app/pluginhost.h"

#include <dlfcn.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/pluginguard.h"

namespace quorlet {

struct TPluginHost::THost {
    TIPluginDemo object; // first: a plug-in's pointer is the host's pointer
    TPluginHost* owner;
};

TPluginHost::TPluginHost(QMenu* menu, QObject* owner) : QObject(owner), menu_(menu) {}

TPluginHost::~TPluginHost() = default;

void* TPluginHost::GetApplication(TIPluginDemo*) {
    return QApplication::instance();
}

void TPluginHost::AddMenuItem(TIPluginDemo* self, const char* caption, TPluginClick click, void* data) {
    auto* host = reinterpret_cast<THost*>(self);
    if (!host || !host->owner || !host->owner->menu_) return;
    QMenu* menu = host->owner->menu_;
    auto* item = new QAction(QString::fromUtf8(caption ? caption : ""), menu);
    menu->addAction(item);
    QObject::connect(item, &QAction::triggered, item, [item, click, data] {
        if (!click) return;
        // Foreign code: nothing it throws may reach the event loop.
        try {
            click(data, item);
        } catch (...) {
            DebugLog("#plugins click error");
        }
    });
}

const TIPluginDemoTable& TPluginHost::Table() {
    static const TIPluginDemoTable table = {&TPluginHost::GetApplication, &TPluginHost::AddMenuItem};
    return table;
}

void TPluginHost::LoadFrom(const std::string& folder) {
    const QString path = QString::fromStdString(folder);
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) throw std::runtime_error("not a folder");
    const QDir dir(path);
    // Regular files only (links to them followed): loading a fifo of a library's name would wait
    // for a writer forever.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    TPluginGuard guard(Options.LastPath, folder + "/");
    for (const QString& name : names) {
        if (!name.endsWith(QStringLiteral(".so"), Qt::CaseInsensitive)) continue;
        // From before the library's own start-up code to the end of its InitPlugin: a crash
        // in between leaves the marker naming it.
        if (!guard.MayStart(QFile::encodeName(name).toStdString())) continue;
        try {
            LoadLibrary(QFile::encodeName(dir.filePath(name)));
        } catch (...) {
            DebugLog("#plugins search error " + name.toStdString());
        }
        guard.Started();
    }
}

void TPluginHost::LoadLibrary(const QByteArray& file) {
    void* library = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return; // not a library this program can load: skipped
    void* entry = ::dlsym(library, "InitPlugin");
    if (!entry) {
        ::dlclose(library);
        return;
    }
    try {
        auto host = std::make_unique<THost>();
        host->object.table = &Table();
        host->owner = this;
        THost* raw = host.get();
        hosts_.push_back(std::move(host));
        reinterpret_cast<TInitPlugin>(entry)(&raw->object);
    } catch (...) {
        failed_.push_back(std::move(hosts_.back()));
        hosts_.pop_back();
        DebugLog("#plugins load error");
    }
}

void LoadPlugins(QMenu* menu, QObject* owner) {
    if (!Options.doSeekPlugins) return;
    try {
        DebugLog("searching plugins...");
        auto* host = new TPluginHost(menu, owner);
        host->LoadFrom(Options.LastPath + "plugins");
    } catch (...) {
        DebugLog("#plugins search error");
        ShowMessageBox("#plugins search error");
    }
}

} // namespace quorlet
