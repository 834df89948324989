// The settings window on a real diary: what its pages show of the stored
// settings and names, what OK stores and what it refuses, cancelling, and
// the pages a caller enables.

#include "reference/AppDiary.h"

#include "app/CorvaleForms.h"
#include "app/SettingsWindow.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/Observer.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>

namespace
{
// A diary and the answers to the modal windows. The shared settings window
// goes before the diary's folders do, so that it writes its position there.
struct TFixture
{
    TAppDiary diary;
    TDialogs dialogs;
    ~TFixture() { FreeCorvaleForms(); }
};

template <class T> T *Child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

// Shows the shared settings window with `pages` enabled and hands it to
// `action` while it is open; what the action leaves open is closed without
// storing. Returns whether the window was still open after the action.
bool Run(TAppDiary &diary, TDialogs &dialogs, int pages, const std::function<void(QWidget *)> &action)
{
    bool leftOpen = false;
    dialogs.actions.insert(QStringLiteral("frmSettings"), [&](QWidget *window) {
        action(window);
        leftOpen = window->isVisible();
    });
    CorvaleForms().SettingsDialog(diary.App(), nullptr, pages).exec();
    return leftOpen;
}

void Ok(QWidget *window)
{
    Child<QPushButton>(window, "btnOK")->click();
}

QStringList StoredNames(TAppDiary &diary)
{
    QStringList names;
    for (const QString &code : TActivityNames::DefaultCodes())
        names.append(diary.Column(QStringLiteral("select ActivityName from ActivityNames where ActivityShortName = '%1'").arg(code)).value(0));
    return names;
}
}

class tst_SettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    // A count of sets or repetitions of 0 means "not used": its box is
    // unchecked and its edit and label empty and disabled; a count above 0
    // checks the box and shows the count. Unchecking empties the edit again.
    void strengthCountsShowTheirBoxes_data()
    {
        QTest::addColumn<int>("sets");
        QTest::addColumn<int>("reps");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("sets") << 5 << 0;
        QTest::newRow("repetitions") << 0 << 12;
        QTest::newRow("both, the largest") << 3 << 1000;
    }
    void strengthCountsShowTheirBoxes()
    {
        QFETCH(int, sets);
        QFETCH(int, reps);
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        TSettingsValues values = diary.App().GetSettings();
        values.RecordSets = sets;
        values.RecordReps = reps;
        diary.App().ApplySettings(values);

        struct TShown
        {
            bool checked, editEnabled, labelEnabled;
            QString text;
        };
        QList<TShown> shown;
        QString afterUncheck;
        bool afterUncheckEnabled = true;
        Run(diary, dialogs, TfrmSettings::pgAll, [&](QWidget *window) {
            for (const auto &[box, edit, label] :
                 {std::tuple{"chkbxWorkSet", "numedtRecordWorkSet", "lblRecordWorkSet"},
                  std::tuple{"chkbxWorkReps", "numedtRecordWorkReps", "lblRecordWorkReps"}})
                shown.append({Child<QCheckBox>(window, box)->isChecked(), Child<QLineEdit>(window, edit)->isEnabled(),
                              Child<QLabel>(window, label)->isEnabled(), Child<QLineEdit>(window, edit)->text()});
            // The user checks the set box, types a count and unchecks it.
            auto *box = Child<QCheckBox>(window, "chkbxWorkSet");
            if (!box->isChecked())
                box->click();
            Child<TNumericalEdit>(window, "numedtRecordWorkSet")->SetValue(QStringLiteral("8"));
            box->click();
            afterUncheck = Child<QLineEdit>(window, "numedtRecordWorkSet")->text();
            afterUncheckEnabled = Child<QLineEdit>(window, "numedtRecordWorkSet")->isEnabled();
        });
        QCOMPARE(shown.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const int count = i == 0 ? sets : reps;
            QCOMPARE(shown[i].checked, count > 0);
            QCOMPARE(shown[i].editEnabled, count > 0);
            QCOMPARE(shown[i].labelEnabled, count > 0);
            QCOMPARE(shown[i].text, count > 0 ? QString::number(count) : QString());
        }
        QCOMPARE(afterUncheck, QString());
        QVERIFY(!afterUncheckEnabled);
    }

    // "&Avbryt" (and Escape) asks; only "Ja" closes the window, and then
    // nothing of what was changed is stored.
    void cancellingAsks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Ja") << "btnCancel" << "btnYes" << true;
        QTest::newRow("Nej") << "btnCancel" << "btnNo" << false;
        QTest::newRow("box closed") << "btnCancel" << "none" << false;
        QTest::newRow("Escape, Ja") << "Escape" << "btnYes" << true;
        QTest::newRow("Escape, Nej") << "Escape" << "btnNo" << false;
    }
    void cancellingAsks()
    {
        QFETCH(QString, how);
        QFETCH(QString, answer);
        QFETCH(bool, closed);
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        dialogs.answers = {answer};
        const TSettingsValues before = diary.App().GetSettings();
        const QStringList namesBefore = StoredNames(diary);
        const bool leftOpen = Run(diary, dialogs, TfrmSettings::pgAll, [&](QWidget *window) {
            Child<QComboBox>(window, "cmbbxLapCalc")->setCurrentIndex(0);
            Child<QLineEdit>(window, "edtTDTName1")->setText(QStringLiteral("Jogging"));
            if (how == QLatin1String("Escape"))
                QTest::keyClick(window, Qt::Key_Escape);
            else
                Child<QPushButton>(window, qPrintable(how))->click();
        });
        QCOMPARE(dialogs.messages, QStringList{"Vill du verkligen avbryta dina ändringar?"});
        QCOMPARE(leftOpen, !closed);
        QCOMPARE(diary.App().GetSettings(), before);
        QCOMPARE(StoredNames(diary), namesBefore);
    }

    // Every page's fields reach the stores on OK — the settings record (and
    // through it the per-user store), the names and the summary selection of
    // the diary — and the next showing reads them back as they were set.
    void thePagesRoundTripThroughTheStores()
    {
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        TCorvaleApp &app = diary.App();
        QStringList codes;
        app.GetActivityNameList().GetCodes(&codes);
        const int run = codes.indexOf(QStringLiteral("RUN"));
        const int cam = codes.indexOf(QStringLiteral("CAM"));

        Run(diary, dialogs, TfrmSettings::pgAll, [](QWidget *window) {
            Child<QComboBox>(window, "cmbbxLapCalc")->setCurrentIndex(0);
            Child<QComboBox>(window, "cmbbxSearchSort")->setCurrentIndex(1);
            Child<QCheckBox>(window, "chkbxSearchAtStart")->setChecked(true);
            Child<QComboBox>(window, "cmbbxTDTSummary")->setCurrentIndex(3);
            Child<QComboBox>(window, "cmbbxTSummary")->setCurrentIndex(1);
            Child<QComboBox>(window, "cmbbxGameSummary")->setCurrentIndex(2);
            Child<QComboBox>(window, "cmbbxDistSummary")->setCurrentIndex(1);
            Child<TNumericalEdit>(window, "numedtRecordTDTNum")->SetValue(QStringLiteral("7"));
            Child<TNumericalEdit>(window, "numedtRecordWorkNum")->SetValue(QStringLiteral("3"));
            Child<QCheckBox>(window, "chkbxWorkSet")->click();
            Child<TNumericalEdit>(window, "numedtRecordWorkSet")->SetValue(QStringLiteral("4"));
            Child<QCheckBox>(window, "chkbxWorkReps")->click();
            Child<TNumericalEdit>(window, "numedtRecordWorkReps")->SetValue(QStringLiteral("10"));
            Child<QLineEdit>(window, "edtTDTName1")->setText(QStringLiteral("Jogging"));
            Child<QLineEdit>(window, "edtFixedName4")->setText(QStringLiteral("Mätning"));
            // The summary list shows the names as they are typed.
            auto *pages = Child<QTabWidget>(window, "pgctrlSettings");
            pages->setCurrentWidget(Child<QWidget>(window, "tshSummary"));
            auto *list = Child<QListWidget>(window, "chklstbxSummaryActivity");
            const QList<QListWidgetItem *> jogging = list->findItems(QStringLiteral("Jogging"), Qt::MatchExactly);
            QCOMPARE(jogging.size(), 1);
            jogging.first()->setCheckState(Qt::Unchecked);
            Ok(window);
        });
        QVERIFY(dialogs.messages.isEmpty());

        TSettingsValues expected;
        expected.LapCalc = TSettingsValues::TLapCalc::Total;
        expected.SearchSort = TSettingsValues::TSearchSort::Activity;
        expected.SearchAtStart = true;
        expected.SummaryTDT = TSettingsValues::TSummaryTDT::Count;
        expected.SummaryTime = TSettingsValues::TSummaryTime::Minutes;
        expected.SummaryGame = TSettingsValues::TSummaryTime::Count;
        expected.SummaryDist = TSettingsValues::TSummaryDist::Count;
        expected.RecordNum = 7;
        expected.RecordWNum = 3;
        expected.RecordSets = 4;
        expected.RecordReps = 10;
        expected.SummaryActivitiesChanged = true;
        QCOMPARE(app.GetSettings(), expected);
        QCOMPARE(app.GetSettingsChanges(), TSettingsChange::Records | TSettingsChange::Summary
                                               | TSettingsChange::LapCalculation | TSettingsChange::Search);

        // The diary holds the names and the selection.
        QStringList names = StoredNames(diary);
        QCOMPARE(names.at(run), QStringLiteral("Jogging"));
        QCOMPARE(names.at(cam), QStringLiteral("Mätning"));
        QCOMPARE(diary.Column(QStringLiteral("select SummarySelected from ActivityNames where ActivityShortName = 'RUN'")),
                 QStringList{"0"});
        QCOMPARE(diary.Column(QStringLiteral("select SummarySelected from ActivityNames where ActivityShortName = 'SKI'")),
                 QStringList{"1"});

        // The per-user store reads back what was set; the flag of the
        // summary selection is never stored.
        app.SaveSettings();
        {
            TDefRegistry registry;
            registry.OpenKey(QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\Settings"), false);
            TSettingsValues stored = expected;
            stored.SummaryActivitiesChanged = false;
            QCOMPARE(TCorvaleSettings::Read(registry), stored);
        }

        // Shown again, the window reads it all back; OK with nothing changed
        // stores nothing new and tells nobody.
        QStringList observed;
        TSubjectObserver observer;
        observer.SetOnChange([&observed](const TObservation &o) { observed.append(QString::number(o.kind)); });
        app.Attach(&observer);
        QStringList shown;
        Run(diary, dialogs, TfrmSettings::pgAll, [&](QWidget *window) {
            for (const char *name : {"cmbbxLapCalc", "cmbbxSearchSort", "cmbbxTDTSummary", "cmbbxTSummary",
                                     "cmbbxGameSummary", "cmbbxDistSummary"})
                shown.append(QString::number(Child<QComboBox>(window, name)->currentIndex()));
            shown.append(Child<QCheckBox>(window, "chkbxSearchAtStart")->isChecked() ? "1" : "0");
            for (const char *name : {"numedtRecordTDTNum", "numedtRecordWorkNum", "numedtRecordWorkSet", "numedtRecordWorkReps",
                                     "edtTDTName1", "edtFixedName4"})
                shown.append(Child<QLineEdit>(window, name)->text());
            auto *list = Child<QListWidget>(window, "chklstbxSummaryActivity");
            shown.append(list->item(run)->text() + (list->item(run)->checkState() == Qt::Checked ? "+" : "-"));
            shown.append(list->item(cam)->text() + (list->item(cam)->checkState() == Qt::Checked ? "+" : "-"));
            Ok(window);
        });
        app.Detach(&observer);
        QCOMPARE(shown, (QStringList{"0", "1", "3", "1", "2", "1", "1", "7", "3", "4", "10", "Jogging", "Mätning",
                                     "Jogging-", "Mätning+"}));
        QCOMPARE(app.GetSettingsChanges(), TSettingsChanges(TSettingsChange::Nothing));
        QVERIFY(observed.isEmpty());
        QCOMPARE(StoredNames(diary), names);
    }

    // OK refuses a field that cannot be stored: it says why, brings the
    // field's page in front with the focus on the field, keeps the text as
    // typed and stores nothing.
    void okRefusesWhatCannotBeStored_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        QTest::newRow("no count") << "numedtRecordTDTNum" << "" << "numedtRecordTDTNum"
                                  << "Antal tid- och distansaktiviteter måste vara ett heltal mellan 1 och 1000.";
        QTest::newRow("no workouts") << "numedtRecordWorkNum" << "" << "numedtRecordWorkNum"
                                     << "Antal styrketräningar måste vara ett heltal mellan 1 och 1000.";
        QTest::newRow("checked, no sets") << "numedtRecordWorkSet" << "" << "numedtRecordWorkSet"
                                          << "Antal set för styrketräning måste vara ett heltal mellan 1 och 1000.";
        QTest::newRow("checked, no repetitions")
            << "numedtRecordWorkReps" << "" << "numedtRecordWorkReps"
            << "Antal repetitioner för styrketräning måste vara ett heltal mellan 1 och 1000.";
        QTest::newRow("empty name") << "edtTimeName3" << "" << "edtTimeName3" << "Varje aktivitet måste ha ett namn.";
        QTest::newRow("blank name") << "edtTDTName1" << "   " << "edtTDTName1" << "Varje aktivitet måste ha ett namn.";
        QTest::newRow("19 characters") << "edtFixedName2" << "Golf på Ängsö gamla" << "" << "";
        QTest::newRow("20 characters")
            << "edtFixedName2" << "Golf på Ängsö gamla." << "edtFixedName2"
            << "Namnet \"Golf på Ängsö gamla.\" är för långt. Ett aktivitetsnamn får vara högst 19 tecken.";
        // Names are checked in list order: the later of two equal ones is
        // the one refused.
        QTest::newRow("same name") << "edtTDTName1" << "golf" << "edtFixedName2"
                                   << "Två aktiviteter med samma namn är ej tillåtet. Golf";
    }
    void okRefusesWhatCannotBeStored()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        const TSettingsValues before = diary.App().GetSettings();
        const QStringList namesBefore = StoredNames(diary);
        QString focused;
        QString page;
        QString kept;
        const bool leftOpen = Run(diary, dialogs, TfrmSettings::pgAll, [&](QWidget *window) {
            for (const char *box : {"chkbxWorkSet", "chkbxWorkReps"})
                Child<QCheckBox>(window, box)->click();
            Child<TNumericalEdit>(window, "numedtRecordWorkSet")->SetValue(QStringLiteral("2"));
            Child<TNumericalEdit>(window, "numedtRecordWorkReps")->SetValue(QStringLiteral("2"));
            auto *edit = Child<QLineEdit>(window, qPrintable(field));
            edit->setText(text);
            Ok(window);
            if (window->isVisible()) {
                focused = window->focusWidget() ? window->focusWidget()->objectName() : QString();
                page = Child<QTabWidget>(window, "pgctrlSettings")->currentWidget()->objectName();
                kept = edit->text();
            }
        });
        if (message.isEmpty()) {
            // The longest name that fits is stored as typed.
            QVERIFY(!leftOpen);
            QVERIFY(dialogs.messages.isEmpty());
            QVERIFY(StoredNames(diary).contains(text));
            return;
        }
        QCOMPARE(dialogs.messages, QStringList{message});
        QVERIFY(leftOpen);
        QCOMPARE(focused, focus);
        QCOMPARE(page, field.startsWith(QLatin1String("edt")) ? QStringLiteral("tshActivities") : QStringLiteral("tshRecords"));
        QCOMPARE(kept, text);
        QCOMPARE(diary.App().GetSettings(), before);
        QCOMPARE(StoredNames(diary), namesBefore);
    }

    // The caller's mask enables the pages; the first of "Aktiviteter",
    // "Summering" and "Personbästa" that is enabled comes in front; a
    // disabled page has the "not allowed" pointer. The window is one shared
    // instance whatever the mask.
    void thePageMaskEnablesPages_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<bool>>("enabled");
        QTest::addColumn<int>("current");
        QTest::newRow("main window") << 15 << QList<bool>{true, true, true, true} << 0;
        QTest::newRow("summary window") << 2 << QList<bool>{false, true, false, false} << 1;
        QTest::newRow("records window") << 4 << QList<bool>{false, false, true, false} << 2;
        QTest::newRow("summary and records") << 6 << QList<bool>{false, true, true, false} << 1;
        QTest::newRow("names only") << 8 << QList<bool>{false, false, false, true} << 3;
    }
    void thePageMaskEnablesPages()
    {
        QFETCH(int, pages);
        QFETCH(QList<bool>, enabled);
        QFETCH(int, current);
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        // A window shown before with every page enabled starts afresh.
        Run(diary, dialogs, TfrmSettings::pgAll, [](QWidget *window) {
            Child<QTabWidget>(window, "pgctrlSettings")->setCurrentIndex(3);
        });
        QList<bool> seen;
        QList<bool> forbidden;
        int front = -1;
        QWidget *first = nullptr;
        QWidget *second = nullptr;
        Run(diary, dialogs, pages, [&](QWidget *window) {
            first = window;
            auto *tabs = Child<QTabWidget>(window, "pgctrlSettings");
            for (int i = 0; i < tabs->count(); ++i) {
                seen.append(tabs->isTabEnabled(i) && tabs->widget(i)->isEnabled());
                forbidden.append(tabs->widget(i)->cursor().shape() == Qt::ForbiddenCursor);
            }
            front = tabs->currentIndex();
        });
        Run(diary, dialogs, pages, [&](QWidget *window) { second = window; });
        QCOMPARE(seen, enabled);
        for (int i = 0; i < forbidden.size(); ++i)
            QCOMPARE(forbidden.at(i), !enabled.at(i));
        QCOMPARE(front, current);
        QVERIFY(first && first == second);
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A renamed golf or body measurement keeps its look-ups, which go by the
    // type's code; the old names are gone from the factory, and windows that
    // listen hear that the names changed.
    void renamesKeepTheLookUpsByCode()
    {
        TFixture f;
        TAppDiary &diary = f.diary;
        TDialogs &dialogs = f.dialogs;
        TCorvaleApp &app = diary.App();
        const QString ratio = app.WaistHipRatio(QStringLiteral("80"), QStringLiteral("100"));
        QVERIFY(!ratio.isEmpty());
        QStringList observed;
        TSubjectObserver observer;
        observer.SetOnChange([&observed](const TObservation &o) { observed.append(QString::number(o.kind)); });
        app.Attach(&observer);
        Run(diary, dialogs, TfrmSettings::pgAll, [](QWidget *window) {
            Child<QLineEdit>(window, "edtFixedName2")->setText(QStringLiteral("Golfrunda"));
            Child<QLineEdit>(window, "edtFixedName4")->setText(QStringLiteral("Mätning"));
            Ok(window);
        });
        app.Detach(&observer);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(observed, (QStringList{"5", "0"}));
        QCOMPARE(diary.Name("GOL"), QStringLiteral("Golfrunda"));
        QVERIFY_THROWS_EXCEPTION(ECorvaleError, app.CreateActivity(QStringLiteral("Golf")));
        QVERIFY(app.CreateActivity(QStringLiteral("Golfrunda")));
        QCOMPARE(app.LastNewHcp(QStringLiteral("2024-05-01"), -1), QString());
        QCOMPARE(app.WaistHipRatio(QStringLiteral("80"), QStringLiteral("100")), ratio);
    }
};

QTEST_MAIN(tst_SettingsWindow)
#include "tst_SettingsWindow.moc"
