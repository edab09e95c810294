#include "windows/frmoption.h"

#include "i18n/translate.h"
#include "windows/controls.h"
#include "windows/fonts.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"
#include "windows/radiogroup.h"

#include <QPushButton>
#include <QTabWidget>

Tfrmoption::Tfrmoption(TaaForm1 &main)
    : QDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      main_(main)
{
    setObjectName(QStringLiteral("frmoption"));
    setWindowTitle(QStringLiteral("Setting"));
    setFixedSize(320, 160);
    setFont(dialogFont(8));

    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(0, 0, 237, 160);
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    pages->addTab(page, QStringLiteral("lang"));
    // The items name each language in its own script, whatever language is in force.
    radioGroup1_ = new RadioGroup(
        QStringLiteral("语言"),
        {QStringLiteral("English"), QStringLiteral("中文(简体)"), QStringLiteral("日本語")}, 1,
        page);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1_->setGeometry(27, 22, 176, 89);

    auto *ok = addButton(this, "Button2", QStringLiteral("OK"), {243, 21, 75, 25});
    auto *cancel = addButton(this, "Button3", QStringLiteral("Cancel"), {243, 52, 75, 25});
    auto *setDefault = addButton(this, "Button1", QStringLiteral("Set Default"), {243, 83, 75, 25});
    setDefault->hide();

    connect(ok, &QPushButton::clicked, this, &Tfrmoption::Button2Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setDefault, &QPushButton::clicked, this, &Tfrmoption::Button1Click);
    main_.addlanguagekeys(this);
}

void Tfrmoption::showEvent(QShowEvent *event)
{
    translateform(this, main_.state().texts);
    radioGroup1_->setItemIndex(main_.state().texts.langid());
    QDialog::showEvent(event);
}

void Tfrmoption::Button2Click()
{
    main_.state().texts.setLangid(radioGroup1_->itemIndex());
    main_.applylanguage();
    accept();
}

void Tfrmoption::Button1Click()
{
    radioGroup1_->setItemIndex(0);
}
