// The entry page's handlers: the activity choice, the derived values, the
// lap table, the golf card, the strength programs, the course binding and
// the pulse intervals.

#include "ui/EntryPage.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DatePicker.h"
#include "foundation/MessageBox.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieWorkout.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"
#include "ui/CorvaleCommon.h"
#include "ui/EntryGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

namespace
{
using TimeDate = TTulloUtilTimeDate;
using Num = TTulloUtilNumeric;

// Handicaps above this get no strokes computed.
constexpr double MaxCalculatedHcp = 36.0;

int cardValue(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}
}

// ---------------------------------------------------------------------------
// The activity

void TActivityPage::cmbbxNewActivityChange(bool bySender)
{
    if (m_kind != TEntryPageKind::New)
        return;
    const QString name = ActivityName();
    if (name.isEmpty()) {
        ShowActivityPanel(TEntryPanel::None);
        return;
    }
    // Choosing the same activity again is no change: the binding stays.
    if (bySender && name == m_handledActivity)
        return;
    m_handledActivity = name;
    const std::unique_ptr<TActivity> activity = m_app.CreateActivity(name);
    ShowActivityPanel(PanelOf(*activity));
    emit CourseContextChanged();
    CalculateCalorieHour();
    if (bySender) {
        m_courseNr.clear();
        UpdateSinceLast();
    }
    UpdateControls();
    emit ControlsChanged();
    RefillPlaces(name);
}

// ---------------------------------------------------------------------------
// Derived values

void TActivityPage::FloatCalcExit()
{
    RequireTime(m_numedtTDTTime, false);
    const QString time = m_numedtTDTTime->Value();
    const QString distance = m_numedtTDTDist->Value();
    m_numedtTDTAvg->SetValue(TimeDate::Speed(time, distance));
    m_numedtTDTKmTime->SetValue(TimeDate::KmTime(time, distance));
    CalculateCalorieHour();
}

void TActivityPage::CalculateCalorieHour()
{
    QString time;
    switch (m_panel) {
    case TEntryPanel::TimeDistance:
        time = m_numedtTDTTime->Value();
        break;
    case TEntryPanel::Game:
        time = m_numedtGameTime->Value();
        break;
    case TEntryPanel::Time:
        time = m_numedtTTime->Value();
        break;
    default:
        m_numedtCalHour->SetValue(QString());
        return;
    }
    m_numedtCalHour->SetValue(TTimeActivity::CaloriesPerHour(m_numedtCalorie->Value(), time));
}

void TActivityPage::WaistHipExit()
{
    m_numedtWaistHip->SetValue(TCardioMeasure::WaistHipRatio(m_numedtWaist->Value(), m_numedtHip->Value()));
}

void TActivityPage::CalculateAllowedStrokes()
{
    m_numedtGolfStrokes->SetValue(TGolf::AllowedStrokes(m_numedtGolfCR->Value(), m_numedtGolfSlope->Value(),
                                                        m_numedtGolfPrevHCP->Value(), m_numedtGolfPar->Value()));
}

void TActivityPage::DateExit()
{
    const QString date = Date();
    if (date.isEmpty()) {
        m_lblDateDayWeek->clear();
    } else {
        const QDate day = TimeDate::StrToDate(date);
        m_lblDateDayWeek->setText(TCorvaleCommon::WeekdayName(TimeDate::DayOfWeekMon(day)) + QStringLiteral(" vecka ")
                                  + QString::number(TimeDate::WeekNumber(day.year(), day.month(), day.day())));
    }
    UpdateSinceLast();
    emit CourseContextChanged();
}

// ---------------------------------------------------------------------------
// Laps

void TActivityPage::LapCountExit()
{
    const int count = qBound(0, m_numedtLaps->IntValue(), int(TCorvaleCommon::LapCount));
    m_lblUsedLapCalc->setVisible(count > 0);
    const QFontMetrics metrics(m_lblUsedLapCalc->font());
    const int width = qMax(count * TCorvaleCommon::LapColumnWidth + 6,
                           metrics.horizontalAdvance(m_lblUsedLapCalc->text()) + 12);
    m_pnlLaps1->setFixedWidth(width);
    m_pnlLaps2->setFixedWidth(width);
    if (QWidget *strips = m_pnlLaps1->parentWidget())
        strips->setFixedSize(width, m_pnlLaps1->height() + m_pnlLaps2->height());
    for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
        const bool shown = i < count;
        m_lblLaps[std::size_t(i)]->setVisible(shown);
        for (int j = 0; j < 5; ++j)
            LapEdit(i, j)->setVisible(shown);
    }
    RecalcLaps();
}

void TActivityPage::RecalcLaps()
{
    const int count = qBound(0, m_numedtLaps->IntValue(), int(TCorvaleCommon::LapCount));
    if (count == 0)
        return;
    TLapTable values;
    for (int i = 0; i < count; ++i) {
        // A split time that is no time has been refused when it was left
        // (and is refused again by saving); until then it counts as none.
        const QString time = LapEdit(i, 1)->Value();
        values[std::size_t(TTimeDistanceActivity::LapDistances + i)] = LapEdit(i, 0)->Value();
        values[std::size_t(TTimeDistanceActivity::LapTimes + i)] = TimeDate::IsValidTime(time) ? time : QString();
    }
    const bool fromStart = m_app.GetSettings().LapCalc == TSettingsValues::TLapCalc::Total;
    TTimeDistanceActivity::LapTable(count, values, fromStart);
    // Only the derived rows are written back. The table clears a distance
    // or time that does not rise above the one before; on the page it stays
    // as typed, with empty derived values, and saving names the fault.
    const QScopedValueRollback<bool> filling(m_filling, true);
    constexpr int derived[] = {TTimeDistanceActivity::LapSplits, TTimeDistanceActivity::LapSpeeds,
                               TTimeDistanceActivity::LapKmTimes};
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < 3; ++j)
            LapEdit(i, j + 2)->SetValue(values[std::size_t(derived[j] + i)]);
    }
}

void TActivityPage::ShowLapCalcMode(bool recompute)
{
    const bool lapByLap = m_app.State() != TCorvaleApp::TState::Shell
                          && m_app.GetSettings().LapCalc == TSettingsValues::TLapCalc::LapByLap;
    m_lblUsedLapCalc->setText(lapByLap ? QStringLiteral("Beräkning sker från föregående mellantid")
                                       : QStringLiteral("Beräkning sker totalt till mellantiden"));
    if (recompute)
        LapCountExit();
}

// ---------------------------------------------------------------------------
// Golf

void TActivityPage::GetLatestHCP()
{
    const int key = m_kind == TEntryPageKind::Edit ? m_shownKey : -1;
    m_numedtGolfPrevHCP->SetValue(m_app.LastNewHcp(Date(), key));
    CalculateAllowedStrokes();
}

void TActivityPage::CalculateScore()
{
    if (!m_chkbxGolfUseGrid->isChecked())
        return;
    const QString allowed = m_numedtGolfStrokes->Value();
    if (allowed.isEmpty()) {
        // The values are there, but the handicap is beyond the strokes the
        // card is computed for.
        const QString hcp = m_numedtGolfPrevHCP->Value();
        const bool complete = !hcp.isEmpty() && !m_numedtGolfCR->Value().isEmpty()
                              && !m_numedtGolfSlope->Value().isEmpty() && !m_numedtGolfPar->Value().isEmpty();
        if (complete && Num::StrToFloat(hcp) > MaxCalculatedHcp)
            Refuse(m_numedtGolfPrevHCP, QStringLiteral("Erhållna slag beräknas bara för HCP upp till 36"));
        Refuse(nullptr, QStringLiteral("CR, Slope, Par och HCP måste ha värden"));
    }
    m_numedtGolfScore->SetValue(QString());
    TGolfHoleValues strokeIndexes{}, pars{}, strokes{};
    for (int hole = 1; hole <= GolfHoleCount; ++hole) {
        pars[std::size_t(hole - 1)] = cardValue(m_strgrdGolf->Cells(hole, 1));
        strokeIndexes[std::size_t(hole - 1)] = cardValue(m_strgrdGolf->Cells(hole, 3));
        strokes[std::size_t(hole - 1)] = cardValue(m_strgrdGolf->Cells(hole, 4));
    }
    const TGolfHoleValues allowedPerHole = TGolf::ReceivedStrokes(strokeIndexes, pars, allowed);
    TGolfHoleValues points{};
    const QString total = TGolf::Points(allowedPerHole, strokes, points);
    m_numedtGolfScore->SetValue(total);
    for (int hole = 1; hole <= GolfHoleCount; ++hole) {
        const int value = points[std::size_t(hole - 1)];
        m_strgrdGolf->SetCells(hole, 5, value > 0 ? QString::number(value) : QString());
    }
}

void TActivityPage::CalculateCardTotals()
{
    if (!m_chkbxGolfUseGrid->isChecked())
        return;
    int par = 0, strokes = 0, putts = 0;
    bool hasPar = false, hasStrokes = false, hasPutts = false;
    for (int hole = 1; hole <= GolfHoleCount; ++hole) {
        if (m_strgrdGolf->Cells(hole, 4).trimmed() == QLatin1String("0"))
            m_strgrdGolf->SetCells(hole, 4, QStringLiteral("1"));
        const QString parText = m_strgrdGolf->Cells(hole, 1).trimmed();
        const QString strokeText = m_strgrdGolf->Cells(hole, 4).trimmed();
        const QString puttText = m_strgrdGolf->Cells(hole, 6).trimmed();
        if (!parText.isEmpty()) {
            par += cardValue(parText);
            hasPar = true;
        }
        if (!strokeText.isEmpty()) {
            strokes += cardValue(strokeText);
            hasStrokes = true;
        }
        if (!puttText.isEmpty()) {
            putts += cardValue(puttText);
            hasPutts = true;
        }
    }
    // A row of the card without any value leaves its field as typed.
    if (hasPar)
        m_numedtGolfPar->SetValue(QString::number(par));
    if (hasStrokes)
        m_numedtGolfStroke->SetValue(QString::number(strokes));
    if (hasPutts)
        m_numedtGolfPutt->SetValue(QString::number(putts));
}

// ---------------------------------------------------------------------------
// Strength programs

void TActivityPage::cmbbxWorkEPChange()
{
    FillProgramExercises();
    const QString program = ChosenProgramId();
    m_edtWorkEPComment->setText(program.isEmpty() ? QString()
                                                  : m_app.GetExercisePrograms().GetProgramComment(program.toInt()));
}

void TActivityPage::FillProgramExercises()
{
    const QString program = ChosenProgramId();
    if (program.isEmpty()) {
        const QStringList &names = TWorkout::BasicExerciseNames();
        for (int row = 1; row <= WorkoutProgramSlots; ++row)
            m_cplxgrdWork->SetCells(0, row, names.value(row - 1));
        return;
    }
    const TProgramExercises programSlots = m_app.GetExercisePrograms().GetProgramExercises(program.toInt());
    for (int row = 1; row <= WorkoutProgramSlots; ++row) {
        const QString exercise = programSlots[std::size_t(row - 1)].trimmed();
        m_cplxgrdWork->SetCells(0, row, exercise.isEmpty() ? QString() : m_app.GetExercises().GetExerciseName(exercise.toInt()));
    }
}

// ---------------------------------------------------------------------------
// Course binding

void TActivityPage::ChooseCourse()
{
    if (!m_courseDialog || !ShowsTimeDistance())
        return;
    TChosenCourse course;
    if (!m_courseDialog(ActivityName(), Place(), m_numedtTDTDist->Value(), course) || course.CourseNr.isEmpty())
        return;
    BindCourse(course);
}

void TActivityPage::BindCourse(const TChosenCourse &course)
{
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        const int count = qMin(int(course.Laps.size()), int(TCorvaleCommon::LapCount));
        for (int i = 0; i < count; ++i) {
            LapEdit(i, 0)->SetValue(course.Laps.at(i));
            LapEdit(i, 0)->CommitEdit();
        }
        m_numedtLaps->SetValue(QString::number(count));
        LapCountExit();
        SetPlace(course.Place);
        m_numedtTDTDist->SetValue(course.Distance);
        m_courseNr = course.CourseNr;
    }
    // The speed follows the course's distance.
    if (TimeDate::IsValidTime(m_numedtTDTTime->Value())) {
        m_numedtTDTAvg->SetValue(TimeDate::Speed(m_numedtTDTTime->Value(), m_numedtTDTDist->Value()));
        m_numedtTDTKmTime->SetValue(TimeDate::KmTime(m_numedtTDTTime->Value(), m_numedtTDTDist->Value()));
    }
    UpdateSinceLast();
    emit CourseContextChanged();
    UpdateControls();
    emit ControlsChanged();
}

void TActivityPage::CourseValChange()
{
    m_courseNr.clear();
    emit CourseContextChanged();
    UpdateSinceLast();
    UpdateControls();
    emit ControlsChanged();
}

void TActivityPage::UpdateSinceLast()
{
    if (m_kind != TEntryPageKind::New)
        return;
    m_lblTDTSinceLast->clear();
    const QString date = Date();
    const QString name = ActivityName();
    if (m_courseNr.isEmpty() || date.isEmpty() || name.isEmpty())
        return;
    // A throw-away object of the chosen type answers from the diary; the
    // loaded activities are not touched.
    const std::unique_ptr<TActivity> activity = m_app.CreateActivity(name);
    auto *session = dynamic_cast<TTimeDistanceActivity *>(activity.get());
    if (!session)
        return;
    const int days = session->DaysSinceLastOnCourse(m_courseNr, date);
    if (days < 0)
        return;
    m_lblTDTSinceLast->setText(
        TTulloUtilString::CountText(days, QStringLiteral(" dag#\\ar# sedan föregående aktivitet på denna bana")));
}

// ---------------------------------------------------------------------------
// Pulse intervals

void TActivityPage::SelectPulses()
{
    if (!m_pulseDialog)
        return;
    QList<qint32> ids = m_pulseIds;
    QList<qint32> percentages = m_pulseValues;
    if (!m_pulseDialog(ids, percentages))
        return;
    SetPulseIntervals(ids, percentages);
}

void TActivityPage::SetPulseIntervals(const QList<qint32> &ids, const QList<qint32> &percentages)
{
    m_pulseIds = ids;
    m_pulseValues = percentages;
    ShowPulseIntervals();
}

void TActivityPage::ShowPulseIntervals()
{
    const TPulses *pulses = m_app.State() == TCorvaleApp::TState::Open ? &m_app.GetPulses() : nullptr;
    QStringList names, shares;
    for (int i = 0; i < m_pulseIds.size() && i < m_pulseValues.size(); ++i) {
        // An interval removed from the register since is not the session's
        // any more (saving drops it as well).
        if (!pulses || !pulses->PulseExists(m_pulseIds.at(i)))
            continue;
        names.append(pulses->PulseText(m_pulseIds.at(i)) + QStringLiteral(" (puls)"));
        shares.append(QString::number(m_pulseValues.at(i)) + QStringLiteral(" (%)"));
    }
    m_cplxgrdTDTPulse->BeginUpdate();
    m_cplxgrdTDTPulse->SetRowCount(int(names.size()));
    for (int row = 0; row < names.size(); ++row) {
        m_cplxgrdTDTPulse->SetCells(0, row, names.at(row));
        m_cplxgrdTDTPulse->SetCells(1, row, shares.at(row));
    }
    m_cplxgrdTDTPulse->EndUpdate();
}

// ---------------------------------------------------------------------------
// Enabling

void TActivityPage::UpdateControls()
{
    const bool free = !HasCourse();
    m_numedtTDTDist->setEnabled(free);
    m_numedtLaps->setEnabled(free);
    for (int i = 0; i < TCorvaleCommon::LapCount; ++i)
        LapEdit(i, 0)->setEnabled(free);
    if (m_kind == TEntryPageKind::New)
        m_cmbbxNewLocation->setEnabled(free);
    else
        m_edtEditLocation->setEnabled(free);
    m_imgWeather->setVisible(m_trbrWeather->value() > 0);
    m_imgWindDir->setVisible(m_trbrWindDir->value() > 0);
    m_imgSleep->setVisible(m_trbrSleep->value() > 0);
    m_btnTDTPulse->setEnabled(static_cast<bool>(m_pulseDialog));
}
