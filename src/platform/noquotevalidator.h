#pragma once

#include <QValidator>

namespace Tessar {

// Keeps double quotes out of a text box whose text goes into the sample
// file, which has no way to hold one. Typed or pasted, the quotes are
// dropped and the rest of the text is kept.
class NoQuoteValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

} // namespace Tessar
