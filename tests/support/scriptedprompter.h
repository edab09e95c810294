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
    // Answered from answers as confirm is; the box is ticked when checks says so.
    CheckedAnswer confirmChecked(const QString &text, const QString &checkText,
                                 const QString &title = {}) override
    {
        checkTexts.append(checkText);
        const bool yes = confirm(text, title);
        return {yes, !checks.isEmpty() && checks.dequeue()};
    }

    QString openFileName(const QString &folder, const QString &filter) override
    {
        folders.append(folder);
        filters.append(filter);
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
        checkTexts.clear();
    }

    QQueue<bool> answers;
    QQueue<bool> checks;   // the check boxes of confirmChecked; none left means unticked
    QQueue<QString> files; // answers to file dialogs; none left means Cancel
    QStringList folders;   // where each file dialog started
    QStringList filters;   // what each open dialog offered
    QStringList messages;
    QStringList questions;
    QStringList titles;
    QStringList checkTexts; // the check box of each confirmChecked, in order
};
