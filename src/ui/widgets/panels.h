#pragma once

#include <QLabel>
#include <QWidget>

// The rounded frame drawn behind the main window's rule text.
class RoundedShape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The rules of the game on the white frame: plain text, wrapped, dark whatever the desktop's
// colours. Read-only and borderless, a label does it at a fraction of a text editor's start-up
// cost.
class RuleText : public QLabel {
public:
    explicit RuleText(QWidget *parent = nullptr);
    // The largest size of base's face from 10 points down that lets the text fit.
    void fit(QFont base);
};

// A panel with a sunken inner and a raised outer edge, 2 pixels in all.
class BevelPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};
