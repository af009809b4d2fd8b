// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>

#include <functional>
#include <optional>

class DataSource;
class Query;

// A line edit takes no more than 32767 characters unless told otherwise, and would cut a longer
// stored value as soon as the user edits it; every field of the program takes texts of any length.
void takeAnyLength(QLineEdit *edit);

// Ties one control to one field of a query's current row: the control shows the field whenever the
// row changes; the user's first change puts the row into edit state (or begins a row in an empty
// result) and every change is written into the field at once, so a post always finds it there.
class FieldLink : public QObject {
    Q_OBJECT
public:
    FieldLink(DataSource *source, const QString &field, QWidget *control, std::function<QString()> read,
              std::function<void(const QString &)> show);

    Query *query() const;
    const QString &field() const { return m_field; }
    // Whether the control may be typed into: the query is open and has the field.
    bool isWritable() const;
    // The user changed the control's text. Returns false when the change could not be taken.
    bool userChanged();
    void load();

signals:
    void writableChanged(bool writable);

private:
    DataSource *m_source;
    QString m_field;
    QWidget *m_control;
    std::function<QString()> m_read;
    std::function<void(const QString &)> m_show;
    bool m_writing = false;         // the row announces the change being written: the control keeps its text
    std::optional<bool> m_writable; // as last announced
};

// One-line edit bound to a field.
class DbEdit : public QLineEdit {
    Q_OBJECT
public:
    DbEdit(DataSource *source, const QString &field, QWidget *parent = nullptr);
    FieldLink *link() const { return m_link; }

private:
    FieldLink *m_link;
};

// Editable drop-down box bound to a field; userChanged follows every pick and keystroke of the user.
class DbComboBox : public QComboBox {
    Q_OBJECT
public:
    DbComboBox(DataSource *source, const QString &field, QWidget *parent = nullptr);
    FieldLink *link() const { return m_link; }

signals:
    void userChanged();

private:
    FieldLink *m_link;
};

// Multi-line text box bound to a field. A stored value in Rich Text Format is shown as its text;
// the box writes plain text, or an RTF document when the typed text itself begins like one, so that
// what the user typed always reads back unchanged. Tab types a tab.
class DbRichEdit : public QTextEdit {
    Q_OBJECT
public:
    DbRichEdit(DataSource *source, const QString &field, QWidget *parent = nullptr);
    FieldLink *link() const { return m_link; }
    // The text as typed; unlike toPlainText() it keeps no-break spaces.
    QString typedText() const;

private:
    FieldLink *m_link;
    bool m_loading = false; // a stored value being shown is not the user's change
};
