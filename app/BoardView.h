// The main window's drawing surfaces: an image that forwards its mouse events (the board, the
// LEDs, the face, the flag) and a bevelled panel.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QMouseEvent;

namespace quorlet {

// Shows the top-left part of its image; drawing goes into Image(), then update().
class TImageView : public QWidget {
    Q_OBJECT

  public:
    explicit TImageView(QWidget* parent = nullptr);

    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);

    // Qt sends a second quick press as a double click: it reaches OnPress like any press.
    std::function<void(QMouseEvent*)> OnPress;
    std::function<void(QMouseEvent*)> OnMove;
    std::function<void(QMouseEvent*)> OnRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage image_;
};

// A grey panel with a raised or sunken bevel of the given width.
class TBevelPanel : public QWidget {
    Q_OBJECT

  public:
    TBevelPanel(int bevel, bool raised, QWidget* parent = nullptr);
    int Bevel() const { return bevel_; }

    // A left release inside the panel (or inside a child that does not take the mouse).
    std::function<void()> OnClick;
    // Any left press and release (the smiley's pictures follow them), before OnClick.
    std::function<void()> OnLeftPress;
    std::function<void()> OnLeftRelease;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int bevel_;
    bool raised_;
};

} // namespace quorlet
