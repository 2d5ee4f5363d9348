#include "write/RichTextRuns.h"

namespace velloran::notes::write {

void appendTextRuns(store::RichTextParagraph& paragraph, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t tab; (tab = text.find('\t', start)) != std::string_view::npos; start = tab + 1) {
        if (tab > start) paragraph.runs.push_back({store::RunKind::Text, std::string(text.substr(start, tab - start))});
        paragraph.runs.push_back({store::RunKind::Tab, {}});
    }
    if (start < text.size() || paragraph.runs.empty())
        paragraph.runs.push_back({store::RunKind::Text, std::string(text.substr(start))});
}

}  // namespace velloran::notes::write
