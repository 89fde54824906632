#include "app/FMain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <exception>

#include "app/ApplyTexts.h"
#include "app/BoardView.h"
#include "app/Fdebug.h"
#include "app/secondary.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/layout.h"
#include "core/newgame.h"
#include "core/programfolder.h"
#include "app/pluginhost.h"
#include "core/startup.h"
#include "core/sysinfo.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/video.h"
#include "kit/KitTimer.h"
#include "platform/singleinstance.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"
#include "stats/historyfile.h"

namespace quorlet {

namespace {

TMain* gMainWindow = nullptr;

const char* const kTitle = "Minesweeper Quorlet";

// The one window of a kind among the application's windows, or null while it does not exist.
template <typename TWindow> TWindow* FindWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TWindow*>(w)) return window;
    return nullptr;
}

QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

} // namespace

TMain* MainWindow() {
    return gMainWindow;
}

QString TMain::ApplicationTitle() {
    return QString::fromStdString(quorlet::ApplicationTitle());
}

TMain::TMain(const QString& firstArgument, QWidget* parent, TStartupPaint paint)
    : QMainWindow(parent), instance_(std::make_unique<TSingleInstance>()) {
    gMainWindow = this;
    BuildForm();
    BuildMenus();
    timer = new TKitHiTimer(this);
    timer->SetUseThread(false);
    timer->SetInterval(10);
    timer->SetOnTimer([this](QObject*) { timerTimer(); });
    InstallHooks();
    InstallShell();
    FormCreate(firstArgument);
    if (paint == TStartupPaint::AllSteps) FinishStartup();
}

TMain::~TMain() {
    if (gMainWindow == this) gMainWindow = nullptr;
    MainWindowCreated = 0;
}

void TMain::BuildForm() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    pMain = new TBevelPanel(2, true, client);
    pInfo = new TBevelPanel(2, false, pMain);
    pBombs = new TBevelPanel(2, false, pInfo);
    pTimer = new TBevelPanel(2, false, pInfo);
    iBombs = new TImageView(pBombs);
    iTimer = new TImageView(pTimer);
    for (TImageView* led : {iBombs, iTimer}) {
        led->setGeometry(2, 2, 3 * kLedWidth, kLedHeight);
        led->SetSurface(480, 480, Qt::black);
    }
    bNewGame = new TImageView(pInfo);
    pBox = new TBevelPanel(3, false, pMain);
    box = new TImageView(pBox);
    box->setMouseTracking(true);
    box->SetSurface(480, 480, Qt::black);
    NameLabel = new QWidget(client);
    lnamelabel = new QLabel(NameLabel);
    // A name wider than a narrow board takes more lines (the name line grows to them).
    lnamelabel->setWordWrap(true);
    imFlag = new TImageView(NameLabel);
    imFlag->setGeometry(0, 0, 0, 0);

    box->OnPress = [this](QMouseEvent* e) { boxMouseDown(e); };
    box->OnMove = [this](QMouseEvent* e) { boxMouseMove(e); };
    box->OnRelease = [this](QMouseEvent* e) { boxMouseUp(e); };
    // The smiley shows the pressed face while held; the release inside it starts a new game.
    bNewGame->OnPress = [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton) SetFaceImage(0);
    };
    bNewGame->OnRelease = [this](QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return;
        SetFaceImage(1);
        if (bNewGame->rect().contains(e->position().toPoint())) NewBtnClick();
    };
    for (TBevelPanel* panel : {pInfo, pBombs, pTimer})
        panel->OnClick = [this] { NewBtnClick(); };
}

void TMain::BuildMenus() {
    // The menu belongs to the window: its captions shorten with a narrow board, so it is never
    // handed to a desktop's global menu bar (and asking the desktop for one costs the start).
    // Read when the menu bar is made, so it is set before.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    GameMnu = menuBar()->addMenu(QString());
    NewBtn = AddItem(GameMnu, {}, Qt::Key_F2);
    PlayVideoBtn = AddItem(GameMnu, {}, Qt::Key_F4);
    sbSavereplay = AddItem(GameMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_S));
    btnSaveBoard = AddItem(GameMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_C));
    btnPreviewReplay = AddItem(GameMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_Z));
    GameMnu->addSeparator();
    BeginnerBtn = AddItem(GameMnu, {}, Qt::Key_1);
    IntermediateBtn = AddItem(GameMnu, {}, Qt::Key_2);
    ExpertBtn = AddItem(GameMnu, {}, Qt::Key_3);
    CustomBtn = AddItem(GameMnu, {}, Qt::Key_4);
    levelGroup_ = new QActionGroup(this);
    for (QAction* a : {BeginnerBtn, IntermediateBtn, ExpertBtn, CustomBtn}) {
        a->setCheckable(true);
        levelGroup_->addAction(a);
    }
    GameMnu->addSeparator();
    HighScoresBtn = AddItem(GameMnu, {}, Qt::Key_F6);
    StatisticsBtn = AddItem(GameMnu, {}, Qt::Key_F7);
    historyCSV = AddItem(GameMnu, {});
    GameMnu->addSeparator();
    BossKeyBtn = AddItem(GameMnu, {}, QKeySequence(Qt::ALT | Qt::Key_F2));
    ExitBtn = AddItem(GameMnu, {}, QKeySequence(Qt::ALT | Qt::Key_F4));

    OptionsMnu = menuBar()->addMenu(QString());
    PreferencesBtn = AddItem(OptionsMnu, {}, Qt::Key_F5);
    LanguageBtn = AddItem(OptionsMnu, {}, Qt::Key_L);
    MouseMnu = OptionsMnu->addMenu(QString());
    MouseCPL = AddItem(MouseMnu, {}, Qt::Key_M);
    folderMnu = OptionsMnu->addMenu(QString());
    quoFoldBtn = AddItem(folderMnu, {}, Qt::Key_H);
    scrFoldBtn = AddItem(folderMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_9));
    boardFoldBtn = AddItem(folderMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_8));
    boardpresFoldBtn = AddItem(folderMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_7));
    plugFoldBtn = AddItem(folderMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_6));
    ScreenshotMnu = OptionsMnu->addMenu(QString());
    BuildPictureMenus();
    pluginbtn = OptionsMnu->addMenu(QString());
    pluginbtn->setObjectName(QStringLiteral("pluginbtn"));
    pluginbtn->setTitle(QString::fromStdString(UIText("0303")));
    ShowCountersBtn = AddItem(OptionsMnu, {}, Qt::Key_C);
    ShowCountersBtn->setCheckable(true);
    ShowDebugProtocol1 = AddItem(OptionsMnu, {}, Qt::Key_D);
    BuildChatMenu();

    HelpMnu = menuBar()->addMenu(QString());
    AboutBtn = AddItem(HelpMnu, {}, Qt::Key_F1);
    IndexBtn = AddItem(HelpMnu, {}, QKeySequence(Qt::CTRL | Qt::Key_F1));
    BuildShellMenus();

    connect(NewBtn, &QAction::triggered, this, [this] { NewBtnClick(); });
    connect(BeginnerBtn, &QAction::triggered, this, [this] { BeginnerBtnClick(); });
    connect(IntermediateBtn, &QAction::triggered, this, [this] { IntermediateBtnClick(); });
    connect(ExpertBtn, &QAction::triggered, this, [this] { ExpertBtnClick(); });
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });
    connect(BossKeyBtn, &QAction::triggered, this, [this] { BossKeyBtnClick(); });
    connect(ShowCountersBtn, &QAction::triggered, this, [this] { ShowCountersBtnClick(); });
    connect(ShowDebugProtocol1, &QAction::triggered, this, [this] { ShowDebugProtocol1Click(); });
    connect(historyCSV, &QAction::triggered, this, [this] { historyCSVClick(); });
    connect(PlayVideoBtn, &QAction::triggered, this, [this] { PlayVideoBtnClick(); });
    connect(btnPreviewReplay, &QAction::triggered, this, [this] { btnPreviewReplayClick(); });
    connect(sbSavereplay, &QAction::triggered, this, [this] { sbSavereplayClick(); });
    WireCommands();
    // Object names let the text table and the tests find the controls by their form names.
    setObjectName(QStringLiteral("TMain"));
    const std::pair<QObject*, const char*> names[] = {
        {pMain, "pMain"},
        {pInfo, "pInfo"},
        {pBox, "pBox"},
        {pBombs, "pBombs"},
        {pTimer, "pTimer"},
        {box, "box"},
        {iBombs, "iBombs"},
        {iTimer, "iTimer"},
        {bNewGame, "bNewGame"},
        {NameLabel, "NameLabel"},
        {lnamelabel, "lnamelabel"},
        {imFlag, "imFlag"},
        {GameMnu, "GameMnu"},
        {OptionsMnu, "OptionsMnu"},
        {HelpMnu, "HelpMnu"},
        {MouseMnu, "MouseMnu"},
        {folderMnu, "folderMnu"},
        {ScreenshotMnu, "ScreenshotMnu"},
        {NewBtn, "NewBtn"},
        {PlayVideoBtn, "PlayVideoBtn"},
        {sbSavereplay, "sbSavereplay"},
        {btnSaveBoard, "btnSaveBoard"},
        {btnPreviewReplay, "btnPreviewReplay"},
        {BeginnerBtn, "BeginnerBtn"},
        {IntermediateBtn, "IntermediateBtn"},
        {ExpertBtn, "ExpertBtn"},
        {CustomBtn, "CustomBtn"},
        {HighScoresBtn, "HighScoresBtn"},
        {StatisticsBtn, "StatisticsBtn"},
        {historyCSV, "historyCSV"},
        {BossKeyBtn, "BossKeyBtn"},
        {ExitBtn, "ExitBtn"},
        {PreferencesBtn, "PreferencesBtn"},
        {LanguageBtn, "LanguageBtn"},
        {MouseCPL, "MouseCPL"},
        {quoFoldBtn, "quoFoldBtn"},
        {scrFoldBtn, "scrFoldBtn"},
        {boardFoldBtn, "boardFoldBtn"},
        {boardpresFoldBtn, "boardpresFoldBtn"},
        {plugFoldBtn, "plugFoldBtn"},
        {ShowCountersBtn, "ShowCountersBtn"},
        {ShowDebugProtocol1, "ShowDebugProtocol1"},
        {AboutBtn, "AboutBtn"},
        {IndexBtn, "IndexBtn"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));
    ApplyMenuCaptions();
}

void TMain::ApplyMenuCaptions() {
    // The text table's bindings of this form, the same a language change applies (with the
    // menu shortening for narrow boards); the one item without a text keeps its own.
    ApplyTextsTo(this, "TMain");
    historyCSV->setText(QStringLiteral("Save Stats CSV"));
    ApplyPictureMenuCaptions();
    ApplyShellMenuCaptions();
}

void TMain::InstallHooks() {
    InstallVideoHooks();
    LoadFlagImages();
    InstallCommandHooks();
    UiHooks.RequestRedraw = [] {
        if (TMain* m = MainWindow()) {
            m->RedrawChangedCells();
            m->ShowFace();
        }
    };
    UiHooks.SetGameTimer = [](bool enabled) {
        if (TMain* m = MainWindow()) m->timer->SetEnabled(enabled);
    };
    UiHooks.NewGame = [] {
        if (TMain* m = MainWindow()) m->NewBtnClick();
    };
    UiHooks.RedrawBoard = [] {
        if (TMain* m = MainWindow()) {
            m->box->FillSurface(QColor(0xC0, 0xC0, 0xC0));
            m->RedrawBoard();
            m->ShowFace();
        }
    };
    UiHooks.HideProgressBarWindow = [] {
        if (TMain* m = MainWindow()) m->HideProgressBarWindow();
    };
    UiHooks.BoardCursorPos = [](int& x, int& y) {
        if (TMain* m = MainWindow()) {
            const QPoint p = m->box->mapFromGlobal(QCursor::pos());
            x = p.x();
            y = p.y();
        }
    };
    UiHooks.ConfineCursorToBoard = [] {
        TMain* m = MainWindow();
        if (!m) return;
        const QRect area(m->box->mapToGlobal(QPoint(0, 0)), m->box->size());
        const QPoint p = QCursor::pos();
        const QPoint clamped(std::clamp(p.x(), area.left(), area.right()),
                             std::clamp(p.y(), area.top(), area.bottom()));
        if (clamped != p) QCursor::setPos(clamped);
    };
    UiHooks.Beep = [] { QApplication::beep(); };
    UiHooks.DrawTimer = [] {
        if (TMain* m = MainWindow()) m->DrawTimer();
    };
    UiHooks.SetSaveReplayEnabled = [](bool enabled) {
        if (TMain* m = MainWindow())
            for (QAction* a : {m->sbSavereplay, m->btnSaveBoard, m->btnPreviewReplay})
                a->setEnabled(enabled);
    };
    UiHooks.SetShowCountersCheck = [](bool checked) {
        if (TMain* m = MainWindow()) m->ShowCountersBtn->setChecked(checked);
    };
    UiHooks.BringMainWindowToFront = [] {
        if (TMain* m = MainWindow()) {
            m->raise();
            m->activateWindow();
        }
    };
    UiHooks.ApplyTexts = [] { quorlet::ApplyTexts(); };
    UiHooks.RunAfterWindowShown = [](std::function<void()> work) {
        if (TMain* m = MainWindow())
            m->RunAfterShown(std::move(work));
        else
            work();
    };
    UiHooks.SetMainCaption = [](const std::string& caption) {
        if (TMain* m = MainWindow()) m->setWindowTitle(QString::fromStdString(caption));
    };
    if (!UiHooks.ScreenSize)
        UiHooks.ScreenSize = []() -> std::optional<TScreenSize> {
            const QScreen* s = QGuiApplication::primaryScreen();
            if (!s) return std::nullopt;
            return TScreenSize{s->geometry().width(), s->geometry().height()};
        };
    auto otherRect = UiHooks.WindowRect;
    UiHooks.WindowRect = [otherRect](TWindowKind kind) -> std::optional<TWindowRect> {
        if (kind != TWindowKind::Main) return otherRect ? otherRect(kind) : std::nullopt;
        TMain* m = MainWindow();
        if (!m) return std::nullopt;
        const QRect g = m->frameGeometry();
        return TWindowRect{g.left(), g.top(), g.width(), g.height()};
    };
    auto otherMove = UiHooks.MoveWindow;
    UiHooks.MoveWindow = [otherMove](TWindowKind kind, int32_t left, int32_t top) {
        if (kind != TWindowKind::Main) {
            if (otherMove) otherMove(kind, left, top);
            return;
        }
        if (TMain* m = MainWindow()) m->move(left, top);
    };
}

// ---- Start-up and shutdown ----

void TMain::FormCreate(const QString& firstArgument) {
    firstArgument_ = firstArgument;
    const std::vector<TStartupStep> steps = {
        {1,
         [] {
             SessionStart = ReadSystemTimeUtc();
             RandomSeed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
             InitMemoryLogAndWordList();
             return true;
         }},
        {1,
         [] {
             RandomSeed ^=
                 static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count() >> 10);
             return true;
         }},
        {1,
         [] {
             GameLevel = glBeginner;
             ResetBoardForNewGame();
             VideoPlaybackIndex = 0;
             ClearVideoEvents();
             NewGameFace = imf1;
             StartupVideoFile.clear();
             ReplayPlayerName.clear();
             GameIdText.clear();
             GameEndStamp.clear();
             return true;
         }},
        {1,
         [] {
             ReadTimeZoneInfo();
             return true;
         }},
        {1,
         [] {
             // The case of the folder is kept: Linux paths are case-sensitive.
             Options.LastPath = quorlet::OpenProgramFolder();
             return true;
         }},
        {1,
         [this] {
             for (QAction* a : {sbSavereplay, btnSaveBoard, btnPreviewReplay})
                 a->setEnabled(false);
             return true;
         }},
        {1,
         [] {
             LoadExternalCursor();
             return true;
         }},
        {1,
         [this] {
             LoadSettings();
             Options.LastPath = ResolveProgramFolder();
             ApplyBossKeyOption();
             return true;
         }},
        {1,
         [this] {
             const QString programFolder = QString::fromStdString(Options.LastPath);
             if (Options.doProhibitMultInstances &&
                 TSingleInstance::IsRunning(QString::fromLatin1(kTitle), programFolder)) {
                 ShowMessageBox("Minesweeper Quorlet already running.\r\n\r\nSolutions:\r\n1) Find process "
                                "in the TaskBar.\r\n2) Press Boss-Key [Alt+F2] to show the Minesweeper "
                                "Quorlet window.\r\n3) Disable Prohibit Multiple Instances option.");
                 DebugLog("#another instance is running: start refused");
                 return false;
             }
             // From here on the settings are this instance's own: the close may save them.
             saveOnClose_ = true;
             return true;
         }},
        {1,
         [] {
             Options.ExeFileName =
                 QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
             return true;
         }},
        {1, [this] {
             LoadPlugins(pluginbtn, this);
             return true;
         }},
        // The video buffer and the history table are static storage, zero from the start; a
        // fill here would only make their 25 MB resident.
        {1, {}},
        {1,
         [this] {
             QApplication::setApplicationName(ApplicationTitle());
             setWindowTitle(ApplicationTitle());
             const QString folder = QString::fromStdString(Options.LastPath);
             const bool claimed = instance_->Claim(ApplicationTitle(), folder);
             // Instances that allow company answer under the other title: alone only when
             // neither is taken, may the temporaries of a write still running elsewhere go.
             const QString other = ApplicationTitle() == QLatin1String(kTitle)
                                       ? QString::fromLatin1(kTitle) + QLatin1Char(' ')
                                       : QString::fromLatin1(kTitle);
             RemoveStaleTemporaries(Options.LastPath, !claimed || TSingleInstance::IsRunning(other, folder));
             return true;
         }},
        {1,
         [] {
             SetClock(0, 0);
             return true;
         }},
        {1,
         [this] {
             for (TImageView* v : {box, iBombs, iTimer})
                 v->FillSurface(QColor(0xC0, 0xC0, 0xC0));
             return true;
         }},
        {1,
         [] {
             // The start-up level is one of the three standard levels; anything above is Expert.
             GameLevel = std::min<uint8_t>(Options.doStartUpMode, glExpert);
             return true;
         }},
        // Layout, menu captions, their shortening on narrow boards and the name line: four
        // counted parts of the start-up done by one call.
        {4,
         [this] {
             ReloadInterface();
             return true;
         }},
        // The board's part of the next step; the history follows in FinishStartup.
        {0,
         [this] {
             RedrawBoard();
             return true;
         }},
    };
    // A failed step is reported with its number and the program runs on with what was set up;
    // only a refusal (another instance) ends the start.
    const TStartupResult result = RunStartupSteps(steps, 0, &startupCounter_);
    startedUp_ = result != TStartupResult::Refused;
    startupFailed_ = result == TStartupResult::Failed;
    if (startedUp_) MainWindowCreated = 1;
}

void TMain::FinishStartup() {
    // After a failed step the remaining ones are skipped, as within one run of the steps.
    if (!startedUp_ || startupFailed_ || finished_) return;
    finished_ = true;
    const std::vector<TStartupStep> steps = {
        {1,
         [] {
             // The history file is read here, once, after the first board is painted.
             LoadHistoryFile();
             return true;
         }},
        {1,
         [this] {
             ClassifyStartupArgument(firstArgument_.toStdString());
             return true;
         }},
    };
    RunStartupSteps(steps, startupCounter_);
}

void TMain::FormClose() {
    if (closed_) return;
    closed_ = true;
    timer->SetEnabled(false);
    // A refused start must not overwrite the files of the instance that runs, nor a start
    // that failed before its settings were read the player's settings.
    if (!saveOnClose_) return;
    try {
        SaveSettings();
        const std::string path = Options.LastPath + "/_debug_protocol_last.txt";
        if (!Options.LastPath.empty() && SaveDebugLogTo(path))
            DebugLog("protocol save ok");
        else
            DebugLog("protocol save error");
    } catch (...) {
        SaveDebugLog();
        QCoreApplication::quit();
    }
    instance_->Release();
}

void TMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    // Closing the main window ends the program, even while another window is shown.
    QCoreApplication::quit();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // The work waits until the window is on screen and painted: its first expose paints it.
    if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
    // A window that is never exposed (started minimised) must not hold the work back for good.
    QTimer::singleShot(2000, this, [this] { RunWorkAfterShown(); });
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        // Queued: the expose is handled (the window painted) before the work starts.
        QTimer::singleShot(0, this, [this] { RunWorkAfterShown(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMain::RunWorkAfterShown() {
    if (ranAfterShown_) return;
    ranAfterShown_ = true;
    // What was painted reaches the screen before the work holds the loop.
    QGuiApplication::sync();
    std::vector<std::function<void()>> work;
    work.swap(afterShown_);
    for (const auto& w : work)
        w();
}

void TMain::RunAfterShown(std::function<void()> work) {
    if (ranAfterShown_)
        work();
    else
        afterShown_.push_back(std::move(work));
}

void TMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        WindowStateChanged(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    // The player brought back a window the boss key could only minimise.
    if (event->type() == QEvent::WindowStateChange && BossKeyHidden && isVisible() && !isMinimized()) {
        BossKeyHidden = 0;
        if (Options.doShowCounters) ShowCountersWindow();
        DebugLog("boss-key normal mode restored");
    }
}

// ---- Commands ----

void TMain::BeginnerBtnClick() {
    SelectLevelCommand(glBeginner);
}
void TMain::IntermediateBtnClick() {
    SelectLevelCommand(glIntermediate);
}
void TMain::ExpertBtnClick() {
    SelectLevelCommand(glExpert);
}

void TMain::NewBtnClick() {
    // The engine repaints the board, the layout and the face through the hooks.
    NewGameCommand();
}

void TMain::ExitBtnClick() {
    close();
}

void TMain::BossKeyBtnClick() {
    ToggleBossKey();
}

void TMain::ShowCountersBtnClick() {
    Options.doShowCounters = !Options.doShowCounters;
    ShowCountersBtn->setChecked(Options.doShowCounters);
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void TMain::ShowDebugProtocol1Click() {
    GameOver = 1;
    DisableGameTimer();
    Tdebug* debug = FindWindow<Tdebug>();
    if (!debug) return;
    CenterFormOnMain(debug);
    HideCountersWindow();
    debug->show();
    debug->raise();
    // Pseudo-modal: the debug window enables the main window again when it closes.
    setEnabled(false);
}

void TMain::ToggleBossKey() {
    if (!Options.doEnableBossKey) return;
    StopGameClock();
    if (BossKeyHidden) {
        if (Options.doShowCounters) ShowCountersWindow();
        BossKeyHidden = 0;
        showNormal();
        activateWindow();
        DebugLog("boss-key normal mode restored");
        return;
    }
    NewBtnClick();
    setEnabled(true);
    // Every open secondary window closes (their close handlers give the main window back);
    // one that refuses a close (the About box) is hidden all the same.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->isWindow() && !w->close()) w->hide();
    BossKeyHidden = 1;
    if (BossKeyCanRestore)
        hide();
    else
        showMinimized();
    HideCountersWindow();
    DebugLog("boss-key stealth mode activated");
}

void TMain::ShowProgressBarWindow() {
    ShowPlaybackControls();
    if (Options.doShowCounters) ShowCountersWindow();
}

void TMain::HideProgressBarWindow() {
    HidePlaybackControls();
}

void TMain::ResetCountersWindow() {
    quorlet::ResetCountersWindow();
}

// ---- Board mouse ----

namespace {

bool ToEngineButton(Qt::MouseButton button, TMouseButton& out) {
    switch (button) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

} // namespace

void TMain::BoxPosition(QMouseEvent* event, int& x, int& y) {
    const QPointF p = event->position();
    x = static_cast<int>(std::floor(p.x()));
    y = static_cast<int>(std::floor(p.y()));
}

void TMain::boxMouseDown(QMouseEvent* event) {
    TMouseButton button;
    if (!ToEngineButton(event->button(), button)) return;
    int x, y;
    BoxPosition(event, x, y);
    BoardMouseDown(TMouseSender::Board, button, x, y);
    ShowFace();
    RedrawChangedCells();
}

void TMain::boxMouseMove(QMouseEvent* event) {
    int x, y;
    BoxPosition(event, x, y);
    BoardMouseMove(TMouseSender::Board, x, y);
    RedrawChangedCells();
}

void TMain::boxMouseUp(QMouseEvent* event) {
    TMouseButton button;
    if (!ToEngineButton(event->button(), button)) return;
    int x, y;
    BoxPosition(event, x, y);
    BoardMouseUp(TMouseSender::Board, button, x, y);
    ShowFace();
    RedrawChangedCells();
}

void TMain::timerTimer() {
    GameClockTick();
}

} // namespace quorlet
