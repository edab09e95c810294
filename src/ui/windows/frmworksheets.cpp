#include "windows/frmworksheets.h"

#include "engine/bank.h"
#include "engine/classset.h"
#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "print/worksheets.h"
#include "storage/settings.h"
#include "widgets/controls.h"
#include "widgets/savefile.h"
#include "wordlists/wordliststore.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {
const char *const kShadingKeys[] = {"frmworksheets.shadecolour", "frmworksheets.shadegrey",
                                    "frmworksheets.shadenone"};

// The stored list that is the one in play: the same title and words, else the same words. The
// game's words carry readings and meanings, the stored ones texts only.
int positionOf(const WordListStore &store, const WordSet &inPlay)
{
    const QStringList words = inPlay.texts();
    for (int position = 1; position <= store.Count(); ++position)
        if (store.Get(position).title == inPlay.title && store.Get(position).texts() == words)
            return position;
    for (int position = 1; position <= store.Count(); ++position)
        if (store.Get(position).texts() == words)
            return position;
    return 0;
}

QLabel *addCaption(QWidget *parent, const char *name, const QString &text, const QRect &rect)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    return label;
}
} // namespace

Tfrmworksheets::Tfrmworksheets(LanguageContext &context, QWidget *parent, Prompter &prompter,
                               WordListStore &store)
    : DialogBase(context, parent, {"frmworksheets", QStringLiteral("Worksheets"), {330, 180}}),
      prompter_(prompter), store_(store), levels_(new QComboBox(this)), lists_(new QComboBox(this)),
      count_(new QSpinBox(this)), shading_(new QComboBox(this))
{
    addCaption(this, "lblevel", QStringLiteral("Level:"), {12, 14, 110, 22});
    addCaption(this, "lblist", QStringLiteral("Word list:"), {12, 44, 110, 22});
    addCaption(this, "lbcount", QStringLiteral("Number of sheets:"), {12, 74, 110, 22});
    addCaption(this, "lbshading", QStringLiteral("Shading:"), {12, 104, 110, 22});
    levels_->setObjectName(QStringLiteral("cblevel"));
    levels_->setGeometry(126, 12, 190, 24);
    lists_->setObjectName(QStringLiteral("cblist"));
    lists_->setGeometry(126, 42, 190, 24);
    count_->setObjectName(QStringLiteral("secount"));
    count_->setGeometry(126, 72, 80, 24);
    count_->setRange(1, kMaxClassSetSize);
    count_->setValue(30);
    shading_->setObjectName(QStringLiteral("cbshading"));
    shading_->setGeometry(126, 102, 190, 24);
    for (const char *key : kShadingKeys)
        shading_->addItem(QString::fromLatin1(key));
    for (int level = 0; level < PuzzleBank::kLevels; ++level)
        levels_->addItem(levelNameKey(level));
    auto *ok = addButton(this, "btok", QStringLiteral("Save as PDF..."), {126, 142, 110, 27});
    auto *cancel = addButton(this, "btcancel", QStringLiteral("Cancel"), {242, 142, 75, 27});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrmworksheets::btokClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrmworksheets::showEvent(QShowEvent *event)
{
    // The level names follow the language; the lists may have changed since the last time.
    for (int level = 0; level < PuzzleBank::kLevels; ++level)
        levels_->setItemText(level, context_.uitext(levelNameKey(level)));
    for (int k = 0; k < shading_->count(); ++k)
        shading_->setItemText(k, context_.uitext(QString::fromLatin1(kShadingKeys[k])));
    // First the level of the last new game; after that, what the dialog last held.
    if (!shown_)
        levels_->setCurrentIndex(qBound(0, context_.settings().newgamelevel, 4));
    shown_ = true;
    const QString chosen = lists_->currentText();
    lists_->clear();
    for (int position = 1; position <= store_.Count(); ++position)
        lists_->addItem(store_.Get(position).title);
    int position = lists_->findText(chosen) + 1;
    if (const std::optional<WordSet> inPlay = inPlay_ ? inPlay_() : std::nullopt)
        if (const int found = positionOf(store_, *inPlay))
            position = found;
    lists_->setCurrentIndex(qMax(0, position - 1));
    DialogBase::showEvent(event);
}

void Tfrmworksheets::btokClick()
{
    // The word bank in the language of the dialog's texts.
    WordSet list = store_.Get(lists_->currentIndex() + 1);
    store_.glossary().fill(list, texts().langid());
    const QString file =
        askPdfFile(prompter_, QDir::homePath(), list.title, QStringLiteral("worksheets"), texts());
    if (file.isEmpty())
        return;
    WorksheetSet set;
    set.level = levels_->currentIndex();
    set.words = list;
    set.count = count_->value();
    set.shading = Shading(shading_->currentIndex());
    if (const Status written = writeWorksheets(file, set, texts()); !written) {
        prompter_.inform(context_.uitext(QStringLiteral("msgpdfnotwritten")) + QLatin1Char('\n') +
                         written.error());
        return;
    }
    accept();
    emit saved(file);
}
