// The entry page: construction, the pickers and the connections of its
// handlers. Reading and showing activities is in EntryPageValues.cpp, the
// derived values, laps, golf card, programs, course binding and pulse
// intervals in EntryPageHandlers.cpp.

#include "ui/EntryPage.h"

#include "app/CorvaleApp.h"
#include "foundation/CompGrid.h"
#include "foundation/DatePicker.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "ui/CorvaleCommon.h"
#include "ui/EntryGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

namespace
{
// Hints of the two help pictures stay up a minute, the others ten seconds.
constexpr int LongHintDuration = 60000;
constexpr int HintDuration = 10000;

QLabel *caption(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

// A memo that keeps at most `maxLength` characters, whatever is typed or
// pasted into it.
void limitLength(QPlainTextEdit *memo, int maxLength)
{
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, maxLength] {
        const QString text = memo->toPlainText();
        if (text.size() <= maxLength)
            return;
        QTextCursor cursor = memo->textCursor();
        const int position = qMin(cursor.position(), maxLength);
        const QSignalBlocker blocker(memo);
        memo->setPlainText(text.left(maxLength));
        cursor = memo->textCursor();
        cursor.setPosition(position);
        memo->setTextCursor(cursor);
    });
}

QSlider *trackBar(QWidget *parent, const QString &name, int maximum)
{
    auto *bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setPageStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    bar->setMinimumWidth(120);
    return bar;
}

QLabel *picture(QWidget *parent, const QString &name)
{
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setFixedSize(32, 32);
    // Hidden at position 0, the picture keeps its room, so that choosing a
    // position moves nothing around it.
    QSizePolicy policy = image->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    image->setSizePolicy(policy);
    image->setVisible(false);
    return image;
}

const QString golfRowTitles[] = {QStringLiteral("Hål nr"),  QStringLiteral("Par"),   QStringLiteral("Distans (m)"),
                                 QStringLiteral("HCP"),     QStringLiteral("Slag"),  QStringLiteral("Poäng"),
                                 QStringLiteral("Puttar")};
}

TActivityPage::TActivityPage(TCorvaleApp &app, TEntryPageKind kind, QWidget *parent)
    : QWidget(parent), m_app(app), m_kind(kind)
{
    setObjectName(QStringLiteral("pg") + Prefix() + QStringLiteral("Entry"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrbx") + Prefix() + QStringLiteral("Entry"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto *content = new QWidget(scroll);
    auto *layout = new QVBoxLayout(content);
    BuildCommonBlock(content);
    BuildPanels(content);
    layout->addStretch(1);
    scroll->setWidget(content);

    ConnectHandlers();
    Clear();
    ShowLapCalcMode(false);
    ShowActivityPanel(TEntryPanel::None);
}

TActivityPage::~TActivityPage() = default;

QString TActivityPage::Prefix() const
{
    return m_kind == TEntryPageKind::New ? QStringLiteral("New") : QStringLiteral("Edit");
}

QString TActivityPage::Name(const char *base) const
{
    // "numedt" + "Weight" gives numedtNewWeight or numedtEditWeight: the
    // type prefix is the lower-case start of the base.
    const QString text = QLatin1String(base);
    int split = 0;
    while (split < text.size() && text.at(split).isLower())
        ++split;
    return text.left(split) + Prefix() + text.mid(split);
}

TNumericalEdit *TActivityPage::NumEdit(QWidget *parent, const char *base, const QString &min, const QString &max,
                                       int decimals)
{
    auto *edit = new TNumericalEdit(Name(base), parent);
    edit->SetNumDecimals(decimals);
    edit->SetNegValues(min.startsWith(QLatin1Char('-')));
    edit->SetMaxValue(max);
    edit->SetMinValue(min);
    edit->setToolTipDuration(HintDuration);
    edit->setMaximumWidth(90);
    return edit;
}

QPlainTextEdit *TActivityPage::Memo(QWidget *parent, const char *base, int maxLength)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(Name(base));
    memo->setTabChangesFocus(true);
    memo->setMaximumHeight(60);
    limitLength(memo, maxLength);
    return memo;
}

void TActivityPage::BuildCommonBlock(QWidget *parent)
{
    auto *block = new QWidget(parent);
    block->setObjectName(Name("pnlCommon"));
    auto *row = new QHBoxLayout(block);
    row->setContentsMargins(0, 0, 0, 0);
    parent->layout()->addWidget(block);

    auto *left = new QGridLayout;
    row->addLayout(left, 3);

    m_wwdtpDate = new TDatePicker(Name("wwdtpDate"), block);
    m_lblDateDayWeek = new QLabel(block);
    m_lblDateDayWeek->setObjectName(Name("lblDateDayWeek"));
    left->addWidget(caption(QStringLiteral("&Datum"), m_wwdtpDate, block), 0, 0);
    left->addWidget(m_wwdtpDate, 0, 1);
    left->addWidget(m_lblDateDayWeek, 0, 2, 1, 3);

    QWidget *activity = nullptr;
    QWidget *location = nullptr;
    if (m_kind == TEntryPageKind::New) {
        m_cmbbxNewActivity = new QComboBox(block);
        m_cmbbxNewActivity->setObjectName(QStringLiteral("cmbbxNewActivity"));
        m_cmbbxNewActivity->setEditable(false);
        activity = m_cmbbxNewActivity;
        m_cmbbxNewLocation = new QComboBox(block);
        m_cmbbxNewLocation->setObjectName(QStringLiteral("cmbbxNewLocation"));
        m_cmbbxNewLocation->setEditable(true);
        m_cmbbxNewLocation->setInsertPolicy(QComboBox::NoInsert);
        m_cmbbxNewLocation->lineEdit()->setMaxLength(60);
        location = m_cmbbxNewLocation;
    } else {
        m_edtEditActivity = new QLineEdit(block);
        m_edtEditActivity->setObjectName(QStringLiteral("edtEditActivity"));
        m_edtEditActivity->setReadOnly(true);
        activity = m_edtEditActivity;
        m_edtEditLocation = new QLineEdit(block);
        m_edtEditLocation->setObjectName(QStringLiteral("edtEditLocation"));
        m_edtEditLocation->setMaxLength(60);
        location = m_edtEditLocation;
    }
    left->addWidget(caption(QStringLiteral("A&ktivitet"), activity, block), 1, 0);
    left->addWidget(activity, 1, 1, 1, 2);
    left->addWidget(caption(QStringLiteral("P&lats"), location, block), 2, 0);
    left->addWidget(location, 2, 1, 1, 4);

    m_numedtWeight = NumEdit(block, "numedtWeight", QStringLiteral("0"), QStringLiteral("999"), 1);
    left->addWidget(caption(QStringLiteral("Vik&t (kg)"), m_numedtWeight, block), 3, 0);
    left->addWidget(m_numedtWeight, 3, 1);

    m_numedtRestPulse = NumEdit(block, "numedtRestPulse", QStringLiteral("0"), QStringLiteral("999"), 0);
    m_numedtAvgPulse = NumEdit(block, "numedtAvgPulse", QStringLiteral("0"), QStringLiteral("999"), 0);
    m_numedtMaxPulse = NumEdit(block, "numedtMaxPulse", QStringLiteral("0"), QStringLiteral("999"), 0);
    left->addWidget(caption(QStringLiteral("Vilopuls (puls)"), m_numedtRestPulse, block), 4, 0);
    left->addWidget(m_numedtRestPulse, 4, 1);
    left->addWidget(caption(QStringLiteral("Medelpuls (puls)"), m_numedtAvgPulse, block), 4, 2);
    left->addWidget(m_numedtAvgPulse, 4, 3);
    left->addWidget(caption(QStringLiteral("Ma&xpuls (puls)"), m_numedtMaxPulse, block), 5, 2);
    left->addWidget(m_numedtMaxPulse, 5, 3);

    m_numedtCalorie = NumEdit(block, "numedtCalorie", QStringLiteral("0"), QStringLiteral("99999"), 0);
    m_numedtCalHour = NumEdit(block, "numedtCalHour", QStringLiteral("0"), QStringLiteral("9999999"), 0);
    m_numedtCalHour->setReadOnly(true);
    m_numedtCalHour->setFocusPolicy(Qt::NoFocus);
    left->addWidget(caption(QStringLiteral("F&örbränning (kcal)"), m_numedtCalorie, block), 5, 0);
    left->addWidget(m_numedtCalorie, 5, 1);
    left->addWidget(m_numedtCalHour, 6, 1);
    left->addWidget(caption(QStringLiteral("(kcal/tim)"), nullptr, block), 6, 0);

    m_moComment = Memo(block, "moComment");
    left->addWidget(caption(QStringLiteral("K&ommentar"), m_moComment, block), 7, 0);
    left->addWidget(m_moComment, 7, 1, 1, 4);

    // Weather, wind and rest.
    auto *right = new QVBoxLayout;
    row->addLayout(right, 2);
    auto *weather = new QGroupBox(QStringLiteral("V&äder"), block);
    weather->setObjectName(Name("grbxWeather"));
    auto *weatherGrid = new QGridLayout(weather);
    m_trbrWeather = trackBar(weather, Name("trbrWeather"), 14);
    m_lblWeather = new QLabel(weather);
    m_lblWeather->setObjectName(Name("lblWeather"));
    m_imgWeather = picture(weather, Name("imgWeather"));
    m_imgSmhiWeather = new QLabel(weather);
    m_imgSmhiWeather->setObjectName(Name("imgSmhiWeather"));
    m_imgSmhiWeather->setPixmap(TCorvaleCommon::HelpPicture());
    m_imgSmhiWeather->setToolTip(TCorvaleCommon::WeatherHint());
    m_imgSmhiWeather->setToolTipDuration(LongHintDuration);
    weatherGrid->addWidget(m_trbrWeather, 0, 0);
    weatherGrid->addWidget(m_imgWeather, 0, 1);
    weatherGrid->addWidget(m_imgSmhiWeather, 0, 2);
    weatherGrid->addWidget(m_lblWeather, 1, 0, 1, 3);

    m_trbrWindDir = trackBar(weather, Name("trbrWindDir"), 9);
    m_lblWindDir = new QLabel(weather);
    m_lblWindDir->setObjectName(Name("lblWindDir"));
    m_imgWindDir = picture(weather, Name("imgWindDir"));
    weatherGrid->addWidget(m_trbrWindDir, 2, 0);
    weatherGrid->addWidget(m_imgWindDir, 2, 1);
    weatherGrid->addWidget(m_lblWindDir, 3, 0, 1, 3);

    m_numedtWind = NumEdit(weather, "numedtWind", QStringLiteral("0"), QStringLiteral("99"), 1);
    m_imgSmhiWind = new QLabel(weather);
    m_imgSmhiWind->setObjectName(Name("imgSmhiWind"));
    m_imgSmhiWind->setPixmap(TCorvaleCommon::HelpPicture());
    m_imgSmhiWind->setToolTip(TCorvaleCommon::WindHint());
    m_imgSmhiWind->setToolTipDuration(LongHintDuration);
    auto *windRow = new QHBoxLayout;
    windRow->addWidget(caption(QStringLiteral("Vindhastighet (m/s)"), m_numedtWind, weather));
    windRow->addWidget(m_numedtWind);
    windRow->addWidget(m_imgSmhiWind);
    windRow->addStretch(1);
    weatherGrid->addLayout(windRow, 4, 0, 1, 3);

    m_numedtTemp = NumEdit(weather, "numedtTemp", QStringLiteral("-150"), QStringLiteral("150"), 1);
    auto *tempRow = new QHBoxLayout;
    tempRow->addWidget(caption(QStringLiteral("T&emperatur (º)"), m_numedtTemp, weather));
    tempRow->addWidget(m_numedtTemp);
    tempRow->addStretch(1);
    weatherGrid->addLayout(tempRow, 5, 0, 1, 3);
    right->addWidget(weather);

    auto *rest = new QGroupBox(QStringLiteral("Vila"), block);
    rest->setObjectName(Name("grbxSleep"));
    auto *restGrid = new QGridLayout(rest);
    m_trbrSleep = trackBar(rest, Name("trbrSleep"), 3);
    m_lblSleepQuality = new QLabel(rest);
    m_lblSleepQuality->setObjectName(Name("lblSleepQuality"));
    m_imgSleep = picture(rest, Name("imgSleep"));
    m_numedtSleepTime = NumEdit(rest, "numedtSleepTime", QStringLiteral("0"), QStringLiteral("99"), 2);
    restGrid->addWidget(m_trbrSleep, 0, 0);
    restGrid->addWidget(m_imgSleep, 0, 1);
    restGrid->addWidget(m_lblSleepQuality, 1, 0, 1, 2);
    auto *sleepRow = new QHBoxLayout;
    sleepRow->addWidget(caption(QStringLiteral("Vilotid (tim)"), m_numedtSleepTime, rest));
    sleepRow->addWidget(m_numedtSleepTime);
    sleepRow->addStretch(1);
    restGrid->addLayout(sleepRow, 2, 0, 1, 2);
    right->addWidget(rest);
    right->addStretch(1);
}

void TActivityPage::BuildPanels(QWidget *parent)
{
    auto *panels = new QWidget(parent);
    panels->setObjectName(Name("pnlClass"));
    auto *layout = new QVBoxLayout(panels);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pnlWo = BuildWorkoutPanel();
    m_pnlTDT = BuildTimeDistancePanel();
    m_pnlGame = BuildGamePanel();
    m_pnlT = BuildTimePanel();
    m_pnlBlank = BuildBlankPanel();
    m_pnlDist = BuildDistancePanel();
    m_pnlGolf = BuildGolfPanel();
    m_pnlOther = BuildOtherPanel();
    m_pnlMeasure = BuildMeasurePanel();
    for (QWidget *panel : {m_pnlWo, m_pnlTDT, m_pnlGame, m_pnlT, m_pnlBlank, m_pnlDist, m_pnlGolf, m_pnlOther, m_pnlMeasure}) {
        panel->setParent(panels);
        layout->addWidget(panel);
    }
    parent->layout()->addWidget(panels);
}

QWidget *TActivityPage::BuildWorkoutPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlWo"));
    auto *grid = new QGridLayout(panel);

    m_cmbbxWorkEP = new QComboBox(panel);
    m_cmbbxWorkEP->setObjectName(Name("cmbbxWorkEP"));
    m_cmbbxWorkEP->setEditable(false);
    m_cmbbxWorkEP->setMinimumContentsLength(20);
    m_edtWorkEPComment = new QLineEdit(panel);
    m_edtWorkEPComment->setObjectName(Name("edtWorkEPComment"));
    m_edtWorkEPComment->setReadOnly(true);
    grid->addWidget(caption(QStringLiteral("&Styrketräningsprogram"), m_cmbbxWorkEP, panel), 0, 0);
    grid->addWidget(m_cmbbxWorkEP, 0, 1);
    grid->addWidget(caption(QStringLiteral("Kommentar:"), nullptr, panel), 0, 2);
    grid->addWidget(m_edtWorkEPComment, 0, 3);

    m_cplxgrdWork = new TEntryGrid(3, 16, panel);
    m_cplxgrdWork->setObjectName(Name("cplxgrdWork"));
    m_cplxgrdWork->SetCells(0, 0, QStringLiteral("Övning"));
    m_cplxgrdWork->SetCells(1, 0, QStringLiteral("Reps"));
    m_cplxgrdWork->SetCells(2, 0, QStringLiteral("Vikt (kg)"));
    m_cplxgrdWork->SetColWidths(0, 140);
    m_cplxgrdWork->SetColWidths(1, 60);
    m_cplxgrdWork->SetColWidths(2, 70);
    TEntryGrid::TCellEdit reps;
    reps.Kind = TEntryGrid::TEditKind::Reps;
    m_cplxgrdWork->SetColEdit(1, reps);
    TEntryGrid::TCellEdit load;
    load.Kind = TEntryGrid::TEditKind::Number;
    load.Maximum = QStringLiteral("999.9");
    load.Decimals = 1;
    m_cplxgrdWork->SetColEdit(2, load);
    m_cplxgrdWork->setFixedSize(140 + 60 + 70 + 4, 16 * 20 + 4);
    grid->addWidget(caption(QStringLiteral("Styrketränings&programmet"), m_cplxgrdWork, panel), 1, 0, 1, 2);
    grid->addWidget(m_cplxgrdWork, 2, 0, 1, 2);

    // The free rows are found by their tags: 3k + 1 name, 3k + 2
    // repetitions, 3k + 3 weight for row k.
    auto *free = new QGroupBox(QStringLiteral("&Fria övningar"), panel);
    free->setObjectName(Name("grbxWorkFree"));
    m_grbxWorkFree = free;
    auto *freeGrid = new QGridLayout(free);
    freeGrid->addWidget(new QLabel(QStringLiteral("Övning"), free), 0, 0);
    freeGrid->addWidget(new QLabel(QStringLiteral("Reps"), free), 0, 1);
    freeGrid->addWidget(new QLabel(QStringLiteral("Vikt (kg)"), free), 0, 2);
    for (int k = 0; k < 4; ++k) {
        TWorkoutFreeRow &row = m_workFree[std::size_t(k)];
        row.name = new QLineEdit(free);
        row.name->setObjectName(QStringLiteral("edt%1WorkFree%2").arg(Prefix()).arg(k + 1));
        row.name->setMaxLength(20);
        TTulloUtilMisc::SetTag(row.name, 3 * k + 1);
        row.reps = new TRepsEdit(QStringLiteral("redt%1WorkFree%2").arg(Prefix()).arg(k + 1), free);
        row.reps->setMaximumWidth(60);
        TTulloUtilMisc::SetTag(row.reps, 3 * k + 2);
        row.weight = new TNumericalEdit(QStringLiteral("numedt%1WorkFree%2").arg(Prefix()).arg(k + 1), free);
        row.weight->SetNumDecimals(1);
        row.weight->SetNegValues(false);
        row.weight->SetMaxValue(QStringLiteral("999"));
        row.weight->SetMinValue(QStringLiteral("0"));
        row.weight->setMaximumWidth(70);
        TTulloUtilMisc::SetTag(row.weight, 3 * k + 3);
        freeGrid->addWidget(row.name, k + 1, 0);
        freeGrid->addWidget(row.reps, k + 1, 1);
        freeGrid->addWidget(row.weight, k + 1, 2);
    }
    grid->addWidget(free, 2, 2, 1, 2, Qt::AlignTop);

    m_moWorkComment = Memo(panel, "moWorkComment");
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moWorkComment, panel), 3, 0);
    grid->addWidget(m_moWorkComment, 3, 1, 1, 3);
    return panel;
}

QWidget *TActivityPage::BuildTimeDistancePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlTDT"));
    auto *grid = new QGridLayout(panel);
    // No margin above or below: the page then fits a screen of 768 lines.
    grid->setContentsMargins(grid->contentsMargins().left(), 0, grid->contentsMargins().right(), 0);

    m_numedtTDTTime = NumEdit(panel, "numedtTDTTime", QStringLiteral("0"), QStringLiteral("999"), 2);
    m_numedtTDTDist = NumEdit(panel, "numedtTDTDist", QStringLiteral("0"), QStringLiteral("999"), 2);
    m_numedtTDTAvg = NumEdit(panel, "numedtTDTAvg", QStringLiteral("0"), QStringLiteral("99999"), 2);
    m_numedtTDTKmTime = NumEdit(panel, "numedtTDTKmTime", QStringLiteral("0"), QStringLiteral("99999"), 2);
    for (TNumericalEdit *derived : {m_numedtTDTAvg, m_numedtTDTKmTime}) {
        derived->setReadOnly(true);
        derived->setFocusPolicy(Qt::NoFocus);
    }
    grid->addWidget(caption(QStringLiteral("T&id (min)"), m_numedtTDTTime, panel), 0, 0);
    grid->addWidget(m_numedtTDTTime, 0, 1);
    grid->addWidget(caption(QStringLiteral("Di&stans (km)"), m_numedtTDTDist, panel), 1, 0);
    grid->addWidget(m_numedtTDTDist, 1, 1);
    grid->addWidget(caption(QStringLiteral("Hastighet (km/tim)"), m_numedtTDTAvg, panel), 0, 2);
    grid->addWidget(m_numedtTDTAvg, 0, 3);
    grid->addWidget(caption(QStringLiteral("Kilometertid (min/km)"), m_numedtTDTKmTime, panel), 1, 2);
    grid->addWidget(m_numedtTDTKmTime, 1, 3);

    m_lblTDTSinceLast = new QLabel(panel);
    m_lblTDTSinceLast->setObjectName(Name("lblTDTSinceLast"));

    m_cplxgrdTDTPulse = new TComplexGrid(panel);
    m_cplxgrdTDTPulse->setObjectName(Name("cplxgrdTDTPulse"));
    m_cplxgrdTDTPulse->BeginUpdate();
    m_cplxgrdTDTPulse->SetOptionsComplex(TCompGridOptions());
    m_cplxgrdTDTPulse->SetFixedCols(0);
    m_cplxgrdTDTPulse->SetFixedRows(0);
    m_cplxgrdTDTPulse->SetColCount(2);
    m_cplxgrdTDTPulse->SetRowCount(0);
    // Wide enough for the longest texts of the cells.
    const QFontMetrics pulseMetrics(m_cplxgrdTDTPulse->font());
    const int bandWidth = pulseMetrics.horizontalAdvance(QStringLiteral("999-999 (puls)")) + 12;
    const int shareWidth = pulseMetrics.horizontalAdvance(QStringLiteral("100 (%)")) + 12;
    m_cplxgrdTDTPulse->SetColWidths(0, bandWidth);
    m_cplxgrdTDTPulse->SetColWidths(1, shareWidth);
    m_cplxgrdTDTPulse->EndUpdate();
    m_cplxgrdTDTPulse->setFixedSize(bandWidth + shareWidth + 6, 7 * 18 + 4);
    m_btnTDTPulse = new QPushButton(QStringLiteral("..."), panel);
    m_btnTDTPulse->setObjectName(Name("btnTDTPulse"));
    m_btnTDTPulse->setFixedWidth(28);
    auto *pulseColumn = new QVBoxLayout;
    auto *pulseTitle = new QHBoxLayout;
    pulseTitle->addWidget(caption(QStringLiteral("&Pulsintervall"), m_btnTDTPulse, panel));
    pulseTitle->addWidget(m_btnTDTPulse);
    pulseTitle->addStretch(1);
    pulseColumn->addLayout(pulseTitle);
    pulseColumn->addWidget(m_cplxgrdTDTPulse);
    pulseColumn->addStretch(1);
    // The pulse intervals stand at the right end, beside both the fields
    // and the laps, so that their height adds no line to the page.
    grid->addLayout(pulseColumn, 0, 5, 4, 1);

    QWidget *laps = BuildLapTable(panel);
    grid->addWidget(m_pnlLapCount, 2, 0, 1, 4);
    grid->addWidget(laps, 3, 0, 1, 5);

    // The comment stands beside the time and distance rather than below the
    // laps, so that the page fits a screen of 768 lines; it still comes
    // after the laps in the tab order.
    m_moTDTComment = Memo(panel, "moTDTComment");
    auto *commentColumn = new QVBoxLayout;
    // The days since the last session on the course stand beside the
    // comment's caption, where they take no line of their own.
    auto *commentTitle = new QHBoxLayout;
    commentTitle->addWidget(caption(QStringLiteral("K&ommentar"), m_moTDTComment, panel));
    commentTitle->addSpacing(24);
    commentTitle->addWidget(m_lblTDTSinceLast, 1);
    commentColumn->addLayout(commentTitle);
    commentColumn->addWidget(m_moTDTComment);
    commentColumn->addStretch(1);
    grid->addLayout(commentColumn, 0, 4, 3, 1);
    grid->setColumnStretch(4, 1);
    return panel;
}

QWidget *TActivityPage::BuildLapTable(QWidget *parent)
{
    auto *table = new QWidget(parent);
    table->setObjectName(Name("pnlLaps"));
    auto *layout = new QGridLayout(table);
    layout->setContentsMargins(0, 0, 0, 0);

    // The lap count is placed by the panel (beside the time and the
    // distance, where it takes no line of its own); it is made here, before
    // the lap edits, so that it comes before them in the tab order.
    m_pnlLapCount = new QWidget(parent);
    m_pnlLapCount->setObjectName(Name("pnlLapCount"));
    auto *countRow = new QHBoxLayout(m_pnlLapCount);
    countRow->setContentsMargins(0, 0, 0, 0);
    m_numedtLaps = NumEdit(m_pnlLapCount, "numedtLaps", QStringLiteral("0"), QStringLiteral("20"), 0);
    m_numedtLaps->setMaximumWidth(40);
    countRow->addWidget(caption(QStringLiteral("A&ntal"), m_numedtLaps, m_pnlLapCount));
    countRow->addWidget(m_numedtLaps);
    m_lblUsedLapCalc = new QLabel(m_pnlLapCount);
    m_lblUsedLapCalc->setObjectName(QStringLiteral("lblUsedLapCalc") + Prefix());
    countRow->addWidget(m_lblUsedLapCalc);
    countRow->addStretch(1);

    // Row captions beside the two strips.
    auto *captions1 = new QWidget(table);
    captions1->setFixedSize(150, 68);
    auto *distanceCaption = new QLabel(QStringLiteral("Distans (km)"), captions1);
    distanceCaption->move(0, 22);
    auto *splitCaption = new QLabel(QStringLiteral("Mellantid (min)"), captions1);
    splitCaption->move(0, 46);
    auto *captions2 = new QWidget(table);
    captions2->setFixedSize(150, 72);
    const QString derivedCaptions[] = {QStringLiteral("Deldistanstid (min)"), QStringLiteral("Hastighet (km/tim)"),
                                       QStringLiteral("Kilometertid (min/km)")};
    for (int j = 0; j < 3; ++j)
        (new QLabel(derivedCaptions[j], captions2))->move(0, 2 + 24 * j);

    auto *strips = new QWidget(table);
    auto *stripLayout = new QVBoxLayout(strips);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(0);
    m_pnlLaps1 = new QWidget(strips);
    m_pnlLaps1->setObjectName(Name("pnlLaps1"));
    m_pnlLaps1->setFixedHeight(68);
    m_pnlLaps2 = new QWidget(strips);
    m_pnlLaps2->setObjectName(Name("pnlLaps2"));
    m_pnlLaps2->setFixedHeight(72);
    m_pnlLaps2->setBackgroundRole(QPalette::AlternateBase);
    m_pnlLaps2->setAutoFillBackground(true);
    stripLayout->addWidget(m_pnlLaps1);
    stripLayout->addWidget(m_pnlLaps2);

    const QString lblBase = QStringLiteral("lbl") + Prefix() + QStringLiteral("Laps");
    const QString editBase = QStringLiteral("numedt") + Prefix() + QStringLiteral("Laps");
    constexpr int tops[] = {20, 44, 0, 24, 48};
    for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
        auto *label = new QLabel(m_pnlLaps1);
        label->setObjectName(lblBase + QString::number(i + 1));
        TCorvaleCommon::SetLapTimeLabelProperties(label, i);
        m_lblLaps[std::size_t(i)] = label;
        for (int j = 0; j < 5; ++j) {
            QWidget *strip = j < 2 ? m_pnlLaps1 : m_pnlLaps2;
            auto *edit = new TNumericalEdit(editBase + QStringLiteral("%1_%2").arg(i).arg(j), strip);
            TCorvaleCommon::SetLapTimeEditProperties(edit, i, tops[j]);
            if (j >= 2) {
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::NoFocus);
            }
            m_numedtLapEdits[std::size_t(i)][std::size_t(j)] = edit;
        }
    }

    auto *scroll = new QScrollArea(table);
    scroll->setObjectName(Name("scrbxLaps"));
    scroll->setWidget(strips);
    scroll->setWidgetResizable(false);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedHeight(68 + 72 + 20);
    scroll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *captionColumn = new QVBoxLayout;
    captionColumn->setSpacing(0);
    captionColumn->addWidget(captions1);
    captionColumn->addWidget(captions2);
    captionColumn->addStretch(1);
    layout->addLayout(captionColumn, 0, 0);
    layout->addWidget(scroll, 0, 1);
    layout->setColumnStretch(1, 1);
    return table;
}

QWidget *TActivityPage::BuildGamePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlGame"));
    auto *grid = new QGridLayout(panel);
    m_numedtGameTime = NumEdit(panel, "numedtGameTime", QStringLiteral("0"), QStringLiteral("999"), 2);
    m_edtGameGame = new QLineEdit(panel);
    m_edtGameGame->setObjectName(Name("edtGameGame"));
    m_edtGameGame->setMaxLength(100);
    m_cmbbxGamePerf = new QComboBox(panel);
    m_cmbbxGamePerf->setObjectName(Name("cmbbxGamePerf"));
    m_cmbbxGamePerf->setEditable(false);
    m_cmbbxGamePerf->addItems(TCorvaleCommon::PerformanceTexts());
    m_moGameComment = Memo(panel, "moGameComment");
    grid->addWidget(caption(QStringLiteral("T&id (min)"), m_numedtGameTime, panel), 0, 0);
    grid->addWidget(m_numedtGameTime, 0, 1);
    grid->addWidget(caption(QStringLiteral("Mat&ch"), m_edtGameGame, panel), 1, 0);
    grid->addWidget(m_edtGameGame, 1, 1, 1, 2);
    grid->addWidget(caption(QStringLiteral("&Prestation"), m_cmbbxGamePerf, panel), 2, 0);
    grid->addWidget(m_cmbbxGamePerf, 2, 1);
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moGameComment, panel), 3, 0);
    grid->addWidget(m_moGameComment, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget *TActivityPage::BuildTimePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlT"));
    auto *grid = new QGridLayout(panel);
    m_numedtTTime = NumEdit(panel, "numedtTTime", QStringLiteral("0"), QStringLiteral("999"), 2);
    m_moTComment = Memo(panel, "moTComment");
    grid->addWidget(caption(QStringLiteral("T&id (min)"), m_numedtTTime, panel), 0, 0);
    grid->addWidget(m_numedtTTime, 0, 1);
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moTComment, panel), 1, 0);
    grid->addWidget(m_moTComment, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget *TActivityPage::BuildBlankPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlBlank"));
    return panel;
}

QWidget *TActivityPage::BuildDistancePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlDist"));
    auto *grid = new QGridLayout(panel);
    m_numedtDistDist = NumEdit(panel, "numedtDistDist", QStringLiteral("0"), QStringLiteral("999"), 1);
    m_moDistComment = Memo(panel, "moDistComment");
    grid->addWidget(caption(QStringLiteral("Di&stans (km)"), m_numedtDistDist, panel), 0, 0);
    grid->addWidget(m_numedtDistDist, 0, 1);
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moDistComment, panel), 1, 0);
    grid->addWidget(m_moDistComment, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget *TActivityPage::BuildGolfPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlGolf"));
    auto *grid = new QGridLayout(panel);
    m_numedtGolfPar = NumEdit(panel, "numedtGolfPar", QStringLiteral("0"), QStringLiteral("200"), 0);
    m_numedtGolfStroke = NumEdit(panel, "numedtGolfStroke", QStringLiteral("0"), QStringLiteral("9999"), 0);
    m_numedtGolfPrevHCP = NumEdit(panel, "numedtGolfPrevHCP", QStringLiteral("-15"), QStringLiteral("54"), 1);
    m_numedtGolfHcp = NumEdit(panel, "numedtGolfHcp", QStringLiteral("-15"), QStringLiteral("54"), 1);
    m_numedtGolfCR = NumEdit(panel, "numedtGolfCR", QStringLiteral("0"), QStringLiteral("100"), 1);
    m_numedtGolfSlope = NumEdit(panel, "numedtGolfSlope", QStringLiteral("0"), QStringLiteral("155"), 0);
    m_numedtGolfPutt = NumEdit(panel, "numedtGolfPutt", QStringLiteral("0"), QStringLiteral("999"), 0);
    m_numedtGolfBunker = NumEdit(panel, "numedtGolfBunker", QStringLiteral("0"), QStringLiteral("999"), 0);
    m_numedtGolfScore = NumEdit(panel, "numedtGolfScore", QStringLiteral("0"), QStringLiteral("100"), 0);
    // The playing handicap is negative for a plus handicap.
    m_numedtGolfStrokes = NumEdit(panel, "numedtGolfStrokes", QStringLiteral("-99"), QStringLiteral("999"), 0);
    m_numedtGolfStrokes->setReadOnly(true);
    m_numedtGolfStrokes->setFocusPolicy(Qt::NoFocus);
    m_chkbxGolfUseGrid = new QCheckBox(QStringLiteral("Använd tabell"), panel);
    m_chkbxGolfUseGrid->setObjectName(Name("chkbxGolfUseGrid"));
    m_chkbxGolfUseGrid->setChecked(true);

    const struct
    {
        const char *text;
        TNumericalEdit *edit;
    } fields[] = {
        {"&Par", m_numedtGolfPar},         {"Sla&g", m_numedtGolfStroke},  {"H&CP", m_numedtGolfPrevHCP},
        {"N&ytt HCP", m_numedtGolfHcp},    {"CR", m_numedtGolfCR},         {"&Slope", m_numedtGolfSlope},
        {"P&uttar", m_numedtGolfPutt},     {"Bu&nker", m_numedtGolfBunker}, {"Poäng", m_numedtGolfScore},
        {"Erh. slag", m_numedtGolfStrokes},
    };
    int index = 0;
    for (const auto &field : fields) {
        const int row = index % 5;
        const int col = (index / 5) * 2;
        grid->addWidget(caption(QString::fromUtf8(field.text), field.edit, panel), row, col);
        grid->addWidget(field.edit, row, col + 1);
        ++index;
    }
    grid->addWidget(m_chkbxGolfUseGrid, 0, 4);

    m_strgrdGolf = new TEntryGrid(19, 7, panel);
    m_strgrdGolf->setObjectName(Name("strgrdGolf"));
    for (int row = 0; row < 7; ++row)
        m_strgrdGolf->SetCells(0, row, golfRowTitles[row]);
    for (int hole = 1; hole <= 18; ++hole) {
        m_strgrdGolf->SetCells(hole, 0, QString::number(hole));
        m_strgrdGolf->SetColWidths(hole, 34);
    }
    m_strgrdGolf->SetColWidths(0, 80);
    // Par one digit, distance three, stroke index and strokes two; points and
    // putts are whole numbers as well, since the round stores nothing else.
    const auto wholeNumbers = [](const char *maximum) {
        TEntryGrid::TCellEdit edit;
        edit.Kind = TEntryGrid::TEditKind::Number;
        edit.Maximum = QLatin1String(maximum);
        return edit;
    };
    m_strgrdGolf->SetRowEdit(1, wholeNumbers("9"));
    m_strgrdGolf->SetRowEdit(2, wholeNumbers("999"));
    m_strgrdGolf->SetRowEdit(3, wholeNumbers("99"));
    m_strgrdGolf->SetRowEdit(4, wholeNumbers("99"));
    m_strgrdGolf->SetRowEdit(5, wholeNumbers("99"));
    m_strgrdGolf->SetRowEdit(6, wholeNumbers("99"));
    m_strgrdGolf->setFixedSize(80 + 18 * 34 + 4, 7 * 20 + 4);
    grid->addWidget(caption(QStringLiteral("Scor&e"), m_strgrdGolf, panel), 5, 0);
    grid->addWidget(m_strgrdGolf, 6, 0, 1, 6);

    m_moGolfComment = Memo(panel, "moGolfComment");
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moGolfComment, panel), 7, 0);
    grid->addWidget(m_moGolfComment, 7, 1, 1, 5);
    grid->setColumnStretch(5, 1);
    return panel;
}

QWidget *TActivityPage::BuildOtherPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlOther"));
    auto *grid = new QGridLayout(panel);
    m_edtOtherActivity = new QLineEdit(panel);
    m_edtOtherActivity->setObjectName(Name("edtOtherActivity"));
    m_edtOtherActivity->setMaxLength(30);
    m_moOtherComment = Memo(panel, "moOtherComment");
    grid->addWidget(caption(QStringLiteral("D&etaljerad aktivitet"), m_edtOtherActivity, panel), 0, 0);
    grid->addWidget(m_edtOtherActivity, 0, 1);
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moOtherComment, panel), 1, 0);
    grid->addWidget(m_moOtherComment, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget *TActivityPage::BuildMeasurePanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(Name("pnlMeasure"));
    auto *grid = new QGridLayout(panel);
    m_numedtMeasure = NumEdit(panel, "numedtMeasure", QStringLiteral("0"), QStringLiteral("9999"), 1);
    grid->addWidget(caption(QStringLiteral("Konditio&nsvärde"), m_numedtMeasure, panel), 0, 0);
    grid->addWidget(m_numedtMeasure, 0, 1);
    const auto girth = [&](const char *base) {
        return NumEdit(panel, base, QStringLiteral("0"), QStringLiteral("300"), 1);
    };
    m_numedtNeck = girth("numedtNeck");
    m_numedtShoulder = girth("numedtShoulder");
    m_numedtChest = girth("numedtChest");
    m_numedtBiceps = girth("numedtBiceps");
    m_numedtArm = girth("numedtArm");
    m_numedtWaist = girth("numedtWaist");
    m_numedtHip = girth("numedtHip");
    m_numedtThigh = girth("numedtThigh");
    m_numedtCalf = girth("numedtCalf");
    const struct
    {
        const char *text;
        TNumericalEdit *edit;
    } girths[] = {
        {"Hal&s (cm)", m_numedtNeck},       {"Axlar (cm)", m_numedtShoulder}, {"Bröst (cm)", m_numedtChest},
        {"Överarm (cm)", m_numedtBiceps},   {"&Underarm (cm)", m_numedtArm},  {"M&idja (cm)", m_numedtWaist},
        {"Höft&er (cm)", m_numedtHip},      {"L&år (cm)", m_numedtThigh},     {"Vader (cm)", m_numedtCalf},
    };
    int index = 0;
    for (const auto &field : girths) {
        const int row = 1 + index % 5;
        const int col = (index / 5) * 2;
        grid->addWidget(caption(QString::fromUtf8(field.text), field.edit, panel), row, col);
        grid->addWidget(field.edit, row, col + 1);
        ++index;
    }
    m_numedtWaistHip = NumEdit(panel, "numedtWaistHip", QStringLiteral("0"), QStringLiteral("99"), 2);
    m_numedtWaistHip->setReadOnly(true);
    m_numedtWaistHip->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(caption(QStringLiteral("Midja/Höfter"), m_numedtWaistHip, panel), 5, 2);
    grid->addWidget(m_numedtWaistHip, 5, 3);
    m_moMeasureComment = Memo(panel, "moMeasureComment");
    grid->addWidget(caption(QStringLiteral("K&ommentar"), m_moMeasureComment, panel), 6, 0);
    grid->addWidget(m_moMeasureComment, 6, 1, 1, 4);
    auto *body = new QLabel(panel);
    body->setObjectName(Name("imgBody"));
    body->setPixmap(TCorvaleCommon::BodyPicture());
    grid->addWidget(body, 0, 5, 7, 1, Qt::AlignTop);
    grid->setColumnStretch(4, 1);
    return panel;
}

void TActivityPage::ConnectHandlers()
{
    // Every handler runs through the guard; the handlers that react to the
    // user leaving a field keep quiet while a refused field gets the focus
    // back.
    const auto onExit = [this](TNumericalEdit *edit, void (TActivityPage::*handler)()) {
        connect(edit, &TNumericalEdit::Exit, this, [this, handler] {
            if (!m_refocusing)
                Guard([this, handler] { (this->*handler)(); });
        });
    };

    connect(m_wwdtpDate, &TDatePicker::DateChanged, this, [this] { Guard([this] { DateExit(); }); });
    connect(m_trbrWeather, &QSlider::valueChanged, this, [this] { Guard([this] { trbrWeatherChange(); }); });
    connect(m_trbrWindDir, &QSlider::valueChanged, this, [this] { Guard([this] { trbrWindDirChange(); }); });
    connect(m_trbrSleep, &QSlider::valueChanged, this, [this] { Guard([this] { trbrSleepChange(); }); });

    if (m_cmbbxNewActivity) {
        connect(m_cmbbxNewActivity, &QComboBox::activated, this, [this] { Guard([this] { cmbbxNewActivityChange(true); }); });
        // Only the user's changes of the place drop the course binding.
        connect(m_cmbbxNewLocation->lineEdit(), &QLineEdit::textEdited, this, [this] {
            if (!m_filling)
                Guard([this] { CourseValChange(); });
        });
        connect(m_cmbbxNewLocation, &QComboBox::activated, this, [this] {
            if (!m_filling)
                Guard([this] { CourseValChange(); });
        });
    }

    onExit(m_numedtCalorie, &TActivityPage::CalculateCalorieHour);
    onExit(m_numedtTDTTime, &TActivityPage::FloatCalcExit);
    onExit(m_numedtTDTDist, &TActivityPage::FloatCalcExit);
    onExit(m_numedtGameTime, &TActivityPage::CalculateCalorieHour);
    onExit(m_numedtTTime, &TActivityPage::CalculateCalorieHour);
    onExit(m_numedtWaist, &TActivityPage::WaistHipExit);
    onExit(m_numedtHip, &TActivityPage::WaistHipExit);
    for (TNumericalEdit *edit : {m_numedtGolfPar, m_numedtGolfCR, m_numedtGolfPrevHCP, m_numedtGolfSlope})
        onExit(edit, &TActivityPage::CalculateAllowedStrokes);
    onExit(m_numedtLaps, &TActivityPage::LapCountExit);
    connect(m_numedtLaps, &QLineEdit::textEdited, this, [this] {
        if (!m_filling)
            Guard([this] { CourseValChange(); });
    });

    for (int i = 0; i < TCorvaleCommon::LapCount; ++i) {
        TNumericalEdit *distance = LapEdit(i, 0);
        TNumericalEdit *split = LapEdit(i, 1);
        connect(distance, &TNumericalEdit::Exit, this, [this] {
            if (!m_refocusing)
                Guard([this] { RecalcLaps(); });
        });
        connect(distance, &QLineEdit::textEdited, this, [this] {
            if (!m_filling)
                Guard([this] { CourseValChange(); });
        });
        connect(split, &TNumericalEdit::Exit, this, [this, split] {
            if (m_refocusing)
                return;
            Guard([this, split] {
                RequireTime(split, false);
                RecalcLaps();
            });
        });
    }

    connect(m_btnTDTPulse, &QPushButton::clicked, this, [this] { Guard([this] { SelectPulses(); }); });
    connect(m_cmbbxWorkEP, &QComboBox::activated, this, [this] { Guard([this] { cmbbxWorkEPChange(); }); });
    connect(m_chkbxGolfUseGrid, &QCheckBox::clicked, this, [this] { Guard([this] { CalculateCardTotals(); }); });
    connect(m_strgrdGolf, &TEntryGrid::CellSelected, this, [this] { Guard([this] { CalculateCardTotals(); }); });
    connect(m_strgrdGolf, &TEntryGrid::Left, this, [this] { Guard([this] { CalculateCardTotals(); }); });
}

// ---------------------------------------------------------------------------
// Pickers

void TActivityPage::trbrWeatherChange()
{
    const int position = m_trbrWeather->value();
    m_lblWeather->setText(position > 0 ? TCorvaleCommon::WeatherTexts().value(position - 1) : QString());
    m_imgWeather->setPixmap(TCorvaleCommon::WeatherPicture(position));
    m_imgWeather->setVisible(position > 0);
}

void TActivityPage::trbrWindDirChange()
{
    const int position = m_trbrWindDir->value();
    m_lblWindDir->setText(position > 0 ? TCorvaleCommon::WindDirTexts().value(position - 1) : QString());
    m_imgWindDir->setPixmap(TCorvaleCommon::WindDirPicture(position));
    m_imgWindDir->setVisible(position > 0);
}

void TActivityPage::trbrSleepChange()
{
    const int position = m_trbrSleep->value();
    m_lblSleepQuality->setText(position > 0 ? TCorvaleCommon::SleepTexts().value(position - 1) : QString());
    m_imgSleep->setPixmap(TCorvaleCommon::SleepPicture(position));
    m_imgSleep->setVisible(position > 0);
}

void TActivityPage::UpdatePickers()
{
    trbrWeatherChange();
    trbrWindDirChange();
    trbrSleepChange();
}

TNumericalEdit *TActivityPage::LapEdit(int lap, int row) const
{
    return m_numedtLapEdits.at(std::size_t(lap)).at(std::size_t(row));
}
