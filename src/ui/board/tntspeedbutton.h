#pragma once

#include <QAbstractButton>

// A palette button: a push-button face with its own caption, mycaption, wrapped and centred
// the way a board cell shows its word.
class TTntspeedbutton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(TTntspeedbutton)

public:
    explicit TTntspeedbutton(QWidget *parent = nullptr);

    QString mycaption() const { return mycaption_; }
    void Setmycaption(const QString &caption);
    bool isfixed() const { return isfixed_; }
    void Setisfixed(bool fixed);
    int value() const { return value_; }
    void Setvalue(int value);
    bool isEnter() const { return isEnter_; }
    void SetisEnter(bool enter);
    // How many of its word are still to place, drawn small in a corner; at none the caption
    // is drawn faint. -1, outside a game, draws nothing.
    int remaining() const { return remaining_; }
    void setRemaining(int remaining);

    QSize sizeHint() const override { return {30, 30}; }
    // The font mycaption is drawn in: the button's font in the face of the caption's script,
    // a point smaller at a time until the caption fits the face, its words whole.
    QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString mycaption_ = QStringLiteral("mycaption");
    int value_ = 0;
    bool isfixed_ = true;
    bool isEnter_ = false;
    int remaining_ = -1;
};
