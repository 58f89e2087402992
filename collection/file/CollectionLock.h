#pragma once

#include <QLockFile>
#include <QString>

inline constexpr const char* kLockFileName = "qmk.lock";
// The program that quillmark-cli's locks name: its application name, which
// is the name of its program file. A lock naming another program than the
// one running under its process number is stale, so the name is not set.
inline constexpr const char* kCliProgramName = "quillmark-cli";

// Keeps a second program from writing a data folder's collection file while
// one has it open: qmk.lock in the folder, held while this object lives, and
// taken over when the process that left it is gone. The window takes it
// before it reads anything; so must any command that writes qmk.dat.
class CollectionLock {
public:
    explicit CollectionLock(const QString& folder);

    // Takes the lock. False, with the text to show, when another program
    // holds it or no file can be made in the folder: then nothing may be
    // written there.
    bool Take(QString& refusal);

private:
    QString folder_;
    QLockFile file_;
};
