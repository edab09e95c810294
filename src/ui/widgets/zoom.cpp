#include "widgets/zoom.h"

#include <QtGlobal>

namespace {
const char kVariable[] = "QT_SCALE_FACTOR";
bool applied = false;
bool hadOuter = false;
QByteArray outerFactor;
} // namespace

QByteArray zoomedScaleFactor(int percent, const QByteArray &outer)
{
    if (percent == 100 || percent <= 0)
        return outer;
    bool ok = false;
    double factor = outer.trimmed().toDouble(&ok);
    if (!ok || factor <= 0)
        factor = 1;
    return QByteArray::number(factor * percent / 100, 'g', 6);
}

void applyZoom(int percent)
{
    if (percent == 100)
        return;
    hadOuter = qEnvironmentVariableIsSet(kVariable);
    outerFactor = qgetenv(kVariable);
    applied = true;
    qputenv(kVariable, zoomedScaleFactor(percent, outerFactor));
}

void restoreScaleFactor()
{
    if (!applied)
        return;
    if (hadOuter)
        qputenv(kVariable, outerFactor);
    else
        qunsetenv(kVariable);
    applied = false;
}
