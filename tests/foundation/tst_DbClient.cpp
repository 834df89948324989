// The database layer against a real diary made from the project's schema.

#include "DiaryDatabase.h"
#include "TestDiary.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

Q_DECLARE_METATYPE(TDbOpenFailure)

class tst_DbClient : public QObject
{
    Q_OBJECT

private:
    static int count(TDbConnection &connection, const QString &table)
    {
        TDbQuery query(connection);
        query.Add(QStringLiteral("select count(*) from ") + table);
        query.Open();
        return int(query.FieldAsInteger(0));
    }

    static void insertSession(TDbConnection &connection, int nr, const QString &place)
    {
        TDbQuery query(connection);
        query.Add(QStringLiteral("insert into TrainingSession"));
        query.Add(QStringLiteral("(SessionNr, SessionDate, SessionActivity, SessionPlace, SessionWeather)"));
        query.Add(QStringLiteral("values(:snr, :sdate, :sact, :splace, :swea)"));
        query.SetInteger(QStringLiteral("snr"), nr);
        query.SetDate(QStringLiteral("sdate"), QDate(2024, 5, 17));
        query.SetText(QStringLiteral("sact"), QStringLiteral("RUN"));
        query.SetText(QStringLiteral("splace"), place);
        query.SetInteger(QStringLiteral("swea"), -1);
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);
    }

private slots:
    void rowsAffectedByInsertUpdateDelete()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        for (int nr = 1; nr <= 3; ++nr)
            insertSession(db, nr, QStringLiteral("Slottsskogen"));

        TDbQuery query(db);
        query.Add(QStringLiteral("update TrainingSession set"));
        query.Add(QStringLiteral("SessionPlace = :splace"));
        query.Add(QStringLiteral("where SessionNr >= :snr"));
        query.SetText(QStringLiteral("splace"), QStringLiteral("Delsjön"));
        query.SetInteger(QStringLiteral("snr"), 2);
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 2);

        query.Clear();
        query.Add(QStringLiteral("delete from TrainingSession"));
        query.Add(QStringLiteral("where SessionNr = :snr"));
        query.SetInteger(QStringLiteral("snr"), 99);
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 0);

        query.SetInteger(QStringLiteral("snr"), 3);
        query.ExecSQL();
        QCOMPARE(query.RowsAffected(), 1);
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 2);
    }

    void valuesReadBackAsText()
    {
        // Swedish text, dates, nulls and decimals read back the same
        // whatever the locale of the desktop.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TTestDiary diary;
        auto &db = diary.Connection();
        TDbQuery query(db);
        query.Add(QStringLiteral("insert into TrainingSession (SessionNr, SessionDate, SessionPlace, SessionWeight,"));
        query.Add(QStringLiteral("SessionTemperature, SessionWind, SessionComment)"));
        query.Add(QStringLiteral("values(:snr, :sdate, :splace, :swei, :stemp, null, :scom)"));
        query.SetInteger(QStringLiteral("snr"), 7);
        query.SetDate(QStringLiteral("sdate"), QDate(2008, 2, 29));
        query.SetText(QStringLiteral("splace"), QStringLiteral("Åre – Östersund"));
        query.SetFloat(QStringLiteral("swei"), 80);
        query.SetFloat(QStringLiteral("stemp"), -12.5);
        query.SetText(QStringLiteral("scom"), QStringLiteral("Första raden\r\nandra raden"));
        query.ExecSQL();

        query.Clear();
        query.Add(QStringLiteral("select * from TrainingSession where SessionNr = :snr"));
        query.SetInteger(QStringLiteral("snr"), 7);
        query.Open();
        QVERIFY(!query.Eof());
        QCOMPARE(query.FieldAsText(QStringLiteral("SessionWeight")), QStringLiteral("80.00"));
        QCOMPARE(query.FieldAsText(QStringLiteral("SessionTemperature")), QStringLiteral("-12.50"));
        QCOMPARE(query.FieldAsFloat(QStringLiteral("SessionTemperature")), -12.5);
        QCOMPARE(query.FieldAsText(QStringLiteral("SessionDate")), QStringLiteral("2008-02-29"));
        QCOMPARE(query.FieldAsText(QStringLiteral("sessionplace")), QStringLiteral("Åre – Östersund"));
        QCOMPARE(query.FieldAsText(QStringLiteral("SessionComment")), QStringLiteral("Första raden\r\nandra raden"));
        QVERIFY(query.FieldIsNull(QStringLiteral("SessionWind")));
        QCOMPARE(query.FieldAsText(QStringLiteral("SessionWind")), QString());
        QCOMPARE(query.FieldAsInteger(QStringLiteral("SessionNr")), 7);
        query.Next();
        QVERIFY(query.Eof());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, query.FieldAsText(0));
        QLocale::setDefault(QLocale::c());
    }

    void decimalsKeepTwoPlaces_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("whole") << 80.0 << "80.00";
        QTest::newRow("one decimal") << 12.5 << "12.50";
        QTest::newRow("duration 45.30") << 45.3 << "45.30";
        QTest::newRow("duration 65.59") << 65.59 << "65.59";
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("large") << 99999.99 << "99999.99";
    }

    void decimalsKeepTwoPlaces()
    {
        QFETCH(double, written);
        QFETCH(QString, read);
        TTestDiary diary;
        TDbQuery query(diary.Connection());
        query.Add(QStringLiteral("insert into Running (Nr, Duration) values(1, :dur)"));
        query.SetFloat(QStringLiteral("dur"), written);
        query.ExecSQL();
        query.Clear();
        query.Add(QStringLiteral("select Duration from Running"));
        query.Open();
        QCOMPARE(query.FieldAsText(0), read);
    }

    void rollbackLeavesNothingBehind()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        insertSession(db, 1, QStringLiteral("kept"));

        db.StartTransaction();
        QVERIFY(db.InTransaction());
        insertSession(db, 2, QStringLiteral("gone"));
        TDbQuery query(db);
        query.Add(QStringLiteral("insert into Running (Nr, Duration, Distance, Comment) values(2, 45.30, 10, ' ')"));
        query.ExecSQL();
        // A second row with the same key fails inside the transaction ...
        QVERIFY_THROWS_EXCEPTION(EDbClientError, insertSession(db, 2, QStringLiteral("duplicate")));
        QVERIFY(db.InTransaction());
        // ... and the rollback takes back everything the transaction wrote.
        db.Rollback();
        QVERIFY(!db.InTransaction());
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 1);
        QCOMPARE(count(db, QStringLiteral("Running")), 0);
    }

    void commitKeepsAndGuardRollsBack()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        {
            TDbTransactionGuard transaction(db);
            insertSession(db, 1, QStringLiteral("committed"));
            transaction.Commit();
        }
        try {
            TDbTransactionGuard transaction(db);
            insertSession(db, 2, QStringLiteral("unwound"));
            throw EException(QStringLiteral("the entry could not be completed"));
        } catch (const EException &) {
        }
        QVERIFY(!db.InTransaction());
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 1);

        // A disconnect drops an open transaction; what it wrote is not kept.
        db.StartTransaction();
        insertSession(db, 3, QStringLiteral("lost at close"));
        db.Close();
        QVERIFY(!db.InTransaction());
        db.Open();
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 1);
    }

    void transactionMisuseIsReported()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.Commit());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.Rollback());
        db.StartTransaction();
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.StartTransaction());
        db.Rollback();
    }

    void failingStatementsRaiseTheClientError_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("select");
        QTest::addColumn<QString>("engineSays");
        QTest::newRow("unknown table") << "select * from NoSuchTable" << true << "NOSUCHTABLE";
        QTest::newRow("unknown column") << "select NoSuchColumn from TrainingSession" << true << "NOSUCHCOLUMN";
        QTest::newRow("syntax") << "update TrainingSession sett x = 1" << false << "Token unknown";
        QTest::newRow("text into integer") << "insert into TrainingSession (SessionNr) values('tio')" << false << "conversion error";
        QTest::newRow("missing key") << "insert into TrainingSession (SessionPlace) values('x')" << false << "SESSIONNR";
    }

    void failingStatementsRaiseTheClientError()
    {
        QFETCH(QString, statement);
        QFETCH(bool, select);
        QFETCH(QString, engineSays);
        TTestDiary diary;
        TDbQuery query(diary.Connection());
        query.Add(statement);
        try {
            if (select)
                query.Open();
            else
                query.ExecSQL();
            QFAIL("the statement should have failed");
        } catch (const EDbClientError &e) {
            QVERIFY2(e.Message().contains(engineSays, Qt::CaseInsensitive), qPrintable(e.Message()));
            QVERIFY(!e.DatabaseText().isEmpty());
        }
        QVERIFY(!query.Active());
        // The connection stays usable after the failure.
        QCOMPARE(count(diary.Connection(), QStringLiteral("TrainingSession")), 0);
    }

    void fieldsThatDoNotExist()
    {
        TTestDiary diary;
        TDbQuery query(diary.Connection());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, query.FieldAsText(QStringLiteral("SessionNr")));
        query.Add(QStringLiteral("select SessionNr from TrainingSession"));
        query.Open();
        QVERIFY(query.Eof());
        QVERIFY_THROWS_EXCEPTION(EDbClientError, query.FieldIndex(QStringLiteral("NoSuchField")));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, query.FieldAsText(0));
    }

    // Every way a connect fails carries the engine's message and says what
    // the cause is; a file that fails to open is left byte for byte as it
    // was.
    void failedConnectsCarryTheEngineMessage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<TDbOpenFailure>("failure");
        QTest::newRow("missing file") << "missing" << TDbOpenFailure::Other;
        QTest::newRow("damaged file") << "damaged" << TDbOpenFailure::Damaged;
        QTest::newRow("no server") << "server" << TDbOpenFailure::Unreachable;
        QTest::newRow("empty name") << "empty" << TDbOpenFailure::Other;
        QTest::newRow("zero bytes") << "zero" << TDbOpenFailure::Damaged;
        QTest::newRow("diary cut short to its first pages") << "truncated" << TDbOpenFailure::Damaged;
        QTest::newRow("random bytes") << "random" << TDbOpenFailure::Damaged;
        QTest::newRow("open in another process") << "held" << TDbOpenFailure::InUse;
        QTest::newRow("file this user may not read") << "unreadable" << TDbOpenFailure::AccessDenied;
        QTest::newRow("file this user may not write") << "unwritable" << TDbOpenFailure::AccessDenied;
    }

    void failedConnectsCarryTheEngineMessage()
    {
        QFETCH(QString, kind);
        QFETCH(TDbOpenFailure, failure);
        if ((kind == QLatin1String("unreadable") || kind == QLatin1String("unwritable")) && ::geteuid() == 0)
            QSKIP("Run as root: file permissions do not keep root out, so the engine opens the file anyway.");
        QTemporaryDir dir;
        QString name;
        const QString path = dir.path() + QStringLiteral("/Corvale1.gdb");
        auto write = [&path](const QByteArray &bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        };
        std::unique_ptr<THeldDiary> held;
        if (kind == QLatin1String("missing")) {
            name = path;
        } else if (kind == QLatin1String("damaged")) {
            name = path;
            write(QByteArray(64 * 1024, 'x'));
        } else if (kind == QLatin1String("server")) {
            // Nothing listens on this port of the loopback interface.
            name = QStringLiteral("127.0.0.1/1:") + path;
        } else if (kind == QLatin1String("empty")) {
            name = QString();
        } else if (kind == QLatin1String("zero")) {
            name = path;
            write(QByteArray());
        } else if (kind == QLatin1String("random")) {
            name = path;
            QByteArray bytes(256 * 1024, Qt::Uninitialized);
            QRandomGenerator generator(14);
            for (char &c : bytes)
                c = char(generator.bounded(256));
            write(bytes);
        } else {
            name = path;
            DiaryDatabase::Create(path, QStringLiteral(TERNVALL_SCHEMA_FILE));
            if (kind == QLatin1String("truncated"))
                QVERIFY(QFile::resize(path, 64 * 1024));
            else if (kind == QLatin1String("held"))
                held = std::make_unique<THeldDiary>(path);
            else if (kind == QLatin1String("unreadable"))
                QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
            else if (kind == QLatin1String("unwritable"))
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        }
        QByteArray before;
        if (QFileInfo(path).isFile() && kind != QLatin1String("unreadable")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            before = file.readAll();
        }

        TDbConnection connection(QStringLiteral("failing-") + kind);
        connection.SetDatabaseName(name);
        connection.Params() = {QStringLiteral("USER_NAME=SYSDBA"), QStringLiteral("PASSWORD=hollyfern")};
        try {
            connection.Open();
            QFAIL("the connection should have failed");
        } catch (const EDbClientError &e) {
            QVERIFY2(!e.DatabaseText().trimmed().isEmpty(), qPrintable(e.Message()));
            QVERIFY(e.Message().contains(e.DatabaseText().trimmed()));
            QVERIFY2(e.OpenFailure() == failure, qPrintable(e.Message()));
        }
        QVERIFY(!connection.Connected());
        if (!before.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == before);
        }
    }

    // A number read in a transaction of its own that cannot write: it sees
    // what is committed, leaves the default transaction alone and refuses
    // any change.
    void readOnlyNumbers()
    {
        TTestDiary diary;
        auto &db = diary.Connection();
        insertSession(db, 1, QStringLiteral("Slottsskogen"));
        QCOMPARE(db.ReadOnlyNumber(QStringLiteral("select count(*) from TrainingSession")), 1);
        QCOMPARE(db.ReadOnlyNumber(QStringLiteral("select max(SessionNr) from TrainingSession where SessionNr > 5")), 0);
        db.StartTransaction();
        insertSession(db, 2, QStringLiteral("Delsjön"));
        QCOMPARE(db.ReadOnlyNumber(QStringLiteral("select count(*) from TrainingSession")), 1);
        QVERIFY(db.InTransaction());
        db.Commit();
        QCOMPARE(db.ReadOnlyNumber(QStringLiteral("select count(*) from TrainingSession")), 2);
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.ReadOnlyNumber(QStringLiteral("delete from TrainingSession")));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.ReadOnlyNumber(QStringLiteral("select count(*) from NoSuchTable")));
        QCOMPARE(count(db, QStringLiteral("TrainingSession")), 2);
        db.Close();
        QVERIFY_THROWS_EXCEPTION(EDbClientError, db.ReadOnlyNumber(QStringLiteral("select count(*) from TrainingSession")));
    }

    void queriesNeedAConnection()
    {
        TTestDiary diary;
        TDbQuery query(diary.Connection());
        diary.Connection().Close();
        query.Add(QStringLiteral("select * from TrainingSession"));
        QVERIFY_THROWS_EXCEPTION(EDbClientError, query.Open());
    }
};

QTEST_GUILESS_MAIN(tst_DbClient)
#include "tst_DbClient.moc"
