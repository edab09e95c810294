#pragma once

#include "widgets/dialogbase.h"

// The About box: name, version, the publisher's addresses, the artwork and the credits.
class Tfrmabout : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmabout)

public:
    static const QString kWebAddress;
    static const QString kSupportAddress;

    Tfrmabout(LanguageContext &context, QWidget *parent);
};
