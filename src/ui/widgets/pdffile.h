#pragma once

#include <QString>

class Prompter;
class TextTables;

// Asks where to save a PDF: the dialog starts in folder on the title as file name ("/" made "_",
// fallback when the title is blank), and a file already there is replaced only when the user
// says so. Empty when the user cancels either question.
QString askPdfFile(Prompter &prompter, const QString &folder, const QString &title,
                   const QString &fallback, const TextTables &texts);
