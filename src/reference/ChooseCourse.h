#pragma once

#include "reference/Courses.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class TCorvaleApp;

// "Välj banbeskrivning": the modal dialog with which the entry pages bind
// the session being entered to a course. It shows the courses of the
// session's activity whose place contains the session's place and whose
// distance equals the session's distance (an empty place or distance does
// not narrow the choice), one at a time; the track bar `trkbrCourse` steps
// through them when there are two or more. Without a match it says
// "< Ingen banbeskrivning passar >" and "&OK" is disabled.
//
// Use: SetCriteria, exec(), and when that returns QDialog::Accepted read
// the chosen course with the Get... operations. Its size and place are restored
// when it is made and written under `CourseSelectWindow` when it is
// destroyed.
class TfrmChooseCourse : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmChooseCourse(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmChooseCourse() override;

    // What the courses must match: the activity's display name, the place
    // text and the distance in km as typed on the page.
    void SetCriteria(const QString &activity, const QString &place, const QString &distance);

    // The chosen course's number as text; empty when none was chosen.
    QString GetChosenCourse() const;
    // After "&OK" the chosen course's place and distance (the distance with
    // two decimals); before that, or when nothing was chosen, those given
    // to SetCriteria. The distance is empty when none is known.
    QString GetChosenPlace() const;
    QString GetChosenDistance() const;
    // Replaces the list's contents by the chosen course's lap distances
    // (empty when nothing was chosen). No list: EUIError "ChooseCourse 01".
    void GetChosenLaps(QStringList *laps) const;

    // The number of matching courses found when the dialog was last shown.
    int MatchCount() const { return m_hasMatches ? int(m_matches.size()) : 0; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    // Shows the match at the position. EUIError "ChooseCourse 02" before the
    // courses were matched, "ChooseCourse 03" for a position outside them.
    void ShowMatch(int position);
    void trkbrCourseChange(int position);
    void btnOKClick();
    void btnHelpClick();

    TCorvaleApp &m_app;
    QString m_activity;
    QString m_place;
    QString m_distance;
    QList<TCourseItem> m_matches; // a single placeholder when nothing matches
    bool m_hasMatches = false;
    int m_chosenCourse = -1;
    QString m_chosenPlace;
    QString m_chosenDistance;
    QStringList m_chosenLaps;
    QSlider *m_trkbrCourse;
    QLineEdit *m_edtLocation;
    QLineEdit *m_edtDistance;
    QLineEdit *m_edtDifficulty;
    QPlainTextEdit *m_moDescription;
    QPushButton *m_btnOK;
    QPushButton *m_btnCancel;
    QPushButton *m_btnHelp;
};
