#include "transfer/readout.h"

#include "link/link.h"

namespace transfer {

ReadOut::ReadOut(Link &link, QObject *parent) : QObject(parent), link_(link) {}

bool ReadOut::start(const Memory &memory, const QString &path, std::function<uint8_t()> option)
{
    if (!link_.Trans_chk())
        return false;
    memory_ = memory;
    path_ = path;
    option_ = std::move(option);
    error_.clear();
    table_.clear();
    running_ = true;
    read(0);
    emit progressRange(memory_.lastAddress + 1);
    emit progress(0);
    return true;
}

void ReadOut::read(int address)
{
    if (memory_.indexed)
        link_.request(memory_.readCategory, uint8_t(address), 2, option_ ? option_() : uint8_t(0));
    else
        link_.request(memory_.readCategory, uint8_t(address >> 8), 2, uint8_t(address));
}

ReadOut::Step ReadOut::onReply(const ResponseFrame &r)
{
    if (!running_) {
        link_.release();
        return Step::Idle;
    }
    const int address = memory_.indexed ? r.item() : (r.item() << 8 | r.data1());
    emit progress(address);
    // A refusal or any other answer ends the reading here; the request it answered stays
    // unaccounted for, so the link stays busy until Cancel.
    if (r.category() != memory_.readCategory)
        return Step::Stopped;
    link_.release();
    if (address > memory_.lastAddress) {
        running_ = false;
        error_ = QStringLiteral("the camera answered address %1, beyond the memory").arg(address);
        return Step::Incomplete;
    }
    table_.store(address, uint16_t(r.data2() << 8 | r.data3()));
    if (address < memory_.lastAddress) {
        read(address + 1);
        return Step::Reading;
    }
    return finish();
}

ReadOut::Step ReadOut::finish()
{
    running_ = false;
    // A word never read would go into the file as FFFF and, played back, into the camera.
    if (!table_.filledUpTo(memory_.lastAddress)) {
        error_ = QStringLiteral("not every word of the memory was read");
        return Step::Incomplete;
    }
    if (!writeDataFile(path_, memory_.recordCategory, memory_.lastRecord, table_, &error_))
        return Step::WriteFailed;
    return Step::Written;
}

} // namespace transfer
