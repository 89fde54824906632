// libFuzzer target: a program folder built from the input, then every reader the start-up runs
// over it (the clean-up of temporaries, the settings, both templates, the language file, the
// cursor, the history, the presets and a video). Each file of the folder is a regular file with
// the input's bytes, a folder, a fifo, a symbolic link or a sparse file of the input's size: no
// reader may wait on a fifo, read a huge file or throw, and each ends within a time limit.
//
// Input: a sequence of entries, each one byte for the name (from kNames), one for the kind,
// then for a regular file two bytes of length (little-endian) and the bytes, for a link one
// byte for its target (from kLinkTargets), for a sized file four bytes of size (at most 32 MiB).
// The very first byte tells whether another instance may be running.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/FData.h"
#include "core/autosave.h"
#include "core/programfolder.h"
#include "core/qvf.h"
#include "core/textutil.h"
#include "fuzz/fuzz_folder.h"
#include "settings/FCap.h"
#include "settings/customboard.h"
#include "settings/optionsmap.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"
#include "stats/historyfile.h"

namespace {

const std::string& Folder() {
    return FuzzFolder("startup");
}

constexpr const char* kNames[] = {
    "quorlet.dat",
    "QUORLET.DAT",
    "stats.dat",
    "_counter_template.txt",
    "_autosave_template.txt",
    "_english.lng",
    "fuzz.lng",
    "cursor.bmp",
    "cur.bmp",
    "boards",
    "replays",
    "board_presets",
    "screenshots",
    "plugins",
    "replays/x.qvf",
    "board_presets/9x9-10mines_(0.1234).qbp",
    ".quorlet.dat.Ab12Cd.quorlet-tmp",
    ".stats.dat.tmp.abc123",
    "quorlet.dat.tmp",
    "boards/.x.qbf.AAAAAA.quorlet-tmp",
    "replays/.x.qvf.tmp.zzzzzz",
};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

// Links stay inside the folder or name a device: a reader that writes must never reach out.
constexpr const char* kLinkTargets[] = {"/dev/zero", "/dev/null", "missing", ".", "boards"};
constexpr std::size_t kLinkTargetCount = sizeof kLinkTargets / sizeof kLinkTargets[0];

enum TKind : uint8_t { kRegular, kFolder, kFifo, kLink, kSized, kKindCount };

// A reader that takes longer than this on a folder this small has met something it should
// have refused.
constexpr auto kReaderLimit = std::chrono::seconds(2);

class TInput {
  public:
    TInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint32_t Take(int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t{at_ < size_ ? data_[at_++] : uint8_t{0}} << (8 * i);
        return value;
    }
    std::string Bytes(std::size_t count) {
        const std::size_t n = count < size_ - at_ ? count : size_ - at_;
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Make(const std::string& path, uint8_t kind, TInput& in) {
    namespace fs = std::filesystem;
    std::error_code ec;
    switch (kind % kKindCount) {
    case kRegular: {
        const std::string bytes = in.Bytes(in.Take(2));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) return;
        const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ::close(fd);
        (void)written;
        return;
    }
    case kFolder: fs::create_directory(path, ec); return;
    case kFifo: ::mkfifo(path.c_str(), 0600); return;
    case kLink: fs::create_symlink(kLinkTargets[in.Take(1) % kLinkTargetCount], path, ec); return;
    case kSized: {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) return;
        // Up to 32 MiB: past the history's read limit and every text file's cap.
        const bool sized = ::ftruncate(fd, static_cast<off_t>(in.Take(4) % ((32u << 20) + 1))) == 0;
        ::close(fd);
        (void)sized;
        return;
    }
    }
}

template <typename Reader> void Timed(const char* name, Reader reader) {
    const auto start = std::chrono::steady_clock::now();
    reader();
    if (std::chrono::steady_clock::now() - start > kReaderLimit) {
        std::fprintf(stderr, "reader too slow: %s\n", name);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    EmptyFuzzFolder(Folder());
    TInput in(data, size);
    const bool anotherInstance = in.Take(1) & 1;
    while (!in.Empty()) {
        const std::string name = kNames[in.Take(1) % kNameCount];
        Make(Folder() + name, static_cast<uint8_t>(in.Take(1)), in);
    }

    Options = tOptionsSet{};
    Options.LastPath = Folder();
    OptionsWindowCreated = 0;
    CountersTemplatePending = 0;
    DebugWindowOn = 1;
    DebugLogLines.clear();
    Timed("temporaries", [&] { RemoveStaleTemporaries(Folder(), anotherInstance); });
    Timed("settings", [] { LoadSettings(); });
    Timed("cursor", [] {
        Options.CursorFileName = "cur.bmp";
        LoadExternalCursor();
    });
    // The options window exists from here on: its creation loads the template.
    OptionsWindowCreated = 1;
    Timed("counters template", [] { LoadCountersTemplate(); });
    Timed("automatic saving template", [] { LoadAutosaveTemplate(); });
    Timed("language file", [] {
        Options.langFileName = "fuzz.lng";
        LoadLanguageFile();
    });
    Timed("settings read back", [] { LoadSettings(); });
    Timed("history", [] { LoadHistoryFile(); });
    Timed("folders", [] {
        ListBoardPresets();
        LanguageFileNames(Folder());
    });
    Timed("video", [] { LoadReplayFile(Folder() + "replays/x.qvf"); });
    return 0;
}
