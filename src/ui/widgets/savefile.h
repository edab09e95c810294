#pragma once

#include <QString>

class Prompter;
class TextTables;

// Asks where to save: the dialog starts at start (a folder, or a file name in one) with filter,
// suffix added to a name typed without one, and a file already there is replaced only when the
// user says so. Empty when the user cancels either question.
QString askSaveFile(Prompter &prompter, const QString &start, const QString &filter,
                    const QString &suffix, const TextTables &texts);

// The same for a PDF in folder, named after the title ("/" made "_", fallback when the title
// is blank).
QString askPdfFile(Prompter &prompter, const QString &folder, const QString &title,
                   const QString &fallback, const TextTables &texts);
