#pragma once

#include "export/ActExport.h"

// The export as delimited text: the title, today's date, an empty line, the
// header line and one line per activity, the cells separated by a tab, ";",
// ":" or ",". With Replace set, every separator inside a text of the diary
// is replaced by the replace text, so that it cannot split a line.
class TTextExport : public TActExport
{
public:
    TTextExport();

    // 0 a tab, 1 ";", 2 ":", 3 ","; any other index raises "Export 05".
    void SetSeparator(int index);
    void SetReplace(bool replace, const QString &replaceText);
    QString Separator() const { return m_separator; }

protected:
    void WriteIntro() override;
    QString HeaderSeparator() const override { return m_separator; }
    QString RowSeparator() const override { return m_separator; }
    QString TransformText(const QString &value) const override;

private:
    bool m_replace = false;
    QString m_replaceText;
};
