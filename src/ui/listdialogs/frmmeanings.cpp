#include "listdialogs/frmmeanings.h"

#include "widgets/controls.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "speech/spokenword.h"
#include "text/textrules.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
constexpr int kRowHeight = 22;

QString &field(Word &word, int column)
{
    return column == 0 ? word.reading : word.meaning;
}
const QString &field(const Word &word, int column)
{
    return column == 0 ? word.reading : word.meaning;
}
} // namespace

Tfrmmeanings::Tfrmmeanings(LanguageContext &context, QWidget *opener, Prompter &prompter)
    : DialogBase(context, opener,
                 {"frmmeanings", QStringLiteral("Readings and Meanings"), {440, 278}}),
      prompter_(prompter)
{
    // Nine rows of 22 under the column headers, with no scrolling.
    grid_ = new QTableWidget(WordSet::kWords, 2, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setGeometry(8, 8, 424, 228);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 120);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not F2, which switches the language.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::AnyKeyPressed);
    grid_->setTabKeyNavigation(false);

    // In the corner left of OK: the language is the list's, not a word's.
    auto *label = new QLabel(QStringLiteral("Spoken in:"), this);
    label->setObjectName(QStringLiteral("lblanguage"));
    label->setGeometry(8, 248, 100, 20);
    languages_ = new QComboBox(this);
    languages_->setObjectName(QStringLiteral("cblanguage"));
    languages_->setGeometry(110, 245, 156, 25);
    label->setBuddy(languages_);
    languages_->addItem(QString(), QString());
    for (const QString &language : speechlanguages())
        languages_->addItem(languagename(language), language);
    setHeaders();
    setwords({});

    auto *ok = addButton(this, "Button1", QStringLiteral("OK"), {274, 245, 75, 25});
    auto *cancel = addButton(this, "Button2", QStringLiteral("Cancel"), {357, 245, 75, 25});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrmmeanings::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&context_, &LanguageContext::languageChanged, this, &Tfrmmeanings::setHeaders);
    // A kana reading typed under kanji makes the list Japanese.
    connect(grid_, &QTableWidget::itemChanged, this, &Tfrmmeanings::nameAutomatic);
}

void Tfrmmeanings::setHeaders()
{
    grid_->setHorizontalHeaderLabels({texts().uitext(QStringLiteral("frmmeanings.reading")),
                                      texts().uitext(QStringLiteral("frmmeanings.meaning"))});
    nameAutomatic();
}

void Tfrmmeanings::nameAutomatic()
{
    const QString told = detectedlanguage(words());
    languages_->setItemText(
        0,
        told.isEmpty()
            ? texts().uitext(QStringLiteral("frmmeanings.automatic"))
            : texts().uitext(QStringLiteral("frmmeanings.automaticnamed")).arg(languagename(told)));
}

void Tfrmmeanings::chooseLanguage(const QString &language)
{
    // Automatic, then the languages offered; then one the last list brought.
    while (languages_->count() > 1 + speechlanguages().size())
        languages_->removeItem(languages_->count() - 1);
    int index = languages_->findData(language);
    // One an import brought that is not offered is shown too, and kept.
    if (index < 0) {
        languages_->addItem(languagename(language), language);
        index = languages_->count() - 1;
    }
    languages_->setCurrentIndex(index);
}

void Tfrmmeanings::showEvent(QShowEvent *event)
{
    setHeaders();
    DialogBase::showEvent(event);
}

void Tfrmmeanings::setwords(const WordSet &words)
{
    shown_ = words;
    // The grid is refilled item by item: Automatic is named once, when it is whole.
    const QSignalBlocker quiet(grid_);
    for (int row = 0; row < WordSet::kWords; ++row) {
        const Word &word = words.words[row];
        const bool blank = isBlankWord(word.text);
        // A blank word has nothing to be the meaning of: its row shows its number only.
        auto *header = new QTableWidgetItem(blank ? QString::number(row + 1) : word.text);
        header->setToolTip(word.text);
        grid_->setVerticalHeaderItem(row, header);
        for (int column = 0; column < 2; ++column) {
            auto *item = new QTableWidgetItem(field(word, column));
            if (blank)
                item->setFlags(item->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsEnabled));
            grid_->setItem(row, column, item);
        }
    }
    grid_->setCurrentCell(0, 0);
    chooseLanguage(words.language);
    nameAutomatic();
}

WordSet Tfrmmeanings::words() const
{
    WordSet words = shown_;
    for (int row = 0; row < WordSet::kWords; ++row)
        for (int column = 0; column < 2; ++column)
            if (const QTableWidgetItem *item = grid_->item(row, column))
                field(words.words[row], column) = item->text();
    words.language = languages_->currentData().toString();
    return words;
}

void Tfrmmeanings::Button1Click()
{
    for (int row = 0; row < WordSet::kWords; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QString text = grid_->item(row, column)->text();
            QString refusal;
            // As for the words: a control character would break a line of a page or a file.
            if (holdsControl(text))
                refusal = texts().uitext(QStringLiteral("frmmeanings.msgcontrol"));
            // What the glossary held already, from an import, stays as it is.
            else if (text.size() > kMaxLength && text != field(shown_.words[row], column))
                refusal = texts().uitext(QStringLiteral("frmmeanings.msglong")).arg(kMaxLength);
            if (refusal.isEmpty())
                continue;
            prompter_.inform(refusal);
            grid_->setCurrentCell(row, column);
            grid_->setFocus();
            return;
        }
    }
    accept();
}
