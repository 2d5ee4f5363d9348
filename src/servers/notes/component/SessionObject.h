#pragma once
#include "access/Installation.h"
#include "api/NotesApi.h"

#include <optional>

namespace velloran::notes::component {

// The session class: who is logged in, and the way to databases.
class SessionObject : public Session {
public:
    // `hivePath`: the registry that describes this machine's installation.
    explicit SessionObject(std::string hivePath) : hivePath_(std::move(hivePath)) {}

    void Initialize(const std::string& password) override;
    void InitializeUsingNotesUserName(const std::string& userName, const std::string& password) override;
    std::string UserName() const override { return userName_.value_or(std::string()); }
    DatabasePtr GetDatabase(const std::string& server, const std::string& path, bool createOnFail) override;
    ValueList Evaluate(const std::string& formula, const DocumentPtr& document) override;

private:
    DatabasePtr openOnServer(const std::string& server, const std::string& path);

    std::string hivePath_;
    std::optional<std::string> userName_;
};

}  // namespace velloran::notes::component
