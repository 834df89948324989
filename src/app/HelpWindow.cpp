#include "app/HelpWindow.h"

#include "app/CorvaleHelp.h"
#include "foundation/ErrorGuard.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QSplitter>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>

namespace
{
const QString helpTitle = QStringLiteral("Ternvall hjälp");
constexpr int urlRole = Qt::UserRole;

QUrl PageUrl(const QString &file, const QString &anchor)
{
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

struct TSection
{
    QString title;
    QString anchor;
};

struct TPageOutline
{
    QString title;
    QList<TSection> sections;
};

TPageOutline ReadOutline(const QString &path)
{
    TPageOutline outline;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return outline;
    const QByteArray data = file.readAll();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    QTextDocument document;
    document.setHtml(decoder.isValid() ? QString(decoder(data)) : QString::fromUtf8(data));
    outline.title = document.metaInformation(QTextDocument::DocumentTitle).trimmed();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2)
            continue;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorNames().isEmpty()) {
                outline.sections.append({block.text().trimmed(), format.anchorNames().constFirst()});
                break;
            }
        }
    }
    return outline;
}
}

TfrmHelp::TfrmHelp(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(helpTitle);
    resize(900, 640);

    m_trvContents = new QTreeWidget;
    m_trvContents->setObjectName(QStringLiteral("trvContents"));
    m_trvContents->setHeaderHidden(true);
    m_trvContents->setColumnCount(1);
    m_trvContents->setMinimumWidth(160);
    connect(m_trvContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { Guard([this, item] { trvContentsClick(item); }); });
    connect(m_trvContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { Guard([this, item] { trvContentsClick(item); }); });

    m_txtbrHelp = new QTextBrowser;
    m_txtbrHelp->setObjectName(QStringLiteral("txtbrHelp"));
    m_txtbrHelp->setOpenExternalLinks(true);
    connect(m_txtbrHelp, &QTextBrowser::sourceChanged, this,
            [this](const QUrl &source) { Guard([this, &source] { txtbrHelpSourceChanged(source); }); });

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitHelp"));
    splitter->addWidget(m_trvContents);
    splitter->addWidget(m_txtbrHelp);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 670});
    setCentralWidget(splitter);

    auto *tobarHelp = addToolBar(QStringLiteral("Hjälp"));
    tobarHelp->setObjectName(QStringLiteral("tobarHelp"));
    tobarHelp->setMovable(false);
    tobarHelp->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_tbtnBack = tobarHelp->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Bakåt"));
    m_tbtnBack->setObjectName(QStringLiteral("tbtnBack"));
    m_tbtnBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_tbtnBack->setToolTip(QStringLiteral("Föregående sida (Alt+Vänsterpil)"));
    m_tbtnBack->setEnabled(false);
    m_tbtnForward = tobarHelp->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Framåt"));
    m_tbtnForward->setObjectName(QStringLiteral("tbtnForward"));
    m_tbtnForward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    m_tbtnForward->setToolTip(QStringLiteral("Nästa sida (Alt+Högerpil)"));
    m_tbtnForward->setEnabled(false);
    m_tbtnContents = tobarHelp->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Innehåll"));
    m_tbtnContents->setObjectName(QStringLiteral("tbtnContents"));
    m_tbtnContents->setToolTip(QStringLiteral("Introduktionen till Ternvall"));
    connect(m_tbtnBack, &QAction::triggered, m_txtbrHelp, &QTextBrowser::backward);
    connect(m_tbtnForward, &QAction::triggered, m_txtbrHelp, &QTextBrowser::forward);
    connect(m_txtbrHelp, &QTextBrowser::backwardAvailable, m_tbtnBack, &QAction::setEnabled);
    connect(m_txtbrHelp, &QTextBrowser::forwardAvailable, m_tbtnForward, &QAction::setEnabled);
    connect(m_tbtnContents, &QAction::triggered, this, [this] { Guard([this] { tbtnContentsClick(); }); });
}

void TfrmHelp::ShowPage(const QString &file, const QString &anchor)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (folder != m_folder)
        FillContents(folder);
    m_txtbrHelp->setSource(PageUrl(file, anchor));
}

QUrl TfrmHelp::Source() const
{
    return m_txtbrHelp->source();
}

void TfrmHelp::FillContents(const QString &folder)
{
    m_folder = folder;
    m_trvContents->clear();
    m_txtbrHelp->setSearchPaths({folder});
    const QStringList pages = CorvaleHelp::PageFiles();
    for (const QString &page : pages) {
        const QString path = QDir(folder).filePath(page);
        if (!QFileInfo(path).isFile())
            continue;
        const TPageOutline outline = ReadOutline(path);
        auto *pageItem = new QTreeWidgetItem(m_trvContents, {outline.title.isEmpty() ? page : outline.title});
        pageItem->setData(0, urlRole, PageUrl(path, QString()));
        for (const TSection &section : outline.sections) {
            auto *sectionItem = new QTreeWidgetItem(pageItem, {section.title});
            sectionItem->setData(0, urlRole, PageUrl(path, section.anchor));
        }
    }
}

void TfrmHelp::trvContentsClick(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QUrl url = item->data(0, urlRole).toUrl();
    if (url.isValid())
        m_txtbrHelp->setSource(url);
}

void TfrmHelp::txtbrHelpSourceChanged(const QUrl &source)
{
    const QString title = m_txtbrHelp->documentTitle().trimmed();
    setWindowTitle(title.isEmpty() ? helpTitle : helpTitle + QStringLiteral(" - ") + title);

    // The contents follow the page: the section shown, else its page.
    const QUrl page = source.adjusted(QUrl::RemoveFragment);
    QTreeWidgetItem *pageItem = nullptr;
    QTreeWidgetItem *match = nullptr;
    for (int i = 0; i < m_trvContents->topLevelItemCount() && !match; ++i) {
        QTreeWidgetItem *top = m_trvContents->topLevelItem(i);
        if (top->data(0, urlRole).toUrl() != page)
            continue;
        pageItem = top;
        for (int j = 0; j < top->childCount(); ++j) {
            if (top->child(j)->data(0, urlRole).toUrl() == source)
                match = top->child(j);
        }
    }
    if (!match)
        match = pageItem;
    if (match) {
        const QSignalBlocker blocker(m_trvContents);
        if (match->parent())
            match->parent()->setExpanded(true);
        m_trvContents->setCurrentItem(match);
        m_trvContents->scrollToItem(match);
    }
}

void TfrmHelp::tbtnContentsClick()
{
    if (m_folder.isEmpty())
        return;
    m_txtbrHelp->setSource(PageUrl(QDir(m_folder).filePath(CorvaleHelp::TopicFile(0)), QString()));
}
