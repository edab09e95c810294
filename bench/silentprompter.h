#pragma once

#include "engine/prompter.h"

// Says nothing and answers Yes: the benchmarks time the rules, not questions.
class SilentPrompter : public Prompter {
public:
    void inform(const QString &, const QString &) override {}
    bool confirm(const QString &, const QString &) override { return true; }
    CheckedAnswer confirmChecked(const QString &, const QString &, const QString &) override
    {
        return {true, false};
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};
