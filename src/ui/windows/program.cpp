#include "windows/program.h"

#include "appinfo.h"

#include "engine/bank.h"
#include "engine/random.h"
#include "game/gamesession.h"
#include "listdialogs/frmappend.h"
#include "listdialogs/frmsubmit.h"
#include "listdialogs/frmwordlist.h"
#include "listdialogs/webwordlist.h"
#include "print/componentprinter.h"
#include "print/printform.h"
#include "print/printform2.h"
#include "widgets/controls.h"
#include "widgets/dialogbase.h"
#include "widgets/fonts.h"
#include "windows/frmabout.h"
#include "windows/frmda.h"
#include "windows/frmnewgame.h"
#include "windows/frmoption.h"
#include "windows/frmstats.h"
#include "windows/frmworksheets.h"
#include "windows/mainwindow.h"
#include "windows/speechcommands.h"
#include "wordlists/wordliststore.h"

#include <QApplication>
#include <QLineEdit>

void Program::prepareApplication()
{
    QApplication::setApplicationName(QString::fromLatin1(appinfo::kName));
    QApplication::setOrganizationName(QString::fromLatin1(appinfo::kOrganisation));
    QApplication::setDesktopFileName(QString::fromLatin1(appinfo::kDesktopId));
    installFontSubstitutes();
}

Program::Program(Prompter &prompter, Settings &settings, QString shareBase,
                 RandomSource::Clock clock)
    : prompter_(prompter), shareBase_(std::move(shareBase))
{
    if (clock)
        random_ = std::make_unique<RandomSource>(std::move(clock));
    printer_ = std::make_unique<ComponentPagePrinter>(state_.texts);
    game_ = std::make_unique<GameSession>(PuzzleBank::builtIn(),
                                          random_ ? *random_ : RandomSource::process(),
                                          state_.texts, prompter);
    main_ = std::make_unique<TaaForm1>(state_, *game_, prompter, settings);
    main_->setPagePrinter(printer_.get());
    speech_ = new SpeechCommands(main_.get(), *game_, state_, prompter);
    main_->setWindowMaker([this] { makewindows(); });
    QObject::connect(
        main_.get(), &TaaForm1::firstPainted, main_.get(), [this] { makewindows(); },
        Qt::QueuedConnection);
}

void Program::makewindows()
{
    if (frmnewgame_)
        return;
    // They belong to the main window and go with it.
    TaaForm1 *main = main_.get();
    LanguageContext &language = main->language();
    frmda_ = new Tfrmda(language, main);
    speech_->listen(frmda_->board());
    auto *printform2 = new Tprintform2(main);
    auto *printform = new Tprintform(main);
    frmnewgame_ =
        new Tfrmnewgame(language, main, prompter_, [main](int level, const WordSet &words) {
            return main->newgame(level, words);
        });
    // The path was fixed when the main window seeded the data folder.
    wordlists_ = std::make_unique<WordListStore>(state_.listsfile);
    wordlists_->setGlossary(&state_.glossary);
    frmwordlist_ = new Tfrmwordlist(language, frmnewgame_, prompter_, *wordlists_);
    frmappend_ = new Tfrmappend(language, frmwordlist_, prompter_, *wordlists_);
    frmsubmit_ = new Tfrmsubmit(language, frmwordlist_, *frmwordlist_, prompter_, shareBase_);
    webwordlist_ = new Twebwordlist(language, frmwordlist_, prompter_, *wordlists_, shareBase_);
    auto *frmoption = new Tfrmoption(language, main, prompter_, [this] { restart(); });
    auto *frmabout = new Tfrmabout(language, main, prompter_);
    auto *frmworksheets = new Tfrmworksheets(language, main, prompter_, *wordlists_);
    frmworksheets->setListInPlay([this]() -> std::optional<WordSet> {
        if (!game_->inplay())
            return std::nullopt;
        return game_->model().curwords();
    });
    QObject::connect(frmworksheets, &Tfrmworksheets::saved, main, &TaaForm1::pdfsaved);
    auto *frmstats = new Tfrmstats(
        language, main, prompter_, state_.stats,
        [main](const WordSet &words) {
            return main->newgame(main->state().settings.newgamelevel, words);
        },
        [this](const QString &title) -> std::optional<WordSet> {
            if (const std::optional<int> at = wordlists_->Find(title))
                return wordlists_->Get(*at);
            return std::nullopt;
        });
    frmnewgame_->setWordListDialog(frmwordlist_);
    QObject::connect(frmwordlist_, &Tfrmwordlist::chosen, frmnewgame_, &Tfrmnewgame::setWords);
    frmwordlist_->setAppendDialog(frmappend_);
    frmwordlist_->setShareDialogs(frmsubmit_, webwordlist_);
    main_->setWindows(
        {frmnewgame_, frmda_, frmoption, frmabout, printform, printform2, frmworksheets, frmstats});
    main_->setListCommands(frmwordlist_->importAction(), frmwordlist_->exportAction());
    main_->setWindowMaker(nullptr);
}

Tfrmnewgame &Program::frmnewgame()
{
    makewindows();
    return *frmnewgame_;
}

Tfrmda &Program::frmda()
{
    makewindows();
    return *frmda_;
}

Tfrmwordlist &Program::frmwordlist()
{
    makewindows();
    return *frmwordlist_;
}

Tfrmappend &Program::frmappend()
{
    makewindows();
    return *frmappend_;
}

Tfrmsubmit &Program::frmsubmit()
{
    makewindows();
    return *frmsubmit_;
}

Twebwordlist &Program::webwordlist()
{
    makewindows();
    return *webwordlist_;
}

Program::~Program() = default;

void Program::restart()
{
    restart_ = true;
    // After the modal loop that asked has ended.
    QMetaObject::invokeMethod(main_.get(), &QWidget::close, Qt::QueuedConnection);
}

void Program::show()
{
    centreOnScreen(main_.get());
    main_->show();
}
