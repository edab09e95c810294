#pragma once

#include "engine/wordset.h"
#include "importers/wordimport.h"
#include "widgets/dialogbase.h"

#include <array>

class Prompter;
class QAction;
class QLineEdit;
class QListWidget;
class QPushButton;
class Tfrmappend;
class Tfrmsubmit;
class Twebwordlist;
class WordListStore;

// The Word List dialog: picks the list the New Game dialog gets, and appends, edits and deletes
// the user's lists. It shows the store and keeps no list data of its own.
class Tfrmwordlist : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmwordlist)

public:
    // Loads the store; a file that cannot be read is reported here, once. opener: the New Game
    // dialog, which opens this one and is its parent.
    Tfrmwordlist(LanguageContext &context, QWidget *opener, Prompter &prompter,
                 WordListStore &store);

    // The Append dialog, created after this one.
    void setAppendDialog(Tfrmappend *dialog) { append_ = dialog; }
    // The submit and shared word lists dialogs, created after the Append dialog. A list that
    // the latter adds is shown here at once.
    void setShareDialogs(Tfrmsubmit *submit, Twebwordlist *shared);

    QListWidget *wl() const { return wl_; }
    // Box 0 is the shown title, boxes 1..9 the shown words.
    QLineEdit *box(int n) const { return w_[n]; }
    WordSet shownWords() const;
    // The shown list with the glossary's readings and meanings, in the language langid.
    WordSet shownGlossed(int langid) const;
    // The shown position p.
    int position() const { return p_; }

    void showposition(int p);
    // The store gained a list at its end: its title joins wl, and it is shown.
    void showadded();

    void btaddClick();
    void bteditClick();
    void btdelClick();
    void Button1Click();  // From Share List
    void btsubmitClick(); // Share Your List
    void BitBtn1Click();  // OK
    // The context menu of wl: lists from and to a CSV or tab-separated file; import also takes
    // a learner's flash cards (importers/wordimport.h).
    void importlistsClick();
    void exportlistsClick();
    // Those two as actions, which the buttons btimport and btexport and the main window offer.
    QAction *importAction() const { return importer_; }
    QAction *exportAction() const { return exporter_; }

signals:
    // OK: the shown title and nine words, for the New Game dialog's boxes.
    void chosen(const WordSet &words);

private:
    // Checks what a file to import holds, with a progress dialog when that takes long.
    ImportOutcome checkfile(const ImportSource &source);

    Prompter &prompter_;
    WordListStore &store_;
    Tfrmappend *append_ = nullptr;
    Tfrmsubmit *submit_ = nullptr;
    Twebwordlist *shared_ = nullptr;
    int p_ = 1;
    QString exchangeFolder_; // where the last import or export file was

    QListWidget *wl_;
    std::array<QLineEdit *, 10> w_{};
    QPushButton *btdel_;
    QPushButton *btedit_;
    QPushButton *btsubmit_;
    QAction *importer_;
    QAction *exporter_;
};
