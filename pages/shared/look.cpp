// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/look.h"

#include "pages/shared/boundcontrols.h"
#include "pages/shared/language.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QToolButton>

namespace look {

void setFill(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(palette);
}

QColor fill(const QWidget *widget)
{
    return widget->palette().color(QPalette::Base);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QFrame *conditionBar(QWidget *page, const QString &name)
{
    auto *bar = new QFrame(page);
    bar->setObjectName(name);
    bar->setFrameShape(QFrame::Box);
    bar->setFrameShadow(QFrame::Plain);
    bar->setGeometry(0, 0, page->width(), 40);
    return bar;
}

QLabel *barLabel(QWidget *bar, const QString &name, const QString &caption, int left, int top)
{
    auto *label = new QLabel(caption, bar);
    label->setObjectName(name);
    label->setFont(songFont());
    setTextColor(label, purple);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QComboBox *barComboBox(QWidget *bar, const QString &name, int left, int top, const QStringList &items,
                       const QString &text, int visibleRows)
{
    auto *combo = new QComboBox(bar);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    takeAnyLength(combo->lineEdit());
    combo->setFrame(false);
    combo->setFont(songFont());
    combo->addItems(items);
    combo->setMaxVisibleItems(visibleRows);
    combo->setEditText(text);
    combo->lineEdit()->deselect();
    combo->setGeometry(left, top, 65, 20);
    setTextColor(combo, Qt::black);
    setFill(combo, skyBlue);
    return combo;
}

QToolButton *speedButton(QWidget *parent, const QString &name, const QString &caption, int glyph,
                         const QRect &rect, bool glyphRight)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(QApplication::style()->standardIcon(QStyle::StandardPixmap(glyph)));
    button->setIconSize(QSize(16, 16));
    if (glyphRight)
        button->setLayoutDirection(Qt::RightToLeft);
    button->setGeometry(rect);
    return button;
}

namespace {

// Draws a drop-down box's arrow 12 pixels wide and leaves the rest to its text.
class SlimArrowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget) const override
    {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const QRect box = option->rect;
        constexpr int arrow = 12;
        if (sub == SC_ComboBoxArrow)
            return QRect(box.right() - arrow + 1, box.top(), arrow, box.height());
        if (sub == SC_ComboBoxEditField)
            return QRect(box.left() + 1, box.top() + 1, box.width() - arrow - 2, box.height() - 2);
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

} // namespace

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("诗海拾贝"));
    language::useChinese();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFontSubstitutions();
    QApplication::setFont(sansSerifFont());
}

void slimArrow(QComboBox *box, int pixels)
{
    QFont font = songFont();
    font.setPixelSize(pixels);
    box->setFont(font);
    auto *style = new SlimArrowStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(box);
    box->setStyle(style);
    if (QLineEdit *edit = box->lineEdit())
        edit->setTextMargins(0, 0, 0, 0);
}

void showFinals(QComboBox *groupBox, QComboBox *finalBox, const QStringList &finals)
{
    setFill(groupBox, moneyGreen);
    setFill(finalBox, moneyGreen);
    finalBox->setEnabled(true);
    // The items are replaced before the text is set: QComboBox copies a replaced current item into
    // its edit text, which would otherwise turn the final into the item at the old index.
    for (int i = 0; i < finals.size(); ++i)
        finalBox->setItemText(i, finals.at(i));
    finalBox->setCurrentIndex(0);
    finalBox->setEditText(finals.value(0));
}

} // namespace look
