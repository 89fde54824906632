#include "settings/optionsmap.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <type_traits>

#include "core/FData.h"
#include "core/autosave.h"
#include "core/debuglog.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "settings/countries.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

using O = tOptionsSet;
using K = TTransfer;
using C = TClamp;
using A = TAfterStore;

constexpr int32_t kWordMax = std::numeric_limits<uint16_t>::max();

constexpr TOptionControl kControls[] = {
    {"cbLUserid", &O::ShowIDText, K::Check},
    {"seTimeZone", &O::CustomTimeZone, K::Spin, C::Range, -12, 13},
    {"edIdText", &O::UserIDText, K::Edit, C::None, 0, 0, 256, A::ShowPlayerName},
    {"cbHistLog", &O::doHistoryLog, K::Check},
    {"cbDotSeparator", &O::doDotSeparator, K::Check},
    {"cbExecuteCounters", &O::doCalculateCounters, K::Check},
    {"edReplayName", &O::ReplayName, K::Edit, C::None, 0, 0, 50},
    {"edReplayFileName", &O::ReplayFileName, K::Edit, C::None, 0, 0, 128, A::SaveTemplates},
    {"edBeg", &O::BegName, K::Edit, C::None, 0, 0, 16},
    {"edInt", &O::IntName, K::Edit, C::None, 0, 0, 16},
    {"edExp", &O::ExpName, K::Edit, C::None, 0, 0, 16},
    {"edCus", &O::CusName, K::Edit, C::None, 0, 0, 16},
    {"boxCountry", &O::CountryNumber, K::Country},
    {"rBeg", &O::doStartUpMode, K::StartMode, C::None, 0, 0, 0, A::SetGameLevel},
    {"skinBox", &O::skinNumber, K::Combo},
    {"skinTimer", &O::skinTimerNumber, K::Combo},
    {"cbMarks", &O::doMarks, K::Check},
    {"cbTenths", &O::doShowTenths, K::Check},
    {"cbDoTimer", &O::doTimer, K::Check},
    {"cbShowEquals", &O::doShowEquals, K::Check},
    {"cbShowCounters", &O::doShowCounters, K::Check},
    {"cbShowCountersTitle", &O::doShowCountersTitle, K::Check},
    {"cbShowCntGreenBorder", &O::doShowCntGreenBorder, K::Check},
    {"cbCntonFinish", &O::doCountersOnFinish, K::Check},
    {"cbCntonEnd", &O::doCountersOnEnd, K::Check},
    {"cbClearanceOnFail", &O::doBoardClearance, K::Check},
    {"cbFillFlags", &O::doFillFlags, K::Check},
    {"cbClearanceOnMiddleBtn", &O::doClearanceOnMiddleBtn, K::Check},
    {"cbForcedNewGame", &O::doForcedNewGame, K::Check},
    {"cbForcedNewGameBEEP", &O::doBeepIfTimeExceedsValues, K::Check},
    {"seFNGB", &O::doFNGB, K::Spin, C::Below2Is999, 2, kWordMax},
    {"seFNGI", &O::doFNGI, K::Spin, C::Below2Is999, 2, kWordMax},
    {"seFNGE", &O::doFNGE, K::Spin, C::Below2Is999, 2, kWordMax},
    {"cbClearanceOnLeftBtn", &O::doClearanceOnLeftBtn, K::Check},
    {"seBoardClearanceCompl", &O::seClearanceCompl, K::Spin, C::Range, 0, 100},
    {"cbZeroTimer0", &O::doRecorderStyleTimer, K::Check},
    {"cbDisableTimer", &O::doDisableTimer, K::Check},
    {"cbAutoFlagSet", &O::doAutoFlag, K::Check},
    {"cbDisableGroupOpen", &O::doDisableGroupOpen, K::Check},
    {"cbDisableRightClick", &O::doDisableRightClicks, K::Check},
    {"cbInfiniteLives", &O::doInfiniteLives, K::Check},
    {"cbShowProbabilities", &O::doShowProbabilities, K::Check},
    {"cbShowMines", &O::doShowMinesPos, K::Check},
    {"cbApprox3BV", &O::doApprox3BV, K::Check},
    {"cbApprox3BV2", &O::doApprox3BV2, K::Check},
    {"cbMustHave7", &O::doMustHave7, K::Check},
    {"cbMustHave8", &O::doMustHave8, K::Check},
    {"cbShow3BVafterGameStart", &O::doShow3BVAfterGameStart, K::Check},
    {"se3BV", &O::se3BVValue, K::Spin, C::Range, 0, 640},
    {"se3BV2", &O::se3BVValue2, K::Spin, C::ZeroIsOne, 1, kWordMax},
    {"seAttempts", &O::seAttemptsValue, K::Spin, C::Range, 0, 50},
    {"seCr1", &O::widthCr1, K::Spin, C::Range, 0, 150},
    {"seCr2", &O::widthCr2, K::Spin, C::Range, 0, 150},
    {"seCr3", &O::heightCr3, K::Spin, C::Range, 0, 25, 0, A::RebuildCounters},
    {"cbSetHighPriority", &O::doHighPriority, K::Check},
    {"cbSeekPlugins", &O::doSeekPlugins, K::Check},
    {"cbBlit", &O::doBitBlt, K::Check},
    {"cbEnableBossKey", &O::doEnableBossKey, K::Check},
    {"cbClipCur", &O::doClipCursor, K::Check},
    {"cbProhibitMultInstances", &O::doProhibitMultInstances, K::Check},
    {"LangFLB", &O::langFileName, K::Language},
    {"cbCond1", &O::doCond, K::Check},
    {"cbBlockChat", &O::doBlockChat, K::Check},
    {"cbProcListGrab", &O::doProcListGrab, K::Check},
    {"cbSysInfGrab", &O::doSysInfGrab, K::Check},
    {"cbIRCtypes", &O::doIRCtype, K::Combo},
    {"cbColor1", &O::cbIRCColor1, K::Combo},
    {"cbColor2", &O::cbIRCColor2, K::Combo},
    {"cbBlastedCopyIrc", &O::cbBlastedCopyTemplate, K::Check},
    {"cbFinishedCopyIRC", &O::cbFinishedCopyTemplate, K::Check},
    {"cbUseSmiles", &O::cbUseSmiles, K::Check},
    {"cbCountersExcludeList", &O::cbCountersExcludeList, K::Check},
    {"mCntExcludeList", &O::mCntExcludeList, K::Memo},
    {"cbChangeLayout", &O::DoChangeLayout, K::Check},
    {"cbDarkenBoard", &O::DarkenBoard, K::Check},
    {"cbShowCells", &O::mpShowCells, K::Check},
    {"cbShowMousePath", &O::ShowMousePath, K::Check},
    {"cbShowDownState", &O::ShowDownState, K::Check},
    {"cbShowLeftCl", &O::ShowLeftCl, K::Check},
    {"cbShowRightCl", &O::ShowRightCl, K::Check},
    {"cbShowDoubleCl", &O::ShowDoubleCl, K::Check},
    {"cbMpColor", &O::mPathColor, K::Combo},
    {"cbLClColor", &O::mpLColor, K::Combo},
    {"cbRClColor", &O::mpRColor, K::Combo},
    {"cbDClColor", &O::mpDColor, K::Combo},
};

constexpr const char* kIrcTypes[] = {"mIRC color format ( CTRL+K# )", "CGI color format ( %C# )", "TXT no color"};
constexpr const char* kIrcColours[] = {"##",  "Black", "Navy", "Green",   "Red",  "Maroon", "Purple", "Orange",
                                       "Yellow", "Lime", "Teal", "Aqua", "Blue", "Fuchsia", "Grey", "Silver"};
constexpr const char* kChartColours[] = {"White", "Aqua",   "Yellow",  "Lime",   "Silver", "Teal", "Grey",
                                         "Green", "Red",    "Purple",  "Fuchsia", "Maroon", "Blue", "Navy"};
constexpr const char* kSkins[] = {"Minesweeper Quorlet - Mutation 3.1", "Minesweeper Quorlet - Mutation 98"};
constexpr const char* kTimerSkins[] = {"Minesweeper Original", "Quorlet - Predator Number Skin"};

// Reads a field of any kind as a number (bool 0/1).
int32_t NumberOf(const TOptionRef& field) {
    return std::visit(
        [](auto member) -> int32_t {
            using T = std::remove_reference_t<decltype(Options.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                throw std::logic_error("text field read as a number");
            else
                return static_cast<int32_t>(Options.*member);
        },
        field);
}

void StoreNumber(const TOptionRef& field, int32_t value) {
    std::visit(
        [value](auto member) {
            using T = std::remove_reference_t<decltype(Options.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                throw std::logic_error("text field stored as a number");
            else
                Options.*member = static_cast<T>(value);
        },
        field);
}

std::string& TextOf(const TOptionRef& field) {
    const auto* member = std::get_if<std::string O::*>(&field);
    if (!member) throw std::logic_error("number field used as a text");
    return Options.**member;
}

int32_t Clamped(const TOptionControl& c, int32_t value) {
    switch (c.Clamp) {
    case C::Range: return std::clamp(value, c.Low, c.High);
    case C::Below2Is999: return value < 2 ? 999 : value;
    case C::ZeroIsOne: return value == 0 ? 1 : value;
    case C::None: break;
    }
    return value;
}

void LoadCountry(TOptionsControls& controls) {
    try {
        if (Options.CountryNumber < kCountryCount) {
            const std::string name = CountryTable[Options.CountryNumber];
            const int32_t count = controls.Count("boxCountry");
            int32_t found = -1;
            for (int32_t i = 0; i < count && found < 0; ++i)
                if (controls.ItemText("boxCountry", i) == name) found = i;
            if (found < 0) throw std::runtime_error("country not listed");
            controls.SetIndex("boxCountry", found);
        }
        controls.Changed("boxCountry");
    } catch (...) {
        controls.SetIndex("boxCountry", 0);
        DebugLog("# options reload interface - incorrect country number value");
    }
}

void LoadControl(TOptionsControls& controls, const TOptionControl& c) {
    switch (c.Kind) {
    case K::Check: controls.SetChecked(c.Control, NumberOf(c.Field) != 0); break;
    case K::Spin: {
        const int32_t value = Clamped(c, NumberOf(c.Field));
        StoreNumber(c.Field, value);
        controls.SetValue(c.Control, value);
        break;
    }
    case K::Edit: controls.SetText(c.Control, TextOf(c.Field)); break;
    case K::Memo: controls.SetText(c.Control, UnescapeNewlines(TextOf(c.Field))); break;
    case K::Combo: {
        const int32_t value = NumberOf(c.Field);
        if (value < controls.Count(c.Control)) controls.SetIndex(c.Control, value);
        break;
    }
    case K::StartMode: {
        const int32_t mode = std::min<int32_t>(NumberOf(c.Field), 2);
        // The others first: an exclusive group only gives up its checked button to another.
        for (int32_t i = 0; i < 3; ++i)
            if (i != mode) controls.SetChecked(kStartModeControls[i], false);
        controls.SetChecked(kStartModeControls[mode], true);
        break;
    }
    case K::Language: {
        const std::string& name = TextOf(c.Field);
        const int32_t count = controls.Count(c.Control);
        for (int32_t i = 0; i < count; ++i)
            if (controls.ItemText(c.Control, i) == name) {
                controls.SetIndex(c.Control, i);
                break;
            }
        break;
    }
    case K::Country: break; // after every other control
    }
}

void StoreControl(TOptionsControls& controls, const TOptionControl& c) {
    switch (c.Kind) {
    case K::Check: StoreNumber(c.Field, controls.Checked(c.Control) ? 1 : 0); break;
    case K::Spin: StoreNumber(c.Field, controls.Value(c.Control)); break;
    case K::Edit: TextOf(c.Field) = CutToCharacters(controls.Text(c.Control), c.Cap); break;
    case K::Memo: TextOf(c.Field) = EscapeNewlines(controls.Text(c.Control)); break;
    case K::Combo: {
        // No selection would store 255, an index no list has: keep the field instead.
        const int32_t index = controls.Index(c.Control);
        if (index >= 0) StoreNumber(c.Field, index);
        break;
    }
    case K::Country: StoreNumber(c.Field, CountryCode(controls.Text(c.Control))); break;
    case K::StartMode: {
        int32_t mode = 0;
        for (int32_t i = 2; i >= 0; --i)
            if (controls.Checked(kStartModeControls[i])) mode = i;
        StoreNumber(c.Field, mode);
        break;
    }
    case K::Language: {
        std::string& name = TextOf(c.Field);
        name.clear();
        const int32_t count = controls.Count(c.Control);
        if (count == 0) break; // the language read then reports the missing file
        if (controls.Index(c.Control) <= 0) controls.SetIndex(c.Control, 0);
        name = controls.ItemText(c.Control, controls.Index(c.Control));
        break;
    }
    }
}

void AfterStore(TOptionsControls& controls, TAfterStore step) {
    switch (step) {
    case A::ShowPlayerName: controls.ShowPlayerName(); break;
    case A::SaveTemplates:
        CountersTemplateLines = MemoLines(controls.Text("mtemplate"));
        SaveCountersTemplate();
        AutosaveTemplateLines = MemoLines(controls.Text("auttempl"));
        SaveAutosaveTemplate();
        break;
    case A::SetGameLevel: GameLevel = Options.doStartUpMode; break;
    case A::RebuildCounters: RefreshCountersForward(); break;
    case A::None: break;
    }
}

} // namespace

std::string MemoText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Memo lines: CR LF, CR or LF each end one; a last line without an end counts too.
std::vector<std::string> MemoLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::span<const TOptionControl> OptionControls() {
    return kControls;
}

std::span<const char* const> OptionItems(std::string_view control) {
    if (control == "cbIRCtypes") return kIrcTypes;
    if (control == "cbColor1" || control == "cbColor2") return kIrcColours;
    if (control == "cbMpColor" || control == "cbLClColor" || control == "cbRClColor" || control == "cbDClColor")
        return kChartColours;
    if (control == "skinBox") return kSkins;
    if (control == "skinTimer") return kTimerSkins;
    return {};
}

std::string CutToCharacters(const std::string& text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A byte that does not continue a UTF-8 sequence starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == count) return text.substr(0, i);
    }
    return text;
}

std::vector<std::string> LanguageFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : std::string();
        for (char& ch : extension)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (extension == ".LNG") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void LoadOptionsControls(TOptionsControls& controls) {
    controls.SetMenuChecks(Options.cbSilentMode, Options.doIRCtype);
    LoadCountersTemplate();
    controls.SetText("mtemplate", MemoText(CountersTemplateLines));
    controls.SetText("auttempl", MemoText(AutosaveTemplateLines));
    for (const TOptionControl& c : kControls)
        LoadControl(controls, c);
    LoadCountry(controls);
    controls.ShowPlayerName();
    controls.DrawTimer();
}

bool ApplyOptionsWindow(TOptionsControls& controls) {
    for (const TOptionControl& c : kControls) {
        try {
            StoreControl(controls, c);
            AfterStore(controls, c.After);
        } catch (const std::exception& e) {
            DebugLog(std::string("#options not applied: control ") + c.Control + ": " + e.what());
            return false;
        } catch (...) {
            DebugLog(std::string("#options not applied: control ") + c.Control);
            return false;
        }
    }
    try {
        controls.ShowPlayerName();
        controls.RedrawBoard();
        LoadLanguageFile();
        if (UiHooks.ApplyTexts) UiHooks.ApplyTexts();
    } catch (const std::exception& e) {
        DebugLog(std::string("#options applied, but the windows did not follow: ") + e.what());
        return false;
    }
    return true;
}

} // namespace quorlet
