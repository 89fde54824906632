// The kit's stream forms over Qt devices and images: bitmap files and forms of a QImage,
// and TKitWave, a sound kept as the bytes of a WAVE file. Nothing here plays a sound.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <string>
#include <string_view>

#include "kit/KitCustomComponent.h"
#include "kit/engine/kitforms.h"

namespace quorlet {

// The picture of an image for the byte writers (indexed images keep their colour table).
TKitPixels ImagePixels(const QImage& image);
// Raises "Bitmap image is not valid" for a null image.
std::string BitmapFile(const QImage& image, TKitSavePixelFormat format);
// The bitmap's form: its own depth for spfDefault, plain (sized) or as a block stream.
std::string BitmapForm(const QImage& image, TKitSavePixelFormat format, bool compressed);
// Reads a bitmap form back; a null image when the bytes are cut or not a bitmap file.
QImage ReadBitmapForm(TKitReader& in, bool compressed);

bool WriteAll(QIODevice& device, std::string_view bytes);

class TKitWave : public TKitObject {
  public:
    TKitWave() = default;

    const QByteArray& Data() const { return data_; }
    // Replaces the bytes (stopping a sound would come first; there is none) and notifies.
    void SetData(const QByteArray& bytes);
    bool Empty() const { return data_.isEmpty(); }
    qsizetype Size() const { return data_.size(); }
    // Copies another wave's bytes (null: clears) and notifies.
    void Assign(const TKitWave* source);

    // n bytes from the device: an empty device clears the wave; bytes that are not a WAVE
    // file (or fewer than n) leave it unchanged. True when the wave was replaced or cleared.
    bool LoadFromStream(QIODevice& device, qint64 n);
    bool LoadFromStream(QIODevice& device) { return LoadFromStream(device, device.bytesAvailable()); }
    bool LoadFromFile(const QString& path);
    // The WAVE bytes themselves, so a saved file loads again.
    bool SaveToStream(QIODevice& device) const;
    bool SaveToFile(const QString& path, std::string* error = nullptr) const;

    // The "Data" property: present while there are bytes; the plain wave form (4-byte size,
    // then the bytes).
    bool HasDataProperty() const { return !data_.isEmpty(); }
    std::string WriteData() const;
    // False (wave unchanged) for a cut form or bytes that are not a WAVE file.
    bool ReadData(TKitReader& in);

  private:
    QByteArray data_;
};

} // namespace quorlet
