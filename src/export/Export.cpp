#include "export/Export.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/Exceptions.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const QString exportKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\Export");
const QStringList separatorCaptions = {QStringLiteral("Tab"), QStringLiteral("Semikolon"), QStringLiteral("Kolon"),
                                       QStringLiteral("Komma")};
} // namespace

TfrmExport::TfrmExport(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Exportera aktiviteter"));
    setModal(true);

    m_rgSeparator = new QGroupBox(QStringLiteral("&Separator"), this);
    m_rgSeparator->setObjectName(QStringLiteral("rgSeparator"));
    m_separators = new QButtonGroup(this);
    auto *separatorLayout = new QVBoxLayout(m_rgSeparator);
    for (int i = 0; i < separatorCaptions.size(); ++i) {
        auto *radio = new QRadioButton(separatorCaptions.at(i), m_rgSeparator);
        radio->setObjectName(QStringLiteral("rbtnSeparator%1").arg(i));
        m_separators->addButton(radio, i);
        separatorLayout->addWidget(radio);
    }

    m_chbxReplace = new QCheckBox(QStringLiteral("&Ersätt separatortecken i data med:"), this);
    m_chbxReplace->setObjectName(QStringLiteral("chbxReplace"));
    m_edtReplace = new QLineEdit(this);
    m_edtReplace->setObjectName(QStringLiteral("edtReplace"));
    m_edtReplace->setMaxLength(1);
    m_edtReplace->setMaximumWidth(40);
    m_chkbxHTML = new QCheckBox(QStringLiteral("Exportera som &HTML"), this);
    m_chkbxHTML->setObjectName(QStringLiteral("chkbxHTML"));

    m_lblFileName = new QLabel(QStringLiteral("&Filnamn"), this);
    m_lblFileName->setObjectName(QStringLiteral("lblFileName"));
    m_edtFilename = new QLineEdit(this);
    m_edtFilename->setObjectName(QStringLiteral("edtFilename"));
    m_edtFilename->setMinimumWidth(320);
    m_lblFileName->setBuddy(m_edtFilename);
    m_bbtnFolder = new QToolButton(this);
    m_bbtnFolder->setObjectName(QStringLiteral("bbtnFolder"));
    m_bbtnFolder->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_bbtnFolder->setToolTip(QStringLiteral("Välj fil"));

    m_pgsbrExport = new QProgressBar(this);
    m_pgsbrExport->setObjectName(QStringLiteral("pgsbrExport"));
    m_pgsbrExport->setTextVisible(false);

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("&Avbryt"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnHelp = new QPushButton(QStringLiteral("&Hjälp"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));

    // The save dialog is the program's own, so that its labels can be
    // Swedish.
    m_svdlgExport = new QFileDialog(this);
    m_svdlgExport->setObjectName(QStringLiteral("svdlgExport"));
    m_svdlgExport->setOption(QFileDialog::DontUseNativeDialog, true);
    m_svdlgExport->setAcceptMode(QFileDialog::AcceptSave);
    m_svdlgExport->setFileMode(QFileDialog::AnyFile);
    m_svdlgExport->setSizeGripEnabled(true);
    m_svdlgExport->setLabelText(QFileDialog::FileType, QStringLiteral("Visa filtyper:"));
    m_svdlgExport->setLabelText(QFileDialog::FileName, QStringLiteral("Filnamn:"));
    m_svdlgExport->setLabelText(QFileDialog::LookIn, QStringLiteral("Spara i:"));
    m_svdlgExport->setLabelText(QFileDialog::Accept, QStringLiteral("&Spara"));
    m_svdlgExport->setLabelText(QFileDialog::Reject, QStringLiteral("&Avbryt"));

    auto *choices = new QGridLayout;
    choices->addWidget(m_rgSeparator, 0, 0, 3, 1);
    auto *replaceRow = new QHBoxLayout;
    replaceRow->addWidget(m_chbxReplace);
    replaceRow->addWidget(m_edtReplace);
    replaceRow->addStretch();
    choices->addLayout(replaceRow, 0, 1);
    choices->addWidget(m_chkbxHTML, 1, 1);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_lblFileName);
    fileRow->addWidget(m_edtFilename, 1);
    fileRow->addWidget(m_bbtnFolder);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(fileRow);
    layout->addWidget(m_pgsbrExport);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto guarded = [this](void (TfrmExport::*handler)()) {
        return [this, handler] { Guard([this, handler] { (this->*handler)(); }); };
    };
    connect(m_chkbxHTML, &QCheckBox::clicked, this, guarded(&TfrmExport::chkbxHTMLClick));
    connect(m_bbtnFolder, &QToolButton::clicked, this, guarded(&TfrmExport::bbtnFolderClick));
    connect(m_btnOK, &QPushButton::clicked, this, guarded(&TfrmExport::btnOKClick));
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnHelp, &QPushButton::clicked, this, guarded(&TfrmExport::btnHelpClick));
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, guarded(&TfrmExport::btnHelpClick));

    FormCreate();
}

TfrmExport::~TfrmExport()
{
    Guard([this] { FormDestroy(); });
}

void TfrmExport::FormCreate()
{
    m_pgsbrExport->setMinimum(0);
    m_pgsbrExport->setValue(0);
    ReadChoices();
    chkbxHTMLClick();
    if (m_startFolder.isEmpty()) {
        m_startFolder = qEnvironmentVariable("TEMP");
        if (m_startFolder.isEmpty())
            m_startFolder = qEnvironmentVariable("TMP");
    }
    m_edtFilename->setText(m_startFolder);
    m_svdlgExport->setDirectory(QFileInfo(m_startFolder).isDir() ? m_startFolder : QFileInfo(m_startFolder).absolutePath());
}

void TfrmExport::FormDestroy()
{
    m_startFolder = m_edtFilename->text();
    WriteChoices();
}

void TfrmExport::ReadChoices()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    SetSeparatorIndex(0);
    if (!registry.OpenKey(exportKey, false))
        return;
    m_startFolder = registry.ReadStringDef(QStringLiteral("StartFolder"), QString());
    const int separator = registry.ReadIntegerDef(QStringLiteral("Separator"), 0);
    if (separator >= 1 && separator < separatorCaptions.size())
        SetSeparatorIndex(separator);
    m_chbxReplace->setChecked(registry.ReadBoolDef(QStringLiteral("Replace"), false));
    m_edtReplace->setText(registry.ReadStringDef(QStringLiteral("ReplaceText"), QString()));
    m_chkbxHTML->setChecked(registry.ReadBoolDef(QStringLiteral("Html"), false));
    registry.CloseKey();
}

void TfrmExport::WriteChoices()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(exportKey, true))
        return;
    registry.WriteString(QStringLiteral("StartFolder"), m_startFolder);
    registry.WriteIntegerAtLeast(QStringLiteral("Separator"), SeparatorIndex(), 0);
    registry.WriteBool(QStringLiteral("Replace"), m_chbxReplace->isChecked());
    registry.WriteString(QStringLiteral("ReplaceText"), m_edtReplace->text());
    registry.WriteBool(QStringLiteral("Html"), m_chkbxHTML->isChecked());
    registry.CloseKey();
}

int TfrmExport::SeparatorIndex() const
{
    return m_separators->checkedId();
}

void TfrmExport::SetSeparatorIndex(int index)
{
    if (QAbstractButton *button = m_separators->button(index))
        button->setChecked(true);
}

void TfrmExport::chkbxHTMLClick()
{
    const bool text = !m_chkbxHTML->isChecked();
    m_rgSeparator->setEnabled(text);
    m_chbxReplace->setEnabled(text);
    m_edtReplace->setEnabled(text);
}

void TfrmExport::bbtnFolderClick()
{
    m_svdlgExport->setWindowTitle(QStringLiteral("Välj fil dit aktiviteterna skall skrivas"));
    if (m_chkbxHTML->isChecked()) {
        m_svdlgExport->setDefaultSuffix(QStringLiteral("html"));
        m_svdlgExport->setNameFilters({QStringLiteral("Html filer (*.html *.htm)"), QStringLiteral("Alla filer (*)")});
    } else {
        m_svdlgExport->setDefaultSuffix(QStringLiteral("txt"));
        m_svdlgExport->setNameFilters({QStringLiteral("Text filer (*.txt)"), QStringLiteral("Alla filer (*)")});
    }
    if (m_svdlgExport->exec() != QDialog::Accepted || m_svdlgExport->selectedFiles().isEmpty())
        return;
    const QString chosen = m_svdlgExport->selectedFiles().constFirst();
    const QFileInfo info(chosen);
    if (info.exists() && !info.isWritable()) {
        ShowMessageBox(QStringLiteral("Filen ") + chosen + QStringLiteral(" är skrivskyddad. Välj en annan fil."),
                       TMessageKind::Warning, TMessageButton::OK);
        m_edtFilename->setFocus();
        return;
    }
    m_edtFilename->setText(chosen);
    m_startFolder = chosen;
    m_svdlgExport->setDirectory(info.absolutePath());
}

bool TfrmExport::CheckFileName()
{
    const QString name = m_edtFilename->text().trimmed();
    QString reason;
    const QFileInfo info(name);
    if (name.isEmpty())
        reason = QStringLiteral("Ange filen som aktiviteterna ska skrivas till.");
    else if (info.isDir())
        reason = QStringLiteral("%1 är en mapp. Ange namnet på filen som aktiviteterna ska skrivas till.").arg(name);
    if (reason.isEmpty())
        return true;
    ShowMessageBox(reason, TMessageKind::Warning, TMessageButton::OK);
    m_edtFilename->setFocus();
    m_edtFilename->selectAll();
    return false;
}

void TfrmExport::btnOKClick()
{
    if (!CheckFileName())
        return;
    const int n = m_app.GetLoadedCount();
    m_pgsbrExport->setMinimum(0);
    m_pgsbrExport->setValue(0);
    m_pgsbrExport->setMaximum(3 * n + 2);
    m_pgsbrExport->repaint();
    m_btnOK->setEnabled(false);
    m_btnCancel->setEnabled(false);
    auto restore = [this] {
        m_pgsbrExport->setValue(0);
        m_btnOK->setEnabled(true);
        m_btnCancel->setEnabled(true);
    };
    int count = 0;
    int replaced = 0;
    try {
        TBusyPeriod busy(CorvaleForms().CursorManagement());
        count = m_app.Export(m_edtFilename->text(), QString::fromUtf8(ExportTitle),
                             [this] {
                                 m_pgsbrExport->setValue(m_pgsbrExport->value() + 1);
                                 m_pgsbrExport->repaint();
                             },
                             m_chkbxHTML->isChecked(), m_chbxReplace->isChecked(), m_edtReplace->text(), SeparatorIndex(),
                             &replaced);
    } catch (...) {
        m_lastResult = QStringLiteral("Kunde inte exportera aktiviteter till filen: ") + m_edtFilename->text();
        restore();
        ShowMessageBox(m_lastResult, TMessageKind::Error, TMessageButton::OK);
        m_edtFilename->setFocus();
        Abort();
    }
    m_lastResult = TTulloUtilString::CountText(count, QStringLiteral(" aktivitet#\\er# exporterades"));
    if (replaced > 0)
        m_lastResult += QStringLiteral("\n") +
                        TTulloUtilString::CountText(replaced, QStringLiteral("tecken som inte finns i filens teckenuppsättning "
                                                                             "(Windows-1252) skrevs som \"?\"."));
    restore();
    ShowMessageBox(m_lastResult, TMessageKind::Information, TMessageButton::OK);
    accept();
}

void TfrmExport::btnHelpClick()
{
    m_app.ShowHelp(HelpTopic);
}
