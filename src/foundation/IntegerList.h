#pragma once

#include "foundation/Exceptions.h"

#include <QList>
#include <QtGlobal>

// An index that is not in a TIntegerList.
class EIntegerList : public EException { public: using EException::EException; };

// A list of 32-bit integers. Windows keep one beside each list box, combo box
// or grid whose lines stand for stored items, so that line i maps to the id
// at position i.
class TIntegerList
{
public:
    // Appends the value; returns its position.
    int Add(qint32 value)
    {
        m_values.append(value);
        return int(m_values.size()) - 1;
    }
    void Clear() { m_values.clear(); }
    int Count() const { return int(m_values.size()); }

    // The value at the position; EIntegerList "List index out of bounds (i)"
    // for a position outside 0..Count-1.
    qint32 Items(int index) const
    {
        CheckIndex(index);
        return m_values.at(index);
    }
    qint32 operator[](int index) const { return Items(index); }
    void SetItem(int index, qint32 value)
    {
        CheckIndex(index);
        m_values[index] = value;
    }
    // Removes the value at the position; the later ones move up by one.
    void Delete(int index)
    {
        CheckIndex(index);
        m_values.removeAt(index);
    }
    // The first position holding the value, or -1.
    int IndexOf(qint32 value) const { return int(m_values.indexOf(value)); }

    const QList<qint32> &Values() const { return m_values; }

private:
    void CheckIndex(int index) const
    {
        if (index < 0 || index >= m_values.size())
            throw EIntegerList(QStringLiteral("List index out of bounds (%1)").arg(index));
    }

    QList<qint32> m_values;
};
