#pragma once
// The command line of velloran-dxl-import, apart from --help.
#include <iosfwd>

namespace velloran::tools::dxl {

// Imports what the arguments name, printing the summary and where the
// database went on `out`, errors on `err`. Returns the exit status: 0 when
// everything was imported, 1 when a part was lost or the import failed
// (nothing is then written), 2 when the command line is wrong (nothing is
// read).
int runImport(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace velloran::tools::dxl
