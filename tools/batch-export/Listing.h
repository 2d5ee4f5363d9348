#pragma once
// --list: what a weekly script needs to find its view. Printed one entry a
// line, fields separated by tabs, for scripts to cut:
//   views:      name, aliases (separated by ","), document count
//   databases:  path in the data folder ("\" between parts), title
#include "BatchOptions.h"

#include <ostream>
#include <string>

namespace velloran::batch {

// With options.database, that database's views; otherwise (with --server)
// the databases of the server's data folder. A database the user cannot
// open is listed with the reason in place of its title.
void printList(const BatchOptions& options, const std::string& hivePath, std::ostream& out);

}  // namespace velloran::batch
