#pragma once

#include <QProxyStyle>

namespace Tessar {

// The application's style, with one change for a quick start: the arrow a
// menu bar shows when its titles do not fit is decoded when it is first
// drawn rather than when the menu bar is made. Reading that picture is the
// first image the program reads, and Qt answers it by loading every image
// plugin it has, milliseconds the first window need not wait for.
class StartStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace Tessar
