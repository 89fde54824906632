// The options window transfer over a fake window: the field map both ways, the clamps, the
// caps, the country table and the dialog's own steps.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/board.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/countries.h"
#include "settings/optionsdialog.h"
#include "settings/optionsmap.h"
#include "tests/testutil.h"

namespace quorlet {
namespace {

using O = tOptionsSet;

// The window's controls as plain values; a name it does not hold throws as the window does.
class TFakeOptionsWindow : public TOptionsDialog {
  public:
    struct TList {
        std::vector<std::string> Items;
        int32_t Index = -1;
    };

    TFakeOptionsWindow() {
        for (const TOptionControl& c : OptionControls()) {
            switch (c.Kind) {
            case TTransfer::Check: Checks[c.Control] = false; break;
            case TTransfer::Spin: Values[c.Control] = 0; break;
            case TTransfer::Edit:
            case TTransfer::Memo: Texts[c.Control] = ""; break;
            case TTransfer::Combo: {
                TList& list = Lists[c.Control];
                for (const char* item : OptionItems(c.Control))
                    list.Items.push_back(item);
                break;
            }
            case TTransfer::Country: Lists[c.Control].Items = CountryListNames(); break;
            case TTransfer::StartMode:
                for (const char* radio : kStartModeControls)
                    Checks[radio] = false;
                break;
            case TTransfer::Language: Lists[c.Control].Items = {"_english.lng", "german.lng"}; break;
            }
        }
        Texts["mtemplate"] = "";
        Texts["auttempl"] = "";
    }

    bool Checked(const char* c) override { return Find(Checks, c); }
    void SetChecked(const char* c, bool checked) override {
        bool& state = Find(Checks, c);
        if (state != checked) Clicks.push_back(c);
        state = checked;
    }
    int32_t Value(const char* c) override { return Find(Values, c); }
    void SetValue(const char* c, int32_t value) override { Find(Values, c) = value; }
    std::string Text(const char* c) override {
        if (Lists.count(c)) {
            const TList& list = Lists.at(c);
            return list.Index < 0 ? std::string() : list.Items.at(list.Index);
        }
        return Find(Texts, c);
    }
    void SetText(const char* c, const std::string& text) override { Find(Texts, c) = text; }
    int32_t Index(const char* c) override { return Find(Lists, c).Index; }
    void SetIndex(const char* c, int32_t index) override {
        TList& list = Find(Lists, c);
        list.Index = index < static_cast<int32_t>(list.Items.size()) ? index : -1;
    }
    int32_t Count(const char* c) override { return static_cast<int32_t>(Find(Lists, c).Items.size()); }
    std::string ItemText(const char* c, int32_t index) override { return Find(Lists, c).Items.at(index); }
    void Changed(const char* c) override { ChangedControls.push_back(c); }
    void SetMenuChecks(bool silent, uint8_t ircType) override {
        MenuSilent = silent;
        MenuIrcType = ircType;
    }
    void ShowPlayerName() override { ++NameRedraws; }
    void DrawTimer() override {}
    void RedrawBoard() override {}
    void ShowPage(int32_t item) override { Page = item; }
    void FocusControl(const char* c) override { Focus = c; }
    void CloseToMain() override { Closed = true; }

    std::map<std::string, bool> Checks;
    std::map<std::string, int32_t> Values;
    std::map<std::string, std::string> Texts;
    std::map<std::string, TList> Lists;
    std::vector<std::string> Clicks;
    std::vector<std::string> ChangedControls;
    bool MenuSilent = false;
    uint8_t MenuIrcType = 255;
    int NameRedraws = 0;
    int32_t Page = 0;
    std::string Focus;
    bool Closed = false;

  private:
    template <typename T> T& Find(std::map<std::string, T>& map, const char* c) {
        auto it = map.find(c);
        if (it == map.end()) throw std::runtime_error(std::string("no control ") + c);
        return it->second;
    }
};

class OptionsMapTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
    }
    static void SetNumber(const TOptionRef& field, int32_t value) {
        std::visit(
            [value](auto member) {
                using T = std::remove_reference_t<decltype(Options.*member)>;
                if constexpr (!std::is_same_v<T, std::string>) Options.*member = static_cast<T>(value);
            },
            field);
    }
    static int32_t GetNumber(const TOptionRef& field) {
        return std::visit(
            [](auto member) -> int32_t {
                using T = std::remove_reference_t<decltype(Options.*member)>;
                if constexpr (std::is_same_v<T, std::string>)
                    return -1;
                else
                    return static_cast<int32_t>(Options.*member);
            },
            field);
    }
    bool Logged(const std::string& part) const {
        return std::any_of(DebugLogLines.begin(), DebugLogLines.end(),
                           [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }
    // A record with every mapped field set to an in-range value that differs between variants.
    static void FillMappedFields(int variant) {
        int i = 0;
        for (const TOptionControl& c : OptionControls()) {
            ++i;
            std::visit(
                [&](auto member) {
                    using T = std::remove_reference_t<decltype(Options.*member)>;
                    if constexpr (std::is_same_v<T, std::string>) {
                        if (c.Kind == TTransfer::Memo)
                            Options.*member = "one\\ntwo" + std::to_string(variant) + "\\n";
                        else if (c.Kind == TTransfer::Language)
                            Options.*member = variant == 0 ? "german.lng" : "_english.lng";
                        else
                            Options.*member = std::string("v") + std::to_string(variant) + "-" + std::to_string(i);
                    } else if constexpr (std::is_same_v<T, bool>) {
                        Options.*member = variant == 0;
                    } else if (c.Kind == TTransfer::Country) {
                        Options.*member = static_cast<T>(variant == 0 ? 41 : 7);
                    } else if (c.Kind == TTransfer::StartMode) {
                        Options.*member = static_cast<T>(variant == 0 ? 1 : 2);
                    } else if (c.Kind == TTransfer::Combo) {
                        Options.*member = static_cast<T>((i + variant) % OptionItems(c.Control).size());
                    } else {
                        const int32_t span = c.High - c.Low + 1;
                        Options.*member = static_cast<T>(c.Low + (i * 7 + variant * 3) % std::min(span, 200));
                    }
                },
                c.Field);
        }
    }
    TFakeOptionsWindow window;
};

// Every field of the map reaches its control and comes back unchanged, in both states.
TEST_F(OptionsMapTest, EveryMappedFieldSurvivesLoadAndApply) {
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant);
        const std::string home = Options.LastPath;
        Options = tOptionsSet{};
        Options.LastPath = home;
        FillMappedFields(variant);
        const tOptionsSet loaded = Options;
        LoadOptionsControls(window);
        EXPECT_EQ(Options, loaded) << "in-range values are not rewritten by the load";

        Options = tOptionsSet{};
        Options.LastPath = home;
        ASSERT_TRUE(ApplyOptionsWindow(window));
        for (const TOptionControl& c : OptionControls()) {
            const bool same = std::visit([&](auto member) { return Options.*member == loaded.*member; }, c.Field);
            EXPECT_TRUE(same) << c.Control;
        }
        EXPECT_EQ(GameLevel, loaded.doStartUpMode);
    }
}

// The pairs as the window shows them, written apart from the transfer's own table, so that a
// control wired to another field shows: each check box alone is on, and every other control
// holds a value no other field of its kind has. Both ways.
TEST_F(OptionsMapTest, EveryControlReachesItsOwnField) {
    const std::pair<const char*, bool O::*> checks[] = {
        {"cbLUserid", &O::ShowIDText},
        {"cbHistLog", &O::doHistoryLog},
        {"cbDotSeparator", &O::doDotSeparator},
        {"cbExecuteCounters", &O::doCalculateCounters},
        {"cbMarks", &O::doMarks},
        {"cbTenths", &O::doShowTenths},
        {"cbDoTimer", &O::doTimer},
        {"cbShowEquals", &O::doShowEquals},
        {"cbShowCounters", &O::doShowCounters},
        {"cbShowCountersTitle", &O::doShowCountersTitle},
        {"cbShowCntGreenBorder", &O::doShowCntGreenBorder},
        {"cbCntonFinish", &O::doCountersOnFinish},
        {"cbCntonEnd", &O::doCountersOnEnd},
        {"cbClearanceOnFail", &O::doBoardClearance},
        {"cbFillFlags", &O::doFillFlags},
        {"cbClearanceOnMiddleBtn", &O::doClearanceOnMiddleBtn},
        {"cbForcedNewGame", &O::doForcedNewGame},
        {"cbForcedNewGameBEEP", &O::doBeepIfTimeExceedsValues},
        {"cbClearanceOnLeftBtn", &O::doClearanceOnLeftBtn},
        {"cbZeroTimer0", &O::doRecorderStyleTimer},
        {"cbDisableTimer", &O::doDisableTimer},
        {"cbAutoFlagSet", &O::doAutoFlag},
        {"cbDisableGroupOpen", &O::doDisableGroupOpen},
        {"cbDisableRightClick", &O::doDisableRightClicks},
        {"cbInfiniteLives", &O::doInfiniteLives},
        {"cbShowProbabilities", &O::doShowProbabilities},
        {"cbShowMines", &O::doShowMinesPos},
        {"cbApprox3BV", &O::doApprox3BV},
        {"cbApprox3BV2", &O::doApprox3BV2},
        {"cbMustHave7", &O::doMustHave7},
        {"cbMustHave8", &O::doMustHave8},
        {"cbShow3BVafterGameStart", &O::doShow3BVAfterGameStart},
        {"cbSetHighPriority", &O::doHighPriority},
        {"cbSeekPlugins", &O::doSeekPlugins},
        {"cbBlit", &O::doBitBlt},
        {"cbEnableBossKey", &O::doEnableBossKey},
        {"cbClipCur", &O::doClipCursor},
        {"cbProhibitMultInstances", &O::doProhibitMultInstances},
        {"cbCond1", &O::doCond},
        {"cbBlockChat", &O::doBlockChat},
        {"cbProcListGrab", &O::doProcListGrab},
        {"cbSysInfGrab", &O::doSysInfGrab},
        {"cbBlastedCopyIrc", &O::cbBlastedCopyTemplate},
        {"cbFinishedCopyIRC", &O::cbFinishedCopyTemplate},
        {"cbUseSmiles", &O::cbUseSmiles},
        {"cbCountersExcludeList", &O::cbCountersExcludeList},
        {"cbChangeLayout", &O::DoChangeLayout},
        {"cbDarkenBoard", &O::DarkenBoard},
        {"cbShowCells", &O::mpShowCells},
        {"cbShowMousePath", &O::ShowMousePath},
        {"cbShowDownState", &O::ShowDownState},
        {"cbShowLeftCl", &O::ShowLeftCl},
        {"cbShowRightCl", &O::ShowRightCl},
        {"cbShowDoubleCl", &O::ShowDoubleCl},
    };
    const auto isRadio = [](const std::string& name) {
        return std::find(std::begin(kStartModeControls), std::end(kStartModeControls), name) !=
               std::end(kStartModeControls);
    };
    for (const auto& [control, field] : checks) {
        SCOPED_TRACE(control);
        ASSERT_TRUE(window.Checks.count(control));
        for (const auto& other : checks)
            Options.*other.second = false;
        Options.*field = true;
        LoadOptionsControls(window);
        for (const auto& [name, checked] : window.Checks) {
            if (!isRadio(name)) {
                EXPECT_EQ(checked, name == control) << name;
            }
        }

        for (auto& [name, checked] : window.Checks)
            if (!isRadio(name)) checked = name == control;
        ASSERT_TRUE(ApplyOptionsWindow(window));
        for (const auto& [name, other] : checks)
            EXPECT_EQ(Options.*other, name == std::string(control)) << name;
    }

    struct TValue {
        const char* control;
        TOptionRef field;
        int32_t value;
    };
    const TValue spins[] = {
        {"seTimeZone", &O::CustomTimeZone, -7},
        {"seFNGB", &O::doFNGB, 301},
        {"seFNGI", &O::doFNGI, 302},
        {"seFNGE", &O::doFNGE, 303},
        {"seBoardClearanceCompl", &O::seClearanceCompl, 91},
        {"se3BV", &O::se3BVValue, 604},
        {"se3BV2", &O::se3BVValue2, 605},
        {"seAttempts", &O::seAttemptsValue, 43},
        {"seCr1", &O::widthCr1, 121},
        {"seCr2", &O::widthCr2, 122},
        {"seCr3", &O::heightCr3, 17},
    };
    const TValue combos[] = {
        {"skinBox", &O::skinNumber, 1},    {"skinTimer", &O::skinTimerNumber, 0},
        {"cbIRCtypes", &O::doIRCtype, 2},  {"cbColor1", &O::cbIRCColor1, 11},
        {"cbColor2", &O::cbIRCColor2, 12}, {"cbMpColor", &O::mPathColor, 3},
        {"cbLClColor", &O::mpLColor, 4},   {"cbRClColor", &O::mpRColor, 5},
        {"cbDClColor", &O::mpDColor, 6},
    };
    const std::pair<const char*, std::string O::*> texts[] = {
        {"edIdText", &O::UserIDText},
        {"edReplayName", &O::ReplayName},
        {"edReplayFileName", &O::ReplayFileName},
        {"edBeg", &O::BegName},
        {"edInt", &O::IntName},
        {"edExp", &O::ExpName},
        {"edCus", &O::CusName},
    };
    for (const TValue& v : spins)
        SetNumber(v.field, v.value);
    for (const TValue& v : combos)
        SetNumber(v.field, v.value);
    for (const auto& [control, field] : texts)
        Options.*field = control;
    Options.CountryNumber = 41;
    Options.doStartUpMode = 1;
    Options.langFileName = "german.lng";
    Options.mCntExcludeList = "a\\nb\\n";
    LoadOptionsControls(window);
    for (const TValue& v : spins)
        EXPECT_EQ(window.Values.at(v.control), v.value) << v.control;
    for (const TValue& v : combos)
        EXPECT_EQ(window.Lists.at(v.control).Index, v.value) << v.control;
    for (const auto& [control, field] : texts)
        EXPECT_EQ(window.Texts.at(control), control);
    EXPECT_EQ(window.Lists.at("boxCountry").Index, 80);
    EXPECT_TRUE(!window.Checks.at("rBeg") && window.Checks.at("rInt") && !window.Checks.at("rExp"));
    EXPECT_EQ(window.Lists.at("LangFLB").Index, 1);
    EXPECT_EQ(window.Texts.at("mCntExcludeList"), "a\r\nb\r\n");

    const std::string home = Options.LastPath;
    Options = tOptionsSet{};
    Options.LastPath = home;
    for (const TValue& v : spins)
        window.Values.at(v.control) = v.value;
    for (const TValue& v : combos)
        window.Lists.at(v.control).Index = v.value;
    for (const auto& [control, field] : texts)
        window.Texts.at(control) = control;
    ASSERT_TRUE(ApplyOptionsWindow(window));
    for (const TValue& v : spins)
        EXPECT_EQ(GetNumber(v.field), v.value) << v.control;
    for (const TValue& v : combos)
        EXPECT_EQ(GetNumber(v.field), v.value) << v.control;
    for (const auto& [control, field] : texts)
        EXPECT_EQ(Options.*field, control);
    EXPECT_EQ(Options.CountryNumber, 41);
    EXPECT_EQ(Options.doStartUpMode, 1);
    EXPECT_EQ(Options.langFileName, "german.lng");
    EXPECT_EQ(Options.mCntExcludeList, "a\\nb\\n");
}

TEST_F(OptionsMapTest, OutOfRangeValuesAreClampedAndWrittenBackBeforeTheControlIsSet) {
    struct Case {
        const char* control;
        TOptionRef field;
        int32_t stored;
        int32_t shown;
    };
    const Case cases[] = {
        {"seTimeZone", &O::CustomTimeZone, -20, -12}, {"seTimeZone", &O::CustomTimeZone, 14, 13},
        {"seTimeZone", &O::CustomTimeZone, 5, 5},     {"seFNGB", &O::doFNGB, 1, 999},
        {"seFNGI", &O::doFNGI, 0, 999},               {"seFNGE", &O::doFNGE, 2, 2},
        {"seBoardClearanceCompl", &O::seClearanceCompl, 101, 100},
        {"se3BV", &O::se3BVValue, 641, 640},          {"se3BV2", &O::se3BVValue2, 0, 1},
        {"seAttempts", &O::seAttemptsValue, 51, 50},  {"seCr1", &O::widthCr1, 200, 150},
        {"seCr2", &O::widthCr2, 151, 150},            {"seCr3", &O::heightCr3, 26, 25},
    };
    for (const Case& c : cases) {
        SetNumber(c.field, c.stored);
        LoadOptionsControls(window);
        EXPECT_EQ(window.Values.at(c.control), c.shown) << c.control << " " << c.stored;
        EXPECT_EQ(GetNumber(c.field), c.shown) << c.control << " " << c.stored;
    }
}

TEST_F(OptionsMapTest, TextsAreCutToTheirLengthInCharacters) {
    struct Case {
        const char* control;
        std::string O::*field;
        std::size_t cap;
    };
    const Case cases[] = {
        {"edIdText", &O::UserIDText, 256}, {"edReplayName", &O::ReplayName, 50},
        {"edReplayFileName", &O::ReplayFileName, 128}, {"edBeg", &O::BegName, 16},
        {"edInt", &O::IntName, 16},        {"edExp", &O::ExpName, 16},
        {"edCus", &O::CusName, 16},
    };
    LoadOptionsControls(window);
    for (const Case& c : cases) {
        window.Texts[c.control] = std::string(300, 'a');
        // Two-byte characters count once each.
        std::string wide;
        for (int i = 0; i < 300; ++i)
            wide += "\xC3\xA9";
        ASSERT_TRUE(ApplyOptionsWindow(window));
        EXPECT_EQ(Options.*c.field, std::string(c.cap, 'a')) << c.control;
        window.Texts[c.control] = wide;
        ASSERT_TRUE(ApplyOptionsWindow(window));
        EXPECT_EQ(Options.*c.field, wide.substr(0, 2 * c.cap)) << c.control;
        window.Texts[c.control] = "short";
    }
    EXPECT_EQ(CutToCharacters("abc", 3), "abc");
    EXPECT_EQ(CutToCharacters("", 16), "");
}

TEST_F(OptionsMapTest, CountryIsFoundByNameInTheSortedList) {
    const std::vector<std::string> names = CountryListNames();
    ASSERT_EQ(names.size(), kCountryCount);
    EXPECT_EQ(names[0], "(N/A)");
    EXPECT_EQ(names[79], "Ukraine");
    EXPECT_EQ(names[80], "USA");
    EXPECT_EQ(names[78], "UAE");
    EXPECT_TRUE(std::is_sorted(names.begin() + 1, names.end(), [](std::string a, std::string b) {
        for (auto* s : {&a, &b})
            std::transform(s->begin(), s->end(), s->begin(), ::tolower);
        return a < b;
    }));

    Options.CountryNumber = 41;
    LoadOptionsControls(window);
    EXPECT_EQ(window.Lists.at("boxCountry").Index, 80);
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.CountryNumber, 41);

    // A code past the table leaves the selection and still runs the change handler.
    window.ChangedControls.clear();
    Options.CountryNumber = 84;
    LoadOptionsControls(window);
    EXPECT_EQ(window.Lists.at("boxCountry").Index, 80);
    EXPECT_EQ(window.ChangedControls, std::vector<std::string>{"boxCountry"});

    // A name the table does not hold is no country.
    window.Lists["boxCountry"].Items[80] = "usa";
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.CountryNumber, 0);
    EXPECT_EQ(CountryCode("Yugoslavia"), 83);
    EXPECT_EQ(CountryCode("(N/A)"), 0);
}

TEST_F(OptionsMapTest, CountryThatCannotBeShownSelectsTheFirstItemAndLogs) {
    window.Lists["boxCountry"].Items = {"(N/A)", "Nowhere"};
    Options.CountryNumber = 41;
    LoadOptionsControls(window);
    EXPECT_EQ(window.Lists.at("boxCountry").Index, 0);
    EXPECT_TRUE(Logged("# options reload interface - incorrect country number value"));
}

TEST_F(OptionsMapTest, EveryCountryHasItsFlagPicture) {
    EXPECT_EQ(CountryFlagFile(0), "");
    EXPECT_EQ(CountryFlagFile(84), "");
    EXPECT_EQ(CountryFlagFile(41), "us.png");
    if (!std::filesystem::exists(kFlagFolder)) GTEST_SKIP() << "flag package not installed";
    for (std::size_t code = 1; code < kCountryCount; ++code)
        EXPECT_TRUE(std::filesystem::exists(std::string(kFlagFolder) + CountryFlagFile(code))) << CountryTable[code];
}

TEST_F(OptionsMapTest, StartModeRadioButtons) {
    struct Case {
        uint8_t stored;
        const char* checked;
    };
    for (const Case& c : {Case{0, "rBeg"}, Case{1, "rInt"}, Case{2, "rExp"}, Case{9, "rExp"}}) {
        Options.doStartUpMode = c.stored;
        LoadOptionsControls(window);
        for (const char* radio : kStartModeControls)
            EXPECT_EQ(window.Checks.at(radio), std::string(radio) == c.checked) << int(c.stored) << radio;
    }
    for (const char* radio : kStartModeControls)
        window.Checks[radio] = false;
    Options.doStartUpMode = 2;
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.doStartUpMode, 0) << "no radio button checked is Beginner";
    EXPECT_EQ(GameLevel, glBeginner);
}

// Fault: no selection stored 255 and the board then painted nothing.
TEST_F(OptionsMapTest, ComboWithoutSelectionKeepsItsField) {
    Options.skinNumber = 1;
    Options.cbIRCColor1 = 200; // past the list: the box keeps what it showed
    LoadOptionsControls(window);
    EXPECT_EQ(window.Lists.at("skinBox").Index, 1);
    EXPECT_EQ(window.Lists.at("cbColor1").Index, -1);
    window.Lists["skinBox"].Index = -1;
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.skinNumber, 1);
    EXPECT_EQ(Options.cbIRCColor1, 200);
}

TEST_F(OptionsMapTest, LanguageListRules) {
    Options.langFileName = "missing.lng";
    LoadOptionsControls(window);
    EXPECT_EQ(window.Lists.at("LangFLB").Index, -1);
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.langFileName, "_english.lng") << "nothing selected takes the first item";
    window.Lists["LangFLB"].Items.clear();
    window.Lists["LangFLB"].Index = -1;
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.langFileName, "");

    for (const char* name : {"b.LNG", "a.lng", "c.txt", "lng"})
        std::ofstream(Home() + name) << "x";
    std::filesystem::create_directory(Home() + "d.lng");
    EXPECT_EQ(LanguageFileNames(Home()), (std::vector<std::string>{"a.lng", "b.LNG"}));
    EXPECT_TRUE(LanguageFileNames(Home() + "nowhere/").empty());
}

TEST_F(OptionsMapTest, ChangedCheckBoxesRunTheirClickHandlersAndMenusFollow) {
    Options.doMarks = true;
    Options.cbSilentMode = true;
    Options.doIRCtype = 1;
    LoadOptionsControls(window);
    EXPECT_NE(std::find(window.Clicks.begin(), window.Clicks.end(), "cbMarks"), window.Clicks.end());
    EXPECT_TRUE(window.MenuSilent);
    EXPECT_EQ(window.MenuIrcType, 1);
    window.Clicks.clear();
    LoadOptionsControls(window);
    EXPECT_TRUE(window.Clicks.empty()) << "an unchanged state runs no handler";
}

TEST_F(OptionsMapTest, ExcludeListMemoShowsLinesAndStoresJoins) {
    Options.mCntExcludeList = "debug\\nleft\\n";
    LoadOptionsControls(window);
    EXPECT_EQ(window.Texts.at("mCntExcludeList"), "debug\r\nleft\r\n");
    window.Texts["mCntExcludeList"] = "a\r\nb";
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.mCntExcludeList, "a\\nb\\n");
}

TEST_F(OptionsMapTest, CountersTemplateMemoIsSavedAfterTheFileNameTemplate) {
    OptionsWindowCreated = 1;
    std::ofstream(Home() + "_counter_template.txt") << "A|1+1\r\nB|2\r\n";
    LoadOptionsControls(window);
    EXPECT_EQ(window.Texts.at("mtemplate"), "A|1+1\r\nB|2\r\n");
    window.Texts["mtemplate"] = "C|3\r\n\r\n";
    ASSERT_TRUE(ApplyOptionsWindow(window));
    std::ifstream in(Home() + "_counter_template.txt", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, "C|3\r\n");
}

TEST_F(OptionsMapTest, AutosaveTemplateMemoShowsTheRulesAndApplySavesThemWithoutEmptyLines) {
    AutosaveTemplateLines = {"mode=1", "Beg_<time>", "PATH=replays"};
    LoadOptionsControls(window);
    EXPECT_EQ(window.Texts.at("auttempl"), "mode=1\r\nBeg_<time>\r\nPATH=replays\r\n");
    window.Texts["auttempl"] = "mode=2\r\n\r\nInt_<time>\r\nPATH=\r\n";
    ASSERT_TRUE(ApplyOptionsWindow(window));
    EXPECT_EQ(AutosaveTemplateLines, (std::vector<std::string>{"mode=2", "Int_<time>", "PATH="}));
    std::ifstream in(Home() + "_autosave_template.txt", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, "mode=2\r\nInt_<time>\r\nPATH=\r\n");
}

// Fault: a failing control was swallowed and Apply then reported success.
TEST_F(OptionsMapTest, FailingControlStopsTheTransferAndIsNamed) {
    LoadOptionsControls(window);
    window.Texts["edIdText"] = "stored first";
    window.Checks.erase("cbMarks");
    Options.doShowTenths = true;
    window.Checks["cbTenths"] = false;
    EXPECT_FALSE(ApplyOptionsWindow(window));
    EXPECT_EQ(Options.UserIDText, "stored first");
    EXPECT_TRUE(Options.doShowTenths) << "controls after the failing one are not stored";
    EXPECT_TRUE(Logged("cbMarks"));

    TOptionsSnapshot snapshot;
    DebugLogLines.clear();
    EXPECT_FALSE(OptionsApply(window, snapshot));
    EXPECT_FALSE(window.Closed);
    EXPECT_FALSE(Logged("preferences applied"));
}

class OptionsDialogTest : public OptionsMapTest {
  protected:
    void SetUp() override {
        OptionsMapTest::SetUp();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
        UiHooks.NewGame = [this] { ++newGames; };
        ApplyDefaultSettings();
        Options.UserIDText = "Tester";
        LoadOptionsControls(window);
    }
    std::vector<std::string> messages;
    int newGames = 0;
    TOptionsSnapshot snapshot;
};

TEST_F(OptionsDialogTest, RefusedPlayerIdKeepsTheDialogOnTheUserPage) {
    window.Texts["edIdText"] = "SuperSHITman";
    window.Checks["cbMarks"] = true;
    const tOptionsSet before = Options;
    EXPECT_FALSE(OptionsApply(window, snapshot));
    EXPECT_EQ(messages, std::vector<std::string>{kRefusedIdMessage});
    EXPECT_EQ(window.Page, 1);
    EXPECT_EQ(window.Focus, "edIdText");
    EXPECT_FALSE(window.Closed);
    EXPECT_EQ(Options, before);
    EXPECT_FALSE(std::filesystem::exists(Home() + "quorlet.dat"));
}

TEST_F(OptionsDialogTest, ApplySavesTheRecordAndStartsANewGameOnlyWhenUnranked) {
    struct Case {
        uint8_t level;
        bool custom;
        int newGames;
        bool cheatTurnedOff = false;
    };
    // A game begun with a cheat option is not ranked once the option is off: a new game.
    for (const Case& c : {Case{glBeginner, false, 0}, Case{glCustom, true, 1}, Case{glIntermediate, false, 1},
                          Case{glBeginner, false, 1, true}}) {
        newGames = 0;
        window.Closed = false;
        GameLevel = c.level;
        SetLevelSize(c.level == glCustom ? uint8_t{glExpert} : c.level);
        if (c.custom) MineCount = 5;
        Options.doInfiniteLives = c.cheatTurnedOff;
        window.Checks["cbInfiniteLives"] = false;
        window.Texts["edReplayName"] = "Saved" + std::to_string(c.level);
        ASSERT_TRUE(OptionsApply(window, snapshot));
        EXPECT_TRUE(window.Closed);
        EXPECT_EQ(newGames, c.newGames) << int(c.level);
        EXPECT_EQ(Options.ReplayName, "Saved" + std::to_string(c.level));
        std::ifstream in(Home() + "quorlet.dat", std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(file.find("ReplayName=Saved" + std::to_string(c.level)), std::string::npos);
    }
    EXPECT_TRUE(Logged("preferences applied"));
}

// Fault: Default changed the record at once, and the save at the program's end kept it.
TEST_F(OptionsDialogTest, DefaultThenCancelOrEscapeChangesNothing) {
    Options.hsBegTime = "12,34";
    Options.doMarks = true;
    Options.doIRCtype = 0;
    UITextTable[UITextIndex("0122")] = "Anwenden";
    const tOptionsSet before = Options;
    const auto texts = UITextTable;
    for (int way = 0; way < 2; ++way) {
        window.Page = 0;
        OptionsDefault(window, snapshot);
        EXPECT_FALSE(Options.doMarks);
        EXPECT_EQ(Options.hsBegTime, "12,34") << "local records are kept";
        EXPECT_FALSE(window.Checks.at("cbMarks"));
        EXPECT_EQ(window.Page, 1);
        OptionsDefault(window, snapshot); // a second Default keeps the first snapshot
        ASSERT_EQ(window.MenuIrcType, 2) << "the default's style";
        const int nameRedraws = window.NameRedraws;
        if (way == 0)
            OptionsCancel(window, snapshot);
        else
            OptionsEscape(window, snapshot);
        EXPECT_TRUE(window.Closed);
        EXPECT_EQ(Options, before) << way;
        EXPECT_EQ(UITextTable, texts) << way;
        // The main window shows the record that came back.
        EXPECT_EQ(window.NameRedraws, nameRedraws + 1) << way;
        EXPECT_EQ(window.MenuIrcType, before.doIRCtype) << way;
    }
    // Default then Apply keeps the defaults.
    OptionsDefault(window, snapshot);
    ASSERT_TRUE(OptionsApply(window, snapshot));
    RestoreOptionsSnapshot(window, snapshot);
    EXPECT_FALSE(Options.doMarks);
}

TEST_F(OptionsDialogTest, TemplateFilesAndPageHelpers) {
    const std::string path = Home() + "t.txt";
    EXPECT_TRUE(SaveTemplateFile(path, "A|1\r\nB|2", "saved", "#error: "));
    std::string memo;
    EXPECT_TRUE(LoadTemplateFile(path, memo, "loaded", "#error: "));
    EXPECT_EQ(memo, "A|1\r\nB|2\r\n");
    EXPECT_TRUE(Logged("saved"));
    EXPECT_TRUE(Logged("loaded"));

    memo = "kept";
    EXPECT_FALSE(LoadTemplateFile(Home() + "none.txt", memo, "loaded", "#error: t: "));
    EXPECT_EQ(memo, "kept");
    EXPECT_FALSE(SaveTemplateFile(Home() + "no/dir/t.txt", "x", "saved", "#error: t: "));
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot load file", "Cannot save file"}));
    EXPECT_TRUE(Logged("#error: t: Cannot load file"));
    EXPECT_TRUE(Logged("#error: t: Cannot save file"));

    // The open dialog lists fifos too: choosing one waited for a writer forever.
    ASSERT_EQ(::mkfifo((Home() + "fifo.txt").c_str(), 0600), 0);
    std::ofstream(Home() + "huge.txt") << "A|1";
    std::filesystem::resize_file(Home() + "huge.txt", (1u << 20) + 1);
    for (const char* name : {"fifo.txt", "huge.txt"}) {
        messages.clear();
        EXPECT_FALSE(LoadTemplateFile(Home() + name, memo, "loaded", "#error: t: ")) << name;
        EXPECT_EQ(memo, "kept");
        EXPECT_EQ(messages, std::vector<std::string>{"Cannot load file"});
    }

    Options.heightCr3 = 2;
    CounterLabels[0] = "3BV";
    CounterLabels[1] = "time";
    CounterLabels[2] = "unused";
    EXPECT_EQ(CountersExcludeListText(), "3BV\r\ntime\r\n");

    const TWindowRect r = CenterMainOnScreen(301, 200, TScreenSize{1000, 700});
    EXPECT_EQ(r.Left, 349);
    EXPECT_EQ(r.Top, 250);
    EXPECT_EQ(Options.posMainX, 349);
    EXPECT_EQ(Options.posMainY, 250);
    EXPECT_EQ(CenterMainOnScreen(1001, 200, TScreenSize{1000, 700}).Left, 0) << "truncated toward zero";
}

} // namespace
} // namespace quorlet
