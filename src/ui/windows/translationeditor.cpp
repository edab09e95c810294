#include "windows/translationeditor.h"

#include "text/textfile.h"
#include "widgets/controls.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringEncoder>

namespace {
const QString kStartEntry = QStringLiteral("btstartnewgame.caption=Start New Game");

// Language files are plain key=value lines in the system's 8-bit code page, CR LF, no mark.
Status writeLanguageFile(const QString &path, const TextTable &table)
{
    QString text;
    for (const QString &line : table.lines())
        text += line + QStringLiteral("\r\n");
    QStringEncoder encoder(QStringConverter::System);
    if (const Status written = writewholefile(path, encoder(text)); !written)
        return failure(QStringLiteral("%1: %2").arg(path, written.error()));
    return {};
}

Status readLanguageFile(const QString &path, TextTable &table)
{
    const TextFileResult read = readtextfile(path);
    if (!read)
        return failure(QStringLiteral("%1: %2").arg(path, read.error().reason));
    table = TextTable::fromText(read->text);
    return {};
}
} // namespace

TableGrid::TableGrid(TextTable &table, const QString &valueTitle, QWidget *parent)
    : QTableWidget(0, 2, parent), table_(table)
{
    setHorizontalHeaderLabels({QStringLiteral("Key"), valueTitle});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTableWidget::cellChanged, this, &TableGrid::valueEdited);
    reload();
}

void TableGrid::reload()
{
    reloading_ = true;
    const int row = currentRow();
    const QStringList &lines = table_.lines();
    setRowCount(int(lines.size()));
    for (int n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        const bool entry = line.contains(QLatin1Char('='));
        auto *key = new QTableWidgetItem(entry ? TextTable::keyOf(line) : line);
        key->setFlags(key->flags() & ~Qt::ItemIsEditable);
        setItem(n, 0, key);
        setItem(n, 1, new QTableWidgetItem(entry ? TextTable::valueOf(line) : QString()));
    }
    if (row >= 0 && row < rowCount())
        setCurrentCell(row, 1);
    reloading_ = false;
}

void TableGrid::valueEdited(int row, int column)
{
    if (reloading_ || column != 1 || row >= table_.lines().size())
        return;
    table_.lines()[row] = item(row, 0)->text() + QLatin1Char('=') + item(row, 1)->text();
}

TranslationEditor::TranslationEditor(TextTables &tables, QString programFolder, QWidget *parent)
    : QTabWidget(parent), tables_(tables), programFolder_(std::move(programFolder)),
      zw_({kStartEntry}), yw_({kStartEntry})
{
    setObjectName(QStringLiteral("PageControl2"));

    auto *tools = new QWidget;
    tools->setObjectName(QStringLiteral("TabSheet5"));
    auto grid = [this](TextTable &table, const QString &title, QWidget *page, const char *name,
                       const QRect &geometry) {
        auto *g = new TableGrid(table, title, page);
        g->setObjectName(QString::fromLatin1(name));
        g->setGeometry(geometry);
        grids_.append(g);
        return g;
    };
    vl_ = grid(tables_.vl(), QStringLiteral("Value"), tools, "vl", {4, 4, 300, 300});
    zwGrid_ = grid(zw_, QStringLiteral("中文"), tools, "zw", {308, 4, 300, 200});
    ywGrid_ = grid(yw_, QStringLiteral("English"), tools, "yw", {308, 208, 300, 200});
    edtname_ = new QLineEdit(tools);
    edtname_->setObjectName(QStringLiteral("edtname"));
    edtname_->setGeometry(4, 312, 300, 22);

    auto *save = addButton(tools, "Button1", QStringLiteral("Save"), {4, 340, 96, 25});
    auto *open = addButton(tools, "Open", QStringLiteral("Open"), {104, 340, 96, 25});
    auto *append = addButton(tools, "Button2", QStringLiteral("Append"), {204, 340, 96, 25});
    auto *hints = addButton(tools, "Button3", QStringLiteral("append all hint"), {4, 370, 96, 25});
    auto *remove = addButton(tools, "Button4", QStringLiteral("Delete"), {104, 370, 96, 25});
    radioGroup1_ = new RadioGroup(
        QStringLiteral("语言"),
        {QStringLiteral("English"), QStringLiteral("中文(Chinese)"), QStringLiteral("日语")}, 1,
        tools);
    radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
    radioGroup1_->setGeometry(4, 404, 200, 100);

    auto *pair = new QWidget;
    grid(tables_.lang(0), QStringLiteral("English"), pair, "lang0", {4, 4, 300, 560});
    grid(tables_.lang(1), QStringLiteral("中文"), pair, "lang1", {308, 4, 300, 560});
    auto *japanese = new QWidget;
    grid(tables_.lang(2), QStringLiteral("日本語"), japanese, "lang2", {4, 4, 604, 560});

    addTab(tools, QStringLiteral("TabSheet5"));
    addTab(pair, QStringLiteral("English Chinese"));
    addTab(japanese, QStringLiteral("Japannese"));
    setCurrentIndex(2);

    // The two file commands report a failure the same way.
    auto onFile = [this](QPushButton *button, Status (TranslationEditor::*command)()) {
        connect(button, &QPushButton::clicked, this, [this, command] {
            if (const Status done = (this->*command)(); !done)
                emit failed(done.error());
        });
    };
    onFile(save, &TranslationEditor::Button1Click);
    onFile(open, &TranslationEditor::OpenClick);
    connect(append, &QPushButton::clicked, this, &TranslationEditor::Button2Click);
    connect(hints, &QPushButton::clicked, this, &TranslationEditor::appendAllHintsRequested);
    connect(remove, &QPushButton::clicked, this, &TranslationEditor::Button4Click);
    connect(zwGrid_, &QTableWidget::cellClicked, this, &TranslationEditor::zwClick);
    connect(radioGroup1_, &RadioGroup::itemIndexChanged, this, &TranslationEditor::languageChosen);
}

TableGrid *TranslationEditor::grid(const char *name) const
{
    return findChild<TableGrid *>(QString::fromLatin1(name));
}

void TranslationEditor::followLanguage(int langid)
{
    {
        const QSignalBlocker quiet(radioGroup1_);
        radioGroup1_->setItemIndex(langid);
    }
    if (isVisible())
        reloadAll(); // the current table has just been replaced
}

void TranslationEditor::toggle()
{
    setVisible(!isVisible());
    resize(620, 620);
    if (isVisible()) {
        reloadAll();
        raise();
    }
}

void TranslationEditor::reloadAll()
{
    for (TableGrid *g : grids_)
        g->reload();
}

Status TranslationEditor::Button1Click()
{
    // Relative names: the working folder, where a maintainer runs the program from.
    if (Status written = writeLanguageFile(QStringLiteral("lang1.txt"), zw_); !written)
        return written;
    return writeLanguageFile(QStringLiteral("lang0.txt"), yw_);
}

Status TranslationEditor::OpenClick()
{
    Status read = readLanguageFile(programFolder_ + QStringLiteral("lang1.txt"), zw_);
    if (read)
        read = readLanguageFile(programFolder_ + QStringLiteral("lang0.txt"), yw_);
    if (read)
        read = readLanguageFile(programFolder_ + QStringLiteral("lang%1.txt").arg(tables_.langid()),
                                tables_.vl());
    reloadAll();
    return read;
}

void TranslationEditor::Button2Click()
{
    const QString entry = edtname_->text() + QLatin1Char('=');
    zw_.lines().append(entry);
    yw_.lines().append(entry);
    zwGrid_->reload();
    ywGrid_->reload();
}

void TranslationEditor::loadall(QWidget *aboutBox)
{
    if (!aboutBox)
        return;
    const QString prefix = aboutBox->objectName() + QLatin1Char('.');
    for (QWidget *control : aboutBox->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        QString text;
        if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(control))
            text = b->text();
        if (text.isEmpty() || control->objectName().isEmpty())
            continue;
        const QString entry = prefix + control->objectName() + QStringLiteral(".caption=") + text;
        zw_.lines().append(entry);
        yw_.lines().append(entry);
    }
    const QString caption = prefix + QStringLiteral("caption=") + aboutBox->windowTitle();
    zw_.lines().append(caption);
    yw_.lines().append(caption);
    zwGrid_->reload();
    ywGrid_->reload();
}

void TranslationEditor::Button4Click()
{
    const int row = zwGrid_->currentRow();
    if (row < 0 || row >= zw_.lines().size())
        return;
    zw_.lines().removeAt(row);
    // The English table may be shorter; then only the Chinese entry goes.
    if (row < yw_.lines().size())
        yw_.lines().removeAt(row);
    zwGrid_->reload();
    ywGrid_->reload();
}

void TranslationEditor::zwClick()
{
    const int row = zwGrid_->currentRow();
    if (row >= 0 && row < ywGrid_->rowCount())
        ywGrid_->setCurrentCell(row, ywGrid_->currentColumn() < 0 ? 0 : ywGrid_->currentColumn());
}
