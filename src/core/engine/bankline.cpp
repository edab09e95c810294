#include "engine/bankline.h"

namespace bankline {

std::optional<Cell> cellOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'1' && u <= u'9')
        return Cell{true, u - u'0'};
    if (u >= u'A' && u <= u'I')
        return Cell{false, u - u'A' + 1};
    return std::nullopt;
}

char charOf(bool given, int value)
{
    return char((given ? '0' : 'A' - 1) + value);
}

Result<Puzzle> decode(QByteArrayView line)
{
    for (qsizetype p = 0; p < line.size(); ++p) {
        const auto c = static_cast<unsigned char>(line.at(p));
        if (c < 0x20 || c >= 0x7F)
            return failure(QStringLiteral("byte 0x%1 at position %2 is not printable ASCII")
                               .arg(QString::number(c, 16).toUpper().rightJustified(2, u'0'))
                               .arg(p + 1));
    }
    if (line.size() != kCells)
        return failure(QStringLiteral("%1 characters, 81 expected").arg(line.size()));
    Puzzle puzzle;
    for (int p = 0; p < kCells; ++p) {
        const auto cell = cellOf(QLatin1Char(line.at(p)));
        if (!cell)
            return failure(QStringLiteral("'%1' at position %2 is not one of 1-9 or A-I")
                               .arg(QLatin1Char(line.at(p)))
                               .arg(p + 1));
        puzzle.solution[p] = std::uint8_t(cell->value);
        if (cell->given)
            puzzle.givens[p] = std::uint8_t(cell->value);
    }
    return puzzle;
}

QByteArray encode(const Grid &givens, const Grid &solution)
{
    QByteArray line(kCells, '?');
    for (int p = 0; p < kCells; ++p)
        line[p] = givens[p] ? charOf(true, givens[p]) : charOf(false, solution[p]);
    return line;
}

QByteArray firstLine(int level)
{
    switch (level) {
    case 0:
        return "568241IGC3D29F71HEIG158CB4F4A5CI8762H967BE3147B34A6598154FC9H27287A54639639H7B451";
    case 1:
        return "5682D1IGC3D29FG1HEIG158CB4F4AECI8762H96GBE31D7B34A6598154FCIH27287A54639639H7B451";
    case 2:
        return "5682D1IGC3DB9FG1HEIG158CB4F4AECI8762H9FGBE3AD7B34A65981E4FCIH27287A5D639639H7B451";
    case 4:
        return "DGI3EB18FH26DAGCIEEAC9HFBDGI47H2CFEAFCH5DA9GBBEAF7IDCHGIEA64H2C3FBGIH5AD1HDBCEGFI";
    default:
        return {};
    }
}

} // namespace bankline
