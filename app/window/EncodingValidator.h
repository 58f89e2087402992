#pragma once

#include "base/TextEncoding.h"

#include <QString>
#include <QValidator>

#include <functional>

// Refuses a typed or pasted edit that would put a character into an edit
// box which the encoding of its file cannot hold: the box keeps the text it
// had, and refused is called with the character once the edit is over.
// Text the program sets is not checked.
class EncodingValidator : public QValidator {
    Q_OBJECT

public:
    EncodingValidator(TextEncoding encoding, std::function<void(char32_t)> refused, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    TextEncoding encoding_;
    std::function<void(char32_t)> refused_;
};

// The box text that names a character the file cannot hold.
QString UnstorableCharacterText(char32_t character, const QString& fileName);
