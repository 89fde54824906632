#include "kit/KitSysUtils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include "kit/engine/kitsysinfo.h"

namespace quorlet {

int ColorDepth() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? (screen->depth() & 0xFF) : 0;
}

uint32_t VersionField(int) {
    return 0;
}

uint32_t MajorVersion() {
    return ReadOsVersion().Major;
}

uint32_t MinorVersion() {
    return ReadOsVersion().Minor;
}

uint32_t ProductType() {
    return VersionField(7);
}

uint32_t SuiteMask() {
    return VersionField(6);
}

QString UserName() {
    return QString::fromLocal8Bit(KitUserName());
}

bool IsBlank(const QString& text) {
    return IsBlank(std::string_view(text.toStdString()));
}

QString WithTrailingSlash(const QString& text) {
    return QString::fromStdString(WithTrailingSlash(std::string_view(text.toStdString())));
}

QString WithoutTrailingSlash(const QString& text) {
    return QString::fromStdString(WithoutTrailingSlash(std::string_view(text.toStdString())));
}

QString KitProgramFolder() {
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

QString SystemFolder() {
    return QStringLiteral("/usr/lib");
}

QString OsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString PathPrefix(TKitPathPrefix kind, bool withSlash) {
    QString folder;
    switch (kind) {
    case ppOsFolder: folder = OsFolder(); break;
    case ppSystem: folder = SystemFolder(); break;
    case ppProgram: folder = QCoreApplication::applicationDirPath(); break;
    case ppFixed: return {};
    }
    return withSlash ? WithTrailingSlash(folder) : WithoutTrailingSlash(folder);
}

QString PrefixedFileName(TKitPathPrefix kind, const QString& name) {
    if (kind == ppFixed) return name;
    return PathPrefix(kind, true) + QFileInfo(name).fileName();
}

QString WithDefaultExtension(const QString& name, const QString& ext) {
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? name : name + ext;
}

QString ProgramPathWithExtension(const QString& ext) {
    QString path = QCoreApplication::applicationFilePath();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1) path.truncate(dot);
    return path + ext;
}

void UpdateComposition() {}

uint32_t StartupVersionFlags() {
    return ClassifyOsVersion(ReadOsVersion());
}

} // namespace quorlet
