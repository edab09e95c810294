#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The language a flash-card file names for its words, as the short code a list keeps ("zh",
// "ja", "en"); empty when it names none.

// A locale as files write it: "zh_CN", "zh-TW", "ja_JP.UTF-8" and "zh" all give "zh".
QString localelanguage(QStringView locale);

// The first language a name mentions, in English or in its own script: "Chinese (Basic)",
// "Japanese (recognition)", "中文", "日本語単語", "한국어", "French vocab". Words that only look
// like a language's name ("Basic", "Cloze") name none.
QString namedlanguage(QStringView name);

// Whether texts may be words of language: they hold a letter of a script it is written in. A
// file may name a language its words are not in (KWordQuiz names English for each column it
// makes). True for a language written in a script not told apart here.
bool writtenin(const QString &language, const QStringList &texts);
