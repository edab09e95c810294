#include "importers/kvtml.h"

#include "importers/notelanguage.h"

#include <QXmlStreamReader>

namespace {
constexpr qsizetype kRootWithin = 4096;

struct Translation {
    QString text, pronunciation;
};

Translation readTranslation(QXmlStreamReader &xml)
{
    Translation translation;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("text"))
            translation.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.name() == QLatin1String("pronunciation"))
            translation.pronunciation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else
            xml.skipCurrentElement();
    }
    return translation;
}

// The language of an <identifier>: its locale, else its name ("Chinese").
QString readIdentifier(QXmlStreamReader &xml)
{
    QString locale, name;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("locale"))
            locale = xml.readElementText().trimmed();
        else if (xml.name() == QLatin1String("name"))
            name = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    const QString language = localelanguage(locale);
    return language.isEmpty() ? namedlanguage(name) : language;
}

void readEntry(QXmlStreamReader &xml, NoteFile &file)
{
    const int line = int(xml.lineNumber());
    Translation word, meaning;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("translation")) {
            xml.skipCurrentElement();
            continue;
        }
        const QStringView id = xml.attributes().value(QLatin1String("id"));
        if (id == QLatin1String("0"))
            word = readTranslation(xml);
        else if (id == QLatin1String("1"))
            meaning = readTranslation(xml);
        else
            xml.skipCurrentElement();
    }
    addnote(file, line, {word.text, meaning.text, word.pronunciation, {}, false, false});
}
} // namespace

bool lookskvtml(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes.left(kRootWithin));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == QLatin1String("kvtml");
    }
    return false;
}

Result<NoteFile, NoteFileProblem> readkvtml(const QByteArray &bytes)
{
    NoteFile file;
    file.format = NoteFile::Format::Kvtml;
    QString language; // identifier 0's, which the words are taken from
    QXmlStreamReader xml(bytes);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("kvtml")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("information")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("title"))
                        file.title = xml.readElementText().simplified();
                    else
                        xml.skipCurrentElement();
                }
            } else if (xml.name() == QLatin1String("identifiers")) {
                while (xml.readNextStartElement()) {
                    const bool words = xml.name() == QLatin1String("identifier") &&
                                       xml.attributes().value(QLatin1String("id")) == u"0";
                    if (words)
                        language = readIdentifier(xml);
                    else
                        xml.skipCurrentElement();
                }
            } else if (xml.name() == QLatin1String("entries")) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("entry"))
                        readEntry(xml, file);
                    else
                        xml.skipCurrentElement();
                }
            } else {
                xml.skipCurrentElement();
            }
        }
    } else if (!xml.hasError()) {
        return failure(NoteFileProblem{NoteFileProblem::Kind::NotUnderstood, {}, 0});
    }
    if (xml.hasError())
        return failure(
            NoteFileProblem{NoteFileProblem::Kind::BadXml, xml.errorString(), xml.lineNumber()});
    // Parley writes the identifiers before the entries, but nothing says they must come first.
    for (Note &note : file.notes)
        note.language = language;
    return file;
}
