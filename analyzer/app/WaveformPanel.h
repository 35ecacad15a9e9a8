#pragma once

#include <QFrame>
#include <QImage>

#include <functional>

// A painted panel of the main window. It owns no state: it asks its owner for
// the finished off-screen picture and hands mouse events back to it.
class CWaveformPanel : public QFrame {
    Q_OBJECT
public:
    using Painter = std::function<QImage(int width, int height)>;

    CWaveformPanel(int controlId, const QString& accessibleName, QWidget* parent = nullptr);

    void SetPainter(Painter painter) { this->painter = std::move(painter); }

signals:
    void MousePressed(QMouseEvent* event);
    void MouseMoved(QMouseEvent* event);
    void MouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Painter painter;
};
