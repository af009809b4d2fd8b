// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/W_Unit.h"
#include "db/schema.h"
#include "db/sqlite.h"
#include "pages/shared/boundcontrols.h"
#include "pages/shared/dbgrid.h"
#include "pages/shared/look.h"
#include "tests/support/windowfixture.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRawFont>
#include <QToolButton>

#include <map>
#include <memory>

using namespace schema;

namespace {

// Code points that need a glyph: not blanks, controls, format characters or combining marks
// (those are drawn with the character before them).
bool needsGlyph(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return true;
    }
}

} // namespace

// Every character of the dictionary shows with a font the program can use, and characters beyond the
// Basic Multilingual Plane are handled whole in the grids, the searches, the status texts and the file.
class TestCharacters : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TW::setUpApplication(); }

    void everyCharacterOfTheDatabaseHasAFont()
    {
        const QString path = qEnvironmentVariable("SHIHAI_SOURCE_DIR") + QStringLiteral("/date/W.mdb");
        if (!QFile::exists(path))
            QSKIP("the dictionary database has not been built");

        // The program's two font names, each with the installed fonts it is mapped to.
        QList<QRawFont> fonts;
        QStringList families;
        for (const QFont &base : {look::songFont(), look::sansSerifFont()})
            for (const QString &family : QStringList{base.family()} + QFont::substitutes(base.family()))
                if (QFontDatabase::hasFamily(family) && !families.contains(family)) {
                    families << family;
                    QFont font(family);
                    font.setPixelSize(12);
                    fonts << QRawFont::fromFont(font);
                }
        QVERIFY2(!fonts.isEmpty(), "no font of the program is installed");

        const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
        std::map<char32_t, QString> seenIn; // code point -> first table holding it
        for (const QString &table : {tablePsy, tableJsy, tableWords, tableIdioms, tableWorks}) {
            Statement st(file, QStringLiteral("SELECT * FROM %1").arg(table).toUtf8());
            st.forEachRow([&](const Statement &row) {
                for (int c = 0; c < row.columnCount(); ++c)
                    for (const char32_t cp : row.text(c).toUcs4())
                        seenIn.try_emplace(cp, table);
            });
        }
        QVERIFY(seenIn.size() > 8000);

        QStringList missing;
        int beyondBmp = 0;
        for (const auto &[cp, table] : seenIn) {
            if (!needsGlyph(cp))
                continue;
            beyondBmp += cp > 0xffff;
            const bool covered = std::any_of(fonts.begin(), fonts.end(), [cp = cp](const QRawFont &f) {
                return f.supportsCharacter(uint(cp));
            });
            if (!covered)
                missing << QStringLiteral("%1 U+%2 (%3)")
                               .arg(QString::fromUcs4(&cp, 1))
                               .arg(uint(cp), 4, 16, QChar(u'0'))
                               .arg(table);
        }
        qInfo("%d characters, %d beyond the BMP, fonts: %s", int(seenIn.size()), beyondBmp,
              qPrintable(families.join(QStringLiteral(", "))));
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no font shows %1 characters: %2")
                                                   .arg(missing.size())
                                                   .arg(missing.mid(0, 40).join(QStringLiteral(", ")))));
    }

    void charactersBeyondTheBmpAreWholeEverywhere()
    {
        WindowFixture fx;
        for (const char *word : {"𫄨绤", "细𫄨", "𬘩纱", "春风"})
            fx.insert(tableWords, {colWord, colMeaning}, {QString::fromUtf8(word), QStringLiteral("义")});
        fx.insert(tableJsy, {colFinal, colSyllable, colTone, colCommon, colRare},
                  {QStringLiteral("i"), QStringLiteral("chi"), QStringLiteral("阴平"), QStringLiteral("吃"),
                   QStringLiteral("嗤𫄨")});
        TW &w = *fx.open();

        // The search edit takes the character from an input method, as a poet types it.
        fx.showPage(2);
        auto *mode = fx.child<QComboBox>(QStringLiteral("Think_ComboBox"));
        auto *edit = fx.child<QLineEdit>(QStringLiteral("Think_Edit"));
        auto *words = fx.child<DbGrid>(QStringLiteral("cizu_DBGrid"));
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("𫄨"));
        QApplication::sendEvent(edit, &typed);
        QCOMPARE(edit->text(), QStringLiteral("𫄨"));
        const struct {
            const char *mode;
            QStringList found;
        } cases[] = {{"字首", {QStringLiteral("𫄨绤")}},
                     {"字尾", {QStringLiteral("细𫄨")}},
                     {"包含", {QStringLiteral("𫄨绤"), QStringLiteral("细𫄨")}}};
        for (const auto &c : cases) {
            mode->setEditText(QString::fromUtf8(c.mode));
            fx.child<QToolButton>(QStringLiteral("Think_SpeedButton"))->click();
            QStringList found;
            for (int r = 0; r < words->model()->rowCount(); ++r)
                found << words->model()->index(r, 0).data().toString();
            QCOMPARE(found, c.found);
            QCOMPARE(fx.panel(0), QStringLiteral("查询条件：%1=𫄨").arg(QString::fromUtf8(c.mode)));
        }

        // A grid cell holding such characters is shown whole and written back exactly.
        fx.showPage(1);
        auto *jsy = fx.child<DbGrid>(QStringLiteral("View_jsy_DBGrid"));
        const QModelIndex rare = jsy->model()->index(0, 4);
        QCOMPARE(rare.data().toString(), QStringLiteral("嗤𫄨"));
        QVERIFY(jsy->model()->setData(rare, QStringLiteral("嗤𫄨𬘩"), Qt::EditRole));
        QVERIFY(w.close());
        QCOMPARE(fx.value(QStringLiteral("select 繁杂 from 卷舌音")), QStringLiteral("嗤𫄨𬘩"));
        QVERIFY(fx.dialogs->errors().isEmpty());
    }
};

SHIHAI_TEST_MAIN(TestCharacters)
#include "test_characters.moc"
