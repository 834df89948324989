// The activity factory: registrations by display name and the objects it
// makes.

#include "foundation/CorvaleExceptions.h"
#include "model/ActFactory.h"

#include <QtTest>

namespace
{
class TTestRunning : public TActivity
{
public:
    static constexpr const char *ClassName = "TTestRunning";
    const TActivityClass *Class() const override { return ActivityClassOf<TTestRunning>(); }
};

class TTestGolf : public TActivity
{
public:
    static constexpr const char *ClassName = "TTestGolf";
    const TActivityClass *Class() const override { return ActivityClassOf<TTestGolf>(); }
};

// Runs `call` and returns the message of the EFactory it raises, or a marker
// that matches no message when it raises nothing.
template <class F> QString factoryError(F call)
{
    try {
        call();
    } catch (const EFactory &error) {
        return error.Message();
    }
    return QStringLiteral("<inget fel>");
}

// The class name registered for each of `names`; "-" for a name that is not
// registered.
QStringList classesOf(const TActivityFactory &factory, const QStringList &names)
{
    QStringList classes;
    for (const QString &name : names) {
        const TActivityClass *activityClass = factory.ClassOf(name);
        classes.append(activityClass ? QString::fromLatin1(activityClass->Name) : QStringLiteral("-"));
    }
    return classes;
}
} // namespace

class tst_ActFactory : public QObject
{
    Q_OBJECT

private slots:
    void createsObjectOfRegisteredClassIgnoringCase_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("className");
        QTest::newRow("as registered") << QStringLiteral("Löpning") << QStringLiteral("TTestRunning");
        QTest::newRow("lower case") << QStringLiteral("löpning") << QStringLiteral("TTestRunning");
        QTest::newRow("upper case with Swedish letter") << QStringLiteral("LÖPNING") << QStringLiteral("TTestRunning");
        QTest::newRow("second registration") << QStringLiteral("gOLF") << QStringLiteral("TTestGolf");
    }
    void createsObjectOfRegisteredClassIgnoringCase()
    {
        QFETCH(QString, asked);
        QFETCH(QString, className);
        TActivityFactory factory;
        factory.Register(QStringLiteral("Löpning"), ActivityClassOf<TTestRunning>());
        factory.Register(QStringLiteral("Golf"), ActivityClassOf<TTestGolf>());

        QVERIFY(factory.IsRegistered(asked));
        std::unique_ptr<TActivity> activity = factory.CreateActivity(asked);
        QVERIFY(activity);
        QCOMPARE(QString::fromLatin1(activity->Class()->Name), className);
        QCOMPARE(QString::fromLatin1(factory.ClassOf(asked)->Name), className);
        // Each call makes a new object.
        QVERIFY(factory.CreateActivity(asked).get() != activity.get());
    }

    void refusedRegistrationLeavesRegistrationsAsTheyWere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("which"); // 0 other class, 1 no class, 2 TActivity, 3 record without constructor
        QTest::addColumn<QString>("message");
        QTest::newRow("name taken")
            << QStringLiteral("Löpning") << 0 << QStringLiteral("Löpning är redan registrerad");
        QTest::newRow("name taken, other case")
            << QStringLiteral("LÖPNING") << 0 << QStringLiteral("LÖPNING är redan registrerad");
        QTest::newRow("no class") << QStringLiteral("Dans") << 1 << QStringLiteral("Dans har ingen aktivitet");
        QTest::newRow("no constructor") << QStringLiteral("Dans") << 3 << QStringLiteral("Dans har ingen aktivitet");
        QTest::newRow("base class") << QStringLiteral("Dans") << 2 << QStringLiteral("Dans har ogiltig typ");
        QTest::newRow("taken name with base class")
            << QStringLiteral("löpning") << 2 << QStringLiteral("löpning är redan registrerad");
    }
    void refusedRegistrationLeavesRegistrationsAsTheyWere()
    {
        QFETCH(QString, name);
        QFETCH(int, which);
        QFETCH(QString, message);
        static const TActivityClass withoutConstructor{"TTestBroken", nullptr};
        const TActivityClass *classes[] = {ActivityClassOf<TTestGolf>(), nullptr, ActivityClassOf<TActivity>(),
                                           &withoutConstructor};

        TActivityFactory factory;
        factory.Register(QStringLiteral("Löpning"), ActivityClassOf<TTestRunning>());
        QCOMPARE(factoryError([&] { factory.Register(name, classes[which]); }), message);

        QCOMPARE(factory.Count(), 1);
        QCOMPARE(classesOf(factory, {QStringLiteral("Löpning"), QStringLiteral("Dans")}),
                 QStringList({QStringLiteral("TTestRunning"), QStringLiteral("-")}));
        QCOMPARE(QString::fromLatin1(factory.CreateActivity(QStringLiteral("Löpning"))->Class()->Name),
                 QStringLiteral("TTestRunning"));
    }

    void unknownNameIsRefused_data()
    {
        QTest::addColumn<bool>("unregister");
        QTest::newRow("create") << false;
        QTest::newRow("unregister") << true;
    }
    void unknownNameIsRefused()
    {
        QFETCH(bool, unregister);
        TActivityFactory factory;
        factory.Register(QStringLiteral("Löpning"), ActivityClassOf<TTestRunning>());
        const QString name = QStringLiteral("Löpningar");
        const QString message = factoryError([&] {
            if (unregister)
                factory.Unregister(name);
            else
                factory.CreateActivity(name);
        });
        QCOMPARE(message, QStringLiteral("Löpningar är inte registrerad"));
        QVERIFY(!factory.IsRegistered(name));
        QCOMPARE(factory.ClassOf(name), nullptr);
        QCOMPARE(factory.Count(), 1);
    }

    void unregisterRemovesOnlyThatNameAndFreesItForAnotherClass()
    {
        TActivityFactory factory;
        factory.Register(QStringLiteral("Löpning"), ActivityClassOf<TTestRunning>());
        factory.Register(QStringLiteral("Golf"), ActivityClassOf<TTestGolf>());

        factory.Unregister(QStringLiteral("LÖPNING"));
        QVERIFY(!factory.IsRegistered(QStringLiteral("Löpning")));
        QCOMPARE(factoryError([&] { factory.CreateActivity(QStringLiteral("Löpning")); }),
                 QStringLiteral("Löpning är inte registrerad"));
        QCOMPARE(factoryError([&] { factory.Unregister(QStringLiteral("Löpning")); }),
                 QStringLiteral("Löpning är inte registrerad"));
        QCOMPARE(QString::fromLatin1(factory.CreateActivity(QStringLiteral("Golf"))->Class()->Name),
                 QStringLiteral("TTestGolf"));

        // A renamed type: the freed name may now make another class.
        factory.Register(QStringLiteral("Löpning"), ActivityClassOf<TTestGolf>());
        QCOMPARE(QString::fromLatin1(factory.CreateActivity(QStringLiteral("löpning"))->Class()->Name),
                 QStringLiteral("TTestGolf"));
    }
};

QTEST_GUILESS_MAIN(tst_ActFactory)
#include "tst_ActFactory.moc"
