// HTML copies of the history window's grids: the page on show, the search results with their
// criteria, and the statistics report of most pages. Each document is written as a stream into
// a temporary file that replaces the target at the end (a report of a full history never lies
// whole in memory); a failure is logged with "#" and shown as "Cannot save file", and the call
// returns false.
#pragma once

#include <string>

#include "core/safewrite.h"
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

// Ends an export's stream: the file replaces `path`; on failure logs "#cannot save file ..."
// and shows "Cannot save file". The CSV export shares it.
bool CommitExportFile(TSafeFileWriter& file, const std::string& path);

// The criteria line's text of a search ("[Beg] ... [Sorted&nbsp;by&nbsp\"Time\"]").
std::string SearchCriteriaText(const THistorySearchFilter& filter);

} // namespace quorlet
