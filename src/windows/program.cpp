#include "windows/program.h"

#include "appinfo.h"

#include "print/printform.h"
#include "print/printform2.h"
#include "print/qtpageprinter.h"
#include "windows/controls.h"
#include "windows/fonts.h"
#include "windows/frmabout.h"
#include "windows/frmda.h"
#include "windows/frmnewgame.h"
#include "windows/frmoption.h"
#include "windows/mainwindow.h"
#include "wordlists/frmappend.h"
#include "wordlists/frmsubmit.h"
#include "wordlists/frmwordlist.h"
#include "wordlists/webwordlist.h"
#include "wordlists/wordliststore.h"

#include <QApplication>

void Program::prepareApplication()
{
    QApplication::setApplicationName(QString::fromLatin1(appinfo::kName));
    QApplication::setOrganizationName(QString::fromLatin1(appinfo::kOrganisation));
    installFontSubstitutes();
}

Program::Program(Prompter &prompter, Settings &settings, QString shareBase)
    : prompter_(prompter), shareBase_(std::move(shareBase)),
      printer_(std::make_unique<QtPagePrinter>())
{
    main_ = std::make_unique<TaaForm1>(state_, prompter, settings);
    main_->setPagePrinter(printer_.get());
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
    frmda_ = new Tfrmda(*main_);
    auto *printform2 = new Tprintform2(main_.get());
    auto *printform = new Tprintform(main_.get());
    frmnewgame_ = new Tfrmnewgame(*main_, prompter_);
    // The path was fixed when the main window seeded the data folder.
    wordlists_ = std::make_unique<WordListStore>(state_.listsfile);
    frmwordlist_ = new Tfrmwordlist(*main_, *frmnewgame_, prompter_, *wordlists_);
    frmappend_ = new Tfrmappend(*main_, frmwordlist_, prompter_, *wordlists_);
    frmsubmit_ = new Tfrmsubmit(*main_, *frmwordlist_, prompter_, shareBase_);
    webwordlist_ = new Twebwordlist(*main_, frmwordlist_, prompter_, *wordlists_, shareBase_);
    auto *frmoption = new Tfrmoption(*main_);
    auto *frmabout = new Tfrmabout(*main_);
    frmnewgame_->setWordListDialog(frmwordlist_);
    frmwordlist_->setAppendDialog(frmappend_);
    frmwordlist_->setShareDialogs(frmsubmit_, webwordlist_);
    main_->setWindows({frmnewgame_, frmda_, frmoption, frmabout, printform, printform2});
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

void Program::show()
{
    centreOnScreen(main_.get());
    main_->show();
}
