#include "app/ToolbarGlyph.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

QIcon ToolbarGlyph(const QString& resourcePath) {
    QImage picture(resourcePath);
    if (picture.isNull()) {
        return {};
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = picture.pixel(0, picture.height() - 1);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (line[x] == transparent) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    const int half = picture.width() / 2;
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(picture.copy(0, 0, half, picture.height())), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(picture.copy(half, 0, half, picture.height())),
                   QIcon::Disabled);
    return icon;
}
