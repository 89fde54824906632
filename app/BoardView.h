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

    // The whole image (a surface's every row filled first).
    QImage& Image();
    const QImage& Image() const;
    void SetImage(const QImage& image);

    // A surface of the given size in one colour. Its memory is taken when it is first drawn
    // on, and its rows are filled only as drawing reaches them: a board or a counter uses a
    // small corner of the largest board's surface.
    void SetSurface(int width, int height, const QColor& fill);
    // The whole surface painted in one colour again, in no time.
    void FillSurface(const QColor& fill);
    // The image for drawing inside its first `rows` rows (filled up to there).
    QImage& ImageRows(int rows);

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
    void FillRows(int rows) const;

    mutable QImage image_;
    // The surface: its size, its colour and how many of its rows hold their pixels.
    QSize surface_;
    QColor fill_;
    mutable int filledRows_ = 0;
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
