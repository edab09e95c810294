#include "print/pdfbold.h"

#include "board/celltext.h"
#include "print/pdfedits.h"

#include <QByteArrayList>
#include <QSet>

#include <zlib.h>

#include <optional>

using namespace pdfedits;

namespace {
QSet<const QPaintDevice *> &mendedDevices()
{
    static QSet<const QPaintDevice *> devices;
    return devices;
}

// Where QPdfWriter starts the second filling of a faked bold: hidden from the text layer.
constexpr QByteArrayView kSecondFill = "/Span << /ActualText <> >> BDC\n";

bool isNumber(const QByteArray &token)
{
    bool ok = false;
    token.toDouble(&ok);
    return ok;
}

// The fill colour the text's own state sets ("/CSp cs 0 0 1 scn"), set as the stroke colour.
std::optional<QByteArray> strokeColour(QByteArrayView state)
{
    const QByteArrayList tokens = state.toByteArray().simplified().split(' ');
    const qsizetype scn = tokens.lastIndexOf("scn");
    if (scn < 0)
        return std::nullopt;
    qsizetype cs = scn - 1;
    while (cs >= 0 && isNumber(tokens.at(cs)))
        --cs;
    if (cs < 1 || cs == scn - 1 || tokens.at(cs) != "cs" || !tokens.at(cs - 1).startsWith('/'))
        return std::nullopt;
    QByteArray colour = tokens.at(cs - 1) + " CS";
    for (qsizetype n = cs + 1; n < scn; ++n)
        colour += ' ' + tokens.at(n);
    return colour + " SCN";
}

// The size of the font set at the start of a text: "/F9 67 Tf".
std::optional<double> fontSize(QByteArrayView textState)
{
    const QByteArrayList tokens = textState.toByteArray().simplified().split(' ');
    const qsizetype tf = tokens.indexOf("Tf");
    bool ok = false;
    const double size = tf >= 1 ? tokens.at(tf - 1).toDouble(&ok) : 0;
    return ok && size > 0 ? std::optional<double>(size) : std::nullopt;
}

std::optional<QByteArray> inflated(QByteArrayView data)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    QByteArray out(std::max<qsizetype>(4096, 8 * data.size()), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = uInt(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        if (qsizetype(z.total_out) == out.size())
            out.resize(2 * out.size());
        z.next_out = reinterpret_cast<Bytef *>(out.data() + z.total_out);
        z.avail_out = uInt(out.size() - qsizetype(z.total_out));
        status = inflate(&z, Z_NO_FLUSH);
    }
    const qsizetype size = qsizetype(z.total_out);
    inflateEnd(&z);
    if (status != Z_STREAM_END)
        return std::nullopt;
    out.truncate(size);
    return out;
}

// The fastest level: a class set's pages deflate in a quarter of the default level's time, to
// about a third more bytes.
std::optional<QByteArray> deflated(const QByteArray &data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()),
                  Z_BEST_SPEED) != Z_OK)
        return std::nullopt;
    out.truncate(qsizetype(size));
    return out;
}

// A whole number kept in an object of its own ("7 0 obj\n922\nendobj"): where its digits stand.
std::optional<Edit> numberObject(const QByteArray &pdf, const Xref &xref, int number)
{
    const auto entry = xref.objects.constFind(number);
    if (entry == xref.objects.constEnd() || entry->offset >= pdf.size())
        return std::nullopt;
    const QByteArray head = QByteArray::number(number) + " 0 obj";
    if (!QByteArrayView(pdf).sliced(entry->offset).startsWith(head))
        return std::nullopt;
    const qsizetype at = skipSpace(pdf, entry->offset + head.size());
    const qsizetype end = digitsEnd(pdf, at);
    if (end == at)
        return std::nullopt;
    return Edit{at, end - at, {}};
}

// The edits that put content in place of the compressed stream of the page contents object
// number, or none when the object is not one QPdfWriter writes.
QList<Edit> mendPage(const QByteArray &pdf, const Xref &xref, int number, int *mended)
{
    const qsizetype body = objectBody(pdf, xref, number);
    const qsizetype keyword = body < 0 ? -1 : pdf.indexOf(">>\nstream\n", body);
    if (keyword < 0)
        return {};
    const QByteArrayList dictionary = pdf.mid(body + 2, keyword - body - 2).simplified().split(' ');
    const qsizetype length = dictionary.indexOf("/Length");
    if (!dictionary.contains("/FlateDecode") || length < 0 || length + 3 >= dictionary.size() ||
        dictionary.at(length + 3) != "R")
        return {};
    std::optional<Edit> lengthEdit = numberObject(pdf, xref, dictionary.at(length + 1).toInt());
    if (!lengthEdit)
        return {};
    const qsizetype dataAt = keyword + 10;
    const qsizetype dataLength = pdf.mid(lengthEdit->at, lengthEdit->length).toLongLong();
    if (dataAt + dataLength > pdf.size())
        return {};
    const std::optional<QByteArray> content =
        inflated(QByteArrayView(pdf).sliced(dataAt, dataLength));
    if (!content)
        return {};
    int count = 0;
    const std::optional<QByteArray> data = deflated(mendFakedBoldContent(*content, &count));
    if (count == 0 || !data)
        return {};
    *mended += count;
    lengthEdit->with = QByteArray::number(data->size());
    return {*lengthEdit, Edit{dataAt, dataLength, *data}};
}
} // namespace

FakedBoldMend::FakedBoldMend(const QPaintDevice *device) : device_(device)
{
    mendedDevices().insert(device_);
}

FakedBoldMend::~FakedBoldMend()
{
    mendedDevices().remove(device_);
}

bool FakedBoldMend::on(const QPaintDevice *device)
{
    return mendedDevices().contains(device);
}

QByteArray mendFakedBoldContent(const QByteArray &content, int *mended)
{
    // QPdfWriter writes a text of a faked bold as
    //   q <its fill colour> BT /F9 67 Tf 1 0 0 -1 0 0 Tm <the glyphs>
    //   1 0 0 -1 0 0 Tm /Span << /ActualText <> >> BDC <the glyphs again, moved> EMC ET Q
    // and it becomes
    //   q <its fill colour> BT /F9 67 Tf 1 0 0 -1 0 0 Tm <stroke colour, width, joins> 2 Tr
    //   <the glyphs> ET Q
    QByteArray out;
    qsizetype copied = 0;
    int count = 0;
    for (qsizetype mark = content.indexOf(kSecondFill); mark >= 0;
         mark = content.indexOf(kSecondFill, mark + 1)) {
        const qsizetype begin = content.lastIndexOf("BT\n", mark);
        const qsizetype state = content.lastIndexOf("q\n", begin);
        const qsizetype textState = content.indexOf("Tm\n", begin) + 3;
        const qsizetype secondState = content.lastIndexOf('\n', mark - 2) + 1;
        const qsizetype end = content.indexOf("EMC\nET\n", mark);
        if (begin < copied || state < 0 || textState < 3 || textState > secondState || end < 0 ||
            content.indexOf("\nET\n", begin) != end + 3 ||
            !QByteArrayView(content).sliced(0, mark).endsWith("Tm\n"))
            continue;
        const std::optional<QByteArray> colour =
            strokeColour(QByteArrayView(content).sliced(state, begin - state));
        const std::optional<double> size =
            fontSize(QByteArrayView(content).sliced(begin + 3, textState - begin - 3));
        if (!colour || !size)
            continue;
        out += QByteArrayView(content).sliced(copied, textState - copied);
        out +=
            *colour + ' ' + QByteArray::number(*size * kOutlineShare, 'g', 6) + " w 1 J 1 j 2 Tr\n";
        out += QByteArrayView(content).sliced(textState, secondState - textState);
        copied = end + 4;
        ++count;
    }
    if (mended)
        *mended = count;
    if (count == 0)
        return content;
    return out += QByteArrayView(content).sliced(copied);
}

Result<QByteArray> mendFakedBold(const QByteArray &pdf, int *mended)
{
    Result<Xref> xref = readXref(pdf);
    if (!xref)
        return failure(xref.error());
    QList<Edit> edits;
    QSet<int> done;
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Contents"); at >= 0; at = pdf.indexOf("/Contents", at + 1)) {
        const qsizetype numberAt = skipSpace(pdf, at + 9);
        bool ok = false;
        const int number = pdf.mid(numberAt, digitsEnd(pdf, numberAt) - numberAt).toInt(&ok);
        if (!ok || done.contains(number))
            continue;
        done.insert(number);
        edits += mendPage(pdf, *xref, number, &count);
    }
    if (mended)
        *mended = count;
    return rewritten(pdf, *xref, edits);
}
