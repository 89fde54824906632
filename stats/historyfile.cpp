#include "stats/historyfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

constexpr uint8_t kScrambleKey = 0x9E;
// Fixed offsets so that the stored bytes do not read as plain dates and times.
constexpr uint8_t kHundredthsOffset = 0x3B;
constexpr uint8_t kSecondOffset = 0x71;
constexpr uint8_t kMinuteOffset = 0x2D;
constexpr uint8_t kMonthOffset = 0xC5;
constexpr uint16_t kTimeOffset = 0x9A17;
constexpr std::size_t kCheckedBytes = 46;

uint8_t Lo(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t Hi(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}
uint16_t Join(uint8_t hi, uint8_t lo) {
    return static_cast<uint16_t>(hi << 8 | lo);
}

std::string_view AsText(const uint8_t* bytes, std::size_t count) {
    return {reinterpret_cast<const char*>(bytes), count};
}

// Closes a POSIX descriptor on every path.
class TFd {
  public:
    explicit TFd(int fd) : fd_(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The player must know when the history could not be kept.
void ReportSaveFailure(const std::string& path) {
    DebugLog("#" + UIText("0290") + " " + path);
    ShowMessageBox(UIText("0290"));
}

std::string CorruptCopyName() {
    return "stats_corrupt_" + std::to_string(Now.hour) + "h" + std::to_string(Now.minute) + "h" +
           std::to_string(Now.second) + "s-" + std::to_string(Now.day) + "d" + std::to_string(Now.month) +
           "m" + std::to_string(Now.year) + "y.dat";
}

// Cuts the file back to its first `size` bytes in place: the bytes kept are not rewritten, so
// a crash leaves the old length or the new one.
bool CutHistoryFile(const std::string& path, std::size_t size, std::string& why) {
    if (IsWriteProtected(path)) {
        why = path + ": the file is read-only";
        return false;
    }
    TFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 ||
        (static_cast<uint64_t>(st.st_size) > size && ::ftruncate(fd.get(), static_cast<off_t>(size)) != 0) ||
        ::fdatasync(fd.get()) != 0 || !fd.Close()) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Keeps a copy of the damaged file under `copyName`, then cuts it back to its first
// `validBytes` (the whole records before the damage), which the table already holds. The
// history is cut only once its copy is safe: otherwise the file stays as it is.
void HandleDamagedFile(std::size_t validBytes, const std::string& copyName) {
    const std::string path = HistoryFilePath();
    const std::string copy = Options.LastPath + copyName;
    std::string why;
    // Streamed by the kernel: a damaged file of any size costs no memory.
    if (!SafeCopyFile(path, copy, &why)) {
        DebugLog("#" + why);
        ReportSaveFailure(copy);
        return;
    }
    if (!CutHistoryFile(path, validBytes, why)) {
        DebugLog("#" + why);
        ReportSaveFailure(path);
        return;
    }
    DebugLog("#" + UIText("0183") + ": " + copy);
    ShowMessageBox(UIText("0183"));
}

} // namespace

std::string HistoryFilePath() {
    // Never a name relative to whatever folder the process runs in.
    if (Options.LastPath.empty()) return {};
    return Options.LastPath + "stats.dat";
}

std::string HistoryRecordCheck(std::string_view text) {
    if (text.empty()) return "   ";
    uint32_t s = 139;
    const std::size_t count = text.size() % 256;
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t b = static_cast<uint8_t>(text[i]);
        s += b * b + 4 * b;
    }
    return {static_cast<char>(s & 0xFF), static_cast<char>((s >> 7) & 0xFF),
            static_cast<char>((s >> 11) & 0xFF)};
}

THistoryFileRecord EncodeHistoryRecord(const TGameRecord& r) {
    THistoryFileRecord b{};
    const uint16_t time = static_cast<uint16_t>(r.timeSec + kTimeOffset);
    b[0] = static_cast<uint8_t>(50 * (r.level + 1) + r.day);
    b[1] = Lo(r.year);
    b[2] = static_cast<uint8_t>(r.timeHund + kHundredthsOffset);
    b[3] = Hi(r.bbbv);
    b[4] = static_cast<uint8_t>(r.hour + (r.rightClicks == 0 ? 100 : 0));
    b[5] = static_cast<uint8_t>(r.second + kSecondOffset);
    b[6] = Lo(time);
    b[7] = Hi(r.year);
    b[8] = Lo(r.bbbv);
    b[9] = static_cast<uint8_t>(r.minute + kMinuteOffset);
    b[10] = Hi(time);
    b[11] = static_cast<uint8_t>(r.month + kMonthOffset);
    b[12] = Lo(r.cellCount[1]);
    b[13] = Hi(r.effRightClicks);
    b[14] = Lo(r.doubleClicks);
    b[15] = Lo(r.effLeftClicks);
    b[16] = Lo(r.leftClicks);
    b[17] = Lo(r.effDoubleClicks);
    b[18] = Hi(r.rightClicks);
    b[19] = r.openings;
    b[20] = Hi(r.doubleClicks);
    b[21] = Hi(r.effLeftClicks);
    b[22] = Lo(r.effRightClicks);
    b[23] = Hi(r.cellCount[1]);
    b[24] = Hi(r.leftClicks);
    b[25] = Lo(r.rightClicks);
    b[26] = Hi(r.effDoubleClicks);
    b[27] = r.islands;
    b[28] = static_cast<uint8_t>(r.path & 0xFF);
    b[29] = static_cast<uint8_t>((r.path >> 16) & 0xFF);
    b[30] = static_cast<uint8_t>((r.path >> 8) & 0xFF);
    b[31] = 0xFF;
    for (int n = 2; n <= 8; ++n) {
        b[32 + 2 * (n - 2)] = Hi(r.cellCount[n]);
        b[33 + 2 * (n - 2)] = Lo(r.cellCount[n]);
    }
    const std::string check = HistoryRecordCheck(AsText(b.data(), kCheckedBytes));
    for (std::size_t i = 0; i < 3; ++i)
        b[kCheckedBytes + i] = static_cast<uint8_t>(check[i]);
    for (uint8_t& byte : b)
        byte ^= kScrambleKey;
    return b;
}

bool DecodeHistoryRecord(const uint8_t* stored, TGameRecord& r) {
    THistoryFileRecord b;
    for (std::size_t i = 0; i < kHistoryFileRecordSize; ++i)
        b[i] = stored[i] ^ kScrambleKey;
    const std::string check = HistoryRecordCheck(AsText(b.data(), kCheckedBytes));
    if (check != AsText(b.data() + kCheckedBytes, 3)) return false;
    r.level = static_cast<uint8_t>(b[0] / 50 - 1);
    r.day = static_cast<uint8_t>(b[0] % 50);
    r.year = Join(b[7], b[1]);
    r.timeHund = static_cast<uint8_t>(b[2] - kHundredthsOffset);
    r.bbbv = Join(b[3], b[8]);
    r.hour = static_cast<uint8_t>(b[4] % 100);
    r.second = static_cast<uint8_t>(b[5] - kSecondOffset);
    r.timeSec = static_cast<uint16_t>(Join(b[10], b[6]) - kTimeOffset);
    r.minute = static_cast<uint8_t>(b[9] - kMinuteOffset);
    r.month = static_cast<uint8_t>(b[11] - kMonthOffset);
    r.cellCount[1] = Join(b[23], b[12]);
    r.effRightClicks = Join(b[13], b[22]);
    r.doubleClicks = Join(b[20], b[14]);
    r.effLeftClicks = Join(b[21], b[15]);
    r.leftClicks = Join(b[24], b[16]);
    r.effDoubleClicks = Join(b[26], b[17]);
    r.rightClicks = Join(b[18], b[25]);
    r.openings = b[19];
    r.islands = b[27];
    r.path = uint32_t{b[28]} | uint32_t{b[30]} << 8 | uint32_t{b[29]} << 16;
    for (int n = 2; n <= 8; ++n)
        r.cellCount[n] = Join(b[32 + 2 * (n - 2)], b[33 + 2 * (n - 2)]);
    r.flagging = r.rightClicks > 0 ? 1 : 0;
    return true;
}

TGameRecord CurrentGameRecord() {
    TGameRecord r;
    r.day = static_cast<uint8_t>(Now.day);
    r.month = static_cast<uint8_t>(Now.month);
    r.year = Now.year;
    r.hour = static_cast<uint8_t>(Now.hour);
    r.minute = static_cast<uint8_t>(Now.minute);
    r.second = static_cast<uint8_t>(Now.second);
    r.timeSec = GameClock.seconds;
    r.timeHund = GameClock.hundredths;
    r.bbbv = Board3BV;
    r.level = GameLevel;
    r.flagging = RightClicks > 0 ? 1 : 0;
    for (int n = 1; n <= 8; ++n)
        r.cellCount[n] = NumberCellCounts[n];
    r.rightClicks = RightClicks;
    r.leftClicks = LeftClicks;
    r.doubleClicks = DoubleClicks;
    r.effLeftClicks = CellsOpenedByLeft;
    r.effRightClicks = FlagsOnMines;
    r.effDoubleClicks = ChordsThatOpened;
    r.openings = Openings;
    r.islands = Islands;
    // Truncated toward zero; a non-finite or negative length has no pixel count.
    const long double path = std::trunc(MousePathLength);
    r.path = std::isfinite(path) && path > 0
                 ? (path < 4294967296.0L ? static_cast<uint32_t>(path) : 0xFFFFFFFFu)
                 : 0;
    DeriveRecordFields(r);
    return r;
}

bool AppendHistoryRecord() {
    if (!Options.doHistoryLog) {
        DebugLog("# press F5 to switch it ON in options");
        DebugLog("# history was not saved becuase it is switched OFF!");
        return false;
    }
    UpdateNow();
    const THistoryFileRecord bytes = EncodeHistoryRecord(CurrentGameRecord());
    const std::string path = HistoryFilePath();
    if (path.empty()) {
        // The player was told at start-up that no game is saved.
        DebugLog("#history not saved: there is no program folder");
        return false;
    }
    // A history the player made read-only is not written to, as no writer replaces such a file.
    if (IsWriteProtected(path)) {
        ReportSaveFailure(path);
        return false;
    }
    TFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        ReportSaveFailure(path);
        return false;
    }
    // One write of the whole record: a torn record would make the next load discard the history.
    if (!WriteAll(fd.get(), bytes.data(), bytes.size())) {
        if (::ftruncate(fd.get(), st.st_size) != 0) DebugLog("#history file could not be cut back: " + path);
        ReportSaveFailure(path);
        return false;
    }
    // On the disk before the game counts as kept: a power loss must not drop a won game.
    if (::fdatasync(fd.get()) != 0 || !fd.Close()) {
        ReportSaveFailure(path);
        return false;
    }
    return true;
}

void LoadHistoryFile() {
    const std::string path = HistoryFilePath();
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        DebugLog("# no stats file found");
        return;
    }
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        // Unreadable is not damaged: the table and the file stay as they are.
        DebugLog("#" + UIText("0291") + " " + path);
        ShowMessageBox(UIText("0291"));
        return;
    }
    // Only the slots that held records are cleared: the table past the old end marker is zero
    // already, and a fill of all 262,145 slots would cost a start more than the file itself.
    const uint32_t oldEnd = HistoryRecordCount();
    LevelGameCounts = {};
    if (static_cast<uint64_t>(st.st_size) > uint64_t{kHistoryCapacity} * kHistoryFileRecordSize)
        DebugLog("#stats file holds more than " + std::to_string(kHistoryCapacity) +
                 " records: the rest is not loaded");
    // Decoded piece by piece: a full history is 12.8 MB, and a buffer of that size costs more to
    // map than the decoding itself.
    uint8_t buffer[kHistoryFileRecordSize * 1024];
    std::size_t held = 0;
    uint64_t unread = kHistoryReadLimit;
    uint32_t i = 0;
    bool badRecord = false;
    while (i < kHistoryCapacity && !badRecord && unread > 0) {
        const ssize_t n = ::read(fd.get(), buffer + held, std::min<uint64_t>(sizeof buffer - held, unread));
        if (n < 0 && errno == EINTR) continue;
        // The end of the file, or a read error: the load ends quietly with what was decoded.
        if (n <= 0) break;
        held += static_cast<std::size_t>(n);
        unread -= static_cast<uint64_t>(n);
        std::size_t used = 0;
        for (; used + kHistoryFileRecordSize <= held && i < kHistoryCapacity;
             used += kHistoryFileRecordSize) {
            TGameRecord slot;
            if (!DecodeHistoryRecord(buffer + used, slot)) {
                badRecord = true;
                break;
            }
            if (slot.level <= glExpert) ++LevelGameCounts[slot.level];
            DeriveRecordFields(slot);
            GameHistory[i] = slot;
            ++i;
        }
        std::memmove(buffer, buffer + used, held - used);
        held -= used;
    }
    // The end marker, and the old records past the new end.
    std::fill(GameHistory.begin() + i, GameHistory.begin() + std::max(i, oldEnd) + 1, TGameRecord{});
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    if (!badRecord && size % kHistoryFileRecordSize == 0) return;
    fd.Close();
    // A fresh Now: two copies made within one run must not share a name.
    UpdateNow();
    // Records past the table's capacity were not checked: they are kept as they are.
    const std::size_t valid =
        badRecord ? std::size_t{i} * kHistoryFileRecordSize : size - size % kHistoryFileRecordSize;
    const std::string copyName = CorruptCopyName();
    // Copying a file larger than what was read costs more than the load: not before the
    // window shows. The file is cut only as it was found (a game won since adds a record).
    if (size > kHistoryReadLimit && UiHooks.RunAfterWindowShown) {
        UiHooks.RunAfterWindowShown([valid, copyName, found = st] {
            struct stat now {};
            const std::string path = HistoryFilePath();
            if (::stat(path.c_str(), &now) != 0 || now.st_ino != found.st_ino || now.st_dev != found.st_dev ||
                now.st_size != found.st_size) {
                DebugLog("#damaged stats file changed before its copy: " + path);
                return;
            }
            HandleDamagedFile(valid, copyName);
        });
        return;
    }
    HandleDamagedFile(valid, copyName);
}

} // namespace quorlet
