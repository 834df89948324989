#include "reference/CurrentCourse.h"

#include "app/CorvaleApp.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"
#include "model/ClasshieTypes.h"
#include "reference/CourseCl.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\CurrentCourseWindow");
const QString noCourseText = QStringLiteral("< Ingen banbeskrivning passar >");

QLineEdit *DateField(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setMaximumWidth(90);
    return edit;
}

TNumericalEdit *DurationField(const QString &name, QWidget *parent)
{
    auto *edit = new TNumericalEdit(name, parent);
    edit->SetNegValues(false);
    edit->SetNumDecimals(2);
    edit->setReadOnly(true);
    edit->setMaximumWidth(70);
    return edit;
}

// The statistics are asked of a throw-away object of the course's activity
// that the window owns. It is not added to the loaded entries: an entry
// there needs a session number of its own, and finding that costs a look at
// the whole diary for a number nobody uses.
TCourseStats StatisticsOf(TCorvaleApp &app, const QString &activity, const QString &courseNr, const QString &date)
{
    const std::unique_ptr<TActivity> entry = app.CreateActivity(activity);
    if (entry->Family() != TActivityFamily::TimeDistance)
        return TCourseStats();
    return static_cast<TTimeDistanceActivity *>(entry.get())->CourseStatistics(courseNr, date);
}
}

TfrmCurrentCourse::TfrmCurrentCourse(TCorvaleApp &app, QWidget *parent) : QWidget(parent, Qt::Tool), m_app(app)
{
    setObjectName(QStringLiteral("frmCurrentCourse"));
    setWindowTitle(QStringLiteral("Aktuell banbeskrivning"));

    m_edtDifficulty = new QLineEdit(this);
    m_edtDifficulty->setObjectName(QStringLiteral("edtDifficulty"));
    m_edtDifficulty->setReadOnly(true);
    m_edtDifficulty->setMinimumWidth(m_edtDifficulty->fontMetrics().horizontalAdvance(noCourseText) + 16);
    m_moDescription = new QPlainTextEdit(this);
    m_moDescription->setObjectName(QStringLiteral("moDescription"));
    m_moDescription->setReadOnly(true);

    auto *pnlStatistics = new QFrame(this);
    pnlStatistics->setObjectName(QStringLiteral("pnlStatistics"));
    pnlStatistics->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(pnlStatistics);
    m_edtFastestDate = DateField(QStringLiteral("edtFastestDate"), pnlStatistics);
    m_numedtFastestDur = DurationField(QStringLiteral("numedtFastestDur"), pnlStatistics);
    m_edtSlowestDate = DateField(QStringLiteral("edtSlowestDate"), pnlStatistics);
    m_numedtSlowestDur = DurationField(QStringLiteral("numedtSlowestDur"), pnlStatistics);
    m_numedtAverageDur = DurationField(QStringLiteral("numedtAverageDur"), pnlStatistics);
    grid->addWidget(new QLabel(QStringLiteral("Tid (min)"), pnlStatistics), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Snabbast"), pnlStatistics), 1, 0);
    grid->addWidget(m_edtFastestDate, 1, 1);
    grid->addWidget(m_numedtFastestDur, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Långsammast"), pnlStatistics), 2, 0);
    grid->addWidget(m_edtSlowestDate, 2, 1);
    grid->addWidget(m_numedtSlowestDur, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Medel"), pnlStatistics), 3, 0);
    grid->addWidget(m_numedtAverageDur, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Senaste 5 ggr"), pnlStatistics), 4, 0);
    for (int i = 0; i < RecentCount; ++i) {
        m_edtStatDur[i] = DateField(QStringLiteral("edtStatDur%1").arg(i + 1), pnlStatistics);
        m_numedtStatDate[i] = DurationField(QStringLiteral("numedtStatDate%1").arg(i + 1), pnlStatistics);
        auto *number = new QLabel(QString::number(i + 1), pnlStatistics);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, 5 + i, 0);
        grid->addWidget(m_edtStatDur[i], 5 + i, 1);
        grid->addWidget(m_numedtStatDate[i], 5 + i, 2);
    }

    m_lblNrUsedByActivities = new QLabel(this);
    m_lblNrUsedByActivities->setObjectName(QStringLiteral("lblNrUsedByActivities"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Svårighet"), m_edtDifficulty);
    fields->addRow(QStringLiteral("Beskrivning"), m_moDescription);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(pnlStatistics);
    layout->addWidget(m_lblNrUsedByActivities);

    m_edtDifficulty->setEnabled(false);
    m_moDescription->setEnabled(false);
    resize(300, 420);
    LoadWindowState(windowKey, this);
}

TfrmCurrentCourse::~TfrmCurrentCourse()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

void TfrmCurrentCourse::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { m_app.ShowHelp(8); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmCurrentCourse::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}

void TfrmCurrentCourse::ClearStatistics()
{
    m_edtFastestDate->clear();
    m_numedtFastestDur->clear();
    m_edtSlowestDate->clear();
    m_numedtSlowestDur->clear();
    m_numedtAverageDur->clear();
    for (int i = 0; i < RecentCount; ++i) {
        m_edtStatDur[i]->clear();
        m_numedtStatDate[i]->clear();
    }
}

void TfrmCurrentCourse::ShowCourse(const QString &courseNr, const QString &date)
{
    if (!isVisible())
        return;
    m_moDescription->clear();
    ClearStatistics();
    m_lblNrUsedByActivities->clear();
    const QString number = courseNr.trimmed();
    const bool hasCourse = !number.isEmpty() && number != QLatin1String("-1");

    TCourseValues values;
    if (hasCourse) {
        values = m_app.ReadCourse(TTulloUtilNumeric::StrToInt(number));
        m_edtDifficulty->setText(DifficultyNames[values.Difficulty]);
        m_moDescription->setPlainText(values.Description);
    } else {
        m_edtDifficulty->setText(noCourseText);
        m_moDescription->setPlainText(noCourseText);
    }
    m_edtDifficulty->setEnabled(hasCourse);
    m_moDescription->setEnabled(hasCourse);

    TCourseStats stats;
    int useCount = 0;
    if (hasCourse && !values.Activity.isEmpty()) {
        stats = StatisticsOf(m_app, values.Activity, number, date);
        useCount = m_app.CourseUseCount(TTulloUtilNumeric::StrToInt(number));
    }

    m_edtFastestDate->setText(stats.BestDate);
    m_numedtFastestDur->SetValue(stats.Best);
    m_edtSlowestDate->setText(stats.WorstDate);
    m_numedtSlowestDur->SetValue(stats.Worst);
    m_numedtAverageDur->SetValue(stats.Average);
    for (int i = 0; i < RecentCount && i < stats.Recent.size(); ++i) {
        m_edtStatDur[i]->setText(stats.Recent[i].Date);
        m_numedtStatDate[i]->SetValue(stats.Recent[i].Duration);
    }

    m_lblNrUsedByActivities->setText(
        useCount > 0 ? QStringLiteral("Används av ") + TTulloUtilString::CountText(useCount, QStringLiteral("aktivitet#\\er#"))
                     : QStringLiteral("Används inte av någon aktivitet"));
}
