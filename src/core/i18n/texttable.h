#pragma once

#include "appinfo.h"

#include <QString>
#include <QStringList>

#include <array>

// The application title: the main window's caption, and the start of it while a game is in play.
inline QString applicationTitle()
{
    return QString::fromLatin1(appinfo::kName);
}

// An ordered list of lines; a line "key=value" is an entry (key before the first "="), any
// other line is carried along but is no entry.
class TextTable {
public:
    TextTable() = default;
    explicit TextTable(QStringList lines) : lines_(std::move(lines)) {}
    // Splits at LF, dropping a CR before it.
    static TextTable fromText(const QString &text);

    const QStringList &lines() const { return lines_; }
    QStringList &lines() { return lines_; }

    // Value of the first entry whose key equals key, letter case ignored; empty when absent.
    QString value(const QString &key) const;
    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    // Line number of the first entry with that key (letter case ignored), or -1.
    int indexOf(const QString &key) const;

    static QString keyOf(const QString &line);   // empty for a line without "="
    static QString valueOf(const QString &line); // everything after the first "="

private:
    QStringList lines_;
};

// The three built-in tables, the current table vl that every lookup reads, and langid.
class TextTables {
public:
    static constexpr int kLanguages = 3;

    // Loads the built-in tables from the embedded data; vl starts as a copy of English.
    TextTables();

    QString uitext(const QString &key) const { return vl_.value(key); }

    // Copies the table of langid into vl; any other langid leaves vl as it is.
    void selectLanguage();

    int langid() const { return langid_; }
    void setLangid(int id) { langid_ = id; }

    TextTable &vl() { return vl_; }
    const TextTable &vl() const { return vl_; }
    TextTable &lang(int n) { return langs_.at(n); }
    const TextTable &lang(int n) const { return langs_.at(n); }

private:
    std::array<TextTable, kLanguages> langs_;
    TextTable vl_;
    int langid_ = 0;
};
