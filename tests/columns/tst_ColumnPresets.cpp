// The column-settings window "Visa kolumner", driven as a user does against
// a real diary opened by the application object: boxes clicked, the name
// dialog typed into, the message boxes answered, OK and Avbryt.

#include "reference/AppDiary.h"

#include "app/CorvaleHelp.h"
#include "columns/ColumnPresets.h"
#include "columns/ColumnSettings.h"
#include "columns/ExerciseColumnSettings.h"
#include "reference/Exercises.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString defaultName = QStringLiteral("< Grundinställning >");
const QString askDelete = QStringLiteral("Vill du verkligen ta bort kolumninställningen?");
const QString askCancel = QStringLiteral("Vill du verkligen avbryta dina ändringar?");
const QString saveFailed = QStringLiteral("Kolumninställningarna kunde inte sparas. De sparade kolumninställningarna är "
                                          "oförändrade.");

template <class T> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qWarning("no child %s", qPrintable(name));
    return found;
}

QCheckBox *box(QWidget *window, const char *name)
{
    return child<QCheckBox>(window, QLatin1String(name));
}

void click(QWidget *window, const char *name)
{
    auto *button = child<QAbstractButton>(window, QLatin1String(name));
    QVERIFY2(button->isEnabled(), name);
    button->click();
}

QComboBox *settingList(QWidget *window)
{
    return child<QComboBox>(window, QStringLiteral("cmbbxColumnSetting"));
}

QStringList items(QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

QComboBox *exerciseList(QWidget *window, int n)
{
    return child<QComboBox>(window, QStringLiteral("cmbbxEx%1").arg(n));
}

// The captions of the checked boxes, in tag order.
QStringList checked(QWidget *window)
{
    QStringList captions;
    for (int tag = 1; tag <= ColumnKindCount; ++tag) {
        for (QCheckBox *found : window->findChildren<QCheckBox *>()) {
            if (found->property("tag").toInt() == tag && found->isChecked())
                captions.append(found->text());
        }
    }
    return captions;
}

void choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
}

// Both tables as lines "id name: kind kind ...", by id, the kinds sorted.
QStringList stored(TAppDiary &diary)
{
    QStringList lines;
    for (const QString &row : diary.Column(QStringLiteral("select ColumnId || ' ' || ColumnSettingName from "
                                                          "ColumnSettingNames order by ColumnId"))) {
        QStringList kinds = diary.Column(
            QStringLiteral("select ColumnSetting from ColumnSettings where ColumnId = %1").arg(row.section(u' ', 0, 0)));
        kinds.sort();
        lines.append(row + QStringLiteral(": ") + kinds.join(QLatin1Char(' ')));
    }
    return lines;
}

// The name dialog: each opening records its caption, label, initial text
// and length, then takes the next text of `typed` ("&OK"), or answers
// "&Avbryt" when none is left.
struct TNameDialog
{
    QStringList typed;
    QStringList shown;

    void Answer(QWidget *window)
    {
        auto *edit = child<QLineEdit>(window, QStringLiteral("edtSetName"));
        shown.append(QStringLiteral("%1/%2/%3/%4")
                         .arg(window->windowTitle(), child<QLabel>(window, QStringLiteral("lblSetName"))->text(),
                              edit->text())
                         .arg(edit->maxLength()));
        if (typed.isEmpty()) {
            child<QPushButton>(window, QStringLiteral("btnCancel"))->click();
            return;
        }
        edit->setText(typed.takeFirst());
        child<QPushButton>(window, QStringLiteral("btnOK"))->click();
    }
};

// Shows the window modally with `action` acting in it; returns its result.
int runWindow(TAppDiary &diary, TDialogs &dialogs, TNameDialog &names, const std::function<void(QWidget *)> &action)
{
    dialogs.actions.insert(QStringLiteral("frmColumnPresets"), action);
    dialogs.actions.insert(QStringLiteral("frmGenericName"), [&names](QWidget *window) { names.Answer(window); });
    TfrmColumnPresets window(diary.App());
    return window.exec();
}

// The application object's settings as the presets window sees them at
// start: what the diary holds, or the default setting.
void reload(TAppDiary &diary)
{
    diary.App().GetColumnSettings().LoadFromDb();
    diary.App().GetColumnSettings().EnsureDefaultSetting();
}

void addExercises(TAppDiary &diary)
{
    int id = 0;
    for (const char *name : {"Bänkpress", "Knäböj", "Marklyft"})
        diary.Sql(QStringLiteral("insert into Exercises (ExerciseId, ExerciseName) values (%1, '%2')")
                      .arg(++id)
                      .arg(QString::fromUtf8(name)));
    diary.App().GetExercises().LoadExercises();
    diary.App().GetExerciseColumnSettings().LoadFromDb();
}

class THelpRecorder : public THelpViewer
{
public:
    void ShowPage(const QString &file, const QString &anchor) override
    {
        pages.append(QFileInfo(file).fileName() + QLatin1Char('#') + anchor);
    }
    void Inform(const QString &text) override { pages.append(text); }
    QStringList pages;
};
} // namespace

class tst_ColumnPresets : public QObject
{
    Q_OBJECT

private slots:
    // A diary without settings shows the default one, which cannot be
    // deleted or renamed; it reaches the diary only with OK. Date, Activity
    // and the hidden key are always checked; the 57 boxes carry tags 1..57.
    void theDefaultSettingIsWrittenOnlyOnOK()
    {
        TAppDiary diary;
        TDialogs dialogs;
        TNameDialog names;
        QStringList shown;
        QStringList offered;
        int tags = 0;
        bool fixedBoxes = false;
        QSize size;
        auto look = [&](QWidget *window) {
            offered = items(settingList(window));
            shown = checked(window);
            for (int tag = 1; tag <= ColumnKindCount; ++tag) {
                for (QCheckBox *found : window->findChildren<QCheckBox *>())
                    tags += found->property("tag").toInt() == tag ? 1 : 0;
            }
            fixedBoxes = !box(window, "chkbxDate")->isEnabled() && !box(window, "chkbxActivity")->isEnabled()
                         && !box(window, "chkbxID")->isEnabled() && box(window, "chkbxID")->isHidden()
                         && box(window, "chkbxID")->isChecked();
            size = window->frameGeometry().size();
            QVERIFY(!child<QWidget>(window, QStringLiteral("btnDelete"))->isEnabled());
            QVERIFY(!child<QWidget>(window, QStringLiteral("btnRename"))->isEnabled());
        };
        QCOMPARE(runWindow(diary, dialogs, names, [&](QWidget *window) {
                     look(window);
                     click(window, "btnCancel");
                 }),
                 int(QDialog::Rejected));
        QCOMPARE(offered, QStringList{defaultName});
        QCOMPARE(shown, (QStringList{"Datum", "Aktivitet", "Plats", "Vikt", "Kommentar", "ID"}));
        QCOMPARE(tags, ColumnKindCount);
        QVERIFY(fixedBoxes);
        // The whole window fits a 1366×768 screen with the task bar.
        QVERIFY2(size.width() <= 1366 && size.height() <= 728, qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        QCOMPARE(stored(diary), QStringList());
        QCOMPARE(dialogs.messages, QStringList());

        QCOMPARE(runWindow(diary, dialogs, names, [&](QWidget *window) { click(window, "btnOK"); }),
                 int(QDialog::Accepted));
        QCOMPARE(stored(diary), QStringList{"1 < Grundinställning >: cAct cComment cDate cId cPlace cWeight"});
    }

    // A new setting named through the dialog starts with Date and Activity,
    // takes the boxes checked, becomes current and is written with OK; the
    // name is cleaned as the list shows it.
    void aNewSettingIsDefined()
    {
        TAppDiary diary;
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {QStringLiteral("  Lö&pning\t")};
        QStringList first;
        QStringList offered;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnNew");
            first = checked(window);
            offered = items(settingList(window));
            QCOMPARE(settingList(window)->currentText(), QStringLiteral("Löpning"));
            QVERIFY(child<QWidget>(window, QStringLiteral("btnDelete"))->isEnabled());
            for (const char *name : {"chkbxDistance", "chkbxTime", "chkbxSpeed", "chkbxDistTime"})
                box(window, name)->click();
            click(window, "btnOK");
        });
        QCOMPARE(names.shown, QStringList{"Kolumninställningsnamn/&Kolumninställning/Ny kolumninställning/30"});
        QCOMPARE(first, (QStringList{"Datum", "Aktivitet", "ID"}));
        QCOMPARE(offered, (QStringList{defaultName, "Löpning"}));
        QCOMPARE(stored(diary), (QStringList{"1 < Grundinställning >: cAct cComment cDate cId cPlace cWeight",
                                             "2 Löpning: cAct cDate cDistTime cDistance cId cSpeed cTime"}));
        QCOMPARE(diary.App().GetColumnSettings().GetCurrent(), 2);
        QCOMPARE(dialogs.messages, QStringList());
    }

    // Choosing another setting keeps the boxes clicked for the one before;
    // "&Rensa alla" leaves Date, Activity and the key, "&Markera alla"
    // checks every box.
    void switchingKeepsWhatWasChecked()
    {
        TAppDiary diary;
        diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (1, 'Alla')"));
        diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (2, 'Golf')"));
        diary.Sql(QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values (2, 'cHCP')"));
        reload(diary);
        TDialogs dialogs;
        TNameDialog names;
        QStringList golf;
        QStringList all;
        QStringList cleared;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            // The last by name is current.
            QCOMPARE(settingList(window)->currentText(), QStringLiteral("Golf"));
            box(window, "chkbxStroke")->click();
            choose(settingList(window), QStringLiteral("Alla"));
            click(window, "btnCheck");
            all = checked(window);
            choose(settingList(window), QStringLiteral("Golf"));
            golf = checked(window);
            click(window, "btnUnCheck");
            cleared = checked(window);
            box(window, "chkbxPar")->click();
            click(window, "btnOK");
        });
        // Stored without Date and Activity, it shows them as every setting does.
        QCOMPARE(golf, (QStringList{"Datum", "Aktivitet", "Slag", "HCP", "ID"}));
        QCOMPARE(all.size(), ColumnKindCount);
        QCOMPARE(cleared, (QStringList{"Datum", "Aktivitet", "ID"}));
        const QStringList rows = stored(diary);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).count(u' '), 1 + ColumnKindCount);
        QCOMPARE(rows.at(1), QStringLiteral("2 Golf: cAct cDate cId cPar"));
    }

    // "&Tag bort" asks first; Yes takes the setting away and makes the one
    // before it current; the first setting cannot be deleted. "&Byt namn"
    // offers the current name.
    void deleteAndRename()
    {
        TAppDiary diary;
        int id = 0;
        for (const char *name : {"Alla", "Golf", "Löpning"})
            diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (%1, '%2')")
                          .arg(++id)
                          .arg(QString::fromUtf8(name)));
        reload(diary);
        TDialogs dialogs;
        dialogs.answers = {QStringLiteral("btnNo"), QStringLiteral("btnYes")};
        TNameDialog names;
        names.typed = {QStringLiteral("Golfrundor")};
        QStringList afterNo;
        QStringList afterYes;
        QString current;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnDelete");
            afterNo = items(settingList(window));
            click(window, "btnDelete");
            afterYes = items(settingList(window));
            current = settingList(window)->currentText();
            click(window, "btnRename");
            choose(settingList(window), QStringLiteral("Alla"));
            QVERIFY(!child<QWidget>(window, QStringLiteral("btnDelete"))->isEnabled());
            QVERIFY(!child<QWidget>(window, QStringLiteral("btnRename"))->isEnabled());
            click(window, "btnOK");
        });
        QCOMPARE(dialogs.messages, (QStringList{askDelete, askDelete}));
        QCOMPARE(afterNo, (QStringList{"Alla", "Golf", "Löpning"}));
        QCOMPARE(afterYes, (QStringList{"Alla", "Golf"}));
        QCOMPARE(current, QStringLiteral("Golf"));
        QCOMPARE(names.shown, QStringList{"Kolumninställningsnamn/&Kolumninställning/Golf/30"});
        QCOMPARE(stored(diary), (QStringList{"1 Alla: cAct cDate cId", "2 Golfrundor: cAct cDate cId"}));
    }

    // An exercise chosen in one list is offered in no other; the boxes of
    // the exercise columns take the chosen names; OK writes the columns.
    void exerciseListsAreCrossFiltered()
    {
        TAppDiary diary;
        addExercises(diary);
        TDialogs dialogs;
        TNameDialog names;
        QStringList second;
        QStringList first;
        QString caption1;
        QString hint1;
        QString caption3;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            auto *pages = child<QTabWidget>(window, QStringLiteral("pgctrlColumnPresets"));
            pages->setCurrentWidget(child<QWidget>(window, QStringLiteral("tshExercises")));
            QCOMPARE(items(exerciseList(window, 20)), (QStringList{"", "Bänkpress", "Knäböj", "Marklyft"}));
            choose(exerciseList(window, 1), QStringLiteral("Bänkpress"));
            choose(exerciseList(window, 2), QStringLiteral("Marklyft"));
            second = items(exerciseList(window, 2));
            first = items(exerciseList(window, 1));
            for (int n = 3; n <= ExerciseColumnCount; ++n)
                QCOMPARE(items(exerciseList(window, n)), (QStringList{"", "Knäböj"}));
            pages->setCurrentWidget(child<QWidget>(window, QStringLiteral("tshColumns")));
            caption1 = box(window, "chkbxExercise1")->text();
            hint1 = box(window, "chkbxExercise1")->toolTip();
            caption3 = box(window, "chkbxExercise3")->text();
            click(window, "btnOK");
        });
        QCOMPARE(first, (QStringList{"", "Bänkpress", "Knäböj"}));
        QCOMPARE(second, (QStringList{"", "Knäböj", "Marklyft"}));
        QCOMPARE(caption1, QStringLiteral("Bänkpress"));
        QCOMPARE(hint1, QStringLiteral("Bänkpress"));
        QCOMPARE(caption3, QStringLiteral("Övning3"));
        QCOMPARE(diary.Column(QStringLiteral("select ExerciseNr || ':' || ExerciseId from ExerciseColumns order by ExerciseNr")),
                 (QStringList{"1:1", "2:3"}));
    }

    // "&Avbryt" after changes asks; No keeps the window as it is, Yes reads
    // the settings again and makes the one current that was current when
    // the window was shown. Without changes it closes at once.
    void cancelDropsTheChanges()
    {
        TAppDiary diary;
        diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (1, 'Alla')"));
        diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (2, 'Golf')"));
        reload(diary);
        diary.App().GetColumnSettings().SetCurrent(1);
        TDialogs dialogs;
        dialogs.answers = {QStringLiteral("btnNo"), QStringLiteral("btnYes")};
        TNameDialog names;
        names.typed = {QStringLiteral("Ny")};
        bool stillOpen = false;
        QStringList kept;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            click(window, "btnNew");
            box(window, "chkbxTemp")->click();
            click(window, "btnCancel");
            stillOpen = window->isVisible();
            kept = checked(window);
            click(window, "btnCancel");
        });
        QCOMPARE(dialogs.messages, (QStringList{askCancel, askCancel}));
        QVERIFY(stillOpen);
        QCOMPARE(kept, (QStringList{"Datum", "Aktivitet", "Temperatur", "ID"}));
        TColumnSettings &settings = diary.App().GetColumnSettings();
        QCOMPARE(settings.GetIds(), (QList<qint32>{1, 2}));
        QCOMPARE(settings.GetCurrent(), 1);
        QCOMPARE(stored(diary), (QStringList{"1 Alla: ", "2 Golf: "}));

        dialogs.messages.clear();
        QCOMPARE(runWindow(diary, dialogs, names, [&](QWidget *window) { click(window, "btnCancel"); }),
                 int(QDialog::Rejected));
        QCOMPARE(dialogs.messages, QStringList());
    }

    // A setting the diary refuses to store: the window says so and stays
    // open with the user's settings; the diary holds what it held. Once the
    // cause is gone, OK writes them.
    void aFailedSaveKeepsTheWindowAndTheDiary()
    {
        TAppDiary diary;
        diary.Sql(QStringLiteral("insert into ColumnSettingNames (ColumnId, ColumnSettingName) values (1, 'Alla')"));
        diary.Sql(QStringLiteral("insert into ColumnSettings (ColumnId, ColumnSetting) values (1, 'cDate')"));
        diary.Sql(QStringLiteral("alter table ColumnSettingNames add constraint CK_Refused check "
                                 "(ColumnSettingName <> 'Spärrad')"));
        reload(diary);
        const QStringList before = stored(diary);
        TDialogs dialogs;
        TNameDialog names;
        names.typed = {QStringLiteral("Spärrad"), QStringLiteral("Öppen")};
        bool stillOpen = false;
        QStringList offered;
        QStringList kept;
        QStringList storedMeanwhile;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            box(window, "chkbxPlace")->click();
            click(window, "btnNew");
            box(window, "chkbxWeight")->click();
            click(window, "btnOK");
            stillOpen = window->isVisible();
            offered = items(settingList(window));
            kept = checked(window);
            storedMeanwhile = stored(diary);
            click(window, "btnRename");
            click(window, "btnOK");
        });
        QVERIFY(stillOpen);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.at(0).startsWith(saveFailed), qPrintable(dialogs.messages.at(0)));
        QCOMPARE(storedMeanwhile, before);
        QCOMPARE(offered, (QStringList{"Alla", "Spärrad"}));
        QCOMPARE(kept, (QStringList{"Datum", "Aktivitet", "Vikt", "ID"}));
        QCOMPARE(stored(diary), (QStringList{"1 Alla: cAct cDate cId cPlace", "2 Öppen: cAct cDate cId cWeight"}));
    }

    // "&Hjälp" and F1 open the window's help.
    void help_data()
    {
        QTest::addColumn<bool>("key");
        QTest::newRow("button") << false;
        QTest::newRow("F1") << true;
    }
    void help()
    {
        QFETCH(bool, key);
        TAppDiary diary;
        QTemporaryDir appFolder;
        QVERIFY(QDir(appFolder.path()).mkpath(QStringLiteral("help")));
        QFile file(appFolder.path() + QStringLiteral("/help/columns.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        THelpRecorder recorder;
        diary.App().GetHelp().SetAppPath(appFolder.path());
        diary.App().GetHelp().SetViewer(&recorder);
        TDialogs dialogs;
        TNameDialog names;
        runWindow(diary, dialogs, names, [&](QWidget *window) {
            if (key)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            else
                click(window, "btnHelp");
            click(window, "btnCancel");
        });
        diary.App().GetHelp().SetViewer(nullptr);
        QCOMPARE(recorder.pages, QStringList{"columns.htm#"});
    }
};

QTEST_MAIN(tst_ColumnPresets)
#include "tst_ColumnPresets.moc"
