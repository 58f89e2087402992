#pragma once

#include <QString>

#include <string>

class QComboBox;
class QLineEdit;

// Shows a byte text in an entry field, decoded for display, and takes it
// back: while the field still holds the text it was given (or a list entry
// it was picked from), the very bytes come back, valid UTF-8 or not.
class FieldBinding {
public:
    explicit FieldBinding(QLineEdit* edit, QComboBox* choices = nullptr);

    void Show(const std::string& bytes);
    std::string Take() const;

private:
    QLineEdit* edit_;
    QComboBox* choices_;
    std::string shownBytes_;
    QString shownText_;
};
