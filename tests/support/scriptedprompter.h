#pragma once

#include "engine/prompter.h"

#include <QQueue>
#include <QStringList>

// Answers questions from a script and keeps every text it was shown. An unscripted question
// is answered No, the answer that changes nothing.
class ScriptedPrompter : public Prompter {
public:
    void inform(const QString &text, const QString &title = {}) override
    {
        messages.append(text);
        titles.append(title);
    }
    bool confirm(const QString &text, const QString &title = {}) override
    {
        questions.append(text);
        titles.append(title);
        return answers.isEmpty() ? false : answers.dequeue();
    }

    void clear()
    {
        messages.clear();
        questions.clear();
        titles.clear();
    }

    QQueue<bool> answers;
    QStringList messages;
    QStringList questions;
    QStringList titles;
};
