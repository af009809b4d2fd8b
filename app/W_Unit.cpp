// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"

#include "db/database.h"
#include "db/recoveryfile.h"
#include "pages/about/aboutpage.h"
#include "pages/association/associationpage.h"
#include "pages/creation/creationpage.h"
#include "pages/gelv/gelvdesk.h"
#include "pages/gelv/gelvwindow.h"
#include "pages/rhymes/rhymespage.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/guard.h"
#include "pages/shared/hiddenmenu.h"
#include "pages/shared/look.h"
#include "pages/shared/recoveryprompt.h"
#include "pages/shared/statusbar.h"
#include "pages/works/workspage.h"
#include "presentation/aboutmodel.h"
#include "presentation/associationmodel.h"
#include "presentation/closing.h"
#include "presentation/creationmodel.h"
#include "presentation/gelv/gelvsettings.h"
#include "presentation/rhymesmodel.h"
#include "presentation/works/transfer.h"
#include "presentation/worksfinder.h"
#include "presentation/worksmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>

void TW::setUpApplication()
{
    look::setUpApplication();
}

TW::TW(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("W"));
    setWindowTitle(QStringLiteral("诗海拾贝"));
    m_db = std::make_unique<Database>(Database::defaultPath(), this);
    setStatusBar(W_StatusBar = new StatusBar(this));
    setCentralWidget(W_PageControl = new QTabWidget(this));
    W_PageControl->setObjectName(QStringLiteral("W_PageControl"));
    Database &db = *m_db;
    m_edit = new CreationPage(new CreationModel(db), W_StatusBar);
    auto *rhymes = new RhymesPage(new RhymesModel(db), W_StatusBar);
    auto *association = new AssociationPage(new AssociationModel(db), W_StatusBar);
    auto *works = new WorksModel(db);
    m_show =
        new WorksPage(works, new WorksFinder(db), std::make_unique<WorksTransfer>(db, *works), W_StatusBar);
    auto *about = new AboutPage(new AboutModel, W_StatusBar);
    W_PageControl->addTab(m_edit, QStringLiteral("开始创作"));
    W_PageControl->addTab(rhymes, QStringLiteral("编辑整理"));
    W_PageControl->addTab(association, QStringLiteral("词语联想"));
    W_PageControl->addTab(m_show, QStringLiteral("经典案例"));
    W_PageControl->addTab(about, QStringLiteral("关于软件"));
    W_PageControl->setCurrentWidget(about); // the stored page; FormShow opens on 开始创作
    connect(W_PageControl, &QTabWidget::currentChanged, this, &TW::pageShown);
    setMenuBar(hiddenMenuBar(this));
    menuBar()->hide();

    // The 格律 window asked for from an editor checks that editor.
    QTextEdit *draft = m_edit->draftEditor();
    QTextEdit *work = m_show->contentEditor();
    m_gelv = new GelvDesk(draft, work, m_show->titleEdit(), this);
    connect(m_edit, &CreationPage::gelvRequested, this, [this, draft] { m_gelv->checkIn(draft); });
    connect(m_show, &WorksPage::gelvRequested, this, [this, work] { m_gelv->checkIn(work); });
    connect(m_edit, &CreationPage::rhymeLookupRequested, this,
            [this, draft](const QString &h) { m_gelv->checkIn(draft, h); });
    connect(m_edit, &CreationPage::cipuRequested, this, [this] { m_gelv->window()->openCipu(); });
    connect(m_show, &WorksPage::rhymeLookupRequested, this,
            [this, work](const QString &h) { m_gelv->checkIn(work, h); });
    connect(association, &AssociationPage::examplesRequested, this,
            [this](const QString &word) { m_gelv->window()->showExamples(word); });
    connect(association, &AssociationPage::coupletsRequested, this,
            [this](const QString &word) { m_gelv->window()->showCouplets(word); });

    m_keeper = recoveryprompt::keeperFor(this, *m_db, Database::defaultPath());
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { writeForExit(); });
#endif
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

void TW::Edit_gelv_SpeedButtonClick()
{
    m_gelv->window()->open();
}

void TW::pageShown(int index)
{
    if (auto *page = dynamic_cast<Page *>(W_PageControl->widget(index)))
        guarded(this, [page] { page->shown(); });
}

void TW::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    FormShow();
    // Asked once the window is up; an end that came while asking writes what was put back.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const auto listCategory = [this](const QString &c) { m_show->listCategory(c); };
            if (!m_ending && recoveryprompt::offer(this, *m_db, *m_keeper, listCategory) && m_ending)
                writeForExit();
            if (!m_ending && gelvsettings::wasOpen()) {
                m_gelv->window()->open(); // as it was when the program last ended; the draft keeps the keys
                activateWindow();
            }
            emit started();
        },
        Qt::QueuedConnection);
}

void TW::FormShow()
{
    guarded(this, [&] { m_show->computeWorksTotal(); });
    W_PageControl->setCurrentWidget(m_edit);
}

void TW::closeEvent(QCloseEvent *event)
{
    event->setAccepted(FormClose());
}

bool TW::FormClose()
{
    commitOpenEditors(this);
    const QStringList refused = closing::writeUnwritten(*m_db);
    if (!refused.isEmpty())
        Dialogs::current().error(this, refused.first());
    else
        m_keeper->keepNow(); // nothing is left unwritten: the file goes
    return refused.isEmpty();
}

bool TW::writeForExit()
{
    commitOpenEditors(this);
    return closing::writeForExit(*m_db, *m_keeper);
}

void TW::endBySignal()
{
    if (std::exchange(m_ending, true))
        return;
    writeForExit();
    QCoreApplication::exit(0);
}
