#include "app/print/PrintFeature.h"

#include "app/print/PrintDocument.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "collection/filter/FilteredCardTable.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QWidget>

PrintFeature::PrintFeature(WindowActions& actions, const FilteredCardTable& shownCards, const Preferences& prefs,
                           UserQuestions& questions, QWidget& window)
    : QObject(&window)
    , shownCards_(shownCards)
    , prefs_(prefs)
    , questions_(questions)
    , window_(window)
{
    actions.Bind(actions.Register("printAction", Text::PrintMenu, QKeySequence::Print), [this] { Print(); });
}

void PrintFeature::Print()
{
    if (shownCards_.rowCount() == 0) {
        questions_.ShowInformation(QString::fromUtf8(Text::PrintNoCards), QString::fromUtf8(Text::PrintCaption));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(Text::PrintTitle));
    QPrintPreviewDialog preview(&printer, &window_);
    preview.setObjectName(QStringLiteral("printPreviewDialog"));
    preview.setWindowTitle(QString::fromUtf8(Text::PrintCaption));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintOn(*target); });
    questions_.AskDialog(preview);
}

// Built anew for each request: the preview asks again whenever the page
// setup changes, and the document follows the printer's sheets.
bool PrintFeature::PrintOn(QPrinter& printer)
{
    const std::unique_ptr<QTextDocument> document =
        BuildPrintDocument(shownCards_.Table(), shownCards_.ShownRows(), prefs_);
    if (PrintCardDocument(*document, printer))
        return true;
    questions_.ShowError(QString::fromUtf8(Text::PrintFailed).arg(printer.outputFileName().isEmpty()
                                                                      ? printer.printerName()
                                                                      : printer.outputFileName()),
                         QString::fromUtf8(Text::PrintCaption));
    return false;
}
