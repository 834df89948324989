#include "analysis/Objectives.h"

#include "analysis/Goals.h"
#include "analysis/NewObjective.h"
#include "analysis/ObjectiveChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/RecPrint.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DatePicker.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/GenericName.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "model/Classhie.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
using TimeDate = TTulloUtilTimeDate;

const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\ObjectivesWindow");
const QString busyId = QStringLiteral("Objectives");
const QString deletedLine = QStringLiteral("< Borttagen >");
const QString discardQuestion = QStringLiteral("Vill du verkligen avbryta dina ändringar?");
const QString unsavedQuestion =
    QStringLiteral("Målsättningarna har ändringar som inte är sparade. Vill du spara dem?");
const QString numberOption = QStringLiteral("Antal");
const QString distanceOption = QStringLiteral("Distans");
const QString timeOption = QStringLiteral("Tid");
constexpr int nameLength = 60;
constexpr int commentLength = 250;

constexpr int helpTopic = 58;
constexpr int createHelpTopic = 59;
constexpr int editHelpTopic = 60;
constexpr int renameHelpTopic = 61;
constexpr int deleteHelpTopic = 62;
constexpr int monitorHelpTopic = 63;

const QStringList typeNames{QStringLiteral("Vecka"), QStringLiteral("Månad"), QStringLiteral("Vikt")};

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}
}

TfrmObjectives::TfrmObjectives(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmObjectives"));
    setWindowTitle(QStringLiteral("Målsättningar"));
    setMinimumSize(460, 420);
    resize(620, 560);
    BuildWindow();
    BuildMenus();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        AddHelpMenus();
        LoadWindowState(windowKey, this);
        m_observer = new TSubjectObserver(this);
        m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
        m_app.Attach(m_observer);
        ResetValueLabels();
        UpdateMenus();
    });
}

TfrmObjectives::~TfrmObjectives()
{
    // FormDestroy.
    Guard([this] {
        if (m_observer && m_app.IsAttached(m_observer))
            m_app.Detach(m_observer);
        SaveWindowState(windowKey, this);
    });
    Guard([this] {
        if (m_menusAdded) {
            m_menusAdded = false;
            CorvaleForms().RemoveWindowMenu(this, menuBar());
            CorvaleForms().RemoveHelpMenu(this, menuBar());
        }
    });
}

// ---------------------------------------------------------------------------
// Building

void TfrmObjectives::BuildWindow()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlMain"));
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    m_pnlObjectives = new QWidget(central);
    m_pnlObjectives->setObjectName(QStringLiteral("pnlObjectives"));
    auto *top = new QVBoxLayout(m_pnlObjectives);
    top->setContentsMargins(0, 0, 0, 0);
    QLabel *listLabel = label("lblObjectives", QStringLiteral("&Målsättningar"), m_pnlObjectives);
    m_lstbxObjectives = new QListWidget(m_pnlObjectives);
    m_lstbxObjectives->setObjectName(QStringLiteral("lstbxObjectives"));
    listLabel->setBuddy(m_lstbxObjectives);
    top->addWidget(listLabel);
    top->addWidget(m_lstbxObjectives, 1);
    layout->addWidget(m_pnlObjectives);

    m_pgctrlObjective = new QTabWidget(central);
    m_pgctrlObjective->setObjectName(QStringLiteral("pgctrlObjective"));
    m_pgctrlObjective->addTab(BuildInformationPage(), QStringLiteral("Inf&ormation"));
    m_pgctrlObjective->addTab(BuildFollowUpPage(), QStringLiteral("&Uppföljning"));
    layout->addWidget(m_pgctrlObjective, 1);

    statusBar()->setObjectName(QStringLiteral("sbarObjective"));
    m_status = label("sbarObjectivePanel0", QString(), this);
    statusBar()->addWidget(m_status, 1);

    m_lstbxObjectives->installEventFilter(this);
    connect(m_lstbxObjectives, &QListWidget::currentRowChanged, this, [this] { Guard([this] { lstbxObjectivesClick(); }); });
    connect(m_pgctrlObjective, &QTabWidget::currentChanged, this, [this] { Guard([this] { pgctrlObjectiveChange(); }); });
}

QWidget *TfrmObjectives::BuildInformationPage()
{
    m_tsObjective = new QWidget;
    m_tsObjective->setObjectName(QStringLiteral("tsObjective"));
    auto *grid = new QGridLayout(m_tsObjective);

    grid->addWidget(label("lblObjectiveType", QStringLiteral("Målsättningstyp"), m_tsObjective), 0, 0);
    m_edtObjectiveType = new QLineEdit(m_tsObjective);
    m_edtObjectiveType->setObjectName(QStringLiteral("edtObjectiveType"));
    m_edtObjectiveType->setReadOnly(true);
    grid->addWidget(m_edtObjectiveType, 0, 1);

    m_lblObjectiveActivity = label("lblObjectiveActivity", QStringLiteral("A&ktivitet"), m_tsObjective);
    m_cmbbxObjectiveActivity = new QComboBox(m_tsObjective);
    m_cmbbxObjectiveActivity->setObjectName(QStringLiteral("cmbbxObjectiveActivity"));
    m_lblObjectiveActivity->setBuddy(m_cmbbxObjectiveActivity);
    grid->addWidget(m_lblObjectiveActivity, 1, 0);
    grid->addWidget(m_cmbbxObjectiveActivity, 1, 1);

    QLabel *from = label("lblFromDate", QStringLiteral("F&rån"), m_tsObjective);
    m_wwdtpFromDate = new TDatePicker(QStringLiteral("wwdtpFromDate"), m_tsObjective);
    from->setBuddy(m_wwdtpFromDate);
    QLabel *to = label("lblToDate", QStringLiteral("&Till"), m_tsObjective);
    m_wwdtpToDate = new TDatePicker(QStringLiteral("wwdtpToDate"), m_tsObjective);
    to->setBuddy(m_wwdtpToDate);
    auto *dates = new QHBoxLayout;
    dates->addWidget(m_wwdtpFromDate);
    dates->addSpacing(12);
    dates->addWidget(to);
    dates->addWidget(m_wwdtpToDate);
    dates->addStretch(1);
    grid->addWidget(from, 2, 0);
    grid->addLayout(dates, 2, 1);

    QLabel *comment = label("lblObjectiveComment", QStringLiteral("Ko&mmentar"), m_tsObjective);
    m_moObjectiveComment = new QPlainTextEdit(m_tsObjective);
    m_moObjectiveComment->setObjectName(QStringLiteral("moObjectiveComment"));
    m_moObjectiveComment->setTabChangesFocus(true);
    // Five lines of comment; the rest of the page is for the amount.
    m_moObjectiveComment->setMaximumHeight(m_moObjectiveComment->fontMetrics().lineSpacing() * 5 + 12);
    comment->setBuddy(m_moObjectiveComment);
    grid->addWidget(comment, 3, 0, Qt::AlignTop);
    grid->addWidget(m_moObjectiveComment, 3, 1);

    m_rgObjectiveAmountType = new QGroupBox(QStringLiteral("Värdetyp"), m_tsObjective);
    m_rgObjectiveAmountType->setObjectName(QStringLiteral("rgObjectiveAmountType"));
    new QVBoxLayout(m_rgObjectiveAmountType);
    m_amountGroup = new QButtonGroup(m_rgObjectiveAmountType);
    grid->addWidget(m_rgObjectiveAmountType, 4, 1);

    m_lblObjectiveAmount = label("lblObjectiveAmount", QStringLiteral("&Värde"), m_tsObjective);
    m_numedtObjectiveAmount = new TNumericalEdit(QStringLiteral("numedtObjectiveAmount"), m_tsObjective);
    m_numedtObjectiveAmount->SetMinValue(QStringLiteral("1"));
    m_numedtObjectiveAmount->SetMaxValue(QStringLiteral("9998"));
    m_numedtObjectiveAmount->SetNumDecimals(0);
    m_numedtObjectiveAmount->setMaximumWidth(100);
    m_lblObjectiveAmount->setBuddy(m_numedtObjectiveAmount);
    auto *amount = new QHBoxLayout;
    amount->addWidget(m_lblObjectiveAmount);
    // The field stands 10 pixels right of its label.
    amount->addSpacing(10);
    amount->addWidget(m_numedtObjectiveAmount);
    amount->addStretch(1);
    grid->addLayout(amount, 5, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    for (TDatePicker *picker : {m_wwdtpFromDate, m_wwdtpToDate})
        connect(picker, &QLineEdit::editingFinished, this, [this, picker] {
            Guard([this, picker] {
                // A text that is no date was refused by the field itself.
                if (picker->Refusal().isEmpty())
                    ObjectiveChange();
            });
        });
    connect(m_moObjectiveComment, &QPlainTextEdit::textChanged, this, [this] {
        Guard([this] {
            if (!m_changeHandlerOn)
                return;
            const QString text = m_moObjectiveComment->toPlainText();
            if (text.size() > commentLength) {
                // The comment holds 250 characters; what is typed beyond
                // them is not taken.
                QTextCursor cursor = m_moObjectiveComment->textCursor();
                const int position = std::min(cursor.position(), commentLength);
                const QSignalBlocker blocker(m_moObjectiveComment);
                m_moObjectiveComment->setPlainText(text.left(commentLength));
                cursor = m_moObjectiveComment->textCursor();
                cursor.setPosition(position);
                m_moObjectiveComment->setTextCursor(cursor);
            }
            ObjectiveChange();
        });
    });
    connect(m_cmbbxObjectiveActivity, &QComboBox::activated, this, [this] { Guard([this] { cmbbxObjectiveActivityChange(); }); });
    connect(m_amountGroup, &QButtonGroup::idClicked, this, [this] { Guard([this] { rgObjectiveAmountTypeClick(); }); });
    return m_tsObjective;
}

QWidget *TfrmObjectives::BuildFollowUpPage()
{
    m_tsFollowUp = new QWidget;
    m_tsFollowUp->setObjectName(QStringLiteral("tsFollowUp"));
    auto *layout = new QVBoxLayout(m_tsFollowUp);
    m_lblFollowupLength = label("lblFollowupLength", QStringLiteral("Antal uppföljningspunkter:"), m_tsFollowUp);
    m_lblFollowupSuccessAvg = label("lblFollowupSuccessAvg", QStringLiteral("% av dessa som uppfyller målet:"), m_tsFollowUp);
    layout->addWidget(m_lblFollowupLength);
    layout->addWidget(m_lblFollowupSuccessAvg);
    m_chrtFollowUp = new TObjectiveChart(m_tsFollowUp);
    // A printed follow-up shows the chart as it looks.
    m_chrtFollowUp->setProperty(PrintAsPictureProperty, true);
    layout->addWidget(m_chrtFollowUp, 1);
    auto *values = new QHBoxLayout;
    m_lblXValue = label("lblXValue", QStringLiteral("Datum:"), m_tsFollowUp);
    m_lblYValue = label("lblYValue", QStringLiteral("Värde:"), m_tsFollowUp);
    values->addWidget(m_lblXValue);
    values->addSpacing(30);
    values->addWidget(m_lblYValue);
    values->addStretch(1);
    layout->addLayout(values);
    connect(m_chrtFollowUp, &TObjectiveChart::MouseMoved, this,
            [this](const QPoint &position) { Guard([this, position] { chrtFollowUpMouseMove(position); }); });
    return m_tsFollowUp;
}

void TfrmObjectives::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuObjectives"));
    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    const auto item = [this, archive](const char *name, const QString &text, const QKeySequence &shortcut) {
        QAction *action = archive->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        return action;
    };
    m_mnuiNew = item("mnuiNew", QStringLiteral("&Ny målsättning"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m_mnuiDelete = item("mnuiDelete", QStringLiteral("&Tag bort"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_mnuiRename = item("mnuiRename", QStringLiteral("&Byt namn"), QKeySequence());
    m_mnuiSave = item("mnuiSave", QStringLiteral("&Spara"), QKeySequence(Qt::CTRL | Qt::Key_S));
    archive->addSeparator();
    m_mnuiPrint = item("mnuiPrint", QStringLiteral("Skriv &ut..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_mnuiPreview = item("mnuiPreview", QStringLiteral("&Förhandsgranska..."), QKeySequence());
    archive->addSeparator();
    QAction *close = item("mnuiClose", QStringLiteral("&Stäng"), QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(m_mnuiNew, &QAction::triggered, this, [this] { Guard([this] { mnuiNewClick(); }); });
    connect(m_mnuiDelete, &QAction::triggered, this, [this] { Guard([this] { mnuiDeleteClick(); }); });
    connect(m_mnuiRename, &QAction::triggered, this, [this] { Guard([this] { mnuiRenameClick(); }); });
    connect(m_mnuiSave, &QAction::triggered, this, [this] { Guard([this] { mnuiSaveClick(); }); });
    connect(m_mnuiPrint, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(false); }); });
    connect(m_mnuiPreview, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(true); }); });
    connect(close, &QAction::triggered, this, [this] { this->close(); });
}

void TfrmObjectives::AddHelpMenus()
{
    QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
    connect(help, &QAction::triggered, this, [this] { Guard([this] { m_app.ShowHelp(helpTopic); }); });
    auto *helpMenu = qobject_cast<QMenu *>(help->parent());
    if (!helpMenu)
        return;
    const struct
    {
        const char *name;
        const char *text;
        int topic;
    } entries[] = {
        {"mnuiCreateHelp", "&Skapa en målsättning...", createHelpTopic},
        {"mnuiEditHelp", "&Ändra en målsättning...", editHelpTopic},
        {"mnuiRenameHelp", "&Byta namn...", renameHelpTopic},
        {"mnuiDeleteHelp", "&Ta bort en målsättning...", deleteHelpTopic},
        {"mnuiMonitorHelp", "&Följa upp...", monitorHelpTopic},
    };
    for (const auto &entry : entries) {
        QAction *action = helpMenu->addAction(QString::fromUtf8(entry.text));
        action->setObjectName(QLatin1String(entry.name));
        const int topic = entry.topic;
        connect(action, &QAction::triggered, this, [this, topic] { Guard([this, topic] { m_app.ShowHelp(topic); }); });
    }
}

// ---------------------------------------------------------------------------
// Opening and closing

void TfrmObjectives::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The platform also shows a window that comes back from being
    // minimised or covered; only an opening reads the goals again.
    if (!m_closed)
        return;
    m_closed = false;
    Guard([this] { FormShow(); });
}

void TfrmObjectives::closeEvent(QCloseEvent *event)
{
    bool discard = true;
    Guard([&] {
        if (m_app.State() == TCorvaleApp::TState::Open && m_app.GetGoals().HasChanges())
            discard = ShowMessageBox(discardQuestion, TMessageKind::Question,
                                     TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
                      == TMessageResult::Yes;
    });
    if (!discard) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    m_closed = true;
    Guard([this] {
        SaveWindowState(windowKey, this);
        // The unsaved goals are given up now, as the user said.
        if (m_app.State() == TCorvaleApp::TState::Open && m_app.GetGoals().HasChanges())
            m_app.GetGoals().LoadGoals();
        CorvaleForms().WindowListChanged();
    });
}

bool TfrmObjectives::ReleaseDiary()
{
    if (m_app.State() != TCorvaleApp::TState::Open)
        return true;
    bool release = false;
    Guard([this, &release] {
        // What is typed in a window that is open, even hidden or minimised,
        // counts as changed; a refused value keeps the diary open with the
        // field in focus.
        if (!m_closed)
            ObjectiveChange();
        TGoals &goals = m_app.GetGoals();
        if (!goals.HasChanges()) {
            release = true;
            return;
        }
        showNormal();
        raise();
        activateWindow();
        const quint16 answer =
            ShowMessageBox(unsavedQuestion, TMessageKind::Question,
                           TMessageButtons(TMessageButton::Yes) | TMessageButton::No | TMessageButton::Cancel);
        if (answer == TMessageResult::Yes) {
            mnuiSaveClick();
            release = !goals.HasChanges();
        } else if (answer == TMessageResult::No) {
            goals.LoadGoals();
            m_shownGoal = -1;
            FillGoalList();
            release = true;
        }
    });
    return release;
}

void TfrmObjectives::FormShow()
{
    m_shownGoal = -1;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.GetGoals().LoadGoals();
    FillActivityList();
    {
        const QSignalBlocker blocker(m_pgctrlObjective);
        m_pgctrlObjective->setCurrentWidget(m_tsObjective);
    }
    m_chrtFollowUp->Clear();
    m_chrtFollowUp->ResetZoom();
    ResetValueLabels();
    FillGoalList();
}

void TfrmObjectives::FillActivityList()
{
    const QString current = m_cmbbxObjectiveActivity->currentText();
    QStringList names;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.GetActivityNames(&names);
    names.sort(Qt::CaseInsensitive);
    const QSignalBlocker blocker(m_cmbbxObjectiveActivity);
    m_cmbbxObjectiveActivity->clear();
    m_cmbbxObjectiveActivity->addItems(names);
    m_cmbbxObjectiveActivity->setCurrentIndex(std::max(0, int(names.indexOf(current))));
}

void TfrmObjectives::FillGoalList(int row)
{
    const int previous = row >= 0 ? row : m_lstbxObjectives->currentRow();
    QStringList names;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.GetGoals().GetGoals(&m_goalNumbers, &names);
    else
        m_goalNumbers.Clear();
    {
        const QSignalBlocker blocker(m_lstbxObjectives);
        m_lstbxObjectives->clear();
        for (int i = 0; i < m_goalNumbers.Count(); ++i)
            m_lstbxObjectives->addItem(m_app.GetGoals().IsGoalDeleted(m_goalNumbers[i]) ? deletedLine : names.at(i));
        const int count = m_lstbxObjectives->count();
        m_lstbxObjectives->setCurrentRow(previous >= 0 && previous < count ? previous : count - 1);
    }
    ShowGoal();
}

void TfrmObjectives::ClearGoal()
{
    m_changeHandlerOn = false;
    m_shownGoal = -1;
    m_edtObjectiveType->clear();
    m_wwdtpFromDate->Clear();
    m_wwdtpToDate->Clear();
    {
        const QSignalBlocker blocker(m_moObjectiveComment);
        m_moObjectiveComment->clear();
    }
    m_numedtObjectiveAmount->SetValue(QString());
    BuildAmountTypes(QString(), 0);
    m_chrtFollowUp->Clear();
}

void TfrmObjectives::ShowGoal()
{
    const int row = m_lstbxObjectives->currentRow();
    if (row < 0 || row >= m_goalNumbers.Count()) {
        ClearGoal();
        UpdateMenus();
        return;
    }
    const qint32 number = m_goalNumbers[row];
    m_changeHandlerOn = false;
    const TGoalItem item = m_app.GetGoals().GetGoalItem(number);
    m_shownGoal = number;
    m_shownType = TGoalType(item.GoalType);
    m_edtObjectiveType->setText(typeNames.value(item.GoalType));
    const int activity = m_cmbbxObjectiveActivity->findText(item.ActivityName, Qt::MatchExactly);
    if (activity < 0)
        throw EUIError(QStringLiteral("Objectives 01"));
    {
        const QSignalBlocker blocker(m_cmbbxObjectiveActivity);
        m_cmbbxObjectiveActivity->setCurrentIndex(activity);
    }
    m_wwdtpFromDate->SetText(item.FromDate);
    m_wwdtpToDate->SetText(item.ToDate);
    {
        const QSignalBlocker blocker(m_moObjectiveComment);
        m_moObjectiveComment->setPlainText(item.Comment);
    }
    BuildAmountTypes(item.ActivityName, item.AmountType);
    SetAmountLabel();
    m_numedtObjectiveAmount->SetValue(item.Amount);
    m_changeHandlerOn = true;
    UpdateMenus();
    ObjectiveChange();
    if (m_pgctrlObjective->currentWidget() == m_tsFollowUp)
        tsFollowUpShow();
}

void TfrmObjectives::BuildAmountTypes(const QString &activityName, int index)
{
    m_amountOptions = QStringList{numberOption};
    if (!activityName.isEmpty() && m_app.State() == TCorvaleApp::TState::Open) {
        const TActivityFamily family = m_app.CreateActivity(activityName)->Family();
        if (family == TActivityFamily::Distance || family == TActivityFamily::TimeDistance)
            m_amountOptions.append(distanceOption);
        if (family == TActivityFamily::Time || family == TActivityFamily::Game || family == TActivityFamily::TimeDistance)
            m_amountOptions.append(timeOption);
    }
    for (QAbstractButton *button : m_amountGroup->buttons()) {
        m_amountGroup->removeButton(button);
        delete button;
    }
    for (int i = 0; i < m_amountOptions.size(); ++i) {
        auto *radio = new QRadioButton(m_amountOptions.at(i), m_rgObjectiveAmountType);
        radio->setObjectName(QStringLiteral("rgObjectiveAmountType%1").arg(i));
        m_amountGroup->addButton(radio, i);
        m_rgObjectiveAmountType->layout()->addWidget(radio);
    }
    const int chosen = std::clamp(index, 0, int(m_amountOptions.size()) - 1);
    m_amountGroup->button(chosen)->setChecked(true);
    // Shown only when there is a choice: 20 pixels per option and 15.
    m_rgObjectiveAmountType->setVisible(m_amountOptions.size() >= 2);
    // A larger font than the options were drawn for still shows them whole.
    m_rgObjectiveAmountType->setMinimumHeight(
        std::max(20 * int(m_amountOptions.size()) + 15, m_rgObjectiveAmountType->sizeHint().height()));
}

quint8 TfrmObjectives::AmountTypeFromWindow() const
{
    const int index = std::max(0, m_amountGroup->checkedId());
    if (index == 0)
        return quint8(TGoalAmountType::Number);
    if (m_amountOptions.size() >= 3)
        return quint8(index);
    return m_amountOptions.value(index) == distanceOption ? quint8(TGoalAmountType::Distance) : quint8(TGoalAmountType::Time);
}

void TfrmObjectives::SetAmountLabel()
{
    if (m_shownType == TGoalType::Weight) {
        m_lblObjectiveAmount->setText(QStringLiteral("&Vikt (kg)"));
        m_numedtObjectiveAmount->SetNumDecimals(1);
        return;
    }
    const QString option = m_amountOptions.value(std::max(0, m_amountGroup->checkedId()));
    QString caption = option.left(1) + QLatin1Char('&') + option.mid(1);
    if (option == distanceOption)
        caption += QStringLiteral(" (km)");
    else if (option == timeOption)
        caption += QStringLiteral(" (min)");
    else if (option != numberOption)
        throw EUIError(QStringLiteral("Objectives 02"));
    m_lblObjectiveAmount->setText(caption);
    m_numedtObjectiveAmount->SetNumDecimals(0);
}

QString TfrmObjectives::AmountCaption() const
{
    return withoutMnemonic(m_lblObjectiveAmount->text());
}

void TfrmObjectives::ObjectiveChange()
{
    if (m_shownGoal < 0 || !m_changeHandlerOn || m_app.State() != TCorvaleApp::TState::Open)
        return;
    m_wwdtpFromDate->Check();
    m_wwdtpToDate->Check();
    TGoals &goals = m_app.GetGoals();
    try {
        goals.SetGoalValues(m_shownGoal, m_cmbbxObjectiveActivity->currentText(),
                            m_moObjectiveComment->toPlainText().left(commentLength), AmountTypeFromWindow(),
                            m_numedtObjectiveAmount->Value(), m_wwdtpToDate->Text(), m_wwdtpFromDate->Text());
    } catch (const EGoals &e) {
        RefuseValue(e.Message());
        throw;
    }
    // The checks may have moved the to date.
    const QString to = goals.GetGoalItem(m_shownGoal).ToDate;
    if (m_wwdtpToDate->Text() != to) {
        const QSignalBlocker blocker(m_wwdtpToDate);
        m_wwdtpToDate->SetText(to);
    }
}

void TfrmObjectives::RefuseValue(const QString &error)
{
    struct TRefusal
    {
        const char *id;
        const char *text;
        QWidget *field;
    };
    const TRefusal refusals[] = {
        {"Goal 01", "Från-datum saknas eller är inget giltigt datum.", m_wwdtpFromDate},
        {"Goal 02", "Till-datum saknas eller är inget giltigt datum.", m_wwdtpToDate},
        {"Goal 14", "Värdet är inget tal.", m_numedtObjectiveAmount},
        {"Goal 25", "Värdet måste vara minst 1.", m_numedtObjectiveAmount},
        {"Goal 26", "Värdet får vara högst 9999.", m_numedtObjectiveAmount},
        {"Goal 15", "Aktiviteten har ingen tid att följa upp. Välj Antal eller Distans.", m_rgObjectiveAmountType},
        {"Goal 16", "Aktiviteten har ingen distans att följa upp. Välj Antal eller Tid.", m_rgObjectiveAmountType},
        {"Goal 17", "Aktiviteten har ingen distans att följa upp. Välj Antal eller Tid.", m_rgObjectiveAmountType},
        {"Goal 04", "Ett viktmål följer upp viktmätningar.", m_cmbbxObjectiveActivity},
        {"Goal 08", "Ett viktmål räknar vikten i kg.", m_numedtObjectiveAmount},
    };
    for (const TRefusal &refusal : refusals) {
        if (error != QLatin1String(refusal.id))
            continue;
        m_pgctrlObjective->setCurrentWidget(m_tsObjective);
        ShowMessageBox(QString::fromUtf8(refusal.text), TMessageKind::Error, TMessageButton::OK);
        if (refusal.field->isVisible())
            refusal.field->setFocus();
        throw EAbort();
    }
}

bool TfrmObjectives::HasLiveGoal() const
{
    return m_shownGoal >= 0 && m_app.State() == TCorvaleApp::TState::Open && !m_app.GetGoals().IsGoalDeleted(m_shownGoal);
}

void TfrmObjectives::UpdateMenus()
{
    const bool live = HasLiveGoal();
    m_mnuiRename->setEnabled(live);
    m_mnuiDelete->setEnabled(live);
    m_mnuiPrint->setEnabled(live);
    m_mnuiPreview->setEnabled(live);
    m_pgctrlObjective->setEnabled(live);
    m_mnuiSave->setEnabled(m_app.State() == TCorvaleApp::TState::Open && m_app.GetGoals().GoalCount() > 0);
    const bool weight = m_shownGoal >= 0 && m_shownType == TGoalType::Weight;
    m_lblObjectiveActivity->setVisible(!weight);
    m_cmbbxObjectiveActivity->setVisible(!weight);
}

// ---------------------------------------------------------------------------
// Handlers

void TfrmObjectives::lstbxObjectivesClick()
{
    const int row = m_lstbxObjectives->currentRow();
    if (m_shownGoal >= 0 && (row < 0 || row >= m_goalNumbers.Count() || m_goalNumbers[row] != m_shownGoal)) {
        // The goal shown keeps what was typed for it; a value it refuses
        // keeps it shown.
        try {
            ObjectiveChange();
        } catch (...) {
            const QSignalBlocker blocker(m_lstbxObjectives);
            m_lstbxObjectives->setCurrentRow(m_goalNumbers.IndexOf(m_shownGoal));
            throw;
        }
    }
    ShowGoal();
}

void TfrmObjectives::cmbbxObjectiveActivityChange()
{
    if (!m_changeHandlerOn)
        return;
    BuildAmountTypes(m_cmbbxObjectiveActivity->currentText(), std::max(0, m_amountGroup->checkedId()));
    SetAmountLabel();
    ObjectiveChange();
}

void TfrmObjectives::rgObjectiveAmountTypeClick()
{
    SetAmountLabel();
    ObjectiveChange();
}

void TfrmObjectives::mnuiNewClick()
{
    if (m_app.State() != TCorvaleApp::TState::Open)
        return;
    ObjectiveChange();
    if (!m_frmNewObjective)
        m_frmNewObjective = new TfrmNewObjective(m_app, this);
    if (m_frmNewObjective->exec() != QDialog::Accepted)
        return;
    m_app.GetGoals().AddGoal(m_frmNewObjective->Name(), m_frmNewObjective->GoalType());
    m_shownGoal = -1;
    FillGoalList(m_app.GetGoals().GoalCount() - 1);
}

void TfrmObjectives::mnuiDeleteClick()
{
    if (!HasLiveGoal())
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort målsättningen?"), TMessageKind::Question,
                       TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    m_app.GetGoals().DeleteGoal(m_shownGoal);
    FillGoalList();
}

void TfrmObjectives::mnuiRenameClick()
{
    if (!HasLiveGoal())
        return;
    ObjectiveChange();
    const QString old = m_app.GetGoals().GetGoalItem(m_shownGoal).Name;
    TfrmGenericName &dialog = CorvaleForms().GenericNameDialog(this);
    dialog.setWindowTitle(QStringLiteral("Målsättning"));
    dialog.SetLabel(QStringLiteral("Målsättning"));
    dialog.SetMaxLength(nameLength);
    dialog.SetText(old);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString name = dialog.Text().trimmed().isEmpty() ? old : dialog.Text();
    m_app.GetGoals().RenameGoal(m_shownGoal, name);
    FillGoalList();
}

void TfrmObjectives::mnuiSaveClick()
{
    if (m_app.State() != TCorvaleApp::TState::Open || m_app.GetGoals().GoalCount() == 0)
        return;
    ObjectiveChange();
    SetStatus(QStringLiteral("Sparar..."));
    {
        const auto clearStatus = qScopeGuard([this] {
            if (m_status->text() == QLatin1String("Sparar..."))
                SetStatus(QString());
        });
        TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
        m_app.GetGoals().ApplyGoals();
        m_shownGoal = -1;
        FillGoalList();
        SetStatus(QStringLiteral("Sparad"));
    }
    QTimer::singleShot(1000, this, [this] {
        if (m_status->text() == QLatin1String("Sparad"))
            SetStatus(QString());
    });
}

void TfrmObjectives::mnuiPreviewPrintClick(bool preview)
{
    if (!HasLiveGoal())
        return;
    // No printer is needed: a preview never prints, and a print without a
    // printer goes to a PDF file.
    if (!preview)
        SetStatus(QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(QString()); });
    ObjectiveChange();
    TfrmRecordPrint record;
    record.PrepareRecord(m_pgctrlObjective->currentWidget(),
                         QStringLiteral("Målsättning - ") + m_app.GetGoals().GetGoalItem(m_shownGoal).Name);
    if (preview)
        record.Preview(this);
    else
        record.Print(this);
}

void TfrmObjectives::PrintToFile(const QString &fileName)
{
    if (!HasLiveGoal())
        return;
    ObjectiveChange();
    TfrmRecordPrint record;
    record.PrepareRecord(m_pgctrlObjective->currentWidget(),
                         QStringLiteral("Målsättning - ") + m_app.GetGoals().GetGoalItem(m_shownGoal).Name);
    record.PrintToFile(fileName, this);
}

// ---------------------------------------------------------------------------
// Follow-up

void TfrmObjectives::pgctrlObjectiveChange()
{
    ResetValueLabels();
    if (m_pgctrlObjective->currentWidget() == m_tsFollowUp)
        tsFollowUpShow();
}

void TfrmObjectives::ResetValueLabels()
{
    m_lblXValue->setText(QStringLiteral("Datum: "));
    m_lblYValue->setText(AmountCaption() + QStringLiteral(": "));
}

void TfrmObjectives::tsFollowUpShow()
{
    m_chrtFollowUp->Clear();
    m_chrtFollowUp->ResetZoom();
    ObjectiveChange();
    DrawFollowUp();
}

void TfrmObjectives::DrawFollowUp()
{
    m_chrtFollowUp->Clear();
    if (!HasLiveGoal() || m_pgctrlObjective->currentWidget() != m_tsFollowUp || !isVisible())
        return;
    TGoals &goals = m_app.GetGoals();
    const TGoalFollowUpItem followUp = goals.GetFollowUp(m_shownGoal);
    const TGoalItem item = goals.GetGoalItem(m_shownGoal);
    const double amount = TTulloUtilNumeric::StrToFloat(item.Amount.trimmed().isEmpty() ? QStringLiteral("1") : item.Amount);
    m_lblFollowupLength->setText(QStringLiteral("Antal uppföljningspunkter: ") + QString::number(followUp.Count));
    m_lblFollowupSuccessAvg->setText(QStringLiteral("% av dessa som uppfyller målet: ") + QString::number(followUp.Success));
    m_chrtFollowUp->SetDateRange(TimeDate::StrToDate(item.FromDate), TimeDate::StrToDate(item.ToDate));
    m_chrtFollowUp->SetValueRange(0.98 * std::min(amount, followUp.LowestValue), 1.02 * std::max(amount, followUp.HighestValue));
    for (int i = 0; i < followUp.Count; ++i)
        m_chrtFollowUp->AddPoint(TimeDate::StrToDate(followUp.Dates.at(i)), followUp.Values.at(i), amount);
}

void TfrmObjectives::RefreshFollowUpQuietly()
{
    if (!HasLiveGoal() || m_pgctrlObjective->currentWidget() != m_tsFollowUp || !isVisible())
        return;
    try {
        DrawFollowUp();
    } catch (const EException &e) {
        m_chrtFollowUp->Clear();
        SetStatus(e.Message());
    }
}

void TfrmObjectives::chrtFollowUpMouseMove(const QPoint &position)
{
    const QDate date = m_chrtFollowUp->DateAt(position);
    m_lblXValue->setText(QStringLiteral("Datum: ") + TimeDate::DateToStr(date));
    m_lblYValue->setText(AmountCaption() + QStringLiteral(": ")
                         + TTulloUtilString::FormatFixed(2, m_chrtFollowUp->ValueAt(position)));
}

// ---------------------------------------------------------------------------
// Window

void TfrmObjectives::ObserverChange(const TObservation &observation)
{
    switch (TNotifyKind(observation.kind)) {
    case TNotifyKind::Closing:
        // The register gives up the goals of the diary that closes.
        m_goalNumbers.Clear();
        {
            const QSignalBlocker blocker(m_lstbxObjectives);
            m_lstbxObjectives->clear();
        }
        ClearGoal();
        UpdateMenus();
        break;
    case TNotifyKind::DatabaseChanged:
        if (isVisible())
            FormShow();
        else
            m_closed = true;
        break;
    case TNotifyKind::ActivityNamesChanged:
        if (isVisible()) {
            FillActivityList();
            ShowGoal();
        }
        break;
    case TNotifyKind::RemovingActivity:
        m_removing = true;
        break;
    case TNotifyKind::Idle:
        if (m_removing) {
            m_removing = false;
            RefreshFollowUpQuietly();
        }
        break;
    default:
        break;
    }
}

void TfrmObjectives::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Back in this window after an entry was saved elsewhere: the chart
    // shows the diary as it is now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Guard([this] { RefreshFollowUpQuietly(); });
}

bool TfrmObjectives::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstbxObjectives && event->type() == QEvent::FocusIn)
        Guard([this] { ObjectiveChange(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfrmObjectives::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // FormResize: the list takes a fifth of the window's height.
    m_pnlObjectives->setFixedHeight(std::max(60, height() / 5));
}

void TfrmObjectives::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

int TfrmObjectives::SelectedGoal() const
{
    return m_shownGoal;
}

QStringList TfrmObjectives::GoalLines() const
{
    QStringList lines;
    for (int i = 0; i < m_lstbxObjectives->count(); ++i)
        lines.append(m_lstbxObjectives->item(i)->text());
    return lines;
}

QString TfrmObjectives::StatusText() const
{
    return m_status->text();
}
