#include "SampleDiary.h"

#include "DiaryDatabase.h"

#include "foundation/DbClient.h"
#include "foundation/PGUtils.h"
#include "model/ActFactory.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieCardio.h"
#include "model/ClasshieGolf.h"
#include "model/ClasshieTypes.h"
#include "model/ClasshieWorkout.h"
#include "reference/Courses.h"
#include "reference/Exercises.h"
#include "reference/Pulses.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using Str = TTulloUtilString;

// ---------------------------------------------------------------------------
// Random numbers that are the same on every machine and library: xoshiro256**
// seeded through splitmix64, and only plain arithmetic on top of it (the
// standard distributions differ between library implementations).
//
// Each draw is its own statement throughout this file: two draws in one
// expression would be taken in an unspecified order.
class TRandom
{
public:
    explicit TRandom(quint64 seed)
    {
        quint64 x = seed;
        for (quint64 &word : m_state) {
            x += 0x9E3779B97F4A7C15ull;
            quint64 z = x;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    quint64 Next()
    {
        const quint64 result = rotate(m_state[1] * 5, 7) * 9;
        const quint64 t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotate(m_state[3], 45);
        return result;
    }

    // 0 <= value < 1.
    double Real() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // low..high, both included.
    int Between(int low, int high) { return low + int(Next() % quint64(high - low + 1)); }

    double Uniform(double low, double high) { return low + (high - low) * Real(); }

    bool Chance(double probability) { return Real() < probability; }

    // About normal with mean 0 and deviation 1 (a sum of four uniforms), never
    // beyond +-3.5.
    double Normal()
    {
        double sum = 0.0;
        for (int i = 0; i < 4; ++i)
            sum += Real();
        return (sum - 2.0) * 1.7320508075688772;
    }

    // An index drawn by the weights; -1 when they are all 0.
    int Weighted(const std::vector<double> &weights)
    {
        double total = 0.0;
        for (double weight : weights)
            total += weight;
        if (total <= 0.0)
            return -1;
        double point = Real() * total;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (point < weights[i])
                return int(i);
            point -= weights[i];
        }
        // Rounding left the point at the very end.
        for (std::size_t i = weights.size(); i-- > 0;) {
            if (weights[i] > 0.0)
                return int(i);
        }
        return -1;
    }

    template <class T> void Shuffle(T &items)
    {
        for (int i = int(items.size()) - 1; i > 0; --i) {
            const int j = Between(0, i);
            std::swap(items[std::size_t(i)], items[std::size_t(j)]);
        }
    }

private:
    static quint64 rotate(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }

    std::array<quint64, 4> m_state{};
};

// ---------------------------------------------------------------------------
// The activity types as a sample person trains them.

enum class TKind { TimeDistance, Time, Game, Distance, Simple, Weighing, Other, Golf, Workout, Measure };

// Where a session takes place, for the weather fields.
enum class TOutdoor { Never, Always, Summer };

struct TTypeProfile
{
    const char *Code;
    TKind Kind;
    // Share of a year's entries, before the season.
    double Share;
    // How much more or less often than on average, January first.
    std::array<double, 12> Season;
    TOutdoor Outdoor;
    // Places, the first the most common.
    std::vector<const char *> Places;
    // Time and distance: a typical distance and its limits (km), speeds
    // (km/h), the lap lengths a session is split by, how often a session has
    // marks and how often it runs on a course.
    double TypicalKm = 0, MinKm = 0, MaxKm = 0, SlowKmh = 0, FastKmh = 0;
    std::vector<double> LapKm;
    double LapShare = 0, CourseShare = 0;
    // Time, game and distance types: minutes, or kilometres for Distance.
    double Low = 0, High = 0;
    // Energy per minute and the usual average pulse.
    double KcalPerMinute = 7;
    int AveragePulse = 130;
    std::vector<const char *> Comments;
};

TTypeProfile makeType(const char *code, TKind kind, double share, const std::array<double, 12> &season, TOutdoor outdoor,
                      std::vector<const char *> places)
{
    TTypeProfile type;
    type.Code = code;
    type.Kind = kind;
    type.Share = share;
    type.Season = season;
    type.Outdoor = outdoor;
    type.Places = std::move(places);
    return type;
}

const std::vector<TTypeProfile> &typeProfiles()
{
    using S = std::array<double, 12>;
    static const std::vector<TTypeProfile> profiles = [] {
        std::vector<TTypeProfile> list;
        auto add = [&list](TTypeProfile profile) { list.push_back(std::move(profile)); };

        TTypeProfile run = makeType("RUN", TKind::TimeDistance, 24, S{0.8, 0.8, 0.9, 1.1, 1.2, 1.1, 1.0, 1.1, 1.2, 1.1, 0.9, 0.7},
                         TOutdoor::Always,
                         {"Elljusspåret", "Runt sjön", "Skogsslingan", "Kanalvägen", "Åsen", "Stadsparken", "Friidrottsarenan"});
        run.TypicalKm = 8.5, run.MinKm = 3, run.MaxKm = 42.2, run.SlowKmh = 9.5, run.FastKmh = 13.5;
        run.LapKm = {1.0, 2.0, 0.5}, run.LapShare = 0.75, run.CourseShare = 0.35;
        run.KcalPerMinute = 11, run.AveragePulse = 148;
        run.Comments = {"Intervaller 6 x 800 m.", "Långpass i lugnt tempo.", "Tempolopp, höll farten hela vägen.",
                        "Backintervaller 10 x 30 s.", "Fartlek i skogen.", "Nya skor, lite skavsår.",
                        "Ont i vänster knä efteråt.", "Tävling! Nöjd med placeringen.", "Sprang med klubben."};
        add(run);

        TTypeProfile ski = makeType("SKI", TKind::TimeDistance, 10, S{3.2, 3.4, 2.6, 0.6, 0, 0, 0, 0, 0, 0, 0.4, 2.0}, TOutdoor::Always,
                         {"Elljusspåret", "Konstsnöspåret", "Fjällstugan", "Sjöisen", "Vasaloppsspåret"});
        ski.TypicalKm = 15, ski.MinKm = 4, ski.MaxKm = 90, ski.SlowKmh = 9, ski.FastKmh = 18;
        ski.LapKm = {2.5, 5.0, 1.0}, ski.LapShare = 0.7, ski.CourseShare = 0.3;
        ski.KcalPerMinute = 12, ski.AveragePulse = 150;
        ski.Comments = {"Klisterföre, bra fäste.", "Nyspårat och fint.", "Dåligt glid i kylan.", "Skate hela passet.",
                        "Klassiskt, stakade mycket.", "Mycket folk i spåret."};
        add(ski);

        TTypeProfile workout = makeType("WOR", TKind::Workout, 13, S{1.3, 1.2, 1.1, 0.9, 0.8, 0.6, 0.5, 0.7, 0.9, 1.1, 1.3, 1.3},
                             TOutdoor::Never, {"Gymmet", "Hemmagymmet", "Friskis", "Hotellgymmet"});
        workout.KcalPerMinute = 6, workout.AveragePulse = 110;
        workout.Comments = {"Tungt i dag.", "Nytt personbästa i knäböj!", "Lätt pass, trött efter jobbet.",
                            "Fokus på tekniken.", "Kort pass, ont om tid."};
        add(workout);

        TTypeProfile floorball = makeType("FLO", TKind::Game, 2, S{1.4, 1.4, 1.3, 1.0, 0.4, 0, 0, 0.2, 1.2, 1.4, 1.4, 1.2},
                               TOutdoor::Never, {"Sporthallen", "Skolans gympasal"});
        floorball.Low = 60, floorball.High = 105, floorball.KcalPerMinute = 10, floorball.AveragePulse = 145;
        floorball.Comments = {"Korpen.", "Bra spel i andra perioden.", "Tappade klubban två gånger."};
        add(floorball);

        TTypeProfile golf = makeType("GOL", TKind::Golf, 3, S{0, 0, 0, 0.3, 1.8, 2.5, 2.8, 2.5, 1.5, 0.4, 0, 0}, TOutdoor::Always,
                          {"Björkviks GK", "Stensjö GK", "Lövsta GK", "Ekbacka GK"});
        golf.KcalPerMinute = 4, golf.AveragePulse = 95;
        golf.Comments = {"Bra drives men dålig puttning.", "Birdie på sjuan!", "Regn på andra nio.",
                         "Spelade med klubbkompisarna.", "Tappade tre bollar i vattnet."};
        add(golf);

        TTypeProfile spinning = makeType("SPI", TKind::Time, 3, S{1.6, 1.6, 1.4, 1.0, 0.6, 0.3, 0.2, 0.3, 0.8, 1.3, 1.6, 1.5},
                              TOutdoor::Never, {"Gymmet", "Friskis", "Träningscentret"});
        spinning.Low = 45, spinning.High = 60, spinning.KcalPerMinute = 10, spinning.AveragePulse = 145;
        spinning.Comments = {"Intervallpass med bra musik.", "Ny instruktör, tufft!", "Lugnt distanspass."};
        add(spinning);

        TTypeProfile trekking = makeType("TRE", TKind::Distance, 3, S{0.3, 0.3, 0.5, 0.8, 1.3, 1.8, 2.2, 1.8, 1.5, 1.0, 0.5, 0.3},
                              TOutdoor::Always, {"Skogen bakom huset", "Kungsleden", "Bohusleden", "Nationalparken", "Skåneleden"});
        trekking.Low = 4, trekking.High = 28, trekking.KcalPerMinute = 5, trekking.AveragePulse = 105;
        trekking.Comments = {"Med ryggsäck.", "Plockade blåbär på vägen.", "Blött i myrarna.", "Fin utsikt från toppen."};
        add(trekking);

        TTypeProfile downhill = makeType("DOW", TKind::Simple, 1.5, S{2.5, 3.5, 3.0, 1.2, 0, 0, 0, 0, 0, 0, 0.2, 1.5},
                              TOutdoor::Always, {"Åre", "Sälen", "Vemdalen", "Hemmabacken"});
        downhill.Comments = {"Puder hela förmiddagen.", "Isigt i backarna.", "Långa köer i liften."};
        add(downhill);

        TTypeProfile biking = makeType("BIK", TKind::TimeDistance, 12, S{0.1, 0.1, 0.3, 1.0, 1.7, 2.0, 2.0, 1.9, 1.4, 0.7, 0.2, 0.1},
                            TOutdoor::Always, {"Runt sjön", "Kustvägen", "Landsvägen söderut", "Skogsvägarna", "Till jobbet"});
        biking.TypicalKm = 42, biking.MinKm = 12, biking.MaxKm = 160, biking.SlowKmh = 20, biking.FastKmh = 32;
        biking.LapKm = {5.0, 10.0}, biking.LapShare = 0.7, biking.CourseShare = 0.2;
        biking.KcalPerMinute = 9, biking.AveragePulse = 135;
        biking.Comments = {"Punktering efter halva vägen.", "Motvind hela vägen hem.", "Klungkörning med klubben.",
                           "Mountainbike i skogen.", "Grusvägar, dammigt."};
        add(biking);

        TTypeProfile skating = makeType("SKA", TKind::Time, 1.5, S{3.0, 3.0, 1.2, 0, 0, 0, 0, 0, 0, 0, 0.6, 2.2}, TOutdoor::Always,
                             {"Sjöisen", "Långfärdsbanan", "Ishallen"});
        skating.Low = 40, skating.High = 150, skating.KcalPerMinute = 8, skating.AveragePulse = 125;
        skating.Comments = {"Svartis hela vägen!", "Spårigt och knöligt.", "Långfärd med föreningen."};
        add(skating);

        TTypeProfile tennis = makeType("TEN", TKind::Time, 1.5, S{0.6, 0.6, 0.6, 0.8, 1.4, 1.8, 1.8, 1.6, 1.2, 0.8, 0.6, 0.6},
                            TOutdoor::Summer, {"Tennishallen", "Klubbens grusbanor", "Parkbanan"});
        tennis.Low = 60, tennis.High = 120, tennis.KcalPerMinute = 8, tennis.AveragePulse = 130;
        tennis.Comments = {"Dubbel med grannarna.", "Vann i tre set.", "Serven fungerade inte alls."};
        add(tennis);

        TTypeProfile aerobics = makeType("AER", TKind::Time, 1.5, S{1.3, 1.3, 1.2, 1.0, 0.8, 0.6, 0.5, 0.6, 1.0, 1.2, 1.3, 1.2},
                              TOutdoor::Never, {"Friskis", "Gymmet"});
        aerobics.Low = 45, aerobics.High = 60, aerobics.KcalPerMinute = 8, aerobics.AveragePulse = 135;
        aerobics.Comments = {"Medelpass.", "Step med bra tempo.", "Fullt i salen."};
        add(aerobics);

        TTypeProfile dance = makeType("DAN", TKind::Time, 1, S{1.1, 1.1, 1.1, 1.0, 1.0, 0.8, 0.7, 0.8, 1.0, 1.1, 1.1, 1.2}, TOutdoor::Never,
                           {"Dansskolan", "Folkets hus", "Logen"});
        dance.Low = 60, dance.High = 180, dance.KcalPerMinute = 6, dance.AveragePulse = 115;
        dance.Comments = {"Bugg hela kvällen.", "Lärde oss en ny vals.", "Dansband på logen."};
        add(dance);

        TTypeProfile weighing = makeType("BLO", TKind::Weighing, 4, S{1.3, 1.1, 1.0, 1.0, 1.0, 0.9, 0.7, 0.9, 1.0, 1.0, 1.0, 1.1},
                              TOutdoor::Never, {"Hemma", "Gymmet"});
        weighing.Comments = {"Morgonvikt.", "Efter semestern.", "Före frukost."};
        add(weighing);

        TTypeProfile other = makeType("OTH", TKind::Other, 1.5, S{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, TOutdoor::Summer,
                           {"Klätterhallen", "Gymmet", "Hemma", "Skogen", "Bowlinghallen"});
        other.KcalPerMinute = 6, other.AveragePulse = 115;
        other.Comments = {"Kul omväxling.", "Prova på-tillfälle.", "Med barnen."};
        add(other);

        TTypeProfile swimming = makeType("SWI", TKind::TimeDistance, 4, S{0.9, 0.9, 0.9, 1.0, 1.1, 1.3, 1.6, 1.3, 1.0, 0.9, 0.9, 0.8},
                              TOutdoor::Summer, {"Simhallen", "Badhuset", "Sjön", "Havet vid bryggan"});
        swimming.TypicalKm = 1.5, swimming.MinKm = 0.5, swimming.MaxKm = 4, swimming.SlowKmh = 2.2, swimming.FastKmh = 3.4;
        swimming.LapKm = {0.1, 0.2, 0.25, 0.5}, swimming.LapShare = 0.6, swimming.CourseShare = 0.3;
        swimming.KcalPerMinute = 9, swimming.AveragePulse = 130;
        swimming.Comments = {"Teknikpass crawl.", "Intervaller 10 x 100 m.", "Bröstsim, lugnt.", "Kallt i vattnet."};
        add(swimming);

        TTypeProfile soccer = makeType("SOC", TKind::Game, 2, S{0, 0, 0.2, 1.2, 1.8, 1.8, 1.2, 1.8, 1.8, 1.2, 0.3, 0}, TOutdoor::Always,
                            {"Konstgräset", "Idrottsplatsen", "Bollplanen"});
        soccer.Low = 60, soccer.High = 100, soccer.KcalPerMinute = 9, soccer.AveragePulse = 140;
        soccer.Comments = {"Spelade mittfält.", "Gjorde ett mål!", "Blött gräs, halkade mycket."};
        add(soccer);

        TTypeProfile hockey = makeType("HOC", TKind::Game, 1, S{2.0, 2.0, 1.5, 0.5, 0, 0, 0, 0, 0.3, 1.5, 2.0, 2.0}, TOutdoor::Never,
                            {"Ishallen", "Utebanan"});
        hockey.Low = 60, hockey.High = 90, hockey.KcalPerMinute = 10, hockey.AveragePulse = 145;
        hockey.Comments = {"Old boys.", "Tunga skär, måste slipas.", "Tre byten, bra fart."};
        add(hockey);

        TTypeProfile cardio = makeType("CAR", TKind::Time, 2, S{1.3, 1.3, 1.2, 1.0, 0.8, 0.6, 0.5, 0.6, 1.0, 1.2, 1.3, 1.3},
                            TOutdoor::Never, {"Gymmet", "Hemma", "Träningscentret"});
        cardio.Low = 30, cardio.High = 60, cardio.KcalPerMinute = 9, cardio.AveragePulse = 135;
        cardio.Comments = {"Crosstrainer.", "Roddmaskin, 5 x 1000 m.", "Löpband i backe."};
        add(cardio);

        TTypeProfile canoeing = makeType("CAN", TKind::Distance, 1.5, S{0, 0, 0, 0.3, 1.5, 2.5, 3.0, 2.5, 1.2, 0.3, 0, 0}, TOutdoor::Always,
                              {"Sjön", "Skärgården", "Ån", "Kanotleden"});
        canoeing.Low = 5, canoeing.High = 30, canoeing.KcalPerMinute = 7, canoeing.AveragePulse = 115;
        canoeing.Comments = {"Spegelblankt vatten.", "Motvind över fjärden.", "Såg en havsörn!"};
        add(canoeing);

        TTypeProfile measure = makeType("CAM", TKind::Measure, 0.5, S{1.2, 1, 1, 1, 1, 0.8, 0.6, 0.8, 1.2, 1, 1, 1}, TOutdoor::Never,
                             {"Gymmet", "Idrottsmedicin", "Hemma"});
        measure.Comments = {"Konditionstest på cykel.", "Mätning på gymmet.", "Test efter uppehållet."};
        add(measure);

        TTypeProfile inlines = makeType("INL", TKind::TimeDistance, 2, S{0, 0, 0, 0.6, 1.8, 2.2, 2.2, 2.0, 1.4, 0.4, 0, 0},
                             TOutdoor::Always, {"Hamnpromenaden", "Cykelbanan", "Flygfältet"});
        inlines.TypicalKm = 20, inlines.MinKm = 8, inlines.MaxKm = 45, inlines.SlowKmh = 16, inlines.FastKmh = 26;
        inlines.LapKm = {2.0, 5.0}, inlines.LapShare = 0.7, inlines.CourseShare = 0.3;
        inlines.KcalPerMinute = 9, inlines.AveragePulse = 135;
        inlines.Comments = {"Grus på asfalten.", "Nya hjul, rullar fint.", "Blåsigt längs vattnet."};
        add(inlines);
        return list;
    }();
    return profiles;
}

// Sessions of every kind may carry these.
const std::vector<const char *> sessionComments = {
    "Kändes lätt i dag.", "Tunga ben efter gårdagens pass.", "Sov dåligt, men passet gick bra ändå.",
    "Blåsigt och kallt.", "Härligt väder!", "Förkyld, tog det lugnt.", "Pigg och stark.", "Tränade med Anna.",
    "Stressig dag, kort pass.", "Lugnt distanspass.", "Halt och isigt.", "Regnade hela tiden.",
    "Första passet efter semestern.", "Bra flyt från början till slut.", "Ont i ryggen efteråt.",
    "Fick köra på kvällen efter jobbet.", "Tränade på lunchen.", "Glömde pulsklockan hemma."};

// Lines added under a comment now and then: a comment may run over lines.
const std::vector<const char *> commentFollowUps = {"Måste vila mer nästa vecka.", "Mål: under timmen i vår.",
                                                    "Ta med vätska nästa gång.", "Stretcha efteråt!"};

const std::vector<const char *> otherActivities = {"Yoga", "Klättring", "Orientering", "Stavgång", "Bowling",
                                                   "Squash", "Badminton", "Padel", "Pilates", "Rodd"};

const std::vector<const char *> opponents = {"IFK Norrby", "Sörby IF", "BK Ekan", "Lunda SK", "Hagaby IK",
                                             "Åsens BK", "Kvarnby IF", "Backa SK"};

// The picker texts of the weather run from 0: Soligt, Mulet och regn, Mulet,
// Regnskurar, Molnigt, Halvklart till mulet, Växlande molnighet, Byar av
// snöblandat regn, Mulet och snöblandat regn, Snöbyar, Mulet och snöfall,
// Åskskurar, Mulet och regn med åska, Dimma.
const std::vector<double> winterWeather = {2, 0.3, 3, 0, 2, 1, 1, 1, 1, 2, 2, 0, 0, 1};
const std::vector<double> springWeather = {2, 1.5, 2, 1.5, 2, 2, 2, 0.3, 0.2, 0.1, 0, 0.1, 0, 0.7};
const std::vector<double> summerWeather = {4, 0.8, 1, 1.5, 1.5, 2, 2, 0, 0, 0, 0, 0.6, 0.3, 0.2};

// Mean temperatures by month, January first.
constexpr std::array<double, 12> monthTemperature = {-3, -3, 0, 5, 11, 15, 17, 16, 12, 7, 2, -1};

// Pulse intervals, beats per minute.
constexpr std::array<std::array<int, 2>, 5> pulseZones = {{{100, 120}, {120, 140}, {140, 155}, {155, 170}, {170, 190}}};

// Courses: activity, place (one of the activity's places), distance, lap
// marks, difficulty and description lines.
struct TCourseProfile
{
    const char *Code;
    const char *Place;
    double Distance;
    std::vector<double> Laps;
    int Difficulty;
    std::vector<const char *> Description;
};

const std::vector<TCourseProfile> courseProfiles = {
    {"RUN", "Elljusspåret", 2.5, {0.5, 1.0, 1.5, 2.0, 2.5}, 1,
     {"Belyst motionsspår med grus.", "Två branta backar efter första kilometern."}},
    {"RUN", "Runt sjön", 7.3, {1, 2, 3, 4, 5, 6, 7, 7.3}, 2, {"Grusväg runt hela sjön.", "Start och mål vid badplatsen."}},
    {"RUN", "Skogsslingan", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 3, {"Stigar och rötter, kuperat."}},
    {"RUN", "Kanalvägen", 5, {1, 2, 3, 4, 5}, 0, {"Platt asfalt längs kanalen, vänd vid slussen."}},
    {"RUN", "Åsen", 12, {2, 4, 6, 8, 10, 12}, 4, {"Upp och ner för åsen tre gånger.", "Tungt i slutet."}},
    {"SKI", "Elljusspåret", 5, {1, 2, 3, 4, 5}, 2, {"Belyst spår, preparerat för klassiskt och skate."}},
    {"SKI", "Konstsnöspåret", 3.3, {1.1, 2.2, 3.3}, 1, {"Tre varv på konstsnön."}},
    {"SKI", "Fjällstugan", 15, {2.5, 5, 7.5, 10, 12.5, 15}, 3, {"Ut på fjället och tillbaka.", "Blåsigt över kalfjället."}},
    {"BIK", "Runt sjön", 32.5, {5, 10, 15, 20, 25, 30, 32.5}, 1, {"Asfalt hela vägen runt."}},
    {"BIK", "Kustvägen", 60, {10, 20, 30, 40, 50, 60}, 2, {"Längs kusten till fyren och tillbaka."}},
    {"SWI", "Simhallen", 1, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0}, 0, {"25-metersbassängen, 40 längder."}},
    {"INL", "Hamnpromenaden", 12, {2, 4, 6, 8, 10, 12}, 1, {"Slät asfalt längs hamnen."}},
};

// Strength exercises with a starting load in kg (0 for exercises done with
// the body's own weight) and the usual sets and repetitions.
struct TExerciseProfile
{
    const char *Name;
    double Load;
    const char *Reps;
};

const std::vector<TExerciseProfile> exerciseProfiles = {
    {"Bänkpress", 55, "3x8"},     {"Knäböj", 70, "5x5"},          {"Marklyft", 90, "3x5"},
    {"Axelpress", 35, "3x8"},     {"Skivstångsrodd", 50, "3x10"}, {"Chins", 0, "3x6"},
    {"Dips", 0, "3x10"},          {"Bicepscurl", 25, "3x10"},     {"Triceps pushdown", 25, "3x12"},
    {"Benpress", 120, "3x10"},    {"Vadpress", 80, "3x15"},       {"Situps", 0, "3x20"},
    {"Utfallssteg", 20, "3x10"},  {"Latsdrag", 50, "3x10"},       {"Hantelflyes", 12, "3x12"},
    {"Ryggresningar", 0, "3x15"}, {"Lårcurl", 35, "3x12"},        {"Benspark", 40, "3x12"},
};

struct TProgramProfile
{
    const char *Name;
    const char *Comment;
    std::vector<const char *> Exercises;
};

const std::vector<TProgramProfile> programProfiles = {
    {"Helkropp A", "Tre gånger i veckan under grundperioden.",
     {"Knäböj", "Bänkpress", "Skivstångsrodd", "Axelpress", "Bicepscurl", "Triceps pushdown", "Situps"}},
    {"Helkropp B", "Växlas med Helkropp A.",
     {"Marklyft", "Benpress", "Chins", "Dips", "Latsdrag", "Vadpress", "Ryggresningar", "Situps"}},
    {"Överkropp", "",
     {"Bänkpress", "Hantelflyes", "Axelpress", "Latsdrag", "Skivstångsrodd", "Bicepscurl", "Triceps pushdown", "Dips",
      "Chins"}},
    {"Ben och bål", "Före skidsäsongen.",
     {"Knäböj", "Utfallssteg", "Benpress", "Lårcurl", "Benspark", "Vadpress", "Situps", "Ryggresningar"}},
    {"Stora programmet", "Alla övningar, när det finns gott om tid.",
     {"Knäböj", "Marklyft", "Bänkpress", "Axelpress", "Skivstångsrodd", "Chins", "Dips", "Bicepscurl",
      "Triceps pushdown", "Benpress", "Vadpress", "Utfallssteg", "Latsdrag", "Lårcurl", "Situps"}},
};

// Extra exercises outside the program: name, load, reps.
const std::vector<TExerciseProfile> extraExercises = {
    {"Armhävningar", 0, "3x20"}, {"Plankan", 0, "3x1"}, {"Kettlebellsving", 16, "3x15"}, {"Boxhopp", 0, "3x10"}};

// ---------------------------------------------------------------------------
// Texts in the program's value formats.

QString durationText(int seconds)
{
    return QStringLiteral("%1.%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString decimalText(double value, int decimals)
{
    return Str::FormatFixed(decimals, value);
}

double roundTo(double value, double step)
{
    return std::round(value / step) * step;
}

double clamp(double value, double low, double high)
{
    return std::max(low, std::min(high, value));
}

// Years from the diary's first day.
double yearsSince(const QDate &start, const QDate &date)
{
    return double(start.daysTo(date)) / 365.25;
}

// A number that starts at 0 and levels off towards 1 over the years.
double progress(double years, double halfway)
{
    return years / (years + halfway);
}

// One planned entry.
struct TPlanned
{
    QDate Date;
    int Type;
};

// A course as written: its number and the profile it was made from.
struct TSampleCourse
{
    int Number;
    const TCourseProfile *Profile;
};

// A golf course's card and ratings.
struct TGolfCourse
{
    QString Place;
    std::array<int, GolfHoleCount> Par{}, Length{}, Index{};
    int TotalPar = 0;
    QString Cr;
    int Slope = 0;
};

// A strength program as it stands in the register.
struct TProgram
{
    qint32 Id;
    QStringList Exercises;
};

// ---------------------------------------------------------------------------

class TGenerator
{
public:
    TGenerator(TDbConnection &database, const TSampleDiaryOptions &options)
        : m_database(database), m_options(options), m_random(options.Seed)
    {
        m_end = options.End.isValid() ? options.End : QDate::currentDate();
        m_start = m_end.addYears(-options.Years).addDays(1);
    }

    void Run(const SampleDiary::TProgress &progress)
    {
        if (m_options.Entries < 1)
            throw EException(QStringLiteral("Antalet aktiviteter måste vara minst 1."));
        if (m_options.Years < 1 || m_options.Years > 100)
            throw EException(QStringLiteral("Antalet år måste vara mellan 1 och 100."));
        CheckEmpty();
        OpenNames();
        PreparePulses();
        PrepareStrength();
        PrepareCourses();
        PrepareGolfCourses();
        const std::vector<TPlanned> plan = Plan();
        int number = HighestSessionNr() + 1;
        int stored = 0;
        for (const TPlanned &entry : plan) {
            Store(entry, number++);
            ++stored;
            if (progress)
                progress(stored, int(plan.size()));
        }
    }

private:
    // --- the diary's own lists ---------------------------------------------------

    int Count(const QString &statement)
    {
        TDbQuery query(m_database);
        query.Add(statement);
        query.Open();
        TDbQueryCloser closer(query);
        return query.Eof() ? 0 : int(query.FieldAsInteger(0));
    }

    void CheckEmpty()
    {
        const int entries = Count(QStringLiteral("select count(*) from TrainingSession"));
        if (entries > 0 && !m_options.Force)
            throw ESampleDiaryNotEmpty(
                QStringLiteral("Dagboken innehåller redan %1 aktiviteter och lämnas orörd.").arg(entries));
    }

    int HighestSessionNr() { return Count(QStringLiteral("select max(SessionNr) from TrainingSession")); }

    void OpenNames()
    {
        m_names.SetDatabase(&m_database);
        m_names.Open();
        for (const TTypeProfile &type : typeProfiles()) {
            const QString code = QString::fromLatin1(type.Code);
            const QString name = m_names.NameOfCode(code);
            m_factory.Register(name, ActivityClassOfCode(code));
            m_displayNames.append(name);
        }
    }

    // Five pulse intervals, unless the diary has some: then those are used.
    void PreparePulses()
    {
        m_pulses.SetDatabase(&m_database);
        m_pulses.LoadPulses();
        if (m_pulses.PulseCount() == 0) {
            for (const auto &zone : pulseZones)
                m_pulses.AddPulse(zone[0], zone[1]);
            m_pulses.ApplyPulses();
        }
        m_pulses.GetPulseIds(m_pulseIds);
    }

    // The exercises and programs above, each reused when the diary already
    // has one of that name.
    void PrepareStrength()
    {
        m_exercises.SetExercisePrograms(&m_programs);
        m_programs.SetExercises(&m_exercises);
        m_exercises.SetDatabase(&m_database);
        m_programs.SetDatabase(&m_database);
        m_exercises.LoadExercises();
        m_programs.LoadPrograms();

        QList<qint32> ids;
        QStringList names;
        m_exercises.GetExercises(ids, names);
        auto exerciseId = [&](const QString &name) {
            const int at = int(names.indexOf(name));
            return at >= 0 ? ids.at(at) : m_exercises.AddExercise(name);
        };
        QHash<QString, qint32> idOfName;
        for (const TExerciseProfile &exercise : exerciseProfiles)
            idOfName.insert(QString::fromUtf8(exercise.Name), exerciseId(QString::fromUtf8(exercise.Name)));
        m_exercises.ApplyExercises();

        QList<qint32> programIds;
        QStringList programNames;
        m_programs.GetPrograms(programIds, programNames);
        for (const TProgramProfile &profile : programProfiles) {
            const QString name = QString::fromUtf8(profile.Name);
            const int at = int(programNames.indexOf(name));
            qint32 id;
            if (at >= 0) {
                id = programIds.at(at);
            } else {
                id = m_programs.AddProgram(name, QString::fromUtf8(profile.Comment));
                TProgramExercises exercises;
                for (std::size_t i = 0; i < profile.Exercises.size(); ++i)
                    exercises[i] = QString::number(idOfName.value(QString::fromUtf8(profile.Exercises[i])));
                m_programs.SetProgramExercises(id, exercises);
            }
            TProgram program{id, {}};
            for (const QString &slot : m_programs.GetProgramExercises(id)) {
                if (!slot.trimmed().isEmpty())
                    program.Exercises.append(m_exercises.GetExerciseName(slot.toInt()));
            }
            m_programList.push_back(program);
        }
        m_programs.ApplyPrograms();
    }

    // The courses through the course register, numbered on from the
    // highest course number in the diary; a course the diary already has
    // (an earlier fill's) is used again.
    void PrepareCourses()
    {
        m_courseRegister.SetDatabase(&m_database);
        m_courseRegister.SetActivityNames(&m_names);
        for (const TCourseProfile &course : courseProfiles) {
            const QString activity = m_names.NameOfCode(QString::fromLatin1(course.Code));
            const QString place = QString::fromUtf8(course.Place);
            QStringList laps;
            for (double lap : course.Laps)
                laps.append(decimalText(lap, 2));
            int number = StoredCourse(activity, place, course.Distance, course.Laps);
            if (number == 0) {
                number = m_courseRegister.NewCourse();
                m_courseRegister.SetCourseValues(number, activity, course.Difficulty, course.Distance, place);
                QStringList lines;
                for (const char *line : course.Description)
                    lines.append(QString::fromUtf8(line));
                m_courseRegister.SetCourseDescription(number, &lines);
                m_courseRegister.SetCourseLaps(number, laps);
                m_courseRegister.SaveCourse(number);
            }
            m_courses.push_back(TSampleCourse{number, &course});
        }
    }

    // The number of a course in the diary of the activity and place with the
    // distance and lap marks given, 0 when there is none. Sessions on a
    // course take its marks, so only a course with the same marks will do.
    int StoredCourse(const QString &activity, const QString &place, double distance, const std::vector<double> &laps)
    {
        const QString km = decimalText(distance, 2);
        QList<TCourseItem> found;
        m_courseRegister.MatchCourses({activity}, place, km, km, &found);
        for (const TCourseItem &item : std::as_const(found)) {
            if (item.Place.trimmed() != place)
                continue;
            m_courseRegister.ReadCourse(item.CourseNr);
            QStringList stored;
            m_courseRegister.GetReadCourseLaps(item.CourseNr, &stored);
            bool same = stored.size() == qsizetype(laps.size());
            for (qsizetype i = 0; same && i < stored.size(); ++i)
                same = std::fabs(stored.at(i).toDouble() - laps[std::size_t(i)]) < 0.005;
            if (same)
                return item.CourseNr;
        }
        return 0;
    }

    // One card per golf place: par 72 (or 71, 70) with the odd stroke indexes
    // on one nine and the even on the other, as the handicap computation
    // expects.
    void PrepareGolfCourses()
    {
        const TTypeProfile &golf = Profile("GOL");
        for (const char *place : golf.Places) {
            TGolfCourse course;
            course.Place = QString::fromUtf8(place);
            const int variant = m_random.Between(0, 2);
            const int threes = 4 + (variant == 2 ? 1 : 0);
            const int fives = 4 - variant;
            std::array<int, GolfHoleCount> pars{};
            for (int i = 0; i < GolfHoleCount; ++i)
                pars[std::size_t(i)] = i < threes ? 3 : i < threes + fives ? 5 : 4;
            m_random.Shuffle(pars);
            course.Par = pars;
            std::array<int, 9> odd{}, even{};
            for (int i = 0; i < 9; ++i) {
                odd[std::size_t(i)] = 2 * i + 1;
                even[std::size_t(i)] = 2 * i + 2;
            }
            m_random.Shuffle(odd);
            m_random.Shuffle(even);
            const bool oddFirst = m_random.Chance(0.5);
            for (int i = 0; i < 9; ++i) {
                course.Index[std::size_t(i)] = oddFirst ? odd[std::size_t(i)] : even[std::size_t(i)];
                course.Index[std::size_t(i + 9)] = oddFirst ? even[std::size_t(i)] : odd[std::size_t(i)];
            }
            for (int i = 0; i < GolfHoleCount; ++i) {
                const int par = course.Par[std::size_t(i)];
                const int low = par == 3 ? 120 : par == 4 ? 280 : 430;
                const int high = par == 3 ? 200 : par == 4 ? 420 : 540;
                course.Length[std::size_t(i)] = m_random.Between(low, high);
                course.TotalPar += par;
            }
            const double cr = double(course.TotalPar) - 1.5 + m_random.Uniform(0.0, 2.5);
            course.Cr = decimalText(cr, 1);
            course.Slope = m_random.Between(118, 138);
            m_golfCourses.push_back(course);
        }
    }

    // --- the plan ----------------------------------------------------------------

    // The dates, rather more on weekends, in order, and the type of each by
    // the season; then every type that did not come up at all replaces an
    // entry of a common type in a month where it is done.
    std::vector<TPlanned> Plan()
    {
        const qint64 days = m_start.daysTo(m_end) + 1;
        std::vector<QDate> dates;
        dates.reserve(std::size_t(m_options.Entries));
        while (int(dates.size()) < m_options.Entries) {
            const QDate date = m_start.addDays(m_random.Between(0, int(days - 1)));
            const bool weekend = date.dayOfWeek() >= 6;
            if (weekend || m_random.Chance(1.0 / 1.4))
                dates.push_back(date);
        }
        std::sort(dates.begin(), dates.end());

        const std::vector<TTypeProfile> &types = typeProfiles();
        std::vector<TPlanned> plan;
        plan.reserve(dates.size());
        std::vector<int> counts(types.size(), 0);
        for (const QDate &date : dates) {
            std::vector<double> weights;
            for (const TTypeProfile &type : types)
                weights.push_back(type.Share * type.Season[std::size_t(date.month() - 1)]);
            const int type = m_random.Weighted(weights);
            plan.push_back(TPlanned{date, type});
            ++counts[std::size_t(type)];
        }

        for (std::size_t type = 0; type < types.size(); ++type) {
            if (counts[type] > 0)
                continue;
            const int from = m_random.Between(0, int(plan.size()) - 1);
            for (std::size_t step = 0; step < plan.size(); ++step) {
                TPlanned &entry = plan[(std::size_t(from) + step) % plan.size()];
                if (types[type].Season[std::size_t(entry.Date.month() - 1)] <= 0.0 || counts[std::size_t(entry.Type)] < 2)
                    continue;
                --counts[std::size_t(entry.Type)];
                entry.Type = int(type);
                ++counts[type];
                break;
            }
        }
        return plan;
    }

    const TTypeProfile &Profile(const char *code) const
    {
        for (const TTypeProfile &type : typeProfiles()) {
            if (qstrcmp(type.Code, code) == 0)
                return type;
        }
        throw EException(QStringLiteral("Okänd aktivitet %1").arg(QString::fromLatin1(code)));
    }

    // --- one entry ---------------------------------------------------------------

    QString PickPlace(const TTypeProfile &type)
    {
        std::vector<double> weights;
        for (std::size_t i = 0; i < type.Places.size(); ++i)
            weights.push_back(1.0 / double(i + 1));
        return QString::fromUtf8(type.Places[std::size_t(m_random.Weighted(weights))]);
    }

    QString PickText(const std::vector<const char *> &texts)
    {
        return QString::fromUtf8(texts[std::size_t(m_random.Between(0, int(texts.size()) - 1))]);
    }

    void Store(const TPlanned &entry, int sessionNr)
    {
        const TTypeProfile &type = typeProfiles()[std::size_t(entry.Type)];
        std::unique_ptr<TActivity> activity = m_factory.CreateActivity(m_displayNames.at(entry.Type));
        activity->SetDatabase(&m_database);
        activity->SetActivityNames(&m_names);
        // As in the program, only time-and-distance sessions get the pulse
        // intervals, so only they store any.
        if (type.Kind == TKind::TimeDistance)
            activity->SetPulseList(&m_pulses);
        activity->SetSessionNr(sessionNr);

        QString place = PickPlace(type);
        int seconds = 0;
        switch (type.Kind) {
        case TKind::TimeDistance:
            seconds = FillTimeDistance(static_cast<TTimeDistanceActivity &>(*activity), type, place);
            break;
        case TKind::Time:
            seconds = FillTime(static_cast<TTimeActivity &>(*activity), type);
            break;
        case TKind::Game:
            seconds = FillGame(static_cast<TGame &>(*activity), type);
            break;
        case TKind::Distance:
            seconds = FillDistance(static_cast<TDistanceActivity &>(*activity), type);
            break;
        case TKind::Other:
            seconds = FillOther(static_cast<TOther &>(*activity));
            break;
        case TKind::Golf:
            seconds = FillGolf(static_cast<TGolf &>(*activity), place);
            break;
        case TKind::Workout:
            seconds = FillWorkout(static_cast<TWorkout &>(*activity), entry.Date);
            break;
        case TKind::Measure:
            FillMeasure(static_cast<TCardioMeasure &>(*activity), entry.Date);
            break;
        case TKind::Simple:
            seconds = m_random.Between(120, 300) * 60;
            break;
        case TKind::Weighing:
            break;
        }
        FillSession(*activity, entry, type, place, seconds);
        activity->Insert();
    }

    // The common block. A few places are left empty, as a hurried user would.
    void FillSession(TActivity &activity, const TPlanned &entry, const TTypeProfile &type, QString place, int seconds)
    {
        const QDate &date = entry.Date;
        const bool endurance = type.Kind == TKind::TimeDistance || type.Kind == TKind::Time || type.Kind == TKind::Game
                               || type.Kind == TKind::Distance || type.Kind == TKind::Other;
        if (m_random.Chance(0.04))
            place.clear();

        QString weight;
        const double weightShare = type.Kind == TKind::Weighing ? 1.0 : type.Kind == TKind::Measure ? 0.8 : 0.25;
        if (m_random.Chance(weightShare))
            weight = decimalText(BodyWeight(date), 1);

        QString rest, average, maximum;
        const double pulseShare = endurance ? 0.45 : type.Kind == TKind::Workout ? 0.2 : type.Kind == TKind::Weighing ? 0.3 : 0.0;
        if (m_random.Chance(pulseShare)) {
            const double restBeats = 56.0 - 6.0 * progress(yearsSince(m_start, date), 3.0) + 2.0 * m_random.Normal();
            rest = QString::number(int(std::lround(restBeats)));
            if (type.Kind != TKind::Weighing) {
                const double averageBeats = double(type.AveragePulse) + 7.0 * m_random.Normal();
                const double extra = m_random.Uniform(12.0, 32.0);
                average = QString::number(int(std::lround(averageBeats)));
                maximum = QString::number(std::min(200, int(std::lround(averageBeats + extra))));
            }
        }

        QString calories;
        if (seconds > 0 && m_random.Chance(0.35)) {
            const double factor = 1.0 + 0.1 * m_random.Normal();
            calories = QString::number(int(std::lround(double(seconds) / 60.0 * type.KcalPerMinute * factor)));
        }

        QString weather = QStringLiteral("-1"), windDirection = QStringLiteral("-1"), wind, temperature;
        const int month = date.month();
        const bool outdoors = type.Outdoor == TOutdoor::Always || (type.Outdoor == TOutdoor::Summer && month >= 6 && month <= 8);
        if (outdoors && m_random.Chance(0.7)) {
            const bool winter = month == 12 || month <= 2;
            const bool summer = month >= 6 && month <= 8;
            weather = QString::number(m_random.Weighted(winter ? winterWeather : summer ? summerWeather : springWeather));
            if (m_random.Chance(0.85)) {
                const double degrees = monthTemperature[std::size_t(month - 1)] + 4.0 * m_random.Normal();
                temperature = decimalText(degrees, 1);
            }
            if (m_random.Chance(0.75)) {
                const int direction = m_random.Between(0, 8);
                windDirection = QString::number(direction);
                const double speed = direction == 0 ? m_random.Uniform(0.0, 1.0) : m_random.Uniform(1.0, 14.0);
                wind = decimalText(speed, 1);
            }
        }

        QString sleepQuality = QStringLiteral("-1"), sleepDuration;
        if (m_random.Chance(0.2)) {
            sleepQuality = QString::number(m_random.Weighted({1, 3, 3}));
            if (m_random.Chance(0.8)) {
                const double hours = roundTo(m_random.Uniform(5.5, 9.5), 0.25);
                sleepDuration = decimalText(hours, 2);
            }
        }

        QString sessionComment;
        if (m_random.Chance(0.35)) {
            const bool own = !type.Comments.empty() && m_random.Chance(0.5);
            sessionComment = own ? PickText(type.Comments) : PickText(sessionComments);
            if (m_random.Chance(0.08))
                sessionComment += QLatin1Char('\n') + PickText(commentFollowUps);
        }
        QString comment;
        if (!type.Comments.empty() && m_random.Chance(0.2))
            comment = PickText(type.Comments);

        QList<qint32> pulseIds, pulseValues;
        if (type.Kind == TKind::TimeDistance && !average.isEmpty() && !m_pulseIds.isEmpty() && m_random.Chance(0.4))
            PulseShares(average.toInt(), pulseIds, pulseValues);

        activity.SetSessionData(date.toString(QStringLiteral("yyyy-MM-dd")), place, sessionComment, weight);
        activity.SetPulse(rest, average, maximum);
        activity.SetCalorie(calories);
        activity.SetWeather(weather, windDirection, wind);
        activity.SetTemperature(temperature);
        activity.SetSleep(sleepQuality, sleepDuration);
        activity.SetComment(comment);
        if (!pulseIds.isEmpty())
            activity.SetPulseIntervals(&pulseIds, &pulseValues);
    }

    // Percent of the session in each interval, most in those near the
    // average pulse, summing to 100; intervals with no time are left out.
    void PulseShares(int average, QList<qint32> &ids, QList<qint32> &values)
    {
        const int zones = int(std::min<qsizetype>(m_pulseIds.size(), qsizetype(pulseZones.size())));
        std::vector<double> weights;
        double total = 0.0;
        for (int i = 0; i < zones; ++i) {
            const double centre = (m_pulses.PulseLow(m_pulseIds.at(i)) + m_pulses.PulseHigh(m_pulseIds.at(i))) / 2.0;
            const double noise = m_random.Uniform(0.0, 0.3);
            const double weight = std::max(0.0, 1.0 - std::abs(double(average) - centre) / 30.0) + noise * 0.2;
            weights.push_back(weight);
            total += weight;
        }
        int given = 0;
        std::vector<int> percent;
        for (double weight : weights) {
            percent.push_back(int(std::floor(weight / total * 100.0)));
            given += percent.back();
        }
        const auto largest = std::max_element(weights.begin(), weights.end()) - weights.begin();
        percent[std::size_t(largest)] += 100 - given;
        for (int i = 0; i < zones; ++i) {
            if (percent[std::size_t(i)] > 0) {
                ids.append(m_pulseIds.at(i));
                values.append(percent[std::size_t(i)]);
            }
        }
    }

    // The body weight of the day: a slow decline, swings over a few years,
    // a little more around Christmas, and the scale's day-to-day noise.
    double BodyWeight(const QDate &date)
    {
        const double years = yearsSince(m_start, date);
        const double christmas = date.month() == 12 || date.month() == 1 ? 0.8 : 0.0;
        const double noise = 0.4 * m_random.Normal();
        return 79.0 - 0.25 * years + 1.5 * std::sin(years * 2.3) + christmas + noise;
    }

    // Distance, duration, course and split times; returns the duration in
    // seconds.
    int FillTimeDistance(TTimeDistanceActivity &activity, const TTypeProfile &type, QString &place)
    {
        std::vector<const TSampleCourse *> courses;
        for (const TSampleCourse &course : m_courses) {
            if (qstrcmp(course.Profile->Code, type.Code) == 0)
                courses.push_back(&course);
        }
        const TSampleCourse *course = nullptr;
        if (!courses.empty() && m_random.Chance(type.CourseShare))
            course = courses[std::size_t(m_random.Between(0, int(courses.size()) - 1))];

        double km;
        if (course) {
            km = course->Profile->Distance;
            place = QString::fromUtf8(course->Profile->Place);
        } else {
            const double deviation = m_random.Normal();
            km = type.TypicalKm * (1.0 + 0.35 * deviation);
            if (m_random.Chance(0.04))
                km = m_random.Uniform(type.TypicalKm, type.MaxKm);
            km = clamp(roundTo(km, 0.1), type.MinKm, type.MaxKm);
        }
        // Longer sessions go a little slower.
        const double fraction = clamp(0.5 + 0.25 * m_random.Normal(), 0.0, 1.0);
        const double longer = clamp((km - type.TypicalKm) / type.TypicalKm, -0.5, 2.0);
        const double speed = (type.SlowKmh + (type.FastKmh - type.SlowKmh) * fraction) * (1.0 - 0.06 * longer);
        const int seconds = std::max(60, int(std::lround(km / speed * 3600.0)));

        // Now and then only the time was noted.
        if (!course && m_random.Chance(0.03)) {
            activity.SetDuration(durationText(seconds));
            activity.SetCourseNr(QString());
            return seconds;
        }
        activity.SetDistance(decimalText(km, 2));
        activity.SetDuration(durationText(seconds));
        activity.SetCourseNr(course ? QString::number(course->Number) : QString());

        std::vector<double> marks;
        if (course) {
            marks = course->Profile->Laps;
        } else if (m_random.Chance(type.LapShare)) {
            std::vector<double> lengths;
            for (double length : type.LapKm) {
                const int count = int(std::floor(km / length + 1e-9));
                if (count >= 2 && count <= TTimeDistanceActivity::MaxLaps)
                    lengths.push_back(length);
            }
            if (!lengths.empty()) {
                const double length = lengths[std::size_t(m_random.Between(0, int(lengths.size()) - 1))];
                const int count = int(std::floor(km / length + 1e-9));
                for (int i = 1; i <= count; ++i)
                    marks.push_back(length * i);
                if (count < TTimeDistanceActivity::MaxLaps && km - marks.back() > 0.05)
                    marks.push_back(km);
            }
        }
        if (!marks.empty()) {
            QStringList times, distances;
            if (SplitTimes(marks, km, seconds, times)) {
                for (double mark : marks)
                    distances.append(decimalText(mark, 2));
                activity.SetLaps(&times, &distances);
            } else if (course) {
                // A bound session always has the course's marks.
                QStringList empty;
                for (std::size_t i = 0; i < marks.size(); ++i)
                    empty.append(QString());
                for (double mark : marks)
                    distances.append(decimalText(mark, 2));
                activity.SetLaps(&empty, &distances);
            }
        }
        return seconds;
    }

    // The time from the start at each mark: each stretch at its own pace
    // around the session's, scaled so that the whole distance takes the
    // session's duration. False when whole seconds cannot keep them rising.
    bool SplitTimes(const std::vector<double> &marks, double km, int seconds, QStringList &times)
    {
        std::vector<double> elapsed;
        double time = 0.0, previous = 0.0;
        for (double mark : marks) {
            const double pace = std::max(0.85, 1.0 + 0.04 * m_random.Normal());
            time += (mark - previous) * pace;
            elapsed.push_back(time);
            previous = mark;
        }
        const double whole = time + std::max(0.0, km - previous);
        const double scale = double(seconds) / whole;
        int last = 0;
        for (double value : elapsed) {
            const int at = std::min(seconds, int(std::lround(value * scale)));
            if (at <= last)
                return false;
            times.append(durationText(at));
            last = at;
        }
        return true;
    }

    int MinutesIn(const TTypeProfile &type)
    {
        const double minutes = m_random.Uniform(type.Low, type.High);
        // Most note whole minutes; some take the seconds off the watch.
        const int seconds = m_random.Chance(0.7) ? int(roundTo(minutes, 5.0)) * 60 : int(std::lround(minutes * 60.0));
        return std::max(60, seconds);
    }

    int FillTime(TTimeActivity &activity, const TTypeProfile &type)
    {
        const int seconds = MinutesIn(type);
        activity.SetDuration(durationText(seconds));
        return seconds;
    }

    int FillGame(TGame &activity, const TTypeProfile &type)
    {
        const int seconds = MinutesIn(type);
        activity.SetDuration(durationText(seconds));
        const int performance = m_random.Chance(0.1) ? -1 : m_random.Weighted({0.5, 1.5, 4, 3, 1});
        QString game;
        const int kind = m_random.Weighted({5, 4, 1});
        if (kind == 0) {
            game = QStringLiteral("Träning");
        } else if (kind == 1) {
            const QString opponent = PickText(opponents);
            const int own = m_random.Between(0, 7);
            const int theirs = m_random.Between(0, 7);
            game = QStringLiteral("Mot %1, %2-%3").arg(opponent).arg(own).arg(theirs);
        }
        activity.SetGame(QString::number(performance), game);
        return seconds;
    }

    int FillDistance(TDistanceActivity &activity, const TTypeProfile &type)
    {
        const double km = roundTo(m_random.Uniform(type.Low, type.High), 0.1);
        activity.SetDistance(decimalText(km, 1));
        // Walking and paddling both go at about five km/h.
        return int(std::lround(km / 5.0 * 3600.0));
    }

    int FillOther(TOther &activity)
    {
        activity.SetOtherActivity(m_random.Chance(0.03) ? QString() : PickText(otherActivities));
        return m_random.Between(30, 120) * 60;
    }

    // A round on the place's course. Most rounds are played on the card, and
    // the points and the handicap after the round come from the program's
    // own computations; the rest note only the totals.
    int FillGolf(TGolf &activity, const QString &place)
    {
        const TGolfCourse *course = &m_golfCourses.front();
        for (const TGolfCourse &candidate : m_golfCourses) {
            if (candidate.Place == place)
                course = &candidate;
        }
        const QString previous = decimalText(m_handicap / 10.0, 1);
        const QString par = QString::number(course->TotalPar);
        const QString slope = QString::number(course->Slope);
        const QString allowed = TGolf::AllowedStrokes(course->Cr, slope, previous, par);
        const int allowedStrokes = allowed.isEmpty() ? 0 : allowed.toInt();

        TGolfHoles holes;
        int strokes = 0, putts = 0, points = 0;
        const bool card = m_random.Chance(0.85);
        if (card) {
            TGolfHoleValues pars{}, indexes{};
            for (int i = 0; i < GolfHoleCount; ++i) {
                pars[std::size_t(i)] = course->Par[std::size_t(i)];
                indexes[std::size_t(i)] = course->Index[std::size_t(i)];
            }
            const TGolfHoleValues received = TGolf::ReceivedStrokes(indexes, pars, allowed);
            TGolfHoleValues played{};
            std::array<int, GolfHoleCount> holePutts{};
            for (int i = 0; i < GolfHoleCount; ++i) {
                const int over = m_random.Weighted({0.12, 0.34, 0.33, 0.14, 0.07}) - 1;
                played[std::size_t(i)] = std::max(2, received[std::size_t(i)] + over);
                const int putt = m_random.Weighted({0.25, 0.6, 0.15}) + 1;
                holePutts[std::size_t(i)] = std::min(putt, played[std::size_t(i)] - 1);
                strokes += played[std::size_t(i)];
                putts += holePutts[std::size_t(i)];
            }
            TGolfHoleValues perHole{};
            points = TGolf::Points(received, played, perHole).toInt();
            for (int i = 0; i < GolfHoleCount; ++i) {
                TGolfHole &hole = holes[std::size_t(i)];
                hole.Par = QString::number(course->Par[std::size_t(i)]);
                hole.Distance = QString::number(course->Length[std::size_t(i)]);
                hole.Hcp = QString::number(course->Index[std::size_t(i)]);
                hole.Stroke = QString::number(played[std::size_t(i)]);
                hole.Score = QString::number(perHole[std::size_t(i)]);
                hole.Putt = QString::number(holePutts[std::size_t(i)]);
            }
        } else {
            const int over = m_random.Between(-4, 8);
            strokes = course->TotalPar + allowedStrokes + over;
            points = std::max(0, 36 - over);
        }

        // The handicap moves with the points: down by a share of every point
        // above 36, up a tenth after a poor round.
        const int tenthsPerPoint = m_handicap <= 44 ? 1 : m_handicap <= 114 ? 2 : m_handicap <= 184 ? 3 : m_handicap <= 264 ? 4 : 5;
        if (points > 36)
            m_handicap -= (points - 36) * tenthsPerPoint;
        else if (points < 34)
            m_handicap += 1;
        m_handicap = std::max(40, std::min(360, m_handicap));

        const QString bunker = m_random.Chance(0.8) ? QString::number(m_random.Between(0, 5)) : QString();
        activity.SetRound(par, QString::number(strokes), card, holes, QString::number(points), bunker,
                          card ? QString::number(putts) : QString(), slope, course->Cr,
                          decimalText(m_handicap / 10.0, 1), previous);
        return m_random.Between(210, 300) * 60;
    }

    // Load for an exercise on a date: the start load grown with the years,
    // on the plates' 2.5 kg steps; empty for exercises done without weights.
    QString Load(const QString &name, const QDate &date)
    {
        double start = 30.0;
        for (const TExerciseProfile &exercise : exerciseProfiles) {
            if (name == QString::fromUtf8(exercise.Name))
                start = exercise.Load;
        }
        if (start <= 0.0)
            return QString();
        const double noise = 0.03 * m_random.Normal();
        const double load = start * (1.0 + 0.4 * progress(yearsSince(m_start, date), 2.0)) * (1.0 + noise);
        return decimalText(std::max(2.5, roundTo(load, 2.5)), 1);
    }

    QString RepsOf(const QString &name)
    {
        for (const TExerciseProfile &exercise : exerciseProfiles) {
            if (name == QString::fromUtf8(exercise.Name))
                return QString::fromLatin1(exercise.Reps);
        }
        return QStringLiteral("3x10");
    }

    // Most workouts follow the program of the period (two programs taking
    // turns, changed every year and a half); some follow none and use the
    // basic slots.
    int FillWorkout(TWorkout &activity, const QDate &date)
    {
        activity.SetExercisePrograms(&m_programs);
        TWorkoutExercises filled;
        for (TWorkoutExercise &slot : filled)
            slot = TWorkoutExercise{QString(), QString(), QString()};

        QString program;
        if (m_random.Chance(0.85)) {
            const int period = int(yearsSince(m_start, date) / 1.5);
            const int turn = m_random.Between(0, 1);
            const TProgram &chosen = m_programList[std::size_t((period * 2 + turn) % int(m_programList.size()))];
            for (int i = 0; i < chosen.Exercises.size(); ++i) {
                TWorkoutExercise &slot = filled[std::size_t(i)];
                slot.Name = chosen.Exercises.at(i);
                if (m_random.Chance(0.08))
                    continue; // skipped today
                slot.Reps = RepsOf(slot.Name);
                slot.Load = Load(slot.Name, date);
            }
            program = QString::number(chosen.Id);
        } else {
            const QStringList &names = TWorkout::BasicExerciseNames();
            const int used = m_random.Between(4, 8);
            for (int i = 0; i < used; ++i) {
                const int at = m_random.Between(0, int(names.size()) - 1);
                TWorkoutExercise &slot = filled[std::size_t(at)];
                slot.Name = names.at(at);
                slot.Reps = QStringLiteral("3x10");
                const double start = at == int(names.size()) - 1 ? 0.0 : m_random.Uniform(15.0, 60.0);
                if (start > 0.0)
                    slot.Load = decimalText(roundTo(start, 2.5), 1);
            }
        }
        if (m_random.Chance(0.2)) {
            const int extras = m_random.Between(1, 2);
            for (int i = 0; i < extras; ++i) {
                const TExerciseProfile &extra = extraExercises[std::size_t(m_random.Between(0, int(extraExercises.size()) - 1))];
                TWorkoutExercise &slot = filled[std::size_t(WorkoutProgramSlots + i)];
                slot.Name = QString::fromUtf8(extra.Name);
                slot.Reps = QString::fromLatin1(extra.Reps);
                slot.Load = extra.Load > 0.0 ? decimalText(extra.Load, 1) : QString();
            }
        }
        activity.SetExercises(filled);
        if (!program.isEmpty())
            activity.SetProgram(program);
        return m_random.Between(40, 90) * 60;
    }

    // A condition test and the tape measure: fitter and slimmer over the
    // years, each value now and then not taken.
    void FillMeasure(TCardioMeasure &activity, const QDate &date)
    {
        const double fit = progress(yearsSince(m_start, date), 3.0);
        auto value = [this](double centre, double spread) {
            const bool missing = m_random.Chance(0.1);
            const double noise = spread * m_random.Normal();
            return missing ? QString() : decimalText(centre + noise, 1);
        };
        const QString condition = m_random.Chance(0.2) ? QString() : decimalText(42.0 + 6.0 * fit + 1.5 * m_random.Normal(), 1);
        const QString neck = value(39.0, 0.3);
        const QString shoulder = value(118.0, 0.8);
        const QString calf = value(38.0, 0.4);
        const QString thigh = value(57.0 - 1.0 * fit, 0.6);
        const QString hip = value(99.0 - 1.5 * fit, 0.7);
        const QString waist = value(88.0 - 3.0 * fit, 0.8);
        const QString arm = value(29.0, 0.3);
        const QString biceps = value(34.0 + 1.0 * fit, 0.4);
        const QString chest = value(101.0, 0.8);
        activity.SetMeasure(condition);
        activity.SetBodyMeasures(neck, shoulder, calf, thigh, hip, waist, arm, biceps, chest);
    }

    TDbConnection &m_database;
    TSampleDiaryOptions m_options;
    TRandom m_random;
    QDate m_start, m_end;
    TActivityNames m_names;
    TActivityFactory m_factory;
    QStringList m_displayNames; // by type profile
    TPulses m_pulses;
    QList<qint32> m_pulseIds;
    TExercises m_exercises;
    TExercisePrograms m_programs;
    std::vector<TProgram> m_programList;
    std::vector<TSampleCourse> m_courses;
    TCourses m_courseRegister;
    std::vector<TGolfCourse> m_golfCourses;
    int m_handicap = 280; // tenths
};
}

namespace
{
QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Waits until the disk holds what was written to the file or folder.
void syncToDisk(const QString &path, bool folder)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        throw EException(QStringLiteral("Kan inte öppna %1: %2").arg(path, systemError(errno)));
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        throw EException(QStringLiteral("Kan inte skriva %1 till disken: %2").arg(path, systemError(error)));
}
}

namespace SampleDiary
{
void Fill(TDbConnection &database, const TSampleDiaryOptions &options, const TProgress &progress)
{
    TGenerator(database, options).Run(progress);
}

QString FillCopyPath(const QString &path)
{
    return path + QStringLiteral(".fyllning");
}

void FillFile(const QString &path, const QString &user, const QString &password, const TSampleDiaryOptions &options,
              const TProgress &progress)
{
    QFile diary(path);
    if (!QFileInfo(path).isFile() || !diary.open(QIODevice::ReadOnly))
        throw EException(QStringLiteral("Kan inte läsa dagboken %1: %2").arg(path, diary.errorString()));
    // The engine holds this lock on a database file while it is attached.
    // Taken here, it keeps the program and every other user of the engine
    // away from the diary until the filled copy has taken its place, so that
    // nothing written to the diary meanwhile is lost.
    if (::flock(diary.handle(), LOCK_EX | LOCK_NB) != 0)
        throw EException(QStringLiteral("Dagboken %1 används redan av ett annat program. Stäng det och försök igen.").arg(path));

    const QString copy = FillCopyPath(path);
    // Left behind by a fill that was killed; the lock says no fill runs now.
    if (QFileInfo::exists(copy) && !QFile::remove(copy))
        throw EException(QStringLiteral("Kan inte ta bort %1 från en tidigare fyllning.").arg(copy));
    if (!QFile::copy(path, copy))
        throw EException(QStringLiteral("Kan inte kopiera dagboken %1 till %2.").arg(path, copy));
    try {
        QFile::setPermissions(copy, QFile::permissions(path));
        struct stat owner = {};
        if (::geteuid() == 0 && ::fstat(diary.handle(), &owner) == 0
            && ::chown(QFile::encodeName(copy).constData(), owner.st_uid, owner.st_gid) != 0)
            throw EException(QStringLiteral("Kan inte ge %1 dagbokens ägare: %2").arg(copy, systemError(errno)));

        // With forced writes every commit, one per entry, waits for the
        // disk, which makes the filling several times slower. The copy does
        // without them until it is complete; the diary never does.
        DbSetForcedWrites(copy, user, password, false);
        {
            static QAtomicInt serial;
            TDbConnection database(QStringLiteral("SampleDiary-fill-%1").arg(serial.fetchAndAddRelaxed(1)));
            database.SetDatabaseName(copy);
            database.Params() = {QStringLiteral("USER_NAME=") + user, QStringLiteral("PASSWORD=") + password};
            database.Open();
            Fill(database, options, progress);
            database.Close();
        }
        DbSetForcedWrites(copy, user, password, true);
        if (!DbForcedWrites(copy, user, password))
            throw EException(QStringLiteral("Databasmotorn slog inte på tvingad skrivning för %1.").arg(copy));
        syncToDisk(copy, false);
        if (::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) != 0)
            throw EException(QStringLiteral("Kan inte ersätta %1 med %2: %3").arg(path, copy, systemError(errno)));
    } catch (...) {
        QFile::remove(copy);
        throw;
    }
    syncToDisk(QFileInfo(path).absolutePath(), true);
}
}
