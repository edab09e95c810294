#pragma once

#include "i18n/texttable.h"

class QWidget;

// The relabelling sweep visits the window's descendants depth first in creation order (each
// child, then its own children), widgets and actions alike, but does not enter a child that is a
// window of its own (a dialog parented to the main window relabels itself) nor a RadioGroup's
// unnamed item buttons. Per named component, with the key "<prefix><objectName>":
//   ".caption"  button, tool button, action: text; label: text; group box: title;
//               page of a tab widget: its tab text
//   ".hint"     tooltip and status tip
//   ".memotext" whole text of a QPlainTextEdit, a QTextEdit or a word-wrapped QLabel
//   ".itemN"    item N of a RadioGroup (translateform only); the selection stays
// An empty value leaves the component as it is.

// Copies the table of langid into vl (another langid keeps vl), titles the main window with the
// application title and relabels its components, keys without prefix. Radio-group items are left.
void applylanguage(QWidget *mainWindow, TextTables &tables);

// Relabels a window other than the main one from vl, keys prefixed with its objectName and ".",
// then titles it with "<objectName>.caption" when that is not empty.
void translateform(QWidget *window, const TextTables &tables);
