#include "app/programicon.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include <filesystem>

#include "core/FData.h"
#include "core/safewrite.h"

namespace quorlet {

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // The raised cell.
    const qreal bevel = qMax<qreal>(1, s / 16);
    p.fillRect(QRectF(0, 0, s, s), QColor(0xC0, 0xC0, 0xC0));
    p.fillRect(QRectF(0, 0, s, bevel), Qt::white);
    p.fillRect(QRectF(0, 0, bevel, s), Qt::white);
    p.fillRect(QRectF(0, s - bevel, s, bevel), QColor(0x80, 0x80, 0x80));
    p.fillRect(QRectF(s - bevel, 0, bevel, s), QColor(0x80, 0x80, 0x80));
    // The mine: eight spikes, a round body and a highlight.
    const QPointF centre(s / 2, s / 2);
    p.setPen(QPen(Qt::black, qMax<qreal>(1, s / 14), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(45.0 * i);
        p.drawLine(QPointF(-s * 0.36, 0), QPointF(s * 0.36, 0));
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, s * 0.25, s * 0.25);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.42, s * 0.42), s * 0.07, s * 0.07);
    return image;
}

QIcon ProgramIcon() {
    // Drawn once: the windows, the application and the tray share it.
    static const QIcon icon = [] {
        QIcon sizes;
        for (const int size : {16, 32, 48, 64})
            sizes.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
        return sizes;
    }();
    return icon;
}

std::string ProgramIconFile() {
    const std::string path = Options.LastPath + "quorlet.png";
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !ProgramIconImage(64).save(&buffer, "PNG")) return {};
    return SafeWriteFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
               ? path
               : std::string();
}

} // namespace quorlet
