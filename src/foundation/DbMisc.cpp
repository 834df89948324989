#include "foundation/DbMisc.h"

#include "foundation/PGUtils.h"

#include <QVariant>

namespace DbMisc
{
namespace
{
const QString emptyValueText = QStringLiteral("<Empty>");

void checkQuery(const TDbQuery *query)
{
    if (!query)
        throw EDbMiscError(QStringLiteral("Query är nil"));
}

EDbMiscErrorInvalidValue refusedValue(const QString &param, const QString &value)
{
    return EDbMiscErrorInvalidValue(QStringLiteral("Parameter %1 tillåter ej detta värde (%2)").arg(param, value));
}

// The value converted for binding. A failed conversion is always reported
// as a refused value naming the parameter and the text.
QVariant convertValue(const QString &param, int kind, const QString &value)
{
    try {
        switch (kind) {
        case vkText:
            return QVariant(value);
        case vkDecimal:
            return QVariant(TTulloUtilNumeric::StrToFloat(value));
        case vkInteger:
            return QVariant(qint64(TTulloUtilNumeric::StrToInt(value)));
        case vkDate:
            return QVariant(TTulloUtilTimeDate::StrToDate(value));
        case vkFlag: {
            // A flag is stored as 0 or 1; any other number would read back
            // as false and so is no flag.
            const int flag = TTulloUtilNumeric::StrToInt(value);
            if (flag != 0 && flag != 1)
                throw refusedValue(param, value);
            return QVariant(qint64(flag));
        }
        default:
            break;
        }
    } catch (const EConvertError &) {
        throw refusedValue(param, value);
    }
    throw EDbMiscErrorInvalidType(QStringLiteral("Ogiltig parameter typ för parameter %1").arg(param));
}

void bindConverted(TDbQuery *query, const QString &param, const QVariant &converted)
{
    switch (converted.typeId()) {
    case QMetaType::Double:
        query->SetFloat(param, converted.toDouble());
        break;
    case QMetaType::LongLong:
        query->SetInteger(param, converted.toLongLong());
        break;
    case QMetaType::QDate:
        query->SetDate(param, converted.toDate());
        break;
    default:
        query->SetText(param, converted.toString());
        break;
    }
}

QString sqlOperator(int op, const QString &column)
{
    switch (op) {
    case foContains:
    case foEndsWith:
    case foStartsWith:
        return QStringLiteral("like");
    case foEquals:
        return QStringLiteral("=");
    case foAtLeast:
        return QStringLiteral(">=");
    case foGreater:
        return QStringLiteral(">");
    case foAtMost:
        return QStringLiteral("<=");
    case foLess:
        return QStringLiteral("<");
    default:
        throw EDbMiscError(QStringLiteral("Ogiltig operatortyp. Kolumn: %1").arg(column));
    }
}

QString likePattern(int op, const QString &value)
{
    switch (op) {
    case foContains:
        return QLatin1Char('%') + value + QLatin1Char('%');
    case foEndsWith:
        return QLatin1Char('%') + value;
    case foStartsWith:
        return value + QLatin1Char('%');
    default:
        return value;
    }
}

// Raises the error again, of its own class, with the column named.
[[noreturn]] void raiseWithColumn(const EDbMiscError &error, const QString &column)
{
    const QString message = error.Message() + QStringLiteral(". Kolumn: %1").arg(column);
    if (dynamic_cast<const EDbMiscErrorInvalidValue *>(&error))
        throw EDbMiscErrorInvalidValue(message);
    if (dynamic_cast<const EDbMiscErrorInvalidType *>(&error))
        throw EDbMiscErrorInvalidType(message);
    if (dynamic_cast<const EDbMiscErrorNotActive *>(&error))
        throw EDbMiscErrorNotActive(message);
    throw EDbMiscError(message);
}
} // namespace

void AddLine(TDbQuery *query, const QString &line)
{
    checkQuery(query);
    query->Add(line);
}

void BindParam(TDbQuery *query, const QString &param, int kind, bool nullable, const QString &value)
{
    checkQuery(query);
    if (value.isEmpty()) {
        if (nullable)
            throw EDbMiscError(QStringLiteral("Ogiltigt internt funktionsanrop"));
        if (kind != vkText)
            throw refusedValue(param, emptyValueText);
        query->SetText(param, QStringLiteral(" "));
        return;
    }
    bindConverted(query, param, convertValue(param, kind, value));
}

void AddValue(TDbQuery *query, const QString &param, int kind, const QString &separator, bool nullable,
              const QString &value)
{
    checkQuery(query);
    if (value.isEmpty() && nullable) {
        query->Add(QStringLiteral("null") + separator);
        return;
    }
    query->Add(QLatin1Char(':') + param + separator);
    BindParam(query, param, kind, nullable, value);
}

void AddSetClause(TDbQuery *query, const QString &column, const QString &param, const QString &separator,
                  bool nullable, const QString &value, int kind)
{
    checkQuery(query);
    if (nullable && value.trimmed().isEmpty()) {
        query->Add(column + QStringLiteral(" = null") + separator);
        return;
    }
    query->Add(column + QStringLiteral(" = :") + param + separator);
    try {
        BindParam(query, param, kind, nullable, value);
    } catch (const EDbMiscError &error) {
        raiseWithColumn(error, column);
    }
}

void AddFilter(TDbQuery *query, const QString &column, int op, bool nullable, const QString &value, int kind,
               const QString &param)
{
    checkQuery(query);
    const bool operatorFits = kind == vkText ? (op >= foContains && op <= foEquals) : (op >= foEquals && op <= foLess);
    if (!operatorFits)
        throw EDbMiscError(QStringLiteral("Ogiltig operator. Kolumn: %1").arg(column));
    if (kind == vkDecimal && op == foEquals)
        throw EDbMiscError(QStringLiteral("Jämförelser med flyttal är osäkra. Kolumn: %1").arg(column));

    if (value.isEmpty() || (kind == vkDate && value == EmptyDateMask))
        return;

    if (value == QLatin1String("!")) {
        if (nullable)
            query->Add(QStringLiteral("and ") + column + QStringLiteral(" is null"));
        else if (kind == vkText)
            query->Add(QStringLiteral("and ") + column + QStringLiteral(" = ' '"));
        else
            throw EDbMiscError(QStringLiteral("Varken null eller tom kan sökas. Kolumn: %1").arg(column));
        return;
    }
    if (value == QLatin1String("*")) {
        if (nullable)
            query->Add(QStringLiteral("and ") + column + QStringLiteral(" is not null"));
        else if (kind == vkText)
            query->Add(QStringLiteral("and ") + column + QStringLiteral(" <> ' '"));
        else
            throw EDbMiscError(QStringLiteral("Varken icke-null eller icke-tom kan sökas. Kolumn: %1").arg(column));
        return;
    }

    const QString line = QStringLiteral("and ") + column + QLatin1Char(' ') + sqlOperator(op, column)
                         + QStringLiteral(" :") + param;
    if (kind < vkText || kind > vkDate)
        throw EDbMiscError(QStringLiteral("Ogiltig parametertyp. Kolumn: %1").arg(column));
    // Converted before anything is written, so that a refused value leaves
    // the statement as it was. The user's text is only ever bound: a "%" or
    // "_" in it acts as a wildcard of the like, never as SQL.
    QVariant converted;
    try {
        converted = convertValue(param, kind, kind == vkText ? likePattern(op, value) : value);
    } catch (const EDbMiscError &error) {
        raiseWithColumn(error, column);
    }
    query->Add(line);
    bindConverted(query, param, converted);
}

void AddInList(TDbQuery *query, const QString &column, const QString &param, const QStringList *values)
{
    checkQuery(query);
    if (!values)
        throw EDbMiscErrorInvalidValue(QStringLiteral("Parameter är nil"));
    if (column.trimmed().isEmpty())
        throw EDbMiscErrorInvalidValue(QStringLiteral("Ogiltigt kolumnnams (%1)").arg(column));

    const qsizetype count = values->size();
    if (count == 0)
        return;
    if (count == 1) {
        query->Add(QStringLiteral("and ") + column + QStringLiteral(" = ") + QLatin1Char(':') + param);
        query->SetText(param, values->first());
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = param + QString::number(i);
        if (i == 0)
            query->Add(QStringLiteral("and (") + column + QStringLiteral(" = :") + name);
        else if (i < count - 1)
            query->Add(QStringLiteral("or ") + column + QStringLiteral(" = :") + name);
        else
            query->Add(QStringLiteral("or ") + column + QStringLiteral(" = :") + name + QLatin1Char(')'));
        query->SetText(name, values->at(i));
    }
}

QString GetColumn(TDbQuery *query, const QString &column, int kind)
{
    checkQuery(query);
    if (!query->Active())
        throw EDbMiscErrorNotActive(QStringLiteral("SQL-frågan ej aktiv"));
    const int index = query->FieldIndex(column);
    const QString text = query->FieldAsText(index).trimmed();
    // A column with two decimals reads as two decimals already.
    if (kind == vkDecimal && !text.isEmpty() && query->FieldScale(index) != 2)
        return TTulloUtilString::FormatFixed(2, query->FieldAsFloat(index));
    return text;
}
} // namespace DbMisc
