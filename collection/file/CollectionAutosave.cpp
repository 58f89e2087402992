#include "collection/file/CollectionAutosave.h"

#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/TableChanges.h"
#include "collection/file/CollectionCommands.h"
#include "collection/file/CollectionFile.h"
#include "resources/StringTable.h"

#include <QThread>

CollectionAutosave::CollectionAutosave(const CardTableModel& table, CollectionSaver& file, MessageInterface& messages,
                                       std::chrono::milliseconds delay)
    : table_(table)
    , file_(file)
    , messages_(messages)
{
    delay_.setSingleShot(true);
    delay_.setInterval(delay);
    connect(&delay_, &QTimer::timeout, this, &CollectionAutosave::SaveNow);
    OnTableChanges(table, *this, [this] { OnTableChanged(); });
    connect(&table, &QAbstractItemModel::rowsMoved, this, &CollectionAutosave::OnTableChanged);
}

CollectionAutosave::~CollectionAutosave()
{
    if (writing_)
        writing_->wait();
}

void CollectionAutosave::Start(bool fileAsWritten)
{
    started_ = true;
    changed_ = false;
    startedAsWritten_ = fileAsWritten;
    written_.reset();
}

bool CollectionAutosave::Finish()
{
    started_ = false;
    due_ = false;
    delay_.stop();
    if (writing_)
        OnSaveWritten();
    const std::shared_ptr<const CardTableSnapshot> written = std::move(written_);
    const bool held = changed_ ? written && table_.HoldsRowsOf(*written) : startedAsWritten_;
    if (held && file_.Unchanged())
        return true;
    return SaveCollection(file_, table_, messages_);
}

void CollectionAutosave::OnTableChanged()
{
    if (started_)
        changed_ = true;
    if (started_ && !delay_.isActive() && !due_)
        delay_.start();
}

void CollectionAutosave::SaveNow()
{
    if (writing_) {
        due_ = true;
        return;
    }
    due_ = false;
    saving_ = std::make_shared<const CardTableSnapshot>(table_.Snapshot());
    // One thread: the window's own keeps the other cores for the user. The
    // rows kept from the last save are let go there too, as may be most of
    // a million when the table has been replaced.
    writing_.reset(QThread::create([this, snapshot = saving_, last = std::move(written_)]() mutable {
        last.reset();
        outcome_ = file_.Save([&snapshot](QIODevice& device) { return WriteCollection(device, *snapshot, 1); });
    }));
    connect(writing_.get(), &QThread::finished, this, &CollectionAutosave::OnSaveWritten);
    writing_->start();
}

void CollectionAutosave::OnSaveWritten()
{
    // Stop() may have taken the save already.
    if (!writing_)
        return;
    writing_->wait();
    writing_.reset();
    const SaveOutcome outcome = std::move(outcome_);
    outcome_ = {};
    if (outcome.kind == SaveOutcome::Written)
        written_ = std::move(saving_);
    saving_.reset();
    if (due_ && started_)
        SaveNow();

    // A box runs its own event loop, in which the next save can end: the
    // state is settled before one is shown.
    QString why;
    if (outcome.kind == SaveOutcome::Written) {
        failureReported_ = false;
    } else if (outcome.kind == SaveOutcome::Failed && !failureReported_) {
        failureReported_ = true;
        why = QString::fromUtf8(Text::AutosaveFailed).arg(outcome.reason);
    }
    ReportSave(outcome, file_.Path(), why, messages_);
    emit Saved();
}
