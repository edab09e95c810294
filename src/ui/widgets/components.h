#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class TextTables;

// The program's optional parts (printing, the network client) are plugins loaded when first
// used, so that their Qt libraries stay out of the start-up.

// The folders a component is looked for in, in order: beside the program, then (installed on
// Linux) the program's library folder.
QStringList componentfolders();
// Replaces those folders; an empty list restores them (the tests point them at the build tree).
void setcomponentfolders(const QStringList &folders);

// The file name of component name on this system: vaskelio-print.so, vaskelio-print.dll.
QString componentfile(const QString &name);

// What the player is told when component name cannot be loaded, naming its file.
QString missingcomponent(const TextTables &texts, const char *name);

// The root object of component name from the first folder that holds it, or null when none
// does or it cannot be loaded. A component stays loaded; asking again returns the same object.
QObject *loadcomponent(const QString &name);

// Component name cast to its interface, or null.
template<typename Interface> Interface *loadcomponent(const QString &name)
{
    return qobject_cast<Interface *>(loadcomponent(name));
}
