// Diagnostic reports for the debug log: CPU speed, memory usage, the debug session block and
// the system report written when the debug window is created. Reads uname, sysconf, /proc.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quorlet {

struct TMemoryStatus {
    uint64_t totalBytes = 0;
    uint64_t availableBytes = 0;
};

// Total and available physical memory from a /proc/meminfo text; empty when either is missing.
std::optional<TMemoryStatus> ParseMemInfo(const std::string& text);
// The system's memory status (/proc/meminfo, else sysconf); empty when neither answers.
std::optional<TMemoryStatus> ReadMemoryStatus();

// MHz from two time-stamp counter readings wait(10), read, wait(500), read: the low 32 bits of
// the difference divided by 500,000. The default waits sleep and read the processor's counter.
using TWaitMs = std::function<void(unsigned milliseconds)>;
using TReadCounter = std::function<uint64_t()>;
uint32_t MeasureCpuMHz(const TWaitMs& wait = {}, const TReadCounter& readCounter = {});
// "CPU speed = <MHz> MHz" (blocks for about half a second).
void LogCpuSpeed();

// Called by each new game: at most one entry a minute comparing available memory with the last.
void LogMemoryUsage();
// The same with a given available amount (the system's reading goes through here).
void LogMemoryUsage(uint64_t availableBytes);

// The session block (start time, board clicks), written END first so it reads START on top.
void LogDebugSessionInfo();

// "<MB>,<tenth>" for a byte count, as the memory line shows it.
std::string MegabytesText(uint64_t bytes);

// "Linux 6.1 build 12, #1 SMP ..." from uname's fields: name, then major.minor, the build
// (third number of the release, low 16 bits) and the version text. Missing numbers count 0.
std::string PlatformText(const std::string& sysname, const std::string& release, const std::string& version);

// The start-up system report of the debug window, which opens the log (OpenDebugLog); windowId
// is shown as the process window.
// readMemory replaces the system's memory status (tests); when no status can be had, the report
// stops with the "Unable to scan system parameters." message.
using TReadMemoryStatus = std::function<std::optional<TMemoryStatus>()>;
void LogStartupSystemReport(uint64_t windowId, const TReadMemoryStatus& readMemory = {});

} // namespace quorlet
