#include "storage/settings.h"

#include "text/textrules.h"

#include "appinfo.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {
const QString kOrganisation = QString::fromLatin1(appinfo::kOrganisation);
const QString kApplication = QString::fromLatin1(appinfo::kName);
const QString kLevel = QStringLiteral("new game level");
const QString kLangid = QStringLiteral("langid");
const QString kName = QStringLiteral("edtname");
const QString kResume = QStringLiteral("resume game");
const QString kAskReplace = QStringLiteral("ask before replacing");
const QString kZoom = QStringLiteral("zoom");
const QString kPaletteShows = QStringLiteral("palette shows");
const QString kNoteCleanup = QStringLiteral("note cleanup");
const QString kNotesAsNumbers = QStringLiteral("notes as numbers");
const QString kShowConflicts = QStringLiteral("mark repeats");
const QString kShowTime = QStringLiteral("show time");
const QString kSpeakWords = QStringLiteral("speak words");
const QString kSpeechRate = QStringLiteral("speech rate");

QString textName(int n)
{
    return QStringLiteral("w%1").arg(n);
}

// Only strings are ever written; a value of another type is someone else's and counts as absent.
QString readText(const QSettings &store, const QString &name)
{
    const QVariant value = store.value(name);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

// Numbers outside low..high are never written by the program; such a value can only come from
// outside, and 0 is what every other unusable value gives.
int readNumber(const QSettings &store, const QString &name, int low, int high)
{
    bool ok = false;
    const int n = readText(store, name).toInt(&ok, 10);
    return ok && n >= low && n <= high ? n : 0;
}

// 0..limit-1.
int readNumber(const QSettings &store, const QString &name, int limit)
{
    return readNumber(store, name, 0, limit - 1);
}

// "1" or "0"; anything else, the program's default.
bool readFlag(const QSettings &store, const QString &name, bool fallback)
{
    const QString text = readText(store, name);
    return text == QLatin1String("1") || (fallback && text != QLatin1String("0"));
}

// A kill between creating the store's lock file and writing the owner into it leaves an empty
// lock that nobody holds; the settings library would wait half a minute for it to age. A live
// lock gets its owner written at once, so an empty one a few seconds old is stale.
void removeStaleLock(const QSettings &store)
{
    const QFileInfo lock(store.fileName() + QStringLiteral(".lock"));
    if (lock.exists() && lock.size() == 0 &&
        lock.lastModified().secsTo(QDateTime::currentDateTime()) > 3)
        QFile::remove(lock.filePath());
}

// Only the zooms the Options dialog offers; anything else draws the windows at their own size.
int readZoom(const QSettings &store)
{
    bool ok = false;
    const int n = readText(store, kZoom).toInt(&ok, 10);
    for (const int zoom : SettingsState::kZooms)
        if (ok && n == zoom)
            return n;
    return 100;
}

#if defined(Q_OS_WIN)
const wchar_t kRegistryKey[] = L"SOFTWARE\\Morvane\\Vaskelio";
#endif
} // namespace

SettingsLocation SettingsLocation::native()
{
    return SettingsLocation(true, QString(), QSettings::NativeFormat);
}

SettingsLocation SettingsLocation::file(const QString &path, QSettings::Format format)
{
    return SettingsLocation(false, path, format);
}

bool SettingsLocation::exists() const
{
    if (!native_)
        return QFileInfo::exists(path_);
#if defined(Q_OS_WIN)
    // Asked of the registry itself: a QSettings on the native format creates its key on opening.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
#else
    return QFileInfo::exists(open()->fileName());
#endif
}

std::unique_ptr<QSettings> SettingsLocation::open() const
{
    auto store = native_
                     ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                   kOrganisation, kApplication)
                     : std::make_unique<QSettings>(path_, format_);
    store->setFallbacksEnabled(false);
    return store;
}

Settings::Settings(SettingsLocation location) : location_(std::move(location)) {}

void Settings::loadsettings(SettingsState &state, WordSet &palette) const
{
    state.newgamelevel = 0;
    state.submittername.clear();
    state.zoom = 100;
    state.paletteshows = 0;
    state.notecleanup = SettingsState().notecleanup;
    state.notesasnumbers = SettingsState().notesasnumbers;
    state.showconflicts = SettingsState().showconflicts;
    state.showtime = SettingsState().showtime;
    state.speakwords = 0;
    state.speechrate = 0;
    state.newgamewords = WordSet();
    const SettingsState defaults;
    state.resumegame = defaults.resumegame;
    state.askreplace = defaults.askreplace;
    if (!location_.exists())
        return;

    const std::unique_ptr<QSettings> store = location_.open();
    state.newgamelevel = readNumber(*store, kLevel, SettingsState::kLevels);
    state.newgamewords.title = readText(*store, textName(0));
    state.langid = readNumber(*store, kLangid, SettingsState::kLanguages);
    for (int k = 1; k <= WordSet::kWords; ++k) {
        const QString word = readText(*store, textName(k));
        state.newgamewords.setText(k, isEmptyText(word) ? palette.text(k) : word);
        palette.setText(k, state.newgamewords.text(k));
    }
    state.submittername = readText(*store, kName);
    state.resumegame = readFlag(*store, kResume, defaults.resumegame);
    state.askreplace = readFlag(*store, kAskReplace, defaults.askreplace);
    state.zoom = readZoom(*store);
    state.paletteshows = readNumber(*store, kPaletteShows, 3);
    state.notecleanup = readFlag(*store, kNoteCleanup, state.notecleanup);
    state.notesasnumbers = readFlag(*store, kNotesAsNumbers, state.notesasnumbers);
    state.showconflicts = readFlag(*store, kShowConflicts, state.showconflicts);
    state.showtime = readFlag(*store, kShowTime, state.showtime);
    state.speakwords = readNumber(*store, kSpeakWords, 3);
    state.speechrate = readNumber(*store, kSpeechRate, -10, 10);
}

bool Settings::savesettings(const SettingsState &state) const
{
    const std::unique_ptr<QSettings> store = location_.open();
    removeStaleLock(*store);
    store->setValue(kLevel, QString::number(state.newgamelevel));
    store->setValue(kLangid, QString::number(state.langid));
    store->setValue(textName(0), state.newgamewords.title);
    for (int k = 1; k <= WordSet::kWords; ++k)
        store->setValue(textName(k), state.newgamewords.text(k));
    store->setValue(kName, state.submittername);
    store->setValue(kResume, QString::number(int(state.resumegame)));
    store->setValue(kAskReplace, QString::number(int(state.askreplace)));
    store->setValue(kZoom, QString::number(state.zoom));
    store->setValue(kPaletteShows, QString::number(state.paletteshows));
    store->setValue(kNoteCleanup, QString::number(int(state.notecleanup)));
    store->setValue(kNotesAsNumbers, QString::number(int(state.notesasnumbers)));
    store->setValue(kShowConflicts, QString::number(int(state.showconflicts)));
    store->setValue(kShowTime, QString::number(int(state.showtime)));
    store->setValue(kSpeakWords, QString::number(state.speakwords));
    store->setValue(kSpeechRate, QString::number(state.speechrate));
    store->sync();
    return store->status() == QSettings::NoError;
}
