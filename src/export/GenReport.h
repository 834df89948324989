#pragma once

#include "export/GenReportLayout.h"
#include "foundation/StringGrid.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QWidget;
class TReportDocument;

// The list print: the rows of a grid, one printed row per data row in grid
// order, the columns in grid order with the grid's widths and alignments,
// under the page header with the title, the print time and the page number.
// One shared instance serves every list of the program
// (TCorvaleForms::ListPrint()).
//
// The grid is borrowed from PrepareList until the next PrepareList; its
// cells are read while pages are produced, so it must not change while a
// print or preview runs (both are modal).
//
// Preview needs no printer. Printing goes to a printer or, on a machine
// without one (or by choice), to a PDF file (ChoosePrintTarget).
class TfrmPrint : public QObject
{
    Q_OBJECT

public:
    explicit TfrmPrint(QObject *parent = nullptr);
    ~TfrmPrint() override;

    // Takes the grid, the title and whether empty columns are printed, and
    // chooses the narrow or wide layout. No grid: EReportError
    // "GenReport 01". A grid of 60 columns or more: the information box
    // "Antalet kolumner > 59", then EAbort.
    void PrepareList(TStringGrid *grid, const QString &title, bool includeEmpty);
    // Asks for the printer or PDF file and prints; a cancelled choice ends
    // silently. No grid prepared: EReportError "GenReport 02". More than 60
    // printed columns: the error box "För många kolumner", then EAbort.
    void PrintList(QWidget *parent = nullptr);
    // Shows the preview window (modal) on the list. No grid prepared:
    // EReportError "GenReport 03"; too many columns as PrintList.
    void PreviewList(QWidget *parent = nullptr);
    // Writes the prepared list to the PDF file without asking. Errors as
    // PrintList.
    void PrintListToFile(const QString &fileName, QWidget *parent = nullptr);

    // What PrepareList took and chose.
    TStringGrid *Grid() const { return m_grid; }
    QString Title() const { return m_title; }
    bool IncludeEmpty() const { return m_includeEmpty; }
    const TReportGeometry &Geometry() const { return m_geometry; }

    // The report as it starts now: the column layout of the grid as it
    // stands and the print time. Errors as PrintList, with `errorId` for a
    // missing grid.
    std::unique_ptr<TReportDocument> StartReport(const char *errorId) const;

private:
    QPointer<TStringGrid> m_grid;
    QString m_title;
    bool m_includeEmpty = false;
    TReportGeometry m_geometry;
};

// The columns of a grid as the list print sees them: every column with its
// title (row 0), width, alignment and whether it is empty.
QVector<TListColumn> ListColumnsOf(const TStringGrid &grid);
// The grid's font size in points.
double GridFontSize(const TStringGrid &grid);
