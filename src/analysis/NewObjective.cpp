#include "analysis/NewObjective.h"

#include "app/CorvaleApp.h"
#include "foundation/ErrorGuard.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
constexpr int nameLength = 60;
constexpr int createHelpTopic = 59;
}

TfrmNewObjective::TfrmNewObjective(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmNewObjective"));
    setWindowTitle(QStringLiteral("Ny målsättning"));
    auto *layout = new QVBoxLayout(this);

    auto *label = new QLabel(QStringLiteral("&Namn"), this);
    label->setObjectName(QStringLiteral("lblName"));
    m_edtName = new QLineEdit(this);
    m_edtName->setObjectName(QStringLiteral("edtName"));
    m_edtName->setMaxLength(nameLength);
    label->setBuddy(m_edtName);
    layout->addWidget(label);
    layout->addWidget(m_edtName);

    auto *box = new QGroupBox(QStringLiteral("Målsättningstyp"), this);
    box->setObjectName(QStringLiteral("grbxObjective"));
    auto *boxLayout = new QVBoxLayout(box);
    m_rgObjective = new QButtonGroup(box);
    m_rgObjective->setObjectName(QStringLiteral("rgObjective"));
    const QStringList types{QStringLiteral("Vecka"), QStringLiteral("Månad"), QStringLiteral("Vikt")};
    for (int i = 0; i < types.size(); ++i) {
        auto *radio = new QRadioButton(types.at(i), box);
        radio->setObjectName(QStringLiteral("rgObjective%1").arg(i));
        m_rgObjective->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    m_rgObjective->button(0)->setChecked(true);
    layout->addWidget(box);

    auto *buttons = new QHBoxLayout;
    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnHelp = new QPushButton(QStringLiteral("&Hjälp"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    buttons->addStretch(1);
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnHelp);
    layout->addLayout(buttons);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The help tells how a goal is made.
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { Guard([this] { m_app.ShowHelp(createHelpTopic); }); });
}

void TfrmNewObjective::keyPressEvent(QKeyEvent *event)
{
    // F1 as the help button, as in the program's other dialogs.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { m_app.ShowHelp(createHelpTopic); });
        return;
    }
    QDialog::keyPressEvent(event);
}

QString TfrmNewObjective::Name() const
{
    return m_edtName->text();
}

int TfrmNewObjective::GoalType() const
{
    return m_rgObjective->checkedId();
}

void TfrmNewObjective::SetGoalType(int type)
{
    if (QAbstractButton *button = m_rgObjective->button(type))
        button->setChecked(true);
}

void TfrmNewObjective::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_edtName->clear();
    m_edtName->setFocus();
}
