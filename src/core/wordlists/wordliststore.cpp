#include "wordlists/wordliststore.h"

#include "text/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kDefaultHeader = QStringLiteral("memouserlist");
const QString kTitleMark = QStringLiteral("<<");
const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kBlock = 10; // lines per list: the title, then the nine words

QString tr(const char *text)
{
    return QCoreApplication::translate("WordListStore", text);
}

QString fullPath(const QString &file)
{
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

// Drops the first n characters, a surrogate pair counting as one, so no half of a pair is kept.
QString dropCharacters(const QString &line, int n)
{
    qsizetype at = 0;
    for (int k = 0; k < n && at < line.size(); ++k)
        at += line.at(at).isHighSurrogate() && at + 1 < line.size() &&
                      line.at(at + 1).isLowSurrogate()
                  ? 2
                  : 1;
    return line.mid(at);
}

// A list starts at every tenth line from first. Its title drops the line's first two
// characters, whatever they are. A file that ends inside a block still gives that list: the
// missing words are empty, and the next save writes the block whole.
QList<WordSet> parseLists(const QStringList &lines, int first)
{
    QList<WordSet> lists;
    for (int n = first; n < lines.size(); n += kBlock) {
        WordSet list;
        list.title = dropCharacters(lines.at(n), 2);
        for (int k = 0; k < 9; ++k)
            list.words[k].text = lines.value(n + 1 + k);
        lists.append(list);
    }
    return lists;
}

// A text is one line of the file, so a line break (a pasted one, say) would shift every list
// after it; it is kept as a space instead.
WordSet storable(WordSet list)
{
    list.title = oneline(std::move(list.title));
    // lists.txt keeps no reading or meaning, and the store holds nothing the file lacks: a list
    // reads the same after an import as after the next start; the glossary keeps them, and the
    // list's language.
    for (Word &word : list.words)
        word = Word(oneline(std::move(word.text)));
    list.language.clear();
    return list;
}

const QList<WordSet> &builtInLists()
{
    // Our own resource in the file's line format, without a header line.
    static const QList<WordSet> lists = [] {
        const TextFileResult read = readtextfile(QStringLiteral(":/wordlists/builtin.txt"));
        QList<WordSet> parsed = parseLists(textlines(read ? read->text : QString()), 0);
        Q_ASSERT(parsed.size() == WordListStore::kBuiltIn);
        return parsed;
    }();
    return lists;
}
} // namespace

QString wordlistfile(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("lists.txt"));
}

void seedwordlists(const QString &file, const QString &seed)
{
    const QFileInfo info(file);
    removewriteleftovers(info.path(), info.fileName());
    if (QFileInfo::exists(file) || !QFile::copy(seed, file))
        return;
    // The copy keeps the seed's permissions, which may be read-only where the program is
    // installed; the user's copy must take their changes.
    QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOwner | QFile::WriteOwner);
}

WordListStore::WordListStore(QString file) : file_(std::move(file)), header_(kDefaultHeader) {}

StoreResult WordListStore::Load()
{
    user_.clear();
    header_ = kDefaultHeader;
    keepOriginal_ = false;
    const TextFileResult read = readtextfile(file_);
    if (!read)
        return failure(StoreFailure{
            tr("Cannot open file \"%1\". %2").arg(fullPath(file_), read.error().reason), {}});
    keepOriginal_ = !read->clean;
    const QStringList lines = textlines(read->text);
    if (!lines.isEmpty())
        header_ = lines.first();
    user_ = parseLists(lines, 1);
    return StoreChange{};
}

const WordSet &WordListStore::Get(int position) const
{
    Q_ASSERT(position >= 1 && position <= Count());
    return position <= kBuiltIn ? builtInLists().at(position - 1)
                                : user_.at(position - 1 - kBuiltIn);
}

std::optional<int> WordListStore::Find(const QString &title) const
{
    for (int p = 1; p <= Count(); ++p)
        if (Get(p).title == title)
            return p;
    return std::nullopt;
}

StoreResult WordListStore::Add(const WordSet &list)
{
    QList<WordSet> user = user_;
    user.append(storable(list));
    StoreResult result = commit(std::move(user), {list});
    if (result)
        result->position = Count();
    return result;
}

StoreResult WordListStore::AddMany(const QList<WordSet> &lists)
{
    QList<WordSet> user = user_;
    for (const WordSet &list : lists)
        user.append(storable(list));
    StoreResult result = commit(std::move(user), lists);
    if (result)
        result->position = Count();
    return result;
}

StoreResult WordListStore::Replace(int position, const WordSet &list)
{
    Q_ASSERT(isUserPosition(position));
    if (!isUserPosition(position))
        return StoreChange{};
    QList<WordSet> user = user_;
    user[position - 1 - kBuiltIn] = storable(list);
    return commit(std::move(user), {list});
}

StoreResult WordListStore::Remove(int position)
{
    Q_ASSERT(isUserPosition(position));
    if (!isUserPosition(position))
        return StoreChange{};
    QList<WordSet> user = user_;
    user.removeAt(position - 1 - kBuiltIn);
    return commit(std::move(user), {});
}

StoreResult WordListStore::Save()
{
    return write(user_);
}

StoreResult WordListStore::commit(QList<WordSet> user, const QList<WordSet> &glossed)
{
    // The glossary first: should lists.txt then fail, the lists stay as they were, and entries
    // for words no list holds yet cost nothing.
    Glossary next = glossary();
    bool changed = false;
    for (const WordSet &list : glossed)
        changed = next.take(list, false) || changed;
    if (changed) {
        if (const Status saved = next.save(); !saved)
            return failure(StoreFailure{
                tr("Cannot create file \"%1\". %2").arg(fullPath(next.file()), saved.error()), {}});
    }
    StoreResult result = write(user);
    if (result) {
        user_ = std::move(user);
        if (changed)
            glossary() = std::move(next);
    }
    return result;
}

StoreResult WordListStore::editGlosses(const WordSet &list)
{
    Glossary next = glossary();
    if (!next.take(list, true))
        return StoreChange{};
    if (const Status saved = next.save(); !saved)
        return failure(StoreFailure{
            tr("Cannot create file \"%1\". %2").arg(fullPath(next.file()), saved.error()), {}});
    glossary() = std::move(next);
    return StoreChange{};
}

Glossary &WordListStore::glossary()
{
    if (shared_)
        return *shared_;
    if (!ownRead_) {
        own_ = Glossary::read(Glossary::fileIn(QFileInfo(file_).path()));
        ownRead_ = true;
    }
    return own_;
}

StoreResult WordListStore::keepOriginal()
{
    StoreChange change;
    if (!keepOriginal_)
        return change;
    const QString copy = file_ + QStringLiteral(".bak");
    // A copy kept before, in this run or an earlier one, is never replaced; a file removed since
    // it was read has no bytes left to lose.
    if (!QFileInfo(copy).isFile() && QFileInfo::exists(file_)) {
        QFile original(file_);
        if (!original.copy(copy))
            return failure(StoreFailure{
                tr("Cannot create file \"%1\". %2").arg(fullPath(copy), original.errorString()),
                {}});
        change.backup = fullPath(copy);
    }
    keepOriginal_ = false;
    return change;
}

StoreResult WordListStore::write(const QList<WordSet> &user)
{
    StoreResult result = keepOriginal();
    if (!result)
        return result;
    QString text = header_ + kLineEnd;
    for (const WordSet &list : user) {
        text += kTitleMark + list.title + kLineEnd;
        for (const Word &word : list.words)
            text += word.text + kLineEnd;
    }
    if (const Status written = writewholefile(file_, utf16lewithmark(text)); !written)
        return failure(
            StoreFailure{tr("Cannot create file \"%1\". %2").arg(fullPath(file_), written.error()),
                         result->backup});
    return result;
}
