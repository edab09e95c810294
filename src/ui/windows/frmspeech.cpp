#include "windows/frmspeech.h"

#include "storage/settings.h"
#include "widgets/controls.h"
#include "widgets/radiogroup.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

Tfrmspeech::Tfrmspeech(LanguageContext &context, QWidget *parent)
    : DialogBase(context, parent, {"frmspeech", QStringLiteral("Speech"), {320, 140}})
{
    radioGroup4_ =
        new RadioGroup(QStringLiteral("Speak words"),
                       {QStringLiteral("Never"), QStringLiteral("When a word is selected"),
                        QStringLiteral("When a word is placed")},
                       1, this);
    radioGroup4_->setObjectName(QStringLiteral("RadioGroup4"));
    radioGroup4_->setGeometry(8, 4, 229, 89);

    auto *label = new QLabel(QStringLiteral("Rate:"), this);
    label->setObjectName(QStringLiteral("lbrate"));
    label->setGeometry(8, 100, 56, 17);
    auto *slow = new QLabel(QStringLiteral("Slow"), this);
    slow->setObjectName(QStringLiteral("lbslow"));
    slow->setGeometry(64, 118, 60, 17);
    auto *fast = new QLabel(QStringLiteral("Fast"), this);
    fast->setObjectName(QStringLiteral("lbfast"));
    fast->setGeometry(177, 118, 60, 17);
    fast->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rate_ = new QSlider(Qt::Horizontal, this);
    rate_->setObjectName(QStringLiteral("tbrate"));
    rate_->setGeometry(64, 98, 173, 22);
    rate_->setRange(-10, 10);
    rate_->setPageStep(5);
    rate_->setTickInterval(5);
    rate_->setTickPosition(QSlider::TicksBelow);

    auto *ok = addButton(this, "Button1", QStringLiteral("OK"), {243, 8, 70, 25});
    auto *cancel = addButton(this, "Button2", QStringLiteral("Cancel"), {243, 39, 70, 25});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tfrmspeech::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrmspeech::showEvent(QShowEvent *event)
{
    radioGroup4_->setItemIndex(std::clamp(context_.settings().speakwords, 0, 2));
    rate_->setValue(context_.settings().speechrate);
    DialogBase::showEvent(event);
}

void Tfrmspeech::Button1Click()
{
    context_.settings().speakwords = std::max(0, radioGroup4_->itemIndex());
    context_.settings().speechrate = rate_->value();
    accept();
}
