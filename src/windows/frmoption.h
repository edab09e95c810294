#pragma once

#include <QDialog>

class RadioGroup;
class TaaForm1;

// The Options dialog: the user-interface language, named each in its own script.
class Tfrmoption : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmoption)

public:
    explicit Tfrmoption(TaaForm1 &main);

    RadioGroup *languages() const { return radioGroup1_; }
    void Button2Click(); // OK
    void Button1Click(); // Set Default, a hidden button

protected:
    void showEvent(QShowEvent *event) override;

private:
    TaaForm1 &main_;
    RadioGroup *radioGroup1_;
};
