// The whole history as "stats_csv.csv" and "stats_csv.html" in the program folder, grouped by
// level (Beginner, Intermediate, Expert), each group in table order, CR LF lines, "." always.
#pragma once

namespace quorlet {

// Writes both files; an empty table touches no file. A failed write logs "#" and shows
// "Cannot save file"; the other file is still written. False when either failed.
bool WriteHistoryCsv();

} // namespace quorlet
