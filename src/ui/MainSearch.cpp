// The main window's search page, its list of found activities and what
// works on that list: sorting, text find, stepping through the rows and the
// column settings.

#include "ui/Main.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "columns/ActivityColumns.h"
#include "columns/ColumnSettings.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DatePicker.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/Find.h"
#include "foundation/MessageBox.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/Sorting.h"
#include "model/ActivityName.h"
#include "model/Classhie.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "ui/MainPrivate.h"

#include <QCollator>
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
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using MainWindow::ActivityPlural;
using MainWindow::BusyId;

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString mainSortKey = settingsRoot + QStringLiteral("\\MainSort");
const QString mainFindKey = settingsRoot + QStringLiteral("\\MainFind");

const QString showAdvanced = QStringLiteral("Visa avan&cerad sökning >>");
const QString hideAdvanced = QStringLiteral("Göm avan&cerad sökning <<");

// A numeric field of the search page. The "from" fields also take the
// search keys "!" (no value) and "*" (any value).
TNumericalEdit *numericEdit(const char *name, QWidget *parent, const QString &minimum, const QString &maximum,
                            int decimals, bool searchKeys)
{
    auto *edit = new TNumericalEdit(QLatin1String(name), parent);
    edit->SetNumDecimals(decimals);
    const bool negative = minimum.startsWith(QLatin1Char('-'));
    edit->SetNegValues(negative);
    edit->SetMaxValue(maximum);
    edit->SetMinValue(minimum);
    edit->SetAllowSearchKeys(searchKeys);
    edit->setMaximumWidth(80);
    return edit;
}

// A row "caption  from - to" of a grid layout.
void addRange(QGridLayout *layout, int row, const QString &caption, QWidget *from, QWidget *to)
{
    auto *label = new QLabel(caption);
    label->setBuddy(from);
    layout->addWidget(label, row, 0);
    layout->addWidget(from, row, 1);
    layout->addWidget(new QLabel(QStringLiteral("-")), row, 2);
    layout->addWidget(to, row, 3);
}

QWidget *searchTab(const char *name)
{
    auto *page = new QWidget;
    page->setObjectName(QLatin1String(name));
    return page;
}

QGridLayout *rangeLayout(QWidget *page)
{
    auto *layout = new QGridLayout(page);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(8, 1);
    return layout;
}

// The id behind the chosen entry of a combo box whose entry i + 1 stands
// for id i of the list; empty for the first (empty) entry.
QString chosenId(const QComboBox *combo, const TIntegerList &ids)
{
    const int index = combo->currentIndex();
    if (index < 1 || index > ids.Count())
        return QString();
    return QString::number(ids.Items(index - 1));
}

// Refills a program combo box: the empty entry, then the programs; chooses
// the program `keep` again when it is still there.
void fillPrograms(QComboBox *combo, TIntegerList &ids, const QList<qint32> &programIds, const QStringList &names,
                  qint32 keep)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    ids.Clear();
    combo->addItem(QString());
    for (int i = 0; i < programIds.size(); ++i) {
        combo->addItem(names.at(i));
        ids.Add(programIds.at(i));
    }
    const int position = ids.IndexOf(keep);
    combo->setCurrentIndex(position >= 0 ? position + 1 : 0);
}

qint32 chosenProgram(const QComboBox *combo, const TIntegerList &ids)
{
    const QString id = chosenId(combo, ids);
    return id.isEmpty() ? -1 : id.toInt();
}

// A grid that is being filled: the view is told once at the end, also when
// the filling fails.
class TGridFill
{
public:
    explicit TGridFill(TComplexGrid *grid) : m_grid(grid) { m_grid->BeginUpdate(); }
    ~TGridFill() { m_grid->EndUpdate(); }

    TGridFill(const TGridFill &) = delete;
    TGridFill &operator=(const TGridFill &) = delete;

private:
    TComplexGrid *m_grid;
};
}

// ---------------------------------------------------------------------------
// Building the pages

void TfrmMain::BuildSearchPage()
{
    m_tshSearch = new QWidget;
    m_tshSearch->setObjectName(QStringLiteral("tshSearch"));
    auto *page = new QVBoxLayout(m_tshSearch);

    auto *dates = new QHBoxLayout;
    m_wwdtpSearchDate1 = new TDatePicker(QStringLiteral("wwdtpSearchDate1"), m_tshSearch);
    m_wwdtpSearchDate2 = new TDatePicker(QStringLiteral("wwdtpSearchDate2"), m_tshSearch);
    m_wwdtpSearchDate1->Clear();
    m_wwdtpSearchDate2->Clear();
    auto *lblDate = new QLabel(QStringLiteral("&Datum"), m_tshSearch);
    lblDate->setObjectName(QStringLiteral("lblSearchDate"));
    lblDate->setBuddy(m_wwdtpSearchDate1);
    dates->addWidget(lblDate);
    dates->addWidget(m_wwdtpSearchDate1);
    dates->addWidget(new QLabel(QStringLiteral("-"), m_tshSearch));
    dates->addWidget(m_wwdtpSearchDate2);
    dates->addStretch(1);
    page->addLayout(dates);

    auto *activities = new QHBoxLayout;
    auto *listColumn = new QVBoxLayout;
    m_chklstbxSearchActivity = new QListWidget(m_tshSearch);
    m_chklstbxSearchActivity->setObjectName(QStringLiteral("chklstbxSearchActivity"));
    m_chklstbxSearchActivity->setMaximumWidth(220);
    auto *lblActivity = new QLabel(QStringLiteral("A&ktivitet"), m_tshSearch);
    lblActivity->setObjectName(QStringLiteral("lblSearchActivity"));
    lblActivity->setBuddy(m_chklstbxSearchActivity);
    listColumn->addWidget(lblActivity);
    listColumn->addWidget(m_chklstbxSearchActivity);
    activities->addLayout(listColumn);
    connect(m_chklstbxSearchActivity, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        // Only the user's clicks count; the program's own changes of the
        // checks refill the courses themselves.
        if (!m_settingChecks)
            Guard([this, item] { chklstbxSearchActivityClickCheck(item); });
    });

    auto *buttons = new QVBoxLayout;
    buttons->addSpacing(lblActivity->sizeHint().height());
    m_btnSelectAll = new QPushButton(QStringLiteral("Mark&era alla"), m_tshSearch);
    m_btnSelectAll->setObjectName(QStringLiteral("btnSelectAll"));
    m_btnDeselectAll = new QPushButton(QStringLiteral("Rensa alla"), m_tshSearch);
    m_btnDeselectAll->setObjectName(QStringLiteral("btnDeselectAll"));
    for (QPushButton *button : {m_btnSelectAll, m_btnDeselectAll}) {
        connect(button, &QPushButton::clicked, this, [this, button] { Guard([this, button] { btnSelectClick(button); }); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    m_btnAdvancedSearch = new QPushButton(showAdvanced, m_tshSearch);
    m_btnAdvancedSearch->setObjectName(QStringLiteral("btnAdvancedSearch"));
    connect(m_btnAdvancedSearch, &QPushButton::clicked, this, [this] { Guard([this] { btnAdvancedSearchClick(); }); });
    buttons->addWidget(m_btnAdvancedSearch);
    activities->addLayout(buttons);
    activities->addStretch(1);
    page->addLayout(activities, 1);

    m_pnlAdvancedSearch = new QWidget(m_tshSearch);
    m_pnlAdvancedSearch->setObjectName(QStringLiteral("pnlAdvancedSearch"));
    auto *advanced = new QGridLayout(m_pnlAdvancedSearch);
    advanced->setContentsMargins(0, 0, 0, 0);
    m_edtSearchLocation = new QLineEdit(m_pnlAdvancedSearch);
    m_edtSearchLocation->setObjectName(QStringLiteral("edtSearchLocation"));
    m_edtSearchLocation->setMaxLength(55);
    auto *lblLocation = new QLabel(QStringLiteral("P&lats"), m_pnlAdvancedSearch);
    lblLocation->setBuddy(m_edtSearchLocation);
    advanced->addWidget(lblLocation, 0, 0);
    advanced->addWidget(m_edtSearchLocation, 0, 1, 1, 3);
    m_numedtSearchWeight1 = numericEdit("numedtSearchWeight1", m_pnlAdvancedSearch, QStringLiteral("0"), QStringLiteral("999"), 2, true);
    m_numedtSearchWeight2 = numericEdit("numedtSearchWeight2", m_pnlAdvancedSearch, QStringLiteral("0"), QStringLiteral("999"), 2, false);
    addRange(advanced, 1, QStringLiteral("Vik&t"), m_numedtSearchWeight1, m_numedtSearchWeight2);
    m_edtSearchComment = new QLineEdit(m_pnlAdvancedSearch);
    m_edtSearchComment->setObjectName(QStringLiteral("edtSearchComment"));
    m_edtSearchComment->setMaxLength(150);
    auto *lblComment = new QLabel(QStringLiteral("K&ommentar"), m_pnlAdvancedSearch);
    lblComment->setBuddy(m_edtSearchComment);
    advanced->addWidget(lblComment, 2, 0);
    advanced->addWidget(m_edtSearchComment, 2, 1, 1, 3);
    advanced->setColumnStretch(4, 1);

    m_pgctrlSearch = new QTabWidget(m_pnlAdvancedSearch);
    m_pgctrlSearch->setObjectName(QStringLiteral("pgctrlSearch"));
    advanced->addWidget(m_pgctrlSearch, 3, 0, 1, 5);

    m_tshTime = searchTab("tshTime");
    m_numedtSearchTTime1 = numericEdit("numedtSearchTTime1", m_tshTime, QStringLiteral("0"), QStringLiteral("999"), 2, true);
    m_numedtSearchTTime2 = numericEdit("numedtSearchTTime2", m_tshTime, QStringLiteral("0"), QStringLiteral("999"), 2, false);
    addRange(rangeLayout(m_tshTime), 0, QStringLiteral("T&id (min)"), m_numedtSearchTTime1, m_numedtSearchTTime2);
    m_pgctrlSearch->addTab(m_tshTime, QStringLiteral("Tidsaktiviteter"));

    m_tshDistance = searchTab("tshDistance");
    m_numedtSearchDDist1 = numericEdit("numedtSearchDDist1", m_tshDistance, QStringLiteral("0"), QStringLiteral("999"), 1, true);
    m_numedtSearchDDist2 = numericEdit("numedtSearchDDist2", m_tshDistance, QStringLiteral("0"), QStringLiteral("999"), 1, false);
    addRange(rangeLayout(m_tshDistance), 0, QStringLiteral("Di&stans (km)"), m_numedtSearchDDist1, m_numedtSearchDDist2);
    m_pgctrlSearch->addTab(m_tshDistance, QStringLiteral("Distansaktiviteter"));

    m_tshTimeDistance = searchTab("tshTimeDistance");
    auto *td = rangeLayout(m_tshTimeDistance);
    m_numedtSearchTDDist1 = numericEdit("numedtSearchTDDist1", m_tshTimeDistance, QStringLiteral("0"), QStringLiteral("999"), 2, true);
    m_numedtSearchTDDist2 = numericEdit("numedtSearchTDDist2", m_tshTimeDistance, QStringLiteral("0"), QStringLiteral("999"), 2, false);
    addRange(td, 0, QStringLiteral("Di&stans (km)"), m_numedtSearchTDDist1, m_numedtSearchTDDist2);
    m_numedtSearchTDTime1 = numericEdit("numedtSearchTDTime1", m_tshTimeDistance, QStringLiteral("0"), QStringLiteral("999"), 2, true);
    m_numedtSearchTDTime2 = numericEdit("numedtSearchTDTime2", m_tshTimeDistance, QStringLiteral("0"), QStringLiteral("999"), 2, false);
    addRange(td, 1, QStringLiteral("T&id (min)"), m_numedtSearchTDTime1, m_numedtSearchTDTime2);
    m_cmbbxSearchCourse = new QComboBox(m_tshTimeDistance);
    m_cmbbxSearchCourse->setObjectName(QStringLiteral("cmbbxSearchCourse"));
    m_cmbbxSearchCourse->setEditable(false);
    m_cmbbxSearchCourse->setMinimumContentsLength(30);
    auto *lblCourse = new QLabel(QStringLiteral("Ba&nbeskrivning"), m_tshTimeDistance);
    lblCourse->setBuddy(m_cmbbxSearchCourse);
    td->addWidget(lblCourse, 2, 0);
    td->addWidget(m_cmbbxSearchCourse, 2, 1, 1, 4);
    m_pgctrlSearch->addTab(m_tshTimeDistance, QStringLiteral("Tid- och distansaktiviteter"));

    m_tshWorkout = searchTab("tshWorkout");
    auto *workout = rangeLayout(m_tshWorkout);
    m_cmbbxSearchWorkProgram = new QComboBox(m_tshWorkout);
    m_cmbbxSearchWorkProgram->setObjectName(QStringLiteral("cmbbxSearchWorkProgram"));
    m_cmbbxSearchWorkProgram->setEditable(false);
    m_cmbbxSearchWorkProgram->setMinimumContentsLength(25);
    auto *lblProgram = new QLabel(QStringLiteral("&Program"), m_tshWorkout);
    lblProgram->setBuddy(m_cmbbxSearchWorkProgram);
    workout->addWidget(lblProgram, 0, 0);
    workout->addWidget(m_cmbbxSearchWorkProgram, 0, 1, 1, 4);
    m_pgctrlSearch->addTab(m_tshWorkout, QStringLiteral("Styrketräning"));

    m_tshGolf = searchTab("tshGolf");
    auto *golf = rangeLayout(m_tshGolf);
    m_numedtSearchGolfHCP1 = numericEdit("numedtSearchGolfHCP1", m_tshGolf, QStringLiteral("-15"), QStringLiteral("54"), 1, true);
    m_numedtSearchGolfHCP2 = numericEdit("numedtSearchGolfHCP2", m_tshGolf, QStringLiteral("-15"), QStringLiteral("54"), 1, false);
    addRange(golf, 0, QStringLiteral("HC&P"), m_numedtSearchGolfHCP1, m_numedtSearchGolfHCP2);
    m_numedtSearchGolfStroke1 = numericEdit("numedtSearchGolfStroke1", m_tshGolf, QStringLiteral("0"), QStringLiteral("9999"), 0, true);
    m_numedtSearchGolfStroke2 = numericEdit("numedtSearchGolfStroke2", m_tshGolf, QStringLiteral("0"), QStringLiteral("9999"), 0, false);
    addRange(golf, 1, QStringLiteral("Sla&g"), m_numedtSearchGolfStroke1, m_numedtSearchGolfStroke2);
    m_pgctrlSearch->addTab(m_tshGolf, QStringLiteral("Golf"));

    m_tshGame = searchTab("tshGame");
    auto *game = rangeLayout(m_tshGame);
    m_edtSearchGameGame = new QLineEdit(m_tshGame);
    m_edtSearchGameGame->setObjectName(QStringLiteral("edtSearchGameGame"));
    m_edtSearchGameGame->setMaxLength(100);
    auto *lblGame = new QLabel(QStringLiteral("&Match"), m_tshGame);
    lblGame->setBuddy(m_edtSearchGameGame);
    game->addWidget(lblGame, 0, 0);
    game->addWidget(m_edtSearchGameGame, 0, 1, 1, 4);
    m_pgctrlSearch->addTab(m_tshGame, QStringLiteral("Matchaktiviteter"));

    m_pgctrlSearch->setCurrentWidget(m_tshTime);
    m_pnlAdvancedSearch->setVisible(false);
    page->addWidget(m_pnlAdvancedSearch);
    page->addStretch(0);

    // The courses follow the place and the distance range.
    connect(m_edtSearchLocation, &QLineEdit::editingFinished, this, [this] { Guard([this] { UpdateSearchCourses(); }); });
    for (TNumericalEdit *edit : {m_numedtSearchTDDist1, m_numedtSearchTDDist2})
        connect(edit, &TNumericalEdit::Exit, this, [this] { Guard([this] { UpdateSearchCourses(); }); });
}

void TfrmMain::BuildEntryPages()
{
    // Each entry page stands on a tab page of its own.
    const auto tabPage = [](const char *name, TActivityPage *page) {
        auto *tab = new QWidget;
        tab->setObjectName(QLatin1String(name));
        auto *layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        page->setParent(tab);
        layout->addWidget(page);
        return tab;
    };
    m_pgNew = new TActivityPage(m_app, TEntryPageKind::New);
    m_pgEdit = new TActivityPage(m_app, TEntryPageKind::Edit);
    m_tshNew = tabPage("tshNew", m_pgNew);
    m_tshEdit = tabPage("tshEdit", m_pgEdit);
}

void TfrmMain::BuildResultPage()
{
    m_tshResult = new QWidget;
    m_tshResult->setObjectName(QStringLiteral("tshResult"));
    auto *layout = new QVBoxLayout(m_tshResult);
    layout->setContentsMargins(0, 0, 0, 0);
    m_cplxgrdMain = new TComplexGrid(m_tshResult);
    m_cplxgrdMain->setObjectName(QStringLiteral("cplxgrdMain"));
    layout->addWidget(m_cplxgrdMain);

    // Never shown: every catalogue column of the listed activities.
    m_cplxgrdAllColumns = new TComplexGrid(this);
    m_cplxgrdAllColumns->setObjectName(QStringLiteral("cplxgrdAllColumns"));
    m_cplxgrdAllColumns->setVisible(false);

    for (TComplexGrid *grid : {m_cplxgrdMain, m_cplxgrdAllColumns}) {
        grid->BeginUpdate();
        grid->SetFixedCols(0);
        grid->SetRowCount(2);
        grid->SetFixedRows(1);
        grid->EndUpdate();
    }
    // The title row holds two lines: heading and unit.
    m_cplxgrdMain->SetRowHeights(0, 2 * m_cplxgrdMain->DefaultRowHeight());

    connect(m_cplxgrdMain, &TComplexGrid::OnBeforeSorted, this,
            [this](bool &cursor) { Guard([this, &cursor] { cplxgrdMainBeforeSorted(cursor); }); });
    connect(m_cplxgrdMain, &TComplexGrid::OnAfterSorted, this,
            [this](bool &cursor) { Guard([this, &cursor] { cplxgrdMainAfterSorted(cursor); }); });
    connect(m_cplxgrdMain, &TComplexGrid::OnSelectCell, this, [this](int col, int row, bool &canSelect) {
        Guard([this, col, row, &canSelect] { cplxgrdMainSelectCell(col, row, canSelect); });
    });
    connect(m_cplxgrdMain, &TComplexGrid::OnFindSuccess, this,
            [this](int col, int row) { Guard([this, col, row] { cplxgrdMainFindSuccess(col, row); }); });
    connect(m_cplxgrdMain, &TComplexGrid::OnFindNotSuccess, this,
            [this] { Guard([this] { cplxgrdMainFindNotSuccess(); }); });
    connect(m_cplxgrdMain, &QAbstractItemView::doubleClicked, this, [this] { Guard([this] { ShowSelectedActivity(); }); });
    connect(m_cplxgrdMain->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) { Guard([this, section, newSize] { cplxgrdMainSectionResized(section, newSize); }); });
    m_cplxgrdMain->installEventFilter(this);
    m_cplxgrdMain->viewport()->installEventFilter(this);
    m_cplxgrdMain->horizontalHeader()->viewport()->installEventFilter(this);
}

void TfrmMain::SetUpListGrid()
{
    m_gridColumns = std::make_unique<TGridActivityColumns>();
    m_gridColumns->SetCatalogue(&m_app.GetActivityColumns());
    m_gridColumns->SetExercises(&m_app.GetExercises());
    m_gridColumns->SetExercisePrograms(&m_app.GetExercisePrograms());
    m_gridColumns->SetExerciseColumnSettings(&m_app.GetExerciseColumnSettings());
    m_gridColumns->SetActivities(&m_app.GetActivities());
    m_gridColumns->SetGrid(m_cplxgrdMain);
    TDefRegistry registry(TDefRegistry::THive::User);
    m_app.GetActivityColumns().ReadWidths(registry);
    ApplyGridColumns();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (m_cplxgrdMain && watched == m_cplxgrdMain && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !(key->modifiers() & Qt::ShiftModifier)) {
            Guard([this] { ShowSelectedActivity(); });
            return true;
        }
    }
    if (m_cplxgrdMain && event->type() == QEvent::MouseButtonRelease
        && (watched == m_cplxgrdMain->viewport() || watched == m_cplxgrdMain->horizontalHeader()->viewport()))
        Guard([this] { cplxgrdMainMouseUp(); });
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Lists of the search page

void TfrmMain::FillActivityLists()
{
    QStringList names;
    m_app.GetActivityNames(&names);
    QCollator collator(QLocale(QLocale::Swedish, QLocale::Sweden));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    {
        const QScopedValueRollback<bool> guard(m_settingChecks, true);
        m_chklstbxSearchActivity->clear();
        for (const QString &name : names) {
            auto *item = new QListWidgetItem(name, m_chklstbxSearchActivity);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    m_pgNew->SetActivityNames(names);
    const TActivityNames &activityNames = m_app.GetActivityNameList();
    m_pgctrlSearch->setTabText(m_pgctrlSearch->indexOf(m_tshWorkout), activityNames.NameOfCode(QStringLiteral("WOR")));
    m_pgctrlSearch->setTabText(m_pgctrlSearch->indexOf(m_tshGolf), activityNames.NameOfCode(QStringLiteral("GOL")));
}

void TfrmMain::SetAllSearchActivities(bool checked)
{
    const QScopedValueRollback<bool> guard(m_settingChecks, true);
    for (int i = 0; i < m_chklstbxSearchActivity->count(); ++i)
        m_chklstbxSearchActivity->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmMain::ReadSearchActivities(QStringList &names) const
{
    TTulloUtilCheckListBox::CheckedItems(m_chklstbxSearchActivity, &names);
}

void TfrmMain::btnSelectClick(QObject *sender)
{
    SetAllSearchActivities(sender && sender->objectName() == QLatin1String("btnSelectAll"));
    FillSearchCourses();
}

void TfrmMain::btnAdvancedSearchClick()
{
    // Asked of the panel itself: it is not visible while its page is not.
    const bool show = m_pnlAdvancedSearch->isHidden();
    m_pnlAdvancedSearch->setVisible(show);
    m_btnAdvancedSearch->setText(show ? hideAdvanced : showAdvanced);
}

void TfrmMain::chklstbxSearchActivityClickCheck(QListWidgetItem *item)
{
    FillSearchCourses();
    if (!item || item->checkState() != Qt::Checked)
        return;
    // The advanced page that fits the class of the activity just checked;
    // the tests run from the most special class to the most general.
    const std::unique_ptr<TActivity> activity = m_app.CreateActivity(item->text());
    QWidget *page = nullptr;
    if (dynamic_cast<TWorkout *>(activity.get()))
        page = m_tshWorkout;
    else if (dynamic_cast<TTimeDistanceActivity *>(activity.get()))
        page = m_tshTimeDistance;
    else if (dynamic_cast<TGame *>(activity.get()))
        page = m_tshGame;
    else if (dynamic_cast<TSimpleTimeActivity *>(activity.get()))
        page = m_tshTime;
    else if (dynamic_cast<TSimpleActivity *>(activity.get()))
        page = nullptr;
    else if (dynamic_cast<TDistanceActivity *>(activity.get()))
        page = m_tshDistance;
    else if (dynamic_cast<TGolf *>(activity.get()))
        page = m_tshGolf;
    else if (dynamic_cast<TOther *>(activity.get()) || dynamic_cast<TCardioMeasure *>(activity.get()))
        page = nullptr;
    else
        throw EUIError(QStringLiteral("Invalid activity. Main 02"));
    if (page)
        m_pgctrlSearch->setCurrentWidget(page);
}

void TfrmMain::UpdateSearchCourses()
{
    FillSearchCourses();
}

void TfrmMain::FillSearchCourses()
{
    // Without an open diary there is nothing to list.
    if (m_app.State() != TCorvaleApp::TState::Open)
        return;
    QString kept;
    if (m_chklstbxSearchActivity->currentItem())
        kept = m_cmbbxSearchCourse->currentText();
    QStringList names;
    ReadSearchActivities(names);
    QStringList texts;
    m_app.ListCourses(&names, m_edtSearchLocation->text(), m_numedtSearchTDDist1->Value(), m_numedtSearchTDDist2->Value(),
                      &texts, &m_searchCourseNrs);
    const QSignalBlocker blocker(m_cmbbxSearchCourse);
    m_cmbbxSearchCourse->clear();
    m_cmbbxSearchCourse->addItem(QString());
    m_cmbbxSearchCourse->addItems(texts);
    const int index = kept.isEmpty() ? 0 : m_cmbbxSearchCourse->findText(kept, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_cmbbxSearchCourse->setCurrentIndex(qMax(0, index));
}

void TfrmMain::FillWorkPrograms()
{
    const qint32 search = chosenProgram(m_cmbbxSearchWorkProgram, m_searchProgramIds);
    QList<qint32> ids;
    QStringList names;
    m_app.GetExercisePrograms().GetPrograms(ids, names);
    fillPrograms(m_cmbbxSearchWorkProgram, m_searchProgramIds, ids, names, search);
    // The entry pages keep their own choices and run their change handlers.
    m_pgNew->FillWorkPrograms();
    m_pgEdit->FillWorkPrograms();
}

void TfrmMain::ReadSearchParams(TSearchParams &params)
{
    params.DateFrom = m_wwdtpSearchDate1->Text();
    params.DateTo = m_wwdtpSearchDate2->Text();
    params.Place = m_edtSearchLocation->text();
    params.Comment = m_edtSearchComment->text();
    params.TimeFrom = m_numedtSearchTTime1->Value();
    params.TimeTo = m_numedtSearchTTime2->Value();
    params.TDTimeFrom = m_numedtSearchTDTime1->Value();
    params.TDTimeTo = m_numedtSearchTDTime2->Value();
    params.TDDistFrom = m_numedtSearchTDDist1->Value();
    params.TDDistTo = m_numedtSearchTDDist2->Value();
    params.DistFrom = m_numedtSearchDDist1->Value();
    params.DistTo = m_numedtSearchDDist2->Value();
    params.Game = m_edtSearchGameGame->text();
    params.HcpFrom = m_numedtSearchGolfHCP1->Value();
    params.HcpTo = m_numedtSearchGolfHCP2->Value();
    params.StrokesFrom = m_numedtSearchGolfStroke1->Value();
    params.StrokesTo = m_numedtSearchGolfStroke2->Value();
    params.ProgramId = chosenId(m_cmbbxSearchWorkProgram, m_searchProgramIds);
    params.WeightFrom = m_numedtSearchWeight1->Value();
    params.WeightTo = m_numedtSearchWeight2->Value();
    params.CourseId = chosenId(m_cmbbxSearchCourse, m_searchCourseNrs);
}

void TfrmMain::ClearSearchPage()
{
    // The date pickers are emptied in place; the clipboard is left alone.
    m_wwdtpSearchDate1->Clear();
    m_wwdtpSearchDate2->Clear();
    // The match text goes too: a criterion left behind on a page out of
    // sight would quietly narrow the next search.
    for (QLineEdit *edit : {m_edtSearchLocation, m_edtSearchComment, m_edtSearchGameGame})
        edit->clear();
    for (TNumericalEdit *edit :
         {m_numedtSearchWeight1, m_numedtSearchWeight2, m_numedtSearchTTime1, m_numedtSearchTTime2, m_numedtSearchTDTime1,
          m_numedtSearchTDTime2, m_numedtSearchTDDist1, m_numedtSearchTDDist2, m_numedtSearchDDist1, m_numedtSearchDDist2,
          m_numedtSearchGolfHCP1, m_numedtSearchGolfHCP2, m_numedtSearchGolfStroke1, m_numedtSearchGolfStroke2})
        edit->SetValue(QString());
    btnSelectClick(m_btnSelectAll);
    for (QComboBox *combo : {m_cmbbxSearchWorkProgram, m_cmbbxSearchCourse}) {
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    m_wwdtpSearchDate1->setFocus();
}

// ---------------------------------------------------------------------------
// The list

int TfrmMain::IdColumn() const
{
    if (!m_gridColumns)
        return -1;
    return m_gridColumns->ColumnOfKind(m_cplxgrdMain, TColumnKind::cId);
}

void TfrmMain::ApplyGridColumns()
{
    {
        // The widths the layout gives are no user's drag.
        const QScopedValueRollback<bool> guard(m_fixingWidth, true);
        m_gridColumns->ApplyToGrid();
    }
    KeepIdColumnNarrow();
    // The last column before the key column takes what the others leave of
    // the list's width; the catalogue keeps the width it was given.
    const int idColumn = IdColumn();
    const int lastShown = m_cplxgrdMain->ColCount() - 1 == idColumn ? idColumn - 1 : m_cplxgrdMain->ColCount() - 1;
    m_cplxgrdMain->SetStretchCol(lastShown >= m_cplxgrdMain->FixedCols() ? lastShown : -1);
    // The current cell never stands in the key column.
    if (idColumn > 0 && m_cplxgrdMain->Col() >= idColumn)
        m_cplxgrdMain->SetCol(0);
    m_gridColumns->FillAllCaptions(m_cplxgrdAllColumns);
}

void TfrmMain::KeepIdColumnNarrow()
{
    const int idColumn = IdColumn();
    if (idColumn < 0
        || (m_cplxgrdMain->ColWidths(idColumn) == 1 && m_cplxgrdMain->horizontalHeader()->sectionSize(idColumn) == 1))
        return;
    const QScopedValueRollback<bool> guard(m_fixingWidth, true);
    m_cplxgrdMain->SetColWidths(idColumn, 1);
}

void TfrmMain::cplxgrdMainSectionResized(int section, int newSize)
{
    if (m_fixingWidth || m_cplxgrdMain->ApplyingWidths())
        return;
    const int col = section + m_cplxgrdMain->FixedCols();
    if (col == IdColumn()) {
        KeepIdColumnNarrow();
        return;
    }
    // The grid keeps the widths it was given; a column the user dragged
    // wider is told to it, so that the catalogue can take the width over.
    if (col < m_cplxgrdMain->ColCount() && m_cplxgrdMain->ColWidths(col) != newSize) {
        const QScopedValueRollback<bool> guard(m_fixingWidth, true);
        m_cplxgrdMain->SetColWidths(col, newSize);
    }
}

void TfrmMain::cplxgrdMainMouseUp()
{
    if (m_gridColumns)
        m_gridColumns->ReadWidthsFromGrid();
}

void TfrmMain::cplxgrdMainSelectCell(int col, int row, bool &canSelect)
{
    if (col == IdColumn()) {
        canSelect = false;
        return;
    }
    UpdateActivityCounterAt(row);
}

void TfrmMain::ClearResult()
{
    for (TComplexGrid *grid : {m_cplxgrdMain, m_cplxgrdAllColumns}) {
        TGridFill fill(grid);
        grid->SetRowCount(grid->FixedRows() + 1);
        grid->ClearCells();
    }
    // The activity "Ändra" showed is no longer loaded; the page forgets it
    // so that nothing saves or copies from a freed activity.
    m_pgEdit->ClearShown();
    m_app.ClearLoaded();
}

void TfrmMain::UpdateActivityCounter()
{
    UpdateActivityCounterAt(m_cplxgrdMain->Row());
}

void TfrmMain::UpdateActivityCounterAt(int row)
{
    if (m_app.State() == TCorvaleApp::TState::Shell) {
        m_counter->clear();
        return;
    }
    const int loaded = m_app.GetLoadedCount();
    if (loaded > 0)
        m_counter->setText(QString::number(row - m_cplxgrdMain->FixedRows() + 1) + QLatin1Char('/')
                           + TTulloUtilString::CountText(loaded, ActivityPlural));
    else
        m_counter->setText(TTulloUtilString::CountText(0, ActivityPlural));
}

void TfrmMain::FillRows(const QList<int> &numbers)
{
    TGridFill listFill(m_cplxgrdMain), allFill(m_cplxgrdAllColumns);
    for (TComplexGrid *grid : {m_cplxgrdMain, m_cplxgrdAllColumns})
        grid->SetRowCount(grid->FixedRows() + qMax(1, int(numbers.size())));
    // The list shows some of the full grid's columns: each text is computed
    // once, for the full grid, and copied.
    for (int i = 0; i < numbers.size(); ++i)
        m_gridColumns->FillActivityRows(m_cplxgrdAllColumns, m_cplxgrdAllColumns->FixedRows() + i, m_cplxgrdMain,
                                        m_cplxgrdMain->FixedRows() + i, numbers.at(i));
    for (TComplexGrid *grid : {m_cplxgrdMain, m_cplxgrdAllColumns})
        TTulloUtilGrid::SetDataRowCount(grid, m_app.GetLoadedCount());
}

void TfrmMain::RunSearch()
{
    // A date typed that is no date is refused, never searched as no date.
    m_wwdtpSearchDate1->Check();
    m_wwdtpSearchDate2->Check();
    SetStatus(QStringLiteral("Söker..."));
    std::optional<TBusyPeriod> busy;
    busy.emplace(m_cursor, BusyId);
    try {
        QStringList names;
        ReadSearchActivities(names);
        ResetProgress(100 / (int(names.size()) + 1));
        ClearResult();
        TSearchParams params;
        ReadSearchParams(params);
        QList<int> numbers;
        m_app.SearchActivities(names, params, numbers);

        FillRows(numbers);
        m_cplxgrdMain->SetColSortStyle(0, TSortStyle::Date);
        m_cplxgrdMain->ResetDirections();
        SetProgress(m_pgsbrMain->maximum());
        SetStatus(QString());
        SetProgress(95);

        TSortRecord order;
        if (m_app.GetSettings().SearchSort == TSettingsValues::TSearchSort::Activity) {
            order.Cols = {1, -1, -1};
            order.Styles[0] = TSortStyle::Alphabetic;
        } else {
            order.Cols = {0, -1, -1};
            order.Styles[0] = TSortStyle::Date;
        }
        m_cplxgrdMain->Sort(order);
        SetProgress(100);

        ShowPage(m_tshResult);
        m_cplxgrdMain->setFocus();
        const int loaded = m_app.GetLoadedCount();
        TTulloUtilGrid::SelectDataRow(m_cplxgrdMain, loaded);
        TTulloUtilGrid::SelectDataRow(m_cplxgrdAllColumns, loaded);
    } catch (...) {
        SetProgress(0);
        busy.reset();
        UpdateControls();
        throw;
    }
    SetProgress(0);
    busy.reset();
    UpdateControls();
}

void TfrmMain::SearchAtStart()
{
    if (!m_app.GetSettings().SearchAtStart)
        return;
    ShowPage(m_tshSearch);
    try {
        m_wwdtpSearchDate1->SetText(QString::number(QDate::currentDate().year()) + QStringLiteral("-01-01"));
    } catch (const EConvertError &) {
        return;
    }
    m_wwdtpSearchDate1->repaint();
    RunSearch();
    m_wwdtpSearchDate1->Clear();
    ShowPage(m_tshNew);
    UpdateControls();
}

void TfrmMain::cplxgrdMainBeforeSorted(bool &cursor)
{
    cursor = false;
    SetStatus(QStringLiteral("Sorterar..."));
    const int idColumn = IdColumn();
    m_keyBeforeSort = idColumn >= 0 ? m_cplxgrdMain->Cells(idColumn, m_cplxgrdMain->Row()) : QString();
    statusBar()->repaint();
    m_cursor.AddId(BusyId, true);
}

void TfrmMain::cplxgrdMainAfterSorted(bool &cursor)
{
    cursor = false;
    // Whatever happens below, the busy period begun before the sort ends.
    struct TEndBusy
    {
        TCursorManagement &cursor;
        ~TEndBusy() { cursor.RemoveId(BusyId); }
    } endBusy{m_cursor};
    const int idColumn = IdColumn();
    if (idColumn >= 0) {
        for (int row = m_cplxgrdMain->FixedRows(); row < m_cplxgrdMain->RowCount(); ++row) {
            if (m_cplxgrdMain->Cells(idColumn, row) == m_keyBeforeSort) {
                m_cplxgrdMain->SetRow(row);
                break;
            }
        }
    }
    SetStatus(QString());
}

void TfrmMain::ShowSelectedActivity()
{
    if (m_entry)
        m_entry->ShowSelectedActivity();
}

// ---------------------------------------------------------------------------
// Column settings

void TfrmMain::FillColumnPresets()
{
    TColumnSettings &settings = m_app.GetColumnSettings();
    const QList<qint32> ids = settings.GetIds();
    {
        const QSignalBlocker blocker(m_cmbbxColumnPreset);
        m_cmbbxColumnPreset->clear();
        m_columnPresetIds.Clear();
        for (const qint32 id : ids) {
            m_cmbbxColumnPreset->addItem(settings.Get(id).Name);
            m_columnPresetIds.Add(id);
        }
    }
    const int current = m_columnPresetIds.IndexOf(settings.GetCurrent());
    if (current >= 0) {
        const QSignalBlocker blocker(m_cmbbxColumnPreset);
        m_cmbbxColumnPreset->setCurrentIndex(current);
        ApplyColumnSetting(settings.GetCurrent());
    }
}

void TfrmMain::cmbbxColumnPresetChange(int index)
{
    if (index < 0 || index >= m_columnPresetIds.Count())
        return;
    ApplyColumnSetting(m_columnPresetIds.Items(index));
}

void TfrmMain::ApplyColumnSetting(int id)
{
    SetStatus(QStringLiteral("Byter kolumninställningar"));
    struct TClearStatus
    {
        TfrmMain *window;
        ~TClearStatus() { window->SetStatus(QString()); }
    } clearStatus{this};
    TBusyPeriod busy(m_cursor, BusyId);

    m_app.SetCurrentColumnSetting(id);
    const TColumnKindSet columns = m_app.GetColumnSettings().Get(id).Columns;

    // The listed activities, in the list's order, to fill the new columns.
    QList<int> keys;
    const int loaded = m_app.GetLoadedCount();
    const int idColumn = IdColumn();
    if (idColumn >= 0) {
        for (int r = 0; r < loaded && m_cplxgrdMain->FixedRows() + r < m_cplxgrdMain->RowCount(); ++r)
            keys.append(m_cplxgrdMain->Cells(idColumn, m_cplxgrdMain->FixedRows() + r).toInt());
    }

    TActivityColumns &catalogue = m_app.GetActivityColumns();
    for (int i = 0; i < catalogue.Count(); ++i) {
        TActivityColumn entry = catalogue.At(i);
        entry.Visible = columns.Contains(entry.Kind);
        catalogue.Update(entry);
    }
    const int row = m_cplxgrdMain->Row();
    ApplyGridColumns();
    {
        TGridFill fill(m_cplxgrdMain);
        for (int r = 0; r < keys.size(); ++r)
            m_gridColumns->FillActivityRow(m_cplxgrdMain, m_cplxgrdMain->FixedRows() + r, keys.at(r));
    }
    if (row < m_cplxgrdMain->RowCount())
        m_cplxgrdMain->SetRow(row);
    ShowPage(m_tshResult);
}

// ---------------------------------------------------------------------------
// Menu actions on the list

void TfrmMain::mnuiSearchClick()
{
    if (!IsActiveMain())
        return;
    RunSearch();
}

void TfrmMain::mnuiSortClick()
{
    if (!IsActiveMain())
        return;
    TfrmSort &frmSort = CorvaleForms().SortDialog(this);
    frmSort.SetRegistryKey(mainSortKey);
    frmSort.SetDateMode(true);
    frmSort.SetGrid(m_cplxgrdMain);
    if (frmSort.exec() == QDialog::Accepted)
        m_cplxgrdMain->Sort(frmSort.GetSortRecord());
}

void TfrmMain::mnuiFindTextClick()
{
    if (!IsActiveMain())
        return;
    TfrmFind &frmFind = CorvaleForms().FindDialog(this);
    frmFind.SetRegistryKey(mainFindKey);
    if (frmFind.exec() != QDialog::Accepted)
        return;
    m_findText = frmFind.Text();
    ShowFindStatus();
    m_cplxgrdMain->Find(m_findText, frmFind.FromCursor(), frmFind.MatchCase(), frmFind.Backwards(), false);
    UpdateControls();
}

void TfrmMain::mnuiFindTextAgainClick()
{
    if (!IsActiveMain() || m_findText.isEmpty())
        return;
    ShowFindStatus();
    m_cplxgrdMain->FindNext();
}

void TfrmMain::ShowFindStatus()
{
    SetStatus(QStringLiteral("Söker efter ") + m_findText + QStringLiteral("..."));
}

void TfrmMain::cplxgrdMainFindSuccess(int col, int row)
{
    SetStatus(QStringLiteral("Sökningen lyckades (") + m_cplxgrdMain->FindText() + QLatin1Char(')'));
    // A hit in the key column shows its row; that column is never current.
    if (col != IdColumn())
        m_cplxgrdMain->SetCol(col);
    m_cplxgrdMain->SetRow(row);
}

void TfrmMain::cplxgrdMainFindNotSuccess()
{
    SetStatus(QString());
    ShowMessageBox(QStringLiteral("Sökningen misslyckades (") + m_cplxgrdMain->FindText() + QLatin1Char(')'),
                   TMessageKind::Information, TMessageButton::OK);
}

void TfrmMain::mnuiNextPrevActClick(bool next)
{
    if (!IsActiveMain())
        return;
    if (next)
        TTulloUtilGrid::SelectNextRow(m_cplxgrdMain);
    else
        TTulloUtilGrid::SelectPreviousRow(m_cplxgrdMain);
    ShowSelectedActivity();
}

void TfrmMain::mnuiClearClick()
{
    if (!IsActiveMain())
        return;
    QWidget *front = m_pgctrlMain->currentWidget();
    if (front == m_tshSearch)
        ClearSearchPage();
    else if (front == m_tshEdit)
        m_pgEdit->Clear();
    else if (front == m_tshNew)
        m_pgNew->Clear();
    UpdateControls();
}

// ---------------------------------------------------------------------------
// Pages and enabling

void TfrmMain::ShowPage(QWidget *page)
{
    const QSignalBlocker blocker(m_pgctrlMain);
    m_pgctrlMain->setCurrentWidget(page);
}

void TfrmMain::pgctrlMainChange()
{
    SetStatus(QString());
    QWidget *front = m_pgctrlMain->currentWidget();
    if (front == m_tshEdit)
        ShowSelectedActivity();
    else if (front == m_tshNew)
        m_pgNew->cmbbxNewActivityChange(false);
    else if (m_entry)
        m_entry->UpdateCurrentCourse();
    UpdateControls();
}

void TfrmMain::UpdateControls()
{
    const bool open = m_app.State() == TCorvaleApp::TState::Open;
    const int loaded = open ? m_app.GetLoadedCount() : 0;
    QWidget *front = m_pgctrlMain->currentWidget();
    const bool onSearch = front == m_tshSearch;
    const bool onEdit = front == m_tshEdit;
    const bool onNew = front == m_tshNew;
    const bool onResult = front == m_tshResult;

    m_pgctrlMain->setTabEnabled(m_pgctrlMain->indexOf(m_tshEdit), loaded > 0);
    // The page item follows its page.
    if (m_mnuiEditPage)
        m_mnuiEditPage->setEnabled(loaded > 0);
    // The course lock and the pickers' pictures of both pages.
    m_pgNew->UpdateControls();
    m_pgEdit->UpdateControls();
    m_tbtnRemove->setEnabled(onResult && loaded > 0);
    m_tbtnSave->setEnabled(open && (onNew || (onEdit && loaded > 0)));
    m_mnuiSave->setEnabled(m_tbtnSave->isEnabled());
    m_mnuiRemove->setEnabled(m_tbtnRemove->isEnabled());
    m_mnuiExport->setEnabled(m_tbtnRemove->isEnabled());
    m_mnuiChooseCourse->setEnabled(open && m_entry && m_entry->ChooseCourseEnabled());
    m_mnuiRemoveCourse->setEnabled(open && m_entry && m_entry->RemoveCourseEnabled());
    m_mnuiCopyFromEdit->setEnabled(open && m_entry && m_entry->CopyFromEditEnabled());
    m_mnuiGolf->setEnabled(open && m_entry && m_entry->GolfEnabled());

    m_tbtnSearch->setEnabled(onSearch && open);
    m_tbtnSort->setEnabled(onResult && loaded > 0);
    m_tbtnClear->setEnabled(!onResult);
    m_mnuiSearch->setEnabled(m_tbtnSearch->isEnabled());
    m_mnuiSort->setEnabled(m_tbtnSort->isEnabled());
    m_mnuiClear->setEnabled(m_tbtnClear->isEnabled());
    m_tbtnCalendar->setEnabled(loaded > 0);
    m_mnuiCalendar->setEnabled(m_tbtnCalendar->isEnabled());
    m_tbtnColumnPresets->setEnabled(open);
    m_mnuiColumnPresets->setEnabled(m_tbtnColumnPresets->isEnabled());
    // The settings window shows the names of the open diary.
    m_tbtnSettings->setEnabled(open);
    m_mnuiSettings->setEnabled(open);

    m_mnuiFind->setEnabled(onResult && loaded > 0);
    m_mnuiFindAgain->setEnabled(m_mnuiFind->isEnabled() && !m_findText.isEmpty());
    m_mnuiNextAct->setEnabled(loaded >= 1 && (onResult || onEdit));
    m_mnuiPreviousAct->setEnabled(m_mnuiNextAct->isEnabled());
    UpdatePrintControls(onEdit, onResult, loaded);
    m_tbtnRecord->setEnabled(open);
    m_mnuiRecord->setEnabled(m_tbtnRecord->isEnabled());
    m_tbtnFrequency->setEnabled(loaded > 0);
    m_mnuiFrequency->setEnabled(m_tbtnFrequency->isEnabled());
    m_tbtnReplay->setEnabled(loaded > 0);
    m_mnuiReplay->setEnabled(m_tbtnReplay->isEnabled());
    m_tbtnReport->setEnabled(loaded > 0);
    m_mnuiReport->setEnabled(m_tbtnReport->isEnabled());

    UpdateActivityCounter();
}
