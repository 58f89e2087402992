#pragma once

#include <QByteArray>
#include <QString>

class QWidget;
struct CsvFileSettings;

// A CSV file that is almost all UTF-8, at the first line that is not.
struct CsvStrayLine {
    QString fileName;
    qint64 line = 0;
    // How many lines are not UTF-8, this one included.
    qint64 lines = 0;
    // The line, each byte that is not UTF-8 shown as U+FFFD.
    QString asUtf8;
    // The line with those bytes read as Windows-1252.
    QString repaired;
};

// The question asked about such a file, showing the line both ways.
QString StrayBytesQuestion(const CsvStrayLine& stray);

// What the CSV commands ask the user: where to export, what to import and
// how to read it. The window asks through this so that tests can answer
// without a modal dialog.
class CsvQuestions {
public:
    virtual ~CsvQuestions() = default;

    // The file to export to, starting from the suggested one; empty when
    // the user cancels.
    virtual QString ExportPath(const QString& suggested) = 0;
    // The file to import, looked for in the folder first; empty when the
    // user cancels.
    virtual QString ImportPath(const QString& folder) = 0;
    // How to read and map the file's bytes; false when the user cancels.
    virtual bool ImportSettings(const QByteArray& bytes, CsvFileSettings& settings) = 0;
    // Whether to read the bytes that are not UTF-8 in a file that almost
    // all is as Windows-1252, and the rest as UTF-8; false imports nothing.
    virtual bool ReadStrayBytesAsWindows1252(const CsvStrayLine& stray) = 0;
};

// The desktop's file dialogs and the import dialog, over the window.
class DesktopCsvQuestions : public CsvQuestions {
public:
    explicit DesktopCsvQuestions(QWidget* parent);

    QString ExportPath(const QString& suggested) override;
    QString ImportPath(const QString& folder) override;
    bool ImportSettings(const QByteArray& bytes, CsvFileSettings& settings) override;
    bool ReadStrayBytesAsWindows1252(const CsvStrayLine& stray) override;

private:
    QWidget* parent_;
};
