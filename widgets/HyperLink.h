#pragma once

#include <functional>

#include <QColor>
#include <QFont>
#include <QString>
#include <QUrl>
#include <QWidget>

// A one-line hyperlink label: it shows Caption, opens URL when the left button is pressed on
// it, turns red under the pointer and fuchsia once pressed. It always sizes itself to its
// caption when it paints, so a size given at design time lasts only until the first paint.
class TcwHyperLink : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)

public:
    // Opens a link's target; whether that worked is not looked at.
    using TOpener = std::function<void(const QUrl&)>;

    explicit TcwHyperLink(QWidget* parent = nullptr);

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    const QString& URL() const { return FURL; }
    void SetURL(const QString& url) { FURL = url; }
    // The background; invalid means the window colour of the palette.
    const QColor& Color() const { return FColor; }
    void SetColor(const QColor& color);

    // The colour the caption is drawn in now, and the one it returns to when the pointer leaves.
    const QColor& TextColor() const { return FTextColor; }
    const QColor& NormalColor() const { return FNormalColor; }

    // Replaces the way the target is opened; an empty opener restores DefaultOpener.
    void SetOpener(TOpener opener);
    // Hands the target to the desktop (QDesktopServices::openUrl).
    static void DefaultOpener(const QUrl& url);

    // The link font used unless the window sets another: "MS Sans Serif" 8 points, bold and
    // underlined, as the font system substitutes it.
    static QFont DefaultFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString FCaption;
    QString FURL;
    QColor FColor;
    QColor FNormalColor;
    QColor FTextColor;
    TOpener FOpener;
};
