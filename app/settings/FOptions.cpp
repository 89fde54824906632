#include "app/settings/FOptions.h"
#include "settings/optionsmap.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTreeWidget>

#include <algorithm>
#include <stdexcept>

#include "app/ApplyTexts.h"
#include "app/FMain.h"
#include "app/secondary.h"
#include "core/FData.h"
#include "core/autosave.h"
#include "core/debuglog.h"
#include "core/shell.h"
#include "settings/FCap.h"
#include "settings/countries.h"
#include "settings/fileassoc.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

constexpr const char* kOutline[TOptions_window::kPageCount] = {
    "User", "Game Style", "Cheat Mode", "System", "Language", "Automation", "Multiplayer", "Counters", "IRC Script",
    "Mouse Chart"};

const QString kTextFilter = QStringLiteral("Text Files (TXT) (*.TXT *.txt);;Any File (*)");

QString MemoToQt(const std::string& text) {
    QString q = QString::fromStdString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

std::string MemoFromQt(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return q.toStdString();
}

QString FileDialog(QWidget* parent, const QString& folder, bool save) {
    QFileDialog dialog(parent, QString(), folder, kTextFilter);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Our own overwrite question follows, with its own answer.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

// Every handler guards itself: nothing may leave a Qt slot.
template <typename Sender, typename Signal>
void Guarded(TOptions_window* window, Sender* sender, Signal signal, void (TOptions_window::*handler)()) {
    QObject::connect(sender, signal, window, [window, handler] {
        try {
            (window->*handler)();
        } catch (const std::exception& e) {
            DebugLog(std::string("#options window: ") + e.what());
        } catch (...) {
            DebugLog("#options window: unknown failure");
        }
    });
}

} // namespace

TOptions_window::TOptions_window(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TOptions_window"));
    Ask = [this](const QString& question) {
        return QMessageBox::question(this, QCoreApplication::applicationName(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    ChooseSaveFile = [this](const QString& folder) { return FileDialog(this, folder, true); };
    ChooseOpenFile = [this](const QString& folder) { return FileDialog(this, folder, false); };
    FormCreate();
}

TOptions_window::~TOptions_window() {
    OptionsWindowCreated = 0;
    UiHooks.ShowOptionsWindow = nullptr;
    UiHooks.LoadOptionsWindow = nullptr;
    UiHooks.AppendTemplateLine = nullptr;
}

void TOptions_window::FormCreate() {
    OptionsWindowCreated = 1;
    PageSeL = new QTreeWidget(this);
    PageSeL->setObjectName(QStringLiteral("PageSeL"));
    PageSeL->setHeaderHidden(true);
    PageSeL->setRootIsDecorated(false);
    PageSeL->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PageSeL->setGeometry(8, kPageTop, kPageLeft - 16, kPageHeight);
    for (const char* text : kOutline)
        PageSeL->addTopLevelItem(new QTreeWidgetItem(QStringList(QString::fromLatin1(text))));
    connect(PageSeL, &QTreeWidget::itemClicked, this, [this] { PageSeLClick(); });
    connect(PageSeL, &QTreeWidget::currentItemChanged, this, [this] { PageSeLClick(); });

    BuildPages();
    BuildButtons();
    FillLanguageList();

    UiHooks.ShowOptionsWindow = [this](int32_t item) { ShowOnPage(item); };
    UiHooks.LoadOptionsWindow = [this] { LoadOptionsWindow(); };
    UiHooks.AppendTemplateLine = [this](const std::string& line) {
        QString text = mtemplate->toPlainText();
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
        mtemplate->setPlainText(text + QString::fromStdString(line) + QLatin1Char('\n'));
    };

    ShowPage(1);
    LoadOptionsWindow();
    if (CountersTemplatePending) {
        LoadCountersTemplate();
        std::string text;
        for (const std::string& line : CountersTemplateLines)
            text += line + "\r\n";
        mtemplate->setPlainText(MemoToQt(text));
    }
    ApplyTextsTo(this, "TOptions_window");
    FitPages();
}

// The pages keep the size they were drawn for unless their controls need more with this
// system's fonts and the texts now applied: then the pages, the outline, the buttons under
// them and the window grow together.
void TOptions_window::FitPages() {
    int width = kPageWidth;
    for (QWidget* page : Pages)
        width = std::max(width, page->layout()->totalMinimumSize().width());
    int height = kPageHeight;
    for (QWidget* page : Pages) {
        const QLayout* rows = page->layout();
        height = std::max(height, rows->hasHeightForWidth() ? rows->totalHeightForWidth(width)
                                                            : rows->totalMinimumSize().height());
    }
    PageSeL->setGeometry(8, kPageTop, kPageLeft - 16, height);
    for (QWidget* page : Pages)
        page->setGeometry(kPageLeft, kPageTop, width, height);
    const int top = kPageTop + height + 8;
    const int right = kPageLeft + width;
    DefaultBtn->move(8, top);
    DefaultPageBtn->move(kPageLeft, top);
    ApplyBtn->move(right - ApplyBtn->width(), top);
    CancelBtn->move(ApplyBtn->x() - 8 - CancelBtn->width(), top);
    setFixedSize(right + 8, DefaultBtn->geometry().bottom() + 1 + 8);
}

void TOptions_window::BuildButtons() {
    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->resize(96, 25);
        return b;
    };
    DefaultBtn = button("DefaultBtn", "Default");
    DefaultPageBtn = button("DefaultPageBtn", "Reset Page");
    CancelBtn = button("CancelBtn", "Cancel");
    ApplyBtn = button("ApplyBtn", "Apply");
    ApplyBtn->setDefault(true);

    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setShortcut(QKeySequence(Qt::Key_Escape));
    ExitBtn->setShortcutContext(Qt::WindowShortcut);
    addAction(ExitBtn);

    auto on = [this](auto* sender, auto signal, void (TOptions_window::*handler)()) {
        Guarded(this, sender, signal, handler);
    };
    on(ApplyBtn, &QPushButton::clicked, &TOptions_window::ApplyBtnClick);
    on(CancelBtn, &QPushButton::clicked, &TOptions_window::CancelBtnClick);
    on(DefaultBtn, &QPushButton::clicked, &TOptions_window::DefaultBtnClick);
    on(DefaultPageBtn, &QPushButton::clicked, &TOptions_window::DefaultPageBtnClick);
    on(ExitBtn, &QAction::triggered, &TOptions_window::ExitBtnClick);
    const struct {
        const char* Name;
        void (TOptions_window::*Handler)();
    } buttons[] = {
        {"sbRegQVFext", &TOptions_window::sbRegQVFextClick},
        {"sbShortcut", &TOptions_window::sbShortcutClick},
        {"sbJustifyByCenter", &TOptions_window::sbJustifyByCenterClick},
        {"sb1", &TOptions_window::sb4Click},
        {"sb2", &TOptions_window::sb2Click},
        {"sb3", &TOptions_window::sb3Click},
        {"sb4", &TOptions_window::sb4Click},
        {"SpeedButton1", &TOptions_window::sb5Click},
        {"sbAddFormula", &TOptions_window::sbAddFormulaClick},
        {"sbSaveCnt", &TOptions_window::sbSaveCntClick},
        {"sbLoadCnt", &TOptions_window::sbLoadCntClick},
        {"sbSaveAut", &TOptions_window::sbSaveAutClick},
        {"sbloadaut", &TOptions_window::sbloadautClick},
        {"sbDefaultAut", &TOptions_window::sbDefaultAutClick},
        {"sbflushlist", &TOptions_window::sbflushlistClick},
    };
    for (const auto& b : buttons)
        on(Control<QPushButton>(b.Name), &QPushButton::clicked, b.Handler);
    // Check boxes act on every change of state, a load's included, as their clicks would.
    const struct {
        const char* Name;
        void (TOptions_window::*Handler)();
    } checks[] = {
        {"cbHistLog", &TOptions_window::cbHistLogClick},
        {"cbMarks", &TOptions_window::cbMarksClick},
        {"cbBlit", &TOptions_window::cbBlitClick},
        {"cbChangeLayout", &TOptions_window::cbChangeLayoutClick},
    };
    for (const auto& c : checks)
        on(Control<QCheckBox>(c.Name), &QCheckBox::toggled, c.Handler);
    on(boxCountry, &QComboBox::currentIndexChanged, &TOptions_window::boxCountryChange);
    on(mtemplate, &QPlainTextEdit::textChanged, &TOptions_window::mtemplateChange);
}

void TOptions_window::FillLanguageList() {
    const QString selected = LangFLB->currentItem() ? LangFLB->currentItem()->text() : QString();
    LangFLB->clear();
    for (const std::string& name : LanguageFileNames(Options.LastPath))
        LangFLB->addItem(QString::fromStdString(name));
    const QList<QListWidgetItem*> same = LangFLB->findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !same.isEmpty()) LangFLB->setCurrentItem(same.constFirst());
}

template <typename T> T* TOptions_window::Control(const char* name) const {
    T* control = findChild<T*>(QString::fromLatin1(name));
    if (!control) throw std::runtime_error(std::string("no control ") + name);
    return control;
}

int32_t TOptions_window::CurrentPage() const {
    for (int i = 0; i < kPageCount; ++i)
        if (Pages[i]->isVisibleTo(this)) return i + 1;
    return 0;
}

// ---- Transfer ----

void TOptions_window::LoadOptionsWindow() {
    if (!OptionsWindowCreated) return;
    try {
        LoadOptionsControls(*this);
    } catch (const std::exception& e) {
        DebugLog(std::string("#options reload interface: ") + e.what());
    }
}

bool TOptions_window::Checked(const char* control) {
    return Control<QAbstractButton>(control)->isChecked();
}

void TOptions_window::SetChecked(const char* control, bool checked) {
    QAbstractButton* button = Control<QAbstractButton>(control);
    if (button->isChecked() != checked) button->setChecked(checked);
    // The two warning captions follow a load even when the state stays.
    const std::string_view name(control);
    if (name == "cbHistLog") SetCaptionColour(button, !checked);
    if (name == "cbMarks") SetCaptionColour(button, checked);
}

void TOptions_window::SetCaptionColour(QAbstractButton* button, bool red) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::WindowText, red ? QColor(Qt::red) : palette().color(QPalette::WindowText));
    button->setPalette(pal);
}

int32_t TOptions_window::Value(const char* control) {
    return Control<QSpinBox>(control)->value();
}

void TOptions_window::SetValue(const char* control, int32_t value) {
    Control<QSpinBox>(control)->setValue(value);
}

std::string TOptions_window::Text(const char* control) {
    QWidget* w = Control<QWidget>(control);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) return MemoFromQt(memo->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText().toStdString();
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->currentItem() ? list->currentItem()->text().toStdString() : "";
    throw std::runtime_error(std::string("no text in ") + control);
}

void TOptions_window::SetText(const char* control, const std::string& text) {
    QWidget* w = Control<QWidget>(control);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(QString::fromStdString(text));
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        memo->setPlainText(MemoToQt(text));
    else
        throw std::runtime_error(std::string("no text in ") + control);
}

int32_t TOptions_window::Index(const char* control) {
    QWidget* w = Control<QWidget>(control);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->currentRow();
    throw std::runtime_error(std::string("no items in ") + control);
}

void TOptions_window::SetIndex(const char* control, int32_t index) {
    QWidget* w = Control<QWidget>(control);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setCurrentIndex(index);
    else if (auto* list = qobject_cast<QListWidget*>(w))
        list->setCurrentRow(index);
    else
        throw std::runtime_error(std::string("no items in ") + control);
}

int32_t TOptions_window::Count(const char* control) {
    QWidget* w = Control<QWidget>(control);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->count();
    if (auto* list = qobject_cast<QListWidget*>(w)) return list->count();
    throw std::runtime_error(std::string("no items in ") + control);
}

std::string TOptions_window::ItemText(const char* control, int32_t index) {
    QWidget* w = Control<QWidget>(control);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->itemText(index).toStdString();
    if (auto* list = qobject_cast<QListWidget*>(w))
        if (QListWidgetItem* item = list->item(index)) return item->text().toStdString();
    throw std::runtime_error(std::string("no item in ") + control);
}

void TOptions_window::Changed(const char* control) {
    if (std::string_view(control) == "boxCountry") boxCountryChange();
}

void TOptions_window::SetMenuChecks(bool silentMode, uint8_t ircType) {
    TMain* main = MainWindow();
    if (!main) return;
    auto check = [main](const char* name, bool checked) {
        if (auto* action = main->findChild<QAction*>(QString::fromLatin1(name))) action->setChecked(checked);
    };
    check("IRCsilentmodeBtn", silentMode);
    check("ircfrmtmircBtn", ircType == 0);
    check("ircfrmtCGIBtn", ircType == 1);
    check("ircfrmtTXTBtn", ircType == 2);
}

void TOptions_window::ShowPlayerName() {
    if (TMain* main = MainWindow()) main->ShowPlayerName();
}

void TOptions_window::DrawTimer() {
    if (TMain* main = MainWindow()) main->DrawTimer();
}

void TOptions_window::RedrawBoard() {
    if (TMain* main = MainWindow()) main->RedrawBoard();
}

void TOptions_window::ShowPage(int32_t item) {
    if (item < 1 || item > kPageCount) item = 1;
    PageSeL->setCurrentItem(PageSeL->topLevelItem(item - 1));
    PageSeLClick();
}

void TOptions_window::FocusControl(const char* control) {
    Control<QWidget>(control)->setFocus();
}

void TOptions_window::CloseToMain() {
    if (TMain* main = MainWindow()) {
        main->setEnabled(true);
        main->show();
    }
    hide();
}

// ---- The show entry and the common buttons ----

void TOptions_window::ShowOnPage(int32_t outlineItem) {
    try {
        ShowPage(outlineItem);
        if (GameLevel <= glExpert) SetChecked(kStartModeControls[GameLevel], true);
        LoadOptionsWindow();
        // The texts may have changed since the last showing.
        FitPages();
        CenterFormOnMain(this);
        ShowSecondaryWindow(this);
        ApplyBtn->setFocus();
    } catch (const std::exception& e) {
        DebugLog(std::string("#options window not shown: ") + e.what());
    }
}

void TOptions_window::PageSeLClick() {
    const int index = PageSeL->currentItem() ? PageSeL->indexOfTopLevelItem(PageSeL->currentItem()) : 0;
    for (int i = 0; i < kPageCount; ++i)
        if (i != index) Pages[i]->hide();
    if (index < 0 || index >= kPageCount) return;
    Pages[index]->move(kPageLeft, kPageTop);
    Pages[index]->show();
    Pages[index]->raise();
    if (index == 4) FillLanguageList();
}

void TOptions_window::ApplyBtnClick() {
    OptionsApply(*this, snapshot_);
}

void TOptions_window::CancelBtnClick() {
    OptionsCancel(*this, snapshot_);
}

void TOptions_window::ExitBtnClick() {
    OptionsEscape(*this, snapshot_);
}

void TOptions_window::closeEvent(QCloseEvent* event) {
    RestoreOptionsSnapshot(*this, snapshot_);
    if (TMain* main = MainWindow()) {
        main->setEnabled(true);
        main->show();
    }
    event->accept();
}

void TOptions_window::DefaultBtnClick() {
    ApplyBtn->setFocus();
    if (Ask(QStringLiteral("Are you sure you want to reset the Preferences?"))) OptionsDefault(*this, snapshot_);
}

void TOptions_window::DefaultPageBtnClick() {
    ApplyBtn->setFocus();
    if (Ask(QStringLiteral("Reload setting on this page?"))) LoadOptionsWindow();
}

// ---- Page buttons ----

void TOptions_window::sbRegQVFextClick() {
    RegisterVideoFileType();
}

void TOptions_window::sbShortcutClick() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // The plain path: the launcher's Exec= quotes it where the Desktop Entry rules ask.
    CreateDesktopShortcut(QCoreApplication::applicationFilePath().toStdString(),
                          (desktop + QStringLiteral("/Minesweeper Quorlet.exe")).toStdString(), "");
}

void TOptions_window::sbJustifyByCenterClick() {
    TMain* main = MainWindow();
    if (!main) return;
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect frame = main->frameGeometry();
    const TWindowRect r = CenterMainOnScreen(frame.width(), frame.height(),
                                             TScreenSize{screen->geometry().width(), screen->geometry().height()});
    main->move(r.Left, r.Top);
}

void TOptions_window::cbHistLogClick() {
    QCheckBox* box = Control<QCheckBox>("cbHistLog");
    SetCaptionColour(box, !box->isChecked());
    if (!box->isChecked())
        ShowMessageBox("Do not forget to check the history logging on when you will start the serious trainings.");
}

void TOptions_window::cbMarksClick() {
    QCheckBox* box = Control<QCheckBox>("cbMarks");
    SetCaptionColour(box, box->isChecked());
    if (box->isChecked()) ShowMessageBox("Do not forget to check the marks off when you will start the serious trainings.");
}

void TOptions_window::cbBlitClick() {
    if (!Checked("cbBlit"))
        ShowMessageBox("BitBlt draw method is the fastest method and allocates less system resources. It is strongly "
                       "recommended to check it ON.");
}

void TOptions_window::cbChangeLayoutClick() {
    const bool on = Checked("cbChangeLayout");
    SetChecked("cbDarkenBoard", on);
    SetChecked("cbShowCells", on);
}

void TOptions_window::boxCountryChange() {
    // A name the table does not hold is no country, as the transfer stores it.
    const uint8_t code = CountryCode(boxCountry->currentText().toStdString());
    imFlag->clear();
    TMain* main = MainWindow();
    if (code >= 1 && main && code < kCountryCount) imFlag->setPixmap(main->FlagImage(code));
}

void TOptions_window::sb2Click() {
    ShowMessageBox("Counter Indicator format (1 Line):\r\ntemplate:\r\n\t(show_case_status) caption_template | "
                   "formula_template\r\nexample:\r\n\tREP <3bv/s_caption>|<3bv>/<time>\r\noutput:\r\n\t3BV/s    "
                   "2,83\r\n\r\n" +
                   UIText("0313"));
}

void TOptions_window::sb3Click() {
    ShowMessageBox(UIText("0179"));
}

void TOptions_window::sb4Click() {
    ShowMessageBox(UIText("0180"));
}

void TOptions_window::sb5Click() {
    ShowMessageBox("Read Help file to know more about game text information autocopying for IRC clients. This "
                   "includes:\r\n\r\n   color formats\r\n   templates for autocopying\r\n   exclude list of counters "
                   "window indicators");
}

void TOptions_window::mtemplateChange() {
    const QString text = mtemplate->toPlainText();
    const qsizetype lines = text.isEmpty() ? 0 : text.count(QLatin1Char('\n')) + (text.endsWith(QLatin1Char('\n')) ? 0 : 1);
    lpos->setText(QStringLiteral("[ %1 ]").arg(lines));
}

void TOptions_window::sbAddFormulaClick() {
    // The memo is not applied yet: its empty lines go, the live template stays as it is.
    const std::vector<std::string> live = CountersTemplateLines;
    CountersTemplateLines = MemoLines(MemoFromQt(mtemplate->toPlainText()));
    DropEmptyCounterTemplateLines();
    const std::string kept = MemoText(CountersTemplateLines);
    CountersTemplateLines = live;
    mtemplate->setPlainText(MemoToQt(kept));
    if (UiHooks.ShowFormulaWindow)
        UiHooks.ShowFormulaWindow();
    else
        DebugLog("#formula editor is not there yet");
}

void TOptions_window::SaveMemoToFile(QPlainTextEdit* memo, const char* logLine, const char* errorPrefix) {
    const QString name = ChooseSaveFile(QString::fromStdString(Options.LastPath));
    if (name.isEmpty()) return;
    if (QFileInfo::exists(name) && !Ask(QStringLiteral("File exists. Overwrite File?"))) return;
    SaveTemplateFile(name.toStdString(), MemoFromQt(memo->toPlainText()), logLine, errorPrefix);
}

void TOptions_window::LoadMemoFromFile(QPlainTextEdit* memo, const char* logLine, const char* errorPrefix) {
    const QString name = ChooseOpenFile(QString::fromStdString(Options.LastPath));
    if (name.isEmpty() || !QFileInfo::exists(name)) return;
    std::string text;
    if (LoadTemplateFile(name.toStdString(), text, logLine, errorPrefix)) memo->setPlainText(MemoToQt(text));
}

void TOptions_window::sbSaveCntClick() {
    SaveMemoToFile(mtemplate, "counters template file saved", "#error: counters template file: ");
}

void TOptions_window::sbLoadCntClick() {
    if (Ask(QString::fromStdString(UIText("0329")))) sbSaveCntClick();
    LoadMemoFromFile(mtemplate, "counters template file loaded", "#error: counters template file: ");
}

void TOptions_window::sbSaveAutClick() {
    SaveMemoToFile(auttempl, "automatical saving template file saved", "#error: automatical saving template file: ");
}

void TOptions_window::sbloadautClick() {
    if (Ask(QString::fromStdString(UIText("0329")))) sbSaveAutClick();
    LoadMemoFromFile(auttempl, "automatical saving template file loaded", "#error: automatical saving template file: ");
}

void TOptions_window::sbDefaultAutClick() {
    // Any answer but No goes on; the memo takes the default, kept on Apply like any change.
    if (!Ask(QStringLiteral("Are you sure you want to reset automatical replay saving templates"))) return;
    auttempl->setPlainText(MemoToQt(MemoText(DefaultAutosaveTemplate())));
}

void TOptions_window::sbflushlistClick() {
    if (!Ask(QStringLiteral(
            "This will fill the list with ALL indicators from Counters window. You will need to edit it manuallu to "
            "leave only those indicators, which you do not want to see in the IRC scripts. Continue?")))
        return;
    try {
        mCntExcludeList->setPlainText(MemoToQt(CountersExcludeListText()));
        DebugLog("#irc counters exclude list filled");
    } catch (...) {
        ShowMessageBox("err");
    }
}

} // namespace quorlet
