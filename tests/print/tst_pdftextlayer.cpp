#include "engine/bank.h"
#include "engine/classset.h"
#include "i18n/texttable.h"
#include "pdftools.h"
#include "print/pdfbold.h"
#include "print/pdfpages.h"
#include "print/pdftextlayer.h"
#include "print/printform.h"
#include "print/printform2.h"
#include "print/worksheets.h"
#include "sandbox.h"
#include "text/textfile.h"
#include "widgets/fonts.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString ucs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

bool hasCjk(const WordSet &set)
{
    return hasCjkText(set.title + set.texts().join(QString()));
}

// The lists of a word-list file ("<<title", then a word a line) that hold CJK text.
QList<WordSet> cjkLists(const QString &path)
{
    QList<WordSet> lists;
    const TextFileResult file = readtextfile(path);
    if (!file)
        return lists;
    int next = 1;
    for (const QString &line : textlines(file->text)) {
        if (line.startsWith(QStringLiteral("<<"))) {
            lists.append({line.mid(2), {}});
            next = 1;
        } else if (!lists.isEmpty() && !line.trimmed().isEmpty()) {
            lists.last().setText(next++, line.trimmed());
        }
    }
    lists.removeIf([](const WordSet &set) { return !hasCjk(set); });
    return lists;
}

// Every CJK character of the table's values, in order.
QList<char32_t> cjkCharacters(const TextTable &table)
{
    QSet<char32_t> seen;
    QList<char32_t> found;
    for (const QString &line : table.lines())
        for (const uint c : TextTable::valueOf(line).toUcs4())
            if (hasCjkText(ucs4(c)) && !seen.contains(c)) {
                seen.insert(c);
                found.append(c);
            }
    return found;
}

// Lists that hold all of characters: a title of eight, then nine words of three.
QList<WordSet> listsOf(const QList<char32_t> &characters)
{
    QList<WordSet> lists;
    qsizetype at = 0;
    const auto take = [&](qsizetype n) {
        QString text;
        for (; n > 0 && at < characters.size(); --n)
            text += ucs4(characters.at(at++));
        return text;
    };
    while (at < characters.size()) {
        WordSet set{take(8), {}};
        for (int k = 0; k < 9; ++k) {
            const QString word = take(3);
            set.setText(k + 1, word.isEmpty() ? QString::number(k + 1) : word);
        }
        lists.append(set);
    }
    return lists;
}

QSet<char32_t> drawnBy(const QList<WordSet> &lists, const QString &more = {})
{
    QSet<char32_t> drawn;
    for (const WordSet &set : lists)
        for (const uint c : (set.title + set.texts().join(QString()) + more).toUcs4())
            drawn.insert(c);
    return drawn;
}

// The radicals and compatibility ideographs in text that were never drawn.
QString strayStandIns(const QString &text, const QSet<char32_t> &drawn)
{
    QString stray;
    for (const uint c : text.toUcs4())
        if (isStandInCodePoint(c) && !drawn.contains(c) && !stray.contains(ucs4(c)))
            stray += ucs4(c);
    return stray;
}

// What of a list its page's text lacks; the text without its line breaks and spaces, as a cell
// may break a word.
QStringList missing(const QString &text, const WordSet &set)
{
    QString compact = text;
    compact.remove(QRegularExpression(QStringLiteral("\\s")));
    QStringList lacking;
    for (const QString &item : QStringList{set.title} + set.texts())
        if (!compact.contains(item))
            lacking.append(item);
    return lacking;
}

QByteArray streamObject(const QByteArray &data, const QByteArray &extra = {})
{
    return "<< /Length " + QByteArray::number(data.size()) + extra + " >>\nstream\n" + data +
           "\nendstream";
}

// A PDF of these objects, numbered from 1, with its cross-reference table.
QByteArray pdfOf(const QList<QByteArray> &objects)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype n = 0; n < objects.size(); ++n) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(n + 1) + " 0 obj\n" + objects.at(n) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// One page in a font that names its ToUnicode CMap (object 3), the page's contents after it.
QByteArray fontPdf(const QByteArray &baseFont, const QByteArray &cmap,
                   const QByteArray &filter = {})
{
    return pdfOf({"<< /Type /Catalog /Pages 5 0 R >>",
                  "<< /Type /Font /Subtype /Type0 /BaseFont /" + baseFont +
                      " /Encoding /Identity-H /ToUnicode 3 0 R >>",
                  streamObject(cmap, filter), streamObject("BT /F1 12 Tf <0001> Tj ET"),
                  "<< /Type /Pages /Kids [6 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 5 0 R /MediaBox [0 0 100 100] /Contents 4 0 R "
                  "/Resources << /Font << /F1 2 0 R >> >> >>"});
}

QByteArray cmapOf(const QByteArray &entries)
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
           entries + "endcmap\nend\nend\n";
}

// What is wrong with a PDF's cross-reference table and stream lengths; empty when nothing.
QStringList structureProblems(const QByteArray &pdf)
{
    QStringList problems;
    const qsizetype start = pdf.lastIndexOf("startxref");
    const qsizetype xref = pdf.mid(start + 9).trimmed().split('\n').value(0).toLongLong();
    if (start < 0 || !pdf.mid(xref).startsWith("xref\n"))
        return {QStringLiteral("startxref points at %1").arg(xref)};
    const QList<QByteArray> head = pdf.mid(xref + 5).split('\n').value(0).split(' ');
    const int count = head.value(1).toInt();
    const qsizetype entries = xref + 5 + pdf.mid(xref + 5).indexOf('\n') + 1;
    for (int n = 1; n < count; ++n) {
        const qsizetype offset = pdf.mid(entries + 20 * n, 10).toLongLong();
        if (!pdf.mid(offset).startsWith(QByteArray::number(n) + " 0 obj"))
            problems.append(QStringLiteral("object %1 is not at %2").arg(n).arg(offset));
    }
    // A length in an object of its own ("/Length 9 0 R") is qpdf's to check.
    static const QRegularExpression stream(
        QStringLiteral("/Length (\\d+)\\b(?!\\s+\\d+\\s+R)[^>]*>>\nstream\n"));
    const QString latin = QString::fromLatin1(pdf);
    for (auto match = stream.globalMatch(latin); match.hasNext();) {
        const auto m = match.next();
        if (!latin.mid(m.capturedEnd() + m.captured(1).toInt()).startsWith("\nendstream"))
            problems.append(QStringLiteral("a stream is not %1 bytes long").arg(m.captured(1)));
    }
    return problems;
}

// What qpdf says is wrong with a file; empty when it finds nothing, or is not installed.
QString qpdfProblems(const QString &file)
{
    const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
    if (qpdf.isEmpty())
        return {};
    QProcess check;
    check.start(qpdf, {QStringLiteral("--check"), file});
    check.waitForFinished(60000);
    const QString said =
        QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
    return check.exitCode() == 0 && !said.contains(QStringLiteral("WARNING")) ? QString() : said;
}

// Kangxi radicals and compatibility ideographs with the ideographs a face would draw for them.
std::optional<char32_t> knownStandIn(char32_t c)
{
    static const QHash<char32_t, char32_t> known{
        {0x2F8A, 0x8272}, {0x2F00, 0x4E00}, {0x2F01, 0x4E28}, {0x2EE9, 0x9EC4}, {0xF91D, 0x20BB7}};
    const auto found = known.constFind(c);
    return found == known.constEnd() ? std::nullopt : std::optional<char32_t>(*found);
}
} // namespace

class TestPdfTextLayer : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    TextTables texts;

    QString writeSet(const QString &name, const WordSet &list)
    {
        const QString file = dir.filePath(name);
        WorksheetSet set;
        set.level = 0;
        set.words = list;
        set.count = 1;
        set.seed = 7;
        if (const Status written = writeWorksheets(file, set, texts); !written)
            qWarning("%s", qPrintable(written.error()));
        return file;
    }

    // Each list on a puzzle page and its solution, as Save as PDF writes a game.
    QString writePages(const QString &name, const QList<WordSet> &lists)
    {
        RandomSource random(seededClock(3));
        const Result<QList<TQJ>> puzzles =
            pickpuzzles(PuzzleBank::builtIn(), 0, int(lists.size()), random);
        if (!puzzles)
            return {};
        std::vector<std::unique_ptr<PrintPage>> owned;
        QList<QWidget *> pages;
        for (qsizetype n = 0; n < lists.size(); ++n) {
            auto puzzle = std::make_unique<Tprintform>();
            auto solution = std::make_unique<Tprintform2>();
            puzzle->translate(texts);
            solution->translate(texts);
            const QStringList words = lists.at(n).texts();
            puzzle->fill(puzzles->at(n), words, lists.at(n).title, words);
            solution->fill(puzzles->at(n), words);
            pages << puzzle->panel() << solution->panel();
            owned.push_back(std::move(puzzle));
            owned.push_back(std::move(solution));
        }
        const QString file = dir.filePath(name);
        if (const Status written = writePdf(file, lists.constFirst().title, pages); !written)
            qWarning("%s", qPrintable(written.error()));
        return file;
    }

    // Every list of lists in its own class set and on the pages of a game, in the language's
    // faces; the stray stand-ins found, as one string for the message.
    QString checkLists(const QString &name, const QList<WordSet> &lists, int language)
    {
        setTextLanguage(language);
        const QSet<char32_t> drawn =
            drawnBy(lists, texts.uitext("worksheets.sheet") + texts.uitext("worksheets.answerkey"));
        QString text;
        QStringList lacking, problems;
        for (qsizetype n = 0; n < lists.size(); ++n) {
            const QString file = writeSet(QStringLiteral("%1%2.pdf").arg(name).arg(n), lists.at(n));
            const QString sheet = pdftools::text(file, 1);
            text += sheet + pdftools::text(file, 2);
            lacking += missing(sheet, lists.at(n));
        }
        const QString pages = writePages(name + QStringLiteral("-game.pdf"), lists);
        for (qsizetype n = 0; n < lists.size(); ++n) {
            const QString puzzle = pdftools::text(pages, int(2 * n + 1));
            text += puzzle + pdftools::text(pages, int(2 * n + 2));
            lacking += missing(puzzle, lists.at(n));
        }
        if (!pdftools::allFontsEmbedded(pages))
            problems += QStringLiteral("fonts not embedded");
        if (const QString said = qpdfProblems(pages); !said.isEmpty())
            problems += QStringLiteral("qpdf: ") + said;
        setTextLanguage(0);
        const QString stray = strayStandIns(text, drawn);
        if (stray.isEmpty() && lacking.isEmpty() && problems.isEmpty())
            return {};
        lacking.removeDuplicates();
        return QStringLiteral("%1 stand-ins: %2; %3 not found: %4 %5")
            .arg(stray.size())
            .arg(stray)
            .arg(lacking.size())
            .arg(lacking.join(u' '), problems.join(u' '));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        installFontSubstitutes();
    }

    // The forms Qt writes: codes one by one, a range of codes to a list of targets, a range to
    // consecutive targets; only the targets answered for change.
    void cmapForms_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("changed");
        QTest::newRow("bfchar")
            << QByteArray("2 beginbfchar\n<0003> <2F8A>\n<0004> <4E2D>\nendbfchar\n")
            << QByteArray("2 beginbfchar\n<0003> <8272>\n<0004> <4E2D>\nendbfchar\n") << 1;
        QTest::newRow("bfrange list")
            << QByteArray("2 beginbfrange\n<0000> <0000> <0000>\n"
                          "<0001> <0004> [<989C> <2F8A> <7EA2> <2EE9> ]\nendbfrange\n")
            << QByteArray("2 beginbfrange\n<0000> <0000> <0000>\n"
                          "<0001> <0004> [<989C> <8272> <7EA2> <9EC4> ]\nendbfrange\n")
            << 2;
        QTest::newRow("bfrange of one")
            << QByteArray("1 beginbfrange\n<0005> <0005> <2EE9>\nendbfrange\n")
            << QByteArray("1 beginbfrange\n<0005> <0005> <9EC4>\nendbfrange\n") << 1;
        QTest::newRow("consecutive targets")
            << QByteArray("1 beginbfrange\n<0010> <0012> <2F00>\nendbfrange\n")
            << QByteArray("1 beginbfrange\n<0010> <0012> [<4E00> <4E28> <2F02>]\nendbfrange\n")
            << 2;
        QTest::newRow("consecutive, none answered")
            << QByteArray("1 beginbfrange\n<0020> <0029> <0041>\nendbfrange\n")
            << QByteArray("1 beginbfrange\n<0020> <0029> <0041>\nendbfrange\n") << 0;
        QTest::newRow("to a supplementary character")
            << QByteArray("1 beginbfchar\n<0007> <F91D>\nendbfchar\n")
            << QByteArray("1 beginbfchar\n<0007> <D842DFB7>\nendbfchar\n") << 1;
        QTest::newRow("strings of more than one stay")
            << QByteArray("2 beginbfchar\n<0008> <2F8A2F00>\n<0009> <D842DFB7>\nendbfchar\n")
            << QByteArray("2 beginbfchar\n<0008> <2F8A2F00>\n<0009> <D842DFB7>\nendbfchar\n") << 0;
        QTest::newRow("sections of both forms")
            << QByteArray("1 beginbfchar\n<0001> <2F00>\nendbfchar\n"
                          "1 beginbfrange\n<0002> <0003> [<2F01> <2F8A>]\nendbfrange\n"
                          "1 beginbfchar\n<0004> <2EE9>\nendbfchar\n")
            << QByteArray("1 beginbfchar\n<0001> <4E00>\nendbfchar\n"
                          "1 beginbfrange\n<0002> <0003> [<4E28> <8272>]\nendbfrange\n"
                          "1 beginbfchar\n<0004> <9EC4>\nendbfchar\n")
            << 4;
        QTest::newRow("section never closed") << QByteArray("1 beginbfchar\n<0001> <2F00>\n")
                                              << QByteArray("1 beginbfchar\n<0001> <2F00>\n") << 0;
        QTest::newRow("not hexadecimal")
            << QByteArray("1 beginbfchar\n<0001> /space\n<0002> <2F00>\nendbfchar\n")
            << QByteArray("1 beginbfchar\n<0001> /space\n<0002> <2F00>\nendbfchar\n") << 0;
    }
    void cmapForms()
    {
        QFETCH(QByteArray, cmap);
        QFETCH(QByteArray, expected);
        QFETCH(int, changed);
        int rewritten = -1;
        QCOMPARE(rewriteToUnicode(cmapOf(cmap), knownStandIn, &rewritten), cmapOf(expected));
        QCOMPARE(rewritten, changed);
    }

    // A CMap that grows moves the objects after it: the table follows them, and the file reads.
    void repairKeepsTheFileWhole()
    {
        const QByteArray before =
            fontPdf("NoSuchFace", cmapOf("1 beginbfrange\n<0001> <0003> <2F00>\nendbfrange\n"
                                         "1 beginbfchar\n<0004> <2F8A>\nendbfchar\n"));
        QVERIFY2(structureProblems(before).isEmpty(),
                 qPrintable(structureProblems(before).join('\n')));
        // Kangxi radicals one and two decompose to drawn ideographs; three was drawn itself;
        // the radical for colour decomposes to a character never drawn.
        const Result<TextLayerRepair> repaired =
            repairTextLayer(before, {U'一', U'丨', char32_t(0x2F02), U'红'});
        QVERIFY(repaired);
        QCOMPARE(repaired->changed, 2);
        QVERIFY(repaired->pdf.contains("<0001> <0003> [<4E00> <4E28> <2F02>]"));
        QVERIFY(repaired->pdf.contains("<0004> <2F8A>"));
        QVERIFY(repaired->pdf.size() > before.size());
        QVERIFY2(structureProblems(repaired->pdf).isEmpty(),
                 qPrintable(structureProblems(repaired->pdf).join('\n')));
        const QString file = dir.filePath(QStringLiteral("synthetic.pdf"));
        QVERIFY(writewholefile(file, repaired->pdf));
        const QString said = qpdfProblems(file);
        QVERIFY2(said.isEmpty(), qPrintable(said));

        // Nothing to mend: the very bytes.
        const Result<TextLayerRepair> same = repairTextLayer(repaired->pdf, {U'一', U'丨'});
        QVERIFY(same);
        QCOMPARE(same->changed, 0);
        QCOMPARE(same->pdf, repaired->pdf);
    }

    // QPdfWriter's faked bold becomes one filled and stroked text in the text's own colour; a
    // text that is not faked bold, or whose colour is a pattern, stays as it was.
    void fakedBoldContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "q\n/CSp cs 0 0 1 scn\n/GSa gs\nBT\n/F7 60 Tf ";
        const QByteArray glyphs = "10 -20 Td <0001> Tj\n60 0 Td <0002> Tj\n";
        const QByteArray again = "/Span << /ActualText <> >> BDC\n8.5 -20 Td <0001> Tj\n"
                                 "60 0 Td <0002> Tj\nEMC\nET\nQ\n";
        const QByteArray stroke = "/CSp CS 0 0 1 SCN 3 w 1 J 1 j 2 Tr\n";
        QTest::newRow("bold") << head + "1 0 0 -1 0 0 Tm\n" + glyphs + "1 0 0 -1 0 0 Tm\n" + again
                              << head + "1 0 0 -1 0 0 Tm\n" + stroke + glyphs + "ET\nQ\n";
        QTest::newRow("bold italic, twice")
            << (head + "1 0 .3 -1 0 0 Tm\n" + glyphs + "1 0 .3 -1 0 0 Tm\n" + again).repeated(2)
            << (head + "1 0 .3 -1 0 0 Tm\n" + stroke + glyphs + "ET\nQ\n").repeated(2);
        const QByteArray regular = head + "1 0 0 -1 0 0 Tm\n" + glyphs + "ET\nQ\n";
        QTest::newRow("regular") << regular << regular;
        QByteArray pattern = head + "1 0 0 -1 0 0 Tm\n" + glyphs + "1 0 0 -1 0 0 Tm\n" + again;
        pattern.replace("/CSp cs 0 0 1 scn", "/PCSp cs /Pat5 scn");
        QTest::newRow("pattern") << pattern << pattern;
    }
    void fakedBoldContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);
        int mended = -1;
        QCOMPARE(mendFakedBoldContent(content, &mended), expected);
        QCOMPARE(mended, int(content.count("ActualText")) * (content != expected));
    }

    // The faked bold as this Qt writes it is found and mended in the compressed page, and the
    // file stays whole, with the word in its text layer once.
    void fakedBoldInAPdf()
    {
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            QPainter painter(&writer);
            QFont kai(QStringLiteral("simkai"));
            kai.setPointSize(40);
            kai.setBold(true);
            painter.setFont(kai);
            painter.setPen(Qt::blue);
            painter.drawText(QPointF(200, 400), QStringLiteral("三"));
        }
        int mended = 0;
        const Result<QByteArray> pdf = mendFakedBold(bytes, &mended);
        QVERIFY(pdf);
        QCOMPARE(mended, 1);
        QVERIFY2(structureProblems(*pdf).isEmpty(), qPrintable(structureProblems(*pdf).join('\n')));
        const QString file = dir.filePath(QStringLiteral("bold.pdf"));
        QVERIFY(writewholefile(file, *pdf));
        const QString said = qpdfProblems(file);
        QVERIFY2(said.isEmpty(), qPrintable(said));
        QCOMPARE(pdftools::text(file, 1).trimmed(), QStringLiteral("三"));
        int again = -1;
        QVERIFY(mendFakedBold(*pdf, &again));
        QCOMPARE(again, 0);
    }

    // A compressed CMap or a length in an object of its own is left alone, the file whole.
    void streamsNotReadStayAsTheyAre()
    {
        const QByteArray cmap = cmapOf("1 beginbfchar\n<0001> <2F00>\nendbfchar\n");
        for (const QByteArray &pdf :
             {fontPdf("NoSuchFace", cmap, " /Filter /FlateDecode"),
              pdfOf({"<< /Type /Catalog >>", "<< /Type /Font /ToUnicode 3 0 R >>",
                     "<< /Length 4 0 R >>\nstream\n" + cmap + "\nendstream",
                     QByteArray::number(cmap.size())})}) {
            const Result<TextLayerRepair> repaired = repairTextLayer(pdf, {U'一'});
            QVERIFY(repaired);
            QCOMPARE(repaired->changed, 0);
            QCOMPARE(repaired->pdf, pdf);
        }
    }

    // A radical of the supplement decomposes to nothing: the face tells which drawn character
    // has its glyph.
    void theFaceTellsTheGlyph()
    {
        QVERIFY2(QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC")),
                 "the tests draw with Noto Sans CJK");
        const QByteArray pdf =
            fontPdf("NotoSansCJKsc-Regular",
                    cmapOf("1 beginbfrange\n<0001> <0002> [<2EE9> <2F8A>]\nendbfrange\n"));
        const Result<TextLayerRepair> repaired = repairTextLayer(pdf, {U'黄', U'色', U'红'});
        QVERIFY(repaired);
        QCOMPARE(repaired->changed, 2);
        QVERIFY(repaired->pdf.contains("[<9EC4> <8272>]"));
        // Without the face, only the decomposition is left to go by.
        const Result<TextLayerRepair> guessed =
            repairTextLayer(fontPdf("NoSuchFace", cmapOf("1 beginbfrange\n<0001> <0002> "
                                                         "[<2EE9> <2F8A>]\nendbfrange\n")),
                            {U'黄', U'色'});
        QVERIFY(guessed);
        QCOMPARE(guessed->changed, 1);
        QVERIFY(guessed->pdf.contains("[<2EE9> <8272>]"));
        // Neither drawn: nothing to choose from.
        const Result<TextLayerRepair> none = repairTextLayer(pdf, {U'红'});
        QVERIFY(none);
        QCOMPARE(none->changed, 0);
    }

    void unreadableFiles()
    {
        const QByteArray pdf =
            fontPdf("NoSuchFace", cmapOf("1 beginbfchar\n<0001> <2F00>\nendbfchar\n"));
        QVERIFY(!repairTextLayer(QByteArray(pdf).replace("startxref", "startXref"), {U'一'}));
        const qsizetype table = pdf.lastIndexOf("xref\n0 ");
        QVERIFY(!repairTextLayer(QByteArray(pdf).replace(table, 4, "xreg"), {U'一'}));
        QVERIFY(!repairTextLayer(pdf.left(pdf.lastIndexOf("trailer")), {U'一'}));
        QVERIFY(!repairTextLayer(QByteArray(), {U'一'}));

        // A file not read as a PDF stays as it was; one that cannot be read fails.
        const QString file = dir.filePath(QStringLiteral("notapdf.pdf"));
        QVERIFY(writewholefile(file, "not a PDF <2F00>"));
        QVERIFY(repairTextLayerFile(file, {U'一'}));
        QCOMPARE(readtextfile(file)->text, QStringLiteral("not a PDF <2F00>"));
        QVERIFY(!repairTextLayerFile(dir.filePath(QStringLiteral("absent.pdf")), {U'一'}));
    }

    // What is drawn is gathered on the device that gathers it, and only while it does.
    void drawnTextByDevice()
    {
        QImage gathered(8, 8, QImage::Format_RGB32), other(8, 8, QImage::Format_RGB32);
        QSet<char32_t> seen;
        {
            DrawnText drawn(&gathered);
            QPainter onGathered(&gathered), onOther(&other);
            noteDrawnText(onGathered, QStringLiteral("色⾊𠮷"));
            noteDrawnText(onOther, QStringLiteral("黄"));
            seen = drawn.characters();
        }
        QCOMPARE(seen, (QSet<char32_t>{U'色', char32_t(0x2F8A), char32_t(0x20BB7)}));
        QPainter later(&gathered);
        noteDrawnText(later, QStringLiteral("红"));
    }

    // The lists that come with the game, as class sets and as a game's pages: what pdftotext
    // reads is what was drawn.
    void seedListsReadAsTyped()
    {
        QList<WordSet> lists =
            cjkLists(QStringLiteral(VASKELIO_SOURCE_DIR "/data/lists.txt")) +
            cjkLists(QStringLiteral(VASKELIO_SOURCE_DIR "/data/wordlists/builtin.txt"));
        QVERIFY(lists.size() >= 10);
        QVERIFY(std::any_of(lists.begin(), lists.end(), [](const WordSet &set) {
            return set.title == QStringLiteral("颜色");
        }));
        const QString wrong = checkLists(QStringLiteral("seed"), lists, 1);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // Every CJK character of the Chinese and Japanese texts, in the faces of each language.
    void textTablesReadAsTyped()
    {
        QString wrong;
        for (const int language : {1, 2}) {
            const QList<WordSet> lists = listsOf(cjkCharacters(texts.lang(language)));
            QVERIFY(lists.size() >= 4);
            if (const QString found =
                    checkLists(QStringLiteral("table%1-").arg(language), lists, language);
                !found.isEmpty())
                wrong += QStringLiteral("language %1: %2\n").arg(language).arg(found);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // A face's look-alikes outside the radical blocks too: the Japanese instructions, with their
    // katakana middle dots, and a word holding one read as typed.
    void lookAlikesReadAsTyped()
    {
        texts.setLangid(2);
        texts.selectLanguage();
        setTextLanguage(2);
        const WordSet list{QStringLiteral("行・列"),
                           {QStringLiteral("ねこ・いぬ"), QStringLiteral("いぬ"),
                            QStringLiteral("とり"), QStringLiteral("うま"), QStringLiteral("うし"),
                            QStringLiteral("さる"), QStringLiteral("くま"), QStringLiteral("しか"),
                            QStringLiteral("たぬき")}};
        const QString file = writeSet(QStringLiteral("lookalikes.pdf"), list);
        const QString sheet = pdftools::text(file, 1);
        const QStringList typed{texts.uitext("printform.TntLabel3.caption"),
                                texts.uitext("printform.TntLabel4.caption"), list.title,
                                list.text(1)};
        texts.setLangid(0);
        texts.selectLanguage();
        setTextLanguage(0);
        QVERIFY(typed.at(1).contains(QStringLiteral("・")));
        for (const QString &text : typed)
            QVERIFY2(sheet.contains(text), qPrintable(text + QStringLiteral("\n") + sheet));
    }

    // A radical that is in the list is read as that radical; the ideographs beside it as theirs.
    void drawnRadicalStays()
    {
        const WordSet list{QStringLiteral("颜⾊"),
                           {QStringLiteral("⾊"), QStringLiteral("红"), QStringLiteral("黄"),
                            QStringLiteral("⼀"), QStringLiteral("中文"), QStringLiteral("绿"),
                            QStringLiteral("黑"), QStringLiteral("白"), QStringLiteral("下面")}};
        const QString wrong = checkLists(QStringLiteral("radical"), {list}, 1);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        const QString text = pdftools::text(dir.filePath(QStringLiteral("radical0.pdf")), 1);
        QVERIFY(text.contains(QStringLiteral("颜⾊")));
        QVERIFY(!text.contains(QStringLiteral("色")));
        QVERIFY(!text.contains(QStringLiteral("一")));
    }
};

VASKELIO_GUI_TEST_MAIN(TestPdfTextLayer)
#include "tst_pdftextlayer.moc"
