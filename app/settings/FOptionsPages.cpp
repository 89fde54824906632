// The ten pages of the options dialog and their controls. Captions bound to the interface text
// table are left to ApplyTexts; the others carry their English text here.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <cstring>
#include <utility>

#include "app/settings/FOptions.h"
#include "settings/countries.h"
#include "settings/optionsmap.h"

namespace quorlet {

namespace {

// Rows of one page: a heading, then controls one or two to a row.
class TPageBuilder {
  public:
    TPageBuilder(QWidget* panel, const char* heading) : panel_(panel), grid_(new QGridLayout(panel)) {
        grid_->setContentsMargins(6, 4, 6, 4);
        grid_->setVerticalSpacing(3);
        QLabel* title = Label(heading, {});
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
        grid_->addWidget(title, row_++, 0, 1, 2);
    }
    ~TPageBuilder() { grid_->setRowStretch(row_, stretchSet_ ? 0 : 1); }

    template <typename T> T* Make(const char* name) {
        auto* w = new T(panel_);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    QLabel* Label(const char* name, const QString& text) {
        QLabel* label = Make<QLabel>(name);
        label->setText(text);
        label->setWordWrap(true);
        return label;
    }
    void Full(QWidget* w, int stretch = 0) {
        grid_->addWidget(w, row_, 0, 1, 2);
        if (stretch) {
            grid_->setRowStretch(row_, stretch);
            stretchSet_ = true;
        }
        ++row_;
    }
    void Pair(QWidget* left, QWidget* right) {
        if (left) grid_->addWidget(left, row_, 0);
        if (right) grid_->addWidget(right, row_, 1);
        ++row_;
    }
    QCheckBox* Check(const char* name) {
        QCheckBox* box = Make<QCheckBox>(name);
        Full(box);
        return box;
    }
    void Checks(std::initializer_list<const char*> names) {
        for (const char* name : names)
            Check(name);
    }
    QSpinBox* MakeSpin(const char* name) {
        QSpinBox* spin = Make<QSpinBox>(name);
        for (const TOptionControl& c : OptionControls())
            if (std::strcmp(c.Control, name) == 0) spin->setRange(c.Low, c.High);
        return spin;
    }
    // Spin edits side by side, each after its label.
    void Spins(std::initializer_list<std::pair<const char*, const char*>> spins, const QString* texts) {
        auto* row = new QWidget(panel_);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        for (const auto& [name, label] : spins) {
            layout->addWidget(Label(label, *texts++));
            layout->addWidget(MakeSpin(name), 1);
        }
        Full(row);
    }
    QSpinBox* Spin(const char* name, const char* label, const QString& text = {}) {
        QSpinBox* spin = MakeSpin(name);
        Pair(Label(label, text), spin);
        return spin;
    }
    QLineEdit* Edit(const char* name) {
        QLineEdit* edit = Make<QLineEdit>(name);
        Full(edit);
        return edit;
    }
    QComboBox* Combo(const char* name, const char* label) {
        QComboBox* combo = Make<QComboBox>(name);
        // The page is as wide as the longest item needs (the skin names).
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (const char* item : OptionItems(name))
            combo->addItem(QString::fromUtf8(item));
        Pair(label ? Label(label, {}) : nullptr, combo);
        return combo;
    }
    QPushButton* Button(const char* name, const QString& text = {}) {
        QPushButton* button = Make<QPushButton>(name);
        button->setText(text);
        return button;
    }
    QPlainTextEdit* Memo(const char* name, int stretch = 1) {
        QPlainTextEdit* memo = Make<QPlainTextEdit>(name);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        Full(memo, stretch);
        return memo;
    }
    // A row of buttons.
    void Buttons(std::initializer_list<QPushButton*> buttons) {
        auto* row = new QWidget(panel_);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        for (QPushButton* b : buttons)
            layout->addWidget(b);
        layout->addStretch(1);
        Full(row);
    }

  private:
    QWidget* panel_;
    QGridLayout* grid_;
    int row_ = 0;
    bool stretchSet_ = false;
};

const QString kHelp = QStringLiteral("?");

} // namespace

void TOptions_window::BuildPages() {
    static constexpr const char* kPanels[kPageCount] = {"pUser",       "pStyle", "pCheat",   "pSystem", "pLanguage",
                                                        "pAutomation", "pMult",  "pCounter", "pIRC",    "pMouse"};
    for (int i = 0; i < kPageCount; ++i) {
        Pages[i] = new QWidget(this);
        Pages[i]->setObjectName(QString::fromLatin1(kPanels[i]));
        Pages[i]->setGeometry(kPageLeft, kPageTop, kPageWidth, kPageHeight);
        Pages[i]->hide();
    }

    {
        TPageBuilder b(Pages[0], "lpage1");
        b.Check("cbLUserid");
        b.Edit("edIdText");
        b.Check("cbHistLog");
        b.Check("cbDotSeparator");
        b.Check("cbExecuteCounters");
        b.Full(b.Label("lReplayName", {}));
        b.Edit("edReplayName");
        boxCountry = b.Make<QComboBox>("boxCountry");
        for (const std::string& name : CountryListNames())
            boxCountry->addItem(QString::fromStdString(name));
        imFlag = b.Make<QLabel>("imFlag");
        imFlag->setFixedSize(16, 11);
        b.Pair(b.Label("lCountry", {}), boxCountry);
        b.Pair(nullptr, imFlag);
        b.Full(b.Label("lReplayFileName", {}));
        b.Edit("edReplayFileName");
        b.Buttons({b.Button("sb1", kHelp)});
        b.Full(b.Label("lModeName", {}));
        auto* names = new QWidget(Pages[0]);
        auto* row = new QHBoxLayout(names);
        row->setContentsMargins(0, 0, 0, 0);
        for (const char* edit : {"edBeg", "edInt", "edExp", "edCus"})
            row->addWidget(b.Make<QLineEdit>(edit));
        b.Full(names);
        b.Spin("seTimeZone", "lTimeZone", QStringLiteral("Time zone correction (hours)"));
    }
    {
        TPageBuilder b(Pages[1], "lpage2");
        b.Full(b.Label("lstartupmode", {}));
        auto* radios = new QWidget(Pages[1]);
        auto* row = new QHBoxLayout(radios);
        row->setContentsMargins(0, 0, 0, 0);
        for (const char* radio : kStartModeControls)
            row->addWidget(b.Make<QRadioButton>(radio));
        b.Full(radios);
        b.Combo("skinBox", "lskin");
        b.Combo("skinTimer", "ltimerskin");
        b.Checks({"cbMarks", "cbTenths", "cbDoTimer", "cbShowEquals", "cbFillFlags", "cbZeroTimer0"});
        b.Check("cbClearanceOnFail");
        b.Check("cbClearanceOnMiddleBtn");
        b.Check("cbClearanceOnLeftBtn");
        b.Spin("seBoardClearanceCompl", "lClearanceCompl", QStringLiteral("Clearance completion (%)"));
        b.Check("cbForcedNewGame");
        b.Check("cbForcedNewGameBEEP");
        const QString limits[] = {QStringLiteral("Beg"), QStringLiteral("Int"), QStringLiteral("Exp")};
        b.Spins({{"seFNGB", "lFNGB"}, {"seFNGI", "lFNGI"}, {"seFNGE", "lFNGE"}}, limits);
    }
    {
        TPageBuilder b(Pages[2], "lpage3");
        b.Checks({"cbDisableTimer", "cbAutoFlagSet", "cbDisableGroupOpen", "cbDisableRightClick", "cbInfiniteLives",
                  "cbShowProbabilities", "cbShowMines", "cbShow3BVafterGameStart", "cbMustHave7", "cbMustHave8"});
        b.Check("cbApprox3BV");
        b.Spin("se3BV", "l3BV", QStringLiteral("3BV at most"));
        b.Check("cbApprox3BV2");
        b.Spin("se3BV2", "l3BV2", QStringLiteral("3BV at least"));
        b.Spin("seAttempts", "lattempts");
        b.Buttons({b.Button("sb3", kHelp)});
    }
    {
        TPageBuilder b(Pages[3], "lPage4");
        for (const char* box : {"cbSetHighPriority", "cbSeekPlugins", "cbBlit", "cbEnableBossKey", "cbClipCur",
                                "cbAlwaysOnTop", "cbProhibitMultInstances"})
            b.Check(box);
        b.Full(b.Button("sbJustifyByCenter"));
        b.Full(b.Button("sbRegQVFext"));
        b.Full(b.Button("sbShortcut"));
    }
    {
        TPageBuilder b(Pages[4], "lPage5");
        b.Full(b.Label("llangsel", {}));
        LangFLB = b.Make<QListWidget>("LangFLB");
        b.Full(LangFLB, 1);
        b.Full(b.Label("mTranslateMe", {}));
    }
    {
        TPageBuilder b(Pages[5], "lPage6");
        b.Full(b.Label("lauttempl", QStringLiteral("Automatic replay saving templates")));
        auttempl = b.Memo("auttempl");
        b.Buttons({b.Button("sbSaveAut"), b.Button("sbloadaut"), b.Button("sbDefaultAut"), b.Button("sb4", kHelp)});
    }
    {
        TPageBuilder b(Pages[6], "lPage7");
        b.Full(b.Label("lmultwarn", {}));
        for (const char* box : {"cbCond1", "cbBlockChat", "cbProcListGrab", "cbSysInfGrab"})
            b.Check(box);
    }
    {
        TPageBuilder b(Pages[7], "lPage8");
        b.Checks({"cbShowCounters", "cbShowCountersTitle", "cbShowCntGreenBorder", "cbCntonFinish", "cbCntonEnd"});
        b.Spin("seCr1", "lserowswidth");
        b.Spin("seCr2", "lserowswidth2");
        b.Spin("seCr3", "lserows");
        lpos = b.Label("lpos", QStringLiteral("[ 0 ]"));
        b.Pair(b.Label("lcounterstext", {}), lpos);
        mtemplate = b.Memo("mtemplate");
        b.Buttons({b.Button("sbSaveCnt"), b.Button("sbLoadCnt"), b.Button("sbAddFormula"), b.Button("sb2", kHelp)});
    }
    {
        TPageBuilder b(Pages[8], "lPage9");
        b.Combo("cbIRCtypes", "lAutoCopyFormat");
        b.Combo("cbColor1", "lColorScheme");
        b.Combo("cbColor2", nullptr);
        b.Check("cbBlastedCopyIrc");
        b.Check("cbFinishedCopyIRC");
        b.Check("cbUseSmiles");
        b.Check("cbCountersExcludeList");
        mCntExcludeList = b.Memo("mCntExcludeList");
        b.Buttons({b.Button("sbflushlist"), b.Button("SpeedButton1", kHelp)});
    }
    {
        TPageBuilder b(Pages[9], "lpage10");
        b.Checks({"cbChangeLayout", "cbDarkenBoard", "cbShowCells", "cbShowMousePath", "cbShowDownState",
                  "cbShowLeftCl", "cbShowRightCl", "cbShowDoubleCl"});
        b.Combo("cbMpColor", "lmpcolor");
        b.Combo("cbLClColor", "llclcolor");
        b.Combo("cbRClColor", "lrclcolor");
        b.Combo("cbDClColor", "ldclcolor");
    }
}

} // namespace quorlet
