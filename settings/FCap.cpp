#include "settings/FCap.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/programfolder.h"
#include "core/safewrite.h"
#include "settings/languageencoding.h"

namespace quorlet {

// clang-format off
constexpr std::array<TUITextDefault, kUITextCount> UITextDefaults{{
    {"0000", "NF-style"},
    {"0007", "game win at"},
    {"0008", "sec"},
    {"0009", "blast"},
    {"0010", "godmode .. on .. awakening!"},
    {"0011", "Cannot connect"},
    {"0012", "Port"},
    {"0013", "Name"},
    {"0014", "IP"},
    {"0015", "Host Session"},
    {"0016", "Connect"},
    {"0017", "Disconnect"},
    {"0018", "joined"},
    {"0019", "Multiplayer Mod"},
    {"0020", "Replay Progress Control Bar"},
    {"0021", "about"},
    {"0022", "L"},
    {"0023", "R"},
    {"0024", "D"},
    {"0025", "3BV"},
    {"0026", "Done"},
    {"0027", "3BV/s"},
    {"0028", "Time"},
    {"0029", "SAVE REPLAY"},
    {"0030", "SAVED"},
    {"0031", "Custom Board Setup"},
    {"0032", "Width"},
    {"0033", "Height"},
    {"0034", "Mines"},
    {"0035", "Cancel"},
    {"0036", "Apply"},
    {"0037", "Default values:"},
    {"0038", "8 x 8 , 10 mines"},
    {"0039", "16 x 16 , 40 mines"},
    {"0040", "30 x 16 , 99 mines"},
    {"0041", "custom mode dismissed"},
    {"0042", "Board width value must be in interval 8..30"},
    {"0043", "Board height value must be in interval 8..30"},
    {"0044", "Board mines value must be in interval 1..99% of board capacity"},
    {"0045", "custom mode selected"},
    {"0046", "Debug Protocol"},
    {"0047", "Clear"},
    {"0048", "Save"},
    {"0049", "Font"},
    {"0050", "Command [Enter]"},
    {"0051", "Close"},
    {"0052", "protocol cleared"},
    {"0053", "protocol save ok"},
    {"0054", "protocol save error"},
    {"0055", "Debug Command"},
    {"0056", "Statistics"},
    {"0057", "SAVE GRID"},
    {"0058", "Save Full Statistics to HTML-file"},
    {"0059", "Backup History"},
    {"0060", "Restore History"},
    {"0061", "Clear History"},
    {"0062", "Beginner"},
    {"0063", "Top Time"},
    {"0064", "Top 3BV/s"},
    {"0065", "Times Review"},
    {"0066", "3BV/s Review"},
    {"0067", "3BV Review"},
    {"0068", "Style Chart"},
    {"0069", "Intermediate"},
    {"0070", "Expert"},
    {"0071", "Style Chart"},
    {"0072", "Activity"},
    {"0073", "Entire"},
    {"0074", "Setup"},
    {"0075", "Beginner Review"},
    {"0076", "Beginner Top Time"},
    {"0077", "Beginner Top 3BV/s"},
    {"0078", "Beginner Times Review"},
    {"0079", "Beginner 3BV/s Review"},
    {"0080", "Beginner 3BV Review"},
    {"0081", "Beginner Style Chart"},
    {"0082", "Intermediate Review"},
    {"0083", "Intermediate Top Time"},
    {"0084", "Intermediate Top 3BV/s"},
    {"0085", "Intermediate Times Review"},
    {"0086", "Intermediate 3BV/s Review"},
    {"0087", "Intermediate 3BV Review"},
    {"0088", "Intermediate Style Chart"},
    {"0089", "Expert Review"},
    {"0090", "Expert Top Time"},
    {"0091", "Expert Top 3BV/s"},
    {"0092", "Expert Times Review"},
    {"0093", "Expert 3BV/s Review"},
    {"0094", "Expert 3BV Review"},
    {"0095", "Expert Style Chart"},
    {"0096", "Overall Style Chart"},
    {"0097", "Total Activity"},
    {"0098", "Entire Statistics (debug info)"},
    {"0099", "Flag-style"},
    {"0101", "File copy error"},
    {"0102", "Backup file:"},
    {"0103", "This will delete ALL history entires. Are you sure?"},
    {"0104", "In order to draw correctly the chart-pie, if values are equal, one of them is incremented by 1."},
    {"0106", "Not history file / file corrupted"},
    {"0107", "History file restored. Please, reopen statistics window"},
    {"0108", "History is empty. You need to win a game first :-)"},
    {"0109", "Local High Scores"},
    {"0119", "Preferences"},
    {"0120", "Default"},
    {"0121", "Cancel"},
    {"0122", "Apply"},
    {"0123", "Player"},
    {"0124", "Game Style"},
    {"0125", "Cheat Mode"},
    {"0126", "System"},
    {"0127", "Language"},
    {"0128", "Automation"},
    {"0129", "Multiplayer"},
    {"0130", "Player Setup"},
    {"0131", "Game Style Setup"},
    {"0132", "Cheat Mode Setup"},
    {"0133", "System Setup"},
    {"0134", "Language Setup"},
    {"0135", "Automation Setup"},
    {"0136", "Multiplayer Setup"},
    {"0137", "Show Player Identification Text"},
    {"0138", "Game History Log (Recommended)"},
    {"0139", "Startup Mode:"},
    {"0140", "Beg"},
    {"0141", "Int"},
    {"0142", "Exp"},
    {"0143", "Skin"},
    {"0144", "Timer Skin"},
    {"0145", "Marks (?) (Not Recommended)"},
    {"0146", "Tenths and Hundredths in Timer"},
    {"0147", "Show Counters Window (Recommended)"},
    {"0148", "Board Clearance on Left Mouse DoubleClick (Not Recommended)"},
    {"0149", "Board Clearance on Fail (Recommended)"},
    {"0150", "Board Clearance on Middle Mouse Click"},
    {"0151", "Disable Timer"},
    {"0152", "Start timer from 1,00 sec (recorder style)"},
    {"0153", "Auto Flag Set at the Game Start"},
    {"0154", "Disable Group Auto Open on DoubleClick"},
    {"0155", "Disable Right Mouse Clicks"},
    {"0156", "Infinite Lives"},
    {"0157", "Show Mines Presence Probabilities"},
    {"0158", "Show 3BV After Game Start"},
    {"0159", "Board Must Have 7"},
    {"0160", "Board Must have 8"},
    {"0161", "3BV <="},
    {"0162", "Attempts 1000 *"},
    {"0163", "Set High Process Priority (Recommended)"},
    {"0164", "Enable Boss-key [Alt+F2]"},
    {"0165", "Clip Cursor to the Board"},
    {"0166", "Always on Top"},
    {"0167", "Prohibit Multiple Instances"},
    {"0168", "Justify Quorlet Windows by Center"},
    {"0169", "Register Quorlet Video File (QVF) Extension"},
    {"0170", "Put Shortcut to the Desktop"},
    {"0171", "Please, Select Your Language"},
    {"0172", "Automatical Replay Saving (Recommended)"},
    {"0175", "Check These Options on Your Own Risk !"},
    {"0176", "Block Incoming Chat Messages"},
    {"0177", "Allow List of Processes Grab"},
    {"0178", "Allow System Information Grab"},
    {"0179", "You could not save replay files in Cheat Mode"},
    {"0180", "Please, read the Readme file for more automatic saving template explanations"},
    {"0181", "QVF extension registration done"},
    {"0182", "Registry Access Failure"},
    {"0183", "History file manual corruption detected"},
    {"0184", "History file recreated"},
    {"0185", "History file corrupted. File has been renamed to \"history_corrupt_<date>.dat\""},
    {"0186", "Beg"},
    {"0187", "Int"},
    {"0188", "Exp"},
    {"0189", "All"},
    {"0190", "Avg"},
    {"0191", "Value"},
    {"0192", "Date"},
    {"0193", "Hour"},
    {"0194", "3BV"},
    {"0195", "3BV/s"},
    {"0196", "Time"},
    {"0197", "Games Total"},
    {"0198", "Flag"},
    {"0199", "Non-Flag"},
    {"0200", "Full Time"},
    {"0201", "Best  Time"},
    {"0202", "Avg   Time"},
    {"0203", "Worst Time"},
    {"0204", "Best  3BV/s"},
    {"0205", "Avg   3BV/s"},
    {"0206", "Worst 3BV/s"},
    {"0207", "Best  3BV"},
    {"0208", "Avg   3BV"},
    {"0209", "Worst 3BV"},
    {"0210", "Style"},
    {"0211", "Total"},
    {"0212", "3BV/s Min"},
    {"0213", "3BV/s Max"},
    {"0214", "3BV/s Avg"},
    {"0215", "3BV Min"},
    {"0216", "3BV Avg"},
    {"0217", "3BV Max"},
    {"0218", "Time Min"},
    {"0219", "Time Avg"},
    {"0220", "Time Max"},
    {"0221", "Percents"},
    {"0222", "Games"},
    {"0223", "Total Time"},
    {"0224", "Mode"},
    {"0225", "Both"},
    {"0226", "Game"},
    {"0227", "New"},
    {"0228", "Play Video"},
    {"0229", "Multiplayer Mod"},
    {"0230", "Beginner"},
    {"0231", "Intermediate"},
    {"0232", "Expert"},
    {"0233", "Custom Board"},
    {"0234", "Local High Scores"},
    {"0235", "Statistics"},
    {"0236", "Boss-Key"},
    {"0237", "Exit"},
    {"0238", "Options"},
    {"0239", "Preferences"},
    {"0240", "Board saved to"},
    {"0241", "Language"},
    {"0242", "Show Debug Protocol"},
    {"0243", "Show Counters"},
    {"0244", "Screenshot"},
    {"0245", "Make JPG Screenshot"},
    {"0246", "Make BMP Screenshot"},
    {"0247", "Make FULL Screenshot"},
    {"0248", "Community Websites"},
    {"0249", "Help"},
    {"0250", "Index"},
    {"0251", "About"},
    {"0252", "Replay Player Name"},
    {"0253", "Country"},
    {"0254", "Default Replay File Name"},
    {"0255", "Mode Names"},
    {"0260", "Save Statistics (no debug) to HTML-file"},
    {"0261", "Day"},
    {"0262", "Games Chart"},
    {"0263", "Overall Games Chart"},
    {"0264", "Month"},
    {"0265", "Fill Finished Board with Flags"},
    {"0266", "Use BitBlt to Draw Board (Recommended)"},
    {"0267", "IRC Addon"},
    {"0268", "Copy Last Game Info"},
    {"0274", "Copy Game Info by Number"},
    {"0275", "Search"},
    {"0276", "CLEAR"},
    {"0277", "SORT BY"},
    {"0278", "Sorting in large tables may be slow"},
    {"0279", "Table contains more tha 1000 rows, and sorting may take a few minutes. Continue?"},
    {"0280", "Load External History File (.DAT or .INF)"},
    {"0281", "History file load success"},
    {"0282", "Show Equals in Statistics Tables"},
    {"0283", "Mouse Setup"},
    {"0284", "Increase Sensitivity"},
    {"0285", "Decrease Sensitivity"},
    {"0286", "Mouse Speed"},
    {"0287", "Open Mouse Control Panel"},
    {"0288", "Show Mines Positions"},
    {"0289", "File not selected"},
    {"0290", "Cannot save file"},
    {"0291", "Cannot load file"},
    {"0292", "Cannot create folder"},
    {"0293", "Cannot load folder"},
    {"0294", "Delete file"},
    {"0295", "Save"},
    {"0296", "Load"},
    {"0297", "Delete"},
    {"0298", "Save Custom Board"},
    {"0299", "Load Custom Board"},
    {"0300", "Seek Plugins at Startup (May Be Slow)"},
    {"0303", "Plugins"},
    {"0304", "Open Folder"},
    {"0305", "Game Folder"},
    {"0306", "Screenshots Folder"},
    {"0307", "Boards Folder"},
    {"0308", "Board presets Folder"},
    {"0309", "Plugins Folder"},
    {"0310", "Counter Setup"},
    {"0311", "Rows Widths"},
    {"0312", "Counter Indicators"},
    {"0313", "Read the Help file about the Counter Window Indicator's templates"},
    {"0314", "Show Counters Window's Title"},
    {"0315", "Counters"},
    {"0316", "Counters"},
    {"0317", "Add Formula"},
    {"0318", "Counter Indicator Template Formula Builder"},
    {"0319", "Help"},
    {"0322", "Clear"},
    {"0323", "Undo"},
    {"0324", "Indicator Name"},
    {"0326", "Formula Operations"},
    {"0327", "# - Text"},
    {"0328", "@ - Previous Formula"},
    {"0329", "Save template file first?"},
    {"0331", "IRC Script Setup"},
    {"0332", "Format"},
    {"0333", "Colors"},
    {"0334", "Template for Autocopying Blasted Games"},
    {"0335", "Template for Autocopying Finished Games"},
    {"0336", "List of Excluded Counters Indicators"},
    {"0337", "Copy Information"},
    {"0338", "Preview Replay"},
    {"0339", "Save Board as BMP"},
    {"0340", "Save Board as TXT"},
    {"0341", "flagging"},
    {"0342", "no-flagging"},
    {"0343", "th"},
    {"0344", "st"},
    {"0345", "nd"},
    {"0346", "rd"},
    {"0347", "Copy Time Records Info"},
    {"0348", "Copy 3BV/s Records Info"},
    {"0349", "Copy Averages Info"},
    {"0350", "Copy Today's BEG Playing Info"},
    {"0351", "Copy Today's INT Playing Info"},
    {"0352", "Copy Today's EXP Playing Info"},
    {"0353", "IRC Text Format"},
    {"0354", "Green Color Notifier on Game Over"},
    {"0355", "Show Timer While Game is Played"},
    {"0356", "3BV >="},
    {"0357", "If you wish to translate program to Your language, please, see instructions inside the language file."},
    {"0358", "Draw Mouse Chart"},
    {"0359", "Replay Mouse Chart Setup"},
    {"0360", "Use Darken Board Skin"},
    {"0361", "Show Cells"},
    {"0362", "Show Mouse Cursor Path"},
    {"0363", "Highlight Mouse Path When Buttons Pressed"},
    {"0364", "Show Left Clicks"},
    {"0365", "Show Right Clicks"},
    {"0366", "Show Double Clicks"},
    {"0367", "Mouse Cursor Path Color"},
    {"0368", "Left Clicks Color"},
    {"0369", "Right Clicks Color"},
    {"0370", "Double Clicks Color"},
    {"0371", "Reload Page"},
    {"0372", "Force New Game Start by Timer"},
    {"0373", "Beep if Time Exceeds Values"},
    {"0374", "Change Board Layout"},
    {"0375", "Silent Mode Output"},
    {"0376", "Fill"},
    {"0377", "Use Dot as the Floating Point Separator"},
    {"0378", "Number of Indices"},
    {"0379", "Show Counters Window on Game Finish"},
    {"0380", "Show Counters Window on Game End"},
    {"0381", "Use Random Smiles in IRC Reports"},
    {"0382", "Calculate Counters While Playing"},
    {"0383", "Save Table"},
    {"0384", "Congratulations with"},
    {"0385", "high score"},
    {"0386", "high scores"},
    {"", "New Record"},
    {"", "RQP"},
    {"", "IOS"},
    {"", "IOE"},
    {"", "Counter indicator name is like \"myName\". Fix it?"},
    {"", "No formula used. If you want to add formula as text, check the proper checkbox. Resume editing?"},
    {"", "unknown variables (like \"mySomething\") detected. Resume editing?"},
}};
// clang-format on

static_assert(kUITextCount == std::tuple_size_v<decltype(UITextTable)>);
// Every entry filled; keys four digits and strictly rising (UITextIndex searches them).
static_assert([] {
    auto digits = [](const char* k) {
        for (int i = 0; i < 4; ++i)
            if (k[i] < '0' || k[i] > '9') return false;
        return k[4] == '\0';
    };
    for (std::size_t i = 0; i < kUITextCount; ++i) {
        const TUITextDefault& e = UITextDefaults[i];
        if (e.key == nullptr || e.text == nullptr) return false;
        if (i < kKeyedUITextCount && !digits(e.key)) return false;
        if (i >= kKeyedUITextCount && e.key[0] != '\0') return false;
        if (i > 0 && i < kKeyedUITextCount && !(std::string_view(UITextDefaults[i - 1].key) < e.key))
            return false;
    }
    return true;
}());

namespace {

constexpr std::string_view kAboutKey = "0021";
constexpr std::string_view kProgramName = "Minesweeper Quorlet";
// Far above any real language file (the English one is under 10 KB), as the settings file is capped.
constexpr std::uintmax_t kMaxLanguageFileSize = 1u << 20;

std::string LanguageFilePath() {
    const std::string folder = Options.LastPath.empty() ? ResolveProgramFolder() : Options.LastPath;
    // Never a name relative to whatever folder the process runs in.
    if (folder.empty()) return {};
    return folder + Options.langFileName;
}

// The whole file as bytes; throws when it cannot be read.
std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("read failed");
    return bytes;
}

void ApplyLanguageLine(std::string_view line) {
    if (line.size() < 4 || line[0] == ';' || line[0] == '[' || line[0] == '/') return;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    std::string key(line.substr(0, eq));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    const int index = UITextIndex(key);
    if (index < 0) {
        DebugLog("#unknown language definition " + ByteTextToUtf8(line));
        return;
    }
    std::string text = ByteTextToUtf8(line.substr(eq + 1));
    if (key == kAboutKey) text += " " + std::string(kProgramName);
    UITextTable[static_cast<std::size_t>(index)] = std::move(text);
}

} // namespace

std::array<std::string, kUITextCount> DefaultUITextTable() {
    std::array<std::string, kUITextCount> table;
    for (std::size_t i = 0; i < kUITextCount; ++i)
        table[i] = UITextDefaults[i].text;
    return table;
}

int UITextIndex(std::string_view key) {
    // Keyed entries are sorted by key.
    const auto begin = UITextDefaults.begin();
    const auto end = begin + kKeyedUITextCount;
    const auto it = std::lower_bound(begin, end, key, [](const TUITextDefault& entry, std::string_view k) {
        return std::string_view(entry.key) < k;
    });
    if (it == end || std::string_view(it->key) != key) return -1;
    return static_cast<int>(it - begin);
}

const std::string& UIText(std::string_view key) {
    static const std::string empty;
    const int index = UITextIndex(key);
    return index < 0 ? empty : UITextTable[static_cast<std::size_t>(index)];
}

void SetDefaultTexts() {
    for (std::size_t i = 0; i < kKeyedUITextCount; ++i)
        UITextTable[i] = UITextDefaults[i].text;
}

void LoadLanguageFile() {
    SetDefaultTexts();
    try {
        const std::string path = LanguageFilePath();
        std::error_code ec;
        // No file name leaves the folder itself, which is no language file either.
        if (path.empty() || Options.langFileName.empty() || !std::filesystem::exists(path, ec)) {
            DebugLog("can not find prefered language file");
            return;
        }
        if (!std::filesystem::is_regular_file(path, ec)) throw std::runtime_error("not a file");
        // A stray huge file would cost seconds and memory at every start.
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec || size > kMaxLanguageFileSize) throw std::runtime_error("file too large or unreadable");
        const std::string bytes = ReadFileBytes(path);
        std::string_view rest(bytes);
        // Editors that save UTF-8 may put a byte-order mark in front of the first key.
        if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
        while (!rest.empty()) {
            const std::size_t nl = rest.find('\n');
            std::string_view line = rest.substr(0, nl);
            rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
            // Files written on Windows end their lines with CR LF.
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ApplyLanguageLine(line);
        }
    } catch (const std::exception& e) {
        // An unreadable file must not fail the settings read: keep English.
        SetDefaultTexts();
        DebugLog("#cannot read language file " + Options.langFileName + ": " + e.what());
    }
}

void ClearTextTable() {
    for (std::string& text : UITextTable)
        std::string().swap(text);
}

std::string EnglishLanguageFileText() {
    std::ostringstream out;
    const char* header[] = {
        "; Minesweeper Quorlet language file: English, the built-in texts.",
        "; To translate: copy this file to a new name ending in .lng in the program folder,",
        "; replace the text after each \"=\" and keep the four-digit key in front of it.",
        "; Then choose the file in Preferences, page Language.",
        "; A key left out keeps its English text. Lines starting with ; [ or / are ignored.",
        "; 0021 is the About window's caption; the program name is added after its text.",
        "; It is commented out here so that this file leaves the English caption as it is:",
        "; remove the ; in front of it when you translate it.",
        "[English]",
    };
    for (const char* line : header)
        out << line << "\r\n";
    for (std::size_t i = 0; i < kKeyedUITextCount; ++i) {
        if (kAboutKey == UITextDefaults[i].key) out << ';';
        out << UITextDefaults[i].key << '=' << UITextDefaults[i].text << "\r\n";
    }
    return out.str();
}

void InstallEnglishLanguageFile() {
    try {
        if (Options.LastPath.empty()) return;
        const std::string path = Options.LastPath + kEnglishLanguageFileName;
        std::error_code ec;
        if (std::filesystem::exists(path, ec) || ec) return;
        std::string why;
        if (!SafeWriteFile(path, EnglishLanguageFileText(), &why))
            DebugLog(std::string("#cannot write ") + kEnglishLanguageFileName + ": " + why);
    } catch (const std::exception& e) {
        DebugLog(std::string("#cannot write ") + kEnglishLanguageFileName + ": " + e.what());
    }
}

} // namespace quorlet
