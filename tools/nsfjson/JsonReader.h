#pragma once
// Turns the parts of a JSON database description into the writer's inputs.
#include "write/Inputs.h"

#include <nlohmann/json.hpp>

#include <string>

namespace velloran::tools {

// A JSON value with its path ("documents[3].items[1]") for error messages.
class JsonAt {
public:
    JsonAt(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const nlohmann::json& value() const { return value_; }
    const std::string& path() const { return path_; }
    bool has(const char* key) const { return value_.is_object() && value_.contains(key); }
    JsonAt operator[](const char* key) const;    // throws when missing
    JsonAt operator[](std::size_t index) const;
    std::size_t size() const { return value_.size(); }

    [[noreturn]] void fail(const std::string& message) const;
    std::string text() const;
    double number() const;
    // A whole number from `min` to `max`; anything else (a fraction, a text,
    // a number out of range) throws naming the path and the range.
    std::int64_t wholeNumber(std::int64_t min, std::int64_t max) const;
    // An array (possibly empty); throws when the value is something else.
    const nlohmann::json& array() const;
    std::string optionalText(const char* key, const std::string& fallback) const;

private:
    const nlohmann::json& value_;
    std::string path_;
};

notes::write::NoteInput readDocument(const JsonAt& document, const std::string& baseFolder);
notes::write::ViewInput readView(const JsonAt& view);
notes::store::AclEntry readAclEntry(const JsonAt& entry);

}  // namespace velloran::tools
