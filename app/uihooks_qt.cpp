#include "app/uihooks_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>

#include "core/uihooks.h"

namespace quorlet {

void InstallQtUiHooks() {
    UiHooks.ShowMessageBox = [](const std::string& text) {
        QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(),
                        QString::fromStdString(text), QMessageBox::Yes, QApplication::activeWindow());
        box.exec();
    };
    UiHooks.CopyTextToClipboard = [](const std::string& text) {
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setText(QString::fromStdString(text), QClipboard::Clipboard);
    };
    UiHooks.PictureSize = [](const std::string& path, int32_t& width, int32_t& height) {
        QImageReader reader(QString::fromStdString(path));
        QSize size = reader.canRead() ? reader.size() : QSize();
        if (!size.isValid()) {
            const QImage image(QString::fromStdString(path));
            if (image.isNull()) return false;
            size = image.size();
        }
        width = size.width();
        height = size.height();
        return true;
    };
}

} // namespace quorlet
