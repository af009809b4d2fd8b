// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/lookuppanel.h"

#include "pages/shared/look.h"
#include "presentation/gelv/lookupsource.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kCountRole = Qt::UserRole;

// A character of a rhyme group large, and below it, small, how often the classics rhyme on it.
class CountedCharacterDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const QRect cell = option.rect;
        const int count = index.data(kCountRole).toInt();
        painter->save();
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.color(QPalette::HighlightedText)
                            : option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(cell.adjusted(0, 0, 0, count > 0 ? -11 : 0), Qt::AlignCenter,
                          index.data().toString());
        if (count > 0) {
            QFont small = option.font;
            small.setPixelSize(9);
            painter->setFont(small);
            painter->setPen(QColor(0, 90, 150));
            painter->drawText(cell.adjusted(0, cell.height() - 12, 0, 0), Qt::AlignCenter,
                              QString::number(count));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return QSize(30, 34); }
};

// A grid of characters to pick from with a double-click.
QListWidget *characterGrid(QWidget *parent, const QString &name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setViewMode(QListView::IconMode);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setGridSize(QSize(30, 34));
    list->setItemDelegate(new CountedCharacterDelegate(list));
    list->setMinimumHeight(56);
    list->setUniformItemSizes(true);
    QFont font = look::songFont();
    font.setPixelSize(16);
    list->setFont(font);
    return list;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #555"));
    return label;
}

} // namespace

LookupPanel::LookupPanel(LookupSource *source, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("Gelv_Lookup"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 4, 0, 0);
    m_char = new QLineEdit(this);
    m_char->setObjectName(QStringLiteral("Gelv_Char_Edit"));
    m_char->setFont(look::songFont());
    m_char->setMaximumWidth(60);
    m_char->setPlaceholderText(QStringLiteral("查字"));
    m_readings = new QLabel(this);
    m_readings->setObjectName(QStringLiteral("Gelv_Readings"));
    m_books = new QLabel(this);
    m_books->setObjectName(QStringLiteral("Gelv_Books"));
    m_books->setFont(look::songFont());
    // A character of many readings and groups wraps rather than widening the window past the screen.
    m_readings->setWordWrap(true);
    m_books->setWordWrap(true);
    m_groups = new QComboBox(this);
    m_groups->setObjectName(QStringLiteral("Gelv_Group_ComboBox"));
    // Pinyin typed into the lookup: the characters of that reading, or why there are none.
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("Gelv_Typed_Note"));
    m_candidates = characterGrid(this, QStringLiteral("Gelv_Candidates_List"));
    m_candidates->setMaximumHeight(2 * 34 + 6); // two rows show, the rest scroll
    m_common = characterGrid(this, QStringLiteral("Gelv_Common_List"));
    m_other = characterGrid(this, QStringLiteral("Gelv_Other_List"));
    grid->addWidget(m_char, 0, 0);
    grid->addWidget(m_readings, 0, 1);
    grid->addWidget(m_groups, 0, 2);
    grid->addWidget(m_books, 1, 0, 1, 3);
    grid->addWidget(m_note, 2, 0, 1, 3);
    grid->addWidget(m_candidates, 3, 0, 1, 3);
    grid->addWidget(caption(QStringLiteral("常用字（双击插入草稿）"), this), 4, 0, 1, 3);
    grid->addWidget(m_common, 5, 0, 1, 3);
    grid->addWidget(caption(QStringLiteral("其余各字"), this), 6, 0, 1, 3);
    grid->addWidget(m_other, 7, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 2);
    grid->setRowStretch(7, 1);

    connect(m_char, &QLineEdit::textEdited, m_source, &LookupSource::lookUpTyped);
    connect(m_groups, &QComboBox::activated, m_source, &LookupSource::setLookupGroup);
    connect(m_source, &LookupSource::lookupChanged, this, &LookupPanel::refresh);
    connect(m_candidates, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { m_source->lookUpTyped(item->text()); });
    for (QListWidget *list : {m_common, m_other})
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this](QListWidgetItem *item) { emit characterChosen(item->text()); });
    refresh();
}

void LookupPanel::refresh()
{
    // What is being typed stays while it ends in the character looked up.
    const QString c = m_source->character();
    if (!m_char->text().endsWith(c))
        m_char->setText(c);
    m_readings->setText(m_source->readings().join(QStringLiteral(" · ")));
    m_note->setText(m_source->typedNote());
    m_note->setVisible(!m_note->text().isEmpty());
    m_candidates->clear();
    m_candidates->addItems(m_source->typedCandidates());
    m_candidates->setVisible(m_candidates->count() > 0);
    m_books->setText(m_source->lookupBooks().join(u'\n'));
    m_groups->clear();
    m_groups->addItems(m_source->lookupGroups());
    m_groups->setCurrentIndex(m_source->lookupGroup());
    for (const auto &[list, members] :
         {std::pair(m_common, m_source->commonMembers()), std::pair(m_other, m_source->otherMembers())}) {
        list->clear();
        for (const LookupSource::Member &m : members) {
            auto *item = new QListWidgetItem(m.hanzi, list);
            item->setData(kCountRole, m.count);
            item->setToolTip(m.toolTip());
        }
    }
}
