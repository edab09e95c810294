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

    QString openFileName(const QString &folder, const QString &) override
    {
        folders.append(folder);
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString saveFileName(const QString &folder, const QString &, const QString &) override
    {
        folders.append(folder);
        return files.isEmpty() ? QString() : files.dequeue();
    }

    void clear()
    {
        messages.clear();
        questions.clear();
        titles.clear();
    }

    QQueue<bool> answers;
    QQueue<QString> files; // answers to file dialogs; none left means Cancel
    QStringList folders;   // where each file dialog started
    QStringList messages;
    QStringList questions;
    QStringList titles;
};
