#pragma once

#include "text/result.h"

#include "i18n/texttable.h"

#include <QTabWidget>
#include <QTableWidget>

class QLineEdit;
class RadioGroup;

// A key/value grid over one text table: keys read-only, values edited in place straight into
// the table.
class TableGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TableGrid)

public:
    TableGrid(TextTable &table, const QString &valueTitle, QWidget *parent = nullptr);
    // Shows the table's lines again, keeping the current row where it still exists.
    void reload();
    TextTable &table() { return table_; }

private:
    void valueEdited(int row, int column);

    TextTable &table_;
    bool reloading_ = false;
};

// The maintainers' editor of the text tables, behind F12: the current table, the three built-in
// ones, and a Chinese/English pair of working tables that Save writes to lang1.txt and
// lang0.txt in the working folder and Open reads back from the program's folder.
class TranslationEditor : public QTabWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TranslationEditor)

public:
    TranslationEditor(TextTables &tables, QString programFolder, QWidget *parent = nullptr);

    TextTable &zw() { return zw_; }
    TextTable &yw() { return yw_; }
    TableGrid *grid(const char *name) const;
    RadioGroup *languages() const { return radioGroup1_; }
    QLineEdit *keyBox() const { return edtname_; }

    // Shows every table as it stands now.
    void reloadAll();
    // The language switch follows the program's, and a shown page its new current table.
    void followLanguage(int langid);
    // F12: shown at its size on every table as it stands, or hidden again.
    void toggle();

    // The commands of the tools page; false (with the reason) when a file failed.
    Status Button1Click();           // Save
    Status OpenClick();              // Open
    void Button2Click();             // Append the key in edtname to both working tables
    void loadall(QWidget *aboutBox); // append all hint
    void Button4Click();             // Delete the current entry of both working tables
    void zwClick();

signals:
    // The user picked a language on the tools page.
    void languageChosen(int langid);
    void appendAllHintsRequested();
    void failed(const QString &message);

private:
    TextTables &tables_;
    QString programFolder_;
    TextTable zw_;
    TextTable yw_;
    TableGrid *vl_;
    TableGrid *zwGrid_;
    TableGrid *ywGrid_;
    QList<TableGrid *> grids_;
    QLineEdit *edtname_;
    RadioGroup *radioGroup1_;
};
