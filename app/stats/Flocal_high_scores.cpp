#include "app/stats/Flocal_high_scores.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>
#include <exception>

#include "app/FMain.h"
#include "app/secondary.h"
#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "stats/counters.h"

namespace quorlet {

uint8_t LocalHighScoresCreated = 0;

// One page's grid, shown as it was last filled.
class THighScoreModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetGrid(THighScoreGrid grid) {
        beginResetModel();
        grid_ = std::move(grid);
        endResetModel();
    }
    const THighScoreGrid& Grid() const { return grid_; }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kHighScoreRows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_.columns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.column() >= grid_.columns) return {};
        return QString::fromStdString(grid_.cells[index.row()][index.column()]);
    }

  private:
    THighScoreGrid grid_;
};

namespace {

constexpr int kClientWidth = 472;
constexpr int kClientHeight = 508;
const char* const kPageCaptions[kHighScorePages] = {"Best Scores", "Flagging",        "No-flagging",
                                                    "Top 25 best", "Top 25 flagging", "Top 25 N-flagging"};

QString DefaultChooseHtmlFile(QWidget* parent, const QString& folder, const QString& name) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(folder);
    // Filters first: a filter chosen after the name gives the name its pattern ("*.htm*").
    dialog.setNameFilters({QStringLiteral("HTML files (*.htm*)"), QStringLiteral("Any files (*)")});
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace

TLocal_High_Scores::TLocal_High_Scores(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TLocal_High_Scores"));
    setFixedSize(kClientWidth, kClientHeight);
    ChooseHtmlFile = [this](const QString& folder, const QString& name) {
        return DefaultChooseHtmlFile(this, folder, name);
    };
    pager = new QTabWidget(this);
    pager->setObjectName(QStringLiteral("pager"));
    pager->setGeometry(0, 0, kClientWidth, kClientHeight);
    lhspopup = new QMenu(this);
    lhspopup->setObjectName(QStringLiteral("lhspopup"));
    savehtmlbtn = lhspopup->addAction(QString());
    savehtmlbtn->setObjectName(QStringLiteral("savehtmlbtn"));
    connect(savehtmlbtn, &QAction::triggered, this, [this] { savehtmlbtnClick(); });
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    for (int p = 0; p < kHighScorePages; ++p) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("page%1").arg(p + 1));
        auto* sg = new QTableView(page);
        sg->setObjectName(QStringLiteral("sg%1").arg(p + 1));
        auto* model = new THighScoreModel(sg);
        sg->setModel(model);
        sg->setFrameShape(QFrame::NoFrame);
        sg->horizontalHeader()->hide();
        sg->verticalHeader()->hide();
        sg->verticalHeader()->setDefaultSectionSize(18);
        sg->horizontalHeader()->setDefaultSectionSize(84);
        sg->setShowGrid(true);
        sg->setSelectionBehavior(QAbstractItemView::SelectRows);
        sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
        sg->setFont(font);
        sg->setStyleSheet(QStringLiteral("QTableView { background: silver; }"));
        sg->setGeometry(0, 0, kClientWidth - 6, kClientHeight - 28);
        // A right click anywhere on the pages offers the export.
        for (QWidget* w : {static_cast<QWidget*>(page), static_cast<QWidget*>(sg)}) {
            w->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(w, &QWidget::customContextMenuRequested, this,
                    [this, w](const QPoint& at) { lhspopup->popup(w->mapToGlobal(at)); });
        }
        pages[p] = page;
        grids[p] = sg;
        models_[p] = model;
        pager->addTab(page, QString::fromLatin1(kPageCaptions[p]));
    }
    // The six tabs side by side, whole and without scroll arrows: the window is as wide as
    // they need, when they need more than its own width.
    pager->setUsesScrollButtons(false);
    pager->tabBar()->setElideMode(Qt::ElideNone);
    const int width = std::max(kClientWidth, pager->minimumSizeHint().width());
    setFixedSize(width, kClientHeight);
    pager->resize(width, kClientHeight);
    for (QTableView* sg : grids)
        sg->resize(width - 6, sg->height());
    connect(pager, &QTabWidget::currentChanged, this, [this](int index) {
        if (!filling_) PageShow(index + 1);
    });
    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setShortcut(Qt::Key_Escape);
    addAction(ExitBtn);
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });
    setWindowTitle(QString::fromStdString(UIText("0109")));
    savehtmlbtn->setText(QString::fromStdString(UIText("0383")));
    UiHooks.ShowHighScoresWindow = [this](int32_t page) { ShowOnPage(page); };
    LocalHighScoresCreated = 1;
}

TLocal_High_Scores::~TLocal_High_Scores() {
    UiHooks.ShowHighScoresWindow = nullptr;
    LocalHighScoresCreated = 0;
}

void TLocal_High_Scores::ShowOnPage(int page) {
    page = page < 1 || page > kHighScorePages ? 1 : page;
    filling_ = true;
    pager->setCurrentIndex(page - 1);
    filling_ = false;
    PageShow(page);
    CenterFormOnMain(this);
    ShowSecondaryWindow(this);
}

void TLocal_High_Scores::PageShow(int page) {
    if (page < 1 || page > kHighScorePages) return;
    try {
        THighScoreGrid grid = HighScorePage(page);
        QTableView* sg = grids[page - 1];
        models_[page - 1]->SetGrid(grid);
        for (int c = 0; c < grid.columns; ++c)
            sg->setColumnWidth(c, grid.widths[c]);
    } catch (const std::exception& e) {
        DebugLog(std::string("#high scores page not filled: ") + e.what());
    }
}

void TLocal_High_Scores::savehtmlbtnClick() {
    try {
        const int page = pager->currentIndex() + 1;
        const QString path = ChooseHtmlFile
                                 ? ChooseHtmlFile(QString::fromStdString(Options.LastPath),
                                                  QString::fromStdString(HighScorePageFileName(page)))
                                 : QString();
        if (path.isEmpty()) return;
        SaveHighScorePageHtml(models_[page - 1]->Grid(), path.toStdString());
    } catch (const std::exception& e) {
        DebugLog(std::string("#high scores table not saved: ") + e.what());
    }
}

void TLocal_High_Scores::ExitBtnClick() {
    close();
}

QString TLocal_High_Scores::CellText(int page, int row, int column) const {
    if (page < 1 || page > kHighScorePages) return {};
    const THighScoreModel* model = models_[page - 1];
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

void TLocal_High_Scores::closeEvent(QCloseEvent* event) {
    StopGameClock();
    if (TMain* main = MainWindow()) {
        main->setEnabled(true);
        main->show();
    }
    event->accept();
    hide();
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

} // namespace quorlet
