#pragma once

#include <QString>

// Everything the program asks of the user or tells them goes through here, so that a test can
// answer a question and read the message that was shown.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A plain message with one OK button.
    virtual void inform(const QString &text, const QString &title = {}) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(const QString &text, const QString &title = {}) = 0;
    // The same question with a check box under it, such as "Don't ask again".
    struct CheckedAnswer {
        bool yes = false;
        bool checked = false;
    };
    virtual CheckedAnswer confirmChecked(const QString &text, const QString &checkText,
                                         const QString &title = {}) = 0;
    // A file to read, starting in folder; empty when the user cancels.
    virtual QString openFileName(const QString &folder, const QString &filter) = 0;
    // A file to write, starting in folder; suffix is added to a name typed without one. The
    // caller asks about overwriting. Empty when the user cancels.
    virtual QString saveFileName(const QString &folder, const QString &filter,
                                 const QString &suffix) = 0;
};
