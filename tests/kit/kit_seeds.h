// Writes a stable seed file of a kit fuzz target into fuzz/corpus/<target>/ (only when the
// corpus folder is there, and only when the bytes changed, so the corpus does not churn).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorlet::test {

inline void WriteKitSeed(const std::string& target, const std::string& name, const std::string& bytes) {
    namespace fs = std::filesystem;
    const fs::path corpus = fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus";
    if (!fs::is_directory(corpus)) return;
    fs::create_directories(corpus / target);
    const fs::path path = corpus / target / name;
    std::ifstream old(path, std::ios::binary);
    const std::string existing((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
    if (existing != bytes) std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace quorlet::test
