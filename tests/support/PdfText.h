#pragma once

// Reads a PDF file back as text with pdftotext (Debian package
// poppler-utils), so that a test checks what a print really holds.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>


namespace PdfText
{
// The text of every page, in page order, laid out as on the page (one
// printed line per text line). Empty when pdftotext cannot be run or fails;
// `error` then says why.
inline QStringList Pages(const QString &fileName, QString *error = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                fileName, QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftotext failed: %1 %2")
                         .arg(process.errorString(), QString::fromLocal8Bit(process.readAllStandardError()));
        return {};
    }
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    // The text ends with a form feed after the last page.
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// One word of a page with its box, in points from the top left corner.
struct TWord
{
    int Page = 0; // 1-based
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
    QString Text;
};

// Every word of the file with its place (pdftotext -bbox).
inline QList<TWord> Words(const QString &fileName, QString *error = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), fileName,
                                                QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftotext -bbox failed: %1").arg(process.errorString());
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<TWord> words;
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        TWord word;
        word.Page = page;
        word.XMin = match.captured(1).toDouble();
        word.YMin = match.captured(2).toDouble();
        word.XMax = match.captured(3).toDouble();
        word.YMax = match.captured(4).toDouble();
        word.Text = match.captured(5)
                        .replace(QLatin1String("&lt;"), QLatin1String("<"))
                        .replace(QLatin1String("&gt;"), QLatin1String(">"))
                        .replace(QLatin1String("&quot;"), QLatin1String("\""))
                        .replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.append(word);
    }
    return words;
}
}
