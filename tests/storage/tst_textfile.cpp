#include "sandbox.h"
#include "storage/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(TextFileResult::Status)

namespace {
QString dataFile(const char *name)
{
    return QStringLiteral(VASKELIO_TEST_DATA "/textfile/") + QLatin1String(name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing reference file %s", qPrintable(path));
    return file.readAll();
}

const QChar kReplacement = QChar::ReplacementCharacter;
} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void readsMarkedAndUtf8Files_data();
    void readsMarkedAndUtf8Files();
    void decodesUnmarkedBytes_data();
    void decodesUnmarkedBytes();
    void decodesMarksAtTheEdges_data();
    void decodesMarksAtTheEdges();
    void readsGb18030FileFromDisk();
    void junkNeverFails_data();
    void junkNeverFails();
    void failures_data();
    void failures();
    void unreadableFile();
    void readsResources();
    void splitsLines_data();
    void splitsLines();
    void localeEncodingSkipsUtf8AndAscii_data();
    void localeEncodingSkipsUtf8AndAscii();
};

// Files whose reading does not depend on the locale.
void TestTextFile::readsMarkedAndUtf8Files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");

    QTest::newRow("UTF-16 LE with mark, CR LF kept")
        << dataFile("utf16le_bom_crlf.txt") << QStringLiteral("title=中文\r\nWörter\r\n")
        << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 BE with mark")
        << dataFile("utf16be_bom.txt") << QStringLiteral("日本語\nabc") << TextEncoding::Utf16BE;
    QTest::newRow("UTF-8 with mark")
        << dataFile("utf8_bom.txt") << QStringLiteral("Don’t guess\n一二三\n")
        << TextEncoding::Utf8Bom;
    QTest::newRow("UTF-8 without mark")
        << dataFile("utf8_plain.txt") << QStringLiteral("sz1=一\nmsg=café=ok\n")
        << TextEncoding::Utf8;
    QTest::newRow("odd-length UTF-16: the cut-off unit shows as U+FFFD")
        << dataFile("utf16le_odd.txt") << QStringLiteral("ab") + kReplacement
        << TextEncoding::Utf16LE;
    QTest::newRow("empty file") << dataFile("empty.txt") << QString() << TextEncoding::Utf8;
}

void TestTextFile::readsMarkedAndUtf8Files()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);

    const TextFileResult result = readtextfile(file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.text, text);
    QCOMPARE(result.encoding, encoding);
    QVERIFY(result.error.isEmpty());
}

// Unmarked bytes that are no UTF-8, with the locale's encoding given explicitly so that the
// outcome does not hang on the machine running the test.
void TestTextFile::decodesUnmarkedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");

    const QByteArray gb = bytesOf(dataFile("gb18030.txt"));
    const QByteArray latin1 = bytesOf(dataFile("latin1.txt"));
    QTest::newRow("GB18030 under a UTF-8 locale")
        << gb << QByteArray() << QStringLiteral("在每一个小九宫格中\r\n标题\r\n")
        << TextEncoding::Gb18030;
    QTest::newRow("Latin-1 under an ISO-8859-1 locale")
        << latin1 << QByteArrayLiteral("ISO-8859-1") << QStringLiteral("café déjà\n")
        << TextEncoding::Locale;
    QTest::newRow("the locale's encoding is only tried after UTF-8")
        << QStringLiteral("déjà").toUtf8() << QByteArrayLiteral("ISO-8859-1")
        << QStringLiteral("déjà") << TextEncoding::Utf8;
    QTest::newRow("ISO-8859-15 differs from Latin-1 at A4")
        << QByteArray("5\xA4", 2) << QByteArrayLiteral("ISO-8859-15") << QStringLiteral("5€")
        << TextEncoding::Locale;
    QTest::newRow("GB18030 bytes that the locale's encoding rejects")
        << gb << QByteArrayLiteral("US-ASCII") << QStringLiteral("在每一个小九宫格中\r\n标题\r\n")
        << TextEncoding::Gb18030;
    QTest::newRow("an unknown locale encoding is passed over")
        << gb << QByteArrayLiteral("NO-SUCH-CODEC")
        << QStringLiteral("在每一个小九宫格中\r\n标题\r\n") << TextEncoding::Gb18030;
    QTest::newRow("pure ASCII is UTF-8") << QByteArrayLiteral("a=b\r\n") << QByteArray()
                                         << QStringLiteral("a=b\r\n") << TextEncoding::Utf8;
    QTest::newRow("NUL bytes are valid UTF-8")
        << QByteArray("a\0b", 3) << QByteArray() << QString::fromUtf16(u"a\0b", 3)
        << TextEncoding::Utf8;
}

void TestTextFile::decodesUnmarkedBytes()
{
#if defined(Q_OS_WIN)
    QSKIP("Windows reads unmarked text in the ANSI code page");
#endif
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, locale);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);

    const DecodedText decoded = decodetext(bytes, locale);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
}

void TestTextFile::decodesMarksAtTheEdges_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");

    QTest::newRow("UTF-16 LE mark alone")
        << QByteArray("\xFF\xFE", 2) << QString() << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 BE mark alone")
        << QByteArray("\xFE\xFF", 2) << QString() << TextEncoding::Utf16BE;
    QTest::newRow("UTF-8 mark alone")
        << QByteArray("\xEF\xBB\xBF", 3) << QString() << TextEncoding::Utf8Bom;
    QTest::newRow("a second U+FEFF is content")
        << QByteArray("\xFF\xFE\xFF\xFE\x61\x00", 6) << QChar(0xFEFF) + QStringLiteral("a")
        << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 LE mark and one byte")
        << QByteArray("\xFF\xFE\x41", 3) << QString(kReplacement) << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 BE surrogate pair")
        << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6) << QString::fromUtf16(u"\U0001F600")
        << TextEncoding::Utf16BE;
    QTest::newRow("UTF-16 BE mark and three bytes")
        << QByteArray("\xFE\xFF\x00\x61\x00", 5) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf16BE;
    QTest::newRow("UTF-8 mark then invalid byte")
        << QByteArray("\xEF\xBB\xBF\x61\xFF", 5) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf8Bom;
    QTest::newRow("UTF-16 LE lone high surrogate before a line end")
        << QByteArray("\xFF\xFE\x3D\xD8\x0D\x00\x0A\x00\x61\x00", 10)
        << QString(kReplacement) + QStringLiteral("\r\na") << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 BE lone low surrogate, then a whole pair")
        << QByteArray("\xFE\xFF\xDE\x00\xD8\x3D\xDE\x00", 8)
        << QString(kReplacement) + QString::fromUtf16(u"\U0001F600") << TextEncoding::Utf16BE;
    QTest::newRow("UTF-16 LE high surrogate cut off at the end")
        << QByteArray("\xFF\xFE\x61\x00\x3D\xD8", 6) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf16LE;
    QTest::newRow("only the first two bytes of a UTF-8 mark")
        << QByteArray("\xEF\xBB", 2) << QString() << TextEncoding::Gb18030;
}

void TestTextFile::decodesMarksAtTheEdges()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);

    const DecodedText decoded = decodetext(bytes, QByteArray());
    if (encoding == TextEncoding::Gb18030) {
#if defined(Q_OS_WIN)
        QSKIP("Windows reads unmarked text in the ANSI code page");
#endif
        // A broken mark is no mark: these bytes are neither UTF-8 nor anything else whole.
        QCOMPARE(decoded.encoding, encoding);
        return;
    }
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
}

void TestTextFile::splitsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one line end") << QStringLiteral("\r\n") << QStringList{QString()};
    QTest::newRow("CR LF, CR and LF, last line open")
        << QStringLiteral("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two ends") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("final end starts no line, an empty line before it stays")
        << QStringLiteral("a\r\n\r\n") << QStringList{"a", ""};
    // A regular expression matches nothing in such a text and would give one line.
    QTest::newRow("lone surrogate does not glue the lines")
        << QStringLiteral("<<x") + QChar(0xD83D) + QStringLiteral("\r\nw1\r\nw2\r\n")
        << QStringList{QStringLiteral("<<x") + QChar(0xD83D), "w1", "w2"};
}

void TestTextFile::splitsLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(textlines(text), lines);
}

void TestTextFile::readsGb18030FileFromDisk()
{
#if defined(Q_OS_WIN)
    QSKIP("Windows reads unmarked text in the ANSI code page");
#endif
    if (!localeencoding().isEmpty())
        QSKIP("the locale has an 8-bit encoding of its own, which comes before GB18030");
    const TextFileResult result = readtextfile(dataFile("gb18030.txt"));
    QVERIFY(result.ok());
    QCOMPARE(result.encoding, TextEncoding::Gb18030);
    QCOMPARE(result.text, QStringLiteral("在每一个小九宫格中\r\n标题\r\n"));
}

void TestTextFile::junkNeverFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("prefix");

    QByteArray all, backwards;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
        backwards.prepend(char(b));
    }
    QTest::newRow("every byte value") << all << QString::fromLatin1(all.left(0x80));
    QTest::newRow("every byte value backwards") << backwards << QString();
    QTest::newRow("lone continuation bytes")
        << QByteArray("ok\x80\x80\xBF", 5) << QStringLiteral("ok");
    // Such a cut-off tail is dropped by the converter; what comes before it must survive.
    QTest::newRow("cut-off GB18030 four-byte sequence")
        << QByteArray("ab\x81\x30\x81", 5) << QStringLiteral("ab");
    QTest::newRow("0xFF run") << QByteArray(1000, '\xFF') << QString();
    // Repeatable pseudo-random bytes.
    QByteArray noise;
    quint32 state = 12345;
    for (int n = 0; n < 4096; ++n) {
        state = state * 1103515245u + 12345u;
        noise.append(char(state >> 24));
    }
    QTest::newRow("noise") << noise << QString();
}

void TestTextFile::junkNeverFails()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, prefix);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("junk.bin"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    const TextFileResult result = readtextfile(path);
    QVERIFY(result.ok());
    QVERIFY(!result.text.isEmpty());
    QVERIFY(result.text.size() <= bytes.size());
    QVERIFY(result.text.startsWith(prefix));
}

void TestTextFile::failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<TextFileResult::Status>("status");

    QTest::newRow("missing file") << dataFile("no-such-file.txt")
                                  << TextFileResult::Status::Missing;
    QTest::newRow("missing folder")
        << dataFile("no-such-folder/a.txt") << TextFileResult::Status::Missing;
    QTest::newRow("a folder") << QStringLiteral(VASKELIO_TEST_DATA "/textfile")
                              << TextFileResult::Status::NotAFile;
#if defined(Q_OS_UNIX)
    // Never ends: read, it would fill the memory.
    QTest::newRow("a device") << QStringLiteral("/dev/zero") << TextFileResult::Status::NotAFile;
#endif
    QTest::newRow("empty path") << QString() << TextFileResult::Status::Missing;
}

void TestTextFile::failures()
{
    QFETCH(QString, path);
    QFETCH(TextFileResult::Status, status);

    const TextFileResult result = readtextfile(path);
    QVERIFY(!result);
    QCOMPARE(result.status, status);
    QVERIFY(result.text.isEmpty());
    QVERIFY(!result.error.isEmpty());
}

void TestTextFile::unreadableFile()
{
#if defined(Q_OS_WIN)
    QSKIP("permission bits do not stop reading on Windows");
#else
    if (geteuid() == 0)
        QSKIP("root reads files whatever their permissions");
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("a=b\n");
    out.close();
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));

    const TextFileResult result = readtextfile(path);
    QCOMPARE(result.status, TextFileResult::Status::Unreadable);
    QVERIFY(!result.error.isEmpty());
}

void TestTextFile::readsResources()
{
    const TextFileResult result = readtextfile(QStringLiteral(":/i18n/lang1.txt"));
    QVERIFY(result.ok());
    QCOMPARE(result.encoding, TextEncoding::Utf8);
    QVERIFY(result.text.startsWith(QStringLiteral("sz1=一\n")));
    QVERIFY(result.text.contains(QStringLiteral("msgcheckok=没有错误\n")));
}

void TestTextFile::localeEncodingSkipsUtf8AndAscii_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::newRow("C") << QByteArrayLiteral("C");
    QTest::newRow("POSIX") << QByteArrayLiteral("POSIX");
    QTest::newRow("C.UTF-8") << QByteArrayLiteral("C.UTF-8");
}

void TestTextFile::localeEncodingSkipsUtf8AndAscii()
{
#if !defined(Q_OS_UNIX)
    QSKIP("the locale's codeset is a Unix notion");
#else
    QFETCH(QByteArray, locale);
    const QByteArray saved = setlocale(LC_CTYPE, nullptr);
    if (!setlocale(LC_CTYPE, locale.constData()))
        QSKIP("locale not installed");
    const QByteArray encoding = localeencoding();
    setlocale(LC_CTYPE, saved.constData());
    QCOMPARE(encoding, QByteArray());
#endif
}

VASKELIO_TEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
