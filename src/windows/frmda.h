#pragma once

#include <QDialog>

class KeyPreview;
class TQJ;
class TaaForm1;
class Ttntstdsudoku;
struct ProgramState;

// The Solution window: the whole solution of the game in play on a board of its own, which
// takes no pointer input.
class Tfrmda : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(Tfrmda)

public:
    explicit Tfrmda(TaaForm1 &main);

    Ttntstdsudoku *board() const { return board_; }
    // Fills all 81 cells from the model and the nine words.
    void showsolution(const TQJ &model, const QStringList &words);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TaaForm1 &main_;
    Ttntstdsudoku *board_;
};
