// orvik-icons: draws the application icon as PNG files, one per size. The drawing is the
// one of data/icons/orvik.svg, on the same 256-unit grid, so every size shows the same
// picture without an SVG renderer.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

void drawIcon(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b5797));
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 40, 40);

    QPainterPath cable(QPointF(172, 116));
    cable.lineTo(196, 116);
    cable.quadTo(212, 116, 212, 132);
    cable.lineTo(212, 180);
    cable.quadTo(212, 196, 196, 196);
    cable.lineTo(170, 196);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xffca28), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(cable);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xeceff1));
    p.drawRoundedRect(QRectF(132, 60, 28, 16), 4, 4);
    p.drawRoundedRect(QRectF(40, 72, 132, 88), 14, 14);
    p.setBrush(QColor(0x263238));
    p.drawEllipse(QPointF(106, 116), 32, 32);
    p.setBrush(QColor(0x4fc3f7));
    p.drawEllipse(QPointF(106, 116), 18, 18);
    p.setBrush(QColor(0xffffff));
    p.drawEllipse(QPointF(98, 108), 6, 6);

    const QPointF plug[] = {{72, 176}, {176, 176}, {164, 216}, {84, 216}};
    p.setBrush(QColor(0xb0bec5));
    p.setPen(QPen(QColor(0x37474f), 4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPolygon(plug, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x37474f));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(96 + 14 * i, 190), 4, 4);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(103 + 14 * i, 204), 4, 4);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvik-icons OUTDIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(size / 256.0, size / 256.0);
        drawIcon(p);
        p.end();
        const QString path = QStringLiteral("%1/orvik-%2.png").arg(dir).arg(size);
        if (!image.save(path)) {
            std::fprintf(stderr, "orvik-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
