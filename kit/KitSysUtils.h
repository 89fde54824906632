// System information and folder paths of the kit, over the Qt-free rules of kit/engine/kitsysinfo.h.
// The theme and composition libraries of other desktops have no counterpart here: nothing
// reports themes and composition updates do nothing.
#pragma once

#include <QString>

#include <cstdint>

namespace quorlet {

// Where a kit file lives: the system's configuration folder, the system library folder, the
// program's folder, or no prefix at all (the name is used as given).
enum TKitPathPrefix : uint8_t { ppOsFolder = 0, ppSystem = 1, ppProgram = 2, ppFixed = 3 };

// Bits per pixel of the primary screen (low byte); 0 without a screen.
int ColorDepth();
// Fields of the extended version record; the system has none, so every field reads 0.
uint32_t VersionField(int index);
uint32_t MajorVersion();
uint32_t MinorVersion();
uint32_t ProductType();
uint32_t SuiteMask();
QString UserName();

bool IsBlank(const QString& text);
QString WithTrailingSlash(const QString& text);
QString WithoutTrailingSlash(const QString& text);

// The running program's folder, ending with "/".
QString KitProgramFolder();
QString SystemFolder();
QString OsFolder();
// The folder of a prefix, with or without its trailing "/"; ppFixed gives "".
QString PathPrefix(TKitPathPrefix kind, bool withSlash);
// Prefix folder + the file part of name, unless the prefix is ppFixed (name as given).
QString PrefixedFileName(TKitPathPrefix kind, const QString& name);
// name with the extension ext (".LOG") when its file part has none.
QString WithDefaultExtension(const QString& name, const QString& ext);

// The running program's path with its extension replaced by (or extended with) ext.
QString ProgramPathWithExtension(const QString& ext);

// Nothing to refresh: no composition manager is queried here.
void UpdateComposition();

// The version flags of the running system (computed at each call, kept by the kit's start-up).
uint32_t StartupVersionFlags();

} // namespace quorlet
