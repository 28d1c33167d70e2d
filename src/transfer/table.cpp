#include "transfer/table.h"

#include "transfer/datafile.h"

#include <QSaveFile>

namespace transfer {

bool writeDataFile(const QString &path, uint8_t recordCategory, int lastRecord, const TransferTable &table,
                   QString *error)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray all;
    all.reserve((lastRecord + 2) * 12);
    for (int a = 0; a <= lastRecord; ++a)
        all += recordLine(recordCategory, uint16_t(a), table.word(a));
    all += endRecordLine();
    if (file.write(all) != all.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace transfer
