#include "print/pdfedits.h"

#include <QByteArrayView>

#include <algorithm>
#include <cctype>

namespace pdfedits {

qsizetype skipSpace(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() && std::isspace(uchar(bytes.at(at))))
        ++at;
    return at;
}

qsizetype digitsEnd(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() && std::isdigit(uchar(bytes.at(at))))
        ++at;
    return at;
}

Result<Xref> readXref(const QByteArray &pdf)
{
    const auto broken = [] { return failure("the cross-reference table cannot be read"); };
    Xref xref;
    const qsizetype keyword = pdf.lastIndexOf("startxref");
    if (keyword < 0)
        return broken();
    xref.valueAt = skipSpace(pdf, keyword + 9);
    xref.valueLength = digitsEnd(pdf, xref.valueAt) - xref.valueAt;
    bool ok = false;
    xref.tableAt = pdf.mid(xref.valueAt, xref.valueLength).toLongLong(&ok);
    if (!ok || xref.tableAt < 0 ||
        !QByteArrayView(pdf).sliced(std::min<qint64>(xref.tableAt, pdf.size())).startsWith("xref"))
        return broken();
    qsizetype at = skipSpace(pdf, xref.tableAt + 4);
    while (at < pdf.size() && std::isdigit(uchar(pdf.at(at)))) {
        const qsizetype firstEnd = digitsEnd(pdf, at);
        const int first = pdf.mid(at, firstEnd - at).toInt();
        const qsizetype countAt = skipSpace(pdf, firstEnd), countEnd = digitsEnd(pdf, countAt);
        const int count = pdf.mid(countAt, countEnd - countAt).toInt(&ok);
        if (!ok || count < 0)
            return broken();
        at = skipSpace(pdf, countEnd);
        if (at + qsizetype(count) * 20 > pdf.size())
            return broken();
        for (int n = 0; n < count; ++n, at += 20) {
            const qint64 offset = pdf.mid(at, 10).toLongLong(&ok);
            if (!ok)
                return broken();
            if (pdf.at(at + 17) == 'n')
                xref.objects.insert(first + n, {at, offset});
        }
        at = skipSpace(pdf, at);
    }
    // Each object must start where the table says: an earlier revision would be missed.
    if (!QByteArrayView(pdf).sliced(std::min(at, pdf.size())).startsWith("trailer") ||
        pdf.indexOf("/Prev", at) >= 0)
        return broken();
    return xref;
}

qsizetype objectBody(const QByteArray &pdf, const Xref &xref, int number)
{
    const auto entry = xref.objects.constFind(number);
    if (entry == xref.objects.constEnd() || entry->offset >= pdf.size())
        return -1;
    const QByteArray head = QByteArray::number(number) + " 0 obj";
    if (!QByteArrayView(pdf).sliced(entry->offset).startsWith(head))
        return -1;
    const qsizetype body = skipSpace(pdf, entry->offset + head.size());
    return QByteArrayView(pdf).sliced(body).startsWith("<<") ? body : -1;
}

namespace {
QByteArray applied(const QByteArray &bytes, QList<Edit> edits)
{
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.at < b.at; });
    QByteArray out;
    qsizetype grows = 0;
    for (const Edit &edit : edits)
        grows += edit.with.size() - edit.length;
    out.reserve(bytes.size() + grows);
    qsizetype copied = 0;
    for (const Edit &edit : edits) {
        out += QByteArrayView(bytes).sliced(copied, edit.at - copied);
        out += edit.with;
        copied = edit.at + edit.length;
    }
    return out += QByteArrayView(bytes).sliced(copied);
}
} // namespace

QByteArray rewritten(const QByteArray &pdf, const Xref &xref, const QList<Edit> &edits)
{
    if (edits.isEmpty())
        return pdf;
    QList<Edit> sorted = edits;
    std::sort(sorted.begin(), sorted.end(),
              [](const Edit &a, const Edit &b) { return a.at < b.at; });
    // What the edits before each one add: where a byte of the old file lands in the new one.
    QList<qint64> shifts;
    shifts.reserve(sorted.size() + 1);
    shifts.append(0);
    for (const Edit &edit : std::as_const(sorted))
        shifts.append(shifts.constLast() + edit.with.size() - edit.length);
    const auto moved = [&](qint64 at) {
        const auto after =
            std::lower_bound(sorted.cbegin(), sorted.cend(), at,
                             [](const Edit &edit, qint64 at) { return edit.at < at; });
        return at + shifts.at(after - sorted.cbegin());
    };
    QList<Edit> all = sorted;
    for (const XrefEntry &entry : std::as_const(xref.objects))
        all.append({entry.at, 10, QByteArray::number(moved(entry.offset)).rightJustified(10, '0')});
    all.append({xref.valueAt, xref.valueLength, QByteArray::number(moved(xref.tableAt))});
    return applied(pdf, all);
}

} // namespace pdfedits
