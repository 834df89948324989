#include "app/CorvaleHelp.h"

#include "foundation/CorvaleExceptions.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <array>

namespace
{
// Topic number = position.
constexpr std::array<const char *, CorvaleHelp::TopicCount> topicPages = {
    "introduction.htm",
    "activities.htm",
    "activities.htm#Add",
    "activities.htm#Search",
    "activities.htm#Edit",
    "activities.htm#Delete",
    "activities.htm#Clear",
    "activities.htm#Copy",
    "activities.htm#Couple",
    "activities.htm#Decouple",
    "activities.htm#View",
    "activities.htm#Find",
    "activities.htm#Sort",
    "activities.htm#Print",
    "activities.htm#Quit",
    "courses.htm",
    "courses.htm#Add",
    "courses.htm#Search",
    "courses.htm#Edit",
    "courses.htm#Delete",
    "courses.htm#Clear",
    "courses.htm#Find",
    "courses.htm#Sort",
    "courses.htm#Print",
    "columns.htm",
    "columns.htm#Add",
    "columns.htm#Edit",
    "columns.htm#Delete",
    "columns.htm#Change",
    "columns.htm#Workout",
    "columns.htm#Choose",
    "workoutprogram.htm",
    "workoutprogram.htm#Exercise",
    "workoutprogram.htm#Program",
    "personal.htm",
    "personal.htm#TDT",
    "personal.htm#Workout",
    "personal.htm#Sort",
    "personal.htm#Print",
    "summary.htm",
    "summary.htm#Search",
    "summary.htm#Sort",
    "summary.htm#Print",
    "frequency.htm",
    "frequency.htm#Zoom",
    "frequency.htm#Print",
    "chart.htm",
    "chart.htm#Zoom",
    "chart.htm#Print",
    "calendar.htm",
    "replay.htm",
    "replay.htm#Control",
    "replay.htm#Course",
    "replay.htm#Track",
    "replay.htm#Pause",
    "replay.htm#Time",
    "replay.htm#Zoom",
    "replay.htm#Info",
    "objectives.htm",
    "objectives.htm#Create",
    "objectives.htm#Edit",
    "objectives.htm#Rename",
    "objectives.htm#Delete",
    "objectives.htm#Monitor",
    "pulse.htm",
    "pulse.htm#Create",
    "pulse.htm#Edit",
    "pulse.htm#Delete",
    "export.htm",
    "user.htm",
    "settings.htm",
    "settings.htm#Activity",
    "settings.htm#Summary",
    "settings.htm#Personal",
    "settings.htm#Names",
    "about.htm",
};
}

QString CorvaleHelp::TopicPage(int topic)
{
    if (topic < 0 || topic >= TopicCount)
        throw ECorvaleError(QStringLiteral("CorvaleHelp 01. Invalid help topic: %1").arg(topic));
    return QString::fromLatin1(topicPages[std::size_t(topic)]);
}

QString CorvaleHelp::TopicFile(int topic)
{
    return TopicPage(topic).section(QLatin1Char('#'), 0, 0);
}

QString CorvaleHelp::TopicAnchor(int topic)
{
    return TopicPage(topic).section(QLatin1Char('#'), 1);
}

QStringList CorvaleHelp::PageFiles()
{
    QStringList files;
    for (int topic = 0; topic < TopicCount; ++topic) {
        const QString file = TopicFile(topic);
        if (!files.contains(file))
            files.append(file);
    }
    return files;
}

QString CorvaleHelp::HelpFolder(const QString &appPath)
{
    QString folder = appPath;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QStringLiteral("/help");
}

QString THelp::PagePath(int topic) const
{
    return CorvaleHelp::HelpFolder(m_appPath) + QLatin1Char('/') + CorvaleHelp::TopicFile(topic);
}

void THelp::ShowHelp(int topic)
{
    const QString path = PagePath(topic);
    if (!m_viewer) {
        qWarning().noquote() << CorvaleHelp::ViewerMissingText;
        return;
    }
    if (!QFileInfo(path).isFile()) {
        m_viewer->Inform(CorvaleHelp::FileMissingText + QDir::toNativeSeparators(path));
        return;
    }
    m_viewer->ShowPage(path, CorvaleHelp::TopicAnchor(topic));
}

void THelp::ShowStartTopic()
{
    m_startTopicShown = true;
    ShowHelp(0);
}

bool THelp::TakeStartTopicShown()
{
    const bool shown = m_startTopicShown;
    m_startTopicShown = false;
    return shown;
}
