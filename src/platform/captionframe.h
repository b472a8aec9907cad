#pragma once

#include <QGroupBox>

namespace Tessar {

// A frame whose caption ends in an ellipsis when the frame is too narrow
// for it, and which then shows the whole caption when its caption is
// hovered. title() stays the whole caption.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit CaptionFrame(QWidget *parent = nullptr);

    // The caption as drawn at the frame's present width.
    QString shownTitle() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect captionRect() const;
};

} // namespace Tessar
