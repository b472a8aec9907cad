#pragma once

#include "core/document/state.h"

#include <QWidget>

namespace Tessar {

// A solid, black-edged rectangle in one colour.
class Swatch : public QWidget
{
    Q_OBJECT

public:
    explicit Swatch(QWidget *parent = nullptr);

    Colour colour() const { return mColour; }
    void setColour(Colour colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Colour mColour = 0;
};

} // namespace Tessar
