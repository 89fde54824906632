// The main window's board files, board pictures, screenshots and the mouse path chart. The
// bytes, names and chart primitives come from core/boardfile, core/screenshot and
// core/mousechart; this file captures, asks and paints.
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include <array>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/skins.h"
#include "core/FData.h"
#include "core/boardfile.h"
#include "core/debuglog.h"
#include "core/mousechart.h"
#include "core/playback.h"
#include "core/screenshot.h"
#include "platform/x11.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

const char* const kBitmapFilter = "Bitmap Files (BMP) (*.BMP *.bmp)";
const char* const kTextFilter = "Text File (TXT) (*.TXT *.txt);;Any File (*)";

// The darkened cell pictures of one skin: imdn0 for cells whose column + row is odd, imdn1
// for the even ones, indexed by cell state like the skin.
using TDarkCells = std::array<std::array<QImage, kCellPictures>, 2>;

QImage Darkened(const QImage& source, int percent) {
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(qRed(line[x]) * percent / 100, qGreen(line[x]) * percent / 100,
                           qBlue(line[x]) * percent / 100);
    }
    return image;
}

const TDarkCells& DarkCells(int skin) {
    static std::array<TDarkCells, 2> cells;
    static std::array<bool, 2> made{};
    if (!made[skin]) {
        for (int state = 0; state < kCellPictures; ++state) {
            cells[skin][0][state] = Darkened(Skins().cells[skin][state], 45);
            cells[skin][1][state] = Darkened(Skins().cells[skin][state], 60);
        }
        made[skin] = true;
    }
    return cells[skin];
}

QColor ChartQColor(uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QPolygon ChartPolygon(const std::vector<TChartPoint>& points) {
    QPolygon polygon(static_cast<int>(points.size()));
    for (int i = 0; i < polygon.size(); ++i)
        polygon[i] = QPoint(points[i].x, points[i].y);
    return polygon;
}

std::string ImageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) return {};
    return bytes.toStdString();
}

// The rectangle of the window that has the focus: the window manager's active window, else
// this program's active window, else the main window.
QRect ForegroundWindowRect(const QWidget* main) {
    if (const std::optional<QRect> active = X11ActiveWindowRect()) return *active;
    if (const QWidget* active = QApplication::activeWindow()) return active->frameGeometry();
    return main->frameGeometry();
}

QRect WholeScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? QRect(QPoint(0, 0), screen->geometry().size()) : QRect();
}

} // namespace

void TMain::BuildPictureMenus() {
    struct TItem {
        QMenu* menu;
        QAction** action;
        const char* name;
        QKeySequence shortcut;
        void (TMain::*handler)();
    };
    const TItem items[] = {
        {ScreenshotMnu, &MakeJPGScreenshotBtn, "MakeJPGScreenshotBtn", QKeySequence(Qt::Key_F12),
         &TMain::MakeJPGScreenshotBtnClick},
        {ScreenshotMnu, &MakeBMPScreenshotBtn, "MakeBMPScreenshotBtn", QKeySequence(Qt::CTRL | Qt::Key_F12),
         &TMain::MakeBMPScreenshotBtnClick},
        {ScreenshotMnu, &saveboarsbmpBtn, "saveboarsbmpBtn", {}, &TMain::saveboarsbmpBtnClick},
        {ScreenshotMnu, &saveboarstxtBtn, "saveboarstxtBtn", {}, &TMain::saveboarstxtBtnClick},
        {ScreenshotMnu, &MakeFULLScreenshotBtn, "MakeFULLScreenshotBtn", QKeySequence(Qt::SHIFT | Qt::Key_F12),
         &TMain::MakeFULLScreenshotBtnClick},
        {OptionsMnu, &showmousepathBtn, "showmousepathBtn", {}, &TMain::showmousepathBtnClick},
    };
    for (const TItem& item : items) {
        *item.action = item.menu->addAction(QString());
        (*item.action)->setShortcut(item.shortcut);
        (*item.action)->setObjectName(QString::fromLatin1(item.name));
        connect(*item.action, &QAction::triggered, this, [this, handler = item.handler] { (this->*handler)(); });
    }
    connect(btnSaveBoard, &QAction::triggered, this, [this] { btnSaveBoardClick(); });

    ChooseBoardSaveFile = [this](const QString& folder, const QString& name, const QString& filter) {
        return QFileDialog::getSaveFileName(this, QString(), name.isEmpty() ? folder : name, filter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    RequestCellSeparator = [this] {
        bool ok = false;
        const QString text = QInputDialog::getText(this, QStringLiteral("Request"),
                                                   QStringLiteral("Please, type in a cell separator:"),
                                                   QLineEdit::Normal, QStringLiteral(" "), &ok);
        return ok ? text : QStringLiteral(" ");
    };
}

void TMain::ApplyPictureMenuCaptions() {
    const std::pair<QAction*, std::pair<const char*, const char*>> captions[] = {
        {MakeJPGScreenshotBtn, {"0245", "jpg"}},
        {MakeBMPScreenshotBtn, {"0246", "bmp"}},
        {saveboarsbmpBtn, {"0339", "saveboarsbmpBtn"}},
        {saveboarstxtBtn, {"0340", "saveboarstxtBtn"}},
        {MakeFULLScreenshotBtn, {"0247", "fulljpg"}},
        {showmousepathBtn, {"0358", "replaymousepathBtn"}},
    };
    for (const auto& [action, text] : captions) {
        const std::string& caption = UIText(text.first);
        action->setText(QString::fromStdString(caption.empty() ? std::string(text.second) : caption));
    }
}

// ---- Board file, picture and text ----

QString TMain::AskBoardSaveFile(const char* extension, const char* filter) {
    if (!ChooseBoardSaveFile) return {};
    return ChooseBoardSaveFile(QString::fromStdString(Options.LastPath),
                               QString::fromStdString(ProposedReplayFileName(extension)), QString::fromLatin1(filter));
}

void TMain::btnSaveBoardClick() {
    SaveBoardFile();
}

void TMain::saveboarsbmpBtnClick() {
    const QString path = AskBoardSaveFile(".bmp", kBitmapFilter);
    if (path.isEmpty()) return;
    const QImage picture = box->Image().copy(0, 0, (LastColumn + 1) * kCellSize, (LastRow + 1) * kCellSize);
    if (WriteFileOrReport(path.toStdString(), ImageBytes(picture, "BMP"))) DebugLog(UIText("0240") + " bmp");
}

void TMain::saveboarstxtBtnClick() {
    const QString path = AskBoardSaveFile(".txt", kTextFilter);
    if (path.isEmpty()) return;
    const QString separator = RequestCellSeparator ? RequestCellSeparator() : QStringLiteral(" ");
    SaveTextBoard(path.toStdString(), separator.toStdString());
}

// ---- Screenshots ----

QImage TMain::CaptureScreenRect(const QRect& rect) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || rect.isEmpty()) return {};
    QImage image = screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
    // The offscreen platform draws only our exposed windows into its grab and leaves the rest
    // of the pixels unwritten: those are black here.
    if (!image.isNull() && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QRegion blank(0, 0, image.width(), image.height());
        for (const QWindow* window : QGuiApplication::topLevelWindows())
            if (window->isExposed()) blank -= window->geometry().translated(-rect.topLeft());
        QPainter painter(&image);
        painter.setClipRegion(blank);
        painter.fillRect(image.rect(), Qt::black);
    }
    return image;
}

void TMain::SaveScreenshot(const QImage& capture, bool jpeg) {
    const std::string folder = ScreenshotFolder();
    if (folder.empty()) return;
    std::string bytes;
    if (jpeg && !capture.isNull()) {
        const QImage rgb = capture.convertToFormat(QImage::Format_RGB888);
        std::string error;
        if (!EncodeJpeg(rgb.constBits(), rgb.width(), rgb.height(), static_cast<std::size_t>(rgb.bytesPerLine()),
                        bytes, &error)) {
            ReportFileSaveFailure(NextScreenshotName(folder, ".jpg"), error);
            return;
        }
    } else if (!jpeg) {
        bytes = ImageBytes(capture, "BMP");
    }
    // An empty capture (no X11 screen to read) leaves the bytes empty: a failed save.
    SaveScreenshotBytes(folder, jpeg ? ".jpg" : ".bmp", bytes);
}

void TMain::MakeJPGScreenshotBtnClick() {
    if (ScreenshotFolder().empty()) return;
    SaveScreenshot(CaptureScreenRect(ForegroundWindowRect(this)), true);
}

void TMain::MakeBMPScreenshotBtnClick() {
    if (ScreenshotFolder().empty()) return;
    SaveScreenshot(CaptureScreenRect(ForegroundWindowRect(this)), false);
}

void TMain::MakeFULLScreenshotBtnClick() {
    if (ScreenshotFolder().empty()) return;
    SaveScreenshot(CaptureScreenRect(WholeScreenRect()), true);
}

// ---- Mouse path chart ----

void TMain::showmousepathBtnClick() {
    if (MouseChartAllowed()) DrawMousePath();
}

void TMain::DrawMousePath() {
    const TMouseChart chart = BuildMouseChart();
    {
        QPainter p(&box->Image());
        p.setRenderHint(QPainter::Antialiasing, false);
        if (chart.fillBlack) p.fillRect(box->Image().rect(), Qt::black);
        if (chart.checkerboard)
            for (int c = 0; c <= LastColumn; ++c)
                for (int r = 0; r <= LastRow; ++r)
                    if ((c + r) % 2 == 1) p.fillRect(c * kCellSize, r * kCellSize, kCellSize, kCellSize, QColor(128, 128, 128));
        if (chart.darkenCells && Options.skinNumber <= 1) {
            const TDarkCells& dark = DarkCells(Options.skinNumber);
            for (int c = 0; c <= LastColumn; ++c)
                for (int r = 0; r <= LastRow; ++r)
                    if (const TCellState state = VisibleBoard[c][r]; state < kCellPictures)
                        p.drawImage(c * kCellSize, r * kCellSize, dark[(c + r) % 2 == 1 ? 0 : 1][state]);
        }
        if (!chart.path.points.empty()) {
            p.setPen(ChartQColor(chart.path.colour));
            p.drawPolyline(ChartPolygon(chart.path.points));
        }
        for (const TChartLine& stretch : chart.stretches) {
            p.setPen(ChartQColor(stretch.colour));
            p.drawPolyline(ChartPolygon(stretch.points));
        }
        for (const TChartDot& dot : chart.dots) {
            p.setPen(ChartQColor(dot.colour));
            p.setBrush(ChartQColor(dot.colour));
            p.drawEllipse(QRect(dot.at.x - 2, dot.at.y - 2, 3, 3));
        }
    }
    box->update();
}

} // namespace quorlet
