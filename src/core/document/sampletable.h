#pragma once

#include <QString>

#include <stdexcept>
#include <vector>

namespace Tessar {

// The document's cells: sampleTable(s, f) is field f of sample s.
//
// Every access is bounds-checked. An index outside the table throws
// std::out_of_range instead of touching memory it does not own, so a
// mistake anywhere shows up as an error and never as a corrupted document.
class SampleTable
{
public:
    SampleTable() = default;

    // Dimensions the table as (0 to lastSample, 0 to lastField), every cell empty.
    void redim(int lastSample, int lastField)
    {
        mSamples = lastSample + 1;
        mFields = lastField + 1;
        mCells.assign(std::size_t(mSamples) * std::size_t(mFields), QString());
    }

    // Empties every cell without changing the bounds.
    void clear()
    {
        for (QString &cell : mCells)
            cell.clear();
    }

    bool isDimensioned() const { return mSamples > 0; }
    int lastSample() const { return mSamples - 1; }
    int lastField() const { return mFields - 1; }

    bool contains(int s, int f) const
    {
        return s >= 0 && s < mSamples && f >= 0 && f < mFields;
    }

    QString &operator()(int s, int f) { return mCells[index(s, f)]; }
    const QString &operator()(int s, int f) const { return mCells[index(s, f)]; }

private:
    std::size_t index(int s, int f) const
    {
        if (!contains(s, f))
            throw std::out_of_range("sample table index out of range");
        return std::size_t(s) * std::size_t(mFields) + std::size_t(f);
    }

    int mSamples = 0;
    int mFields = 0;
    std::vector<QString> mCells;
};

} // namespace Tessar
