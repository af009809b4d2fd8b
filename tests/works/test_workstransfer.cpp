// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"
#include "db/schema.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/statusbar.h"
#include "pages/works/importpreview.h"
#include "pages/works/worksdialogs.h"
#include "pages/works/workspage.h"
#include "presentation/works/transfer.h"
#include "presentation/worksfinder.h"
#include "presentation/worksmodel.h"
#include "tests/faults/faultsupport.h"
#include "tests/support/fixture.h"
#include "tests/testmain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

#include <memory>

using namespace schema;
using namespace Qt::StringLiterals;

// Answers 导出 and 导入 as a user would, and remembers what the preview showed.
class ScriptedWorksDialogs : public WorksDialogs {
public:
    ScriptedWorksDialogs() { install(this); }
    ~ScriptedWorksDialogs() override { install(nullptr); }

    std::optional<SaveTarget> target;
    QString file;
    std::optional<QString> category; // the preview's answer: the category, ticking what it offers
    QList<ImportItem> previewed;
    int cancelAfter = -1; // steps before the progress is cancelled; never when negative

    std::optional<SaveTarget> saveTarget(QWidget *, const QString &) override { return target; }
    QString importFile(QWidget *) override { return file; }
    std::optional<ImportChoice> previewImport(QWidget *, const QString &, const QString &,
                                              const QList<ImportItem> &items, const QString &) override
    {
        previewed = items;
        if (!category)
            return std::nullopt;
        ImportChoice choice{*category, {}};
        for (int i = 0; i < items.size(); ++i)
            if (!items[i].duplicate)
                choice.chosen << i;
        return choice;
    }
    struct Steps : Progress {
        int left;
        explicit Steps(int cancelAfter)
            : left(cancelAfter)
        {
        }
        void setValue(int) override {}
        bool canceled() override { return left >= 0 && left-- == 0; }
    };
    std::unique_ptr<Progress> progress(QWidget *, const QString &, int) override
    {
        return std::make_unique<Steps>(cancelAfter);
    }
};

// The title list's menu of 经典案例 over a real file: what each export takes and writes, the import
// from its preview to the list and the status bar, and what a cancel or a refusal leaves.
class TestWorksTransfer : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    std::unique_ptr<QObject> owner;
    std::unique_ptr<Database> db;
    std::unique_ptr<StatusBar> status;
    std::unique_ptr<WorksPage> page;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<ScriptedWorksDialogs> works;

    void addWork(const QString &title, const QString &category, const QString &date, const QString &text)
    {
        fx->insert(tableWorks, {colTitle, colCategory, colDate, colContent}, {title, category, date, text});
    }
    void openPage()
    {
        owner = std::make_unique<QObject>();
        db = std::make_unique<Database>(fx->path(), owner.get());
        status = std::make_unique<StatusBar>();
        auto *model = new WorksModel(*db);
        page = std::make_unique<WorksPage>(model, new WorksFinder(*db),
                                           std::make_unique<WorksTransfer>(*db, *model), status.get());
        page->computeWorksTotal();
    }
    // Runs the menu entry `caption` on the title at `row` (below the rows when negative).
    void run(const QString &caption, int row = -1)
    {
        DbGrid *grid = page->Show_DBGrid;
        const QPoint at = row < 0 ? QPoint(5, grid->viewport()->height() - 2)
                                  : grid->visualRect(grid->model()->index(row, 0)).center();
        const std::unique_ptr<QMenu> menu(page->titleMenu(at));
        for (QAction *action : menu->actions())
            if (action->text() == caption)
                return action->trigger();
        QFAIL(qPrintable(u"no entry "_s + caption));
    }
    QString exportTo(const QString &caption, ExportFormat format, int row = -1)
    {
        const QString path = fx->dir() + u"/out."_s + exportformat::suffix(format);
        QFile::remove(path);
        works->target = WorksDialogs::SaveTarget{path, format};
        run(caption, row);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QStringList listed() const
    {
        QStringList titles;
        for (int r = 0; r < page->Show_DBGrid->model()->rowCount(); ++r)
            titles << page->Show_DBGrid->model()->index(r, 0).data().toString();
        return titles;
    }
    QString writeFile(const QByteArray &bytes)
    {
        const QString path = fx->dir() + u"/诗集.txt"_s;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        dialogs = std::make_unique<ScriptedDialogs>();
        works = std::make_unique<ScriptedWorksDialogs>();
        addWork(u"早"_s, u"乙类"_s, u"2020-01-01"_s, u"早的诗"_s);
        addWork(u"晚"_s, u"乙类"_s, u"2022-01-01"_s, u"晚的诗\n\n第二段"_s);
        addWork(u"甲一"_s, u"甲类"_s, u"2021-01-01"_s, u"甲的诗"_s);
        openPage();
    }
    void cleanup()
    {
        page.reset();
        status.reset();
        db.reset();
        owner.reset();
        works.reset();
        dialogs.reset();
        fx.reset();
    }

    void theTitleMenuOffersExportAndImport()
    {
        page->Show_ComboBox->setEditText(u"丙类"_s); // an empty list
        std::unique_ptr<QMenu> menu(page->titleMenu(QPoint(5, 5)));
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << (action->isSeparator() ? u"|"_s
                                              : action->text() + (action->isEnabled() ? u""_s : u"(off)"_s));
        QCOMPARE(entries,
                 (QStringList{u"导出本篇…(off)"_s, u"导出本类…(off)"_s, u"导出全部…"_s, u"|"_s, u"导入…"_s}));
        page->Show_ComboBox->setEditText(u"乙类"_s);
        menu.reset(
            page->titleMenu(page->Show_DBGrid->visualRect(page->Show_DBGrid->model()->index(1, 0)).center()));
        QVERIFY(menu->actions().first()->isEnabled());
        QCOMPARE(page->bt_DBEdit->text(), u"早"_s); // the title clicked on is the current work
    }

    void eachExportTakesItsWorksAndChangesNothing()
    {
        const QStringList before = fx->column("select group_concat(标题 || 内容 || 日期) from 作品");
        page->Show_ComboBox->setEditText(u"乙类"_s);
        QCOMPARE(exportTo(u"导出本篇…"_s, ExportFormat::Text, 1), u"早\n早的诗\n"_s);
        QCOMPARE(exportTo(u"导出本类…"_s, ExportFormat::Text), u"晚\n晚的诗\n　\n第二段\n\n早\n早的诗\n"_s);
        QCOMPARE(status->panelText(1), u"已导出2篇作品到 out.txt"_s);
        const QString all = exportTo(u"导出全部…"_s, ExportFormat::Markdown);
        QVERIFY2(all.startsWith(u"## 甲一\n\n*甲类 · 2021-01-01*\n\n甲的诗\n\n## 晚"_s), qPrintable(all));
        QCOMPARE(all.count(u"## "_s), 3);
        QCOMPARE(fx->column("select group_concat(标题 || 内容 || 日期) from 作品"), before);
        QVERIFY(dialogs->calls.isEmpty());
    }

    void anImportShowsItsPreviewThenListsWhatItAdded()
    {
        works->file = writeFile("新一\n新的诗句\n\n早（重录）\n早的诗\n\n新二\n又一句\n第二句\n");
        works->category = u"丙类"_s;
        run(u"导入…"_s);
        QCOMPARE(works->previewed.size(), 3);
        QCOMPARE(works->previewed[1].duplicate, true);
        QCOMPARE(works->previewed[2].lines, 2);
        QCOMPARE(page->Show_ComboBox->currentText(), u"丙类"_s);
        QCOMPARE(listed().size(), 2);
        QCOMPARE(status->panelText(1), u"已导入2篇作品到丙类"_s);
        QCOMPARE(fx->value("select 内容 from 作品 where 标题='新二'"), u"又一句\n第二句"_s);
        QCOMPARE(fx->value("select count(*) from 作品 where 标题 like '早%'"), u"1"_s);
        QVERIFY(dialogs->calls.isEmpty());
    }

    void aCancelAddsAndLeavesNothing()
    {
        works->file = writeFile("一\n一句\n\n二\n二句\n\n三\n三句\n");
        works->category = u"丙类"_s;
        works->cancelAfter = 2;
        run(u"导入…"_s);
        QCOMPARE(fx->count(tableWorks), 4);
        QCOMPARE(exportTo(u"导出全部…"_s, ExportFormat::Text), QString());
        QCOMPARE(QDir(fx->dir()).entryList({u"out*"_s}, QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(dialogs->calls.isEmpty());
        works->category.reset(); // the preview cancelled
        works->cancelAfter = -1;
        run(u"导入…"_s);
        QCOMPARE(fx->count(tableWorks), 4);
    }

    // The real preview: duplicates unticked, the category offered first, nothing to import when
    // nothing is ticked.
    void thePreviewLeavesDuplicatesUnticked()
    {
        const QList<ImportItem> items = {{Poem{u"新"_s, u"一\n二"_s}, 2, false},
                                         {Poem{u"旧\n题"_s, u"三"_s}, 1, true}};
        ImportPreviewDialog preview(u"诗.txt"_s, u"GB 18030"_s, items, u"丁类"_s);
        auto *list = preview.findChild<QTreeWidget *>(u"Works_Import_List"_s);
        QCOMPARE(list->topLevelItem(1)->text(0), u"旧 题"_s);
        QCOMPARE(list->topLevelItem(1)->text(2), u"可能重复"_s);
        QCOMPARE(preview.chosen(), QList<int>{0});
        QCOMPARE(preview.category(), u"丁类"_s);
        list->topLevelItem(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(preview.chosen(), (QList<int>{0, 1}));
        QCOMPARE(preview.findChild<QLabel *>(u"Works_Import_Count"_s)->text(), u"将添加 2 首。"_s);
        QAbstractButton *import = nullptr;
        for (QAbstractButton *b : preview.findChild<QDialogButtonBox *>()->buttons())
            if (b->text() == u"导入"_s)
                import = b;
        QVERIFY(import && import->isEnabled());
        for (int i = 0; i < 2; ++i)
            list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        QVERIFY(!import->isEnabled());
    }

    void refusalsSayWhyInOneLine()
    {
        works->file = writeFile("");
        run(u"导入…"_s);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].text, u"无法导入“诗集.txt”：文件是空的。"_s);
        QVERIFY(works->previewed.isEmpty());
        dialogs->clear();

        const QString folder = fx->dir() + u"/只读"_s;
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        works->target = WorksDialogs::SaveTarget{folder + u"/全部.pdf"_s, ExportFormat::PdfVertical};
        {
            const faults::PermissionsObeyed asAUser;
            run(u"导出全部…"_s);
        }
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY2(dialogs->errors()[0].contains(u"只读"_s) && !dialogs->errors()[0].contains(u'\n'),
                 qPrintable(dialogs->errors()[0]));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

SHIHAI_TEST_MAIN(TestWorksTransfer)
#include "test_workstransfer.moc"
