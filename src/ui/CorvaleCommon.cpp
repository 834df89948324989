#include "ui/CorvaleCommon.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/PGEdit.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace
{
constexpr int PictureSize = 32;

// What a weather picture is made of.
enum class TPrecipitation { None, Rain, Sleet, Snow };
struct TWeatherLook
{
    bool sun;          // the sun in the upper left corner
    bool sunFull;      // the whole sun, no cloud
    int clouds;        // 0 none, 1 a light cloud, 2 a cloud, 3 overcast
    TPrecipitation precipitation;
    bool showers;      // a few drops below a cloud the sun peeks past
    bool thunder;
    bool fog;
};

// Positions 1..14 in the order of the texts.
constexpr TWeatherLook WeatherLooks[] = {
    {true, true, 0, TPrecipitation::None, false, false, false},   // Soligt
    {false, false, 3, TPrecipitation::Rain, false, false, false}, // Mulet och regn
    {false, false, 3, TPrecipitation::None, false, false, false}, // Mulet
    {true, false, 2, TPrecipitation::Rain, true, false, false},   // Regnskurar
    {false, false, 2, TPrecipitation::None, false, false, false}, // Molnigt
    {true, false, 2, TPrecipitation::None, false, false, false},  // Halvklart till mulet
    {true, false, 1, TPrecipitation::None, false, false, false},  // Växlande molnighet
    {true, false, 2, TPrecipitation::Sleet, true, false, false},  // Byar av snöblandat regn
    {false, false, 3, TPrecipitation::Sleet, false, false, false},// Mulet och snöblandat regn
    {true, false, 2, TPrecipitation::Snow, true, false, false},   // Snöbyar
    {false, false, 3, TPrecipitation::Snow, false, false, false}, // Mulet och snöfall
    {true, false, 2, TPrecipitation::Rain, true, true, false},    // Åskskurar
    {false, false, 3, TPrecipitation::Rain, false, true, false},  // Mulet och regn med åska
    {false, false, 0, TPrecipitation::None, false, false, true},  // Dimma
};

QPixmap blankPicture()
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::transparent);
    return picture;
}

void drawSun(QPainter &painter, bool full)
{
    const QPointF centre = full ? QPointF(16, 16) : QPointF(11, 10);
    const double radius = full ? 7 : 5.5;
    painter.setPen(QPen(QColor(230, 160, 0), 1.5));
    for (int i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4;
        painter.drawLine(centre + QPointF(qCos(angle), qSin(angle)) * (radius + 2),
                         centre + QPointF(qCos(angle), qSin(angle)) * (radius + (full ? 6 : 4)));
    }
    painter.setBrush(QColor(255, 200, 0));
    painter.drawEllipse(centre, radius, radius);
}

void drawCloud(QPainter &painter, const QRectF &area, const QColor &colour)
{
    QPainterPath cloud;
    const double w = area.width();
    const double h = area.height();
    cloud.addEllipse(QRectF(area.left(), area.top() + h * 0.35, w * 0.5, h * 0.65));
    cloud.addEllipse(QRectF(area.left() + w * 0.22, area.top(), w * 0.5, h * 0.8));
    cloud.addEllipse(QRectF(area.left() + w * 0.5, area.top() + h * 0.25, w * 0.5, h * 0.75));
    cloud.setFillRule(Qt::WindingFill);
    painter.setPen(QPen(colour.darker(130), 1));
    painter.setBrush(colour);
    painter.drawPath(cloud.simplified());
}

void drawDrop(QPainter &painter, const QPointF &at)
{
    painter.setPen(QPen(QColor(30, 90, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at, at + QPointF(-1.5, 4));
}

void drawFlake(QPainter &painter, const QPointF &at)
{
    painter.setPen(QPen(QColor(90, 140, 220), 1));
    for (int i = 0; i < 3; ++i) {
        const double angle = i * M_PI / 3;
        const QPointF d(qCos(angle) * 2.2, qSin(angle) * 2.2);
        painter.drawLine(at - d, at + d);
    }
}

void drawPrecipitation(QPainter &painter, TPrecipitation kind, bool showers)
{
    const QList<QPointF> all = {{9, 24}, {15, 25}, {21, 24}, {27, 25}, {12, 29}, {18, 29}, {24, 29}};
    const QList<QPointF> few = {{15, 25}, {21, 24}, {18, 29}};
    const QList<QPointF> &points = showers ? few : all;
    for (int i = 0; i < points.size(); ++i) {
        const bool snow = kind == TPrecipitation::Snow || (kind == TPrecipitation::Sleet && i % 2 == 1);
        if (snow)
            drawFlake(painter, points.at(i));
        else
            drawDrop(painter, points.at(i));
    }
}

void drawThunder(QPainter &painter)
{
    QPolygonF bolt;
    bolt << QPointF(17, 17) << QPointF(12, 25) << QPointF(16, 25) << QPointF(13, 31) << QPointF(21, 22) << QPointF(17, 22)
         << QPointF(20, 17);
    painter.setPen(QPen(QColor(200, 140, 0), 1));
    painter.setBrush(QColor(255, 220, 0));
    painter.drawPolygon(bolt);
}

void drawFog(QPainter &painter)
{
    painter.setPen(QPen(QColor(140, 140, 140), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = 9 + i * 5;
        const double indent = (i % 2) * 4;
        painter.drawLine(QPointF(4 + indent, y), QPointF(28 - (1 - i % 2) * 4, y));
    }
}

QString hintTable(const QStringList &headings, const QList<QStringList> &rows)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (const QString &heading : headings)
        html += QStringLiteral("<th align=\"left\">") + heading.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (const QStringList &row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : row)
            html += QStringLiteral("<td valign=\"top\">") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}
}

void TCorvaleCommon::SetLapTimeEditProperties(TNumericalEdit *edit, int lap, int top)
{
    if (!edit)
        throw ECorvaleError(QStringLiteral("Control nil in SetLapTimeEditProperties"));
    edit->SetNumDecimals(2);
    edit->SetNegValues(false);
    edit->SetMaxValue(QStringLiteral("999"));
    // No minimum above 0: a field puts its minimum in place of a number
    // below it while it is typed, so a minimum of 0.01 would turn the "0"
    // of "0.4" into 0.01 and no lap shorter than a kilometre could be typed.
    edit->SetMinValue(QStringLiteral("0"));
    edit->setFixedWidth(LapEditWidth);
    edit->move(lap * LapColumnWidth + 4, top);
}

void TCorvaleCommon::SetLapTimeLabelProperties(QLabel *label, int lap)
{
    if (!label)
        throw ECorvaleError(QStringLiteral("Control nil in SetLapTimeLabelProperties"));
    label->setText(QString::number(lap + 1));
    label->move(lap * LapColumnWidth + 22, 2);
}

const QStringList &TCorvaleCommon::WeatherTexts()
{
    static const QStringList texts = {
        QStringLiteral("Soligt"),
        QStringLiteral("Mulet och regn"),
        QStringLiteral("Mulet"),
        QStringLiteral("Regnskurar"),
        QStringLiteral("Molnigt"),
        QStringLiteral("Halvklart till mulet"),
        QStringLiteral("Växlande molnighet"),
        QStringLiteral("Byar av snöblandat regn"),
        QStringLiteral("Mulet och snöblandat regn"),
        QStringLiteral("Snöbyar"),
        QStringLiteral("Mulet och snöfall"),
        QStringLiteral("Åskskurar"),
        QStringLiteral("Mulet och regn med åska"),
        QStringLiteral("Dimma"),
    };
    return texts;
}

const QStringList &TCorvaleCommon::WindDirTexts()
{
    static const QStringList texts = {
        QStringLiteral("Vindstilla"),       QStringLiteral("Sydlig vind"),     QStringLiteral("Sydvästlig vind"),
        QStringLiteral("Västlig vind"),     QStringLiteral("Nordvästlig vind"), QStringLiteral("Nordlig vind"),
        QStringLiteral("Nordöstlig vind"),  QStringLiteral("Östlig vind"),     QStringLiteral("Sydöstlig vind"),
    };
    return texts;
}

const QStringList &TCorvaleCommon::SleepTexts()
{
    static const QStringList texts = {QStringLiteral("Dålig vila"), QStringLiteral("Ok vila"), QStringLiteral("Bra vila")};
    return texts;
}

const QStringList &TCorvaleCommon::PerformanceTexts()
{
    static const QStringList texts = {QStringLiteral("Mycket dåligt"), QStringLiteral("Dåligt"), QStringLiteral("Medel"),
                                      QStringLiteral("Bra"), QStringLiteral("Mycket bra")};
    return texts;
}

QString TCorvaleCommon::WeekdayName(int dayOfWeek)
{
    static const QStringList names = {QStringLiteral("Måndag"), QStringLiteral("Tisdag"), QStringLiteral("Onsdag"),
                                      QStringLiteral("Torsdag"), QStringLiteral("Fredag"), QStringLiteral("Lördag"),
                                      QStringLiteral("Söndag")};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? names.at(dayOfWeek - 1) : QString();
}

QString TCorvaleCommon::WeatherHint()
{
    static const QStringList meanings = {
        QStringLiteral("Klar himmel eller bara enstaka tunna moln; solen skiner."),
        QStringLiteral("Himlen är helt täckt av tjocka moln och det regnar ihållande."),
        QStringLiteral("Himlen är helt täckt av tjocka moln; ingen nederbörd."),
        QStringLiteral("Växlande moln med korta, ibland kraftiga regnskurar och uppehåll mellan dem."),
        QStringLiteral("Större delen av himlen är täckt av moln, men solen kan skymta fram."),
        QStringLiteral("Ungefär halva himlen är täckt av moln, som blir fler."),
        QStringLiteral("Moln kommer och går; sol omväxlar med moln."),
        QStringLiteral("Växlande moln med korta skurar av regn och snö om vartannat."),
        QStringLiteral("Helt täckt himmel med ihållande regn blandat med snö."),
        QStringLiteral("Växlande moln med korta snöbyar och uppehåll mellan dem."),
        QStringLiteral("Helt täckt himmel med ihållande snöfall."),
        QStringLiteral("Växlande moln med kraftiga skurar, åska och blixtar."),
        QStringLiteral("Helt täckt himmel med ihållande regn, åska och blixtar."),
        QStringLiteral("Moln som ligger vid marken; sikten är kortare än en kilometer."),
    };
    QList<QStringList> rows;
    for (int i = 0; i < WeatherTexts().size(); ++i)
        rows.append({WeatherTexts().at(i), meanings.at(i)});
    return hintTable({QStringLiteral("Vädersymbol"), QStringLiteral("Betydelse")}, rows);
}

QString TCorvaleCommon::WindHint()
{
    const QString ditto = QStringLiteral("\"");
    const QList<QStringList> rows = {
        {QStringLiteral("0–0,2"), QStringLiteral("Lugnt"), QStringLiteral("Röken stiger rakt upp; vattenytan är spegelblank.")},
        {QStringLiteral("0,3–1,5"), ditto, QStringLiteral("Röken driver svagt; vindflöjlar står still.")},
        {QStringLiteral("1,6–3,3"), ditto, QStringLiteral("Vinden känns i ansiktet; löven prasslar.")},
        {QStringLiteral("3,4–5,4"), QStringLiteral("Måttlig vind"), QStringLiteral("Löv och kvistar rör sig; lätta flaggor sträcks ut.")},
        {QStringLiteral("5,5–7,9"), ditto, QStringLiteral("Damm och papper lyfts; mindre grenar rör sig.")},
        {QStringLiteral("8,0–10,7"), QStringLiteral("Frisk vind"), QStringLiteral("Små lövträd svajar; vita vågkammar på sjöarna.")},
        {QStringLiteral("10,8–13,8"), ditto, QStringLiteral("Stora grenar rör sig; det viner i ledningarna.")},
        {QStringLiteral("13,9–17,1"), QStringLiteral("Hård vind"), QStringLiteral("Hela träd rör sig; det är besvärligt att gå mot vinden.")},
        {QStringLiteral("17,2–20,7"), ditto, QStringLiteral("Kvistar bryts av; det är mycket svårt att gå mot vinden.")},
        {QStringLiteral("20,8–24,4"), ditto, QStringLiteral("Mindre skador på hus; takpannor blåser ner.")},
        {QStringLiteral("24,5–28,4"), QStringLiteral("Storm"), QStringLiteral("Träd rycks upp med rötterna; stora skador på hus.")},
        {QStringLiteral("28,5–32,6"), QStringLiteral("Svår storm"), QStringLiteral("Omfattande skador över stora områden.")},
        {QStringLiteral("över 32,6"), QStringLiteral("Orkan"), QStringLiteral("Förödande skador.")},
    };
    return hintTable({QStringLiteral("Vindhastighet (m/s)"), QStringLiteral("I ord"), QStringLiteral("Vindens verkningar")}, rows);
}

QPixmap TCorvaleCommon::WeatherPicture(int position)
{
    if (position < 1 || position > WeatherTexts().size())
        return QPixmap();
    const TWeatherLook &look = WeatherLooks[position - 1];
    QPixmap picture = blankPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (look.sun)
        drawSun(painter, look.sunFull);
    if (look.fog)
        drawFog(painter);
    switch (look.clouds) {
    case 1:
        drawCloud(painter, QRectF(12, 10, 17, 10), QColor(235, 235, 240));
        break;
    case 2:
        drawCloud(painter, QRectF(7, 6, 23, 15), QColor(210, 210, 218));
        break;
    case 3:
        drawCloud(painter, QRectF(1, 3, 22, 13), QColor(150, 150, 160));
        drawCloud(painter, QRectF(8, 6, 23, 15), QColor(120, 120, 130));
        break;
    default:
        break;
    }
    if (look.precipitation != TPrecipitation::None)
        drawPrecipitation(painter, look.precipitation, look.showers);
    if (look.thunder)
        drawThunder(painter);
    return picture;
}

QPixmap TCorvaleCommon::WindDirPicture(int position)
{
    if (position < 1 || position > WindDirTexts().size())
        return QPixmap();
    QPixmap picture = blankPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(16, 16), 14, 14);
    if (position == 1) {
        painter.setBrush(QColor(90, 90, 90));
        painter.drawEllipse(QPointF(16, 16), 3, 3);
        return picture;
    }
    // Position 2 is wind from the south; each step turns 45 degrees to the
    // west. The arrow points where the wind blows.
    const double from = 180.0 + 45.0 * (position - 2);
    painter.translate(16, 16);
    painter.rotate(from + 180.0);
    painter.setPen(QPen(QColor(20, 60, 160), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 10), QPointF(0, -8));
    QPolygonF head;
    head << QPointF(0, -12) << QPointF(-5, -4) << QPointF(5, -4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 60, 160));
    painter.drawPolygon(head);
    return picture;
}

QPixmap TCorvaleCommon::SleepPicture(int position)
{
    if (position < 1 || position > SleepTexts().size())
        return QPixmap();
    static const QColor colours[] = {QColor(210, 40, 40), QColor(230, 180, 0), QColor(40, 160, 60)};
    QPixmap picture = blankPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // A battery, charged one, two or three thirds.
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3, 9, 24, 14), 2, 2);
    painter.setBrush(QColor(60, 60, 60));
    painter.drawRect(QRectF(27, 13, 3, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours[position - 1]);
    for (int i = 0; i < position; ++i)
        painter.drawRect(QRectF(5.5 + i * 7, 11.5, 6, 9));
    return picture;
}

QPixmap TCorvaleCommon::HelpPicture()
{
    QPixmap picture(18, 18);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 60, 160), 1));
    painter.setBrush(QColor(225, 235, 255));
    painter.drawEllipse(QRectF(1, 1, 16, 16));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return picture;
}

QPixmap TCorvaleCommon::BodyPicture()
{
    QPixmap picture(90, 180);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(235, 235, 240));
    // Head, neck, trunk, arms and legs.
    painter.drawEllipse(QPointF(45, 16), 11, 13);
    QPainterPath body;
    body.moveTo(40, 29);
    body.lineTo(40, 34);
    body.lineTo(22, 40);
    body.lineTo(14, 92);
    body.lineTo(20, 93);
    body.lineTo(28, 55);
    body.lineTo(30, 90);
    body.lineTo(28, 172);
    body.lineTo(40, 172);
    body.lineTo(45, 104);
    body.lineTo(50, 172);
    body.lineTo(62, 172);
    body.lineTo(60, 90);
    body.lineTo(62, 55);
    body.lineTo(70, 93);
    body.lineTo(76, 92);
    body.lineTo(68, 40);
    body.lineTo(50, 34);
    body.lineTo(50, 29);
    body.closeSubpath();
    painter.drawPath(body);
    // Where the tape goes: neck, shoulders, chest, upper arm, forearm,
    // waist, hip, thigh and calf.
    painter.setPen(QPen(QColor(200, 60, 60), 1.5, Qt::DashLine));
    const QLineF girths[] = {{38, 32, 52, 32},   {20, 41, 70, 41},   {28, 52, 62, 52},   {16, 58, 26, 58},  {13, 78, 21, 78},
                             {29, 72, 61, 72},   {29, 88, 61, 88},   {29, 112, 44, 112}, {30, 145, 41, 145}};
    for (const QLineF &girth : girths)
        painter.drawLine(girth);
    return picture;
}
