// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextStream>

// 御定词谱 as the reader finds it in dir (data/yuding-cipu): 调 and forms counted, the notes' free
// characters, and every disagreement of the text with its own headings and tables of contents.
int cipubookReport(const QString &dir, QTextStream &out);

// Every form of one 调 (by its name or another name) as the reader reads it.
int cipubookTune(const QString &dir, const QString &name, QTextStream &out);

// The notes' named characters the reader could not place, one a line with the sentence.
int cipubookUnplaced(const QString &dir, QTextStream &out);
