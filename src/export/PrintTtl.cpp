#include "export/PrintTtl.h"

#include "foundation/ErrorGuard.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const QString joiner = QStringLiteral(" - ");

bool fits(const QString &text)
{
    return text.size() < TfrmPrintTitle::MaxTitleLength;
}

// The value every data cell of the column holds, or an empty text when the
// cells differ.
QString commonValue(const TStringGrid &grid, int col)
{
    const int first = grid.FixedRows();
    if (first >= grid.RowCount())
        return QString();
    const QString value = grid.Cells(col, first);
    for (int row = first + 1; row < grid.RowCount(); ++row) {
        if (grid.Cells(col, row) != value)
            return QString();
    }
    return value;
}

// "first - other" when the non-blank cells of the column hold exactly two
// values (trimmed), else an empty text.
QString twoValues(const TStringGrid &grid, int col)
{
    QString first;
    QString other;
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        const QString value = grid.Cells(col, row).trimmed();
        if (value.isEmpty() || value == first || value == other)
            continue;
        if (first.isEmpty())
            first = value;
        else if (other.isEmpty())
            other = value;
        else
            return QString();
    }
    if (other.isEmpty() || !fits(first) || !fits(other))
        return QString();
    return first + joiner + other;
}
}

TfrmPrintTitle::TfrmPrintTitle(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintTitle"));
    setWindowTitle(QStringLiteral("Utskriftstitel"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    auto *suggestionsLabel = new QLabel(QStringLiteral("&Utskriftstitel"), this);
    layout->addWidget(suggestionsLabel);
    m_lstbxSuggestions = new QListWidget(this);
    m_lstbxSuggestions->setObjectName(QStringLiteral("lstbxSuggestions"));
    m_lstbxSuggestions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstbxSuggestions->setMinimumSize(360, 160);
    suggestionsLabel->setBuddy(m_lstbxSuggestions);
    layout->addWidget(m_lstbxSuggestions);

    auto *ownLabel = new QLabel(QStringLiteral("&Egen text"), this);
    layout->addWidget(ownLabel);
    m_cmbbxOwnText = new QComboBox(this);
    m_cmbbxOwnText->setObjectName(QStringLiteral("cmbbxOwnText"));
    m_cmbbxOwnText->setEditable(true);
    m_cmbbxOwnText->setInsertPolicy(QComboBox::NoInsert);
    m_cmbbxOwnText->lineEdit()->setMaxLength(MaxTitleLength);
    ownLabel->setBuddy(m_cmbbxOwnText);
    layout->addWidget(m_cmbbxOwnText);

    m_chkbxPrintEmpty = new QCheckBox(QStringLiteral("&Skriv ut tomma kolumner"), this);
    m_chkbxPrintEmpty->setObjectName(QStringLiteral("chkbxPrintEmpty"));
    layout->addWidget(m_chkbxPrintEmpty);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_lstbxSuggestions, &QListWidget::itemSelectionChanged, this, [this] { Guard([this] { lstbxSuggestionsClick(); }); });
    connect(m_lstbxSuggestions, &QListWidget::itemDoubleClicked, this, [this] { Guard([this] { btnOKClick(m_btnOK); }); });
    connect(m_btnOK, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(m_btnOK); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(m_btnCancel); }); });
}

TfrmPrintTitle::~TfrmPrintTitle() = default;

QStringList TfrmPrintTitle::Suggestions() const
{
    QStringList texts;
    for (int i = 0; i < m_lstbxSuggestions->count(); ++i)
        texts.append(m_lstbxSuggestions->item(i)->text());
    return texts;
}

void TfrmPrintTitle::SuggestFromGrid(const TStringGrid *grid, int columnCount, const QString &proposal)
{
    m_lstbxSuggestions->clear();
    m_defaultTitle.clear();
    QStringList suggestions;
    if (!proposal.trimmed().isEmpty()) {
        m_defaultTitle = proposal;
        suggestions.append(proposal);
    }
    m_hasEmptyColumn = false;
    if (grid) {
        const int last = std::min(columnCount, grid->ColCount());
        for (int col = grid->FixedCols(); col < last; ++col) {
            const QString value = commonValue(*grid, col);
            if (!value.trimmed().isEmpty() && fits(value))
                suggestions.append(value);
        }
        // Pairs and triples of what the columns have in common.
        const qsizetype n = suggestions.size();
        for (qsizetype i = 0; i < n; ++i) {
            for (qsizetype j = i + 1; j < n; ++j) {
                const QString pair = suggestions.at(i) + joiner + suggestions.at(j);
                if (fits(pair))
                    suggestions.append(pair);
            }
        }
        for (qsizetype i = 0; i < n; ++i) {
            for (qsizetype j = i + 1; j < n; ++j) {
                for (qsizetype k = j + 1; k < n; ++k) {
                    const QString triple = suggestions.at(i) + joiner + suggestions.at(j) + joiner + suggestions.at(k);
                    if (fits(triple))
                        suggestions.append(triple);
                }
            }
        }
        for (int col = grid->FixedCols(); col < last; ++col) {
            const QString pair = twoValues(*grid, col);
            if (!pair.isEmpty())
                suggestions.append(pair);
        }
        for (int col = grid->FixedCols(); col < grid->ColCount() && !m_hasEmptyColumn; ++col)
            m_hasEmptyColumn = TTulloUtilGrid::IsColumnEmpty(grid, col);
    }
    m_lstbxSuggestions->addItems(suggestions);
    m_chkbxPrintEmpty->setVisible(true);
    m_chkbxPrintEmpty->setEnabled(m_hasEmptyColumn);
    if (m_lstbxSuggestions->count() > 0)
        m_lstbxSuggestions->setCurrentRow(0);
}

void TfrmPrintTitle::SuggestFromList(const QStringList *list, const QString &proposal)
{
    m_lstbxSuggestions->clear();
    m_defaultTitle.clear();
    if (!proposal.trimmed().isEmpty()) {
        m_defaultTitle = proposal;
        m_lstbxSuggestions->addItem(proposal);
    }
    if (list)
        m_lstbxSuggestions->addItems(*list);
    m_lstbxSuggestions->setCurrentRow(-1);
    m_lstbxSuggestions->clearSelection();
    m_hasEmptyColumn = false;
    m_chkbxPrintEmpty->setChecked(false);
    m_chkbxPrintEmpty->setVisible(false);
}

QString TfrmPrintTitle::GetTitle() const
{
    const QString own = m_cmbbxOwnText->currentText();
    if (!own.trimmed().isEmpty())
        return own;
    const QList<QListWidgetItem *> selected = m_lstbxSuggestions->selectedItems();
    if (!selected.isEmpty())
        return selected.constFirst()->text();
    return m_defaultTitle;
}

bool TfrmPrintTitle::PrintEmptyColumns() const
{
    return m_chkbxPrintEmpty->isChecked();
}

void TfrmPrintTitle::lstbxSuggestionsClick()
{
    const QList<QListWidgetItem *> selected = m_lstbxSuggestions->selectedItems();
    if (!selected.isEmpty())
        m_cmbbxOwnText->setEditText(selected.constFirst()->text());
}

void TfrmPrintTitle::RememberTitle()
{
    const QString title = GetTitle();
    if (title.trimmed().isEmpty() || m_cmbbxOwnText->findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    // Adding the first item would put it into the edit; the edit keeps
    // what it shows.
    const QString shown = m_cmbbxOwnText->currentText();
    m_cmbbxOwnText->addItem(title);
    m_cmbbxOwnText->setEditText(shown);
}

void TfrmPrintTitle::btnOKClick(QPushButton *sender)
{
    RememberTitle();
    if (sender == m_btnOK)
        QDialog::accept();
    else
        QDialog::reject();
}

void TfrmPrintTitle::reject()
{
    // Escape and the window's close box cancel as the cancel button does.
    Guard([this] { RememberTitle(); });
    QDialog::reject();
}

void TfrmPrintTitle::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_lstbxSuggestions->count() > 0)
        m_lstbxSuggestions->setFocus();
    else
        m_cmbbxOwnText->setFocus();
}
