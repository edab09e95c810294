#include "widgets/qtprompter.h"

#include "appinfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
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
    return title.isEmpty() ? QString::fromLatin1(appinfo::kName) : title;
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

Prompter::CheckedAnswer QtPrompter::confirmChecked(const QString &text, const QString &checkText,
                                                   const QString &title)
{
    QMessageBox box(QMessageBox::Warning, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                    owner());
    box.setDefaultButton(QMessageBox::Yes);
    auto *check = new QCheckBox(checkText, &box);
    box.setCheckBox(check);
    const bool yes = box.exec() == QMessageBox::Yes;
    return {yes, check->isChecked()};
}

QString QtPrompter::openFileName(const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner(), QString(), folder, filter);
}

QString QtPrompter::saveFileName(const QString &folder, const QString &filter,
                                 const QString &suffix)
{
    QFileDialog dialog(owner(), QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    // The program asks about an existing file itself, with its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
