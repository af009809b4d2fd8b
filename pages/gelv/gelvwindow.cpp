#include "gelvwindow.h"

#include "look.h"
#include "markedpoemview.h"
#include "presentation/gelvmodel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace prosody;

namespace {

constexpr int kWidth = 440;
constexpr int kStartRole = Qt::UserRole;
constexpr int kLengthRole = Qt::UserRole + 1;

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
    list->setGridSize(QSize(26, 26));
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

GelvWindow::GelvWindow(QTextEdit *draft, const QString &booksPath, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_draft(draft)
    , m_mainWindow(mainWindow)
    , m_model(new GelvModel(booksPath, this))
{
    setObjectName(QStringLiteral("Gelv"));
    setWindowTitle(QStringLiteral("格律"));
    resize(kWidth, mainWindow ? mainWindow->height() : 566);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *bar = new QHBoxLayout;
    Gelv_Book_ComboBox = new QComboBox(this);
    Gelv_Book_ComboBox->setObjectName(QStringLiteral("Gelv_Book_ComboBox"));
    Gelv_Book_ComboBox->addItems(GelvModel::bookNames());
    Gelv_Form_ComboBox = new QComboBox(this);
    Gelv_Form_ComboBox->setObjectName(QStringLiteral("Gelv_Form_ComboBox"));
    Gelv_Form_ComboBox->addItems(GelvModel::formNames());
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
    splitter->addWidget(scroll);
    splitter->addWidget(Gelv_Findings);
    splitter->addWidget(Gelv_Lookup);
    m_splitter = splitter;
    layout->addWidget(splitter, 1);

    connect(Gelv_Book_ComboBox, &QComboBox::currentIndexChanged, m_model, &GelvModel::setBook);
    connect(Gelv_Form_ComboBox, &QComboBox::currentTextChanged, m_model, &GelvModel::setForm);
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

void GelvWindow::open()
{
    if (!m_model->load()) {
        Gelv_Message->setText(m_model->errorText());
        Gelv_Message->show();
    } else {
        Gelv_Message->hide();
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
    Gelv_Common_List->clear();
    Gelv_Common_List->addItems(m_model->commonMembers());
    Gelv_Other_List->clear();
    Gelv_Other_List->addItems(m_model->otherMembers());
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
