#pragma once

// The page engine's widget-free part: report units, page geometry, the
// elements a page is made of, and the layout of a printed list (bands,
// elements, pages) computed from the columns and the row count alone, so
// that it is the same for the printer, a PDF file and the preview.

#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>

// Report units: 96 to the inch, measured from the top left corner of the
// printable area of an A4 page (inside margins of 10 mm on every side).
namespace ReportUnits
{
inline constexpr double PerInch = 96.0;
inline constexpr double MarginMm = 10.0;
inline constexpr double A4ShortMm = 210.0;
inline constexpr double A4LongMm = 297.0;

constexpr double FromMm(double mm)
{
    return mm * PerInch / 25.4;
}
}

enum class TReportAlign : quint8 { Left, Right, Centre };

// A font by description; the painter makes the real font for its device.
struct TReportFont
{
    QString Family = QStringLiteral("Arial");
    double PointSize = 10.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const TReportFont &) const = default;
};

// One thing drawn on a page, in report units of the band or page that holds
// it.
struct TReportElement
{
    enum class TKind : quint8 {
        Text,     // Text in Rect with Align, clipped to Rect
        Label,    // a text as wide as it is, but Rect's width + 10 when it is wider than Rect
        Line,     // a horizontal line along the top of Rect
        CheckBox, // a square box at Rect's top left, ticked when Checked
        Round,    // a round box at Rect's top left, filled when Checked
        Picture,  // the document's picture number Picture, scaled into Rect
    };

    TKind Kind = TKind::Text;
    QRectF Rect;
    QString Text; // lines separated by '\n'
    TReportFont Font;
    TReportAlign Align = TReportAlign::Left;
    bool WordWrap = false;
    bool Checked = false;
    int Picture = -1;
};

// The two page layouts shared by the list and the record print.
struct TReportGeometry
{
    bool Wide = false;        // landscape A4
    double Left = 60.0;       // left edge of the elements
    double Right = 650.0;     // right edge of the elements
    double HeaderHeight = 105.0;

    // Above this width a print needs the wide layout.
    static constexpr double NarrowLimit = 650.0;

    static TReportGeometry Narrow();
    static TReportGeometry Landscape();
    // Narrow for a width of at most NarrowLimit, else wide.
    static TReportGeometry ForWidth(double width);

    // The printable area inside the margins.
    double PageWidth() const;
    double PageHeight() const;
};

// The page header of every page: the title (Arial 14 pt bold, centred
// between the edges, its top 75 above the header's bottom), "Tid: " and the
// print time at the left edge and "Sida: " and the page number ending at the
// right edge (both 10 pt, their top 30 above the header's bottom).
QVector<TReportElement> PageHeaderElements(const TReportGeometry &geometry, const QString &title, const QString &printTime,
                                           int pageNumber);

// A grid column as the list print sees it.
struct TListColumn
{
    QString Title; // row 0 of the grid; CR, LF or CR LF separate its lines
    int Width = 0;
    TReportAlign Align = TReportAlign::Left;
    bool Empty = false; // no data cell holds anything but blanks
};

// The column elements of a printed list: one title element and one data
// element per printed column with a title.
struct TListColumnElement
{
    int Column = -1; // the grid column
    TReportElement Title;
    TReportElement Data; // the template of the column's data; its text is the cell's
};

// The layout of a printed list: the page header, a column-title band and
// one data band per grid row, as many rows on a page as fit, the header and
// the column titles repeated on every page.
//
// Columns are taken in grid order: every column, or with includeEmpty
// false only those with some data. A column without a title gets no element
// and takes no room. A column that would pass the right edge starts a
// further line inside the same bands, indented by 30 from the left edge;
// the title band grows by 25 for each further line and for the first
// two-line title of a line, the data band by 18 for each further line.
// The last printed column, when it is a left-aligned text, reaches to the
// right edge.
class TListLayout
{
public:
    // The largest grid a list print takes is MaxGridColumns - 1 columns; at
    // most MaxPrintedColumns columns can be printed.
    static constexpr int MaxGridColumns = 60;
    static constexpr int MaxPrintedColumns = 60;
    static constexpr double ColumnGap = 15.0;
    static constexpr double LineIndent = 30.0;
    static constexpr double TitleLineHeight = 25.0;
    static constexpr double DataLineHeight = 18.0;
    static constexpr double ElementHeight = 17.0;

    enum class TResult { Ok, TooManyColumns };

    // The width that decides the layout: 60 + the width plus gap of every
    // printed column that has a title.
    static double PrintWidth(const QVector<TListColumn> &columns, bool includeEmpty);
    // The column a print takes: all with includeEmpty, otherwise those with data.
    static bool IsPrinted(const TListColumn &column, bool includeEmpty);

    // Lays the columns out in the geometry that PrintWidth chooses, with the
    // grid's font size for titles and data. TooManyColumns, and nothing laid
    // out, when more than MaxPrintedColumns columns would be printed.
    TResult Layout(const QVector<TListColumn> &columns, bool includeEmpty, double fontSize);

    const TReportGeometry &Geometry() const { return m_geometry; }
    const QVector<TListColumnElement> &Columns() const { return m_columns; }
    double TitleBandHeight() const { return m_titleBand; }
    double DataBandHeight() const { return m_dataBand; }
    // The line under the column titles, 8 above the bottom of the title band.
    TReportElement TitleLine() const;
    // The number of lines each row takes.
    int LineCount() const { return m_lineCount; }

    // Rows that fit on one page (at least 1), pages for a row count (at
    // least 1, so that an empty list still prints its header).
    int RowsPerPage() const;
    int PageCount(int rowCount) const;

    // Every element of a page (0-based), in page units: the header with the
    // title, the time and the page number, the column titles with their
    // line, and for each row of the page (data rows are 0-based) the data
    // elements with the cells `cell(column, row)`.
    QVector<TReportElement> PageElements(int page, int rowCount, const QString &title, const QString &printTime,
                                         const std::function<QString(int column, int row)> &cell) const;

private:
    TReportGeometry m_geometry;
    QVector<TListColumnElement> m_columns;
    double m_titleBand = TitleLineHeight;
    double m_dataBand = DataLineHeight;
    int m_lineCount = 1;
};

// The lines of a title or cell text: split at CR LF, CR or LF.
QStringList ReportTextLines(const QString &text);
