-- The tables of one diary database.
--
-- A diary is a Firebird database in SQL dialect 3 with the default character
-- set UTF8; the installer creates the database file and then runs the
-- statements below, each ending with a semicolon. The program itself never
-- changes this definition.
--
-- Column kinds: whole numbers are INTEGER; decimal values (distances,
-- durations in minutes.seconds, weights, handicaps, measures) NUMERIC(18,2),
-- so that 65.30 is stored exactly and reads back with two decimals; dates
-- DATE; texts VARCHAR, or text blobs where a text may be of any length (the
-- session comment, a line of a course description). Texts that may be empty
-- hold a single blank, never null; nullable values hold null when empty.
-- The program keeps the relations between the tables itself: there are no
-- foreign keys, triggers or cascades, and only key columns are declared NOT
-- NULL.

CREATE DOMAIN D_DECIMAL AS NUMERIC(18,2);
CREATE DOMAIN D_CODE AS VARCHAR(3);
CREATE DOMAIN D_NAME AS VARCHAR(100);
CREATE DOMAIN D_COMMENT AS VARCHAR(1000);

-- One row per diary entry, whatever its activity type.
CREATE TABLE TrainingSession (
    SessionNr INTEGER NOT NULL,
    SessionDate DATE,
    SessionActivity D_CODE,
    SessionPlace D_NAME,
    SessionWeight D_DECIMAL,
    SessionRestPulse INTEGER,
    SessionAvgPulse INTEGER,
    SessionMaxPulse INTEGER,
    SessionCalorie INTEGER,
    SessionWeather INTEGER,
    SessionTemperature D_DECIMAL,
    SessionWindDir INTEGER,
    SessionWind D_DECIMAL,
    SessionSleepQuality INTEGER,
    SessionSleepDuration D_DECIMAL,
    SessionComment BLOB SUB_TYPE TEXT,
    CONSTRAINT PK_TrainingSession PRIMARY KEY (SessionNr)
);
CREATE INDEX IX_TrainingSession_Date ON TrainingSession (SessionDate);
CREATE INDEX IX_TrainingSession_Activity ON TrainingSession (SessionActivity);
-- The next session number is max(SessionNr) plus 1; the engine finds a
-- maximum through a descending index only, and scans the table without one.
CREATE DESCENDING INDEX IX_TrainingSession_NrDesc ON TrainingSession (SessionNr);

-- Time spent in pulse intervals, percent of the session.
CREATE TABLE TrainingSessionPulse (
    SessionNr INTEGER NOT NULL,
    PulseNr INTEGER,
    PulseId INTEGER,
    PulseValue INTEGER
);
CREATE INDEX IX_TrainingSessionPulse_Nr ON TrainingSessionPulse (SessionNr);
CREATE INDEX IX_TrainingSessionPulse_Id ON TrainingSessionPulse (PulseId);

-- Split times: distance and time from the start to each lap mark.
CREATE TABLE TrainingSessionLaps (
    SessionNr INTEGER NOT NULL,
    LapNr INTEGER NOT NULL,
    LapDistance D_DECIMAL,
    LapTime D_DECIMAL,
    CONSTRAINT PK_TrainingSessionLaps PRIMARY KEY (SessionNr, LapNr)
);
CREATE INDEX IX_TrainingSessionLaps_LapNr ON TrainingSessionLaps (LapNr);

-- The course a time-and-distance session was done on; at most one per session.
CREATE TABLE TrainingSessionCourse (
    SessionNr INTEGER NOT NULL,
    CourseNr INTEGER
);
CREATE INDEX IX_TrainingSessionCourse_Nr ON TrainingSessionCourse (SessionNr);
CREATE INDEX IX_TrainingSessionCourse_Course ON TrainingSessionCourse (CourseNr);

CREATE TABLE Running (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Running PRIMARY KEY (Nr)
);
CREATE TABLE Biking (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Biking PRIMARY KEY (Nr)
);
CREATE TABLE Skiing (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Skiing PRIMARY KEY (Nr)
);
CREATE TABLE Swimming (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Swimming PRIMARY KEY (Nr)
);
CREATE TABLE Inlines (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Inlines PRIMARY KEY (Nr)
);
CREATE TABLE Tennis (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Tennis PRIMARY KEY (Nr)
);
CREATE TABLE Skating (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Skating PRIMARY KEY (Nr)
);
CREATE TABLE Spinning (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Spinning PRIMARY KEY (Nr)
);
CREATE TABLE Aerobics (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Aerobics PRIMARY KEY (Nr)
);
CREATE TABLE Dance (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Dance PRIMARY KEY (Nr)
);
CREATE TABLE Cardio (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Cardio PRIMARY KEY (Nr)
);
CREATE TABLE Floorball (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Performance INTEGER,
    Game D_NAME,
    Comment D_COMMENT,
    CONSTRAINT PK_Floorball PRIMARY KEY (Nr)
);
CREATE TABLE Soccer (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Performance INTEGER,
    Game D_NAME,
    Comment D_COMMENT,
    CONSTRAINT PK_Soccer PRIMARY KEY (Nr)
);
CREATE TABLE IceHockey (
    Nr INTEGER NOT NULL,
    Duration D_DECIMAL,
    Performance INTEGER,
    Game D_NAME,
    Comment D_COMMENT,
    CONSTRAINT PK_IceHockey PRIMARY KEY (Nr)
);
CREATE TABLE Trekking (
    Nr INTEGER NOT NULL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Trekking PRIMARY KEY (Nr)
);
CREATE TABLE Canoeing (
    Nr INTEGER NOT NULL,
    Distance D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_Canoeing PRIMARY KEY (Nr)
);
CREATE TABLE Other (
    OtherNr INTEGER NOT NULL,
    OtherActivity D_NAME,
    OtherComment D_COMMENT,
    CONSTRAINT PK_Other PRIMARY KEY (OtherNr)
);

-- Body measurements, centimetres (Measure is the body weight).
CREATE TABLE CardioMeasure (
    Nr INTEGER NOT NULL,
    Measure D_DECIMAL,
    Neck D_DECIMAL,
    Shoulder D_DECIMAL,
    Chest D_DECIMAL,
    Biceps D_DECIMAL,
    Arm D_DECIMAL,
    Waist D_DECIMAL,
    Hip D_DECIMAL,
    Thigh D_DECIMAL,
    Calf D_DECIMAL,
    Comment D_COMMENT,
    CONSTRAINT PK_CardioMeasure PRIMARY KEY (Nr)
);

-- Golf rounds and their eighteen holes.
CREATE TABLE Golf (
    GolfNr INTEGER NOT NULL,
    GolfPar INTEGER,
    GolfStroke INTEGER,
    GolfPutt INTEGER,
    GolfPrevHCP D_DECIMAL,
    GolfNewHCP D_DECIMAL,
    GolfBunker INTEGER,
    GolfCR D_DECIMAL,
    GolfSlope INTEGER,
    GolfCalculate INTEGER,
    GolfScore D_DECIMAL,
    GolfComment D_COMMENT,
    CONSTRAINT PK_Golf PRIMARY KEY (GolfNr)
);

CREATE TABLE GolfHole (
    GolfNr INTEGER NOT NULL,
    GolfHoleNr INTEGER NOT NULL,
    GolfHolePar INTEGER,
    GolfHoleDistance INTEGER,
    GolfHoleHCP INTEGER,
    GolfHoleStroke INTEGER,
    GolfHoleScore INTEGER,
    GolfHolePutt INTEGER,
    CONSTRAINT PK_GolfHole PRIMARY KEY (GolfNr, GolfHoleNr)
);

-- Strength workouts: load and sets x repetitions per program exercise, and
-- four exercises outside the program.
CREATE TABLE Workout (
    WoNr INTEGER NOT NULL,
    WoEx1 D_DECIMAL,
    WoRep1 VARCHAR(50),
    WoEx2 D_DECIMAL,
    WoRep2 VARCHAR(50),
    WoEx3 D_DECIMAL,
    WoRep3 VARCHAR(50),
    WoEx4 D_DECIMAL,
    WoRep4 VARCHAR(50),
    WoEx5 D_DECIMAL,
    WoRep5 VARCHAR(50),
    WoEx6 D_DECIMAL,
    WoRep6 VARCHAR(50),
    WoEx7 D_DECIMAL,
    WoRep7 VARCHAR(50),
    WoEx8 D_DECIMAL,
    WoRep8 VARCHAR(50),
    WoEx9 D_DECIMAL,
    WoRep9 VARCHAR(50),
    WoEx10 D_DECIMAL,
    WoRep10 VARCHAR(50),
    WoEx11 D_DECIMAL,
    WoRep11 VARCHAR(50),
    WoEx12 D_DECIMAL,
    WoRep12 VARCHAR(50),
    WoEx13 D_DECIMAL,
    WoRep13 VARCHAR(50),
    WoEx14 D_DECIMAL,
    WoRep14 VARCHAR(50),
    WoEx15 D_DECIMAL,
    WoRep15 VARCHAR(50),
    WoEx16 D_DECIMAL,
    WoRep16 VARCHAR(50),
    WoEx17 D_DECIMAL,
    WoRep17 VARCHAR(50),
    WoEx18 D_DECIMAL,
    WoRep18 VARCHAR(50),
    WoEx19 D_DECIMAL,
    WoRep19 VARCHAR(50),
    WoEx20 D_DECIMAL,
    WoRep20 VARCHAR(50),
    WoEx21 D_DECIMAL,
    WoRep21 VARCHAR(50),
    WoEx22 D_DECIMAL,
    WoRep22 VARCHAR(50),
    WoXText1 VARCHAR(60),
    WoXEx1 D_DECIMAL,
    WoXRep1 VARCHAR(50),
    WoXText2 VARCHAR(60),
    WoXEx2 D_DECIMAL,
    WoXRep2 VARCHAR(50),
    WoXText3 VARCHAR(60),
    WoXEx3 D_DECIMAL,
    WoXRep3 VARCHAR(50),
    WoXText4 VARCHAR(60),
    WoXEx4 D_DECIMAL,
    WoXRep4 VARCHAR(50),
    WoComment D_COMMENT,
    CONSTRAINT PK_Workout PRIMARY KEY (WoNr)
);

CREATE TABLE WorkoutExercisePrograms (
    WoNr INTEGER NOT NULL,
    ExProgId INTEGER
);
CREATE INDEX IX_WorkoutExPrograms_Nr ON WorkoutExercisePrograms (WoNr);
CREATE INDEX IX_WorkoutExPrograms_Prog ON WorkoutExercisePrograms (ExProgId);

-- Display names of the activity types, keyed by their fixed codes.
CREATE TABLE ActivityNames (
    ActivityShortName D_CODE NOT NULL,
    ActivityName VARCHAR(40),
    SummarySelected INTEGER,
    CONSTRAINT PK_ActivityNames PRIMARY KEY (ActivityShortName)
);

-- Courses: routes with a description and lap marks.
CREATE TABLE CourseDescription (
    CourseNr INTEGER NOT NULL,
    CourseActivity D_CODE,
    CoursePlace D_NAME,
    CourseDistance D_DECIMAL,
    CourseDifficulty INTEGER,
    CONSTRAINT PK_CourseDescription PRIMARY KEY (CourseNr)
);
CREATE INDEX IX_CourseDescription_Activity ON CourseDescription (CourseActivity);

-- One row per line of a course's description. A line is a paragraph of any
-- length, kept as a text blob like the session comment; diaries made before
-- hold it as D_COMMENT, and the program reads and writes both.
CREATE TABLE CourseDescriptionText (
    CourseNr INTEGER NOT NULL,
    CourseRowNr INTEGER,
    CourseDescription BLOB SUB_TYPE TEXT
);
CREATE INDEX IX_CourseDescriptionText_Nr ON CourseDescriptionText (CourseNr);

CREATE TABLE CourseDescriptionLaps (
    CourseNr INTEGER NOT NULL,
    CourseLapNr INTEGER,
    CourseDistance D_DECIMAL
);
CREATE INDEX IX_CourseDescriptionLaps_Nr ON CourseDescriptionLaps (CourseNr);

-- Strength exercises and programs of up to fifteen exercises.
CREATE TABLE Exercises (
    ExerciseId INTEGER NOT NULL,
    ExerciseName D_NAME,
    CONSTRAINT PK_Exercises PRIMARY KEY (ExerciseId)
);

CREATE TABLE ExercisePrograms (
    ExProgId INTEGER NOT NULL,
    ExProgName D_NAME,
    Exercise1 INTEGER,
    Exercise2 INTEGER,
    Exercise3 INTEGER,
    Exercise4 INTEGER,
    Exercise5 INTEGER,
    Exercise6 INTEGER,
    Exercise7 INTEGER,
    Exercise8 INTEGER,
    Exercise9 INTEGER,
    Exercise10 INTEGER,
    Exercise11 INTEGER,
    Exercise12 INTEGER,
    Exercise13 INTEGER,
    Exercise14 INTEGER,
    Exercise15 INTEGER,
    ExComment D_COMMENT,
    CONSTRAINT PK_ExercisePrograms PRIMARY KEY (ExProgId)
);

-- Pulse intervals, beats per minute.
CREATE TABLE Pulse (
    PulseId INTEGER NOT NULL,
    PulseLow INTEGER,
    PulseHigh INTEGER,
    CONSTRAINT PK_Pulse PRIMARY KEY (PulseId)
);

-- Goals: GoalType 0 week, 1 month, 2 weight.
CREATE TABLE Goal (
    GoalNr INTEGER NOT NULL,
    GoalName D_NAME,
    ActivityShortName D_CODE,
    GoalType INTEGER,
    GoalFromDate DATE,
    GoalToDate DATE,
    GoalAmount D_DECIMAL,
    GoalAmountType INTEGER,
    GoalComment D_COMMENT,
    CONSTRAINT PK_Goal PRIMARY KEY (GoalNr)
);

-- Named column settings of the lists, one row per entry of a setting.
CREATE TABLE ColumnSettingNames (
    ColumnId INTEGER NOT NULL,
    ColumnSettingName VARCHAR(60),
    CONSTRAINT PK_ColumnSettingNames PRIMARY KEY (ColumnId)
);

CREATE TABLE ColumnSettings (
    ColumnId INTEGER NOT NULL,
    ColumnSetting D_NAME
);
CREATE INDEX IX_ColumnSettings_Id ON ColumnSettings (ColumnId);

-- The exercise shown in each of the twenty exercise columns of the lists.
CREATE TABLE ExerciseColumns (
    ExerciseNr INTEGER NOT NULL,
    ExerciseId INTEGER,
    CONSTRAINT PK_ExerciseColumns PRIMARY KEY (ExerciseNr)
);

-- The diary belongs to whoever may open its file: every login the program
-- is given may read and write every table.
GRANT ALL ON TrainingSession TO PUBLIC;
GRANT ALL ON TrainingSessionPulse TO PUBLIC;
GRANT ALL ON TrainingSessionLaps TO PUBLIC;
GRANT ALL ON TrainingSessionCourse TO PUBLIC;
GRANT ALL ON Running TO PUBLIC;
GRANT ALL ON Biking TO PUBLIC;
GRANT ALL ON Skiing TO PUBLIC;
GRANT ALL ON Swimming TO PUBLIC;
GRANT ALL ON Inlines TO PUBLIC;
GRANT ALL ON Tennis TO PUBLIC;
GRANT ALL ON Skating TO PUBLIC;
GRANT ALL ON Spinning TO PUBLIC;
GRANT ALL ON Aerobics TO PUBLIC;
GRANT ALL ON Dance TO PUBLIC;
GRANT ALL ON Cardio TO PUBLIC;
GRANT ALL ON Floorball TO PUBLIC;
GRANT ALL ON Soccer TO PUBLIC;
GRANT ALL ON IceHockey TO PUBLIC;
GRANT ALL ON Trekking TO PUBLIC;
GRANT ALL ON Canoeing TO PUBLIC;
GRANT ALL ON Other TO PUBLIC;
GRANT ALL ON CardioMeasure TO PUBLIC;
GRANT ALL ON Golf TO PUBLIC;
GRANT ALL ON GolfHole TO PUBLIC;
GRANT ALL ON Workout TO PUBLIC;
GRANT ALL ON WorkoutExercisePrograms TO PUBLIC;
GRANT ALL ON ActivityNames TO PUBLIC;
GRANT ALL ON CourseDescription TO PUBLIC;
GRANT ALL ON CourseDescriptionText TO PUBLIC;
GRANT ALL ON CourseDescriptionLaps TO PUBLIC;
GRANT ALL ON Exercises TO PUBLIC;
GRANT ALL ON ExercisePrograms TO PUBLIC;
GRANT ALL ON Pulse TO PUBLIC;
GRANT ALL ON Goal TO PUBLIC;
GRANT ALL ON ColumnSettingNames TO PUBLIC;
GRANT ALL ON ColumnSettings TO PUBLIC;
GRANT ALL ON ExerciseColumns TO PUBLIC;
