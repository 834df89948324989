#include "foundation/Find.h"

#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmFind::TfrmFind(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Sök efter text"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_cmbbxSearch = new QComboBox(this);
    m_cmbbxSearch->setObjectName(QStringLiteral("cmbbxSearch"));
    m_cmbbxSearch->setEditable(true);
    // The history grows only through btnFindClick.
    m_cmbbxSearch->setInsertPolicy(QComboBox::NoInsert);
    // Case matters to a search with "Matcha kasus": the box must not swap
    // the typed text for a history entry that differs only in case when the
    // edit loses the focus.
    m_cmbbxSearch->completer()->setCaseSensitivity(Qt::CaseSensitive);
    m_cmbbxSearch->setMinimumContentsLength(24);
    auto *label = new QLabel(QStringLiteral("Sök &text"), this);
    label->setBuddy(m_cmbbxSearch);

    m_rgDirection = new QGroupBox(QStringLiteral("Riktning"), this);
    m_rgDirection->setObjectName(QStringLiteral("rgDirection"));
    m_rgbForward = new QRadioButton(QStringLiteral("F&ramåt"), m_rgDirection);
    m_rgbForward->setObjectName(QStringLiteral("rgbForward"));
    m_rgbBackward = new QRadioButton(QStringLiteral("&Bakåt"), m_rgDirection);
    m_rgbBackward->setObjectName(QStringLiteral("rgbBackward"));
    auto *directionLayout = new QVBoxLayout(m_rgDirection);
    directionLayout->addWidget(m_rgbForward);
    directionLayout->addWidget(m_rgbBackward);

    m_rgOrigin = new QGroupBox(QStringLiteral("Startpunkt"), this);
    m_rgOrigin->setObjectName(QStringLiteral("rgOrigin"));
    m_rgbFromCursor = new QRadioButton(QStringLiteral("&Från markör"), m_rgOrigin);
    m_rgbFromCursor->setObjectName(QStringLiteral("rgbFromCursor"));
    m_rgbEntireScope = new QRadioButton(QStringLiteral("&Hela tabellfältet"), m_rgOrigin);
    m_rgbEntireScope->setObjectName(QStringLiteral("rgbEntireScope"));
    auto *originLayout = new QVBoxLayout(m_rgOrigin);
    originLayout->addWidget(m_rgbFromCursor);
    originLayout->addWidget(m_rgbEntireScope);

    m_chkbxMatchCase = new QCheckBox(QStringLiteral("&Matcha kasus"), this);
    m_chkbxMatchCase->setObjectName(QStringLiteral("chkbxMatchCase"));

    m_btnFind = new QPushButton(QStringLiteral("&Sök"), this);
    m_btnFind->setObjectName(QStringLiteral("btnFind"));
    m_btnFind->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_btnFind, &QPushButton::clicked, this, [this] { Guard([this] { btnFindClick(); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *search = new QHBoxLayout;
    search->addWidget(label);
    search->addWidget(m_cmbbxSearch, 1);
    auto *groups = new QHBoxLayout;
    groups->addWidget(m_rgDirection);
    groups->addWidget(m_rgOrigin);
    auto *left = new QVBoxLayout;
    left->addLayout(search);
    left->addLayout(groups);
    left->addWidget(m_chkbxMatchCase);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_btnFind);
    buttons->addWidget(m_btnCancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // FormCreate: the whole grid, forwards, case ignored.
    m_rgbEntireScope->setChecked(true);
    m_rgbForward->setChecked(true);
    m_chkbxMatchCase->setChecked(false);
}

void TfrmFind::SetRegistryKey(const QString &key)
{
    m_registryKey = key;
}

QString TfrmFind::Text() const
{
    return m_cmbbxSearch->currentText();
}

bool TfrmFind::FromCursor() const
{
    return m_rgbFromCursor->isChecked();
}

bool TfrmFind::Backwards() const
{
    return m_rgbBackward->isChecked();
}

bool TfrmFind::MatchCase() const
{
    return m_chkbxMatchCase->isChecked();
}

void TfrmFind::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Guard([this] { FormShow(); });
}

void TfrmFind::FormShow()
{
    if (!m_registryKey.isEmpty()) {
        const QString typed = m_cmbbxSearch->currentText();
        TDefRegistry registry(TDefRegistry::THive::User);
        if (registry.OpenKey(m_registryKey, false)) {
            registry.ReadComboStrings(m_cmbbxSearch, 0);
            registry.CloseKey();
        }
        m_cmbbxSearch->setEditText(typed);
    }
    m_cmbbxSearch->setFocus();
    m_cmbbxSearch->lineEdit()->selectAll();
}

void TfrmFind::btnFindClick()
{
    const QString text = m_cmbbxSearch->currentText();
    // A blank text is no search worth remembering.
    // MatchFixedString without MatchCaseSensitive ignores case.
    if (!text.trimmed().isEmpty() && m_cmbbxSearch->findText(text, Qt::MatchFixedString) < 0) {
        m_cmbbxSearch->insertItem(0, text);
        m_cmbbxSearch->setCurrentIndex(0);
    }
    accept();
}

void TfrmFind::done(int result)
{
    Guard([this] { FormClose(); });
    QDialog::done(result);
}

void TfrmFind::FormClose()
{
    if (m_registryKey.isEmpty())
        return;
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(m_registryKey, true);
    registry.WriteComboStrings(m_cmbbxSearch);
    registry.CloseKey();
}
