#include "foundation/Sorting.h"

#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace
{
const QString ascending = QStringLiteral("Stigande");
const QString descending = QStringLiteral("Fallande");
const QString alphabetic = QStringLiteral("Alfabetiskt");
const QString numeric = QStringLiteral("Numeriskt");
const QString byDate = QStringLiteral("Datum");

struct TKeyTexts
{
    const char *panelTitle;
    const char *column;
    const char *mode;
    const char *direction;
};

// Each key's labels carry an accelerator of their own.
const TKeyTexts keyTexts[3] = {
    {"Sortera efter", "&Kolumn", "&Sätt", "&Riktning"},
    {"Sedan efter", "Ko&lumn", "S&ätt", "R&iktning"},
    {"Sedan efter", "Kol&umn", "Sä&tt", "Rikt&ning"},
};

// Selects the entry with the text when the list holds it; returns whether it did.
bool selectText(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    return true;
}

QComboBox *dropDown(QWidget *parent, const QString &name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}
} // namespace

TfrmSort::TfrmSort(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSort"));
    setWindowTitle(QStringLiteral("Sortera"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *panels = new QHBoxLayout;
    for (int k = 0; k < 3; ++k) {
        TKeyControls &key = m_keys[k];
        key.panel = new QFrame(this);
        key.panel->setObjectName(QStringLiteral("pnl%1").arg(k + 1));
        key.panel->setFrameShape(QFrame::StyledPanel);
        key.column = dropDown(key.panel, QStringLiteral("cmbbxSortCol%1").arg(k + 1));
        key.mode = dropDown(key.panel, QStringLiteral("cmbbxSortMode%1").arg(k + 1));
        key.direction = dropDown(key.panel, QStringLiteral("cmbbxSortDir%1").arg(k + 1));

        auto *layout = new QGridLayout(key.panel);
        auto *title = new QLabel(QString::fromUtf8(keyTexts[k].panelTitle), key.panel);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        layout->addWidget(title, 0, 0, 1, 2);
        const std::pair<const char *, QComboBox *> rows[3] = {
            {keyTexts[k].column, key.column}, {keyTexts[k].mode, key.mode}, {keyTexts[k].direction, key.direction}};
        for (int i = 0; i < 3; ++i) {
            auto *label = new QLabel(QString::fromUtf8(rows[i].first), key.panel);
            label->setBuddy(rows[i].second);
            layout->addWidget(label, i + 1, 0);
            layout->addWidget(rows[i].second, i + 1, 1);
        }
        panels->addWidget(key.panel);
    }
    connect(m_keys[1].column, &QComboBox::currentIndexChanged, this, [this] { Guard([this] { SortColChange(); }); });
    connect(m_keys[2].column, &QComboBox::currentIndexChanged, this, [this] { Guard([this] { SortColChange(); }); });

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panels);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmSort::SetGrid(TComplexGrid *grid)
{
    m_grid = grid;
}

void TfrmSort::SetRegistryKey(const QString &key)
{
    m_registryKey = key;
}

void TfrmSort::SetDateMode(bool on)
{
    m_dateMode = on;
}

void TfrmSort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Guard([this] { FormShow(); });
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TfrmSort::FormShow()
{
    QString stored[3][3]; // [key][column, mode, direction]
    if (!m_registryKey.isEmpty()) {
        TDefRegistry registry(TDefRegistry::THive::User);
        if (registry.OpenKey(m_registryKey, false)) {
            for (int k = 0; k < 3; ++k) {
                stored[k][0] = registry.ReadStringDef(QStringLiteral("SortCol%1").arg(k + 1), QString());
                stored[k][1] = registry.ReadStringDef(QStringLiteral("SortMod%1").arg(k + 1), QString());
                stored[k][2] = registry.ReadStringDef(QStringLiteral("SortDir%1").arg(k + 1), QString());
            }
            registry.CloseKey();
        }
    }

    QStringList titles;
    m_columns.clear();
    if (m_grid && m_grid->RowCount() > 0) {
        for (int col = 0; col < m_grid->ColCount(); ++col) {
            QString title = m_grid->Cells(col, 0);
            if (title.isEmpty())
                continue;
            title.replace(QLatin1Char('\r'), QLatin1Char(' '));
            title.replace(QLatin1Char('\n'), QLatin1Char(' '));
            titles.append(title);
            m_columns.append(col);
        }
    }

    for (int k = 0; k < 3; ++k) {
        TKeyControls &key = m_keys[k];
        const QSignalBlocker blockColumn(key.column);
        key.column->clear();
        key.mode->clear();
        key.direction->clear();
        if (k > 0)
            key.column->addItem(QString());
        key.column->addItems(titles);
        key.mode->addItems({alphabetic, numeric});
        if (m_dateMode)
            key.mode->addItem(byDate);
        key.direction->addItems({ascending, descending});

        key.column->setCurrentIndex(0);
        key.mode->setCurrentIndex(0);
        key.direction->setCurrentIndex(0);
        if (selectText(key.column, stored[k][0])) {
            selectText(key.mode, stored[k][1]);
            selectText(key.direction, stored[k][2]);
        }
    }

    const bool any = !titles.isEmpty();
    for (TKeyControls &key : m_keys)
        key.panel->setEnabled(any);
    m_btnOK->setEnabled(any);
    m_keys[0].column->setFocus();
    SortColChange();
}

void TfrmSort::SortColChange()
{
    const bool second = !m_keys[1].column->currentText().isEmpty();
    const bool third = !m_keys[2].column->currentText().isEmpty();
    m_keys[1].mode->setEnabled(second);
    m_keys[1].direction->setEnabled(second);
    m_keys[2].mode->setEnabled(third);
    m_keys[2].direction->setEnabled(third);
    m_keys[2].column->setEnabled(second);
}

void TfrmSort::done(int result)
{
    Guard([this] { FormClose(); });
    QDialog::done(result);
}

void TfrmSort::FormClose()
{
    m_dateMode = false;
    if (m_registryKey.isEmpty())
        return;
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(m_registryKey, true);
    for (int k = 0; k < 3; ++k) {
        registry.WriteString(QStringLiteral("SortCol%1").arg(k + 1), m_keys[k].column->currentText());
        registry.WriteString(QStringLiteral("SortMod%1").arg(k + 1), m_keys[k].mode->currentText());
        registry.WriteString(QStringLiteral("SortDir%1").arg(k + 1), m_keys[k].direction->currentText());
    }
    registry.CloseKey();
}

int TfrmSort::ColumnOfChoice(int key) const
{
    // The list position stands for the grid column it was made from, so
    // that a grid with an untitled column still sorts the column chosen.
    const int position = m_keys[key].column->currentIndex() - (key > 0 ? 1 : 0);
    if (position < 0 || position >= m_columns.size())
        return -1;
    return m_columns[position];
}

TSortRecord TfrmSort::GetSortRecord() const
{
    TSortRecord record;
    for (int k = 0; k < 3; ++k) {
        record.Cols[std::size_t(k)] = ColumnOfChoice(k);
        const QString mode = m_keys[k].mode->currentText();
        if (mode == alphabetic || mode == QLatin1String("Alphabetically"))
            record.Styles[std::size_t(k)] = TSortStyle::Alphabetic;
        else if (mode == byDate || mode == QLatin1String("By date"))
            record.Styles[std::size_t(k)] = TSortStyle::Date;
        else
            record.Styles[std::size_t(k)] = TSortStyle::Numeric;
        const QString direction = m_keys[k].direction->currentText();
        record.Directions[std::size_t(k)] = (direction == ascending || direction == QLatin1String("Ascending"))
                                                ? TSortDirection::Ascending
                                                : TSortDirection::Descending;
        record.CaseSensitive[std::size_t(k)] = false;
    }
    return record;
}
