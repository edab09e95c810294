#include "listdialogs/frmappend.h"

#include "listdialogs/frmmeanings.h"
#include "listdialogs/wordboxes.h"
#include "widgets/controls.h"

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
    // In the free corner left of Save, under the group box's left edge.
    auto *meanings = addButton(this, "btmeanings", QStringLiteral("Meanings…"), {8, 155, 77, 25});
    meanings_ = new Tfrmmeanings(context, this, prompter);

    connect(save, &QPushButton::clicked, this, &Tfrmappend::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(meanings, &QPushButton::clicked, this, &Tfrmappend::btmeaningsClick);
}

void Tfrmappend::setappend()
{
    mode_ = Mode::Append;
    position_ = 0;
    edits_.clear();
    language_.reset();
    for (QLineEdit *box : w_)
        box->clear();
}

void Tfrmappend::setedit(int position)
{
    mode_ = Mode::Edit;
    position_ = position;
    edits_.clear();
    language_.reset();
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
    const WordSet list = editedWords();

    if (mode_ == Mode::Append && store_.Find(list.title)) {
        prompter_.inform(texts.uitext(QStringLiteral("msgexist")));
        return;
    }
    const StoreResult result =
        mode_ == Mode::Append ? store_.Add(list) : store_.Replace(position_, list);
    if (!reportstorechange(prompter_, texts, result))
        return;
    // The store records only the readings and meanings given, and a language named; an emptied
    // one, or Automatic chosen, is an edit too. Words not edited here stay out, so the seed's
    // meanings by language stay the seed's.
    if (!edits_.isEmpty() || language_) {
        WordSet edited;
        if (language_) {
            edited.title = list.title;
            edited.language = *language_;
        }
        for (int k = 0; k < WordSet::kWords; ++k)
            if (edits_.contains(list.words[k].text.trimmed()))
                edited.words[k] = list.words[k];
        // The list is saved: a failure here is told, and the dialog closes all the same.
        reportstorechange(prompter_, texts, store_.editGlosses(edited));
    }
    accept();
}

WordSet Tfrmappend::editedWords() const
{
    WordSet words = boxedWords(w_);
    for (Word &word : words.words) {
        const auto edit = edits_.constFind(word.text.trimmed());
        if (edit == edits_.constEnd())
            continue;
        word.reading = edit->reading;
        word.meaning = edit->meaning;
    }
    words.language = language_ ? *language_ : storedLanguage();
    return words;
}

QString Tfrmappend::storedLanguage() const
{
    return store_.glossary().language(mode_ == Mode::Edit ? store_.Get(position_).title
                                                          : w_[0]->text());
}

void Tfrmappend::btmeaningsClick()
{
    const int langid = context_.texts().langid();
    const Glossary &glossary = store_.glossary();
    WordSet words = editedWords();
    for (Word &word : words.words) {
        if (edits_.contains(word.text.trimmed()))
            continue;
        const Gloss gloss = glossary.find(word.text, langid);
        word.reading = gloss.reading;
        word.meaning = gloss.meaning;
    }
    meanings_->setwords(words);
    if (meanings_->exec() != QDialog::Accepted)
        return;
    const WordSet edited = meanings_->words();
    for (const Word &word : edited.words) {
        const QString key = word.text.trimmed();
        if (key.isEmpty())
            continue;
        // The glossary trims what it keeps; a row left as the glossary has it is no edit.
        const Gloss gloss{word.reading.trimmed(), word.meaning.trimmed()};
        if (gloss == glossary.find(word.text, langid))
            edits_.remove(key);
        else
            edits_.insert(key, gloss);
    }
    if (edited.language == storedLanguage())
        language_.reset();
    else
        language_ = edited.language;
}
