#include "widgets/fonts.h"

#include <QFont>
#include <QStringList>

QFont dialogFont(int points)
{
    return QFont(QStringLiteral("Tahoma"), points);
}

void installFontSubstitutes()
{
    // Kai faces first, then a serif CJK face that covers both Chinese and Japanese.
    QFont::insertSubstitutions(QStringLiteral("simkai"),
                               {QStringLiteral("KaiTi"), QStringLiteral("STKaiti"),
                                QStringLiteral("AR PL UKai CN"),
                                QStringLiteral("Noto Serif CJK SC")});
    // The windows were laid out for Tahoma; a face of Arial's widths keeps texts inside them.
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}
