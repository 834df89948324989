#include "model/ActivityClasses.h"

#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieWorkout.h"
#include "model/ClasshieTypes.h"

#include <QHash>

const TActivityClass *ActivityClassOfCode(const QString &code)
{
    static const QHash<QString, const TActivityClass *> classes{
        {QStringLiteral("RUN"), ActivityClassOf<TRunning>()},   {QStringLiteral("SKI"), ActivityClassOf<TSkiing>()},
        {QStringLiteral("FLO"), ActivityClassOf<TFloorball>()}, {QStringLiteral("SPI"), ActivityClassOf<TSpinning>()},
        {QStringLiteral("TRE"), ActivityClassOf<TTrekking>()},  {QStringLiteral("DOW"), ActivityClassOf<TDownhill>()},
        {QStringLiteral("BIK"), ActivityClassOf<TBiking>()},    {QStringLiteral("SKA"), ActivityClassOf<TSkating>()},
        {QStringLiteral("TEN"), ActivityClassOf<TTennis>()},    {QStringLiteral("AER"), ActivityClassOf<TAerobics>()},
        {QStringLiteral("DAN"), ActivityClassOf<TDance>()},     {QStringLiteral("BLO"), ActivityClassOf<TWeight>()},
        {QStringLiteral("OTH"), ActivityClassOf<TOther>()},     {QStringLiteral("SWI"), ActivityClassOf<TSwimming>()},
        {QStringLiteral("SOC"), ActivityClassOf<TSoccer>()},    {QStringLiteral("HOC"), ActivityClassOf<TIceHockey>()},
        {QStringLiteral("CAR"), ActivityClassOf<TCardio>()},    {QStringLiteral("CAN"), ActivityClassOf<TCanoeing>()},
        {QStringLiteral("INL"), ActivityClassOf<TInlines>()},   {QStringLiteral("CAM"), ActivityClassOf<TCardioMeasure>()},
        {QStringLiteral("GOL"), ActivityClassOf<TGolf>()},      {QStringLiteral("WOR"), ActivityClassOf<TWorkout>()},
    };
    return classes.value(code.trimmed().toUpper(), nullptr);
}
