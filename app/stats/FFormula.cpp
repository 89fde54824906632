#include "app/stats/FFormula.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <vector>

#include "app/FMain.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

namespace quorlet {

uint8_t FormulaWindowCreated = 0;

namespace {

// The least width; the token groups may need more.
constexpr int kWidth = 560;
constexpr int kCollapsedHeight = 177;
constexpr int kTokenColumns = 5;
constexpr int kTokenWidth = 102;

QString Text(const char* key) {
    return QString::fromStdString(UIText(key));
}

const char* const kGroupCaptions[] = {"Gameplay Results", "Mouse Clicks", "Board", "Rankings",
                                      "Global Rankings"};

// Byte offset in the UTF-8 form of `text` of the character position `at`.
std::size_t ByteOffset(const QString& text, int at) {
    return static_cast<std::size_t>(text.left(at).toUtf8().size());
}

} // namespace

TFormula::TFormula(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFormula"));
    Confirm = [this](const QString& question) {
        return QMessageBox::question(this, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    AskCellNumber = [this]() {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(this, QStringLiteral("Input cell"), QStringLiteral("Number 0..8"),
                                  QLineEdit::Normal, QStringLiteral("0"), &ok);
        return ok ? answer : QString();
    };
    auto named = [](QWidget* w, const char* name) { w->setObjectName(QString::fromLatin1(name)); };
    auto button = [&](QWidget* parent, const char* name, const QString& caption, QRect at) {
        auto* b = new QPushButton(caption, parent);
        named(b, name);
        if (!at.isNull()) b->setGeometry(at);
        b->setFocusPolicy(Qt::NoFocus);
        buttons_[name] = b;
        return b;
    };

    gbName = new QGroupBox(Text("0324"), this);
    named(gbName, "gbName");
    gbName->setGeometry(8, 4, 200, 48);
    edName = new QLineEdit(QStringLiteral("myName"), gbName);
    named(edName, "edName");
    edName->setGeometry(8, 18, 184, 24);
    gbOp = new QGroupBox(Text("0326"), this);
    named(gbOp, "gbOp");
    gbOp->setGeometry(216, 4, kWidth - 224, 48);
    int x = 8;
    for (const TFormulaOperator& op : FormulaOperators) {
        QPushButton* b = button(gbOp, op.button, QString::fromLatin1(op.caption), QRect(x, 18, 38, 24));
        connect(b, &QPushButton::clicked, this, [this, text = std::string(op.text)] {
            TFormulaEdit e = ReadEdit();
            AppendFormulaOperator(e, text);
            WriteEdit(e);
        });
        x += 40;
    }
    QPushButton* wrap = button(gbOp, "sbopBrackets", QStringLiteral("(...)"), QRect(x, 18, 44, 24));
    connect(wrap, &QPushButton::clicked, this, [this] {
        TFormulaEdit e = ReadEdit();
        WrapFormulaInBrackets(e);
        WriteEdit(e);
    });
    undoBtn = button(gbOp, "undoBtn", QStringLiteral("\u21B6"), QRect(x + 52, 18, 30, 24));
    clearBtn = button(gbOp, "clearBtn", QStringLiteral("\u2715"), QRect(x + 84, 18, 30, 24));
    undoBtn->setToolTip(Text("0323"));
    clearBtn->setToolTip(Text("0322"));
    connect(undoBtn, &QPushButton::clicked, this, [this] { undoBtnClick(); });
    connect(clearBtn, &QPushButton::clicked, this, [this] { clearBtnClick(); });

    edF = new QLineEdit(this);
    named(edF, "edF");
    edF->setMaxLength(static_cast<int>(kFormulaMaxLength));
    edF->setGeometry(8, 60, kWidth - 16, 24);
    cbasText = new QCheckBox(Text("0327"), this);
    named(cbasText, "cbasText");
    cbasText->setGeometry(8, 90, 200, 22);
    cbasForm = new QCheckBox(Text("0328"), this);
    named(cbasForm, "cbasForm");
    cbasForm->setGeometry(216, 90, 260, 22);
    connect(cbasText, &QCheckBox::clicked, this, [this] {
        if (cbasText->isChecked()) cbasForm->setChecked(false);
    });
    connect(cbasForm, &QCheckBox::clicked, this, [this] {
        if (cbasForm->isChecked()) cbasText->setChecked(false);
    });
    applyBtn = button(this, "applyBtn", Text("0036"), QRect(8, 130, 90, 28));
    cancelBtn = button(this, "cancelBtn", Text("0035"), QRect(104, 130, 90, 28));
    helpBtn = button(this, "helpBtn", Text("0319"), QRect(200, 130, 90, 28));
    panelBtn = button(this, "panelBtn", QStringLiteral(">>>"), QRect(kWidth - 98, 130, 90, 28));
    connect(applyBtn, &QPushButton::clicked, this, [this] { applyBtnClick(); });
    connect(cancelBtn, &QPushButton::clicked, this, [this] { cancelBtnClick(); });
    connect(helpBtn, &QPushButton::clicked, this, [this] { helpBtnClick(); });
    connect(panelBtn, &QPushButton::clicked, this, [this] { panelBtnClick(); });

    // The token buttons below the fold, one group box per theme, five per row, every button as
    // wide as the widest caption needs. The fold hides them.
    tokens_ = new QWidget(this);
    auto* groups = new QVBoxLayout(tokens_);
    groups->setContentsMargins(8, 4, 8, 8);
    groups->setSpacing(4);
    std::vector<QPushButton*> tokenButtons;
    for (int g = 0; g < 5; ++g) {
        auto* box = new QGroupBox(QString::fromLatin1(kGroupCaptions[g]), tokens_);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(2);
        int i = 0;
        for (const TFormulaToken& t : FormulaTokens) {
            if (static_cast<int>(t.group) != g) continue;
            QPushButton* b = button(box, t.button, QString::fromLatin1(t.caption), QRect());
            if (*t.token == '\0') b->setEnabled(false);
            connect(b, &QPushButton::clicked, this, [this, &t] { TokenClick(t); });
            grid->addWidget(b, i / kTokenColumns, i % kTokenColumns);
            tokenButtons.push_back(b);
            ++i;
        }
        for (int c = 0; c < kTokenColumns; ++c)
            grid->setColumnStretch(c, 1);
        groups->addWidget(box);
    }
    int tokenWidth = kTokenWidth;
    for (const QPushButton* b : tokenButtons)
        tokenWidth = std::max(tokenWidth, b->sizeHint().width());
    for (QPushButton* b : tokenButtons)
        b->setMinimumWidth(tokenWidth);
    const QSize tokensSize = tokens_->sizeHint();
    width_ = std::max(kWidth, tokensSize.width());
    tokens_->setGeometry(0, kCollapsedHeight, width_, tokensSize.height());
    tokens_->hide();
    expandedHeight_ = kCollapsedHeight + tokensSize.height();
    // The controls above the fold span the window's width.
    gbOp->resize(width_ - 224, gbOp->height());
    edF->resize(width_ - 16, edF->height());
    panelBtn->move(width_ - 98, panelBtn->y());

    q = new QAction(QStringLiteral("q"), this);
    q->setShortcut(Qt::Key_Escape);
    addAction(q);
    connect(q, &QAction::triggered, this, [this] { cancelBtnClick(); });
    setWindowTitle(Text("0318"));
    setFixedSize(width_, kCollapsedHeight);
    UiHooks.ShowFormulaWindow = [this] { ShowEditor(); };
    FormulaWindowCreated = 1;
}

TFormula::~TFormula() {
    UiHooks.ShowFormulaWindow = nullptr;
    FormulaWindowCreated = 0;
}

QPushButton* TFormula::Button(const char* name) const {
    const auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

void TFormula::ShowEditor() {
    QWidget* active = QApplication::activeWindow();
    ShowEditorOver(active != this ? active : nullptr);
}

void TFormula::ShowEditorOver(QWidget* opener) {
    opener_ = opener;
    if (opener_) opener_->setEnabled(false);
    show();
    raise();
    activateWindow();
    edF->setFocus();
}

TFormulaEdit TFormula::ReadEdit() const {
    TFormulaEdit e;
    const QString text = edF->text();
    e.text = text.toStdString();
    e.undo = undo_;
    if (edF->hasSelectedText()) {
        const int start = edF->selectionStart();
        e.selStart = ByteOffset(text, start);
        e.selLength = ByteOffset(text, start + edF->selectedText().size()) - e.selStart;
    } else {
        e.selStart = e.text.size();
    }
    return e;
}

void TFormula::WriteEdit(const TFormulaEdit& e) {
    undo_ = e.undo;
    const QString text = QString::fromStdString(e.text);
    edF->setText(text);
    edF->setCursorPosition(QString::fromUtf8(e.text.substr(0, e.selStart)).size());
}

void TFormula::TokenClick(const TFormulaToken& token) {
    TFormulaEdit e = ReadEdit();
    std::string text = token.token;
    const std::string button = token.button;
    if (button == "sbCELLbrd" || button == "sbDONECELLbrd") {
        undo_ = e.text;
        const QString answer = AskCellNumber ? AskCellNumber() : QString();
        if (answer.isEmpty()) return;
        if (!IsCellNumberAnswer(answer.toStdString())) {
            ShowMessageBox("Please, input the cell number");
            return;
        }
        text += answer.toStdString();
    }
    InsertFormulaToken(e, text);
    WriteEdit(e);
}

void TFormula::applyBtnClick() {
    try {
        const std::string name = edName->text().toStdString();
        const std::string formula = edF->text().toStdString();
        auto ask = [this](std::size_t entry) {
            return Confirm && Confirm(QString::fromStdString(UITextTable[entry]));
        };
        if (name == "myName" && ask(utCounterNameQuestion)) {
            edName->setFocus();
            return;
        }
        if (formula.empty() && !cbasText->isChecked() && ask(utNoFormulaQuestion)) return;
        if (HasPlaceholderName(name) && ask(utUnknownVariablesQuestion)) return;
        const std::string line =
            FormulaTemplateLine(name, formula, cbasText->isChecked(), cbasForm->isChecked());
        if (!line.empty()) {
            if (UiHooks.AppendTemplateLine)
                UiHooks.AppendTemplateLine(line);
            else
                DebugLog("formula editor: the template memo is not there yet");
        }
        edF->clear();
        hide();
    } catch (const std::exception& e) {
        DebugLog(std::string("#formula not applied: ") + e.what());
    }
}

void TFormula::cancelBtnClick() {
    hide();
}

void TFormula::clearBtnClick() {
    TFormulaEdit e = ReadEdit();
    ClearFormulaEdit(e);
    WriteEdit(e);
    edName->setText(QStringLiteral("myName"));
    cbasText->setChecked(false);
    cbasForm->setChecked(false);
    edF->setFocus();
}

void TFormula::undoBtnClick() {
    edF->setFocus();
    TFormulaEdit e = ReadEdit();
    UndoFormulaEdit(e);
    WriteEdit(e);
}

void TFormula::panelBtnClick() {
    if (panelBtn->text() == QStringLiteral(">>>")) {
        panelBtn->setText(QStringLiteral("<<<"));
        tokens_->show();
        setFixedSize(width_, expandedHeight_);
        if (const QScreen* s = screen()) {
            const QRect frame = frameGeometry();
            const int top = FormulaExpandedTop(frame.top(), frame.height(), s->geometry().height());
            if (top != frame.top()) move(frame.left(), top);
        }
    } else {
        panelBtn->setText(QStringLiteral(">>>"));
        tokens_->hide();
        setFixedSize(width_, kCollapsedHeight);
    }
}

void TFormula::helpBtnClick() {
    edF->setFocus();
    ShowMessageBox("Please see the Help file, \"Counters Template Engine\" topic");
    const QString help = QString::fromStdString(Options.LastPath) + QStringLiteral("index.hlp");
    if (!QFileInfo::exists(help)) {
        ShowMessageBox("File \"INDEX.HLP\" not found");
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(help));
    if (TMain* main = MainWindow()) main->showMinimized();
}

void TFormula::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}

void TFormula::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Every way out gives the opener back.
    if (QPointer<QWidget> opener = opener_) {
        opener_ = nullptr;
        opener->setEnabled(true);
        opener->show();
    }
}

} // namespace quorlet
