#include "app/startstyle.h"

#include <QIconEngine>
#include <QPointer>

#include <optional>

namespace Tessar {

namespace {

// Stands for a standard icon of a style and asks the style for it the
// first time anything wants to draw or measure it.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(const QProxyStyle *style, QStyle::StandardPixmap which)
        : mStyle(style), mWhich(which)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!mIcon)
            mIcon = mStyle ? mStyle->baseStyle()->standardIcon(mWhich) : QIcon();
        return *mIcon;
    }

    QPointer<const QProxyStyle> mStyle;
    QStyle::StandardPixmap mWhich;
    std::optional<QIcon> mIcon;
};

} // namespace

QIcon StartStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                               const QWidget *widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton && !option)
        return QIcon(new DeferredIconEngine(this, standardIcon));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

} // namespace Tessar
