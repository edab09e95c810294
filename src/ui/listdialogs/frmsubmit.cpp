#include "listdialogs/frmsubmit.h"

#include "wordlists/sharelimits.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "listdialogs/frmwordlist.h"
#include "storage/settings.h"
#include "text/textrules.h"
#include "widgets/components.h"
#include "widgets/controls.h"
#include "wordlists/shareaddress.h"
#include "wordlists/shareprotocol.h"
#include "wordlists/wordliststore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

Tfrmsubmit::Tfrmsubmit(LanguageContext &context, QWidget *opener, const Tfrmwordlist &wordlist,
                       Prompter &prompter, QString base)
    // The application title until the first showing relabels it from the text table.
    : DialogBase(context, opener, {"frmsubmit", applicationTitle(), {253, 105}}),
      wordlist_(wordlist), prompter_(prompter), base_(std::move(base))
{
    label1_ = new QLabel(QStringLiteral("Please Enter Your Name"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(30, 12, 193, 16);
    edtname_ = new QLineEdit(context_.settings().submittername, this);
    edtname_->setObjectName(QStringLiteral("edtname"));
    edtname_->setGeometry(30, 34, 193, 21);
    auto *submit = addButton(this, "Button1", QStringLiteral("Submit Now"), {78, 68, 97, 25});
    submit->setDefault(true);

    connect(submit, &QPushButton::clicked, this, &Tfrmsubmit::Button1Click);
}

void Tfrmsubmit::Button1Click()
{
    if (sending_)
        return;
    const QString name = edtname_->text();
    if (trimmedBlanks(name).isEmpty()) {
        prompter_.inform(label1_->text());
        edtname_->setFocus();
        return;
    }
    const TextTables &texts = context_.texts();
    // The readings and meanings go along, those of the player's language where the glossary
    // has several.
    const WordSet list = wordlist_.shownGlossed(texts.langid());

    const QString failed = texts.uitext(QStringLiteral("frmsubmit.msgerror"));
    // What the service would refuse is not sent; the player learns which text is wrong.
    for (const int field : shareprotocol::submissionfields()) {
        const QString text = sharefieldvalue(list, name, field);
        if (const auto checked = checksharevalue(field, text); !checked) {
            prompter_.inform(failed + u'\n' + problemtext(texts, checked.error()));
            return;
        }
    }
    if (const Status sent = send(submitaddress(base_, list, name)); !sent) {
        const QString &reason = sent.error();
        prompter_.inform(reason.isEmpty() ? failed : failed + u'\n' + reason);
        return;
    }
    prompter_.inform(texts.uitext(QStringLiteral("frmsubmit.msgok")));
    accept();
}

QString Tfrmsubmit::problemtext(const TextTables &texts, const ShareValueProblem &problem)
{
    const int word = glossedword(problem.field);
    const QString field =
        problem.field == 0 ? texts.uitext(QStringLiteral("frmsubmit.msgfieldtitle"))
        : isreadingfield(problem.field)
            ? texts.uitext(QStringLiteral("frmsubmit.msgfieldreading")).arg(word)
        : ismeaningfield(problem.field)
            ? texts.uitext(QStringLiteral("frmsubmit.msgfieldmeaning")).arg(word)
        : problem.field == kShareNameField
            ? texts.uitext(QStringLiteral("frmsubmit.msgfieldname"))
            : texts.uitext(QStringLiteral("frmsubmit.msgfieldword")).arg(problem.field);
    switch (problem.kind) {
    case ShareValueProblem::Kind::Empty:
        return texts.uitext(QStringLiteral("frmsubmit.msgempty")).arg(field);
    case ShareValueProblem::Kind::Control:
        return texts.uitext(QStringLiteral("frmsubmit.msgcontrol")).arg(field);
    case ShareValueProblem::Kind::TooLong:
        break;
    }
    return texts.uitext(QStringLiteral("frmsubmit.msgtoolong")).arg(field).arg(problem.limit);
}

Status Tfrmsubmit::send(const QByteArray &address)
{
    if (!client_)
        client_ = loadshareclient();
    if (!client_)
        return failure(missingcomponent(context_.texts(), kNetworkComponent));
    // Qt escapes the few characters that may not stand raw in a URL (" \ ^ ` { | }) once more
    // on the wire; the service reads the same text either way.
    const ShareFields fields{{"Accept", "text/html, */*"},
                             {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"}};

    // The player waits for the answer, but the windows keep painting: the dialog takes no input
    // meanwhile, and every other window is already held off by it.
    const QPointer<QWidget> focus = focusWidget();
    sending_ = true;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    ShareAnswer answer;
    bool ended = false;
    client_->get(QUrl::fromEncoded(address), fields, timeout_, kShareReplyLimit,
                 [&](const ShareAnswer &got) {
                     answer = got;
                     ended = true;
                     loop.quit();
                 });
    if (!ended)
        loop.exec();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    sending_ = false;
    if (focus)
        focus->setFocus();
    if (!answer.succeeded)
        return failure(answer.reason);
    return {};
}

void Tfrmsubmit::done(int result)
{
    context_.settings().submittername = edtname_->text();
    QDialog::done(result);
}

void Tfrmsubmit::closeEvent(QCloseEvent *event)
{
    if (sending_) {
        event->ignore(); // the request's outcome decides whether it closes
        return;
    }
    QDialog::closeEvent(event);
}
