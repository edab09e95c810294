#include "sandbox.h"
#include "text/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(FileProblem::Kind)

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
    void readsUnmarkedFilesOfOtherSystems_data();
    void readsUnmarkedFilesOfOtherSystems();
    void decodesUnmarkedBytes_data();
    void decodesUnmarkedBytes();
    void decodesMarksAtTheEdges_data();
    void decodesMarksAtTheEdges();
    void saysWhereBytesWereReplaced_data();
    void saysWhereBytesWereReplaced();
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
    QTest::addColumn<bool>("clean");

    QTest::newRow("UTF-16 LE with mark, CR LF kept")
        << dataFile("utf16le_bom_crlf.txt") << QStringLiteral("title=中文\r\nWörter\r\n")
        << TextEncoding::Utf16LE << true;
    QTest::newRow("UTF-16 BE with mark")
        << dataFile("utf16be_bom.txt") << QStringLiteral("日本語\nabc") << TextEncoding::Utf16BE
        << true;
    QTest::newRow("UTF-8 with mark")
        << dataFile("utf8_bom.txt") << QStringLiteral("Don’t guess\n一二三\n")
        << TextEncoding::Utf8Bom << true;
    QTest::newRow("UTF-8 without mark")
        << dataFile("utf8_plain.txt") << QStringLiteral("sz1=一\nmsg=café=ok\n")
        << TextEncoding::Utf8 << true;
    QTest::newRow("odd-length UTF-16: the cut-off unit shows as U+FFFD")
        << dataFile("utf16le_odd.txt") << QStringLiteral("ab") + kReplacement
        << TextEncoding::Utf16LE << false;
    QTest::newRow("empty file") << dataFile("empty.txt") << QString() << TextEncoding::Utf8 << true;
}

void TestTextFile::readsMarkedAndUtf8Files()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(bool, clean);

    const TextFileResult result = readtextfile(file);
    QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().reason));
    QCOMPARE(result->text, text);
    QCOMPARE(result->encoding, encoding);
    QCOMPARE(result->clean, clean);
}

// Word lists as other systems write them, without a mark: each must read as written, and none
// is clean, since its encoding was guessed.
void TestTextFile::readsUnmarkedFilesOfOtherSystems_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<TextEncoding>("encoding");

    QTest::newRow("Windows-1252, French")
        << dataFile("windows1252.txt") << QStringLiteral("Fruits d’été – 9 €")
        << QStringList{"pomme",  "poire", "pêche", "cerise", "abricot",
                       "fraise", "prune", "mûre",  "raisin"}
        << TextEncoding::Detected;
    QTest::newRow("Shift-JIS, Japanese")
        << dataFile("shiftjis.txt") << QStringLiteral("果物の名前")
        << QStringList{"りんご", "みかん", "ぶどう", "もも",  "なし",
                       "いちご", "すいか", "かき",   "バナナ"}
        << TextEncoding::Detected;
    QTest::newRow("EUC-KR, Korean")
        << dataFile("euckr.txt") << QStringLiteral("과일 이름")
        << QStringList{"사과", "배", "포도", "복숭아", "딸기", "수박", "감", "귤", "바나나"}
        << TextEncoding::Detected;
    QTest::newRow("Windows-1251, Russian")
        << dataFile("windows1251.txt") << QStringLiteral("Фрукты и ягоды")
        << QStringList{"яблоко",   "груша",  "слива", "вишня",   "персик",
                       "клубника", "малина", "арбуз", "виноград"}
        << TextEncoding::Detected;
    QTest::newRow("UTF-16 LE without mark, English")
        << dataFile("utf16le_nomark.txt") << QStringLiteral("Colours")
        << QStringList{"red",    "orange", "yellow", "green", "blue",
                       "indigo", "violet", "black",  "white"}
        << TextEncoding::Utf16LENoMark;
    QTest::newRow("UTF-16 BE without mark, Chinese")
        << dataFile("utf16be_nomark.txt") << QStringLiteral("水果")
        << QStringList{"苹果", "梨", "桃", "樱桃", "杏", "草莓", "李子", "葡萄", "香蕉"}
        << TextEncoding::Utf16BENoMark;
}

void TestTextFile::readsUnmarkedFilesOfOtherSystems()
{
#if defined(Q_OS_WIN)
    QSKIP("Windows reads unmarked text in the ANSI code page");
#endif
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QStringList, words);
    QFETCH(TextEncoding, encoding);

    // Whatever the locale: the detector comes first.
    for (const QByteArray &locale : {QByteArray(), QByteArrayLiteral("ISO-8859-15")}) {
        const DecodedText decoded = decodetext(bytesOf(file), locale);
        const QStringList expected =
            QStringList{QStringLiteral("memouserlist"), QStringLiteral("<<") + title} + words;
        QCOMPARE(textlines(decoded.text), expected);
        QCOMPARE(decoded.encoding, encoding);
        QVERIFY(!decoded.clean);
    }
}

// Unmarked bytes that are no UTF-8, with the locale's encoding given explicitly so that the
// outcome does not hang on the machine running the test.
void TestTextFile::decodesUnmarkedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<bool>("clean");

    const QByteArray gb = bytesOf(dataFile("gb18030.txt"));
    const QByteArray latin1 = bytesOf(dataFile("latin1.txt"));
    const QString gbText = QStringLiteral("在每一个小九宫格中\r\n标题\r\n");
    QTest::newRow("GB18030 under a UTF-8 locale")
        << gb << QByteArray() << gbText << TextEncoding::Gb18030 << false;
    QTest::newRow("Latin-1 under an ISO-8859-1 locale: the detector names it first")
        << latin1 << QByteArrayLiteral("ISO-8859-1") << QStringLiteral("café déjà\n")
        << TextEncoding::Detected << false;
    QTest::newRow("the locale's encoding is only tried after UTF-8")
        << QStringLiteral("déjà").toUtf8() << QByteArrayLiteral("ISO-8859-1")
        << QStringLiteral("déjà") << TextEncoding::Utf8 << true;
    // The detector names nothing for 81, which Windows-1252 lacks.
    QTest::newRow("the locale's encoding when the detector names none: ISO-8859-15 at A4")
        << QByteArray("5\xA4\x81", 3) << QByteArrayLiteral("ISO-8859-15")
        << QStringLiteral("5€") + QChar(0x81) << TextEncoding::Locale << false;
    QTest::newRow("GB18030 bytes that the locale's encoding rejects")
        << gb << QByteArrayLiteral("US-ASCII") << gbText << TextEncoding::Gb18030 << false;
    QTest::newRow("an unknown locale encoding is passed over")
        << gb << QByteArrayLiteral("NO-SUCH-CODEC") << gbText << TextEncoding::Gb18030 << false;
    QTest::newRow("pure ASCII is UTF-8") << QByteArrayLiteral("a=b\r\n") << QByteArray()
                                         << QStringLiteral("a=b\r\n") << TextEncoding::Utf8 << true;
    QTest::newRow("NUL bytes are valid UTF-8")
        << QByteArray("a\0b", 3) << QByteArray() << QString::fromUtf16(u"a\0b", 3)
        << TextEncoding::Utf8 << true;
    QByteArray oneZero(64, 'x');
    oneZero[10] = '\0';
    QTest::newRow("one zero byte in 64 does not make UTF-16")
        << oneZero << QByteArray() << QString::fromLatin1(oneZero) << TextEncoding::Utf8 << true;
    QTest::newRow("unmarked UTF-16 LE")
        << QByteArray("a\0\r\0\n\0\x00\x4E", 8) << QByteArray() << QStringLiteral("a\r\n一")
        << TextEncoding::Utf16LENoMark << false;
    QTest::newRow("unmarked UTF-16 BE with a lone surrogate")
        << QByteArray("\0a\xD8\x3D\0b", 6) << QByteArray()
        << QStringLiteral("a") + kReplacement + QStringLiteral("b") << TextEncoding::Utf16BENoMark
        << false;
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
    QFETCH(bool, clean);

    const DecodedText decoded = decodetext(bytes, locale);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.clean, clean);
}

void TestTextFile::decodesMarksAtTheEdges_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<bool>("clean");

    QTest::newRow("UTF-16 LE mark alone")
        << QByteArray("\xFF\xFE", 2) << QString() << TextEncoding::Utf16LE << true;
    QTest::newRow("UTF-16 BE mark alone")
        << QByteArray("\xFE\xFF", 2) << QString() << TextEncoding::Utf16BE << true;
    QTest::newRow("UTF-8 mark alone")
        << QByteArray("\xEF\xBB\xBF", 3) << QString() << TextEncoding::Utf8Bom << true;
    QTest::newRow("a second U+FEFF is content")
        << QByteArray("\xFF\xFE\xFF\xFE\x61\x00", 6) << QChar(0xFEFF) + QStringLiteral("a")
        << TextEncoding::Utf16LE << true;
    QTest::newRow("U+FFFD in the file is content")
        << QByteArray("\xEF\xBB\xBF\xEF\xBF\xBD", 6) << QString(kReplacement)
        << TextEncoding::Utf8Bom << true;
    QTest::newRow("UTF-16 LE mark and one byte")
        << QByteArray("\xFF\xFE\x41", 3) << QString(kReplacement) << TextEncoding::Utf16LE << false;
    QTest::newRow("UTF-16 BE surrogate pair")
        << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6) << QString::fromUtf16(u"\U0001F600")
        << TextEncoding::Utf16BE << true;
    QTest::newRow("UTF-16 BE mark and three bytes")
        << QByteArray("\xFE\xFF\x00\x61\x00", 5) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf16BE << false;
    QTest::newRow("UTF-8 mark then invalid byte")
        << QByteArray("\xEF\xBB\xBF\x61\xFF", 5) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf8Bom << false;
    QTest::newRow("UTF-16 LE lone high surrogate before a line end")
        << QByteArray("\xFF\xFE\x3D\xD8\x0D\x00\x0A\x00\x61\x00", 10)
        << QString(kReplacement) + QStringLiteral("\r\na") << TextEncoding::Utf16LE << false;
    QTest::newRow("UTF-16 BE lone low surrogate, then a whole pair")
        << QByteArray("\xFE\xFF\xDE\x00\xD8\x3D\xDE\x00", 8)
        << QString(kReplacement) + QString::fromUtf16(u"\U0001F600") << TextEncoding::Utf16BE
        << false;
    QTest::newRow("UTF-16 LE high surrogate cut off at the end")
        << QByteArray("\xFF\xFE\x61\x00\x3D\xD8", 6) << QStringLiteral("a") + kReplacement
        << TextEncoding::Utf16LE << false;
    // Detected stands for any reading of unmarked bytes here.
    QTest::newRow("only the first two bytes of a UTF-8 mark")
        << QByteArray("\xEF\xBB", 2) << QString() << TextEncoding::Detected << false;
}

void TestTextFile::decodesMarksAtTheEdges()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(bool, clean);

    const DecodedText decoded = decodetext(bytes, QByteArray());
    QCOMPARE(decoded.clean, clean);
    if (encoding == TextEncoding::Detected) {
        // A broken mark is no mark: the bytes are read as unmarked text.
        QVERIFY(decoded.encoding != TextEncoding::Utf8Bom);
        QVERIFY(!decoded.text.isEmpty());
        return;
    }
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
}

// Where a U+FFFD stands for bytes that did not decode, and only there.
void TestTextFile::saysWhereBytesWereReplaced_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<qsizetype>>("replaced");

    QTest::newRow("clean UTF-8") << QByteArray("a\r\nb") << QList<qsizetype>{};
    QTest::newRow("U+FFFD of the file")
        << QByteArray("\xEF\xBB\xBF\xEF\xBF\xBD\nx\xEF\xBF\xBD") << QList<qsizetype>{};
    QTest::newRow("bad UTF-8 on lines of their own") << QByteArray("\xEF\xBB\xBF"
                                                                   "a\xFF"
                                                                   "b\r\nc\xEF\xBF\xBD"
                                                                   "d\r\n\xE4\xB8")
                                                     << QList<qsizetype>{1, 10, 11};
    QTest::newRow("a cut-off sequence before a line end")
        << QByteArray("\xEF\xBB\xBF\xE4\xB8\n\xE4\xB8\x80") << QList<qsizetype>{0, 1};
    QTest::newRow("UTF-16 LE lone high surrogate before a line end")
        << QByteArray("\xFF\xFE\x3D\xD8\x0D\x00\x0A\x00\x61\x00", 10) << QList<qsizetype>{0};
    QTest::newRow("UTF-16 BE lone low surrogate, then a whole pair")
        << QByteArray("\xFE\xFF\x00\x61\xDE\x00\xD8\x3D\xDE\x00", 10) << QList<qsizetype>{1};
    QTest::newRow("UTF-16 LE U+FFFD of the file, then a cut-off byte")
        << QByteArray("\xFF\xFE\xFD\xFF\x41", 5) << QList<qsizetype>{1};
    QTest::newRow("UTF-16 without a mark, ending in half a pair")
        << QByteArray("a\0b\0c\0d\0\0\xD8", 10) << QList<qsizetype>{4};
}

void TestTextFile::saysWhereBytesWereReplaced()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qsizetype>, replaced);
    const DecodedText decoded = decodetext(bytes, QByteArray());
    QCOMPARE(decoded.replaced, replaced);
    for (const qsizetype at : replaced)
        QCOMPARE(decoded.text.at(at), kReplacement);
    if (!replaced.isEmpty())
        QVERIFY(!decoded.clean);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    const TextFileResult read = readtextfile(path);
    QVERIFY(read.ok());
    QCOMPARE(read->replaced, replaced);
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
    QCOMPARE(result->encoding, TextEncoding::Gb18030);
    QCOMPARE(result->text, QStringLiteral("在每一个小九宫格中\r\n标题\r\n"));
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
    QVERIFY(!result->text.isEmpty());
    QVERIFY(result->text.size() <= bytes.size());
    QVERIFY(result->text.startsWith(prefix));
    // Whatever the reading, each place it names holds U+FFFD, in order, and a text with one
    // is not clean.
    for (qsizetype n = 0; n < result->replaced.size(); ++n) {
        QCOMPARE(result->text.at(result->replaced.at(n)), kReplacement);
        if (n > 0)
            QVERIFY(result->replaced.at(n - 1) < result->replaced.at(n));
    }
    QVERIFY(result->replaced.isEmpty() || !result->clean);
    if (result->encoding == TextEncoding::Gb18030 && result->text.contains(kReplacement) &&
        !bytes.contains("\x84\x31\xA4\x37"))
        QVERIFY(!result->replaced.isEmpty());
}

void TestTextFile::failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<FileProblem::Kind>("status");

    QTest::newRow("missing file") << dataFile("no-such-file.txt") << FileProblem::Kind::Missing;
    QTest::newRow("missing folder")
        << dataFile("no-such-folder/a.txt") << FileProblem::Kind::Missing;
    QTest::newRow("a folder") << QStringLiteral(VASKELIO_TEST_DATA "/textfile")
                              << FileProblem::Kind::NotAFile;
#if defined(Q_OS_UNIX)
    // Never ends: read, it would fill the memory.
    QTest::newRow("a device") << QStringLiteral("/dev/zero") << FileProblem::Kind::NotAFile;
#endif
    QTest::newRow("empty path") << QString() << FileProblem::Kind::Missing;
}

void TestTextFile::failures()
{
    QFETCH(QString, path);
    QFETCH(FileProblem::Kind, status);

    const TextFileResult result = readtextfile(path);
    QVERIFY(!result);
    QVERIFY(!result);
    QCOMPARE(result.error().kind, status);
    QVERIFY(!result.error().reason.isEmpty());
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
    QVERIFY(!result);
    QCOMPARE(result.error().kind, FileProblem::Kind::Unreadable);
    QVERIFY(!result.error().reason.isEmpty());
}

void TestTextFile::readsResources()
{
    const TextFileResult result = readtextfile(QStringLiteral(":/i18n/lang1.txt"));
    QVERIFY(result.ok());
    QCOMPARE(result->encoding, TextEncoding::Utf8);
    QVERIFY(result->text.startsWith(QStringLiteral("sz1=一\n")));
    QVERIFY(result->text.contains(QStringLiteral("msgcheckok=没有错误\n")));
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
