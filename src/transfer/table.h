// The transfer table of a read-out: one entry per camera address, filled by the replies.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace transfer {

class TransferTable
{
public:
    static constexpr int Size = 1024;
    static constexpr int32_t Unread = int32_t(0xFFFFFFFF);

    // Every entry unread.
    void clear() { entries_.fill(Unread); }
    // Stores a reply's word; false (and nothing stored) for an address beyond the table.
    bool store(int address, uint16_t word)
    {
        if (address < 0 || address >= Size)
            return false;
        entries_[size_t(address)] = word;
        return true;
    }
    // Every entry from 0 to last has been filled since clear().
    bool filledUpTo(int last) const
    {
        for (int a = 0; a <= last && a < Size; ++a)
            if (entries_[size_t(a)] == Unread)
                return false;
        return last < Size;
    }
    uint16_t word(int address) const { return uint16_t(entries_[size_t(address)] & 0xFFFF); }

private:
    std::array<int32_t, Size> entries_{};
};

// Writes records for addresses 0..lastRecord from the table, then the end record, through a
// QSaveFile committed after the last line: on any error the old file stays as it was and
// false is returned with the reason.
bool writeDataFile(const QString &path, uint8_t recordCategory, int lastRecord, const TransferTable &table,
                   QString *error = nullptr);

} // namespace transfer
