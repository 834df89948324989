#pragma once

// The page engine's painting part: a report is a number of pages of
// elements (GenReportLayout.h) that it paints on demand, so that a preview
// or a print produces only the page it needs next. The same painting serves
// the printer, a PDF file and the preview.

#include "export/GenReportLayout.h"

#include <QImage>
#include <QString>
#include <QVector>

class QPainter;
class QPrinter;
class QWidget;

// A paged report. Pages are numbered from 0 and painted in report units:
// the painter's origin is the top left corner of the printable area and one
// unit is 1/96 inch at the painter's scale.
class TReportDocument
{
public:
    virtual ~TReportDocument() = default;

    virtual bool Wide() const = 0;
    virtual int PageCount() const = 0;
    virtual void PaintPage(QPainter &painter, int page) const = 0;
    // The name a file of the report gets by default, without extension.
    virtual QString Title() const = 0;
};

// Paints elements at an offset; Picture elements take their image from
// `pictures`. The painter's scale is that of report units (see
// TReportDocument).
void PaintReportElements(QPainter &painter, const QVector<TReportElement> &elements, const QVector<QImage> &pictures = {},
                         QPointF offset = QPointF());

// The real font for a painter: the described point size stays the same on
// paper or screen whatever the painter's scale, because the painter is
// scaled to report units.
QFont ReportFontFor(const TReportFont &font, const QPainter &painter);

// Makes the printer an A4 sheet in the report's orientation with margins of
// 10 mm.
void SetUpReportPrinter(QPrinter &printer, const TReportDocument &document);

// Asks where a print goes: with printers installed, a choice of the
// printers and "Skriv till PDF-fil..."; without any, the PDF file at once.
// A PDF file is chosen in a save dialog with "title.pdf" proposed. False
// when the user cancelled.
bool ChoosePrintTarget(QWidget *parent, QPrinter &printer, const QString &title);

// The print date and time of a page header, in the program's fixed formats.
QString PrintTimeNow();

// The window a print's dialogs belong to: the given one, else the active one.
QWidget *ReportDialogParent(QWidget *parent);

// Prints every page of the report on the printer, which must be set up
// already (target and file), with the busy cursor and a progress window
// for long prints. A printer or file that cannot be opened is told in an
// error box, then EAbort.
void PrintReport(const TReportDocument &document, QPrinter &printer, QWidget *parent = nullptr);

// The report as a PDF file, without asking anything; errors as PrintReport.
void WriteReportPdf(const TReportDocument &document, const QString &fileName, QWidget *parent = nullptr);

// The busy cursor for the length of a scope (balanced, so it nests within
// the program's other busy periods).
class TReportBusy
{
public:
    TReportBusy();
    ~TReportBusy();
    TReportBusy(const TReportBusy &) = delete;
    TReportBusy &operator=(const TReportBusy &) = delete;
};
