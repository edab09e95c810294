#pragma once

#include "widgets/dialogbase.h"

#include <functional>

class Prompter;
class QCheckBox;
class RadioGroup;
class Tfrmspeech;

// The Options dialog: the user-interface language, named each in its own script; on a second
// page, what becomes of the kept game and what the palette shows; on a third, the zoom of every
// window. Speech... opens the speech settings.
class Tfrmoption : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmoption)

public:
    // restart starts the program again, when the user wants a new zoom at once.
    Tfrmoption(LanguageContext &context, QWidget *parent, Prompter &prompter,
               std::function<void()> restart);

    RadioGroup *languages() const { return radioGroup1_; }
    QCheckBox *resumeGame() const { return resume_; }
    QCheckBox *askReplace() const { return askReplace_; }
    RadioGroup *zooms() const { return radioGroup2_; }
    RadioGroup *paletteShows() const { return radioGroup3_; }
    QCheckBox *noteCleanup() const { return cleanup_; }
    QCheckBox *markRepeats() const { return conflicts_; }
    QCheckBox *showTime() const { return time_; }
    QCheckBox *notesAsNumbers() const { return numbers_; }
    Tfrmspeech *speech() const { return speech_; }
    void Button2Click(); // OK
    void Button1Click(); // Set Default, a hidden button

protected:
    void showEvent(QShowEvent *event) override;

private:
    RadioGroup *radioGroup1_;
    QCheckBox *resume_;
    QCheckBox *askReplace_;
    RadioGroup *radioGroup2_;
    RadioGroup *radioGroup3_;
    QCheckBox *cleanup_;
    QCheckBox *conflicts_;
    QCheckBox *time_;
    QCheckBox *numbers_;
    Tfrmspeech *speech_;
    Prompter &prompter_;
    std::function<void()> restart_;
    // The zoom the windows are drawn at: the toolkit takes it once, at start.
    int zoomInEffect_;
};
