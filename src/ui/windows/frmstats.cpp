#include "windows/frmstats.h"

#include "engine/bank.h"
#include "engine/prompter.h"
#include "game/learnerstats.h"
#include "i18n/texttable.h"
#include "widgets/controls.h"
#include "windows/playclock.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {
QString timeOf(QList<qint64> seconds, bool median)
{
    if (seconds.isEmpty())
        return QStringLiteral("–");
    std::sort(seconds.begin(), seconds.end());
    return PlayClock::format(median ? seconds.at(seconds.size() / 2) : seconds.first());
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, const QRect &at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    return label;
}
} // namespace

Tfrmstats::Tfrmstats(LanguageContext &context, QWidget *parent, Prompter &prompter,
                     LearnerStats &stats, std::function<bool(const WordSet &)> start,
                     std::function<std::optional<WordSet>(const QString &)> list)
    : DialogBase(context, parent, {"frmstats", QStringLiteral("Statistics"), {460, 330}, false}),
      prompter_(prompter), stats_(stats), start_(std::move(start)), list_(std::move(list))
{
    caption(this, "Label1", QStringLiteral("Word list"), {12, 12, 100, 20});
    lists_ = new QComboBox(this);
    lists_->setObjectName(QStringLiteral("cblists"));
    lists_->setGeometry(120, 10, 220, 24);
    caption(this, "Label2", QStringLiteral("Games"), {12, 44, 200, 18});
    games_ = new QLabel(this);
    games_->setObjectName(QStringLiteral("lbgames"));
    games_->setGeometry(12, 64, 436, 92);
    games_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    games_->setTextFormat(Qt::PlainText);
    caption(this, "Label3", QStringLiteral("Words mixed up"), {12, 160, 300, 18});
    confused_ = new QListWidget(this);
    confused_->setObjectName(QStringLiteral("lbconfused"));
    confused_->setGeometry(12, 180, 328, 138);
    practise_ = addButton(this, "btpractise", QStringLiteral("Practise These"), {350, 180, 98, 28});
    auto *reset = addButton(this, "btreset", QStringLiteral("Reset"), {350, 214, 98, 28});
    auto *close = addButton(this, "btclose", QStringLiteral("Close"), {350, 290, 98, 28});
    close->setDefault(true);
    connect(lists_, &QComboBox::currentIndexChanged, this, &Tfrmstats::showlist);
    connect(practise_, &QPushButton::clicked, this, &Tfrmstats::btpractiseClick);
    connect(reset, &QPushButton::clicked, this, &Tfrmstats::btresetClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfrmstats::showEvent(QShowEvent *event)
{
    DialogBase::showEvent(event);
    refresh();
}

void Tfrmstats::refresh()
{
    const QString shown = lists_->currentText();
    QStringList titles = stats_.lists().keys();
    titles.sort();
    lists_->blockSignals(true);
    lists_->clear();
    lists_->addItems(titles);
    lists_->setCurrentIndex(std::max(0, int(titles.indexOf(shown))));
    lists_->blockSignals(false);
    showlist();
}

void Tfrmstats::showlist()
{
    const TextTables &t = texts();
    confused_->clear();
    const auto found = stats_.lists().constFind(lists_->currentText());
    if (found == stats_.lists().constEnd()) {
        games_->setText(t.uitext(QStringLiteral("msgstatsnone")));
        practise_->setEnabled(false);
        return;
    }
    QStringList lines;
    for (int level = 0; level < LearnerStats::kLevels; ++level) {
        if (found->started[level] == 0 && found->solved[level] == 0)
            continue;
        lines.append(
            t.uitext(QStringLiteral("msgstatslevel"))
                .arg(t.uitext(levelNameKey(level)))
                .arg(found->started[level])
                .arg(found->solved[level])
                .arg(timeOf(found->seconds[level], false), timeOf(found->seconds[level], true)));
    }
    games_->setText(lines.isEmpty() ? t.uitext(QStringLiteral("msgstatsnone"))
                                    : lines.join(QLatin1Char('\n')));
    for (const auto &[pair, count] : stats_.mostConfused(lists_->currentText(), 20))
        confused_->addItem(
            t.uitext(QStringLiteral("msgstatspair")).arg(pair.first, pair.second).arg(count));
    practise_->setEnabled(practiseSet().has_value());
}

std::optional<WordSet> Tfrmstats::practiseSet() const
{
    const QString title = lists_->currentText();
    QStringList words;
    for (const auto &[pair, count] : stats_.mostConfused(title, 100))
        for (const QString &word : {pair.second, pair.first})
            if (!words.contains(word) && words.size() < WordSet::kWords)
                words.append(word);
    if (words.isEmpty())
        return std::nullopt;
    if (const std::optional<WordSet> list = list_ ? list_(title) : std::nullopt)
        for (const Word &word : list->words)
            if (!words.contains(word.text.trimmed()) && words.size() < WordSet::kWords)
                words.append(word.text.trimmed());
    if (words.size() < WordSet::kWords)
        return std::nullopt;
    return WordSet::fromTexts(texts().uitext(QStringLiteral("msgpractisetitle")).arg(title), words);
}

void Tfrmstats::btpractiseClick()
{
    if (const std::optional<WordSet> set = practiseSet(); set && start_ && start_(*set))
        accept();
}

void Tfrmstats::btresetClick()
{
    if (!prompter_.confirm(texts().uitext(QStringLiteral("msgstatsreset"))))
        return;
    stats_.reset();
    if (const Status saved = stats_.save(); !saved)
        prompter_.inform(saved.error());
    refresh();
}
