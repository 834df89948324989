#include "reference/Course.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/RecPrint.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/Find.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Sorting.h"
#include "reference/CourseCl.h"
#include "ui/CorvaleCommon.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <typeinfo>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\CourseWindow");
const QString columnsKey = settingsRoot + QStringLiteral("\\CourseColumns");
const QString sortKey = settingsRoot + QStringLiteral("\\CourseSort");
const QString findKey = settingsRoot + QStringLiteral("\\CourseFind");
const QString busyId = QStringLiteral("Course");
const QString coursePlural = QStringLiteral("banbeskrivning#\\ar#");
const QString notUsedText = QStringLiteral("Används inte av någon aktivitet");
const QString discardQuestion = QStringLiteral("Vill du verkligen avbryta dina ändringar?");

constexpr int columnCount = 6;
constexpr int numberColumn = 5;
constexpr int distanceColumn = 2;
constexpr int defaultDifficulty = 2; // "Medel"
constexpr int defaultLapCount = 4;

struct TColumn
{
    const char *title;
    const char *widthName;
    int width;
};
const TColumn columns[numberColumn] = {
    {"Aktivitet", "ActivityWidth", 80},   {"Plats", "PlaceWidth", 80},
    {"Distans\r (km)", "DistanceWidth", 65}, {"Svårighet", "DifficultyWidth", 80},
    {"Beskrivning", "DescriptionWidth", 250},
};

TNumericalEdit *distanceField(const QString &name, QWidget *parent)
{
    auto *edit = new TNumericalEdit(name, parent);
    edit->SetNegValues(false);
    edit->SetNumDecimals(2);
    edit->SetMinValue(QStringLiteral("0"));
    edit->SetMaxValue(QStringLiteral("9999"));
    edit->setMaximumWidth(90);
    return edit;
}

QLineEdit *placeField(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(55);
    return edit;
}

QListWidget *checkList(const QString &name, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void setAllChecked(QListWidget *list, bool checked)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void fillCheckList(QListWidget *list, const QStringList &names)
{
    list->clear();
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

// The lines of a memo as the course keeps them.
QStringList memoLines(const QPlainTextEdit *memo)
{
    return memo->toPlainText().split(QLatin1Char('\n'));
}

QString oneLine(const QString &text)
{
    return TTulloUtilString::RemoveChars(text, QStringLiteral("\r\n"), true);
}
}

TfrmCourse::TfrmCourse(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmCourse"));
    setWindowTitle(QStringLiteral("Banbeskrivningar"));
    // Room for the descriptions in the list on a first start.
    resize(820, 520);

    m_pgctrlCourse = new QTabWidget(this);
    m_pgctrlCourse->setObjectName(QStringLiteral("pgctrlCourse"));
    setCentralWidget(m_pgctrlCourse);
    BuildSearchPage();
    m_edit.page = m_tshEdit = new QWidget;
    m_tshEdit->setObjectName(QStringLiteral("tshEdit"));
    BuildCoursePage(m_edit, false);
    m_new.page = m_tshNew = new QWidget;
    m_tshNew->setObjectName(QStringLiteral("tshNew"));
    BuildCoursePage(m_new, true);
    BuildResultPage();
    m_pgctrlCourse->addTab(m_tshSearch, QStringLiteral("Sök"));
    m_pgctrlCourse->addTab(m_tshEdit, QStringLiteral("Ändra"));
    m_pgctrlCourse->addTab(m_tshNew, QStringLiteral("Ny"));
    m_pgctrlCourse->addTab(m_tshResult, QStringLiteral("Sökresultat"));
    connect(m_pgctrlCourse, &QTabWidget::currentChanged, this, [this] { Guard([this] { pgctrlCourseChange(); }); });

    BuildStatusBar();
    BuildMenus();

    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_windowMenuAdded = true;
        QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
        connect(help, &QAction::triggered, this, [this] { Guard([this] { mnuiHelpClick(); }); });

        // FormCreate: difficulties, lists, lap fields, titles, settings.
        const QStringList levels = TDifficultyNames::Levels();
        fillCheckList(m_chklstbxSearchDifficulty, levels);
        for (QComboBox *box : {m_edit.cmbbxDifficulty, m_new.cmbbxDifficulty}) {
            box->addItems(levels);
            box->setCurrentIndex(defaultDifficulty);
        }
        for (TCoursePage *page : {&m_edit, &m_new}) {
            page->numedtLaps->SetValue(QString::number(defaultLapCount));
            numedtLapsExit(*page);
        }
        ShowPage(m_tshSearch);
        ReadSettings();
        LoadWindowState(windowKey, this);
        if (m_app.State() == TCorvaleApp::TState::Open)
            FillLists();
        m_editTexts = PageTexts(m_edit);

        m_observer = new TSubjectObserver(this);
        m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
        m_app.Attach(m_observer);
        UpdateCount();
        UpdateMenus();
    });
    // Cut, copy and paste follow the focused control and the clipboard.
    qApp->installEventFilter(this);
}

TfrmCourse::~TfrmCourse()
{
    qApp->removeEventFilter(this);
    Guard([this] {
        WriteSettings();
        SaveWindowState(windowKey, this);
    });
    Guard([this] {
        if (m_windowMenuAdded) {
            m_windowMenuAdded = false;
            CorvaleForms().RemoveWindowMenu(this, menuBar());
            CorvaleForms().RemoveHelpMenu(this, menuBar());
        }
    });
    if (m_observer && m_app.IsAttached(m_observer))
        m_app.Detach(m_observer);
}

// ---------------------------------------------------------------------------
// Building

void TfrmCourse::BuildSearchPage()
{
    m_tshSearch = new QWidget;
    m_tshSearch->setObjectName(QStringLiteral("tshSearch"));
    m_chklstbxSearchActivity = checkList(QStringLiteral("chklstbxSearchActivity"), m_tshSearch);
    m_edtSearchLocation = placeField(QStringLiteral("edtSearchLocation"), m_tshSearch);
    m_numedtSearchDistance1 = distanceField(QStringLiteral("numedtSearchDistance1"), m_tshSearch);
    m_numedtSearchDistance2 = distanceField(QStringLiteral("numedtSearchDistance2"), m_tshSearch);
    m_chklstbxSearchDifficulty = checkList(QStringLiteral("chklstbxSearchDifficulty"), m_tshSearch);

    auto *grid = new QGridLayout(m_tshSearch);
    auto *activityLabel = new QLabel(QStringLiteral("A&ktivitet"), m_tshSearch);
    activityLabel->setBuddy(m_chklstbxSearchActivity);
    grid->addWidget(activityLabel, 0, 0);
    grid->addWidget(m_chklstbxSearchActivity, 1, 0, 4, 1);
    auto *placeLabel = new QLabel(QStringLiteral("P&lats"), m_tshSearch);
    placeLabel->setBuddy(m_edtSearchLocation);
    grid->addWidget(placeLabel, 0, 1);
    grid->addWidget(m_edtSearchLocation, 1, 1);
    auto *distanceLabel = new QLabel(QStringLiteral("Di&stans (km)"), m_tshSearch);
    distanceLabel->setBuddy(m_numedtSearchDistance1);
    grid->addWidget(distanceLabel, 2, 1);
    auto *range = new QHBoxLayout;
    range->addWidget(m_numedtSearchDistance1);
    range->addWidget(new QLabel(QStringLiteral("-"), m_tshSearch));
    range->addWidget(m_numedtSearchDistance2);
    range->addStretch();
    grid->addLayout(range, 3, 1);
    auto *difficultyLabel = new QLabel(QStringLiteral("Sv&årighet"), m_tshSearch);
    difficultyLabel->setBuddy(m_chklstbxSearchDifficulty);
    grid->addWidget(difficultyLabel, 0, 2);
    grid->addWidget(m_chklstbxSearchDifficulty, 1, 2, 4, 1);
    grid->setRowStretch(4, 1);
}

void TfrmCourse::BuildCoursePage(TCoursePage &page, bool isNew)
{
    QWidget *parent = page.page;
    const QString prefix = isNew ? QStringLiteral("New") : QStringLiteral("Edit");
    auto *form = new QFormLayout;
    if (isNew) {
        m_cmbbxNewActivity = new QComboBox(parent);
        m_cmbbxNewActivity->setObjectName(QStringLiteral("cmbbxNewActivity"));
        form->addRow(QStringLiteral("A&ktivitet"), m_cmbbxNewActivity);
    } else {
        m_edtEditActivity = new QLineEdit(parent);
        m_edtEditActivity->setObjectName(QStringLiteral("edtEditActivity"));
        m_edtEditActivity->setReadOnly(true);
        form->addRow(QStringLiteral("Aktivitet"), m_edtEditActivity);
    }
    page.edtLocation = placeField(QStringLiteral("edt%1Location").arg(prefix), parent);
    form->addRow(QStringLiteral("P&lats"), page.edtLocation);
    page.numedtDistance = distanceField(QStringLiteral("numedt%1Distance").arg(prefix), parent);
    form->addRow(QStringLiteral("Di&stans (km)"), page.numedtDistance);
    page.cmbbxDifficulty = new QComboBox(parent);
    page.cmbbxDifficulty->setObjectName(QStringLiteral("cmbbx%1Difficulty").arg(prefix));
    form->addRow(QStringLiteral("Sv&årighet"), page.cmbbxDifficulty);
    page.moDescription = new QPlainTextEdit(parent);
    page.moDescription->setObjectName(QStringLiteral("mo%1Description").arg(prefix));
    page.moDescription->setTabChangesFocus(true);
    form->addRow(QStringLiteral("&Beskrivning"), page.moDescription);

    page.numedtLaps = new TNumericalEdit(QStringLiteral("numedt%1Laps").arg(prefix), parent);
    page.numedtLaps->SetNegValues(false);
    page.numedtLaps->SetNumDecimals(0);
    page.numedtLaps->SetMinValue(QStringLiteral("0"));
    page.numedtLaps->SetMaxValue(QString::number(TCorvaleCommon::LapCount));
    page.numedtLaps->setMaximumWidth(50);
    connect(page.numedtLaps, &TPGCustomEdit::Exit, this, [this, &page] { Guard([this, &page] { numedtLapsExit(page); }); });
    form->addRow(QStringLiteral("A&ntal"), page.numedtLaps);

    // The lap strip: numbers above, fields below, made as the entry pages
    // make theirs.
    page.pnlLaps = new QWidget;
    page.pnlLaps->setObjectName(QStringLiteral("pnl%1Laps").arg(prefix));
    for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
        auto *label = new QLabel(page.pnlLaps);
        TCorvaleCommon::SetLapTimeLabelProperties(label, i);
        auto *edit = new TNumericalEdit(QStringLiteral("numedt%1Laps%2").arg(prefix).arg(i), page.pnlLaps);
        TCorvaleCommon::SetLapTimeEditProperties(edit, i, 18);
        // A lap mark is a distance: as far as a course may be long.
        edit->SetMaxValue(QStringLiteral("99999.99"));
        page.lapLabels.append(label);
        page.laps.append(edit);
    }
    page.pnlLaps->setFixedHeight(18 + page.laps.first()->sizeHint().height() + 2);
    page.scrbxLaps = new QScrollArea(parent);
    page.scrbxLaps->setObjectName(QStringLiteral("scrbx%1Laps").arg(prefix));
    page.scrbxLaps->setWidget(page.pnlLaps);
    page.scrbxLaps->setWidgetResizable(false);
    page.scrbxLaps->setFixedHeight(page.pnlLaps->height() + 24);
    page.scrbxLaps->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form->addRow(QStringLiteral("Distans (km)"), page.scrbxLaps);

    auto *layout = new QVBoxLayout(parent);
    layout->addLayout(form);
    if (!isNew) {
        m_lblNrUsedByActivities = new QLabel(notUsedText, parent);
        m_lblNrUsedByActivities->setObjectName(QStringLiteral("lblNrUsedByActivities"));
        layout->addWidget(m_lblNrUsedByActivities);
    }
    layout->addStretch();
}

void TfrmCourse::BuildResultPage()
{
    m_tshResult = new QWidget;
    m_tshResult->setObjectName(QStringLiteral("tshResult"));
    auto *layout = new QVBoxLayout(m_tshResult);
    layout->setContentsMargins(0, 0, 0, 0);
    m_cplxgrdCourse = new TComplexGrid(m_tshResult);
    m_cplxgrdCourse->setObjectName(QStringLiteral("cplxgrdCourse"));
    layout->addWidget(m_cplxgrdCourse);
    m_cplxgrdCourse->BeginUpdate();
    m_cplxgrdCourse->SetFixedCols(0);
    m_cplxgrdCourse->SetColCount(columnCount);
    m_cplxgrdCourse->SetRowCount(2);
    m_cplxgrdCourse->SetFixedRows(1);
    for (int col = 0; col < numberColumn; ++col) {
        m_cplxgrdCourse->SetCells(col, 0, QString::fromUtf8(columns[col].title));
        m_cplxgrdCourse->SetColWidths(col, columns[col].width);
    }
    m_cplxgrdCourse->SetColWidths(numberColumn, 1);
    // The description takes the rest of the list's width.
    m_cplxgrdCourse->SetStretchCol(numberColumn - 1);
    m_cplxgrdCourse->EndUpdate();
    m_cplxgrdCourse->SetColSortStyle(distanceColumn, TSortStyle::Numeric);
    m_cplxgrdCourse->SetColAlignment(distanceColumn, TColAlignment::Right);
    m_cplxgrdCourse->SetRowHeights(0, 2 * m_cplxgrdCourse->DefaultRowHeight());
    m_cplxgrdCourse->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cplxgrdCourse->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(m_cplxgrdCourse, &TComplexGrid::OnBeforeSorted, this,
            [this](bool &cursor) { Guard([this, &cursor] { cplxgrdCourseBeforeSorted(cursor); }); });
    connect(m_cplxgrdCourse, &TComplexGrid::OnAfterSorted, this,
            [this](bool &cursor) { Guard([this, &cursor] { cplxgrdCourseAfterSorted(cursor); }); });
    connect(m_cplxgrdCourse, &TComplexGrid::OnSelectCell, this, [this](int col, int row, bool &canSelect) {
        Guard([this, col, row, &canSelect] { cplxgrdCourseSelectCell(col, row, canSelect); });
    });
    connect(m_cplxgrdCourse, &TComplexGrid::OnFindSuccess, this,
            [this](int col, int row) { Guard([this, col, row] { cplxgrdCourseFindSuccess(col, row); }); });
    connect(m_cplxgrdCourse, &TComplexGrid::OnFindNotSuccess, this,
            [this] { Guard([this] { cplxgrdCourseFindNotSuccess(); }); });
    connect(m_cplxgrdCourse, &QAbstractItemView::doubleClicked, this, [this] { Guard([this] { ShowSelectedCourse(); }); });
    connect(m_cplxgrdCourse->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int newSize) {
        Guard([this, section, newSize] { cplxgrdCourseSectionResized(section, newSize); });
    });
    m_cplxgrdCourse->installEventFilter(this);
}

void TfrmCourse::BuildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sbarCourse"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("sbarCoursePanel0"));
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_status, 1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("sbarCoursePanel1"));
    m_count->setFrameShape(QFrame::Panel);
    m_count->setFrameShadow(QFrame::Sunken);
    m_count->setMinimumWidth(140);
    statusBar()->addWidget(m_count);
}

void TfrmCourse::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuCourse"));
    const auto add = [this](QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                            std::function<void()> handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [handler] { Guard(handler); });
        return action;
    };

    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    m_mnuiSearch = add(archive, "mnuiSearch", QStringLiteral("&Sök"), QKeySequence(Qt::CTRL | Qt::Key_O),
                       [this] { mnuiSearchClick(); });
    m_mnuiSave = add(archive, "mnuiSave", QStringLiteral("S&para"), QKeySequence(Qt::CTRL | Qt::Key_S),
                     [this] { mnuiSaveClick(); });
    m_mnuiRemove = add(archive, "mnuiRemove", QStringLiteral("Tag &bort"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                       [this] { mnuiRemoveClick(); });
    archive->addSeparator();
    m_mnuiSort = add(archive, "mnuiSort", QStringLiteral("S&ortera..."), QKeySequence(Qt::CTRL | Qt::Key_R),
                     [this] { mnuiSortClick(); });
    m_mnuiPrint = add(archive, "mnuiPrint", QStringLiteral("Skriv &ut"), QKeySequence(Qt::CTRL | Qt::Key_P),
                      [this] { mnuiPreviewPrintClick(false); });
    m_mnuiPreview = add(archive, "mnuiPreview", QStringLiteral("&Förhandsgranska"), QKeySequence(),
                        [this] { mnuiPreviewPrintClick(true); });
    m_mnuiClear = add(archive, "mnuiClear", QStringLiteral("&Rensa"), QKeySequence(), [this] { mnuiClearClick(); });
    archive->addSeparator();
    add(archive, "mnuiClose", QStringLiteral("Stä&ng"), QKeySequence(Qt::ALT | Qt::Key_F4), [this] { close(); });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Redigera"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuiCut = add(edit, "mnuiCut", QStringLiteral("&Klipp"), QKeySequence(Qt::CTRL | Qt::Key_X),
                    [this] { mnuiEditClick(1); });
    m_mnuiCopy = add(edit, "mnuiCopy", QStringLiteral("K&opiera"), QKeySequence(Qt::CTRL | Qt::Key_C),
                     [this] { mnuiEditClick(2); });
    m_mnuiPaste = add(edit, "mnuiPaste", QStringLiteral("K&listra"), QKeySequence(Qt::CTRL | Qt::Key_V),
                      [this] { mnuiEditClick(3); });
    edit->addSeparator();
    m_mnuiFindText = add(edit, "mnuiFindText", QStringLiteral("&Sök text..."), QKeySequence(Qt::CTRL | Qt::Key_F),
                         [this] { mnuiFindTextClick(); });
    m_mnuiFindTextAgain = add(edit, "mnuiFindTextAgain", QStringLiteral("Sök &igen"), QKeySequence(Qt::Key_F3),
                              [this] { mnuiFindTextAgainClick(); });

    QMenu *show = menuBar()->addMenu(QStringLiteral("&Visa"));
    show->setObjectName(QStringLiteral("mnuShow"));
    add(show, "mnuiShowSearch", QStringLiteral("&Sök registrerade banbeskrivningar"), QKeySequence(Qt::Key_F4),
        [this] { mnuiShowClick(m_tshSearch); });
    add(show, "mnuiShowEdit", QStringLiteral("&Ändra registrerad banbeskrivning"), QKeySequence(Qt::Key_F5),
        [this] { mnuiShowClick(m_tshEdit); });
    add(show, "mnuiShowNew", QStringLiteral("Registrera &ny banbeskrivning"), QKeySequence(Qt::Key_F6),
        [this] { mnuiShowClick(m_tshNew); });
    add(show, "mnuiShowResult", QStringLiteral("S&ökresultat"), QKeySequence(Qt::Key_F7),
        [this] { mnuiShowClick(m_tshResult); });
}

// ---------------------------------------------------------------------------
// Settings

void TfrmCourse::ReadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(columnsKey, false))
        return;
    const QScopedValueRollback<bool> fixing(m_fixingWidth, true);
    for (int col = 0; col < numberColumn; ++col)
        m_cplxgrdCourse->SetColWidths(col, registry.ReadIntegerDef(QLatin1String(columns[col].widthName), columns[col].width));
    registry.CloseKey();
}

void TfrmCourse::WriteSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(columnsKey, true))
        return;
    for (int col = 0; col < numberColumn; ++col)
        registry.WriteIntegerAtLeast(QLatin1String(columns[col].widthName), m_cplxgrdCourse->ColWidths(col), 20);
    registry.CloseKey();
}

// ---------------------------------------------------------------------------
// Window, help and observer

void TfrmCourse::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}

bool TfrmCourse::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_cplxgrdCourse && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            Guard([this] { ShowSelectedCourse(); });
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = event->type() == QEvent::MouseButtonRelease ? static_cast<QMouseEvent *>(event) : nullptr;
        if (!mouse || mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton)
            UpdateEditMenu();
    }
    return QMainWindow::eventFilter(watched, event);
}

int TfrmCourse::HelpTopic() const
{
    QWidget *front = m_pgctrlCourse->currentWidget();
    return front == m_tshNew ? 16 : front == m_tshEdit ? 18 : 17;
}

void TfrmCourse::mnuiHelpClick()
{
    m_app.ShowHelp(HelpTopic());
}

void TfrmCourse::ObserverChange(const TObservation &observation)
{
    if (observation.kind == quint8(TNotifyKind::DatabaseChanged))
        FillLists();
}

void TfrmCourse::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

QString TfrmCourse::StatusText() const
{
    return m_status->text();
}

QString TfrmCourse::CountText() const
{
    return m_count->text();
}

void TfrmCourse::UpdateCount()
{
    const int count = m_app.State() == TCorvaleApp::TState::Open ? m_app.CourseCount() : 0;
    m_count->setText(TTulloUtilString::CountText(count, coursePlural));
}

void TfrmCourse::UpdateMenus()
{
    const int count = m_app.State() == TCorvaleApp::TState::Open ? m_app.CourseCount() : 0;
    QWidget *front = m_pgctrlCourse->currentWidget();
    const bool onEdit = front == m_tshEdit;
    m_pgctrlCourse->setTabEnabled(m_pgctrlCourse->indexOf(m_tshEdit), count > 0);
    m_mnuiRemove->setEnabled(count > 0);
    m_mnuiSort->setEnabled(count > 0);
    m_mnuiFindText->setEnabled(count > 0);
    m_mnuiFindTextAgain->setEnabled(m_mnuiFindText->isEnabled() && !m_findText.isEmpty());
    m_mnuiSave->setEnabled(front == m_tshNew || (onEdit && count > 0));
    m_mnuiSearch->setEnabled(front == m_tshSearch);
    m_mnuiPrint->setEnabled(count > 0 && (onEdit || front == m_tshResult));
    m_mnuiPreview->setEnabled(m_mnuiPrint->isEnabled());
    UpdateEditMenu();
}

void TfrmCourse::UpdateEditMenu()
{
    QWidget *focused = QApplication::focusWidget();
    const bool selected = focused && focused->window() == this && TTulloUtilMisc::SelectionLength(focused) > 0;
    m_mnuiCut->setEnabled(selected);
    m_mnuiCopy->setEnabled(selected);
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    m_mnuiPaste->setEnabled(clip && clip->hasText());
}

void TfrmCourse::mnuiEditClick(int tag)
{
    QWidget *focused = QApplication::focusWidget();
    if (!focused || focused->window() != this)
        return;
    auto *line = qobject_cast<QLineEdit *>(focused);
    auto *memo = qobject_cast<QPlainTextEdit *>(focused);
    if (auto *box = qobject_cast<QComboBox *>(focused))
        line = box->lineEdit();
    if (tag == 3) {
        const QMimeData *clip = QApplication::clipboard()->mimeData();
        if (!clip || !clip->hasText())
            return;
        if (line)
            line->paste();
        else if (memo)
            memo->paste();
        return;
    }
    if (TTulloUtilMisc::SelectionLength(focused) <= 0)
        return;
    if (line)
        tag == 1 ? line->cut() : line->copy();
    else if (memo)
        tag == 1 ? memo->cut() : memo->copy();
    UpdateEditMenu();
}

// ---------------------------------------------------------------------------
// Pages

void TfrmCourse::ShowPage(QWidget *page)
{
    const QSignalBlocker blocker(m_pgctrlCourse);
    m_pgctrlCourse->setCurrentWidget(page);
}

void TfrmCourse::mnuiShowClick(QWidget *page)
{
    if (!m_pgctrlCourse->isTabEnabled(m_pgctrlCourse->indexOf(page)))
        return;
    ShowPage(page);
    pgctrlCourseChange();
}

void TfrmCourse::pgctrlCourseChange()
{
    SetStatus(QString());
    if (m_pgctrlCourse->currentWidget() == m_tshEdit)
        ShowSelectedCourse();
    UpdateMenus();
}

void TfrmCourse::FillLists()
{
    TTulloUtilGrid::ClearRows(m_cplxgrdCourse);
    QStringList names;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.GetTimeDistanceActivityNames(&names);
    m_cmbbxNewActivity->clear();
    m_cmbbxNewActivity->addItems(names);
    m_cmbbxNewActivity->setCurrentIndex(names.isEmpty() ? -1 : 0);
    fillCheckList(m_chklstbxSearchActivity, names);
    setAllChecked(m_chklstbxSearchDifficulty, true);
    // The course on "Ändra" belonged to the diary that was closed.
    if (m_shownCourse >= 0) {
        m_shownCourse = -1;
        ClearEditPage();
        m_editTexts = PageTexts(m_edit);
    }
    if (m_pgctrlCourse->currentWidget() == m_tshEdit)
        ShowPage(m_tshSearch);
    UpdateCount();
    UpdateMenus();
}

void TfrmCourse::numedtLapsExit(TCoursePage &page)
{
    const int count = qBound(0, page.numedtLaps->IntValue(), int(TCorvaleCommon::LapCount));
    for (int i = 0; i < page.laps.size(); ++i) {
        page.laps[i]->setVisible(i < count);
        page.lapLabels[i]->setVisible(i < count);
    }
    const int width = &page == &m_new ? count * TCorvaleCommon::LapColumnWidth + 4
                                      : count * (TCorvaleCommon::LapEditWidth + 2) + 6;
    page.pnlLaps->setFixedWidth(qMax(width, 1));
}

QStringList TfrmCourse::PageLaps(const TCoursePage &page) const
{
    const int count = qBound(0, page.numedtLaps->IntValue(), int(TCorvaleCommon::LapCount));
    QStringList laps;
    for (int i = 0; i < count; ++i)
        laps.append(page.laps[i]->text());
    return laps;
}

QStringList TfrmCourse::PageTexts(const TCoursePage &page) const
{
    QStringList texts{page.edtLocation->text(), page.numedtDistance->text(),
                      QString::number(page.cmbbxDifficulty->currentIndex()), page.moDescription->toPlainText(),
                      page.numedtLaps->text()};
    texts += PageLaps(page);
    return texts;
}

bool TfrmCourse::EditPageChanged()
{
    TTulloUtilMisc::CommitEdits(m_tshEdit);
    return PageTexts(m_edit) != m_editTexts;
}

// ---------------------------------------------------------------------------
// The grid

int TfrmCourse::CurrentCourseNr() const
{
    const int row = m_cplxgrdCourse->Row();
    if (row < m_cplxgrdCourse->FixedRows() || row >= m_cplxgrdCourse->RowCount())
        return -1;
    bool ok = false;
    const int nr = m_cplxgrdCourse->Cells(numberColumn, row).trimmed().toInt(&ok);
    return ok ? nr : -1;
}

int TfrmCourse::RowOfCourse(int nr) const
{
    const QString text = QString::number(nr);
    for (int row = m_cplxgrdCourse->FixedRows(); row < m_cplxgrdCourse->RowCount(); ++row) {
        if (m_cplxgrdCourse->Cells(numberColumn, row).trimmed() == text)
            return row;
    }
    return -1;
}

void TfrmCourse::cplxgrdCourseBeforeSorted(bool &cursor)
{
    cursor = false;
    SetStatus(QStringLiteral("Sorterar..."));
    m_courseBeforeSort = CurrentCourseNr();
    CorvaleForms().BeginBusy(busyId, true);
}

void TfrmCourse::cplxgrdCourseAfterSorted(bool &cursor)
{
    cursor = false;
    const auto endBusy = qScopeGuard([] { CorvaleForms().EndBusy(busyId); });
    if (m_courseBeforeSort >= 0) {
        const int row = RowOfCourse(m_courseBeforeSort);
        if (row >= 0)
            m_cplxgrdCourse->SetRow(row);
    }
    SetStatus(QString());
}

void TfrmCourse::cplxgrdCourseSelectCell(int col, int row, bool &canSelect)
{
    if (col == numberColumn)
        canSelect = false;
}

void TfrmCourse::cplxgrdCourseFindSuccess(int col, int row)
{
    SetStatus(QStringLiteral("Sökningen lyckades '") + m_findText + QLatin1Char('\''));
    if (col != numberColumn)
        m_cplxgrdCourse->SetCol(col);
    m_cplxgrdCourse->SetRow(row);
}

void TfrmCourse::cplxgrdCourseFindNotSuccess()
{
    SetStatus(QString());
    ShowMessageBox(QStringLiteral("Sökningen misslyckades (") + m_findText + QLatin1Char(')'), TMessageKind::Information,
                   TMessageButton::OK);
}

void TfrmCourse::cplxgrdCourseSectionResized(int section, int newSize)
{
    if (m_fixingWidth || m_cplxgrdCourse->ApplyingWidths())
        return;
    if (section == numberColumn) {
        KeepNumberColumnNarrow();
        return;
    }
    if (section < numberColumn && m_cplxgrdCourse->ColWidths(section) != newSize) {
        const QScopedValueRollback<bool> fixing(m_fixingWidth, true);
        m_cplxgrdCourse->SetColWidths(section, newSize);
    }
}

void TfrmCourse::KeepNumberColumnNarrow()
{
    if (m_cplxgrdCourse->horizontalHeader()->sectionSize(numberColumn) == 1)
        return;
    const QScopedValueRollback<bool> fixing(m_fixingWidth, true);
    m_cplxgrdCourse->SetColWidths(numberColumn, 1);
}

// ---------------------------------------------------------------------------
// Search

void TfrmCourse::mnuiSearchClick()
{
    if (m_pgctrlCourse->currentWidget() != m_tshSearch)
        return;
    // The search replaces the courses "Ändra" works on.
    if (m_shownCourse >= 0 && EditPageChanged()
        && ShowMessageBox(discardQuestion, TMessageKind::Question, TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
               != TMessageResult::Yes)
        return;
    SetStatus(QStringLiteral("Söker..."));
    const auto clearStatus = qScopeGuard([this] {
        SetStatus(QString());
        UpdateCount();
        UpdateMenus();
    });
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    TTulloUtilGrid::ClearRows(m_cplxgrdCourse);
    m_shownCourse = -1;
    ClearEditPage();
    m_editTexts = PageTexts(m_edit);

    TTulloUtilMisc::CommitEdits(m_tshSearch);
    QStringList activities, difficulties;
    TTulloUtilCheckListBox::CheckedItems(m_chklstbxSearchActivity, &activities);
    for (int i = 0; i < m_chklstbxSearchDifficulty->count(); ++i) {
        if (m_chklstbxSearchDifficulty->item(i)->checkState() == Qt::Checked)
            difficulties.append(QString::number(i));
    }
    QList<TCourseItem> found;
    m_app.SearchCourses(activities, m_edtSearchLocation->text(), m_numedtSearchDistance1->Value(),
                        m_numedtSearchDistance2->Value(), difficulties, &found);

    m_cplxgrdCourse->BeginUpdate();
    TTulloUtilGrid::SetDataRowCount(m_cplxgrdCourse, int(found.size()));
    for (int i = 0; i < found.size(); ++i) {
        const TCourseItem &item = found.at(i);
        const int row = m_cplxgrdCourse->FixedRows() + i;
        m_cplxgrdCourse->SetCells(0, row, item.Activity);
        m_cplxgrdCourse->SetCells(1, row, item.Place);
        m_cplxgrdCourse->SetCells(2, row, item.Distance);
        m_cplxgrdCourse->SetCells(3, row, DifficultyNames[item.Difficulty.toInt()]);
        m_cplxgrdCourse->SetCells(4, row, oneLine(item.Description));
        m_cplxgrdCourse->SetCells(numberColumn, row, QString::number(item.CourseNr));
    }
    m_cplxgrdCourse->EndUpdate();
    m_cplxgrdCourse->SetColSortStyle(distanceColumn, TSortStyle::Numeric);
    m_cplxgrdCourse->ResetDirections();
    if (found.size() > 1) {
        TSortRecord order;
        order.Cols = {0, 1, distanceColumn};
        order.Styles = {TSortStyle::Alphabetic, TSortStyle::Alphabetic, TSortStyle::Numeric};
        m_cplxgrdCourse->Sort(order);
    }
    ShowPage(m_tshResult);
    m_cplxgrdCourse->setFocus();
    TTulloUtilGrid::SelectDataRow(m_cplxgrdCourse, int(found.size()));
}

// ---------------------------------------------------------------------------
// "Ändra"

void TfrmCourse::ShowSelectedCourse()
{
    const bool open = m_app.State() == TCorvaleApp::TState::Open;
    if (!open || m_app.CourseCount() <= 0 || !m_pgctrlCourse->isTabEnabled(m_pgctrlCourse->indexOf(m_tshEdit)))
        return;
    const int nr = CurrentCourseNr();
    if (nr < 0)
        return;
    // The course on the page already stays as it is, with what was typed.
    if (nr == m_shownCourse) {
        ShowPage(m_tshEdit);
        UpdateMenus();
        return;
    }
    // Another course would replace changes not saved: only when the user
    // says so; otherwise the list goes back to the course of the page.
    if (m_shownCourse >= 0 && EditPageChanged()
        && ShowMessageBox(discardQuestion, TMessageKind::Question, TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
               != TMessageResult::Yes) {
        const int row = RowOfCourse(m_shownCourse);
        if (row >= 0)
            m_cplxgrdCourse->SetRow(row);
        UpdateMenus();
        return;
    }
    ShowPage(m_tshEdit);
    FillEditPage(nr);
    UpdateMenus();
}

void TfrmCourse::FillEditPage(int nr)
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const TCourseValues values = m_app.GetCourseValues(nr);
    QStringList laps, description;
    m_app.GetCourseLaps(nr, &laps);
    m_app.GetCourseDescription(nr, &description);
    const int used = m_app.CourseUseCount(nr);

    m_edtEditActivity->setText(values.Activity);
    m_edit.edtLocation->setText(values.Place);
    m_edit.numedtDistance->SetValue(values.Distance);
    m_edit.cmbbxDifficulty->setCurrentIndex(values.Difficulty);
    m_edit.moDescription->setPlainText(description.join(QLatin1Char('\n')));
    for (TNumericalEdit *lap : std::as_const(m_edit.laps))
        lap->clear();
    for (int i = 0; i < laps.size() && i < m_edit.laps.size(); ++i)
        m_edit.laps[i]->SetValue(laps.at(i));
    m_edit.numedtLaps->SetValue(QString::number(laps.size()));
    numedtLapsExit(m_edit);
    TTulloUtilMisc::CommitEdits(m_tshEdit);
    m_lblNrUsedByActivities->setText(
        used > 0 ? QStringLiteral("Används av ") + TTulloUtilString::CountText(used, QStringLiteral("aktivitet#\\er#"))
                 : notUsedText);
    m_shownCourse = nr;
    m_editTexts = PageTexts(m_edit);
}

void TfrmCourse::ClearEditPage()
{
    m_edtEditActivity->clear();
    m_edit.edtLocation->clear();
    m_edit.numedtDistance->clear();
    m_edit.moDescription->clear();
    m_edit.cmbbxDifficulty->setCurrentIndex(defaultDifficulty);
    m_edit.numedtLaps->SetValue(QStringLiteral("0"));
    for (TNumericalEdit *lap : std::as_const(m_edit.laps))
        lap->clear();
    numedtLapsExit(m_edit);
    m_lblNrUsedByActivities->setText(notUsedText);
}

// ---------------------------------------------------------------------------
// Save and remove

void TfrmCourse::mnuiSaveClick()
{
    QWidget *front = m_pgctrlCourse->currentWidget();
    const bool onNew = front == m_tshNew;
    const bool onEdit = front == m_tshEdit && m_app.CourseCount() > 0;
    if (!onNew && !onEdit)
        return;
    SetStatus(QStringLiteral("Sparar..."));
    const auto done = qScopeGuard([this] {
        SetStatus(QString());
        UpdateCount();
        UpdateMenus();
    });
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    TTulloUtilMisc::CommitEdits(front);
    if (onNew)
        SaveNew();
    else
        SaveEdit();
}

void TfrmCourse::SetCourse(int nr, const TCoursePage &page, const QString &activity)
{
    m_app.SetCourseValues(nr, activity, page.cmbbxDifficulty->currentIndex(), page.numedtDistance->FloatValue(),
                          page.edtLocation->text());
    const QStringList lines = memoLines(page.moDescription);
    m_app.SetCourseDescription(nr, &lines);
    m_app.SetCourseLaps(nr, PageLaps(page));
}

void TfrmCourse::SaveNew()
{
    const QString activity = m_cmbbxNewActivity->currentText();
    const int nr = m_app.NewCourse();
    try {
        SetCourse(nr, m_new, activity);
        m_app.SaveCourse(nr);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        // Nothing of a course that was not saved stays in the working list.
        m_app.RemoveCourse(nr);
        if (!ShowCourseError(error, m_new))
            std::rethrow_exception(error);
        return;
    }
    int row = m_cplxgrdCourse->FixedRows() + m_app.CourseCount() - 1;
    TTulloUtilGrid::SetDataRowCount(m_cplxgrdCourse, m_app.CourseCount());
    row = qMin(row, m_cplxgrdCourse->RowCount() - 1);
    WriteRow(row, nr, activity, m_new);
    m_cplxgrdCourse->SetRow(row);
}

void TfrmCourse::SaveEdit()
{
    const int nr = m_shownCourse;
    if (nr < 0)
        return;
    const QStringList laps = PageLaps(m_edit);
    try {
        m_app.CheckCourseLapsChange(nr, laps);
    } catch (const ECourseDataLoss &) {
        if (ShowMessageBox(QStringLiteral("Det finns aktiviteter som har mellantider som kommer att förloras om du sparar. "
                                          "Vill du verkligen spara banbeskrivningen?"),
                           TMessageKind::Question, TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
            != TMessageResult::Yes)
            return;
    } catch (const ECourseDataDiff &) {
        ShowMessageBox(QStringLiteral("Du kan inte både förändra antalet delsträckor och distansen för dem. Utför detta i "
                                      "två steg"),
                       TMessageKind::Error, TMessageButton::OK);
        return;
    }
    try {
        SetCourse(nr, m_edit, m_edtEditActivity->text());
        m_app.SaveCourse(nr);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        // The course in memory goes back to what the diary holds; the page
        // keeps what was typed.
        m_app.ReloadCourse(nr);
        if (!ShowCourseError(error, m_edit))
            std::rethrow_exception(error);
        return;
    }
    const int row = RowOfCourse(nr);
    if (row >= 0)
        WriteRow(row, nr, m_edtEditActivity->text(), m_edit);
    m_editTexts = PageTexts(m_edit);
}

bool TfrmCourse::ShowCourseError(const std::exception_ptr &error, const TCoursePage &page)
{
    QString message;
    QWidget *focus = nullptr;
    QWidget *firstLap = page.laps.first();
    try {
        std::rethrow_exception(error);
    } catch (const ECourseLapsMissing &) {
        message = QStringLiteral("Distans för mellantid saknas");
        focus = firstLap;
    } catch (const ECourseLapsOrder &) {
        message = QStringLiteral("Distanser för mellantider måste vara i stigande ordning");
        focus = firstLap;
    } catch (const ECourseLapsDist &) {
        message = QStringLiteral("Distansen måste vara längre än distanserna för mellantider");
        focus = page.numedtDistance;
    } catch (const ECourseDist &) {
        message = QStringLiteral("Distans saknas");
        focus = page.numedtDistance;
    } catch (const ECoursePlace &) {
        message = QStringLiteral("Plats saknas");
        focus = page.edtLocation;
    } catch (const ECourse &e) {
        // SetValues refuses an empty place and a missing distance with the
        // plain course error, before the checks of their own classes run.
        if (typeid(e) != typeid(ECourse))
            return false;
        if (e.Message() == QLatin1String("CourseCl 04")) {
            message = QStringLiteral("Plats saknas");
            focus = page.edtLocation;
        } else if (e.Message() == QLatin1String("CourseCl 12")) {
            message = QStringLiteral("Distans saknas");
            focus = page.numedtDistance;
        } else {
            return false;
        }
    } catch (...) {
        return false;
    }
    ShowMessageBox(message, TMessageKind::Error, TMessageButton::OK);
    if (focus->isVisible())
        focus->setFocus();
    else
        focus->setFocus(Qt::OtherFocusReason);
    return true;
}

void TfrmCourse::WriteRow(int row, int nr, const QString &activity, const TCoursePage &page)
{
    m_cplxgrdCourse->SetCells(0, row, activity);
    m_cplxgrdCourse->SetCells(1, row, page.edtLocation->text());
    m_cplxgrdCourse->SetCells(2, row, page.numedtDistance->Value());
    m_cplxgrdCourse->SetCells(3, row, DifficultyNames[page.cmbbxDifficulty->currentIndex()]);
    m_cplxgrdCourse->SetCells(4, row, oneLine(page.moDescription->toPlainText()));
    m_cplxgrdCourse->SetCells(numberColumn, row, QString::number(nr));
}

void TfrmCourse::mnuiRemoveClick()
{
    if (m_app.CourseCount() <= 0)
        return;
    const int nr = CurrentCourseNr();
    if (nr < 0)
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort banbeskrivningen?"), TMessageKind::Question,
                       TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    SetStatus(QStringLiteral("Tar bort..."));
    const auto done = qScopeGuard([this] {
        SetStatus(QString());
        UpdateCount();
        UpdateMenus();
    });
    try {
        m_app.RemoveCourse(nr);
    } catch (const ECourseUsed &) {
        ShowMessageBox(QStringLiteral("Banbeskrivningen används av aktiviteter"), TMessageKind::Error, TMessageButton::OK);
        return;
    }
    const int row = RowOfCourse(nr);
    if (row >= 0)
        m_cplxgrdCourse->DeleteRow(row);
    TTulloUtilGrid::SetDataRowCount(m_cplxgrdCourse, m_app.CourseCount());
    if (nr == m_shownCourse) {
        m_shownCourse = -1;
        ClearEditPage();
        m_editTexts = PageTexts(m_edit);
        if (m_pgctrlCourse->currentWidget() == m_tshEdit && m_app.CourseCount() == 0)
            ShowPage(m_tshResult);
    }
}

// ---------------------------------------------------------------------------
// Clear, sort, find, print

void TfrmCourse::mnuiClearClick()
{
    QWidget *front = m_pgctrlCourse->currentWidget();
    if (front == m_tshSearch) {
        m_edtSearchLocation->clear();
        m_numedtSearchDistance1->clear();
        m_numedtSearchDistance2->clear();
        setAllChecked(m_chklstbxSearchActivity, true);
        setAllChecked(m_chklstbxSearchDifficulty, true);
    } else if (front == m_tshEdit) {
        // Only the fields: the course stays as stored until it is saved.
        const QString activity = m_edtEditActivity->text();
        ClearEditPage();
        m_edtEditActivity->setText(activity);
    } else if (front == m_tshNew) {
        if (m_cmbbxNewActivity->count() > 0)
            m_cmbbxNewActivity->setCurrentIndex(0);
        m_new.edtLocation->clear();
        m_new.numedtDistance->clear();
        m_new.moDescription->clear();
        m_new.cmbbxDifficulty->setCurrentIndex(defaultDifficulty);
        m_new.numedtLaps->SetValue(QStringLiteral("0"));
        for (TNumericalEdit *lap : std::as_const(m_new.laps))
            lap->clear();
        numedtLapsExit(m_new);
    }
    UpdateMenus();
}

void TfrmCourse::mnuiSortClick()
{
    if (m_app.CourseCount() <= 0)
        return;
    TfrmSort &frmSort = CorvaleForms().SortDialog(this);
    frmSort.SetRegistryKey(sortKey);
    frmSort.SetDateMode(false);
    frmSort.SetGrid(m_cplxgrdCourse);
    if (frmSort.exec() == QDialog::Accepted)
        m_cplxgrdCourse->Sort(frmSort.GetSortRecord());
}

void TfrmCourse::mnuiFindTextClick()
{
    if (m_app.CourseCount() <= 0)
        return;
    TfrmFind &frmFind = CorvaleForms().FindDialog(this);
    frmFind.SetRegistryKey(findKey);
    if (frmFind.exec() != QDialog::Accepted)
        return;
    m_findText = frmFind.Text();
    SetStatus(QStringLiteral("Söker efter ") + m_findText + QStringLiteral("..."));
    m_cplxgrdCourse->Find(m_findText, frmFind.FromCursor(), frmFind.MatchCase(), frmFind.Backwards(), false);
    UpdateMenus();
}

void TfrmCourse::mnuiFindTextAgainClick()
{
    if (m_findText.isEmpty() || m_app.CourseCount() <= 0)
        return;
    SetStatus(QStringLiteral("Söker efter ") + m_findText + QStringLiteral("..."));
    m_cplxgrdCourse->FindNext();
}

void TfrmCourse::mnuiPreviewPrintClick(bool preview)
{
    QWidget *front = m_pgctrlCourse->currentWidget();
    if (m_app.CourseCount() <= 0 || (front != m_tshEdit && front != m_tshResult))
        return;
    // No printer is needed: a preview never prints, and a print without a
    // printer goes to a PDF file.
    if (!preview)
        SetStatus(QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(QString()); });

    if (front == m_tshEdit) {
        TfrmRecordPrint record;
        record.PrepareRecord(m_tshEdit, QStringLiteral("Banbeskrivning"));
        if (preview)
            record.Preview(this);
        else
            record.Print(this);
        return;
    }
    CorvaleForms().PrintGrid(this, m_cplxgrdCourse, numberColumn, QStringLiteral("Banbeskrivningar"), preview);
}
