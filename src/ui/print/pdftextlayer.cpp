#include "print/pdftextlayer.h"

#include "print/pdfedits.h"
#include "text/textfile.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cctype>

// A PDF's text layer (the ToUnicode CMap of each font) maps each glyph back to one code point.
// Qt takes the lowest the face maps to that glyph, and the CJK faces map their radicals and
// compatibility ideographs to the glyphs of the ideographs: 色 would read as ⾊. The CMaps are
// mended after the file is written, from what was drawn.

using namespace pdfedits;

namespace {
QHash<const QPaintDevice *, DrawnText *> &recorders()
{
    static QHash<const QPaintDevice *, DrawnText *> all;
    return all;
}

// --- Faces by the PostScript name a PDF gives them ---------------------------------------------

int bigEndian16(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 2 > bytes.size())
        return -1;
    return uchar(bytes.at(at)) << 8 | uchar(bytes.at(at + 1));
}

// The name a PDF writer gives the font: name 6 of the face's name table.
QByteArray postscriptName(const QRawFont &face)
{
    const QByteArray table = face.fontTable("name");
    const int count = bigEndian16(table, 2), strings = bigEndian16(table, 4);
    for (int record = 0; record < count; ++record) {
        const qsizetype at = 6 + 12 * qsizetype(record);
        const int platform = bigEndian16(table, at), nameId = bigEndian16(table, at + 6);
        const int length = bigEndian16(table, at + 8), offset = bigEndian16(table, at + 10);
        if (nameId != 6 || length < 0 || offset < 0 || strings + offset + length > table.size())
            continue;
        const QByteArray bytes = table.mid(strings + offset, length);
        if (platform == 1)
            return bytes;
        QByteArray name;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            name += bytes.at(i + 1);
        return name;
    }
    return {};
}

// Names compared without the subset tag and the characters writers replace.
QByteArray comparable(QByteArray name)
{
    if (name.size() > 7 && name.at(6) == '+')
        name = name.mid(7);
    QByteArray kept;
    for (const char c : name)
        if (std::isalnum(uchar(c)))
            kept += char(std::tolower(uchar(c)));
    return kept;
}

// The face of a CJK family's style that a PDF names by its PostScript name, or an invalid one.
// Families whose names resemble the PostScript name's first part are tried first: each face
// tried is loaded.
QRawFont cjkFace(const QByteArray &postscript)
{
    static QHash<QByteArray, QRawFont> known;
    const QByteArray wanted = comparable(postscript);
    if (const auto found = known.constFind(wanted); found != known.constEnd())
        return *found;
    QStringList families;
    for (const auto system : {QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
                              QFontDatabase::Japanese, QFontDatabase::Korean})
        for (const QString &family : QFontDatabase::families(system))
            if (!families.contains(family))
                families.append(family);
    const QByteArray stem = comparable(postscript.split('-').constFirst());
    std::stable_partition(families.begin(), families.end(), [&stem](const QString &family) {
        const QByteArray name = comparable(family.toLatin1());
        return !stem.isEmpty() && (name.contains(stem) || stem.contains(name));
    });
    QRawFont face;
    for (qsizetype n = 0; n < families.size() && !face.isValid(); ++n) {
        // The style the name ends in first ("-Bold").
        QStringList styles = QFontDatabase::styles(families.at(n));
        std::stable_partition(styles.begin(), styles.end(), [&wanted](const QString &style) {
            return wanted.endsWith(comparable(style.toLatin1()));
        });
        for (const QString &style : std::as_const(styles)) {
            const QRawFont tried =
                QRawFont::fromFont(QFontDatabase::font(families.at(n), style, 12));
            if (tried.isValid() && comparable(postscriptName(tried)) == wanted) {
                face = tried;
                break;
            }
        }
    }
    known.insert(wanted, face);
    return face;
}

quint32 glyphOf(const QRawFont &face, char32_t c)
{
    const QList<quint32> glyphs = face.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.isEmpty() ? 0 : glyphs.constFirst();
}

// What a font's stand-ins read as: the drawn character of the same glyph, or without the face
// the one the stand-in decomposes to, when that was drawn. A target that was not drawn but
// shares its glyph with one that was is a stand-in too.
class StandInResolver {
public:
    StandInResolver(const QByteArray &baseFont, const QSet<char32_t> &drawn)
        : baseFont_(baseFont), drawn_(drawn)
    {
    }

    std::optional<char32_t> operator()(char32_t target)
    {
        if (drawn_.contains(target))
            return std::nullopt;
        // CJK faces also give one glyph to look-alikes outside those blocks (the katakana
        // middle dot and U+00B7); only their faces are worth loading for it.
        if (!isStandInCodePoint(target) && !cjkName())
            return std::nullopt;
        if (const QRawFont *face = this->face()) {
            const quint32 glyph = glyphOf(*face, target);
            if (glyph != 0)
                for (const char32_t c : sortedDrawn())
                    if (!isStandInCodePoint(c) && glyphOf(*face, c) == glyph)
                        return c;
        }
        if (!isStandInCodePoint(target))
            return std::nullopt;
        const QList<uint> decomposed =
            QString::fromUcs4(&target, 1).normalized(QString::NormalizationForm_KC).toUcs4();
        if (decomposed.size() == 1 && decomposed.constFirst() != target &&
            drawn_.contains(decomposed.constFirst()))
            return decomposed.constFirst();
        return std::nullopt;
    }

private:
    bool cjkName() const
    {
        const QByteArray name = comparable(baseFont_);
        return name.contains("cjk") || name.contains("ukai") || name.contains("uming");
    }

    const QRawFont *face()
    {
        if (!faceLooked_) {
            faceLooked_ = true;
            face_ = cjkFace(baseFont_);
        }
        return face_.isValid() ? &face_ : nullptr;
    }

    const QList<char32_t> &sortedDrawn()
    {
        if (sorted_.isEmpty() && !drawn_.isEmpty()) {
            sorted_ = QList<char32_t>(drawn_.cbegin(), drawn_.cend());
            std::sort(sorted_.begin(), sorted_.end());
        }
        return sorted_;
    }

    QByteArray baseFont_;
    const QSet<char32_t> &drawn_;
    bool faceLooked_ = false;
    QRawFont face_;
    QList<char32_t> sorted_;
};

// --- CMap text
// ------------------------------------------------------------------------------------

struct Span {
    qsizetype begin = 0, end = 0; // end is past the closing '>'
};

struct CMapScanner {
    const QByteArray &text;
    qsizetype at, stop;

    void skipSpace()
    {
        while (at < stop && std::isspace(uchar(text.at(at))))
            ++at;
    }
    std::optional<Span> hex()
    {
        skipSpace();
        if (at >= stop || text.at(at) != '<')
            return std::nullopt;
        const qsizetype close = text.indexOf('>', at);
        if (close < 0 || close >= stop)
            return std::nullopt;
        const Span span{at, close + 1};
        at = close + 1;
        return span;
    }
    bool punctuation(char c)
    {
        skipSpace();
        if (at < stop && text.at(at) == c) {
            ++at;
            return true;
        }
        return false;
    }
};

QByteArray digitsOf(const QByteArray &text, Span span)
{
    return text.mid(span.begin + 1, span.end - span.begin - 2).trimmed();
}

std::optional<uint> codeOf(const QByteArray &text, Span span)
{
    bool ok = false;
    const QByteArray digits = digitsOf(text, span);
    const uint value = digits.toUInt(&ok, 16);
    return ok && digits.size() <= 8 ? std::optional<uint>(value) : std::nullopt;
}

// One code point written as UTF-16; a string of more stays as it is.
std::optional<char32_t> targetOf(const QByteArray &text, Span span)
{
    const QByteArray digits = digitsOf(text, span);
    bool ok = false;
    if (digits.size() == 4) {
        const uint unit = digits.toUInt(&ok, 16);
        return ok && !QChar::isSurrogate(unit) ? std::optional<char32_t>(unit) : std::nullopt;
    }
    if (digits.size() == 8) {
        const uint high = digits.left(4).toUInt(&ok, 16);
        bool lowOk = false;
        const uint low = digits.mid(4).toUInt(&lowOk, 16);
        if (ok && lowOk && QChar::isHighSurrogate(high) && QChar::isLowSurrogate(low))
            return QChar::surrogateToUcs4(char16_t(high), char16_t(low));
    }
    return std::nullopt;
}

QByteArray hexOf(char32_t c)
{
    QByteArray units;
    if (QChar::requiresSurrogates(c))
        units = QByteArray::number(QChar::highSurrogate(c), 16).rightJustified(4, '0') +
                QByteArray::number(QChar::lowSurrogate(c), 16).rightJustified(4, '0');
    else
        units = QByteArray::number(uint(c), 16).rightJustified(4, '0');
    return '<' + units.toUpper() + '>';
}

// The uncompressed stream of object number: where its /Length value and its data stand.
struct StreamPlace {
    qsizetype lengthAt = 0, lengthDigits = 0;
    qsizetype dataAt = 0, dataLength = 0;
};

std::optional<StreamPlace> streamOf(const QByteArray &pdf, const Xref &xref, int number)
{
    const auto entry = xref.objects.constFind(number);
    if (entry == xref.objects.constEnd() || entry->offset >= pdf.size())
        return std::nullopt;
    const qsizetype start = entry->offset;
    const QByteArray head = QByteArray::number(number) + ' ';
    if (!pdf.mid(start, head.size()).startsWith(head))
        return std::nullopt;
    const qsizetype end = pdf.indexOf("endobj", start), keyword = pdf.indexOf("stream", start);
    if (end < 0 || keyword < 0 || keyword > end)
        return std::nullopt;
    const QByteArray dictionary = pdf.mid(start, keyword - start);
    if (dictionary.contains("/Filter"))
        return std::nullopt;
    const qsizetype length = dictionary.indexOf("/Length");
    if (length < 0)
        return std::nullopt;
    StreamPlace place;
    place.lengthAt = skipSpace(pdf, start + length + 7);
    place.lengthDigits = digitsEnd(pdf, place.lengthAt) - place.lengthAt;
    // A length kept in an object of its own ("9 0 R") is not rewritten.
    const qsizetype after = skipSpace(pdf, place.lengthAt + place.lengthDigits);
    if (place.lengthDigits == 0 || (after < keyword && std::isdigit(uchar(pdf.at(after)))))
        return std::nullopt;
    place.dataLength = pdf.mid(place.lengthAt, place.lengthDigits).toLongLong();
    place.dataAt = keyword + 6;
    if (pdf.mid(place.dataAt, 2) == "\r\n")
        place.dataAt += 2;
    else if (place.dataAt < pdf.size() && pdf.at(place.dataAt) == '\n')
        ++place.dataAt;
    else
        return std::nullopt;
    if (place.dataAt + place.dataLength > end)
        return std::nullopt;
    return place;
}

// The /BaseFont of the font object that names the CMap at refAt.
QByteArray baseFontAround(const QByteArray &pdf, qsizetype refAt)
{
    const qsizetype from = std::max<qsizetype>(0, pdf.lastIndexOf("endobj", refAt));
    const qsizetype to = pdf.indexOf("endobj", refAt);
    const qsizetype key = pdf.indexOf("/BaseFont", from);
    if (key < 0 || (to >= 0 && key > to))
        return {};
    qsizetype at = skipSpace(pdf, key + 9);
    if (at >= pdf.size() || pdf.at(at) != '/')
        return {};
    const qsizetype nameAt = ++at;
    while (at < pdf.size() && !std::isspace(uchar(pdf.at(at))) &&
           !QByteArray("/[]<>()%").contains(pdf.at(at)))
        ++at;
    return pdf.mid(nameAt, at - nameAt);
}

} // namespace

DrawnText::DrawnText(const QPaintDevice *device) : device_(device)
{
    recorders().insert(device_, this);
}

DrawnText::~DrawnText()
{
    if (recorders().value(device_) == this)
        recorders().remove(device_);
}

void DrawnText::add(const QString &text)
{
    for (const uint c : text.toUcs4())
        characters_.insert(c);
}

void noteDrawnText(const QPainter &painter, const QString &text)
{
    if (DrawnText *drawn = recorders().value(painter.device()))
        drawn->add(text);
}

bool isStandInCodePoint(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0xF900 && c <= 0xFAFF);
}

QByteArray rewriteToUnicode(const QByteArray &cmap,
                            const std::function<std::optional<char32_t>(char32_t)> &replace,
                            int *changed)
{
    QByteArray out;
    qsizetype copied = 0;
    int count = 0;
    const auto put = [&](Span span, const QByteArray &with) {
        out += cmap.mid(copied, span.begin - copied);
        out += with;
        copied = span.end;
    };
    // A single target rewritten in place.
    const auto single = [&](Span span) {
        const std::optional<char32_t> target = targetOf(cmap, span);
        if (!target)
            return;
        if (const std::optional<char32_t> with = replace(*target); with && *with != *target) {
            put(span, hexOf(*with));
            ++count;
        }
    };
    for (qsizetype at = 0;;) {
        const qsizetype chars = cmap.indexOf("beginbfchar", at),
                        ranges = cmap.indexOf("beginbfrange", at);
        if (chars < 0 && ranges < 0)
            break;
        const bool range = chars < 0 || (ranges >= 0 && ranges < chars);
        const qsizetype begin = range ? ranges + 12 : chars + 11;
        const qsizetype stop = cmap.indexOf(range ? "endbfrange" : "endbfchar", begin);
        if (stop < 0)
            break;
        CMapScanner scan{cmap, begin, stop};
        while (const std::optional<Span> low = scan.hex()) {
            if (!range) {
                const std::optional<Span> target = scan.hex();
                if (!target)
                    break;
                single(*target);
                continue;
            }
            const std::optional<Span> high = scan.hex();
            if (!high)
                break;
            if (scan.punctuation('[')) {
                while (const std::optional<Span> target = scan.hex())
                    single(*target);
                if (!scan.punctuation(']'))
                    break;
                continue;
            }
            const std::optional<Span> first = scan.hex();
            if (!first)
                break;
            if (digitsOf(cmap, *low) == digitsOf(cmap, *high)) {
                single(*first);
                continue;
            }
            // Consecutive codes to consecutive targets: written out one by one when one changes.
            const std::optional<uint> from = codeOf(cmap, *low), to = codeOf(cmap, *high);
            const std::optional<char32_t> base = targetOf(cmap, *first);
            if (!from || !to || !base || *to < *from || *to - *from > 255)
                continue;
            QByteArray list = "[";
            int rewritten = 0;
            for (uint n = 0; n <= *to - *from; ++n) {
                const char32_t target = *base + n;
                const std::optional<char32_t> with = replace(target);
                const bool rewrite = with && *with != target;
                rewritten += rewrite;
                list += hexOf(rewrite ? *with : target) + (n < *to - *from ? " " : "]");
            }
            if (rewritten > 0) {
                put(*first, list);
                count += rewritten;
            }
        }
        at = stop;
    }
    if (changed)
        *changed = count;
    return count == 0 ? cmap : out + cmap.mid(copied);
}

Result<TextLayerRepair> repairTextLayer(const QByteArray &pdf, const QSet<char32_t> &drawn)
{
    Result<Xref> xref = readXref(pdf);
    if (!xref)
        return failure(xref.error());
    QList<Edit> edits;
    QSet<int> done;
    int changed = 0;
    for (qsizetype at = pdf.indexOf("/ToUnicode"); at >= 0;
         at = pdf.indexOf("/ToUnicode", at + 1)) {
        const qsizetype numberAt = skipSpace(pdf, at + 10);
        bool ok = false;
        const int number = pdf.mid(numberAt, digitsEnd(pdf, numberAt) - numberAt).toInt(&ok);
        if (!ok || done.contains(number))
            continue;
        done.insert(number);
        const std::optional<StreamPlace> place = streamOf(pdf, *xref, number);
        if (!place)
            continue;
        StandInResolver resolver(baseFontAround(pdf, at), drawn);
        int rewritten = 0;
        const QByteArray cmap = rewriteToUnicode(pdf.mid(place->dataAt, place->dataLength),
                                                 std::ref(resolver), &rewritten);
        if (rewritten == 0)
            continue;
        changed += rewritten;
        edits.append({place->lengthAt, place->lengthDigits, QByteArray::number(cmap.size())});
        edits.append({place->dataAt, place->dataLength, cmap});
    }
    if (edits.isEmpty())
        return TextLayerRepair{pdf, 0};
    return TextLayerRepair{pdfedits::rewritten(pdf, *xref, edits), changed};
}

Status repairTextLayerFile(const QString &file, const QSet<char32_t> &drawn)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return failure(in.errorString());
    const QByteArray pdf = in.readAll();
    in.close();
    const Result<TextLayerRepair> repaired = repairTextLayer(pdf, drawn);
    if (!repaired || repaired->changed == 0)
        return {};
    return writewholefile(file, repaired->pdf);
}
