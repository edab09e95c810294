#include "listdialogs/frmappend.h"

#include "listdialogs/wordboxes.h"
#include "widgets/controls.h"

#include "text/textrules.h"
#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "storage/settings.h"
#include "text/textrules.h"
#include "wordlists/storereport.h"
#include "wordlists/wordliststore.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Tfrmappend::Tfrmappend(LanguageContext &context, QWidget *opener, Prompter &prompter,
                       WordListStore &store)
    // The caption is the application title in every language: no text key names it.
    : DialogBase(context, opener, {"frmappend", applicationTitle(), {344, 193}}),
      prompter_(prompter), store_(store)
{
    auto *group = new QGroupBox(QStringLiteral("Input a word in each of the boxes below"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 8, 328, 136);
    w_ = addWordBoxes(group, {{11, 23}, {62, 19, 164, 21}, {11, 120, 229}, {53, 78, 104}}, false);

    auto *save = addButton(this, "Button1", QStringLiteral("Save"), {93, 155, 75, 25});
    auto *cancel = addButton(this, "Button2", QStringLiteral("Cancel"), {176, 155, 75, 25});
    save->setDefault(true);

    connect(save, &QPushButton::clicked, this, &Tfrmappend::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrmappend::setappend()
{
    mode_ = Mode::Append;
    position_ = 0;
    for (QLineEdit *box : w_)
        box->clear();
}

void Tfrmappend::setedit(int position)
{
    mode_ = Mode::Edit;
    position_ = position;
    showWords(w_, store_.Get(position));
}

void Tfrmappend::Button1Click()
{
    const TextTables &texts = context_.texts();
    // Trimmed for this test only: the list keeps what was typed.
    for (QLineEdit *box : w_) {
        if (isBlankWord(box->text())) {
            prompter_.inform(texts.uitext(QStringLiteral("frmappend.msgcomplete")));
            box->setFocus();
            return;
        }
    }
    // A control character would show as nothing, or break a line of a file or a page.
    for (QLineEdit *box : w_) {
        if (holdsControl(box->text())) {
            prompter_.inform(texts.uitext(QStringLiteral("frmappend.msgcontrol")));
            box->setFocus();
            return;
        }
    }
    const WordSet list = boxedWords(w_);

    if (mode_ == Mode::Append && store_.Find(list.title)) {
        prompter_.inform(texts.uitext(QStringLiteral("msgexist")));
        return;
    }
    const StoreResult result =
        mode_ == Mode::Append ? store_.Add(list) : store_.Replace(position_, list);
    if (!reportstorechange(prompter_, texts, result))
        return;
    accept();
}
