// HTML copies of the history window's grids: the page on show, the search results with their
// criteria, and the statistics report of most pages. Each document is built in memory and
// written once (temporary file, then rename); a failure is logged with "#" and shown as
// "Cannot save file", and the call returns false.
#pragma once

#include <string>

#include "stats/historygrid.h"
#include "stats/historysearch.h"

namespace quorlet {

bool ExportGridHtml(const std::string& fileName, const THistoryGrid& sg, const std::string& pageName);
bool ExportSearchResultsHtml(const std::string& fileName, const THistoryGrid& sgs,
                             const THistorySearchFilter& filter);
// Draws outline pages 1-6, 8-13, 15-20, 24 and 25 into sg one after the other, one table each;
// the window shows its setup page afterwards. The NoDebug form leaves out page 25 (Entire).
bool ExportStatisticsHtml(const std::string& fileName, THistoryGrid& sg);
bool ExportStatisticsHtmlNoDebug(const std::string& fileName, THistoryGrid& sg);

// Writes an export's bytes safely; on failure logs "#cannot save file ..." and shows
// "Cannot save file". The CSV export shares it.
bool WriteExportFile(const std::string& path, const std::string& bytes);

// The criteria line's text of a search ("[Beg] ... [Sorted&nbsp;by&nbsp\"Time\"]").
std::string SearchCriteriaText(const THistorySearchFilter& filter);

} // namespace quorlet
