// Services the desktop gives the program: launchers, shortcuts, the web and mail addresses,
// and the desktop tools it may run. Texts here follow the Desktop Entry rules.
#pragma once

#include <string>
#include <vector>

namespace quorlet {

// ---- Addresses the help menu opens (placeholders of our own) ----
extern const char* const kHomepageUrl;
extern const char* const kFeedbackAddress;
extern const char* const kCommunitySite1Url;
extern const char* const kCommunityGuestbookUrl;
extern const char* const kCommunityRankingUrl;
extern const char* const kCommunitySite2Url;
extern const char* const kChatServerHost;

// text with every byte outside A-Z a-z 0-9 "-._~" written as %XX (UTF-8 bytes as they are).
std::string PercentEncode(const std::string& text);
// The feedback mail: "mailto:" + the address + "?subject=" + the encoded subject
// "Minesweeper Quorlet 0.47 feedback by " + playerName.
std::string FeedbackMailUrl(const std::string& playerName);

// ---- Desktop Entry texts ----

// One argument of an Exec key: quoted when it holds a reserved character (the characters
// '"', '`', '$' and '\' escaped inside the quotes), '%' doubled.
std::string DesktopExecArgument(const std::string& argument);
// A value of a string key: '\' and the control characters newline, tab, CR escaped.
std::string DesktopEntryValue(const std::string& value);
// The launcher CreateDesktopShortcut writes: target started with the blank-separated words of
// arguments, in target's folder, with the program's icon when there is one.
std::string DesktopShortcutText(const std::string& target, const std::string& arguments, const std::string& icon);

// Makes a desktop launcher `linkFile` (its extension becomes ".desktop") that starts `target`
// with `arguments`, replacing an older launcher of that name; executable for the owner and
// readable for all (0755). A failure logs "desktop shortcut creation fail" and says so: a
// missing folder with "Cannot load folder" and the folder, a failed write with "Cannot save
// file"; returns success.
bool CreateDesktopShortcut(const std::string& target, const std::string& linkFile, const std::string& arguments);

// ---- Processes ----

// The running program's own executable (absolute), empty when unknown.
std::string ExecutablePath();
// The file of the first folder of PATH holding an executable `name`, empty when none.
std::string FindExecutableInPath(const std::string& name);
// Runs argv (argv[0] looked up in PATH, no shell) and waits for it. False when it cannot be
// started or does not exit with 0.
bool RunDesktopTool(const std::vector<std::string>& argv);

} // namespace quorlet
