#include "kit/KitStreams.h"

#include <QBuffer>
#include <QFile>

#include "core/safewrite.h"
#include "kit/engine/kiterror.h"

namespace quorlet {

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

} // namespace

TKitPixels ImagePixels(const QImage& image) {
    TKitPixels p;
    p.Width = image.width();
    p.Height = image.height();
    const bool indexed = image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
                         image.format() == QImage::Format_MonoLSB;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    p.Rgb.reserve(static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height));
    for (int y = 0; y < p.Height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < p.Width; ++x) p.Rgb.push_back(line[x] & 0xFFFFFF);
    }
    if (indexed && image.colorCount() > 0) {
        for (QRgb c : image.colorTable()) p.ColorTable.push_back(c & 0xFFFFFF);
        p.Indices.reserve(p.Rgb.size());
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x) p.Indices.push_back(static_cast<uint8_t>(image.pixelIndex(x, y)));
    }
    return p;
}

std::string BitmapFile(const QImage& image, TKitSavePixelFormat format) {
    if (image.isNull()) throw EKitError("Bitmap image is not valid");
    return BitmapFileBytes(ImagePixels(image), format);
}

std::string BitmapForm(const QImage& image, TKitSavePixelFormat format, bool compressed) {
    std::string out;
    WriteForm(out, BitmapFile(image, format), compressed);
    return out;
}

QImage ReadBitmapForm(TKitReader& in, bool compressed) {
    std::string bytes;
    if (!ReadForm(in, compressed, bytes)) return {};
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
    return image;
}

bool WriteAll(QIODevice& device, std::string_view bytes) {
    return device.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

void TKitWave::SetData(const QByteArray& bytes) {
    data_ = bytes;
    Changed();
}

void TKitWave::Assign(const TKitWave* source) {
    SetData(source ? source->data_ : QByteArray());
}

bool TKitWave::LoadFromStream(QIODevice& device, qint64 n) {
    const qint64 available = device.bytesAvailable();
    if (available <= 0 && device.size() == 0) {
        SetData({});
        return true;
    }
    if (n <= 0 || n > available) return false;
    const QByteArray bytes = device.read(n);
    if (bytes.size() != n || !CheckWaveData(View(bytes))) return false;
    SetData(bytes);
    return true;
}

bool TKitWave::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return LoadFromStream(file);
}

bool TKitWave::SaveToStream(QIODevice& device) const {
    return WriteAll(device, View(data_));
}

bool TKitWave::SaveToFile(const QString& path, std::string* error) const {
    return SafeWriteFile(path.toStdString(), View(data_), error);
}

std::string TKitWave::WriteData() const {
    std::string out;
    WriteSized(out, View(data_));
    return out;
}

bool TKitWave::ReadData(TKitReader& in) {
    std::string bytes;
    if (!ReadWaveForm(in, false, bytes)) return false;
    SetData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return true;
}

} // namespace quorlet
