#include "app/DbSelect.h"

#include "app/CorvaleApp.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
const QString namesKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\DbSelectNames");
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\DbSelectWindow");
}

TfrmDbSelect::TfrmDbSelect(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmDbSelect"));
    setWindowTitle(QStringLiteral("Välj användare"));
    setModal(true);

    auto *grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_rgbDb[i] = new QRadioButton(QStringLiteral("Användare &%1").arg(i + 1), this);
        m_rgbDb[i]->setObjectName(QStringLiteral("rgbDb%1").arg(i + 1));
        m_edtDbName[i] = new QLineEdit(this);
        m_edtDbName[i]->setObjectName(QStringLiteral("edtDbName%1").arg(i + 1));
        grid->addWidget(m_rgbDb[i], i, 0);
        grid->addWidget(m_edtDbName[i], i, 1);
        // Typing a name chooses its slot.
        connect(m_edtDbName[i], &QLineEdit::textEdited, this, [this, i] { m_rgbDb[i]->setChecked(true); });
    }
    m_rgbDb[0]->setChecked(true);

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnHelp = new QPushButton(QStringLiteral("&Hjälp"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    connect(m_btnOK, &QPushButton::clicked, this, [this] { Guard([this] { btnOKClick(); }); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { Guard([this] { btnCancelClick(); }); });
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { Guard([this] { btnHelpClick(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    LoadNames();
}

void TfrmDbSelect::LoadNames()
{
    {
        TDefRegistry registry(TDefRegistry::THive::Machine);
        registry.OpenKey(namesKey, true);
        for (int i = 0; i < 4; ++i)
            m_edtDbName[i]->setText(registry.ReadStringDef(QString::number(i + 1), QStringLiteral("Användare %1").arg(i + 1)));
        registry.CloseKey();
    }
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(windowKey, true);
    registry.ReadPosition(this);
    registry.CloseKey();
}

void TfrmDbSelect::SaveNames(bool withNames)
{
    if (withNames) {
        TDefRegistry registry(TDefRegistry::THive::Machine);
        registry.OpenKey(namesKey, true);
        for (int i = 0; i < 4; ++i)
            registry.WriteString(QString::number(i + 1), m_edtDbName[i]->text());
        registry.CloseKey();
    }
    TDefRegistry registry(TDefRegistry::THive::User);
    registry.OpenKey(windowKey, true);
    registry.WritePosition(this);
    registry.CloseKey();
}

void TfrmDbSelect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    bool anyEnabled = false;
    for (int i = 0; i < 4; ++i) {
        const QString path = m_app.GetDbPathOf(i + 1);
        const bool exists = TUsers::IsRemote(m_app.GetLocation()) || QFileInfo(path).isFile();
        m_edtDbName[i]->setEnabled(exists);
        m_rgbDb[i]->setEnabled(exists);
        anyEnabled = anyEnabled || exists;
    }
    m_btnOK->setEnabled(anyEnabled);
    for (int i = 3; i >= 0; --i) {
        if (i + 1 == m_app.GetUserNumber() && m_rgbDb[i]->isEnabled()) {
            m_rgbDb[i]->setChecked(true);
            m_rgbDb[i]->setFocus();
        }
    }
}

void TfrmDbSelect::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Guard([this] { btnHelpClick(); });
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        Guard([this] { btnCancelClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

int TfrmDbSelect::SelectedUser() const
{
    for (int i = 3; i >= 1; --i) {
        if (m_rgbDb[i]->isChecked())
            return i + 1;
    }
    return 1;
}

QString TfrmDbSelect::SelectedName() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_rgbDb[i]->isChecked())
            return m_edtDbName[i]->text();
    }
    return QString();
}

void TfrmDbSelect::btnOKClick()
{
    // A disabled slot may still be checked from an earlier showing; only an
    // existing diary can be chosen.
    if (!m_rgbDb[SelectedUser() - 1]->isEnabled()) {
        ShowMessageBox(QStringLiteral("Användare %1 har ingen dagbok. Välj en annan användare.").arg(SelectedUser()),
                       TMessageKind::Error, TMessageButton::OK);
        return;
    }
    SaveNames(true);
    accept();
}

void TfrmDbSelect::btnCancelClick()
{
    SaveNames(false);
    reject();
}

void TfrmDbSelect::btnHelpClick()
{
    m_app.ShowHelp(69);
}
