// The shared dialogs of TCorvaleForms. This part of the unit knows the
// windows that own the dialogs; it is built into a library above them.

#include "app/CorvaleForms.h"

#include "app/SettingsWindow.h"
#include "export/GenReport.h"
#include "export/PrintTtl.h"
#include "foundation/Find.h"
#include "foundation/GenericName.h"
#include "foundation/Sorting.h"
#include "reference/ChooseCourse.h"

namespace
{
template <class TDialog, class TMake> TDialog &Shared(QPointer<QDialog> &slot, TMake make)
{
    if (!slot)
        slot = make();
    return static_cast<TDialog &>(*slot);
}
}

TfrmSort &TCorvaleForms::SortDialog(QWidget *owner)
{
    return Shared<TfrmSort>(m_sort, [owner] { return new TfrmSort(owner); });
}

TfrmFind &TCorvaleForms::FindDialog(QWidget *owner)
{
    return Shared<TfrmFind>(m_find, [owner] { return new TfrmFind(owner); });
}

TfrmGenericName &TCorvaleForms::GenericNameDialog(QWidget *owner)
{
    return Shared<TfrmGenericName>(m_genericName, [owner] { return new TfrmGenericName(owner); });
}

TfrmChooseCourse &TCorvaleForms::ChooseCourseDialog(TCorvaleApp &app, QWidget *owner)
{
    // The dialog works on the application object it was made with.
    if (m_chooseCourse && m_chooseCourseApp != &app)
        delete m_chooseCourse.data();
    m_chooseCourseApp = &app;
    return Shared<TfrmChooseCourse>(m_chooseCourse, [&app, owner] { return new TfrmChooseCourse(app, owner); });
}

TfrmPrintTitle &TCorvaleForms::PrintTitleDialog(QWidget *owner)
{
    // One dialog for every window, so that the titles typed while the
    // program runs are offered in all of them: it moves to the window that
    // asks, to stand over it, and leaves it again when it closes, so that
    // closing that window does not take the dialog with it.
    if (!m_printTitle) {
        auto *dialog = new TfrmPrintTitle;
        connect(dialog, &QDialog::finished, dialog, [dialog] { dialog->setParent(nullptr, dialog->windowFlags()); });
        m_printTitle = dialog;
    }
    auto &dialog = static_cast<TfrmPrintTitle &>(*m_printTitle);
    if (dialog.parentWidget() != owner)
        dialog.setParent(owner, dialog.windowFlags());
    return dialog;
}

TfrmPrint &TCorvaleForms::ListPrint()
{
    if (!m_listPrint)
        m_listPrint = new TfrmPrint;
    return static_cast<TfrmPrint &>(*m_listPrint);
}

bool TCorvaleForms::PrintGrid(QWidget *owner, TStringGrid *grid, int columnCount, const QString &proposal,
                              bool preview)
{
    TfrmPrintTitle &title = PrintTitleDialog(owner);
    title.SuggestFromGrid(grid, columnCount, proposal);
    if (title.exec() != QDialog::Accepted)
        return false;
    TfrmPrint &list = ListPrint();
    list.PrepareList(grid, title.GetTitle(), title.PrintEmptyColumns());
    if (preview)
        list.PreviewList(owner);
    else
        list.PrintList(owner);
    return true;
}

TfrmSettings &TCorvaleForms::SettingsDialog(TCorvaleApp &app, QWidget *owner, int pages)
{
    // The window works on the application object it was made with.
    if (m_settings && m_settingsApp != &app)
        delete m_settings.data();
    m_settingsApp = &app;
    auto &dialog = Shared<TfrmSettings>(m_settings, [&app, owner] { return new TfrmSettings(app, owner); });
    dialog.SetPages(pages);
    return dialog;
}
