#pragma once

#include "engine/wordset.h"

#include <QString>
#include <QStringList>

// Which language a word is spoken in and what of it is handed to speech. Languages are the
// short codes of BCP 47 ("zh", "ja", "en"); empty means none is known.

// The language the letters of text are written in: Han is Chinese unless kana stand beside it,
// kana is Japanese, Hangul Korean, Latin English, and so on for the scripts that have one
// language to speak them. Empty for digits, signs and blanks.
QString scriptlanguage(const QString &text);

// The language of a list: its own where it names one, else the one its words and readings are
// written in. A list of kanji with kana readings (月曜日, げつようび) is Japanese; one of Han
// with pinyin is Chinese. Empty when nothing tells (a list of digits).
QString listlanguage(const WordSet &set);
// The language its words and readings tell, whatever the list names.
QString detectedlanguage(const WordSet &set);

// What is spoken of word in language: its reading where the written form is one an engine
// cannot read aloud (Japanese with kanji), else the word as written.
QString spokenform(const Word &word, const QString &language);

// The languages a list may be set to speak in, in the order they are offered.
QStringList speechlanguages();
// A language's name in its own script (中文, 日本語, English), as a list of them shows it.
QString languagename(const QString &language);
