#pragma once

#include <QString>
#include <QStringList>

// The program's help: one Swedish HTML page per subject in the folder
// "help" of the program folder (AppPath), opened by topic number. A topic
// names a page and, for most topics, an anchor inside it: topic 2 is
// "activities.htm#Add", the part of the activities page about entering a
// new activity.
namespace CorvaleHelp
{
inline constexpr int TopicCount = 76;

// The topic's page with its anchor, as "activities.htm#Add" or
// "introduction.htm". A number outside 0..75 is a programming fault:
// ECorvaleError "CorvaleHelp 01. Invalid help topic: " + number.
QString TopicPage(int topic);
// The page's file name ("activities.htm") and anchor ("Add", empty for
// none) of a topic, with the same check.
QString TopicFile(int topic);
QString TopicAnchor(int topic);
// Every page file, each once, in the order of the topic table (introduction
// first, about last).
QStringList PageFiles();

// The folder of the help pages under a program folder: the folder joined
// with "help" by "/". An empty program folder gives "/help", at the root.
QString HelpFolder(const QString &appPath);

// The information the user gets when the help cannot be shown.
inline const QString ViewerMissingText = QStringLiteral(
    "HTML Help är inte installerad. Internet Explorer version 5 eller måste vara installerad på datorn för att visa "
    "hjälpen. IE 5 innehåller HTML Help.");
inline const QString FileMissingText = QStringLiteral("Hjälpfilen finns inte på denna plats: ");
}

// What shows the help pages to the user: the program's help window. The
// help object only finds the page; the viewer shows it and tells the user
// what went wrong.
class THelpViewer
{
public:
    virtual ~THelpViewer() = default;

    // Shows the page file (an absolute path) scrolled to the anchor (the
    // top for an empty anchor) and brings the viewer to the front.
    virtual void ShowPage(const QString &file, const QString &anchor) = 0;
    // An information box with the text and an OK button.
    virtual void Inform(const QString &text) = 0;
};

// The help file's place, the viewer and the flag that the start topic was
// shown. Owned by the application object, which hands its ShowHelp on.
class THelp
{
public:
    // The program folder the pages are looked for in (AppPath).
    void SetAppPath(const QString &appPath) { m_appPath = appPath; }
    QString AppPath() const { return m_appPath; }
    // The absolute path of the topic's page file.
    QString PagePath(int topic) const;

    // The viewer is not owned; nullptr (the start) stands for a program
    // without windows, which cannot show help.
    void SetViewer(THelpViewer *viewer) { m_viewer = viewer; }
    THelpViewer *Viewer() const { return m_viewer; }

    // Shows the topic (see CorvaleHelp::TopicPage, which also gives the
    // error for an unknown topic). Without a viewer the viewer-missing text
    // goes to the log, since nothing can show a box; when the page file does
    // not exist the viewer tells FileMissingText + the page's path;
    // otherwise the viewer shows the page at the topic's anchor.
    void ShowHelp(int topic);
    // Marks the start topic as shown and shows topic 0. The mark is set even
    // when the help could not be shown, so the start topic is offered once.
    void ShowStartTopic();
    // Whether the start topic was shown since the last call; clears the mark.
    bool TakeStartTopicShown();

private:
    QString m_appPath;
    THelpViewer *m_viewer = nullptr;
    bool m_startTopicShown = false;
};
