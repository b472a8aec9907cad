#pragma once

#include <QLabel>

namespace Tessar {

// A one-line label whose text ends in an ellipsis when it is too long for
// the label, and which then shows the whole text when hovered. text()
// stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // Whether the text is cut at the label's present width.
    bool isElided() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Tessar
