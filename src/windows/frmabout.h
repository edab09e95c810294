#pragma once

#include <QDialog>

class TaaForm1;

// The About box: name, version, the publisher's addresses, the artwork and the credits.
class Tfrmabout : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmabout)

public:
    static const QString kWebAddress;
    static const QString kSupportAddress;

    explicit Tfrmabout(TaaForm1 &main);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TaaForm1 &main_;
};
