#include "print/printpage.h"

#include "print/pagepainter.h"
#include "print/printsudoku.h"
#include "widgets/translate.h"

#include <QLabel>

#include <algorithm>

PrintPage::PrintPage(const QString &name, QSize panelSize, QWidget *owner)
    : QWidget(owner, Qt::Window), panel_(new QWidget(this)), panelSize_(panelSize)
{
    setObjectName(name);
    // Should anything show the page, nothing appears on the screen.
    setAttribute(Qt::WA_DontShowOnScreen);
    setFont(QFont(QStringLiteral("MS Sans Serif")));
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    setPalette(paper);
    resize(panelSize);
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setGeometry(QRect(QPoint(0, 0), panelSize));
    panel_->setAutoFillBackground(true);
}

QLabel *PrintPage::addLabel(const char *name, const QRect &rect, int pixels, bool bold,
                            Qt::Alignment alignment)
{
    auto *label = new QLabel(panel_);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void PrintPage::addBoard(const QRect &rect)
{
    board_ = new Tprintsudoku(panel_);
    board_->setObjectName(QStringLiteral("printsudoku1"));
    board_->setGeometry(rect);
}

void PrintPage::addLabel1(const QRect &rect, int pixels)
{
    label1_ = addLabel("Label1", rect, pixels, true);
}

void PrintPage::placeWordBank(const WordSet &words, QPoint topLeft, int width)
{
    const QStringList entries = WordBank::entries(words);
    if (bank_)
        bank_->hide();
    resize(panelSize_);
    panel_->resize(panelSize_);
    if (entries.isEmpty())
        return;
    if (!bank_) {
        bank_ = new WordBank(panel_);
        bank_->setObjectName(QStringLiteral("wordbank"));
    }
    // Down to where the parts, as wide as they are, would fill the sheet's length.
    const QRect parts = pageContent(panel_);
    const int foot = parts.top() + int(parts.width() * kSheetAspect);
    bank_->arrange(entries, width, foot - topLeft.y());
    bank_->move(topLeft);
    bank_->show();
    const QSize grown(panelSize_.width(),
                      std::max(panelSize_.height(), bank_->geometry().bottom() + 1));
    resize(grown);
    panel_->resize(grown);
}

void PrintPage::translate(const TextTables &texts)
{
    translateform(this, texts);
    if (label1_)
        label1_->adjustSize();
}
