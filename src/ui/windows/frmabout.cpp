#include "windows/frmabout.h"

#include "appinfo.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"

#include <QLabel>
#include <QPushButton>

const QString Tfrmabout::kWebAddress = QStringLiteral("https://www.vaskelio.org/");
const QString Tfrmabout::kSupportAddress = QStringLiteral("support@vaskelio.org");

namespace {
// The texts stand on the white picture, so their colours may not follow a dark desktop.
void inkOnWhite(QLabel *label)
{
    QPalette ink = label->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    ink.setColor(QPalette::Link, QColor(0x00, 0x00, 0xCC));
    label->setPalette(ink);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(at);
    l->adjustSize();
    inkOnWhite(l);
    return l;
}
} // namespace

Tfrmabout::Tfrmabout(LanguageContext &context, QWidget *parent, Prompter &prompter)
    : DialogBase(context, parent, {"frmabout", QString::fromLatin1(appinfo::kName), {420, 299}}),
      prompter_(prompter)
{

    // The picture is decoded when the box first shows (showEvent), not at start-up.
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setGeometry(0, 0, 425, 312);

    QLabel *name = label(this, "Label1", QString::fromLatin1(appinfo::kName), {245, 28});
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->adjustSize();
    label(this, "Label2", QStringLiteral("Version ") + QLatin1String(appinfo::kVersion), {292, 43});
    auto *link =
        new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#0000cc\">www.vaskelio.org</a>")
                       .arg(kWebAddress),
                   this);
    link->setObjectName(QStringLiteral("LinkLabel1"));
    link->setGeometry(249, 67, 145, 17);
    link->setOpenExternalLinks(true);
    inkOnWhite(link);
    label(this, "Label4", kSupportAddress, {255, 83});
    // The 17-clue puzzles are used under CC BY 2.5, which asks for this line.
    auto *credits = new QLabel(
        QStringLiteral("17-clue puzzles from Gordon Royle's collection (University of Western "
                       "Australia), CC BY 2.5."),
        this);
    credits->setObjectName(QStringLiteral("credits"));
    credits->setWordWrap(true);
    inkOnWhite(credits);
    credits->setGeometry(235, 150, 175, 60);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btok"));
    ok->setGeometry(329, 259, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Beside OK, on the artwork's free corner: the keys, which no label here has room for.
    auto *keys = new QPushButton(QStringLiteral("Keys..."), this);
    keys->setObjectName(QStringLiteral("btkeys"));
    keys->setGeometry(245, 259, 75, 25);
    connect(keys, &QPushButton::clicked, this, &Tfrmabout::btkeysClick);
}

void Tfrmabout::btkeysClick()
{
    QStringList lines;
    for (int n = 1; n <= 10; ++n)
        lines.append(texts().uitext(QStringLiteral("msgkeys%1").arg(n, 2, 10, QLatin1Char('0'))));
    prompter_.inform(lines.join(QLatin1Char('\n')),
                     texts().uitext(QStringLiteral("frmabout.btkeys.caption")));
}

void Tfrmabout::showEvent(QShowEvent *event)
{
    if (image_->pixmap().isNull())
        image_->setPixmap(QPixmap(QStringLiteral(":/art/about.png")));
    DialogBase::showEvent(event);
}
