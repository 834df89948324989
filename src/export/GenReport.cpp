#include "export/GenReport.h"

#include "export/GenReportEngine.h"
#include "export/Preview.h"
#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

namespace
{
QString errorText(const char *number)
{
    return QStringLiteral("GenReport ") + QLatin1String(number);
}

TReportAlign alignOf(TColAlignment alignment)
{
    switch (alignment) {
    case TColAlignment::Right:
        return TReportAlign::Right;
    case TColAlignment::Centre:
        return TReportAlign::Centre;
    case TColAlignment::Left:
        break;
    }
    return TReportAlign::Left;
}

// The rows of a grid on pages. The cells are read from the grid as each
// page is painted, so the first page of a long list is ready at once.
class TListReport final : public TReportDocument
{
public:
    TListReport(TStringGrid *grid, TListLayout layout, QString title, QString printTime)
        : m_grid(grid), m_layout(std::move(layout)), m_title(std::move(title)), m_printTime(std::move(printTime)),
          m_firstRow(grid->FixedRows()), m_rowCount(std::max(0, grid->RowCount() - grid->FixedRows()))
    {
    }

    bool Wide() const override { return m_layout.Geometry().Wide; }
    int PageCount() const override { return m_layout.PageCount(m_rowCount); }
    QString Title() const override { return m_title; }

    void PaintPage(QPainter &painter, int page) const override
    {
        const QPointer<TStringGrid> grid = m_grid;
        const int firstRow = m_firstRow;
        const QVector<TReportElement> elements =
            m_layout.PageElements(page, m_rowCount, m_title, m_printTime, [&grid, firstRow](int column, int row) {
                return grid && firstRow + row < grid->RowCount() && column < grid->ColCount()
                           ? grid->Cells(column, firstRow + row)
                           : QString();
            });
        PaintReportElements(painter, elements);
    }

private:
    QPointer<TStringGrid> m_grid;
    TListLayout m_layout;
    QString m_title;
    QString m_printTime;
    int m_firstRow;
    int m_rowCount;
};
}

QVector<TListColumn> ListColumnsOf(const TStringGrid &grid)
{
    const auto *complex = qobject_cast<const TComplexGrid *>(&grid);
    QVector<TListColumn> columns;
    columns.reserve(grid.ColCount());
    for (int col = 0; col < grid.ColCount(); ++col) {
        TListColumn column;
        column.Title = grid.FixedRows() > 0 ? grid.Cells(col, 0) : QString();
        column.Width = grid.ColWidths(col);
        column.Align = complex ? alignOf(complex->GetColAlignment(col)) : TReportAlign::Left;
        column.Empty = TTulloUtilGrid::IsColumnEmpty(&grid, col);
        columns.append(column);
    }
    return columns;
}

double GridFontSize(const TStringGrid &grid)
{
    const QFont font = grid.font();
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    // A font given in pixels: at the report's 96 units to the inch.
    return font.pixelSize() * 72.0 / ReportUnits::PerInch;
}

TfrmPrint::TfrmPrint(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
}

TfrmPrint::~TfrmPrint() = default;

void TfrmPrint::PrepareList(TStringGrid *grid, const QString &title, bool includeEmpty)
{
    if (!grid)
        throw EReportError(errorText("01"));
    if (grid->ColCount() >= TListLayout::MaxGridColumns) {
        ShowMessageBox(QStringLiteral("Antalet kolumner > %1").arg(TListLayout::MaxGridColumns - 1), TMessageKind::Information,
                       TMessageButton::OK);
        Abort();
    }
    m_grid = grid;
    m_title = title;
    m_includeEmpty = includeEmpty;
    m_geometry = TReportGeometry::ForWidth(TListLayout::PrintWidth(ListColumnsOf(*grid), includeEmpty));
}

std::unique_ptr<TReportDocument> TfrmPrint::StartReport(const char *errorId) const
{
    if (!m_grid)
        throw EReportError(errorText(errorId));
    TListLayout layout;
    if (layout.Layout(ListColumnsOf(*m_grid), m_includeEmpty, GridFontSize(*m_grid)) == TListLayout::TResult::TooManyColumns) {
        ShowMessageBox(QStringLiteral("För många kolumner"), TMessageKind::Error, TMessageButton::OK);
        Abort();
    }
    return std::make_unique<TListReport>(m_grid, std::move(layout), m_title, PrintTimeNow());
}

void TfrmPrint::PrintList(QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport("02");
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrintTarget(ReportDialogParent(parent), printer, m_title))
        return;
    PrintReport(*report, printer, ReportDialogParent(parent));
}

void TfrmPrint::PreviewList(QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport("03");
    TfrmPreview preview(ReportDialogParent(parent));
    preview.ShowReport(*report);
}

void TfrmPrint::PrintListToFile(const QString &fileName, QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport("02");
    WriteReportPdf(*report, fileName, ReportDialogParent(parent));
}
