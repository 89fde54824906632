// The options dialog over the main window: each page opens, a changed control reaches Options and
// "quorlet.dat" through Apply, and the ways out without Apply change nothing.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <optional>

#include "app/settings/FOptions.h"
#include "desktopentry.h"
#include "settings/FCap.h"
#include "settings/countries.h"
#include "settings/settingsfile.h"
#include "ui/test_fmain_fixture.h"
#include "writefail.h"

namespace quorlet {
namespace {

class OptionsWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DebugWindowOn = 1;
        Open();
        options = std::make_unique<TOptions_window>();
        options->Ask = [this](const QString& question) {
            questions.push_back(question.toStdString());
            if (answers.empty()) return false;
            const bool answer = answers.front();
            answers.pop_front();
            return answer;
        };
        const std::function<void()> newGame = UiHooks.NewGame;
        UiHooks.NewGame = [this, newGame] {
            ++newGames;
            newGame();
        };
    }
    void TearDown() override {
        options.reset();
        MainWindowTest::TearDown();
    }

  public:
    template <typename T> T* Find(const char* name) {
        T* control = options->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    std::string SettingsFile() const {
        std::ifstream in(Home() + kSettingsFileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool Logged(const std::string& part) const {
        return std::any_of(DebugLogLines.begin(), DebugLogLines.end(),
                           [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }

    std::unique_ptr<TOptions_window> options;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    int newGames = 0;
};

TEST_F(OptionsWindowTest, EachPageOpensAndItsChangeIsAppliedAndSaved) {
    // A second language file to choose on the language page.
    std::filesystem::copy_file(Home() + kEnglishLanguageFileName, Home() + "german.lng");
    struct Case {
        int page;
        std::function<void(OptionsWindowTest&)> change;
        std::function<bool()> applied;
        const char* fileLine;
    };
    const Case cases[] = {
        {1, [](OptionsWindowTest& t) { t.Find<QLineEdit>("edIdText")->setText("Jan Novak"); },
         [] { return Options.UserIDText == "Jan Novak"; }, "UserIDText=Jan Novak"},
        {2, [](OptionsWindowTest& t) { t.Find<QCheckBox>("cbTenths")->setChecked(true); },
         [] { return Options.doShowTenths; }, "doShowTenths=1"},
        {3, [](OptionsWindowTest& t) { t.Find<QSpinBox>("seAttempts")->setValue(7); },
         [] { return Options.seAttemptsValue == 7; }, "seAttemptsValue=7"},
        {4, [](OptionsWindowTest& t) { t.Find<QCheckBox>("cbClipCur")->setChecked(true); },
         [] { return Options.doClipCursor; }, "doClipCursor=1"},
        {5,
         [](OptionsWindowTest& t) {
             QListWidget* list = t.Find<QListWidget>("LangFLB");
             list->setCurrentItem(list->findItems("german.lng", Qt::MatchExactly).value(0));
         },
         [] { return Options.langFileName == "german.lng"; }, "langFileName=german.lng"},
        // The automation page has no field of the record (its memo is a template file): a
        // control of another page still applies from there.
        {6, [](OptionsWindowTest& t) { t.Find<QLineEdit>("edReplayName")->setText("Auto"); },
         [] { return Options.ReplayName == "Auto"; }, "ReplayName=Auto"},
        {7, [](OptionsWindowTest& t) { t.Find<QCheckBox>("cbBlockChat")->setChecked(true); },
         [] { return Options.doBlockChat; }, "doBlockChat=1"},
        {8, [](OptionsWindowTest& t) { t.Find<QSpinBox>("seCr1")->setValue(99); },
         [] { return Options.widthCr1 == 99; }, "widthCr1=99"},
        {9, [](OptionsWindowTest& t) { t.Find<QComboBox>("cbColor1")->setCurrentIndex(3); },
         [] { return Options.cbIRCColor1 == 3; }, "cbIRCColor1=3"},
        {10, [](OptionsWindowTest& t) { t.Find<QCheckBox>("cbShowMousePath")->setChecked(false); },
         [] { return !Options.ShowMousePath; }, "ShowMousePath=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        UiHooks.ShowOptionsWindow(c.page);
        ASSERT_TRUE(options->isVisible());
        EXPECT_FALSE(window->isEnabled());
        EXPECT_EQ(options->CurrentPage(), c.page);
        EXPECT_EQ(options->focusWidget(), options->ApplyBtn);
        c.change(*this);
        QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
        EXPECT_FALSE(options->isVisible());
        EXPECT_TRUE(window->isEnabled());
        EXPECT_TRUE(c.applied());
        EXPECT_NE(SettingsFile().find(std::string("\r\n") + c.fileLine + "\r\n"), std::string::npos) << c.fileLine;
    }
    // The record read back from the file is what the pages show.
    const tOptionsSet applied = Options;
    LoadSettings();
    EXPECT_EQ(Options, applied);
}

TEST_F(OptionsWindowTest, LanguageEntryOpensOnTheLanguagePageWithTheLevelRadioChecked) {
    Options.doStartUpMode = 2;
    GameLevel = glIntermediate;
    UiHooks.ShowOptionsWindow(5);
    EXPECT_EQ(options->CurrentPage(), 5);
    EXPECT_TRUE(Find<QWidget>("pLanguage")->isVisible());
    EXPECT_FALSE(Find<QWidget>("pUser")->isVisible());
    // The load runs after the level button, so the start-up mode shows.
    EXPECT_TRUE(Find<QAbstractButton>("rExp")->isChecked());
    EXPECT_EQ(Find<QTreeWidget>("PageSeL")->topLevelItem(4)->text(0), QString::fromStdString(UIText("0127")));
}

TEST_F(OptionsWindowTest, DefaultThenCancelEscapeOrCloseChangesNothing) {
    Options.doMarks = true;
    Options.hsBegTime = "12,34";
    const tOptionsSet before = Options;
    const std::string file = SettingsFile();
    // A changed control without Apply is not stored.
    UiHooks.ShowOptionsWindow(2);
    Find<QCheckBox>("cbMarks")->setChecked(false);
    QTest::mouseClick(options->CancelBtn, Qt::LeftButton);
    EXPECT_EQ(Options, before);
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        UiHooks.ShowOptionsWindow(2);
        answers = {true};
        QTest::mouseClick(options->DefaultBtn, Qt::LeftButton);
        EXPECT_EQ(questions.back(), "Are you sure you want to reset the Preferences?");
        EXPECT_FALSE(Options.doMarks);
        EXPECT_EQ(options->CurrentPage(), 1);
        if (way == 0) QTest::mouseClick(options->CancelBtn, Qt::LeftButton);
        if (way == 1) options->ExitBtn->trigger();
        if (way == 2) options->close();
        EXPECT_FALSE(options->isVisible());
        EXPECT_TRUE(window->isEnabled());
        EXPECT_EQ(Options, before);
        EXPECT_EQ(SettingsFile(), file);
    }
    // Default answered No does nothing.
    UiHooks.ShowOptionsWindow(1);
    answers = {false};
    QTest::mouseClick(options->DefaultBtn, Qt::LeftButton);
    EXPECT_TRUE(Options.doMarks);
}

// Fault guarded: after Default and a way out, the settings came back but the name line under
// the board kept the default text without the flag until the next new game.
TEST_F(OptionsWindowTest, DefaultThenAWayOutShowsTheRestoredNameLineAtOnce) {
    // The real question box, answered by the player.
    options.reset();
    Options.UserIDText = "Ann";
    Options.CountryNumber = 41;
    options = std::make_unique<TOptions_window>();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->ShowPlayerName();
    const QString shown = window->lnamelabel->text();
    const QImage flag = window->imFlag->Image();
    ASSERT_TRUE(shown.contains(QStringLiteral("Ann")));
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        QTest::keyClick(window.get(), Qt::Key_F5);
        ASSERT_TRUE(options->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowActive(options.get()));
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            answered = true;
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        QTest::mouseClick(options->DefaultBtn, Qt::LeftButton);
        ASSERT_TRUE(answered);
        EXPECT_EQ(Options.UserIDText, "Anonymous! Press F5 for Setup");
        EXPECT_NE(window->lnamelabel->text(), shown);
        if (way == 0) {
            QTest::mouseClick(options->CancelBtn, Qt::LeftButton);
        } else {
            // The question box gave the activation back.
            options->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(options.get()));
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
        ASSERT_FALSE(options->isVisible());
        EXPECT_EQ(Options.UserIDText, "Ann");
        EXPECT_EQ(window->lnamelabel->text(), shown);
        EXPECT_EQ(window->imFlag->Image(), flag);
        EXPECT_TRUE(window->imFlag->isVisibleTo(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
}

// Fault guarded: the automation option was never read, so games were saved with it off.
TEST_F(OptionsWindowTest, AutomaticReplaySavingFollowsItsCheckBox) {
    std::ofstream(Home() + "_autosave_template.txt", std::ios::binary)
        << "mode=1\r\nwon_<mode>\r\nPATH=auto\r\n";
    const std::string saved = Home() + "auto/won_" + Options.BegName + ".qvf";
    auto highScoreCopies = [this] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Home()))
            count += entry.path().filename().string().rfind("HI-SCORE ", 0) == 0;
        return count;
    };
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on);
        UiHooks.ShowOptionsWindow(1);
        QTreeWidget* outline = Find<QTreeWidget>("PageSeL");
        // The box stands on the multiplayer page.
        QTreeWidgetItem* page = outline->topLevelItem(6);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, outline->visualItemRect(page).center());
        QCheckBox* box = Find<QCheckBox>("cbCond1");
        ASSERT_TRUE(box->isVisible());
        ASSERT_EQ(box->isChecked(), !on) << "checked by default";
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
        ASSERT_EQ(Options.doCond, on);
        window->NewBtnClick();
        const int copies = highScoreCopies();
        WinGameByClicks();
        ASSERT_EQ(GameOver, 1);
        EXPECT_EQ(std::filesystem::exists(saved), on);
        if (!on) {
            EXPECT_EQ(highScoreCopies(), copies + 1) << "the record's copy is not the template's";
        }
    }
}

TEST_F(OptionsWindowTest, RefusedPlayerIdStaysOnTheUserPage) {
    UiHooks.ShowOptionsWindow(3);
    Find<QLineEdit>("edIdText")->setText("xX5hitXx");
    const tOptionsSet before = Options;
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(messages.back(), kRefusedIdMessage);
    EXPECT_TRUE(options->isVisible());
    EXPECT_EQ(options->CurrentPage(), 1);
    EXPECT_EQ(options->focusWidget(), Find<QLineEdit>("edIdText"));
    EXPECT_EQ(Options, before);
}

TEST_F(OptionsWindowTest, CountryShowsItsFlagHereAndUnderTheBoard) {
    if (!std::filesystem::exists(kFlagFolder)) GTEST_SKIP() << "flag package not installed";
    UiHooks.ShowOptionsWindow(1);
    QComboBox* box = Find<QComboBox>("boxCountry");
    box->setCurrentIndex(box->findText("USA"));
    EXPECT_EQ(box->currentIndex(), 80);
    ASSERT_FALSE(options->imFlag->pixmap().isNull());
    EXPECT_EQ(options->imFlag->pixmap().size(), QSize(16, 11));
    box->setCurrentIndex(0);
    EXPECT_TRUE(options->imFlag->pixmap().isNull()) << "(N/A) empties the flag";

    box->setCurrentIndex(box->findText("USA"));
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(Options.CountryNumber, 41);
    EXPECT_TRUE(window->imFlag->isVisibleTo(window.get()));
    EXPECT_EQ(window->imFlag->Image(), window->FlagImage(41).toImage());

    // A loaded video's flag by its country, then nothing for country 0.
    UiHooks.ShowReplayFlag(12);
    EXPECT_EQ(window->imFlag->Image(), window->FlagImage(12).toImage());
    UiHooks.ShowReplayFlag(0);
    EXPECT_FALSE(window->imFlag->isVisibleTo(window.get()));
}

// The flags are read as they are shown, not all 84 at every start: a picture that comes into
// the folder after the start is still found.
TEST_F(OptionsWindowTest, AFlagPictureIsReadWhenItIsFirstShown) {
    const std::string folder = Home() + "flags/";
    std::filesystem::create_directories(folder);
    window->LoadFlagImages(QString::fromStdString(folder));
    QImage red(16, 11, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(folder + CountryFlagFile(41)), "PNG"));
    EXPECT_EQ(window->FlagImage(41).toImage().pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(window->FlagImage(12).toImage().pixelColor(3, 3).alpha(), 0) << "a missing file is blank";
    Options.CountryNumber = 41;
    window->ShowPlayerName();
    EXPECT_EQ(window->imFlag->Image().pixelColor(3, 3), QColor(Qt::red));
}

TEST_F(OptionsWindowTest, MissingFlagFilesGiveBlankPicturesWithoutAMessage) {
    window->LoadFlagImages(QString::fromStdString(Home() + "noflags/"));
    for (std::size_t code = 0; code <= kCountryCount; ++code) {
        const QPixmap& flag = window->FlagImage(static_cast<uint8_t>(code));
        EXPECT_EQ(flag.size(), QSize(16, 11));
        EXPECT_EQ(flag.toImage().pixelColor(3, 3).alpha(), 0);
    }
    Options.CountryNumber = 41;
    window->ShowPlayerName();
    EXPECT_TRUE(messages.empty());
}

// A failed save (full disk, read-only file) was followed by reading the old file back: the
// change was lost, the dialog closed and the log said "preferences applied". The change stays,
// the dialog stays open, and the player is told.
TEST_F(OptionsWindowTest, ApplyWhoseSaveFailsKeepsTheChangeAndSaysSo) {
    ASSERT_TRUE(SaveSettings());
    const std::string path = Home() + kSettingsFileName;
    const std::string file = SettingsFile();
    for (const bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk ? "a full disk" : "a read-only file");
        Options.doShowTenths = false;
        messages.clear();
        DebugLogLines.clear();
        UiHooks.ShowOptionsWindow(2);
        Find<QCheckBox>("cbTenths")->setChecked(true);
        if (!fullDisk) ::chmod(path.c_str(), 0444);
        {
            std::optional<test::TFileSizeLimit> full;
            if (fullDisk) full.emplace(16);
            QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
        }
        ::chmod(path.c_str(), 0644);
        EXPECT_TRUE(Options.doShowTenths) << "the change is not undone";
        EXPECT_EQ(SettingsFile(), file);
        EXPECT_EQ(messages, std::vector<std::string>{"Cannot save file"});
        EXPECT_FALSE(Logged("preferences applied"));
        EXPECT_TRUE(options->isVisible());
        EXPECT_TRUE(Find<QCheckBox>("cbTenths")->isChecked());
        QTest::mouseClick(options->CancelBtn, Qt::LeftButton);
        EXPECT_TRUE(Options.doShowTenths);
    }
    // Once the file can be written, the same Apply saves it.
    UiHooks.ShowOptionsWindow(2);
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    EXPECT_FALSE(options->isVisible());
    EXPECT_NE(SettingsFile().find("\r\ndoShowTenths=1\r\n"), std::string::npos);
}

TEST_F(OptionsWindowTest, ApplyOnACustomGameStartsANewGameButNotOnARankedOne) {
    UiHooks.ShowOptionsWindow(1);
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(newGames, 0) << "a ranked standard game goes on";

    GameLevel = glCustom;
    LastColumn = 9;
    LastRow = 9;
    MineCount = 12;
    UiHooks.ShowOptionsWindow(1);
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(newGames, 1);
}

TEST_F(OptionsWindowTest, CounterTemplateLoadAsksToSaveFirstAndOverwriteNoStops) {
    const std::string existing = Home() + "mine.txt";
    std::ofstream(existing, std::ios::binary) << "Old|1\r\n";
    const std::string other = Home() + "other.txt";
    std::ofstream(other, std::ios::binary) << "New|2\r\n";
    UiHooks.ShowOptionsWindow(8);
    options->mtemplate->setPlainText("Memo|3");
    int saveDialogs = 0;
    options->ChooseSaveFile = [&](const QString&) {
        ++saveDialogs;
        return QString::fromStdString(existing);
    };
    options->ChooseOpenFile = [&](const QString&) { return QString::fromStdString(other); };
    answers = {true, false}; // save first: yes; overwrite: no
    QTest::mouseClick(Find<QPushButton>("sbLoadCnt"), Qt::LeftButton);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(questions, (std::vector<std::string>{UIText("0329"), "File exists. Overwrite File?"}));
    std::ifstream in(existing, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Old|1\r\n");
    EXPECT_EQ(options->mtemplate->toPlainText(), "New|2\n");
    EXPECT_EQ(Find<QLabel>("lpos")->text(), "[ 1 ]");
    EXPECT_TRUE(Logged("counters template file loaded"));

    // Overwrite answered Yes writes the memo.
    answers = {true};
    QTest::mouseClick(Find<QPushButton>("sbSaveCnt"), Qt::LeftButton);
    std::ifstream again(existing, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "New|2\r\n");

    // The formula editor's line lands in the memo.
    UiHooks.AppendTemplateLine("F|<3bv>");
    EXPECT_EQ(options->mtemplate->toPlainText(), "New|2\nF|<3bv>\n");
}

TEST_F(OptionsWindowTest, WarningCaptionsAreRedFromTheFirstLoad) {
    options.reset();
    Options.doHistoryLog = false;
    Options.doMarks = false;
    options = std::make_unique<TOptions_window>();
    const QColor history = Find<QCheckBox>("cbHistLog")->palette().color(QPalette::WindowText);
    EXPECT_EQ(history, QColor(Qt::red));
    EXPECT_NE(Find<QCheckBox>("cbMarks")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(messages.empty()) << "a load that changes no state asks nothing";
}

TEST_F(OptionsWindowTest, PageButtons) {
    UiHooks.ShowOptionsWindow(10);
    QCheckBox* layout = Find<QCheckBox>("cbChangeLayout");
    layout->setChecked(false);
    EXPECT_FALSE(Find<QCheckBox>("cbDarkenBoard")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("cbShowCells")->isChecked());
    layout->setChecked(true);
    EXPECT_TRUE(Find<QCheckBox>("cbDarkenBoard")->isChecked());

    messages.clear();
    options->ShowPage(2);
    Find<QCheckBox>("cbMarks")->setChecked(true);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Do not forget to check the marks off when you will start the serious trainings.");
    options->ShowPage(3);
    QTest::mouseClick(Find<QPushButton>("sb3"), Qt::LeftButton);
    EXPECT_EQ(messages.back(), UIText("0179"));

    // The exclusion list takes every counters row label.
    Options.heightCr3 = 2;
    CounterLabels[0] = "3BV";
    CounterLabels[1] = "time";
    options->ShowPage(9);
    answers = {true};
    QTest::mouseClick(Find<QPushButton>("sbflushlist"), Qt::LeftButton);
    EXPECT_EQ(options->mCntExcludeList->toPlainText(), "3BV\ntime\n");

    // The formula editor opens on a template without its empty lines.
    int formulaWindows = 0;
    UiHooks.ShowFormulaWindow = [&] { ++formulaWindows; };
    options->ShowPage(8);
    options->mtemplate->setPlainText("A|1\n\nB|2\n");
    CountersTemplateLines = {"Live|1"};
    QTest::mouseClick(Find<QPushButton>("sbAddFormula"), Qt::LeftButton);
    EXPECT_EQ(formulaWindows, 1);
    EXPECT_EQ(options->mtemplate->toPlainText(), "A|1\nB|2\n");
    EXPECT_EQ(CountersTemplateLines, std::vector<std::string>{"Live|1"}) << "not applied yet";

    options->ShowPage(4);
    QTest::mouseClick(Find<QPushButton>("sbJustifyByCenter"), Qt::LeftButton);
    EXPECT_EQ(Options.posMainX, window->x());
    EXPECT_EQ(Options.posMainY, window->y());
}

// The launcher passed the program's path already quoted: Exec= named a program with quotes in
// its name and Path= began with a quote, so it started nothing. Without a desktop folder the
// command said nothing.
TEST_F(OptionsWindowTest, PutShortcutToTheDesktopWritesALauncherThatStartsTheProgram) {
    const std::string desktop = Home() + "My Desktop";
    std::filesystem::create_directories(Home() + "config");
    std::ofstream(Home() + "config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << desktop << "\"\n";
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Home() + "config"));
    std::filesystem::create_directories(desktop);
    UiHooks.ShowOptionsWindow(4);
    QPushButton* button = Find<QPushButton>("sbShortcut");
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    const std::string launcher = desktop + "/Minesweeper Quorlet.desktop";
    const std::string text = test::ReadFileText(launcher);
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    const std::vector<std::string> exec = test::ParseExec(test::KeyValue(text, "Exec"));
    EXPECT_EQ(exec.empty() ? std::string() : exec.front(), program) << text;
    EXPECT_EQ(test::KeyValue(text, "Path"), std::filesystem::path(program).parent_path().string()) << text;
    EXPECT_TRUE(messages.empty());
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(QStringLiteral("desktop-file-validate"), {QString::fromStdString(launcher)});
    ASSERT_TRUE(validate.waitForFinished(10000))
        << "desktop-file-validate (package desktop-file-utils) missing";
    EXPECT_EQ(validate.exitCode(), 0);
    EXPECT_EQ(validate.readAll().toStdString(), "");

    std::filesystem::remove_all(desktop);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<std::string>{"Cannot load folder\r\n" + desktop});
    EXPECT_TRUE(Logged("#Cannot load folder " + desktop));
    EXPECT_FALSE(std::filesystem::exists(desktop));
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

} // namespace
} // namespace quorlet
