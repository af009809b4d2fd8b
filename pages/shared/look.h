// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pages/shared/fonts.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QToolButton;
class QWidget;
class QStyle;

// The common look of the pages: colours, fonts (pages/shared/fonts.h) and the controls of the
// condition bars.
namespace look {

// The program's name, Chinese for Qt's own texts and dates, the style and the fonts.
void setUpApplication();

inline const QColor skyBlue{166, 202, 240};    // 15780518: a condition selector not yet set
inline const QColor moneyGreen{192, 220, 192}; // 12639424: a selector or edit the user has set
inline const QColor purple{128, 0, 128};
inline const QColor navy{0, 0, 128};

// Fill of an edit or selector (the palette's base colour).
void setFill(QWidget *widget, const QColor &color);
QColor fill(const QWidget *widget);
void setTextColor(QWidget *widget, const QColor &color);

// A condition bar: 40 high along the top of a page, full width, single-line border.
QFrame *conditionBar(QWidget *page, const QString &name);
QLabel *barLabel(QWidget *bar, const QString &name, const QString &caption, int left, int top);
// An editable drop-down box of a condition bar: 65 by 20, flat, sky blue, black 新宋体.
QComboBox *barComboBox(QWidget *bar, const QString &name, int left, int top, const QStringList &items,
                       const QString &text, int visibleRows);
// A flat button with a glyph, placed at `rect`; the glyph is left of the caption unless glyphRight.
QToolButton *speedButton(QWidget *parent, const QString &name, const QString &caption, int glyph,
                         const QRect &rect, bool glyphRight = false);

// Gives a narrow drop-down box a slimmer arrow and a larger font, so that a short text of symbols
// reads clearly without the box growing.
void slimArrow(QComboBox *box, int pixels);

// A group chosen in `groupBox`: both selectors turn money green, `finalBox` is enabled, its items
// become `finals` and it shows the first of them.
void showFinals(QComboBox *groupBox, QComboBox *finalBox, const QStringList &finals);

} // namespace look
