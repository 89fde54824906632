// The playback bar: a small stay-on-top tool window with restart, pause and stop, the speed bar
// and the position bar. Its handlers only call the playback engine (core/playback).
#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace quorlet {

class TProgressBar : public QWidget {
    Q_OBJECT

  public:
    // Runs FormCreate: plays the command line's video when one is waiting (ReplayMode set).
    explicit TProgressBar(QWidget* parent = nullptr);
    ~TProgressBar() override;

    void RestartBtnClick();
    void StopBtnClick();
    void PauseBtnClick();
    void trSpeedChange();
    // Key handlers of the two track bars; true when the key was theirs.
    bool trSpeedKeyDown(int key);
    void trProgressChange();
    bool trProgressKeyDown(int key);

    // A video ending at `maximum` hundredths: position 0, both bars shown, the window shown.
    void SetupBar(int maximum);
    // Placed at posProgressBarX, posProgressBarY (kept on the screen), shown without activation.
    void ShowWindow();

    // The selection ends of the two track bars (the part played or chosen so far).
    int SpeedSelEnd() const { return speedSelEnd_; }
    int ProgressSelEnd() const { return progressSelEnd_; }

    QToolButton* RestartBtn = nullptr;
    QToolButton* PauseBtn = nullptr;
    QToolButton* StopBtn = nullptr;
    QSlider* trSpeed = nullptr;
    QLabel* lSpeed = nullptr;
    QSlider* trProgress = nullptr;
    QLabel* lProgress = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void InstallHooks();
    // Keeps the window inside the screen it is on.
    void KeepOnScreen();

    int speedSelEnd_ = 20;
    int progressSelEnd_ = 0;
};

// The playback bar while it exists.
TProgressBar* ProgressBarWindow();

} // namespace quorlet
