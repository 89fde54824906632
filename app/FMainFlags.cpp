// The flag pictures of the country table and the flag beside the player's name.
#include <QImage>
#include <QLabel>

#include <algorithm>

#include "app/BoardView.h"
#include "app/FMain.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "settings/countries.h"

namespace quorlet {

void TMain::LoadFlagImages(const QString& folder) {
    imC.assign(kCountryCount, std::nullopt);
    flagFolder_ = folder.isEmpty() ? QString::fromLatin1(kFlagFolder) : folder;
    UiHooks.ShowReplayFlag = [](uint8_t country) {
        if (TMain* m = MainWindow()) m->ShowFlag(country);
    };
}

const QPixmap& TMain::FlagImage(uint8_t country) {
    static const QPixmap blank = [] {
        QPixmap p(16, 11);
        p.fill(Qt::transparent);
        return p;
    }();
    if (country == 0 || country >= imC.size()) return blank;
    std::optional<QPixmap>& flag = imC[country];
    if (!flag) {
        QPixmap loaded;
        flag = loaded.load(flagFolder_ + QString::fromStdString(CountryFlagFile(country))) ? loaded : blank;
    }
    return *flag;
}

void TMain::ShowFlag(uint8_t country) {
    const bool shown = country != 0 && country < kCountryCount;
    const QSize line = NameLabel->size();
    if (shown) {
        imFlag->SetImage(FlagImage(country).toImage());
        imFlag->setGeometry(0, (line.height() - 11) / 2, 16, 11);
    }
    imFlag->setVisible(shown);
    // The name moves right of the flag while one shows.
    const int indent = shown ? 20 : 0;
    lnamelabel->setGeometry(indent, 0, std::max(0, line.width() - indent), line.height());
}

} // namespace quorlet
