#include "widgets/uilanguage.h"

#include "widgets/fonts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// Qt's own translations; English needs none, so an English start reads no file.
QTranslator *qtTranslator = nullptr;
int translated = 0;
} // namespace

void followUiLanguage(int langid)
{
    if (langid < 0 || langid > 2)
        return;
    setTextLanguage(langid);
    if (langid == translated)
        return;
    translated = langid;
    if (qtTranslator) {
        QCoreApplication::removeTranslator(qtTranslator);
        delete qtTranslator;
        qtTranslator = nullptr;
    }
    if (langid == 0)
        return;
    auto *translator = new QTranslator;
    const QString name = langid == 1 ? QStringLiteral("qtbase_zh_CN") : QStringLiteral("qtbase_ja");
    if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        qtTranslator = translator;
    else
        delete translator; // without the translations package Qt's buttons stay English
}
