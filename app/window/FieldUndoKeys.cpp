#include "app/window/FieldUndoKeys.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool IsShortcutOf(const QKeyEvent& key, const QAction& action)
{
    return action.shortcuts().contains(QKeySequence(key.keyCombination()));
}

} // namespace

FieldUndoKeys::FieldUndoKeys(QWidget& window, const QAction& undo, const QAction& redo)
    : QObject(&window)
    , undo_(undo)
    , redo_(redo)
{
    for (QLineEdit* edit : window.findChildren<QLineEdit*>())
        edits_.insert(edit, edit);
    // A combo box with the focus hands the keys to its edit box itself,
    // past the edit box's filters.
    for (QComboBox* combo : window.findChildren<QComboBox*>()) {
        if (combo->lineEdit() != nullptr)
            edits_.insert(combo, combo->lineEdit());
    }
    for (QObject* watched : edits_.keys())
        watched->installEventFilter(this);
}

void FieldUndoKeys::ForgetTyping()
{
    for (QObject* watched : edits_.keys()) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit == nullptr || (!edit->isUndoAvailable() && !edit->isRedoAvailable()))
            continue;
        // Setting the text is the one way to empty a box's own undo history.
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(cursor);
    }
}

// The shortcut override decides whether the window's action gets the key;
// the key press that follows it otherwise is the field's own undo or redo,
// done here so that every key of the actions works the same in a field.
bool FieldUndoKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool undo = IsShortcutOf(key, undo_);
    if (!undo && !IsShortcutOf(key, redo_))
        return false;
    QLineEdit* edit = edits_.value(watched);
    const bool typing = !edit->isReadOnly() && (undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
    if (event->type() == QEvent::ShortcutOverride) {
        event->setAccepted(typing);
        return true;
    }
    if (!typing)
        return false;
    if (undo)
        edit->undo();
    else
        edit->redo();
    return true;
}
