#include "app/W_Unit.h"

#include "db/database.h"
#include "db/recoveryfile.h"
#include "pages/about/aboutpage.h"
#include "pages/association/associationpage.h"
#include "pages/creation/creationpage.h"
#include "pages/rhymes/rhymespage.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/guard.h"
#include "pages/shared/look.h"
#include "pages/shared/statusbar.h"
#include "pages/works/workspage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStyleFactory>
#include <QTabWidget>

namespace {
const QString productName = QStringLiteral("诗海拾贝");
}

void TW::setUpApplication()
{
    QApplication::setApplicationName(productName);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    look::installFontSubstitutions();
    QApplication::setFont(look::sansSerifFont());
}

TW::TW(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("W"));
    setWindowTitle(productName);
    m_db = std::make_unique<Database>(Database::defaultPath(), this);

    W_StatusBar = new StatusBar(this);
    setStatusBar(W_StatusBar);
    W_PageControl = new QTabWidget(this);
    W_PageControl->setObjectName(QStringLiteral("W_PageControl"));
    setCentralWidget(W_PageControl);

    m_edit = new CreationPage(*m_db, W_StatusBar);
    m_view = new RhymesPage(*m_db, W_StatusBar);
    m_think = new AssociationPage(*m_db, W_StatusBar);
    m_show = new WorksPage(*m_db, W_StatusBar);
    m_about = new AboutPage(W_StatusBar);
    W_PageControl->addTab(m_edit, QStringLiteral("开始创作"));
    W_PageControl->addTab(m_view, QStringLiteral("编辑整理"));
    W_PageControl->addTab(m_think, QStringLiteral("词语联想"));
    W_PageControl->addTab(m_show, QStringLiteral("经典案例"));
    W_PageControl->addTab(m_about, QStringLiteral("关于软件"));
    W_PageControl->setCurrentWidget(m_about); // the stored page; FormShow opens on 开始创作
    connect(W_PageControl, &QTabWidget::currentChanged, this, &TW::pageShown);

    buildMenu();
    wireCreationPage();
    wireRhymesPage();
    wireAssociationPage();
    keepTyping();

    setFixedSize(792, 566);
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// Taking the window apart still makes its controls signal (the focus leaves an edit as the window
// closes); none of that may reach a handler of the half-destroyed window.
TW::~TW()
{
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

// What is typed and not yet written goes to the recovery file; a file the last run left is kept as
// it is until the user has been asked about it.
void TW::keepTyping()
{
    m_keeper = new RecoveryKeeper(Database::defaultPath(), m_db->queries(), this);
    m_keeper->hold(!m_keeper->leftFile().isEmpty());
    const QList<DbGrid *> grids = findChildren<DbGrid *>();
    for (DbGrid *grid : grids)
        connect(grid, &DbGrid::cellTyped, m_keeper, &RecoveryKeeper::changed);
    m_keeper->setTypingSource([grids](Query *q) -> std::optional<RecoveryKeeper::Typing> {
        for (DbGrid *grid : grids)
            if (grid->query() == q)
                if (const auto cell = grid->typedCell())
                    return RecoveryKeeper::Typing{cell->first, cell->second};
        return std::nullopt;
    });
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { writeForExit(); });
#endif
}

// A menu whose items are all hidden: the window shows no menu bar entries.
void TW::buildMenu()
{
    W_MainMenu = new QMenuBar(this);
    W_MainMenu->setObjectName(QStringLiteral("W_MainMenu"));
    const struct {
        const char *name, *caption, *item1, *caption1, *item2, *caption2;
    } menus[] = {{"N1", "写作", "N2", "记录灵感", "N3", "开始写作"},
                 {"N4", "资料", "N6", "诗海拾贝", "N9", "词语联想"},
                 {"N5", "关于", "N7", "软件简介", "N8", "联系作者"}};
    for (const auto &m : menus) {
        QMenu *menu = W_MainMenu->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setVisible(false);
        menu->addAction(QString::fromUtf8(m.caption1))->setObjectName(QString::fromLatin1(m.item1));
        menu->addAction(QString::fromUtf8(m.caption2))->setObjectName(QString::fromLatin1(m.item2));
    }
    setMenuBar(W_MainMenu);
    W_MainMenu->hide();
}

void TW::pageShown(int index)
{
    QWidget *page = W_PageControl->widget(index);
    if (page == m_edit)
        EditShow();
    else if (page == m_view)
        ViewShow();
    else if (page == m_think)
        ThinkShow();
    else if (page == m_show)
        guarded(this, [&] { m_show->ShowShow(); });
    else if (page == m_about)
        guarded(this, [&] { m_about->AboutShow(); });
}

void TW::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    FormShow();
    QMetaObject::invokeMethod(this, &TW::offerRecovery, Qt::QueuedConnection);
}

void TW::FormShow()
{
    guarded(this, [&] { m_show->computeWorksTotal(); });
    W_PageControl->setCurrentWidget(m_edit);
}

QStringList TW::writeUnwritten()
{
    QStringList refused;
    QList<Query *> failed;
    const auto attempt = [&](Query *q, auto &&write) {
        try {
            write();
        } catch (const std::exception &e) {
            refused << QString::fromUtf8(e.what());
            failed << q;
        }
    };
    for (Query *q : {m_db->Edit_ADOQuery, m_db->Show_ADOQuery}) {
        if (q->rowCount() > 0) {
            attempt(q, [q] {
                q->edit();
                q->post();
            });
        }
    }
    for (Query *q : m_db->queries())
        if (!failed.contains(q))
            attempt(q, [q] { q->settle(); });
    return refused;
}

bool TW::FormClose()
{
    const QStringList refused = writeUnwritten();
    if (refused.isEmpty())
        return true;
    Dialogs::current().error(this, refused.first());
    return false;
}

void TW::closeEvent(QCloseEvent *event)
{
    if (FormClose()) {
        m_keeper->keepNow(); // nothing is left unwritten: the file goes
        event->accept();
    } else {
        event->ignore();
    }
}

bool TW::writeForExit()
{
    const QStringList refused = writeUnwritten();
    for (const QString &message : refused)
        qWarning("%s", qPrintable(message));
    if (!m_keeper->keepNow())
        qWarning("%s", qPrintable(QStringLiteral("无法写入恢复文件 %1").arg(m_keeper->file())));
    return refused.isEmpty();
}

void TW::endBySignal()
{
    if (std::exchange(m_ending, true))
        return;
    writeForExit();
    QCoreApplication::exit(0);
}
