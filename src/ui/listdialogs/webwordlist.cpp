#include "listdialogs/webwordlist.h"

#include "listdialogs/wordboxes.h"
#include "widgets/components.h"
#include "widgets/controls.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "listdialogs/htmlreference.h"
#include "storage/settings.h"
#include "text/textrules.h"
#include "wordlists/shareaddress.h"
#include "wordlists/sharelimits.h"
#include "wordlists/storereport.h"
#include "wordlists/wordliststore.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

Twebwordlist::Twebwordlist(LanguageContext &context, QWidget *opener, Prompter &prompter,
                           WordListStore &store, QString base)
    : DialogBase(context, opener,
                 {"webwordlist", QStringLiteral("Word Sheet of Share List"), {480, 231}}),
      prompter_(prompter), store_(store), base_(std::move(base))
{

    // The titles on the left, the shown record on the right, the button bar (41 high) below.
    wl_ = new QListWidget(this);
    wl_->setObjectName(QStringLiteral("wl"));
    wl_->setGeometry(0, 0, 189, 190);

    auto *shown = new QWidget(this);
    shown->setObjectName(QStringLiteral("Panel2"));
    shown->setGeometry(191, 0, 289, 190);
    w_ = addWordBoxes(shown, kShownList, true);
    auto *label2 = new QLabel(QStringLiteral("Publisher:"), shown);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->move(8, 146);
    edtpub_ = new QLineEdit(shown);
    edtpub_->setObjectName(QStringLiteral("edtpub"));
    edtpub_->setReadOnly(true);
    edtpub_->setGeometry(62, 142, 114, 21);
    add_ = addButton(shown, "BitBtn1", QStringLiteral("Add"), {194, 140, 87, 25});
    // Nothing to add before a first record has been shown.
    add_->setEnabled(false);

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setGeometry(0, 190, 480, 41);
    auto *close = addButton(bar, "BitBtn2", QStringLiteral("Close"), {402, 8, 70, 25});
    // Says when the page was cut at the service's cap or refused for its size.
    label3_ = new QLabel(bar);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setGeometry(8, 12, 388, 17);

    connect(wl_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showrecord(row);
    });
    connect(add_, &QPushButton::clicked, this, &Twebwordlist::BitBtn1Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool Twebwordlist::startloading()
{
    if (!client_)
        client_ = loadshareclient();
    if (!client_) {
        prompter_.inform(missingcomponent(context_.texts(), kNetworkComponent));
        return false;
    }
    client_->cancel(); // the end of an older load is not taken for the page
    label3_->clear();  // a note about the last page does not belong to the next
    if (pageonly_) {
        getpage();
        return true;
    }
    client_->get(QUrl(sharelistsaddress(base_)), {}, timeout_, kShareListsLimit,
                 [this](const ShareAnswer &answer) { listsfinished(answer); });
    return true;
}

void Twebwordlist::getpage()
{
    client_->get(QUrl(sharepageaddress(base_)), {}, timeout_, kSharePageLimit,
                 [this](const ShareAnswer &answer) { replyfinished(answer); });
}

void Twebwordlist::notetotal(const ShareAnswer &answer)
{
    // The service holds more lists than it sent: it names how many in all.
    bool known = false;
    const qint64 total = answer.header("X-Total-Count").toLongLong(&known);
    label3_->setText(
        known && total > page_.count()
            ? context_.uitext(QStringLiteral("webwordlist.msgcut")).arg(page_.count()).arg(total)
            : QString());
}

void Twebwordlist::listsfinished(const ShareAnswer &answer)
{
    if (answer.succeeded) {
        if (const std::optional<QList<SharedRecord>> records = parsesharedlists(answer.body)) {
            listsarrived(*records);
            notetotal(answer);
            emit pageloaded(true);
            return;
        }
    }
    // Nothing came at all: the page would fare no better.
    if (answer.status == 0 && !answer.tooLarge) {
        emit pageloaded(false);
        return;
    }
    // An older service, or something in its place that does not speak the JSON.
    if (answer.status == 404)
        pageonly_ = true;
    getpage();
}

void Twebwordlist::replyfinished(const ShareAnswer &answer)
{
    if (answer.succeeded) {
        pagearrived(pagelines(answer.body, answer.header("Content-Type"), htmlreference));
        notetotal(answer);
    } else if (answer.tooLarge) {
        label3_->setText(context_.uitext(QStringLiteral("webwordlist.msgtoolarge"))
                             .arg(kSharePageLimit / (1024 * 1024)));
    }
    emit pageloaded(answer.succeeded);
}

void Twebwordlist::pagearrived(const QStringList &lines)
{
    showpage(SharedPage::fromlines(lines));
}

void Twebwordlist::listsarrived(const QList<SharedRecord> &records)
{
    showpage(SharedPage::fromrecords(records));
}

void Twebwordlist::showpage(SharedPage page)
{
    page_ = std::move(page);
    {
        const QSignalBlocker quiet(wl_);
        wl_->clear();
        for (int k = 0; k < page_.count(); ++k)
            wl_->addItem(page_.title(k));
    }
    // An empty page leaves the fields with the last record shown.
    if (page_.count() > 0)
        showrecord(0);
}

void Twebwordlist::showrecord(int k)
{
    if (k < 0 || k >= page_.count())
        return;
    {
        const QSignalBlocker quiet(wl_);
        wl_->setCurrentRow(k);
    }
    // A short last record leaves the fields whose lines are missing as they were.
    for (int n = 0; n <= 9; ++n)
        if (const std::optional<QString> line = page_.line(k, n))
            w_[n]->setText(*line);
    if (const std::optional<QString> publisher = page_.line(k, SharedPage::kLines - 1))
        edtpub_->setText(*publisher);
    add_->setEnabled(true);
}

void Twebwordlist::BitBtn1Click()
{
    const TextTables &texts = context_.texts();
    WordSet list = boxedWords(w_);
    list.title = trimmedBlanks(list.title).toString();
    // The readings and meanings the record brought go into the glossary with the list.
    if (const int k = wl_->currentRow(); k >= 0 && k < page_.count())
        for (int n = 1; n <= WordSet::kWords; ++n)
            if (const Word word = page_.word(k, n); word.text == list.text(n))
                list.words[n - 1] = word;
    w_[0]->setText(list.title);
    if (store_.Find(list.title)) {
        prompter_.inform(texts.uitext(QStringLiteral("msgexist")));
        return;
    }
    if (!reportstorechange(prompter_, texts, store_.Add(list)))
        return;
    emit listadded();
    prompter_.inform(texts.uitext(QStringLiteral("msgaddsuccess")));
}
