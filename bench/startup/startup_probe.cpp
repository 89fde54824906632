// The real start-up: process launch to a painted window on an X display (run it under
// xvfb-run), for the game from an empty program folder, for the game with a full history of
// 262,144 games, and for a bare Qt window, interleaved in one run. A window counts as painted
// once a quarter of it shows the board's grey (the root window's pattern never does). Prints
// min / median / max and the resident, proportional and private memory of each, with the load
// average before and after. Fails when a median passes 1.5 x the bare window's, or when the
// resident memory passes 1.5 x and the private memory 2 x the bare window's (the history's own
// table left out); on a busy machine
// (load average above 2) it prints no ratio and does not fail.
#include <xcb/xcb.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_fullhistory.h"
#include "bench/main/benchrun.h"
#include "core/FData.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr auto kGiveUp = std::chrono::seconds(20);
// Resident memory is read once the start has settled.
constexpr auto kSettle = std::chrono::milliseconds(300);

struct TMemory {
    double resident = 0, proportional = 0, privateMb = 0;
};

struct TSample {
    double milliseconds = 0;
    TMemory memory;
};

// What a program was started with.
struct TSubject {
    std::string name;
    std::string program;
    // A "stats.dat" to start with; empty for an empty program folder.
    std::string history;
    std::vector<TSample> samples;
};

struct TDisplay {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

std::vector<xcb_window_t> ViewableChildren(const TDisplay& d) {
    std::vector<xcb_window_t> out;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(d.connection, xcb_query_tree(d.connection, d.root), nullptr);
    if (!tree) return out;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int n = xcb_query_tree_children_length(tree);
    for (int i = 0; i < n; ++i) {
        xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(
            d.connection, xcb_get_window_attributes(d.connection, children[i]), nullptr);
        if (a && a->map_state == XCB_MAP_STATE_VIEWABLE) out.push_back(children[i]);
        free(a);
    }
    free(tree);
    return out;
}

bool Painted(const TDisplay& d, xcb_window_t window) {
    xcb_get_geometry_reply_t* g =
        xcb_get_geometry_reply(d.connection, xcb_get_geometry(d.connection, window), nullptr);
    if (!g) return false;
    const int w = g->width, h = g->height;
    free(g);
    if (w < 40 || h < 40) return false;
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        d.connection, xcb_get_image(d.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, w, h, ~0u),
        nullptr);
    if (!image) return false;
    const int bytes = xcb_get_image_data_length(image);
    const uint8_t* data = xcb_get_image_data(image);
    long grey = 0, pixels = 0;
    // 24-bit depth travels as 32 bits per pixel.
    for (int i = 0; i + 3 < bytes; i += 4, ++pixels)
        if ((uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16) == kGrey) ++grey;
    free(image);
    return pixels > 0 && grey * 4 >= pixels;
}

// Resident, proportional and private memory in MB, from the kernel's summary of the mappings.
TMemory MemoryOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    TMemory m;
    std::string line;
    const auto field = [&line](const char* name, double& into) {
        const std::size_t n = std::strlen(name);
        if (line.compare(0, n, name) == 0) into += std::atof(line.c_str() + n) / 1024.0;
    };
    while (std::getline(rollup, line)) {
        field("Rss:", m.resident);
        field("Pss:", m.proportional);
        field("Private_Clean:", m.privateMb);
        field("Private_Dirty:", m.privateMb);
    }
    return m;
}

// Record i of a valid history of varied records.
quorlet::TGameRecord ProbeRecord(uint32_t i) {
    quorlet::TGameRecord r;
    r.level = static_cast<uint8_t>(i % 3);
    r.day = static_cast<uint8_t>(1 + i % 28);
    r.month = static_cast<uint8_t>(1 + i % 12);
    r.year = static_cast<uint16_t>(2005 + i % 21);
    r.hour = static_cast<uint8_t>(i % 24);
    r.minute = static_cast<uint8_t>(i % 60);
    r.second = static_cast<uint8_t>(i / 7 % 60);
    r.timeSec = static_cast<uint16_t>(1 + i % 400);
    r.timeHund = static_cast<uint8_t>(i % 100);
    r.bbbv = static_cast<uint16_t>(2 + i % 250);
    r.rightClicks = static_cast<uint16_t>(i % 2 * (i % 50));
    r.leftClicks = static_cast<uint16_t>(1 + i % 300);
    return r;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool Measure(const TDisplay& d, const std::string& program, const std::string& history, TSample& sample) {
    const std::vector<xcb_window_t> before = ViewableChildren(d);
    const std::set<xcb_window_t> old(before.begin(), before.end());
    const auto home =
        std::filesystem::temp_directory_path() / ("quorlet-startup-" + std::to_string(getpid()) + "-" +
                                                  std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(home);
    if (!history.empty()) {
        std::error_code ec;
        std::filesystem::create_hard_link(history, home / "stats.dat", ec);
        if (ec) std::filesystem::copy_file(history, home / "stats.dat");
    }
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QUORLET_HOME", home.c_str(), 1);
        const std::string runtime = (home / "run").string();
        if (!getenv("XDG_RUNTIME_DIR") && mkdir(runtime.c_str(), 0700) == 0)
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    bool painted = false;
    while (!painted && Clock::now() - start < kGiveUp) {
        for (xcb_window_t w : ViewableChildren(d))
            if (!old.count(w) && Painted(d, w)) painted = true;
        if (!painted) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    sample.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(kSettle);
    sample.memory = MemoryOf(pid);
    Stop(pid);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return painted;
}

struct TSummary {
    double min, median, max;
    TMemory memory; // the medians
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

TSummary Summarise(const std::vector<TSample>& samples) {
    std::vector<double> ms, rss, pss, priv;
    for (const TSample& s : samples) {
        ms.push_back(s.milliseconds);
        rss.push_back(s.memory.resident);
        pss.push_back(s.memory.proportional);
        priv.push_back(s.memory.privateMb);
    }
    return {*std::min_element(ms.begin(), ms.end()),
            Median(ms),
            *std::max_element(ms.begin(), ms.end()),
            {Median(rss), Median(pss), Median(priv)}};
}


} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS GAME BARE_WINDOW (on an X display)\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    TDisplay d;
    int screenNumber = 0;
    d.connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d.connection)) {
        std::fprintf(stderr, "no X display (run under xvfb-run -a)\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(d.connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    d.root = it.data->root;

    const auto historyFile = std::filesystem::temp_directory_path() /
                             ("quorlet-startup-history-" + std::to_string(getpid()) + ".dat");
    quorlet::bench::WriteHistoryFile(historyFile.string(), quorlet::kHistoryCapacity, ProbeRecord);
    std::vector<TSubject> subjects = {{"bare window", argv[3], "", {}},
                                      {"game, empty folder", argv[2], "", {}},
                                      {"game, 262,144 games", argv[2], historyFile.string(), {}}};
    const double loadBefore = quorlet::bench::LoadAverage();
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so a busy moment of the machine falls on all alike.
        for (TSubject& subject : subjects) {
            TSample s;
            if (!Measure(d, subject.program, subject.history, s)) {
                std::fprintf(stderr, "%s: no painted window within %lld s\n", subject.program.c_str(),
                             static_cast<long long>(kGiveUp.count()));
                std::filesystem::remove(historyFile);
                return 1;
            }
            subject.samples.push_back(s);
        }
    }
    const double loadAfter = quorlet::bench::LoadAverage();
    xcb_disconnect(d.connection);
    std::filesystem::remove(historyFile);

    std::printf(
        "Real start to a painted window, %d runs each, interleaved; load average %.2f before, %.2f after\n",
        runs, loadBefore, loadAfter);
    std::printf("  %-20s %7s / %7s / %7s ms   %9s %9s %9s\n", "", "min", "median", "max", "resident", "Pss",
                "private");
    std::vector<TSummary> sums;
    for (const TSubject& subject : subjects) {
        const TSummary t = Summarise(subject.samples);
        sums.push_back(t);
        std::printf("  %-20s %7.1f / %7.1f / %7.1f ms   %6.1f MB %6.1f MB %6.1f MB\n", subject.name.c_str(),
                    t.min, t.median, t.max, t.memory.resident, t.memory.proportional, t.memory.privateMb);
    }
    if (loadBefore > quorlet::bench::kBusyLoad || loadAfter > quorlet::bench::kBusyLoad) {
        std::printf("  the machine was busy (load average above %.0f): no ratio reported\n", quorlet::bench::kBusyLoad);
        return 0;
    }
    const TSummary& bare = sums[0];
    bool met = true;
    for (std::size_t i = 1; i < sums.size(); ++i) {
        const TSummary& g = sums[i];
        // A full history is 20 MB of the player's own data in its table: the memory ratios leave it out.
        const double table =
            subjects[i].history.empty() ? 0 : sizeof(quorlet::GameHistory) / (1024.0 * 1024.0);
        const double time = g.median / bare.median,
                     resident = (g.memory.resident - table) / bare.memory.resident,
                     priv = (g.memory.privateMb - table) / bare.memory.privateMb;
        if (table > 0)
            std::printf("  (the memory ratios below leave out the %.1f MB history table)\n", table);
        const bool ok = time <= 1.5 && (resident <= 1.5 || priv <= 2.0);
        met = met && ok;
        std::printf("  %-20s median %.2f x, resident %.2f x, private %.2f x the bare window "
                    "(target: median <= 1.50 x; resident <= 1.50 x or private <= 2.00 x)%s\n",
                    subjects[i].name.c_str(), time, resident, priv, ok ? "" : "  MISSED");
    }
    return met ? 0 : 1;
}
