#pragma once

#include "widgets/dialogbase.h"

class QSlider;
class RadioGroup;

// Speech, opened from the Options dialog: whether words are spoken unasked (never, when
// selected, when placed) and how fast. Ctrl+K speaks a word whatever is chosen here.
class Tfrmspeech : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmspeech)

public:
    Tfrmspeech(LanguageContext &context, QWidget *parent);

    RadioGroup *when() const { return radioGroup4_; }
    QSlider *rate() const { return rate_; }
    void Button1Click(); // OK

protected:
    void showEvent(QShowEvent *event) override;

private:
    RadioGroup *radioGroup4_;
    QSlider *rate_;
};
