// The kit's settings-storage control: where settings would go (INI file, registry, or an INI
// file kept in memory) and how stored values are scrambled. Reading and writing values lies
// in units not linked here, so the in-memory file only carries its name.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "kit/KitCustomComponent.h"
#include "kit/KitSysUtils.h"

namespace quorlet {

enum TKitRegRootKey : uint8_t { rpClassesRoot = 0, rpCurrentUser = 1, rpLocalMachine = 2, rpUsers = 3 };
enum TKitIniTarget : uint8_t { itIniFile = 0, itRegistry = 1, itAuto = 2, itMemIniFile = 3 };
enum TKitIniCryptMode : uint8_t { icmKey = 0, icmTextKey = 1, icmCustom = 2 };

struct TKitMemIniFile {
    QString FileName;
};

class TKitIniCtrl : public TKitCustomComponent {
    Q_OBJECT

  public:
    using TStringEvent = std::function<void(QObject* sender, QByteArray& text)>;

    explicit TKitIniCtrl(QObject* owner = nullptr);
    ~TKitIniCtrl() override;

    bool Common = true;
    QString User;
    TKitPathPrefix IniPrefix = ppOsFolder;
    TKitRegRootKey RegRoot = rpCurrentUser;
    QString RegPath;
    uint16_t EncKey = 23917;
    bool Encoded = false;
    TKitIniCryptMode CryptMode = icmKey;
    TStringEvent OnEncodeString;
    TStringEvent OnDecodeString;

    bool NetUser() const { return netUser_; }
    // Switching on takes the logged-on user's name into User.
    void SetNetUser(bool value);
    const QString& IniFile() const { return iniFile_; }
    // A name without extension gets ".INI"; an in-memory file takes the new name.
    void SetIniFile(const QString& value);
    bool AlphaCounter() const { return alphaCounter_; }
    // Switching on cuts MaxEntries to 26 (one letter per entry).
    void SetAlphaCounter(bool value);
    uint8_t MaxEntries() const { return maxEntries_; }
    // Values above 26 are refused while AlphaCounter is on.
    void SetMaxEntries(uint8_t value);
    TKitIniTarget Target() const { return target_; }
    // itAuto means the registry.
    TKitIniTarget EffectiveTarget() const { return effectiveTarget_; }
    void SetTarget(TKitIniTarget value);
    // Present only while the effective target is itMemIniFile.
    const TKitMemIniFile* MemIniFile() const { return memIniFile_.get(); }

    // The INI file with its folder; an empty IniFile first becomes the program's path + ".INI".
    QString FullIniName();

    QByteArray Encode(const QByteArray& value);
    // Text-key values that are not in the printable form decode to the empty text.
    QByteArray Decode(const QByteArray& value);

  private:
    bool netUser_ = false;
    QString iniFile_;
    bool alphaCounter_ = false;
    uint8_t maxEntries_ = 16;
    TKitIniTarget target_ = itAuto;
    TKitIniTarget effectiveTarget_ = itRegistry;
    std::unique_ptr<TKitMemIniFile> memIniFile_;
};

} // namespace quorlet
