#include "reference/Exercise.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/GenericName.h"
#include "foundation/MessageBox.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"
#include "reference/Exercises.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\ExercisesWindow");
const QString deletedText = QStringLiteral("< Borttagen >");
const QString newExerciseName = QStringLiteral("Ny övning");
const QString newProgramName = QStringLiteral("Nytt styrketräningsprogram");
constexpr int nameLength = 60;
constexpr int commentLength = 250;
// The help topics of the two pages.
constexpr int exerciseTopic = 32;
constexpr int programTopic = 33;

// The catalogue and selection lines carry the id of the exercise they show,
// so that two exercises whose names differ only in letter case, or a line
// typed with an ampersand the register dropped, are never mistaken for
// each other.
constexpr int exerciseIdRole = Qt::UserRole;

// The line that is selected, or -1: the current line counts only while it
// is selected.
int selectedRow(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

QListWidgetItem *exerciseLine(const QString &text, qint32 id)
{
    auto *item = new QListWidgetItem(text);
    item->setData(exerciseIdRole, id);
    return item;
}

qint32 lineId(const QListWidget *list, int row)
{
    return list->item(row)->data(exerciseIdRole).toInt();
}

QListWidget *listBox(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, QWidget *buddy = nullptr)
{
    auto *result = new QLabel(caption, parent);
    result->setObjectName(QLatin1String(name));
    if (buddy)
        result->setBuddy(buddy);
    return result;
}

QVBoxLayout *buttonColumn(std::initializer_list<QWidget *> buttons)
{
    auto *column = new QVBoxLayout;
    for (QWidget *widget : buttons)
        column->addWidget(widget);
    column->addStretch();
    return column;
}
}

TfrmExercise::TfrmExercise(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmExercise"));
    setWindowTitle(QStringLiteral("Styrketräningsprogram"));
    setModal(true);
    // No border icons: the window is left through its buttons (or Escape).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setMinimumSize(450, 550);

    m_pgctrlExercise = new QTabWidget(this);
    m_pgctrlExercise->setObjectName(QStringLiteral("pgctrlExercise"));

    // The exercises.
    m_tshExercises = new QWidget(m_pgctrlExercise);
    m_tshExercises->setObjectName(QStringLiteral("tshExercises"));
    m_lstbxExercises = listBox(m_tshExercises, "lstbxExercises");
    m_btnENew = button(m_tshExercises, "btnENew", QStringLiteral("&Ny"));
    m_btnEDelete = button(m_tshExercises, "btnEDelete", QStringLiteral("&Tag bort"));
    m_btnERename = button(m_tshExercises, "btnERename", QStringLiteral("&Byt namn"));
    m_lblUsedByNrProg = label(m_tshExercises, "lblUsedByNrProg", QString());
    {
        auto *list = new QVBoxLayout;
        list->addWidget(label(m_tshExercises, "lblExercises", QStringLiteral("Övn&ingar"), m_lstbxExercises));
        list->addWidget(m_lstbxExercises, 1);
        auto *middle = new QHBoxLayout;
        middle->addLayout(list, 1);
        middle->addLayout(buttonColumn({m_btnENew, m_btnEDelete, m_btnERename}));
        auto *page = new QVBoxLayout(m_tshExercises);
        page->addLayout(middle, 1);
        page->addWidget(m_lblUsedByNrProg);
    }
    m_pgctrlExercise->addTab(m_tshExercises, QStringLiteral("Styrketräningsö&vningar"));

    // The programs, with the selection of the shown program's exercises.
    m_tshExercisePrograms = new QWidget(m_pgctrlExercise);
    m_tshExercisePrograms->setObjectName(QStringLiteral("tshExercisePrograms"));
    m_lstbxExercisePrograms = listBox(m_tshExercisePrograms, "lstbxExercisePrograms");
    m_btnEPNew = button(m_tshExercisePrograms, "btnEPNew", QStringLiteral("&Ny"));
    m_btnEPDelete = button(m_tshExercisePrograms, "btnEPDelete", QStringLiteral("&Tag bort"));
    m_btnEPRename = button(m_tshExercisePrograms, "btnEPRename", QStringLiteral("&Byt namn"));
    m_btnEPComment = button(m_tshExercisePrograms, "btnEPComment", QStringLiteral("&Kommentar"));
    m_pnlEPComment = new QWidget(m_tshExercisePrograms);
    m_pnlEPComment->setObjectName(QStringLiteral("pnlEPComment"));
    m_edtEPComment = new QLineEdit(m_pnlEPComment);
    m_edtEPComment->setObjectName(QStringLiteral("edtEPComment"));
    m_edtEPComment->setReadOnly(true);
    // The comment is changed through "&Kommentar" only.
    m_pnlEPComment->setEnabled(false);
    {
        auto *panel = new QVBoxLayout(m_pnlEPComment);
        panel->setContentsMargins(0, 0, 0, 0);
        panel->addWidget(m_edtEPComment);
    }

    m_pnlExercises = new QWidget(m_tshExercisePrograms);
    m_pnlExercises->setObjectName(QStringLiteral("pnlExercises"));
    m_lstbxAll = listBox(m_pnlExercises, "lstbxAll");
    m_lstbxSel = listBox(m_pnlExercises, "lstbxSel");
    m_bbtnAddOne = new QToolButton(m_pnlExercises);
    m_bbtnAddOne->setObjectName(QStringLiteral("bbtnAddOne"));
    m_bbtnAddOne->setArrowType(Qt::RightArrow);
    m_bbtnAddOne->setAccessibleName(QStringLiteral("Lägg till övning"));
    m_bbtnDelOne = new QToolButton(m_pnlExercises);
    m_bbtnDelOne->setObjectName(QStringLiteral("bbtnDelOne"));
    m_bbtnDelOne->setArrowType(Qt::LeftArrow);
    m_bbtnDelOne->setAccessibleName(QStringLiteral("Ta bort övning"));
    m_bbtnAddOne->setToolTip(QStringLiteral("Lägg till den markerade övningen i programmet (Alt+Höger)"));
    m_bbtnDelOne->setToolTip(QStringLiteral("Ta bort den markerade övningen ur programmet (Alt+Vänster)"));
    // Arrows large enough to be seen and hit.
    for (QToolButton *arrow : {m_bbtnAddOne, m_bbtnDelOne}) {
        arrow->setIconSize(QSize(20, 20));
        arrow->setMinimumSize(36, 30);
    }
    m_lblExercisesInUse = label(m_pnlExercises, "lblExercisesInUse", QString());
    {
        // The two lists share the width equally with the arrow buttons
        // centred between them, and each label is centred over its list.
        auto *area = new QGridLayout(m_pnlExercises);
        area->setContentsMargins(0, 0, 0, 0);
        area->addWidget(label(m_pnlExercises, "lblAll", QStringLiteral("Övn&ingar"), m_lstbxAll), 0, 0, Qt::AlignHCenter);
        area->addWidget(label(m_pnlExercises, "lblSel", QStringLiteral("Va&lda övningar"), m_lstbxSel), 0, 2,
                        Qt::AlignHCenter);
        area->addWidget(m_lstbxAll, 1, 0);
        auto *arrows = new QVBoxLayout;
        arrows->addStretch();
        arrows->addWidget(m_bbtnAddOne);
        arrows->addWidget(m_bbtnDelOne);
        arrows->addStretch();
        area->addLayout(arrows, 1, 1);
        area->addWidget(m_lstbxSel, 1, 2);
        area->addWidget(m_lblExercisesInUse, 2, 0, 1, 3);
        area->setColumnStretch(0, 1);
        area->setColumnStretch(2, 1);
        area->setRowStretch(1, 1);
    }
    {
        auto *list = new QVBoxLayout;
        list->addWidget(label(m_tshExercisePrograms, "lblPrograms", QStringLiteral("&Program"), m_lstbxExercisePrograms));
        list->addWidget(m_lstbxExercisePrograms, 1);
        list->addWidget(label(m_tshExercisePrograms, "lblComment", QStringLiteral("Kommentar:")));
        list->addWidget(m_pnlEPComment);
        auto *top = new QHBoxLayout;
        top->addLayout(list, 1);
        top->addLayout(buttonColumn({m_btnEPNew, m_btnEPDelete, m_btnEPRename, m_btnEPComment}));
        // The programs and the selection area share the page's height.
        auto *page = new QVBoxLayout(m_tshExercisePrograms);
        page->addLayout(top, 1);
        page->addWidget(m_pnlExercises, 1);
    }
    m_pgctrlExercise->addTab(m_tshExercisePrograms, QStringLiteral("Styrketräningsp&rogram"));

    m_btnOK = button(this, "btnOK", QStringLiteral("&OK"));
    m_btnOK->setDefault(true);
    m_btnCancel = button(this, "btnCancel", QStringLiteral("&Avbryt"));
    m_btnHelp = button(this, "btnHelp", QStringLiteral("&Hjälp"));
    auto *pnlButtons = new QHBoxLayout;
    pnlButtons->addStretch();
    pnlButtons->addWidget(m_btnOK);
    pnlButtons->addWidget(m_btnCancel);
    pnlButtons->addWidget(m_btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pgctrlExercise, 1);
    layout->addLayout(pnlButtons);

    const auto guarded = [this](void (TfrmExercise::*handler)()) {
        return [this, handler] { Guard([this, handler] { (this->*handler)(); }); };
    };
    connect(m_btnENew, &QPushButton::clicked, this, guarded(&TfrmExercise::btnENewClick));
    connect(m_btnERename, &QPushButton::clicked, this, guarded(&TfrmExercise::btnERenameClick));
    connect(m_btnEDelete, &QPushButton::clicked, this, guarded(&TfrmExercise::btnEDeleteClick));
    connect(m_btnEPNew, &QPushButton::clicked, this, guarded(&TfrmExercise::btnEPNewClick));
    connect(m_btnEPRename, &QPushButton::clicked, this, guarded(&TfrmExercise::btnEPRenameClick));
    connect(m_btnEPComment, &QPushButton::clicked, this, guarded(&TfrmExercise::btnEPCommentClick));
    connect(m_btnEPDelete, &QPushButton::clicked, this, guarded(&TfrmExercise::btnEPDeleteClick));
    connect(m_bbtnAddOne, &QToolButton::clicked, this, guarded(&TfrmExercise::bbtnAddOneClick));
    connect(m_bbtnDelOne, &QToolButton::clicked, this, guarded(&TfrmExercise::bbtnDelOneClick));
    connect(m_btnOK, &QPushButton::clicked, this, guarded(&TfrmExercise::btnOKClick));
    connect(m_btnCancel, &QPushButton::clicked, this, guarded(&TfrmExercise::btnCancelClick));
    connect(m_btnHelp, &QPushButton::clicked, this, guarded(&TfrmExercise::btnHelpClick));
    // Whether the line was picked with the mouse or the keyboard.
    connect(m_lstbxExercisePrograms, &QListWidget::itemSelectionChanged, this,
            guarded(&TfrmExercise::lstbxExerciseProgramsClick));
    for (QListWidget *list : {m_lstbxExercises, m_lstbxAll, m_lstbxSel})
        connect(list, &QListWidget::itemSelectionChanged, this, guarded(&TfrmExercise::UpdateButtons));
    connect(m_pgctrlExercise, &QTabWidget::currentChanged, this, guarded(&TfrmExercise::UpdateButtons));

    // The window sees these keys before the control with the focus does.
    const auto shortcut = [this](QKeyCombination key, void (TfrmExercise::*handler)()) {
        auto *keys = new QShortcut(QKeySequence(key), this);
        keys->setContext(Qt::WindowShortcut);
        connect(keys, &QShortcut::activated, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    shortcut(QKeyCombination(Qt::Key_F1), &TfrmExercise::btnHelpClick);
    shortcut(QKeyCombination(Qt::AltModifier, Qt::Key_Right), &TfrmExercise::AddOneKey);
    shortcut(QKeyCombination(Qt::AltModifier, Qt::Key_Left), &TfrmExercise::DelOneKey);

    resize(470, 560);
    LoadWindowState(windowKey, this);
}

TfrmExercise::~TfrmExercise()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

void TfrmExercise::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmExercise::FormShow()
{
    QStringList names;
    QList<qint32> ids;
    {
        const QSignalBlocker exercisesBlocker(m_lstbxExercises);
        const QSignalBlocker programsBlocker(m_lstbxExercisePrograms);
        const QSignalBlocker selectionBlocker(m_lstbxSel);
        m_app.GetExercises().GetExercises(ids, names);
        m_exerciseIds.Clear();
        m_lstbxExercises->clear();
        for (int i = 0; i < ids.size(); ++i) {
            m_exerciseIds.Add(ids.at(i));
            m_lstbxExercises->addItem(names.at(i));
        }
        m_app.GetExercisePrograms().GetPrograms(ids, names);
        m_programIds.Clear();
        m_lstbxExercisePrograms->clear();
        for (int i = 0; i < ids.size(); ++i) {
            m_programIds.Add(ids.at(i));
            m_lstbxExercisePrograms->addItem(names.at(i));
        }
        if (m_lstbxExercises->count() > 0)
            m_lstbxExercises->setCurrentRow(0);
        if (m_lstbxExercisePrograms->count() > 0)
            m_lstbxExercisePrograms->setCurrentRow(0);
        // The selection of the last opening's program goes with it.
        m_shownProgram = -1;
        m_lstbxSel->clear();
        m_edtEPComment->clear();
    }
    FillCatalogue();
    ShowProgram();
    UpdateButtons();
    m_changed = false;
}

void TfrmExercise::UpdateButtons()
{
    TExercises &exercises = m_app.GetExercises();
    TExercisePrograms &programs = m_app.GetExercisePrograms();

    int useCount = 0;
    const int exerciseRow = selectedRow(m_lstbxExercises);
    bool renameExercise = false;
    bool deleteExercise = false;
    if (exerciseRow >= 0) {
        const qint32 id = m_exerciseIds[exerciseRow];
        renameExercise = m_lstbxExercises->count() > 0 && !exercises.IsExerciseDeleted(id);
        deleteExercise = renameExercise && !programs.ExerciseInPrograms(id);
        useCount = exercises.ProgramCountOfExercise(id);
    }
    m_btnERename->setEnabled(renameExercise);
    m_btnEDelete->setEnabled(deleteExercise);

    int workoutCount = 0;
    const int programRow = selectedRow(m_lstbxExercisePrograms);
    bool renameProgram = false;
    bool deleteProgram = false;
    if (programRow >= 0) {
        const qint32 id = m_programIds[programRow];
        renameProgram = m_lstbxExercisePrograms->count() > 0 && !programs.IsProgramDeleted(id);
        workoutCount = programs.WorkoutUseCount(id);
        deleteProgram = renameProgram && workoutCount == 0;
    }
    m_btnEPRename->setEnabled(renameProgram);
    m_btnEPDelete->setEnabled(deleteProgram);
    m_btnEPComment->setEnabled(renameProgram);
    m_pnlExercises->setEnabled(renameProgram);

    m_lblExercisesInUse->setText(
        workoutCount > 0
            ? QStringLiteral("Programmet används av ")
                  + TTulloUtilString::CountText(workoutCount, QStringLiteral("styrketräningsaktivitet#\\er#"))
            : QStringLiteral("Programmet används ej av några styrketräningsaktiviteter"));

    m_bbtnAddOne->setEnabled(selectedRow(m_lstbxAll) >= 0 && m_lstbxSel->count() < ProgramSlotCount);
    m_bbtnDelOne->setEnabled(selectedRow(m_lstbxSel) >= 0);

    m_lblUsedByNrProg->setText(useCount > 0 ? QStringLiteral("Övningen används i ")
                                                  + TTulloUtilString::CountText(useCount, QStringLiteral("program"))
                                            : QStringLiteral("Övningen används ej i något program"));
}

void TfrmExercise::FillCatalogue()
{
    TExercises &exercises = m_app.GetExercises();
    const int position = selectedRow(m_lstbxAll);
    {
        const QSignalBlocker blocker(m_lstbxAll);
        m_lstbxAll->clear();
        for (int i = 0; i < m_lstbxExercises->count(); ++i) {
            const qint32 id = m_exerciseIds[i];
            if (!exercises.IsExerciseDeleted(id))
                m_lstbxAll->addItem(exerciseLine(m_lstbxExercises->item(i)->text(), id));
        }
        if (position >= 0 && position < m_lstbxAll->count())
            m_lstbxAll->setCurrentRow(position);
    }
    UpdateButtons();
}

void TfrmExercise::ShowProgram()
{
    const int programRow = selectedRow(m_lstbxExercisePrograms);
    if (programRow < 0)
        return;
    TExercisePrograms &programs = m_app.GetExercisePrograms();
    const qint32 programId = m_programIds[programRow];
    const TProgramExercises programSlots = programs.GetProgramExercises(programId);
    {
        const QSignalBlocker blocker(m_lstbxSel);
        m_lstbxSel->clear();
        for (const QString &slot : programSlots) {
            if (slot.trimmed().isEmpty())
                break;
            const qint32 exerciseId = TTulloUtilNumeric::StrToInt(slot.trimmed());
            const int line = m_exerciseIds.IndexOf(exerciseId);
            // Every exercise a program names was listed when the window was
            // shown or has been added since; the register's name stands in
            // should one not be, so that no slot is lost by a later store.
            const QString text = line >= 0 ? m_lstbxExercises->item(line)->text()
                                           : m_app.GetExercises().GetExerciseName(exerciseId);
            m_lstbxSel->addItem(exerciseLine(text, exerciseId));
        }
    }
    m_edtEPComment->setText(programs.GetProgramComment(programId));
    m_shownProgram = programRow;
    UpdateButtons();
}

void TfrmExercise::StoreProgram()
{
    if (m_shownProgram < 0)
        return;
    TProgramExercises programSlots;
    for (int i = 0; i < ProgramSlotCount && i < m_lstbxSel->count(); ++i)
        programSlots[std::size_t(i)] = QString::number(lineId(m_lstbxSel, i));
    m_app.GetExercisePrograms().SetProgramExercises(m_programIds[m_shownProgram], programSlots);
}

bool TfrmExercise::AskName(const QString &caption, const QString &label, int maxLength, QString &text)
{
    TfrmGenericName &dialog = CorvaleForms().GenericNameDialog(this);
    dialog.setWindowTitle(caption);
    dialog.SetLabel(label);
    dialog.SetMaxLength(maxLength);
    dialog.SetText(text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.Text();
    return true;
}

void TfrmExercise::btnENewClick()
{
    QString text = newExerciseName;
    while (AskName(QStringLiteral("Styrketräningsövning"), QStringLiteral("&Övning"), nameLength, text)) {
        const QString name = text.trimmed().isEmpty() ? newExerciseName : text;
        qint32 id = 0;
        try {
            id = m_app.GetExercises().AddExercise(name);
        } catch (const EExercises &) {
            // The dialog opens again with what the user typed.
            ShowMessageBox(QStringLiteral("Övningsnamnet finns redan. Välj ett annat namn"), TMessageKind::Error,
                           TMessageButton::OK);
            continue;
        }
        m_exerciseIds.Add(id);
        const QSignalBlocker blocker(m_lstbxExercises);
        m_lstbxExercises->addItem(name);
        m_lstbxExercises->setCurrentRow(m_lstbxExercises->count() - 1);
        m_changed = true;
        break;
    }
    FillCatalogue();
    ShowProgram();
    UpdateButtons();
}

void TfrmExercise::btnERenameClick()
{
    const int row = selectedRow(m_lstbxExercises);
    if (row < 0)
        return;
    const QString current = m_lstbxExercises->item(row)->text();
    QString text = current;
    while (AskName(QStringLiteral("Styrketräningsövning"), QStringLiteral("&Övning"), nameLength, text)) {
        const QString name = text.trimmed().isEmpty() ? current : text;
        try {
            m_app.GetExercises().RenameExercise(m_exerciseIds[row], name);
        } catch (const EExercises &) {
            ShowMessageBox(QStringLiteral("Övningsnamnet finns redan. Välj ett annat namn"), TMessageKind::Error,
                           TMessageButton::OK);
            continue;
        }
        m_lstbxExercises->item(row)->setText(name);
        m_changed = true;
        break;
    }
    FillCatalogue();
    ShowProgram();
    UpdateButtons();
}

void TfrmExercise::btnEDeleteClick()
{
    const int row = selectedRow(m_lstbxExercises);
    if (row < 0)
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort övningen?"), TMessageKind::Question,
                       TMessageButton::Yes | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    m_app.GetExercises().DeleteExercise(m_exerciseIds[row]);
    m_lstbxExercises->item(row)->setText(deletedText);
    m_changed = true;
    FillCatalogue();
    ShowProgram();
    UpdateButtons();
}

void TfrmExercise::btnEPNewClick()
{
    QString text = newProgramName;
    if (AskName(QStringLiteral("Styrketräningsprogram"), QStringLiteral("Styrketräningsprogram"), nameLength, text)) {
        const QString name = text.trimmed().isEmpty() ? newProgramName : text;
        m_programIds.Add(m_app.GetExercisePrograms().AddProgram(name, QString()));
        {
            const QSignalBlocker blocker(m_lstbxExercisePrograms);
            m_lstbxExercisePrograms->addItem(name);
            m_lstbxExercisePrograms->setCurrentRow(m_lstbxExercisePrograms->count() - 1);
        }
        m_changed = true;
        lstbxExerciseProgramsClick();
    }
    UpdateButtons();
}

void TfrmExercise::btnEPRenameClick()
{
    const int row = selectedRow(m_lstbxExercisePrograms);
    if (row < 0)
        return;
    const QString current = m_lstbxExercisePrograms->item(row)->text();
    QString text = current;
    if (AskName(QStringLiteral("Styrketräningsprogram"), QStringLiteral("Styrketräningsprogram"), nameLength, text)) {
        const QString name = text.trimmed().isEmpty() ? current : text;
        m_app.GetExercisePrograms().RenameProgram(m_programIds[row], name);
        m_lstbxExercisePrograms->item(row)->setText(name);
        m_changed = true;
    }
    UpdateButtons();
}

void TfrmExercise::btnEPCommentClick()
{
    const int row = selectedRow(m_lstbxExercisePrograms);
    if (row < 0)
        return;
    QString text = m_edtEPComment->text();
    if (AskName(QStringLiteral("Kommentar"), QStringLiteral("Kommentar"), commentLength, text)) {
        m_app.GetExercisePrograms().SetProgramComment(m_programIds[row], text);
        m_edtEPComment->setText(text);
        m_changed = true;
    }
    UpdateButtons();
}

void TfrmExercise::btnEPDeleteClick()
{
    const int row = selectedRow(m_lstbxExercisePrograms);
    if (row < 0)
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort styrketräningsprogrammet?"), TMessageKind::Question,
                       TMessageButton::Yes | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    m_app.GetExercisePrograms().DeleteProgram(m_programIds[row]);
    m_lstbxExercisePrograms->item(row)->setText(deletedText);
    m_changed = true;
    UpdateButtons();
    ShowProgram();
}

void TfrmExercise::lstbxExerciseProgramsClick()
{
    ShowProgram();
    UpdateButtons();
}

void TfrmExercise::bbtnAddOneClick()
{
    const int catalogueRow = selectedRow(m_lstbxAll);
    if (catalogueRow < 0 || m_lstbxSel->count() >= ProgramSlotCount)
        return;
    const QListWidgetItem *source = m_lstbxAll->item(catalogueRow);
    QListWidgetItem *line = exerciseLine(source->text(), source->data(exerciseIdRole).toInt());
    const int selected = selectedRow(m_lstbxSel);
    {
        const QSignalBlocker blocker(m_lstbxSel);
        if (selected < 0 || selected == m_lstbxSel->count() - 1) {
            m_lstbxSel->addItem(line);
            m_lstbxSel->setCurrentRow(m_lstbxSel->count() - 1);
        } else {
            // The selection stays, so lines added one after another stand
            // after it in the reverse order of adding.
            m_lstbxSel->insertItem(selected + 1, line);
            m_lstbxSel->setCurrentRow(selected);
        }
    }
    StoreProgram();
    m_changed = true;
    UpdateButtons();
}

void TfrmExercise::bbtnDelOneClick()
{
    const int selected = selectedRow(m_lstbxSel);
    if (selected < 0)
        return;
    {
        const QSignalBlocker blocker(m_lstbxSel);
        delete m_lstbxSel->takeItem(selected);
        if (m_lstbxSel->count() > 0)
            m_lstbxSel->setCurrentRow(qMin(selected, m_lstbxSel->count() - 1));
    }
    StoreProgram();
    m_changed = true;
    UpdateButtons();
}

void TfrmExercise::AddOneKey()
{
    if (m_bbtnAddOne->isEnabled() && m_pnlExercises->isEnabled())
        bbtnAddOneClick();
}

void TfrmExercise::DelOneKey()
{
    if (m_bbtnDelOne->isEnabled() && m_pnlExercises->isEnabled())
        bbtnDelOneClick();
}

void TfrmExercise::btnOKClick()
{
    // A program that workouts follow is what those workouts refer to: a
    // change of its exercises is asked for once.
    TExercisePrograms &programs = m_app.GetExercisePrograms();
    for (int i = 0; i < m_programIds.Count(); ++i) {
        if (!programs.ExercisesChangedWhileUsed(m_programIds[i]))
            continue;
        const quint16 answer = ShowMessageBox(
            QStringLiteral("Du har ändrat ett styrketräningsprogram som används av styrketräningsaktivteter. Vill du "
                           "verkligen spara dina ändringar?"),
            TMessageKind::Question, TMessageButton::Yes | TMessageButton::No | TMessageButton::Cancel);
        if (answer == TMessageResult::No) {
            DiscardAndClose();
            return;
        }
        if (answer != TMessageResult::Yes)
            return;
        break;
    }

    // Whatever the writing does, the window closes with OK: what was written
    // before an error stays in the diary, and the error itself goes on to
    // the program's error handler.
    struct TAcceptAtEnd
    {
        TfrmExercise *window;
        ~TAcceptAtEnd() { window->accept(); }
    } acceptAtEnd{this};
    TBusyPeriod busy(CorvaleForms().CursorManagement(), QStringLiteral("Corvale"));
    m_app.SaveExercises();
    m_app.SaveExercisePrograms();
}

void TfrmExercise::btnCancelClick()
{
    if (m_changed
        && ShowMessageBox(QStringLiteral("Vill du verkligen avbryta dina ändringar?"), TMessageKind::Question,
                          TMessageButton::Yes | TMessageButton::No)
               != TMessageResult::Yes)
        return;
    DiscardAndClose();
}

void TfrmExercise::DiscardAndClose()
{
    {
        TBusyPeriod busy(CorvaleForms().CursorManagement(), QStringLiteral("Corvale"));
        m_app.GetExercises().LoadExercises();
        m_app.GetExercisePrograms().LoadPrograms();
    }
    QDialog::reject();
}

void TfrmExercise::btnHelpClick()
{
    m_app.ShowHelp(m_pgctrlExercise->currentWidget() == m_tshExercisePrograms ? programTopic : exerciseTopic);
}

void TfrmExercise::reject()
{
    Guard([this] { btnCancelClick(); });
}
