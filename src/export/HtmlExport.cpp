#include "export/HtmlExport.h"

#include "foundation/PGUtils.h"

#include <QDate>

namespace
{
using Str = TTulloUtilString;
}

THtmlExport::THtmlExport()
{
    m_separator = QStringLiteral("</td><td nowrap=\"1\">");
}

QString THtmlExport::HeaderSeparator() const
{
    return QStringLiteral("</th><th nowrap=\"1\">");
}

QString THtmlExport::HeaderLineStart() const
{
    return QStringLiteral("<thead><tr><th nowrap=\"1\">");
}

QString THtmlExport::HeaderLineEnd() const
{
    return QStringLiteral("</th></tr></thead>");
}

QString THtmlExport::UnitBreak() const
{
    return QStringLiteral("<br/>");
}

QString THtmlExport::RowStart() const
{
    return QStringLiteral("<tr><td nowrap=\"1\">");
}

QString THtmlExport::RowEnd() const
{
    return QStringLiteral("</td></tr>");
}

QString THtmlExport::TransformText(const QString &value) const
{
    // The ampersand first, so that the entities made here stay as they are.
    QString text = Str::ReplaceAll(value, QStringLiteral("&"), QStringLiteral("&amp;"));
    text = Str::ReplaceAll(text, QStringLiteral("<"), QStringLiteral("&lt;"));
    return Str::ReplaceAll(text, QStringLiteral(">"), QStringLiteral("&gt;"));
}

QString THtmlExport::TransformLine(const QString &line) const
{
    // The same as ReplaceAll: the piece cannot overlap itself, so a plain
    // left-to-right replacement gives the same line, faster.
    QString result = line;
    return result.replace(QStringLiteral("<td nowrap=\"1\"></td>"), QStringLiteral("<td nowrap=\"1\"><br/></td>"));
}

void THtmlExport::WriteIntro()
{
    WriteLine(QStringLiteral("<html>"));
    WriteLine(QStringLiteral("<head>"));
    WriteLine(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"> </meta>"));
    WriteLine(QStringLiteral("<style type=\"text/css\">"));
    WriteLine(QStringLiteral("<!--"));
    WriteLine(QStringLiteral("body { background-color: #79BCF2; font-family: Verdana, Arial, Helvetica, sans-serif; font-size: 11px }"));
    WriteLine(QStringLiteral("-->"));
    WriteLine(QStringLiteral("</style>"));
    WriteLine(QStringLiteral("</head>"));
    WriteLine(QStringLiteral("<body>"));
    WriteLine(TransformText(m_title) + QStringLiteral("<br/>"));
    WriteLine(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("<br/>"));
    WriteLine(QStringLiteral("<br/>"));
    TActExport::WriteIntro();
}

void THtmlExport::WriteHeader()
{
    WriteLine(QStringLiteral("<table border=1 cols=%1>").arg(ColumnCount()));
    TActExport::WriteHeader();
}

void THtmlExport::WriteRows()
{
    TActExport::WriteRows();
    WriteLine(QStringLiteral("</table>"));
    WriteLine(QStringLiteral("</body>"));
    WriteLine(QStringLiteral("</html>"));
}
