#pragma once

#include "widgets/dialogbase.h"

class QLabel;

// The About box: name, version, the publisher's addresses, the artwork and the credits.
class Tfrmabout : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmabout)

public:
    static const QString kWebAddress;
    static const QString kSupportAddress;

    Tfrmabout(LanguageContext &context, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *image_;
};
