// Playback of a game video on the live board: the recorded events go through the board's own
// mouse routines (sender ReplaySender), driven by the clock tick at the speed bar's interval.
//
// VideoEventCount is the number of recorded events while no video plays; once playback has
// been prepared (ReplayMode set) it is the index of the last event to play.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

constexpr int kSlowestSpeed = 1;
constexpr int kRealTimeSpeed = 20;
constexpr int kFastestSpeed = 41;

// Clock interval for a speed bar position: 200 div p ms for 1..40, 2 ms at 41. Positions
// outside 1..41 are taken as the nearest end.
uint32_t PlaybackInterval(int position);
// The speed label: p × 5 / 100 with two decimals and "x" ("1,00x" at 20), "5,00x" at 41.
std::string PlaybackSpeedLabel(int position);
// The position bar's arrow keys: ten hundredths down or up, rounded to a multiple of ten
// (halves to the even multiple), kept within 0..maximum.
int ProgressKeyPosition(int position, int maximum, bool rightArrow);

// Event 0 takes the first real cursor position, and position-less events after a stamped one
// take the position before them. Only events 0..VideoEventCount are looked at.
void FixupVideoStart();
// Leading events stamped before the first 0.00 are set to 0.00; false when a later event
// carries an earlier stamp than the one before it. Only events 0..VideoEventCount.
bool CheckVideoTimes();

// Loads a video file and prepares it for playback (ReplayMode set, timer off). A file that
// fails to load or whose times go backwards: the message, a log line, a new game; false.
bool OpenReplayFile(const std::string& fileName);
// The last game's own buffer played back (Ctrl+Z). False when not allowed now.
bool PreviewLastGame();

// The playback bar's buttons.
void StopPlayback();
void RestartPlayback();
void PausePlayback();
// The speed bar moved (only while a video plays): PlaybackSpeed and the timer interval.
void SetPlaybackSpeed(int position);
// The speed bar's arrow keys (only while a video plays); returns the new position.
int StepPlaybackSpeed(bool rightArrow);

// Plays the events of one time stamp from VideoPlaybackIndex on (the events stamped 0.00 one
// per call). The last event is played once: the index then passes VideoEventCount.
void VideoPlaybackStep(uint16_t seconds, uint8_t hundredths);
// The clock tick during playback.
void PlaybackTick();

// The save command is allowed now (the game may be kept, the first click was made, and no
// video or only the last game's preview plays).
bool ReplaySaveAllowed();
// The save command's proposed file: LastPath + template name ("#" in front for an unfinished
// game) + extension, numbered "_(001)" .. "_(998)" when the plain name exists. The board
// picture and text saves name their files the same way.
std::string ProposedReplayFileName(const std::string& extension = ".qvf");
// `stem` + extension when free, else the first free stem + "_(" + k in three digits + ")" +
// extension for k = 1, 2 ... (at least three digits; a taken name is never returned).
std::string FreeNumberedFileName(const std::string& stem, const std::string& extension);

} // namespace quorlet
