#include "listdialogs/frmwordlist.h"

#include "listdialogs/wordboxes.h"
#include "widgets/controls.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "importers/wordimport.h"
#include "listdialogs/frmappend.h"
#include "listdialogs/frmsubmit.h"
#include "listdialogs/webwordlist.h"
#include "storage/settings.h"
#include "text/textfile.h"
#include "wordlists/listtable.h"
#include "wordlists/storereport.h"
#include "wordlists/wordliststore.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
// A report longer than this would not fit on the screen.
constexpr int kRefusalsShown = 20;
// An import that takes longer shows its progress, with a Cancel button.
constexpr int kProgressAfterMs = 1000;

const QString kTableFilter = QStringLiteral("CSV (*.csv *.tsv *.txt);;* (*)");

// What import reads: every format at once first, then each alone.
QString importFilter(const TextTables &texts)
{
    return texts.uitext(QStringLiteral("frmwordlist.msgimportfilter")) +
           QStringLiteral(" (*.csv *.tsv *.txt *.apkg *.colpkg *.kvtml);;CSV (*.csv *.tsv *.txt);;"
                          "Anki (*.apkg *.colpkg *.txt);;KVTML (*.kvtml);;* (*)");
}
} // namespace

Tfrmwordlist::Tfrmwordlist(LanguageContext &context, QWidget *opener, Prompter &prompter,
                           WordListStore &store)
    : DialogBase(context, opener, {"frmwordlist", QStringLiteral("Word List"), {480, 223}}),
      prompter_(prompter), store_(store)
{

    // The titles on the left, the shown list on the right, the button bar (41 high) below both.
    wl_ = new QListWidget(this);
    wl_->setObjectName(QStringLiteral("wl"));
    wl_->setGeometry(0, 0, 189, 182);

    auto *shown = new QWidget(this);
    shown->setObjectName(QStringLiteral("Panel2"));
    shown->setGeometry(191, 0, 289, 182);
    w_ = addWordBoxes(shown, kShownList, true);
    btsubmit_ = addButton(shown, "btsubmit", QStringLiteral("Share Your List"), {8, 140, 140, 25});

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setGeometry(0, 182, 480, 41);
    auto *btadd = addButton(bar, "btadd", QStringLiteral("Append"), {8, 8, 65, 25});
    auto *shared = addButton(bar, "Button1", QStringLiteral("From Share List"), {77, 8, 95, 25});
    btdel_ = addButton(bar, "btdel", QStringLiteral("Delete"), {176, 8, 65, 25});
    btedit_ = addButton(bar, "btedit", QStringLiteral("Edit"), {245, 8, 65, 25});
    auto *ok = addButton(bar, "BitBtn1", QStringLiteral("OK"), {326, 8, 70, 25});
    auto *cancel = addButton(bar, "BitBtn2", QStringLiteral("Cancel"), {402, 8, 70, 25});
    ok->setDefault(true);

    // Added to the list, not the bar, so the fixed layout keeps its buttons as they are.
    importer_ = new QAction(QStringLiteral("Import Lists…"), this);
    importer_->setObjectName(QStringLiteral("importlists"));
    importer_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    exporter_ = new QAction(QStringLiteral("Export Lists…"), this);
    exporter_->setObjectName(QStringLiteral("exportlists"));
    exporter_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    wl_->setContextMenuPolicy(Qt::ActionsContextMenu);
    wl_->addActions({importer_, exporter_});
    connect(importer_, &QAction::triggered, this, &Tfrmwordlist::importlistsClick);
    connect(exporter_, &QAction::triggered, this, &Tfrmwordlist::exportlistsClick);
    // And in sight, beside Share Your List, under the word boxes' right-hand columns.
    auto *btimport = addButton(shown, "btimport", QStringLiteral("Import…"), {152, 140, 62, 25});
    auto *btexport = addButton(shown, "btexport", QStringLiteral("Export…"), {219, 140, 62, 25});
    connect(btimport, &QPushButton::clicked, importer_, &QAction::trigger);
    connect(btexport, &QPushButton::clicked, exporter_, &QAction::trigger);
    setTabOrder(btsubmit_, btimport);
    setTabOrder(btimport, btexport);
    exchangeFolder_ = QDir::homePath();

    connect(wl_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showposition(row + 1);
    });
    connect(btadd, &QPushButton::clicked, this, &Tfrmwordlist::btaddClick);
    connect(btdel_, &QPushButton::clicked, this, &Tfrmwordlist::btdelClick);
    connect(btedit_, &QPushButton::clicked, this, &Tfrmwordlist::bteditClick);
    connect(shared, &QPushButton::clicked, this, &Tfrmwordlist::Button1Click);
    connect(btsubmit_, &QPushButton::clicked, this, &Tfrmwordlist::btsubmitClick);
    connect(ok, &QPushButton::clicked, this, &Tfrmwordlist::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A file that cannot be read leaves the built-in lists, and Append creates the file anew.
    if (const StoreResult loaded = store_.Load(); !loaded)
        prompter_.inform(loaded.error().message);
    for (int p = 1; p <= store_.Count(); ++p)
        wl_->addItem(store_.Get(p).title);
    showposition(1);
}

void Tfrmwordlist::showposition(int p)
{
    p_ = p;
    {
        const QSignalBlocker quiet(wl_);
        wl_->setCurrentRow(p - 1);
    }
    showWords(w_, store_.Get(p));
    const bool user = p > WordListStore::kBuiltIn;
    btdel_->setEnabled(user);
    btedit_->setEnabled(user);
    btsubmit_->setEnabled(user);
}

WordSet Tfrmwordlist::shownWords() const
{
    return boxedWords(w_);
}

WordSet Tfrmwordlist::shownGlossed(int langid) const
{
    WordSet set = shownWords();
    store_.glossary().fill(set, langid);
    return set;
}

void Tfrmwordlist::setShareDialogs(Tfrmsubmit *submit, Twebwordlist *shared)
{
    submit_ = submit;
    shared_ = shared;
    if (shared_)
        connect(shared_, &Twebwordlist::listadded, this, &Tfrmwordlist::showadded);
}

void Tfrmwordlist::showadded()
{
    const int p = store_.Count();
    wl_->addItem(store_.Get(p).title);
    showposition(p);
}

void Tfrmwordlist::btaddClick()
{
    if (!append_)
        return;
    append_->setappend();
    if (append_->exec() == QDialog::Accepted)
        showadded();
}

void Tfrmwordlist::bteditClick()
{
    if (!append_ || p_ <= WordListStore::kBuiltIn)
        return;
    const int p = p_;
    append_->setedit(p);
    if (append_->exec() != QDialog::Accepted)
        return;
    wl_->item(p - 1)->setText(store_.Get(p).title);
    showposition(p);
}

void Tfrmwordlist::btdelClick()
{
    if (p_ <= WordListStore::kBuiltIn)
        return;
    const TextTables &texts = context_.texts();
    if (!prompter_.confirm(texts.uitext(QStringLiteral("frmwordlist.msgquerydelete")),
                           texts.uitext(QStringLiteral("msginfomation"))))
        return;
    const int p = p_;
    if (!reportstorechange(prompter_, texts, store_.Remove(p)))
        return;
    {
        const QSignalBlocker quiet(wl_);
        delete wl_->takeItem(p - 1);
    }
    // Always the list above the deleted one, even when others follow it.
    showposition(p - 1);
}

void Tfrmwordlist::Button1Click()
{
    if (!shared_)
        return;
    if (shared_->startloading())
        shared_->exec();
}

void Tfrmwordlist::btsubmitClick()
{
    if (submit_ && p_ > WordListStore::kBuiltIn)
        submit_->exec();
}

void Tfrmwordlist::BitBtn1Click()
{
    emit chosen(shownWords());
    accept();
}

void Tfrmwordlist::importlistsClick()
{
    const TextTables &texts = context_.texts();
    const QString file = prompter_.openFileName(exchangeFolder_, importFilter(texts));
    if (file.isEmpty())
        return;
    exchangeFolder_ = QFileInfo(file).absolutePath();
    const QString shown = QDir::toNativeSeparators(file);
    const QString notImported =
        texts.uitext(QStringLiteral("frmwordlist.msgnotimported")).arg(shown) + QLatin1Char('\n');
    const auto source = readimportsource(file);
    if (!source) {
        prompter_.inform(notImported + problemtext(source.error(), texts));
        return;
    }
    const ImportOutcome outcome = checkfile(*source);
    if (outcome.cancelled)
        return;
    if (!outcome.lists.isEmpty()) {
        const int first = store_.Count() + 1;
        StoreResult added = store_.AddMany(outcome.lists);
        if (!added)
            added = failure(StoreFailure{notImported + added.error().message, keptcopy(added)});
        if (!reportstorechange(prompter_, texts, added))
            return;
        for (int p = first; p <= store_.Count(); ++p)
            wl_->addItem(store_.Get(p).title);
        showposition(store_.Count());
    }
    QStringList report{texts.uitext(QStringLiteral("frmwordlist.msgimported"))
                           .arg(QString::number(outcome.lists.size()), shown)};
    for (int n = 0; n < outcome.notAdded.size() && n < kRefusalsShown; ++n)
        report.append(outcome.notAdded.at(n));
    if (outcome.notAdded.size() > kRefusalsShown)
        report.append(texts
                          .uitext(source->kind == ImportSource::Kind::Table
                                      ? QStringLiteral("frmwordlist.msgimportmore")
                                      : QStringLiteral("frmwordlist.msgimportmorenotes"))
                          .arg(outcome.notAdded.size() - kRefusalsShown));
    if (!outcome.stopped.isEmpty())
        report.append(outcome.stopped);
    prompter_.inform(report.join(QLatin1Char('\n')));
}

ImportOutcome Tfrmwordlist::checkfile(const ImportSource &source)
{
    const TextTables &texts = context_.texts();
    QProgressDialog progress(texts.uitext(QStringLiteral("frmwordlist.msgimporting")),
                             texts.uitext(QStringLiteral("frmwordlist.BitBtn2.caption")), 0, 0,
                             this);
    progress.setObjectName(QStringLiteral("importprogress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    return checksource(source, store_, texts, [&](qsizetype done, qsizetype total) {
        progress.setMaximum(int(total));
        progress.setValue(int(done));
        // Once shown, the dialog runs the events itself and takes every click. Until then its
        // own timer and the window's painting still run, but no click reaches the lists.
        if (!progress.isVisible())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return !progress.wasCanceled();
    });
}

void Tfrmwordlist::exportlistsClick()
{
    const QString file =
        prompter_.saveFileName(exchangeFolder_, kTableFilter, QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    exchangeFolder_ = QFileInfo(file).absolutePath();
    const TextTables &texts = context_.texts();
    if (QFileInfo::exists(file) && !prompter_.confirm(texts.uitext(QStringLiteral("msgoverride"))))
        return;
    QList<WordSet> lists;
    for (int p = WordListStore::kBuiltIn + 1; p <= store_.Count(); ++p) {
        WordSet list = store_.Get(p);
        store_.glossary().fill(list, texts.langid());
        lists.append(list);
    }
    const QString shown = QDir::toNativeSeparators(file);
    if (const Status written = writewholefile(file, exportlists(lists)); !written) {
        prompter_.inform(texts.uitext(QStringLiteral("frmwordlist.msgnotexported")).arg(shown) +
                         QLatin1Char('\n') + written.error());
        return;
    }
    prompter_.inform(texts.uitext(QStringLiteral("frmwordlist.msgexported"))
                         .arg(QString::number(lists.size()), shown));
}
