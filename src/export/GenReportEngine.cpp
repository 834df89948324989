#include "export/GenReportEngine.h"

#include "foundation/Exceptions.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtils.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace
{
const QString pdfChoice = QStringLiteral("Skriv till PDF-fil...");
constexpr double boxSize = 11.0;

Qt::Alignment alignmentOf(TReportAlign align)
{
    switch (align) {
    case TReportAlign::Right:
        return Qt::AlignRight;
    case TReportAlign::Centre:
        return Qt::AlignHCenter;
    case TReportAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}

double textWidth(const QFontMetricsF &metrics, const QString &text)
{
    double width = 0.0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

void paintBox(QPainter &painter, const QRectF &rect, bool ticked)
{
    const QRectF box(rect.left(), rect.top() + std::max(0.0, (rect.height() - boxSize) / 2), boxSize, boxSize);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    if (ticked) {
        QPainterPath tick;
        tick.moveTo(box.left() + 2.0, box.top() + 5.5);
        tick.lineTo(box.left() + 4.5, box.top() + 8.5);
        tick.lineTo(box.right() - 2.0, box.top() + 2.5);
        painter.drawPath(tick);
    }
}

void paintRound(QPainter &painter, const QRectF &rect, bool filled)
{
    const QRectF round(rect.left(), rect.top() + std::max(0.0, (rect.height() - boxSize) / 2), boxSize, boxSize);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(round);
    if (filled) {
        painter.setBrush(Qt::black);
        painter.drawEllipse(round.adjusted(3.0, 3.0, -3.0, -3.0));
        painter.setBrush(Qt::NoBrush);
    }
}

// Where the last PDF file went; the next one is proposed there.
QString &lastPdfFolder()
{
    static QString folder;
    return folder;
}

QString defaultPdfFolder()
{
    if (!lastPdfFolder().isEmpty() && QFileInfo(lastPdfFolder()).isDir())
        return lastPdfFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

// A file name from a title: characters a file name cannot hold become blanks.
QString fileNameOf(const QString &title)
{
    QString name = title.trimmed();
    for (QChar &c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    name = name.simplified();
    return name.isEmpty() ? QStringLiteral("Utskrift") : name;
}

bool choosePdfFile(QWidget *parent, QPrinter &printer, const QString &title)
{
    QFileDialog dialog(parent, QStringLiteral("Skriv till PDF-fil"));
    dialog.setObjectName(QStringLiteral("dlgSavePdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF-filer (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Spara i:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("&Filnamn:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Filtyp:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Spara"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("&Avbryt"));
    dialog.setDirectory(defaultPdfFolder());
    dialog.selectFile(fileNameOf(title) + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString fileName = dialog.selectedFiles().constFirst();
    lastPdfFolder() = QFileInfo(fileName).absolutePath();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    return true;
}

// The choice of a printer or a PDF file, for a machine with printers.
class TfrmPrintTarget final : public QDialog
{
public:
    TfrmPrintTarget(const QList<QPrinterInfo> &printers, QWidget *parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("frmPrintTarget"));
        setWindowTitle(QStringLiteral("Skriv ut"));
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(QStringLiteral("&Skriv ut på"), this);
        layout->addWidget(label);
        m_lstbxPrinters = new QListWidget(this);
        m_lstbxPrinters->setObjectName(QStringLiteral("lstbxPrinters"));
        label->setBuddy(m_lstbxPrinters);
        layout->addWidget(m_lstbxPrinters);
        const QString defaultName = QPrinterInfo::defaultPrinterName();
        int selected = 0;
        for (const QPrinterInfo &printer : printers) {
            if (printer.printerName() == defaultName)
                selected = m_lstbxPrinters->count();
            m_lstbxPrinters->addItem(printer.description().isEmpty() ? printer.printerName() : printer.description());
            m_names.append(printer.printerName());
        }
        m_lstbxPrinters->addItem(pdfChoice);
        m_lstbxPrinters->setCurrentRow(selected);
        connect(m_lstbxPrinters, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

        auto *buttons = new QHBoxLayout;
        buttons->addStretch(1);
        auto *ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("btnOK"));
        ok->setDefault(true);
        auto *cancel = new QPushButton(QStringLiteral("&Avbryt"), this);
        cancel->setObjectName(QStringLiteral("btnCancel"));
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    // The chosen printer's name; empty for the PDF file.
    QString ChosenPrinter() const { return m_names.value(m_lstbxPrinters->currentRow()); }

private:
    QListWidget *m_lstbxPrinters;
    QStringList m_names;
};
}

// ---------------------------------------------------------------------------
// Painting

QFont ReportFontFor(const TReportFont &font, const QPainter &painter)
{
    QFont result(font.Family);
    result.setStyleHint(QFont::SansSerif);
    // The painter measures points at its device's resolution and then
    // scales to report units: a point size for 96 dots to the inch comes
    // out at the described size.
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    result.setPointSizeF(font.PointSize * ReportUnits::PerInch / (dpi > 0 ? dpi : 96));
    result.setBold(font.Bold);
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    return result;
}

void PaintReportElements(QPainter &painter, const QVector<TReportElement> &elements, const QVector<QImage> &pictures,
                         QPointF offset)
{
    painter.save();
    painter.translate(offset);
    painter.setPen(QPen(Qt::black, 1.0));
    TReportFont current;
    bool fontSet = false;
    for (const TReportElement &element : elements) {
        switch (element.Kind) {
        case TReportElement::TKind::Text:
        case TReportElement::TKind::Label: {
            if (!fontSet || !(element.Font == current)) {
                painter.setFont(ReportFontFor(element.Font, painter));
                current = element.Font;
                fontSet = true;
            }
            QRectF rect = element.Rect;
            if (element.Kind == TReportElement::TKind::Label) {
                const double width = textWidth(QFontMetricsF(painter.font(), painter.device()), element.Text);
                rect.setWidth(width > rect.width() ? rect.width() + 10.0 : width + 1.0);
            }
            int flags = int(alignmentOf(element.Align)) | Qt::AlignTop;
            if (element.WordWrap)
                flags |= Qt::TextWordWrap;
            // Text that does not fit is cut at the element's edges, as a
            // grid cuts it at the cell's (the painter clips only then).
            painter.drawText(rect, flags, element.Text);
            break;
        }
        case TReportElement::TKind::Line:
            painter.drawLine(element.Rect.topLeft(), element.Rect.topRight());
            break;
        case TReportElement::TKind::CheckBox:
            paintBox(painter, element.Rect, element.Checked);
            break;
        case TReportElement::TKind::Round:
            paintRound(painter, element.Rect, element.Checked);
            break;
        case TReportElement::TKind::Picture:
            if (element.Picture >= 0 && element.Picture < pictures.size())
                painter.drawImage(element.Rect, pictures.at(element.Picture));
            break;
        }
    }
    painter.restore();
}

// ---------------------------------------------------------------------------
// Printing

TReportBusy::TReportBusy()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TReportBusy::~TReportBusy()
{
    QGuiApplication::restoreOverrideCursor();
}

void SetUpReportPrinter(QPrinter &printer, const TReportDocument &document)
{
    const QPageLayout layout(QPageSize(QPageSize::A4), document.Wide() ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(ReportUnits::MarginMm, ReportUnits::MarginMm, ReportUnits::MarginMm,
                                       ReportUnits::MarginMm),
                             QPageLayout::Millimeter);
    if (!printer.setPageLayout(layout)) {
        // A printer that cannot print that close to the edge keeps its own
        // margins.
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(layout.orientation());
    }
    printer.setDocName(document.Title());
    printer.setCreator(QStringLiteral("Ternvall"));
}

bool ChoosePrintTarget(QWidget *parent, QPrinter &printer, const QString &title)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        return choosePdfFile(parent, printer, title);
    TfrmPrintTarget dialog(printers, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString name = dialog.ChosenPrinter();
    if (name.isEmpty())
        return choosePdfFile(parent, printer, title);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    return true;
}

void PrintReport(const TReportDocument &document, QPrinter &printer, QWidget *parent)
{
    SetUpReportPrinter(printer, document);
    const int pages = document.PageCount();
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString message = printer.outputFormat() == QPrinter::PdfFormat
                                    ? QStringLiteral("Filen %1 kan inte skrivas.").arg(QDir::toNativeSeparators(printer.outputFileName()))
                                    : QStringLiteral("Skrivaren %1 kan inte nås.").arg(printer.printerName());
        ShowMessageBox(message, TMessageKind::Error, TMessageButton::OK);
        Abort();
    }
    TReportBusy busy;

    // The progress window takes no input: the print goes on to its end and
    // nothing else runs meanwhile, so the grid being printed stays as it is.
    QProgressDialog progress(QString(), QString(), 0, pages, parent);
    progress.setObjectName(QStringLiteral("frmPrintProgress"));
    progress.setWindowTitle(QStringLiteral("Skriver ut"));
    progress.setWindowModality(Qt::NonModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setCancelButton(nullptr);

    const double scale = printer.resolution() / ReportUnits::PerInch;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        document.PaintPage(painter, page);
        painter.restore();
        progress.setLabelText(QStringLiteral("Skriver ut sida %1 av %2").arg(page + 1).arg(pages));
        progress.setValue(page + 1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    painter.end();
}

void WriteReportPdf(const TReportDocument &document, const QString &fileName, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    PrintReport(document, printer, parent);
}

QString PrintTimeNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return TTulloUtilTimeDate::DateToStr(now.date()) + QLatin1Char(' ')
           + QLocale::c().toString(now.time(), QStringLiteral("h:mm:ss"));
}

QWidget *ReportDialogParent(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}
