#pragma once

#include "widgets/dialogbase.h"

class RadioGroup;

// The Options dialog: the user-interface language, named each in its own script.
class Tfrmoption : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmoption)

public:
    Tfrmoption(LanguageContext &context, QWidget *parent);

    RadioGroup *languages() const { return radioGroup1_; }
    void Button2Click(); // OK
    void Button1Click(); // Set Default, a hidden button

protected:
    void showEvent(QShowEvent *event) override;

private:
    RadioGroup *radioGroup1_;
};
