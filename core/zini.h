// ZiNi: least-click estimates with flags and chords (greedy and human play).
#pragma once

namespace quorlet {

// Sets GZiNi and HZiNi for HiddenBoard; VisibleBoard is unchanged afterwards,
// WorkBoard holds the final premiums of the human pass. Needs Calc3BV's WorkBoard on entry.
void CalcZiNi();

} // namespace quorlet
