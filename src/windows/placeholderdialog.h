#pragma once

#include <QDialog>

// A dialog that stands in, with its name and caption, for one that is not built yet.
class PlaceholderDialog : public QDialog {
    Q_OBJECT

public:
    PlaceholderDialog(QWidget *parent, const QString &name, const QString &caption);
};
