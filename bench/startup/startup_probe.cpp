// The real start-up: process launch to a painted window on an X display (run it under
// xvfb-run), for the game from an empty program folder and for a bare Qt window, side by
// side. A window counts as painted once a quarter of it shows the board's grey (the root
// window's pattern never does). Prints min / median / max and the resident memory of each,
// and fails when the game's median or memory passes 1.5 x the bare window's.
#include <xcb/xcb.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr auto kGiveUp = std::chrono::seconds(20);
// Resident memory is read once the start has settled.
constexpr auto kSettle = std::chrono::milliseconds(300);

struct TSample {
    double milliseconds = 0;
    double residentMb = 0;
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

double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
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

bool Measure(const TDisplay& d, const std::string& program, TSample& sample) {
    const std::vector<xcb_window_t> before = ViewableChildren(d);
    const std::set<xcb_window_t> old(before.begin(), before.end());
    const auto home =
        std::filesystem::temp_directory_path() / ("quorlet-startup-" + std::to_string(getpid()) + "-" +
                                                  std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(home);
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
    sample.residentMb = ResidentMb(pid);
    Stop(pid);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return painted;
}

struct TSummary {
    double min, median, max, residentMb;
};

TSummary Summarise(std::vector<TSample> samples) {
    std::sort(samples.begin(), samples.end(),
              [](auto& a, auto& b) { return a.milliseconds < b.milliseconds; });
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2].milliseconds
                                : (samples[n / 2 - 1].milliseconds + samples[n / 2].milliseconds) / 2;
    std::vector<double> rss;
    for (auto& s : samples)
        rss.push_back(s.residentMb);
    std::sort(rss.begin(), rss.end());
    return {samples.front().milliseconds, median, samples.back().milliseconds, rss[n / 2]};
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

    std::vector<TSample> game, bare;
    for (int i = 0; i < runs; ++i) {
        // Alternated, so a busy moment of the machine falls on both alike.
        for (auto* list : {&bare, &game}) {
            TSample s;
            if (!Measure(d, list == &game ? argv[2] : argv[3], s)) {
                std::fprintf(stderr, "%s: no painted window within %lld s\n",
                             list == &game ? argv[2] : argv[3], static_cast<long long>(kGiveUp.count()));
                return 1;
            }
            list->push_back(s);
        }
    }
    xcb_disconnect(d.connection);
    const TSummary g = Summarise(game), b = Summarise(bare);
    std::printf("Real start to a painted window, %d runs each (ms: min / median / max; resident MB)\n", runs);
    std::printf("  game         %7.1f / %7.1f / %7.1f   %6.1f MB\n", g.min, g.median, g.max, g.residentMb);
    std::printf("  bare window  %7.1f / %7.1f / %7.1f   %6.1f MB\n", b.min, b.median, b.max, b.residentMb);
    const double timeRatio = g.median / b.median, memoryRatio = g.residentMb / b.residentMb;
    std::printf("  ratio        median %.2f x, resident %.2f x (target at most 1.50 x)\n", timeRatio,
                memoryRatio);
    return timeRatio <= 1.5 && memoryRatio <= 1.5 ? 0 : 1;
}
