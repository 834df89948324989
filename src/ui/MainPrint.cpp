// The main window's print and preview: the "Ändra" page as it looks, or
// the list of "Sökresultat" under a title the print-title dialog proposes.

#include "ui/Main.h"

#include "app/CorvaleForms.h"
#include "export/RecPrint.h"
#include "foundation/CompGrid.h"
#include "ui/EntryPage.h"

#include <QAction>
#include <QScopeGuard>
#include <QTabWidget>
#include <QToolButton>

void TfrmMain::mnuiPreviewPrintClick(bool preview)
{
    if (!IsActiveMain())
        return;
    // No printer is needed: a preview never prints, and a print without a
    // printer goes to a PDF file.
    if (!preview)
        SetStatus(QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(QString()); });

    if (m_pgctrlMain->currentWidget() == m_tshEdit) {
        TfrmRecordPrint record;
        record.PrepareRecord(m_pgEdit, m_pgEdit->ActivityName());
        if (preview)
            record.Preview(this);
        else
            record.Print(this);
        return;
    }

    const int idColumn = IdColumn();
    CorvaleForms().PrintGrid(this, m_cplxgrdMain, idColumn >= 0 ? idColumn : m_cplxgrdMain->ColCount(),
                             QStringLiteral("Aktiviteter"), preview);
}

void TfrmMain::UpdatePrintControls(bool onEdit, bool onResult, int loaded)
{
    m_tbtnPrint->setEnabled(loaded >= 1 && (onEdit || onResult));
    m_tbtnPreview->setEnabled(m_tbtnPrint->isEnabled());
    m_mnuiPrint->setEnabled(m_tbtnPrint->isEnabled());
    m_mnuiPreview->setEnabled(m_tbtnPreview->isEnabled());
}
