// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/jiju/jijupanel.h"

#include "pages/gelv/poemdialog.h"
#include "pages/shared/look.h"
#include "presentation/gelv/jiju/jijusource.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

JijuPanel::JijuPanel(JijuSource *source, QWidget *parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("Gelv_Jiju"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    auto *form = new QGridLayout;
    form->setContentsMargins(0, 0, 0, 0);
    m_pattern = named(new QLineEdit(this), "Gelv_Jiju_Pattern");
    m_pattern->setPlaceholderText(QStringLiteral("平仄格式，如 仄仄平平仄仄平 或 ●●○○●●○"));
    m_pattern->setFont(look::songFont());
    m_fromCaret = named(new QPushButton(QStringLiteral("取当前句"), this), "Gelv_Jiju_FromCaret");
    m_fromCaret->setToolTip(QStringLiteral("取草稿中光标所在句（或下一句）按所选体裁应有的平仄"));
    m_rhyme = named(new QComboBox(this), "Gelv_Jiju_Rhyme");
    m_places = named(new QLineEdit(this), "Gelv_Jiju_Places");
    m_places->setPlaceholderText(QStringLiteral("如 5=月"));
    m_dynasty = named(new QComboBox(this), "Gelv_Jiju_Dynasty");
    m_author = named(new QLineEdit(this), "Gelv_Jiju_Author");
    m_author->setPlaceholderText(QStringLiteral("作者"));
    m_search = named(new QPushButton(QStringLiteral("查找"), this), "Gelv_Jiju_Search");
    form->addWidget(new QLabel(QStringLiteral("格式"), this), 0, 0);
    form->addWidget(m_pattern, 0, 1, 1, 3);
    form->addWidget(m_fromCaret, 0, 4);
    form->addWidget(new QLabel(QStringLiteral("韵部"), this), 1, 0);
    form->addWidget(m_rhyme, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("字位"), this), 1, 2);
    form->addWidget(m_places, 1, 3, 1, 2);
    form->addWidget(new QLabel(QStringLiteral("朝代"), this), 2, 0);
    form->addWidget(m_dynasty, 2, 1);
    form->addWidget(m_author, 2, 2, 1, 2);
    form->addWidget(m_search, 2, 4);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addLayout(form);
    m_summary = named(new QLabel(this), "Gelv_Jiju_Summary");
    m_summary->setWordWrap(true);
    m_summary->setFont(look::songFont());
    m_list = named(new QListWidget(this), "Gelv_Jiju_List");
    m_list->setFont(look::songFont());
    m_list->setWordWrap(true);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);

    for (QLineEdit *edit : {m_pattern, m_places, m_author})
        connect(edit, &QLineEdit::returnPressed, this, &JijuPanel::search);
    connect(m_search, &QPushButton::clicked, this, &JijuPanel::search);
    connect(m_fromCaret, &QPushButton::clicked, this, &JijuPanel::fillFromCaret);
    // A list picked searches at once, as a line typed does on Enter.
    for (QComboBox *box : {m_rhyme, m_dynasty})
        connect(box, &QComboBox::activated, this, &JijuPanel::search);
    // More lines as the list is scrolled near its end.
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value >= m_list->verticalScrollBar()->maximum() - 2)
            m_source->fetchMore();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &JijuPanel::showPoem);
    connect(m_source, &JijuSource::choicesChanged, this, &JijuPanel::showChoices);
    connect(m_source, &JijuSource::reset, this, [this] { showRows(0); });
    connect(m_source, &JijuSource::rowsAdded, this, &JijuPanel::showRows);
    showChoices();
    showRows(0);
}

// The lists of the source's book and classics, keeping what was picked where it is still there.
void JijuPanel::showChoices()
{
    const auto refill = [](QComboBox *box, const QStringList &items) {
        const QString picked = box->currentIndex() > 0 ? box->currentText() : QString();
        box->clear();
        box->addItem(QStringLiteral("不限"));
        box->addItems(items);
        box->setCurrentIndex(std::max(0, int(items.indexOf(picked)) + 1));
    };
    refill(m_rhyme, m_source->rhymeGroups());
    refill(m_dynasty, m_source->dynasties());
}

void JijuPanel::search()
{
    m_source->search({m_pattern->text(), m_rhyme->currentIndex() - 1, m_places->text(),
                      m_dynasty->currentIndex() > 0 ? m_dynasty->currentText() : QString(),
                      m_author->text()});
}

void JijuPanel::fillFromCaret()
{
    const QString pattern = m_source->patternHere();
    if (pattern.isEmpty()) {
        m_summary->setText(QStringLiteral("光标不在按体裁检查的诗句上：请先在草稿中写诗，或选定体裁。"));
        return;
    }
    m_pattern->setText(pattern);
    search();
}

void JijuPanel::showRows(int from)
{
    m_summary->setText(m_source->summary());
    if (from == 0)
        m_list->clear();
    for (int row = from; row < m_source->rowCount(); ++row) {
        auto *item = new QListWidgetItem(m_source->rowText(row), m_list);
        item->setToolTip(m_source->rowToolTip(row));
    }
    // A first page that does not fill the list asks for the next at once (see ExamplesPanel).
    if (m_source->canFetchMore() && m_list->isVisible()) {
        m_list->doItemsLayout();
        if (m_list->verticalScrollBar()->maximum() == 0)
            m_source->fetchMore();
    }
}

void JijuPanel::showPoem(QListWidgetItem *item)
{
    const std::optional<ExamplesSource::PoemPage> page = m_source->poemPage(m_list->row(item));
    if (!page)
        return;
    if (!m_poem)
        m_poem = new PoemDialog(QStringLiteral("Gelv_Jiju_Poem"), this);
    m_poem->showPage(page->title, page->html);
}
