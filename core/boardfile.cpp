#include "core/boardfile.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/generation.h"
#include "core/nametemplate.h"
#include "core/safewrite.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

char CellSymbol(TCellState state) {
    if (state <= 8) return static_cast<char>('0' + state);
    switch (state) {
    case csCovered: return '_';
    case csQuestion:
    case csPressedQuestion: return '?';
    case csBlasted:
    case csWrongMark:
    case csMine: return 'X';
    case csFlag: return 'F';
    default: return ' ';
    }
}

std::string BoardsFolder() {
    return Options.LastPath + "boards/";
}

} // namespace

void ReportFileSaveFailure(const std::string& path, const std::string& reason) {
    DebugLog("#" + UIText("0290") + " " + path + " (" + reason + ")");
    ShowMessageBox(UIText("0290"));
}

bool WriteFileOrReport(const std::string& path, const std::string& bytes) {
    if (bytes.empty()) {
        ReportFileSaveFailure(path, "nothing to write");
        return false;
    }
    std::string error;
    if (!SafeWriteFile(path, bytes, &error)) {
        ReportFileSaveFailure(path, error);
        return false;
    }
    return true;
}

bool CreateFolderOrReport(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::u8path(folder);
    if (std::filesystem::is_directory(path, ec)) return true;
    std::filesystem::create_directories(path, ec);
    if (std::filesystem::is_directory(path, ec)) return true;
    DebugLog("#" + UIText("0292"));
    ShowMessageBox(UIText("0292") + "\r\n" + folder);
    return false;
}

std::string BoardFileName() {
    // A "\" in the player's name makes its folder level where the file goes, as in any template.
    return ExpandNameTemplate("<name>_", BoardsFolder()) + std::to_string(LastColumn + 1) + "x" +
           std::to_string(LastRow + 1) + "-" + std::to_string(MineCount) +
           ExpandNameTemplate("mines_3BV=<3bv>_<DD>.<MM>.<YYYY>_<HH>-<MIN>-<SEC>.qbf");
}

bool SaveBoardFile() {
    if (WaitingFirstClick) return false;
    if (!IsBoardSolved() && !GameOver && !ReplayMode) {
        DebugLog("#not allowed - " + UIText("0290"));
        return false;
    }
    const std::string folder = BoardsFolder();
    if (!CreateFolderOrReport(folder)) return false;
    std::string name;
    try {
        name = BoardFileName();
        // From the shown board: during playback that is the played file's board, and it is
        // there before any live game was generated.
        if (!WriteFileOrReport(folder + name, BuildBoardString())) return false;
    } catch (const std::exception& e) {
        ReportFileSaveFailure(folder + name, e.what());
        return false;
    }
    DebugLog(UIText("0240") + "/boards/" + name);
    ShowMessageBox(UIText("0240") + " \r\n\r\n/boards/" + name);
    return true;
}

std::string TextBoard(const std::string& separator) {
    std::string text;
    for (int r = 0; r <= LastRow; ++r) {
        for (int c = 0; c <= LastColumn; ++c) {
            text += CellSymbol(VisibleBoard[c][r]);
            text += separator;
        }
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

bool SaveTextBoard(const std::string& path, const std::string& separator) {
    if (!WriteFileOrReport(path, TextBoard(separator))) return false;
    DebugLog(UIText("0240") + " txt");
    return true;
}

} // namespace quorlet
