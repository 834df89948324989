#include "reference/ChooseCourse.h"

#include "app/CorvaleApp.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/SettingsFiles.h"
#include "reference/CourseCl.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\CourseSelectWindow");
const QString noMatchText = QStringLiteral("< Ingen banbeskrivning passar >");

QLineEdit *ReadOnlyEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}
}

TfrmChooseCourse::TfrmChooseCourse(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmChooseCourse"));
    setWindowTitle(QStringLiteral("Välj banbeskrivning"));
    setModal(true);

    m_trkbrCourse = new QSlider(Qt::Horizontal, this);
    m_trkbrCourse->setObjectName(QStringLiteral("trkbrCourse"));
    m_trkbrCourse->setTickPosition(QSlider::TicksBelow);
    m_trkbrCourse->setPageStep(1);
    connect(m_trkbrCourse, &QSlider::valueChanged, this,
            [this](int position) { Guard([this, position] { trkbrCourseChange(position); }); });

    m_edtLocation = ReadOnlyEdit(QStringLiteral("edtLocation"), this);
    m_edtDistance = ReadOnlyEdit(QStringLiteral("edtDistance"), this);
    m_edtDifficulty = ReadOnlyEdit(QStringLiteral("edtDifficulty"), this);
    m_moDescription = new QPlainTextEdit(this);
    m_moDescription->setObjectName(QStringLiteral("moDescription"));
    m_moDescription->setReadOnly(true);

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnHelp = new QPushButton(QStringLiteral("&Hjälp"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    connect(m_btnOK, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { Guard([this] { btnHelpClick(); }); });

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Plats"), m_edtLocation);
    fields->addRow(QStringLiteral("Sträcka (km)"), m_edtDistance);
    fields->addRow(QStringLiteral("Svårighet"), m_edtDifficulty);
    fields->addRow(QStringLiteral("Beskrivning"), m_moDescription);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_trkbrCourse);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    resize(360, 280);
    LoadWindowState(windowKey, this);
}

TfrmChooseCourse::~TfrmChooseCourse()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

void TfrmChooseCourse::SetCriteria(const QString &activity, const QString &place, const QString &distance)
{
    m_activity = activity;
    m_place = place;
    m_distance = distance;
    m_chosenCourse = -1;
    m_chosenPlace = place;
    m_chosenDistance = distance;
    m_chosenLaps.clear();
}

QString TfrmChooseCourse::GetChosenCourse() const
{
    return m_chosenCourse < 0 ? QString() : QString::number(m_chosenCourse);
}

QString TfrmChooseCourse::GetChosenPlace() const
{
    return m_chosenPlace;
}

QString TfrmChooseCourse::GetChosenDistance() const
{
    return m_chosenDistance.trimmed() == QLatin1String("-1") ? QString() : m_chosenDistance;
}

void TfrmChooseCourse::GetChosenLaps(QStringList *laps) const
{
    if (!laps)
        throw EUIError(QStringLiteral("ChooseCourse 01"));
    *laps = m_chosenLaps;
}

void TfrmChooseCourse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmChooseCourse::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { btnHelpClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmChooseCourse::FormShow()
{
    m_chosenCourse = -1;
    m_chosenPlace = m_place;
    m_chosenDistance = m_distance;
    m_chosenLaps.clear();
    m_edtLocation->clear();
    m_edtDistance->clear();
    m_edtDifficulty->clear();
    m_moDescription->clear();

    m_matches.clear();
    m_hasMatches = false;
    m_app.MatchCourses(QStringList{m_activity}, m_place, m_distance, m_distance, &m_matches);
    m_hasMatches = !m_matches.isEmpty();

    const QSignalBlocker blocker(m_trkbrCourse);
    if (!m_hasMatches) {
        TCourseItem placeholder;
        placeholder.CourseNr = -1;
        placeholder.Description = noMatchText;
        m_matches.append(placeholder);
        m_trkbrCourse->setRange(0, 1);
        m_trkbrCourse->setEnabled(false);
        m_trkbrCourse->setVisible(false);
        m_btnOK->setEnabled(false);
        m_btnCancel->setFocus();
    } else {
        const int count = int(m_matches.size());
        m_trkbrCourse->setRange(0, count - 1);
        m_trkbrCourse->setEnabled(true);
        m_trkbrCourse->setVisible(count >= 2);
        m_btnOK->setEnabled(true);
        if (count >= 2)
            m_trkbrCourse->setFocus();
        else
            m_btnOK->setFocus();
    }
    m_trkbrCourse->setValue(0);
    ShowMatch(0);
}

void TfrmChooseCourse::ShowMatch(int position)
{
    // After FormShow the list always holds a match or the placeholder.
    if (m_matches.isEmpty())
        throw EUIError(QStringLiteral("ChooseCourse 02"));
    if (position < 0 || position >= m_matches.size())
        throw EUIError(QStringLiteral("ChooseCourse 03"));
    const TCourseItem &item = m_matches.at(position);
    m_edtLocation->setText(item.Place);
    m_edtDistance->setText(item.Distance);
    bool known = false;
    const int difficulty = item.Difficulty.trimmed().toInt(&known);
    m_edtDifficulty->setText(known ? DifficultyNames[difficulty] : QString());
    m_moDescription->setPlainText(item.Description);
}

void TfrmChooseCourse::trkbrCourseChange(int position)
{
    ShowMatch(position);
}

void TfrmChooseCourse::btnOKClick()
{
    if (!m_hasMatches)
        return;
    const TCourseItem &item = m_matches.at(m_trkbrCourse->value());
    const TCourseValues values = m_app.ReadCourse(item.CourseNr);
    QStringList laps;
    m_app.GetReadCourseLaps(item.CourseNr, &laps);
    m_chosenCourse = item.CourseNr;
    m_chosenPlace = values.Place;
    m_chosenDistance = values.Distance;
    m_chosenLaps = laps;
    accept();
}

void TfrmChooseCourse::btnHelpClick()
{
    m_app.ShowHelp(8);
}
