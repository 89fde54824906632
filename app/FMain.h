// The main window: the board, the mine counter, the smiley and the clock. Handlers only turn
// Qt events into engine calls; the drawing reads the board layers.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/mouseinput.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMouseEvent;
class QPainter;

namespace quorlet {

class TBevelPanel;
class TImageView;
class TKitGlobalHotKey;
class TKitHiTimer;
class TKitTrayIcon;
class TSingleInstance;

class TMain : public QMainWindow {
    Q_OBJECT

  public:
    // How much of the start the constructor runs: every step, or all but the history file and
    // the command line, which FinishStartup then runs once the window has been painted.
    enum class TStartupPaint { AllSteps, PaintFirst };
    // Runs the start-up sequence (FormCreate) with the given first command-line argument.
    explicit TMain(const QString& firstArgument = {}, QWidget* parent = nullptr,
                   TStartupPaint paint = TStartupPaint::AllSteps);
    // The start's last steps (LoadHistoryFile, the command line) after a PaintFirst start; once.
    void FinishStartup();
    ~TMain() override;

    // False when start-up was refused (another instance, no memory): the caller quits.
    bool StartedUp() const { return startedUp_; }

    // ---- Drawing ----
    void RedrawBoard();
    void RedrawChangedCells();
    void DrawMineCounter();
    void DrawTimer();
    void DrawCheatLabels();
    void DrawCustomLabels();
    void DrawProbabilityHint();
    void ShowPlayerName();
    void ReloadInterface();
    // The height of the name line for the name it shows, wrapped at `lineWidth`.
    int NameLineHeight(int lineWidth) const;
    void ToggleBossKey();
    void ShowProgressBarWindow();
    void HideProgressBarWindow();
    void ResetCountersWindow();
    // The new-game button shows the face NewGameFace names.
    void ShowFace();

    // ---- Country flags (FMainFlags.cpp) ----
    // The flag pictures come from `folder` (empty: the installed collection), each read when it
    // is first shown; a missing file is the blank picture. Also lets a loaded video show its flag.
    void LoadFlagImages(const QString& folder = {});
    // The picture of a country code; blank for a code past the country table.
    const QPixmap& FlagImage(uint8_t country);
    // The name line's flag: picture `country`; nothing for 0 or a code past the list.
    void ShowFlag(uint8_t country);

    // ---- Commands ----
    void NewBtnClick();
    void BeginnerBtnClick();
    void IntermediateBtnClick();
    void ExpertBtnClick();
    void ExitBtnClick();
    void BossKeyBtnClick();
    void ShowCountersBtnClick();
    void ShowDebugProtocol1Click();
    // The history as "stats_csv.csv" and "stats_csv.html" (FMainStats.cpp).
    void historyCSVClick();

    // ---- Window openers and the custom board (FMainCommands.cpp) ----
    void CustomBtnClick();
    void HighScoresBtnClick();
    void StatisticsBtnClick();
    void PreferencesBtnClick();
    void LanguageBtnClick();
    void AboutBtnClick();
    // No menu item opens the multiplayer window.
    void MultiplayerBtnClick();
    // The custom board dialog's Apply with values it has checked: a standard size clicks its
    // level item, anything else starts a Custom game.
    void ApplyCustomBoard(int width, int height, int mines);

    // ---- Video commands (FMainVideo.cpp) ----
    void PlayVideoBtnClick();
    void btnPreviewReplayClick();
    void sbSavereplayClick();
    // The playback bar shown, and the bar and the cursor image hidden (the bar window's part
    // of ShowProgressBarWindow and HideProgressBarWindow).
    void ShowPlaybackControls();
    void HidePlaybackControls();
    // The open and save dialogs of the video commands; a cancel gives an empty name.
    std::function<QString(const QString& folder)> ChooseVideoFile;
    std::function<QString(const QString& folder, const QString& name)> ChooseReplaySaveFile;

    // ---- Board files, pictures, screenshots and the mouse chart (FMainPictures.cpp) ----
    void btnSaveBoardClick();
    void saveboarsbmpBtnClick();
    void saveboarstxtBtnClick();
    void MakeJPGScreenshotBtnClick();
    void MakeBMPScreenshotBtnClick();
    void MakeFULLScreenshotBtnClick();
    void showmousepathBtnClick();
    void DrawMousePath();
    // A copy of that area of the screen; a null image where nothing can be captured.
    static QImage CaptureScreenRect(const QRect& rect);
    // The board picture and text save dialogs (a cancel gives an empty name), and the cell
    // separator's input box (a cancel gives the default blank).
    std::function<QString(const QString& folder, const QString& name, const QString& filter)> ChooseBoardSaveFile;
    std::function<QString()> RequestCellSeparator;
    // ---- Chat report commands (FMainChat.cpp) ----
    void IRCLastGameInfoBtnClick();
    void IRCNGameInfoBtnClick();
    void IRCTimeRecordsInfoBtnClick();
    void IRC3BVSRecordsInfoBtnClick();
    void IRCAVGSInfoBtnClick();
    void IRCTodayBEGInfoBtnClick();
    void IRCTodayINTInfoBtnClick();
    void IRCTodayEXPInfoBtnClick();
    void ircfrmtmircBtnClick();
    void ircfrmtCGIBtnClick();
    void ircfrmtTXTBtnClick();
    void IRCsilentmodeBtnClick();
    void ircJoinBtnClick();
    // The game-number prompt; Cancel gives back the default text.
    std::function<QString(const QString& defaultText)> AskGameNumber;
    QMenu* IRCbtn = nullptr;
    QMenu* ircoutputfrmtBtn = nullptr;
    QAction* IRCLastGameInfoBtn = nullptr;
    QAction* IRCNGameInfoBtn = nullptr;
    QAction* IRCTimeRecordsInfoBtn = nullptr;
    QAction* IRC3BVSRecordsInfoBtn = nullptr;
    QAction* IRCAVGSInfoBtn = nullptr;
    QAction* IRCTodayBEGInfoBtn = nullptr;
    QAction* IRCTodayINTInfoBtn = nullptr;
    QAction* IRCTodayEXPInfoBtn = nullptr;
    QAction* ircfrmtmircBtn = nullptr;
    QAction* ircfrmtCGIBtn = nullptr;
    QAction* ircfrmtTXTBtn = nullptr;
    QAction* IRCsilentmodeBtn = nullptr;
    QAction* ircJoinBtn = nullptr;

    // ---- Shell launches, tray icon and boss key (FMainShell.cpp) ----
    void quoFoldBtnClick();
    void scrFoldBtnClick();
    void boardFoldBtnClick();
    void boardpresFoldBtnClick();
    void plugFoldBtnClick();
    void IndexBtnClick();
    void MouseCPLClick();
    void HomepageBtnClick();
    void feedbackBtnClick();
    void CommunitySite1Click();
    void guestbookforumBtnClick();
    void CommunityRankingClick();
    void CommunitySite2Click();
    void ApplicationEvents1Minimize();
    void ApplicationEvents1Restore();
    void trayiconMouseDown(Qt::MouseButton button);
    void boss_keyKeyDown();
    // The global boss key follows doEnableBossKey (after the settings are loaded or applied).
    void ApplyBossKeyOption();

    // ---- Board mouse handlers ----
    void boxMouseDown(QMouseEvent* event);
    void boxMouseMove(QMouseEvent* event);
    void boxMouseUp(QMouseEvent* event);

    // The 10 ms tick.
    void timerTimer();

    // The application title for the single-instance option (a trailing blank allows company).
    static QString ApplicationTitle();

    // Set once the global hot key is registered: only then can the boss key bring back a
    // window it hid, so without it the window is minimised instead of vanishing.
    bool BossKeyCanRestore = false;

    // Controls named as the form names them.
    TBevelPanel* pMain = nullptr;
    TBevelPanel* pInfo = nullptr;
    TBevelPanel* pBox = nullptr;
    TBevelPanel* pBombs = nullptr;
    TBevelPanel* pTimer = nullptr;
    TImageView* box = nullptr;
    TImageView* iBombs = nullptr;
    TImageView* iTimer = nullptr;
    TImageView* bNewGame = nullptr;
    QWidget* NameLabel = nullptr;
    QLabel* lnamelabel = nullptr;
    TImageView* imFlag = nullptr;
    TKitHiTimer* timer = nullptr;
    // The playback cursor image over the board.
    QLabel* Cur = nullptr;

    QMenu* GameMnu = nullptr;
    QMenu* OptionsMnu = nullptr;
    QMenu* HelpMnu = nullptr;
    QMenu* MouseMnu = nullptr;
    QMenu* folderMnu = nullptr;
    QMenu* ScreenshotMnu = nullptr;
    // "plug" under Options: the items the plug-ins add.
    QMenu* pluginbtn = nullptr;
    QAction* NewBtn = nullptr;
    QAction* PlayVideoBtn = nullptr;
    QAction* sbSavereplay = nullptr;
    QAction* btnSaveBoard = nullptr;
    QAction* btnPreviewReplay = nullptr;
    QAction* BeginnerBtn = nullptr;
    QAction* IntermediateBtn = nullptr;
    QAction* ExpertBtn = nullptr;
    QAction* CustomBtn = nullptr;
    QAction* HighScoresBtn = nullptr;
    QAction* StatisticsBtn = nullptr;
    QAction* historyCSV = nullptr;
    QAction* BossKeyBtn = nullptr;
    QAction* ExitBtn = nullptr;
    QAction* PreferencesBtn = nullptr;
    QAction* LanguageBtn = nullptr;
    QAction* MouseCPL = nullptr;
    QAction* quoFoldBtn = nullptr;
    QAction* scrFoldBtn = nullptr;
    QAction* boardFoldBtn = nullptr;
    QAction* boardpresFoldBtn = nullptr;
    QAction* plugFoldBtn = nullptr;
    QAction* MakeJPGScreenshotBtn = nullptr;
    QAction* MakeBMPScreenshotBtn = nullptr;
    QAction* saveboarsbmpBtn = nullptr;
    QAction* saveboarstxtBtn = nullptr;
    QAction* MakeFULLScreenshotBtn = nullptr;
    QAction* showmousepathBtn = nullptr;
    QAction* ShowCountersBtn = nullptr;
    QAction* ShowDebugProtocol1 = nullptr;
    QAction* AboutBtn = nullptr;
    QAction* IndexBtn = nullptr;
    QAction* feedbackBtn = nullptr;
    QAction* HomepageBtn = nullptr;
    QMenu* CommunityBtn = nullptr;
    QAction* CommunitySite1 = nullptr;
    QAction* guestbookforumBtn = nullptr;
    QAction* CommunityRanking = nullptr;
    QAction* CommunitySite2 = nullptr;
    QMenu* traypopup = nullptr;
    QAction* Exit1 = nullptr;
    TKitTrayIcon* trayicon = nullptr;
    TKitGlobalHotKey* bossBtn = nullptr;

    // Runs `work` once the window has been shown and painted (at once when it already was).
    void RunAfterShown(std::function<void()> work);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildForm();
    void BuildMenus();
    void InstallHooks();
    void InstallVideoHooks();
    void InstallShell();
    void BuildShellMenus();
    void ApplyShellMenuCaptions();
    // Opens LastPath + sub (a missing folder is the "Cannot load folder" failure).
    void OpenProgramFolder(const std::string& sub);
    // Opens a web or mail address, ending the running game first when asked.
    void OpenLink(const std::string& url, bool stopClock);
    void WindowStateChanged(Qt::WindowStates oldState);
    void BuildPictureMenus();
    void ApplyPictureMenuCaptions();
    // Encodes and saves a capture under the next screenshot name ("jpg" or "bmp").
    void SaveScreenshot(const QImage& capture, bool jpeg);
    // The save dialog of a board picture or text, proposing the replay-save name.
    QString AskBoardSaveFile(const char* extension, const char* filter);
    void BuildChatMenu();
    void SyncChatMenuChecks();
    void InstallCommandHooks();
    void WireCommands();
    // The level items' check marks follow GameLevel (also after a cancelled custom board).
    void SyncLevelChecks();
    void RunWorkAfterShown();
    void FormCreate(const QString& firstArgument);
    void FormClose();
    void ApplyMenuCaptions();
    // The board's surface for drawing inside the board.
    QImage& BoardImage();
    void PaintCell(QPainter& painter, int column, int row);
    void CounterOverlayStep();
    void DrawCornerLabels(const char* word, int rightInset);
    void DrawLed(TImageView* view, const std::array<char, 3>& text);
    void ClearHint();
    void KeepWindowOnScreen();
    void SetFaceImage(int index);
    // Pixel position of a mouse event on the board image.
    static void BoxPosition(QMouseEvent* event, int& x, int& y);

    std::unique_ptr<TSingleInstance> instance_;
    // The flag pictures by country code, read on first use from flagFolder_.
    std::vector<std::optional<QPixmap>> imC;
    QString flagFolder_;
    QActionGroup* levelGroup_ = nullptr;
    bool startedUp_ = false;
    bool startupFailed_ = false;
    bool finished_ = false;
    uint8_t startupCounter_ = 0;
    QString firstArgument_;
    bool saveOnClose_ = false;
    bool closed_ = false;
    bool shownOnce_ = false;
    bool ranAfterShown_ = false;
    std::vector<std::function<void()>> afterShown_;
    int hintColumn_ = -1;
    int hintRow_ = -1;
    int hintColour_ = 0;
};

// The main window while it exists (the hooks and the entry reach it here).
TMain* MainWindow();

} // namespace quorlet
