#include "widgets/HyperLink.h"

#include <utility>

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kLinkBlue(0, 0, 255);
const QColor kLinkRed(255, 0, 0);
const QColor kLinkFuchsia(255, 0, 255);

} // namespace

TcwHyperLink::TcwHyperLink(QWidget* parent)
    : QWidget(parent), FNormalColor(kLinkBlue), FTextColor(kLinkBlue), FOpener(DefaultOpener) {
    setFont(DefaultFont());
}

void TcwHyperLink::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

void TcwHyperLink::SetColor(const QColor& color) {
    FColor = color;
    update();
}

void TcwHyperLink::SetOpener(TOpener opener) {
    FOpener = opener ? std::move(opener) : TOpener(DefaultOpener);
}

void TcwHyperLink::DefaultOpener(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

QFont TcwHyperLink::DefaultFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

void TcwHyperLink::paintEvent(QPaintEvent* /*event*/) {
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(FCaption) + 6, metrics.height() + 2);
    if (size() != textSize) {
        resize(textSize);
    }
    QPainter painter(this);
    painter.fillRect(rect(), FColor.isValid() ? FColor : palette().color(QPalette::Window));
    painter.setFont(font());
    painter.setPen(FTextColor);
    painter.drawText(3, 1 + metrics.ascent(), FCaption);
}

void TcwHyperLink::enterEvent(QEnterEvent* event) {
    FTextColor = kLinkRed;
    update();
    QWidget::enterEvent(event);
}

void TcwHyperLink::leaveEvent(QEvent* event) {
    FTextColor = FNormalColor;
    update();
    QWidget::leaveEvent(event);
}

void TcwHyperLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // A target that cannot be opened is not reported, and nothing may leave this handler.
        try {
            FOpener(QUrl(FURL));
        } catch (...) {
        }
        FNormalColor = kLinkFuchsia;
    }
    QWidget::mousePressEvent(event);
}
