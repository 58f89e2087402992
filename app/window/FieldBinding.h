#pragma once

#include "base/TextEncoding.h"

#include <QString>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;

// Shows a byte text in an entry field, decoded in its file's encoding, and
// takes it back: while the field still holds the text it was given (or a
// list entry it was picked from), the very bytes come back, whether the
// encoding would give them or not. Other text is encoded.
class FieldBinding {
public:
    explicit FieldBinding(QLineEdit* edit, QComboBox* choices = nullptr);

    // The encoding of the file the field's values come from and go to. A
    // typed character that it cannot hold is refused, and refused is called
    // with it, so that every text the field takes can be encoded.
    void SetEncoding(TextEncoding encoding, const std::function<void(char32_t)>& refused);

    void Show(const std::string& bytes);
    std::string Take() const;

private:
    QLineEdit* edit_;
    QComboBox* choices_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::string shownBytes_;
    QString shownText_;
};
