#pragma once

#include "foundation/DbClient.h"

#include <QString>
#include <QStringList>

// The SQL writers: every statement of the program is assembled line by line
// in a query's statement buffer, and every value, which travels as text, is
// turned into a bound parameter here - never into SQL text. They decide when
// an empty value becomes SQL null, when it becomes a single blank, how a
// search field turns into a condition and how a column reads back as text.
//
// Every function takes the query first and raises EDbMiscError
// "Query är nil" without one. The other errors are EDbMiscError or one of
// its subclasses with the messages given below. A statement whose building
// failed may be left half built; callers clear the buffer before building
// the next one.
namespace DbMisc
{
// How a value is bound and read back.
enum TValueKind : int {
    vkText = 0,    // string; an empty value of a column that is not nullable is stored as " "
    vkDecimal = 1, // floating point from a text with "." as separator
    vkInteger = 2, // 32-bit whole number
    vkDate = 3,    // date from "yyyy-MM-dd"
    vkFlag = 4     // whole number from "1" or "0"
};

// Search operators of AddFilter. Text columns take foContains..foEquals,
// every other kind foEquals..foLess.
enum TFilterOperator : int {
    foContains = 0,   // like "%value%"
    foEndsWith = 1,   // like "%value"
    foStartsWith = 2, // like "value%"
    foEquals = 3,     // =
    foAtLeast = 4,    // >=
    foGreater = 5,    // >
    foAtMost = 6,     // <=
    foLess = 7        // <
};

// The text an empty masked date field delivers; a search for it asks for
// nothing.
inline const QString EmptyDateMask = QStringLiteral("    -  -  ");

// Appends one line to the statement.
void AddLine(TDbQuery *query, const QString &line);

// Binds `param` (a name without colon) to the value converted by `kind`.
// An empty value of a nullable column is the caller's error
// ("Ogiltigt internt funktionsanrop"): such a column gets the word null
// instead of a parameter. An empty value of a column that is not nullable
// is bound as " " for text and refused for every other kind with
// EDbMiscErrorInvalidValue "Parameter <param> tillåter ej detta värde
// (<Empty>)"; a text that does not convert is refused with the same message
// naming the text. A kind outside TValueKind raises EDbMiscErrorInvalidType
// "Ogiltig parameter typ för parameter <param>".
void BindParam(TDbQuery *query, const QString &param, int kind, bool nullable, const QString &value);

// One line of the value list of an insert: "null" + separator for an empty
// value of a nullable column (nothing bound), otherwise ":" + param +
// separator with the value bound by BindParam. Emptiness is tested without
// trimming, so a value of blanks only is bound (and refused for numbers).
// `separator` is "," for all but the last value and ")" for the last.
void AddValue(TDbQuery *query, const QString &param, int kind, const QString &separator, bool nullable,
              const QString &value);

// One line of the set list of an update: column + " = null" + separator when
// the trimmed value is empty and the column nullable, otherwise column +
// " = :" + param + separator with the untrimmed value bound by BindParam.
// An error of BindParam is raised again, of the same class, with
// ". Kolumn: <column>" added to its message. `separator` is "," for all but
// the last column and " " for the last.
void AddSetClause(TDbQuery *query, const QString &column, const QString &param, const QString &separator,
                  bool nullable, const QString &value, int kind);

// One condition of a search, "and " + column + ..., so the statement must
// already hold a where clause. An empty value (and EmptyDateMask for a date)
// adds nothing; "!" asks for no value (is null, or = ' ' for a text column
// that is not nullable) and "*" for a value (is not null, or <> ' ').
// Any other value adds "and <column> <op> :<param>" with the value bound by
// kind; the like operators add their "%" around the text, and a "%" or "_"
// the user typed keeps its wildcard meaning. Flags cannot be compared with a
// value. Every error is an EDbMiscError naming the column:
//   "Ogiltig operator. Kolumn: %s" (operator does not fit the kind),
//   "Jämförelser med flyttal är osäkra. Kolumn: %s" (decimal equals),
//   "Varken null eller tom kan sökas. Kolumn: %s" ("!" on a column that
//   can be neither), "Varken icke-null eller icke-tom kan sökas. Kolumn: %s"
//   (likewise "*"), "Ogiltig parametertyp. Kolumn: %s" (a kind that cannot
//   be compared), and EDbMiscErrorInvalidValue "Parameter %s tillåter ej
//   detta värde (%s). Kolumn: %s" for a value that does not convert. A
//   refused filter leaves the statement as it was.
void AddFilter(TDbQuery *query, const QString &column, int op, bool nullable, const QString &value, int kind,
               const QString &param);

// A condition that the column equals one of the texts: nothing for an empty
// list, "and <column> = :<param>" for one text, and for n texts
//   "and (<column> = :<param>0", "or <column> = :<param>i" ...,
//   "or <column> = :<param>(n-1))"
// with each parameter bound as text. Raises EDbMiscErrorInvalidValue
// "Parameter är nil" without a list and "Ogiltigt kolumnnams (<column>)"
// for an empty column name.
void AddInList(TDbQuery *query, const QString &column, const QString &param, const QStringList *values);

// The column of the current row as text, trimmed; empty for null; a decimal
// with exactly two decimals ("3.00"). Raises EDbMiscErrorNotActive
// "SQL-frågan ej aktiv" when the query is not open, and the database layer's
// error for a column that is not in the result.
QString GetColumn(TDbQuery *query, const QString &column, int kind);
} // namespace DbMisc
