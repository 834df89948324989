#pragma once

#include "export/ActExport.h"

// The export as an HTML page with one table: a header row and one row per
// activity, "<br/>" in every empty cell. Every text of the diary is escaped.
class THtmlExport : public TActExport
{
public:
    THtmlExport();

protected:
    void WriteIntro() override;
    void WriteHeader() override;
    void WriteRows() override;
    QString HeaderSeparator() const override;
    QString HeaderLineStart() const override;
    QString HeaderLineEnd() const override;
    QString UnitBreak() const override;
    QString RowSeparator() const override { return m_separator; }
    QString RowStart() const override;
    QString RowEnd() const override;
    // "&", "<" and ">" as entities.
    QString TransformText(const QString &value) const override;
    QString TransformLine(const QString &line) const override;
};
