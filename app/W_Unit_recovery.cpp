#include "app/W_Unit.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/recoveryfile.h"
#include "pages/shared/guard.h"
#include "pages/works/workspage.h"
#include "presentation/restore.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>

const QString TW::recoveryQuestion = QStringLiteral("上次未正常退出，有尚未保存的内容。是否恢复？");

namespace {

// The one-line message for a file that cannot be offered, naming where it was put.
QString setAsideMessage(recovery::Problem problem, const QString &file, const QString &aside)
{
    const QString what = problem == recovery::Problem::Damaged ? QStringLiteral("恢复文件已损坏")
                                                               : QStringLiteral("恢复文件不属于这个数据库");
    if (aside.isEmpty())
        return QStringLiteral("%1，未能改名，仍留在 %2。").arg(what, QFileInfo(file).fileName());
    return QStringLiteral("%1，已另存为 %2。").arg(what, QFileInfo(aside).fileName());
}

} // namespace

// 是 puts the texts back as if just typed; 否 keeps the file aside under a dated name. A file that
// cannot be offered is set aside too, with a message. Until then the file stays as it was found.
void TW::offerRecovery()
{
    const QString file = m_keeper->leftFile();
    if (m_ending || file.isEmpty())
        return;
    const std::optional<recovery::Contents> found = recovery::read(file, m_keeper->fingerprint());
    if (!found) {
        m_keeper->hold(false);
        return;
    }
    if (found->problem != recovery::Problem::None) {
        const QString aside = recovery::setAside(file);
        Dialogs::current().message(this, setAsideMessage(found->problem, file, aside));
        m_keeper->hold(aside.isEmpty());
        return;
    }
    QList<recovery::Row> rows = found->rows;
    try {
        rows = restore::differing(*m_db, rows);
    } catch (const DbError &) {
        // not comparable with the file: offered whole
    }
    if (rows.isEmpty()) {
        QFile::remove(file); // everything in it reached the database before the program ended
        m_keeper->hold(false);
        return;
    }
    const Dialogs::Answer answer = Dialogs::current().ask(this, windowTitle(), recoveryQuestion);
    if (answer == Dialogs::Answer::None)
        return; // ended while asking: the file stays for the next start
    if (answer == Dialogs::Answer::No) {
        m_keeper->hold(recovery::setAside(file).isEmpty());
        return;
    }
    m_keeper->hold(false);
    const auto listCategory = [this](const QString &category) {
        m_show->Show_ComboBox->setEditText(category);
    };
    if (!guarded(this, [&] { restore::putBack(*m_db, listCategory, rows); }))
        recovery::setAside(file); // kept whole; what was put back is kept anew
    if (m_ending)
        writeForExit(); // answered as a termination signal came: written as the end would have
    else
        m_keeper->changed();
}
