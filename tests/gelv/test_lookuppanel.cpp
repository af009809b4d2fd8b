// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/gelv/lookuppanel.h"
#include "presentation/gelv/lookupsource.h"
#include "tests/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// A lookup that shows what the test sets and keeps what the panel asks of it.
class StubLookup : public LookupSource {
public:
    QString hanzi;
    QStringList readingsList, books, groups;
    int group = 0;
    QList<Member> common, other;
    QStringList typed;
    QStringList candidates;
    QString note;

    QString character() const override { return hanzi; }
    QStringList readings() const override { return readingsList; }
    QStringList lookupBooks() const override { return books; }
    QStringList lookupGroups() const override { return groups; }
    int lookupGroup() const override { return group; }
    QList<Member> commonMembers() const override { return common; }
    QList<Member> otherMembers() const override { return other; }
    void lookUpTyped(const QString &text) override { typed << text; }
    QStringList typedCandidates() const override { return candidates; }
    QString typedNote() const override { return note; }
    void setLookupGroup(int index) override { group = index; }
};

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

// The 查韵 tab over a stub lookup: what a user sees of a character, and what typing, choosing a group
// and double-clicking a character do.
class TestLookupPanel : public QObject {
    Q_OBJECT

    StubLookup m_source;
    std::unique_ptr<LookupPanel> m_panel;

    template <class T> T *child(const QString &name) { return m_panel->findChild<T *>(name); }

private slots:
    void init()
    {
        m_source.hanzi = u"看"_s;
        m_source.readingsList = {u"kàn"_s, u"kān"_s};
        m_source.books = {u"平水韵：上平十四寒（平）、去声十五翰（去）　中"_s, u"中华通韵：无此字　？"_s};
        m_source.groups = {u"上平十四寒"_s, u"去声十五翰"_s};
        m_source.group = 1;
        m_source.common = {{u"看"_s, 12}, {u"汉"_s, -1}};
        m_source.other = {{u"瀚"_s, 0}};
        m_source.typed.clear();
        m_source.candidates.clear();
        m_source.note.clear();
        m_panel = std::make_unique<LookupPanel>(&m_source, nullptr);
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }
    void cleanup() { m_panel.reset(); }

    void theCharacterItsBooksAndItsGroupAreShown()
    {
        QCOMPARE(child<QLineEdit>(u"Gelv_Char_Edit"_s)->text(), u"看"_s);
        QCOMPARE(child<QLabel>(u"Gelv_Readings"_s)->text(), u"kàn · kān"_s);
        QCOMPARE(child<QLabel>(u"Gelv_Books"_s)->text(), m_source.books.join(u'\n'));
        auto *groups = child<QComboBox>(u"Gelv_Group_ComboBox"_s);
        QCOMPARE(groups->count(), 2);
        QCOMPARE(groups->currentText(), u"去声十五翰"_s);
        auto *common = child<QListWidget>(u"Gelv_Common_List"_s);
        QCOMPARE(texts(common), (QStringList{u"看"_s, u"汉"_s}));
        QCOMPARE(common->item(0)->toolTip(), u"全唐诗、宋词的近体诗押此字 12 次"_s);
        QCOMPARE(common->item(1)->toolTip(), QString());
        QCOMPARE(texts(child<QListWidget>(u"Gelv_Other_List"_s)), QStringList{u"瀚"_s});

        // Another lookup replaces all of it.
        m_source.hanzi = u"东"_s;
        m_source.groups = {u"上平一东"_s};
        m_source.group = 0;
        m_source.common = {{u"东"_s, -1}};
        m_source.other.clear();
        emit m_source.lookupChanged();
        QCOMPARE(child<QLineEdit>(u"Gelv_Char_Edit"_s)->text(), u"东"_s);
        QCOMPARE(child<QComboBox>(u"Gelv_Group_ComboBox"_s)->currentText(), u"上平一东"_s);
        QCOMPARE(texts(common), QStringList{u"东"_s});
        QCOMPARE(child<QListWidget>(u"Gelv_Other_List"_s)->count(), 0);

        // A character of many readings and groups wraps rather than widening the 格律 window past the screen.
        m_source.hanzi = u"长"_s;
        m_source.readingsList = {u"cháng"_s, u"zhǎng"_s, u"zhàng"_s};
        m_source.books = {u"平水韵：下平七阳（平）、上声二十二养（上）、去声二十三漾（去）　中"_s,
                          u"词林正韵：第二部（平）、第二部（上）、第二部（去）　中"_s};
        emit m_source.lookupChanged();
        auto *books = child<QLabel>(u"Gelv_Books"_s);
        QVERIFY(m_panel->minimumSizeHint().width() <
                books->fontMetrics().horizontalAdvance(m_source.books.first()));
    }

    void typingAndChoosingAGroupAskTheSource()
    {
        auto *edit = child<QLineEdit>(u"Gelv_Char_Edit"_s);
        edit->setFocus();
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, u"红"_s, Qt::NoModifier);
        QCOMPARE(m_source.typed, QStringList{u"看红"_s});
        // What is typed stays while it ends in the character the source looks up.
        m_source.hanzi = u"红"_s;
        emit m_source.lookupChanged();
        QCOMPARE(edit->text(), u"看红"_s);

        auto *groups = child<QComboBox>(u"Gelv_Group_ComboBox"_s);
        m_source.group = 1;
        groups->setCurrentIndex(0);
        emit groups->activated(0);
        QCOMPARE(m_source.group, 0);
    }

    // Pinyin typed: the characters of the reading to pick from with a click, or why there are none.
    void theCharactersOfATypedReadingArePickedFrom()
    {
        auto *note = child<QLabel>(u"Gelv_Typed_Note"_s);
        auto *candidates = child<QListWidget>(u"Gelv_Candidates_List"_s);
        QVERIFY(!note->isVisible());
        QVERIFY(!candidates->isVisible());
        m_source.hanzi.clear();
        m_source.note = u"读 shuang 的字（点一个即查）"_s;
        m_source.candidates = {u"双"_s, u"霜"_s};
        emit m_source.lookupChanged();
        QCOMPARE(note->text(), m_source.note);
        QVERIFY(note->isVisible());
        QCOMPARE(texts(candidates), m_source.candidates);
        QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {},
                          candidates->visualItemRect(candidates->item(1)).center());
        QCOMPARE(m_source.typed, QStringList{u"霜"_s});

        m_source.note = u"「xq」不是汉字，也没有这样读的字"_s;
        m_source.candidates.clear();
        emit m_source.lookupChanged();
        QVERIFY(note->isVisible());
        QVERIFY(!candidates->isVisible());
    }

    void aDoubleClickedCharacterIsChosen()
    {
        QSignalSpy chosen(m_panel.get(), &LookupPanel::characterChosen);
        auto *common = child<QListWidget>(u"Gelv_Common_List"_s);
        const QPoint at = common->visualItemRect(common->item(1)).center();
        QTest::mouseClick(common->viewport(), Qt::LeftButton, {}, at); // a double-click begins with a click
        QTest::mouseDClick(common->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), u"汉"_s);
    }
};

SHIHAI_TEST_MAIN(TestLookupPanel)
#include "test_lookuppanel.moc"
