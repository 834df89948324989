#pragma once

#include "foundation/CrsrMgt.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QProgressBar;
class TCorvaleApp;
class TfrmDbSelect;
class TfrmSplash;
class TSubjectObserver;
struct TObservation;

// The posted message that opens the user's diary once the window is up.
inline constexpr int WM_OPENDATABASE = 1578;

// The main window of the diary. Creating it checks the database engine,
// shows the splash and posts the message that opens the user's diary;
// closing it asks first and saves its place.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // True once the program was asked to end (after a start-up failure); the
    // window then closes without asking.
    bool TerminationRequested() const { return m_terminating; }
    // Opens the current user's diary (also after a change of user). Every
    // failure is told to the user and ends the program.
    void OpenUserDatabase();
    // The status bar's first panel.
    QString StatusText() const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void BuildMenus();
    void RequestTermination();
    void SetStatus(const QString &text);
    void ShowError(const QString &text);
    bool BrowseForDatabase();
    void mnuiDbClick();
    void ObserverChange(const TObservation &observation);

    TCorvaleApp &m_app;
    TCursorManagement m_cursor;
    QPointer<TfrmSplash> m_splash;
    TfrmDbSelect *m_dbSelect = nullptr;
    TSubjectObserver *m_observer = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_pgsbrMain = nullptr;
    QAction *m_mnuiDb = nullptr;
    QAction *m_mnuiClose = nullptr;
    bool m_shell = false;
    bool m_terminating = false;
    bool m_windowStateRead = false;
};
