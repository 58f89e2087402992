// Any templates and any field values: filling must not crash, must give the
// same row whatever it is appended to, and the page written as a text-mode
// file must read back as the same text.
#include "base/FileAccess.h"
#include "base/TextMode.h"
#include "pages/PageTemplates.h"

#include <QBuffer>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Card card;
    for (std::string& field : card)
        field = input.ConsumeRandomLengthString(64);
    Preferences prefs;
    for (std::string* field : {&prefs.Name, &prefs.Email, &prefs.Address1, &prefs.Address2, &prefs.City,
                               &prefs.State, &prefs.Country})
        *field = input.ConsumeRandomLengthString(64);
    PageTotals totals;
    for (std::string* value : {&totals.cards, &totals.copies, &totals.paid, &totals.value, &totals.valueDate})
        *value = input.ConsumeRandomLengthString(16);
    const std::string rowTemplate = input.ConsumeRandomLengthString(1024);
    const std::string outerTemplate = input.ConsumeRemainingBytesAsString();

    std::string row;
    std::string scratch;
    AppendFilledRow(row, rowTemplate, card, scratch);
    std::string appended = "prefix";
    AppendFilledRow(appended, rowTemplate, card, scratch);
    if (appended != "prefix" + row)
        std::abort();
    if (rowTemplate.find('#') == std::string::npos && row != rowTemplate)
        std::abort();

    const std::string pageData = row + row + FooterRow();
    std::string page;
    StreamPage(
        outerTemplate, [&pageData](PageStream& stream) { return stream.Write(pageData); }, prefs, totals,
        [&page](std::string_view piece) {
            page.append(piece);
            return true;
        });
    // The page streamed in pieces of every size is the whole-text replacement.
    std::string whole = outerTemplate;
    ReplaceAll(whole, "#DATA#", pageData);
    for (const auto& [placeholder, value] : {std::pair<const char*, const std::string&>{"#PREFSNAME#", prefs.Name},
                                             {"#PREFSADDRESS1#", prefs.Address1},
                                             {"#PREFSADDRESS2#", prefs.Address2},
                                             {"#PREFSCITY#", prefs.City},
                                             {"#PREFSSTATE#", prefs.State},
                                             {"#PREFSCOUNTRY#", prefs.Country},
                                             {"#PREFSEMAIL#", prefs.Email},
                                             {"#TOTALCARDS#", totals.cards},
                                             {"#TOTALCOPIES#", totals.copies},
                                             {"#TOTALPAID#", totals.paid},
                                             {"#TOTALVALUE#", totals.value},
                                             {"#VALUEDATE#", totals.valueDate}})
        ReplaceAll(whole, placeholder, value);
    if (page != whole)
        std::abort();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WritePageText(buffer, page))
        std::abort();
    const std::string_view written(buffer.data().constData(), std::size_t(buffer.data().size()));
    if (page.find(kEndOfFileByte) == std::string::npos && FromTextMode(written) != page)
        std::abort();
    return 0;
}
