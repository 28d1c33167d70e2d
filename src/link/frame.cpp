#include "link/frame.h"

#include "link/convert.h"

ResponseFrame ResponseFrame::of(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t id)
{
    ResponseFrame r;
    r.bytes = {category, item, d1, d2, d3, id, 0};
    sealFrame(r.bytes);
    return r;
}

uint8_t frameChecksum(const Frame7 &f)
{
    uint8_t sum = 0;
    for (int i = 0; i < 6; ++i)
        sum = uint8_t(sum + f[size_t(i)]);
    return uint8_t(0 - sum);
}

bool frameSumIsZero(const Frame7 &f)
{
    uint8_t sum = 0;
    for (uint8_t b : f)
        sum = uint8_t(sum + b);
    return sum == 0;
}

void sealFrame(Frame7 &f)
{
    f[6] = frameChecksum(f);
}

QString frameText(const Frame7 &f)
{
    QString s;
    s.reserve(17);
    for (int i = 0; i < 7; ++i) {
        s += conv::byteToHex(f[size_t(i)]);
        if (i == 1 || i == 3 || i == 5)
            s += u' ';
    }
    return s;
}
