#pragma once

#include <QHash>
#include <QObject>

class QAction;
class QLineEdit;
class QWidget;

// The undo and redo keys pressed in an entry field. While the field has
// typing of its own to undo (or redo), the keys undo (or redo) that typing,
// as in any text field; otherwise they reach the window's actions, which
// undo or redo the last change to the collection. A change to the collection
// is newer than any typing before it, so the fields then forget that typing.
class FieldUndoKeys : public QObject {
    Q_OBJECT

public:
    // Watches every edit box of the window, and the combo boxes that hold one.
    FieldUndoKeys(QWidget& window, const QAction& undo, const QAction& redo);

    void ForgetTyping();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QAction& undo_;
    const QAction& redo_;
    // Each watched widget's edit box: itself, or a combo box's own.
    QHash<QObject*, QLineEdit*> edits_;
};
