#pragma once

#include "prefs/Preferences.h"

#include <QDialog>

#include <array>
#include <memory>

class FieldBinding;
class MessageInterface;

// Edits the owner's details and the two page locations: nine of the
// Preferences fields. The edits take the fields when the dialog opens and
// give them back only when it is closed with Return.
class PreferencesDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 9;

    // A typed character that qmk.ini cannot hold is refused with a box.
    explicit PreferencesDialog(MessageInterface& messages, QWidget* parent = nullptr);
    ~PreferencesDialog() override;

    // Copies the nine fields in from prefs and shows them in the edits, in
    // the file's encoding.
    void SetPreferences(const Preferences& prefs);
    // Copies the nine fields out into prefs; its other fields are not touched.
    void CopyTo(Preferences& prefs) const;

    void accept() override;

private:
    MessageInterface& messages_;
    Preferences values_;
    std::array<std::unique_ptr<FieldBinding>, kFieldCount> edits_;
};
