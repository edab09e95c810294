#pragma once

#include <QStatusBar>

class QLabel;
class TextTables;

// The main window's status bar: one line of text on orange, or nothing on the desktop's colour.
// A line said from a text-table key is said again in the new language when the language changes.
class StatusLine : public QStatusBar {
    Q_OBJECT
    Q_DISABLE_COPY(StatusLine)

public:
    explicit StatusLine(QWidget *parent = nullptr);

    QString text() const;
    void say(const QString &text);
    // The text of key, with arg in its %1.
    void sayKey(const TextTables &texts, const QString &key, const QString &arg = {});
    // The line said now comes from key, as the tool buttons' hints do.
    void setKey(const QString &key) { key_ = key; }
    // The text only; the colour stays until reset.
    void clearText();
    void reset();
    void retranslate(const TextTables &texts);
    // The time played, at the right; none for an empty text.
    QString time() const;
    void setTime(const QString &text);

private:
    QLabel *panel_;
    QLabel *time_;
    QString key_;
    QString arg_;
};
