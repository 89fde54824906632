#include "app/settings/Fcustom_board_size.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <string>

#include "app/ApplyTexts.h"
#include "app/FMain.h"
#include "app/secondary.h"
#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/customboard.h"
#include "settings/languageapply.h"
#include "stats/counters.h"

namespace quorlet {

uint8_t CustomBoardWindowCreated = 0;

TSpinEdit::TSpinEdit(QWidget* parent, int digits, int minimum, int maximum, int value)
    : QSpinBox(parent), minimum_(minimum), maximum_(maximum) {
    int widest = 9;
    for (int i = 1; i < digits; ++i)
        widest = widest * 10 + 9;
    setRange(0, widest);
    SetLimitedValue(value);
}

void TSpinEdit::SetLimits(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void TSpinEdit::SetLimitedValue(int value) {
    setValue(std::clamp(value, minimum_, maximum_));
}

void TSpinEdit::stepBy(int steps) {
    QSpinBox::stepBy(std::clamp(value() + steps, minimum_, maximum_) - value());
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < maximum_) enabled |= StepUpEnabled;
    if (value() > minimum_) enabled |= StepDownEnabled;
    return enabled;
}

namespace {

void ReportFailure(const char* key) {
    DebugLog("#" + UIText(key));
    ShowMessageBox(UIText(key));
}

} // namespace

Tcustom_board_size::Tcustom_board_size(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tcustom_board_size"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    edWidth = new TSpinEdit(this, 2, kCustomMinSide, kCustomMaxSide, 8);
    edHeight = new TSpinEdit(this, 2, kCustomMinSide, kCustomMaxSide, 8);
    edMines = new TSpinEdit(this, 3, 1, 891, 10);
    lWidth = new QLabel(this);
    lHeight = new QLabel(this);
    lMines = new QLabel(this);
    lDef = new QLabel(this);
    lPercents = new QLabel(this);
    r1 = new QRadioButton(this);
    r2 = new QRadioButton(this);
    r3 = new QRadioButton(this);
    bCancel = new QPushButton(this);
    bApply = new QPushButton(this);
    bSave = new QPushButton(this);
    bLoad = new QPushButton(this);
    bDelete = new QPushButton(this);
    flb = new QListWidget(this);
    ExitBtn = new QAction(QStringLiteral("q"), this);
    ExitBtn->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(ExitBtn);
    bApply->setDefault(true);

    const std::pair<QObject*, const char*> names[] = {
        {edWidth, "edWidth"}, {edHeight, "edHeight"}, {edMines, "edMines"},   {lWidth, "lWidth"},
        {lHeight, "lHeight"}, {lMines, "lMines"},     {lDef, "lDef"},         {lPercents, "lPercents"},
        {r1, "r1"},           {r2, "r2"},             {r3, "r3"},             {bCancel, "bCancel"},
        {bApply, "bApply"},   {bSave, "bSave"},       {bLoad, "bLoad"},       {bDelete, "bDelete"},
        {flb, "flb"},         {ExitBtn, "ExitBtn"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lWidth, 0, 0);
    grid->addWidget(edWidth, 0, 1);
    grid->addWidget(lHeight, 1, 0);
    grid->addWidget(edHeight, 1, 1);
    grid->addWidget(lMines, 2, 0);
    grid->addWidget(edMines, 2, 1);
    grid->addWidget(lPercents, 3, 1);
    grid->addWidget(lDef, 4, 0, 1, 2);
    grid->addWidget(r1, 5, 0, 1, 2);
    grid->addWidget(r2, 6, 0, 1, 2);
    grid->addWidget(r3, 7, 0, 1, 2);
    grid->addWidget(bCancel, 8, 0);
    grid->addWidget(bApply, 8, 1);
    grid->addWidget(flb, 0, 2, 8, 3);
    grid->addWidget(bSave, 8, 2);
    grid->addWidget(bLoad, 8, 3);
    grid->addWidget(bDelete, 8, 4);

    connect(r1, &QRadioButton::clicked, this, [this] { r1Click(); });
    connect(r2, &QRadioButton::clicked, this, [this] { r2Click(); });
    connect(r3, &QRadioButton::clicked, this, [this] { r3Click(); });
    connect(edWidth, &QSpinBox::valueChanged, this, [this] { edWidthChange(); });
    connect(edHeight, &QSpinBox::valueChanged, this, [this] { edWidthChange(); });
    connect(edMines, &QSpinBox::valueChanged, this, [this] { edMinesChange(); });
    connect(bApply, &QPushButton::clicked, this, [this] { bApplyClick(); });
    connect(bCancel, &QPushButton::clicked, this, [this] { bCancelClick(); });
    connect(bSave, &QPushButton::clicked, this, [this] { bSaveClick(); });
    connect(bLoad, &QPushButton::clicked, this, [this] { bLoadClick(); });
    connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
    connect(flb, &QListWidget::itemDoubleClicked, this, [this] { bLoadClick(); });
    connect(ExitBtn, &QAction::triggered, this, [this] { ExitBtnClick(); });

    CustomBoardWindowCreated = 1;
    ApplyTextsTo(this, "Tcustom_board_size");
    edWidthChange();
    UiHooks.ShowCustomBoardWindow = [this] { ShowFromMain(); };
}

Tcustom_board_size::~Tcustom_board_size() {
    CustomBoardWindowCreated = 0;
    UiHooks.ShowCustomBoardWindow = nullptr;
}

void Tcustom_board_size::ShowFromMain() {
    CenterFormOnMain(this);
    for (QRadioButton* r : {r1, r2, r3}) {
        // An exclusive radio button cannot be unchecked on its own.
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    switch (GameLevel) {
    case glBeginner: SetValues(8, 8, 10); break;
    case glIntermediate: SetValues(16, 16, 40); break;
    case glExpert: SetValues(30, 16, 99); break;
    default: break;
    }
    if (EnsureBoardPresetsFolder() && !RefreshPresetList()) ReportFailure("0293");
    ShowSecondaryWindow(this);
}

void Tcustom_board_size::SetValues(int width, int height, int mines) {
    edWidth->SetLimitedValue(width);
    edHeight->SetLimitedValue(height);
    edMines->SetLimitedValue(mines);
}

void Tcustom_board_size::ShowDensity() {
    lPercents->setText(QString::fromStdString(DensityText(edMines->value(), edWidth->value(), edHeight->value())));
}

void Tcustom_board_size::r1Click() {
    SetValues(8, 8, 10);
}
void Tcustom_board_size::r2Click() {
    SetValues(16, 16, 40);
}
void Tcustom_board_size::r3Click() {
    SetValues(30, 16, 99);
}

void Tcustom_board_size::edWidthChange() {
    const int w = edWidth->value(), h = edHeight->value();
    // A size on its way to being typed ("1" of "12") leaves the mines alone; a real size
    // lowers their maximum and clamps them at once.
    if (w >= kCustomMinSide && w <= kCustomMaxSide && h >= kCustomMinSide && h <= kCustomMaxSide) {
        edMines->SetLimits(1, MaxCustomMines(w, h));
        if (edMines->value() > edMines->UpperLimit()) edMines->setValue(edMines->UpperLimit());
    }
    ShowDensity();
}

void Tcustom_board_size::edMinesChange() {
    // Typed mines are kept as they are, so that Apply can say what is wrong with them.
    ShowDensity();
}

void Tcustom_board_size::bApplyClick() {
    const int w = edWidth->value(), h = edHeight->value(), m = edMines->value();
    if (const std::string key = CustomBoardError(w, h, m); !key.empty()) {
        ShowMessageBox(UIText(key));
        return;
    }
    hide();
    if (TMain* main = MainWindow()) main->ApplyCustomBoard(w, h, m);
}

void Tcustom_board_size::bCancelClick() {
    DebugLog(UIText("0041"));
    StopGameClock();
    hide();
    if (TMain* main = MainWindow()) {
        main->setEnabled(true);
        main->show();
    }
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void Tcustom_board_size::ExitBtnClick() {
    bCancel->click();
}

void Tcustom_board_size::reject() {
    ExitBtnClick();
}

void Tcustom_board_size::closeEvent(QCloseEvent* event) {
    // The player leaves only by Apply or Cancel; the program itself (the boss key) may hide it.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void Tcustom_board_size::bSaveClick() {
    if (!SaveBoardPreset(edWidth->value(), edHeight->value(), edMines->value())) return;
    if (!RefreshPresetList()) ReportFailure("0290");
    bApply->setFocus();
}

void Tcustom_board_size::bLoadClick() {
    const QListWidgetItem* item = flb->currentItem();
    if (!item) {
        ReportFailure("0289");
        return;
    }
    const auto preset = ParseBoardPresetName(item->text().toStdString());
    if (!preset) {
        ReportFailure("0291");
        return;
    }
    SetValues(preset->width, preset->height, preset->mines);
    bApply->setFocus();
}

void Tcustom_board_size::bDeleteClick() {
    const QListWidgetItem* item = flb->currentItem();
    if (!item) {
        ShowMessageBox(UIText("0289"));
        return;
    }
    DeleteBoardPreset(item->text().toStdString());
    if (EnsureBoardPresetsFolder() && !RefreshPresetList()) ReportFailure("0293");
}

bool Tcustom_board_size::RefreshPresetList() {
    const auto names = ListBoardPresets();
    flb->clear();
    if (!names) return false;
    for (const std::string& name : *names)
        flb->addItem(QString::fromStdString(name));
    return true;
}

} // namespace quorlet
