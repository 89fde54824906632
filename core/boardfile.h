// The board saved as a file: the board file (mine positions), the text grid of the visible
// cells, and the folder and failure rules every board picture and screenshot shares.
#pragma once

#include <string>

namespace quorlet {

// The board-save command (Ctrl+C, the automatic-saving "<BOARD>" rule, the counters window's
// item). Nothing before the first click; outside a solved, ended or played game only the
// not-allowed line is logged. Writes BuildBoardString of the shown board into LastPath +
// "boards/" under the player's name, the size, the mines, the 3BV and the time, then says where.
// Returns true when the file was written.
bool SaveBoardFile();

// The file name SaveBoardFile uses now ("Ann_16x16-40mines_3BV=112_05.03.2006_14-07-09.qbf"),
// relative to the boards folder; a player name "A\B" gives "A/B_..." with the folder "A" made
// there.
std::string BoardFileName();

// One line per row: each cell's symbol by its VisibleBoard state followed by `separator`,
// CR LF after each line and once more after the last.
std::string TextBoard(const std::string& separator);

// Writes TextBoard(separator) to path; logs "Board saved to txt". A failure is reported.
bool SaveTextBoard(const std::string& path, const std::string& separator);

// Creates folder (with its parents) when missing. A failure logs "#Cannot create folder" and
// shows that text with the folder; returns false.
bool CreateFolderOrReport(const std::string& folder);

// Writes bytes to path through the safe writer; a failure logs "#Cannot save file", the path
// and the reason, and shows "Cannot save file". An empty byte string is a failure too.
bool WriteFileOrReport(const std::string& path, const std::string& bytes);

// "#Cannot save file <path> (<reason>)" logged and "Cannot save file" shown.
void ReportFileSaveFailure(const std::string& path, const std::string& reason);

} // namespace quorlet
