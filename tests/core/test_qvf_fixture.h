// Shared helpers for the video-file tests: a fixture that logs, played games, and an encoder of
// our own written from the file layout, so the reader is checked against more than its writer.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/FData.h"
#include "core/qvf.h"
#include "test_mouse_fixture.h"

namespace quorlet::test {

class QvfTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        // Fixed stamps and filler, so the files are the same at every run.
        SystemTimeSource = [] { return TSystemTime{2024, 3, 0, 5, 14, 30, 15, 250}; };
        RandomSeed = 12345;
        Options.UserIDText = "Ann";
        Options.CountryNumber = 7;
        GameIdText = "0|5.3.2024.14:30:15:250";
    }

    // True when a debug-log line (after its time stamp) is exactly text.
    static bool Logged(const std::string& text) {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
        return false;
    }

    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

// A Beginner game won through the mouse routines: the opening, then the four lone numbers,
// with clock ticks and moves between the clicks (3BV 5).
inline void PlayWonBeginnerGame() {
    StartLoadedGame(kBeginnerBoard, glBeginner);
    const int cells[][2] = {{7, 3}, {1, 0}, {3, 0}, {5, 0}, {7, 0}};
    for (const auto& cell : cells) {
        Ticks(7);
        BoardMouseMove(TMouseSender::Board, Px(cell[0]), Px(cell[1]));
        Click(mbLeft, cell[0], cell[1]);
    }
}

// A custom game, left unfinished: flags, a question mark and a chord on a 9 x 8 board.
inline constexpr std::string_view kCustomBoard = "*........\n"
                                                 ".*.......\n"
                                                 ".........\n"
                                                 ".........\n"
                                                 "....*....\n"
                                                 ".........\n"
                                                 ".......**\n"
                                                 ".........\n";
inline void PlayCustomGame() {
    Options.doMarks = true;
    StartLoadedGame(kCustomBoard, glCustom);
    Ticks(3);
    Click(mbLeft, 5, 1);
    Ticks(12);
    Click(mbRight, 4, 4);
    Click(mbRight, 0, 0);
    Click(mbRight, 0, 0);
    Ticks(30);
    Click(mbMiddle, 4, 3);
}

// An independent encoder of the layout: fields 1 to 16 from plain values, nothing else.
struct THandMadeQvf {
    uint8_t level = 3;                      // the level byte
    std::array<uint8_t, 4> custom{};        // written for level 6
    std::vector<std::pair<int, int>> mines; // (column, row), in file order
    // Pair bytes (row byte, column byte) written as they are after the mines and left out of the
    // board hash: a pair off the board changes no cell a reader without bounds checks would hash.
    std::vector<std::pair<uint8_t, uint8_t>> rawPairs;
    std::string id = "x";
    uint8_t country = 0;
    uint8_t marks = 127;
    std::string info = "[hand]";
    std::vector<std::array<uint8_t, 8>> events; // all of field 14, end markers included
    int64_t checkDelta = 0;                     // added to the stored check value

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        uint64_t check = 0;
        auto put = [&](uint8_t b) {
            out.push_back(b);
            check += b;
        };
        auto shifted = [&](uint64_t value) {
            for (char c : std::to_string(value))
                put(static_cast<uint8_t>(c - 0xB6));
        };
        auto weighted = [](const std::string& text) {
            uint64_t sum = 0;
            for (std::size_t i = 0; i < text.size(); ++i)
                sum += static_cast<unsigned char>(text[i]) * (i + 1);
            return sum;
        };
        put('/');
        for (uint8_t b : {1, 2, 3, 4})
            put(b);
        put(level);
        int columns = 8, rows = 8;
        if (level == 4) columns = rows = 16;
        if (level == 5) columns = 30, rows = 16;
        if (level == 6) {
            for (uint8_t b : custom)
                put(b);
            columns = custom[0] + 1, rows = custom[1] + 1;
        }
        std::vector<std::vector<int>> mine(columns, std::vector<int>(rows, 0));
        for (auto [c, r] : mines) {
            put(static_cast<uint8_t>(r + 1));
            put(static_cast<uint8_t>(c + 1));
            mine[c][r] = 1;
        }
        for (auto [rowByte, columnByte] : rawPairs) {
            put(rowByte);
            put(columnByte);
        }
        uint64_t hash = 0;
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r) {
                int n = 0;
                for (int dc = -1; dc <= 1; ++dc)
                    for (int dr = -1; dr <= 1; ++dr) {
                        const int x = c + dc, y = r + dr;
                        if ((dc || dr) && x >= 0 && y >= 0 && x < columns && y < rows) n += mine[x][y];
                    }
                hash += static_cast<uint64_t>(mine[c][r] ? 10 : n + 1) * (c * r + c);
            }
        shifted(hash);
        const uint32_t count = static_cast<uint32_t>(events.size()) - 1;
        for (int s = 24; s >= 0; s -= 8)
            put(static_cast<uint8_t>((count >> s) - 0xB6));
        put(country);
        put(static_cast<uint8_t>(id.size()));
        for (char c : id)
            put(static_cast<uint8_t>(c - 0xB6));
        shifted(weighted(id));
        put(marks);
        put(static_cast<uint8_t>(info.size()));
        for (char c : info)
            put(static_cast<uint8_t>(c));
        shifted(weighted(info));
        for (std::size_t i = 0; i < events.size(); ++i) {
            uint64_t sum = 0;
            for (uint8_t b : events[i])
                sum += b;
            out.insert(out.end(), events[i].begin(), events[i].end());
            check += sum * (i % 256 + 1);
        }
        for (char c :
             std::string("12345") + std::to_string(static_cast<int64_t>(check) + checkDelta) + "987654\r")
            out.push_back(static_cast<uint8_t>(c));
        return out;
    }
};

// An event in the eight-byte form: stored time = seconds + 1.
inline std::array<uint8_t, 8> HandEvent(uint8_t flags, uint16_t seconds, uint8_t hundredths, uint16_t x,
                                        uint16_t y) {
    const uint16_t t = static_cast<uint16_t>(seconds + 1);
    return {static_cast<uint8_t>(flags | 1),
            static_cast<uint8_t>(x >> 8),
            static_cast<uint8_t>(t & 0xFF),
            static_cast<uint8_t>(x & 0xFF),
            hundredths,
            static_cast<uint8_t>(y >> 8),
            static_cast<uint8_t>(t >> 8),
            static_cast<uint8_t>(y & 0xFF)};
}
inline constexpr std::array<uint8_t, 8> kEndMarker{1, 0, 0, 0, 0, 0, 0, 0};

// The Beginner board of kBeginnerBoard as a hand-made file with a few events.
inline THandMadeQvf HandBeginner() {
    THandMadeQvf f;
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r)
            if (kBeginnerBoard[r * 9 + c] == '*') f.mines.emplace_back(c, r);
    f.events = {HandEvent(0, 0, 0, 40, 40), HandEvent(2, 0, 5, 117, 53), HandEvent(4, 0, 6, 117, 53)};
    for (int i = 0; i < 6; ++i)
        f.events.push_back(kEndMarker);
    return f;
}

} // namespace quorlet::test
