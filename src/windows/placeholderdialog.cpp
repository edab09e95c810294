#include "windows/placeholderdialog.h"

#include <QPushButton>

PlaceholderDialog::PlaceholderDialog(QWidget *parent, const QString &name, const QString &caption)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(320, 120);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(123, 80, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
