#pragma once

#include <QWidget>

// The rounded frame drawn behind the main window's rule text.
class RoundedShape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A panel with a sunken inner and a raised outer edge, 2 pixels in all.
class BevelPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
