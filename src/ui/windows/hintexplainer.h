#pragma once

#include "engine/explain.h"

#include <QObject>
#include <QString>

class TaaForm1;

// Hint with its reason, and Ctrl+Shift+H: the next step explained in the status bar, its cell
// and the cells that prove it marked on the board; nothing placed and no undo step. The
// sentence is said again in the new language while it is still on show.
class HintExplainer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(HintExplainer)

public:
    explicit HintExplainer(TaaForm1 *window);

    // Hint as the rules give it, then why the cell it filled holds that word.
    void hint();
    void explainNext();
    // The status bar still shows an explanation.
    bool showing() const;

private:
    void say(const Explanation &explanation);
    // The marks of an earlier explanation go, so that they never reach the undo history.
    void clearMarks();

    TaaForm1 *window_;
    Explanation last_;
    QString said_;
};
