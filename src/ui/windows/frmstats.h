#pragma once

#include "engine/wordset.h"
#include "widgets/dialogbase.h"

#include <functional>
#include <optional>

class LearnerStats;
class Prompter;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The Statistics window: for a word list, the games started and solved at each level with the
// best and median time, and the words most often mixed up; Practise These starts a game on
// them, Reset clears the record.
class Tfrmstats : public DialogBase {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmstats)

public:
    // start deals a game of the words at the New Game dialog's level; list finds a list's
    // words by its title.
    Tfrmstats(LanguageContext &context, QWidget *parent, Prompter &prompter, LearnerStats &stats,
              std::function<bool(const WordSet &)> start,
              std::function<std::optional<WordSet>(const QString &)> list);

    QComboBox *lists() const { return lists_; }
    QLabel *games() const { return games_; }
    QListWidget *confused() const { return confused_; }
    // The nine words to practise for the list shown: the most mixed up first, then the list's
    // own; none when there are not nine.
    std::optional<WordSet> practiseSet() const;
    void btpractiseClick();
    void btresetClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The lists of the record, the one shown before still shown.
    void refresh();
    void showlist();

    Prompter &prompter_;
    LearnerStats &stats_;
    std::function<bool(const WordSet &)> start_;
    std::function<std::optional<WordSet>(const QString &)> list_;
    QComboBox *lists_;
    QLabel *games_;
    QListWidget *confused_;
    QPushButton *practise_;
};
