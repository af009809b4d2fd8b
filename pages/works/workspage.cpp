#include "pages/works/workspage.h"

#include "db/database.h"
#include "db/dates.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/dialogs.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "pages/works/categories.h"
#include "pages/works/worksstatus.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

using namespace schema;

const QString WorksPage::presetAuthor = QStringLiteral("无名氏");
const QString WorksPage::presetSource = QStringLiteral("【听雨小筑】");
// A public collection of classical Chinese verse, the kind of source a new work is taken from.
const QString WorksPage::presetUrl = QStringLiteral("https://github.com/chinese-poetry/chinese-poetry");
const QString WorksPage::deleteQuestion = QStringLiteral("确定要删除此数据么？");

namespace {

const QString seriesCategory = categories::table[0].category; // 甲类: counted in series and poems

// The fill of the page's lists and edits: the system's tooltip background.
void tooltipFill(QWidget *widget)
{
    look::setFill(widget, QApplication::palette().color(QPalette::ToolTipBase));
}

// The look shared by the detail panel's edits: flat, tooltip fill, black 新宋体.
template <class Control> Control *detailControl(Control *control, const QString &name, const QRect &rect)
{
    control->setObjectName(name);
    control->setFont(look::songFont());
    look::setTextColor(control, Qt::black);
    tooltipFill(control);
    control->setGeometry(rect);
    return control;
}

QLabel *detailLabel(QWidget *panel, const QString &name, const QString &caption, int left, int top)
{
    auto *label = new QLabel(caption, panel);
    label->setObjectName(name);
    label->setFont(look::songFont());
    look::setTextColor(label, look::navy);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Flat buttons never take the focus from the field being edited.
QToolButton *pageButton(QWidget *parent, const QString &name, const QString &caption,
                        QStyle::StandardPixmap glyph, const QRect &rect, bool glyphRight = false)
{
    QToolButton *button = look::speedButton(parent, name, caption, glyph, rect, glyphRight);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

WorksPage::WorksPage(Database &db, StatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_db(db)
    , m_status(status)
    , m_listed(categories::defaultQuery)
{
    setObjectName(QStringLiteral("Show"));
    resize(784, 518);
    buildConditionBar();
    buildList();
    buildDetailPanel();
}

void WorksPage::buildConditionBar()
{
    Show_Panel = look::conditionBar(this, QStringLiteral("Show_Panel"));
    first_SpeedButton = pageButton(Show_Panel, QStringLiteral("first_SpeedButton"), QStringLiteral("顶端"),
                                   QStyle::SP_MediaSkipBackward, QRect(160, 6, 65, 25));
    Prior_SpeedButton = pageButton(Show_Panel, QStringLiteral("Prior_SpeedButton"), QStringLiteral("上一篇"),
                                   QStyle::SP_MediaSeekBackward, QRect(224, 6, 65, 25));
    next_SpeedButton = pageButton(Show_Panel, QStringLiteral("next_SpeedButton"), QStringLiteral("下一篇"),
                                  QStyle::SP_MediaSeekForward, QRect(288, 6, 65, 25), true);
    last_SpeedButton = pageButton(Show_Panel, QStringLiteral("last_SpeedButton"), QStringLiteral("末尾"),
                                  QStyle::SP_MediaSkipForward, QRect(352, 6, 65, 25), true);
    add_SpeedButton = pageButton(Show_Panel, QStringLiteral("add_SpeedButton"), QStringLiteral("添加"),
                                 QStyle::SP_FileDialogNewFolder, QRect(416, 6, 65, 25));
    del_SpeedButton = pageButton(Show_Panel, QStringLiteral("del_SpeedButton"), QStringLiteral("删除"),
                                 QStyle::SP_TrashIcon, QRect(481, 6, 65, 25));
    // The list opens on its first row.
    first_SpeedButton->setEnabled(false);
    Prior_SpeedButton->setEnabled(false);
}

void WorksPage::buildList()
{
    Show_list_Panel = new QFrame(this);
    Show_list_Panel->setObjectName(QStringLiteral("Show_list_Panel"));
    Show_list_Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Show_list_Panel->setGeometry(0, 40, 135, 478);
    Show_list_Panel->setFont(look::songFont());
    look::setTextColor(Show_list_Panel, Qt::black);

    Show_ComboBox = new QComboBox(Show_list_Panel);
    Show_ComboBox->setObjectName(QStringLiteral("Show_ComboBox"));
    Show_ComboBox->setEditable(true);
    Show_ComboBox->setInsertPolicy(QComboBox::NoInsert);
    takeAnyLength(Show_ComboBox->lineEdit());
    // A typed text is taken as typed: the first character of a category lists nothing.
    Show_ComboBox->setCompleter(nullptr);
    Show_ComboBox->setFrame(false);
    Show_ComboBox->addItems(categories::categoryTexts());
    Show_ComboBox->setMaxVisibleItems(5);
    Show_ComboBox->setEditText(categories::defaultQuery);
    Show_ComboBox->setGeometry(15, 17, 105, 20);
    tooltipFill(Show_ComboBox);

    Show_DBGrid = new DbGrid(m_db.Show_ADOQuery->dataSource(), {{colTitle, 73, Qt::AlignCenter}}, true,
                             Show_list_Panel);
    Show_DBGrid->setObjectName(QStringLiteral("Show_DBGrid"));
    Show_DBGrid->setTitlesVisible(false);
    Show_DBGrid->setGeometry(15, 51, 105, 411);
    tooltipFill(Show_DBGrid);

    nr_DBRichEdit = new DbRichEdit(m_db.Show_ADOQuery->dataSource(), colContent, this);
    nr_DBRichEdit->setObjectName(QStringLiteral("nr_DBRichEdit"));
    nr_DBRichEdit->setFont(look::sansSerifFont());
    nr_DBRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nr_DBRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nr_DBRichEdit->setGeometry(135, 40, 449, 478);
}

void WorksPage::buildDetailPanel()
{
    Show_detail_Panel = new QFrame(this);
    Show_detail_Panel->setObjectName(QStringLiteral("Show_detail_Panel"));
    Show_detail_Panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    Show_detail_Panel->setGeometry(784 - 200, 40, 200, 478);
    QWidget *panel = Show_detail_Panel;
    DataSource *source = m_db.Show_ADOQuery->dataSource();

    auto edit = [&](const QString &field, const QString &name, const QRect &rect) {
        auto *e = detailControl(new DbEdit(source, field, panel), name, rect);
        e->setFrame(false);
        return e;
    };
    auto comboBox = [&](const QString &field, const QString &name, const QRect &rect,
                        const QStringList &items) {
        auto *box = detailControl(new DbComboBox(source, field, panel), name, rect);
        box->setFrame(false);
        box->setCompleter(nullptr); // the coupling compares the text exactly as typed
        box->addItems(items);
        box->link()->load(); // adding items showed the first one
        return box;
    };

    bt_Label = detailLabel(panel, QStringLiteral("bt_Label"), QStringLiteral("标题："), 19, 21);
    bt_DBEdit = edit(colTitle, QStringLiteral("bt_DBEdit"), QRect(58, 17, 121, 20));
    lb_Label = detailLabel(panel, QStringLiteral("lb_Label"), QStringLiteral("类别："), 19, 56);
    lb_DBComboBox = comboBox(colCategory, QStringLiteral("lb_DBComboBox"), QRect(58, 52, 121, 20),
                             categories::categoryTexts());
    bj_Label = detailLabel(panel, QStringLiteral("bj_Label"), QStringLiteral("标记："), 19, 92);
    bj_DBComboBox =
        comboBox(colMark, QStringLiteral("bj_DBComboBox"), QRect(58, 88, 49, 20), categories::markTexts());
    look::slimArrow(bj_DBComboBox, 14); // 『』 at a readable size in the 49 pixels beside a slim arrow
    sl_Label = detailLabel(panel, QStringLiteral("sl_Label"), QStringLiteral("№"), 118, 92);
    sl_DBEdit = edit(colCount, QStringLiteral("sl_DBEdit"), QRect(136, 88, 43, 20));
    zz_Label = detailLabel(panel, QStringLiteral("zz_Label"), QStringLiteral("作者："), 19, 128);
    zz_DBEdit = edit(colAuthor, QStringLiteral("zz_DBEdit"), QRect(58, 124, 121, 20));
    cc_Label = detailLabel(panel, QStringLiteral("cc_Label"), QStringLiteral("出处："), 19, 164);
    cc_DBEdit = edit(colSource, QStringLiteral("cc_DBEdit"), QRect(58, 160, 121, 20));
    wz_Label = detailLabel(panel, QStringLiteral("wz_Label"), QStringLiteral("网址："), 19, 200);
    wz_DBEdit = edit(colUrl, QStringLiteral("wz_DBEdit"), QRect(58, 196, 121, 20));
    rq_Label = detailLabel(panel, QStringLiteral("rq_Label"), QStringLiteral("日期："), 19, 236);
    rq_DBEdit = edit(colDate, QStringLiteral("rq_DBEdit"), QRect(58, 232, 121, 20));
    bz_Label = detailLabel(panel, QStringLiteral("bz_Label"), QStringLiteral("备注："), 19, 272);
    bz_DBRichEdit = detailControl(new DbRichEdit(source, colRemarks, panel), QStringLiteral("bz_DBRichEdit"),
                                  QRect(19, 296, 161, 121));
    bz_DBRichEdit->setFrameStyle(QFrame::Box | QFrame::Plain);

    // The mark box comes last: the coupling fills it from the category.
    QWidget *order[] = {bt_DBEdit, lb_DBComboBox, sl_DBEdit,     zz_DBEdit,    cc_DBEdit,
                        wz_DBEdit, rq_DBEdit,     bz_DBRichEdit, bj_DBComboBox};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    ok_SpeedButton = pageButton(panel, QStringLiteral("ok_SpeedButton"), QStringLiteral("录入"),
                                QStyle::SP_DialogApplyButton, QRect(27, 433, 65, 25));
    Cancel_SpeedButton = pageButton(panel, QStringLiteral("Cancel_SpeedButton"), QStringLiteral("撤消"),
                                    QStyle::SP_DialogCancelButton, QRect(107, 433, 65, 25));
}

Query *WorksPage::query() const
{
    return m_db.Show_ADOQuery;
}

void WorksPage::computeWorksTotal()
{
    Query *q = query();
    const QuietWalk quiet(q); // the detail panel need not show every work on the way
    m_worksTotal = 0;
    const int n = q->recordCount();
    for (int i = 0; i < n; ++i) {
        m_worksTotal += q->integer(colCount); // no number reads as 0
        q->next();
    }
    q->first();
}

bool WorksPage::selectorShowsSeries() const
{
    const QString s = Show_ComboBox->currentText();
    return s == seriesCategory || s == categories::defaultQuery;
}

void WorksPage::writeStatus(bool series)
{
    const int n = query()->recordCount();
    const worksstatus::Texts texts = series ? worksstatus::series(n, m_worksTotal) : worksstatus::records(n);
    m_status->setPanelText(0, texts.condition);
    m_status->setPanelText(1, texts.counts);
}

void WorksPage::ShowShow()
{
    writeStatus(selectorShowsSeries());
    nr_DBRichEdit->setFocus();
}

void WorksPage::Show_ComboBoxChange()
{
    Query *q = query();
    const QString s = Show_ComboBox->currentText();
    // A new or changed work is written before its list is replaced, as a move writes it. When the
    // write is refused the change stops with the row as the user left it, and the selector shows
    // again the text whose works are still listed.
    try {
        q->settle();
    } catch (...) {
        const QSignalBlocker quiet(Show_ComboBox);
        Show_ComboBox->setCurrentIndex(Show_ComboBox->findText(m_listed));
        Show_ComboBox->setEditText(m_listed);
        throw;
    }
    m_listed = s;
    q->close();
    q->clearSql();
    q->addSql(QStringLiteral("select * from  作品 where "));
    q->addSql(QStringLiteral("类别=") + dialect::literal(s));
    q->addSql(QStringLiteral(" order by 日期 desc"));
    q->open();
    // Only 甲类 itself: a typed "-默认方式查询-" lists nothing and reads as records here.
    writeStatus(s == seriesCategory);
}

void WorksPage::first_SpeedButtonClick()
{
    query()->first();
    first_SpeedButton->setEnabled(false);
    Prior_SpeedButton->setEnabled(false);
    next_SpeedButton->setEnabled(true);
    last_SpeedButton->setEnabled(true);
}

void WorksPage::Prior_SpeedButtonClick()
{
    Query *q = query();
    q->prior();
    next_SpeedButton->setEnabled(true);
    last_SpeedButton->setEnabled(true);
    if (q->bof()) {
        first_SpeedButton->setEnabled(false);
        Prior_SpeedButton->setEnabled(false);
    }
}

void WorksPage::next_SpeedButtonClick()
{
    Query *q = query();
    q->next();
    first_SpeedButton->setEnabled(true);
    Prior_SpeedButton->setEnabled(true);
    if (q->eof()) {
        next_SpeedButton->setEnabled(false);
        last_SpeedButton->setEnabled(false);
    }
}

void WorksPage::last_SpeedButtonClick()
{
    query()->last();
    last_SpeedButton->setEnabled(false);
    next_SpeedButton->setEnabled(false);
    first_SpeedButton->setEnabled(true);
    Prior_SpeedButton->setEnabled(true);
}

void WorksPage::add_SpeedButtonClick()
{
    bt_DBEdit->setFocus();
    Query *q = query();
    // A changed row is written first; on an empty list edit already begins a row, which the insert
    // replaces, so exactly one new row results.
    q->edit();
    q->insert();
    const QString s = Show_ComboBox->currentText();
    const QString category = s == categories::defaultQuery ? seriesCategory : s;
    if (const auto mark = categories::markOf(category)) {
        q->setText(colCategory, category);
        q->setText(colMark, *mark);
    }
    q->setText(colCount, QStringLiteral("0"));
    q->setText(colAuthor, presetAuthor);
    q->setText(colSource, presetSource);
    q->setText(colUrl, presetUrl);
    q->setText(colDate, dates::display(QDate::currentDate()));
}

void WorksPage::ok_SpeedButtonClick()
{
    Query *q = query();
    // An empty list has no work to write: edit would begin an empty one and store it.
    if (q->rowCount() > 0) {
        q->edit();
        q->post();
    }
    writeStatus(selectorShowsSeries());
}

void WorksPage::Cancel_SpeedButtonClick()
{
    query()->cancel();
}

void WorksPage::del_SpeedButtonClick()
{
    if (Dialogs::current().askYesNo(this, QStringLiteral("Confirm"), deleteQuestion)) {
        Query *q = query();
        q->edit();
        q->remove();
    }
    writeStatus(selectorShowsSeries());
}

// The partner is set through the row, so category and mark are written together.
void WorksPage::lb_DBComboBoxChange()
{
    if (const auto mark = categories::markOf(lb_DBComboBox->currentText())) {
        Query *q = query();
        q->edit();
        q->setText(colMark, *mark);
    }
}

void WorksPage::bj_DBComboBoxChange()
{
    if (const auto category = categories::categoryOf(bj_DBComboBox->currentText())) {
        Query *q = query();
        q->edit();
        q->setText(colCategory, *category);
    }
}
