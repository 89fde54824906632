// The main window's drawing: board cells, LED counters, corner labels, the probability hint,
// the name line, and the layout for the board size.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cctype>
#include <exception>
#include <string_view>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/layout.h"
#include "core/nameline.h"
#include "settings/countries.h"
#include "settings/languageapply.h"
#include "settings/options.h"

namespace quorlet {

namespace {

// A 3 x 5 pixel font for the corner labels: small, crisp and the same on every system.
struct TPixelGlyph {
    char c;
    std::string_view rows[5];
};
constexpr TPixelGlyph kPixelFont[] = {
    {'A', {"###", "#.#", "###", "#.#", "#.#"}}, {'C', {"###", "#..", "#..", "#..", "###"}},
    {'E', {"###", "#..", "###", "#..", "###"}}, {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'M', {"#.#", "###", "###", "#.#", "#.#"}}, {'O', {"###", "#.#", "#.#", "#.#", "###"}},
    {'S', {"###", "#..", "###", "..#", "###"}}, {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
};

void DrawPixelText(QPainter& p, int x, int y, std::string_view text, const QColor& colour) {
    for (char c : text) {
        for (const TPixelGlyph& g : kPixelFont)
            if (g.c == c)
                for (int r = 0; r < 5; ++r)
                    for (int k = 0; k < 3; ++k)
                        if (g.rows[r][k] == '#') p.fillRect(x + k, y + r, 1, 1, colour);
        x += 4;
    }
}

} // namespace

void TMain::SetFaceImage(int index) {
    if (index < 0 || index > 4) index = 1;
    bNewGame->SetImage(Skins().faces[index]);
}

void TMain::ShowFace() {
    SetFaceImage(NewGameFace);
}

void TMain::PaintCell(QPainter& painter, int column, int row) {
    if (Options.skinNumber > 1) return;
    const TCellState state = VisibleBoard[column][row];
    if (state >= kCellPictures) return;
    painter.drawImage(column * kCellSize, row * kCellSize, Skins().cells[Options.skinNumber][state]);
}

QImage& TMain::BoardImage() {
    return box->ImageRows((LastRow + 1) * kCellSize);
}

void TMain::RedrawBoard() {
    {
        // One painter for the whole loop: opening one per cell costs more than the cells.
        QPainter p(&BoardImage());
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                PaintCell(p, c, r);
    }
    DrawnBoard = VisibleBoard;
    hintColumn_ = hintRow_ = -1;
    DrawMineCounter();
    DrawTimer();
    if (Options.doShowProbabilities) DrawProbabilityHint();
    if (IsGameClean())
        DrawCustomLabels();
    else
        DrawCheatLabels();
    box->update();
}

void TMain::RedrawChangedCells() {
    bool changed = false;
    {
        QPainter p;
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                if (VisibleBoard[c][r] != DrawnBoard[c][r]) {
                    if (!p.isActive()) p.begin(&BoardImage());
                    PaintCell(p, c, r);
                    if (c == hintColumn_ && r == hintRow_) hintColumn_ = hintRow_ = -1;
                    changed = true;
                }
    }
    CounterOverlayStep();
    if (changed) {
        DrawnBoard = VisibleBoard;
        box->update();
    }
}

void TMain::CounterOverlayStep() {
    DrawMineCounter();
    if (Options.doTimer) DrawTimer();
    if (Options.doShowProbabilities) DrawProbabilityHint();
    if (IsGameClean())
        DrawCustomLabels();
    else
        DrawCheatLabels();
}

void TMain::DrawLed(TImageView* view, const std::array<char, 3>& text) {
    const int skin = Options.skinTimerNumber == 1 ? 1 : 0;
    QPainter p(&view->ImageRows(kLedHeight));
    for (int i = 0; i < 3; ++i)
        p.drawImage(i * kLedWidth, 0, Skins().leds[skin][LedGlyphIndex(text[i])]);
}

void TMain::DrawMineCounter() {
    DrawLed(iBombs, MineCounterText(MinesLeft()));
    iBombs->update();
}

void TMain::DrawTimer() {
    const TTimerDisplay d = TimerDisplay(GameClock.seconds, GameClock.hundredths, Options.doShowTenths,
                                         Options.doRecorderStyleTimer);
    DrawLed(iTimer, d.text);
    if (d.dotAfter > 0) {
        QPainter p(&iTimer->ImageRows(kLedHeight));
        p.fillRect(d.dotAfter == 1 ? 12 : 25, 21, 2, 2, QColor(0xFF, 0, 0));
    }
    DrawMineCounter();
    iTimer->update();
}

void TMain::DrawCornerLabels(const char* word, int rightInset) {
    // Only an unranked game with the clock running carries the labels.
    if (!IsGameUnranked() || !GameTimerEnabled) return;
    const int w = (LastColumn + 1) * kCellSize;
    const int h = (LastRow + 1) * kCellSize;
    const QColor grey(0x80, 0x80, 0x80);
    QPainter p(&BoardImage());
    DrawPixelText(p, 1, 2, word, Qt::white);
    DrawPixelText(p, w - rightInset + 1, 2, word, grey);
    DrawPixelText(p, 1, h - 10 + 2, word, grey);
    DrawPixelText(p, w - rightInset + 1, h - 10 + 2, word, Qt::black);
    box->update();
}

void TMain::DrawCheatLabels() {
    DrawCornerLabels("CHEAT", 26);
}

void TMain::DrawCustomLabels() {
    DrawCornerLabels("CUSTOM", 32);
}

void TMain::ClearHint() {
    if (hintColumn_ < 0) return;
    if (hintColumn_ <= LastColumn && hintRow_ <= LastRow) {
        QPainter p(&BoardImage());
        PaintCell(p, hintColumn_, hintRow_);
    }
    hintColumn_ = hintRow_ = -1;
    box->update();
}

void TMain::DrawProbabilityHint() {
    if (!Options.doShowProbabilities || WaitingFirstClick || GameOver) {
        ClearHint();
        return;
    }
    const QPoint p = box->mapFromGlobal(QCursor::pos());
    // A cursor off the board has no cell under it: nothing is drawn.
    const int column = p.x() >= 0 ? p.x() / kCellSize : -1;
    const int row = p.y() >= 0 ? p.y() / kCellSize : -1;
    const THintColour colour = ProbabilityHintColour(column, row);
    // The colour follows the neighbours too, so an unchanged cell may still need a new square.
    if (column == hintColumn_ && row == hintRow_ && static_cast<int>(colour) == hintColour_) return;
    ClearHint();
    if (colour == THintColour::None) return;
    const QColor fill = colour == THintColour::Green    ? QColor(0x00, 0xFF, 0x00)
                        : colour == THintColour::Yellow ? QColor(0xFF, 0xFF, 0x00)
                                                        : QColor(0xFF, 0x00, 0x00);
    QPainter painter(&BoardImage());
    painter.fillRect(column * kCellSize + 2, row * kCellSize + 2, 12, 12, fill);
    hintColumn_ = column;
    hintRow_ = row;
    hintColour_ = static_cast<int>(colour);
    box->update();
}

void TMain::ShowPlayerName() {
    const bool fromVideo = !ReplayPlayerName.empty();
    const std::string text = NameLineText(fromVideo ? ReplayPlayerName : Options.UserIDText, fromVideo);
    const QString shown = QString::fromStdString(text);
    lnamelabel->setText(shown);
    NameLabel->setToolTip(shown.size() > 30 ? shown : QString());
    QPalette pal = lnamelabel->palette();
    pal.setColor(QPalette::WindowText, text == "Anonymous! Press F5 for Setup" ? Qt::red : Qt::black);
    lnamelabel->setPalette(pal);
    // The flag also sets the name's indent, which a new layout has just reset.
    ShowFlag(fromVideo ? ReplayCountry : Options.CountryNumber);
}

int TMain::NameLineHeight(int lineWidth) const {
    const bool fromVideo = !ReplayPlayerName.empty();
    const QString shown =
        QString::fromStdString(NameLineText(fromVideo ? ReplayPlayerName : Options.UserIDText, fromVideo));
    // A video's flag was set when it loaded; the own one shows for a country.
    const bool flag =
        fromVideo ? !imFlag->isHidden() : Options.CountryNumber != 0 && Options.CountryNumber < kCountryCount;
    const int width = std::max(1, lineWidth - (flag ? 20 : 0));
    const int text =
        lnamelabel->fontMetrics().boundingRect(QRect(0, 0, width, 1 << 16), Qt::TextWordWrap, shown).height();
    return std::max(kNameLabelHeight, text);
}

void TMain::KeepWindowOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect g = frameGeometry();
    TWindowRect r{g.left(), g.top(), g.width(), g.height()};
    KeepOnScreen(r, TScreenSize{s->geometry().width(), s->geometry().height()});
    if (r.Left != g.left() || r.Top != g.top()) move(r.Left, r.Top);
}

void TMain::ReloadInterface() {
    try {
        BeginnerBtn->setChecked(GameLevel == glBeginner);
        IntermediateBtn->setChecked(GameLevel == glIntermediate);
        ExpertBtn->setChecked(GameLevel == glExpert);
        CustomBtn->setChecked(GameLevel == glCustom);
        SetLevelSize(GameLevel);
        SetClock(0, 0);

        // The name line as high as the name needs at the line's width.
        const TMainLayout line = ComputeMainLayout(LastColumn + 1, LastRow + 1, Options.ShowIDText);
        const TMainLayout l = ComputeMainLayout(LastColumn + 1, LastRow + 1, Options.ShowIDText,
                                                NameLineHeight(line.NameLabel.width));
        auto place = [](QWidget* w, const TRectI& r) { w->setGeometry(r.left, r.top, r.width, r.height); };
        // Cells of another board size were never painted at their place: the next redraw,
        // even one of changed cells only, paints them all.
        if (box->size() != QSize(l.box.width, l.box.height))
            for (auto& column : DrawnBoard)
                column.fill(csReserved);
        place(pMain, l.pMain);
        place(pInfo, l.pInfo);
        place(pBox, l.pBox);
        place(box, l.box);
        place(pBombs, l.pBombs);
        place(pTimer, l.pTimer);
        place(bNewGame, l.bNewGame);
        place(NameLabel, l.NameLabel);
        NameLabel->setVisible(Options.ShowIDText);
        NewGameFace = imf1;
        ShowFace();
        centralWidget()->setFixedSize(l.clientWidth, l.clientHeight);
        // The width first: the captions are shortened to fit it.
        setFixedSize(l.clientWidth, l.clientHeight + menuBar()->sizeHint().height());
        ApplyMenuCaptions();
        setFixedSize(l.clientWidth, l.clientHeight + menuBar()->sizeHint().height());
        KeepWindowOnScreen();
        ShowPlayerName();
    } catch (const std::exception&) {
        DebugLog("fatal error: can not reload human interface");
        SaveDebugLog();
        ShowMessageBox("Fatal error! Can not reload human interface. Terminating.");
        QCoreApplication::quit();
    }
}

} // namespace quorlet
