#include "columns/ColumnPresets.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "columns/ColumnSettings.h"
#include "columns/ExerciseColumnSettings.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/GenericName.h"
#include "foundation/MessageBox.h"
#include "foundation/SettingsFiles.h"
#include "reference/Exercises.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\VisColWindow");
constexpr int helpTopic = 24;
// The check boxes stand in columns of this many, in catalogue order.
constexpr int boxesPerColumn = 15;

// The check box captions in catalogue order; the Id box is hidden.
QStringList boxCaptions()
{
    QStringList captions{QStringLiteral("Datum"), QStringLiteral("Aktivitet"), QStringLiteral("Plats"),
                         QStringLiteral("Distans"), QStringLiteral("Tid"), QStringLiteral("Kilometertid"),
                         QStringLiteral("Hastighet")};
    for (const QString &lap : {QStringLiteral("Mellantid %1"), QStringLiteral("Kilometertid %1"),
                               QStringLiteral("Hastighet %1")}) {
        for (int n = 1; n <= 4; ++n)
            captions.append(lap.arg(n));
    }
    captions << QStringLiteral("Temperatur") << QStringLiteral("Prestation") << QStringLiteral("Match")
             << QStringLiteral("Program");
    for (int n = 1; n <= ExerciseColumnCount; ++n)
        captions.append(QStringLiteral("Övning%1").arg(n));
    captions << QStringLiteral("Vikt") << QStringLiteral("Detaljerad aktivitet") << QStringLiteral("Par")
             << QStringLiteral("Slag") << QStringLiteral("Poäng") << QStringLiteral("HCP") << QStringLiteral("Nytt HCP")
             << QStringLiteral("Konditionsvärde") << QStringLiteral("Förbränning") << QStringLiteral("Vilopuls")
             << QStringLiteral("Maxpuls") << QStringLiteral("Medelpuls") << QStringLiteral("Kommentar")
             << QStringLiteral("ID");
    return captions;
}

// The object name of the box of a kind: the three the window names itself,
// else "chkbx" and the kind's stored name without its "c".
QString boxName(TColumnKind kind)
{
    switch (kind) {
    case TColumnKind::cDate:
        return QStringLiteral("chkbxDate");
    case TColumnKind::cAct:
        return QStringLiteral("chkbxActivity");
    case TColumnKind::cId:
        return QStringLiteral("chkbxID");
    default:
        return QStringLiteral("chkbx") + ColumnKindName(kind).mid(1);
    }
}

bool alwaysShown(TColumnKind kind)
{
    return kind == TColumnKind::cDate || kind == TColumnKind::cAct || kind == TColumnKind::cId;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    result->setAutoDefault(false);
    return result;
}
} // namespace

TfrmColumnPresets::TfrmColumnPresets(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmColumnPresets"));
    setWindowTitle(QStringLiteral("Visa kolumner"));
    setModal(true);

    m_pgctrlColumnPresets = new QTabWidget(this);
    m_pgctrlColumnPresets->setObjectName(QStringLiteral("pgctrlColumnPresets"));
    BuildColumnsPage();
    BuildExercisesPage();
    m_pgctrlColumnPresets->setCurrentIndex(0);

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
    layout->addWidget(m_pgctrlColumnPresets, 1);
    layout->addLayout(pnlButtons);

    const auto guarded = [this](void (TfrmColumnPresets::*handler)()) {
        return [this, handler] { Guard([this, handler] { (this->*handler)(); }); };
    };
    connect(m_cmbbxColumnSetting, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            Guard([this, index] { cmbbxColumnSettingChange(index); });
    });
    for (QCheckBox *box : m_chkbx)
        connect(box, &QCheckBox::clicked, this, guarded(&TfrmColumnPresets::chkbxClick));
    for (int n = 0; n < ExerciseColumnCount; ++n) {
        connect(m_cmbbxEx[std::size_t(n)], &QComboBox::currentIndexChanged, this, [this, n] {
            if (!m_filling)
                Guard([this, n] { cmbbxExChange(n); });
        });
    }
    connect(m_btnCheck, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnCheckClick));
    connect(m_btnUnCheck, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnUnCheckClick));
    connect(m_btnNew, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnNewClick));
    connect(m_btnDelete, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnDeleteClick));
    connect(m_btnRename, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnRenameClick));
    connect(m_pgctrlColumnPresets, &QTabWidget::currentChanged, this,
            guarded(&TfrmColumnPresets::pgctrlColumnPresetsChange));
    connect(m_btnOK, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnOKClick));
    connect(m_btnCancel, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnCancelClick));
    connect(m_btnHelp, &QPushButton::clicked, this, guarded(&TfrmColumnPresets::btnHelpClick));

    // F1 without a shift key, whichever control has the focus.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, guarded(&TfrmColumnPresets::btnHelpClick));

    LoadWindowState(windowKey, this);
}

TfrmColumnPresets::~TfrmColumnPresets()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

void TfrmColumnPresets::BuildColumnsPage()
{
    m_tshColumns = new QWidget(m_pgctrlColumnPresets);
    m_tshColumns->setObjectName(QStringLiteral("tshColumns"));

    auto *lblColumnSetting = new QLabel(QStringLiteral("&Kolumninställning"), m_tshColumns);
    m_cmbbxColumnSetting = new QComboBox(m_tshColumns);
    m_cmbbxColumnSetting->setObjectName(QStringLiteral("cmbbxColumnSetting"));
    m_cmbbxColumnSetting->setEditable(false);
    m_cmbbxColumnSetting->setMinimumContentsLength(TColumnSettings::MaxNameLength);
    m_cmbbxColumnSetting->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblColumnSetting->setBuddy(m_cmbbxColumnSetting);
    auto *top = new QHBoxLayout;
    top->addWidget(lblColumnSetting);
    top->addWidget(m_cmbbxColumnSetting);
    top->addStretch();

    m_pnlColumns = new QWidget(m_tshColumns);
    m_pnlColumns->setObjectName(QStringLiteral("pnlColumns"));
    auto *boxes = new QGridLayout(m_pnlColumns);
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->setVerticalSpacing(2);
    const QStringList captions = boxCaptions();
    for (int k = 0; k < ColumnKindCount; ++k) {
        const auto kind = TColumnKind(k);
        auto *box = new QCheckBox(captions.at(k), m_pnlColumns);
        box->setObjectName(boxName(kind));
        box->setProperty("tag", k + 1);
        if (alwaysShown(kind)) {
            box->setChecked(true);
            box->setEnabled(false);
        }
        box->setVisible(kind != TColumnKind::cId);
        m_chkbx[std::size_t(k)] = box;
        if (kind != TColumnKind::cId)
            boxes->addWidget(box, k % boxesPerColumn, k / boxesPerColumn);
    }
    boxes->setRowStretch(boxesPerColumn, 1);

    m_btnNew = button(m_tshColumns, "btnNew", QStringLiteral("&Ny"));
    m_btnDelete = button(m_tshColumns, "btnDelete", QStringLiteral("&Tag bort"));
    m_btnRename = button(m_tshColumns, "btnRename", QStringLiteral("&Byt namn"));
    m_btnCheck = button(m_tshColumns, "btnCheck", QStringLiteral("&Markera alla"));
    m_btnUnCheck = button(m_tshColumns, "btnUnCheck", QStringLiteral("&Rensa alla"));
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_btnNew, m_btnDelete, m_btnRename})
        buttons->addWidget(b);
    buttons->addSpacing(16);
    buttons->addWidget(m_btnCheck);
    buttons->addWidget(m_btnUnCheck);
    buttons->addStretch();

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_pnlColumns, 1);
    middle->addLayout(buttons);
    auto *page = new QVBoxLayout(m_tshColumns);
    page->addLayout(top);
    page->addLayout(middle, 1);
    m_pgctrlColumnPresets->addTab(m_tshColumns, QStringLiteral("Kolumn&inställningar"));
}

void TfrmColumnPresets::BuildExercisesPage()
{
    m_tshExercises = new QWidget(m_pgctrlColumnPresets);
    m_tshExercises->setObjectName(QStringLiteral("tshExercises"));
    auto *lists = new QGridLayout(m_tshExercises);
    constexpr int perColumn = ExerciseColumnCount / 2;
    for (int n = 0; n < ExerciseColumnCount; ++n) {
        auto *label = new QLabel(QStringLiteral("Övning%1").arg(n + 1), m_tshExercises);
        auto *list = new QComboBox(m_tshExercises);
        list->setObjectName(QStringLiteral("cmbbxEx%1").arg(n + 1));
        list->setProperty("tag", n + 1);
        list->setEditable(false);
        list->setMinimumContentsLength(22);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        label->setBuddy(list);
        m_cmbbxEx[std::size_t(n)] = list;
        const int row = n % perColumn;
        const int col = (n / perColumn) * 3;
        lists->addWidget(label, row, col);
        lists->addWidget(list, row, col + 1);
    }
    lists->setColumnMinimumWidth(2, 24);
    lists->setRowStretch(perColumn, 1);
    m_pgctrlColumnPresets->addTab(m_tshExercises, QStringLiteral("&Styrketräningskolumner"));
}

void TfrmColumnPresets::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmColumnPresets::FormShow()
{
    m_shownId = m_app.GetColumnSettings().GetCurrent();
    Fill();
    FillExercises();
    pgctrlColumnPresetsChange();
    m_modified = false;
}

void TfrmColumnPresets::Fill()
{
    const TColumnSettings &settings = m_app.GetColumnSettings();
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        m_cmbbxColumnSetting->clear();
        m_settingIds.Clear();
        for (const qint32 id : settings.GetIds()) {
            m_cmbbxColumnSetting->addItem(settings.Get(id).Name);
            m_settingIds.Add(id);
        }
        m_cmbbxColumnSetting->setCurrentIndex(m_settingIds.IndexOf(settings.GetCurrent()));
    }
    Show();
    UpdateButtons();
}

void TfrmColumnPresets::FillExercises()
{
    QList<qint32> ids;
    QStringList names;
    m_app.GetExercises().GetExercises(ids, names);
    const TExerciseColumnSettings &columns = m_app.GetExerciseColumnSettings();
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        for (int n = 0; n < ExerciseColumnCount; ++n) {
            QComboBox *list = m_cmbbxEx[std::size_t(n)];
            list->clear();
            list->addItem(QString(), TExerciseColumnSettings::NoExercise);
            for (int i = 0; i < ids.size(); ++i)
                list->addItem(names.at(i), ids.at(i));
            const int chosen = list->findData(columns.ExerciseOfColumn(n + 1));
            list->setCurrentIndex(chosen < 0 ? 0 : chosen);
        }
    }
    // The lists offer only what no other list has chosen; filling them is
    // no change of the user's.
    const bool modified = m_modified;
    cmbbxExChange(-1);
    m_modified = modified;
}

void TfrmColumnPresets::Show()
{
    const TColumnSettings &settings = m_app.GetColumnSettings();
    const qint32 current = settings.GetCurrent();
    const TColumnKindSet columns = current > 0 ? settings.Get(current).Columns : TColumnKindSet();
    // Date, Activity and the key are part of every setting: their boxes,
    // which the user cannot change, stay checked also for a setting stored
    // without them, which thus gets them when it is stored.
    for (QCheckBox *box : m_chkbx) {
        const auto kind = TColumnKind(box->property("tag").toInt() - 1);
        box->setChecked(alwaysShown(kind) || columns.Contains(kind));
    }
}

TColumnKindSet TfrmColumnPresets::CheckedColumns() const
{
    TColumnKindSet columns;
    for (const QCheckBox *box : m_chkbx) {
        if (box->isChecked())
            columns.Include(TColumnKind(box->property("tag").toInt() - 1));
    }
    return columns;
}

void TfrmColumnPresets::Store()
{
    TColumnSettings &settings = m_app.GetColumnSettings();
    const qint32 current = settings.GetCurrent();
    if (current <= 0)
        return;
    settings.Update(current, settings.Get(current).Name, CheckedColumns());
}

void TfrmColumnPresets::UpdateButtons()
{
    m_btnDelete->setEnabled(m_cmbbxColumnSetting->currentIndex() > 0);
    m_btnRename->setEnabled(m_btnDelete->isEnabled());
}

qint32 TfrmColumnPresets::ChosenExercise(int n) const
{
    const QComboBox *list = m_cmbbxEx[std::size_t(n)];
    return list->currentIndex() <= 0 ? TExerciseColumnSettings::NoExercise : qint32(list->currentData().toInt());
}

bool TfrmColumnPresets::AskName(QString &text)
{
    TfrmGenericName &dialog = CorvaleForms().GenericNameDialog(this);
    dialog.setWindowTitle(QStringLiteral("Kolumninställningsnamn"));
    dialog.SetLabel(QStringLiteral("&Kolumninställning"));
    dialog.SetMaxLength(TColumnSettings::MaxNameLength);
    dialog.SetText(text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.Text();
    return true;
}

void TfrmColumnPresets::cmbbxColumnSettingChange(int index)
{
    if (index < 0 || index >= m_settingIds.Count())
        return;
    Store();
    m_app.GetColumnSettings().SetCurrent(m_settingIds[index]);
    Show();
    UpdateButtons();
}

void TfrmColumnPresets::chkbxClick()
{
    m_modified = true;
}

void TfrmColumnPresets::btnCheckClick()
{
    for (QCheckBox *box : m_chkbx) {
        if (box->isEnabled())
            box->setChecked(true);
    }
    m_modified = true;
}

void TfrmColumnPresets::btnUnCheckClick()
{
    for (QCheckBox *box : m_chkbx)
        box->setChecked(alwaysShown(TColumnKind(box->property("tag").toInt() - 1)));
    m_modified = true;
}

void TfrmColumnPresets::btnNewClick()
{
    QString name = QStringLiteral("Ny kolumninställning");
    if (AskName(name)) {
        Store();
        TColumnSettings &settings = m_app.GetColumnSettings();
        settings.Add(settings.NextFreeId(), name, {TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cId});
        Fill();
        m_modified = true;
    }
    UpdateButtons();
}

void TfrmColumnPresets::btnDeleteClick()
{
    if (m_cmbbxColumnSetting->currentIndex() <= 0)
        return;
    if (ShowMessageBox(QStringLiteral("Vill du verkligen ta bort kolumninställningen?"), TMessageKind::Question,
                       TMessageButton::Yes | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    TColumnSettings &settings = m_app.GetColumnSettings();
    settings.Delete(settings.GetCurrent());
    Fill();
    m_modified = true;
}

void TfrmColumnPresets::btnRenameClick()
{
    if (m_cmbbxColumnSetting->currentIndex() <= 0)
        return;
    TColumnSettings &settings = m_app.GetColumnSettings();
    const qint32 current = settings.GetCurrent();
    QString name = settings.Get(current).Name;
    if (!AskName(name))
        return;
    settings.Update(current, name, CheckedColumns());
    Fill();
    m_modified = true;
}

void TfrmColumnPresets::cmbbxExChange(int changed)
{
    QList<qint32> ids;
    QStringList names;
    m_app.GetExercises().GetExercises(ids, names);
    std::array<qint32, ExerciseColumnCount> chosen{};
    for (int n = 0; n < ExerciseColumnCount; ++n)
        chosen[std::size_t(n)] = ChosenExercise(n);
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        for (int n = 0; n < ExerciseColumnCount; ++n) {
            if (n == changed)
                continue;
            QComboBox *list = m_cmbbxEx[std::size_t(n)];
            list->clear();
            list->addItem(QString(), TExerciseColumnSettings::NoExercise);
            for (int i = 0; i < ids.size(); ++i) {
                bool elsewhere = false;
                for (int other = 0; other < ExerciseColumnCount && !elsewhere; ++other)
                    elsewhere = other != n && chosen[std::size_t(other)] == ids.at(i);
                if (!elsewhere)
                    list->addItem(names.at(i), ids.at(i));
            }
            const int keep = list->findData(chosen[std::size_t(n)]);
            list->setCurrentIndex(keep < 0 ? 0 : keep);
        }
    }
    m_modified = true;
}

void TfrmColumnPresets::pgctrlColumnPresetsChange()
{
    if (m_pgctrlColumnPresets->currentWidget() != m_tshColumns)
        return;
    for (int n = 1; n <= ExerciseColumnCount; ++n) {
        QCheckBox *box = m_chkbx[std::size_t(int(ExerciseColumnKind(n)))];
        const QComboBox *list = m_cmbbxEx[std::size_t(n - 1)];
        if (list->currentIndex() > 0) {
            box->setText(list->currentText());
            box->setToolTip(list->currentText());
        } else {
            box->setText(QStringLiteral("Övning%1").arg(n));
            box->setToolTip(QString());
        }
    }
}

void TfrmColumnPresets::btnOKClick()
{
    {
        TBusyPeriod busy(CorvaleForms().CursorManagement(), QStringLiteral("Corvale"));
        Store();
        try {
            m_app.GetColumnSettings().SaveToDb();
        } catch (const EException &e) {
            // The save is one transaction: the diary holds the settings it
            // held, and the window keeps what the user made of them.
            ShowMessageBox(QStringLiteral("Kolumninställningarna kunde inte sparas. De sparade kolumninställningarna "
                                          "är oförändrade. Info: ")
                               + e.Message(),
                           TMessageKind::Error, TMessageButton::OK);
            return;
        }
        QList<qint32> exerciseSlots;
        for (int n = 0; n < ExerciseColumnCount; ++n)
            exerciseSlots.append(ChosenExercise(n));
        TExerciseColumnSettings &columns = m_app.GetExerciseColumnSettings();
        try {
            columns.SetList(&exerciseSlots);
            columns.SaveToDb();
        } catch (const EException &e) {
            ShowMessageBox(QStringLiteral("Styrketräningskolumnerna kunde inte sparas. Kolumninställningarna är "
                                          "sparade. Info: ")
                               + e.Message(),
                           TMessageKind::Error, TMessageButton::OK);
            return;
        }
    }
    accept();
}

void TfrmColumnPresets::btnCancelClick()
{
    if (m_modified
        && ShowMessageBox(QStringLiteral("Vill du verkligen avbryta dina ändringar?"), TMessageKind::Question,
                          TMessageButton::Yes | TMessageButton::No)
               != TMessageResult::Yes)
        return;
    {
        TBusyPeriod busy(CorvaleForms().CursorManagement(), QStringLiteral("Corvale"));
        TColumnSettings &settings = m_app.GetColumnSettings();
        settings.LoadFromDb();
        settings.EnsureDefaultSetting();
        if (settings.Exists(m_shownId))
            settings.SetCurrent(m_shownId);
        // The exercise columns too are as the diary holds them, also after
        // an OK whose writing of them failed.
        m_app.GetExerciseColumnSettings().LoadFromDb();
    }
    QDialog::reject();
}

void TfrmColumnPresets::btnHelpClick()
{
    m_app.ShowHelp(helpTopic);
}

void TfrmColumnPresets::reject()
{
    Guard([this] { btnCancelClick(); });
}
