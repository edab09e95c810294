#include "windows/mainwindow.h"

#include "board/tntcell.h"
#include "board/tntspeedbutton.h"
#include "board/tntstdsudoku.h"
#include "board/wordpalette.h"
#include "engine/bank.h"
#include "engine/prompter.h"
#include "engine/qj.h"
#include "game/gamesession.h"
#include "storage/autosave.h"
#include "storage/folders.h"
#include "storage/savedgame.h"
#include "storage/settings.h"
#include "text/textfile.h"
#include "widgets/controls.h"
#include "widgets/dialogbase.h"
#include "widgets/fonts.h"
#include "widgets/keypreview.h"
#include "widgets/modalguard.h"
#include "widgets/panels.h"
#include "widgets/radiogroup.h"
#include "widgets/statusline.h"
#include "widgets/translate.h"
#include "windows/frmda.h"
#include "windows/gamefiles.h"
#include "windows/hintexplainer.h"
#include "windows/keyboardplay.h"
#include "windows/palettefaces.h"
#include "windows/playclock.h"
#include "windows/printcommands.h"
#include "windows/programstate.h"
#include "windows/translationeditor.h"
#include "wordlists/wordliststore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>

namespace {
struct ToolDef {
    const char *name;
    const char *hint;
    const char *theme; // icon of the desktop's theme that fits, if any
    const char *icon;  // our own picture
};

const ToolDef kTools[7] = {
    {"tbopen", "Load Saved Game", "document-open", ":/icons/open.png"},
    {"tbsave", "Save Current Game", "document-save", ":/icons/save.png"},
    {"tbprint", "Print Current Sudoku", "document-print", ":/icons/print.png"},
    {"tbcheckerror", "Check Error", nullptr, ":/icons/check.png"},
    {"tbshowhint", "Hint", nullptr, ":/icons/hint.png"},
    {"tbrestart", "Restart This Game", "view-refresh", ":/icons/restart.png"},
    {"tbshowsolution", "Show Solution", nullptr, ":/icons/solution.png"},
};

} // namespace

TaaForm1::TaaForm1(ProgramState &state, GameSession &game, Prompter &prompter, Settings &settings,
                   QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      state_(state), game_(game), prompter_(prompter), settings_(settings)
{
    setObjectName(QStringLiteral("aaForm1"));
    setWindowTitle(applicationTitle());
    setFont(dialogFont(8));
    print_ = new PrintCommands(this, game_, prompter_, state_.texts,
                               {[this]() -> PrintCommands::Pages {
                                    return {windows().printform, windows().printform2};
                                },
                                [this] { worksheetsClick(); },
                                [this](const QString &text) { showstatus(text); },
                                [this] { statsClick(); }});
    files_ = new GameFiles(
        this, game_, prompter_, state_,
        {[this] { startplay(); },
         [this](const QString &key, const QString &arg) { showstatuskey(key, arg); }});
    buildLayout();
    clock_ = new PlayClock(this, game_, *sb1_, state_.settings);

    TextTables &texts = state_.texts;
    WordSet palette;
    for (int k = 1; k <= WordSet::kWords; ++k)
        palette.setText(k, texts.uitext(QStringLiteral("sz%1").arg(k)));
    settings_.loadsettings(state_.settings, palette);
    palette.title = state_.settings.newgamewords.title;
    game_.model().setCurwords(palette);
    texts.setLangid(state_.settings.langid);
    preparefolders([this](const QString &dataFolder) {
        state_.listsfile = wordlistfile(dataFolder);
        seedwordlists(state_.listsfile, programdatafile(QStringLiteral("lists.txt")));
        state_.glossary = Glossary::read(Glossary::fileIn(dataFolder));
        state_.stats = LearnerStats::read(LearnerStats::fileIn(dataFolder));
        game_.setStats(&state_.stats);
    });

    board_->setEnabled(false);
    modalGuard_ = new ModalCloseGuard(this);
    wireBoard();
    language_ = new LanguageContext(state_.texts, state_.settings, this);
    connect(language_, &LanguageContext::languageChanged, this, &TaaForm1::applylanguage);
    applylanguage();
    showwords();
    new KeyPreview(this, [this](QKeyEvent *event) { keydown(event->key()); });

    board_->setFocusPolicy(Qt::StrongFocus);
    connect(language_, &LanguageContext::languageChanged, this, &TaaForm1::speaklanguage);
    speaklanguage();
    explainer_ = new HintExplainer(this);
    new KeyboardPlay(this);
    // Looking an icon up in the theme reads the theme's index files: not before the window shows.
    connect(this, &TaaForm1::firstPainted, this, &TaaForm1::applythemeicons, Qt::QueuedConnection);
    resumegame();
}

TaaForm1::~TaaForm1()
{
    state_.settings.langid = state_.texts.langid();
    settings_.savesettings(state_.settings);
}

void TaaForm1::buildLayout()
{
    setFixedSize(888, 687);

    panel1_ = new QWidget(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setGeometry(1, 1, 662, 685);
    board_ = new Ttntstdsudoku(panel1_);
    board_->setObjectName(QStringLiteral("tntstdsudoku1"));
    board_->setGeometry(3, 3, 659, 660);
    board_->Setfixcolor(boardcolor::black);
    board_->Setbigcolor(boardcolor::blue);
    sb1_ = new StatusLine(panel1_);
    sb1_->setObjectName(QStringLiteral("sb1"));
    sb1_->setGeometry(0, 666, 662, 19);

    panel2_ = new BevelPanel(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setGeometry(663, 1, 224, 685);
    panel4_ = new QWidget(panel2_);
    panel4_->setObjectName(QStringLiteral("Panel4"));
    panel4_->setGeometry(2, 2, 220, 279);
    btstartnewgame_ = addButton(panel4_, "btstartnewgame", QStringLiteral("Start New Game"),
                                QRect(4, 5, 209, 39));
    palette_ = new WordPalette(panel4_);
    palette_->move(6, 52);
    faces_ = new PaletteFaces(
        this, *palette_, game_, state_,
        {[this](const QString &text) { showstatus(text); },
         [this](const QString &key, const QString &arg) { showstatuskey(key, arg); }});
    for (int k = 1; k <= WordSet::kWords; ++k)
        palette_->button(k)->installEventFilter(this);

    auto *toolbar = new QWidget(panel2_);
    toolbar->setObjectName(QStringLiteral("ToolBar1"));
    toolbar->setGeometry(2, 281, 220, 40);
    for (int n = 0; n < 7; ++n) {
        const ToolDef &def = kTools[n];
        auto *button = new QToolButton(toolbar);
        button->setObjectName(QString::fromLatin1(def.name));
        button->setGeometry(31 * n, 2, 31, 30);
        button->setAutoRaise(true);
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIcon(QIcon(QString::fromLatin1(def.icon)));
        button->setToolTip(QString::fromLatin1(def.hint));
        button->setMouseTracking(true);
        button->installEventFilter(this);
        button->setEnabled(n == 0);
        toolbar_[n] = button;
    }

    auto *shape = new RoundedShape(panel2_);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(9, 451, 208, 96);
    mmsudokurule_ = new RuleText(panel2_);
    mmsudokurule_->setObjectName(QStringLiteral("mmsudokurule"));
    mmsudokurule_->setGeometry(16, 466, 191, 76);
    mmsudokurule_->setText(QStringLiteral(
        "Fill in every blank with given words to only make each word in any column, row or "
        "3x3 box appear once."));

    auto *panelreg = new QWidget(panel2_);
    panelreg->setObjectName(QStringLiteral("panelreg"));
    panelreg->setGeometry(2, 685 - 2 - 82, 220, 82);
    auto *btabout = addButton(panelreg, "btabout", QStringLiteral("About..."), {11, 13, 101, 31});
    auto *btoption =
        addButton(panelreg, "buttonoption2", QStringLiteral("Option"), {11, 47, 101, 31});
    auto *btclose = addButton(panelreg, "btclose2", QStringLiteral("&Close"), {116, 13, 101, 65});

    for (QWidget *panel : {panel1_, panel2_, panel4_}) {
        panel->setMouseTracking(true);
        panel->installEventFilter(this);
    }

    connect(btstartnewgame_, &QPushButton::clicked, this, &TaaForm1::btstartnewgameClick);
    connect(palette_, &WordPalette::wordClicked, this, &TaaForm1::but1Click);
    connect(toolbar_[0], &QToolButton::clicked, this, &TaaForm1::tbopenClick);
    connect(toolbar_[1], &QToolButton::clicked, this, &TaaForm1::tbsaveClick);
    connect(toolbar_[2], &QToolButton::clicked, this, &TaaForm1::tbprintClick);
    toolbar_[2]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(toolbar_[2], &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { print_->showMenu(toolbar_[2]->mapToGlobal(at)); });
    auto *menuKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        print_->showMenu(toolbar_[2]->mapToGlobal(QPoint(0, toolbar_[2]->height())));
    });
    connect(toolbar_[3], &QToolButton::clicked, this, &TaaForm1::tbcheckerrorClick);
    connect(toolbar_[4], &QToolButton::clicked, this, &TaaForm1::tbshowhintClick);
    connect(toolbar_[5], &QToolButton::clicked, this, &TaaForm1::tbrestartClick);
    connect(toolbar_[6], &QToolButton::clicked, this, &TaaForm1::tbshowsolutionClick);
    connect(btabout, &QPushButton::clicked, this, [this] { showModal(&Windows::frmabout); });
    connect(btoption, &QPushButton::clicked, this, [this] { showModal(&Windows::frmoption); });
    connect(btclose, &QPushButton::clicked, this, &TaaForm1::btcloseClick);
    // In the free space between the toolbar (ending at 321) and the rule frame (from 451).
    tbmore_ = print_->makeMoreButton(panel2_, {9, 331, 208, 30});
    tbmore_->setMouseTracking(true);
    tbmore_->installEventFilter(this);
}

void TaaForm1::applythemeicons()
{
    for (int n = 0; n < 7; ++n) {
        const ToolDef &def = kTools[n];
        if (def.theme && QIcon::hasThemeIcon(QString::fromLatin1(def.theme)))
            toolbar_[n]->setIcon(QIcon::fromTheme(QString::fromLatin1(def.theme)));
    }
}

void TaaForm1::wireBoard()
{
    const GameModel &model = game_.model();
    connect(&model, &GameModel::cellChanged, board_,
            [this](int i, int j) { board_->showchange(game_.model(), i, j); });
    // Once a move, not for each mark the highlight moves.
    connect(&model, &GameModel::contentChanged, faces_, &PaletteFaces::count);
    connect(&model, &GameModel::gameReplaced, this, [this] {
        // Before the first game the board keeps the faces it was made with.
        if (game_.model().started())
            board_->showgame(game_.model());
        showwords();
        clock_->show();
    });
    connect(&game_, &GameSession::keepFailed, this, [this](const QString &reason) {
        showstatuskey(QStringLiteral("msgautosavefailed"), reason);
    });
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            TTntcell *cell = board_->cell(i, j);
            connect(cell, &TTntcell::mouseDown, this, &TaaForm1::cellmousedown);
            connect(cell, &TTntcell::mouseEnter, this, &TaaForm1::cellmouseenter);
            connect(cell, &TTntcell::mouseLeave, this, &TaaForm1::cellmouseleave);
        }
    }
}

QString TaaForm1::statusText() const
{
    return sb1_->text();
}

bool TaaForm1::newgame(int level, const WordSet &words)
{
    if (!mayreplace() || !game_.deal(level, state_.glossed(words)))
        return false;
    startplay();
    return true;
}

void TaaForm1::enterplay()
{
    board_->setEnabled(true);
    for (QToolButton *button : toolbar_)
        button->setEnabled(true);
    // A saved game may carry a level the game never deals; the caption then stays.
    if (const QString key = levelNameKey(game_.model().curlevel()); !key.isEmpty())
        setWindowTitle(applicationTitle() + QStringLiteral(" - ") + state_.texts.uitext(key));
}

TranslationEditor *TaaForm1::translationEditor()
{
    // Made when first asked for: a maintainer's tool should cost the player nothing at start.
    if (editor_)
        return editor_;
    editor_ = new TranslationEditor(state_.texts, programfolder(), this);
    editor_->hide();
    editor_->followLanguage(state_.texts.langid());
    connect(editor_, &TranslationEditor::languageChosen, language_, &LanguageContext::setLanguage);
    connect(editor_, &TranslationEditor::appendAllHintsRequested, this,
            [this] { editor_->loadall(windows().frmabout); });
    connect(editor_, &TranslationEditor::failed, this,
            [this](const QString &message) { prompter_.inform(message); });
    return editor_;
}

void TaaForm1::applylanguage()
{
    // Han characters take the shapes of the language in force.
    if (const QFont font = dialogFont(8); font != this->font())
        setFont(font);
    ::applylanguage(this, state_.texts);
    mmsudokurule_->fit(font());
    sb1_->retranslate(state_.texts);
    showwords();
    // The Options follow too: they end in a language switch.
    game_.rules().setNoteCleanup(state_.settings.notecleanup);
    board_->setNotesAsNumbers(state_.settings.notesasnumbers);
    board_->setShowConflicts(state_.settings.showconflicts);
    clock_->show();
    if (game_.inplay())
        board_->showgame(game_.model());
    // Meanings by language follow it.
    if (const WordSet words = state_.glossed(game_.model().curwords());
        game_.inplay() && words != game_.model().curwords())
        game_.model().setCurwords(words);
    if (editor_)
        editor_->followLanguage(state_.texts.langid());
}

void TaaForm1::showstatus(const QString &text)
{
    sb1_->say(text);
}

void TaaForm1::showstatuskey(const QString &key, const QString &arg)
{
    sb1_->sayKey(state_.texts, key, arg);
}

void TaaForm1::but1Click(int k)
{
    game_.pick(k);
    faces_->picked(k);
}

void TaaForm1::cellmousedown(TTntcell *cell, Qt::MouseButton button)
{
    if (modalGuard_->justClosed())
        return;
    if (button == Qt::LeftButton && QGuiApplication::keyboardModifiers() & Qt::ControlModifier) {
        game_.toggleNote(cell->column(), cell->row(), game_.selectedWord());
    } else if (button == Qt::LeftButton) {
        game_.place(cell->column(), cell->row());
        faces_->placed({cell->column(), cell->row()});
    } else if (button == Qt::RightButton)
        game_.clear(cell->column(), cell->row());
    else
        game_.press();
}

void TaaForm1::cellmouseenter(TTntcell *cell)
{
    cell->SetisEnter(true);
    if (cell->toolTip().isEmpty())
        showstatuskey(QStringLiteral("msgmouseenter"));
    else
        showstatus(cell->toolTip());
}

void TaaForm1::cellmouseleave(TTntcell *cell)
{
    cell->SetisEnter(false);
    sb1_->clearText();
}

void TaaForm1::worksheetsClick()
{
    showModal(&Windows::frmworksheets);
}

void TaaForm1::tbcheckerrorClick()
{
    game_.checkerrors();
}

void TaaForm1::tbrestartClick()
{
    game_.restart();
}

void TaaForm1::tbshowsolutionClick()
{
    if (!prompter_.confirm(state_.texts.uitext(QStringLiteral("msgshowsolution"))))
        return;
    Tfrmda *frmda = windows().frmda;
    if (!frmda)
        return;
    frmda->showsolution(game_.model().puzzle(), game_.model().curwords());
    frmda->exec();
}

void TaaForm1::btstartnewgameClick()
{
    showModal(&Windows::frmnewgame);
}

void TaaForm1::btcloseClick()
{
    if (prompter_.confirm(state_.texts.uitext(QStringLiteral("msgqueryclose"))))
        close();
}

void TaaForm1::keydown(int key)
{
    if (const int language = languageForKey(key); language >= 0) {
        language_->setLanguage(language);
    } else if (key == Qt::Key_F12) {
        translationEditor()->toggle();
    }
}

void TaaForm1::startplay()
{
    enterplay();
    palette_->setPressed(game_.selectedWord());
    showwords();
    board_->setCursorCell(1, 1);
    board_->setFocus();
}

bool TaaForm1::inplay() const
{
    return game_.inplay();
}

void TaaForm1::cursorplace()
{
    if (const QPoint at = board_->cursorCell(); !at.isNull()) {
        game_.place(at.x(), at.y());
        faces_->placed(at);
    }
}

void TaaForm1::cursorclear()
{
    if (const QPoint at = board_->cursorCell(); !at.isNull())
        game_.clear(at.x(), at.y());
}

bool TaaForm1::undo()
{
    return game_.undo();
}

bool TaaForm1::redo()
{
    return game_.redo();
}

void TaaForm1::endsession()
{
    ending_ = true;
    // A message box without a No cannot be closed; a few tries, then this window all the same.
    for (int tries = 0; tries < 8; ++tries) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == this)
            break;
        modal->close();
    }
    close();
}

void TaaForm1::closeEvent(QCloseEvent *event)
{
    files_->keepAtClose(ending_);
    QWidget::closeEvent(event);
}

void TaaForm1::speaklanguage()
{
    const TextTables &texts = state_.texts;
    board_->setSpokenTexts(texts.uitext(QStringLiteral("msgspokencell")),
                           texts.uitext(QStringLiteral("msgspokengiven")),
                           texts.uitext(QStringLiteral("msgspokenempty")));
    board_->setSpokenNotes(texts.uitext(QStringLiteral("msgspokennotes")));
    palette_->setSpokenPattern(texts.uitext(QStringLiteral("msgspokenword")));
    sb1_->setAccessibleName(texts.uitext(QStringLiteral("msgspokenstatus")));
}

const TaaForm1::Windows &TaaForm1::windows()
{
    if (maker_)
        std::exchange(maker_, nullptr)();
    return windows_;
}

void TaaForm1::showModal(QDialog *Windows::*which)
{
    if (QDialog *dialog = windows().*which)
        dialog->exec();
}

void TaaForm1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

bool TaaForm1::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (auto *button = qobject_cast<QToolButton *>(watched)) {
        // The pointer still on Hint after the click leaves its explanation be.
        const bool keep = type == QEvent::MouseMove && explainer_ && explainer_->showing();
        if ((type == QEvent::Enter || type == QEvent::MouseMove) && button->isEnabled() && !keep) {
            sb1_->say(button->toolTip());
            sb1_->setKey(button->objectName() + QStringLiteral(".hint"));
        }
    } else if (auto *word = qobject_cast<TTntspeedbutton *>(watched);
               word && type == QEvent::Enter) {
        faces_->pointed(word);
    } else if (type == QEvent::MouseMove) {
        // Only the panel's own background, not a control on it that let the move through.
        auto *panel = static_cast<QWidget *>(watched);
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (!panel->childAt(at))
            sb1_->reset();
    }
    return QWidget::eventFilter(watched, event);
}
