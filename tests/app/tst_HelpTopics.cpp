// The help as the user meets it: the dialogs' "&Hjälp" button and F1 open
// their own topic at a page and anchor the build installed, and every topic
// of the table leads to a section that tells something, not to a bare
// heading.

#include "reference/AppDiary.h"

#include "analysis/NewObjective.h"
#include "app/About.h"
#include "app/CorvaleForms.h"
#include "app/CorvaleHelp.h"
#include "app/DbSelect.h"
#include "app/HelpWindow.h"
#include "app/SettingsWindow.h"
#include "reference/ChooseCourse.h"
#include "reference/CurrentCourse.h"
#include "reference/Pulse.h"
#include "reference/PulseSelect.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
const QString helpDir = QStringLiteral(TERNVALL_APP_DATA_DIR) + QStringLiteral("/help");

// Records the pages the program asks for instead of showing them.
struct TRecordingViewer : THelpViewer
{
    QStringList shown;
    void ShowPage(const QString &file, const QString &anchor) override
    {
        shown.append(QFileInfo(file).fileName() + (anchor.isEmpty() ? QString() : QLatin1Char('#') + anchor));
        if (!QFileInfo(file).isFile())
            shown.append(QStringLiteral("missing file ") + file);
    }
    void Inform(const QString &text) override { shown.append(text); }
};

// The page as the help window reads it.
std::unique_ptr<QTextDocument> loadPage(const QString &file)
{
    QFile page(helpDir + QLatin1Char('/') + file);
    if (!page.open(QIODevice::ReadOnly))
        return nullptr;
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(QString::fromUtf8(page.readAll()));
    return document;
}

bool blockHasAnchor(const QTextBlock &block, const QString &anchor)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().anchorNames().contains(anchor))
            return true;
    }
    return false;
}

// The text of a topic's section: for an anchor, the blocks after the
// heading that carries it up to the next heading of the same or a higher
// level; without an anchor, everything below the page's first heading.
// Empty when the anchor is nowhere.
QString sectionText(const QTextDocument &document, const QString &anchor)
{
    QTextBlock block = document.begin();
    while (block.isValid() && (anchor.isEmpty() ? block.blockFormat().headingLevel() != 1 : !blockHasAnchor(block, anchor)))
        block = block.next();
    if (!block.isValid())
        return QString();
    const int level = anchor.isEmpty() ? 0 : qMax(1, block.blockFormat().headingLevel());
    QStringList texts;
    for (block = block.next(); block.isValid(); block = block.next()) {
        const int heading = block.blockFormat().headingLevel();
        if (level > 0 && heading > 0 && heading <= level)
            break;
        texts.append(block.text());
    }
    return texts.join(QLatin1Char(' ')).simplified();
}

// Shows one of the program's windows and hands it to the action while it
// is up: a modal dialog through the answering service, the tool window
// beside the main window once it is active.
using TAction = std::function<void(QWidget *)>;
void showWindow(const QString &which, TAppDiary &diary, TDialogs &dialogs, const TAction &action)
{
    const auto modal = [&](const char *name, const std::function<void()> &run) {
        dialogs.actions.insert(QLatin1String(name), action);
        run();
    };
    if (which == QLatin1String("settings"))
        modal("frmSettings", [&] { CorvaleForms().SettingsDialog(diary.App(), nullptr, TfrmSettings::pgAll).exec(); });
    else if (which == QLatin1String("users"))
        modal("frmDbSelect", [&] { TfrmDbSelect(diary.App()).exec(); });
    else if (which == QLatin1String("pulse"))
        modal("frmPulse", [&] { TfrmPulse(diary.App()).exec(); });
    else if (which == QLatin1String("pulse choice"))
        modal("frmPulseSelect", [&] { TfrmPulseSelect(diary.App()).exec(); });
    else if (which == QLatin1String("course choice"))
        modal("frmChooseCourse", [&] {
            TfrmChooseCourse dialog(diary.App());
            dialog.SetCriteria(diary.Name("RUN"), QString(), QString());
            dialog.exec();
        });
    else if (which == QLatin1String("new goal"))
        modal("frmNewObjective", [&] { TfrmNewObjective(diary.App()).exec(); });
    else if (which == QLatin1String("about"))
        modal("frmAbout", [&] { TfrmAbout(diary.App()).exec(); });
    else if (which == QLatin1String("current course")) {
        TfrmCurrentCourse window(diary.App());
        window.show();
        window.activateWindow();
        if (QTest::qWaitForWindowActive(&window))
            action(&window);
    } else {
        QFAIL("no such window");
    }
}
}

class tst_HelpTopics : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { FreeCorvaleForms(); }

    // "&Hjälp" and F1 in each dialog open its topic; the page and the
    // anchor are installed. The About box, the choice of pulse intervals
    // and the current-course window have no help button, only F1.
    void dialogsOpenTheirOwnTopic_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("page");
        QTest::newRow("Inställningar") << "settings" << true << "settings.htm";
        QTest::newRow("Välj användare") << "users" << true << "user.htm";
        QTest::newRow("Pulsintervall") << "pulse" << true << "pulse.htm";
        QTest::newRow("Välj banbeskrivning") << "course choice" << true << "activities.htm#Couple";
        QTest::newRow("Ny målsättning") << "new goal" << true << "objectives.htm#Create";
        QTest::newRow("Om Ternvall") << "about" << false << "introduction.htm";
        QTest::newRow("Välj pulsintervaller") << "pulse choice" << false << "pulse.htm";
        QTest::newRow("Aktuell banbeskrivning") << "current course" << false << "activities.htm#Couple";
    }
    void dialogsOpenTheirOwnTopic()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, button);
        QFETCH(QString, page);
        TAppDiary diary;
        TRecordingViewer viewer;
        diary.App().GetHelp().SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        diary.App().GetHelp().SetViewer(&viewer);
        TDialogs dialogs;
        bool hadButton = false;
        bool shown = false;
        showWindow(dialog, diary, dialogs, [&](QWidget *window) {
            shown = true;
            auto *help = window->findChild<QPushButton *>(QStringLiteral("btnHelp"));
            hadButton = help && help->text() == QStringLiteral("&Hjälp");
            if (help)
                help->click();
            QWidget *focus = QApplication::focusWidget();
            QWidget *target = focus && focus->window() == window ? focus : window;
            QTest::keyClick(target, Qt::Key_F1);
            // F1 with shift is no help key.
            QTest::keyClick(target, Qt::Key_F1, Qt::ShiftModifier);
        });
        diary.App().GetHelp().SetViewer(nullptr);

        QVERIFY(shown);
        QCOMPARE(hadButton, button);
        const QStringList expected = button ? QStringList{page, page} : QStringList{page};
        QCOMPARE(viewer.shown, expected);
        QCOMPARE(dialogs.messages, QStringList());

        const auto document = loadPage(page.section(QLatin1Char('#'), 0, 0));
        QVERIFY2(document, qPrintable(page));
        const QString anchor = page.section(QLatin1Char('#'), 1);
        QVERIFY2(!sectionText(*document, anchor).isEmpty(), qPrintable(page));
    }

    // Every topic as the help window shows it: the page at the topic's
    // anchor, and below that anchor's heading a section that tells
    // something - a few sentences at the least, not a heading followed
    // straight by the next one. The text reads as Swedish: its letters come
    // through the help window's decoding whole.
    void everyTopicLeadsToText_data()
    {
        QTest::addColumn<int>("topic");
        for (int topic = 0; topic < CorvaleHelp::TopicCount; ++topic)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(topic).arg(CorvaleHelp::TopicPage(topic)))) << topic;
    }
    void everyTopicLeadsToText()
    {
        QFETCH(int, topic);
        THelp help;
        help.SetAppPath(QStringLiteral(TERNVALL_APP_DATA_DIR));
        help.SetViewer(&CorvaleForms());
        TDialogs dialogs;
        help.ShowHelp(topic);
        QCOMPARE(dialogs.messages, QStringList());
        TfrmHelp *window = CorvaleForms().HelpWindow();
        QVERIFY(window);
        const QUrl source = window->Source();
        QCOMPARE(QFileInfo(source.toLocalFile()).fileName(), CorvaleHelp::TopicFile(topic));
        QCOMPARE(source.fragment(), CorvaleHelp::TopicAnchor(topic));

        const QTextDocument &document = *window->Browser()->document();
        const QString text = sectionText(document, CorvaleHelp::TopicAnchor(topic));
        QVERIFY2(!text.isEmpty(), "the anchor is no heading of the page, or nothing follows it");
        const qsizetype sentences = text.count(QRegularExpression(QStringLiteral("[.:?!](\\s|$)")));
        QVERIFY2(text.size() >= 150 && sentences >= 2, qPrintable(text));

        const QString page = document.toPlainText();
        QVERIFY(page.contains(QRegularExpression(QStringLiteral("[åäöÅÄÖ]"))));
        QVERIFY2(!page.contains(QChar::ReplacementCharacter) && !page.contains(QStringLiteral("\u00C3")),
                 "letters lost in decoding");
        window->hide();
    }
};

QTEST_MAIN(tst_HelpTopics)
#include "tst_HelpTopics.moc"
