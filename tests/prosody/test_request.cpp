// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody/core/referencefile.h"
#include "prosody/request/parserequest.h"
#include "tests/support/booksfixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace prosody;
using namespace Qt::StringLiterals;

namespace {

// A request in short: "自动", "诗 七言律诗", "词 念奴娇 2", "对联"; the message of a name of no form.
QString describe(const ParsedRequest &parsed)
{
    if (!parsed.request)
        return parsed.error;
    return std::visit(
        [](const auto &form) {
            using T = std::decay_t<decltype(form)>;
            if constexpr (std::is_same_v<T, AutoForm>)
                return u"自动"_s;
            else if constexpr (std::is_same_v<T, FormChoice>)
                return u"诗 "_s + formName(form.form, form.length);
            else if constexpr (std::is_same_v<T, CiFormRef>)
                return u"词 %1 %2"_s.arg(form.tune).arg(form.number);
            else
                return u"对联"_s;
        },
        parsed.request->form);
}

} // namespace

// The one reading of a form's name, for the form selector and shihai-gelv --form alike, on a 词谱 of
// the test's own: 念奴娇 (also 大江东去) of three forms, 单调 of one.
class RequestTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<const RhymeBooks> m_books;

private slots:
    void initTestCase()
    {
        BooksFixture books(m_dir.filePath(u"rhymebooks.db"_s));
        books.add(u"平水韵"_s, u"上平一东"_s, u"平"_s, u"东"_s)
            .add(u"词林正韵"_s, u"第一部"_s, u"平"_s, u"东"_s)
            .tune(u"念奴娇"_s, 60, {u"大江东去"_s})
            .ciForm(u"念奴娇"_s, 1, 30, {u"平平仄仄"_s, u"仄仄平平/1"_s})
            .ciForm(u"念奴娇"_s, 2, 20, {u"平平仄仄"_s, u"平平仄仄平/1"_s})
            .ciForm(u"念奴娇"_s, 3, 10, {u"仄仄平平"_s, u"平平仄仄平/1"_s})
            .tune(u"单调"_s, 5)
            .ciForm(u"单调"_s, 1, 5, {u"平平仄仄"_s, u"仄仄平平/1"_s});
        m_books = loadRhymeBooks(books.path());
    }

    void aFormIsReadFromItsNameOnce_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("asked");
        QTest::newRow("自动") << u"自动"_s << u"自动"_s;
        QTest::newRow("七律") << u"七律"_s << u"诗 七言律诗"_s;
        QTest::newRow("对联") << u"对联"_s << u"对联"_s;
        QTest::newRow("词牌") << u"念奴娇"_s << u"词 念奴娇 0"_s;
        QTest::newRow("alias") << u"大江东去"_s << u"词 念奴娇 0"_s;
        QTest::newRow("title") << u"念奴娇·赤壁怀古"_s << u"词 念奴娇 0"_s;
        QTest::newRow("form 2") << u"念奴娇:2"_s << u"词 念奴娇 2"_s;
        QTest::newRow("full-width colon") << u"念奴娇：2"_s << u"词 念奴娇 2"_s;
        QTest::newRow("alias, form 3") << u"大江东去:3"_s << u"词 念奴娇 3"_s;
        QTest::newRow("form 40")
            << u"念奴娇:40"_s
            << u"没有「念奴娇:40」这一体：念奴娇共 3 体（念奴娇:1 为正体，念奴娇:2 至 念奴娇:3 为又一体）"_s;
        QTest::newRow("form 0") << u"大江东去:0"_s
                                << u"没有「大江东去:0」这一体：念奴娇共 3 体（念奴娇:1 为正体，念奴娇:2 至 "
                                   u"念奴娇:3 为又一体）"_s;
        QTest::newRow("one form") << u"单调:2"_s << u"没有「单调:2」这一体：单调共 1 体（单调:1 为正体）"_s;
        QTest::newRow("unknown, near")
            << u"念奴"_s
            << u"不认识的体裁或词牌「念奴」，可选：自动、五绝、七绝、五律、七律、排律或词牌名（相近的词牌：念奴娇）"_s;
        QTest::newRow("a form of regulated verse has no forms")
            << u"七律:2"_s
            << u"不认识的体裁或词牌「七律:2」，可选：自动、五绝、七绝、五律、七律、排律或词牌名"_s;
    }

    void aFormIsReadFromItsNameOnce()
    {
        QFETCH(QString, typed);
        QFETCH(QString, asked);
        const ParsedRequest parsed = parseRequest(m_books->cipu(), typed);
        QCOMPARE(describe(parsed), asked);
        QVERIFY(!parsed.request || parsed.error.isEmpty());
        QVERIFY(!parsed.request || !parsed.request->book); // the caller adds the book chosen
    }
};

QTEST_GUILESS_MAIN(RequestTest)
#include "test_request.moc"
