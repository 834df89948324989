#include "foundation/GenericName.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TfrmGenericName::TfrmGenericName(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGenericName"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_edtSetName = new QLineEdit(this);
    m_edtSetName->setObjectName(QStringLiteral("edtSetName"));
    m_edtSetName->setMinimumWidth(280);
    m_lblSetName = new QLabel(this);
    m_lblSetName->setObjectName(QStringLiteral("lblSetName"));
    m_lblSetName->setBuddy(m_edtSetName);

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
    layout->addWidget(m_lblSetName);
    layout->addWidget(m_edtSetName);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmGenericName::SetLabel(const QString &text)
{
    m_lblSetName->setText(text);
}

QString TfrmGenericName::Label() const
{
    return m_lblSetName->text();
}

void TfrmGenericName::SetText(const QString &text)
{
    m_edtSetName->setText(text);
}

QString TfrmGenericName::Text() const
{
    return m_edtSetName->text();
}

void TfrmGenericName::SetMaxLength(int length)
{
    m_edtSetName->setMaxLength(length);
}

int TfrmGenericName::MaxLength() const
{
    return m_edtSetName->maxLength();
}

void TfrmGenericName::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_edtSetName->setFocus();
    m_edtSetName->selectAll();
}
