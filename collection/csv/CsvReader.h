#pragma once

#include "base/TextEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as spreadsheets write them (RFC 4180, read
// leniently). A field that starts with a double quote runs to the next lone
// quote and may hold the separator, line breaks and doubled quotes; anything
// else is taken as it stands. CR LF, LF and a lone CR each end a line.

struct CsvError {
    std::int64_t line = 0; // 1-based
    std::string reason;
};

// The rows of a CSV text, their field bytes packed into one buffer so that a
// file of short fields costs little more than its own size.
class CsvRows {
public:
    std::size_t RowCount() const { return rows_.size(); }
    // The 1-based line the row starts on.
    std::int64_t Line(std::size_t row) const { return rows_[row].line; }
    int FieldCount(std::size_t row) const;
    // Empty for a column the row does not have, -1 included.
    std::string_view Field(std::size_t row, int column) const;

private:
    friend bool ParseCsv(std::string_view text, char separator, CsvRows& rows, CsvError& error);

    struct Start {
        std::size_t firstField;
        std::int64_t line;
    };

    std::size_t FieldEnd(std::size_t row) const;
    void StartRow(std::int64_t line);
    void StartField();
    // Appends bytes to the field started last.
    void Append(std::string_view bytes);

    std::string text_;
    std::vector<std::size_t> fieldEnds_;
    std::vector<Start> rows_;
};

// Reads text split at separator; an empty line is no row, and neither is
// a first line "sep=," (or "sep=;", quoted or not), with which Excel names
// the separator. False, with no
// rows, when a quoted field is never closed: the error names the line its
// row starts on.
bool ParseCsv(std::string_view text, char separator, CsvRows& rows, CsvError& error);

// The one a first line "sep=X" names; else comma, semicolon or tab: the one found the same number of times on each of
// the first lines (quoted text aside), else the one found most; comma when
// none is found.
char DetectSeparator(std::string_view text);

// Files from Windows programs are often in the ANSI code page instead.
enum class CsvEncoding { Utf8, Windows1252 };

bool HasUtf8Bom(std::string_view bytes);

// Whether bytes that are not valid UTF-8 are almost all UTF-8 all the same:
// they hold characters beyond ASCII written in UTF-8, three or more for each
// byte that UTF-8 does not allow, as a UTF-8 file does into which a line
// from an older program was pasted. Read as Windows-1252, every other
// accented letter of such a file would be garbled.
bool IsAlmostUtf8(std::string_view bytes);

// UTF-8 when the file starts with a UTF-8 byte order mark, is valid UTF-8
// throughout or almost all UTF-8, else Windows-1252. An almost-UTF-8 file is
// then refused at its first line that is not UTF-8, unless those bytes are
// read as Windows-1252 (Windows1252StraysToUtf8) or the whole file is.
CsvEncoding DetectEncoding(std::string_view bytes);

// The lines of a UTF-8 file that hold bytes UTF-8 does not allow.
struct CsvStrayBytes {
    // The 1-based line of the first such byte, as ParseCsv counts lines,
    // and that line's bytes without its line break.
    std::int64_t line = 0;
    std::string_view text;
    // How many lines hold such bytes.
    std::int64_t lines = 0;
};

// False when the bytes (after a byte order mark) are valid UTF-8; else
// true, with where they are not.
bool FindStrayBytes(std::string_view bytes, CsvStrayBytes& stray);

// The file's text as UTF-8: UTF-8 bytes without their byte order mark, or
// Windows-1252 bytes converted. False when UTF-8 bytes are not valid; the
// error names the first line that is not.
bool DecodeCsvText(std::string_view bytes, CsvEncoding encoding, std::string& text, CsvError& error);

// DecodeCsvText and ParseCsv in one step, UTF-8 read where it stands rather
// than copied. The rows' texts are in the encoding asked for: a collection
// kept in Windows-1252 takes its values in it. The error names the line
// that cannot be decoded, holds a character that encoding lacks, or whose
// quote is never closed.
bool ReadCsv(std::string_view bytes, CsvEncoding encoding, char separator, CsvRows& rows, CsvError& error,
             TextEncoding into = TextEncoding::Utf8);
