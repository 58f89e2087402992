#pragma once

#include <QByteArray>
#include <QString>

class QWidget;
struct CsvFileSettings;

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
};

// The desktop's file dialogs and the import dialog, over the window.
class DesktopCsvQuestions : public CsvQuestions {
public:
    explicit DesktopCsvQuestions(QWidget* parent);

    QString ExportPath(const QString& suggested) override;
    QString ImportPath(const QString& folder) override;
    bool ImportSettings(const QByteArray& bytes, CsvFileSettings& settings) override;

private:
    QWidget* parent_;
};
