#include "kit/KitThemeManager.h"

#include <QEvent>

#include "core/FData.h"
#include "kit/KitClass.h"

namespace quorlet {

TKitThemeManager::TKitThemeManager(QObject* owner, TKitApplication* application)
    : TKitWndProcComponent(owner), application_(application) {}

bool TKitThemeManager::OwnerWndProc(QEvent* event) {
    TKitApplication* app = application_ ? application_ : KitApplication;
    if (app) {
        if (event->type() == QEvent::Polish) {
            app->RefreshThemes();
        } else if (event->type() == QEvent::ThemeChange && app->UseThemes()) {
            app->SetUseThemes(false);
            app->SetUseThemes(true);
        }
    }
    return TKitWndProcComponent::OwnerWndProc(event);
}

} // namespace quorlet
