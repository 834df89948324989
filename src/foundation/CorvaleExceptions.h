#pragma once

#include "foundation/Exceptions.h"

// The program's domain errors. The message of each is an error id: the unit's
// name, a blank and a two-digit number ("Courses 05"), sometimes followed by
// a full stop and an English detail.
class ECorvaleError : public EException { public: using EException::EException; };

class EActivities : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EActivityError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class ECourses : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EExerciseColumnSettings : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EExerciseProgram : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EExercises : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EExport : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EFactory : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class ECorvaleSettingsError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EReport : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EGolfError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EGridActivityColumns : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EFrequency : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EReplay : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EPersonalRecordsError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class ESummariesError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EUIError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EUsers : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EPulse : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };

class EActivityColumns : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EActivityColumnsMultipleId : public EActivityColumns { public: using EActivityColumns::EActivityColumns; };
class EActivityColumnsNoId : public EActivityColumns { public: using EActivityColumns::EActivityColumns; };

class EActivityLapsError : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EActivityLapsDist : public EActivityLapsError { public: using EActivityLapsError::EActivityLapsError; };
class EActivityLapsDur : public EActivityLapsError { public: using EActivityLapsError::EActivityLapsError; };
class EActivityLapsDurOrder : public EActivityLapsError { public: using EActivityLapsError::EActivityLapsError; };
class EActivityLapsOrder : public EActivityLapsError { public: using EActivityLapsError::EActivityLapsError; };

class ECourse : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class ECourseDataLoss : public ECourse { public: using ECourse::ECourse; };
class ECourseDataDiff : public ECourse { public: using ECourse::ECourse; };
class ECourseDist : public ECourse { public: using ECourse::ECourse; };
class ECoursePlace : public ECourse { public: using ECourse::ECourse; };
class ECourseUsed : public ECourse { public: using ECourse::ECourse; };
class ECourseLaps : public ECourse { public: using ECourse::ECourse; };
class ECourseLapsDist : public ECourseLaps { public: using ECourseLaps::ECourseLaps; };
class ECourseLapsMissing : public ECourseLaps { public: using ECourseLaps::ECourseLaps; };
class ECourseLapsOrder : public ECourseLaps { public: using ECourseLaps::ECourseLaps; };

class EColumnSettings : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EColumnSettingsMultipleId : public EColumnSettings { public: using EColumnSettings::EColumnSettings; };
class EColumnSettingsNoId : public EColumnSettings { public: using EColumnSettings::EColumnSettings; };

class EStartup : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EInterbaseNotInstalled : public EStartup { public: using EStartup::EStartup; };
class EInterbaseInvalidVersion : public EStartup { public: using EStartup::EStartup; };
class EVersionNotUpgraded : public EStartup { public: using EStartup::EStartup; };
class EVersionNotValid : public EStartup { public: using EStartup::EStartup; };
// The database opened is not a diary: its tables are missing. The message
// is the Swedish text for the user, naming the file.
class ENoDiary : public EStartup { public: using EStartup::EStartup; };
// The diary's forced writes are off and could not be switched on. The
// message is the Swedish text for the user, naming the file.
class EUnsafeDiary : public EStartup { public: using EStartup::EStartup; };

class EGoals : public ECorvaleError { public: using ECorvaleError::ECorvaleError; };
class EGoalsDate : public EGoals { public: using EGoals::EGoals; };
class EGoalWeight : public EGoals { public: using EGoals::EGoals; };
class EGoalTime : public EGoals { public: using EGoals::EGoals; };
class EGoalCourse : public EGoals { public: using EGoals::EGoals; };
class EGoalAmount : public EGoals { public: using EGoals::EGoals; };
