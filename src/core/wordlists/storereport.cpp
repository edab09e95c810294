#include "wordlists/storereport.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "wordlists/wordliststore.h"

bool reportstorechange(Prompter &prompter, const TextTables &texts, const StoreResult &result)
{
    // The path goes on a line of its own, so no translation can lose it.
    if (!keptcopy(result).isEmpty())
        prompter.inform(texts.uitext(QStringLiteral("msgbackup")) + QLatin1Char('\n') +
                        keptcopy(result));
    if (!result)
        prompter.inform(result.error().message);
    return result.ok();
}
