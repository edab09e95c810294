#pragma once

#include "listdialogs/shareclient.h"
#include "wordlists/sharedpage.h"

#include "widgets/dialogbase.h"

#include <array>

class Prompter;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class WordListStore;

// The shared word lists dialog: loads the service's page of published lists in the background,
// shows each with its publisher, and adds the chosen one to the player's lists.
class Twebwordlist : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Twebwordlist)

public:
    // opener: the Word List dialog, which it is centred on. base: the service's base address.
    Twebwordlist(LanguageContext &context, QWidget *opener, Prompter &prompter,
                 WordListStore &store, QString base);

    const QString &base() const { return base_; }
    void settimeout(int ms) { timeout_ = ms; }

    // Asks for the lists' JSON, or for the page where the service had none, and returns at once. A
    // load still on its way is dropped: the page that arrives is always the latest one asked for.
    // Without the network component it says so and returns false.
    bool startloading();
    // A page has arrived: its displayed lines replace the lists, open or closed.
    void pagearrived(const QStringList &lines);
    // The lists' JSON has arrived, with the words' readings and meanings: the same.
    void listsarrived(const QList<SharedRecord> &records);

    const SharedPage &page() const { return page_; }
    QListWidget *wl() const { return wl_; }
    // Box 0 is the title, boxes 1..9 the words.
    QLineEdit *box(int n) const { return w_[n]; }
    QLineEdit *edtpub() const { return edtpub_; }
    // The notice beside Close: empty, or why the lists shown are not the whole page.
    QLabel *label3() const { return label3_; }

    void showrecord(int k);
    void BitBtn1Click(); // Add

signals:
    // The store gained a list at its end.
    void listadded();
    // A load ended; false when nothing arrived (no connection, no 2xx, a redirect, too slow or
    // too large) and the lists stay as they were. A page cut at the service's cap, or one too
    // large to read, is named in Label3.
    void pageloaded(bool arrived);

private:
    void replyfinished(const ShareAnswer &answer);
    // The JSON's answer: shown when it is understood, else the page is asked for.
    void listsfinished(const ShareAnswer &answer);
    void showpage(SharedPage page);
    // Label3 names how many lists the service holds when it sent fewer.
    void notetotal(const ShareAnswer &answer);
    void getpage();

    Prompter &prompter_;
    WordListStore &store_;
    QString base_;
    int timeout_ = kShareTimeoutMs;
    std::unique_ptr<ShareClient> client_; // loaded at the first load
    SharedPage page_;
    bool pageonly_ = false; // the service answered that it has no JSON of the lists

    QListWidget *wl_;
    std::array<QLineEdit *, 10> w_{};
    QLineEdit *edtpub_;
    QPushButton *add_;
    QLabel *label3_;
};
