#pragma once

#include "widgets/dialogbase.h"

class QCheckBox;
class RadioGroup;

// The Options dialog: the user-interface language, named each in its own script; on a second
// page, what becomes of the kept game.
class Tfrmoption : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmoption)

public:
    Tfrmoption(LanguageContext &context, QWidget *parent);

    RadioGroup *languages() const { return radioGroup1_; }
    QCheckBox *resumeGame() const { return resume_; }
    QCheckBox *askReplace() const { return askReplace_; }
    void Button2Click(); // OK
    void Button1Click(); // Set Default, a hidden button

protected:
    void showEvent(QShowEvent *event) override;

private:
    RadioGroup *radioGroup1_;
    QCheckBox *resume_;
    QCheckBox *askReplace_;
};
