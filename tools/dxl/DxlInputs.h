#pragma once
// The XML files one import reads: files named on the command line, and the
// XML files of folders named there.
#include <string>
#include <vector>

namespace velloran::tools::dxl {

struct XmlInputs {
    std::vector<std::string> files;     // in the order they are read
    std::vector<std::string> notRead;   // names in a folder left alone, each with why
};

// Each path that is a folder stands for its files whose names end in ".xml"
// (any letter case), sorted by name; sub-folders are not searched, and a
// link whose target is outside the folder, or is no plain file, is not
// followed but listed in `notRead`. Any other path is a file. Throws
// a tool Failure for a path that does not exist or a folder that holds no XML
// file.
XmlInputs listXmlInputs(const std::vector<std::string>& paths);

// The title of a database made from `path` when the XML names none: the
// file's name without its extension, or the folder's name.
std::string titleFromName(const std::string& path);

}  // namespace velloran::tools::dxl
