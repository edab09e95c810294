#include "widgets/pdffile.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"

#include <QDir>
#include <QFileInfo>

QString askPdfFile(Prompter &prompter, const QString &folder, const QString &title,
                   const QString &fallback, const TextTables &texts)
{
    QString name = title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.isEmpty())
        name = fallback;
    const QString file =
        prompter.saveFileName(QDir(folder).filePath(name + QStringLiteral(".pdf")),
                              QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    if (file.isEmpty())
        return {};
    if (QFileInfo::exists(file) && !prompter.confirm(texts.uitext(QStringLiteral("msgoverride"))))
        return {};
    return file;
}
