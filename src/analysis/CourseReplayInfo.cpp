#include "analysis/CourseReplayInfo.h"

#include "analysis/Replay.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\ReplayInfoWindow");
constexpr int fieldPitch = 52;
constexpr int fieldWidth = 48;
}

TfrmReplayInfo::TfrmReplayInfo(const TReplayItem &item, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReplayInfo"));
    setWindowTitle(QStringLiteral("Uppspelningsinformation"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(QStringLiteral("Datum - Tid (min)"), this));
    m_lblDateTime = new QLabel(item.Date + QStringLiteral("   -   ") + item.TotalTime, this);
    m_lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    QFont bold = font();
    bold.setBold(true);
    m_lblDateTime->setFont(bold);
    layout->addWidget(m_lblDateTime);
    layout->addWidget(new QLabel(QStringLiteral("Distans från täten (m)"), this));
    m_lblBehind = new QLabel(TTulloUtilString::FormatFixed(0, item.Behind * 1000.0), this);
    m_lblBehind->setObjectName(QStringLiteral("lblBehind"));
    m_lblBehind->setFont(bold);
    layout->addWidget(m_lblBehind);

    auto *box = new QGroupBox(QStringLiteral("Mellantider (min)"), this);
    box->setObjectName(QStringLiteral("grbxSplits"));
    auto *boxLayout = new QVBoxLayout(box);
    int shown = 0;
    for (int i = 0; i < TReplayItem::MaxSplits; ++i)
        if (!item.Splits.at(std::size_t(i)).trimmed().isEmpty())
            shown = i + 1;
    if (item.Splits.at(0).trimmed().isEmpty())
        shown = 0;
    auto *row = new QWidget(box);
    row->setObjectName(QStringLiteral("pnlSplits"));
    row->setMinimumSize(std::max(200, shown * fieldPitch + 4), 70);
    for (int i = 0; i < shown; ++i) {
        auto *number = new QLabel(QString::number(i + 1), row);
        number->setGeometry(i * fieldPitch, 0, fieldWidth, 16);
        number->setAlignment(Qt::AlignCenter);
        auto *field = new QLineEdit(item.Splits.at(std::size_t(i)), row);
        field->setObjectName(QStringLiteral("edtSplit%1").arg(i + 1));
        field->setReadOnly(true);
        field->setGeometry(i * fieldPitch, 18, fieldWidth, 22);
        auto *computed = new QCheckBox(row);
        computed->setObjectName(QStringLiteral("chkbxComputed%1").arg(i + 1));
        computed->setChecked(item.Interpolated.at(std::size_t(i)));
        computed->setEnabled(false);
        computed->setToolTip(QStringLiteral("Beräknad"));
        computed->setGeometry(i * fieldPitch + fieldWidth / 2 - 8, 44, 20, 20);
        m_splits.append(field);
        m_computed.append(computed);
    }
    auto *scroll = new QScrollArea(box);
    scroll->setWidget(row);
    scroll->setWidgetResizable(false);
    scroll->setMinimumHeight(90);
    boxLayout->addWidget(scroll);
    auto *legend = new QLabel(QStringLiteral("Ikryssad ruta: Beräknad"), box);
    boxLayout->addWidget(legend);
    m_lblNoSplits = new QLabel(QStringLiteral("Inga mellantider"), box);
    m_lblNoSplits->setObjectName(QStringLiteral("lblNoSplits"));
    m_lblNoSplits->setVisible(shown == 0);
    legend->setVisible(shown > 0);
    scroll->setVisible(shown > 0);
    boxLayout->addWidget(m_lblNoSplits);
    layout->addWidget(box);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(std::min(shown * fieldPitch + 60, 900), sizeHint().height());
    Guard([this] { LoadWindowState(windowKey, this); });
}

TfrmReplayInfo::~TfrmReplayInfo()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

QString TfrmReplayInfo::DateTimeText() const
{
    return m_lblDateTime->text();
}

QString TfrmReplayInfo::BehindText() const
{
    return m_lblBehind->text();
}

QStringList TfrmReplayInfo::SplitTexts() const
{
    QStringList texts;
    for (const QLineEdit *field : m_splits)
        texts.append(field->text());
    return texts;
}

QList<bool> TfrmReplayInfo::Computed() const
{
    QList<bool> computed;
    for (const QCheckBox *box : m_computed)
        computed.append(box->isChecked());
    return computed;
}

bool TfrmReplayInfo::NoSplitsShown() const
{
    return !m_lblNoSplits->isHidden();
}
