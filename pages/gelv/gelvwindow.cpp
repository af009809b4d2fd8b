// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/gelvwindow.h"

#include "pages/gelv/ciformselector.h"
#include "pages/gelv/cipu/cipubrowser.h"
#include "pages/gelv/coupletpanel.h"
#include "pages/gelv/editorfollower.h"
#include "pages/gelv/examplespanel.h"
#include "pages/gelv/jiju/jijupanel.h"
#include "pages/gelv/lookuppanel.h"
#include "pages/gelv/markedpoemview.h"
#include "pages/gelv/tianzipanel.h"
#include "pages/gelv/zoom.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/look.h"
#include "presentation/gelv/checkmodel.h"
#include "presentation/gelv/cipu/cipubrowsermodel.h"
#include "presentation/gelv/coupletwordsmodel.h"
#include "presentation/gelv/examplesmodel.h"
#include "presentation/gelv/formchoicemodel.h"
#include "presentation/gelv/gelvsettings.h"
#include "presentation/gelv/gelvwindowmodel.h"
#include "presentation/gelv/jiju/jijumodel.h"
#include "presentation/gelv/lookupmodel.h"
#include "presentation/gelv/placement.h"
#include "presentation/gelv/tianzimodel.h"
#include "prosody/ci/cipu.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
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

} // namespace

GelvWindow::GelvWindow(QTextEdit *draft, const QString &booksPath, const QString &classicsPath,
                       QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_editors(new EditorFollower(this))
    , m_draft(draft)
    , m_mainWindow(mainWindow)
    , m_model(new GelvWindowModel(booksPath, classicsPath, this))
{
    setObjectName(QStringLiteral("Gelv"));
    if (draft)
        m_editors->add(draft, EditorTarget::Kind::Draft);
    setWindowTitle(m_editors->target().windowTitle());
    // As tall as the main window, taller where the screen has room for more of the group.
    const int screenHeight =
        mainWindow && mainWindow->screen() ? mainWindow->screen()->availableGeometry().height() : 0;
    resize(kWidth, std::max(mainWindow ? mainWindow->height() : 566, std::min(720, screenHeight - 40)));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *bar = new QHBoxLayout;
    Gelv_Book_ComboBox = new QComboBox(this);
    Gelv_Book_ComboBox->setObjectName(QStringLiteral("Gelv_Book_ComboBox"));
    Gelv_Book_ComboBox->addItems(FormChoiceModel::bookNames());
    Gelv_Form_ComboBox = new QComboBox(this);
    Gelv_Form_ComboBox->setObjectName(QStringLiteral("Gelv_Form_ComboBox"));
    // The forms of regulated verse, then the 词牌 (once the books are read); typing narrows the list.
    Gelv_Form_ComboBox->setEditable(true);
    Gelv_Form_ComboBox->setInsertPolicy(QComboBox::NoInsert);
    // Sized to the form's name, not to the longest 词牌 of the list: the window keeps its width.
    Gelv_Form_ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Gelv_Form_ComboBox->setMinimumContentsLength(6);
    Gelv_Form_ComboBox->addItems(m_model->forms()->formNames());
    Gelv_Form_ComboBox->completer()->setFilterMode(Qt::MatchContains);
    Gelv_Form_ComboBox->completer()->setCompletionMode(QCompleter::PopupCompletion);
    bar->addWidget(new QLabel(QStringLiteral("韵书"), this));
    bar->addWidget(Gelv_Book_ComboBox);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("体裁"), this));
    bar->addWidget(Gelv_Form_ComboBox, 1);
    bar->addWidget(new CiFormSelector(m_model->ciForms(), this), 1);
    Gelv_Cipu_Button = new QToolButton(this);
    Gelv_Cipu_Button->setObjectName(QStringLiteral("Gelv_Cipu_Button"));
    Gelv_Cipu_Button->setText(QStringLiteral("词谱"));
    Gelv_Cipu_Button->setToolTip(QStringLiteral("按调名、字数或卷翻阅词谱，按其中一体填词"));
    bar->addWidget(Gelv_Cipu_Button);
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
    Gelv_Lookup = new LookupPanel(m_model->lookup(), this);
    Gelv_Examples = new ExamplesPanel(m_model->examples(), this);
    Gelv_Couplets = new CoupletPanel(m_model->couplets(), this);
    Gelv_Tianzi = new TianziPanel(m_model->tianzi(), this);
    Gelv_Jiju = new JijuPanel(m_model->jiju(), this);
    Gelv_Tabs = new QTabWidget(splitter);
    Gelv_Tabs->setObjectName(QStringLiteral("Gelv_Tabs"));
    Gelv_Tabs->addTab(Gelv_Lookup, QStringLiteral("查韵"));
    Gelv_Tabs->addTab(Gelv_Examples, QStringLiteral("例句"));
    Gelv_Tabs->addTab(Gelv_Couplets, QStringLiteral("对仗"));
    Gelv_Tabs->addTab(Gelv_Tianzi, QStringLiteral("填字"));
    Gelv_Tabs->addTab(Gelv_Jiju, QStringLiteral("集句"));
    splitter->addWidget(scroll);
    splitter->addWidget(Gelv_Findings);
    splitter->addWidget(Gelv_Tabs);
    m_splitter = splitter;
    layout->addWidget(splitter, 1);

    connectModels();
    m_model->keepSettings();
    // Larger marks for tired eyes: a step is an eighth, from three quarters to two and a half.
    (new Zoom(this, QStringLiteral("marks"), -2, 12, [this](int level) {
        Gelv_View->setScale(1 + level / 8.0);
    }))->watchWheel(Gelv_View);
}

void GelvWindow::connectModels()
{
    FormChoiceModel *forms = m_model->forms();
    connect(Gelv_Book_ComboBox, &QComboBox::currentIndexChanged, forms, &FormChoiceModel::setBook);
    connect(Gelv_Form_ComboBox, &QComboBox::activated, this,
            [this](int index) { m_model->forms()->setForm(Gelv_Form_ComboBox->itemText(index)); });
    connect(Gelv_Form_ComboBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        m_model->forms()->setForm(Gelv_Form_ComboBox->currentText());
        // An alias shows as its 词牌, an unknown name goes.
        Gelv_Form_ComboBox->setEditText(m_model->forms()->form());
    });
    connect(forms, &FormChoiceModel::bookChanged, Gelv_Book_ComboBox, &QComboBox::setCurrentIndex);
    connect(forms, &FormChoiceModel::formNamesChanged, this, &GelvWindow::showFormNames);
    // A 词牌 picked in the form selector of a 词 (自动's close seconds) shows in this one too.
    connect(forms, &FormChoiceModel::choiceChanged, this, [this] {
        if (!Gelv_Form_ComboBox->lineEdit()->hasFocus())
            Gelv_Form_ComboBox->setEditText(m_model->forms()->form());
    });
    connect(m_model, &GelvWindowModel::rowsChanged, this, [this] { Gelv_View->setRows(m_model->rows()); });
    connect(m_model->check(), &CheckModel::checksChanged, this, &GelvWindow::showFindings);
    connect(Gelv_Findings, &QListWidget::itemClicked, this, &GelvWindow::selectInDraft);
    connect(Gelv_Cipu_Button, &QToolButton::clicked, this, &GelvWindow::openCipu);
    connect(Gelv_Lookup, &LookupPanel::characterChosen, this, &GelvWindow::insertIntoDraft);
    connect(Gelv_Tianzi, &TianziPanel::wordChosen, this, &GelvWindow::insertIntoDraft);
    connect(Gelv_Tabs, &QTabWidget::currentChanged, this,
            [this] { m_model->tianzi()->setActive(Gelv_Tabs->currentWidget() == Gelv_Tianzi); });
    connect(m_editors, &EditorFollower::textChanged, this, &GelvWindow::followDraft);
    connect(m_editors, &EditorFollower::selectionChanged, this, &GelvWindow::followDraft);
    connect(m_editors, &EditorFollower::cursorPositionChanged, this, &GelvWindow::followCaret);
    connect(m_editors, &EditorFollower::followed, this, [this] {
        followDraft();
        followCaret();
    });
    connect(m_editors, &EditorFollower::targetChanged, this,
            [this] { setWindowTitle(m_editors->target().windowTitle()); });
}

void GelvWindow::showExamples(const QString &word)
{
    open();
    Gelv_Tabs->setCurrentWidget(Gelv_Examples);
    m_model->showExamples(word);
}

void GelvWindow::showCouplets(const QString &word)
{
    open();
    Gelv_Tabs->setCurrentWidget(Gelv_Couplets);
    m_model->showCouplets(word);
}

void GelvWindow::openCipu()
{
    open();
    if (!Gelv_Cipu) {
        Gelv_Cipu = new CipuBrowser(m_model->cipu(), this);
        connect(Gelv_Cipu, &CipuBrowser::formChosen, this, &GelvWindow::writeInForm);
    }
    Gelv_Cipu->fillJuans();
    if (const prosody::CiTune *tune = m_model->forms()->tune())
        Gelv_Cipu->showTune(tune->name);
    Gelv_Cipu->show();
    Gelv_Cipu->raise();
    Gelv_Cipu->activateWindow();
}

// Written through the editor's cursor, so the poet can undo it.
void GelvWindow::writeInForm(const prosody::CiFormRef &form)
{
    if (m_draft && !m_draft->isReadOnly()) {
        m_editors->follow(m_draft);
        const bool empty = m_draft->toPlainText().trimmed().isEmpty();
        if (empty || Dialogs::current().askYesNo(this, QStringLiteral("按此体填词"),
                                                 QStringLiteral("草稿中已有文字。换成新的《%1》吗？\n"
                                                                "选“否”则草稿不变，只按此体检查。")
                                                     .arg(form.tune))) {
            QTextCursor cursor(m_draft->document());
            cursor.select(QTextCursor::Document);
            cursor.insertText(form.tune + u'\n');
            m_draft->setTextCursor(cursor);
        }
    }
    m_model->forms()->setCiForm(form);
    Gelv_Form_ComboBox->setEditText(m_model->forms()->form());
    open();
    if (m_draft) {
        m_draft->activateWindow();
        m_draft->setFocus();
    }
}

void GelvWindow::open()
{
    if (!m_model->open()) {
        Gelv_Message->setText(m_model->errorText());
        Gelv_Message->show();
    } else {
        Gelv_Message->hide();
    }
    if (!m_placed)
        placeBesideMainWindow();
    gelvsettings::setOpen(true);
    show();
    raise();
    activateWindow();
}

void GelvWindow::lookUp(const QString &hanzi)
{
    open();
    m_model->lookUp(hanzi);
}

// The 词牌 join the forms once the books are read.
void GelvWindow::showFormNames()
{
    const QString chosen = Gelv_Form_ComboBox->currentText();
    Gelv_Form_ComboBox->clear();
    Gelv_Form_ComboBox->addItems(m_model->forms()->formNames());
    Gelv_Form_ComboBox->setEditText(chosen);
}

// Beside the main window, never over the draft (see presentation/gelv/placement.h).
void GelvWindow::placeBesideMainWindow()
{
    m_placed = true;
    if (!m_mainWindow)
        return;
    const QScreen *screen = m_mainWindow->screen();
    const QTextEdit *editor = m_editors->editor();
    const QRect draft = editor ? QRect(editor->mapToGlobal(QPoint(0, 0)), editor->size()) : QRect();
    // Not shown yet, the window has no frame: it will have one as wide as the main window's.
    QRect frame = frameGeometry();
    if (!isVisible())
        frame.setSize(size() + m_mainWindow->frameGeometry().size() - m_mainWindow->size());
    const GelvPlacement at = placeGelv(screen ? screen->availableGeometry() : QRect(),
                                       m_mainWindow->frameGeometry(), draft, frame);
    if (at.mainAt != m_mainWindow->frameGeometry().topLeft())
        m_mainWindow->move(at.mainAt);
    resize(width() - frame.width() + at.window.width(), height());
    move(at.window.topLeft());
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

// Closed by the user, it stays closed at the next start; the main window closing leaves it as it was.
void GelvWindow::closeEvent(QCloseEvent *event)
{
    if (m_mainWindow && m_mainWindow->isVisible())
        gelvsettings::setOpen(false);
    QWidget::closeEvent(event);
}

void GelvWindow::followDraft()
{
    const QTextEdit *editor = m_editors->editor();
    if (!isVisible() || !editor)
        return;
    const QTextCursor cursor = editor->textCursor();
    m_model->setDraft(editor->toPlainText(), cursor.selectionStart(), cursor.selectionEnd());
}

void GelvWindow::followCaret()
{
    const QTextEdit *editor = m_editors->editor();
    if (!isVisible() || !editor)
        return;
    const QTextCursor cursor = editor->textCursor();
    m_model->setCaret(editor->toPlainText(), cursor.position(), cursor.hasSelection());
}

void GelvWindow::showFindings()
{
    Gelv_Findings->clear();
    for (const CheckModel::FindingRow &row : m_model->check()->findingRows()) {
        auto *item = new QListWidgetItem(row.text, Gelv_Findings);
        item->setForeground(severityColor(row.severity));
        item->setData(kStartRole, row.start);
        item->setData(kLengthRole, row.length);
    }
}

void GelvWindow::selectInDraft(QListWidgetItem *item)
{
    QTextEdit *editor = m_editors->editor();
    if (!editor)
        return;
    QTextCursor cursor = editor->textCursor();
    const int start = item->data(kStartRole).toInt();
    const int end = start + item->data(kLengthRole).toInt();
    m_model->selectingItself(start, end); // shown where it is, the finding keeps the check as it was
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    editor->activateWindow();
    editor->setFocus();
}

// Through the editor's cursor, as a key typed there: the editor writes it back by its page's rules.
void GelvWindow::insertIntoDraft(const QString &hanzi)
{
    QTextEdit *editor = m_editors->editor();
    if (!editor || editor->isReadOnly())
        return;
    editor->textCursor().insertText(hanzi);
    editor->activateWindow();
    editor->setFocus();
}
