#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// A fresh temporary folder made the working directory for one test, with
// helpers to write and read its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    QString Path(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;
    bool Exists(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// The bytes of a collection file for the given records (NAME first), CR LF.
QByteArray CollectionBytes(const QList<QList<QByteArray>>& records);
