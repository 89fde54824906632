#include "kit/KitStartup.h"

#include <QCoreApplication>

#include "core/FData.h"
#include "kit/KitClass.h"
#include "kit/KitLists.h"
#include "kit/KitSettingObjects.h"
#include "kit/KitSysUtils.h"
#include "kit/KitThemeManager.h"

namespace quorlet {

void KitStartup() {
    if (KitApplication) return;
    KitVersionFlags = StartupVersionFlags();
    // Children of the application instance, so nothing outlives it even without a shutdown.
    KitApplication = new TKitApplication(QCoreApplication::instance());
    KitThemeManager = new TKitThemeManager(QCoreApplication::instance());
    KitGlobalContainer = new TKitContainer(QCoreApplication::instance());
    RegisterKitSettingClasses();
}

void KitShutdown() {
    delete KitGlobalContainer;
    KitGlobalContainer = nullptr;
    delete KitThemeManager;
    KitThemeManager = nullptr;
    delete KitApplication;
    KitApplication = nullptr;
    KitVersionFlags = 0;
    KitControlStates.clear();
}

} // namespace quorlet
