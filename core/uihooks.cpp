#include "core/uihooks.h"

namespace quorlet {

TUiHooks UiHooks;

void ResetUiHooks() { UiHooks = TUiHooks{}; }

} // namespace quorlet
