#include "sandbox.h"
#include "storage/settings.h"

#include <QDir>
#include <QFile>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList defaultPalette()
{
    return {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
            QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
            QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九")};
}

QStringList textsOf(const SettingsState &state)
{
    return QStringList{state.newgamewords.title} + state.newgamewords.texts();
}

// Every file below folder, relative to it.
QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDir dir(folder);
    for (const QString &entry :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        found.append(entry);
        if (QFileInfo(dir.filePath(entry)).isDir())
            for (const QString &inner : filesUnder(dir.filePath(entry)))
                found.append(entry + QLatin1Char('/') + inner);
    }
    return found;
}

// Stores raw values as some other writer might have left them.
void storeRaw(const QString &path, const QVariantMap &values)
{
    QSettings raw(path, QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        raw.setValue(it.key(), it.value());
    raw.sync();
    if (raw.status() != QSettings::NoError || !QFile::exists(path))
        qFatal("cannot prepare %s", qPrintable(path));
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init();

    void firstStartKeepsDefaultsAndCreatesNothing();
    void nativeStoreFirstStartCreatesNothing();
    void nativeStoreRoundTrip();
    void roundTrip_data();
    void roundTrip();
    void writesExactlyTheValueNames();
    void eachTextHasItsKey_data();
    void eachTextHasItsKey();
    void keptGameSwitches_data();
    void keptGameSwitches();
    void secondStartAfterUntouchedDialog();
    void storedValues_data();
    void storedValues();
    void shortPaletteIsFilledUp();
    void saveFailureIsQuiet();
    void emptyLockLeftByAKillIsStale();
    void zoom_data();
    void zoom();

private:
    QString settingsPath() const { return dir_->filePath(QStringLiteral("cfg/Vaskelio.ini")); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestSettings::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestSettings::firstStartKeepsDefaultsAndCreatesNothing()
{
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState state;
    state.newgamelevel = 3;
    state.newgamewords.title = QStringLiteral("left over");
    state.newgamewords.setText(5, QStringLiteral("left over"));
    state.submittername = QStringLiteral("left over");
    WordSet palette = WordSet::fromTexts({}, defaultPalette());

    settings.loadsettings(state, palette);
    QCOMPARE(state.newgamelevel, 0);
    QCOMPARE(state.langid, 0);
    QCOMPARE(textsOf(state), QStringList(10));
    QVERIFY(state.submittername.isEmpty());
    QCOMPARE(palette.texts(), defaultPalette());
    QCOMPARE(filesUnder(dir_->path()), QStringList());
}

void TestSettings::nativeStoreFirstStartCreatesNothing()
{
#if defined(Q_OS_WIN)
    QSKIP("the native store is the user's registry; the sandbox only covers file locations");
#endif
    // The sandbox's config folder stands in for the user's.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY(config.startsWith(QDir::tempPath()));
    QVERIFY(!SettingsLocation::native().exists());

    SettingsState state;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    Settings().loadsettings(state, palette);
    QCOMPARE(textsOf(state), QStringList(10));
    QCOMPARE(palette.texts(), defaultPalette());
    QCOMPARE(filesUnder(config), QStringList());
    QVERIFY(!SettingsLocation::native().exists());
}

void TestSettings::nativeStoreRoundTrip()
{
#if defined(Q_OS_WIN)
    QSKIP("the native store is the user's registry; the sandbox only covers file locations");
#endif
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    SettingsState saved;
    saved.newgamelevel = 2;
    saved.langid = 1;
    saved.newgamewords.title = QStringLiteral("Fruit");
    saved.newgamewords.setText(9, QStringLiteral("梨"));
    saved.submittername = QStringLiteral("Ana");
    QVERIFY(Settings().savesettings(saved));
    QVERIFY(QFile::exists(config + QStringLiteral("/Morvane/Vaskelio.conf")));
    QVERIFY(SettingsLocation::native().exists());

    SettingsState loaded;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    Settings().loadsettings(loaded, palette);
    QCOMPARE(loaded.newgamelevel, 2);
    QCOMPARE(loaded.langid, 1);
    QCOMPARE(loaded.newgamewords.title, QStringLiteral("Fruit"));
    QCOMPARE(loaded.newgamewords.text(9), QStringLiteral("梨"));
    QCOMPARE(loaded.newgamewords.text(1), QStringLiteral("一"));
    QCOMPARE(loaded.submittername, QStringLiteral("Ana"));
    QVERIFY(QFile::remove(config + QStringLiteral("/Morvane/Vaskelio.conf")));
}

void TestSettings::roundTrip_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("langid");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << 4 << 2 << QStringList{"Animals", "cat", "dog", "cow", "pig",
                                                    "hen",     "ant", "bee", "eel", "fox"}
                           << "Mika";
    QTest::newRow("Chinese words and title")
        << 1 << 1 << QStringList{"数字", "一", "二", "三", "四", "五", "六", "七", "八", "九"}
        << "小明";
    // Texts that the stores' own syntax could take for something else.
    QTest::newRow("awkward characters")
        << 0 << 0 << QStringList{"a, b",  "@x",          "\"q\"",   "k=v",   "semi;colon",
                                 "#hash", "back\\slash", "[group]", " pad ", "%20"}
        << "@ByteArray(x)";
    QTest::newRow("empty title and name")
        << 3 << 0 << QStringList{"", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << "";
}

void TestSettings::roundTrip()
{
    QFETCH(int, level);
    QFETCH(int, langid);
    QFETCH(QStringList, texts);
    QFETCH(QString, name);
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState saved;
    saved.newgamelevel = level;
    saved.langid = langid;
    saved.newgamewords = WordSet::fromTexts(texts.at(0), texts.mid(1));
    saved.submittername = name;
    QVERIFY(settings.savesettings(saved));

    SettingsState loaded;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(loaded, palette);
    QCOMPARE(loaded.newgamelevel, level);
    QCOMPARE(loaded.langid, langid);
    QCOMPARE(textsOf(loaded), texts);
    QCOMPARE(loaded.submittername, name);
    QCOMPARE(palette.texts(), texts.mid(1));
}

void TestSettings::writesExactlyTheValueNames()
{
    SettingsState state;
    state.newgamelevel = 3;
    state.langid = 2;
    state.newgamewords.setText(4, QStringLiteral("four"));
    state.paletteshows = 2;
    QVERIFY(Settings(SettingsLocation::file(settingsPath())).savesettings(state));
    SettingsState loaded;
    WordSet palette;
    Settings(SettingsLocation::file(settingsPath())).loadsettings(loaded, palette);
    QCOMPARE(loaded.paletteshows, 2);

    const QSettings raw(settingsPath(), QSettings::IniFormat);
    QStringList names = raw.allKeys();
    names.sort();
    QCOMPARE(names, QStringList({"ask before replacing",
                                 "edtname",
                                 "langid",
                                 "mark repeats",
                                 "new game level",
                                 "note cleanup",
                                 "notes as numbers",
                                 "palette shows",
                                 "resume game",
                                 "show time",
                                 "speak words",
                                 "speech rate",
                                 "w0",
                                 "w1",
                                 "w2",
                                 "w3",
                                 "w4",
                                 "w5",
                                 "w6",
                                 "w7",
                                 "w8",
                                 "w9",
                                 "zoom"}));
    for (const QString &name : names)
        QCOMPARE(raw.value(name).typeId(), int(QMetaType::QString));
    QCOMPARE(raw.value("new game level").toString(), QStringLiteral("3"));
    QCOMPARE(raw.value("langid").toString(), QStringLiteral("2"));
    QCOMPARE(raw.value("w4").toString(), QStringLiteral("four"));
    QCOMPARE(raw.value("w5").toString(), QString());
    QCOMPARE(raw.value("resume game").toString(), QStringLiteral("1"));
    QCOMPARE(raw.value("ask before replacing").toString(), QStringLiteral("1"));
    QCOMPARE(raw.value("zoom").toString(), QStringLiteral("100"));
}

void TestSettings::eachTextHasItsKey_data()
{
    QTest::addColumn<int>("n");
    for (int n = 0; n <= 9; ++n)
        QTest::addRow("w%d", n) << n;
}

// w0 is the title and wk word k, both ways: a set shifted by one would still round-trip.
void TestSettings::eachTextHasItsKey()
{
    QFETCH(int, n);
    const QString key = QStringLiteral("w%1").arg(n);
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState saved;
    if (n == 0)
        saved.newgamewords.title = QStringLiteral("only");
    else
        saved.newgamewords.setText(n, QStringLiteral("only"));
    QVERIFY(settings.savesettings(saved));
    {
        const QSettings raw(settingsPath(), QSettings::IniFormat);
        for (int m = 0; m <= 9; ++m)
            QCOMPARE(raw.value(QStringLiteral("w%1").arg(m)).toString(),
                     m == n ? QStringLiteral("only") : QString());
    }

    QVERIFY(QFile::remove(settingsPath()));
    storeRaw(settingsPath(), {{key, QStringLiteral("mine")}});
    SettingsState loaded;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(loaded, palette);
    QStringList expected = QStringList{QString()} + defaultPalette();
    expected[n] = QStringLiteral("mine");
    QCOMPARE(textsOf(loaded), expected);
    QCOMPARE(palette.texts(), expected.mid(1));
    QCOMPARE(palette.title, QString());
}

// The two switches of the kept game: on unless "0" is stored, also when the store is missing.
void TestSettings::keptGameSwitches_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<bool>("resume");
    QTest::addColumn<bool>("ask");
    QTest::newRow("absent") << QVariantMap{{"langid", "1"}} << true << true;
    QTest::newRow("both off") << QVariantMap{{"resume game", "0"}, {"ask before replacing", "0"}}
                              << false << false;
    QTest::newRow("one off") << QVariantMap{{"resume game", "1"}, {"ask before replacing", "0"}}
                             << true << false;
    QTest::newRow("unusable texts")
        << QVariantMap{{"resume game", "no"}, {"ask before replacing", " 0"}} << true << true;
    QTest::newRow("not a string") << QVariantMap{{"resume game", QSize(0, 0)}} << true << true;
}

void TestSettings::keptGameSwitches()
{
    QFETCH(QVariantMap, stored);
    QFETCH(bool, resume);
    QFETCH(bool, ask);
    storeRaw(settingsPath(), stored);
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState state;
    state.resumegame = !resume; // whatever a previous load left must not stand
    state.askreplace = !ask;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(state, palette);
    QCOMPARE(state.resumegame, resume);
    QCOMPARE(state.askreplace, ask);

    // A first start, with no store at all, has both on.
    QVERIFY(QFile::remove(settingsPath()));
    settings.loadsettings(state, palette);
    QVERIFY(state.resumegame && state.askreplace);
}

void TestSettings::zoom_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("zoom");
    QTest::newRow("absent") << QVariant() << 100;
    for (const int z : SettingsState::kZooms)
        QTest::addRow("%d", z) << QVariant(QString::number(z)) << z;
    for (const char *bad : {"", "175", "0", "-150", "150%", "1.5", "abc", "99999999999"})
        QTest::addRow("'%s'", bad) << QVariant(QString::fromLatin1(bad)) << 100;
    QTest::newRow("as a number") << QVariant(150) << 100;
}

// Only the offered zooms come back; whatever else the store holds draws the windows at their size.
void TestSettings::zoom()
{
    QFETCH(QVariant, stored);
    QFETCH(int, zoom);
    QVariantMap values{{"langid", "2"}};
    if (stored.isValid())
        values.insert(QStringLiteral("zoom"), stored);
    storeRaw(settingsPath(), values);
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState state;
    state.zoom = 125;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(state, palette);
    QCOMPARE(state.zoom, zoom);
    QCOMPARE(state.langid, 2);

    state.zoom = 200;
    QVERIFY(settings.savesettings(state));
    SettingsState again;
    settings.loadsettings(again, palette);
    QCOMPARE(again.zoom, 200);
}

// The New Game dialog was never opened in the first run: its empty texts were written, and the
// word boxes now show the palette words while the title stays empty.
void TestSettings::secondStartAfterUntouchedDialog()
{
    const Settings settings(SettingsLocation::file(settingsPath()));
    SettingsState first;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(first, palette);
    QVERIFY(settings.savesettings(first));

    SettingsState second;
    settings.loadsettings(second, palette);
    QCOMPARE(second.newgamewords.title, QString());
    QCOMPARE(textsOf(second).mid(1), defaultPalette());
    QCOMPARE(palette.texts(), defaultPalette());
    QCOMPARE(second.newgamelevel, 0);
    QCOMPARE(second.langid, 0);
}

void TestSettings::storedValues_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("langid");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("name");

    const QStringList fallback = QStringList{QString()} + defaultPalette();
    auto with = [&](int n, const QString &text) {
        QStringList texts = fallback;
        texts[n] = text;
        return texts;
    };

    QTest::newRow("store exists but is empty")
        << QVariantMap{{"edtname", ""}} << 0 << 0 << fallback << "";
    QTest::newRow("langid abc") << QVariantMap{{"langid", "abc"}, {"new game level", "2"}} << 2 << 0
                                << fallback << "";
    QTest::newRow("level empty text")
        << QVariantMap{{"new game level", ""}, {"langid", "2"}} << 0 << 2 << fallback << "";
    QTest::newRow("highest values in range")
        << QVariantMap{{"new game level", "4"}, {"langid", "2"}} << 4 << 2 << fallback << "";
    QTest::newRow("langid 7") << QVariantMap{{"langid", "7"}} << 0 << 0 << fallback << "";
    QTest::newRow("langid 3") << QVariantMap{{"langid", "3"}} << 0 << 0 << fallback << "";
    QTest::newRow("level 5") << QVariantMap{{"new game level", "5"}} << 0 << 0 << fallback << "";
    QTest::newRow("level 9") << QVariantMap{{"new game level", "9"}} << 0 << 0 << fallback << "";
    QTest::newRow("level -1") << QVariantMap{{"new game level", "-1"}} << 0 << 0 << fallback << "";
    QTest::newRow("langid -1") << QVariantMap{{"langid", "-1"}} << 0 << 0 << fallback << "";
    QTest::newRow("level with a fraction")
        << QVariantMap{{"new game level", "1.5"}} << 0 << 0 << fallback << "";
    QTest::newRow("langid in hexadecimal")
        << QVariantMap{{"langid", "0x1"}} << 0 << 0 << fallback << "";
    QTest::newRow("level too large for an int")
        << QVariantMap{{"new game level", "99999999999"}} << 0 << 0 << fallback << "";
    QTest::newRow("word absent, others stored")
        << QVariantMap{{"w0", "Farm"}, {"w2", "cow"}} << 0 << 0
        << QStringList{"Farm"} + with(2, "cow").mid(1) << "";
    QTest::newRow("word empty") << QVariantMap{{"w3", ""}} << 0 << 0 << fallback << "";
    QTest::newRow("word of blanks only") << QVariantMap{{"w3", " \t "}} << 0 << 0 << fallback << "";
    QTest::newRow("word with blanks around")
        << QVariantMap{{"w3", " ox "}} << 0 << 0 << with(3, " ox ") << "";
    QTest::newRow("title of blanks kept")
        << QVariantMap{{"w0", "  "}} << 0 << 0 << with(0, "  ") << "";
    QTest::newRow("word as a list")
        << QVariantMap{{"w5", QStringList{"a", "b"}}} << 0 << 0 << fallback << "";
    QTest::newRow("word as bytes")
        << QVariantMap{{"w6", QByteArray("bytes")}} << 0 << 0 << fallback << "";
    QTest::newRow("langid as a size")
        << QVariantMap{{"langid", QSize(1, 2)}} << 0 << 0 << fallback << "";
    QTest::newRow("title and name as bytes")
        << QVariantMap{{"w0", QByteArray("t")}, {"edtname", QByteArray("n")}} << 0 << 0 << fallback
        << "";
    QTest::newRow("name") << QVariantMap{{"edtname", "Zoë"}} << 0 << 0 << fallback << "Zoë";
}

void TestSettings::storedValues()
{
    QFETCH(QVariantMap, stored);
    QFETCH(int, level);
    QFETCH(int, langid);
    QFETCH(QStringList, texts);
    QFETCH(QString, name);
    storeRaw(settingsPath(), stored);

    SettingsState state;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    Settings(SettingsLocation::file(settingsPath())).loadsettings(state, palette);
    QCOMPARE(state.newgamelevel, level);
    QCOMPARE(state.langid, langid);
    QCOMPARE(textsOf(state), texts);
    QCOMPARE(state.submittername, name);
    QCOMPARE(palette.texts(), texts.mid(1));
}

void TestSettings::shortPaletteIsFilledUp()
{
    storeRaw(settingsPath(), {{"w9", "nine"}});
    SettingsState state;
    WordSet palette = WordSet::fromTexts({}, {QStringLiteral("one")});
    Settings(SettingsLocation::file(settingsPath())).loadsettings(state, palette);
    QCOMPARE(palette.texts().size(), 9);
    QCOMPARE(palette.text(1), QStringLiteral("one"));
    QCOMPARE(palette.text(5), QString());
    QCOMPARE(palette.text(9), QStringLiteral("nine"));
    QCOMPARE(state.newgamewords.text(9), QStringLiteral("nine"));
}

void TestSettings::saveFailureIsQuiet()
{
    // A regular file where the settings' folder should be: no store can be made, even by root.
    QFile blocker(dir_->filePath(QStringLiteral("cfg")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    SettingsState state;
    state.langid = 2;
    const Settings settings(SettingsLocation::file(settingsPath()));
    QVERIFY(!settings.savesettings(state));
    QVERIFY(!QFile::exists(settingsPath()));

    SettingsState loaded;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(loaded, palette);
    QCOMPARE(loaded.langid, 0);
}

// A kill between creating the lock and writing its owner leaves it empty. Unnoticed, the next
// save waits for it to turn 30 s old; this one is 10 s old, so that would be 20 s.
void TestSettings::emptyLockLeftByAKillIsStale()
{
    QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("cfg"))));
    QFile lock(settingsPath() + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                             QFileDevice::FileModificationTime));
    lock.close();

    SettingsState state;
    state.langid = 2;
    const Settings settings(SettingsLocation::file(settingsPath()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(settings.savesettings(state));
    QVERIFY2(clock.elapsed() < 8000, "the save waited for the stale lock");
    QVERIFY(!lock.exists());
    SettingsState loaded;
    WordSet palette = WordSet::fromTexts({}, defaultPalette());
    settings.loadsettings(loaded, palette);
    QCOMPARE(loaded.langid, 2);
}

VASKELIO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
