#pragma once

#include "prefs/Preferences.h"

#include <QString>

#include <functional>
#include <span>
#include <string>

class CardTableModel;
class MessageInterface;
class QIODevice;

// What makes one kind of page: its two templates and where it goes. A page
// without a location in Preferences (location null) always goes to its
// default one, which, as every default, is in the collection's folder.
struct PageDescription {
    const char* outerTemplate;
    const char* rowTemplate;
    std::string Preferences::*location;
    const char* defaultLocation;
};

inline constexpr PageDescription kCataloguePage{"CatalogueOutside.htm", "CatalogueInside.htm",
                                                &Preferences::Catalogue, "catalogue.htm"};
inline constexpr PageDescription kListPage{"ListOutside.htm", "ListInside.htm", &Preferences::List, "list.htm"};

struct PageTemplateTexts {
    std::string outer;
    std::string row;
    // Why the sample templates could not be copied in where one was
    // missing; empty when they could, or none was missing.
    QString samplesNotCopied = {};
};

// A template's text; empty, after a box, when it cannot be opened, and
// empty, without a box, when it does not exist (no empty file is made in
// its place, which would keep the sample template out for good).
std::string LoadTemplate(const char* fileName, MessageInterface& messages);
// The page's two templates, once the sample templates have been copied into
// the working folder where it has none of its own.
PageTemplateTexts LoadPageTemplates(const PageDescription& page, MessageInterface& messages);

// Both templates of the page, as quillmark-cli reads them: nothing is
// created. False, with the reason, when one is missing or cannot be read.
bool ReadPageTemplates(const PageDescription& page, PageTemplateTexts& templates, QString& reason);

// What publishing the page from these templates comes to: the page, or
// none at all when the outer template is missing or holds only white space
// (the page would be empty), or a page without the Cards when the row
// template holds only white space and the table has Cards.
enum class PageOutcome { Page, EmptyOuterTemplate, EmptyRowTemplate };
PageOutcome OutcomeOf(const PageTemplateTexts& templates, const CardTableModel& table);
// The same for a page of the given rows only.
PageOutcome OutcomeOf(const PageTemplateTexts& templates, std::size_t rowCount);

// Writes the page safely with writePage, which fills the file. 1 when the
// page was written, -1 (after a box) when it was not.
int WritePage(const QString& path, const std::function<bool(QIODevice&)>& writePage, MessageInterface& messages);

// The page's location, which becomes the default one when none is set. It
// is text of the preferences file's encoding.
QString PagePath(const PageDescription& page, Preferences& prefs);
// The location as the collector reads it in the boxes.
QString PageLocationText(const PageDescription& page, const Preferences& prefs);

// What a page would replace at its location.
enum class PageTarget {
    // Nothing, a page, or what is no regular file and is thus never replaced.
    Free,
    // A regular file that is not an HTML page: only the collector may have
    // it replaced.
    NotAPage,
    // No page may go there: the location holds a NUL, or names one of the
    // collection's own files. The reason says which.
    Refused,
};
PageTarget CheckPageTarget(const QString& path, QString& reason);

// Fills the file with the page: the outer template around every row of the
// table filled into the row template, then the owner's details and the
// table's totals, counted once per page, and last the card search where the
// outer template asks for it with #CARDSEARCH#. Text from a Windows-1252 file goes
// into a page that declares UTF-8 as UTF-8. The page goes to the file as it
// is built: it may be many times the collection's size.
std::function<bool(QIODevice&)> PageWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           const Preferences& prefs);
// The same page of the given rows only, in their order, its totals counting
// them alone. The rows are read where they stand: they must outlive the writer.
std::function<bool(QIODevice&)> PageWriter(const PageTemplateTexts& templates, const CardTableModel& table,
                                           std::span<const int> rows, const Preferences& prefs);

// Writes the page to its location and offers to open it. A location that
// is refused is reported, and one whose file is not an HTML page is
// replaced only when the collector says so. Says so, and writes nothing,
// when the page would be empty for want of its outer template; says so in
// the offer when the row template left the Cards out.
void PublishPage(const PageDescription& page, const PageTemplateTexts& templates, const CardTableModel& table,
                 Preferences& prefs, MessageInterface& messages);
// The same for a page of the given rows only.
void PublishPage(const PageDescription& page, const PageTemplateTexts& templates, const CardTableModel& table,
                 std::span<const int> rows, Preferences& prefs, MessageInterface& messages);
