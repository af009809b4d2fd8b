// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/boundcontrols.h"

#include "db/datasource.h"
#include "db/query.h"
#include "db/rtf.h"
#include "pages/shared/errorguard.h"

#include <limits>

void takeAnyLength(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
}

FieldLink::FieldLink(DataSource *source, const QString &field, QWidget *control,
                     std::function<QString()> read, std::function<void(const QString &)> show)
    : QObject(control)
    , m_source(source)
    , m_field(field)
    , m_control(control)
    , m_read(std::move(read))
    , m_show(std::move(show))
{
    // Opening and closing announce the current row too; that one reload covers them.
    connect(source, &DataSource::currentChanged, this, &FieldLink::load);
    connect(source, &DataSource::stateChanged, this, &FieldLink::load);
    connect(source, &DataSource::rowChanged, this, [this](int row) {
        if (row == query()->currentRow())
            load();
    });
}

Query *FieldLink::query() const
{
    return m_source->query();
}

bool FieldLink::isWritable() const
{
    return query()->isOpen() && query()->fieldIndex(m_field) >= 0;
}

void FieldLink::load()
{
    if (m_writing)
        return;
    Query *q = query();
    const bool writable = isWritable();
    m_show(writable && q->currentRow() >= 0 ? q->text(m_field) : QString());
    if (writable != m_writable) {
        m_writable = writable;
        emit writableChanged(writable);
    }
}

bool FieldLink::userChanged()
{
    if (m_writing || !isWritable())
        return false;
    const QString text = m_read();
    m_writing = true;
    const bool ok = guarded(m_control, [&] {
        Query *q = query();
        q->edit();
        q->setText(m_field, text);
    });
    m_writing = false;
    if (!ok)
        load();
    return ok;
}

DbEdit::DbEdit(DataSource *source, const QString &field, QWidget *parent)
    : QLineEdit(parent)
{
    takeAnyLength(this);
    m_link = new FieldLink(
        source, field, this, [this] { return text(); },
        [this](const QString &value) {
            if (value != text())
                setText(value);
        });
    connect(m_link, &FieldLink::writableChanged, this, [this](bool writable) { setReadOnly(!writable); });
    connect(this, &QLineEdit::textEdited, m_link, &FieldLink::userChanged);
    m_link->load();
}

DbComboBox::DbComboBox(DataSource *source, const QString &field, QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    takeAnyLength(lineEdit());
    m_link = new FieldLink(
        source, field, this, [this] { return currentText(); },
        [this](const QString &value) {
            if (value != currentText())
                setEditText(value);
        });
    connect(m_link, &FieldLink::writableChanged, this,
            [this](bool writable) { lineEdit()->setReadOnly(!writable); });
    auto changed = [this] {
        if (m_link->userChanged())
            emit userChanged();
    };
    connect(lineEdit(), &QLineEdit::textEdited, this, changed);
    connect(this, &QComboBox::textActivated, this, changed);
    m_link->load();
}

DbRichEdit::DbRichEdit(DataSource *source, const QString &field, QWidget *parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(false);
    m_link = new FieldLink(
        source, field, this, [this] { return rtf::fromPlainText(typedText()); },
        [this](const QString &value) {
            const QString shown = rtf::displayText(value);
            if (shown == typedText())
                return;
            m_loading = true;
            setPlainText(shown);
            m_loading = false;
        });
    connect(m_link, &FieldLink::writableChanged, this, [this](bool writable) { setReadOnly(!writable); });
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_link->userChanged();
    });
    m_link->load();
}

QString DbRichEdit::typedText() const
{
    QString text = document()->toRawText();
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return text;
}
