#include "pages/gelv/gelvwindow.h"

#include "pages/gelv/markedpoemview.h"
#include "pages/shared/look.h"
#include "presentation/examplesmodel.h"
#include "presentation/gelvmodel.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace prosody;

namespace {

constexpr int kWidth = 440;
constexpr int kStartRole = Qt::UserRole;
constexpr int kLengthRole = Qt::UserRole + 1;
constexpr int kCountRole = Qt::UserRole + 2;

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

QColor severityColor(Severity s)
{
    switch (s) {
    case Severity::Fault:
        return QColor(200, 0, 0);
    case Severity::Warning:
        return QColor(160, 100, 0);
    case Severity::Accepted:
        break;
    }
    return QColor(0, 120, 60);
}

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

GelvWindow::GelvWindow(QTextEdit *draft, const QString &booksPath, const QString &classicsPath,
                       QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_draft(draft)
    , m_mainWindow(mainWindow)
    , m_model(new GelvModel(booksPath, this))
    , m_classicsPath(classicsPath)
{
    setObjectName(QStringLiteral("Gelv"));
    setWindowTitle(QStringLiteral("格律"));
    // As tall as the main window, taller where the screen has room for more of the group.
    const int screenHeight =
        mainWindow && mainWindow->screen() ? mainWindow->screen()->availableGeometry().height() : 0;
    resize(kWidth, std::max(mainWindow ? mainWindow->height() : 566, std::min(720, screenHeight - 40)));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *bar = new QHBoxLayout;
    Gelv_Book_ComboBox = new QComboBox(this);
    Gelv_Book_ComboBox->setObjectName(QStringLiteral("Gelv_Book_ComboBox"));
    Gelv_Book_ComboBox->addItems(GelvModel::bookNames());
    Gelv_Form_ComboBox = new QComboBox(this);
    Gelv_Form_ComboBox->setObjectName(QStringLiteral("Gelv_Form_ComboBox"));
    // The forms of regulated verse, then the 词牌 (once the books are read); typing narrows the list.
    Gelv_Form_ComboBox->setEditable(true);
    Gelv_Form_ComboBox->setInsertPolicy(QComboBox::NoInsert);
    Gelv_Form_ComboBox->addItems(m_model->formNames());
    Gelv_Form_ComboBox->completer()->setFilterMode(Qt::MatchContains);
    Gelv_Form_ComboBox->completer()->setCompletionMode(QCompleter::PopupCompletion);
    bar->addWidget(new QLabel(QStringLiteral("韵书"), this));
    bar->addWidget(Gelv_Book_ComboBox);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("体裁"), this));
    bar->addWidget(Gelv_Form_ComboBox, 1);
    layout->addLayout(bar);

    Gelv_Message = new QLabel(this);
    Gelv_Message->setObjectName(QStringLiteral("Gelv_Message"));
    Gelv_Message->setWordWrap(true);
    Gelv_Message->setStyleSheet(QStringLiteral("color: #b00000"));
    Gelv_Message->hide();
    layout->addWidget(Gelv_Message);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    auto *scroll = new QScrollArea(splitter);
    Gelv_View = new MarkedPoemView(scroll);
    Gelv_View->setObjectName(QStringLiteral("Gelv_View"));
    scroll->setWidget(Gelv_View);
    scroll->setWidgetResizable(true);
    Gelv_Findings = new QListWidget(splitter);
    Gelv_Findings->setObjectName(QStringLiteral("Gelv_Findings"));
    Gelv_Findings->setWordWrap(true);
    Gelv_Findings->setFont(look::songFont());
    Gelv_Findings->setMinimumHeight(48);
    buildLookup();
    buildExamples();
    Gelv_Tabs = new QTabWidget(splitter);
    Gelv_Tabs->setObjectName(QStringLiteral("Gelv_Tabs"));
    Gelv_Tabs->addTab(Gelv_Lookup, QStringLiteral("查韵"));
    Gelv_Tabs->addTab(Gelv_Examples, QStringLiteral("例句"));
    splitter->addWidget(scroll);
    splitter->addWidget(Gelv_Findings);
    splitter->addWidget(Gelv_Tabs);
    m_splitter = splitter;
    layout->addWidget(splitter, 1);

    connect(Gelv_Book_ComboBox, &QComboBox::currentIndexChanged, m_model, &GelvModel::setBook);
    connect(Gelv_Form_ComboBox, &QComboBox::activated, this,
            [this](int index) { m_model->setForm(Gelv_Form_ComboBox->itemText(index)); });
    connect(Gelv_Form_ComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        m_model->setForm(Gelv_Form_ComboBox->currentText());
        Gelv_Form_ComboBox->setEditText(m_model->form()); // an alias shows as its 词牌, an unknown name goes
    });
    connect(m_model, &GelvModel::bookChanged, Gelv_Book_ComboBox, &QComboBox::setCurrentIndex);
    connect(m_model, &GelvModel::checksChanged, this, &GelvWindow::showChecks);
    connect(m_model, &GelvModel::lookupChanged, this, &GelvWindow::showLookup);
    connect(Gelv_Findings, &QListWidget::itemClicked, this, &GelvWindow::selectInDraft);
    if (m_draft) {
        connect(m_draft, &QTextEdit::textChanged, this, &GelvWindow::followDraft);
        connect(m_draft, &QTextEdit::selectionChanged, this, &GelvWindow::followDraft);
        connect(m_draft, &QTextEdit::cursorPositionChanged, this, &GelvWindow::followCaret);
    }
}

void GelvWindow::buildLookup()
{
    Gelv_Lookup = new QWidget(this);
    Gelv_Lookup->setObjectName(QStringLiteral("Gelv_Lookup"));
    auto *grid = new QGridLayout(Gelv_Lookup);
    grid->setContentsMargins(0, 4, 0, 0);
    Gelv_Char_Edit = new QLineEdit(Gelv_Lookup);
    Gelv_Char_Edit->setObjectName(QStringLiteral("Gelv_Char_Edit"));
    Gelv_Char_Edit->setFont(look::songFont());
    Gelv_Char_Edit->setMaximumWidth(60);
    Gelv_Char_Edit->setPlaceholderText(QStringLiteral("查字"));
    Gelv_Readings = new QLabel(Gelv_Lookup);
    Gelv_Readings->setObjectName(QStringLiteral("Gelv_Readings"));
    Gelv_Books = new QLabel(Gelv_Lookup);
    Gelv_Books->setObjectName(QStringLiteral("Gelv_Books"));
    Gelv_Books->setFont(look::songFont());
    Gelv_Group_ComboBox = new QComboBox(Gelv_Lookup);
    Gelv_Group_ComboBox->setObjectName(QStringLiteral("Gelv_Group_ComboBox"));
    Gelv_Common_List = characterGrid(Gelv_Lookup, QStringLiteral("Gelv_Common_List"));
    Gelv_Other_List = characterGrid(Gelv_Lookup, QStringLiteral("Gelv_Other_List"));
    grid->addWidget(Gelv_Char_Edit, 0, 0);
    grid->addWidget(Gelv_Readings, 0, 1);
    grid->addWidget(Gelv_Group_ComboBox, 0, 2);
    grid->addWidget(Gelv_Books, 1, 0, 1, 3);
    grid->addWidget(caption(QStringLiteral("常用字（双击插入草稿）"), Gelv_Lookup), 2, 0, 1, 3);
    grid->addWidget(Gelv_Common_List, 3, 0, 1, 3);
    grid->addWidget(caption(QStringLiteral("其余各字"), Gelv_Lookup), 4, 0, 1, 3);
    grid->addWidget(Gelv_Other_List, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 2);
    grid->setRowStretch(5, 1);

    connect(Gelv_Char_Edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        const char32_t c = GelvModel::characterAt(text, int(text.size()));
        if (c)
            m_model->setLookup(c);
    });
    connect(Gelv_Group_ComboBox, &QComboBox::activated, m_model, &GelvModel::setLookupGroup);
    for (QListWidget *list : {Gelv_Common_List, Gelv_Other_List})
        connect(list, &QListWidget::itemDoubleClicked, this, &GelvWindow::insertIntoDraft);
}

void GelvWindow::buildExamples()
{
    Gelv_Examples = new QWidget(this);
    Gelv_Examples->setObjectName(QStringLiteral("Gelv_Examples"));
    auto *layout = new QVBoxLayout(Gelv_Examples);
    layout->setContentsMargins(0, 4, 0, 0);
    Gelv_Examples_Summary = new QLabel(Gelv_Examples);
    Gelv_Examples_Summary->setObjectName(QStringLiteral("Gelv_Examples_Summary"));
    Gelv_Examples_Summary->setWordWrap(true);
    Gelv_Examples_Summary->setFont(look::songFont());
    Gelv_Examples_List = new QListWidget(Gelv_Examples);
    Gelv_Examples_List->setObjectName(QStringLiteral("Gelv_Examples_List"));
    Gelv_Examples_List->setFont(look::songFont());
    Gelv_Examples_List->setWordWrap(true);
    layout->addWidget(Gelv_Examples_Summary);
    layout->addWidget(Gelv_Examples_List, 1);
    // More lines as the list is scrolled near its end.
    connect(Gelv_Examples_List->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (m_examples && value >= Gelv_Examples_List->verticalScrollBar()->maximum() - 2)
            m_examples->fetchMore();
    });
    connect(Gelv_Examples_List, &QListWidget::itemDoubleClicked, this, &GelvWindow::showPoem);
}

// The classics are opened with the window; without them the part says why in one line.
void GelvWindow::openClassics()
{
    if (m_examples)
        return;
    std::shared_ptr<const classics::Classics> opened;
    QString error;
    try {
        opened = classics::Classics::open(m_classicsPath);
    } catch (const classics::ClassicsError &e) {
        error = e.message();
    }
    m_examples = new ExamplesModel(opened, error, 50, this);
    m_model->setClassics(opened);
    connect(m_examples, &ExamplesModel::reset, this, [this] { showExampleRows(0); });
    connect(m_examples, &ExamplesModel::rowsAdded, this, &GelvWindow::showExampleRows);
    showExampleRows(0);
}

void GelvWindow::showExampleRows(int from)
{
    Gelv_Examples_Summary->setText(m_examples->summary());
    if (from == 0)
        Gelv_Examples_List->clear();
    const QList<classics::Example> &rows = m_examples->rows();
    for (qsizetype i = from; i < rows.size(); ++i) {
        const classics::Example &e = rows.at(i);
        auto *item = new QListWidgetItem(QStringLiteral("%1　——%2《%3》").arg(e.text, e.author, e.title),
                                         Gelv_Examples_List);
        item->setToolTip(QStringLiteral("%1 · %2 · 双击看全诗").arg(e.dynasty, e.author));
    }
    // A first page that does not fill the list asks for the next at once.
    if (m_examples->canFetchMore() && Gelv_Examples_List->verticalScrollBar()->maximum() == 0 &&
        Gelv_Examples_List->isVisible())
        m_examples->fetchMore();
}

void GelvWindow::showPoem(QListWidgetItem *item)
{
    const std::optional<classics::Poem> poem = m_examples->poemOf(Gelv_Examples_List->row(item));
    if (!poem)
        return;
    if (!Gelv_Poem) {
        Gelv_Poem = new QDialog(this);
        Gelv_Poem->setObjectName(QStringLiteral("Gelv_Poem"));
        Gelv_Poem->resize(380, 460);
        auto *text = new QTextBrowser(Gelv_Poem);
        text->setObjectName(QStringLiteral("Gelv_Poem_Text"));
        text->setFont(look::songFont());
        (new QVBoxLayout(Gelv_Poem))->addWidget(text);
    }
    const auto escape = [](const QString &t) { return t.toHtmlEscaped(); };
    QString html = QStringLiteral("<h3>%1</h3><p>%2 · %3</p><p>")
                       .arg(escape(poem->title), escape(poem->dynasty), escape(poem->author));
    QStringList lines;
    for (const QString &line : poem->lines)
        lines << escape(line);
    html += lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    if (!poem->notes.isEmpty())
        html += QStringLiteral("<p style=\"color:#555\">%1</p>")
                    .arg(escape(poem->notes).replace(u'\n', QStringLiteral("<br>")));
    html += QStringLiteral("<p style=\"color:#555\">出处：%1</p>").arg(escape(poem->source));
    Gelv_Poem->setWindowTitle(QStringLiteral("%1 · %2").arg(poem->title, poem->author));
    Gelv_Poem->findChild<QTextBrowser *>()->setHtml(html);
    Gelv_Poem->show();
    Gelv_Poem->raise();
}

void GelvWindow::showExamples(const QString &word)
{
    open();
    Gelv_Tabs->setCurrentWidget(Gelv_Examples);
    m_examples->setText(word);
}

void GelvWindow::open()
{
    openClassics();
    const bool wasLoaded = m_model->isLoaded();
    if (!m_model->load()) {
        Gelv_Message->setText(m_model->errorText());
        Gelv_Message->show();
    } else {
        Gelv_Message->hide();
        if (!wasLoaded) { // the 词牌 join the forms once the books are read
            const QString chosen = Gelv_Form_ComboBox->currentText();
            Gelv_Form_ComboBox->clear();
            Gelv_Form_ComboBox->addItems(m_model->formNames());
            Gelv_Form_ComboBox->setEditText(chosen);
        }
    }
    if (!m_placed)
        placeBesideMainWindow();
    show();
    raise();
    activateWindow();
}

void GelvWindow::lookUp(const QString &hanzi)
{
    open();
    const char32_t c = GelvModel::characterAt(hanzi, int(hanzi.size()));
    if (c)
        m_model->setLookup(c);
}

// To the right of the main window where the screen has room, else over its right part.
void GelvWindow::placeBesideMainWindow()
{
    m_placed = true;
    if (!m_mainWindow)
        return;
    const QRect main = m_mainWindow->frameGeometry();
    const QScreen *screen = m_mainWindow->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    QPoint at(main.right() + 1, main.top());
    if (room.isValid() && at.x() + frameGeometry().width() > room.right() + 1)
        at.setX(main.right() + 1 - frameGeometry().width());
    move(at);
}

void GelvWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_splitSet) {
        // Half for the marked poem, the rest shared by the findings and the lookup.
        m_splitSet = true;
        const int total = m_splitter->height();
        m_splitter->setSizes({total / 2, total * 3 / 20, total - total / 2 - total * 3 / 20});
    }
    followDraft();
    followCaret();
}

void GelvWindow::followDraft()
{
    if (!isVisible() || !m_draft)
        return;
    const QTextCursor cursor = m_draft->textCursor();
    m_model->setDraft(m_draft->toPlainText(), cursor.selectionStart(), cursor.selectionEnd());
    if (m_examples && cursor.hasSelection())
        m_examples->setText(cursor.selectedText());
}

void GelvWindow::followCaret()
{
    if (!isVisible() || !m_draft)
        return;
    const char32_t c = GelvModel::characterAt(m_draft->toPlainText(), m_draft->textCursor().position());
    if (c)
        m_model->setLookup(c);
}

void GelvWindow::showChecks()
{
    Gelv_View->setChecks(m_model->checks());
    Gelv_Findings->clear();
    for (const GelvModel::FindingRow &row : m_model->findingRows()) {
        auto *item = new QListWidgetItem(row.text, Gelv_Findings);
        item->setForeground(severityColor(row.severity));
        item->setData(kStartRole, row.start);
        item->setData(kLengthRole, row.length);
    }
}

void GelvWindow::showLookup()
{
    const char32_t c = m_model->lookup();
    const QString hanzi = c ? QString::fromUcs4(&c, 1) : QString();
    if (GelvModel::characterAt(Gelv_Char_Edit->text(), int(Gelv_Char_Edit->text().size())) != c)
        Gelv_Char_Edit->setText(hanzi);
    Gelv_Readings->setText(m_model->readings().join(QStringLiteral(" · ")));
    Gelv_Books->setText(m_model->lookupBooks().join(u'\n'));
    Gelv_Group_ComboBox->clear();
    Gelv_Group_ComboBox->addItems(m_model->lookupGroups());
    Gelv_Group_ComboBox->setCurrentIndex(m_model->lookupGroup());
    for (const auto &[list, members] : {std::pair(Gelv_Common_List, m_model->commonMembers()),
                                        std::pair(Gelv_Other_List, m_model->otherMembers())}) {
        list->clear();
        for (const GelvModel::Member &m : members) {
            auto *item = new QListWidgetItem(m.hanzi, list);
            item->setData(kCountRole, m.count);
            if (m.count >= 0)
                item->setToolTip(QStringLiteral("全唐诗、宋词的近体诗押此字 %1 次").arg(m.count));
        }
    }
    // The character looked up stands for its examples too, unless part of the draft is selected.
    if (m_examples && c && !(m_draft && m_draft->textCursor().hasSelection()))
        m_examples->setText(hanzi);
}

void GelvWindow::selectInDraft(QListWidgetItem *item)
{
    if (!m_draft)
        return;
    QTextCursor cursor = m_draft->textCursor();
    const int start = item->data(kStartRole).toInt();
    cursor.setPosition(start);
    cursor.setPosition(start + item->data(kLengthRole).toInt(), QTextCursor::KeepAnchor);
    m_draft->setTextCursor(cursor);
    m_draft->activateWindow();
    m_draft->setFocus();
}

void GelvWindow::insertIntoDraft(QListWidgetItem *item)
{
    if (!m_draft || m_draft->isReadOnly())
        return;
    m_draft->textCursor().insertText(item->text());
    m_draft->activateWindow();
    m_draft->setFocus();
}
