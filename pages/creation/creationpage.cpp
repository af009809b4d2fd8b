#include "pages/creation/creationpage.h"

#include "db/database.h"
#include "db/dialect.h"
#include "pages/creation/finals.h"
#include "pages/creation/rhymestatus.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>

using namespace schema;

const QString CreationPage::notSet = QStringLiteral("请选择");
const QString CreationPage::incompleteMessage = QStringLiteral("请选择完整的条件进行查询");

namespace {

QFrame *loweredPanel(QWidget *parent, const QString &name, const QRect &rect)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(rect);
    return panel;
}

// The lines that select the rows of one final and one tone with characters to show, by syllable.
void replaceLookup(Query *query, const QString &table, const QString &final, const QString &tone)
{
    query->close();
    query->clearSql();
    query->addSql(QStringLiteral("select * from %1 where ").arg(table));
    query->addSql(colFinal + u'=' + dialect::literal(final));
    query->addSql(QStringLiteral(" and "));
    query->addSql(colTone + u'=' + dialect::literal(tone));
    query->addSql(QStringLiteral(" and "));
    query->addSql(colCommon + QStringLiteral("<>\"\""));
    query->addSql(QStringLiteral(" order by ") + colSyllable);
    query->open();
}

} // namespace

CreationPage::CreationPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status)
{
    setObjectName(QStringLiteral("Edit"));
    resize(784, 518);

    Panel1 = look::conditionBar(this, QStringLiteral("Panel1"));
    Label1 = look::barLabel(Panel1, QStringLiteral("Label1"), QStringLiteral("韵母"), 16, 12);
    ComboBox1 =
        look::barComboBox(Panel1, QStringLiteral("ComboBox1"), 48, 8, finals::groupTexts(), notSet, 6);
    ComboBox2 =
        look::barComboBox(Panel1, QStringLiteral("ComboBox2"), 128, 8, finals::startItems(), notSet, 8);
    ComboBox2->setEnabled(false);
    Label3 = look::barLabel(Panel1, QStringLiteral("Label3"), QStringLiteral("声调"), 208, 12);
    ComboBox3 = look::barComboBox(
        Panel1, QStringLiteral("ComboBox3"), 240, 8,
        {QStringLiteral("阴平"), QStringLiteral("阳平"), QStringLiteral("上声"), QStringLiteral("去声")},
        notSet, 4);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox3);
    Edit_ok_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_ok_SpeedButton"), QStringLiteral("查看"),
                          QStyle::SP_FileDialogContentsView, QRect(328, 6, 65, 25));
    Edit_save_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_save_SpeedButton"), QStringLiteral("保存草稿"),
                          QStyle::SP_DialogSaveButton, QRect(682, 6, 81, 25));
    Edit_gelv_SpeedButton =
        look::speedButton(Panel1, QStringLiteral("Edit_gelv_SpeedButton"), QStringLiteral("格律"),
                          QStyle::SP_FileDialogDetailedView, QRect(416, 6, 65, 25));
    connect(Edit_gelv_SpeedButton, &QToolButton::clicked, this, &CreationPage::gelvRequested);

    Panel5 = loweredPanel(this, QStringLiteral("Panel5"), QRect(0, 40, 476, 478));
    Edit_Splitter = new QSplitter(Qt::Vertical, Panel5);
    Edit_Splitter->setObjectName(QStringLiteral("Edit_Splitter"));
    Edit_Splitter->setHandleWidth(2);
    Edit_Splitter->setChildrenCollapsible(false);
    Edit_Splitter->setGeometry(Panel5->contentsRect());
    const QList<GridColumn> columns = {{colSyllable}, {colCommon, 400}};
    Edit_psy_DBGrid = new DbGrid(db.Edit_psy_ADOQuery->dataSource(), columns, true, Edit_Splitter);
    Edit_psy_DBGrid->setObjectName(QStringLiteral("Edit_psy_DBGrid"));
    Edit_jsy_DBGrid = new DbGrid(db.Edit_jsy_ADOQuery->dataSource(), columns, false, Edit_Splitter);
    Edit_jsy_DBGrid->setObjectName(QStringLiteral("Edit_jsy_DBGrid"));
    Edit_Splitter->addWidget(Edit_psy_DBGrid);
    Edit_Splitter->addWidget(Edit_jsy_DBGrid);
    Edit_Splitter->setStretchFactor(1, 1);
    const int upper = 345;
    Edit_Splitter->setSizes({upper, Edit_Splitter->height() - upper - Edit_Splitter->handleWidth()});

    Panel9 = loweredPanel(this, QStringLiteral("Panel9"), QRect(476, 40, 308, 478));
    Edit_DBRichEdit = new DbRichEdit(db.Edit_ADOQuery->dataSource(), colContent, Panel9);
    Edit_DBRichEdit->setObjectName(QStringLiteral("Edit_DBRichEdit"));
    Edit_DBRichEdit->setGeometry(Panel9->contentsRect());
    Edit_DBRichEdit->setFrameShape(QFrame::NoFrame);
    Edit_DBRichEdit->setFont(look::songFont());
    Edit_DBRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit_DBRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Edit_DBRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Edit_DBRichEdit, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = draftMenu(pos);
        menu->exec(Edit_DBRichEdit->viewport()->mapToGlobal(pos));
        delete menu;
    });

    // Without a draft row the first keystroke begins one; it must carry the draft's title, and the
    // draft category keeps it out of every works list.
    db.Edit_ADOQuery->setNewRowHandler([](Query &q) {
        q.setText(colTitle, draftTitle);
        q.setText(colCategory, draftCategory);
    });
}

QMenu *CreationPage::draftMenu(const QPoint &pos)
{
    QMenu *menu = Edit_DBRichEdit->createStandardContextMenu(Edit_DBRichEdit->viewport()->mapToGlobal(pos));
    QAction *first = menu->actions().value(0);
    QAction *check = new QAction(QStringLiteral("检查格律"), menu);
    connect(check, &QAction::triggered, this, &CreationPage::gelvRequested);
    menu->insertAction(first, check);
    // The character the click is on: the one whose box holds the point.
    QTextCursor cursor = Edit_DBRichEdit->cursorForPosition(pos);
    const QString text = Edit_DBRichEdit->toPlainText();
    const QRect caret = Edit_DBRichEdit->cursorRect(cursor);
    int at = cursor.position();
    if (pos.x() < caret.center().x() && at > 0)
        --at;
    if (at > 0 && at < text.size() && text.at(at).isLowSurrogate())
        --at;
    const QString hanzi = at < text.size() ? text.mid(at, text.at(at).isHighSurrogate() ? 2 : 1) : QString();
    const char32_t code = hanzi.toUcs4().value(0);
    if (code && QChar::isLetter(code)) {
        QAction *lookup = new QAction(QStringLiteral("查韵「%1」").arg(hanzi), menu);
        connect(lookup, &QAction::triggered, this, [this, hanzi] { emit rhymeLookupRequested(hanzi); });
        menu->insertAction(first, lookup);
    }
    menu->insertSeparator(first);
    return menu;
}

bool CreationPage::conditionsComplete() const
{
    return ComboBox1->currentText() != notSet && ComboBox3->currentText() != notSet;
}

QString CreationPage::conditionText() const
{
    return conditionsComplete()
               ? rhymestatus::finalAndTone(ComboBox2->currentText(), ComboBox3->currentText())
               : rhymestatus::allRecords();
}

void CreationPage::EditShow()
{
    Edit_DBRichEdit->setFocus();
    const int n = m_db.Edit_psy_ADOQuery->recordCount();
    const int m = m_db.Edit_jsy_ADOQuery->recordCount();
    m_status->setPanelText(0, conditionText());
    m_status->setPanelText(1, rhymestatus::counts(n, m));
}

void CreationPage::ComboBox1Change()
{
    finals::chooseGroup(ComboBox1, ComboBox2);
}

void CreationPage::ComboBox3Change()
{
    look::setFill(ComboBox3, look::moneyGreen);
}

void CreationPage::Edit_ok_SpeedButtonClick()
{
    if (!conditionsComplete()) {
        Dialogs::current().message(this, incompleteMessage);
        m_status->setPanelText(0, rhymestatus::allRecords());
        return;
    }
    Query *psy = m_db.Edit_psy_ADOQuery;
    Query *jsy = m_db.Edit_jsy_ADOQuery;
    // A row typed into the lower grid is written before its query is replaced; a refused write
    // stops the lookup with the row as the user left it.
    psy->settle();
    jsy->settle();
    const QString final = ComboBox2->currentText();
    const QString tone = ComboBox3->currentText();
    replaceLookup(psy, tablePsy, final, tone);
    replaceLookup(jsy, tableJsy, final, tone);
    const int n = psy->recordCount();
    const int m = jsy->recordCount();
    m_status->setPanelText(0, rhymestatus::finalAndTone(ComboBox2->currentText(), ComboBox3->currentText()));
    m_status->setPanelText(1, rhymestatus::counts(n, m));
}

void CreationPage::Edit_save_SpeedButtonClick()
{
    Query *draft = m_db.Edit_ADOQuery;
    draft->edit();
    draft->post();
}
