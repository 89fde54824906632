// Watches its owner window for theme changes and passes them to the application object.
// The kit's start-up instance has no owner, so it never hooks anything.
#pragma once

#include "kit/KitWndProcComponent.h"

namespace quorlet {

class TKitApplication;

class TKitThemeManager : public TKitWndProcComponent {
    Q_OBJECT

  public:
    // application: the object told of changes (null: the kit's start-up object).
    explicit TKitThemeManager(QObject* owner = nullptr, TKitApplication* application = nullptr);

  protected:
    // First polish (the window's creation): the application refreshes its theme flag; a theme
    // change while themes are used switches them off and on again.
    bool OwnerWndProc(QEvent* event) override;

  private:
    TKitApplication* application_;
};

} // namespace quorlet
