// Writes the seed files of the video-file fuzz target (fuzz/corpus/qvf/) and checks that each
// one is read as intended. The files are the same at every run, so the corpus does not churn.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/qvf.h"
#include "test_qvf_fixture.h"

namespace quorlet {
namespace {

using test::QvfTest;
namespace fs = std::filesystem;

struct TSeed {
    std::string name;
    std::vector<uint8_t> bytes;
    bool loads;
};

std::vector<TSeed> BuildSeeds() {
    std::vector<TSeed> seeds;
    // No automatic save: it would draw filler from Random and change the seeds' bytes.
    AutosaveTemplateLines.clear();
    test::PlayWonBeginnerGame();
    seeds.push_back({"saved_beginner_won", BuildReplayBytes(ReplayInfoText(), VideoEventCount), true});
    test::PlayCustomGame();
    seeds.push_back({"saved_custom_marks", BuildReplayBytes(ReplayInfoText(), VideoEventCount), true});

    test::THandMadeQvf beginner = test::HandBeginner();
    beginner.marks = 17;
    beginner.country = 83;
    seeds.push_back({"hand_beginner", beginner.Bytes(), true});

    test::THandMadeQvf tiny;
    tiny.level = 6;
    tiny.custom = {0, 0, 0, 1};
    tiny.mines = {{0, 0}};
    tiny.events.assign(6, test::kEndMarker);
    seeds.push_back({"hand_custom_1x1", tiny.Bytes(), true});

    test::THandMadeQvf full = tiny;
    full.custom = {29, 29, 900 >> 8, 900 & 0xFF};
    full.mines.clear();
    for (int c = 0; c < 30; ++c)
        for (int r = 0; r < 30; ++r)
            full.mines.emplace_back(c, r);
    seeds.push_back({"hand_custom_full", full.Bytes(), true});

    test::THandMadeQvf expert = test::HandBeginner();
    expert.level = 5;
    expert.mines.clear();
    for (int i = 0; i < 99; ++i)
        expert.mines.emplace_back(i / 16 * 2, i % 16);
    expert.events.insert(expert.events.begin() + 3, test::HandEvent(0x18, 998, 99, 479, 255));
    seeds.push_back({"hand_expert", expert.Bytes(), true});

    test::THandMadeQvf plus256 = test::HandBeginner();
    plus256.checkDelta = 256;
    seeds.push_back({"hand_check_plus_256", plus256.Bytes(), true});
    test::THandMadeQvf plus1 = test::HandBeginner();
    plus1.checkDelta = 1;
    seeds.push_back({"hand_check_plus_1", plus1.Bytes(), false});

    test::THandMadeQvf marks = test::HandBeginner();
    marks.marks = 18;
    seeds.push_back({"hand_wrong_marks", marks.Bytes(), false});

    std::vector<uint8_t> cut = test::HandBeginner().Bytes();
    cut.resize(cut.size() / 2);
    seeds.push_back({"hand_truncated", cut, false});
    return seeds;
}

TEST_F(QvfTest, SeedCorpusFilesAreWrittenAndReadAsIntended) {
    const std::vector<TSeed> seeds = BuildSeeds();
    const fs::path corpus = fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus";
    const bool write = fs::is_directory(corpus);
    for (const TSeed& seed : seeds) {
        SCOPED_TRACE(seed.name);
        EXPECT_LE(seed.bytes.size(), 4096u); // the fuzz runs' length limit
        EXPECT_EQ(LoadReplayBytes(seed.bytes), seed.loads);
        if (!write) continue;
        const std::string path = (corpus / "qvf" / seed.name).string();
        fs::create_directories(corpus / "qvf");
        if (ReadBytes(path) != seed.bytes) WriteBytes(path, seed.bytes);
    }
}

} // namespace
} // namespace quorlet
