#pragma once

#include <QWidget>

// The white rectangle the buttons are arranged on (control 1000).
class CDesignArea : public QWidget {
    Q_OBJECT
public:
    explicit CDesignArea(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
