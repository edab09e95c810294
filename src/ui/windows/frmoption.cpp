#include "windows/frmoption.h"

#include "engine/prompter.h"
#include "i18n/texttable.h"
#include "storage/settings.h"
#include "widgets/controls.h"
#include "widgets/fonts.h"
#include "widgets/radiogroup.h"
#include "windows/frmspeech.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <iterator>

namespace {
int zoomItem(int zoom)
{
    for (int n = 0; n < int(std::size(SettingsState::kZooms)); ++n)
        if (SettingsState::kZooms[n] == zoom)
            return n;
    return 0;
}
} // namespace

Tfrmoption::Tfrmoption(LanguageContext &context, QWidget *parent, Prompter &prompter,
                       std::function<void()> restart)
    : DialogBase(context, parent, {"frmoption", QStringLiteral("Setting"), {320, 160}, true}),
      prompter_(prompter), restart_(std::move(restart)), zoomInEffect_(context.settings().zoom)
{
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(0, 0, 237, 160);
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    pages->addTab(page, QStringLiteral("lang"));
    // The items name each language in its own script, whatever language is in force.
    radioGroup1_ = new RadioGroup(
        QStringLiteral("语言"),
        {QStringLiteral("English"), QStringLiteral("中文(简体)"), QStringLiteral("日本語")}, 1,
        page);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1_->setGeometry(27, 22, 176, 89);
    // Each language's name in the glyph shapes of that language.
    for (int n = 1; n <= 2; ++n)
        radioGroup1_->button(n)->setFont(dialogFont(8, n == 2));

    // The kept game: resumed at start-up, and asked about before another game replaces it.
    auto *game = new QWidget;
    game->setObjectName(QStringLiteral("TabSheet2"));
    pages->addTab(game, QStringLiteral("Game"));
    const auto addCheck = [](QWidget *page, const char *name, const char *text, int top) {
        auto *check = new QCheckBox(QString::fromLatin1(text), page);
        check->setObjectName(QString::fromLatin1(name));
        check->setGeometry(12, top, 213, 21);
        return check;
    };
    resume_ = addCheck(game, "CheckBox1", "Resume the kept game at start", 8);
    askReplace_ = addCheck(game, "CheckBox2", "Ask before replacing a game", 30);
    // Notes: a placed word taken from the notes of the cells that see it.
    cleanup_ = addCheck(game, "CheckBox3", "Take placed words out of notes", 52);
    // What the palette's buttons show; Ctrl+M switches it in play.
    radioGroup3_ = new RadioGroup(
        QStringLiteral("Palette shows"),
        {QStringLiteral("Words"), QStringLiteral("Meanings"), QStringLiteral("Readings")}, 3, game);
    radioGroup3_->setObjectName(QStringLiteral("RadioGroup3"));
    radioGroup3_->setGeometry(4, 74, 227, 48);

    auto *display = new QWidget;
    display->setObjectName(QStringLiteral("TabSheet3"));
    pages->addTab(display, QStringLiteral("Display"));
    QStringList percents;
    for (const int zoom : SettingsState::kZooms)
        percents.append(QStringLiteral("%1%").arg(zoom));
    radioGroup2_ = new RadioGroup(QStringLiteral("Zoom"), percents, 2, display);
    radioGroup2_->setObjectName(QStringLiteral("RadioGroup2"));
    radioGroup2_->setGeometry(27, 3, 176, 62);

    // How a note is drawn in a cell, and repeated words marked as they are placed.
    numbers_ = addCheck(display, "CheckBox5", "Draw notes as numbers", 66);
    conflicts_ = addCheck(display, "CheckBox4", "Mark repeated words at once", 85);
    time_ = addCheck(display, "CheckBox6", "Show the time played", 104);

    auto *ok = addButton(this, "Button2", QStringLiteral("OK"), {243, 21, 75, 25});
    auto *cancel = addButton(this, "Button3", QStringLiteral("Cancel"), {243, 52, 75, 25});
    auto *setDefault = addButton(this, "Button1", QStringLiteral("Set Default"), {243, 83, 75, 25});
    setDefault->hide();
    ok->setDefault(true);
    // Speech has a dialog of its own: the pages have no room left.
    speech_ = new Tfrmspeech(context, this);
    auto *speech = addButton(this, "btspeech", QStringLiteral("Speech..."), {243, 114, 75, 25});
    connect(speech, &QPushButton::clicked, speech_, &QDialog::exec);

    connect(ok, &QPushButton::clicked, this, &Tfrmoption::Button2Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setDefault, &QPushButton::clicked, this, &Tfrmoption::Button1Click);
}

void Tfrmoption::showEvent(QShowEvent *event)
{
    radioGroup1_->setItemIndex(texts().langid());
    resume_->setChecked(context_.settings().resumegame);
    askReplace_->setChecked(context_.settings().askreplace);
    radioGroup2_->setItemIndex(zoomItem(context_.settings().zoom));
    radioGroup3_->setItemIndex(context_.settings().paletteshows);
    cleanup_->setChecked(context_.settings().notecleanup);
    conflicts_->setChecked(context_.settings().showconflicts);
    time_->setChecked(context_.settings().showtime);
    numbers_->setChecked(context_.settings().notesasnumbers);
    DialogBase::showEvent(event);
}

void Tfrmoption::Button2Click()
{
    context_.settings().resumegame = resume_->isChecked();
    context_.settings().askreplace = askReplace_->isChecked();
    context_.settings().paletteshows = std::max(0, radioGroup3_->itemIndex());
    context_.settings().notecleanup = cleanup_->isChecked();
    context_.settings().showconflicts = conflicts_->isChecked();
    context_.settings().showtime = time_->isChecked();
    context_.settings().notesasnumbers = numbers_->isChecked();
    int &zoom = context_.settings().zoom;
    const int chosen = SettingsState::kZooms[std::max(0, radioGroup2_->itemIndex())];
    const bool ask = chosen != zoom && chosen != zoomInEffect_;
    zoom = chosen;
    context_.setLanguage(radioGroup1_->itemIndex());
    accept();
    // Asked in the language just chosen. The game in play is kept in autosave.wrd as it closes.
    if (ask && prompter_.confirm(context_.uitext(QStringLiteral("msgzoomrestart"))) && restart_)
        restart_();
}

void Tfrmoption::Button1Click()
{
    radioGroup1_->setItemIndex(0);
}
