#include "core/playback.h"

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/metrics.h"
#include "core/mouseinput.h"
#include "core/nametemplate.h"
#include "core/newgame.h"
#include "core/qvf.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

// The format version our own recorder writes ("/"): its rules hold for a preview.
constexpr uint8_t kOwnVideoVersion = 47;
constexpr uint16_t kEndSeconds = 1000;

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

// The last slot a walk over the video may look at.
uint32_t LastIndex() {
    return std::min<uint32_t>(VideoEventCount, kVideoSlots - 1);
}

bool IsEndStamp(const TVideoEvent& e) {
    return e.seconds == kEndSeconds && e.hundredths == 0;
}

bool IsZeroStamp(const TVideoEvent& e) {
    return e.seconds == 0 && e.hundredths == 0;
}

bool HasPosition(const TVideoEvent& e) {
    return e.x != 0 || e.y != 0;
}

// A move or tick sample; a press or release must keep its place, or it acts on another cell.
bool IsSample(const TVideoEvent& e) {
    return !(e.leftPress || e.rightPress || e.middlePress || e.leftRelease || e.rightRelease ||
             e.middleRelease);
}

// Lowers VideoEventCount past the end markers a file brings; it then names the last event.
void DropEndMarkers() {
    while (VideoEventCount != 0 && IsEndStamp(VideoEvents[VideoEventCount]))
        --VideoEventCount;
}

int32_t StampPosition(const TVideoEvent& e) {
    return int32_t{e.seconds} * 100 + e.hundredths;
}

void SetupBar() {
    if (!ProgressBarReady) return;
    if (UiHooks.SetupProgressBar) UiHooks.SetupProgressBar(StampPosition(VideoEvents[LastIndex()]));
}

void ApplySpeedInterval() {
    GameTimerInterval = PlaybackInterval(PlaybackSpeed);
    if (UiHooks.SetGameTimerInterval) UiHooks.SetGameTimerInterval(GameTimerInterval);
}

void ShowCursor(bool visible) {
    if (UiHooks.ShowReplayCursor) UiHooks.ShowReplayCursor(visible);
}

void MoveCursor(int32_t left, int32_t top) {
    if (UiHooks.MoveReplayCursor) UiHooks.MoveReplayCursor(left, top);
}

void CursorAtStart(bool visible) {
    MoveCursor(VideoEvents[0].x, VideoEvents[0].y);
    ShowCursor(visible);
}

// A video is played without the handicaps: they would change what the recorded input does.
void HandicapOptionsOff() {
    tOptionsSet& o = Options;
    o.doDisableTimer = o.doAutoFlag = o.doDisableGroupOpen = o.doDisableRightClicks = 0;
    o.doInfiniteLives = o.doShowProbabilities = o.doShowMinesPos = o.doShow3BVAfterGameStart = 0;
    o.doMustHave7 = o.doMustHave8 = o.doApprox3BV = o.doApprox3BV2 = 0;
}

void ButtonFlagsOff() {
    LeftDown = RightDown = MiddleDown = ChordGuard = 0;
}

void PerGameCountersOff() {
    LeftClicks = RightClicks = DoubleClicks = CellsOpenedByLeft = FlagsOnMines = 0;
    ChordsThatOpened = Solved3BV = FlagsPlaced = OpenedOpenings = 0;
    MousePathLength = 0;
}

void RecountNumberCells() {
    NumberCellCounts = {};
    OpenedNumberCounts = {};
    for (int c = 0; c <= LastColumn && c < kMaxColumns; ++c)
        for (int r = 0; r <= LastRow && r < kMaxRows; ++r)
            if (IsNumberState(HiddenBoard[c][r])) ++NumberCellCounts[HiddenBoard[c][r]];
}

// The first left release on the board: in the live game the board was generated there, which
// also started the mouse path.
uint32_t FindFirstClick() {
    const uint32_t last = LastIndex();
    for (uint32_t i = 0; i <= last; ++i) {
        const TVideoEvent& e = VideoEvents[i];
        if (e.leftRelease && e.x / 16 <= LastColumn && e.y / 16 <= LastRow) return i;
    }
    return kVideoSlots;
}

void RefuseVideo(const std::string& fileName) {
    ShowMessageBox("File \"" + fileName +
                   "\"\r\n\r\nIS NOT CORRECT Minesweeper Quorlet replay file. Please, "
                   "resweep :)\r\n\r\n(see debug protocol for additional information)");
    ReplayMode = PreviewReplayMode = 0;
    NewGameCommand();
}

// The part both ways of starting a playback share once the count names the last event.
void PrepareBoardForPlayback() {
    FixupVideoStart();
    DisableGameTimer();
    Call(UiHooks.ReloadInterface);
}

void FinishPreparation(uint8_t preview) {
    SetupBar();
    HandicapOptionsOff();
    VideoPlaybackIndex = 0;
    ButtonFlagsOff();
    CursorAtStart(true);
    GameOver = 0;
    ReplayMode = 1;
    PreviewReplayMode = preview;
    Call(UiHooks.RequestRedraw);
}

// The end of the video: the index stays past the last event, so neither Pause nor a queued
// tick plays it again; Stop and Restart rewind.
void EndOfVideo() {
    VideoPlaybackIndex = VideoEventCount + 1;
    DisableGameTimer();
}

} // namespace

uint32_t PlaybackInterval(int position) {
    const int p = std::clamp(position, kSlowestSpeed, kFastestSpeed);
    return p == kFastestSpeed ? 2u : static_cast<uint32_t>(200 / p);
}

std::string PlaybackSpeedLabel(int position) {
    const int p = std::clamp(position, kSlowestSpeed, kFastestSpeed);
    if (p == kFastestSpeed) return "5,00x";
    const int speed = p * 5;
    return FormatGameTimePlain(static_cast<uint16_t>(speed / 100), static_cast<uint8_t>(speed % 100)) + "x";
}

int ProgressKeyPosition(int position, int maximum, bool rightArrow) {
    // Nearest multiple of ten, halves to the even multiple.
    auto round10 = [](int v) {
        const int low = v / 10 * 10;
        const int rest = v - low;
        if (rest > 5 || (rest == 5 && (low / 10) % 2 != 0)) return low + 10;
        return low;
    };
    maximum = std::max(maximum, 0);
    int next;
    if (!rightArrow)
        next = position <= 10 ? 0 : round10(position - 10);
    else
        next = position < maximum - 10 ? round10(position + 10) : maximum;
    return std::clamp(next, 0, maximum);
}

void FixupVideoStart() {
    if (VideoEventCount == 0) return;
    const uint32_t last = LastIndex();
    for (uint32_t i = 0; i <= last && IsSample(VideoEvents[0]); ++i) {
        const TVideoEvent& e = VideoEvents[i];
        if (HasPosition(e) && e.seconds != 0) {
            VideoEvents[0].x = e.x;
            VideoEvents[0].y = e.y;
            break;
        }
    }
    for (uint32_t i = 0; i < last; ++i) {
        const TVideoEvent& e = VideoEvents[i];
        TVideoEvent& next = VideoEvents[i + 1];
        if (e.seconds != 0 && !HasPosition(next) && IsSample(next)) {
            next.x = e.x;
            next.y = e.y;
        }
    }
}

bool CheckVideoTimes() {
    const uint32_t last = LastIndex();
    if (!IsZeroStamp(VideoEvents[0])) {
        for (uint32_t i = 0; i <= last && !IsZeroStamp(VideoEvents[i]); ++i) {
            VideoEvents[i].seconds = 0;
            VideoEvents[i].hundredths = 0;
        }
    }
    for (uint32_t i = 1; i <= last; ++i) {
        const TVideoEvent& before = VideoEvents[i - 1];
        const TVideoEvent& e = VideoEvents[i];
        if (e.seconds < before.seconds || (e.seconds == before.seconds && e.hundredths < before.hundredths))
            return false;
    }
    return true;
}

bool OpenReplayFile(const std::string& fileName) {
    ClearVideoEvents();
    // A count past the buffer cannot name an event: the reader should never let one through.
    if (!LoadReplayFile(fileName) || VideoEventCount >= kVideoSlots) {
        // The buffer was emptied above; the count must not claim events it no longer has.
        VideoEventCount = 0;
        RefuseVideo(fileName);
        return false;
    }
    DropEndMarkers();
    if (!CheckVideoTimes()) {
        DebugLog("# file time hacked");
        RefuseVideo(fileName);
        return false;
    }
    PrepareBoardForPlayback();
    SetClock(0, 0);
    FinishPreparation(0);
    DebugLog("replay load success");
    return true;
}

bool PreviewLastGame() {
    if ((IsGameUnranked() && !IsGameClean()) || WaitingFirstClick) return false;
    // While a video plays the count already names its last event: lowering it again would
    // drop a real event at every further preview.
    if (!ReplayMode) {
        if (VideoEventCount == 0) return false;
        --VideoEventCount;
        DropEndMarkers();
        // The buffer is our own recording; a file playing now keeps its version's rules.
        ReplayVersion = kOwnVideoVersion;
    }
    PrepareBoardForPlayback();
    SetClock(1, 0);
    FinishPreparation(1);
    DebugLog("preview replay load success");
    RestartPlayback();
    return true;
}

void StopPlayback() {
    DisableGameTimer();
    ClearBoard();
    SetClock(1, 0);
    PerGameCountersOff();
    VideoPlaybackIndex = 0;
    SetupBar();
    NewGameFace = imf1;
    ApplySpeedInterval();
    ButtonFlagsOff();
    CursorAtStart(false);
    GameOver = 0;
    ReplayMode = 1;
    Call(UiHooks.RequestRedraw);
}

void RestartPlayback() {
    StopPlayback();
    if (VideoPlaybackIndex > VideoEventCount) return;
    ClearBoard();
    VideoPlaybackIndex = 0;
    RecountNumberCells();
    EstimateTime();
    SetClock(0, 0);
    PerGameCountersOff();
    LastCursorPos = {VideoEvents[0].x, VideoEvents[0].y};
    VideoFirstClickIndex = FindFirstClick();
    SetupBar();
    NewGameFace = imf1;
    ApplySpeedInterval();
    CursorAtStart(true);
    HandicapOptionsOff();
    ReplayMode = 1;
    WaitingFirstClick = 0;
    GameOver = 0;
    StartGameClock();
    ButtonFlagsOff();
    if (UiHooks.SetCountersColour) UiHooks.SetCountersColour(-1);
    RefreshCounters();
    Call(UiHooks.RequestRedraw);
    EnableGameTimer();
}

void PausePlayback() {
    if (VideoPlaybackIndex > VideoEventCount) return;
    if (GameTimerEnabled) {
        DisableGameTimer();
    } else {
        EnableGameTimer();
        ShowCursor(true);
    }
}

void SetPlaybackSpeed(int position) {
    if (!ReplayMode) return;
    PlaybackSpeed = static_cast<uint8_t>(std::clamp(position, kSlowestSpeed, kFastestSpeed));
    ApplySpeedInterval();
}

int StepPlaybackSpeed(bool rightArrow) {
    if (!ReplayMode) return PlaybackSpeed;
    const int p = PlaybackSpeed + (rightArrow ? 1 : -1);
    PlaybackSpeed = static_cast<uint8_t>(std::clamp(p, kSlowestSpeed, kFastestSpeed));
    ApplySpeedInterval();
    return PlaybackSpeed;
}

void VideoPlaybackStep(uint16_t seconds, uint8_t hundredths) {
    for (;;) {
        if (VideoPlaybackIndex > VideoEventCount || VideoPlaybackIndex >= kVideoSlots) return;
        // A copy: the handlers may change the buffer's bookkeeping while it is played.
        const uint32_t played = VideoPlaybackIndex;
        const TVideoEvent e = VideoEvents[played];
        MoveCursor(e.x + 2, e.y + 2);
        constexpr TMouseSender s = TMouseSender::ReplaySender;
        BoardMouseMove(s, e.x, e.y);
        if (e.middlePress) BoardMouseDown(s, mbMiddle, e.x, e.y);
        if (e.rightPress) BoardMouseDown(s, mbRight, e.x, e.y);
        if (e.leftPress) BoardMouseDown(s, mbLeft, e.x, e.y);
        if (e.middleRelease) BoardMouseUp(s, mbMiddle, e.x, e.y);
        if (e.leftRelease) BoardMouseUp(s, mbLeft, e.x, e.y);
        if (e.rightRelease) BoardMouseUp(s, mbRight, e.x, e.y);
        // The live path starts at the first click (moves before it are not recorded): the
        // cursor's way between earlier presses must not count here either.
        if (played == VideoFirstClickIndex) {
            MousePathLength = 0;
            LastCursorPos = {e.x, e.y};
        }
        if (VideoPlaybackIndex >= VideoEventCount) {
            // The last event (or a loss, which moves the index to it) ends the video.
            VideoPlaybackIndex = VideoEventCount + 1;
            return;
        }
        ++VideoPlaybackIndex;
        // The last event gets a tick of its own.
        if (VideoPlaybackIndex >= VideoEventCount) return;
        const TVideoEvent& next = VideoEvents[VideoPlaybackIndex];
        if (next.seconds != seconds || next.hundredths != hundredths || (seconds == 0 && hundredths == 0))
            return;
    }
}

void PlaybackTick() {
    const uint32_t index = VideoPlaybackIndex;
    if (index > VideoEventCount || index >= kVideoSlots) {
        DisableGameTimer();
        return;
    }
    if (VideoEvents[index].seconds == kEndSeconds) {
        VideoPlaybackIndex = 0;
        DisableGameTimer();
        return;
    }
    const TVideoEvent e = VideoEvents[index];
    VideoPlaybackStep(e.seconds, e.hundredths);
    if (!ReplayMode) return;
    // A finished game takes no more input: what follows would only move the clock on.
    if (GameOver && VideoPlaybackIndex <= VideoEventCount) VideoPlaybackIndex = VideoEventCount + 1;
    if (VideoPlaybackIndex > VideoEventCount) {
        EndOfVideo();
        return;
    }
    const TVideoEvent& next = VideoEvents[VideoPlaybackIndex];
    SetClock(next.seconds, next.hundredths);
    if (UiHooks.SetProgressPosition)
        UiHooks.SetProgressPosition(StampPosition(next), FormatGameTime(next.seconds, next.hundredths));
    Call(UiHooks.DrawTimer);
    if (Options.doCalculateCounters) {
        const uint8_t refresh = Options.CounterRefresh ? Options.CounterRefresh : 10;
        if (next.hundredths % refresh == 0) RefreshCounters();
    }
}

bool ReplaySaveAllowed() {
    return (!IsGameUnranked() || IsGameClean()) && !WaitingFirstClick && (!ReplayMode || PreviewReplayMode);
}

std::string FreeNumberedFileName(const std::string& stem, const std::string& extension) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string name = stem + extension;
    if (!fs::exists(fs::u8path(name), ec)) return name;
    // Past 998 the count goes on: an automatic writer must never replace a file.
    for (int k = 1; k < 1000000; ++k) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", k);
        name = stem + "_(" + number + ")" + extension;
        if (!fs::exists(fs::u8path(name), ec)) return name;
    }
    return name;
}

std::string ProposedReplayFileName(const std::string& extension) {
    std::string name = ExpandNameTemplate(Options.ReplayFileName);
    if (Solved3BV < Board3BV) {
        // The mark goes on the file name, not on a folder the template may name.
        const std::size_t slash = name.find_last_of('/');
        name.insert(slash == std::string::npos ? 0 : slash + 1, "#");
    }
    return FreeNumberedFileName(Options.LastPath + name, extension);
}

} // namespace quorlet
