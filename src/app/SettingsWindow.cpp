#include "app/SettingsWindow.h"

#include "app/CorvaleApp.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/Classhie.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\SettingWindow");
const QString distanceText = QStringLiteral("Distans  (km)");
constexpr int maxNameLength = 19;
constexpr int minCount = 1;
constexpr int maxCount = 1000;

QComboBox *Combo(QWidget *parent, const char *name, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    return combo;
}

QLabel *Label(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

TNumericalEdit *CountEdit(QWidget *parent, const char *name)
{
    auto *edit = new TNumericalEdit(QLatin1String(name), parent);
    edit->SetNumDecimals(0);
    edit->SetNegValues(false);
    edit->SetMaxValue(QString::number(maxCount));
    edit->SetMinValue(QString::number(minCount));
    return edit;
}

// The position of a combo box as the byte of its setting, and back; a
// stored byte beyond the entries chooses the last one.
int Index(QComboBox *combo, quint8 value)
{
    return qMin(int(value), combo->count() - 1);
}

template <class E> E Entry(QComboBox *combo)
{
    return E(quint8(qMax(0, combo->currentIndex())));
}
}

TfrmSettings::TfrmSettings(TCorvaleApp &app, QWidget *parent) : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Inställningar"));
    setModal(true);

    m_pgctrlSettings = new QTabWidget(this);
    m_pgctrlSettings->setObjectName(QStringLiteral("pgctrlSettings"));
    m_tshMain = BuildMainPage();
    m_tshSummary = BuildSummaryPage();
    m_tshRecords = BuildRecordsPage();
    m_tshActivities = BuildActivitiesPage();
    m_pgctrlSettings->addTab(m_tshMain, QStringLiteral("Aktiviteter"));
    m_pgctrlSettings->addTab(m_tshSummary, QStringLiteral("Summering"));
    m_pgctrlSettings->addTab(m_tshRecords, QStringLiteral("Personbästa"));
    m_pgctrlSettings->addTab(m_tshActivities, QStringLiteral("Aktivitetsnamn"));
    connect(m_pgctrlSettings, &QTabWidget::currentChanged, this,
            [this](int index) { Guard([this, index] { pgctrlSettingsChange(index); }); });

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
    layout->addWidget(m_pgctrlSettings, 1);
    layout->addLayout(buttons);

    resize(560, 430);
    LoadWindowState(windowKey, this);
}

TfrmSettings::~TfrmSettings()
{
    Guard([this] { SaveWindowState(windowKey, this); });
}

QWidget *TfrmSettings::BuildMainPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tshMain"));
    m_cmbbxLapCalc = Combo(page, "cmbbxLapCalc",
                           {QStringLiteral("Beräkning sker totalt till mellantiden"),
                            QStringLiteral("Beräkning sker från föregående mellantid")});
    m_cmbbxSearchSort = Combo(page, "cmbbxSearchSort", {QStringLiteral("Datum"), QStringLiteral("Aktiviteter")});
    m_chkbxSearchAtStart = new QCheckBox(QStringLiteral("Sök årets alla aktiviteter vid &uppstart"), page);
    m_chkbxSearchAtStart->setObjectName(QStringLiteral("chkbxSearchAtStart"));

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(Label(page, "lblLapCalc", QStringLiteral("&Mellantidberäkning"), m_cmbbxLapCalc));
    layout->addWidget(m_cmbbxLapCalc);
    layout->addSpacing(8);
    layout->addWidget(Label(page, "lblSearchSort", QStringLiteral("&Sortering vid sökning"), m_cmbbxSearchSort));
    layout->addWidget(m_cmbbxSearchSort);
    layout->addSpacing(8);
    layout->addWidget(m_chkbxSearchAtStart);
    layout->addStretch();
    return page;
}

QWidget *TfrmSettings::BuildSummaryPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tshSummary"));
    m_chklstbxSummaryActivity = new QListWidget(page);
    m_chklstbxSummaryActivity->setObjectName(QStringLiteral("chklstbxSummaryActivity"));

    const QStringList timeUnits{QStringLiteral("Timmar"), QStringLiteral("Minuter"), QStringLiteral("Antal")};
    m_cmbbxTDTSummary = Combo(page, "cmbbxTDTSummary", QStringList{distanceText} + timeUnits);
    m_cmbbxTSummary = Combo(page, "cmbbxTSummary", timeUnits);
    m_cmbbxGameSummary = Combo(page, "cmbbxGameSummary", timeUnits);
    m_cmbbxDistSummary = Combo(page, "cmbbxDistSummary", {distanceText, QStringLiteral("Antal")});

    auto *units = new QVBoxLayout;
    const auto group = [page, units](const char *name, const QString &title, QComboBox *combo) {
        auto *box = new QGroupBox(title, page);
        box->setObjectName(QLatin1String(name));
        auto *inner = new QVBoxLayout(box);
        inner->addWidget(combo);
        combo->setParent(box);
        units->addWidget(box);
    };
    group("grbxTDTSummary", QStringLiteral("Tid- och distansaktiviteter"), m_cmbbxTDTSummary);
    group("grbxTSummary", QStringLiteral("Tidsaktiviteter"), m_cmbbxTSummary);
    group("grbxGameSummary", QStringLiteral("Matchaktiviteter"), m_cmbbxGameSummary);
    group("grbxDistSummary", QStringLiteral("Distansaktiviteter"), m_cmbbxDistSummary);
    units->addStretch();

    auto *list = new QVBoxLayout;
    list->addWidget(Label(page, "lblSummaryActivity", QStringLiteral("A&ktiviteter"), m_chklstbxSummaryActivity));
    list->addWidget(m_chklstbxSummaryActivity, 1);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(list, 1);
    layout->addLayout(units, 1);
    return page;
}

QWidget *TfrmSettings::BuildRecordsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tshRecords"));
    m_numedtRecordTDTNum = CountEdit(page, "numedtRecordTDTNum");
    m_numedtRecordWorkNum = CountEdit(page, "numedtRecordWorkNum");
    m_numedtRecordWorkSet = CountEdit(page, "numedtRecordWorkSet");
    m_numedtRecordWorkReps = CountEdit(page, "numedtRecordWorkReps");
    m_chkbxWorkSet = new QCheckBox(page);
    m_chkbxWorkSet->setObjectName(QStringLiteral("chkbxWorkSet"));
    m_chkbxWorkReps = new QCheckBox(page);
    m_chkbxWorkReps->setObjectName(QStringLiteral("chkbxWorkReps"));
    m_lblRecordWorkSet = Label(page, "lblRecordWorkSet", QStringLiteral("Antal &set för styrketräning"),
                               m_numedtRecordWorkSet);
    m_lblRecordWorkReps = Label(page, "lblRecordWorkReps", QStringLiteral("Antal &repetitioner för styrketräning"),
                                m_numedtRecordWorkReps);
    connect(m_chkbxWorkSet, &QCheckBox::clicked, this, [this] { Guard([this] { chkbxWorkSetClick(); }); });
    connect(m_chkbxWorkReps, &QCheckBox::clicked, this, [this] { Guard([this] { chkbxWorkRepsClick(); }); });

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->addWidget(Label(page, "lblRecordTDTNum", QStringLiteral("A&ntal tid- och distansaktiviteter"),
                          m_numedtRecordTDTNum),
                    0, 1);
    grid->addWidget(m_numedtRecordTDTNum, 0, 2);
    grid->addWidget(Label(page, "lblRecordWorkNum", QStringLiteral("An&tal styrketräningar"), m_numedtRecordWorkNum),
                    1, 1);
    grid->addWidget(m_numedtRecordWorkNum, 1, 2);
    grid->addWidget(m_chkbxWorkSet, 2, 0);
    grid->addWidget(m_lblRecordWorkSet, 2, 1);
    grid->addWidget(m_numedtRecordWorkSet, 2, 2);
    grid->addWidget(m_chkbxWorkReps, 3, 0);
    grid->addWidget(m_lblRecordWorkReps, 3, 1);
    grid->addWidget(m_numedtRecordWorkReps, 3, 2);
    for (TNumericalEdit *edit : {m_numedtRecordTDTNum, m_numedtRecordWorkNum, m_numedtRecordWorkSet, m_numedtRecordWorkReps})
        edit->setMaximumWidth(80);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QLineEdit *TfrmSettings::NameEdit(QWidget *page, const char *name, bool spare)
{
    auto *edit = new QLineEdit(page);
    edit->setObjectName(QLatin1String(name));
    edit->setEnabled(!spare);
    return edit;
}

QWidget *TfrmSettings::BuildActivitiesPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tshActivities"));
    struct TEditOf
    {
        const char *name;
        const char *code; // nullptr: a spare edit
    };
    struct TGroupOf
    {
        const char *name;
        const char *title;
        QList<TEditOf> edits;
    };
    const QList<TGroupOf> groups{
        {"grbxTDTNames", "Namn på &tid- och distansaktiviteter",
         {{"edtTDTName1", "RUN"}, {"edtTDTName2", "SKI"}, {"edtTDTName3", "BIK"}, {"edtTDTName4", "SWI"},
          {"edtTDTName5", "INL"}, {"edtTDTName6", nullptr}}},
        {"grbxGameNames", "Namn på &matchaktiviteter", {{"edtGameName1", "FLO"}, {"edtGameName2", "SOC"}, {"edtGameName3", "HOC"}}},
        {"grbxTimeNames", "Namn på t&idssaktiviteter",
         {{"edtTimeName1", "SPI"}, {"edtTimeName2", "SKA"}, {"edtTimeName3", "TEN"}, {"edtTimeName4", "AER"},
          {"edtTimeName5", "DAN"}, {"edtTimeName6", "CAR"}}},
        {"grbxDistNames", "Namn på &distansaktiviteter", {{"edtDistName1", "TRE"}, {"edtDistName2", "CAN"}, {"edtDistName3", nullptr}}},
        {"grbxSimpleNames", "Namn på &enkla aktiviteter",
         {{"edtSimpleName1", "DOW"}, {"edtSimpleName2", "BLO"}, {"edtSimpleName3", nullptr}}},
        {"grbxFixedNames", "Namn på &fasta aktiviteter",
         {{"edtFixedName1", "WOR"}, {"edtFixedName2", "GOL"}, {"edtFixedName3", "OTH"}, {"edtFixedName4", "CAM"}}},
    };
    auto *layout = new QGridLayout(page);
    for (int g = 0; g < groups.size(); ++g) {
        const TGroupOf &group = groups.at(g);
        auto *box = new QGroupBox(QString::fromUtf8(group.title), page);
        box->setObjectName(QLatin1String(group.name));
        auto *inner = new QGridLayout(box);
        for (int e = 0; e < group.edits.size(); ++e) {
            const TEditOf &of = group.edits.at(e);
            QLineEdit *edit = NameEdit(box, of.name, of.code == nullptr);
            inner->addWidget(edit, e / 2, e % 2);
            if (of.code)
                m_nameEdits.append({of.code, edit, 0});
        }
        layout->addWidget(box, g / 2, g % 2);
    }
    layout->setRowStretch(3, 1);
    return page;
}

void TfrmSettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmSettings::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && !(event->modifiers() & Qt::ShiftModifier)) {
        Guard([this] { btnHelpClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmSettings::FormShow()
{
    const TSettingsValues values = m_app.GetSettings();
    m_cmbbxLapCalc->setCurrentIndex(Index(m_cmbbxLapCalc, quint8(values.LapCalc)));
    m_cmbbxSearchSort->setCurrentIndex(Index(m_cmbbxSearchSort, quint8(values.SearchSort)));
    m_chkbxSearchAtStart->setChecked(values.SearchAtStart);
    m_cmbbxTDTSummary->setCurrentIndex(Index(m_cmbbxTDTSummary, quint8(values.SummaryTDT)));
    m_cmbbxTSummary->setCurrentIndex(Index(m_cmbbxTSummary, quint8(values.SummaryTime)));
    m_cmbbxGameSummary->setCurrentIndex(Index(m_cmbbxGameSummary, quint8(values.SummaryGame)));
    m_cmbbxDistSummary->setCurrentIndex(Index(m_cmbbxDistSummary, quint8(values.SummaryDist)));

    m_numedtRecordWorkSet->SetValue(values.RecordSets > 0 ? QString::number(values.RecordSets) : QString());
    m_chkbxWorkSet->setChecked(values.RecordSets > 0);
    m_numedtRecordWorkReps->SetValue(values.RecordReps > 0 ? QString::number(values.RecordReps) : QString());
    m_chkbxWorkReps->setChecked(values.RecordReps > 0);
    chkbxWorkSetClick();
    chkbxWorkRepsClick();
    m_numedtRecordTDTNum->SetValue(QString::number(values.RecordNum));
    m_numedtRecordWorkNum->SetValue(QString::number(values.RecordWNum));

    // Every name goes into the edit of its class.
    for (TNameEdit &nameEdit : m_nameEdits) {
        nameEdit.tag = 0;
        nameEdit.edit->clear();
    }
    QStringList names;
    m_app.GetActivityNames(&names);
    for (int i = 0; i < names.size(); ++i) {
        const std::unique_ptr<TActivity> activity = m_app.CreateActivity(names.at(i));
        const auto found = std::find_if(m_nameEdits.begin(), m_nameEdits.end(), [&activity](const TNameEdit &nameEdit) {
            return ActivityClassOfCode(QString::fromLatin1(nameEdit.code)) == activity->Class();
        });
        if (found == m_nameEdits.end())
            throw EUIError(QStringLiteral("Settings 01"));
        found->edit->setText(names.at(i));
        found->tag = i + 1;
    }

    // One summary item per code, in name-list order, shown by its name.
    QStringList codes;
    QStringList summaryCodes;
    TActivityNames &activityNames = m_app.GetActivityNameList();
    activityNames.GetCodes(&codes);
    activityNames.GetSummaryCodes(&summaryCodes);
    m_summaryItems.clear();
    m_chklstbxSummaryActivity->clear();
    for (int i = 0; i < codes.size(); ++i) {
        QLineEdit *edit = EditOfTag(i + 1);
        if (!edit)
            throw EUIError(QStringLiteral("Settings 05"));
        m_summaryItems.append({codes.at(i), i + 1});
        auto *item = new QListWidgetItem(edit->text(), m_chklstbxSummaryActivity);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(summaryCodes.contains(codes.at(i), Qt::CaseInsensitive) ? Qt::Checked : Qt::Unchecked);
    }

    // The enabled pages; the first of "Aktiviteter", "Summering" and
    // "Personbästa" that is enabled comes in front.
    const QList<QWidget *> pages{m_tshMain, m_tshSummary, m_tshRecords, m_tshActivities};
    for (int i = 0; i < pages.size(); ++i) {
        const bool enabled = m_pages & (1 << i);
        m_pgctrlSettings->setTabEnabled(i, enabled);
        pages.at(i)->setEnabled(enabled);
        if (enabled)
            pages.at(i)->unsetCursor();
        else
            pages.at(i)->setCursor(Qt::ForbiddenCursor);
    }
    for (int i = 0; i < pages.size(); ++i) {
        if (m_pages & (1 << i)) {
            m_pgctrlSettings->setCurrentIndex(i);
            break;
        }
    }
    m_pgctrlSettings->currentWidget()->setFocus();
}

QLineEdit *TfrmSettings::EditOfTag(int tag) const
{
    for (const TNameEdit &nameEdit : m_nameEdits) {
        if (nameEdit.tag == tag)
            return nameEdit.edit;
    }
    return nullptr;
}

void TfrmSettings::RenameSummaryItems(const char *id)
{
    for (int i = 0; i < m_summaryItems.size() && i < m_chklstbxSummaryActivity->count(); ++i) {
        QLineEdit *edit = EditOfTag(m_summaryItems.at(i).second);
        if (!edit)
            throw EUIError(QString::fromLatin1(id));
        m_chklstbxSummaryActivity->item(i)->setText(edit->text());
    }
}

void TfrmSettings::pgctrlSettingsChange(int index)
{
    if (m_pgctrlSettings->widget(index) == m_tshSummary)
        RenameSummaryItems("Settings 04");
}

void TfrmSettings::chkbxWorkSetClick()
{
    const bool used = m_chkbxWorkSet->isChecked();
    if (!used)
        m_numedtRecordWorkSet->clear();
    m_numedtRecordWorkSet->setEnabled(used);
    m_lblRecordWorkSet->setEnabled(used);
}

void TfrmSettings::chkbxWorkRepsClick()
{
    const bool used = m_chkbxWorkReps->isChecked();
    if (!used)
        m_numedtRecordWorkReps->clear();
    m_numedtRecordWorkReps->setEnabled(used);
    m_lblRecordWorkReps->setEnabled(used);
}

void TfrmSettings::Refuse(const QString &text, QWidget *field)
{
    ShowMessageBox(text, TMessageKind::Error, TMessageButton::OK);
    for (int i = 0; i < m_pgctrlSettings->count(); ++i) {
        if (m_pgctrlSettings->widget(i)->isAncestorOf(field))
            m_pgctrlSettings->setCurrentIndex(i);
    }
    field->setFocus();
}

bool TfrmSettings::Refused()
{
    struct TCount
    {
        TNumericalEdit *edit;
        QString what;
        bool used;
    };
    const QList<TCount> counts{
        {m_numedtRecordTDTNum, QStringLiteral("Antal tid- och distansaktiviteter"), true},
        {m_numedtRecordWorkNum, QStringLiteral("Antal styrketräningar"), true},
        {m_numedtRecordWorkSet, QStringLiteral("Antal set för styrketräning"), m_chkbxWorkSet->isChecked()},
        {m_numedtRecordWorkReps, QStringLiteral("Antal repetitioner för styrketräning"), m_chkbxWorkReps->isChecked()},
    };
    for (const TCount &count : counts) {
        if (!count.used)
            continue;
        bool ok = false;
        const int value = count.edit->Value().toInt(&ok);
        if (!ok || value < minCount || value > maxCount) {
            Refuse(QStringLiteral("%1 måste vara ett heltal mellan %2 och %3.").arg(count.what).arg(minCount).arg(maxCount),
                   count.edit);
            return true;
        }
    }
    // Names in list order, so that a repeated name is shown where it is
    // repeated.
    QStringList seen;
    for (int tag = 1; tag <= m_summaryItems.size(); ++tag) {
        QLineEdit *edit = EditOfTag(tag);
        if (!edit)
            throw EUIError(QStringLiteral("Settings 06"));
        const QString name = edit->text().trimmed();
        if (name.isEmpty()) {
            Refuse(QStringLiteral("Varje aktivitet måste ha ett namn."), edit);
            return true;
        }
        if (name.size() > maxNameLength) {
            Refuse(QStringLiteral("Namnet \"%1\" är för långt. Ett aktivitetsnamn får vara högst %2 tecken.")
                       .arg(name)
                       .arg(maxNameLength),
                   edit);
            return true;
        }
        if (seen.contains(name, Qt::CaseInsensitive)) {
            Refuse(QStringLiteral("Två aktiviteter med samma namn är ej tillåtet. %1").arg(name), edit);
            return true;
        }
        seen.append(name);
    }
    return false;
}

void TfrmSettings::btnOKClick()
{
    RenameSummaryItems("Settings 04");
    if (Refused())
        return;

    TSettingsValues values = m_app.GetSettings();
    values.RecordNum = m_numedtRecordTDTNum->Value().toInt();
    values.RecordSets = m_chkbxWorkSet->isChecked() ? m_numedtRecordWorkSet->Value().toInt() : 0;
    values.RecordReps = m_chkbxWorkReps->isChecked() ? m_numedtRecordWorkReps->Value().toInt() : 0;
    values.RecordWNum = m_numedtRecordWorkNum->Value().toInt();
    values.SummaryTDT = Entry<TSettingsValues::TSummaryTDT>(m_cmbbxTDTSummary);
    values.SummaryTime = Entry<TSettingsValues::TSummaryTime>(m_cmbbxTSummary);
    values.SummaryGame = Entry<TSettingsValues::TSummaryTime>(m_cmbbxGameSummary);
    values.SummaryDist = Entry<TSettingsValues::TSummaryDist>(m_cmbbxDistSummary);
    values.LapCalc = Entry<TSettingsValues::TLapCalc>(m_cmbbxLapCalc);
    values.SearchSort = Entry<TSettingsValues::TSearchSort>(m_cmbbxSearchSort);
    values.SearchAtStart = m_chkbxSearchAtStart->isChecked();

    QStringList names;
    for (int tag = 1; tag <= m_summaryItems.size(); ++tag) {
        QLineEdit *edit = EditOfTag(tag);
        if (!edit)
            throw EUIError(QStringLiteral("Settings 06"));
        names.append(edit->text().trimmed());
    }
    m_app.ChangeActivityNames(&names);

    QStringList summaryCodes;
    for (int i = 0; i < m_summaryItems.size() && i < m_chklstbxSummaryActivity->count(); ++i) {
        if (m_chklstbxSummaryActivity->item(i)->checkState() == Qt::Checked)
            summaryCodes.append(m_summaryItems.at(i).first);
    }
    values.SummaryActivitiesChanged = m_app.GetActivityNameList().SetSummaryCodes(&summaryCodes);

    m_app.ApplySettings(values);
    accept();
}

void TfrmSettings::btnCancelClick()
{
    if (ShowMessageBox(QStringLiteral("Vill du verkligen avbryta dina ändringar?"), TMessageKind::Question,
                       TMessageButton::Yes | TMessageButton::No)
        != TMessageResult::Yes)
        return;
    QDialog::reject();
}

void TfrmSettings::btnHelpClick()
{
    m_app.ShowHelp(70);
}

void TfrmSettings::reject()
{
    Guard([this] { btnCancelClick(); });
}
