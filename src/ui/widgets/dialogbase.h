#pragma once

#include <QDialog>
#include <QObject>
#include <QSize>

class TextTables;
struct SettingsState;

// What a window needs of the program besides its own controls: the text tables, the values the
// settings carry between runs, and word that the language changed, so that the main window and
// every dialog relabel without knowing one another.
class LanguageContext : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(LanguageContext)

public:
    LanguageContext(TextTables &texts, SettingsState &settings, QObject *parent = nullptr);

    TextTables &texts() const { return texts_; }
    SettingsState &settings() const { return settings_; }
    QString uitext(const QString &key) const;

    // Puts the language in force and tells every listener.
    void setLanguage(int langid);
    // F1, F2 and F3 in the window switch the language; the window relabels itself at once.
    void addLanguageKeys(QWidget *window);

signals:
    void languageChanged();

private:
    TextTables &texts_;
    SettingsState &settings_;
};

// The frame the program's dialogs share: title bar with a close box, object name (the text-table
// prefix), English title, fixed size, the dialog font, the language keys, and relabelling from
// the text tables each time it is shown.
class DialogBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(DialogBase)

public:
    struct Shape {
        const char *name;
        QString title;
        QSize size;
        bool minimizable = false;
        // The Solution window keeps the application font and its English labels.
        bool dialogFont = true;
        bool relabelOnShow = true;
    };

    DialogBase(LanguageContext &context, QWidget *parent, const Shape &shape);

protected:
    void showEvent(QShowEvent *event) override;
    const TextTables &texts() const { return context_.texts(); }

    LanguageContext &context_;

private:
    bool relabelOnShow_;
};
