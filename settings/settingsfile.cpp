#include "settings/settingsfile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "core/FData.h"
#include "core/autosave.h"
#include "core/debuglog.h"
#include "core/nametemplate.h"
#include "core/safewrite.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/playerid.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

namespace fs = std::filesystem;
using O = tOptionsSet;

struct TFileKey {
    const char* Key;
    TOptionRef Field;
};

struct TFileSection {
    const char* Name;
    const TFileKey* Keys;
    size_t Count;
};

// Every key in the order the file lists it; the reader matches the same names upper-cased.
constexpr TFileKey kGlobals[] = {
    {"CounterRefresh", &O::CounterRefresh},
    {"LastPath", &O::LastPath},
    {"posMainX", &O::posMainX},
    {"posMainY", &O::posMainY},
    {"posCountersX", &O::posCountersX},
    {"posCountersY", &O::posCountersY},
    {"posProgressBarX", &O::posProgressBarX},
    {"posProgressBarY", &O::posProgressBarY},
    {"posHistX", &O::posHistX},
    {"posHistY", &O::posHistY},
    {"posHistW", &O::posHistW},
    {"posHistH", &O::posHistH},
};
constexpr TFileKey kRecords[] = {
    {"hsBegTime", &O::hsBegTime}, {"hsBegName", &O::hsBegName}, {"hsBegJump", &O::hsBegJump},
    {"hsBeg3bvs", &O::hsBeg3bvs}, {"hsIntTime", &O::hsIntTime}, {"hsIntName", &O::hsIntName},
    {"hsIntJump", &O::hsIntJump}, {"hsInt3bvs", &O::hsInt3bvs}, {"hsExpTime", &O::hsExpTime},
    {"hsExpName", &O::hsExpName}, {"hsExpJump", &O::hsExpJump}, {"hsExp3bvs", &O::hsExp3bvs},
};
constexpr TFileKey kPlayer[] = {
    {"ShowIDText", &O::ShowIDText},
    {"UserIDText", &O::UserIDText},
    {"doHistoryLog", &O::doHistoryLog},
    {"doDotSeparator", &O::doDotSeparator},
    {"doCalculateCounters", &O::doCalculateCounters},
    {"ReplayName", &O::ReplayName},
    {"BegName", &O::BegName},
    {"IntName", &O::IntName},
    {"ExpName", &O::ExpName},
    {"CusName", &O::CusName},
    {"ReplayFileName", &O::ReplayFileName},
    {"CountryNumber", &O::CountryNumber},
    {"CustomTimeZone", &O::CustomTimeZone},
    {"CursorFileName", &O::CursorFileName},
};
constexpr TFileKey kGameStyle[] = {
    {"doStartUpMode", &O::doStartUpMode},
    {"skinNumber", &O::skinNumber},
    {"skinTimerNumber", &O::skinTimerNumber},
    {"doMarks", &O::doMarks},
    {"doRecorderStyleTimer", &O::doRecorderStyleTimer},
    {"doShowTenths", &O::doShowTenths},
    {"doTimer", &O::doTimer},
    {"doBoardClearance", &O::doBoardClearance},
    {"seClearanceCompl", &O::seClearanceCompl},
    {"doClearanceOnMiddleBtn", &O::doClearanceOnMiddleBtn},
    {"doClearanceOnLeftBtn", &O::doClearanceOnLeftBtn},
    {"doFillFlags", &O::doFillFlags},
    {"doShowEquals", &O::doShowEquals},
    {"doForcedNewGame", &O::doForcedNewGame},
    {"doFNGB", &O::doFNGB},
    {"doFNGI", &O::doFNGI},
    {"doFNGE", &O::doFNGE},
    {"doBeepIfTimeExceedsValues", &O::doBeepIfTimeExceedsValues},
};
constexpr TFileKey kSystem[] = {
    {"doHighPriority", &O::doHighPriority},
    {"doBitBlt", &O::doBitBlt},
    {"doEnableBossKey", &O::doEnableBossKey},
    {"doClipCursor", &O::doClipCursor},
    {"doProhibitMultInstances", &O::doProhibitMultInstances},
    {"doSeekPlugins", &O::doSeekPlugins},
};
constexpr TFileKey kCheatMode[] = {
    {"doDisableTimer", &O::doDisableTimer},
    {"doAutoFlag", &O::doAutoFlag},
    {"doDisableGroupOpen", &O::doDisableGroupOpen},
    {"doDisableRightClicks", &O::doDisableRightClicks},
    {"doInfiniteLives", &O::doInfiniteLives},
    {"doShowProbabilities", &O::doShowProbabilities},
    {"doShowMinesPos", &O::doShowMinesPos},
    {"doShow3BVAfterGameStart", &O::doShow3BVAfterGameStart},
    {"doApprox3BV", &O::doApprox3BV},
    {"doApprox3BV2", &O::doApprox3BV2},
    {"doMustHave7", &O::doMustHave7},
    {"doMustHave8", &O::doMustHave8},
    {"se3BVValue", &O::se3BVValue},
    {"se3BVValue2", &O::se3BVValue2},
    {"seAttemptsValue", &O::seAttemptsValue},
};
constexpr TFileKey kLanguage[] = {{"langFileName", &O::langFileName}};
constexpr TFileKey kAutomation[] = {{"doCond", &O::doCond}};
constexpr TFileKey kCounter[] = {
    {"widthCr1", &O::widthCr1},
    {"widthCr2", &O::widthCr2},
    {"heightCr3", &O::heightCr3},
    {"doShowCounters", &O::doShowCounters},
    {"doShowCountersTitle", &O::doShowCountersTitle},
    {"doShowCntGreenBorder", &O::doShowCntGreenBorder},
    {"doCountersOnFinish", &O::doCountersOnFinish},
    {"doCountersOnEnd", &O::doCountersOnEnd},
};
constexpr TFileKey kMultiplayer[] = {
    {"doBlockChat", &O::doBlockChat},
    {"doProcListGrab", &O::doProcListGrab},
    {"doSysInfGrab", &O::doSysInfGrab},
};
constexpr TFileKey kIrcScript[] = {
    {"doIRCtype", &O::doIRCtype},
    {"cbIRCColor1", &O::cbIRCColor1},
    {"cbIRCColor2", &O::cbIRCColor2},
    {"cbBlastedCopyTemplate", &O::cbBlastedCopyTemplate},
    {"cbFinishedCopyTemplate", &O::cbFinishedCopyTemplate},
    {"cbUseSmiles", &O::cbUseSmiles},
    {"cbCountersExcludeList", &O::cbCountersExcludeList},
    {"mCntExcludeList", &O::mCntExcludeList},
    {"cbSilentMode", &O::cbSilentMode},
};
constexpr TFileKey kMouseChart[] = {
    {"DoChangeLayout", &O::DoChangeLayout},
    {"DarkenBoard", &O::DarkenBoard},
    {"mpShowCells", &O::mpShowCells},
    {"ShowMousePath", &O::ShowMousePath},
    {"ShowDownState", &O::ShowDownState},
    {"ShowLeftCl", &O::ShowLeftCl},
    {"ShowRightCl", &O::ShowRightCl},
    {"ShowDoubleCl", &O::ShowDoubleCl},
    {"mPathColor", &O::mPathColor},
    {"mpLColor", &O::mpLColor},
    {"mpRColor", &O::mpRColor},
    {"mpDColor", &O::mpDColor},
};

template <size_t N> constexpr TFileSection Section(const char* name, const TFileKey (&keys)[N]) {
    return {name, keys, N};
}

constexpr TFileSection kSections[] = {
    Section("GLOBALS", kGlobals),      Section("RECORDS", kRecords),
    Section("PLAYER", kPlayer),        Section("GAME STYLE", kGameStyle),
    Section("SYSTEM", kSystem),        Section("CHEAT MODE", kCheatMode),
    Section("LANGUAGE", kLanguage),    Section("AUTOMATION", kAutomation),
    Section("COUNTER", kCounter),      Section("MULTIPLAYER", kMultiplayer),
    Section("IRC_SCRIPT", kIrcScript), Section("MOUSE_CHART", kMouseChart),
};

constexpr const char* kEol = "\r\n";
constexpr const char* kRefusedPlayerIdText = "Player ID Text was not correct. Press F5 for setup";
// Far above any real settings file; keeps a stray huge file from being read into memory.
constexpr std::uintmax_t kMaxSettingsFileSize = 1u << 20;

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A whole decimal number with an optional sign, within 32 bits; throws otherwise.
int32_t ParseWholeNumber(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
        !std::isdigit(static_cast<unsigned char>(digits.front())))
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<int32_t>(value);
}

// Folders are dropped whichever separator the file was written with.
std::string FileNamePart(const std::string& value) {
    const size_t cut = value.find_last_of("/\\:");
    return cut == std::string::npos ? value : value.substr(cut + 1);
}

std::string ValueText(const tOptionsSet& record, const TOptionRef& field) {
    return std::visit(
        [&record](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(record.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return record.*member;
            else if constexpr (std::is_same_v<T, bool>)
                return BoolToBitText(record.*member);
            else
                return std::to_string(static_cast<int64_t>(record.*member));
        },
        field);
}

void StoreValue(const TOptionRef& field, const std::string& value) {
    std::visit(
        [&value](auto member) {
            using T = std::remove_reference_t<decltype(Options.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                Options.*member = value;
            else if constexpr (std::is_same_v<T, bool>)
                Options.*member = BitTextToBool(value);
            else // truncated to the field's width, as the file format has always done
                Options.*member = static_cast<T>(static_cast<uint32_t>(ParseWholeNumber(value)));
        },
        field);
}

const std::unordered_map<std::string, TOptionRef>& ReaderKeys() {
    static const std::unordered_map<std::string, TOptionRef> keys = [] {
        std::unordered_map<std::string, TOptionRef> map;
        for (const TFileSection& section : kSections)
            for (size_t i = 0; i < section.Count; ++i)
                if (section.Keys[i].Field != TOptionRef(&O::LastPath))
                    map.emplace(UpperCase(section.Keys[i].Key), section.Keys[i].Field);
        return map;
    }();
    return keys;
}

// The message of the exception being handled.
std::string CurrentErrorText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

std::string SettingsPath() {
    return Options.LastPath + kSettingsFileName;
}

// The settings file under any letter case, the exact spelling first; empty when there is none.
std::string FindSettingsFile() {
    std::error_code ec;
    const fs::path exact = SettingsPath();
    if (fs::is_regular_file(exact, ec)) return exact.string();
    const std::string wanted = UpperCase(kSettingsFileName);
    for (fs::directory_iterator it(Options.LastPath, ec), end; !ec && it != end; it.increment(ec))
        if (UpperCase(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return it->path().string();
    return {};
}

std::string DateStamp() {
    return ExpandNameTemplate("<DD>.<MM>.<YY>");
}

std::string SavedStamp() {
    return ExpandNameTemplate("<DDD>, <DD> <MMM> <YYYY> at <HH>:<MIN>:<SEC>");
}

// Moves the rejected file aside under a name not yet taken, so no second rejection loses it.
void KeepRejectedFile(const std::string& path) {
    const std::string stem = "quorlet_backup_" + DateStamp();
    std::string name = stem + ".dat";
    std::error_code ec;
    for (int k = 1; k <= 998 && fs::exists(Options.LastPath + name, ec); ++k) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_(%03d)", k);
        name = stem + suffix + ".dat";
    }
    DebugLog("#old configuration file saved as /" + name);
    if (fs::exists(Options.LastPath + name, ec)) {
        DebugLog("#can not save old configuration file: no free backup name");
        return;
    }
    fs::rename(path, Options.LastPath + name, ec);
    if (ec) DebugLog("#can not save old configuration file as " + name + ": " + ec.message());
}

void ApplyTextsToWindows() {
    if (UiHooks.ApplyTexts) UiHooks.ApplyTexts();
}

void LoadOptionsWindow() {
    if (UiHooks.LoadOptionsWindow) UiHooks.LoadOptionsWindow();
}

void ApplyDefaultsAndTexts() {
    ApplyDefaultSettings();
    SetDefaultTexts();
    ApplyTextsToWindows();
}

// The settings as written, with the window positions taken from the windows that exist.
tOptionsSet RecordToWrite() {
    tOptionsSet out = Options;
    if (!UiHooks.WindowRect) return out;
    const std::optional<TScreenSize> screen = CurrentScreenSize();
    if (std::optional<TWindowRect> main = UiHooks.WindowRect(TWindowKind::Main)) {
        if (screen) {
            const TWindowRect before = *main;
            KeepOnScreen(*main, *screen);
            if ((main->Left != before.Left || main->Top != before.Top) && UiHooks.MoveWindow)
                UiHooks.MoveWindow(TWindowKind::Main, main->Left, main->Top);
        }
        out.posMainX = main->Left;
        out.posMainY = main->Top;
    }
    if (std::optional<TWindowRect> counters = UiHooks.WindowRect(TWindowKind::Counters)) {
        out.posCountersX = counters->Left;
        out.posCountersY = counters->Top;
    }
    if (std::optional<TWindowRect> bar = UiHooks.WindowRect(TWindowKind::ProgressBar)) {
        out.posProgressBarX = bar->Left;
        out.posProgressBarY = bar->Top;
    }
    if (std::optional<TWindowRect> history = UiHooks.WindowRect(TWindowKind::History)) {
        out.posHistX = history->Left;
        out.posHistY = history->Top;
        out.posHistW = history->Width;
        out.posHistH = history->Height;
    }
    return out;
}

} // namespace

std::string BoolToBitText(bool flag) {
    return flag ? "1" : "0";
}

bool BitTextToBool(std::string_view text) {
    return text == "1";
}

uint8_t TextToByte(std::string_view text) {
    return static_cast<uint8_t>(static_cast<uint32_t>(ParseWholeNumber(text)));
}

int BoolToInt(bool flag) {
    return flag ? 1 : 0;
}

int32_t BoolToChecksumWeight(bool flag) {
    return flag ? 13 : 29;
}

int32_t StringByteSum(std::string_view text) {
    if (text.empty()) return 17;
    uint32_t sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return static_cast<int32_t>(sum);
}

std::string MakeOptionsChecksum() {
    try {
        const O& o = Options;
        std::string texts;
        for (const std::string* t :
             {&o.UserIDText, &o.ReplayName, &o.BegName, &o.IntName, &o.ExpName, &o.ReplayFileName,
              &o.CursorFileName, &o.langFileName, &o.hsBeg3bvs, &o.hsInt3bvs, &o.hsExp3bvs, &o.hsBegTime,
              &o.hsBegName, &o.hsIntTime, &o.hsIntName, &o.hsExpTime, &o.hsExpName})
            texts += *t;
        const int32_t s1 = StringByteSum(texts);
        int32_t s2 = 0;
        for (bool flag :
             {o.ShowIDText, o.doDisableTimer, o.doRecorderStyleTimer, o.doAutoFlag, o.doDisableGroupOpen,
              o.doDisableRightClicks, o.doInfiniteLives, o.doShowProbabilities, o.doShowMinesPos,
              o.doShow3BVAfterGameStart, o.doMustHave7, o.doMustHave8, o.doApprox3BV, o.doApprox3BV2})
            s2 += BoolToChecksumWeight(flag);
        s2 += o.skinNumber + o.CountryNumber + 3 * o.seAttemptsValue;
        return std::to_string(s1) + std::to_string(s2);
    } catch (...) {
        DebugLog("fatal error. can not generate cso");
        return {};
    }
}

bool SaveSettings() {
    int step = 0;
    bool templatesSaved = true;
    try {
        if (Options.LastPath.empty()) throw std::runtime_error("no program folder");
        const std::string path = SettingsPath();
        // Built whole in memory, then written once: a failure leaves the old file as it was.
        std::string file;
        step = 2;
        auto line = [&](const std::string& text) {
            file += text;
            file += kEol;
            ++step;
        };

        line(";Minesweeper Quorlet (Version 0.47)");
        line(";Configuration File");
        line(";Saved " + SavedStamp());
        line(";Read-only! Manual edition prohibited!");

        templatesSaved = SaveCountersTemplate();
        templatesSaved = SaveAutosaveTemplate() && templatesSaved;

        const tOptionsSet record = RecordToWrite();
        for (const TFileSection& section : kSections) {
            line("");
            line(std::string("[") + section.Name + "]");
            for (size_t i = 0; i < section.Count; ++i) {
                const TFileKey& key = section.Keys[i];
                if (key.Field == TOptionRef(&O::LastPath))
                    line(std::string(key.Key) + "=\"" + record.LastPath + "\"");
                else
                    line(std::string(key.Key) + "=" + ValueText(record, key.Field));
            }
        }
        line("");
        line("[ENCRYPT]");
        line("csO=" + MakeOptionsChecksum());
        line(";END");

        std::string why;
        if (!SafeWriteFile(path, file, &why)) {
            step = 1;
            throw std::runtime_error(path + ": " + why);
        }
        DebugLog("preferences saved");
    } catch (...) {
        const std::string why = CurrentErrorText();
        DebugLog("error #" + std::to_string(step) + " saving options");
        if (step == 0) DebugLog("error #0: can not assign file");
        if (step == 1) DebugLog("error #1: can not rewrite file (file is read-only)");
        DebugLog("#" + why);
        SaveDebugLog();
        // Without a program folder the player was told at start-up that nothing is saved.
        if (!Options.LastPath.empty()) ShowMessageBox(UIText("0290"));
        return false;
    }
    // One message for the three files: a full disk fails them all.
    if (!templatesSaved) ShowMessageBox(UIText("0290"));
    return templatesSaved;
}

void LoadSettings() {
    // Read on every path, even a first start or a rejected file, so that the save at the end
    // of the run never writes the default over the player's template; none keeps the default.
    if (std::error_code ec; fs::exists(fs::u8path(AutosaveTemplatePath()), ec)) LoadAutosaveTemplate();
    int step = 0;
    std::string path;
    try {
        // Whatever this read finds, the template is then loaded or pending, never saved unread.
        CountersTemplatePending = 1;
        if (Options.LastPath.empty()) throw std::runtime_error("no program folder");
        path = FindSettingsFile();
        std::error_code templateCheck;
        if (!path.empty() || fs::exists(CountersTemplatePath(), templateCheck))
            LoadCountersTemplate();
        else
            ClearCountersTemplate(); // a first start: nothing to load, and nothing to report
        if (path.empty()) {
            // A first start: give the player the template to translate.
            InstallEnglishLanguageFile();
            ApplyDefaultsAndTexts();
            RestoreWindowPositions();
            LoadOptionsWindow();
            return;
        }
        step = 1;
        std::ifstream file(path, std::ios::binary);
        if (!file) throw std::runtime_error("can not open " + path);
        step = 2;
        std::error_code ec;
        if (fs::file_size(path, ec) > kMaxSettingsFileSize || ec)
            throw std::runtime_error("settings file too large or unreadable");

        // A field the file does not name keeps its default, not a zero.
        ApplyDefaultSettings();
        const auto& keys = ReaderKeys();
        std::string text;
        while (std::getline(file, text)) {
            if (!text.empty() && text.back() == '\r') text.pop_back();
            if (text.size() < 4 || text[0] == ';' || text[0] == '[') continue;
            const size_t eq = text.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = UpperCase(std::string_view(text).substr(0, eq));
            const std::string value = text.substr(eq + 1);

            if (const auto it = keys.find(key); it != keys.end()) {
                StoreValue(it->second, value);
                if (key == "USERIDTEXT" && !IsPlayerIdAllowed(Options.UserIDText))
                    Options.UserIDText = kRefusedPlayerIdText;
                if (key == "CURSORFILENAME") Options.CursorFileName = FileNamePart(value);
                if (key == "LANGFILENAME") Options.langFileName = FileNamePart(value);
            } else if (key == "DOZEROTIMER0") {
                Options.doRecorderStyleTimer = !BitTextToBool(value);
            } else if (key == "DEBUGSHOWMATHMODULEERRORS") {
                FormulaErrorLogging = BitTextToBool(value) ? 1 : 0;
            } else if (key == "CSO") {
                if (value != MakeOptionsChecksum()) {
                    file.close();
                    KeepRejectedFile(path);
                    ApplyDefaultsAndTexts();
                    return;
                }
            }
        }
        if (file.bad()) throw std::runtime_error("read failed");
        file.close();
    } catch (...) {
        const std::string why = CurrentErrorText();
        DebugLog("error #" + std::to_string(step) + " loading options");
        if (step == 0) DebugLog("error #0: can not assign file");
        if (step == 1) DebugLog("error #1: can not read file header (file system access failure)");
        DebugLog("#" + why);
        try {
            std::error_code ec;
            // The next save would overwrite what could not be read: keep it aside first.
            if (!path.empty() && fs::exists(path, ec)) KeepRejectedFile(path);
            ApplyDefaultsAndTexts();
        } catch (...) {
            DebugLog("#defaults not applied: " + CurrentErrorText());
        }
        SaveDebugLog();
        return;
    }

    // The file was good: a window that fails to follow must not send it down the rejection path.
    try {
        if (Options.CounterRefresh == 0) Options.CounterRefresh = 10;
        RestoreWindowPositions();
        LoadOptionsWindow();
        LoadLanguageFile();
        ApplyTextsToWindows();
        // A level beyond Expert would index past the level tables.
        GameLevel = std::min<uint8_t>(Options.doStartUpMode, glExpert);
        DebugLog("preferences loaded");
    } catch (...) {
        DebugLog("#settings loaded, but the windows did not follow: " + CurrentErrorText());
    }
}

} // namespace quorlet
