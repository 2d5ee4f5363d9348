#include "access/Directory.h"

#include "access/UserNames.h"
#include "formula/NoteContext.h"
#include "store/NsfFile.h"
#include "text/Utf8.h"

#include <filesystem>
#include <sodium.h>

namespace velloran::notes::access {

namespace {

struct Person {
    std::string canonicalName;
    std::string passwordHash;
};

std::vector<std::string> textValues(formula::NoteContext& note, const char* item) {
    std::vector<std::string> out;
    for (const Value& value : note.item(item).value_or(ValueList{}))
        if (auto* text = std::get_if<std::string>(&value)) out.push_back(*text);
    return out;
}

bool isPerson(formula::NoteContext& note) {
    std::vector<std::string> form = textValues(note, "Form");
    return !form.empty() && text::equalsIgnoringCase(form.front(), "Person");
}

bool answersTo(formula::NoteContext& note, const std::string& userName) {
    for (const char* item : {"FullName", "ShortName"})
        for (const std::string& name : textValues(note, item))
            if (sameName(name, userName)) return true;
    return false;
}

std::optional<Person> findPerson(const std::string& directoryFile, const std::string& userName) {
    auto connection = store::openForReading(directoryFile);
    store::NoteStore notes(*connection);
    for (std::int64_t id : notes.noteIds()) {
        formula::NoteContext note(notes, *notes.header(id));
        if (!isPerson(note) || !answersTo(note, userName)) continue;
        std::vector<std::string> fullNames = textValues(note, "FullName");
        std::vector<std::string> hashes = textValues(note, "HTTPPassword");
        return Person{fullNames.empty() ? userName : fullNames.front(), hashes.empty() ? std::string() : hashes.front()};
    }
    return std::nullopt;
}

void initialiseSodium() {
    if (sodium_init() < 0) throw EngineError("The password library cannot start");
}

}  // namespace

std::string authenticate(const std::string& dataPath, const std::string& userName, const std::string& password) {
    initialiseSodium();
    std::string directoryFile = (std::filesystem::path(dataPath) / kDirectoryFile).string();
    if (!std::filesystem::exists(directoryFile))
        throw EngineError("The user directory " + directoryFile + " does not exist, so no user can log in");
    std::optional<Person> person = findPerson(directoryFile, userName);
    if (!person) throw EngineError("The user '" + userName + "' is not known in the directory " + directoryFile);
    if (person->passwordHash.empty() ||
        crypto_pwhash_str_verify(person->passwordHash.c_str(), password.c_str(), password.size()) != 0)
        throw EngineError("Wrong password for user '" + userName + "'");
    return person->canonicalName;
}

std::optional<std::string> findUser(const std::string& directoryFile, const std::string& userName) {
    std::optional<Person> person = findPerson(directoryFile, userName);
    if (!person) return std::nullopt;
    return person->canonicalName;
}

std::string hashPassword(const std::string& password, bool fast) {
    initialiseSodium();
    char hash[crypto_pwhash_STRBYTES];
    unsigned long long ops = fast ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    std::size_t memory = fast ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str_alg(hash, password.c_str(), password.size(), ops, memory, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw EngineError("Not enough memory to hash the password");
    return hash;
}

}  // namespace velloran::notes::access
