#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What poppler's tools read from a PDF.
namespace pdftools {
inline QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of one page, counted from 1.
inline QString text(const QString &file, int page, const QStringList &options = {})
{
    const QString n = QString::number(page);
    return run(QStringLiteral("pdftotext"), options + QStringList{"-f", n, "-l", n, file, "-"});
}

inline int pages(const QString &file)
{
    const QString info = run(QStringLiteral("pdfinfo"), {file});
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// The fonts pdffonts lists: name and whether it is embedded.
inline QList<std::pair<QString, bool>> fonts(const QString &file)
{
    QList<std::pair<QString, bool>> found;
    const QStringList lines =
        run(QStringLiteral("pdffonts"), {file}).split(u'\n', Qt::SkipEmptyParts);
    // Two heading lines; then name, type (of one or more words), encoding, emb, sub, uni,
    // object number and generation.
    for (const QString &line : lines.mid(2)) {
        const QStringList columns =
            line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (columns.size() >= 7)
            found.append({columns.constFirst(), columns.at(columns.size() - 5) == "yes"});
    }
    return found;
}

inline bool allFontsEmbedded(const QString &file)
{
    const auto listed = fonts(file);
    return !listed.isEmpty() &&
           std::all_of(listed.begin(), listed.end(), [](const auto &font) { return font.second; });
}
} // namespace pdftools
