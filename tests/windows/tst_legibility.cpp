#include "board/celltext.h"
#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "engine/qj.h"
#include "longwordgame.h"
#include "programfixture.h"
#include "sandbox.h"
#include "widgets/fonts.h"
#include "widgets/radiogroup.h"
#include "windows/frmabout.h"
#include "windows/frmda.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"
#include "windows/programstate.h"
#include "windows/translationeditor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QToolButton>

#include <cmath>

namespace {
// What a caption shows: "&Close" shows "Close", "&&" shows "&".
QString shownText(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Every visible label, button, radio item and group title of the window whose text does not fit
// inside it, named with the text that is cut.
QStringList clippedTexts(QWidget *window)
{
    QStringList cut;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        const QFontMetrics fm(w->font());
        const QString name = w->objectName().isEmpty()
                                 ? QString::fromLatin1(w->metaObject()->className())
                                 : w->objectName();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty())
                continue;
            const QRect inside = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                                -label->margin(), -label->margin());
            bool fits;
            if (label->wordWrap()) {
                const QRect need = fm.boundingRect(
                    inside, Qt::TextWordWrap | int(label->alignment()), label->text());
                fits = need.width() <= inside.width() && need.height() <= inside.height();
            } else {
                const QSize need = label->sizeHint();
                fits = need.width() <= label->width() && need.height() <= label->height();
            }
            if (!fits)
                cut << name + QLatin1Char('=') + label->text();
        } else if (auto *radio = qobject_cast<QRadioButton *>(w)) {
            QStyleOptionButton option;
            option.initFrom(radio);
            option.text = radio->text();
            const QRect room =
                radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
            if (fm.horizontalAdvance(shownText(radio->text())) > room.width() ||
                fm.height() > radio->height())
                cut << name + QLatin1Char('=') + radio->text();
        } else if (auto *button = qobject_cast<QPushButton *>(w)) {
            // The bevel takes a few pixels on each side.
            if (!button->text().isEmpty() &&
                (fm.horizontalAdvance(shownText(button->text())) + 8 > button->width() ||
                 fm.height() + 4 > button->height()))
                cut << name + QLatin1Char('=') + button->text();
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            if (fm.horizontalAdvance(group->title()) + 16 > group->width())
                cut << name + QLatin1Char('=') + group->title();
        }
    }
    return cut;
}

double channel(int v)
{
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb p)
{
    return 0.2126 * channel(qRed(p)) + 0.7152 * channel(qGreen(p)) + 0.0722 * channel(qBlue(p));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background is the commonest colour of the picture; the text is its pixel of the highest
// contrast against it (the core of a glyph stroke).
double textContrast(const QImage &picture)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000u];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x9C, 0xC8, 0xFF));
    return dark;
}

// The family that draws the first glyph of text in font.
QString drawnFamily(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

// A key pressed inside a window goes to its focused control, as the keyboard would send it.
void pressInside(QWidget *window, int key)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window ? focus : window, Qt::Key(key));
}

// In device pixels: the ink of text drawn in area (in the widget's coordinates) of two pictures
// of it, one with the text and one without, and the number of runs of rows it spans.
struct Ink {
    QRect box;
    int bands = 0;
};
Ink inkBetween(const QImage &with, const QImage &without, const QRect &area, qreal ratio)
{
    const QRect pixels(
        QPoint(int(std::floor(area.left() * ratio)), int(std::floor(area.top() * ratio))),
        QPoint(int(std::ceil((area.right() + 1) * ratio)) - 1,
               int(std::ceil((area.bottom() + 1) * ratio)) - 1));
    Ink ink;
    bool inBand = false;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        bool row = false;
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                ink.box |= QRect(x, y, 1, 1);
                row = true;
            }
        ink.bands += row && !inBand;
        inBand = row;
    }
    return ink;
}

const char *const kDialogs[] = {"frmnewgame",  "frmwordlist", "frmappend",
                                "frmmeanings", "webwordlist", "frmsubmit",
                                "frmoption",   "frmspeech",   "frmabout",
                                "frmworksheets"};
} // namespace

class TestLegibility : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ProgramFixture> fixture;

    TaaForm1 &main() { return fixture->main(); }
    QDialog *dialog(const char *name) { return main().findChild<QDialog *>(QLatin1String(name)); }
    QLabel *statusLabel() { return main().statusBar()->findChild<QLabel *>(); }
    QString text(int langid, const char *key)
    {
        const int before = fixture->state().texts.langid();
        fixture->state().texts.setLangid(langid);
        fixture->state().texts.selectLanguage();
        const QString v = fixture->state().texts.uitext(QLatin1String(key));
        fixture->state().texts.setLangid(before);
        fixture->state().texts.selectLanguage();
        return v;
    }
    void startGame()
    {
        QVERIFY(main().newgame(3, WordSet::fromTexts(QStringLiteral("t"), testWords())));
    }
    // A cell the player may fill: given cells take no pointer.
    TTntcell *openCell()
    {
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                if (!fixture->model().cell(i, j).given)
                    return main().board()->cell(i, j);
        return nullptr;
    }
    void hoverCell()
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(openCell(), &enter);
    }
    void chooseInOptions(int langid)
    {
        auto *options = main().findChild<Tfrmoption *>();
        options->show();
        options->languages()->setItemIndex(langid);
        QTest::mouseClick(options->findChild<QPushButton *>(QStringLiteral("Button2")),
                          Qt::LeftButton);
    }

private slots:
    void init()
    {
        QFile::remove(dir.filePath(QStringLiteral("s.ini")));
        fixture = std::make_unique<ProgramFixture>(dir.filePath(QStringLiteral("s.ini")));
        fixture->program->show();
        fixture->program->makewindows();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }
    void cleanup()
    {
        fixture.reset();
        QApplication::setPalette(QPalette());
    }

    void nothingClipped_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<QString>("window");
        for (int langid = 0; langid <= 2; ++langid) {
            QTest::addRow("aaForm1 lang%d", langid) << langid << QStringLiteral("aaForm1");
            for (const char *name : kDialogs)
                QTest::addRow("%s lang%d", name, langid) << langid << QString::fromLatin1(name);
        }
    }
    // Every label, button and radio item shows its whole text after the language switch, the
    // status bar's longest text included.
    void nothingClipped()
    {
        QFETCH(int, langid);
        QFETCH(QString, window);
        // Switching from another language first: labels must follow every switch, not only the
        // first layout.
        main().keydown(Qt::Key_F1 + (langid + 1) % 3);
        main().keydown(Qt::Key_F1 + langid);
        QWidget *shown = &main();
        if (window != QLatin1String("aaForm1")) {
            QDialog *d = dialog(window.toLatin1().constData());
            QVERIFY(d);
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            // Relabelled inside the dialog as well.
            pressInside(d, Qt::Key_F1 + (langid + 2) % 3);
            pressInside(d, Qt::Key_F1 + langid);
            shown = d;
        } else {
            main().showstatus(text(langid, "msgmouseenter"));
        }
        // What the screen shows once the event loop has laid the changed texts out again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QStringList cut = clippedTexts(shown);
        if (!cut.isEmpty())
            qWarning() << cut;
        QVERIFY(cut.isEmpty());
        if (shown != &main())
            shown->hide();
    }

    // The kept game's texts: its status lines fit the bar, its choices their page.
    void keptGameTextsFit_data() { darkPaletteContrast_data(); }
    void keptGameTextsFit()
    {
        QFETCH(int, langid);
        main().keydown(Qt::Key_F1 + langid);
        main().showstatus(text(langid, "msgresumed"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(clippedTexts(&main()), QStringList());
        main().showstatus(text(langid, "msgkeptdamaged").arg("autosave.wrd.damaged"));
        QCOMPARE(clippedTexts(&main()), QStringList());

        auto *options = main().findChild<Tfrmoption *>();
        options->show();
        auto *pages = options->findChild<QTabWidget *>();
        pages->setCurrentIndex(1);
        for (QCheckBox *check : {options->resumeGame(), options->askReplace()}) {
            QStyleOptionButton option;
            option.initFrom(check);
            option.text = check->text();
            const QRect room =
                check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            QVERIFY2(QFontMetrics(check->font()).horizontalAdvance(check->text()) <= room.width(),
                     qPrintable(check->text()));
            QVERIFY(check->geometry().right() < pages->currentWidget()->width());
        }
        pages->setCurrentIndex(0);
        options->hide();
    }

    void paletteWordsFit_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<QString>("word");
        for (int langid = 0; langid <= 2; ++langid) {
            for (const char *word :
                 {"Wednesday", "vegetables", "ice cream", "一", "ろく", "Thursday", "相当に難しい"})
                QTest::addRow("%s lang%d", word, langid) << langid << QString::fromUtf8(word);
        }
    }
    // Every piece of a word between spaces fits the 54 pixels of text width, and the lines fit
    // the height.
    void paletteWordsFit()
    {
        QFETCH(int, langid);
        QFETCH(QString, word);
        main().keydown(Qt::Key_F1 + langid);
        TTntspeedbutton *button = main().wordPalette()->button(4);
        button->Setmycaption(word);
        const QFontMetrics fm(button->captionFont());
        const QRect room(2, 2, button->width() - 6, button->height() - 6);
        const QRect block = fm.boundingRect(room, Qt::AlignHCenter | Qt::TextWordWrap, word);
        QVERIFY2(block.width() <= room.width(), qPrintable(QString::number(block.width())));
        QVERIFY2(block.height() <= room.height(), qPrintable(QString::number(block.height())));
        // A word that fits is drawn at the button's own size.
        if (word.size() <= 3)
            QCOMPARE(button->captionFont().pointSize(), button->font().pointSize());
    }

    void darkPaletteContrast_data()
    {
        QTest::addColumn<int>("langid");
        QTest::newRow("English") << 0;
        QTest::newRow("Chinese") << 1;
        QTest::newRow("Japanese") << 2;
    }
    // The rule text on its white frame, the status text on orange and the About box's texts on
    // its white picture stay readable when the desktop's palette is dark.
    void darkPaletteContrast()
    {
        QFETCH(int, langid);
        QApplication::setPalette(darkPalette());
        main().keydown(Qt::Key_F1 + langid);
        main().showstatus(text(langid, "msgmouseenter"));
        QCoreApplication::processEvents();
        const QImage window = main().grab().toImage();
        auto *rule = main().findChild<QLabel *>(QStringLiteral("mmsudokurule"));
        const QImage ruleText = window.copy(QRect(rule->mapTo(&main(), QPoint()), rule->size()));
        QVERIFY2(textContrast(ruleText) >= 4.5,
                 qPrintable(QString::number(textContrast(ruleText))));
        QLabel *status = statusLabel();
        const QImage statusText =
            window.copy(QRect(status->mapTo(&main(), QPoint()), status->size()));
        QVERIFY2(textContrast(statusText) >= 4.5,
                 qPrintable(QString::number(textContrast(statusText))));

        QDialog *about = dialog("frmabout");
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        const QImage box = about->grab().toImage();
        for (const char *name : {"Label1", "Label2", "LinkLabel1", "Label4", "credits"}) {
            auto *label = about->findChild<QLabel *>(QLatin1String(name));
            const QImage shown = box.copy(label->geometry());
            QVERIFY2(textContrast(shown) >= 4.5,
                     qPrintable(QStringLiteral("%1 %2").arg(name).arg(textContrast(shown))));
        }
        about->hide();
    }

    void statusFollowsLanguage_data()
    {
        QTest::addColumn<bool>("byOptions");
        QTest::addColumn<bool>("overCell");
        QTest::newRow("F-key, cell") << false << true;
        QTest::newRow("F-key, toolbar") << false << false;
        QTest::newRow("Options, cell") << true << true;
        QTest::newRow("Options, toolbar") << true << false;
    }
    // What the status bar says is said again in the new language at once.
    void statusFollowsLanguage()
    {
        QFETCH(bool, byOptions);
        QFETCH(bool, overCell);
        startGame();
        const char *key = overCell ? "msgmouseenter" : "tbrestart.hint";
        if (overCell) {
            hoverCell();
        } else {
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(
                main().findChild<QToolButton *>(QStringLiteral("tbrestart")), &enter);
        }
        QCOMPARE(main().statusText(), text(0, key));
        for (int langid : {2, 1, 0}) {
            if (byOptions)
                chooseInOptions(langid);
            else
                main().keydown(Qt::Key_F1 + langid);
            QCOMPARE(main().statusText(), text(langid, key));
        }
        if (overCell) {
            // An emptied status bar stays empty.
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(openCell(), &leave);
            QVERIFY(main().statusText().isEmpty());
            main().keydown(Qt::Key_F2);
            QVERIFY(main().statusText().isEmpty());
        }
    }

    // The F12 editor's language choice shows the language in force however it was chosen.
    void editorFollowsLanguage()
    {
        main().keydown(Qt::Key_F12);
        TranslationEditor *editor = main().translationEditor();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->languages()->itemIndex(), 0);
        main().keydown(Qt::Key_F3);
        QCOMPARE(editor->languages()->itemIndex(), 2);
        chooseInOptions(1);
        QCOMPARE(editor->languages()->itemIndex(), 1);
        main().keydown(Qt::Key_F12);
        main().keydown(Qt::Key_F1);
        QCOMPARE(editor->languages()->itemIndex(), 0);
        // Choosing in the editor still switches the language.
        editor->languages()->setItemIndex(2);
        QCOMPARE(fixture->state().texts.langid(), 2);
    }

    void qtDialogsFollowLanguage_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("yes");
        QTest::newRow("Chinese") << 1 << QStringLiteral("取消") << QStringLiteral("是");
        QTest::newRow("Japanese") << 2 << QStringLiteral("キャンセル") << QStringLiteral("はい");
        QTest::newRow("English") << 0 << QStringLiteral("Cancel") << QStringLiteral("&Yes");
    }
    // Qt's own buttons speak the language in force, and go back to English after F1.
    void qtDialogsFollowLanguage()
    {
        QFETCH(int, langid);
        QFETCH(QString, cancel);
        QFETCH(QString, yes);
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
        main().keydown(Qt::Key_F1 + (langid + 1) % 3);
        main().keydown(Qt::Key_F1 + langid);
        QCoreApplication::processEvents();
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), cancel);
        QCOMPARE(
            shownText(buttons.button(QDialogButtonBox::Yes)->text()).left(shownText(yes).size()),
            shownText(yes));
        QDialogButtonBox fresh(QDialogButtonBox::Cancel);
        QCOMPARE(fresh.button(QDialogButtonBox::Cancel)->text(), cancel);
    }

    void cjkFaceByLanguage_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("family");
        QTest::newRow("Han, English UI") << 0 << QStringLiteral("一") << "Noto Sans CJK SC";
        QTest::newRow("Han, Chinese UI") << 1 << QStringLiteral("二") << "Noto Sans CJK SC";
        QTest::newRow("Han, Japanese UI") << 2 << QStringLiteral("三") << "Noto Sans CJK JP";
        QTest::newRow("kana, English UI") << 0 << QStringLiteral("ろく") << "Noto Sans CJK JP";
        QTest::newRow("kana, Chinese UI") << 1 << QStringLiteral("ろく") << "Noto Sans CJK JP";
        QTest::newRow("Han and kana") << 1 << QStringLiteral("難しい") << "Noto Sans CJK JP";
        QTest::newRow("Latin, Japanese UI") << 2 << QStringLiteral("seven") << "Liberation Sans";
    }
    // A word is drawn in the CJK face of its script and the language in force, named outright on
    // the palette so no fallback search runs; the windows' own texts follow the language too.
    void cjkFaceByLanguage()
    {
        QFETCH(int, langid);
        QFETCH(QString, word);
        QFETCH(QString, family);
        main().keydown(Qt::Key_F1 + langid);
        TTntspeedbutton *button = main().wordPalette()->button(1);
        button->Setmycaption(word);
        const QFont font = button->captionFont();
        QCOMPARE(drawnFamily(font, word).toLower(), family.toLower());
        if (family.contains(QLatin1String("CJK")))
            QCOMPARE(font.families(), QStringList{family});
        // The window's labels carry the language's CJK face after the Latin one.
        auto *start = main().findChild<QPushButton *>(QStringLiteral("btstartnewgame"));
        const QString uiFace =
            langid == 2 ? QStringLiteral("Noto Sans CJK JP") : QStringLiteral("Noto Sans CJK SC");
        QCOMPARE(drawnFamily(start->font(), QStringLiteral("新")).toLower(), uiFace.toLower());
        QCOMPARE(drawnFamily(dialog("frmnewgame")->font(), QStringLiteral("新")).toLower(),
                 uiFace.toLower());
        // The board's cells choose the same way.
        auto *cell = main().board()->cell(1, 1);
        QCOMPARE(drawnFamily(fontForText(cell->font(), word), word).toLower(), family.toLower());
    }

    void scriptOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cjk");
        QTest::addColumn<bool>("kana");
        QTest::newRow("Latin") << QStringLiteral("ice cream") << false << false;
        QTest::newRow("empty") << QString() << false << false;
        QTest::newRow("Han") << QStringLiteral("八") << true << false;
        QTest::newRow("Han beyond the BMP") << QString::fromUcs4(U"x\U00020000") << true << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD840)) << false << false;
        QTest::newRow("hiragana") << QStringLiteral("ろく") << true << true;
        QTest::newRow("katakana after Latin") << QStringLiteral("Tシャツ") << true << true;
        QTest::newRow("half-width katakana") << QStringLiteral("ｶﾅ") << true << true;
        QTest::newRow("CJK punctuation") << QStringLiteral("a、b") << true << false;
        QTest::newRow("full-width digit") << QStringLiteral("１") << true << false;
        QTest::newRow("Hangul") << QStringLiteral("한") << true << false;
    }
    void scriptOfText()
    {
        QFETCH(QString, text);
        QFETCH(bool, cjk);
        QFETCH(bool, kana);
        QCOMPARE(hasCjkText(text), cjk);
        QCOMPARE(hasKana(text), kana);
        // A Kai face stays for Chinese and gives way to the Japanese serif face for kana.
        const QFont kai(QStringLiteral("simkai"), 12);
        setTextLanguage(1);
        QCOMPARE(fontForText(kai, text).families().constFirst(),
                 kana ? QStringLiteral("Noto Serif CJK JP") : QStringLiteral("simkai"));
        setTextLanguage(0);
    }

    // A caption shrunk for one language is drawn at the window's size again in the next.
    void buttonFontStepsBack()
    {
        QDialog *d = dialog("frmwordlist");
        auto *button = d->findChild<QPushButton *>(QStringLiteral("Button1"));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        pressInside(d, Qt::Key_F3);
        QVERIFY(button->font().pointSize() < 8);
        pressInside(d, Qt::Key_F1);
        QCOMPARE(button->font().pointSize(), 8);
        QCOMPARE(button->text(), QStringLiteral("From Share List"));
        d->hide();
    }

    void longWordsWhole_data()
    {
        QTest::addColumn<int>("langid");
        QTest::addColumn<qreal>("zoom");
        for (int langid = 0; langid <= 2; ++langid)
            for (const qreal zoom : {1.0, 1.5})
                QTest::addRow("lang%d at %d%%", langid, int(zoom * 100)) << langid << zoom;
    }
    // Long English words and kana stand whole on one line on the board, the palette and the
    // Solution window, clear of the edges of the text rectangle, at 100 % and 150 %. A word
    // that fits keeps the size its window gives it.
    void longWordsWhole()
    {
        QFETCH(int, langid);
        QFETCH(qreal, zoom);
        main().keydown(Qt::Key_F1 + langid);
        QVERIFY(main().newgame(0, WordSet::fromTexts(QStringLiteral("Long words"), longWords())));
        Tfrmda *frmda = main().findChild<Tfrmda *>();
        frmda->showsolution(fixture->model().puzzle(), longWords());
        // The board and the Solution window's board with every cell filled, and a picture of
        // each empty to tell the ink from the face.
        Ttntstdsudoku *board = main().board();
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
                fixture->game().model().setEntry(i, j, fixture->model().cell(i, j).solution);
        struct Surface {
            QWidget *widget;
            QList<QWidget *> cells;
        };
        QList<Surface> surfaces{{board, {}}, {frmda->board(), {}}, {main().wordPalette(), {}}};
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                surfaces[0].cells.append(board->cell(i, j));
                surfaces[1].cells.append(frmda->board()->cell(i, j));
            }
        for (int k = 1; k <= 9; ++k)
            surfaces[2].cells.append(main().wordPalette()->button(k));
        for (const Surface &surface : surfaces) {
            const QImage with = drawnAt(surface.widget, zoom);
            QHash<QWidget *, QString> texts;
            for (QWidget *cell : surface.cells) {
                if (auto *c = qobject_cast<TTntcell *>(cell)) {
                    texts[cell] = c->text();
                    c->setText(QStringLiteral(" "));
                } else {
                    auto *b = static_cast<TTntspeedbutton *>(cell);
                    texts[cell] = b->mycaption();
                    b->Setmycaption(QString());
                }
            }
            const QImage without = drawnAt(surface.widget, zoom);
            for (QWidget *cell : surface.cells) {
                const QString word = texts.value(cell);
                const QRect area(cell->mapTo(surface.widget, QPoint(2, 2)),
                                 cell->size() - QSize(6, 6));
                const Ink ink = inkBetween(with, without, area, zoom);
                const QString where = QStringLiteral("%1 %2: ink %3,%4 %5x%6 in %7,%8 %9x%10")
                                          .arg(surface.widget->objectName(), word)
                                          .arg(ink.box.x())
                                          .arg(ink.box.y())
                                          .arg(ink.box.width())
                                          .arg(ink.box.height())
                                          .arg(area.x() * zoom)
                                          .arg(area.y() * zoom)
                                          .arg(area.width() * zoom)
                                          .arg(area.height() * zoom);
                QVERIFY2(!ink.box.isEmpty(), qPrintable(where));
                // A clipped word runs into the rectangle's edges: its first and last columns.
                QVERIFY2(ink.box.left() > area.left() * zoom + 0.5 &&
                             ink.box.right() < (area.right() + 1) * zoom - 1.5,
                         qPrintable(where));
                QVERIFY2(ink.bands == (word.contains(QLatin1Char(' ')) ? ink.bands : 1),
                         qPrintable(where));
                QVERIFY2(ink.bands <= 2, qPrintable(where));
                if (auto *c = qobject_cast<TTntcell *>(cell))
                    c->setText(word);
                else
                    static_cast<TTntspeedbutton *>(cell)->Setmycaption(word);
            }
        }
        // The sizes the windows give these words, kept where the word fits.
        for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j) {
                TTntcell *c = frmda->board()->cell(i, j);
                if (c->text().size() > 2)
                    continue;
                const QFont wanted = fontForText(c->font(), c->text());
                QCOMPARE(fitCaption(wanted, c->text(), c->size(), c).font.pointSize(),
                         c->text().size() == 1 ? 20 : 15);
                TTntcell *b = board->cell(i, j);
                const QFont boardWanted = fontForText(b->font(), b->text());
                QCOMPARE(fitCaption(boardWanted, b->text(), b->size(), b).font.pointSize(),
                         b->text().size() == 1 ? 18 : 14);
            }
        QCOMPARE(main().wordPalette()->button(1)->captionFont().pointSize(),
                 main().wordPalette()->button(1)->font().pointSize());
    }
};

VASKELIO_GUI_TEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
