#include "export/Preview.h"

#include "export/GenReportEngine.h"
#include "foundation/ErrorGuard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <cmath>

namespace
{
constexpr int minimumZoom = 1;
constexpr int maximumZoom = 300;
// Room left around a page that fits the window.
constexpr int fitShrink = 3;

const QStringList zoomItems{QStringLiteral("Anpassa till sidan"), QStringLiteral("25"), QStringLiteral("50"),
                            QStringLiteral("75"), QStringLiteral("80"), QStringLiteral("90"),
                            QStringLiteral("100"), QStringLiteral("125"), QStringLiteral("150"),
                            QStringLiteral("200"), QStringLiteral("250"), QStringLiteral("300")};

// What the zoom box takes: at most 3 characters typed, besides the texts of
// its items (and what is left of one while it is deleted).
class TZoomValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.size() <= 3)
            return Acceptable;
        for (const QString &item : zoomItems) {
            if (item.startsWith(input))
                return item == input ? Acceptable : Intermediate;
        }
        return Invalid;
    }
};

// The whole A4 sheet in report units.
QSizeF sheetSize(bool wide)
{
    const QSizeF portrait(ReportUnits::FromMm(ReportUnits::A4ShortMm), ReportUnits::FromMm(ReportUnits::A4LongMm));
    return wide ? portrait.transposed() : portrait;
}
}

// The page view: the page of the report at the zoom, painted when shown.
class TPreviewPage final : public QWidget
{
    Q_OBJECT

public:
    explicit TPreviewPage(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("qrprvPage"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Show(const TReportDocument *document, int page, int zoom)
    {
        m_document = document;
        m_page = page;
        m_zoom = zoom;
        const QSizeF sheet = sheetSize(document && document->Wide()) * (zoom / 100.0);
        setFixedSize(std::max(1, int(std::lround(sheet.width()))), std::max(1, int(std::lround(sheet.height()))));
        update();
    }

signals:
    void Painted();

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!m_document)
            return;
        Guard([&] {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            const double scale = m_zoom / 100.0;
            painter.scale(scale, scale);
            const double margin = ReportUnits::FromMm(ReportUnits::MarginMm);
            painter.translate(margin, margin);
            m_document->PaintPage(painter, m_page);
        });
        emit Painted();
    }

private:
    const TReportDocument *m_document = nullptr;
    int m_page = 0;
    int m_zoom = 100;
};

TfrmPreview::TfrmPreview(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Förhandsgranska"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint | Qt::CustomizeWindowHint);
    resize(900, 700);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *tools = new QHBoxLayout;
    const auto pageButton = [this, tools](const char *name, const QString &caption, const QString &hint) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(caption);
        button->setToolTip(hint);
        button->setMinimumWidth(32);
        tools->addWidget(button);
        return button;
    };
    m_sbtnFirst = pageButton("sbtnFirst", QStringLiteral("<<"), QStringLiteral("Första sidan"));
    m_sbtnPrev = pageButton("sbtnPrev", QStringLiteral("<"), QStringLiteral("Föregående sida"));
    m_sbtnNext = pageButton("sbtnNext", QStringLiteral(">"), QStringLiteral("Nästa sida"));
    m_sbtnLast = pageButton("sbtnLast", QStringLiteral(">>"), QStringLiteral("Sista sidan"));
    tools->addSpacing(12);
    auto *zoomLabel = new QLabel(QStringLiteral("&Förstoring"), this);
    zoomLabel->setObjectName(QStringLiteral("lblZoom"));
    tools->addWidget(zoomLabel);
    m_cmbbxZoom = new QComboBox(this);
    m_cmbbxZoom->setObjectName(QStringLiteral("cmbbxZoom"));
    m_cmbbxZoom->setEditable(true);
    m_cmbbxZoom->setInsertPolicy(QComboBox::NoInsert);
    m_cmbbxZoom->addItems(zoomItems);
    m_cmbbxZoom->setValidator(new TZoomValidator(m_cmbbxZoom));
    // A typed 12 is 12 percent, not the 125 a completion would make of it.
    m_cmbbxZoom->setCompleter(nullptr);
    m_cmbbxZoom->setMinimumContentsLength(18);
    zoomLabel->setBuddy(m_cmbbxZoom);
    tools->addWidget(m_cmbbxZoom);
    tools->addStretch(1);
    m_btnClose = new QPushButton(QStringLiteral("&Stäng"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setAutoDefault(false);
    m_btnClose->setEnabled(false);
    tools->addWidget(m_btnClose);
    layout->addLayout(tools);

    m_qrprvCtrl = new QScrollArea(this);
    m_qrprvCtrl->setObjectName(QStringLiteral("qrprvCtrl"));
    m_qrprvCtrl->setAlignment(Qt::AlignCenter);
    m_qrprvCtrl->setBackgroundRole(QPalette::Dark);
    m_qrprvCtrl->setFocusPolicy(Qt::StrongFocus);
    m_pageView = new TPreviewPage(m_qrprvCtrl);
    m_qrprvCtrl->setWidget(m_pageView);
    layout->addWidget(m_qrprvCtrl, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("sbrPreview"));
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    layout->addWidget(m_status);

    connect(m_sbtnFirst, &QToolButton::clicked, this, [this] { Guard([this] { FirstPage(); }); });
    connect(m_sbtnPrev, &QToolButton::clicked, this, [this] { Guard([this] { PreviousPage(); }); });
    connect(m_sbtnNext, &QToolButton::clicked, this, [this] { Guard([this] { NextPage(); }); });
    connect(m_sbtnLast, &QToolButton::clicked, this, [this] { Guard([this] { LastPage(); }); });
    connect(m_cmbbxZoom, &QComboBox::activated, this, [this](int index) { Guard([this, index] { cmbbxZoomChange(index); }); });
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pageView, &TPreviewPage::Painted, this, [this] { PagePainted(); });

    // The window sees the keys before its controls do.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    UpdateControls();
}

TfrmPreview::~TfrmPreview() = default;

void TfrmPreview::SetReport(const TReportDocument *document)
{
    m_document = document;
    m_page = 0;
    if (m_document && !m_busy)
        m_busy = std::make_unique<TReportBusy>();
    qrprvCtrlPageAvailable();
}

void TfrmPreview::ShowReport(const TReportDocument &document)
{
    SetReport(&document);
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

int TfrmPreview::PageCount() const
{
    return m_document ? m_document->PageCount() : 0;
}

QString TfrmPreview::StatusText() const
{
    return m_status->text();
}

void TfrmPreview::qrprvCtrlPageAvailable()
{
    // Every page can be painted as soon as the report exists.
    m_btnClose->setEnabled(m_document != nullptr);
    m_cmbbxZoom->setCurrentIndex(0);
    FitPage();
}

void TfrmPreview::UpdateControls()
{
    const int count = PageCount();
    m_sbtnFirst->setEnabled(m_document && m_page > 0);
    m_sbtnPrev->setEnabled(m_sbtnFirst->isEnabled());
    m_sbtnNext->setEnabled(m_document && m_page < count - 1);
    m_sbtnLast->setEnabled(m_sbtnNext->isEnabled());
    m_status->setText(m_document ? QStringLiteral("Sida %1 av %2").arg(m_page + 1).arg(count) : QString());
    m_pageView->Show(m_document, m_page, m_zoom);
}

void TfrmPreview::GoTo(int page)
{
    if (!m_document)
        return;
    m_page = std::clamp(page, 0, std::max(0, PageCount() - 1));
    UpdateControls();
    m_qrprvCtrl->verticalScrollBar()->setValue(0);
}

void TfrmPreview::FirstPage()
{
    GoTo(0);
}

void TfrmPreview::PreviousPage()
{
    GoTo(m_page - 1);
}

void TfrmPreview::NextPage()
{
    GoTo(m_page + 1);
}

void TfrmPreview::LastPage()
{
    GoTo(PageCount() - 1);
}

void TfrmPreview::FitPage()
{
    m_fit = true;
    const QSizeF sheet = sheetSize(m_document && m_document->Wide());
    const QSize room = m_qrprvCtrl->viewport()->size();
    const double fit = std::min(room.width() / sheet.width(), room.height() / sheet.height());
    m_zoom = std::clamp(int(std::floor(fit * 100.0)) - fitShrink, minimumZoom, maximumZoom);
    UpdateControls();
}

void TfrmPreview::SetZoom(int percent)
{
    m_fit = false;
    m_zoom = std::clamp(percent, minimumZoom, maximumZoom);
    UpdateControls();
}

void TfrmPreview::cmbbxZoomChange(int index)
{
    if (index <= 0) {
        FitPage();
        return;
    }
    SetZoom(m_cmbbxZoom->itemText(index).toInt());
}

void TfrmPreview::cmbbxZoomKeyPress()
{
    const QString typed = m_cmbbxZoom->currentText().trimmed();
    const int item = m_cmbbxZoom->findText(typed, Qt::MatchExactly);
    if (item >= 0) {
        m_cmbbxZoom->setCurrentIndex(item);
        cmbbxZoomChange(item);
        return;
    }
    bool ok = false;
    const int percent = typed.toInt(&ok);
    if (!ok) {
        m_cmbbxZoom->setCurrentIndex(0);
        cmbbxZoomChange(0);
        return;
    }
    SetZoom(percent);
    // The box shows the zoom that took effect.
    m_cmbbxZoom->setEditText(QString::number(m_zoom));
}

bool TfrmPreview::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_PageUp:
        ctrl ? LastPage() : PreviousPage();
        return true;
    case Qt::Key_PageDown:
        ctrl ? FirstPage() : NextPage();
        return true;
    case Qt::Key_Home:
        FirstPage();
        return true;
    case Qt::Key_End:
        LastPage();
        return true;
    default:
        return false;
    }
}

bool TfrmPreview::eventFilter(QObject *watched, QEvent *event)
{
    // A page that fits follows the room the view has.
    if (event->type() == QEvent::Resize && watched == m_qrprvCtrl->viewport() && m_fit) {
        Guard([this] { FitPage(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != this)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    bool handled = false;
    Guard([&] {
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (watched == m_cmbbxZoom || watched == m_cmbbxZoom->lineEdit())) {
            cmbbxZoomKeyPress();
            handled = true;
            return;
        }
        handled = FormKeyDown(key->key(), key->modifiers());
    });
    return handled || QDialog::eventFilter(watched, event);
}

void TfrmPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_cmbbxZoom->setCurrentIndex(0);
    FitPage();
    m_qrprvCtrl->setFocus();
}

void TfrmPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_fit)
        FitPage();
}

void TfrmPreview::PagePainted()
{
    m_busy.reset();
}

void TfrmPreview::done(int result)
{
    m_busy.reset();
    FirstPage();
    QDialog::done(result);
}

#include "Preview.moc"
