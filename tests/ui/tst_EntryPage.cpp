// The "Ny" and "Ändra" pages and the flows that save, show, copy and remove
// their activities, driven on real widgets against a real diary: the
// running session with laps and a course, the refusals with their messages
// and focus, the pickers, the golf card, failed saves, and a round trip
// through both pages for every activity type.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "columns/ActivityColumns.h"
#include "columns/ColumnSettings.h"
#include "columns/GridActivityColumns.h"
#include "foundation/CompGrid.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DatePicker.h"
#include "foundation/DbClient.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "model/Activities.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"
#include "ui/EntryController.h"
#include "ui/EntryGrid.h"
#include "ui/EntryPage.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
QAtomicInt serial;

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_EntryPage-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

bool install(const TTestFolders &folders, const QVariantMap &settings)
{
    const QString path = folders.DataFolder() + QStringLiteral("/Corvale1.gdb");
    DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    auto user = SettingsFiles::OpenStore(SettingsFiles::THive::User);
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        user->setValue(it.key(), it.value());
    return true;
}

// The value every named control of a page shows, by its name with the
// page's part ("New" or "Edit") replaced by "*".
QMap<QString, QString> pageValues(TActivityPage &page)
{
    QMap<QString, QString> values;
    const QString prefix = page.Prefix();
    const QList<QWidget *> widgets = page.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        QString name = widget->objectName();
        if (!name.contains(prefix) || name.startsWith(QLatin1String("qt_")))
            continue;
        name.replace(name.indexOf(prefix), prefix.size(), QStringLiteral("*"));
        QString value;
        if (auto *edit = qobject_cast<TPGCustomEdit *>(widget))
            value = edit->Value();
        else if (auto *line = qobject_cast<QLineEdit *>(widget))
            value = line->text();
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget))
            value = memo->toPlainText();
        else if (auto *slider = qobject_cast<QSlider *>(widget))
            value = QString::number(slider->value());
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            value = combo->currentText();
        else if (auto *check = qobject_cast<QCheckBox *>(widget))
            value = check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
        else if (auto *date = qobject_cast<TDatePicker *>(widget))
            value = date->Text();
        else if (auto *grid = qobject_cast<TEntryGrid *>(widget)) {
            for (int row = 0; row < grid->RowCount(); ++row) {
                for (int col = 0; col < grid->ColCount(); ++col)
                    value += grid->Cells(col, row) + QLatin1Char('|');
            }
        } else if (auto *complex = qobject_cast<TComplexGrid *>(widget)) {
            for (int row = 0; row < complex->RowCount(); ++row) {
                for (int col = 0; col < complex->ColCount(); ++col)
                    value += complex->Cells(col, row) + QLatin1Char('|');
            }
        } else if (auto *label = qobject_cast<QLabel *>(widget); label && name.startsWith(QLatin1String("lbl")))
            value = label->text();
        else
            continue;
        values.insert(name, value);
    }
    return values;
}

// A real diary opened by the application object, the two entry pages on
// the pages of a tab control, the activity list and the grid of every
// column as the main window keeps them, and the entry flows between them.
// Every modal window is answered: message boxes are recorded and answered
// from `answers` (OK when it is empty), other dialogs by `dialog`.
class TEntryFixture : public TEntryHost
{
public:
    explicit TEntryFixture(const QVariantMap &settings = {})
        : m_installed(install(m_folders, settings)), m_app(options()),
          m_watcher([this](QWidget *window) { Answer(window); })
    {
        m_app.OpenDatabase();
        AddReferenceData();

        m_window.resize(1200, 900);
        auto *layout = new QVBoxLayout(&m_window);
        m_tabs = new QTabWidget(&m_window);
        m_tabs->setObjectName(QStringLiteral("pgctrlMain"));
        layout->addWidget(m_tabs);
        m_tshSearch = new QWidget;
        m_editPage = new TActivityPage(m_app, TEntryPageKind::Edit);
        m_newPage = new TActivityPage(m_app, TEntryPageKind::New);
        m_tshResult = new QWidget;
        auto *resultLayout = new QVBoxLayout(m_tshResult);
        m_list = new TComplexGrid(m_tshResult);
        m_list->setObjectName(QStringLiteral("cplxgrdMain"));
        resultLayout->addWidget(m_list);
        m_all = new TComplexGrid(&m_window);
        m_all->setVisible(false);
        m_tabs->addTab(m_tshSearch, QStringLiteral("Sök"));
        m_tabs->addTab(m_editPage, QStringLiteral("Ändra"));
        m_tabs->addTab(m_newPage, QStringLiteral("Ny"));
        m_tabs->addTab(m_tshResult, QStringLiteral("Sökresultat"));

        for (TComplexGrid *grid : {m_list, m_all}) {
            grid->BeginUpdate();
            grid->SetFixedCols(0);
            grid->SetRowCount(2);
            grid->SetFixedRows(1);
            grid->EndUpdate();
        }
        m_columns.SetCatalogue(&m_app.GetActivityColumns());
        m_columns.SetExercises(&m_app.GetExercises());
        m_columns.SetExercisePrograms(&m_app.GetExercisePrograms());
        m_columns.SetExerciseColumnSettings(&m_app.GetExerciseColumnSettings());
        m_columns.SetActivities(&m_app.GetActivities());
        m_columns.SetGrid(m_list);
        // The columns of the current column setting, as the main window shows
        // them: the Id column last.
        const TColumnKindSet shownColumns = m_app.GetColumnSettings().Get(m_app.GetColumnSettings().GetCurrent()).Columns;
        TActivityColumns &catalogue = m_app.GetActivityColumns();
        for (int i = 0; i < catalogue.Count(); ++i) {
            TActivityColumn entry = catalogue.At(i);
            entry.Visible = shownColumns.Contains(entry.Kind);
            catalogue.Update(entry);
        }
        m_columns.ApplyToGrid();
        m_columns.FillAllCaptions(m_all);
        m_rows = std::make_unique<TEntryListRows>(m_app, m_columns, m_list, m_all);

        QStringList names;
        m_app.GetActivityNames(&names);
        QCollator collator(QLocale(QLocale::Swedish, QLocale::Sweden));
        std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        m_newPage->SetActivityNames(names);
        m_newPage->FillWorkPrograms();
        m_editPage->FillWorkPrograms();
        m_controller = std::make_unique<TEntryController>(m_app, m_cursor, *m_newPage, *m_editPage, *m_rows, *this, &m_window);
        m_tabs->setCurrentWidget(m_newPage);

        m_window.show();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TCorvaleApp &App() { return m_app; }
    TEntryController &Controller() { return *m_controller; }
    TActivityPage &NewPage() { return *m_newPage; }
    TActivityPage &EditPage() { return *m_editPage; }
    TComplexGrid &List() { return *m_list; }
    TComplexGrid &AllColumns() { return *m_all; }
    TEntryListRows &Rows() { return *m_rows; }
    TGridActivityColumns &Columns() { return m_columns; }
    int CourseNr() const { return m_courseNr; }
    qint32 ProgramId() const { return m_programId; }

    template <class T> T *Child(const QString &name) { return m_window.findChild<T *>(name); }
    TNumericalEdit *Num(const QString &name) { return Child<TNumericalEdit>(name); }

    // --- TEntryHost -----------------------------------------------------------
    TActivityPage *FrontEntryPage() const override
    {
        if (m_tabs->currentWidget() == m_newPage)
            return m_newPage;
        if (m_tabs->currentWidget() == m_editPage)
            return m_editPage;
        return nullptr;
    }
    void ShowEntryPage(TEntryPageKind kind) override
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentWidget(kind == TEntryPageKind::New ? static_cast<QWidget *>(m_newPage) : m_editPage);
    }
    bool EditPageEnabled() const override { return m_app.GetLoadedCount() > 0; }
    void SetStatus(const QString &text) override { statuses.append(text); }
    void UpdateControls() override
    {
        m_newPage->UpdateControls();
        m_editPage->UpdateControls();
    }

    void ShowPage(QWidget *page) { m_tabs->setCurrentWidget(page); }
    void ShowResult() { m_tabs->setCurrentWidget(m_tshResult); }

    // --- filling the new page ---------------------------------------------------
    void Common(const QString &name, const QString &date = QStringLiteral("2024-05-14"))
    {
        m_newPage->SelectActivity(name);
        Child<TDatePicker>(QStringLiteral("wwdtpNewDate"))->SetText(date);
    }

    // Types into a field as the user does and leaves it for the next one.
    void Type(QWidget *field, const QString &text)
    {
        field->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
        QTest::keyClicks(field, text);
    }
    void Leave() { Child<QPlainTextEdit>(QStringLiteral("moNewComment"))->setFocus(); }

    void Laps(const QStringList &distances, const QStringList &times)
    {
        Num(QStringLiteral("numedtNewLaps"))->SetValue(QString::number(distances.size()));
        for (int i = 0; i < distances.size(); ++i) {
            m_newPage->LapEdit(i, 0)->SetValue(distances.at(i));
            m_newPage->LapEdit(i, 1)->SetValue(times.at(i));
        }
        m_newPage->LapCountExit();
    }

    TChosenCourse Course(int nr)
    {
        TChosenCourse course;
        const TCourseValues values = m_app.ReadCourse(nr);
        course.CourseNr = QString::number(nr);
        course.Place = values.Place;
        course.Distance = values.Distance;
        m_app.GetReadCourseLaps(nr, &course.Laps);
        return course;
    }

    // Reads every entry of the diary again, as a search does, lists them in
    // key order and makes the row of `key` current.
    void Research(int key)
    {
        QStringList names;
        m_app.GetActivityNames(&names);
        QList<int> keys;
        m_app.SearchActivities(names, TSearchParams(), keys);
        std::sort(keys.begin(), keys.end());
        for (TComplexGrid *grid : {m_list, m_all}) {
            TTulloUtilGrid::SetDataRowCount(grid, int(keys.size()));
            for (int i = 0; i < keys.size(); ++i)
                m_columns.FillActivityRow(grid, i + 1, keys.at(i));
        }
        m_list->SetRow(m_rows->RowOfKey(m_list, key));
    }

    // The text of a column of the activity's row in the grid of every column.
    QString Cell(TColumnKind kind, int key)
    {
        const int row = m_rows->RowOfKey(m_all, key);
        const int col = m_columns.ColumnOfKind(m_all, kind);
        return row < 0 || col < 0 ? QStringLiteral("<none>") : m_all->Cells(col, row);
    }

    int Sessions()
    {
        TDbQuery query(m_app.GetDatabase());
        query.Add(QStringLiteral("select count(*) from TrainingSession"));
        query.Open();
        const int count = int(query.FieldAsInteger(0));
        query.Close();
        return count;
    }
    QString StoredPlace(int key)
    {
        TDbQuery query(m_app.GetDatabase());
        query.Add(QStringLiteral("select SessionPlace from TrainingSession where SessionNr = :snr"));
        query.SetInteger(QStringLiteral("snr"), key);
        query.Open();
        const QString place = query.Eof() ? QStringLiteral("<none>") : query.FieldAsText(0).trimmed();
        query.Close();
        return place;
    }

    // From now on the diary refuses every insert or update of a session.
    void RefuseWrites(const QString &event)
    {
        TDbQuery query(m_app.GetDatabase());
        query.Add(QStringLiteral("create exception E_REFUSED 'Dagboken tar inte emot ändringar'"));
        query.ExecSQL();
        query.Clear();
        query.Add(QStringLiteral("create trigger T_REFUSE for TrainingSession before ") + event
                  + QStringLiteral(" as begin exception E_REFUSED; end"));
        query.ExecSQL();
    }

    // The control that has the focus in the window (whether or not the
    // platform has given the window back its activation after a box).
    QString FocusName() const
    {
        QWidget *focused = m_window.focusWidget();
        return focused ? focused->objectName() : QString();
    }

    QStringList messages;
    QStringList answers; // "btnYes", "btnNo", ... for the next boxes
    std::function<void(QWidget *)> dialog;
    QStringList statuses;

private:
    void AddReferenceData()
    {
        TPulses &pulses = m_app.GetPulses();
        pulses.AddPulse(120, 140);
        pulses.AddPulse(140, 170);
        pulses.ApplyPulses();

        TExercises &exercises = m_app.GetExercises();
        const qint32 bench = exercises.AddExercise(QStringLiteral("Bänkpress"));
        const qint32 squat = exercises.AddExercise(QStringLiteral("Knäböj"));
        const qint32 deadlift = exercises.AddExercise(QStringLiteral("Marklyft"));
        exercises.ApplyExercises();
        TExercisePrograms &programs = m_app.GetExercisePrograms();
        m_programId = programs.AddProgram(QStringLiteral("Bas"), QStringLiteral("Tre övningar"));
        TProgramExercises programSlots;
        programSlots[0] = QString::number(bench);
        programSlots[1] = QString::number(squat);
        programSlots[2] = QString::number(deadlift);
        programs.SetProgramExercises(m_programId, programSlots);
        programs.ApplyPrograms();

        m_courseNr = m_app.NewCourse();
        m_app.SetCourseValues(m_courseNr, QStringLiteral("Löpning"), 2, 10.0, QStringLiteral("Elljusspåret"));
        const QStringList description{QStringLiteral("Runt sjön")};
        m_app.SetCourseDescription(m_courseNr, &description);
        m_app.SetCourseLaps(m_courseNr, {QStringLiteral("3.00"), QStringLiteral("6.50")});
        m_app.SaveCourse(m_courseNr);
    }

    void Answer(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            const QString button = answers.isEmpty() ? QStringLiteral("btnOK") : answers.takeFirst();
            window->findChild<QPushButton *>(button)->click();
            return;
        }
        if (dialog)
            dialog(window);
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TCorvaleApp m_app;
    TModalWatcher m_watcher;
    TCursorManagement m_cursor;
    QWidget m_window;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_tshSearch = nullptr;
    QWidget *m_tshResult = nullptr;
    TActivityPage *m_newPage = nullptr;
    TActivityPage *m_editPage = nullptr;
    TComplexGrid *m_list = nullptr;
    TComplexGrid *m_all = nullptr;
    TGridActivityColumns m_columns;
    std::unique_ptr<TEntryListRows> m_rows;
    std::unique_ptr<TEntryController> m_controller;
    bool m_active = false;
    int m_courseNr = -1;
    qint32 m_programId = -1;
};

// The values of one activity family on the new page.
void fillClassPanel(TEntryFixture &f, const QString &name)
{
    TActivityPage &page = f.NewPage();
    switch (page.CurrentPanel()) {
    case TEntryPanel::Workout: {
        auto *program = f.Child<QComboBox>(QStringLiteral("cmbbxNewWorkEP"));
        program->setCurrentIndex(1);
        page.cmbbxWorkEPChange();
        auto *grid = f.Child<TEntryGrid>(QStringLiteral("cplxgrdNewWork"));
        const QStringList reps{QStringLiteral("3x10"), QStringLiteral("3x8"), QStringLiteral("5x5")};
        const QStringList loads{QStringLiteral("60.0"), QStringLiteral("80.0"), QStringLiteral("100.5")};
        for (int row = 1; row <= 3; ++row) {
            grid->SetCells(1, row, reps.at(row - 1));
            grid->SetCells(2, row, loads.at(row - 1));
        }
        f.Child<QLineEdit>(QStringLiteral("edtNewWorkFree1"))->setText(QStringLiteral("Chins"));
        f.Child<TRepsEdit>(QStringLiteral("redtNewWorkFree1"))->SetValue(QStringLiteral("3x6"));
        f.Num(QStringLiteral("numedtNewWorkFree1"))->SetValue(QStringLiteral("10"));
        f.Child<QPlainTextEdit>(QStringLiteral("moNewWorkComment"))->setPlainText(QStringLiteral("Tungt"));
        break;
    }
    case TEntryPanel::TimeDistance:
        f.Num(QStringLiteral("numedtNewTDTTime"))->SetValue(QStringLiteral("45.30"));
        f.Num(QStringLiteral("numedtNewTDTDist"))->SetValue(QStringLiteral("10"));
        f.Laps({QStringLiteral("3"), QStringLiteral("6.5")}, {QStringLiteral("13.20"), QStringLiteral("29.10")});
        page.SetPulseIntervals({1, 2}, {60, 40});
        if (name == QStringLiteral("Löpning"))
            page.BindCourse(f.Course(f.CourseNr()));
        page.FloatCalcExit();
        f.Child<QPlainTextEdit>(QStringLiteral("moNewTDTComment"))->setPlainText(QStringLiteral("Lätt"));
        break;
    case TEntryPanel::Game:
        f.Num(QStringLiteral("numedtNewGameTime"))->SetValue(QStringLiteral("60"));
        f.Child<QLineEdit>(QStringLiteral("edtNewGameGame"))->setText(QStringLiteral("3-2"));
        f.Child<QComboBox>(QStringLiteral("cmbbxNewGamePerf"))->setCurrentIndex(3);
        f.Child<QPlainTextEdit>(QStringLiteral("moNewGameComment"))->setPlainText(QStringLiteral("Vinst"));
        break;
    case TEntryPanel::Time:
        f.Num(QStringLiteral("numedtNewTTime"))->SetValue(QStringLiteral("55.45"));
        f.Child<QPlainTextEdit>(QStringLiteral("moNewTComment"))->setPlainText(QStringLiteral("Svettigt"));
        break;
    case TEntryPanel::Distance:
        f.Num(QStringLiteral("numedtNewDistDist"))->SetValue(QStringLiteral("12.5"));
        f.Child<QPlainTextEdit>(QStringLiteral("moNewDistComment"))->setPlainText(QStringLiteral("Blåsigt"));
        break;
    case TEntryPanel::Golf: {
        auto *card = f.Child<TEntryGrid>(QStringLiteral("strgrdNewGolf"));
        for (int hole = 1; hole <= 18; ++hole) {
            card->SetCells(hole, 1, QStringLiteral("4"));
            card->SetCells(hole, 2, QString::number(300 + hole));
            // Odd stroke indexes on the first nine, even on the second.
            card->SetCells(hole, 3, QString::number(hole <= 9 ? 2 * hole - 1 : 2 * (hole - 9)));
            card->SetCells(hole, 4, hole % 3 == 0 ? QStringLiteral("6") : QStringLiteral("5"));
            card->SetCells(hole, 6, QStringLiteral("2"));
        }
        f.Num(QStringLiteral("numedtNewGolfCR"))->SetValue(QStringLiteral("71.2"));
        f.Num(QStringLiteral("numedtNewGolfSlope"))->SetValue(QStringLiteral("130"));
        f.Num(QStringLiteral("numedtNewGolfPrevHCP"))->SetValue(QStringLiteral("18.4"));
        f.Num(QStringLiteral("numedtNewGolfHcp"))->SetValue(QStringLiteral("18.0"));
        f.Num(QStringLiteral("numedtNewGolfBunker"))->SetValue(QStringLiteral("3"));
        page.CalculateCardTotals();
        page.CalculateAllowedStrokes();
        page.CalculateScore();
        f.Child<QPlainTextEdit>(QStringLiteral("moNewGolfComment"))->setPlainText(QStringLiteral("Bra runda"));
        break;
    }
    case TEntryPanel::Other:
        f.Child<QLineEdit>(QStringLiteral("edtNewOtherActivity"))->setText(QStringLiteral("Klättring"));
        f.Child<QPlainTextEdit>(QStringLiteral("moNewOtherComment"))->setPlainText(QStringLiteral("Inomhus"));
        break;
    case TEntryPanel::Measure: {
        f.Num(QStringLiteral("numedtNewMeasure"))->SetValue(QStringLiteral("52.5"));
        const char *girths[] = {"Neck", "Shoulder", "Chest", "Biceps", "Arm", "Waist", "Hip", "Thigh", "Calf"};
        int value = 30;
        for (const char *girth : girths)
            f.Num(QStringLiteral("numedtNew") + QLatin1String(girth))->SetValue(QString::number(value += 7));
        page.WaistHipExit();
        f.Child<QPlainTextEdit>(QStringLiteral("moNewMeasureComment"))->setPlainText(QStringLiteral("Morgon"));
        break;
    }
    case TEntryPanel::Blank:
    case TEntryPanel::None:
        break;
    }
}

void fillCommon(TEntryFixture &f, const QString &name)
{
    f.Common(name);
    auto *place = f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"));
    place->setEditText(QStringLiteral("Skogen"));
    f.Num(QStringLiteral("numedtNewWeight"))->SetValue(QStringLiteral("72.5"));
    f.Num(QStringLiteral("numedtNewRestPulse"))->SetValue(QStringLiteral("48"));
    f.Num(QStringLiteral("numedtNewAvgPulse"))->SetValue(QStringLiteral("142"));
    f.Num(QStringLiteral("numedtNewMaxPulse"))->SetValue(QStringLiteral("181"));
    f.Num(QStringLiteral("numedtNewCalorie"))->SetValue(QStringLiteral("650"));
    f.Child<QSlider>(QStringLiteral("trbrNewWeather"))->setValue(3);
    f.Child<QSlider>(QStringLiteral("trbrNewWindDir"))->setValue(5);
    f.Num(QStringLiteral("numedtNewWind"))->SetValue(QStringLiteral("4.5"));
    f.Num(QStringLiteral("numedtNewTemp"))->SetValue(QStringLiteral("-3.5"));
    f.Child<QSlider>(QStringLiteral("trbrNewSleep"))->setValue(2);
    f.Num(QStringLiteral("numedtNewSleepTime"))->SetValue(QStringLiteral("7.50"));
    f.Child<QPlainTextEdit>(QStringLiteral("moNewComment"))->setPlainText(QStringLiteral("Pass ") + name);
}
}

class tst_EntryPage : public QObject
{
    Q_OBJECT

private slots:
    // The running session of a user: date, place, time, distance, two split
    // times and a course, saved with the menu's save from "Ny".
    void runningSessionWithCourse()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        TActivityPage &page = f.NewPage();
        f.Common(QStringLiteral("Löpning"));
        QCOMPARE(page.CurrentPanel(), TEntryPanel::TimeDistance);
        QVERIFY(!f.Child<QWidget>(QStringLiteral("pnlNewTDT"))->isHidden());
        QVERIFY(f.Child<QWidget>(QStringLiteral("pnlNewGolf"))->isHidden());
        f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->setEditText(QStringLiteral("Skogen"));
        f.Type(f.Num(QStringLiteral("numedtNewTDTTime")), QStringLiteral("45.30"));
        f.Type(f.Num(QStringLiteral("numedtNewTDTDist")), QStringLiteral("10"));
        f.Leave();
        QCOMPARE(f.Num(QStringLiteral("numedtNewTDTAvg"))->Value(), QStringLiteral("13.19"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewTDTKmTime"))->Value(), QStringLiteral("4.33"));

        f.Type(f.Num(QStringLiteral("numedtNewLaps")), QStringLiteral("2"));
        f.Type(page.LapEdit(0, 0), QStringLiteral("3"));
        f.Type(page.LapEdit(0, 1), QStringLiteral("13.20"));
        f.Type(page.LapEdit(1, 0), QStringLiteral("6.5"));
        f.Type(page.LapEdit(1, 1), QStringLiteral("29.10"));
        f.Leave();
        // Lap by lap (the default): the second lap runs from the first mark.
        QCOMPARE(page.LapEdit(0, 2)->Value(), QStringLiteral("13.20"));
        QCOMPARE(page.LapEdit(1, 2)->Value(), QStringLiteral("15.50"));
        QCOMPARE(page.LapEdit(1, 3)->Value(), QStringLiteral("13.26"));
        QCOMPARE(page.LapEdit(1, 4)->Value(), QStringLiteral("4.31"));

        page.BindCourse(f.Course(f.CourseNr()));
        QCOMPARE(page.CourseNr(), QString::number(f.CourseNr()));
        QCOMPARE(f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->currentText(), QStringLiteral("Elljusspåret"));
        // A bound session takes place, distance and lap distances from the
        // course; the user cannot change them.
        QVERIFY(!f.Num(QStringLiteral("numedtNewTDTDist"))->isEnabled());
        QVERIFY(!f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->isEnabled());
        QVERIFY(!page.LapEdit(0, 0)->isEnabled());
        QVERIFY(f.Controller().RemoveCourseEnabled());

        f.Controller().Save();
        QCOMPARE(f.messages, QStringList());
        QCOMPARE(f.statuses, (QStringList{QStringLiteral("Sparar..."), QStringLiteral("Sparad"), QString()}));
        QCOMPARE(f.App().GetLoadedCount(), 1);
        const int key = f.Rows().CurrentKey();
        QVERIFY(key > 0);
        QCOMPARE(f.Cell(TColumnKind::cSpeed, key), QStringLiteral("13.19"));
        QCOMPARE(f.Cell(TColumnKind::cDistTime, key), QStringLiteral("4.33"));
        QCOMPARE(f.Cell(TColumnKind::cPlace, key), QStringLiteral("Elljusspåret"));
        // The page keeps its values.
        QCOMPARE(f.Num(QStringLiteral("numedtNewTDTTime"))->Value(), QStringLiteral("45.30"));

        // Read back from the diary on "Ändra".
        f.Research(key);
        f.ShowResult();
        f.Controller().ShowSelectedActivity();
        TActivityPage &edit = f.EditPage();
        QCOMPARE(f.FrontEntryPage(), &edit);
        QCOMPARE(edit.ShownKey(), key);
        QCOMPARE(f.Child<QLineEdit>(QStringLiteral("edtEditActivity"))->text(), QStringLiteral("Löpning"));
        QCOMPARE(f.Child<TDatePicker>(QStringLiteral("wwdtpEditDate"))->Text(), QStringLiteral("2024-05-14"));
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblEditDateDayWeek"))->text(), QStringLiteral("Tisdag vecka 20"));
        QCOMPARE(f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(), QStringLiteral("Elljusspåret"));
        QCOMPARE(f.Num(QStringLiteral("numedtEditTDTTime"))->Value(), QStringLiteral("45.30"));
        QCOMPARE(f.Num(QStringLiteral("numedtEditTDTDist"))->Value(), QStringLiteral("10.00"));
        QCOMPARE(f.Num(QStringLiteral("numedtEditTDTAvg"))->Value(), QStringLiteral("13.19"));
        QCOMPARE(f.Num(QStringLiteral("numedtEditTDTKmTime"))->Value(), QStringLiteral("4.33"));
        QCOMPARE(f.Num(QStringLiteral("numedtEditLaps"))->Value(), QStringLiteral("2"));
        QCOMPARE(edit.LapEdit(0, 0)->Value(), QStringLiteral("3.00"));
        QCOMPARE(edit.LapEdit(1, 0)->Value(), QStringLiteral("6.50"));
        QCOMPARE(edit.LapEdit(1, 1)->Value(), QStringLiteral("29.10"));
        QCOMPARE(edit.LapEdit(1, 2)->Value(), QStringLiteral("15.50"));
        QCOMPARE(edit.CourseNr(), QString::number(f.CourseNr()));
        QVERIFY(!f.Num(QStringLiteral("numedtEditTDTDist"))->isEnabled());
    }

    void lapCalculationFromTheStart()
    {
        TEntryFixture f({{QStringLiteral("Settings/LapCalc"), QStringLiteral("LapTotal")}});
        QVERIFY(f.Ready());
        QCOMPARE(f.App().GetSettings().LapCalc, TSettingsValues::TLapCalc::Total);
        f.Common(QStringLiteral("Cykling"));
        f.Laps({QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30")},
               {QStringLiteral("20.00"), QStringLiteral("41.00"), QStringLiteral("60.30")});
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblUsedLapCalcNew"))->text(),
                 QStringLiteral("Beräkning sker totalt till mellantiden"));
        QCOMPARE(f.NewPage().LapEdit(2, 2)->Value(), QStringLiteral("60.30"));
        QCOMPARE(f.NewPage().LapEdit(2, 3)->Value(), QStringLiteral("29.75"));
    }

    // Track laps of 400 m are typed as they are written.
    void lapsShorterThanAKilometre()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Type(f.Num(QStringLiteral("numedtNewLaps")), QStringLiteral("2"));
        f.Type(f.NewPage().LapEdit(0, 0), QStringLiteral("0.4"));
        f.Type(f.NewPage().LapEdit(0, 1), QStringLiteral("1.30"));
        f.Type(f.NewPage().LapEdit(1, 0), QStringLiteral("0.8"));
        f.Type(f.NewPage().LapEdit(1, 1), QStringLiteral("3.05"));
        f.Leave();
        QCOMPARE(f.NewPage().LapEdit(0, 0)->Value(), QStringLiteral("0.40"));
        QCOMPARE(f.NewPage().LapEdit(1, 0)->Value(), QStringLiteral("0.80"));
        QCOMPARE(f.NewPage().LapEdit(1, 2)->Value(), QStringLiteral("1.35"));
        QCOMPARE(f.NewPage().LapEdit(1, 4)->Value(), QStringLiteral("3.58"));
    }

    void lapCountZeroHidesTheTable()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Laps({QStringLiteral("3"), QStringLiteral("6")}, {QStringLiteral("12.00"), QStringLiteral("25.00")});
        QVERIFY(!f.Child<QLabel>(QStringLiteral("lblUsedLapCalcNew"))->isHidden());
        QVERIFY(!f.NewPage().LapEdit(1, 4)->isHidden());
        QVERIFY(f.NewPage().LapEdit(2, 0)->isHidden());
        QCOMPARE(f.Child<QWidget>(QStringLiteral("pnlNewLaps1"))->width(),
                 qMax(2 * 42 + 6, f.Child<QLabel>(QStringLiteral("lblUsedLapCalcNew"))->fontMetrics().horizontalAdvance(
                                      f.Child<QLabel>(QStringLiteral("lblUsedLapCalcNew"))->text())
                                      + 12));
        f.Laps({}, {});
        QVERIFY(f.Child<QLabel>(QStringLiteral("lblUsedLapCalcNew"))->isHidden());
        for (int i = 0; i < 20; ++i)
            QVERIFY(f.NewPage().LapEdit(i, 0)->isHidden() && f.Child<QLabel>(QStringLiteral("lblNewLaps%1").arg(i + 1))->isHidden());
    }

    // A split time that is not above the one before stays as typed; the
    // save names the fault and puts the focus on the field.
    void lapOrderRefused_data()
    {
        QTest::addColumn<QStringList>("distances");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("distances not rising") << QStringList{"3", "2"} << QStringList{"13.00", "20.00"}
                                              << "Distanser för mellantider måste vara i stigande ordning"
                                              << "numedtNewLaps0_0";
        QTest::newRow("a lap beyond the distance") << QStringList{"3", "11"} << QStringList{"13.00", "20.00"}
                                                   << "Distansen måste vara längre än distanserna för mellantider"
                                                   << "numedtNewTDTDist";
        QTest::newRow("split times not rising") << QStringList{"3", "6"} << QStringList{"13.00", "12.30"}
                                                << "Mellantiderna måste vara i stigande ordning" << "numedtNewLaps0_1";
        QTest::newRow("a split beyond the time") << QStringList{"3", "6"} << QStringList{"13.00", "50.00"}
                                                 << "Tiden måste vara längre än mellantiderna" << "numedtNewTDTTime";
        QTest::newRow("a split that is no time") << QStringList{"3", "6"} << QStringList{"13.00", "20.75"}
                                                 << "Aktiviteten sparades inte: Skriv tid som positivt decimaltal"
                                                 << "numedtNewLaps1_1";
    }

    void lapOrderRefused()
    {
        QFETCH(QStringList, distances);
        QFETCH(QStringList, times);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Num(QStringLiteral("numedtNewTDTTime"))->SetValue(QStringLiteral("45.30"));
        f.Num(QStringLiteral("numedtNewTDTDist"))->SetValue(QStringLiteral("10"));
        f.Laps(distances, times);
        // Leaving the fields recomputes the table without losing anything.
        QCOMPARE(f.NewPage().LapEdit(1, 0)->Value(), TTulloUtilString::StrToStrDec(distances.at(1), 2));
        QCOMPARE(f.NewPage().LapEdit(1, 1)->Value(), times.at(1));

        f.Controller().Save();
        QCOMPARE(f.messages, QStringList{message});
        QCOMPARE(f.FocusName(), focus);
        QVERIFY(!f.statuses.contains(QStringLiteral("Sparad")));
        QCOMPARE(f.App().GetLoadedCount(), 0);
        QCOMPARE(f.Sessions(), 0);
        QCOMPARE(f.NewPage().LapEdit(1, 1)->Value(), times.at(1));
    }

    // The date of "Ny" typed over with real keys: a date is saved as it was
    // typed; what is no date, or nothing, is refused with the focus on the
    // date and the text left exactly as typed.
    void typedDatesOnTheNewPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("weekday");
        QTest::newRow("a date") << "2024-05-14" << "" << "Tisdag vecka 20";
        QTest::newRow("without dashes") << "20240514" << "" << "Tisdag vecka 20";
        QTest::newRow("february 30") << "2024-02-30" << "2024-02-30 är inget giltigt datum" << "";
        QTest::newRow("no day") << "2024-05" << "2024-05 är inget giltigt datum. Skriv datumet som åååå-mm-dd." << "";
        QTest::newRow("cleared") << "" << "Skriv in ett datum" << "";
    }

    void typedDatesOnTheNewPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, weekday);
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.NewPage().SelectActivity(QStringLiteral("Tennis"));
        f.Num(QStringLiteral("numedtNewTTime"))->SetValue(QStringLiteral("60"));
        auto *date = f.Child<TDatePicker>(QStringLiteral("wwdtpNewDate"));
        QCOMPARE(date->Text(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        QTest::mouseClick(date, Qt::LeftButton);
        QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(date, Qt::Key_Delete);
        QTest::keyClicks(date, typed);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblNewDateDayWeek"))->text(), weekday);
        f.Controller().Save();

        if (message.isEmpty()) {
            QCOMPARE(f.messages, QStringList());
            QCOMPARE(f.App().GetLoadedCount(), 1);
            QCOMPARE(f.App().FindActivity(f.Rows().CurrentKey())->GetDate(), QStringLiteral("2024-05-14"));
            QCOMPARE(f.Cell(TColumnKind::cDate, f.Rows().CurrentKey()), QStringLiteral("2024-05-14"));
            QCOMPARE(date->text(), QStringLiteral("2024-05-14"));
        } else {
            QCOMPARE(f.messages, QStringList{message});
            QCOMPARE(f.FocusName(), QStringLiteral("wwdtpNewDate"));
            QCOMPARE(date->text(), typed);
            QCOMPARE(f.App().GetLoadedCount(), 0);
            QCOMPARE(f.Sessions(), 0);
        }
    }

    // Choosing a weather, wind or rest position shows its text without
    // moving the bar or the controls below it.
    void pickerTextsMoveNothing_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("below");
        QTest::addColumn<int>("steps");
        QTest::newRow("weather") << "trbrNewWeather" << "lblNewWeather" << "trbrNewWindDir" << 8;
        QTest::newRow("wind") << "trbrNewWindDir" << "lblNewWindDir" << "numedtNewWind" << 4;
        QTest::newRow("rest") << "trbrNewSleep" << "lblNewSleepQuality" << "numedtNewSleepTime" << 1;
    }

    void pickerTextsMoveNothing()
    {
        QFETCH(QString, bar);
        QFETCH(QString, label);
        QFETCH(QString, below);
        QFETCH(int, steps);
        TEntryFixture f;
        QVERIFY(f.Ready());
        QWidget *page = &f.NewPage();
        const auto where = [&](const QString &name) {
            QWidget *widget = f.Child<QWidget>(name);
            return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size());
        };
        QCoreApplication::processEvents();
        const QRect barBefore = where(bar);
        const QRect belowBefore = where(below);
        auto *slider = f.Child<QSlider>(bar);
        slider->setFocus();
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), steps);
        QVERIFY(!f.Child<QLabel>(label)->text().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(where(bar), barBefore);
        QCOMPARE(where(below), belowBefore);
    }

    void emptyDateRefused()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Tennis"), QString());
        f.Num(QStringLiteral("numedtNewTTime"))->SetValue(QStringLiteral("60"));
        QVERIFY(!f.Controller().SaveNewActivity());
        QCOMPARE(f.messages, QStringList{QStringLiteral("Skriv in ett datum")});
        QCOMPARE(f.FocusName(), QStringLiteral("wwdtpNewDate"));
        QCOMPARE(f.App().GetLoadedCount(), 0);
    }

    // Ctrl+S while a time that is no time is still being typed: the user
    // hears what was not saved and why, and the typing stays.
    void timeStillBeingTypedIsReported()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Num(QStringLiteral("numedtNewTDTDist"))->SetValue(QStringLiteral("10"));
        auto *time = f.Num(QStringLiteral("numedtNewTDTTime"));
        time->setFocus();
        QTest::keyClicks(time, QStringLiteral("45.70"));
        f.Controller().Save();
        QCOMPARE(f.messages, QStringList{QStringLiteral("Aktiviteten sparades inte: Skriv tid som positivt decimaltal")});
        QCOMPARE(f.FocusName(), QStringLiteral("numedtNewTDTTime"));
        QCOMPARE(time->text(), QStringLiteral("45.70"));
        QCOMPARE(f.App().GetLoadedCount(), 0);
        QCOMPARE(f.Sessions(), 0);
        QCOMPARE(f.statuses, (QStringList{QStringLiteral("Sparar..."), QString()}));
    }

    void leavingAnInvalidTime()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Type(f.Num(QStringLiteral("numedtNewTDTTime")), QStringLiteral("30.61"));
        f.Type(f.Num(QStringLiteral("numedtNewTDTDist")), QStringLiteral("5"));
        // The box came once, for the time, and the time has the focus again.
        QCOMPARE(f.messages, QStringList{QStringLiteral("Skriv tid som positivt decimaltal")});
        QCOMPARE(f.FocusName(), QStringLiteral("numedtNewTDTTime"));
    }

    // A track bar at position p stores p - 1 and shows text and picture p.
    void trackBarsStorePositionLessOne_data()
    {
        QTest::addColumn<int>("weather");
        QTest::addColumn<int>("wind");
        QTest::addColumn<int>("sleep");
        QTest::addColumn<QString>("weatherText");
        QTest::addColumn<QString>("windText");
        QTest::addColumn<QString>("sleepText");
        QTest::newRow("no values") << 0 << 0 << 0 << "" << "" << "";
        QTest::newRow("first positions") << 1 << 1 << 1 << "Soligt" << "Vindstilla" << "Dålig vila";
        QTest::newRow("last positions") << 14 << 9 << 3 << "Dimma" << "Sydöstlig vind" << "Bra vila";
        QTest::newRow("between") << 8 << 4 << 2 << "Byar av snöblandat regn" << "Västlig vind" << "Ok vila";
    }

    void trackBarsStorePositionLessOne()
    {
        QFETCH(int, weather);
        QFETCH(int, wind);
        QFETCH(int, sleep);
        QFETCH(QString, weatherText);
        QFETCH(QString, windText);
        QFETCH(QString, sleepText);
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Viktmätning"));
        QCOMPARE(f.NewPage().CurrentPanel(), TEntryPanel::Blank);
        // Away from 0 first, so that position 0 is a change as well.
        for (const char *name : {"trbrNewWeather", "trbrNewWindDir", "trbrNewSleep"})
            f.Child<QSlider>(QLatin1String(name))->setValue(1);
        f.Child<QSlider>(QStringLiteral("trbrNewWeather"))->setValue(weather);
        f.Child<QSlider>(QStringLiteral("trbrNewWindDir"))->setValue(wind);
        f.Child<QSlider>(QStringLiteral("trbrNewSleep"))->setValue(sleep);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblNewWeather"))->text(), weatherText);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblNewWindDir"))->text(), windText);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblNewSleepQuality"))->text(), sleepText);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("imgNewWeather"))->isHidden(), weather == 0);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("imgNewWindDir"))->isHidden(), wind == 0);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("imgNewSleep"))->isHidden(), sleep == 0);

        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        TActivity *activity = f.App().FindActivity(key);
        QCOMPARE(activity->GetWeather(), weather - 1);
        QCOMPARE(activity->GetWindDir(), wind - 1);
        QCOMPARE(activity->GetSleepQuality(), sleep - 1);
        // And back on "Ändra" from the diary at the same positions.
        f.Research(key);
        f.Controller().ShowSelectedActivity();
        QCOMPARE(f.Child<QSlider>(QStringLiteral("trbrEditWeather"))->value(), weather);
        QCOMPARE(f.Child<QSlider>(QStringLiteral("trbrEditWindDir"))->value(), wind);
        QCOMPARE(f.Child<QSlider>(QStringLiteral("trbrEditSleep"))->value(), sleep);
        QCOMPARE(f.Child<QLabel>(QStringLiteral("lblEditWeather"))->text(), weatherText);
    }

    // A stroke of 0 on the card is corrected to 1 when the card is left.
    void golfCardStrokeZeroBecomesOne()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Golf"));
        QCOMPARE(f.NewPage().CurrentPanel(), TEntryPanel::Golf);
        auto *card = f.Child<TEntryGrid>(QStringLiteral("strgrdNewGolf"));
        card->SetCells(1, 4, QStringLiteral("5"));
        card->setFocus();
        card->SetCurrentCell(2, 4);
        QTest::keyClicks(card->focusWidget(), QStringLiteral("0"));
        QCOMPARE(card->Cells(2, 4), QString());
        f.Leave();
        QCOMPARE(card->Cells(2, 4), QStringLiteral("1"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfStroke"))->Value(), QStringLiteral("6"));
    }

    void golfScoreAndHandicap()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Golf"));
        fillClassPanel(f, QStringLiteral("Golf"));
        // 18.4 x 130 / 113 + 71.2 - 72 = 20.37: 20 strokes, one on every
        // hole and a second on the stroke indexes 1 and 2 (holes 1 and 10).
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfStrokes"))->Value(), QStringLiteral("20"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfPar"))->Value(), QStringLiteral("72"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfStroke"))->Value(), QStringLiteral("96"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfPutt"))->Value(), QStringLiteral("36"));
        auto *card = f.Child<TEntryGrid>(QStringLiteral("strgrdNewGolf"));
        // Hole 1: par 4 + 2 strokes, played in 5: 3 points. Hole 3: par 4 + 1,
        // played in 6: 1 point. Hole 4: par 4 + 1, played in 5: 2 points.
        QCOMPARE(card->Cells(1, 5), QStringLiteral("3"));
        QCOMPARE(card->Cells(3, 5), QStringLiteral("1"));
        QCOMPARE(card->Cells(4, 5), QStringLiteral("2"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfScore"))->Value(), QStringLiteral("32"));
        QVERIFY(f.Controller().SaveNewActivity());
        QCOMPARE(f.messages, QStringList());

        // The next round proposes the handicap after this one.
        fillCommon(f, QStringLiteral("Golf"));
        f.Child<TDatePicker>(QStringLiteral("wwdtpNewDate"))->SetText(QStringLiteral("2024-06-01"));
        f.Num(QStringLiteral("numedtNewGolfPrevHCP"))->SetValue(QString());
        f.NewPage().GetLatestHCP();
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfPrevHCP"))->Value(), QStringLiteral("18.0"));
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfStrokes"))->Value(), QStringLiteral("20"));
    }

    void golfPointsNeedTheAllowedStrokes_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::addColumn<QString>("hcp");
        QTest::addColumn<QString>("message");
        QTest::newRow("no course rating") << "" << "18.4" << "CR, Slope, Par och HCP måste ha värden";
        QTest::newRow("no handicap") << "71.2" << "" << "CR, Slope, Par och HCP måste ha värden";
        QTest::newRow("handicap above 36") << "71.2" << "36.5" << "Erhållna slag beräknas bara för HCP upp till 36";
    }

    void golfPointsNeedTheAllowedStrokes()
    {
        QFETCH(QString, cr);
        QFETCH(QString, hcp);
        QFETCH(QString, message);
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Golf"));
        f.Num(QStringLiteral("numedtNewGolfPar"))->SetValue(QStringLiteral("72"));
        f.Num(QStringLiteral("numedtNewGolfSlope"))->SetValue(QStringLiteral("130"));
        f.Num(QStringLiteral("numedtNewGolfCR"))->SetValue(cr);
        f.Num(QStringLiteral("numedtNewGolfPrevHCP"))->SetValue(hcp);
        f.Num(QStringLiteral("numedtNewGolfScore"))->SetValue(QStringLiteral("30"));
        f.NewPage().CalculateAllowedStrokes();
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfStrokes"))->Value(), QString());
        // The menu's handler ends silently after the box.
        QVERIFY_THROWS_EXCEPTION(EAbort, f.Controller().CalculateScore());
        QCOMPARE(f.messages, QStringList{message});
        // Saving counts the points first and is refused the same way; the
        // points typed stay.
        QVERIFY(!f.Controller().SaveNewActivity());
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(f.messages.last(), message);
        QCOMPARE(f.Num(QStringLiteral("numedtNewGolfScore"))->Value(), QStringLiteral("30"));
        QCOMPARE(f.App().GetLoadedCount(), 0);
    }

    // The golf menu follows the activity's class, whatever its name.
    void golfMenuByClass()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        QStringList names;
        f.App().GetActivityNames(&names);
        names[names.indexOf(QStringLiteral("Golf"))] = QStringLiteral("Golfrunda");
        f.App().ChangeActivityNames(&names);
        f.NewPage().SetActivityNames(names);
        f.NewPage().SelectActivity(QStringLiteral("Golfrunda"));
        QVERIFY(f.Controller().GolfEnabled());
        QVERIFY(!f.Controller().ChooseCourseEnabled());
        f.NewPage().SelectActivity(QStringLiteral("Löpning"));
        QVERIFY(!f.Controller().GolfEnabled());
        QVERIFY(f.Controller().ChooseCourseEnabled());
        f.ShowResult();
        QVERIFY(!f.Controller().ChooseCourseEnabled());
    }

    void failedNewSaveKeepsThePage()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.RefuseWrites(QStringLiteral("insert"));
        fillCommon(f, QStringLiteral("Löpning"));
        fillClassPanel(f, QStringLiteral("Löpning"));
        const auto before = pageValues(f.NewPage());
        f.Controller().Save();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages.first().startsWith(QStringLiteral("Kunde inte spara aktiviteten: ")), qPrintable(f.messages.first()));
        QVERIFY2(f.messages.first().contains(QStringLiteral("Dagboken tar inte emot ändringar")), qPrintable(f.messages.first()));
        QVERIFY(!f.statuses.contains(QStringLiteral("Sparad")));
        QCOMPARE(f.App().GetLoadedCount(), 0);
        QCOMPARE(f.Sessions(), 0);
        QCOMPARE(f.Rows().CurrentKey(), -1);
        QCOMPARE(pageValues(f.NewPage()), before);
    }

    // After a save the diary refused, the activity in memory and its list
    // row show what the diary holds; the page keeps what was typed.
    void failedEditSaveShowsWhatIsStored()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Styrketräning"));
        fillClassPanel(f, QStringLiteral("Styrketräning"));
        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        f.Research(key);
        f.Controller().ShowSelectedActivity();
        f.RefuseWrites(QStringLiteral("update"));

        f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Gymmet"));
        f.Child<QComboBox>(QStringLiteral("cmbbxEditWorkEP"))->setCurrentIndex(0);
        f.EditPage().cmbbxWorkEPChange();
        f.Child<TEntryGrid>(QStringLiteral("cplxgrdEditWork"))->SetCells(2, 1, QStringLiteral("200.0"));
        f.Controller().Save();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages.first().startsWith(QStringLiteral("Kunde inte spara aktiviteten: ")), qPrintable(f.messages.first()));
        QVERIFY(!f.statuses.contains(QStringLiteral("Sparad")));

        auto *workout = dynamic_cast<TWorkout *>(f.App().FindActivity(key));
        QVERIFY(workout);
        QCOMPARE(workout->GetPlace(), QStringLiteral("Skogen"));
        QCOMPARE(workout->GetProgram(), QString::number(f.ProgramId()));
        TWorkoutExercises exercises;
        workout->GetExercises(exercises);
        QCOMPARE(exercises[0].Load, QStringLiteral("60.0"));
        QCOMPARE(f.Cell(TColumnKind::cPlace, key), QStringLiteral("Skogen"));
        QCOMPARE(f.Cell(TColumnKind::cExerciseProg, key), QStringLiteral("Bas"));
        QCOMPARE(f.StoredPlace(key), QStringLiteral("Skogen"));
        // What the user typed is still on the page.
        QCOMPARE(f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(), QStringLiteral("Gymmet"));
        QCOMPARE(f.Child<TEntryGrid>(QStringLiteral("cplxgrdEditWork"))->Cells(2, 1), QStringLiteral("200.0"));
    }

    // With the connection gone the activity cannot be read back either: it
    // leaves the list rather than show values the diary does not hold.
    void lostConnectionDropsTheEditedActivityFromTheList()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Tennis"));
        fillClassPanel(f, QStringLiteral("Tennis"));
        QVERIFY(f.Controller().SaveNewActivity());
        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        f.Research(key);
        f.Controller().ShowSelectedActivity();
        f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Hallen"));
        f.App().GetDatabase().Close();
        QVERIFY(!f.Controller().SaveEditedActivity());
        QCOMPARE(f.messages.size(), 2);
        QVERIFY2(f.messages.at(0).startsWith(QStringLiteral("Kunde inte spara aktiviteten: ")), qPrintable(f.messages.at(0)));
        QVERIFY2(f.messages.at(1).startsWith(QStringLiteral("Aktiviteten kunde inte läsas in igen från databasen")),
                 qPrintable(f.messages.at(1)));
        QCOMPARE(f.App().GetLoadedCount(), 1);
        QCOMPARE(f.Rows().RowOfKey(&f.List(), key), -1);
        QCOMPARE(f.Rows().RowOfKey(&f.AllColumns(), key), -1);
        QCOMPARE(f.EditPage().ShownKey(), -1);
        QCOMPARE(f.List().RowCount(), 2);
    }

    void refusedEditLeavesTheActivityAsStored()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Löpning"));
        fillClassPanel(f, QStringLiteral("Löpning"));
        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        f.Research(key);
        f.Controller().ShowSelectedActivity();
        f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Stan"));
        f.Num(QStringLiteral("numedtEditTDTTime"))->SetValue(QStringLiteral("20.00"));
        QVERIFY(!f.Controller().SaveEditedActivity());
        QCOMPARE(f.messages, QStringList{QStringLiteral("Tiden måste vara längre än mellantiderna")});
        QCOMPARE(f.FocusName(), QStringLiteral("numedtEditTDTTime"));
        auto *session = dynamic_cast<TTimeDistanceActivity *>(f.App().FindActivity(key));
        QCOMPARE(session->GetDuration(), QStringLiteral("45.30"));
        QCOMPARE(session->GetPlace(), QStringLiteral("Elljusspåret"));
        QCOMPARE(f.Cell(TColumnKind::cTime, key), QStringLiteral("45.30"));
    }

    void editedActivityIsSaved()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Innebandy"));
        fillClassPanel(f, QStringLiteral("Innebandy"));
        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        f.Research(key);
        f.Controller().ShowSelectedActivity();
        f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->setText(QStringLiteral("Hallen"));
        f.Child<QLineEdit>(QStringLiteral("edtEditGameGame"))->setText(QStringLiteral("1-4"));
        f.Controller().Save();
        QCOMPARE(f.messages, QStringList());
        QVERIFY(f.statuses.contains(QStringLiteral("Sparad")));
        QCOMPARE(f.StoredPlace(key), QStringLiteral("Hallen"));
        QCOMPARE(f.Cell(TColumnKind::cPlace, key), QStringLiteral("Hallen"));
        QCOMPARE(f.Cell(TColumnKind::cGame, key), QStringLiteral("1-4"));
    }

    void savingTwiceGivesConsecutiveKeys()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Tennis"));
        fillClassPanel(f, QStringLiteral("Tennis"));
        QVERIFY(f.Controller().SaveNewActivity());
        const int first = f.Rows().CurrentKey();
        QVERIFY(f.Controller().SaveNewActivity());
        QCOMPARE(f.Rows().CurrentKey(), first + 1);
        QCOMPARE(f.App().GetLoadedCount(), 2);
        QCOMPARE(f.List().RowCount(), 3);
        QCOMPARE(f.List().Row(), 2);
        QCOMPARE(f.Sessions(), 2);
    }

    void removeAsksFirst()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Dans"));
        fillClassPanel(f, QStringLiteral("Dans"));
        QVERIFY(f.Controller().SaveNewActivity());
        QVERIFY(f.Controller().SaveNewActivity());
        const int second = f.Rows().CurrentKey();
        f.ShowResult();

        f.answers = {QStringLiteral("btnNo")};
        f.Controller().Remove();
        QCOMPARE(f.messages, QStringList{QStringLiteral("Vill du verkligen ta bort aktiviteten?")});
        QCOMPARE(f.Sessions(), 2);

        f.answers = {QStringLiteral("btnYes")};
        f.Controller().Remove();
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(f.Sessions(), 1);
        QCOMPARE(f.App().GetLoadedCount(), 1);
        QCOMPARE(f.Rows().RowOfKey(&f.List(), second), -1);
        QCOMPARE(f.Rows().RowOfKey(&f.AllColumns(), second), -1);
        QCOMPARE(f.List().RowCount(), 2);

        // The last one leaves one empty row.
        f.answers = {QStringLiteral("btnYes")};
        f.Controller().Remove();
        QCOMPARE(f.Sessions(), 0);
        QCOMPARE(f.App().GetLoadedCount(), 0);
        QCOMPARE(f.List().RowCount(), 2);
        QCOMPARE(f.Rows().CurrentKey(), -1);
        QVERIFY(!f.EditPageEnabled());
    }

    void copyFromEditToNew()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Löpning"));
        fillClassPanel(f, QStringLiteral("Löpning"));
        QVERIFY(f.Controller().SaveNewActivity());
        const int key = f.Rows().CurrentKey();
        const auto saved = pageValues(f.NewPage());
        f.NewPage().Clear();
        f.NewPage().SelectActivity(QStringLiteral("Golf"));
        f.Child<TDatePicker>(QStringLiteral("wwdtpNewDate"))->SetText(QStringLiteral("2024-07-01"));

        f.Research(key);
        f.Controller().ShowSelectedActivity();
        QVERIFY(f.Controller().CopyFromEditEnabled());
        f.Controller().CopyFromEdit();
        QCOMPARE(f.FrontEntryPage(), &f.NewPage());
        QCOMPARE(f.NewPage().ActivityName(), QStringLiteral("Löpning"));
        QCOMPARE(f.NewPage().CourseNr(), QString::number(f.CourseNr()));
        QCOMPARE(f.NewPage().PulseIds(), (QList<qint32>{1, 2}));
        auto copied = pageValues(f.NewPage());
        // The date is not copied.
        QCOMPARE(copied.take(QStringLiteral("wwdtp*Date")), QStringLiteral("2024-07-01"));
        copied.remove(QStringLiteral("lbl*DateDayWeek"));
        copied.remove(QStringLiteral("lbl*TDTSinceLast"));
        auto expected = saved;
        expected.remove(QStringLiteral("wwdtp*Date"));
        expected.remove(QStringLiteral("lbl*DateDayWeek"));
        expected.remove(QStringLiteral("lbl*TDTSinceLast"));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(copied.value(it.key()) == it.value(),
                     qPrintable(it.key() + QStringLiteral(": ") + copied.value(it.key()) + QStringLiteral(" != ") + it.value()));
        QVERIFY(f.Controller().SaveNewActivity());
        QCOMPARE(f.Rows().CurrentKey(), key + 1);
    }

    void sinceLastOnTheCourse_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("text");
        QTest::newRow("one day") << "2024-05-13" << "1  dag sedan föregående aktivitet på denna bana";
        QTest::newRow("two days") << "2024-05-12" << "2  dagar sedan föregående aktivitet på denna bana";
        QTest::newRow("same day") << "2024-05-14" << "0  dagar sedan föregående aktivitet på denna bana";
        QTest::newRow("only later sessions") << "2024-05-20" << "";
    }

    void sinceLastOnTheCourse()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, text);
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, QStringLiteral("Löpning"));
        fillClassPanel(f, QStringLiteral("Löpning"));
        f.Child<TDatePicker>(QStringLiteral("wwdtpNewDate"))->SetText(earlier);
        QVERIFY(f.Controller().SaveNewActivity());
        auto *label = f.Child<QLabel>(QStringLiteral("lblNewTDTSinceLast"));
        f.Child<TDatePicker>(QStringLiteral("wwdtpNewDate"))->SetText(QStringLiteral("2024-05-14"));
        QCOMPARE(label->text(), text);

        // "&Frikoppla banbeskrivning" drops the binding and the text, and
        // frees the distance again.
        f.Controller().RemoveCourse();
        QCOMPARE(f.NewPage().CourseNr(), QString());
        QCOMPARE(label->text(), QString());
        QVERIFY(f.Num(QStringLiteral("numedtNewTDTDist"))->isEnabled());
    }

    void anotherActivityDropsTheCourse()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.NewPage().BindCourse(f.Course(f.CourseNr()));
        QVERIFY(f.NewPage().HasCourse());
        // Choosing another activity drops it too; choosing the same one not.
        f.NewPage().SelectActivity(QStringLiteral("Löpning"));
        QVERIFY(f.NewPage().HasCourse());
        f.NewPage().SelectActivity(QStringLiteral("Cykling"));
        QVERIFY(!f.NewPage().HasCourse());
        QCOMPARE(f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->currentText(), QStringLiteral("Elljusspåret"));
        QVERIFY(f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->isEnabled());
    }

    // The course and pulse dialogs of the reference windows, answered as
    // the user does.
    void courseAndPulseDialogs()
    {
        TEntryFixture f;
        QVERIFY(f.Ready());
        f.Common(QStringLiteral("Löpning"));
        f.Num(QStringLiteral("numedtNewTDTDist"))->SetValue(QStringLiteral("10"));
        QStringList shown;
        f.dialog = [&shown](QWidget *window) {
            shown.append(window->objectName());
            if (window->objectName() == QLatin1String("frmChooseCourse")) {
                window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            } else if (window->objectName() == QLatin1String("frmPulseSelect")) {
                window->findChild<QComboBox *>(QStringLiteral("cmbbxPulse1"))->setCurrentIndex(2);
                window->findChild<TNumericalEdit *>(QStringLiteral("numedtPulse1"))->SetValue(QStringLiteral("70"));
                window->findChild<QComboBox *>(QStringLiteral("cmbbxPulse2"))->setCurrentIndex(1);
                window->findChild<TNumericalEdit *>(QStringLiteral("numedtPulse2"))->SetValue(QStringLiteral("30"));
                window->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
            }
        };
        f.Controller().ChooseCourse();
        f.Child<QPushButton>(QStringLiteral("btnNewTDTPulse"))->click();
        QCOMPARE(shown, (QStringList{QStringLiteral("frmChooseCourse"), QStringLiteral("frmPulseSelect")}));
        QCOMPARE(f.NewPage().CourseNr(), QString::number(f.CourseNr()));
        QCOMPARE(f.Num(QStringLiteral("numedtNewLaps"))->Value(), QStringLiteral("2"));
        QCOMPARE(f.NewPage().LapEdit(1, 0)->Value(), QStringLiteral("6.50"));
        QCOMPARE(f.NewPage().PulseIds(), (QList<qint32>{2, 1}));
        QCOMPARE(f.NewPage().PulsePercentages(), (QList<qint32>{70, 30}));
        auto *grid = f.Child<TComplexGrid>(QStringLiteral("cplxgrdNewTDTPulse"));
        QCOMPARE(grid->RowCount(), 2);
        QCOMPARE(grid->Cells(0, 0), QStringLiteral("140-170 (puls)"));
        QCOMPARE(grid->Cells(1, 0), QStringLiteral("70 (%)"));
        QCOMPARE(grid->Cells(0, 1), QStringLiteral("120-140 (puls)"));
        f.Controller().RemoveCourse();
        QVERIFY(!f.NewPage().HasCourse());
    }

    // Every type saved from "Ny" reads back identically on "Ändra".
    void roundTripEveryType_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Löpning", "Längdåkning", "Styrketräning", "Innebandy", "Golf", "Spinning", "Vandring",
                                 "Utförsåkning", "Cykling", "Skridskor", "Tennis", "Aerobics", "Dans", "Viktmätning",
                                 "Övrig", "Simning", "Fotboll", "Ishockey", "Kondition", "Kanot", "Konditionsmätning",
                                 "Inlines"})
            QTest::newRow(name) << QString::fromUtf8(name);
    }

    void roundTripEveryType()
    {
        QFETCH(QString, name);
        TEntryFixture f;
        QVERIFY(f.Ready());
        fillCommon(f, name);
        fillClassPanel(f, name);
        f.NewPage().CalculateCalorieHour();
        QVERIFY(f.Controller().SaveNewActivity());
        QCOMPARE(f.messages, QStringList());
        const int key = f.Rows().CurrentKey();
        QCOMPARE(f.Cell(TColumnKind::cAct, key), name);

        f.Research(key);
        f.Controller().ShowSelectedActivity();
        QCOMPARE(f.EditPage().ShownKey(), key);
        QCOMPARE(f.EditPage().ActivityName(), name);
        QCOMPARE(f.EditPage().CurrentPanel(), f.NewPage().CurrentPanel());
        QCOMPARE(f.Child<QLineEdit>(QStringLiteral("edtEditLocation"))->text(),
                 f.Child<QComboBox>(QStringLiteral("cmbbxNewLocation"))->currentText());
        QCOMPARE(f.EditPage().CourseNr(), f.NewPage().CourseNr());
        QCOMPARE(f.EditPage().PulseIds(), f.NewPage().PulseIds());
        QCOMPARE(f.EditPage().PulsePercentages(), f.NewPage().PulsePercentages());

        auto saved = pageValues(f.NewPage());
        auto shown = pageValues(f.EditPage());
        QCOMPARE(saved.value(QStringLiteral("numedt*Weight")), QStringLiteral("72.5"));
        QCOMPARE(saved.value(QStringLiteral("mo*Comment")), QStringLiteral("Pass ") + name);
        // The since-last text belongs to "Ny" alone; activity and place are
        // combo boxes there and plain fields here (compared above).
        for (const char *only : {"lbl*TDTSinceLast", "cmbbx*Activity", "cmbbx*Location", "edt*Activity", "edt*Location"}) {
            saved.remove(QLatin1String(only));
            shown.remove(QLatin1String(only));
        }
        QCOMPARE(shown.keys(), saved.keys());
        for (auto it = saved.cbegin(); it != saved.cend(); ++it)
            QVERIFY2(shown.value(it.key()) == it.value(),
                     qPrintable(it.key() + QStringLiteral(": shown '") + shown.value(it.key()) + QStringLiteral("', saved '")
                                + it.value() + QLatin1Char('\'')));
    }
};

QTEST_MAIN(tst_EntryPage)
#include "tst_EntryPage.moc"
