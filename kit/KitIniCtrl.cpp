#include "kit/KitIniCtrl.h"

#include "kit/engine/kitcodec.h"

namespace quorlet {

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TKitIniCtrl::TKitIniCtrl(QObject* owner) : TKitCustomComponent(owner) {}

TKitIniCtrl::~TKitIniCtrl() = default;

void TKitIniCtrl::SetNetUser(bool value) {
    if (value == netUser_) return;
    netUser_ = value;
    if (value) User = UserName();
}

void TKitIniCtrl::SetIniFile(const QString& value) {
    iniFile_ = value.isEmpty() ? value : WithDefaultExtension(value, QStringLiteral(".INI"));
    if (memIniFile_) memIniFile_->FileName = iniFile_;
}

void TKitIniCtrl::SetAlphaCounter(bool value) {
    if (value == alphaCounter_) return;
    alphaCounter_ = value;
    if (value && maxEntries_ > 26) maxEntries_ = 26;
}

void TKitIniCtrl::SetMaxEntries(uint8_t value) {
    if (alphaCounter_ && value > 26) return;
    maxEntries_ = value;
}

void TKitIniCtrl::SetTarget(TKitIniTarget value) {
    if (value == target_) return;
    target_ = value;
    effectiveTarget_ = value == itAuto ? itRegistry : value;
    if (effectiveTarget_ == itMemIniFile) {
        if (!memIniFile_) memIniFile_ = std::make_unique<TKitMemIniFile>(TKitMemIniFile{FullIniName()});
    } else {
        memIniFile_.reset();
    }
}

QString TKitIniCtrl::FullIniName() {
    if (iniFile_.isEmpty()) iniFile_ = ProgramPathWithExtension(QStringLiteral(".INI"));
    return PrefixedFileName(IniPrefix, iniFile_);
}

QByteArray TKitIniCtrl::Encode(const QByteArray& value) {
    QByteArray result = value;
    switch (CryptMode) {
    case icmKey: result = Bytes(ScrambleText(View(value), EncKey)); break;
    case icmTextKey: result = Bytes(EncodeText(ScrambleText(View(value), EncKey))); break;
    case icmCustom:
        if (OnEncodeString) OnEncodeString(this, result);
        break;
    }
    return result;
}

QByteArray TKitIniCtrl::Decode(const QByteArray& value) {
    QByteArray result = value;
    switch (CryptMode) {
    case icmKey: result = Bytes(UnscrambleText(View(value), EncKey)); break;
    case icmTextKey: {
        std::string bytes;
        result = DecodeText(View(value), bytes) ? Bytes(UnscrambleText(bytes, EncKey)) : QByteArray();
        break;
    }
    case icmCustom:
        if (OnDecodeString) OnDecodeString(this, result);
        break;
    }
    return result;
}

} // namespace quorlet
