#pragma once
// A new database imported from XML for each test, and ways to read it back.
#include "TempDir.h"
#include "dxl/DxlImport.h"
#include "store/NoteStore.h"
#include "store/ViewStore.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace velloran::tools::dxl {

inline std::string textOf(const notes::store::RichTextParagraph& paragraph) {
    std::string out;
    for (const auto& run : paragraph.runs) out += run.kind == notes::store::RunKind::Tab ? "\t" : run.content;
    return out;
}

inline const notes::store::StoredItem& item(const std::vector<notes::store::StoredItem>& items, const std::string& name) {
    for (const notes::store::StoredItem& item : items)
        if (item.name == name) return item;
    throw std::runtime_error("no item " + name);
}

class DxlImportFixture : public ::testing::Test {
protected:
    ImportSummary importXml(const std::string& xml) { return importDxlFile(dir_.write("in.xml", xml), database_); }

    std::string errorOf(const std::string& xml) {
        try {
            importXml(xml);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }

    notes::store::Connection& db() {
        if (!connection_)
            connection_ = std::make_unique<notes::store::Connection>(database_, notes::store::Connection::Mode::ReadOnly);
        return *connection_;
    }

    std::int64_t noteIdOf(const std::string& unid) {
        return notes::store::NoteStore(db()).headerByUnid(unid).value().noteId;
    }

    std::vector<notes::store::StoredItem> itemsOf(const std::string& unid) {
        return notes::store::NoteStore(db()).items(noteIdOf(unid));
    }

    testing::TempDir dir_;
    std::string database_ = dir_.file("imported.nsf");
    std::unique_ptr<notes::store::Connection> connection_;
};

}  // namespace velloran::tools::dxl
