#include "reference/Pulse.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "reference/Pulses.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\PulseWindow");
const QString deletedText = QStringLiteral("< Borttagen >");

// The limit a cell holds; anything that is no whole number counts as 0.
int CellLimit(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
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
    for (int row = 1; row <= m_ids.size(); ++row)
        pulses.SetPulse(m_ids[row - 1], CellLimit(m_cplxgrdPulse->Cells(0, row)), CellLimit(m_cplxgrdPulse->Cells(1, row)));
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
