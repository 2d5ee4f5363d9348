// velloran-dxl-import: builds a database from XML exports of a database or
// of single notes.
#include "common/CommandLine.h"
#include "common/FailurePrint.h"
#include "dxl/ImportCommand.h"
#include "files/LiveTemporaries.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-dxl-import --xml FILE|FOLDER [--xml ...] --out DATABASE.nsf [--overwrite]

Builds the database DATABASE.nsf from XML exports. Each --xml names an XML
file, or a folder whose *.xml files (not those of its sub-folders) are read
in the order of their names; --xml may be given more than once, and all
the files go into the one database.

A file's root may be
  <database>   a whole database
  <document>   one document (document format)
  <note>       one note in note format; class='document' is read as a
               document, form and response link then being its items
  <view>, <folder>
               one view or folder
  <acl>        the database's access list
  <form>, <subform>, <page>, <agent>, <scriptlibrary>, <sharedfield>,
  <helpaboutdocument> and the other design notes, which are skipped
A database takes the title its <database> element names, else the name of
the first file or folder.

Imported are documents with their items (a document's form and its parent,
for a response, become its Form and $REF items), rich text flattened to
text with its embedded objects, and attached files; views and folders with
their selection formulas and columns; the access list. A view whose formula
this program cannot evaluate is kept with its formulas but lists no
documents; folders are imported empty, as the export does not say which
documents they hold; both are listed. Other design notes (forms, agents ...)
and notes in note format other than documents are skipped and counted by
kind. A view without a name, or with one an earlier view has, is imported
under a name of its own and listed. Received mail's header items (RFC 822
text) become their text, its MIME parts the body's text and attachments.
Each file is read in the encoding it declares or marks (UTF-8, UTF-16,
GB18030, Big5 ...). External entities are never read; their references are
reported. The files are read as a stream, so their size does not matter.

  --overwrite  replace DATABASE.nsf if it exists: the new database is built
               beside it and takes its place only once complete. Without
               it an existing DATABASE.nsf is refused before anything is read.

Prints what was imported, skipped and could not be read, then where the
database was written. Exit status: 0 when everything was imported; 1 when a
part was lost or could not be read (the database then holds the rest and
the summary lists what is missing), or on an error, which names the file,
line and column of the XML and leaves no database behind (nor changes an
existing one); 2 when the command line is wrong.
)";

}  // namespace

int main(int argc, char** argv) {
    if (velloran::tools::asksForHelp(argc, argv)) {
        std::cout << kUsage;
        return 0;
    }
    try {
        // A signal that ends the import first removes the database it was building.
        velloran::platform::removeTemporariesOnTermination();
    } catch (const std::exception& e) {
        velloran::tools::printFailure(std::cerr, "velloran-dxl-import", e, velloran::tools::asksForVerbose(argc, argv));
        return 1;
    }
    return velloran::tools::dxl::runImport(argc, argv, std::cout, std::cerr);
}
