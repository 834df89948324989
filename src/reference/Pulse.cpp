#include "reference/Pulse.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "reference/Pulses.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\PulseWindow");
const QString deletedText = QStringLiteral("< Borttagen >");

// A limit is a whole number 0..999, so its cells are edited in the numeric
// edit, which lets nothing else be typed or pasted. The cells are still
// drawn by the grid's own delegate.
class TPulseLimitDelegate final : public QStyledItemDelegate
{
public:
    TPulseLimitDelegate(QAbstractItemDelegate *painter, QObject *parent) : QStyledItemDelegate(parent), m_painter(painter) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_painter->paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return m_painter->sizeHint(option, index);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *edit = new TNumericalEdit(QStringLiteral("numedtPulseLimit"), parent);
        edit->SetNumDecimals(0);
        edit->SetNegValues(false);
        edit->SetMaxValue(QStringLiteral("999"));
        edit->SetMinValue(QStringLiteral("0"));
        edit->setFrame(false);
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<TNumericalEdit *>(editor)->SetValue(index.data(Qt::EditRole).toString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const QString text = static_cast<TNumericalEdit *>(editor)->Value();
        if (model->data(index, Qt::EditRole).toString() != text)
            model->setData(index, text, Qt::EditRole);
    }

private:
    QAbstractItemDelegate *m_painter;
};

// Why the text of a limit cell cannot be stored, or an empty text when it
// can: an empty cell or one that is no whole number is refused (a whole
// number outside 0..999 is brought inside by the register).
QString LimitFault(const QString &title, const QString &text)
{
    const QString limit = text.trimmed();
    if (limit.isEmpty())
        return QStringLiteral("%1 saknas. Ange ett heltal mellan 0 och 999.").arg(title);
    bool ok = false;
    limit.toInt(&ok);
    if (!ok)
        return QStringLiteral("%1 \"%2\" är inget heltal. Ange ett heltal mellan 0 och 999.").arg(title, limit);
    return QString();
}
}

TfrmPulse::TfrmPulse(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmPulse"));
    setWindowTitle(QStringLiteral("Pulsintervall"));
    setModal(true);

    m_cplxgrdPulse = new TComplexGrid(this);
    m_cplxgrdPulse->setObjectName(QStringLiteral("cplxgrdPulse"));
    m_cplxgrdPulse->SetColCount(2);
    m_cplxgrdPulse->SetRowCount(2);
    m_cplxgrdPulse->SetFixedCols(0);
    m_cplxgrdPulse->SetFixedRows(1);
    m_cplxgrdPulse->SetCells(0, 0, QStringLiteral("Nedre gräns"));
    m_cplxgrdPulse->SetCells(1, 0, QStringLiteral("Övre gräns"));
    // Row r stands for the interval at position r - 1 of the id list, so the
    // rows must never be reordered by a title click.
    m_cplxgrdPulse->SetOptionsComplex(TCompGridOptions());
    m_cplxgrdPulse->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_cplxgrdPulse->setItemDelegate(new TPulseLimitDelegate(m_cplxgrdPulse->itemDelegate(), m_cplxgrdPulse));
    connect(m_cplxgrdPulse, &TComplexGrid::OnSelectCell, this,
            [this](int col, int row, bool &canSelect) {
                Guard([&] { cplxgrdPulseSelectCell(col, row, canSelect); });
            },
            Qt::DirectConnection);
    connect(m_cplxgrdPulse, &TStringGrid::CellEdited, this, [this] { m_changed = true; });

    m_lblPulse = new QLabel(QStringLiteral("&Pulsintervall"), this);
    m_lblPulse->setObjectName(QStringLiteral("lblPulse"));
    m_lblPulse->setBuddy(m_cplxgrdPulse);

    m_btnNew = new QPushButton(QStringLiteral("&Ny"), this);
    m_btnNew->setObjectName(QStringLiteral("btnNew"));
    m_btnDelete = new QPushButton(QStringLiteral("&Tag bort"), this);
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnHelp = new QPushButton(QStringLiteral("&Hjälp"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    connect(m_btnNew, &QPushButton::clicked, this, [this] { Guard([this] { btnNewClick(); }); });
    connect(m_btnDelete, &QPushButton::clicked, this, [this] { Guard([this] { btnDeleteClick(); }); });
    connect(m_btnOK, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { Guard([this] { btnCancelClick(); }); });
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { Guard([this] { btnHelpClick(); }); });

    auto *side = new QVBoxLayout;
    side->addWidget(m_btnNew);
    side->addWidget(m_btnDelete);
    side->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_cplxgrdPulse, 1);
    middle->addLayout(side);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblPulse);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    resize(300, 260);
    LoadWindowState(windowKey, this);
}

TfrmPulse::~TfrmPulse()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

void TfrmPulse::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmPulse::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmPulse::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { btnHelpClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmPulse::FormShow()
{
    m_closing = false;
    m_changed = false;
    TPulses &pulses = m_app.GetPulses();
    pulses.LoadPulses();
    pulses.GetPulseIds(m_ids);

    m_cplxgrdPulse->SetEditing(false);
    TTulloUtilGrid::ClearRows(m_cplxgrdPulse);
    m_cplxgrdPulse->BeginUpdate();
    TTulloUtilGrid::SetDataRowCount(m_cplxgrdPulse, int(m_ids.size()));
    for (int i = 0; i < m_ids.size(); ++i) {
        m_cplxgrdPulse->SetCells(0, i + 1, QString::number(pulses.PulseLow(m_ids[i])));
        m_cplxgrdPulse->SetCells(1, i + 1, QString::number(pulses.PulseHigh(m_ids[i])));
    }
    m_cplxgrdPulse->EndUpdate();
    m_cplxgrdPulse->SetRow(1);
    m_cplxgrdPulse->SetCol(0);
    UpdateRow(m_cplxgrdPulse->Row());
    FormResize();
    if (m_cplxgrdPulse->isEnabled())
        m_cplxgrdPulse->setFocus();
}

void TfrmPulse::UpdateRow(int row)
{
    TPulses &pulses = m_app.GetPulses();
    m_cplxgrdPulse->setEnabled(pulses.PulseCount() > 0);
    const bool deletable = row >= 1 && row <= m_ids.size() && pulses.PulseExists(m_ids[row - 1]);
    m_btnDelete->setEnabled(deletable);
    m_cplxgrdPulse->SetEditing(deletable);
}

void TfrmPulse::cplxgrdPulseSelectCell(int, int row, bool &)
{
    UpdateRow(row);
}

void TfrmPulse::FormResize()
{
    const int rowHeight = qMax(1, m_cplxgrdPulse->DefaultRowHeight());
    const int dataRows = m_cplxgrdPulse->RowCount() - m_cplxgrdPulse->FixedRows();
    const bool scrolls = m_cplxgrdPulse->viewport()->height() / rowHeight < dataRows;
    const int width = m_cplxgrdPulse->width() / 2 - (scrolls ? 12 : 4);
    m_cplxgrdPulse->SetColWidths(0, qMax(20, width));
    m_cplxgrdPulse->SetColWidths(1, qMax(20, width));
}

void TfrmPulse::btnNewClick()
{
    m_cplxgrdPulse->CommitEditor();
    if (!m_ids.isEmpty())
        m_cplxgrdPulse->SetRowCount(m_cplxgrdPulse->RowCount() + 1);
    const int row = m_cplxgrdPulse->RowCount() - 1;
    m_cplxgrdPulse->SetRow(row);
    m_cplxgrdPulse->SetCol(0);
    m_ids.append(m_app.GetPulses().AddPulse(0, 0));
    m_changed = true;
    m_cplxgrdPulse->SetCells(0, row, QStringLiteral("0"));
    m_cplxgrdPulse->SetCells(1, row, QStringLiteral("0"));
    UpdateRow(row);
    FormResize();
    m_cplxgrdPulse->setFocus();
}

void TfrmPulse::btnDeleteClick()
{
    if (m_ids.isEmpty())
        return;
    m_cplxgrdPulse->CommitEditor();
    const int row = m_cplxgrdPulse->Row();
    if (row < 1 || row > m_ids.size())
        return;
    try {
        m_app.GetPulses().DeletePulse(m_ids[row - 1]);
    } catch (const EPulse &) {
        ShowMessageBox(QStringLiteral("Pulsintervallet används av aktiviter och kan inte tas bort"), TMessageKind::Error,
                       TMessageButton::OK);
        return;
    }
    m_changed = true;
    m_cplxgrdPulse->SetCells(0, row, deletedText);
    m_cplxgrdPulse->SetCells(1, row, deletedText);
    UpdateRow(row);
}

void TfrmPulse::btnOKClick()
{
    m_cplxgrdPulse->CommitEditor();
    TPulses &pulses = m_app.GetPulses();
    // Nothing is stored while one limit cannot be: the user is told which
    // and finds the cell current, its text as typed.
    for (int row = 1; row <= m_ids.size(); ++row) {
        if (!pulses.PulseExists(m_ids[row - 1]))
            continue;
        for (int col = 0; col < 2; ++col) {
            const QString fault = LimitFault(m_cplxgrdPulse->Cells(col, 0), m_cplxgrdPulse->Cells(col, row));
            if (fault.isEmpty())
                continue;
            ShowMessageBox(fault, TMessageKind::Error, TMessageButton::OK);
            m_cplxgrdPulse->SetRow(row);
            m_cplxgrdPulse->SetCol(col);
            m_cplxgrdPulse->setFocus();
            return;
        }
    }
    for (int row = 1; row <= m_ids.size(); ++row) {
        if (pulses.PulseExists(m_ids[row - 1]))
            pulses.SetPulse(m_ids[row - 1], m_cplxgrdPulse->Cells(0, row).trimmed().toInt(),
                            m_cplxgrdPulse->Cells(1, row).trimmed().toInt());
    }
    pulses.ApplyPulses();
    accept();
}

void TfrmPulse::btnCancelClick()
{
    m_cplxgrdPulse->CommitEditor();
    if (m_changed
        && ShowMessageBox(QStringLiteral("Vill du verkligen avbryta dina ändringar?"), TMessageKind::Question,
                          TMessageButton::Yes | TMessageButton::No)
               != TMessageResult::Yes)
        return;
    QDialog::reject();
}

void TfrmPulse::btnHelpClick()
{
    m_app.ShowHelp(64);
}

void TfrmPulse::reject()
{
    Guard([this] { btnCancelClick(); });
}

void TfrmPulse::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        Guard([this] { FormClose(); });
    }
    QDialog::done(result);
}

void TfrmPulse::FormClose()
{
    m_cplxgrdPulse->SetEditing(false);
    TPulses &pulses = m_app.GetPulses();
    pulses.ClearPulses();
    pulses.LoadPulses();
    m_ids.clear();
    m_changed = false;
}
