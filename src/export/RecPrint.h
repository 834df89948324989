#pragma once

#include "export/GenReportLayout.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>

class QWidget;
class TReportDocument;

// The property that makes a control print as a picture of itself.
inline constexpr const char *PrintAsPictureProperty = "PrintAsPicture";

// The record print: one page of a window printed as it looks, with the
// values of its fields, under the page header with the title. Made for each
// use and freed afterwards.
//
// Every visible control of the page is printed at its own place, shifted by
// 10 to the right and down; containers (panels, scrolling boxes, group
// boxes, the page in front of a page control) are entered with their place
// added, and a scrolling box is printed whole, not as far as it is
// scrolled. Labels print underlined in Arial 8 pt, edits, combo boxes and
// date pickers their text, memos and lists their lines, check boxes and
// radio buttons their caption beside a ticked or empty box or a filled or
// empty round, grids every cell, pictures themselves. A control that draws
// itself (a month of the calendar, say) and carries the property
// PrintAsPicture (true) prints as a picture of how it looks. An empty text
// prints as "--".
class TfrmRecordPrint : public QObject
{
    Q_OBJECT

public:
    explicit TfrmRecordPrint(QObject *parent = nullptr);
    ~TfrmRecordPrint() override;

    // Takes the page and the title and chooses the wide layout for a page
    // wider than 650, else the narrow one. No page: EReportError
    // "RecPrint 01".
    void PrepareRecord(QWidget *page, const QString &title);
    // Asks for the printer or PDF file and prints the page as it looks now;
    // a cancelled choice ends silently. Nothing prepared (or the page gone):
    // EReportError "RecPrint 02".
    void Print(QWidget *parent = nullptr);
    // Shows a new preview window (modal) on the page. Errors as Print.
    void Preview(QWidget *parent = nullptr);
    // Writes the page to the PDF file without asking. Errors as Print.
    void PrintToFile(const QString &fileName, QWidget *parent = nullptr);

    const TReportGeometry &Geometry() const { return m_geometry; }
    QString Title() const { return m_title; }

    // The report of the page as it looks now. Errors as Print.
    std::unique_ptr<TReportDocument> StartReport() const;

private:
    QPointer<QWidget> m_page;
    QString m_title;
    TReportGeometry m_geometry;
};

// What the record print makes of a page: its elements in band units (the
// band's top left corner is 0, 0), the pictures they use and the band's
// size (the page's size + 5 in height).
struct TRecordBand
{
    QVector<TReportElement> Elements;
    QVector<QImage> Pictures;
    QSizeF Size;
};
TRecordBand RecordBandOf(QWidget *page);
