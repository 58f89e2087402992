#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A subcommand's arguments: options that take a value ("--folder DIR" or
// "--folder=DIR"), switches, and the rest in order.
class CliOptions {
public:
    // False, with the reason, for an option the command does not know or one
    // that lacks its value.
    bool Parse(const QStringList& arguments, const QStringList& valueOptions, const QStringList& switches,
               QString& reason);

    bool Has(const QString& option) const { return values_.contains(option); }
    QString Value(const QString& option, const QString& fallback = {}) const
    {
        return values_.value(option, fallback);
    }
    const QStringList& Positional() const { return positional_; }

private:
    QHash<QString, QString> values_;
    QStringList positional_;
};

// Enters the collection folder given by --folder, the current one otherwise.
bool EnterFolder(const CliOptions& options, QString& reason);
