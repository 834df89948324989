#include "reference/PulseSelect.h"

#include "app/CorvaleApp.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "reference/Pulses.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{
constexpr int comboTag = 1;    // cmbbxPulse1 .. cmbbxPulse7
constexpr int percentTag = 11; // numedtPulse1 .. numedtPulse7

TNumericalEdit *PercentEdit(const QString &name, const QString &maximum, QWidget *parent)
{
    auto *edit = new TNumericalEdit(name, parent);
    edit->SetNegValues(false);
    edit->SetNumDecimals(0);
    edit->SetMinValue(QStringLiteral("0"));
    edit->SetMaxValue(maximum);
    edit->setMaximumWidth(50);
    return edit;
}
}

TfrmPulseSelect::TfrmPulseSelect(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmPulseSelect"));
    setWindowTitle(QStringLiteral("Välj pulsintervaller"));
    setModal(true);

    // The controls of a row are direct children of the panel, so that they
    // can be found by their tags.
    auto *pnlSelect = new QFrame(this);
    pnlSelect->setObjectName(QStringLiteral("pnlSelect"));
    pnlSelect->setFrameShape(QFrame::StyledPanel);
    auto *rows = new QGridLayout(pnlSelect);
    for (int i = 0; i < RowCount; ++i) {
        m_cmbbxPulse[i] = new QComboBox(pnlSelect);
        m_cmbbxPulse[i]->setObjectName(QStringLiteral("cmbbxPulse%1").arg(i + 1));
        m_cmbbxPulse[i]->setMinimumContentsLength(8);
        TTulloUtilMisc::SetTag(m_cmbbxPulse[i], comboTag + i);
        m_numedtPulse[i] = PercentEdit(QStringLiteral("numedtPulse%1").arg(i + 1), QStringLiteral("999"), pnlSelect);
        TTulloUtilMisc::SetTag(m_numedtPulse[i], percentTag + i);
        rows->addWidget(m_cmbbxPulse[i], i, 0);
        rows->addWidget(m_numedtPulse[i], i, 1);
        rows->addWidget(new QLabel(QStringLiteral("%"), pnlSelect), i, 2);
        connect(m_cmbbxPulse[i], &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                Guard([this] { cmbbxPulseChange(); });
        });
        connect(m_numedtPulse[i], &TPGCustomEdit::Exit, this, [this] { Guard([this] { numedtPulseExit(); }); });
        // The sum follows every keystroke as well, so that it is right
        // whichever way the dialog is left.
        connect(m_numedtPulse[i], &QLineEdit::textChanged, this, [this] {
            if (!m_filling)
                Guard([this] { UpdateSum(); });
        });
    }
    auto *lblSum = new QLabel(QStringLiteral("Summa"), pnlSelect);
    lblSum->setObjectName(QStringLiteral("lblPulseSum"));
    lblSum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_numedtPulseSum = PercentEdit(QStringLiteral("numedtPulseSum"), QStringLiteral("9999"), pnlSelect);
    m_numedtPulseSum->setReadOnly(true);
    m_numedtPulseSum->setFocusPolicy(Qt::NoFocus);
    rows->addWidget(lblSum, RowCount, 0);
    rows->addWidget(m_numedtPulseSum, RowCount, 1);
    rows->addWidget(new QLabel(QStringLiteral("%"), pnlSelect), RowCount, 2);

    m_btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_btnOk, &QPushButton::clicked, this, [this] { Guard([this] { btnOkClick(); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { Guard([this] { btnCancelClick(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pnlSelect);
    layout->addLayout(buttons);
}

TfrmPulseSelect::~TfrmPulseSelect() = default;

void TfrmPulseSelect::SetSelection(const QList<qint32> &pulseIds, const QList<qint32> &percentages)
{
    const int pairs = int(qMin(pulseIds.size(), percentages.size()));
    m_selectedIds = pulseIds.mid(0, pairs);
    m_selectedPercentages = percentages.mid(0, pairs);
}

void TfrmPulseSelect::GetSelection(QList<qint32> &pulseIds, QList<qint32> &percentages) const
{
    pulseIds = m_selectedIds;
    percentages = m_selectedPercentages;
}

void TfrmPulseSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmPulseSelect::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { m_app.ShowHelp(64); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmPulseSelect::FormShow()
{
    TPulses &pulses = m_app.GetPulses();
    pulses.GetPulseIds(m_ids);
    QStringList texts;
    for (const qint32 id : std::as_const(m_ids))
        texts.append(pulses.PulseText(id));

    m_filling = true;
    struct TEndFill
    {
        bool &filling;
        ~TEndFill() { filling = false; }
    } endFill{m_filling};
    for (int i = 0; i < RowCount; ++i) {
        m_cmbbxPulse[i]->clear();
        m_cmbbxPulse[i]->addItem(QString());
        m_cmbbxPulse[i]->addItems(texts);
        m_cmbbxPulse[i]->setCurrentIndex(0);
        m_numedtPulse[i]->clear();
    }
    // An interval removed since the session's choice was made is left out
    // rather than shown as an empty row: an empty row closes the rows below
    // it, and the choices there would be lost.
    int row = 0;
    for (int k = 0; k < m_selectedIds.size() && row < RowCount; ++k) {
        const int index = int(m_ids.indexOf(m_selectedIds[k]));
        if (index < 0)
            continue;
        m_cmbbxPulse[row]->setCurrentIndex(index + 1);
        m_numedtPulse[row]->SetValue(QString::number(m_selectedPercentages[k]));
        ++row;
    }
    UpdateEnabling();
    UpdateSum();
}

void TfrmPulseSelect::UpdateEnabling()
{
    const bool filling = m_filling;
    m_filling = true;
    bool open = !m_ids.isEmpty();
    for (int i = 0; i < RowCount; ++i) {
        m_cmbbxPulse[i]->setEnabled(open);
        if (!open)
            m_cmbbxPulse[i]->setCurrentIndex(0);
        const bool chosen = open && m_cmbbxPulse[i]->currentIndex() > 0;
        m_numedtPulse[i]->setEnabled(chosen);
        // A percentage without an interval is not taken by "&Ok", so it is
        // not left standing in the sum either.
        if (!chosen)
            m_numedtPulse[i]->clear();
        open = chosen;
    }
    m_filling = filling;
}

int TfrmPulseSelect::PercentSum() const
{
    int sum = 0;
    for (int i = 0; i < RowCount; ++i)
        sum += m_numedtPulse[i]->IntValue();
    return sum;
}

void TfrmPulseSelect::UpdateSum()
{
    const int sum = PercentSum();
    QPalette palette = m_numedtPulseSum->palette();
    QColor colour = QPalette().color(QPalette::Text);
    if (sum > 0)
        colour = sum < 100 ? QColor(Qt::blue) : sum == 100 ? QColor(Qt::darkGreen) : QColor(Qt::red);
    palette.setColor(QPalette::Text, colour);
    m_numedtPulseSum->setPalette(palette);
    m_numedtPulseSum->SetValue(sum == 0 ? QString() : QString::number(sum));
}

void TfrmPulseSelect::cmbbxPulseChange()
{
    UpdateEnabling();
    UpdateSum();
}

void TfrmPulseSelect::numedtPulseExit()
{
    UpdateSum();
}

void TfrmPulseSelect::btnOkClick()
{
    TTulloUtilMisc::CommitEdits(this);
    m_selectedIds.clear();
    m_selectedPercentages.clear();
    for (int i = 0; i < RowCount; ++i) {
        const int index = m_cmbbxPulse[i]->currentIndex();
        if (index <= 0 || index > m_ids.size())
            continue;
        m_selectedIds.append(m_ids[index - 1]);
        m_selectedPercentages.append(m_numedtPulse[i]->IntValue());
    }
    accept();
}

void TfrmPulseSelect::btnCancelClick()
{
    reject();
}

void TfrmPulseSelect::reject()
{
    m_selectedIds.clear();
    m_selectedPercentages.clear();
    QDialog::reject();
}
