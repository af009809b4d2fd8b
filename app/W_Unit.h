// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <memory>

class CreationPage;
class Database;
class GelvDesk;
class QTabWidget;
class RecoveryKeeper;
class StatusBar;
class WorksPage;

// The main window: owns the connection and its queries, builds each page's model over them and hands
// it to the page, and holds the five pages, the status bar and the hidden menu; each page connects
// its own controls. The 格律 window is made when first opened.
class TW : public QMainWindow {
    Q_OBJECT
public:
    // Opens date/W.mdb under the current directory; throws DbError (a std::runtime_error) with the
    // engine's message when the file or any query cannot be opened.
    explicit TW(QWidget *parent = nullptr);
    ~TW() override;

    // Application name, Chinese for Qt's own texts and dates, style and fonts, shared by the program
    // and its tests.
    static void setUpApplication();

    Database &database() const { return *m_db; }
    StatusBar *statusPanels() const { return W_StatusBar; }

    void FormShow();
    // Writes back the draft and the current work (and every other changed row). A refused write is
    // shown, and the window stays open: false.
    bool FormClose();
    // The same writes without a question or a message, for an end the user cannot be asked about (a
    // termination signal, the desktop session ending). What is refused stays in the recovery file.
    bool writeForExit();
    // A termination signal: everything is written as by closing, then the program ends with status 0.
    void endBySignal();

    // The 格律 window: opened or raised by its button, F9 and the draft's context menu.
    void Edit_gelv_SpeedButtonClick();

signals:
    // The work queued as the window first shows (the recovery question, the 格律 window reopened)
    // is done.
    void started();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void pageShown(int index);

    std::unique_ptr<Database> m_db;
    StatusBar *W_StatusBar;
    QTabWidget *W_PageControl;
    CreationPage *m_edit;
    WorksPage *m_show;
    GelvDesk *m_gelv;
    RecoveryKeeper *m_keeper;
    bool m_shown = false;
    bool m_ending = false; // a termination signal is being handled
};
