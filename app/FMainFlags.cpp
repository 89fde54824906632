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
    QPixmap blank(16, 11);
    blank.fill(Qt::transparent);
    imC.assign(kCountryCount, blank);
    const QString from = folder.isEmpty() ? QString::fromLatin1(kFlagFolder) : folder;
    for (std::size_t code = 1; code < kCountryCount; ++code) {
        QPixmap flag;
        if (flag.load(from + QString::fromStdString(CountryFlagFile(code)))) imC[code] = flag;
    }
    UiHooks.ShowReplayFlag = [](uint8_t country) {
        if (TMain* m = MainWindow()) m->ShowFlag(country);
    };
}

void TMain::ShowFlag(uint8_t country) {
    const bool shown = country != 0 && country < imC.size();
    const QSize line = NameLabel->size();
    if (shown) {
        imFlag->SetImage(imC[country].toImage());
        imFlag->setGeometry(0, (line.height() - 11) / 2, 16, 11);
    }
    imFlag->setVisible(shown);
    // The name moves right of the flag while one shows.
    const int indent = shown ? 20 : 0;
    lnamelabel->setGeometry(indent, 0, std::max(0, line.width() - indent), line.height());
}

} // namespace quorlet
