#include "widgets/savefile.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"

#include <QDir>
#include <QFileInfo>

QString askSaveFile(Prompter &prompter, const QString &start, const QString &filter,
                    const QString &suffix, const TextTables &texts)
{
    const QString file = prompter.saveFileName(start, filter, suffix);
    if (file.isEmpty())
        return {};
    if (QFileInfo::exists(file) && !prompter.confirm(texts.uitext(QStringLiteral("msgoverride"))))
        return {};
    return file;
}

QString askPdfFile(Prompter &prompter, const QString &folder, const QString &title,
                   const QString &fallback, const TextTables &texts)
{
    QString name = title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.isEmpty())
        name = fallback;
    return askSaveFile(prompter, QDir(folder).filePath(name + QStringLiteral(".pdf")),
                       QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"), texts);
}
