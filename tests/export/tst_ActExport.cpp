// The export of the found activities to text and HTML on a real diary: the
// columns and cells of every activity type, the completion of the listed
// activities in a few queries, the progress, the escapes and separators,
// and the code page of the file.

#include "export/ExportDiary.h"

#include "export/ActExport.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "foundation/CorvaleExceptions.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString tab = QStringLiteral("\t");

void attach(TActExport &exporter, TCorvaleApp &app)
{
    exporter.SetActivities(&app.GetActivities());
    exporter.SetExercises(&app.GetExercises());
    exporter.SetPrograms(&app.GetExercisePrograms());
    exporter.SetPulses(&app.GetPulses());
    exporter.SetTitle(QStringLiteral("Exporterat ifrån Ternvall 2.3.0"));
}

// The file's lines without their CR LF; the text is Latin-1 wherever the
// tests look.
QStringList fileLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// The text file's header and rows, cut into cells.
struct TTextExportFile
{
    QStringList intro;
    QStringList header;
    QList<QStringList> rows;

    TTextExportFile(const QByteArray &bytes, const QString &separator)
    {
        const QStringList lines = fileLines(bytes);
        intro = lines.mid(0, 3);
        if (lines.size() > 3)
            header = lines.at(3).split(separator);
        for (qsizetype i = 4; i < lines.size(); ++i)
            rows.append(lines.at(i).split(separator));
    }

    int Column(const QString &title, int from = 0) const { return int(header.indexOf(title, from)); }
    // The row whose date cell is the date.
    QStringList Row(const QString &date) const
    {
        for (const QStringList &row : rows)
            if (row.value(0) == date)
                return row;
        return {};
    }
};

int countOf(const QString &text, const QString &piece)
{
    return int(text.count(piece));
}
} // namespace

class tst_ActExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    TTextExportFile ExportText(TCorvaleApp &app, int separator = 0, bool replace = false, const QString &with = QString(),
                               int *columns = nullptr)
    {
        TTextExport exporter;
        attach(exporter, app);
        exporter.SetSeparator(separator);
        exporter.SetReplace(replace, with);
        exporter.ExportToFile(Path(QStringLiteral("out.txt")));
        if (columns)
            *columns = exporter.ColumnCount();
        return TTextExportFile(TExportDiary::ReadFile(Path(QStringLiteral("out.txt"))), exporter.Separator());
    }

private slots:
    // The export completes the listed activities with one query per table;
    // the file is byte for byte the one written after loading every
    // activity on its own, and the activities stay complete.
    void bulkLoadGivesTheFullLoad()
    {
        TExportDiary d;
        d.AddEveryType();
        const QList<int> numbers = d.SearchAll();
        QCOMPARE(numbers.size(), 12);
        for (const QString &format : {QStringLiteral("text"), QStringLiteral("html")}) {
            auto exportFile = [&](const QString &name) {
                std::unique_ptr<TActExport> exporter;
                if (format == QLatin1String("html")) {
                    exporter = std::make_unique<THtmlExport>();
                } else {
                    auto text = std::make_unique<TTextExport>();
                    text->SetSeparator(1);
                    text->SetReplace(true, QStringLiteral("_"));
                    exporter = std::move(text);
                }
                attach(*exporter, d.App());
                exporter->ExportToFile(Path(name));
                return TExportDiary::ReadFile(Path(name));
            };
            d.SearchAll();
            const QByteArray bulk = exportFile(QStringLiteral("bulk"));
            for (int i = 0; i < d.App().GetLoadedCount(); ++i)
                QCOMPARE(d.App().GetLoadedActivity(i)->GetState(), TActivity::TState::Stored);
            // The session comment as stored, not the list's one-line form.
            const TActivity *ski = nullptr;
            for (int i = 0; i < d.App().GetLoadedCount(); ++i)
                if (d.App().GetLoadedActivity(i)->GetActivityCode() == QLatin1String("SKI"))
                    ski = d.App().GetLoadedActivity(i);
            QVERIFY(ski);
            QCOMPARE(ski->GetSessionComment(), QStringLiteral("Kallt\r\nmen fint"));

            const QList<int> again = d.SearchAll();
            for (const int nr : again)
                d.App().LoadActivityDetails(nr);
            const QByteArray single = exportFile(QStringLiteral("single"));
            QVERIFY(!bulk.isEmpty());
            QCOMPARE(bulk, single);
        }
    }

    // Every line has one cell under every header, whatever mix of types is
    // exported; the sections of types that are absent are left out.
    void columnCountOfMixedExports_data()
    {
        QTest::addColumn<QString>("mix");
        QTest::addColumn<int>("expected"); // -1: only the rule
        QTest::newRow("empty") << "empty" << 16;
        QTest::newRow("runs, the longest with 3 marks") << "runs" << 3 + 1 + 1 + (2 + 4 * 3) + 13;
        QTest::newRow("run and measurement") << "measure" << 3 + 1 + 1 + 2 + 10 + 13;
        QTest::newRow("every type") << "all" << -1;
    }
    void columnCountOfMixedExports()
    {
        QFETCH(QString, mix);
        QFETCH(int, expected);
        TExportDiary d;
        if (mix == QLatin1String("runs")) {
            d.Run(QStringLiteral("2024-01-01"), QStringLiteral("A"));
            d.Run(QStringLiteral("2024-01-02"), QStringLiteral("B"),
                  {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                  {QStringLiteral("5.00"), QStringLiteral("10.00"), QStringLiteral("15.00")});
        } else if (mix == QLatin1String("measure")) {
            d.Run(QStringLiteral("2024-01-01"), QStringLiteral("A"));
            auto &m = d.New<TCardioMeasure>("CAM", QStringLiteral("2024-01-02"));
            m.SetMeasure(QStringLiteral("50"));
            d.Save();
        } else if (mix == QLatin1String("all")) {
            d.AddEveryType();
        }
        const int n = int(d.SearchAll().size());
        int columns = 0;
        const TTextExportFile file = ExportText(d.App(), 1, true, QStringLiteral("_"), &columns);
        if (expected >= 0)
            QCOMPARE(columns, expected);
        QCOMPARE(int(file.header.size()), columns);
        QCOMPARE(int(file.rows.size()), n);
        for (const QStringList &row : file.rows)
            QCOMPARE(int(row.size()), columns);
        if (mix == QLatin1String("runs")) {
            // The run without marks: 12 empty lap cells after its km time.
            const QStringList row = file.Row(QStringLiteral("2024-01-01"));
            const int first = file.Column(QStringLiteral("Mellantidsdistans 1 (km)"));
            QVERIFY(first > 0);
            QCOMPARE(row.mid(first, 12), QStringList(12, QString()));
            QCOMPARE(file.Column(QStringLiteral("Konditionsvärde")), -1);
            QCOMPARE(file.Column(QStringLiteral("Program")), -1);
            QCOMPARE(file.Column(QStringLiteral("Prestation")), -1);
            QCOMPARE(file.Row(QStringLiteral("2024-01-02")).mid(first, 4),
                     (QStringList{QStringLiteral("1.00"), QStringLiteral("2.00"), QStringLiteral("3.00"), QStringLiteral("5.00")}));
        }
        if (mix == QLatin1String("measure")) {
            const int measure = file.Column(QStringLiteral("Konditionsvärde"));
            QCOMPARE(file.Row(QStringLiteral("2024-01-01")).mid(measure, 10), QStringList(10, QString()));
            QCOMPARE(file.Row(QStringLiteral("2024-01-02")).value(measure), QStringLiteral("50.0"));
            const int speed = file.Column(QStringLiteral("Hastighet (km/tim)"));
            QCOMPARE(file.Row(QStringLiteral("2024-01-02")).mid(speed, 2), QStringList(2, QString()));
        }
        if (mix == QLatin1String("empty")) {
            QCOMPARE(file.header.mid(0, 3), (QStringList{QStringLiteral("Datum"), QStringLiteral("Aktivitet"), QStringLiteral("Plats")}));
            QCOMPARE(file.header.constLast(), QStringLiteral("Kommentar"));
        }
        // The intro: the title, today's date and an empty line.
        QCOMPARE(file.intro, (QStringList{QStringLiteral("Exporterat ifrån Ternvall 2.3.0"),
                                          QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")), QString()}));
    }

    // Two steps per activity while analysing, one for the intro, one after
    // the header and one per row.
    void progressSteps_data()
    {
        QTest::addColumn<bool>("filled");
        QTest::addColumn<bool>("html");
        QTest::newRow("empty text") << false << false;
        QTest::newRow("every type, text") << true << false;
        QTest::newRow("every type, html") << true << true;
    }
    void progressSteps()
    {
        QFETCH(bool, filled);
        QFETCH(bool, html);
        TExportDiary d;
        if (filled)
            d.AddEveryType();
        const int n = int(d.SearchAll().size());
        int steps = 0;
        std::unique_ptr<TActExport> exporter = html ? std::unique_ptr<TActExport>(std::make_unique<THtmlExport>())
                                                    : std::unique_ptr<TActExport>(std::make_unique<TTextExport>());
        attach(*exporter, d.App());
        exporter->ExportToFile(Path(QStringLiteral("steps")), [&] { ++steps; });
        QCOMPARE(steps, 3 * n + 2);
    }

    // The page: every text of the diary escaped, titles included, "<br/>"
    // in every empty cell, and one cell per column in every row.
    void htmlEscapesAndEmptyCells()
    {
        TExportDiary d;
        d.AddEveryType();
        d.SearchAll();
        THtmlExport exporter;
        attach(exporter, d.App());
        exporter.SetTitle(QStringLiteral("Mina <pass> & mer"));
        exporter.ExportToFile(Path(QStringLiteral("out.html")));
        const QStringList lines = fileLines(TExportDiary::ReadFile(Path(QStringLiteral("out.html"))));
        QCOMPARE(lines.value(0), QStringLiteral("<html>"));
        QCOMPARE(lines.value(10), QStringLiteral("Mina &lt;pass&gt; &amp; mer<br/>"));
        QCOMPARE(lines.value(13), QStringLiteral("<table border=1 cols=%1>").arg(exporter.ColumnCount()));
        const QString header = lines.value(14);
        QVERIFY(header.startsWith(QStringLiteral("<thead><tr><th nowrap=\"1\">Datum</th><th nowrap=\"1\">Aktivitet")));
        QCOMPARE(countOf(header, QStringLiteral("<th nowrap=\"1\">")), exporter.ColumnCount());
        QVERIFY(header.contains(QStringLiteral("<th nowrap=\"1\">Chins;&lt;brett&gt;</th>")));
        QVERIFY(header.contains(QStringLiteral("<th nowrap=\"1\">Dips &amp; co</th>")));
        QVERIFY(header.contains(QStringLiteral("<th nowrap=\"1\">Distans<br/> (km)</th>")));
        const QStringList rows = lines.mid(15, 12);
        for (const QString &row : rows) {
            QVERIFY(row.startsWith(QStringLiteral("<tr><td nowrap=\"1\">")));
            QVERIFY(row.endsWith(QStringLiteral("</td></tr>")));
            QCOMPARE(countOf(row, QStringLiteral("<td nowrap=\"1\">")), exporter.ColumnCount());
            QVERIFY(!row.contains(QStringLiteral("<td nowrap=\"1\"></td>")));
        }
        const QString all = rows.join(QLatin1Char('\n'));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\">Skog;park, &lt;Å&gt;</td>")));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\">Yoga, \"lugn\" &amp; &lt;stretch&gt;</td>")));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\">Överkropp &lt;A&gt;</td>")));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\">IBK &lt;Ö&gt; - AIK: 5-3</td>")));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\">Spår: dåliga &amp; isiga</td>")));
        QVERIFY(all.contains(QStringLiteral("<td nowrap=\"1\"><br/></td>")));
        QVERIFY(!all.contains(QStringLiteral("<Å>")));
        QCOMPARE(lines.mid(27), (QStringList{QStringLiteral("</table>"), QStringLiteral("</body>"), QStringLiteral("</html>")}));
    }

    // With Replace, a separator inside any text of the diary (a place, an
    // exercise name in the header) becomes the replace text; without it,
    // the text is written as it is.
    void separatorInTexts_data()
    {
        QTest::addColumn<int>("separator");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("extra");
        QTest::newRow("semicolon by _") << 1 << true << "_" << "Skog_park, <Å>" << "Chins_<brett>";
        QTest::newRow("comma by _") << 3 << true << "_" << "Skog;park_ <Å>" << "Chins;<brett>";
        QTest::newRow("colon removed") << 2 << true << "" << "Skog;park, <Å>" << "Chins;<brett>";
        QTest::newRow("tab by blank") << 0 << true << " " << "Skog;park, <Å>" << "Chins;<brett>";
    }
    void separatorInTexts()
    {
        QFETCH(int, separator);
        QFETCH(bool, replace);
        QFETCH(QString, with);
        QFETCH(QString, place);
        QFETCH(QString, extra);
        TExportDiary d;
        d.AddEveryType();
        d.SearchAll();
        int columns = 0;
        const TTextExportFile file = ExportText(d.App(), separator, replace, with, &columns);
        QCOMPARE(int(file.header.size()), columns);
        for (const QStringList &row : file.rows)
            QCOMPARE(int(row.size()), columns);
        QCOMPARE(file.Row(QStringLiteral("2024-03-01")).value(2), place);
        QVERIFY2(file.Column(extra) > 0, qPrintable(file.header.join(QLatin1Char('|'))));
        // The game's text "IBK <Ö> - AIK: 5-3" holds a colon, the place of
        // the floorball match a tab.
        const QStringList game = file.Row(QStringLiteral("2024-03-04"));
        QCOMPARE(game.value(file.Column(QStringLiteral("Match"))),
                 separator == 2 ? QStringLiteral("IBK <Ö> - AIK 5-3") : QStringLiteral("IBK <Ö> - AIK: 5-3"));
        QCOMPARE(game.value(2), separator == 0 ? QStringLiteral("Arena 1") : QStringLiteral("Arena\t1"));
    }

    // Without Replace the separator in a text stays and splits the line, as
    // the user chose.
    void separatorKeptWithoutReplace()
    {
        TExportDiary d;
        d.Run(QStringLiteral("2024-03-01"), QStringLiteral("Skog;park"));
        d.SearchAll();
        int columns = 0;
        const TTextExportFile file = ExportText(d.App(), 1, false, QStringLiteral("_"), &columns);
        QCOMPARE(file.rows.value(0).value(2), QStringLiteral("Skog"));
        QCOMPARE(int(file.rows.value(0).size()), columns + 1);
    }

    // Program exercises, free held, extra exercises and pulse intervals
    // get columns in the order they are first met, and only when an
    // exported activity holds a value for them.
    void columnsInFirstMetOrder()
    {
        TExportDiary d;
        const qint32 low = d.AddPulse(60, 120);
        const qint32 high = d.AddPulse(150, 180);
        const qint32 program =
            d.AddProgram(QStringLiteral("Ben"), {QStringLiteral("Knäböj"), QStringLiteral("Marklyft"), QStringLiteral("Utfall")});
        d.Run(QStringLiteral("2024-01-01"), QStringLiteral("A"), {}, {}, {high}, {30});
        d.Run(QStringLiteral("2024-01-02"), QStringLiteral("B"), {}, {}, {low, high}, {50, 20});
        d.Workout(QStringLiteral("2024-01-03"),
                  {{1, {QString(), QStringLiteral("5x5"), QStringLiteral("120")}},
                   {17, {QStringLiteral("Plankan"), QStringLiteral("3x1"), QString()}}},
                  QString::number(program));
        d.Workout(QStringLiteral("2024-01-04"),
                  {{0, {QString(), QStringLiteral("5x5"), QStringLiteral("100")}},
                   {15, {QStringLiteral("Armhävning"), QStringLiteral("3x20"), QString()}},
                   {16, {QStringLiteral("Plankan"), QStringLiteral("2x1"), QString()}}},
                  QString::number(program));
        // A free workout after the program ones still gets its slot.
        d.Workout(QStringLiteral("2024-01-05"), {{4, {QString(), QStringLiteral("3x10"), QStringLiteral("30")}}});
        d.SearchAll();
        int columns = 0;
        const TTextExportFile file = ExportText(d.App(), 0, false, QString(), &columns);
        const QStringList &h = file.header;
        const int pulseHigh = int(h.indexOf(QStringLiteral("Pulsintervall 150-180 (puls)")));
        const int pulseLow = int(h.indexOf(QStringLiteral("Pulsintervall  60-120 (puls)")));
        QVERIFY(pulseHigh > 0);
        QCOMPARE(pulseLow, pulseHigh + 1);
        const int marklyft = file.Column(QStringLiteral("Marklyft"));
        QVERIFY(marklyft > file.Column(QStringLiteral("Program")));
        QCOMPARE(file.Column(QStringLiteral("Knäböj")), marklyft + 2);
        QCOMPARE(file.Column(QStringLiteral("Utfall")), -1);
        const int free = file.Column(TWorkout::BasicExerciseNames().at(4));
        QVERIFY(free > marklyft);
        QCOMPARE(file.Column(QStringLiteral("Plankan")), free + 2);
        QCOMPARE(file.Column(QStringLiteral("Armhävning")), free + 4);
        QCOMPARE(file.Row(QStringLiteral("2024-01-02")).mid(pulseHigh, 2), (QStringList{QStringLiteral("20"), QStringLiteral("50")}));
        QCOMPARE(file.Row(QStringLiteral("2024-01-01")).mid(pulseHigh, 2), (QStringList{QStringLiteral("30"), QString()}));
        const QStringList second = file.Row(QStringLiteral("2024-01-04"));
        QCOMPARE(second.value(file.Column(QStringLiteral("Program"))), QStringLiteral("Ben"));
        QCOMPARE(second.mid(marklyft, 4), (QStringList{QString(), QString(), QStringLiteral("5x5"), QStringLiteral("100.0")}));
        QCOMPARE(second.mid(free, 6), (QStringList{QString(), QString(), QStringLiteral("2x1"), QString(), QStringLiteral("3x20"),
                                                   QString()}));
        QCOMPARE(file.Row(QStringLiteral("2024-01-05")).mid(free, 2), (QStringList{QStringLiteral("3x10"), QStringLiteral("30.0")}));
        for (const QStringList &row : file.rows)
            QCOMPARE(int(row.size()), columns);
    }

    // The column of an extra exercise is made from names that differ only
    // in case, and every workout's values stand in it.
    void extraExercisesOfDifferentCase()
    {
        TExportDiary d;
        d.Workout(QStringLiteral("2024-01-01"), {{15, {QStringLiteral("Chins"), QStringLiteral("3x8"), QString()}}});
        d.Workout(QStringLiteral("2024-01-02"), {{17, {QStringLiteral("chins"), QStringLiteral("3x10"), QStringLiteral("5")}}});
        d.SearchAll();
        const TTextExportFile file = ExportText(d.App());
        QCOMPARE(file.header.filter(QStringLiteral("chins"), Qt::CaseInsensitive), QStringList{QStringLiteral("Chins")});
        const int chins = file.Column(QStringLiteral("Chins"));
        QCOMPARE(file.Row(QStringLiteral("2024-01-01")).mid(chins, 2), (QStringList{QStringLiteral("3x8"), QString()}));
        QCOMPARE(file.Row(QStringLiteral("2024-01-02")).mid(chins, 2), (QStringList{QStringLiteral("3x10"), QStringLiteral("5.0")}));
    }

    // The comments: line breaks become blanks; the user's words are kept,
    // "Default" included, and a type without a comment of its own has an
    // empty cell rather than the program's placeholder.
    void comments()
    {
        TExportDiary d;
        d.AddEveryType();
        auto &run = d.New<TTimeDistanceActivity>("RUN", QStringLiteral("2024-04-01"));
        run.SetDuration(QStringLiteral("30"));
        run.SetDistance(QStringLiteral("5"));
        const QStringList none;
        run.SetLaps(&none, &none);
        run.SetComment(QStringLiteral("Default"));
        d.Save();
        d.SearchAll();
        const TTextExportFile file = ExportText(d.App(), 1, true, QStringLiteral("_"));
        const int session = int(file.header.size()) - 2;
        QCOMPARE(file.Row(QStringLiteral("2024-03-03")).value(session + 1), QStringLiteral("Default-passet"));
        QCOMPARE(file.Row(QStringLiteral("2024-04-01")).value(session + 1), QStringLiteral("Default"));
        QCOMPARE(file.Row(QStringLiteral("2024-03-11")).value(session), QStringLiteral("Pudersnö"));
        QCOMPARE(file.Row(QStringLiteral("2024-03-11")).value(session + 1), QString());
        QCOMPARE(file.Row(QStringLiteral("2024-03-02")).value(session), QStringLiteral("Kallt  men fint"));
        // The fixed texts of the common section.
        const QStringList row = file.Row(QStringLiteral("2024-03-01"));
        QCOMPARE(row.value(file.Column(QStringLiteral("Väder"))), QStringLiteral("Mulet"));
        QCOMPARE(row.value(file.Column(QStringLiteral("Vindriktning"))), QStringLiteral("Västlig vind"));
        QCOMPARE(row.value(file.Column(QStringLiteral("Vilokvalitet"))), QStringLiteral("Ok vila"));
        QCOMPARE(file.Row(QStringLiteral("2024-03-04")).value(file.Column(QStringLiteral("Prestation"))), QStringLiteral("Bra"));
    }

    void windows1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("replaced");
        QTest::newRow("ascii") << "Plats 1;2" << QByteArray("Plats 1;2") << 0;
        QTest::newRow("å ä ö") << "åäöÅÄÖé" << QByteArray("\xe5\xe4\xf6\xc5\xc4\xd6\xe9") << 0;
        QTest::newRow("upper controls of the code page") << "€ – ” ™ Ÿ" << QByteArray("\x80 \x96 \x94 \x99 \x9f") << 0;
        QTest::newRow("outside the code page") << "a → b" << QByteArray("a ? b") << 1;
        QTest::newRow("a pair of surrogates is one character") << QString::fromUtf8("\xf0\x9f\x98\x80!") << QByteArray("?!") << 1;
        QTest::newRow("C1 control") << QString(QChar(0x81)) << QByteArray("?") << 1;
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, replaced);
        int count = 0;
        QCOMPARE(TActExport::ToWindows1252(text, count), bytes);
        QCOMPARE(count, replaced);
    }

    // The file: CR LF after every line and only there, Windows-1252, and
    // the characters it cannot hold counted.
    void fileEncoding()
    {
        TExportDiary d;
        d.Run(QStringLiteral("2024-01-01"), QStringLiteral("Café → torget"));
        d.SearchAll();
        TTextExport exporter;
        attach(exporter, d.App());
        exporter.ExportToFile(Path(QStringLiteral("enc.txt")));
        const QByteArray bytes = TExportDiary::ReadFile(Path(QStringLiteral("enc.txt")));
        QCOMPARE(exporter.ReplacedCount(), 1);
        QVERIFY(bytes.contains("Caf\xe9 ? torget"));
        QVERIFY(bytes.contains("Exporterat ifr\xe5n Ternvall 2.3.0\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 5);
        QVERIFY(bytes.endsWith("\r\n"));
        // A second export counts anew.
        d.SearchAll();
        d.App().GetActivities().Clear();
        exporter.ExportToFile(Path(QStringLiteral("enc.txt")));
        QCOMPARE(exporter.ReplacedCount(), 0);
    }

    void errors()
    {
        TExportDiary d;
        d.SearchAll();
        TTextExport exporter;
        auto failure = [&] {
            try {
                exporter.ExportToFile(Path(QStringLiteral("err.txt")));
            } catch (const EExport &e) {
                return e.Message();
            }
            return QString();
        };
        QCOMPARE(failure(), QStringLiteral("Export 01"));
        exporter.SetActivities(&d.App().GetActivities());
        QCOMPARE(failure(), QStringLiteral("Export 02"));
        exporter.SetExercises(&d.App().GetExercises());
        QCOMPARE(failure(), QStringLiteral("Export 03"));
        exporter.SetPrograms(&d.App().GetExercisePrograms());
        QCOMPARE(failure(), QStringLiteral("Export 04"));
        exporter.SetPulses(&d.App().GetPulses());
        QCOMPARE(failure(), QString());
        for (const int index : {-1, 4}) {
            QVERIFY_THROWS_EXCEPTION(EExport, exporter.SetSeparator(index));
            QCOMPARE(exporter.Separator(), tab);
        }
        // A file that cannot be made.
        QVERIFY_THROWS_EXCEPTION(EExport, exporter.ExportToFile(Path(QStringLiteral("no/such/folder/err.txt"))));
        QVERIFY_THROWS_EXCEPTION(EExport, exporter.ExportToFile(m_dir.path()));
    }
};

QTEST_MAIN(tst_ActExport)
#include "tst_ActExport.moc"
