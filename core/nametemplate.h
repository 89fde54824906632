// File-name templates: tags in angle brackets filled from the current game, the settings and
// the current date and time, then made safe as a file name.
#pragma once

#include <string>

namespace quorlet {

// Expands every tag (matched in any letter case) and cleans the result. A template may name
// one folder level with "\": the folder is created under baseFolder (a failure is logged and
// the expansion goes on) and the result carries it as "folder/name", ready to be put behind
// baseFolder. Refreshes Now.
std::string ExpandNameTemplate(const std::string& nameTemplate, const std::string& baseFolder);
// As above under the program folder (Options.LastPath).
std::string ExpandNameTemplate(const std::string& nameTemplate);

} // namespace quorlet
