// The history window's search page: filter controls, results grid, sort and Index of Speed.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include "core/debuglog.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "app/stats/FHistory.h"
#include "app/stats/FHistoryGridModel.h"

namespace quorlet {

namespace {

QSpinBox* Spin(QWidget* parent, int low, int high) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    return spin;
}

} // namespace

QWidget* THistory::BuildSearchPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* head = new QHBoxLayout();
    lSearchName = new QLabel(page);
    QFont bold = lSearchName->font();
    bold.setBold(true);
    lSearchName->setFont(bold);
    head->addWidget(lSearchName);
    hiderBtn = new QPushButton(QStringLiteral("<<<"), page);
    head->addWidget(hiderBtn);
    head->addStretch(1);
    layout->addLayout(head);

    Panel8 = new QWidget(page);
    auto* grid = new QGridLayout(Panel8);
    grid->setContentsMargins(0, 0, 0, 0);
    cbBeg = new QCheckBox(QString::fromStdString(UIText("0186")), Panel8);
    cbInt = new QCheckBox(QString::fromStdString(UIText("0187")), Panel8);
    cbExp = new QCheckBox(QString::fromStdString(UIText("0188")), Panel8);
    cbF = new QCheckBox(QStringLiteral("Flag"), Panel8);
    cbNF = new QCheckBox(QStringLiteral("non-flag"), Panel8);
    auto* boxes = new QHBoxLayout();
    for (QCheckBox* box : {cbBeg, cbInt, cbExp, cbF, cbNF})
        boxes->addWidget(box);
    boxes->addStretch(1);
    grid->addLayout(boxes, 0, 0, 1, 8);

    // One range a row: its check box, the from edits, "..", the to edits; a change ticks the box.
    int row = 1;
    const auto range = [&](QCheckBox*& box, const QString& caption, std::initializer_list<QSpinBox*> from,
                           std::initializer_list<QSpinBox*> to) {
        box = new QCheckBox(caption, Panel8);
        grid->addWidget(box, row, 0);
        int col = 1;
        QCheckBox* target = box;
        for (const auto& edits : {from, to}) {
            if (col > 1) grid->addWidget(new QLabel(QStringLiteral(".."), Panel8), row, col++);
            for (QSpinBox* s : edits) {
                grid->addWidget(s, row, col++);
                connect(s, &QSpinBox::valueChanged, target, [target] { target->setChecked(true); });
            }
        }
        ++row;
    };
    seDateDay = Spin(Panel8, 1, 31), seDateMonth = Spin(Panel8, 1, 12), seDateyear = Spin(Panel8, 1, 2099);
    seDateDay2 = Spin(Panel8, 1, 31), seDateMonth2 = Spin(Panel8, 1, 12), seDateYear2 = Spin(Panel8, 1, 2099);
    range(cbDate, QString::fromStdString(UIText("0192")), {seDateDay, seDateMonth, seDateyear},
          {seDateDay2, seDateMonth2, seDateYear2});
    seDateHour = Spin(Panel8, 0, 23), seDateMinute = Spin(Panel8, 0, 59), seDateSecond = Spin(Panel8, 0, 59);
    seDateHour2 = Spin(Panel8, 0, 23), seDateMinute2 = Spin(Panel8, 0, 59), seDateSecond2 = Spin(Panel8, 0, 59);
    range(cbHour, QString::fromStdString(UIText("0193")), {seDateHour, seDateMinute, seDateSecond},
          {seDateHour2, seDateMinute2, seDateSecond2});
    seTimeS = Spin(Panel8, 0, 999), seTimeH = Spin(Panel8, 0, 99);
    seTimeS2 = Spin(Panel8, 0, 999), seTimeH2 = Spin(Panel8, 0, 99);
    range(cbTime, QString::fromStdString(UIText("0196")), {seTimeS, seTimeH}, {seTimeS2, seTimeH2});
    seBVSS = Spin(Panel8, 0, 99), seBVSH = Spin(Panel8, 0, 99);
    seBVSS2 = Spin(Panel8, 0, 99), seBVSH2 = Spin(Panel8, 0, 99);
    range(cbBVS, QString::fromStdString(UIText("0195")), {seBVSS, seBVSH}, {seBVSS2, seBVSH2});
    seBV = Spin(Panel8, 1, 379), seBV2 = Spin(Panel8, 1, 379);
    range(cbBV, QString::fromStdString(UIText("0194")), {seBV}, {seBV2});

    // Two rows, so every caption reads whole at the window's default width: the search, then
    // what is done with its results.
    searchBtn = new QPushButton(QStringLiteral("SEARCH"), Panel8);
    defaultBtn = new QPushButton(QStringLiteral("DEFAULT"), Panel8);
    sClearBtn = new QPushButton(QString::fromStdString(UIText("0276")), Panel8);
    sortBtn = new QPushButton(QString::fromStdString(UIText("0277")), Panel8);
    cbSort = new QComboBox(Panel8);
    cbSort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    SpeedButton3 = new QPushButton(QStringLiteral("!!!"), Panel8);
    SpeedButton4 = new QPushButton(QStringLiteral("Index of Speed"), Panel8);
    sbSavegrid2 = new QPushButton(QString::fromStdString(UIText("0057")), Panel8);
    for (const std::initializer_list<QWidget*> line :
         {std::initializer_list<QWidget*>{searchBtn, defaultBtn, sClearBtn},
          std::initializer_list<QWidget*>{sortBtn, cbSort, SpeedButton3, SpeedButton4, sbSavegrid2}}) {
        auto* buttons = new QHBoxLayout();
        for (QWidget* w : line)
            buttons->addWidget(w);
        buttons->addStretch(1);
        grid->addLayout(buttons, row++, 0, 1, 8);
    }
    layout->addWidget(Panel8);

    sgsModel_ = new THistoryGridModel(sgsData_, this);
    sgs = MakeGridView(page);
    sgs->setModel(sgsModel_);
    layout->addWidget(sgs, 1);

    connect(searchBtn, &QPushButton::clicked, this, [this] { searchBtnClick(); });
    connect(defaultBtn, &QPushButton::clicked, this, [this] { defaultBtnClick(); });
    connect(sClearBtn, &QPushButton::clicked, this, [this] { sClearBtnClick(); });
    connect(sortBtn, &QPushButton::clicked, this, [this] { sortBtnClick(); });
    connect(cbSort, &QComboBox::activated, this, [this] { sortBtnClick(); });
    connect(hiderBtn, &QPushButton::clicked, this, [this] { hiderBtnClick(); });
    connect(SpeedButton3, &QPushButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QPushButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(sbSavegrid2, &QPushButton::clicked, this, [this] { sbSavegrid2Click(); });
    page->hide();
    return page;
}

void THistory::ShowSearchGrid() {
    sgsModel_->Reload();
    for (int c = 0; c < sgsData_.ColCount(); ++c)
        sgs->setColumnWidth(c, sgsData_.ColWidth(c));
}

THistorySearchFilter THistory::SearchFilter() const {
    THistorySearchFilter f;
    f.beg = cbBeg->isChecked(), f.inter = cbInt->isChecked(), f.exp = cbExp->isChecked();
    f.flag = cbF->isChecked(), f.noFlag = cbNF->isChecked();
    const auto v = [](const QSpinBox* s) { return static_cast<uint16_t>(s->value()); };
    f.date = cbDate->isChecked();
    f.day1 = v(seDateDay), f.month1 = v(seDateMonth), f.year1 = v(seDateyear);
    f.day2 = v(seDateDay2), f.month2 = v(seDateMonth2), f.year2 = v(seDateYear2);
    f.hour = cbHour->isChecked();
    f.hour1 = v(seDateHour), f.minute1 = v(seDateMinute), f.second1 = v(seDateSecond);
    f.hour2 = v(seDateHour2), f.minute2 = v(seDateMinute2), f.second2 = v(seDateSecond2);
    f.time = cbTime->isChecked();
    f.timeSec1 = v(seTimeS), f.timeHund1 = v(seTimeH), f.timeSec2 = v(seTimeS2), f.timeHund2 = v(seTimeH2);
    f.rate = cbBVS->isChecked();
    f.rateWhole1 = v(seBVSS), f.rateHund1 = v(seBVSH), f.rateWhole2 = v(seBVSS2), f.rateHund2 = v(seBVSH2);
    f.bbbv = cbBV->isChecked();
    f.bbbv1 = v(seBV), f.bbbv2 = v(seBV2);
    f.sortKey = cbSort->currentText().toStdString();
    return f;
}

void THistory::SetSearchFilter(const THistorySearchFilter& f) {
    // The edits tick their boxes as they change; the boxes are set last.
    const auto set = [](QSpinBox* s, int value) { s->setValue(value); };
    set(seDateDay, f.day1), set(seDateMonth, f.month1), set(seDateyear, f.year1);
    set(seDateDay2, f.day2), set(seDateMonth2, f.month2), set(seDateYear2, f.year2);
    set(seDateHour, f.hour1), set(seDateMinute, f.minute1), set(seDateSecond, f.second1);
    set(seDateHour2, f.hour2), set(seDateMinute2, f.minute2), set(seDateSecond2, f.second2);
    set(seTimeS, f.timeSec1), set(seTimeH, f.timeHund1), set(seTimeS2, f.timeSec2), set(seTimeH2, f.timeHund2);
    set(seBVSS, f.rateWhole1), set(seBVSH, f.rateHund1), set(seBVSS2, f.rateWhole2), set(seBVSH2, f.rateHund2);
    set(seBV, f.bbbv1), set(seBV2, f.bbbv2);
    const int sort = cbSort->findText(QString::fromStdString(f.sortKey));
    if (sort >= 0) cbSort->setCurrentIndex(sort);
    cbBeg->setChecked(f.beg), cbInt->setChecked(f.inter), cbExp->setChecked(f.exp);
    cbF->setChecked(f.flag), cbNF->setChecked(f.noFlag);
    cbDate->setChecked(f.date), cbHour->setChecked(f.hour), cbTime->setChecked(f.time);
    cbBVS->setChecked(f.rate), cbBV->setChecked(f.bbbv);
}

void THistory::sClearBtnClick() {
    ClearSearchGrid(sgsData_);
    ShowSearchGrid();
}

void THistory::defaultBtnClick() {
    try {
        SetSearchFilter(DefaultSearchFilter());
    } catch (...) {
    }
}

void THistory::searchBtnClick() {
    try {
        SearchHistory(sgsData_, SearchFilter());
    } catch (...) {
        DebugLog("#history search failed");
    }
    ShowSearchGrid();
}

void THistory::sortBtnClick() {
    try {
        if (sgsData_.RowCount() <= 2) return;
        if (sgsData_.RowCount() > kSortQuestionRows &&
            (!AskYesNo || !AskYesNo(QString::fromStdString(UIText("0279")))))
            return;
        const int failed = SortSearchResults(sgsData_, cbSort->currentText().toStdString());
        if (failed) ShowMessageBox(SortErrorText(failed));
    } catch (...) {
        DebugLog("#history sort failed");
    }
    ShowSearchGrid();
}

void THistory::hiderBtnClick() {
    Panel8->setVisible(!Panel8->isVisible());
    hiderBtn->setText(Panel8->isVisible() ? QStringLiteral("<<<") : QStringLiteral(">>>"));
}

void THistory::SpeedButton3Click() {
    ShowMessageBox(UIText("0278") + "\r\n\r\nRead the IOS.txt file " + "about the \"Index of Speed\"");
}

void THistory::SpeedButton4Click() {
    try {
        if (!HasSearchResults(sgsData_)) {
            ShowMessageBox("No data for calculations.");
            return;
        }
        const std::optional<QString> answer = AskExcludePercents ? AskExcludePercents() : std::nullopt;
        if (!answer) return; // cancelled
        const TIndexOfSpeed report = IndexOfSpeed(sgsData_, answer->toStdString());
        ShowMessageBox(report.message);
        if (!report.clipboard.empty()) CopyTextToClipboard(report.clipboard);
    } catch (...) {
        ShowMessageBox("ERROR");
    }
}

} // namespace quorlet
