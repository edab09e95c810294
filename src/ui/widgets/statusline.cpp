#include "widgets/statusline.h"

#include "i18n/texttable.h"

#include <QLabel>

namespace {
const QColor kStatusColor(0xFF, 0xBC, 0x79);
}

StatusLine::StatusLine(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setAutoFillBackground(true);
    // Placed by hand: the bar's own layout leaves 14 of its 19 pixels to a panel, less than a
    // line of the CJK faces needs.
    panel_ = new QLabel(this);
    panel_->setGeometry(0, 0, 550, 19);
    panel_->setIndent(4);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("sbtime"));
    time_->setGeometry(552, 0, 104, 19);
    time_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString StatusLine::time() const
{
    return time_->text();
}

void StatusLine::setTime(const QString &text)
{
    if (text != time_->text())
        time_->setText(text);
}

QString StatusLine::text() const
{
    return panel_->text();
}

void StatusLine::say(const QString &text)
{
    key_.clear();
    arg_.clear();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kStatusColor);
    setPalette(pal);
    // Dark text on the orange whatever the desktop's colours.
    QPalette ink = panel_->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    panel_->setPalette(ink);
    panel_->setText(text);
}

void StatusLine::sayKey(const TextTables &texts, const QString &key, const QString &arg)
{
    const QString text = texts.uitext(key);
    say(arg.isEmpty() ? text : text.arg(arg));
    key_ = key;
    arg_ = arg;
}

void StatusLine::clearText()
{
    panel_->clear();
}

void StatusLine::reset()
{
    key_.clear();
    arg_.clear();
    setPalette(QPalette());
    panel_->setPalette(QPalette());
    panel_->clear();
}

void StatusLine::retranslate(const TextTables &texts)
{
    if (key_.isEmpty() || panel_->text().isEmpty())
        return;
    const QString text = texts.uitext(key_);
    panel_->setText(arg_.isEmpty() ? text : text.arg(arg_));
}
