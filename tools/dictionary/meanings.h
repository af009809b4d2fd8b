// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace builddb {

// Repairs a meaning from cnchar-data: undoes the encoding fault that merged "。" with the next
// character into one symbol, rejoins lines that the source broke before every "N.", turns
// full-width variant punctuation into the usual marks and paired ASCII quotes into “”, drops a
// lone leading "1." and numbers several senses ①②….
QString cleanMeaning(const QString &raw);

// The entry a cleaned meaning refers to when it says nothing but 见“X”, otherwise empty.
QString referencedEntry(const QString &meaning);

// Whether every character is a Chinese ideograph.
bool isChineseText(QStringView text);

struct Entry {
    QString key;
    QString meaning;
};

struct Lexicon {
    QList<Entry> idioms; // in the order of the idiom list
    QList<Entry> words;  // ordered by key
    qsizetype wordsWithoutMeaning = 0;
    qsizetype referencesResolved = 0;
};

// All entries of cnchar-data's explanation/*.json, with their raw meanings.
QHash<QString, QString> readExplanations(const QString &dir);

// The idiom list of the cnchar-idiom package, which ships as a JavaScript bundle: node loads it.
QStringList readIdiomList(const QString &packageDir);

// The words of @pinyin-pro/data's modern.json.
QStringList readModernWords(const QString &modernJson);

// The idioms with their meanings, and the words: the other explanation entries of 2 to 4 Chinese
// characters plus the modern words that have no explanation, which keep an empty meaning.
Lexicon buildLexicon(const QHash<QString, QString> &explanations, const QStringList &idioms,
                     const QStringList &modernWords);

} // namespace builddb
