#include "app/stats/FCounters.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>

#include <exception>
#include <vector>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "stats/chatformat.h"
#include "stats/counters.h"
#include "stats/countersdock.h"

namespace quorlet {

// The grid's rows as last written: rows past the row count keep their text.
class TCountersModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetRowCount(int rows) {
        beginResetModel();
        rows_ = std::max(rows, 0);
        if (cells_.size() < static_cast<size_t>(rows_)) cells_.resize(rows_);
        endResetModel();
    }
    void Fill(int rows) {
        rows = std::min(rows, kCounterRows);
        if (cells_.size() < static_cast<size_t>(rows)) cells_.resize(rows);
        for (int i = 0; i < rows; ++i)
            cells_[i] = {QString::fromStdString(CounterLabels[i]), QString::fromStdString(CounterValues[i])};
        if (rows > 0) emit dataChanged(index(0, 0), index(std::min(rows, rows_) - 1, 1));
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || static_cast<size_t>(index.row()) >= cells_.size())
            return {};
        return cells_[index.row()][index.column()];
    }

  private:
    int rows_ = 0;
    std::vector<std::array<QString, 2>> cells_;
};

namespace {

constexpr int kRowHeight = 16;
constexpr int kGridLine = 1;
constexpr Qt::WindowFlags kFlags = Qt::Tool | Qt::WindowStaysOnTopHint;

TCounters* gCounters = nullptr;

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

TWindowRect RectOf(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

// The popup's commands act on the main window, and only while it takes input.
TMain* EnabledMain() {
    TMain* main = MainWindow();
    return main && main->isEnabled() ? main : nullptr;
}

void ClickMainItem(QAction* TMain::*item) {
    TMain* main = EnabledMain();
    if (!main) return;
    main->raise();
    main->activateWindow();
    if (QAction* action = main->*item; action && action->isEnabled()) action->trigger();
}

} // namespace

TCounters::TCounters(QWidget* parent) : QWidget(parent, kFlags | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TCounters"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::SizeAllCursor);
    setAutoFillBackground(true);
    sg = new QTableView(this);
    sg->setObjectName(QStringLiteral("sg"));
    model_ = new TCountersModel(sg);
    sg->setModel(model_);
    sg->move(2, 2);
    sg->horizontalHeader()->hide();
    sg->verticalHeader()->hide();
    // The minimum first: a default below the style's minimum would be raised to it, and the
    // rows would outgrow the window sized for them.
    sg->verticalHeader()->setMinimumSectionSize(1);
    sg->verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    sg->horizontalHeader()->setDefaultSectionSize(60);
    sg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg->setFrameShape(QFrame::NoFrame);
    sg->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg->setFocusPolicy(Qt::NoFocus);
    sg->setStyleSheet(QStringLiteral("QTableView { background: silver; }"));
    sg->viewport()->setCursor(Qt::SizeAllCursor);
    sg->viewport()->installEventFilter(this);

    cntPop = new QMenu(this);
    cntPop->setObjectName(QStringLiteral("cntPop"));
    cntSaveReplayBtn = cntPop->addAction(Text("0029"));
    cntSaveBoardBtn = cntPop->addAction(Text("0298"));
    cntPreviewReplayBtn = cntPop->addAction(Text("0338"));
    cntPop->addSeparator();
    cntCopyInfoText = cntPop->addAction(Text("0337"));
    const std::pair<QAction*, const char*> names[] = {{cntSaveReplayBtn, "cntSaveReplayBtn"},
                                                      {cntSaveBoardBtn, "cntSaveBoardBtn"},
                                                      {cntPreviewReplayBtn, "cntPreviewReplayBtn"},
                                                      {cntCopyInfoText, "cntCopyInfoText"}};
    for (const auto& [action, name] : names)
        action->setObjectName(QString::fromLatin1(name));
    for (QAction* a : {cntSaveReplayBtn, cntSaveBoardBtn, cntPreviewReplayBtn})
        a->setEnabled(false);
    connect(cntSaveReplayBtn, &QAction::triggered, this, [this] { cntSaveReplayBtnClick(); });
    connect(cntSaveBoardBtn, &QAction::triggered, this, [this] { cntSaveBoardBtnClick(); });
    connect(cntPreviewReplayBtn, &QAction::triggered, this, [this] { cntPreviewReplayBtnClick(); });
    connect(cntCopyInfoText, &QAction::triggered, this, [this] { cntCopyInfoTextClick(); });
    setWindowTitle(Text("0315"));

    gCounters = this;
    InstallHooks();
    CountersWindowCreated = 1;
    SetBorder(Options.doShowCountersTitle);
    FitToGrid();
    PlaceAt(Options.posCountersX, Options.posCountersY);
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
    // The frame is known once the window shows: keep that whole frame on the screen.
    if (isVisible()) PlaceAt(Options.posCountersX, Options.posCountersY);
}

void TCounters::PlaceAt(int32_t left, int32_t top) {
    const std::optional<TScreenSize> screen = CurrentScreenSize();
    const QRect frame = frameGeometry();
    const TWindowRect at = screen ? PlaceWindow(left, top, frame.width(), frame.height(), *screen)
                                  : TWindowRect{left, top, frame.width(), frame.height()};
    move(at.Left, at.Top);
}

TCounters::~TCounters() {
    if (gCounters == this) gCounters = nullptr;
    CountersWindowCreated = 0;
    for (auto* hook : {&UiHooks.ShowCountersWindow, &UiHooks.HideCountersWindow})
        *hook = nullptr;
    UiHooks.SetCountersRowCount = nullptr;
    UiHooks.FillCountersGrid = nullptr;
    UiHooks.SetCountersColumnWidths = nullptr;
    UiHooks.SetCountersBorder = nullptr;
    UiHooks.SetCountersColour = nullptr;
}

void TCounters::InstallHooks() {
    UiHooks.SetCountersRowCount = [](int32_t rows) {
        if (!gCounters) return;
        gCounters->rows_ = rows;
        gCounters->model_->SetRowCount(rows);
        gCounters->FitToGrid();
        gCounters->FollowRows();
    };
    UiHooks.FillCountersGrid = [](int32_t rows) {
        if (gCounters) gCounters->model_->Fill(rows);
    };
    UiHooks.SetCountersColumnWidths = [](int32_t width0, int32_t width1) {
        if (!gCounters) return;
        gCounters->columnWidths_[0] = width0;
        gCounters->columnWidths_[1] = width1;
        gCounters->FitToGrid();
    };
    UiHooks.SetCountersBorder = [](bool withCaption) {
        if (gCounters) gCounters->SetBorder(withCaption);
    };
    UiHooks.ShowCountersWindow = [] {
        if (!gCounters) return;
        gCounters->wanted_ = true;
        gCounters->FollowRows();
    };
    UiHooks.HideCountersWindow = [] {
        if (!gCounters) return;
        gCounters->wanted_ = false;
        gCounters->hide();
    };
    UiHooks.SetCountersColour = [](int32_t colour) {
        if (!gCounters) return;
        QPalette p = gCounters->palette();
        p.setColor(QPalette::Window, colour < 0
                                         ? QGuiApplication::palette().color(QPalette::Button)
                                         : QColor(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF));
        gCounters->setPalette(p);
    };
    // The main window's save items and these three share one enabled state.
    auto mainSaveItems = UiHooks.SetSaveReplayEnabled;
    UiHooks.SetSaveReplayEnabled = [mainSaveItems](bool enabled) {
        if (gCounters)
            for (QAction* a :
                 {gCounters->cntSaveReplayBtn, gCounters->cntSaveBoardBtn, gCounters->cntPreviewReplayBtn})
                a->setEnabled(enabled);
        if (mainSaveItems) mainSaveItems(enabled);
    };
    auto otherRect = UiHooks.WindowRect;
    UiHooks.WindowRect = [otherRect](TWindowKind kind) -> std::optional<TWindowRect> {
        if (kind != TWindowKind::Counters) return otherRect ? otherRect(kind) : std::nullopt;
        if (!gCounters) return std::nullopt;
        return RectOf(gCounters->frameGeometry());
    };
    auto otherMove = UiHooks.MoveWindow;
    UiHooks.MoveWindow = [otherMove](TWindowKind kind, int32_t left, int32_t top) {
        if (kind != TWindowKind::Counters) {
            if (otherMove) otherMove(kind, left, top);
            return;
        }
        if (gCounters) gCounters->move(left, top);
    };
}

void TCounters::FitToGrid() {
    for (int c = 0; c < 2; ++c)
        sg->setColumnWidth(c, columnWidths_[c]);
    const int gridWidth = columnWidths_[0] + columnWidths_[1] + 2 * kGridLine;
    const int gridHeight = rows_ * (kGridLine + kRowHeight);
    sg->resize(gridWidth, gridHeight);
    setFixedSize(gridWidth + 4, gridHeight + 4);
}

void TCounters::FollowRows() {
    if (!wanted_) return;
    // Without rows the window would be a bare sliver: it waits for the template's first row.
    if (rows_ <= 0) {
        hide();
        return;
    }
    show();
    ResetSelection();
}

void TCounters::SetBorder(bool withCaption) {
    const Qt::WindowFlags flags = withCaption ? kFlags | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                              : kFlags | Qt::FramelessWindowHint;
    if (windowFlags() == flags) return;
    // Changing the flags hides the window: put it back as it was.
    const bool shown = isVisible();
    const QPoint at = pos();
    setWindowFlags(flags);
    move(at);
    if (shown) show();
}

void TCounters::ResetSelection() {
    if (model_->rowCount() > 0) sg->selectRow(0);
    sg->clearFocus();
}

QString TCounters::CellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

int TCounters::RowCount() const {
    return model_->rowCount();
}

void TCounters::FormMouseDown(QMouseEvent* event) {
    ResetSelection();
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    // The window keeps the grabbed point under the cursor; only the position changes while
    // moving, so a drag costs nothing but the move.
    grab_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TCounters::sgMouseDown(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        ResetSelection();
        dragging_ = false;
        cntPop->popup(event->globalPosition().toPoint());
        return;
    }
    FormMouseDown(event);
}

// The grab point is global, so the grid's own offset inside the window is already in it.
void TCounters::FormMouseMove(QMouseEvent* event) {
    if (dragging_) move(event->globalPosition().toPoint() - grab_);
}

void TCounters::FormMouseUp() {
    ResetSelection();
    TMain* main = MainWindow();
    if (main && main->isEnabled()) {
        main->raise();
        main->activateWindow();
    }
    dragging_ = false;
    if (!main) return;
    const TWindowRect docked =
        DockCountersWindow(RectOf(frameGeometry()), RectOf(main->frameGeometry()), main->isEnabled());
    move(docked.Left, docked.Top);
}

void TCounters::mousePressEvent(QMouseEvent* event) {
    FormMouseDown(event);
}

void TCounters::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove(event);
}

void TCounters::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FormMouseUp();
}

bool TCounters::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sg->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: sgMouseDown(static_cast<QMouseEvent*>(event)); return true;
        case QEvent::MouseMove: FormMouseMove(static_cast<QMouseEvent*>(event)); return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) FormMouseUp();
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCounters::cntSaveReplayBtnClick() {
    ClickMainItem(&TMain::sbSavereplay);
}

void TCounters::cntSaveBoardBtnClick() {
    ClickMainItem(&TMain::btnSaveBoard);
}

void TCounters::cntPreviewReplayBtnClick() {
    ClickMainItem(&TMain::btnPreviewReplay);
}

void TCounters::cntCopyInfoTextClick() {
    if (!EnabledMain()) return;
    CopyFinishedGameInfo();
}

} // namespace quorlet
