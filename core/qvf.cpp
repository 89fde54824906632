#include "core/qvf.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/board.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/fileread.h"
#include "core/nametemplate.h"
#include "core/playback.h"
#include "core/random.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "core/zini.h"
#include "settings/FCap.h"
#include "settings/languageencoding.h"

namespace quorlet {

namespace {

constexpr uint8_t kLevelByteBase = 3; // the level byte is GameLevel + 3
constexpr uint8_t kMarksOn = 17;
constexpr uint8_t kMarksOff = 127;
constexpr uint32_t kCountExtra = 5; // the count field stores N + 5
constexpr std::size_t kEventBytes = 8;
constexpr uint32_t kGreenCounters = 0x008000;

struct TLevelSize {
    uint8_t lastColumn;
    uint8_t lastRow;
    uint16_t mines;
};
constexpr TLevelSize kStandardSizes[3] = {{7, 7, 10}, {15, 15, 40}, {29, 15, 99}};

uint8_t CellClass(TCellState cell) {
    if (cell <= 8) return static_cast<uint8_t>(cell + 1);
    return cell == csMine ? 10 : 1;
}

std::string VersionTail(uint8_t version) {
    return "(v." + std::to_string(version) + ")";
}

// ---- Writing ----

class TQvfWriter {
  public:
    explicit TQvfWriter(std::size_t expected) { bytes_.reserve(expected); }

    // A byte that counts towards the check value.
    void Checked(uint8_t b) {
        bytes_.push_back(b);
        check_ += b;
    }
    void Checked(std::string_view text) {
        for (char c : text)
            Checked(static_cast<uint8_t>(c));
    }
    void Plain(uint8_t b) { bytes_.push_back(b); }
    void Plain(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void Event(const std::array<uint8_t, 8>& event, uint32_t index) {
        uint32_t sum = 0;
        for (uint8_t b : event)
            sum += b;
        bytes_.insert(bytes_.end(), event.begin(), event.end());
        check_ += uint64_t{sum} * ((index % 256) + 1);
    }

    uint64_t Check() const { return check_; }
    std::size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
    uint64_t check_ = 0;
};

std::string RandomDigits(std::size_t count) {
    std::string text(count, '0');
    for (char& c : text)
        c = static_cast<char>('0' + Random(10));
    return text;
}

// The reader implies the size from the level byte and counts the mine pairs from MineCount:
// a board that disagrees would give a file that never loads.
bool BoardMatchesLevel() {
    if (GameLevel > glCustom || LastColumn >= kMaxColumns || LastRow >= kMaxRows) return false;
    if (GameLevel != glCustom) {
        const TLevelSize& size = kStandardSizes[GameLevel];
        if (LastColumn != size.lastColumn || LastRow != size.lastRow || MineCount != size.mines) return false;
    }
    uint32_t mines = 0;
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            mines += HiddenBoard[c][r] == csMine;
    return mines == MineCount;
}

void ReportSaveFailure(const std::string& path, const std::string& reason) {
    DebugLog("#" + UIText("0290") + " " + path + " (" + reason + ")");
    ShowMessageBox(UIText("0290"));
}

// Both writers: gate already passed. Logs `done` on success.
bool WriteReplay(const std::string& path, bool highScore, const std::string& done) {
    try {
        if (!BoardMatchesLevel()) {
            ReportSaveFailure(path, "the board does not match its level");
            return false;
        }
        FixupVideoStart();
        // While the last game's preview plays, the count is the index of its last event.
        uint64_t events = ReplayMode ? uint64_t{VideoEventCount} + 1 : VideoEventCount;
        if (events == 0) {
            ReportSaveFailure(path, "nothing recorded");
            return false;
        }
        if (events > kVideoMaxEvents) events = kVideoMaxEvents;
        const std::string info = highScore ? HighScoreReplayInfoText() : ReplayInfoText();
        const std::vector<uint8_t> bytes = BuildReplayBytes(info, static_cast<uint32_t>(events));
        std::string why;
        if (!SafeWriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                           &why)) {
            ReportSaveFailure(path, why);
            return false;
        }
    } catch (...) {
        DebugLog("fatal error: file/memory access violation");
        ShowMessageBox(UIText("0290"));
        return false;
    }
    DebugLog(done);
    if (Options.doShowCntGreenBorder && UiHooks.SetCountersColour) UiHooks.SetCountersColour(kGreenCounters);
    return true;
}

// ---- Reading ----

enum class TLoadFault { None, Global, Hacked, Short };

// What a file holds, kept apart from the live state until every check passed.
struct TStagedReplay {
    uint8_t version = 0;
    uint8_t level = 0;
    uint8_t lastColumn = 0;
    uint8_t lastRow = 0;
    uint16_t mineCount = 0;
    TBoardLayer hidden{}; // mines and numbers; 0 off the board
    uint32_t eventCount = 0;
    uint8_t country = 0;
    std::string playerName; // file bytes
    bool marks = false;
    std::span<const uint8_t> events; // eventCount + 1 events of eight bytes
};

// Bytes in file order; every byte taken counts as read, and the checked ones go into the sum.
class TQvfReader {
  public:
    explicit TQvfReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Take(std::size_t n, std::span<const uint8_t>& out, bool checked = true) {
        if (n > bytes_.size() - pos_) return false;
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        if (checked)
            for (uint8_t b : out)
                check_ += b;
        return true;
    }
    bool Byte(uint8_t& out, bool checked = true) {
        std::span<const uint8_t> one;
        if (!Take(1, one, checked)) return false;
        out = one[0];
        return true;
    }
    void AddToCheck(uint64_t value) { check_ += value; }

    std::size_t Read() const { return pos_; }
    uint64_t Check() const { return check_; }

  private:
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
    uint64_t check_ = 0;
};

// Reads as many bytes as the expected shifted number has, and compares.
TLoadFault ExpectShiftedNumber(TQvfReader& in, uint64_t value) {
    const std::string expected = ShiftedNumberText(value);
    std::span<const uint8_t> got;
    if (!in.Take(expected.size(), got)) return TLoadFault::Short;
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i] != static_cast<uint8_t>(expected[i])) return TLoadFault::Global;
    return TLoadFault::None;
}

void NumberBoard(TStagedReplay& s) {
    for (int c = 0; c <= s.lastColumn; ++c)
        for (int r = 0; r <= s.lastRow; ++r) {
            if (s.hidden[c][r] == csMine) continue;
            uint8_t n = 0;
            for (int dc = -1; dc <= 1; ++dc)
                for (int dr = -1; dr <= 1; ++dr) {
                    const int nc = c + dc, nr = r + dr;
                    if ((dc || dr) && nc >= 0 && nr >= 0 && nc <= s.lastColumn && nr <= s.lastRow)
                        n += s.hidden[nc][nr] == csMine;
                }
            s.hidden[c][r] = n;
        }
}

// Fields 2 to 7: level, size, mines, board hash and event count.
TLoadFault ReadBoard(TQvfReader& in, TStagedReplay& s) {
    std::span<const uint8_t> filler;
    if (!in.Take(4, filler)) return TLoadFault::Short;
    uint8_t levelByte = 0;
    if (!in.Byte(levelByte)) return TLoadFault::Short;
    if (levelByte < kLevelByteBase || levelByte > kLevelByteBase + glCustom) return TLoadFault::Global;
    s.level = static_cast<uint8_t>(levelByte - kLevelByteBase);
    if (s.level == glCustom) {
        std::span<const uint8_t> size;
        if (!in.Take(4, size)) return TLoadFault::Short;
        s.lastColumn = size[0];
        s.lastRow = size[1];
        s.mineCount = static_cast<uint16_t>(size[2] << 8 | size[3]);
        // The layers hold 30 x 30 cells, and a board holds at most one mine per cell.
        if (s.lastColumn >= kMaxColumns || s.lastRow >= kMaxRows) return TLoadFault::Global;
        if (s.mineCount > (s.lastColumn + 1) * (s.lastRow + 1)) return TLoadFault::Global;
    } else {
        const TLevelSize& size = kStandardSizes[s.level];
        s.lastColumn = size.lastColumn;
        s.lastRow = size.lastRow;
        s.mineCount = size.mines;
    }
    for (uint16_t i = 0; i < s.mineCount; ++i) {
        std::span<const uint8_t> pair;
        if (!in.Take(2, pair)) return TLoadFault::Short;
        // Stored as row + 1, column + 1.
        if (pair[0] == 0 || pair[1] == 0 || pair[0] > s.lastRow + 1 || pair[1] > s.lastColumn + 1)
            return TLoadFault::Global;
        TCellState& cell = s.hidden[pair[1] - 1][pair[0] - 1];
        if (cell == csMine) return TLoadFault::Global;
        cell = csMine;
    }
    NumberBoard(s);
    if (TLoadFault f = ExpectShiftedNumber(in, QvfBoardHash(s.hidden, s.lastColumn, s.lastRow));
        f != TLoadFault::None)
        return f;
    std::span<const uint8_t> count;
    if (!in.Take(4, count)) return TLoadFault::Short;
    s.eventCount = 0;
    for (uint8_t b : count)
        s.eventCount = s.eventCount << 8 | UnshiftByte(b);
    // The reader takes count + 1 events: all of them must fit in the buffer (and + 1 not wrap).
    if (uint64_t{s.eventCount} + 1 > kVideoSlots) return TLoadFault::Global;
    return TLoadFault::None;
}

// Fields 8 to 13: country, player, marks and the game information text.
TLoadFault ReadPlayer(TQvfReader& in, TStagedReplay& s) {
    uint8_t length = 0;
    std::span<const uint8_t> text;
    if (!in.Byte(s.country) || !in.Byte(length) || !in.Take(length, text)) return TLoadFault::Short;
    s.playerName.clear();
    for (uint8_t b : text)
        s.playerName += static_cast<char>(UnshiftByte(b));
    if (TLoadFault f = ExpectShiftedNumber(in, QvfWeightedSum(s.playerName)); f != TLoadFault::None) return f;

    uint8_t marks = 0;
    if (!in.Byte(marks)) return TLoadFault::Short;
    if (marks != kMarksOn && marks != kMarksOff) return TLoadFault::Global;
    s.marks = marks == kMarksOn;

    if (!in.Byte(length) || !in.Take(length, text)) return TLoadFault::Short;
    const std::string info(text.begin(), text.end());
    DebugLog(ByteTextToUtf8(info));
    return ExpectShiftedNumber(in, QvfWeightedSum(info));
}

// Fields 14 to 16: the events, the ignored digits and the check value.
TLoadFault ReadEvents(TQvfReader& in, TStagedReplay& s) {
    const std::size_t events = std::size_t{s.eventCount} + 1;
    if (!in.Take(events * kEventBytes, s.events, false)) return TLoadFault::Short;
    for (std::size_t i = 0; i < events; ++i) {
        uint32_t sum = 0;
        for (std::size_t k = 0; k < kEventBytes; ++k)
            sum += s.events[i * kEventBytes + k];
        in.AddToCheck(uint64_t{sum} * ((i % 256) + 1));
    }
    std::span<const uint8_t> ignored;
    if (!in.Take(5, ignored, false)) return TLoadFault::Short;

    const uint64_t own = in.Check();
    const std::string ownText = std::to_string(own);
    std::span<const uint8_t> text;
    if (!in.Take(ownText.size(), text, false)) return TLoadFault::Short;
    // A 64-bit integer: an optional sign, then decimal digits.
    const char* first = reinterpret_cast<const char*>(text.data());
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    int64_t stored = 0;
    const auto [end, ec] = std::from_chars(first, last, stored);
    if (ec != std::errc() || end != last) return TLoadFault::Hacked;
    // Differences by whole multiples of 256 pass.
    if ((static_cast<uint64_t>(stored) - own) % 256 != 0) return TLoadFault::Hacked;
    return TLoadFault::None;
}

TLoadFault ParseReplay(TQvfReader& in, TStagedReplay& s) {
    if (!in.Byte(s.version)) return TLoadFault::Short;
    if (TLoadFault f = ReadBoard(in, s); f != TLoadFault::None) return f;
    if (TLoadFault f = ReadPlayer(in, s); f != TLoadFault::None) return f;
    return ReadEvents(in, s);
}

void CommitReplay(const TStagedReplay& s) {
    GameLevel = s.level;
    LastColumn = s.lastColumn;
    LastRow = s.lastRow;
    MineCount = s.mineCount;
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            HiddenBoard[c][r] = s.hidden[c][r] == csMine ? csMine : 0;
    ClearBoard();
    ComputeNumbers();
    CalcZiNi();
    ReplayVersion = s.version;
    ReplayCountry = s.country;
    ReplayPlayerName = ByteTextToUtf8(s.playerName);
    Options.doMarks = s.marks;
    ClearVideoEvents();
    VideoEventCount = s.eventCount;
    for (uint32_t i = 0; i <= s.eventCount; ++i)
        DecodeVideoEvent(
            i, std::span<const uint8_t>(s.events.data() + std::size_t{i} * kEventBytes, kEventBytes));
}

} // namespace

uint8_t ShiftByte(uint8_t value) {
    return static_cast<uint8_t>(value - kQvfShift);
}

uint8_t UnshiftByte(uint8_t stored) {
    return static_cast<uint8_t>(stored + kQvfShift);
}

std::string ShiftedNumberText(uint64_t value) {
    std::string text = std::to_string(value);
    for (char& c : text)
        c = static_cast<char>(ShiftByte(static_cast<uint8_t>(c)));
    return text;
}

uint32_t QvfWeightedSum(std::string_view text) {
    uint32_t sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        sum += static_cast<uint32_t>(static_cast<unsigned char>(text[i]) * (i + 1));
    return sum;
}

uint32_t QvfBoardHash(const TBoardLayer& hidden, uint8_t lastColumn, uint8_t lastRow) {
    uint32_t hash = 0;
    for (uint32_t c = 0; c <= lastColumn && c < kMaxColumns; ++c)
        for (uint32_t r = 0; r <= lastRow && r < kMaxRows; ++r)
            hash += CellClass(hidden[c][r]) * (c * r + c);
    return hash;
}

std::string CutQvfText(std::string_view text) {
    if (text.size() <= kQvfMaxTextLength) return std::string(text);
    std::size_t length = kQvfMaxTextLength;
    // Do not leave half a character behind: back off over UTF-8 continuation bytes.
    if (IsValidUtf8(text))
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    return std::string(text.substr(0, length));
}

std::string ReplayInfoText() {
    return "[" + GameIdText + "|" + GameEndStamp + "|B" + std::to_string(Solved3BV) + "/" +
           std::to_string(Board3BV) + "T" + FormatGameTime(GameClock.seconds, GameClock.hundredths) + "]";
}

std::string HighScoreReplayInfoText() {
    return "[" + GameIdText + "|" + GameEndStamp + "|HS|B" + std::to_string(Board3BV) + "T" +
           FormatGameTime(GameClock.seconds, GameClock.hundredths) + "]";
}

std::vector<uint8_t> BuildReplayBytes(const std::string& infoText, uint32_t eventCount, TQvfLayout* layout) {
    if (eventCount > kVideoMaxEvents) eventCount = kVideoMaxEvents;
    const uint32_t endMarkers = kCountExtra + 1;
    TQvfWriter out(std::size_t{eventCount + endMarkers} * kEventBytes + 2400);

    out.Checked(kQvfVersion);
    for (int i = 0; i < 4; ++i)
        out.Checked(static_cast<uint8_t>(1 + Random(31)));
    out.Checked(static_cast<uint8_t>(GameLevel + kLevelByteBase));
    if (GameLevel == glCustom) {
        out.Checked(LastColumn);
        out.Checked(LastRow);
        out.Checked(static_cast<uint8_t>(MineCount >> 8));
        out.Checked(static_cast<uint8_t>(MineCount & 0xFF));
    }
    for (int c = 0; c <= LastColumn && c < kMaxColumns; ++c)
        for (int r = 0; r <= LastRow && r < kMaxRows; ++r)
            if (HiddenBoard[c][r] == csMine) {
                out.Checked(static_cast<uint8_t>(r + 1));
                out.Checked(static_cast<uint8_t>(c + 1));
            }
    out.Checked(ShiftedNumberText(QvfBoardHash(HiddenBoard, LastColumn, LastRow)));
    if (layout) layout->countBegin = out.Size();
    const uint32_t stored = eventCount + kCountExtra;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.Checked(ShiftByte(static_cast<uint8_t>(stored >> shift)));

    out.Checked(Options.CountryNumber);
    const std::string id = CutQvfText(Options.UserIDText);
    if (layout) layout->idBegin = out.Size();
    out.Checked(static_cast<uint8_t>(id.size()));
    for (char c : id)
        out.Checked(ShiftByte(static_cast<uint8_t>(c)));
    out.Checked(ShiftedNumberText(QvfWeightedSum(id)));
    if (layout) layout->marksAt = out.Size();
    out.Checked(Options.doMarks ? kMarksOn : kMarksOff);
    const std::string info = CutQvfText(infoText);
    if (layout) layout->infoBegin = out.Size();
    out.Checked(static_cast<uint8_t>(info.size()));
    out.Checked(info);
    out.Checked(ShiftedNumberText(QvfWeightedSum(info)));

    if (layout) layout->eventsBegin = out.Size();
    for (uint32_t i = 0; i < eventCount; ++i)
        out.Event(EncodeVideoEvent(i, 1), i);
    // The end markers are written as zero events whatever the slots after the count hold
    // (an index outside the buffer encodes a zero event).
    for (uint32_t i = eventCount; i < eventCount + endMarkers; ++i)
        out.Event(EncodeVideoEvent(kVideoSlots, 0), i);

    out.Plain(RandomDigits(5));
    const std::string check = std::to_string(out.Check());
    if (layout) {
        layout->checkBegin = out.Size();
        layout->checkLength = check.size();
    }
    out.Plain(check);
    out.Plain(RandomDigits(5 + Random(10)));
    out.Plain(std::to_string(GameTimerInterval));
    for (uint32_t i = 5 + Random(10); i > 0; --i)
        out.Plain(static_cast<uint8_t>(Random(32)));
    out.Plain("\rcs=");
    for (int i = 0; i < 16; ++i)
        out.Plain(static_cast<uint8_t>(Random(256)));
    out.Plain("\r");
    out.Plain(id);
    out.Plain("\rMinesweeper Quorlet 0.47.");
    return out.Take();
}

bool SaveReplayFile(const std::string& fileName) {
    // A game played with cheat options is never written.
    if (IsGameUnranked() && !IsGameClean()) return false;
    return WriteReplay(fileName, false, "replay saved");
}

std::string HighScoreReplayPath() {
    const std::string name = ExpandNameTemplate(Options.ReplayFileName);
    const std::size_t slash = name.rfind('/');
    const std::size_t file = slash == std::string::npos ? 0 : slash + 1;
    return FreeNumberedFileName(Options.LastPath + name.substr(0, file) + "HI-SCORE " + name.substr(file),
                                ".qvf");
}

bool AutoSaveHighScoreReplay() {
    if (IsGameUnranked()) return false;
    // Without a program folder the name would land in whatever folder the process runs in.
    if (Options.LastPath.empty()) {
        DebugLog("#high score replay not saved: there is no program folder");
        return false;
    }
    return WriteReplay(HighScoreReplayPath(), true, "high score replay automatically saved");
}

bool LoadReplayBytes(std::span<const uint8_t> bytes) {
    TQvfReader in(bytes);
    TStagedReplay staged;
    switch (ParseReplay(in, staged)) {
    case TLoadFault::None: break;
    case TLoadFault::Global:
        DebugLog("replay load: # global load error " + VersionTail(staged.version));
        return false;
    case TLoadFault::Hacked:
        DebugLog("replay load: #" + std::to_string(in.Read()) + " file hacked 1" +
                 VersionTail(staged.version));
        return false;
    case TLoadFault::Short:
        DebugLog("#" + std::to_string(in.Read()) + " replay load unknown error " +
                 VersionTail(staged.version));
        return false;
    }
    CommitReplay(staged);
    if (UiHooks.ShowReplayFlag) UiHooks.ShowReplayFlag(ReplayCountry);
    DebugLog("replay is correct " + VersionTail(staged.version));
    return true;
}

bool LoadReplayFile(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return false;
    std::vector<uint8_t> bytes;
    try {
        // Nothing past the reader's last field is looked at; a fifo of that name is not waited on.
        std::string text;
        if (!ReadRegularFilePrefix(fileName, kQvfMaxReadBytes, text)) throw std::ios_base::failure("read");
        bytes.assign(text.begin(), text.end());
    } catch (...) {
        DebugLog("#0 replay load unknown error " + VersionTail(0));
        return false;
    }
    return LoadReplayBytes(bytes);
}

} // namespace quorlet
