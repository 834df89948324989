#pragma once

// The fixture of the reference windows' tests: a real diary opened by the
// application object the windows talk to, in folders of the test's own, and
// an answering service for the modal windows the code under test opens.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"

#include "app/CorvaleApp.h"
#include "foundation/DbClient.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"

#include <QAtomicInt>
#include <QHash>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

class TAppDiary
{
public:
    TAppDiary() : m_created(Create(m_folders)), m_app(Options())
    {
        m_app.OpenDatabase();
    }

    TCorvaleApp &App() { return m_app; }
    TDbConnection &Db() { return m_app.GetDatabase(); }

    void Sql(const QString &statement)
    {
        TDbQuery query(Db());
        query.Add(statement);
        query.ExecSQL();
    }

    // The first column of the statement's rows, as texts.
    QStringList Column(const QString &statement)
    {
        TDbQuery query(Db());
        query.Add(statement);
        query.Open();
        QStringList values;
        for (; !query.Eof(); query.Next())
            values.append(query.FieldAsText(0).trimmed());
        return values;
    }

    QString Name(const char *code) { return m_app.GetActivityNameList().NameOfCode(QString::fromLatin1(code)); }

    // A course saved through the application object, as the course window
    // saves one; returns its number.
    int AddCourse(const char *code, const QString &place, double distance, const QStringList &laps = {},
                  int difficulty = 2, const QStringList &description = {})
    {
        const int nr = m_app.NewCourse();
        m_app.SetCourseValues(nr, Name(code), difficulty, distance, place);
        m_app.SetCourseDescription(nr, &description);
        m_app.SetCourseLaps(nr, laps);
        m_app.SaveCourse(nr);
        return nr;
    }

    // A time-and-distance session saved through the application object, as
    // the entry page saves one, bound to the course when one is given;
    // returns its session number. A course with lap marks needs as many
    // marks on the session; they are left without times. The entry stays
    // loaded.
    int AddSession(const char *code, const QString &date, const QString &duration, int course = -1, int laps = 0)
    {
        const int nr = m_app.NewActivity(Name(code));
        auto &session = static_cast<TTimeDistanceActivity &>(*m_app.FindActivity(nr));
        session.SetSessionData(date, QStringLiteral("Hemma"), QString(), QString());
        session.SetWeather(QStringLiteral("-1"), QStringLiteral("-1"), QString());
        session.SetSleep(QStringLiteral("-1"), QString());
        session.SetComment(QString());
        session.SetDuration(duration);
        session.SetDistance(QStringLiteral("10"));
        session.SetCourseNr(course < 0 ? QString() : QString::number(course));
        const QStringList marks(laps, QString());
        session.SetLaps(&marks, &marks);
        m_app.SaveActivity(nr);
        return nr;
    }

private:
    static bool Create(const TTestFolders &folders)
    {
        DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
        return true;
    }

    static TCorvaleApp::TOptions Options()
    {
        static QAtomicInt serial;
        TCorvaleApp::TOptions options;
        options.connectionName = QStringLiteral("AppDiary-%1").arg(serial.fetchAndAddRelaxed(1));
        return options;
    }

    TTestFolders m_folders;
    bool m_created;
    TCorvaleApp m_app;
};

// Answers the modal windows: a message box is recorded and answered with
// the next button name of `answers` (its OK, or its No, when none is left);
// any other window is handed to the action registered for its object name.
struct TDialogs
{
    QStringList messages;
    QStringList answers;
    QHash<QString, std::function<void(QWidget *)>> actions;

    TDialogs() : watcher([this](QWidget *window) { Answer(window); }) {}

    TModalWatcher watcher;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            QStringList names = answers.isEmpty() ? QStringList{QStringLiteral("btnOK"), QStringLiteral("btnNo")}
                                                  : QStringList{answers.takeFirst()};
            for (const QString &name : names) {
                if (auto *button = window->findChild<QPushButton *>(name)) {
                    button->click();
                    return;
                }
            }
            return;
        }
        const auto action = actions.constFind(window->objectName());
        if (action != actions.constEnd())
            (*action)(window);
    }
};
