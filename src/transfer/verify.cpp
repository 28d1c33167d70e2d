#include "transfer/verify.h"

#include "link/categories.h"
#include "link/link.h"

#include <QHash>

namespace transfer {

uint8_t readBackCategory(uint8_t writeCategory)
{
    switch (writeCategory) {
    case cat::Eeprom1Write: return cat::Eeprom1Read;
    case cat::Eeprom1RamWrite: return cat::Eeprom1RamRead;
    case cat::Eeprom2Write: return cat::Eeprom2Read;
    case cat::DspEepromWrite: return cat::DspEepromRead;
    default: return 0;
    }
}

VerifyPlan planVerify(const QString &path, CommandFrame frame)
{
    VerifyPlan plan;
    plan.file = checkDataFile(path, frame);
    if (!plan.file.sendable())
        return plan;
    DataFileReader reader;
    if (!reader.open(path, &plan.file.error)) {
        plan.file.result = FileCheck::Result::OpenFailed;
        return plan;
    }
    QHash<int, qsizetype> at;   // read category << 16 | address -> index in checks
    for (bool first = true;; first = false) {
        if (reader.make_frec(frame) == 0) {
            if (reader.failed()) {
                plan.file.result = FileCheck::Result::ReadFailed;
                plan.file.line = reader.lineNumber();
                plan.file.error = QStringLiteral("reading stopped before the end of the file");
            }
            return plan;
        }
        if (!first && frame[0] == cat::Reset)
            return plan;
        const uint8_t read = readBackCategory(frame[0]);
        if (read == 0) {
            ++plan.unchecked;
            continue;
        }
        WordCheck c;
        c.line = reader.lineNumber();
        c.readCategory = read;
        c.address = frame[1] << 8 | frame[2];
        c.expected = uint16_t(frame[3] << 8 | frame[4]);
        const int key = read << 16 | c.address;
        if (const auto it = at.constFind(key); it != at.cend()) {
            plan.checks[*it] = c;
        } else {
            at.insert(key, plan.checks.size());
            plan.checks.append(c);
        }
    }
}

Verify::Verify(Link &link, QObject *parent) : QObject(parent), link_(link) {}

Verify::Start Verify::start(const QString &path)
{
    if (!link_.Trans_chk())
        return Start::Busy;
    running_ = false;
    mismatches_.clear();
    next_ = 0;
    compared_ = 0;
    plan_ = planVerify(path, link_.frame);
    switch (plan_.file.result) {
    case FileCheck::Result::Sendable:
        break;
    case FileCheck::Result::OpenFailed:
    case FileCheck::Result::ReadFailed:
        return Start::OpenFailed;
    case FileCheck::Result::NotText:
    case FileCheck::Result::NotARequest:
        return Start::Refused;
    }
    if (plan_.checks.isEmpty())
        return Start::Nothing;
    running_ = true;
    emit progressRange(int(plan_.checks.size()));
    emit progress(0);
    read();
    return Start::Reading;
}

void Verify::read()
{
    const WordCheck &c = plan_.checks.at(next_);
    link_.request(c.readCategory, uint8_t(c.address >> 8), 2, uint8_t(c.address));
}

Verify::Step Verify::onReply(const ResponseFrame &r)
{
    link_.release();
    if (!running_)
        return Step::Idle;
    const WordCheck &c = plan_.checks.at(next_);
    if (r.isError()) {
        running_ = false;
        return Step::Refused;
    }
    if (r.category() != c.readCategory || (r.item() << 8 | r.data1()) != c.address) {
        running_ = false;
        return Step::Stopped;
    }
    const auto actual = uint16_t(r.data2() << 8 | r.data3());
    if (actual != c.expected)
        mismatches_.append({c, actual});
    ++compared_;
    emit progress(compared_);
    if (next_ + 1 >= plan_.checks.size()) {
        running_ = false;
        return Step::Done;
    }
    ++next_;
    read();
    return Step::Reading;
}

} // namespace transfer
