// Start-up reads the settings file once; it must stay well under 10 ms for a full file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/FData.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/settingsfile.h"

namespace {

std::filesystem::path BenchFolder() {
    auto folder =
        std::filesystem::temp_directory_path() / ("quorlet-bench-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_LoadSettingsFullFile(benchmark::State& state) {
    const auto folder = BenchFolder();
    quorlet::ResetGlobals();
    ::setenv("QUORLET_HOME", folder.c_str(), 1);
    quorlet::Options.LastPath = folder.string() + "/";
    quorlet::ApplyDefaultSettings();
    quorlet::SaveSettings();
    // As at a real start: the default language file is there and is read as well.
    quorlet::InstallEnglishLanguageFile();
    for (auto _ : state) {
        quorlet::LoadSettings();
        benchmark::DoNotOptimize(quorlet::Options.CounterRefresh);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadSettingsFullFile)->Unit(benchmark::kMicrosecond);

void BM_LoadLanguageFileEnglish(benchmark::State& state) {
    const auto folder = BenchFolder();
    quorlet::ResetGlobals();
    quorlet::Options.LastPath = folder.string() + "/";
    quorlet::Options.langFileName = quorlet::kEnglishLanguageFileName;
    quorlet::InstallEnglishLanguageFile();
    for (auto _ : state) {
        quorlet::LoadLanguageFile();
        benchmark::DoNotOptimize(quorlet::UITextTable[0].data());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadLanguageFileEnglish)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
    const auto folder = BenchFolder();
    quorlet::ResetGlobals();
    quorlet::Options.LastPath = folder.string() + "/";
    quorlet::ApplyDefaultSettings();
    for (auto _ : state)
        quorlet::SaveSettings();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

} // namespace
