// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/ci/ciformref.h"

#include <QPointer>
#include <QTextEdit>
#include <QWidget>

class CipuBrowser;
class CoupletPanel;
class TianziPanel;
class EditorFollower;
class ExamplesPanel;
class GelvWindowModel;
class JijuPanel;
class LookupPanel;
class MarkedPoemView;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QTabWidget;
class QToolButton;

// The 格律 window beside the main window: the check of the draft as it is written, its findings,
// and the lookup of the character under the caret. It follows the draft editor it is given, or
// another editor added to its editors() when the user works there (a work of 经典案例), says which
// in its title, and writes into it only as typing would, by inserting a chosen character at the
// caret.
class GelvWindow : public QWidget {
    Q_OBJECT
public:
    GelvWindow(QTextEdit *draft, const QString &booksPath, const QString &classicsPath, QWidget *mainWindow);

    // Shows the window beside the main window (or raises it), reading the books the first time.
    void open();
    // Opens on one character.
    void lookUp(const QString &hanzi);
    // Opens on the 例句 of a word.
    void showExamples(const QString &word);
    // Opens on the 对仗 of a word.
    void showCouplets(const QString &word);
    // Opens the 词谱 to read, on the 词牌 chosen as the form if there is one.
    void openCipu();
    // Starts the draft in a form of a 词牌: its name as the title of an empty draft (or of a new one,
    // when the poet agrees to replace what is there), the form chosen for the check.
    void writeInForm(const prosody::CiFormRef &form);

    GelvWindowModel *model() const { return m_model; }
    EditorFollower *editors() const { return m_editors; }

    QComboBox *Gelv_Book_ComboBox;
    QComboBox *Gelv_Form_ComboBox;
    QLabel *Gelv_Message;
    MarkedPoemView *Gelv_View;
    QListWidget *Gelv_Findings;
    QTabWidget *Gelv_Tabs;
    LookupPanel *Gelv_Lookup;
    ExamplesPanel *Gelv_Examples;
    CoupletPanel *Gelv_Couplets;
    TianziPanel *Gelv_Tianzi = nullptr;
    JijuPanel *Gelv_Jiju = nullptr;
    QToolButton *Gelv_Cipu_Button;
    CipuBrowser *Gelv_Cipu = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectModels();
    void placeBesideMainWindow();
    void followDraft();
    void followCaret();
    void showFormNames();
    void showFindings();
    void selectInDraft(QListWidgetItem *item);
    void insertIntoDraft(const QString &hanzi);

    EditorFollower *m_editors;
    QPointer<QTextEdit> m_draft;
    QWidget *m_mainWindow;
    GelvWindowModel *m_model;
    QSplitter *m_splitter;
    bool m_placed = false;
    bool m_splitSet = false;
};
