#include "export/GenReportLayout.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double titleTopAboveBottom = 75.0;
constexpr double timeTopAboveBottom = 30.0;
constexpr double titleHeight = 24.0;
constexpr double timeHeight = 16.0;
constexpr double lineAboveBandBottom = 8.0;
}

QStringList ReportTextLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// ---------------------------------------------------------------------------
// Geometry

TReportGeometry TReportGeometry::Narrow()
{
    return TReportGeometry{};
}

TReportGeometry TReportGeometry::Landscape()
{
    TReportGeometry geometry;
    geometry.Wide = true;
    geometry.Left = 15.0;
    geometry.Right = 1000.0;
    geometry.HeaderHeight = 150.0;
    return geometry;
}

TReportGeometry TReportGeometry::ForWidth(double width)
{
    return width > NarrowLimit ? Landscape() : Narrow();
}

double TReportGeometry::PageWidth() const
{
    return ReportUnits::FromMm((Wide ? ReportUnits::A4LongMm : ReportUnits::A4ShortMm) - 2 * ReportUnits::MarginMm);
}

double TReportGeometry::PageHeight() const
{
    return ReportUnits::FromMm((Wide ? ReportUnits::A4ShortMm : ReportUnits::A4LongMm) - 2 * ReportUnits::MarginMm);
}

QVector<TReportElement> PageHeaderElements(const TReportGeometry &geometry, const QString &title, const QString &printTime,
                                           int pageNumber)
{
    const double width = geometry.Right - geometry.Left;
    QVector<TReportElement> elements(3);

    TReportElement &heading = elements[0];
    heading.Rect = QRectF(geometry.Left, geometry.HeaderHeight - titleTopAboveBottom, width, titleHeight);
    heading.Text = title;
    heading.Font.PointSize = 14.0;
    heading.Font.Bold = true;
    heading.Align = TReportAlign::Centre;

    const double top = geometry.HeaderHeight - timeTopAboveBottom;
    TReportElement &time = elements[1];
    time.Rect = QRectF(geometry.Left, top, width / 2, timeHeight);
    time.Text = QStringLiteral("Tid: ") + printTime;

    TReportElement &page = elements[2];
    page.Rect = QRectF(geometry.Left + width / 2, top, width / 2, timeHeight);
    page.Text = QStringLiteral("Sida: ") + QString::number(pageNumber);
    page.Align = TReportAlign::Right;
    return elements;
}

// ---------------------------------------------------------------------------
// List layout

bool TListLayout::IsPrinted(const TListColumn &column, bool includeEmpty)
{
    return includeEmpty || !column.Empty;
}

double TListLayout::PrintWidth(const QVector<TListColumn> &columns, bool includeEmpty)
{
    // A column without a title is left out of the print, so it does not
    // count: the invisible key column of a list never turns a list that
    // fits into a landscape print.
    double width = TReportGeometry::Narrow().Left;
    for (const TListColumn &column : columns) {
        if (IsPrinted(column, includeEmpty) && !ReportTextLines(column.Title).constFirst().isEmpty())
            width += column.Width + ColumnGap;
    }
    return width;
}

TListLayout::TResult TListLayout::Layout(const QVector<TListColumn> &columns, bool includeEmpty, double fontSize)
{
    m_columns.clear();
    m_titleBand = TitleLineHeight;
    m_dataBand = DataLineHeight;
    m_lineCount = 1;

    const int printed = int(std::count_if(columns.cbegin(), columns.cend(),
                                          [includeEmpty](const TListColumn &column) { return IsPrinted(column, includeEmpty); }));
    if (printed > MaxPrintedColumns)
        return TResult::TooManyColumns;

    m_geometry = TReportGeometry::ForWidth(PrintWidth(columns, includeEmpty));
    double x = m_geometry.Left;
    double titleY = 0.0;
    double dataY = 0.0;
    bool lineHasElement = false;
    bool lineHasTwoLines = false;

    for (int col = 0; col < columns.size(); ++col) {
        const TListColumn &column = columns.at(col);
        if (!IsPrinted(column, includeEmpty))
            continue;
        const QStringList lines = ReportTextLines(column.Title);
        // A column without a title takes no room, so it never starts a line.
        if (lines.constFirst().isEmpty())
            continue;
        // A line holds at least one column, however wide: a column wider
        // than the page is cut at the page's edge rather than leaving an
        // empty line in every row.
        if (lineHasElement && x + column.Width + ColumnGap > m_geometry.Right) {
            m_titleBand += TitleLineHeight;
            titleY += lineHasTwoLines ? 2 * TitleLineHeight : TitleLineHeight;
            m_dataBand += DataLineHeight;
            dataY += DataLineHeight;
            x = m_geometry.Left + LineIndent;
            ++m_lineCount;
            lineHasElement = false;
            lineHasTwoLines = false;
        }

        TListColumnElement element;
        element.Column = col;
        element.Title.Font.PointSize = fontSize;
        element.Title.Font.Bold = true;
        element.Title.Font.Italic = true;
        element.Title.Align = TReportAlign::Centre;
        const bool twoLines = lines.size() > 1 && !lines.at(1).trimmed().isEmpty();
        element.Title.Rect = QRectF(x, titleY, column.Width, twoLines ? 2 * ElementHeight : ElementHeight);
        element.Title.Text = twoLines ? lines.at(0) + QLatin1Char('\n') + lines.at(1) : lines.at(0);
        if (twoLines && !lineHasTwoLines) {
            m_titleBand += TitleLineHeight;
            lineHasTwoLines = true;
        }
        element.Data.Font.PointSize = fontSize;
        element.Data.Align = column.Align;
        element.Data.Rect = QRectF(x, dataY, column.Width, ElementHeight);
        m_columns.append(element);
        lineHasElement = true;
        x += column.Width + ColumnGap;
    }
    // The list shows its last column over the rest of its width, so a text
    // there (the comments, usually) is printed up to the right edge rather
    // than cut at the width stored for it.
    if (!m_columns.isEmpty() && m_columns.constLast().Data.Align == TReportAlign::Left) {
        TListColumnElement &last = m_columns.last();
        const double width = m_geometry.Right - last.Data.Rect.left();
        if (width > last.Data.Rect.width()) {
            last.Data.Rect.setWidth(width);
            last.Title.Rect.setWidth(width);
        }
    }
    return TResult::Ok;
}

TReportElement TListLayout::TitleLine() const
{
    TReportElement line;
    line.Kind = TReportElement::TKind::Line;
    line.Rect = QRectF(m_geometry.Left, m_titleBand - lineAboveBandBottom, m_geometry.Right - m_geometry.Left, 0.0);
    return line;
}

int TListLayout::RowsPerPage() const
{
    const double room = m_geometry.PageHeight() - m_geometry.HeaderHeight - m_titleBand;
    return std::max(1, int(std::floor(room / m_dataBand)));
}

int TListLayout::PageCount(int rowCount) const
{
    const int perPage = RowsPerPage();
    return std::max(1, (rowCount + perPage - 1) / perPage);
}

QVector<TReportElement> TListLayout::PageElements(int page, int rowCount, const QString &title, const QString &printTime,
                                                  const std::function<QString(int column, int row)> &cell) const
{
    QVector<TReportElement> elements = PageHeaderElements(m_geometry, title, printTime, page + 1);
    const double titleTop = m_geometry.HeaderHeight;
    for (const TListColumnElement &column : m_columns) {
        TReportElement title = column.Title;
        title.Rect.translate(0.0, titleTop);
        elements.append(title);
    }
    TReportElement line = TitleLine();
    line.Rect.translate(0.0, titleTop);
    elements.append(line);

    const int perPage = RowsPerPage();
    const int first = page * perPage;
    const int last = std::min(rowCount, first + perPage);
    double top = titleTop + m_titleBand;
    for (int row = first; row < last; ++row) {
        for (const TListColumnElement &column : m_columns) {
            TReportElement data = column.Data;
            data.Rect.translate(0.0, top);
            data.Text = cell(column.Column, row);
            elements.append(data);
        }
        top += m_dataBand;
    }
    return elements;
}
