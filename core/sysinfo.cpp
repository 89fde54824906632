#include "core/sysinfo.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/nametemplate.h"
#include "core/textutil.h"

namespace quorlet {

namespace {

uint64_t ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    // Without a readable cycle counter, nanoseconds: the result then reads as 1000 "MHz".
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

void SleepMs(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string TwoDigits(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u", value);
    return buf;
}

// The keyboard layout has no engine-side name here; the session's locale stands for it.
std::string LanguageName() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return value;
    }
    return "C";
}

} // namespace

std::optional<TMemoryStatus> ParseMemInfo(const std::string& text) {
    std::istringstream in(text);
    std::string key;
    std::optional<uint64_t> total, available, free;
    while (in >> key) {
        uint64_t value = 0;
        if (!(in >> value)) break;
        std::string unit;
        std::getline(in, unit);
        const uint64_t bytes = unit.find("kB") != std::string::npos ? value * 1024 : value;
        if (key == "MemTotal:")
            total = bytes;
        else if (key == "MemAvailable:")
            available = bytes;
        else if (key == "MemFree:")
            free = bytes;
    }
    if (!available) available = free; // kernels before 3.14 have no MemAvailable
    if (!total || !available) return std::nullopt;
    return TMemoryStatus{*total, *available};
}

std::optional<TMemoryStatus> ReadMemoryStatus() {
    std::ifstream file("/proc/meminfo");
    if (file) {
        std::ostringstream text;
        text << file.rdbuf();
        if (auto status = ParseMemInfo(text.str())) return status;
    }
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long avail = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || avail < 0 || pageSize <= 0) return std::nullopt;
    return TMemoryStatus{uint64_t(pages) * uint64_t(pageSize), uint64_t(avail) * uint64_t(pageSize)};
}

uint32_t MeasureCpuMHz(const TWaitMs& wait, const TReadCounter& readCounter) {
    const TWaitMs& doWait = wait ? wait : TWaitMs(SleepMs);
    const TReadCounter& read = readCounter ? readCounter : TReadCounter(ReadTimeStampCounter);
    doWait(10);
    const uint64_t first = read();
    doWait(500);
    const uint64_t second = read();
    const uint32_t ticks = static_cast<uint32_t>(second - first);
    return ticks / 500000u;
}

void LogCpuSpeed() {
    try {
        DebugLog("CPU speed = " + std::to_string(MeasureCpuMHz()) + " MHz");
    } catch (...) {
    }
}

void LogMemoryUsage(uint64_t availableBytes) {
    UpdateNow();
    if (Now.hour == MemoryLogHour && Now.minute == MemoryLogMinute) return;
    const uint64_t last = MemoryLogAvailable;
    MemoryLogAvailable = availableBytes;
    MemoryLogHour = static_cast<uint8_t>(Now.hour);
    MemoryLogMinute = static_cast<uint8_t>(Now.minute);
    std::string line = "memory_usage: [" + TwoDigits(Now.hour) + ":" + TwoDigits(Now.minute) + "] " +
                       std::to_string(availableBytes);
    if (availableBytes < last)
        line += " ==> free " + std::to_string(last - availableBytes);
    else
        line += " ==> used " + std::to_string(availableBytes - last);
    DebugLog(line);
}

void LogMemoryUsage() {
    try {
        if (auto status = ReadMemoryStatus()) LogMemoryUsage(status->availableBytes);
    } catch (...) {
    }
}

void LogDebugSessionInfo() {
    DebugLog("*** END OF DEBUG_SESSION_INFO ***");
    const TSystemTime& s = SessionStart;
    DebugLog("*** STARTING DEBUG_SESSION_INFO ***\r\nsess_start = " + std::to_string(s.year) + "." +
             std::to_string(s.month) + "." + std::to_string(s.day) + " " + std::to_string(s.hour) + ":" +
             std::to_string(s.minute) + ":" + std::to_string(s.second) +
             "\r\nsess_clicks = " + std::to_string(SessionClicks) + "\r\n");
}

std::string PlatformText(const std::string& sysname, const std::string& release, const std::string& version) {
    unsigned major = 0, minor = 0, build = 0;
    std::sscanf(release.c_str(), "%u.%u.%u", &major, &minor, &build);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " %u.%u build %u, ", major, minor, build & 0xFFFFu);
    return sysname + numbers + version;
}

std::string MegabytesText(uint64_t bytes) {
    return std::to_string(bytes / 1048576u) + "," + std::to_string((bytes / 104857u) % 10u);
}

void LogStartupSystemReport(uint64_t windowId, const TReadMemoryStatus& readMemory) {
    OpenDebugLog();
    try {
        DebugLog("path      | " + Options.LastPath);

        char handle[16];
        std::snprintf(handle, sizeof handle, "%08X", static_cast<unsigned>(windowId & 0xFFFFFFFFu));
        DebugLog("date      | " + ExpandNameTemplate("<DDD>, <DD>.<MM>.<YYYY>,") + " process 0x" + handle +
                 " launched");

        DebugLog("cpu speed | run the command get_cpu_speed");

        UpdateNow();
        const auto memory = readMemory ? readMemory() : ReadMemoryStatus();
        if (!memory) throw std::runtime_error("no memory status");
        MemoryLogAvailable = memory->availableBytes;
        MemoryLogHour = static_cast<uint8_t>(Now.hour);
        MemoryLogMinute = static_cast<uint8_t>(Now.minute);
        DebugLog("memory    | " + MegabytesText(memory->availableBytes) + " of " +
                 MegabytesText(memory->totalBytes) + " MB RAM free");

        struct utsname name {};
        if (::uname(&name) == 0)
            DebugLog("platform  | " + PlatformText(name.sysname, name.release, name.version));

        const int32_t bias = TimeZoneBias;
        const int32_t absBias = bias < 0 ? -bias : bias;
        DebugLog("timezone  | " + TimeZoneName + (bias < 0 ? " (GMT +" : " (GMT -") +
                 std::to_string(absBias / 60) + ":" + TwoDigits(unsigned(absBias % 60)) + ")");

        DebugLog("language  | " + LanguageName());

        DebugLog("---");
        DebugLog("warp field stabilized. opening gate to the minesweeper world");
        DebugLog("---");
        DebugLog("who of them got the skills to test me?");
        DebugLog("---");

        if (DebugModeFlag) {
            DebugLog("run debug mode. debug protocol saved.");
            SaveDebugLog();
        }
    } catch (...) {
        ShowMessageBox("Unable to scan system parameters.");
        DebugLog("unable to scan system parameters");
    }
}

} // namespace quorlet
