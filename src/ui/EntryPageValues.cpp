// The entry page and the activity objects: which panel fits an activity,
// showing an activity on the page, reading the page into an activity,
// clearing the page and copying "Ändra" to "Ny".

#include "ui/EntryPage.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DatePicker.h"
#include "foundation/MessageBox.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "ui/CorvaleCommon.h"
#include "ui/EntryGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

namespace
{
using TimeDate = TTulloUtilTimeDate;

// The texts a new object holds before anything was set stand for no value
// on the page.
QString shown(const QString &text, const QString &unset = QStringLiteral("-1"))
{
    return text == unset ? QString() : text;
}

// The golf card's rows 1..6 and the hole's field of each.
QString TGolfHole::*const golfRows[] = {&TGolfHole::Par,    &TGolfHole::Distance, &TGolfHole::Hcp,
                                        &TGolfHole::Stroke, &TGolfHole::Score,    &TGolfHole::Putt};

void setSlider(QSlider *slider, int position)
{
    slider->setValue(qBound(slider->minimum(), position, slider->maximum()));
}
}

// ---------------------------------------------------------------------------
// Panels

TEntryPanel TActivityPage::PanelOf(const TActivity &activity) const
{
    // The most special classes first: a workout, the time-and-distance
    // types and the games are time activities of their own kind.
    const TActivity *a = &activity;
    if (dynamic_cast<const TWorkout *>(a))
        return TEntryPanel::Workout;
    if (dynamic_cast<const TTimeDistanceActivity *>(a))
        return TEntryPanel::TimeDistance;
    if (dynamic_cast<const TGame *>(a))
        return TEntryPanel::Game;
    if (dynamic_cast<const TSimpleTimeActivity *>(a))
        return TEntryPanel::Time;
    if (dynamic_cast<const TSimpleActivity *>(a))
        return TEntryPanel::Blank;
    if (dynamic_cast<const TDistanceActivity *>(a))
        return TEntryPanel::Distance;
    if (dynamic_cast<const TGolf *>(a))
        return TEntryPanel::Golf;
    if (dynamic_cast<const TOther *>(a))
        return TEntryPanel::Other;
    if (dynamic_cast<const TCardioMeasure *>(a))
        return TEntryPanel::Measure;
    throw EUIError(m_kind == TEntryPageKind::New ? QStringLiteral("Invalid activity. Main 01")
                                                 : QStringLiteral("Invalid activity. Main 03"));
}

QWidget *TActivityPage::ComponentOf(TEntryPanel panel) const
{
    switch (panel) {
    case TEntryPanel::Workout:
        return m_pnlWo;
    case TEntryPanel::TimeDistance:
        return m_pnlTDT;
    case TEntryPanel::Game:
        return m_pnlGame;
    case TEntryPanel::Time:
        return m_pnlT;
    case TEntryPanel::Blank:
        return m_pnlBlank;
    case TEntryPanel::Distance:
        return m_pnlDist;
    case TEntryPanel::Golf:
        return m_pnlGolf;
    case TEntryPanel::Other:
        return m_pnlOther;
    case TEntryPanel::Measure:
        return m_pnlMeasure;
    case TEntryPanel::None:
        break;
    }
    return nullptr;
}

void TActivityPage::ShowActivityPanel(TEntryPanel panel)
{
    QWidget *chosen = ComponentOf(panel);
    m_panel = panel;
    if (chosen && !chosen->isHidden())
        return;
    for (QWidget *other : {m_pnlWo, m_pnlTDT, m_pnlGame, m_pnlT, m_pnlBlank, m_pnlDist, m_pnlGolf, m_pnlOther, m_pnlMeasure}) {
        if (other != chosen)
            other->setVisible(false);
    }
    if (chosen)
        chosen->setVisible(true);
}

// ---------------------------------------------------------------------------
// The activity of the page

QString TActivityPage::ActivityName() const
{
    if (m_kind == TEntryPageKind::Edit)
        return m_edtEditActivity->text();
    return m_cmbbxNewActivity->currentIndex() >= 0 ? m_cmbbxNewActivity->currentText() : QString();
}

void TActivityPage::SetActivityNames(const QStringList &names)
{
    if (!m_cmbbxNewActivity)
        return;
    const QSignalBlocker blocker(m_cmbbxNewActivity);
    m_cmbbxNewActivity->clear();
    m_cmbbxNewActivity->addItems(names);
    m_cmbbxNewActivity->setCurrentIndex(-1);
    m_handledActivity.clear();
}

void TActivityPage::SelectActivity(const QString &name)
{
    if (!m_cmbbxNewActivity)
        return;
    const int index = m_cmbbxNewActivity->findText(name, Qt::MatchExactly);
    if (index < 0)
        return;
    {
        const QSignalBlocker blocker(m_cmbbxNewActivity);
        m_cmbbxNewActivity->setCurrentIndex(index);
    }
    cmbbxNewActivityChange(true);
}

QString TActivityPage::Date() const
{
    return m_wwdtpDate->Text();
}

QString TActivityPage::Place() const
{
    return m_kind == TEntryPageKind::New ? m_cmbbxNewLocation->currentText() : m_edtEditLocation->text();
}

void TActivityPage::SetPlace(const QString &place)
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    if (m_kind == TEntryPageKind::New)
        m_cmbbxNewLocation->setEditText(place);
    else
        m_edtEditLocation->setText(place);
}

void TActivityPage::RefillPlaces(const QString &name)
{
    if (!m_cmbbxNewLocation)
        return;
    // The place typed stays: refilling the list only changes the choices.
    const QString kept = m_cmbbxNewLocation->currentText();
    QStringList places;
    m_app.GetPlaces(&places, name);
    const QScopedValueRollback<bool> filling(m_filling, true);
    const QSignalBlocker blocker(m_cmbbxNewLocation);
    m_cmbbxNewLocation->clear();
    m_cmbbxNewLocation->addItems(places);
    m_cmbbxNewLocation->setCurrentIndex(-1);
    m_cmbbxNewLocation->setEditText(kept);
}

QString TActivityPage::ChosenProgramId() const
{
    const int index = m_cmbbxWorkEP->currentIndex();
    if (index <= 0 || index - 1 >= m_programIds.Count())
        return QString();
    return QString::number(m_programIds.Items(index - 1));
}

int TActivityPage::ProgramIndexOf(const QString &programId) const
{
    bool ok = false;
    const int id = programId.trimmed().toInt(&ok);
    if (!ok || id < 0)
        return 0;
    const int position = m_programIds.IndexOf(id);
    return position < 0 ? 0 : position + 1;
}

void TActivityPage::FillWorkPrograms()
{
    const QString kept = ChosenProgramId();
    QList<qint32> ids;
    QStringList names;
    m_app.GetExercisePrograms().GetPrograms(ids, names);
    {
        const QSignalBlocker blocker(m_cmbbxWorkEP);
        m_cmbbxWorkEP->clear();
        m_programIds.Clear();
        m_cmbbxWorkEP->addItem(QString());
        for (int i = 0; i < ids.size(); ++i) {
            m_cmbbxWorkEP->addItem(names.at(i));
            m_programIds.Add(ids.at(i));
        }
        m_cmbbxWorkEP->setCurrentIndex(ProgramIndexOf(kept));
    }
    cmbbxWorkEPChange();
}

// ---------------------------------------------------------------------------
// Showing an activity

void TActivityPage::ShowActivity(const TActivity &activity)
{
    const TEntryPanel panel = PanelOf(activity);
    const QString name = activity.GetActivityName();
    if (m_kind == TEntryPageKind::Edit) {
        m_shownKey = activity.GetSessionNr();
        m_edtEditActivity->setText(name);
    } else {
        const QSignalBlocker blocker(m_cmbbxNewActivity);
        m_cmbbxNewActivity->setCurrentIndex(m_cmbbxNewActivity->findText(name, Qt::MatchExactly));
        m_handledActivity = name;
        RefillPlaces(name);
    }
    ShowActivityPanel(panel);
    ClearClassPanels();
    ShowCommon(activity);
    ShowClass(activity);
    DateExit();
    CalculateCalorieHour();
    UpdateControls();
    MarkUnchanged();
    emit ControlsChanged();
}

void TActivityPage::ShowCommon(const TActivity &activity)
{
    m_wwdtpDate->SetText(activity.GetDate());
    SetPlace(activity.GetPlace());
    m_moComment->setPlainText(activity.GetSessionComment());
    m_numedtWeight->SetValue(activity.GetWeight());
    m_numedtRestPulse->SetValue(activity.GetRestPulse());
    m_numedtAvgPulse->SetValue(activity.GetAvgPulse());
    m_numedtMaxPulse->SetValue(activity.GetMaxPulse());
    m_numedtCalorie->SetValue(activity.GetCalorie());
    setSlider(m_trbrWeather, activity.GetWeather() + 1);
    m_numedtTemp->SetValue(activity.GetTemperature());
    setSlider(m_trbrWindDir, activity.GetWindDir() + 1);
    m_numedtWind->SetValue(activity.GetWind());
    setSlider(m_trbrSleep, activity.GetSleepQuality() + 1);
    m_numedtSleepTime->SetValue(activity.GetSleepDuration());
    UpdatePickers();
}

void TActivityPage::ShowClass(const TActivity &activity)
{
    switch (m_panel) {
    case TEntryPanel::Workout: {
        const auto &workout = static_cast<const TWorkout &>(activity);
        TWorkoutExercises exercises;
        workout.GetExercises(exercises);
        for (int row = 1; row <= WorkoutProgramSlots; ++row) {
            const TWorkoutExercise &slot = exercises[std::size_t(row - 1)];
            m_cplxgrdWork->SetCells(1, row, shown(slot.Reps, QStringLiteral("0x0")));
            m_cplxgrdWork->SetCells(2, row, shown(slot.Load));
        }
        for (int k = 0; k < WorkoutFreeSlots; ++k) {
            const TWorkoutExercise &slot = exercises[std::size_t(WorkoutProgramSlots + k)];
            TWorkoutFreeRow &row = m_workFree[std::size_t(k)];
            row.name->setText(shown(slot.Name, QStringLiteral("-")));
            row.reps->SetValue(shown(slot.Reps, QStringLiteral("0x0")));
            row.weight->SetValue(shown(slot.Load));
        }
        m_moWorkComment->setPlainText(workout.GetComment());
        {
            const QSignalBlocker blocker(m_cmbbxWorkEP);
            m_cmbbxWorkEP->setCurrentIndex(ProgramIndexOf(workout.GetProgram()));
        }
        cmbbxWorkEPChange();
        break;
    }
    case TEntryPanel::TimeDistance: {
        const auto &session = static_cast<const TTimeDistanceActivity &>(activity);
        m_numedtTDTDist->SetValue(session.GetDistance());
        m_numedtTDTTime->SetValue(session.GetDuration());
        m_moTDTComment->setPlainText(session.GetComment());
        QStringList times, distances;
        const int count = qMin(session.GetLaps(&times, &distances), int(TCorvaleCommon::LapCount));
        {
            const QScopedValueRollback<bool> filling(m_filling, true);
            m_numedtLaps->SetValue(QString::number(count));
            ClearLapEdits();
            for (int i = 0; i < count; ++i) {
                LapEdit(i, 0)->SetValue(distances.value(i));
                LapEdit(i, 1)->SetValue(times.value(i));
            }
        }
        m_numedtTDTAvg->SetValue(session.GetSpeed());
        m_numedtTDTKmTime->SetValue(session.GetKmTime());
        LapCountExit();
        const QString course = session.GetCourseNr().trimmed();
        m_courseNr = course == QLatin1String("-1") ? QString() : course;
        QList<qint32> ids, percentages;
        session.GetPulseIntervals(ids, percentages);
        SetPulseIntervals(ids, percentages);
        UpdateSinceLast();
        break;
    }
    case TEntryPanel::Game: {
        const auto &game = static_cast<const TGame &>(activity);
        m_numedtGameTime->SetValue(game.GetDuration());
        m_cmbbxGamePerf->setCurrentIndex(game.GetPerformance() >= 0 && game.GetPerformance() < m_cmbbxGamePerf->count()
                                             ? game.GetPerformance()
                                             : -1);
        m_edtGameGame->setText(shown(game.GetGame(), QStringLiteral("Default")));
        m_moGameComment->setPlainText(game.GetComment());
        break;
    }
    case TEntryPanel::Time: {
        const auto &time = static_cast<const TTimeActivity &>(activity);
        m_numedtTTime->SetValue(time.GetDuration());
        m_moTComment->setPlainText(time.GetComment());
        break;
    }
    case TEntryPanel::Golf: {
        const auto &golf = static_cast<const TGolf &>(activity);
        m_numedtGolfPar->SetValue(shown(golf.GetPar()));
        m_numedtGolfStroke->SetValue(shown(golf.GetStroke()));
        m_numedtGolfPrevHCP->SetValue(shown(golf.GetPrevHcp()));
        m_numedtGolfHcp->SetValue(shown(golf.GetNewHcp()));
        m_numedtGolfCR->SetValue(shown(golf.GetCr()));
        m_numedtGolfSlope->SetValue(shown(golf.GetSlope()));
        m_numedtGolfPutt->SetValue(shown(golf.GetPutt()));
        m_numedtGolfBunker->SetValue(shown(golf.GetBunker()));
        m_numedtGolfScore->SetValue(shown(golf.GetScore()));
        m_chkbxGolfUseGrid->setChecked(golf.GetCalculate());
        m_moGolfComment->setPlainText(golf.GetComment());
        const TGolfHoles holes = golf.GetHoles();
        for (int hole = 1; hole <= GolfHoleCount; ++hole) {
            for (int row = 1; row <= 6; ++row)
                m_strgrdGolf->SetCells(hole, row, holes[std::size_t(hole - 1)].*golfRows[row - 1]);
        }
        CalculateCardTotals();
        CalculateAllowedStrokes();
        break;
    }
    case TEntryPanel::Distance: {
        const auto &distance = static_cast<const TDistanceActivity &>(activity);
        m_numedtDistDist->SetValue(distance.GetDistance());
        m_moDistComment->setPlainText(distance.GetComment());
        break;
    }
    case TEntryPanel::Other: {
        const auto &other = static_cast<const TOther &>(activity);
        m_edtOtherActivity->setText(other.GetOtherActivity());
        m_moOtherComment->setPlainText(other.GetComment());
        break;
    }
    case TEntryPanel::Measure: {
        const auto &measure = static_cast<const TCardioMeasure &>(activity);
        m_numedtMeasure->SetValue(shown(measure.GetMeasure()));
        m_numedtNeck->SetValue(shown(measure.GetNeck()));
        m_numedtShoulder->SetValue(shown(measure.GetShoulder()));
        m_numedtChest->SetValue(shown(measure.GetChest()));
        m_numedtBiceps->SetValue(shown(measure.GetBiceps()));
        m_numedtArm->SetValue(shown(measure.GetArm()));
        m_numedtWaist->SetValue(shown(measure.GetWaist()));
        m_numedtHip->SetValue(shown(measure.GetHip()));
        m_numedtThigh->SetValue(shown(measure.GetThigh()));
        m_numedtCalf->SetValue(shown(measure.GetCalf()));
        WaistHipExit();
        m_moMeasureComment->setPlainText(measure.GetComment());
        break;
    }
    case TEntryPanel::Blank:
    case TEntryPanel::None:
        break;
    }
}

// ---------------------------------------------------------------------------
// Reading the page

void TActivityPage::Refuse(QWidget *field, const QString &message)
{
    ShowMessageBox(message, TMessageKind::Error, TMessageButton::OK);
    if (field)
        FocusBack(field);
    throw EAbort();
}

void TActivityPage::FocusBack(QWidget *field)
{
    const QScopedValueRollback<bool> refocusing(m_refocusing, true);
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->selectAll();
}

void TActivityPage::RequireTime(TNumericalEdit *field, bool saving)
{
    if (TimeDate::IsValidTime(field->Value()))
        return;
    // Saving a new activity that cannot be saved says so; the other pages'
    // boxes are the field's own.
    const QString text = QStringLiteral("Skriv tid som positivt decimaltal");
    Refuse(field, saving && m_kind == TEntryPageKind::New ? QStringLiteral("Aktiviteten sparades inte: ") + text : text);
}

void TActivityPage::ReadInto(TActivity &activity)
{
    // Whatever is still being typed counts: every edit and grid of the
    // page takes over its text first.
    TTulloUtilMisc::CommitEdits(this);
    CheckDate();
    ReadCommon(activity);
    ReadClass(activity);
}

void TActivityPage::CheckDate()
{
    const QString refusal = m_wwdtpDate->Refusal();
    if (!refusal.isEmpty())
        Refuse(m_wwdtpDate, refusal);
    if (Date().isEmpty())
        Refuse(m_wwdtpDate, QStringLiteral("Skriv in ett datum"));
}

void TActivityPage::ReadCommon(TActivity &activity)
{
    activity.SetSessionData(Date(), Place(), m_moComment->toPlainText(), m_numedtWeight->Value());
    activity.SetPulse(m_numedtRestPulse->Value(), m_numedtAvgPulse->Value(), m_numedtMaxPulse->Value());
    activity.SetCalorie(m_numedtCalorie->Value());
    activity.SetWeather(QString::number(m_trbrWeather->value() - 1), QString::number(m_trbrWindDir->value() - 1),
                        m_numedtWind->Value());
    activity.SetTemperature(m_numedtTemp->Value());
    activity.SetSleep(QString::number(m_trbrSleep->value() - 1), m_numedtSleepTime->Value());
}

void TActivityPage::ReadClass(TActivity &activity)
{
    switch (PanelOf(activity)) {
    case TEntryPanel::Workout:
        ReadWorkout(activity);
        break;
    case TEntryPanel::TimeDistance:
        ReadTimeDistance(activity);
        break;
    case TEntryPanel::Game: {
        auto &game = static_cast<TGame &>(activity);
        RequireTime(m_numedtGameTime, true);
        game.SetComment(m_moGameComment->toPlainText());
        game.SetDuration(m_numedtGameTime->Value());
        game.SetGame(QString::number(m_cmbbxGamePerf->currentIndex()), m_edtGameGame->text());
        break;
    }
    case TEntryPanel::Time: {
        auto &time = static_cast<TTimeActivity &>(activity);
        RequireTime(m_numedtTTime, true);
        time.SetComment(m_moTComment->toPlainText());
        time.SetDuration(m_numedtTTime->Value());
        break;
    }
    case TEntryPanel::Blank:
        activity.SetComment(QString());
        break;
    case TEntryPanel::Golf:
        ReadGolf(activity);
        break;
    case TEntryPanel::Distance: {
        auto &distance = static_cast<TDistanceActivity &>(activity);
        distance.SetComment(m_moDistComment->toPlainText());
        distance.SetDistance(m_numedtDistDist->Value());
        break;
    }
    case TEntryPanel::Other: {
        auto &other = static_cast<TOther &>(activity);
        other.SetComment(m_moOtherComment->toPlainText());
        other.SetOtherActivity(m_edtOtherActivity->text());
        break;
    }
    case TEntryPanel::Measure: {
        auto &measure = static_cast<TCardioMeasure &>(activity);
        measure.SetComment(m_moMeasureComment->toPlainText());
        measure.SetMeasure(m_numedtMeasure->Value());
        measure.SetBodyMeasures(m_numedtNeck->Value(), m_numedtShoulder->Value(), m_numedtCalf->Value(),
                                m_numedtThigh->Value(), m_numedtHip->Value(), m_numedtWaist->Value(), m_numedtArm->Value(),
                                m_numedtBiceps->Value(), m_numedtChest->Value());
        break;
    }
    case TEntryPanel::None:
        break;
    }
}

void TActivityPage::ReadWorkout(TActivity &activity)
{
    auto &workout = static_cast<TWorkout &>(activity);
    workout.SetComment(m_moWorkComment->toPlainText());
    TWorkoutExercises exercises;
    for (int row = 1; row <= WorkoutProgramSlots; ++row) {
        TWorkoutExercise &slot = exercises[std::size_t(row - 1)];
        slot.Name = m_cplxgrdWork->Cells(0, row);
        slot.Reps = m_cplxgrdWork->Cells(1, row);
        slot.Load = m_cplxgrdWork->Cells(2, row);
    }
    for (int k = 0; k < WorkoutFreeSlots; ++k) {
        TWorkoutExercise &slot = exercises[std::size_t(WorkoutProgramSlots + k)];
        try {
            auto *name = qobject_cast<QLineEdit *>(TTulloUtilMisc::FindControlByTag(m_grbxWorkFree, 3 * k + 1));
            auto *reps = qobject_cast<TRepsEdit *>(TTulloUtilMisc::FindControlByTag(m_grbxWorkFree, 3 * k + 2));
            auto *weight = qobject_cast<TNumericalEdit *>(TTulloUtilMisc::FindControlByTag(m_grbxWorkFree, 3 * k + 3));
            if (!name || !reps || !weight)
                throw EControlError(QStringLiteral("Tag %1 fanns ej").arg(3 * k + 1));
            slot.Name = name->text();
            slot.Reps = reps->Value();
            slot.Load = weight->Value();
        } catch (const EControlError &error) {
            Refuse(nullptr, error.Message());
        }
    }
    workout.SetExercises(exercises);
    workout.SetProgram(ChosenProgramId());
    // The rows without an exercise (past the program's end) hold nothing.
    for (int row = 1; row <= WorkoutProgramSlots; ++row) {
        if (m_cplxgrdWork->Cells(0, row).trimmed().isEmpty()) {
            m_cplxgrdWork->SetCells(1, row, QString());
            m_cplxgrdWork->SetCells(2, row, QString());
        }
    }
}

void TActivityPage::ReadTimeDistance(TActivity &activity)
{
    auto &session = static_cast<TTimeDistanceActivity &>(activity);
    RequireTime(m_numedtTDTTime, true);
    const int count = qBound(0, m_numedtLaps->IntValue(), int(TCorvaleCommon::LapCount));
    QStringList times, distances;
    for (int i = 0; i < count; ++i) {
        RequireTime(LapEdit(i, 1), true);
        distances.append(LapEdit(i, 0)->Value());
        times.append(LapEdit(i, 1)->Value());
    }
    session.SetComment(m_moTDTComment->toPlainText());
    session.SetDuration(m_numedtTDTTime->Value());
    session.SetDistance(m_numedtTDTDist->Value());
    session.SetCourseNr(m_courseNr);
    if (session.GetPulseList())
        session.SetPulseIntervals(&m_pulseIds, &m_pulseValues);
    try {
        session.SetLaps(&times, &distances);
    } catch (const EActivityLapsOrder &) {
        Refuse(LapEdit(0, 0), QStringLiteral("Distanser för mellantider måste vara i stigande ordning"));
    } catch (const EActivityLapsDist &) {
        Refuse(m_numedtTDTDist, QStringLiteral("Distansen måste vara längre än distanserna för mellantider"));
    } catch (const EActivityLapsDurOrder &) {
        Refuse(LapEdit(0, 1), QStringLiteral("Mellantiderna måste vara i stigande ordning"));
    } catch (const EActivityLapsDur &) {
        Refuse(m_numedtTDTTime, QStringLiteral("Tiden måste vara längre än mellantiderna"));
    }
}

void TActivityPage::ReadGolf(TActivity &activity)
{
    auto &golf = static_cast<TGolf &>(activity);
    if (!m_numedtGolfScore->Value().isEmpty())
        CalculateScore();
    // The fields take plus handicaps, which the strokes are computed for,
    // but a round stores handicaps from 0 to 54 only.
    for (TNumericalEdit *hcp : {m_numedtGolfPrevHCP, m_numedtGolfHcp}) {
        if (!hcp->Value().isEmpty() && hcp->FloatValue() < 0)
            Refuse(hcp, QStringLiteral("Aktiviteten sparades inte: HCP sparas bara mellan 0 och 54"));
    }
    golf.SetComment(m_moGolfComment->toPlainText());
    TGolfHoles holes;
    for (int hole = 1; hole <= GolfHoleCount; ++hole) {
        for (int row = 1; row <= 6; ++row)
            holes[std::size_t(hole - 1)].*golfRows[row - 1] = m_strgrdGolf->Cells(hole, row).trimmed();
    }
    try {
        golf.SetRound(m_numedtGolfPar->Value(), m_numedtGolfStroke->Value(), m_chkbxGolfUseGrid->isChecked(), holes,
                      m_numedtGolfScore->Value(), m_numedtGolfBunker->Value(), m_numedtGolfPutt->Value(),
                      m_numedtGolfSlope->Value(), m_numedtGolfCR->Value(), m_numedtGolfHcp->Value(),
                      m_numedtGolfPrevHCP->Value());
    } catch (const EGolfError &error) {
        // The one check of the round beyond the fields' own: the slope.
        Refuse(m_numedtGolfSlope, QStringLiteral("Aktiviteten sparades inte: ") + error.Message());
    }
}

// ---------------------------------------------------------------------------
// Clearing and copying

void TActivityPage::ClearLapEdits()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
        for (int j = 0; j < 5; ++j)
            LapEdit(i, j)->SetValue(QString());
    }
}

void TActivityPage::ClearClassPanels()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    // Workout.
    m_cplxgrdWork->ClearData();
    for (TWorkoutFreeRow &row : m_workFree) {
        row.name->clear();
        row.reps->SetValue(QString());
        row.weight->SetValue(QString());
    }
    m_moWorkComment->clear();
    {
        const QSignalBlocker blocker(m_cmbbxWorkEP);
        m_cmbbxWorkEP->setCurrentIndex(m_cmbbxWorkEP->count() > 0 ? 0 : -1);
    }
    cmbbxWorkEPChange();

    // Time and distance.
    for (TNumericalEdit *edit : {m_numedtTDTTime, m_numedtTDTDist, m_numedtTDTAvg, m_numedtTDTKmTime})
        edit->SetValue(QString());
    m_moTDTComment->clear();
    m_numedtLaps->SetValue(QStringLiteral("0"));
    ClearLapEdits();
    LapCountExit();
    m_courseNr.clear();
    m_lblTDTSinceLast->clear();
    SetPulseIntervals({}, {});

    // Game, simple time, distance, other.
    m_numedtGameTime->SetValue(QString());
    m_edtGameGame->clear();
    m_cmbbxGamePerf->setCurrentIndex(2);
    m_moGameComment->clear();
    m_numedtTTime->SetValue(QString());
    m_moTComment->clear();
    m_numedtDistDist->SetValue(QString());
    m_moDistComment->clear();
    m_edtOtherActivity->clear();
    m_moOtherComment->clear();

    // Golf.
    for (TNumericalEdit *edit : {m_numedtGolfPar, m_numedtGolfStroke, m_numedtGolfPrevHCP, m_numedtGolfHcp, m_numedtGolfCR,
                                 m_numedtGolfSlope, m_numedtGolfPutt, m_numedtGolfBunker, m_numedtGolfScore,
                                 m_numedtGolfStrokes})
        edit->SetValue(QString());
    m_strgrdGolf->ClearData();
    m_moGolfComment->clear();

    // Body measurement.
    for (TNumericalEdit *edit : {m_numedtMeasure, m_numedtNeck, m_numedtShoulder, m_numedtChest, m_numedtBiceps, m_numedtArm,
                                 m_numedtWaist, m_numedtHip, m_numedtThigh, m_numedtCalf, m_numedtWaistHip})
        edit->SetValue(QString());
    m_moMeasureComment->clear();
}

void TActivityPage::Clear()
{
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        m_wwdtpDate->SetDate(QDate::currentDate());
        SetPlace(QString());
        for (TNumericalEdit *edit : {m_numedtWeight, m_numedtRestPulse, m_numedtAvgPulse, m_numedtMaxPulse, m_numedtCalorie,
                                     m_numedtCalHour, m_numedtWind, m_numedtTemp, m_numedtSleepTime})
            edit->SetValue(QString());
        m_moComment->clear();
        m_trbrWeather->setValue(0);
        m_trbrWindDir->setValue(0);
        m_trbrSleep->setValue(0);
        UpdatePickers();
        ClearClassPanels();
    }
    DateExit();
    UpdateControls();
    emit ControlsChanged();
}

void TActivityPage::ClearShown()
{
    m_shownKey = -1;
    if (m_edtEditActivity)
        m_edtEditActivity->clear();
    Clear();
    ShowActivityPanel(TEntryPanel::None);
    emit ControlsChanged();
}

void TActivityPage::ForgetDiary()
{
    if (m_kind == TEntryPageKind::Edit) {
        ClearShown();
        return;
    }
    {
        const QSignalBlocker blocker(m_cmbbxNewActivity);
        m_cmbbxNewActivity->setCurrentIndex(-1);
    }
    m_handledActivity.clear();
    Clear();
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        const QSignalBlocker blocker(m_cmbbxNewLocation);
        m_cmbbxNewLocation->clear();
        m_cmbbxNewLocation->setEditText(QString());
    }
    ShowActivityPanel(TEntryPanel::None);
    emit ControlsChanged();
}

QStringList TActivityPage::EditableValues() const
{
    QStringList values{m_courseNr};
    for (const qint32 id : m_pulseIds)
        values.append(QString::number(id));
    values.append(QStringLiteral("|"));
    for (const qint32 percentage : m_pulseValues)
        values.append(QString::number(percentage));
    // The named controls of the page itself; the calendar and the editors
    // of the grids are windows or helpers of their own.
    const QList<QWidget *> widgets = findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (widget->objectName().isEmpty() || widget->window() != window())
            continue;
        QString value;
        if (const auto *line = qobject_cast<const QLineEdit *>(widget)) {
            if (line->isReadOnly())
                continue;
            value = line->text();
        } else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(widget)) {
            if (memo->isReadOnly())
                continue;
            value = memo->toPlainText();
        } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            value = QString::number(combo->currentIndex()) + QLatin1Char(' ') + combo->currentText();
        } else if (const auto *slider = qobject_cast<const QSlider *>(widget)) {
            value = QString::number(slider->value());
        } else if (const auto *check = qobject_cast<const QCheckBox *>(widget)) {
            value = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        } else if (const auto *grid = qobject_cast<const TEntryGrid *>(widget)) {
            for (int row = 0; row < grid->RowCount(); ++row) {
                for (int col = 0; col < grid->ColCount(); ++col) {
                    if (grid->CellEdit(col, row).Kind != TEntryGrid::TEditKind::None)
                        value += grid->Cells(col, row) + QLatin1Char('|');
                }
            }
        } else {
            continue;
        }
        values.append(widget->objectName() + QLatin1Char('=') + value);
    }
    return values;
}

bool TActivityPage::HasChanges() const
{
    return m_kind == TEntryPageKind::Edit && m_shownKey >= 0 && EditableValues() != m_unchanged;
}

void TActivityPage::MarkUnchanged()
{
    m_unchanged = EditableValues();
}

void TActivityPage::CopyFrom(const TActivityPage &source)
{
    if (m_kind != TEntryPageKind::New || &source == this)
        return;
    const int index = m_cmbbxNewActivity->findText(source.ActivityName(), Qt::MatchExactly);
    if (index < 0)
        return;
    {
        const QSignalBlocker blocker(m_cmbbxNewActivity);
        m_cmbbxNewActivity->setCurrentIndex(index);
    }
    SetPlace(source.Place());
    m_numedtWeight->SetValue(source.m_numedtWeight->Value());
    m_numedtRestPulse->SetValue(source.m_numedtRestPulse->Value());
    m_numedtAvgPulse->SetValue(source.m_numedtAvgPulse->Value());
    m_numedtMaxPulse->SetValue(source.m_numedtMaxPulse->Value());
    m_numedtCalorie->SetValue(source.m_numedtCalorie->Value());
    m_trbrWeather->setValue(source.m_trbrWeather->value());
    m_trbrWindDir->setValue(source.m_trbrWindDir->value());
    m_trbrSleep->setValue(source.m_trbrSleep->value());
    m_numedtTemp->SetValue(source.m_numedtTemp->Value());
    m_numedtWind->SetValue(source.m_numedtWind->Value());
    m_numedtSleepTime->SetValue(source.m_numedtSleepTime->Value());
    m_moComment->setPlainText(source.m_moComment->toPlainText());
    // A new choice of activity: the binding of the new page goes, the
    // panel follows; the place typed stays.
    m_handledActivity.clear();
    cmbbxNewActivityChange(true);
    UpdatePickers();

    switch (source.m_panel) {
    case TEntryPanel::Workout: {
        {
            const QSignalBlocker blocker(m_cmbbxWorkEP);
            m_cmbbxWorkEP->setCurrentIndex(ProgramIndexOf(source.ChosenProgramId()));
        }
        cmbbxWorkEPChange();
        for (int row = 1; row <= WorkoutProgramSlots; ++row) {
            for (int col = 1; col <= 2; ++col)
                m_cplxgrdWork->SetCells(col, row, source.m_cplxgrdWork->Cells(col, row));
        }
        for (std::size_t k = 0; k < m_workFree.size(); ++k) {
            m_workFree[k].name->setText(source.m_workFree[k].name->text());
            m_workFree[k].reps->SetValue(source.m_workFree[k].reps->Value());
            m_workFree[k].weight->SetValue(source.m_workFree[k].weight->Value());
        }
        m_moWorkComment->setPlainText(source.m_moWorkComment->toPlainText());
        break;
    }
    case TEntryPanel::TimeDistance: {
        const QScopedValueRollback<bool> filling(m_filling, true);
        m_numedtTDTDist->SetValue(source.m_numedtTDTDist->Value());
        m_numedtTDTTime->SetValue(source.m_numedtTDTTime->Value());
        m_moTDTComment->setPlainText(source.m_moTDTComment->toPlainText());
        m_numedtLaps->SetValue(source.m_numedtLaps->Value());
        ClearLapEdits();
        for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
            LapEdit(i, 0)->SetValue(source.LapEdit(i, 0)->Value());
            LapEdit(i, 1)->SetValue(source.LapEdit(i, 1)->Value());
        }
        LapCountExit();
        m_numedtTDTAvg->SetValue(source.m_numedtTDTAvg->Value());
        m_numedtTDTKmTime->SetValue(source.m_numedtTDTKmTime->Value());
        m_courseNr = source.m_courseNr;
        SetPulseIntervals(source.m_pulseIds, source.m_pulseValues);
        UpdateSinceLast();
        break;
    }
    case TEntryPanel::Game:
        m_numedtGameTime->SetValue(source.m_numedtGameTime->Value());
        m_cmbbxGamePerf->setCurrentIndex(source.m_cmbbxGamePerf->currentIndex());
        m_edtGameGame->setText(source.m_edtGameGame->text());
        m_moGameComment->setPlainText(source.m_moGameComment->toPlainText());
        break;
    case TEntryPanel::Time:
        m_numedtTTime->SetValue(source.m_numedtTTime->Value());
        m_moTComment->setPlainText(source.m_moTComment->toPlainText());
        break;
    case TEntryPanel::Golf:
        m_numedtGolfPar->SetValue(source.m_numedtGolfPar->Value());
        m_numedtGolfCR->SetValue(source.m_numedtGolfCR->Value());
        m_numedtGolfSlope->SetValue(source.m_numedtGolfSlope->Value());
        m_numedtGolfBunker->SetValue(source.m_numedtGolfBunker->Value());
        m_numedtGolfPutt->SetValue(source.m_numedtGolfPutt->Value());
        m_numedtGolfPrevHCP->SetValue(source.m_numedtGolfPrevHCP->Value());
        m_moGolfComment->setPlainText(source.m_moGolfComment->toPlainText());
        m_numedtGolfStrokes->SetValue(source.m_numedtGolfStrokes->Value());
        for (int hole = 1; hole <= GolfHoleCount; ++hole) {
            for (int row = 1; row <= 6; ++row)
                m_strgrdGolf->SetCells(hole, row, source.m_strgrdGolf->Cells(hole, row));
        }
        CalculateCardTotals();
        break;
    case TEntryPanel::Distance:
        m_numedtDistDist->SetValue(source.m_numedtDistDist->Value());
        m_moDistComment->setPlainText(source.m_moDistComment->toPlainText());
        break;
    case TEntryPanel::Other:
        m_edtOtherActivity->setText(source.m_edtOtherActivity->text());
        m_moOtherComment->setPlainText(source.m_moOtherComment->toPlainText());
        break;
    case TEntryPanel::Measure:
        for (auto [target, from] : {std::pair{m_numedtMeasure, source.m_numedtMeasure}, {m_numedtNeck, source.m_numedtNeck},
                                    {m_numedtShoulder, source.m_numedtShoulder}, {m_numedtChest, source.m_numedtChest},
                                    {m_numedtBiceps, source.m_numedtBiceps}, {m_numedtArm, source.m_numedtArm},
                                    {m_numedtWaist, source.m_numedtWaist}, {m_numedtHip, source.m_numedtHip},
                                    {m_numedtThigh, source.m_numedtThigh}, {m_numedtCalf, source.m_numedtCalf}})
            target->SetValue(from->Value());
        m_moMeasureComment->setPlainText(source.m_moMeasureComment->toPlainText());
        WaistHipExit();
        break;
    case TEntryPanel::Blank:
    case TEntryPanel::None:
        break;
    }
    CalculateCalorieHour();
    emit CourseContextChanged();
    UpdateControls();
    emit ControlsChanged();
}
