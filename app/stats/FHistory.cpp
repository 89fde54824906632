// The history window: outline, panels, pies, setup buttons, opening and closing.
#include "app/stats/FHistory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>

#include "app/ApplyTexts.h"
#include "app/FMain.h"
#include "app/secondary.h"
#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/random.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "app/stats/FHistoryGridModel.h"
#include "stats/counters.h"
#include "stats/historyfile.h"
#include "stats/historyhtml.h"
#include "stats/historypages.h"
#include "stats/historywindow.h"

namespace quorlet {

uint8_t HistoryWindowCreated = 0;

namespace {

THistory* gHistory = nullptr;

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

// A chart view that reports clicks (the pies' rotation toggle).
class TClickChartView : public QChartView {
  public:
    using QChartView::QChartView;
    std::function<void()> clicked;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QChartView::mousePressEvent(event);
        if (clicked) clicked();
    }
};

} // namespace

QTableView* MakeGridView(QWidget* parent) {
    auto* view = new QTableView(parent);
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(18);
    view->horizontalHeader()->setDefaultSectionSize(84);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    return view;
}

namespace {

QWidget* MakePanel(QWidget* parent, QLabel*& caption, QVBoxLayout*& layout) {
    auto* panel = new QWidget(parent);
    layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    caption = new QLabel(panel);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    panel->hide();
    return panel;
}

QChartView* MakeChart(QWidget* parent, QPieSeries*& series, const std::function<void()>& onClick) {
    auto* chart = new QChart();
    // The legend below the view names every slice with its count and share, whole; the
    // chart's own would cut them short beside a zoomed pie.
    chart->legend()->hide();
    series = new QPieSeries(chart);
    chart->addSeries(series);
    auto* view = new TClickChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->clicked = onClick;
    return view;
}

} // namespace

THistory* HistoryWindow() {
    return gHistory;
}

THistory::THistory(QWidget* mainWindow) : QWidget(nullptr, Qt::Window), mainWindow_(mainWindow) {
    setWindowTitle(Text("0056"));
    setMinimumSize(640, 480);
    auto* top = new QHBoxLayout(this);
    PageSeL = new QTreeWidget(this);
    PageSeL->setHeaderHidden(true);
    PageSeL->setFixedWidth(150);
    QTreeWidgetItem* parent = nullptr;
    for (int item = 1; item <= kHistoryOutlineItems; ++item) {
        const QString text = QString::fromStdString(HistoryOutlineText(item));
        QTreeWidgetItem* node = nullptr;
        const int level = HistoryItemLevel(item);
        if (level >= 0 && (item - 1) % 7 != 0) {
            node = new QTreeWidgetItem(parent, QStringList{text});
        } else {
            node = new QTreeWidgetItem(PageSeL, QStringList{text});
            if (level >= 0) parent = node;
        }
        node->setData(0, Qt::UserRole, item);
        items_.push_back(node);
    }
    top->addWidget(PageSeL);
    connect(PageSeL, &QTreeWidget::currentItemChanged, this, [this] { PageSeLClick(); });

    auto* panels = new QWidget(this);
    auto* stack = new QVBoxLayout(panels);
    stack->setContentsMargins(0, 0, 0, 0);
    top->addWidget(panels, 1);
    QVBoxLayout* layout = nullptr;

    pGrid = MakePanel(panels, lGridName, layout);
    sgModel_ = new THistoryGridModel(sgData_, this);
    sg = MakeGridView(pGrid);
    sg->setModel(sgModel_);
    layout->addWidget(sg, 1);
    sbSaveGrid = new QPushButton(Text("0057"), pGrid);
    layout->addWidget(sbSaveGrid, 0, Qt::AlignLeft);
    connect(sbSaveGrid, &QPushButton::clicked, this, [this] { sbSaveGridClick(); });

    pChart = MakePanel(panels, lChartName, layout);
    Chart1 = MakeChart(pChart, Series1, [this] { Chart1Click(); });
    layout->addWidget(Chart1, 1);
    Legend1 = new QWidget(pChart);
    layout->addWidget(Legend1);
    SpeedButton1 = new QPushButton(QStringLiteral("!!!"), pChart);
    layout->addWidget(SpeedButton1, 0, Qt::AlignLeft);
    pChart2 = MakePanel(panels, lchart2name, layout);
    Chart2 = MakeChart(pChart2, PieSeries1, [this] { Chart1Click(); });
    layout->addWidget(Chart2, 1);
    Legend2 = new QWidget(pChart2);
    layout->addWidget(Legend2);
    for (QWidget* legend : {Legend1, Legend2})
        new QGridLayout(legend);
    SpeedButton2 = new QPushButton(QStringLiteral("!!!"), pChart2);
    layout->addWidget(SpeedButton2, 0, Qt::AlignLeft);
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });

    pSetup = MakePanel(panels, lSetupName, layout);
    const auto addButton = [&](QPushButton*& button, const QString& caption, void (THistory::*handler)()) {
        button = new QPushButton(caption, pSetup);
        layout->addWidget(button, 0, Qt::AlignLeft);
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    addButton(savestatBtn, Text("0058"), &THistory::savestatBtnClick);
    addButton(savestatnodebugBtn, Text("0260"), &THistory::savestatnodebugBtnClick);
    addButton(BackupBtn, Text("0059"), &THistory::BackupBtnClick);
    addButton(RestoreBtn, Text("0060"), &THistory::RestoreBtnClick);
    addButton(ClearBtn, Text("0061"), &THistory::ClearBtnClick);
    addButton(LoadExternalFileBtn, Text("0280"), &THistory::LoadExternalFileBtnClick);
    layout->addStretch(1);

    pSearch = BuildSearchPage();
    for (QWidget* panel : {pGrid, pChart, pChart2, pSetup, pSearch})
        stack->addWidget(panel);

    Rotator = new QTimer(this);
    Rotator->setInterval(50);
    connect(Rotator, &QTimer::timeout, this, [this] { RotatorTimer(); });

    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setShortcut(Qt::Key_Escape);
    ExitBtn->setShortcutContext(Qt::WindowShortcut);
    addAction(ExitBtn);
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });

    AskYesNo = [this](const QString& question) {
        return QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    ChooseHtmlFile = [this](const QString& folder) {
        QFileDialog dialog(this, {}, folder, QStringLiteral("HTML Files (*.htm*);;Any File (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                        : QString();
    };
    AskExcludePercents = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, QStringLiteral("Request"),
                                                   QStringLiteral("Exclude percents of games [0..99]:"),
                                                   QLineEdit::Normal, QStringLiteral("25"), &ok);
        if (!ok) return std::nullopt;
        return text;
    };

    FormCreate();
    gHistory = this;
    UiHooks.ShowHistoryWindow = [this](int32_t item) {
        try {
            ShowWindow(item);
        } catch (...) {
            DebugLog("#history window failed to open");
        }
    };
}

THistory::~THistory() {
    if (gHistory == this) {
        gHistory = nullptr;
        UiHooks.ShowHistoryWindow = nullptr;
        HistoryWindowCreated = 0;
    }
}

void THistory::FormCreate() {
    // Object names let the text table and the tests find the controls by their form names.
    setObjectName(QStringLiteral("THistory"));
    const std::pair<QObject*, const char*> names[] = {
        {PageSeL, "PageSeL"},
        {pGrid, "pGrid"},
        {pChart, "pChart"},
        {pChart2, "pChart2"},
        {pSetup, "pSetup"},
        {pSearch, "pSearch"},
        {lGridName, "lGridName"},
        {lChartName, "lChartName"},
        {lchart2name, "lchart2name"},
        {lSetupName, "lSetupName"},
        {lSearchName, "lSearchName"},
        {sg, "sg"},
        {sgs, "sgs"},
        {Chart1, "Chart1"},
        {Chart2, "Chart2"},
        {Rotator, "Rotator"},
        {savestatBtn, "savestatBtn"},
        {savestatnodebugBtn, "savestatnodebugBtn"},
        {BackupBtn, "BackupBtn"},
        {ClearBtn, "ClearBtn"},
        {RestoreBtn, "RestoreBtn"},
        {LoadExternalFileBtn, "LoadExternalFileBtn"},
        {sbSaveGrid, "sbSaveGrid"},
        {sbSavegrid2, "sbSavegrid2"},
        {SpeedButton1, "SpeedButton1"},
        {SpeedButton2, "SpeedButton2"},
        {SpeedButton3, "SpeedButton3"},
        {SpeedButton4, "SpeedButton4"},
        {ExitBtn, "ExitBtn"},
        {cbBeg, "cbBeg"},
        {cbInt, "cbInt"},
        {cbExp, "cbExp"},
        {cbF, "cbF"},
        {cbNF, "cbNF"},
        {cbDate, "cbDate"},
        {cbHour, "cbHour"},
        {cbTime, "cbTime"},
        {cbBVS, "cbBVS"},
        {cbBV, "cbBV"},
        {cbSort, "cbSort"},
        {searchBtn, "searchBtn"},
        {defaultBtn, "defaultBtn"},
        {sortBtn, "sortBtn"},
        {sClearBtn, "sClearBtn"},
        {hiderBtn, "hiderBtn"},
        {Panel8, "Panel8"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));
    cbSort->clear();
    for (const std::string& key : SearchSortKeys())
        cbSort->addItem(QString::fromStdString(key));
    Series1->clear();
    PieSeries1->clear();
    // Each pie starts at its own random angle.
    for (QPieSeries* series : {Series1, PieSeries1}) {
        const qreal angle = Random(360);
        series->setPieStartAngle(angle);
        series->setPieEndAngle(angle + 360);
    }
    HistoryWindowCreated = 1;
    move(0, 0);
    resize(800, 580);
    for (QWidget* panel : {pGrid, pChart, pChart2, pSetup, pSearch})
        panel->hide();
    sg->setColumnWidth(0, 94);
    // The outline words, captions and buttons from the text table; a language change reaches
    // them again through ApplyTexts.
    ApplyTextsTo(this, "THistory");
    if (PageSeL->currentItem()) PageSeLClick();
}

void THistory::SelectItem(int item) {
    if (item < 1 || item > kHistoryOutlineItems) return;
    {
        const QSignalBlocker block(PageSeL);
        PageSeL->setCurrentItem(items_[static_cast<size_t>(item - 1)]);
    }
    PageSeLClick();
}

int THistory::CurrentItem() const {
    const QTreeWidgetItem* item = PageSeL->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void THistory::ShowPanel(QWidget* panel) {
    for (QWidget* p : {pGrid, pChart, pChart2, pSetup, pSearch})
        if (p != panel) p->hide();
    panel->show();
}

void THistory::ShowGrid() {
    sgModel_->Reload();
    for (int c = 0; c < sgData_.ColCount(); ++c)
        sg->setColumnWidth(c, sgData_.ColWidth(c));
}

void THistory::PageSeLClick() {
    try {
        const int item = CurrentItem();
        const QString caption = QString::fromStdString(HistoryPageCaption(item));
        DrawHistoryGridPage(sgData_, item);
        switch (HistoryPagePanel(item)) {
        case THistoryPanel::Grid:
            Rotator->stop();
            lGridName->setText(caption);
            ShowGrid();
            ShowPanel(pGrid);
            break;
        case THistoryPanel::StyleChart:
            ShowGrid();
            lChartName->setText(caption);
            FillPie(Series1, Legend1, item == 22 ? -1 : HistoryItemLevel(item));
            ShowPanel(pChart);
            Rotator->start();
            break;
        case THistoryPanel::GamesChart:
            ShowGrid();
            lchart2name->setText(caption);
            FillPie(PieSeries1, Legend2, -2);
            ShowPanel(pChart2);
            Rotator->start();
            break;
        case THistoryPanel::Setup:
            Rotator->stop();
            ShowGrid();
            lSetupName->setText(caption);
            ShowPanel(pSetup);
            break;
        case THistoryPanel::Search:
            Rotator->stop();
            ShowGrid();
            lSearchName->setText(caption);
            sClearBtnClick();
            defaultBtnClick();
            Panel8->show();
            hiderBtn->setText(QStringLiteral("<<<"));
            ShowPanel(pSearch);
            break;
        }
    } catch (...) {
        DebugLog("#history page failed");
    }
}

// kind: a level 0..2, -1 the overall style pie, -2 the games pie.
void THistory::FillPie(QPieSeries* series, QWidget* legend, int kind) {
    series->clear();
    auto* rows = static_cast<QGridLayout*>(legend->layout());
    while (QLayoutItem* item = rows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto slices = kind == -2 ? GamesPieSlices() : StylePieSlices(kind);
    int row = 0;
    for (const TPieSlice& s : slices) {
        QPieSlice* slice = series->append(QString::fromStdString(s.label), s.value);
        const QColor colour = QColor::fromRgb(s.colour);
        slice->setColor(colour);
        slice->setExploded(false);
        slice->setLabelVisible(false);
        QPixmap swatch(12, 12);
        swatch.fill(colour);
        auto* mark = new QLabel(legend);
        mark->setPixmap(swatch);
        rows->addWidget(mark, row, 0);
        rows->addWidget(new QLabel(QString::fromStdString(PieLegendText(s, slices)), legend), row, 1);
        ++row;
    }
    rows->setColumnStretch(1, 1);
}

void THistory::ApplyZoom() {
    // The zoom of 75..141 as the share of the view the pie fills.
    const qreal size = std::min(0.95, zoom_ / 150.0);
    Series1->setPieSize(size);
    PieSeries1->setPieSize(size);
}

void THistory::RotatorTimer() {
    for (QPieSeries* series : {Series1, PieSeries1}) {
        const qreal angle = series->pieStartAngle() + 1;
        series->setPieStartAngle(angle);
        series->setPieEndAngle(angle + 360);
    }
    RotatorZoomStep(zoom_, zoomGrowing_);
    ApplyZoom();
}

void THistory::Chart1Click() {
    if (Rotator->isActive())
        Rotator->stop();
    else
        Rotator->start();
}

void THistory::SpeedButton2Click() {
    ShowMessageBox(UIText("0104"));
}

void THistory::SaveHtml(const std::function<void(const std::string&)>& write) {
    try {
        const QString name = ChooseHtmlFile ? ChooseHtmlFile(QString::fromStdString(Options.LastPath)) : QString();
        if (!name.isEmpty()) write(name.toStdString());
    } catch (...) {
        DebugLog("#history export failed");
    }
}

void THistory::sbSaveGridClick() {
    SaveHtml([this](const std::string& file) { ExportGridHtml(file, sgData_, lGridName->text().toStdString()); });
}

void THistory::sbSavegrid2Click() {
    SaveHtml([this](const std::string& file) { ExportSearchResultsHtml(file, sgsData_, SearchFilter()); });
}

void THistory::savestatBtnClick() {
    SaveHtml([this](const std::string& file) {
        ExportStatisticsHtml(file, sgData_);
        SelectItem(kSetupOutlineItem);
    });
}

void THistory::savestatnodebugBtnClick() {
    SaveHtml([this](const std::string& file) {
        ExportStatisticsHtmlNoDebug(file, sgData_);
        SelectItem(kSetupOutlineItem);
    });
}

void THistory::BackupBtnClick() {
    try {
        BackupHistoryFile();
    } catch (...) {
        DebugLog("#history backup failed");
    }
}

void THistory::ClearBtnClick() {
    try {
        if (!AskYesNo || !AskYesNo(Text("0103"))) return;
        if (ClearHistoryKeepingACopy()) CloseHistoryWindow();
    } catch (...) {
        DebugLog("#history clear failed");
    }
}

void THistory::RestoreBtnClick() {
    ShowMessageBox("Disabled in this debug version");
}

void THistory::LoadExternalFileBtnClick() {
    ShowMessageBox("Disabled in this debug version");
}

void THistory::ShowWindow(int outlineItem) {
    const TWindowRect stored{Options.posHistX, Options.posHistY, Options.posHistW > 0 ? Options.posHistW : width(),
                             Options.posHistH > 0 ? Options.posHistH : height()};
    TScreenSize screen{1024, 768};
    if (const auto known = UiHooks.ScreenSize ? UiHooks.ScreenSize() : std::nullopt) screen = *known;
    const THistoryPlacement place = HistoryWindowPlacement(stored, screen);
    setWindowState(windowState() & ~Qt::WindowMaximized);
    move(place.rect.Left, place.rect.Top);
    resize(place.rect.Width, place.rect.Height);
    if (place.maximised) setWindowState(windowState() | Qt::WindowMaximized);
    LoadHistoryFile();
    PageSeL->expandAll();
    SelectItem(outlineItem >= 1 && outlineItem <= kHistoryOutlineItems ? outlineItem
                                                                        : HistoryOpeningItem(GameLevel));
    ShowSecondaryWindow(this);
}

void THistory::CloseHistoryWindow() {
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->show();
    }
    PageSeL->expandAll();
    Rotator->stop();
    hide();
    LoadHistoryFile();
}

void THistory::FormClose() {
    try {
        const QRect frame = frameGeometry();
        Options.posHistX = frame.x();
        Options.posHistY = frame.y();
        Options.posHistW = width();
        Options.posHistH = height();
        StopGameClock();
        CloseHistoryWindow();
        RefreshCounters();
        if (Options.doShowCounters)
            ShowCountersWindow();
        else
            HideCountersWindow();
        if (ReplayMode && MainWindow()) MainWindow()->ShowProgressBarWindow();
    } catch (...) {
        DebugLog("#history window failed to close");
    }
}

void THistory::ExitBtnClick() {
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->show();
    }
    Rotator->stop();
    hide();
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void THistory::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

} // namespace quorlet
