#include "windows/qtprompter.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget *owner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("Vaskelio") : title;
}
} // namespace

void QtPrompter::inform(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Information, titleOr(title), text, QMessageBox::Ok, owner());
    box.exec();
}

bool QtPrompter::confirm(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
