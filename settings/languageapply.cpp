#include "settings/languageapply.h"

#include <charconv>

#include "settings/FCap.h"

namespace quorlet {

// clang-format off
constexpr std::array<TTextBinding, kTextBindingCount> TextBindings{{
    {"TMult", "", "0019", TTextTarget::Caption, 0},
    {"TMult", "lPort", "0012", TTextTarget::Text, 0},
    {"TMult", "lName", "0013", TTextTarget::Text, 0},
    {"TMult", "lIP", "0014", TTextTarget::Text, 0},
    {"TMult", "HostBtn", "0015", TTextTarget::Text, 0},
    {"TMult", "ConnectBtn", "0016", TTextTarget::Text, 0},
    {"TMult", "DisconnectBtn", "0017", TTextTarget::Text, 0},
    {"TProgressBar", "", "0020", TTextTarget::Caption, 0},
    {"TAbout", "", "0021", TTextTarget::Caption, 0},
    {"TCounters", "", "0315", TTextTarget::Caption, 0},
    {"TCounters", "cntSaveReplayBtn", "0029", TTextTarget::Text, 0},
    {"TCounters", "cntSaveBoardBtn", "0298", TTextTarget::Text, 0},
    {"TCounters", "cntCopyInfoText", "0337", TTextTarget::Text, 0},
    {"TCounters", "cntPreviewReplayBtn", "0338", TTextTarget::Text, 0},
    {"Tcustom_board_size", "", "0031", TTextTarget::Caption, 0},
    {"Tcustom_board_size", "lWidth", "0032", TTextTarget::Text, 0},
    {"Tcustom_board_size", "lHeight", "0033", TTextTarget::Text, 0},
    {"Tcustom_board_size", "lMines", "0034", TTextTarget::Text, 0},
    {"Tcustom_board_size", "bCancel", "0035", TTextTarget::Text, 0},
    {"Tcustom_board_size", "bApply", "0036", TTextTarget::Text, 0},
    {"Tcustom_board_size", "lDef", "0037", TTextTarget::Text, 0},
    {"Tcustom_board_size", "r1", "0038", TTextTarget::Text, 0},
    {"Tcustom_board_size", "r2", "0039", TTextTarget::Text, 0},
    {"Tcustom_board_size", "r3", "0040", TTextTarget::Text, 0},
    {"Tcustom_board_size", "bSave", "0295", TTextTarget::Text, 0},
    {"Tcustom_board_size", "bLoad", "0296", TTextTarget::Text, 0},
    {"Tcustom_board_size", "bDelete", "0297", TTextTarget::Text, 0},
    {"Tdebug", "", "0046", TTextTarget::DebugCaption, 0},
    {"Tdebug", "ClearBtn", "0047", TTextTarget::Text, 0},
    {"Tdebug", "SaveAsBtn", "0048", TTextTarget::Text, 0},
    {"Tdebug", "FontBtn", "0049", TTextTarget::Text, 0},
    {"Tdebug", "CommandBtn", "0050", TTextTarget::Text, 0},
    {"Tdebug", "CloseBtn", "0051", TTextTarget::Text, 0},
    {"TDebug_Command", "", "0055", TTextTarget::Caption, 0},
    {"THistory", "", "0056", TTextTarget::Caption, 0},
    {"THistory", "sbSaveGrid", "0057", TTextTarget::Text, 0},
    {"THistory", "sbSavegrid2", "0057", TTextTarget::Text, 0},
    {"THistory", "savestatBtn", "0058", TTextTarget::Text, 0},
    {"THistory", "BackupBtn", "0059", TTextTarget::Text, 0},
    {"THistory", "RestoreBtn", "0060", TTextTarget::Text, 0},
    {"THistory", "ClearBtn", "0061", TTextTarget::Text, 0},
    {"THistory", "defaultBtn", "0120", TTextTarget::UpperText, 0},
    {"THistory", "cbBeg", "0186", TTextTarget::Text, 0},
    {"THistory", "cbInt", "0187", TTextTarget::Text, 0},
    {"THistory", "cbExp", "0188", TTextTarget::Text, 0},
    {"THistory", "cbDate", "0192", TTextTarget::Text, 0},
    {"THistory", "cbHour", "0193", TTextTarget::Text, 0},
    {"THistory", "cbBV", "0194", TTextTarget::Text, 0},
    {"THistory", "cbBVS", "0195", TTextTarget::Text, 0},
    {"THistory", "cbTime", "0196", TTextTarget::Text, 0},
    {"THistory", "cbF", "0198", TTextTarget::Text, 0},
    {"THistory", "cbNF", "0199", TTextTarget::Text, 0},
    {"THistory", "savestatnodebugBtn", "0260", TTextTarget::Text, 0},
    {"THistory", "searchBtn", "0275", TTextTarget::UpperText, 0},
    {"THistory", "sClearBtn", "0276", TTextTarget::UpperText, 0},
    {"THistory", "sortBtn", "0277", TTextTarget::UpperText, 0},
    {"THistory", "LoadExternalFileBtn", "0280", TTextTarget::Text, 0},
    {"THistory", "PageSeL", "0062", TTextTarget::ListItem, 1},
    {"THistory", "PageSeL", "0063", TTextTarget::ListItem, 2},
    {"THistory", "PageSeL", "0064", TTextTarget::ListItem, 3},
    {"THistory", "PageSeL", "0065", TTextTarget::ListItem, 4},
    {"THistory", "PageSeL", "0066", TTextTarget::ListItem, 5},
    {"THistory", "PageSeL", "0067", TTextTarget::ListItem, 6},
    {"THistory", "PageSeL", "0068", TTextTarget::ListItem, 7},
    {"THistory", "PageSeL", "0069", TTextTarget::ListItem, 8},
    {"THistory", "PageSeL", "0063", TTextTarget::ListItem, 9},
    {"THistory", "PageSeL", "0064", TTextTarget::ListItem, 10},
    {"THistory", "PageSeL", "0065", TTextTarget::ListItem, 11},
    {"THistory", "PageSeL", "0066", TTextTarget::ListItem, 12},
    {"THistory", "PageSeL", "0067", TTextTarget::ListItem, 13},
    {"THistory", "PageSeL", "0068", TTextTarget::ListItem, 14},
    {"THistory", "PageSeL", "0070", TTextTarget::ListItem, 15},
    {"THistory", "PageSeL", "0063", TTextTarget::ListItem, 16},
    {"THistory", "PageSeL", "0064", TTextTarget::ListItem, 17},
    {"THistory", "PageSeL", "0065", TTextTarget::ListItem, 18},
    {"THistory", "PageSeL", "0066", TTextTarget::ListItem, 19},
    {"THistory", "PageSeL", "0067", TTextTarget::ListItem, 20},
    {"THistory", "PageSeL", "0068", TTextTarget::ListItem, 21},
    {"THistory", "PageSeL", "0071", TTextTarget::ListItem, 22},
    {"THistory", "PageSeL", "0262", TTextTarget::ListItem, 23},
    {"THistory", "PageSeL", "0072", TTextTarget::ListItem, 24},
    {"THistory", "PageSeL", "0073", TTextTarget::ListItem, 25},
    {"THistory", "PageSeL", "0074", TTextTarget::ListItem, 26},
    {"THistory", "PageSeL", "0275", TTextTarget::ListItem, 27},
    {"TLocal_High_Scores", "", "0109", TTextTarget::Caption, 0},
    {"TLocal_High_Scores", "savehtmlbtn", "0383", TTextTarget::Text, 0},
    {"TOptions_window", "", "0119", TTextTarget::Caption, 0},
    {"TOptions_window", "DefaultBtn", "0120", TTextTarget::Text, 0},
    {"TOptions_window", "sbDefaultAut", "0120", TTextTarget::Text, 0},
    {"TOptions_window", "CancelBtn", "0121", TTextTarget::Text, 0},
    {"TOptions_window", "ApplyBtn", "0122", TTextTarget::Text, 0},
    {"TOptions_window", "lpage1", "0130", TTextTarget::Text, 0},
    {"TOptions_window", "lpage2", "0131", TTextTarget::Text, 0},
    {"TOptions_window", "lpage3", "0132", TTextTarget::Text, 0},
    {"TOptions_window", "lPage4", "0133", TTextTarget::Text, 0},
    {"TOptions_window", "lPage5", "0134", TTextTarget::Text, 0},
    {"TOptions_window", "lPage6", "0135", TTextTarget::Text, 0},
    {"TOptions_window", "lPage7", "0136", TTextTarget::Text, 0},
    {"TOptions_window", "cbLUserid", "0137", TTextTarget::Text, 0},
    {"TOptions_window", "cbHistLog", "0138", TTextTarget::Text, 0},
    {"TOptions_window", "lstartupmode", "0139", TTextTarget::Text, 0},
    {"TOptions_window", "rBeg", "0140", TTextTarget::Text, 0},
    {"TOptions_window", "rInt", "0141", TTextTarget::Text, 0},
    {"TOptions_window", "rExp", "0142", TTextTarget::Text, 0},
    {"TOptions_window", "lskin", "0143", TTextTarget::Text, 0},
    {"TOptions_window", "ltimerskin", "0144", TTextTarget::Text, 0},
    {"TOptions_window", "cbMarks", "0145", TTextTarget::Text, 0},
    {"TOptions_window", "cbTenths", "0146", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowCounters", "0147", TTextTarget::Text, 0},
    {"TOptions_window", "cbClearanceOnLeftBtn", "0148", TTextTarget::Text, 0},
    {"TOptions_window", "cbClearanceOnFail", "0149", TTextTarget::Text, 0},
    {"TOptions_window", "cbClearanceOnMiddleBtn", "0150", TTextTarget::Text, 0},
    {"TOptions_window", "cbDisableTimer", "0151", TTextTarget::Text, 0},
    {"TOptions_window", "cbZeroTimer0", "0152", TTextTarget::Text, 0},
    {"TOptions_window", "cbAutoFlagSet", "0153", TTextTarget::Text, 0},
    {"TOptions_window", "cbDisableGroupOpen", "0154", TTextTarget::Text, 0},
    {"TOptions_window", "cbDisableRightClick", "0155", TTextTarget::Text, 0},
    {"TOptions_window", "cbInfiniteLives", "0156", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowProbabilities", "0157", TTextTarget::Text, 0},
    {"TOptions_window", "cbShow3BVafterGameStart", "0158", TTextTarget::Text, 0},
    {"TOptions_window", "cbMustHave7", "0159", TTextTarget::Text, 0},
    {"TOptions_window", "cbMustHave8", "0160", TTextTarget::Text, 0},
    {"TOptions_window", "cbApprox3BV", "0161", TTextTarget::Text, 0},
    {"TOptions_window", "lattempts", "0162", TTextTarget::Text, 0},
    {"TOptions_window", "cbSetHighPriority", "0163", TTextTarget::Text, 0},
    {"TOptions_window", "cbEnableBossKey", "0164", TTextTarget::Text, 0},
    {"TOptions_window", "cbClipCur", "0165", TTextTarget::Text, 0},
    {"TOptions_window", "cbAlwaysOnTop", "0166", TTextTarget::Text, 0},
    {"TOptions_window", "cbProhibitMultInstances", "0167", TTextTarget::Text, 0},
    {"TOptions_window", "sbJustifyByCenter", "0168", TTextTarget::Text, 0},
    {"TOptions_window", "sbRegQVFext", "0169", TTextTarget::Text, 0},
    {"TOptions_window", "sbShortcut", "0170", TTextTarget::Text, 0},
    {"TOptions_window", "llangsel", "0171", TTextTarget::Text, 0},
    {"TOptions_window", "cbCond1", "0172", TTextTarget::Text, 0},
    {"TOptions_window", "lmultwarn", "0175", TTextTarget::Text, 0},
    {"TOptions_window", "cbBlockChat", "0176", TTextTarget::Text, 0},
    {"TOptions_window", "cbProcListGrab", "0177", TTextTarget::Text, 0},
    {"TOptions_window", "cbSysInfGrab", "0178", TTextTarget::Text, 0},
    {"TOptions_window", "lReplayName", "0252", TTextTarget::Text, 0},
    {"TOptions_window", "lCountry", "0253", TTextTarget::Text, 0},
    {"TOptions_window", "lReplayFileName", "0254", TTextTarget::Text, 0},
    {"TOptions_window", "lModeName", "0255", TTextTarget::Text, 0},
    {"TOptions_window", "cbFillFlags", "0265", TTextTarget::Text, 0},
    {"TOptions_window", "cbBlit", "0266", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowEquals", "0282", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowMines", "0288", TTextTarget::Text, 0},
    {"TOptions_window", "sbSaveCnt", "0295", TTextTarget::Text, 0},
    {"TOptions_window", "sbSaveAut", "0295", TTextTarget::Text, 0},
    {"TOptions_window", "sbLoadCnt", "0296", TTextTarget::Text, 0},
    {"TOptions_window", "sbloadaut", "0296", TTextTarget::Text, 0},
    {"TOptions_window", "cbSeekPlugins", "0300", TTextTarget::Text, 0},
    {"TOptions_window", "lPage8", "0310", TTextTarget::Text, 0},
    {"TOptions_window", "lserowswidth", "0311", TTextTarget::Text, 0},
    {"TOptions_window", "lcounterstext", "0312", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowCountersTitle", "0314", TTextTarget::Text, 0},
    {"TOptions_window", "sbAddFormula", "0317", TTextTarget::Text, 0},
    {"TOptions_window", "lPage9", "0331", TTextTarget::Text, 0},
    {"TOptions_window", "lAutoCopyFormat", "0332", TTextTarget::Text, 0},
    {"TOptions_window", "lColorScheme", "0333", TTextTarget::Text, 0},
    {"TOptions_window", "cbBlastedCopyIrc", "0334", TTextTarget::Text, 0},
    {"TOptions_window", "cbFinishedCopyIRC", "0335", TTextTarget::Text, 0},
    {"TOptions_window", "cbCountersExcludeList", "0336", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowCntGreenBorder", "0354", TTextTarget::Text, 0},
    {"TOptions_window", "cbDoTimer", "0355", TTextTarget::Text, 0},
    {"TOptions_window", "cbApprox3BV2", "0356", TTextTarget::Text, 0},
    {"TOptions_window", "mTranslateMe", "0357", TTextTarget::Text, 0},
    {"TOptions_window", "lpage10", "0359", TTextTarget::Text, 0},
    {"TOptions_window", "cbDarkenBoard", "0360", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowCells", "0361", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowMousePath", "0362", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowDownState", "0363", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowLeftCl", "0364", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowRightCl", "0365", TTextTarget::Text, 0},
    {"TOptions_window", "cbShowDoubleCl", "0366", TTextTarget::Text, 0},
    {"TOptions_window", "lmpcolor", "0367", TTextTarget::Text, 0},
    {"TOptions_window", "llclcolor", "0368", TTextTarget::Text, 0},
    {"TOptions_window", "lrclcolor", "0369", TTextTarget::Text, 0},
    {"TOptions_window", "ldclcolor", "0370", TTextTarget::Text, 0},
    {"TOptions_window", "DefaultPageBtn", "0371", TTextTarget::Text, 0},
    {"TOptions_window", "cbForcedNewGame", "0372", TTextTarget::Text, 0},
    {"TOptions_window", "cbForcedNewGameBEEP", "0373", TTextTarget::Text, 0},
    {"TOptions_window", "cbChangeLayout", "0374", TTextTarget::Text, 0},
    {"TOptions_window", "sbflushlist", "0376", TTextTarget::Text, 0},
    {"TOptions_window", "cbDotSeparator", "0377", TTextTarget::Text, 0},
    {"TOptions_window", "lserows", "0378", TTextTarget::Text, 0},
    {"TOptions_window", "cbCntonFinish", "0379", TTextTarget::Text, 0},
    {"TOptions_window", "cbCntonEnd", "0380", TTextTarget::Text, 0},
    {"TOptions_window", "cbUseSmiles", "0381", TTextTarget::Text, 0},
    {"TOptions_window", "cbExecuteCounters", "0382", TTextTarget::Text, 0},
    {"TOptions_window", "PageSeL", "0123", TTextTarget::ListItem, 1},
    {"TOptions_window", "PageSeL", "0124", TTextTarget::ListItem, 2},
    {"TOptions_window", "PageSeL", "0125", TTextTarget::ListItem, 3},
    {"TOptions_window", "PageSeL", "0126", TTextTarget::ListItem, 4},
    {"TOptions_window", "PageSeL", "0127", TTextTarget::ListItem, 5},
    {"TOptions_window", "PageSeL", "0128", TTextTarget::ListItem, 6},
    {"TOptions_window", "PageSeL", "0129", TTextTarget::ListItem, 7},
    {"TOptions_window", "PageSeL", "0316", TTextTarget::ListItem, 8},
    {"TFormula", "", "0318", TTextTarget::Caption, 0},
    {"TFormula", "cancelBtn", "0035", TTextTarget::Text, 0},
    {"TFormula", "applyBtn", "0036", TTextTarget::Text, 0},
    {"TFormula", "helpBtn", "0319", TTextTarget::Text, 0},
    {"TFormula", "clearBtn", "0322", TTextTarget::Hint, 0},
    {"TFormula", "undoBtn", "0323", TTextTarget::Hint, 0},
    {"TFormula", "gbName", "0324", TTextTarget::Text, 0},
    {"TFormula", "gbOp", "0326", TTextTarget::Text, 0},
    {"TFormula", "cbasText", "0327", TTextTarget::Text, 0},
    {"TFormula", "cbasForm", "0328", TTextTarget::Text, 0},
    {"TMain", "sbSavereplay", "0029", TTextTarget::Text, 0},
    {"TMain", "GameMnu", "0226", TTextTarget::Text, 0},
    {"TMain", "NewBtn", "0227", TTextTarget::Text, 0},
    {"TMain", "PlayVideoBtn", "0228", TTextTarget::Text, 0},
    {"TMain", "BeginnerBtn", "0230", TTextTarget::Text, 0},
    {"TMain", "IntermediateBtn", "0231", TTextTarget::Text, 0},
    {"TMain", "ExpertBtn", "0232", TTextTarget::Text, 0},
    {"TMain", "CustomBtn", "0233", TTextTarget::Text, 0},
    {"TMain", "HighScoresBtn", "0234", TTextTarget::Text, 0},
    {"TMain", "StatisticsBtn", "0235", TTextTarget::Text, 0},
    {"TMain", "BossKeyBtn", "0236", TTextTarget::Text, 0},
    {"TMain", "ExitBtn", "0237", TTextTarget::Text, 0},
    {"TMain", "Exit1", "0237", TTextTarget::Text, 0},
    {"TMain", "OptionsMnu", "0238", TTextTarget::Text, 0},
    {"TMain", "PreferencesBtn", "0239", TTextTarget::Text, 0},
    {"TMain", "LanguageBtn", "0241", TTextTarget::Text, 0},
    {"TMain", "ShowDebugProtocol1", "0242", TTextTarget::Text, 0},
    {"TMain", "ShowCountersBtn", "0243", TTextTarget::Text, 0},
    {"TMain", "ScreenshotMnu", "0244", TTextTarget::Text, 0},
    {"TMain", "MakeJPGScreenshotBtn", "0245", TTextTarget::Text, 0},
    {"TMain", "MakeBMPScreenshotBtn", "0246", TTextTarget::Text, 0},
    {"TMain", "MakeFULLScreenshotBtn", "0247", TTextTarget::Text, 0},
    {"TMain", "CommunityBtn", "0248", TTextTarget::Text, 0},
    {"TMain", "HelpMnu", "0249", TTextTarget::Text, 0},
    {"TMain", "IndexBtn", "0250", TTextTarget::Text, 0},
    {"TMain", "AboutBtn", "0251", TTextTarget::Text, 0},
    {"TMain", "IRCbtn", "0267", TTextTarget::Text, 0},
    {"TMain", "IRCLastGameInfoBtn", "0268", TTextTarget::Text, 0},
    {"TMain", "IRCNGameInfoBtn", "0274", TTextTarget::Text, 0},
    {"TMain", "MouseMnu", "0283", TTextTarget::Text, 0},
    {"TMain", "MouseCPL", "0287", TTextTarget::Text, 0},
    {"TMain", "btnSaveBoard", "0298", TTextTarget::Text, 0},
    {"TMain", "pluginbtn", "0303", TTextTarget::Text, 0},
    {"TMain", "folderMnu", "0304", TTextTarget::Text, 0},
    {"TMain", "quoFoldBtn", "0305", TTextTarget::Text, 0},
    {"TMain", "scrFoldBtn", "0306", TTextTarget::Text, 0},
    {"TMain", "boardFoldBtn", "0307", TTextTarget::Text, 0},
    {"TMain", "boardpresFoldBtn", "0308", TTextTarget::Text, 0},
    {"TMain", "plugFoldBtn", "0309", TTextTarget::Text, 0},
    {"TMain", "btnPreviewReplay", "0338", TTextTarget::Text, 0},
    {"TMain", "saveboarsbmpBtn", "0339", TTextTarget::Text, 0},
    {"TMain", "saveboarstxtBtn", "0340", TTextTarget::Text, 0},
    {"TMain", "IRCTimeRecordsInfoBtn", "0347", TTextTarget::Text, 0},
    {"TMain", "IRC3BVSRecordsInfoBtn", "0348", TTextTarget::Text, 0},
    {"TMain", "IRCAVGSInfoBtn", "0349", TTextTarget::Text, 0},
    {"TMain", "IRCTodayBEGInfoBtn", "0350", TTextTarget::Text, 0},
    {"TMain", "IRCTodayINTInfoBtn", "0351", TTextTarget::Text, 0},
    {"TMain", "IRCTodayEXPInfoBtn", "0352", TTextTarget::Text, 0},
    {"TMain", "ircoutputfrmtBtn", "0353", TTextTarget::Text, 0},
    {"TMain", "showmousepathBtn", "0358", TTextTarget::Text, 0},
    {"TMain", "IRCsilentmodeBtn", "0375", TTextTarget::Text, 0},
}};
// clang-format on

static_assert([] {
    for (const TTextBinding& b : TextBindings)
        if (b.window == nullptr || b.control == nullptr || b.key == nullptr) return false;
    return true;
}());

namespace {

// UTF-8 characters; continuation bytes do not count.
std::size_t CharCount(const std::string& text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

void DropLastChar(std::string& text) {
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((c & 0xC0) != 0x80) break;
    }
}

bool ParseField(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

} // namespace

std::string DensityText(int64_t mines, int64_t width, int64_t height) {
    // Spin edits hold at most a few digits; anything larger would overflow the product.
    constexpr int64_t kLimit = 1000000;
    if (width <= 0 || height <= 0 || mines < 0 || width > kLimit || height > kLimit || mines > kLimit)
        return "-";
    const int64_t n = mines * 100000 / (width * height);
    std::string text = std::to_string(n) + " %";
    while (text.size() < 7)
        text.insert(0, "0");
    text.insert(2, ",");
    return text;
}

std::string DensityText(const std::string& mines, const std::string& width, const std::string& height) {
    int64_t m = 0, w = 0, h = 0;
    if (!ParseField(mines, m) || !ParseField(width, w) || !ParseField(height, h)) return "-";
    return DensityText(m, w, h);
}

void ShortenMenuCaptions(std::string& help, std::string& game, std::string& options,
                         const std::function<bool()>& fits) {
    while (!fits()) {
        if (CharCount(help) + CharCount(game) + CharCount(options) <= 11) return;
        if (CharCount(help) > 4) DropLastChar(help);
        if (CharCount(game) > 3) DropLastChar(game);
        if (CharCount(options) >= 5) DropLastChar(options);
    }
}

} // namespace quorlet
