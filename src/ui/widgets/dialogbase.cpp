#include "widgets/dialogbase.h"

#include "i18n/texttable.h"
#include "widgets/fonts.h"
#include "widgets/keypreview.h"
#include "widgets/translate.h"
#include "widgets/uilanguage.h"

#include <QKeyEvent>

LanguageContext::LanguageContext(TextTables &texts, SettingsState &settings, QObject *parent)
    : QObject(parent), texts_(texts), settings_(settings)
{
    followUiLanguage(texts_.langid());
}

QString LanguageContext::uitext(const QString &key) const
{
    return texts_.uitext(key);
}

void LanguageContext::setLanguage(int langid)
{
    texts_.setLangid(langid);
    followUiLanguage(langid);
    emit languageChanged();
}

void LanguageContext::addLanguageKeys(QWidget *window)
{
    new KeyPreview(window, [this, window](QKeyEvent *event) {
        if (const int language = languageForKey(event->key()); language >= 0) {
            setLanguage(language);
            translateform(window, texts_);
        }
    });
}

DialogBase::DialogBase(LanguageContext &context, QWidget *parent, const Shape &shape)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          (shape.minimizable ? Qt::WindowMinimizeButtonHint : Qt::WindowFlags()) |
                          Qt::WindowCloseButtonHint),
      context_(context), relabelOnShow_(shape.relabelOnShow)
{
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(shape.title);
    setFixedSize(shape.size);
    if (shape.dialogFont) {
        setFont(dialogFont(8));
        // Han characters take the shapes of the language in force.
        connect(&context_, &LanguageContext::languageChanged, this,
                [this] { setFont(dialogFont(8)); });
    }
    context_.addLanguageKeys(this);
}

void DialogBase::showEvent(QShowEvent *event)
{
    if (relabelOnShow_)
        translateform(this, context_.texts());
    QDialog::showEvent(event);
}
