// The named variables of the counter-formula language over the live game, the board metrics and
// the game history.
#pragma once

#include <string>

namespace quorlet {

// Value of the upper-case variable `name`; false when no variable has that name.
bool FormulaVariableValue(const std::string& name, long double& value);

} // namespace quorlet
