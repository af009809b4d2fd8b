#pragma once

#include <QPointer>
#include <QTextEdit>
#include <QWidget>

class ExamplesModel;
class GelvModel;
class MarkedPoemView;
class QDialog;
class QTabWidget;
class QTextBrowser;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// The 格律 window beside the main window: the check of the draft as it is written, its findings,
// and the lookup of the character under the caret. It follows the draft editor it is given and
// writes into it only as typing would, by inserting a chosen character at the caret.
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

    GelvModel *model() const { return m_model; }

    QComboBox *Gelv_Book_ComboBox;
    QComboBox *Gelv_Form_ComboBox;
    QLabel *Gelv_Message;
    MarkedPoemView *Gelv_View;
    QListWidget *Gelv_Findings;
    QWidget *Gelv_Lookup;
    QLineEdit *Gelv_Char_Edit;
    QLabel *Gelv_Readings;
    QLabel *Gelv_Books;
    QComboBox *Gelv_Group_ComboBox;
    QListWidget *Gelv_Common_List;
    QListWidget *Gelv_Other_List;
    QTabWidget *Gelv_Tabs;
    QWidget *Gelv_Examples;
    QLabel *Gelv_Examples_Summary;
    QListWidget *Gelv_Examples_List;
    QDialog *Gelv_Poem = nullptr; // made when a line is first opened

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLookup();
    void buildExamples();
    void openClassics();
    void showExampleRows(int from);
    void showPoem(QListWidgetItem *item);
    void placeBesideMainWindow();
    void followDraft();
    void followCaret();
    void showChecks();
    void showLookup();
    void selectInDraft(QListWidgetItem *item);
    void insertIntoDraft(QListWidgetItem *item);

    QPointer<QTextEdit> m_draft; // may go first when the main window is taken apart
    QWidget *m_mainWindow;
    GelvModel *m_model;
    QString m_classicsPath;
    ExamplesModel *m_examples = nullptr; // made when the classics are first opened
    class QSplitter *m_splitter;
    bool m_placed = false;
    bool m_splitSet = false;
};
