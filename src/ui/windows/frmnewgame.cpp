#include "windows/frmnewgame.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "listdialogs/wordboxes.h"
#include "storage/settings.h"
#include "text/textrules.h"
#include "widgets/controls.h"
#include "widgets/radiogroup.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

Tfrmnewgame::Tfrmnewgame(LanguageContext &context, QWidget *parent, Prompter &prompter,
                         Starter starter)
    : DialogBase(context, parent, {"frmnewgame", QStringLiteral("New Game"), {428, 271}}),
      prompter_(prompter), start_(std::move(starter))
{

    radioGroup1_ =
        new RadioGroup(QStringLiteral("Select Level"),
                       {QStringLiteral("Easy"), QStringLiteral("Standard"), QStringLiteral("Hard"),
                        QStringLiteral("Expert"), QStringLiteral("Extreme")},
                       5, this);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1_->setGeometry(13, 8, 402, 54);

    auto *start = addButton(this, "BitBtn1", QStringLiteral("Start New Game"), {104, 230, 98, 25});
    auto *cancel = addButton(this, "BitBtn2", QStringLiteral("Cancel"), {226, 230, 98, 25});

    auto *group = new QGroupBox(QStringLiteral("Input a word in each of the boxes below"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(13, 78, 402, 136);
    w_ = addWordBoxes(group, {{11, 23}, {62, 19, 164, 21}, {11, 119, 220}, {53, 78, 104}}, false);
    auto *load = addButton(group, "Button1", QStringLiteral("Load"), {318, 52, 75, 25});
    auto *clear = addButton(group, "Button3", QStringLiteral("Clear"), {318, 79, 75, 25});

    setTabOrder(radioGroup1_, start);
    setTabOrder(start, cancel);
    setTabOrder(cancel, w_[0]);
    for (int n = 0; n < 9; ++n)
        setTabOrder(w_[n], w_[n + 1]);
    setTabOrder(w_[9], load);
    setTabOrder(load, clear);

    const SettingsState &remembered = context_.settings();
    radioGroup1_->setItemIndex(remembered.newgamelevel);
    // Before any words are remembered (a first start), the palette's own, so that Start deals
    // a game at once instead of asking for nine words.
    WordSet shown = remembered.newgamewords;
    const bool none = std::all_of(shown.words.begin(), shown.words.end(),
                                  [](const Word &word) { return isEmptyText(word.text); });
    for (int k = 1; none && k <= WordSet::kWords; ++k)
        shown.setText(k, context_.uitext(QStringLiteral("sz%1").arg(k)));
    setWords(shown);

    connect(start, &QPushButton::clicked, this, &Tfrmnewgame::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(load, &QPushButton::clicked, this, &Tfrmnewgame::Button1Click);
    connect(clear, &QPushButton::clicked, this, &Tfrmnewgame::Button3Click);
}

WordSet Tfrmnewgame::words() const
{
    return boxedWords(w_);
}

void Tfrmnewgame::setWords(const WordSet &words)
{
    showWords(w_, words);
}

int Tfrmnewgame::firstEmptyBox() const
{
    for (int k = 1; k <= 9; ++k)
        if (isBlankWord(w_[k]->text()))
            return k;
    return 0;
}

bool Tfrmnewgame::checkcomplete()
{
    const int k = firstEmptyBox();
    if (k == 0)
        return true;
    prompter_.inform(context_.uitext(QStringLiteral("frmnewgame.msgcomplete")));
    w_[k]->setFocus();
    return false;
}

void Tfrmnewgame::BitBtn1Click()
{
    if (!checkcomplete())
        return;
    if (!start_(radioGroup1_->itemIndex(), words()))
        return;
    accept();
}

void Tfrmnewgame::Button3Click()
{
    for (QLineEdit *box : w_)
        box->clear();
}

void Tfrmnewgame::Button1Click()
{
    if (wordList_)
        wordList_->exec();
}

void Tfrmnewgame::done(int result)
{
    SettingsState &remembered = context_.settings();
    remembered.newgamelevel = radioGroup1_->itemIndex();
    remembered.newgamewords = words();
    QDialog::done(result);
}

void Tfrmnewgame::keyPressEvent(QKeyEvent *event)
{
    // Esc does not close this dialog, nor Enter press a button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
