#pragma once

#include <QMainWindow>

#include <memory>

class AboutPage;
class AssociationPage;
class CreationPage;
class Database;
class GelvWindow;
class QMenuBar;
class QTabWidget;
class RecoveryKeeper;
class RhymesPage;
class StatusBar;
class WorksPage;

// The main window: owns the connection, the eight queries, the five pages and the status bar.
// Its handlers are named after the control and the event and call into the page objects.
class TW : public QMainWindow {
    Q_OBJECT
public:
    // Opens date/W.mdb under the current directory; throws DbError (a std::runtime_error) with the
    // engine's message when the file or any query cannot be opened.
    explicit TW(QWidget *parent = nullptr);
    ~TW() override;

    // Application name, style and fonts, shared by the program and its tests.
    static void setUpApplication();

    Database &database() const { return *m_db; }
    StatusBar *statusPanels() const { return W_StatusBar; }

    RecoveryKeeper *recoveryKeeper() const { return m_keeper; }

    void FormShow();
    // Writes the draft and the current work, then every other row with unwritten changes.
    // Returns false, after showing why, when a write was refused: the window then stays open.
    bool FormClose();
    // What closing writes, without a question or a message, for an end the user cannot be asked
    // about (a termination signal, the desktop session ending). What is refused stays in the
    // recovery file. False when a write was refused.
    bool writeForExit();
    // A termination signal: everything is written as by closing, then the program ends with status 0.
    void endBySignal();
    // Asked once after the window opens when the last run left unwritten texts in the recovery file.
    void offerRecovery();

    static const QString recoveryQuestion;

    // 开始创作
    void EditShow();
    void ComboBox1Change();
    void ComboBox3Change();
    void Edit_ok_SpeedButtonClick();
    void Edit_save_SpeedButtonClick();
    // The 格律 window: opened or raised by its button, F9 and the draft's context menu.
    void Edit_gelv_SpeedButtonClick();
    void gelvLookUp(const QString &hanzi);
    void gelvExamples(const QString &word);
    // 编辑整理
    void ViewShow();
    void ComboBox4Change();
    void ComboBox6Change();
    void SpeedButton2Click();
    // 词语联想
    void ThinkShow();
    void Think_SpeedButtonClick();
    void Think_ComboBoxChange();
    void Think_EditClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    GelvWindow *gelvWindow();
    void pageShown(int index);
    void wireCreationPage();
    void wireRhymesPage();
    void wireAssociationPage();
    void keepTyping();
    // Tries every write even after one is refused; the messages of the refused ones.
    QStringList writeUnwritten();

    std::unique_ptr<Database> m_db;
    StatusBar *W_StatusBar;
    QTabWidget *W_PageControl;
    QMenuBar *W_MainMenu;
    CreationPage *m_edit;
    RhymesPage *m_view;
    AssociationPage *m_think;
    WorksPage *m_show;
    AboutPage *m_about;
    GelvWindow *m_gelv = nullptr; // made when first opened
    RecoveryKeeper *m_keeper;
    bool m_shown = false;
    bool m_ending = false; // a termination signal is being handled
};
