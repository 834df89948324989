#include "export/RecPrint.h"

#include "export/GenReportEngine.h"
#include "export/Preview.h"
#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtils.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>

namespace
{
QString errorText(const char *number)
{
    return QStringLiteral("RecPrint ") + QLatin1String(number);
}

const QString emptyText = QStringLiteral("--");
constexpr int shift = 10;
constexpr int editDrop = 5;
constexpr double captionIndent = 20.0;
constexpr double bandExtra = 5.0;
constexpr double labelPointSize = 8.0;

// A text as printed: trimmed, "--" when nothing is left.
QString printed(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? emptyText : trimmed;
}

// A caption without its mnemonic marks: "&&" stands for "&", a single "&"
// only marks the next letter.
QString withoutMnemonics(const QString &caption)
{
    QString result;
    result.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            result.append(caption.at(i));
        } else if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            result.append(QLatin1Char('&'));
            ++i;
        }
    }
    return result;
}

QString labelText(const QLabel &label)
{
    QString text = label.text();
    if (label.textFormat() == Qt::RichText || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    } else if (label.buddy()) {
        // Only a label with a buddy shows its "&" as a mnemonic.
        text = withoutMnemonics(text);
    }
    return text;
}

TReportFont fontOf(const QFont &font)
{
    TReportFont result;
    result.Family = font.family();
    result.PointSize = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / ReportUnits::PerInch;
    result.Bold = font.bold();
    result.Italic = font.italic();
    return result;
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

// The controls that print nothing of their own and hold nothing to print.
bool printsNothing(const QWidget *widget)
{
    return (qobject_cast<const QAbstractButton *>(widget) && !qobject_cast<const QCheckBox *>(widget)
            && !qobject_cast<const QRadioButton *>(widget))
           || qobject_cast<const QAbstractSlider *>(widget) || qobject_cast<const QTabBar *>(widget)
           || qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QToolBar *>(widget);
}

// A group box that holds radio buttons and nothing else: a radio group.
QList<QRadioButton *> radioGroupItems(const QGroupBox *box)
{
    QList<QRadioButton *> items;
    for (QObject *child : box->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow())
            continue;
        auto *radio = qobject_cast<QRadioButton *>(widget);
        if (!radio)
            return {};
        if (!radio->isHidden())
            items.append(radio);
    }
    return items;
}

class TBandBuilder
{
public:
    TRecordBand Build(QWidget *page)
    {
        Walk(page, QPoint(shift, shift));
        QSizeF size(page->width(), page->height());
        for (const TReportElement &element : m_band.Elements) {
            size.setWidth(std::max(size.width(), element.Rect.right()));
            size.setHeight(std::max(size.height(), element.Rect.bottom()));
        }
        m_band.Size = QSizeF(size.width(), size.height() + bandExtra);
        return m_band;
    }

private:
    void Walk(QWidget *parent, QPoint origin)
    {
        for (QObject *child : parent->children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (!widget || widget->isWindow() || widget->isHidden())
                continue;
            Render(widget, origin + widget->pos());
        }
    }

    TReportElement &Add(TReportElement::TKind kind, const QRectF &rect)
    {
        TReportElement element;
        element.Kind = kind;
        element.Rect = rect;
        m_band.Elements.append(element);
        return m_band.Elements.last();
    }

    TReportElement &AddText(const QRectF &rect, const QString &text, const QFont &font)
    {
        TReportElement &element = Add(TReportElement::TKind::Text, rect);
        element.Text = text;
        element.Font = fontOf(font);
        return element;
    }

    void Render(QWidget *widget, QPoint at)
    {
        const QRectF rect(at, widget->size());
        if (widget->property(PrintAsPictureProperty).toBool()) {
            // Drawn at twice the screen's resolution, so it stays sharp on paper.
            const qreal scale = 2.0;
            QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(scale);
            image.fill(Qt::white);
            widget->render(&image);
            Add(TReportElement::TKind::Picture, rect).Picture = int(m_band.Pictures.size());
            m_band.Pictures.append(image);
        } else if (auto *scroll = qobject_cast<QScrollArea *>(widget)) {
            // The whole of what the box holds, not as far as it is scrolled.
            if (scroll->widget() && !scroll->widget()->isHidden())
                Walk(scroll->widget(), at + scroll->viewport()->pos());
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            RenderLabel(*label, rect);
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            TReportElement &element =
                AddText(QRectF(at.x(), at.y() + editDrop, rect.width(), rect.height() - editDrop), printed(edit->text()), edit->font());
            if (dynamic_cast<TNumericalEdit *>(edit))
                element.Align = TReportAlign::Right;
        } else if (auto *memo = qobject_cast<QPlainTextEdit *>(widget)) {
            AddText(rect, printed(memo->toPlainText()), memo->font()).WordWrap = true;
        } else if (auto *text = qobject_cast<QTextEdit *>(widget)) {
            AddText(rect, printed(text->toPlainText()), text->font()).WordWrap = true;
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            // Combo boxes and date pickers print their text where an edit
            // beside them prints its own.
            AddText(QRectF(at.x(), at.y() + editDrop, rect.width(), rect.height() - editDrop), printed(combo->currentText()),
                    combo->font());
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
            AddText(QRectF(at.x(), at.y() + editDrop, rect.width(), rect.height() - editDrop), printed(spin->text()), spin->font());
        } else if (auto *check = qobject_cast<QCheckBox *>(widget)) {
            RenderChoice(TReportElement::TKind::CheckBox, rect, check->text(), check->isChecked(), check->font());
        } else if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
            RenderChoice(TReportElement::TKind::Round, rect, radio->text(), radio->isChecked(), radio->font());
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            const QList<QRadioButton *> items = radioGroupItems(group);
            if (items.isEmpty())
                Walk(group, at);
            else
                RenderRadioGroup(*group, items, rect);
        } else if (auto *grid = qobject_cast<TStringGrid *>(widget)) {
            RenderStringGrid(*grid, rect);
        } else if (auto *table = qobject_cast<QTableWidget *>(widget)) {
            RenderTable(*table, rect);
        } else if (auto *list = qobject_cast<QListView *>(widget)) {
            RenderList(*list, rect);
        } else if (qobject_cast<QAbstractScrollArea *>(widget) || printsNothing(widget)) {
            return;
        } else {
            // Panels and the other containers.
            Walk(widget, at);
        }
    }

    void RenderLabel(const QLabel &label, const QRectF &rect)
    {
        const QPixmap pixmap = label.pixmap();
        if (!pixmap.isNull()) {
            QRectF place = rect;
            if (!label.hasScaledContents()) {
                const QSize size = pixmap.deviceIndependentSize().toSize();
                place = QStyle::alignedRect(label.layoutDirection(), label.alignment(), size, rect.toRect());
            }
            Add(TReportElement::TKind::Picture, place).Picture = int(m_band.Pictures.size());
            m_band.Pictures.append(pixmap.toImage());
            return;
        }
        TReportElement &element = Add(TReportElement::TKind::Label, rect);
        element.Text = printed(labelText(label));
        element.Font.PointSize = labelPointSize;
        element.Font.Underline = true;
    }

    void RenderChoice(TReportElement::TKind kind, const QRectF &rect, const QString &caption, bool checked, const QFont &font)
    {
        Add(kind, QRectF(rect.left(), rect.top(), captionIndent, rect.height())).Checked = checked;
        const double lineHeight = QFontMetricsF(font).height();
        const double top = rect.top() + std::max(0.0, (rect.height() - lineHeight) / 2);
        AddText(QRectF(rect.left() + captionIndent, top, std::max(0.0, rect.width() - captionIndent), lineHeight),
                printed(withoutMnemonics(caption)), font);
    }

    void RenderRadioGroup(const QGroupBox &group, const QList<QRadioButton *> &items, const QRectF &rect)
    {
        const double lineHeight = QFontMetricsF(group.font()).height();
        if (!group.title().trimmed().isEmpty())
            AddText(QRectF(rect.left() + captionIndent, rect.top(), std::max(0.0, rect.width() - captionIndent), lineHeight),
                    printed(withoutMnemonics(group.title())), group.font());
        const double step = rect.height() / (items.size() + 1);
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QRadioButton &item = *items.at(i);
            const double top = rect.top() + step * double(i + 1);
            Add(TReportElement::TKind::Round, QRectF(rect.left() + shift, top, captionIndent, lineHeight)).Checked = item.isChecked();
            AddText(QRectF(rect.left() + shift + captionIndent, top, std::max(0.0, rect.width() - shift - captionIndent), lineHeight),
                    printed(withoutMnemonics(item.text())), item.font());
        }
    }

    // A cell of a grid as a text element; cells are cut at the grid's
    // bounds, as the grid on screen shows them.
    void AddCell(const QRectF &grid, const QRectF &cell, const QString &text, const QFont &font, TReportAlign align)
    {
        if (cell.left() >= grid.right() || cell.top() >= grid.bottom() || cell.width() <= 0 || cell.height() <= 0)
            return;
        const QRectF inner = cell.adjusted(2.0, 1.0, -2.0, 0.0).intersected(grid);
        AddText(inner, printed(text), font).Align = align;
    }

    void RenderStringGrid(const TStringGrid &grid, const QRectF &rect)
    {
        const auto *complex = qobject_cast<const TComplexGrid *>(&grid);
        const QHeaderView *titles = grid.horizontalHeader();
        const int titleHeight = titles->isHidden() ? 0 : titles->height();
        double x = rect.left() + grid.frameWidth();
        for (int col = 0; col < grid.ColCount(); ++col) {
            const int width = grid.ColWidths(col);
            if (width <= 0)
                continue;
            double y = rect.top() + grid.frameWidth();
            for (int row = 0; row < grid.RowCount(); ++row) {
                int height = 0;
                if (complex)
                    height = complex->RowHeights(row);
                else if (row < grid.FixedRows())
                    height = titleHeight / std::max(1, grid.FixedRows());
                else
                    height = grid.rowHeight(row - grid.FixedRows());
                const bool title = row < grid.FixedRows();
                const TReportAlign align =
                    title ? TReportAlign::Centre : complex ? alignOf(complex->GetColAlignment(col)) : TReportAlign::Left;
                AddCell(rect, QRectF(x, y, width, height), ReportTextLines(grid.Cells(col, row)).join(QLatin1Char('\n')),
                        grid.font(), align);
                y += height;
            }
            x += width;
        }
    }

    void RenderTable(const QTableWidget &table, const QRectF &rect)
    {
        const QHeaderView *columnTitles = table.horizontalHeader();
        const QHeaderView *rowTitles = table.verticalHeader();
        const double left = rect.left() + table.frameWidth();
        const double top = rect.top() + table.frameWidth();
        const double firstX = left + (rowTitles->isHidden() ? 0 : rowTitles->width());
        const double firstY = top + (columnTitles->isHidden() ? 0 : columnTitles->height());
        if (!columnTitles->isHidden()) {
            double x = firstX;
            for (int col = 0; col < table.columnCount(); ++col) {
                if (table.isColumnHidden(col))
                    continue;
                AddCell(rect, QRectF(x, top, table.columnWidth(col), columnTitles->height()),
                        table.model()->headerData(col, Qt::Horizontal).toString(), table.font(), TReportAlign::Centre);
                x += table.columnWidth(col);
            }
        }
        double y = firstY;
        for (int row = 0; row < table.rowCount(); ++row) {
            if (table.isRowHidden(row))
                continue;
            if (!rowTitles->isHidden())
                AddCell(rect, QRectF(left, y, rowTitles->width(), table.rowHeight(row)),
                        table.model()->headerData(row, Qt::Vertical).toString(), table.font(), TReportAlign::Left);
            double x = firstX;
            for (int col = 0; col < table.columnCount(); ++col) {
                if (table.isColumnHidden(col))
                    continue;
                const QTableWidgetItem *item = table.item(row, col);
                AddCell(rect, QRectF(x, y, table.columnWidth(col), table.rowHeight(row)), item ? item->text() : QString(),
                        table.font(), TReportAlign::Left);
                x += table.columnWidth(col);
            }
            y += table.rowHeight(row);
        }
    }

    void RenderList(const QListView &list, const QRectF &rect)
    {
        QStringList lines;
        if (const QAbstractItemModel *model = list.model()) {
            const QModelIndex firstShown = list.indexAt(QPoint(1, 1));
            for (int row = firstShown.isValid() ? firstShown.row() : 0; row < model->rowCount(list.rootIndex()); ++row) {
                if (!list.isRowHidden(row))
                    lines.append(model->index(row, list.modelColumn(), list.rootIndex()).data().toString());
            }
        }
        AddText(rect, printed(lines.join(QLatin1Char('\n'))), list.font());
    }

    TRecordBand m_band;
};

// One page: the header and the band of the window page below it, made
// smaller when the window page is larger than the paper.
class TRecordReport final : public TReportDocument
{
public:
    TRecordReport(TReportGeometry geometry, QString title, QString printTime, TRecordBand band)
        : m_geometry(geometry), m_title(std::move(title)), m_printTime(std::move(printTime)), m_band(std::move(band))
    {
    }

    bool Wide() const override { return m_geometry.Wide; }
    int PageCount() const override { return 1; }
    QString Title() const override { return m_title; }

    void PaintPage(QPainter &painter, int) const override
    {
        PaintReportElements(painter, PageHeaderElements(m_geometry, m_title, m_printTime, 1));
        const double roomWidth = m_geometry.PageWidth();
        const double roomHeight = m_geometry.PageHeight() - m_geometry.HeaderHeight;
        const double scale = std::min({1.0, roomWidth / std::max(1.0, m_band.Size.width()),
                                       roomHeight / std::max(1.0, m_band.Size.height())});
        painter.save();
        painter.translate(0.0, m_geometry.HeaderHeight);
        painter.scale(scale, scale);
        PaintReportElements(painter, m_band.Elements, m_band.Pictures);
        painter.restore();
    }

private:
    TReportGeometry m_geometry;
    QString m_title;
    QString m_printTime;
    TRecordBand m_band;
};
}

TRecordBand RecordBandOf(QWidget *page)
{
    if (page->layout())
        page->layout()->activate();
    return TBandBuilder().Build(page);
}

TfrmRecordPrint::TfrmRecordPrint(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frmRecordPrint"));
}

TfrmRecordPrint::~TfrmRecordPrint() = default;

void TfrmRecordPrint::PrepareRecord(QWidget *page, const QString &title)
{
    if (!page)
        throw EReportError(errorText("01"));
    m_page = page;
    m_title = title;
    m_geometry = TReportGeometry::ForWidth(page->width());
}

std::unique_ptr<TReportDocument> TfrmRecordPrint::StartReport() const
{
    if (!m_page)
        throw EReportError(errorText("02"));
    return std::make_unique<TRecordReport>(m_geometry, m_title, PrintTimeNow(), RecordBandOf(m_page));
}

void TfrmRecordPrint::Print(QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport();
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrintTarget(ReportDialogParent(parent), printer, m_title))
        return;
    PrintReport(*report, printer, ReportDialogParent(parent));
}

void TfrmRecordPrint::Preview(QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport();
    TfrmPreview preview(ReportDialogParent(parent));
    preview.ShowReport(*report);
}

void TfrmRecordPrint::PrintToFile(const QString &fileName, QWidget *parent)
{
    const std::unique_ptr<TReportDocument> report = StartReport();
    WriteReportPdf(*report, fileName, ReportDialogParent(parent));
}
