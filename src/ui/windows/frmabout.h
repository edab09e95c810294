#pragma once

#include "widgets/dialogbase.h"

class Prompter;
class QLabel;

// The About box: name, version, the publisher's addresses, the artwork and the credits.
class Tfrmabout : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmabout)

public:
    static const QString kWebAddress;
    static const QString kSupportAddress;

    // prompter shows the list of keys that Keys... opens.
    Tfrmabout(LanguageContext &context, QWidget *parent, Prompter &prompter);
    void btkeysClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *image_;
    Prompter &prompter_;
};
