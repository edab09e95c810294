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
};
