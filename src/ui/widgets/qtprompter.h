#pragma once

#include "engine/prompter.h"

// Message boxes on the screen, over whatever window is active.
class QtPrompter : public Prompter {
public:
    void inform(const QString &text, const QString &title = {}) override;
    bool confirm(const QString &text, const QString &title = {}) override;
    CheckedAnswer confirmChecked(const QString &text, const QString &checkText,
                                 const QString &title = {}) override;
    QString openFileName(const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &folder, const QString &filter,
                         const QString &suffix) override;
};
