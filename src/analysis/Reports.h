#pragma once

// The twelve predefined reports of the report window: each names one X
// quantity and up to ten Y quantities by their catalogue ids (the column
// kind ordinals). Numbers and texts only.

#include <QString>

#include <array>

// One predefined report. Columns[0] is the X quantity, Columns[1..10] the Y
// quantities; an empty slot holds -1.
struct TReport
{
    static constexpr int SlotCount = 11;
    QString Name;
    std::array<int, SlotCount> Columns{};
};

// Exactly twelve reports, fixed at construction. Errors are EReport:
// "Reports 02: Ogiltigt index: %d" from Get and YCount, "Reports 01:
// Ogiltigt index: %d" from Clear, for an index outside 0..11.
class TReports
{
public:
    static constexpr int ReportCount = 12;
    static constexpr int MaxY = 10;

    TReports();

    int Count() const { return ReportCount; }
    // A copy of the report.
    TReport Get(int index) const;
    // The number of Y slots before the first empty one (at most 10).
    int YCount(int index) const;

private:
    // Empties the name and sets all slots to -1; used while building.
    void Clear(int index);

    std::array<TReport, ReportCount> m_reports;
};
