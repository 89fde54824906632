// The main window's video commands: play a file, preview the last game, save the replay, and
// the playback cursor. The rules are in core/playback and core/qvf.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "app/FProgressBar.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "core/fileread.h"
#include "core/playback.h"
#include "core/qvf.h"
#include "core/uihooks.h"
#include "kit/KitTimer.h"

namespace quorlet {

namespace {

const char* const kVideoFilter = "Minesweeper Quorlet Video File (QVF) (*.QVF *.qvf)";

// Our own arrow: black outline, white inside, its tip at the top-left pixel.
QPixmap BuiltInCursorPicture() {
    QPixmap pixmap(12, 19);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(Qt::black));
    p.setBrush(QColor(Qt::white));
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 18), QPoint(9, 17),
                            QPoint(6, 10), QPoint(11, 10)}));
    return pixmap;
}

// The program's own default picture: "cursor.bmp" of the program folder when it loads, else
// the built-in arrow.
QPixmap DefaultCursorPicture() {
    // Read by our own reader first: a fifo or a huge file of that name must not stop the start.
    std::string bytes;
    QPixmap file;
    if (!Options.LastPath.empty() &&
        ReadRegularFile(Options.LastPath + "cursor.bmp", kMaxSmallFileBytes, bytes))
        file.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size()));
    return file.isNull() ? BuiltInCursorPicture() : file;
}

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& folder,
                      const QString& name) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromLatin1(kVideoFilter));
    dialog.setDirectory(folder);
    if (!name.isEmpty()) dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

} // namespace

void TMain::InstallVideoHooks() {
    Cur = new QLabel(box);
    Cur->setObjectName(QStringLiteral("Cur"));
    Cur->setAttribute(Qt::WA_TransparentForMouseEvents);
    Cur->setPixmap(DefaultCursorPicture());
    Cur->adjustSize();
    Cur->hide();

    ChooseVideoFile = [this](const QString& folder) {
        return RunFileDialog(this, QFileDialog::AcceptOpen, folder, {});
    };
    ChooseReplaySaveFile = [this](const QString& folder, const QString& name) {
        return RunFileDialog(this, QFileDialog::AcceptSave, folder, name);
    };

    UiHooks.SetReplayCursor = [](const std::string& path) {
        TMain* m = MainWindow();
        if (!m || !m->Cur) return;
        QPixmap picture;
        if (!path.empty()) picture.load(QString::fromStdString(path));
        m->Cur->setPixmap(picture.isNull() ? DefaultCursorPicture() : picture);
        m->Cur->adjustSize();
    };
    UiHooks.ShowReplayCursor = [](bool visible) {
        if (TMain* m = MainWindow(); m && m->Cur) {
            m->Cur->setVisible(visible);
            if (visible) m->Cur->raise();
        }
    };
    UiHooks.MoveReplayCursor = [](int32_t left, int32_t top) {
        if (TMain* m = MainWindow(); m && m->Cur) m->Cur->move(left, top);
    };
    UiHooks.SetGameTimerInterval = [](uint32_t milliseconds) {
        if (TMain* m = MainWindow()) m->timer->SetInterval(milliseconds);
    };
    UiHooks.ReloadInterface = [] {
        if (TMain* m = MainWindow()) m->ReloadInterface();
    };
}

void TMain::ShowPlaybackControls() {
    if (TProgressBar* bar = ProgressBarWindow()) bar->ShowWindow();
}

void TMain::HidePlaybackControls() {
    // Every way out of playback passes here; the game's own interval is 10 ms again (the new
    // game sets the timer itself, the file writer reads this).
    GameTimerInterval = 10;
    if (Cur) Cur->hide();
    if (TProgressBar* bar = ProgressBarWindow()) bar->hide();
}

void TMain::PlayVideoBtnClick() {
    NewBtnClick();
    if (!ChooseVideoFile) return;
    const QString name = ChooseVideoFile(QString::fromStdString(Options.LastPath));
    if (name.isEmpty()) return;
    if (name.right(4).toUpper() != QStringLiteral(".QVF")) {
        ShowMessageBox("Not a Quorlet Video File");
        return;
    }
    OpenReplayFile(name.toStdString());
    if (ReplayMode) {
        if (TProgressBar* bar = ProgressBarWindow())
            bar->RestartBtnClick();
        else
            RestartPlayback();
    }
}

void TMain::btnPreviewReplayClick() {
    PreviewLastGame();
}

void TMain::sbSavereplayClick() {
    if (!ReplaySaveAllowed() || !ChooseReplaySaveFile) return;
    const QString proposed = QString::fromStdString(ProposedReplayFileName());
    const QString chosen = ChooseReplaySaveFile(QString::fromStdString(Options.LastPath), proposed);
    if (chosen.isEmpty()) return;
    SaveReplayFile(chosen.toStdString());
}

} // namespace quorlet
