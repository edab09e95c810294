#include "board/cellaccessible.h"

#include "board/tntcell.h"
#include "board/tntstdsudoku.h"

#include <QAccessibleWidget>

namespace {
class CellAccessible : public QAccessibleWidget {
public:
    explicit CellAccessible(TTntcell *cell) : QAccessibleWidget(cell, QAccessible::Cell) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *cell = static_cast<const TTntcell *>(widget());
        const auto *board = qobject_cast<const Ttntstdsudoku *>(cell->parentWidget());
        switch (t) {
        case QAccessible::Name:
            if (!cell->accessibleName().isEmpty())
                return cell->accessibleName();
            return board ? board->spokenName(cell->column(), cell->row()) : cell->text().trimmed();
        case QAccessible::Value:
            return board ? board->spokenValue(cell->column(), cell->row()) : cell->text().trimmed();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const auto *cell = static_cast<const TTntcell *>(widget());
        s.readOnly = cell->isfixed();
        // The cells take no focus of their own; the keyboard's cell stands for the board's.
        s.focusable = true;
        s.focused = cell->isCursor() && cell->parentWidget() && cell->parentWidget()->hasFocus();
        return s;
    }
};

QAccessibleInterface *cellFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TTntcell") && object && object->isWidgetType())
        return new CellAccessible(static_cast<TTntcell *>(object));
    return nullptr;
}
} // namespace

void installCellAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(cellFactory);
        return true;
    }();
    (void)installed;
}
