#pragma once

#include <QString>
#include <QStringView>

// The text of the named character reference "&name;" as Qt's HTML reader reads it (the names of
// HTML 4 and a few more); empty for a name it does not know. The NamedReference of the program's
// shared page. Needs the GUI application object, as every text document does.
QString htmlreference(QStringView name);
