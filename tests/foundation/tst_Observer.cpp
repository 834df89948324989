#include "foundation/CorvaleExceptions.h"
#include "foundation/Observer.h"

#include <QTest>

#include <map>
#include <memory>

namespace {

// A subject with named observers whose handlers write "name:kind:text" to
// one shared record of calls.
class TWatchedSubject
{
public:
    TSubject subject;
    QStringList calls;

    TSubjectObserver *Add(const QString &name, bool attach = true)
    {
        auto *observer = new TSubjectObserver(&m_owner);
        observer->SetOnChange([this, name](const TObservation &observation) {
            calls << QStringLiteral("%1:%2:%3").arg(name).arg(observation.kind).arg(observation.text);
        });
        m_observers[name] = observer;
        if (attach)
            subject.Attach(observer);
        return observer;
    }

    TSubjectObserver *operator[](const QString &name) { return m_observers.at(name); }

    // Notifies with the given observation and returns who was called.
    QStringList Notify(quint8 kind, const QString &text = QString())
    {
        calls.clear();
        subject.SetKind(kind);
        subject.SetText(text);
        subject.Notify();
        return calls;
    }

    QObject &Owner() { return m_owner; }

private:
    QObject m_owner; // owns the observers, as a window does
    std::map<QString, TSubjectObserver *> m_observers;
};

QString ObserverError(const std::function<void()> &step)
{
    try {
        step();
    } catch (const EObserver &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestObserver : public QObject
{
    Q_OBJECT

private slots:
    void attachDetachErrors_data();
    void attachDetachErrors();
    void notifiesInAttachOrder();
    void disabledObserverMissesNotifications();
    void throwingHandlerStopsWalk();
    void changesDuringWalk_data();
    void changesDuringWalk();
    void destroyedObserverLeavesSubject();
    void subjectDestroyedBeforeObserver();
};

void TestObserver::attachDetachErrors_data()
{
    QTest::addColumn<QStringList>("steps"); // all but the last succeed
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("calledAfter");

    QTest::newRow("attach nothing") << QStringList{"attach null"} << "Observer 03" << QStringList{};
    QTest::newRow("attach twice") << QStringList{"attach A", "attach A"} << "Observer 04" << QStringList{"A:5:"};
    QTest::newRow("attach again after detach, then twice")
        << QStringList{"attach A", "detach A", "attach A", "attach A"} << "Observer 04" << QStringList{"A:5:"};
    QTest::newRow("detach nothing") << QStringList{"attach A", "detach null"} << "Observer 02" << QStringList{"A:5:"};
    QTest::newRow("detach one never attached") << QStringList{"attach A", "detach B"} << "Observer 01"
                                               << QStringList{"A:5:"};
    QTest::newRow("detach twice") << QStringList{"attach A", "detach A", "detach A"} << "Observer 01"
                                  << QStringList{};
}

void TestObserver::attachDetachErrors()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, error);
    QFETCH(QStringList, calledAfter);

    TWatchedSubject watched;
    watched.Add(QStringLiteral("A"), false);
    watched.Add(QStringLiteral("B"), false);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QStringList words = steps[i].split(QLatin1Char(' '));
        TSubjectObserver *observer = words[1] == QLatin1String("null") ? nullptr : watched[words[1]];
        const QString raised = ObserverError([&] {
            if (words[0] == QLatin1String("attach"))
                watched.subject.Attach(observer);
            else
                watched.subject.Detach(observer);
        });
        QCOMPARE(raised, i + 1 == steps.size() ? error : QString());
    }
    // A refused call leaves the list as it was.
    QCOMPARE(watched.Notify(5), calledAfter);
}

void TestObserver::notifiesInAttachOrder()
{
    TWatchedSubject watched;
    watched.Add(QStringLiteral("A"));
    watched.Add(QStringLiteral("B"));
    auto *silent = new TSubjectObserver(&watched.Owner()); // no handler: skipped
    watched.subject.Attach(silent);
    watched.Add(QStringLiteral("C"));

    QCOMPARE(watched.Notify(9, QStringLiteral("Söker 2024")),
             (QStringList{"A:9:Söker 2024", "B:9:Söker 2024", "C:9:Söker 2024"}));

    watched.subject.Detach(watched[QStringLiteral("B")]);
    watched.subject.Attach(watched[QStringLiteral("B")]);
    QCOMPARE(watched.Notify(0), (QStringList{"A:0:", "C:0:", "B:0:"}));
}

void TestObserver::disabledObserverMissesNotifications()
{
    TWatchedSubject watched;
    watched.Add(QStringLiteral("A"));
    watched.Add(QStringLiteral("B"))->SetEnabled(false);
    watched.Add(QStringLiteral("C"));

    QCOMPARE(watched.Notify(4), (QStringList{"A:4:", "C:4:"}));
    QCOMPARE(watched.Notify(0), (QStringList{"A:0:", "C:0:"}));

    watched.calls.clear();
    watched[QStringLiteral("B")]->SetEnabled(true);
    QVERIFY(watched.calls.isEmpty()); // nothing is replayed

    QCOMPARE(watched.Notify(3), (QStringList{"A:3:", "B:3:", "C:3:"}));
}

void TestObserver::throwingHandlerStopsWalk()
{
    TWatchedSubject watched;
    watched.Add(QStringLiteral("A"));
    bool fail = true;
    auto *faulty = new TSubjectObserver(&watched.Owner());
    faulty->SetOnChange([&](const TObservation &) {
        if (fail)
            throw ECorvaleError(QStringLiteral("CorvaleApp 07"));
    });
    watched.subject.Attach(faulty);
    watched.Add(QStringLiteral("C"));

    QString raised;
    try {
        watched.Notify(8);
    } catch (const ECorvaleError &e) {
        raised = e.Message();
    }
    QCOMPARE(raised, QStringLiteral("CorvaleApp 07"));
    QCOMPARE(watched.calls, QStringList{"A:8:"});

    // The subject is not left half-way: the next walk reaches everyone.
    fail = false;
    QCOMPARE(watched.Notify(0), (QStringList{"A:0:", "C:0:"}));
}

void TestObserver::changesDuringWalk_data()
{
    QTest::addColumn<QString>("actor");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("firstWalk");
    QTest::addColumn<QStringList>("secondWalk");

    const QStringList abc{"A", "B", "C"};
    QTest::newRow("detaches itself") << "A" << "detach" << "A" << abc << QStringList{"B", "C"};
    QTest::newRow("detaches an earlier one") << "B" << "detach" << "A" << abc << QStringList{"B", "C"};
    QTest::newRow("detaches a later one") << "A" << "detach" << "C" << QStringList{"A", "B"} << QStringList{"A", "B"};
    QTest::newRow("destroys its own observer") << "B" << "delete" << "B" << abc << QStringList{"A", "C"};
    QTest::newRow("destroys a later one") << "A" << "delete" << "B" << QStringList{"A", "C"} << QStringList{"A", "C"};
    QTest::newRow("attaches a new one") << "B" << "attach" << "D" << abc << QStringList{"A", "B", "C", "D"};
}

void TestObserver::changesDuringWalk()
{
    QFETCH(QString, actor);
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QStringList, firstWalk);
    QFETCH(QStringList, secondWalk);

    TSubject subject;
    QObject owner;
    std::map<QString, TSubjectObserver *> observers;
    QStringList calls;
    bool acted = false;
    for (const QString name : {"A", "B", "C", "D"}) {
        auto *observer = new TSubjectObserver(&owner);
        observers[name] = observer;
        observer->SetOnChange([&, name](const TObservation &) {
            calls << name;
            if (name != actor || acted)
                return;
            acted = true;
            if (action == QLatin1String("detach"))
                subject.Detach(observers[target]);
            else if (action == QLatin1String("attach"))
                subject.Attach(observers[target]);
            else
                delete observers[target];
        });
        if (name != QLatin1String("D"))
            subject.Attach(observer);
    }

    subject.Notify();
    QCOMPARE(calls, firstWalk);
    calls.clear();
    subject.Notify();
    QCOMPARE(calls, secondWalk);
}

void TestObserver::destroyedObserverLeavesSubject()
{
    TWatchedSubject watched;
    watched.Add(QStringLiteral("A"));
    auto *b = watched.Add(QStringLiteral("B"));
    watched.Add(QStringLiteral("C"));

    delete b; // its window went away without detaching
    QCOMPARE(watched.Notify(7), (QStringList{"A:7:", "C:7:"}));
}

void TestObserver::subjectDestroyedBeforeObserver()
{
    auto subject = std::make_unique<TSubject>();
    auto observer = std::make_unique<TSubjectObserver>();
    subject->Attach(observer.get());
    TSubject other;
    other.Attach(observer.get());

    subject.reset();
    int called = 0;
    observer->SetOnChange([&](const TObservation &) { ++called; });
    other.Notify();
    QCOMPARE(called, 1);

    observer.reset();
    other.Notify(); // the destroyed observer took itself off
    QCOMPARE(called, 1);
}

QTEST_GUILESS_MAIN(TestObserver)

#include "tst_Observer.moc"
