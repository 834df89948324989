#pragma once

#include "foundation/IntegerList.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class TActivity;
class TComplexGrid;
class TCorvaleApp;
class TDatePicker;
class TEntryGrid;
class TNumericalEdit;
class TRepsEdit;

// Which of the two entry pages a page is: "Ny" composes a new activity,
// "Ändra" shows and edits the activity of the current list row. Their
// component names differ only by "New" and "Edit".
enum class TEntryPageKind { New, Edit };

// The class panels, one per activity family; the first test that fits an
// activity's class picks its panel (see PanelOf).
enum class TEntryPanel { None, Workout, TimeDistance, Game, Time, Blank, Distance, Golf, Other, Measure };

// A course chosen for the session on a page: its number, place, distance
// and lap distances.
struct TChosenCourse
{
    QString CourseNr;
    QString Place;
    QString Distance;
    QStringList Laps;
};

// One entry page: the common block (date, activity, place, weight, pulses,
// calories, comment, weather, wind and rest with their pickers), the class
// panels of which only the one that fits the activity shows, the lap table
// with its derived split times, speeds and kilometre times, the golf score
// card, the strength program, the pulse-interval grid and the course
// binding of time-and-distance sessions.
//
// The page reads and writes activity objects only through their getters and
// setters and never stores anything itself; saving, removing and listing
// belong to TEntryController. Handlers of its own controls run through the
// error guard: an input error is shown in a Swedish error box with the focus
// back on the field, and the handler ends.
//
// The dialogs the page opens (pulse intervals, course choice) are reached
// through hooks, so that the page is used and tested on its own.
class TActivityPage : public QWidget
{
    Q_OBJECT

public:
    // Returns true when the user confirmed a new choice, which is then in
    // the lists.
    using TPulseDialog = std::function<bool(QList<qint32> &ids, QList<qint32> &percentages)>;
    using TCourseDialog =
        std::function<bool(const QString &activity, const QString &place, const QString &distance, TChosenCourse &chosen)>;

    TActivityPage(TCorvaleApp &app, TEntryPageKind kind, QWidget *parent = nullptr);
    ~TActivityPage() override;

    TEntryPageKind Kind() const { return m_kind; }
    // "New" or "Edit", the part of every component name that tells the
    // pages apart.
    QString Prefix() const;

    void SetPulseDialog(TPulseDialog dialog) { m_pulseDialog = std::move(dialog); }
    void SetCourseDialog(TCourseDialog dialog) { m_courseDialog = std::move(dialog); }

    // --- lists ------------------------------------------------------------
    // "Ny": the activity names (sorted by the caller) for the activity combo
    // box; no entry is chosen afterwards.
    void SetActivityNames(const QStringList &names);
    // Refills the program combo box with an empty entry and the programs of
    // the register, chooses the program chosen before where it still exists
    // (else the empty entry) and runs the program change handler.
    void FillWorkPrograms();

    // --- the activity of the page ------------------------------------------
    // The display name on the page (combo box or read-only field).
    QString ActivityName() const;
    // "Ny": chooses the name and runs the activity change handler as the
    // user's choice does. A name not in the list chooses nothing.
    void SelectActivity(const QString &name);
    // The date as "yyyy-mm-dd"; empty when the date field is empty or holds
    // a text that is no date.
    QString Date() const;
    // Refuses a date the page cannot be saved with: a text that is no date
    // ("2026-02-30 är inget giltigt datum") or no date at all ("Skriv in ett
    // datum"), in the error box with the focus on the date; then EAbort.
    void CheckDate();
    // "Ändra": the key of the activity shown; -1 for none.
    int ShownKey() const { return m_shownKey; }

    // The panel for the activity's class; any other class raises EUIError
    // "Invalid activity. Main 01" ("Ny") or "Invalid activity. Main 03"
    // ("Ändra").
    TEntryPanel PanelOf(const TActivity &activity) const;
    // Hides every class panel and shows the one given (None hides all).
    void ShowActivityPanel(TEntryPanel panel);
    TEntryPanel CurrentPanel() const { return m_panel; }
    bool ShowsTimeDistance() const { return m_panel == TEntryPanel::TimeDistance; }
    // Decided by the activity's class, not by its display name, so that a
    // renamed golf keeps its golf menu.
    bool ShowsGolf() const { return m_panel == TEntryPanel::Golf; }

    // Fills the page from the activity: the common block, then its panel,
    // the laps, the golf card, the workout rows, the pulse intervals and the
    // course binding; "Ändra" remembers the activity's key.
    void ShowActivity(const TActivity &activity);
    // Reads the page into the activity through its setters: the common block
    // first, then the class panel. The numeric edits and grids of the page
    // first take over what is typed in them. A value the page refuses (an
    // empty date, a time that is no time, laps out of order, golf values the
    // round cannot hold) is shown in a Swedish error box with the focus on
    // the field, and EAbort is raised; every other failure raises the
    // setter's own error. Either way the activity may be partly changed.
    void ReadInto(TActivity &activity);
    // Empties the page: today's date, no place, weight, comment, pulses,
    // calories, weather, wind or rest, and empty class panels without a
    // course binding or pulse intervals. The activity of the page stays.
    void Clear();
    // "Ändra": forgets the activity shown and clears the page and the
    // activity field.
    void ClearShown();
    // The diary the page's lists and choices came from is being closed: the
    // page is cleared of what belongs to it - the activity shown ("Ändra"),
    // the chosen activity and its places ("Ny"), the bound course, the
    // pulse intervals, the program - and of what was typed for it, and shows
    // no class panel.
    void ForgetDiary();

    // "Ändra": whether the user changed anything the page shows of the
    // activity since it was shown or saved; false while none is shown.
    bool HasChanges() const;
    // What the page shows now counts as unchanged (after showing or saving).
    void MarkUnchanged();
    // "Ny": takes over what the edit page shows (the date excepted), as the
    // menu item "&Kopiera från Ändra till Ny" does.
    void CopyFrom(const TActivityPage &source);

    // --- derived values -----------------------------------------------------
    // Speed and kilometre time from the time and distance of the
    // time-and-distance panel; an invalid time is refused (error box, focus
    // back, EAbort). Then kilocalories per hour.
    void FloatCalcExit();
    void CalculateCalorieHour();
    void WaistHipExit();
    void CalculateAllowedStrokes();
    // The weekday and week number of the date, the since-last text and the
    // current course.
    void DateExit();

    // --- laps ---------------------------------------------------------------
    // Shows the first `count` lap columns (the count of the lap field),
    // resizes the strips and recomputes the table.
    void LapCountExit();
    // Split times, lap speeds and lap kilometre times of the shown laps in
    // the lap calculation mode of the settings.
    void RecalcLaps();
    // The lap calculation label; with `recompute` the table as well.
    void ShowLapCalcMode(bool recompute);
    // The edit of lap `lap` (0..19), row `row` (0 distance, 1 split time,
    // 2 split duration, 3 speed, 4 kilometre time).
    TNumericalEdit *LapEdit(int lap, int row) const;

    // --- golf ------------------------------------------------------------------
    // The handicap valid at the page's date into the previous-handicap field.
    void GetLatestHCP();
    // The points of the card (with "Använd tabell" only).
    void CalculateScore();
    // Par, strokes and putts from the card (with "Använd tabell" only); a
    // stroke cell holding 0 becomes 1 first.
    void CalculateCardTotals();

    // --- strength programs -----------------------------------------------------
    void cmbbxWorkEPChange();
    void FillProgramExercises();

    // --- course binding ----------------------------------------------------------
    QString CourseNr() const { return m_courseNr; }
    bool HasCourse() const { return !m_courseNr.isEmpty(); }
    // Opens the course choice for the activity, place and distance of the
    // page; a chosen course is bound.
    void ChooseCourse();
    // Binds the course: its lap distances fill the lap table, its place and
    // distance the page.
    void BindCourse(const TChosenCourse &course);
    // Drops the binding (also every change of the lap count, a lap distance
    // or the new place).
    void CourseValChange();
    // "Ny": the days since the last session on the bound course.
    void UpdateSinceLast();

    // --- pulse intervals ---------------------------------------------------------
    void SelectPulses();
    void SetPulseIntervals(const QList<qint32> &ids, const QList<qint32> &percentages);
    QList<qint32> PulseIds() const { return m_pulseIds; }
    QList<qint32> PulsePercentages() const { return m_pulseValues; }
    // One grid row per interval: its name and " (puls)", its share and " (%)".
    void ShowPulseIntervals();

    // The page's part of the main window's enabling: the distance (and with
    // it place, lap count and lap distances) locked while a course is bound,
    // the weather, wind and rest pictures shown only above position 0.
    void UpdateControls();

    // "Ny": the handler of the activity combo box; `bySender` is false only
    // for the call made when the page comes to the front, which keeps the
    // course binding.
    void cmbbxNewActivityChange(bool bySender);

signals:
    // Something changed that the main window's menus depend on.
    void ControlsChanged();
    // The course, date or activity of the page changed.
    void CourseContextChanged();

private:
    struct TWorkoutFreeRow
    {
        QLineEdit *name = nullptr;
        TRepsEdit *reps = nullptr;
        TNumericalEdit *weight = nullptr;
    };

    // Construction (EntryPage.cpp).
    QString Name(const char *base) const;
    TNumericalEdit *NumEdit(QWidget *parent, const char *base, const QString &min, const QString &max, int decimals);
    QPlainTextEdit *Memo(QWidget *parent, const char *base, int maxLength = 250);
    void BuildCommonBlock(QWidget *parent);
    void BuildPanels(QWidget *parent);
    QWidget *BuildWorkoutPanel();
    QWidget *BuildTimeDistancePanel();
    QWidget *BuildLapTable(QWidget *parent);
    QWidget *BuildGamePanel();
    QWidget *BuildTimePanel();
    QWidget *BuildBlankPanel();
    QWidget *BuildDistancePanel();
    QWidget *BuildGolfPanel();
    QWidget *BuildOtherPanel();
    QWidget *BuildMeasurePanel();
    void ConnectHandlers();

    // Pickers.
    void trbrWeatherChange();
    void trbrWindDirChange();
    void trbrSleepChange();
    void UpdatePickers();

    // Values (EntryPageValues.cpp).
    QWidget *ComponentOf(TEntryPanel panel) const;
    void ShowCommon(const TActivity &activity);
    void ShowClass(const TActivity &activity);
    void ReadCommon(TActivity &activity);
    void ReadClass(TActivity &activity);
    void ReadWorkout(TActivity &activity);
    void ReadTimeDistance(TActivity &activity);
    void ReadGolf(TActivity &activity);
    void ClearClassPanels();
    void ClearLapEdits();
    // Shows the message in the error box, puts the focus on the field and
    // raises EAbort.
    [[noreturn]] void Refuse(QWidget *field, const QString &message);
    // A time field must hold a time; else Refuse with the page's text.
    void RequireTime(TNumericalEdit *field, bool saving);
    void FocusBack(QWidget *field);
    // Every value the user can change on the page, with the course and the
    // pulse intervals chosen for it.
    QStringList EditableValues() const;
    void SetPlace(const QString &place);
    QString Place() const;
    void RefillPlaces(const QString &name);
    int ProgramIndexOf(const QString &programId) const;
    QString ChosenProgramId() const;

    TCorvaleApp &m_app;
    const TEntryPageKind m_kind;
    TPulseDialog m_pulseDialog;
    TCourseDialog m_courseDialog;
    TEntryPanel m_panel = TEntryPanel::None;
    int m_shownKey = -1;
    QString m_handledActivity; // the name the activity handler ran for last
    QString m_courseNr;        // empty when no course is bound
    QStringList m_unchanged;   // EditableValues() when last marked unchanged
    QList<qint32> m_pulseIds;
    QList<qint32> m_pulseValues;
    TIntegerList m_programIds; // entry i + 1 of the program combo box is m_programIds[i]
    // Set while the program fills controls whose user changes drop the
    // course binding or run handlers.
    bool m_filling = false;
    // Set while the focus is put back on a refused field, so that the
    // handlers of the field the user went to stay quiet.
    bool m_refocusing = false;

    // Common block.
    TDatePicker *m_wwdtpDate = nullptr;
    QLabel *m_lblDateDayWeek = nullptr;
    QComboBox *m_cmbbxNewActivity = nullptr; // "Ny"
    QLineEdit *m_edtEditActivity = nullptr;  // "Ändra"
    QComboBox *m_cmbbxNewLocation = nullptr; // "Ny"
    QLineEdit *m_edtEditLocation = nullptr;  // "Ändra"
    TNumericalEdit *m_numedtWeight = nullptr;
    TNumericalEdit *m_numedtRestPulse = nullptr;
    TNumericalEdit *m_numedtAvgPulse = nullptr;
    TNumericalEdit *m_numedtMaxPulse = nullptr;
    TNumericalEdit *m_numedtCalorie = nullptr;
    TNumericalEdit *m_numedtCalHour = nullptr;
    QPlainTextEdit *m_moComment = nullptr;
    QSlider *m_trbrWeather = nullptr;
    QSlider *m_trbrWindDir = nullptr;
    QSlider *m_trbrSleep = nullptr;
    QLabel *m_lblWeather = nullptr;
    QLabel *m_lblWindDir = nullptr;
    QLabel *m_lblSleepQuality = nullptr;
    QLabel *m_imgWeather = nullptr;
    QLabel *m_imgWindDir = nullptr;
    QLabel *m_imgSleep = nullptr;
    QLabel *m_imgSmhiWeather = nullptr;
    QLabel *m_imgSmhiWind = nullptr;
    TNumericalEdit *m_numedtWind = nullptr;
    TNumericalEdit *m_numedtTemp = nullptr;
    TNumericalEdit *m_numedtSleepTime = nullptr;

    // Class panels.
    QWidget *m_pnlWo = nullptr;
    QWidget *m_pnlTDT = nullptr;
    QWidget *m_pnlGame = nullptr;
    QWidget *m_pnlT = nullptr;
    QWidget *m_pnlBlank = nullptr;
    QWidget *m_pnlDist = nullptr;
    QWidget *m_pnlGolf = nullptr;
    QWidget *m_pnlOther = nullptr;
    QWidget *m_pnlMeasure = nullptr;

    // Strength workout.
    QComboBox *m_cmbbxWorkEP = nullptr;
    QLineEdit *m_edtWorkEPComment = nullptr;
    TEntryGrid *m_cplxgrdWork = nullptr;
    QWidget *m_grbxWorkFree = nullptr;
    std::array<TWorkoutFreeRow, 4> m_workFree;
    QPlainTextEdit *m_moWorkComment = nullptr;

    // Time and distance.
    TNumericalEdit *m_numedtTDTTime = nullptr;
    TNumericalEdit *m_numedtTDTDist = nullptr;
    TNumericalEdit *m_numedtTDTAvg = nullptr;
    TNumericalEdit *m_numedtTDTKmTime = nullptr;
    QLabel *m_lblTDTSinceLast = nullptr;
    QWidget *m_pnlLapCount = nullptr;
    QLabel *m_lblUsedLapCalc = nullptr;
    TComplexGrid *m_cplxgrdTDTPulse = nullptr;
    QPushButton *m_btnTDTPulse = nullptr;
    QPlainTextEdit *m_moTDTComment = nullptr;
    TNumericalEdit *m_numedtLaps = nullptr;
    QWidget *m_pnlLaps1 = nullptr;
    QWidget *m_pnlLaps2 = nullptr;
    std::array<QLabel *, 20> m_lblLaps{};
    std::array<std::array<TNumericalEdit *, 5>, 20> m_numedtLapEdits{};

    // Game.
    TNumericalEdit *m_numedtGameTime = nullptr;
    QLineEdit *m_edtGameGame = nullptr;
    QComboBox *m_cmbbxGamePerf = nullptr;
    QPlainTextEdit *m_moGameComment = nullptr;

    // Simple time, distance, other.
    TNumericalEdit *m_numedtTTime = nullptr;
    QPlainTextEdit *m_moTComment = nullptr;
    TNumericalEdit *m_numedtDistDist = nullptr;
    QPlainTextEdit *m_moDistComment = nullptr;
    QLineEdit *m_edtOtherActivity = nullptr;
    QPlainTextEdit *m_moOtherComment = nullptr;

    // Golf.
    TNumericalEdit *m_numedtGolfPar = nullptr;
    TNumericalEdit *m_numedtGolfStroke = nullptr;
    TNumericalEdit *m_numedtGolfPrevHCP = nullptr;
    TNumericalEdit *m_numedtGolfHcp = nullptr;
    TNumericalEdit *m_numedtGolfCR = nullptr;
    TNumericalEdit *m_numedtGolfSlope = nullptr;
    TNumericalEdit *m_numedtGolfPutt = nullptr;
    TNumericalEdit *m_numedtGolfBunker = nullptr;
    TNumericalEdit *m_numedtGolfScore = nullptr;
    TNumericalEdit *m_numedtGolfStrokes = nullptr;
    QCheckBox *m_chkbxGolfUseGrid = nullptr;
    QPlainTextEdit *m_moGolfComment = nullptr;
    TEntryGrid *m_strgrdGolf = nullptr;

    // Body measurement.
    TNumericalEdit *m_numedtMeasure = nullptr;
    TNumericalEdit *m_numedtNeck = nullptr;
    TNumericalEdit *m_numedtShoulder = nullptr;
    TNumericalEdit *m_numedtChest = nullptr;
    TNumericalEdit *m_numedtBiceps = nullptr;
    TNumericalEdit *m_numedtArm = nullptr;
    TNumericalEdit *m_numedtWaist = nullptr;
    TNumericalEdit *m_numedtHip = nullptr;
    TNumericalEdit *m_numedtThigh = nullptr;
    TNumericalEdit *m_numedtCalf = nullptr;
    TNumericalEdit *m_numedtWaistHip = nullptr;
    QPlainTextEdit *m_moMeasureComment = nullptr;
};
