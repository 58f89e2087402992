#pragma once

#include "collection/csv/CsvImport.h"
#include "collection/csv/CsvReader.h"
#include "collection/csv/CsvWriter.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string_view>

class CardTableModel;

// How a CSV file is read and mapped: what the import dialog shows and the
// command line's options change.
struct CsvFileSettings {
    char separator = ',';
    CsvEncoding encoding = CsvEncoding::Utf8;
    CsvImportOptions options;
};

// The encoding and separator detected, and the columns mapped from the
// first row taken as the header.
CsvFileSettings DetectCsvFileSettings(std::string_view bytes);

// At least the first count rows of the file, or all it has, read from as
// little of it as gives them: a part that ends at a line break, twice as
// long each time a quoted field runs past its end. False as ReadCsv is.
bool ReadCsvPreview(std::string_view bytes, CsvEncoding encoding, char separator, std::size_t count, CsvRows& rows,
                    CsvError& error);

// Reads the whole file as the settings say, and the import it makes of the
// collection, for ApplyCsvImport; the values are in the collection's text
// encoding. False when the file cannot be read, or holds a character a
// Windows-1252 collection cannot keep; the error names the line. The bytes are let go of as soon as they are read,
// and the rows before the import is returned, so that a large file is not
// held three times over.
bool ReadCsvImport(QByteArray bytes, const CsvFileSettings& settings, const CardTableModel& table,
                   CsvImportResult& result, CsvError& error);

// Writes every Card to the file safely, as WriteCsv writes them. False, with
// the reason when asked for, when the file cannot be written.
bool ExportCsvFile(const QString& path, const CardTableModel& table, QString* reason = nullptr,
                   CsvFormulas formulas = CsvFormulas::Guarded, CsvFormat format = CsvFormat::Quillmark);
