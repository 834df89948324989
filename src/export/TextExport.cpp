#include "export/TextExport.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/PGUtils.h"

#include <QDate>

TTextExport::TTextExport()
{
    m_separator = QStringLiteral("\t");
}

void TTextExport::SetSeparator(int index)
{
    static const QStringList separators = {QStringLiteral("\t"), QStringLiteral(";"), QStringLiteral(":"), QStringLiteral(",")};
    if (index < 0 || index >= separators.size())
        throw EExport(QStringLiteral("Export 05"));
    m_separator = separators.at(index);
}

void TTextExport::SetReplace(bool replace, const QString &replaceText)
{
    m_replace = replace;
    m_replaceText = replaceText;
}

QString TTextExport::TransformText(const QString &value) const
{
    if (!m_replace)
        return value;
    return TTulloUtilString::ReplaceAll(value, m_separator, m_replaceText);
}

void TTextExport::WriteIntro()
{
    WriteLine(TransformText(m_title));
    WriteLine(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    WriteLine(QString());
    TActExport::WriteIntro();
}
