#pragma once

#include "listdialogs/shareclient.h"

#include "text/result.h"
#include "widgets/dialogbase.h"

class TextTables;
struct ShareValueProblem;

class Prompter;
class QLabel;
class QLineEdit;
class QPushButton;
class Tfrmwordlist;

// The submit dialog: sends the list the Word List dialog shows, with the player's name, to the
// sharing service in one GET. The name is remembered whenever the dialog closes.
class Tfrmsubmit : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmsubmit)

public:
    // opener: the window it is centred on. wordlist: the Word List dialog, whose shown list is
    // sent. base: the service's base address.
    Tfrmsubmit(LanguageContext &context, QWidget *opener, const Tfrmwordlist &wordlist,
               Prompter &prompter, QString base);

    QLineEdit *edtname() const { return edtname_; }
    const QString &base() const { return base_; }
    // How long a request may take in all before it counts as failed.
    void settimeout(int ms) { timeout_ = ms; }
    // True while a request is on its way; the dialog takes no input then.
    bool sending() const { return sending_; }

    // Submit Now: refuses a list the service would refuse, naming the text that is wrong;
    // otherwise waits for the reply, keeping the windows painted, and closes on success. A
    // failure shows the service's reason, when it gave one, under the message.
    void Button1Click();

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Sends the address; succeeds when the service accepted it. A failure's reason is the
    // service's own (empty when it gave none), or says that the network component is missing.
    Status send(const QByteArray &address);
    // What the service would refuse, in the player's language.
    static QString problemtext(const TextTables &texts, const ShareValueProblem &problem);

    const Tfrmwordlist &wordlist_;
    Prompter &prompter_;
    QString base_;
    int timeout_ = kShareTimeoutMs;
    bool sending_ = false;
    std::unique_ptr<ShareClient> client_; // loaded at the first submission

    QLabel *label1_;
    QLineEdit *edtname_;
};
