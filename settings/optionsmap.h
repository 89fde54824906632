// The two-way copy between the settings record Options and the options window's controls,
// written as one table of control-to-field rules and two routines that walk it. The window is
// reached through TOptionsControls, so the rules run (and are tested) without widgets.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/options.h"

namespace quorlet {

// The controls of the options window as the transfer sees them, named as the form names them.
// Every call throws std::runtime_error for a control the window does not have.
class TOptionsControls {
  public:
    virtual ~TOptionsControls() = default;

    // Check boxes and radio buttons. SetChecked runs the control's click handler when the state
    // changes, as a click would.
    virtual bool Checked(const char* control) = 0;
    virtual void SetChecked(const char* control, bool checked) = 0;
    // Spin edits.
    virtual int32_t Value(const char* control) = 0;
    virtual void SetValue(const char* control, int32_t value) = 0;
    // Edits and memos (memo lines end in CR LF).
    virtual std::string Text(const char* control) = 0;
    virtual void SetText(const char* control, const std::string& text) = 0;
    // Combo and list boxes: the selected item (-1 none), the item count, the item texts.
    virtual int32_t Index(const char* control) = 0;
    virtual void SetIndex(const char* control, int32_t index) = 0;
    virtual int32_t Count(const char* control) = 0;
    virtual std::string ItemText(const char* control, int32_t index) = 0;
    // Runs a combo box's change handler (the country box shows its flag).
    virtual void Changed(const char* control) = 0;

    // What the transfer asks of the other windows.
    virtual void SetMenuChecks(bool silentMode, uint8_t ircType) = 0;
    virtual void ShowPlayerName() = 0;
    virtual void DrawTimer() = 0;
    virtual void RedrawBoard() = 0;
};

enum class TTransfer : uint8_t {
    Check,     // bool field
    Spin,      // number field
    Edit,      // text field, cut to Cap characters
    Combo,     // item index; no selection keeps the field
    Memo,      // text field with backslash-n joins shown as lines
    Country,   // CountryNumber through the names of CountryTable
    StartMode, // doStartUpMode through the three level radio buttons
    Language,  // langFileName through the language file list
};

// Out-of-range rules applied (and written back into Options) before a control is loaded.
enum class TClamp : uint8_t { None, Range, Below2Is999, ZeroIsOne };

// Extra steps of ApplyOptionsWindow right after a field is stored.
enum class TAfterStore : uint8_t { None, ShowPlayerName, SaveTemplates, SetGameLevel, RebuildCounters };

struct TOptionControl {
    const char* Control;
    TOptionRef Field;
    TTransfer Kind;
    TClamp Clamp = TClamp::None;
    int32_t Low = 0; // spin range (and the clamp range for TClamp::Range)
    int32_t High = 0;
    uint16_t Cap = 0; // text length in characters
    TAfterStore After = TAfterStore::None;
};

// Every transferred control, in the order ApplyOptionsWindow stores them.
std::span<const TOptionControl> OptionControls();

// The fixed item lists of the combo boxes (empty for any other control).
std::span<const char* const> OptionItems(std::string_view control);

// The three level radio buttons, Beginner first.
inline constexpr const char* kStartModeControls[] = {"rBeg", "rInt", "rExp"};

// A memo's text from lines, each ended by CR LF, and back: CR LF, CR or LF each end a line, and
// a last line without an end counts too.
std::string MemoText(const std::vector<std::string>& lines);
std::vector<std::string> MemoLines(const std::string& text);

// The first `count` characters (UTF-8 code points) of text.
std::string CutToCharacters(const std::string& text, std::size_t count);

// The "*.LNG" files of a folder (any letter case), sorted by name.
std::vector<std::string> LanguageFileNames(const std::string& folder);

// Record to controls: menu checks, the counters template into `mtemplate`, every control from
// its field (clamps written back first), the country with its change handler, then the name
// line and the clock. Logs a "#" line when the country cannot be shown; other failures
// propagate.
void LoadOptionsControls(TOptionsControls& controls);

// Controls to record in the table's order with the extra steps after their fields. Returns
// false after logging "#" and the control's name when a control fails: fields stored before it
// keep their new values, later ones are not stored.
bool ApplyOptionsWindow(TOptionsControls& controls);

} // namespace quorlet
