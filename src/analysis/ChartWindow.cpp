#include "analysis/ChartWindow.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/PrintTtl.h"
#include "foundation/ErrorGuard.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>

TChartView::TChartView(const QString &objectName, QWidget *parent) : QChartView(parent)
{
    setObjectName(objectName);
    chart()->setTheme(QChart::ChartThemeLight);
    chart()->legend()->setVisible(true);
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->setTitle(QString());
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
}

void TChartView::ResetZoom()
{
    chart()->zoomReset();
}

void TChartView::mouseDoubleClickEvent(QMouseEvent *event)
{
    ResetZoom();
    event->accept();
}

QImage TChartView::Picture(const QString &title)
{
    QChart *c = chart();
    c->setTitle(title);
    c->setTitleFont(QFont(QStringLiteral("Arial"), 14, QFont::Bold));
    const QImage image = grab().toImage();
    c->setTitle(QString());
    return image;
}

TChartPage::TChartPage(QString title, QImage picture)
    : m_geometry(TReportGeometry::Landscape()), m_title(std::move(title)), m_printTime(PrintTimeNow()),
      m_picture(std::move(picture))
{
}

void TChartPage::PaintPage(QPainter &painter, int page) const
{
    Q_UNUSED(page);
    PaintReportElements(painter, PageHeaderElements(m_geometry, m_title, m_printTime, 1));
    const double width = m_geometry.PageWidth();
    const double height = m_geometry.PageHeight() - m_geometry.HeaderHeight;
    const QSizeF size = QSizeF(m_picture.size()).scaled(QSizeF(width, height), Qt::KeepAspectRatio);
    TReportElement picture;
    picture.Kind = TReportElement::TKind::Picture;
    picture.Picture = 0;
    picture.Rect = QRectF((width - size.width()) / 2, m_geometry.HeaderHeight, size.width(), size.height());
    PaintReportElements(painter, {picture}, {m_picture});
}

namespace ChartWindow
{
void AddArchiveMenu(QMainWindow *window, const QString &printText, const QString &closeText, std::function<void()> print)
{
    QMenu *archive = window->menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    QAction *printItem = archive->addAction(printText);
    printItem->setObjectName(QStringLiteral("mnuiPrint"));
    printItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QObject::connect(printItem, &QAction::triggered, window, [print = std::move(print)] { Guard(print); });
    archive->addSeparator();
    QAction *close = archive->addAction(closeText);
    close->setObjectName(QStringLiteral("mnuiClose"));
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    QObject::connect(close, &QAction::triggered, window, [window] { window->close(); });
}

void AddHelpMenu(QMainWindow *window, TCorvaleApp &app, int topic, const QString &zoomText, int zoomTopic,
                 const QString &printText, int printTopic)
{
    const auto opens = [window, &app](QAction *item, int itemTopic) {
        QObject::connect(item, &QAction::triggered, window, [&app, itemTopic] { Guard([&app, itemTopic] { app.ShowHelp(itemTopic); }); });
    };
    QAction *help = CorvaleForms().AddHelpMenu(window, window->menuBar());
    opens(help, topic);
    if (QMenu *helpMenu = qobject_cast<QMenu *>(help->parent())) {
        QAction *zoom = helpMenu->addAction(zoomText);
        zoom->setObjectName(QStringLiteral("mnuiZoomHelp"));
        opens(zoom, zoomTopic);
        QAction *print = helpMenu->addAction(printText);
        print->setObjectName(QStringLiteral("mnuiPrintHelp"));
        opens(print, printTopic);
    }
}

void PrintUnderTitle(QWidget *window, const QString &proposal,
                     const std::function<std::unique_ptr<TReportDocument>(const QString &title)> &document)
{
    TfrmPrintTitle &title = CorvaleForms().PrintTitleDialog(window);
    const QStringList none;
    title.SuggestFromList(&none, proposal);
    if (title.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<TReportDocument> report = document(title.GetTitle());
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrintTarget(ReportDialogParent(window), printer, report->Title()))
        return;
    PrintReport(*report, printer, ReportDialogParent(window));
}

QStringList ItemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QStringList ItemTexts(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}
} // namespace ChartWindow
