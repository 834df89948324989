#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>

class QAction;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// "Ternvall hjälp": the window that shows the help pages. On the left the
// table of contents `trvContents`, one item per page with its sections (the
// page's headings that carry an anchor) below it; on the right the page in
// `txtbrHelp`, whose links lead to other pages and sections. The tool bar
// has "Bakåt" and "Framåt" (Alt+Left, Alt+Right) through the pages seen and
// "Innehåll", the introduction.
//
// Made once by the program's help viewer and kept; closing hides it.
class TfrmHelp : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmHelp(QWidget *parent = nullptr);

    // Shows the page file (absolute path) at the anchor, the top for an empty
    // one, and fills the contents from the page's folder when it is another
    // folder than before.
    void ShowPage(const QString &file, const QString &anchor);

    // The address shown, with the anchor as its fragment.
    QUrl Source() const;
    QTextBrowser *Browser() const { return m_txtbrHelp; }
    QTreeWidget *Contents() const { return m_trvContents; }

private:
    // One item per page file of the folder that exists, in the order of the
    // topic table, with the page's title; below it one item per heading of
    // level 2 that carries an anchor.
    void FillContents(const QString &folder);
    void trvContentsClick(QTreeWidgetItem *item);
    void txtbrHelpSourceChanged(const QUrl &source);
    void tbtnContentsClick();

    QString m_folder;
    QTreeWidget *m_trvContents = nullptr;
    QTextBrowser *m_txtbrHelp = nullptr;
    QAction *m_tbtnBack = nullptr;
    QAction *m_tbtnForward = nullptr;
    QAction *m_tbtnContents = nullptr;
};
