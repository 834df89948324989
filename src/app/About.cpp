#include "app/About.h"

#include "app/CorvaleApp.h"
#include "foundation/ErrorGuard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Om Ternvall"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imgApp"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(48, 48));
    m_lblAppName = new QLabel(QStringLiteral("Ternvall"), this);
    m_lblAppName->setObjectName(QStringLiteral("lblAppName"));
    QFont large = m_lblAppName->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    m_lblAppName->setFont(large);
    m_lblAppVersion = new QLabel(QStringLiteral("Version 2.3.0"), this);
    m_lblAppVersion->setObjectName(QStringLiteral("lblAppVersion"));

    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(m_lblAppName);
    texts->addWidget(m_lblAppVersion);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && !(event->modifiers() & Qt::ShiftModifier)) {
        Guard([this] { m_app.ShowHelp(0); });
        return;
    }
    QDialog::keyPressEvent(event);
}
