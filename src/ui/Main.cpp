#include "ui/Main.h"

#include "app/CorvaleApp.h"
#include "app/DbSelect.h"
#include "app/Splash.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGUtils.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>

namespace
{
const QString mainWindowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\MainWindow");
const QString busyId = QStringLiteral("Corvale");

// The file's owner may not write it (for root, who may write anyway, the
// mode bits decide), or this user may not.
bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return !info.permission(QFile::WriteOwner) || !info.isWritable();
}
}

TfrmMain::TfrmMain(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ternvall"));
    resize(900, 600);
    Guard([this] { FormCreate(); });
}

TfrmMain::~TfrmMain()
{
    Guard([this] { FormDestroy(); });
}

void TfrmMain::FormCreate()
{
    BuildMenus();
    try {
        m_app.CheckInterbase();
    } catch (const ECorvaleError &) {
        m_shell = true;
        ShowError(QStringLiteral("Interbase databas version 6 är inte installerad. Applikationen kommer nu att avslutas."));
        RequestTermination();
        return;
    }

    m_splash = new TfrmSplash(this);
    m_splash->show();

    TBusyPeriod busy(m_cursor, busyId);
    // Value texts use their own fixed formats ("." decimals, yyyy-MM-dd);
    // the widgets speak Swedish whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));

    LoadWindowState(mainWindowKey, this);
    m_windowStateRead = true;

    m_observer = new TSubjectObserver(this);
    m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
    m_app.Attach(m_observer);

    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(WM_OPENDATABASE)));
}

void TfrmMain::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuMain"));
    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    m_mnuiDb = archive->addAction(QStringLiteral("&Byt användare..."));
    m_mnuiDb->setObjectName(QStringLiteral("mnuiDb"));
    connect(m_mnuiDb, &QAction::triggered, this, [this] { Guard([this] { mnuiDbClick(); }); });
    archive->addSeparator();
    m_mnuiClose = archive->addAction(QStringLiteral("&Avsluta"));
    m_mnuiClose->setObjectName(QStringLiteral("mnuiClose"));
    m_mnuiClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(m_mnuiClose, &QAction::triggered, this, [this] { close(); });

    statusBar()->setObjectName(QStringLiteral("sbrMain"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("sbrMainPanel0"));
    statusBar()->addWidget(m_status, 1);
    m_pgsbrMain = new QProgressBar(this);
    m_pgsbrMain->setObjectName(QStringLiteral("pgsbrMain"));
    m_pgsbrMain->setMaximumWidth(200);
    m_pgsbrMain->setVisible(false);
    statusBar()->addPermanentWidget(m_pgsbrMain);
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::Type(WM_OPENDATABASE)) {
        Guard([this] { OpenUserDatabase(); });
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

QString TfrmMain::StatusText() const
{
    return m_status->text();
}

void TfrmMain::ShowError(const QString &text)
{
    ShowMessageBox(text, TMessageKind::Error, TMessageButton::OK);
}

void TfrmMain::RequestTermination()
{
    m_terminating = true;
    // Queued, so that it also ends a loop that has not started yet; exit
    // rather than quit, so that the windows are not asked to close.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TfrmMain::BrowseForDatabase()
{
    const QString fileName = m_app.GetDbFileName();
    for (;;) {
        QFileDialog shbrDatabase(this, QStringLiteral("Leta efter ") + fileName);
        shbrDatabase.setObjectName(QStringLiteral("shbrDatabase"));
        shbrDatabase.setFileMode(QFileDialog::Directory);
        shbrDatabase.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (shbrDatabase.exec() != QDialog::Accepted || shbrDatabase.selectedFiles().isEmpty())
            return false;
        const QString folder = TUsers::WithSeparator(shbrDatabase.selectedFiles().constFirst());
        if (QFileInfo(folder + fileName).isFile()) {
            m_app.SetLocation(folder);
            return true;
        }
        ShowError(QStringLiteral("Mappen %1 innehåller inte %2. Välj mappen där %2 finns.").arg(folder, fileName));
    }
}

void TfrmMain::OpenUserDatabase()
{
    try {
        m_app.CheckInterbase();
    } catch (const ECorvaleError &) {
        RequestTermination();
        return;
    }
    if (m_terminating)
        return;

    TBusyPeriod busy(m_cursor, busyId);
    try {
        const bool remote = TUsers::IsRemote(m_app.GetLocation());
        if (!remote && !QFileInfo(m_app.GetDbPath()).isFile()) {
            if (!BrowseForDatabase()) {
                ShowError(QStringLiteral("Databasen ") + m_app.GetDbPath()
                          + QStringLiteral(" finns inte. Den måste finnas för att applikationen skall kunna användas."));
                RequestTermination();
                return;
            }
        }
        if (!remote && isReadOnly(m_app.GetDbPath())) {
            ShowError(QStringLiteral("Databasfilen ") + m_app.GetDbPath()
                      + QStringLiteral(" är skrivskyddad. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        }
        try {
            m_app.CheckVersion();
        } catch (const EVersionNotUpgraded &) {
            ShowError(QStringLiteral("Du måste uppgradera till version 2.3.0. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        } catch (const EVersionNotValid &) {
            ShowError(QStringLiteral("Endast version 2.3.0 kan köras. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        }

        SetStatus(QStringLiteral("Initierar databas..."));
        m_app.OpenDatabase();

        setWindowTitle(QStringLiteral("Ternvall - ") + m_app.GetUserName());
        SetStatus(QStringLiteral("Hämtar platser..."));
        m_app.LoadPlaces();

        const bool searched = m_app.GetSettings().SearchAtStart;
        const QString text = searched ? QStringLiteral("aktivitet#\\er# är registrerad#\\e#, sökt årets aktiviteter")
                                      : QStringLiteral("aktivitet#\\er# är registrerad#\\e#");
        SetStatus(TTulloUtilString::CountText(m_app.GetRegisteredCount(), text));
    } catch (const EDbClientError &e) {
        ShowError(QStringLiteral("Interbase databas är inte startad. Starta Interbase innan du kör Ternvall. I Interbase Manager "
                                 "som finns i kontrollpanelen, kan du ställa in så att Interbase startas automatiskt. "
                                 "Applikationen kommer nu att avslutas. Info: ")
                  + e.Message());
        RequestTermination();
    } catch (const EAbort &) {
        RequestTermination();
    } catch (const EException &e) {
        ShowError(e.Message());
        RequestTermination();
    }
}

void TfrmMain::mnuiDbClick()
{
    if (!m_dbSelect)
        m_dbSelect = new TfrmDbSelect(m_app, this);
    if (m_dbSelect->exec() != QDialog::Accepted)
        return;
    m_app.CloseDatabase();
    m_app.SetUserNumber(m_dbSelect->SelectedUser());
    m_app.SetUserName(m_dbSelect->SelectedName());
    setWindowTitle(QStringLiteral("Ternvall"));
    SetStatus(QString());
    OpenUserDatabase();
    if (m_terminating)
        return;
    m_app.DatabaseChanged();
}

void TfrmMain::ObserverChange(const TObservation &observation)
{
    m_mnuiDb->setEnabled(observation.kind == quint8(TNotifyKind::Idle));
    switch (TNotifyKind(observation.kind)) {
    case TNotifyKind::LoadingPlaces:
        // The first notification starts the loading, each further one is
        // one activity's places.
        if (!m_pgsbrMain->isVisible()) {
            m_pgsbrMain->setRange(0, qMax(1, m_app.GetActivityCount()));
            m_pgsbrMain->setValue(0);
            m_pgsbrMain->setVisible(true);
        } else {
            m_pgsbrMain->setValue(m_pgsbrMain->value() + 1);
        }
        m_pgsbrMain->repaint();
        break;
    case TNotifyKind::Idle:
        m_pgsbrMain->setVisible(false);
        break;
    default:
        break;
    }
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_terminating) {
        bool close = false;
        Guard([&] {
            close = ShowMessageBox(QStringLiteral("Avsluta Ternvall?"), TMessageKind::Question,
                                   TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
                    == TMessageResult::Yes;
        });
        if (!close) {
            event->ignore();
            return;
        }
        Guard([this] { FormClose(); });
    }
    event->accept();
}

void TfrmMain::FormClose()
{
    if (m_windowStateRead)
        SaveWindowState(mainWindowKey, this);
    if (m_splash && m_splash->isVisible())
        m_splash->close();
}

void TfrmMain::FormDestroy()
{
    if (m_shell)
        return;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.Disconnect();
    if (m_observer && m_app.IsAttached(m_observer))
        m_app.Detach(m_observer);
}
