#pragma once
#include "api/NotesApi.h"
#include "component/OpenDatabase.h"

namespace velloran::notes::component {

class DatabaseObject : public Database {
public:
    explicit DatabaseObject(OpenDatabasePtr database);

    std::string Title() const override { return title_; }
    std::string FilePath() const override { return database_->connection->path(); }
    StringList Views() override;
    ViewPtr GetView(const std::string& name) override;
    DocumentPtr GetDocumentByUNID(const std::string& universalId) override;

private:
    OpenDatabasePtr database_;
    std::string title_;
    std::vector<store::ViewDesign> views_;
};

}  // namespace velloran::notes::component
