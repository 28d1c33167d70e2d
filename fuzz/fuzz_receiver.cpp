// The byte receiver on any byte stream: never more than one frame per seven bytes, every
// frame it hands on sums to 0, and panel 2's stray-byte text stays bounded.
#include "link/link.h"
#include "serial/tcomm.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Receiver rx;
    size_t frames = 0;
    for (size_t i = 0; i < size; ++i) {
        const int r = rx.r_data(data[i]);
        if (r != -1 && r != 1 && r != 0x06 && r != 0x15)
            abort();
        if (r == 1) {
            if (!rx.frameComplete() || !frameSumIsZero(rx.frame()))
                abort();
            ++frames;
        }
        if (frames * 7 > i + 1)
            abort();
    }

    // The same stream through the link, split where the input says, as the watch thread
    // hands it over in pieces.
    static TComm comm;
    static Link link(comm);
    size_t good = 0;
    QObject::connect(&link, &Link::frameReceived, [&good](const ResponseFrame &f) {
        if (!frameSumIsZero(f.bytes))
            abort();
        ++good;
    });
    link.receiver().setIdle();
    link.setPanel(2, QString());
    const size_t cut = size ? data[0] % (size + 1) : 0;
    link.receiveBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(cut)));
    link.receiveBytes(QByteArray(reinterpret_cast<const char *>(data + cut), qsizetype(size - cut)));
    if (good != frames || link.panel(2).size() > 4096)
        abort();
    QObject::disconnect(&link, &Link::frameReceived, nullptr, nullptr);
    return 0;
}
