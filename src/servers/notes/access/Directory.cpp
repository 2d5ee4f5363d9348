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
    std::int64_t noteId = 0;
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

std::string firstText(formula::NoteContext& note, const char* item) {
    std::vector<std::string> values = textValues(note, item);
    return values.empty() ? std::string() : values.front();
}

// Another person's hash, to copy its cost parameters; nothing when their
// document is damaged, as any other person's hash serves as well.
std::string sampleHashOf(formula::NoteContext& note) {
    try {
        return firstText(note, kPasswordItem);
    } catch (const Failure& e) {
        if (!e.fromEngine()) throw;
        return {};
    }
}

// What one pass over the directory found: the user, and a hash whose cost
// parameters a refusal of an unknown user copies.
struct Lookup {
    std::optional<Person> person;
    std::string sampleHash;
};

// Reads every Person document, whether or not the user comes early, so the
// lookup costs the same for known and unknown users.
Lookup lookUp(const std::string& directoryFile, const std::string& userName) {
    auto connection = store::openForReading(directoryFile);
    store::NoteStore notes(*connection);
    Lookup found;
    for (std::int64_t id : notes.noteIds()) {
        formula::NoteContext note(notes, *notes.header(id));
        if (!isPerson(note)) continue;
        if (!found.person && answersTo(note, userName)) {
            std::string fullName = firstText(note, "FullName");
            found.person = Person{fullName.empty() ? userName : fullName, firstText(note, kPasswordItem), id};
        } else if (found.sampleHash.empty()) {
            found.sampleHash = sampleHashOf(note);
        }
    }
    return found;
}

// The "$argon2id$v=19$m=...,t=...,p=...$" part of a hash string; empty when
// the text is not one.
std::string costParameters(const std::string& hash) {
    if (!hash.starts_with("$argon2")) return {};
    std::size_t end = 0;
    for (int field = 0; field < 3; ++field) {
        end = hash.find('$', end + 1);
        if (end == std::string::npos) return {};
    }
    return hash.substr(0, end + 1);
}

// A well-formed hash that no password matches (its stored digest is all
// zero bytes), with the cost parameters of `sample`, or those hashPassword
// uses when the sample is not a hash.
std::string unmatchableHash(const std::string& sample) {
    std::string parameters = costParameters(sample);
    if (parameters.empty())
        parameters = std::string(crypto_pwhash_argon2id_STRPREFIX) + "v=19$m=" +
                     std::to_string(crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024) +
                     ",t=" + std::to_string(crypto_pwhash_OPSLIMIT_INTERACTIVE) + ",p=1$";
    // 16 zero bytes of salt and 32 of digest, in unpadded base64.
    return parameters + std::string(22, 'A') + "$" + std::string(43, 'A');
}

void initialiseSodium() {
    if (sodium_init() < 0) throw engineFailure(msg::kPasswordLibrary);
}

}  // namespace

bool verifyArgon2(const std::string& hash, const std::string& password) {
    return crypto_pwhash_str_verify(hash.c_str(), password.c_str(), password.size()) == 0;
}

std::string authenticate(const std::string& dataPath, const std::string& userName, const std::string& password,
                         const PasswordVerifier& verify) {
    initialiseSodium();
    if (!std::filesystem::is_directory(dataPath)) throw engineFailure(msg::kDataFolderMissing, {dataPath});
    std::string directoryFile = (std::filesystem::path(dataPath) / kDirectoryFile).string();
    if (!std::filesystem::exists(directoryFile)) throw engineFailure(msg::kDirectoryMissing, {directoryFile});
    Lookup found = lookUp(directoryFile, userName);
    bool hasPassword = found.person && !found.person->passwordHash.empty();
    // Every attempt pays for exactly one verification.
    bool matches = verify(hasPassword ? found.person->passwordHash : unmatchableHash(found.sampleHash), password);
    // An empty password never logs in, whatever hash a directory stored for it.
    if (!hasPassword || !matches || password.empty()) throw engineFailure(msg::kWrongCredentials, {});
    return found.person->canonicalName;
}

std::optional<DirectoryEntry> findUser(const std::string& directoryFile, const std::string& userName) {
    std::optional<Person> person = lookUp(directoryFile, userName).person;
    if (!person) return std::nullopt;
    return DirectoryEntry{person->canonicalName, person->noteId};
}

std::string hashPassword(const std::string& password, bool fast) {
    initialiseSodium();
    char hash[crypto_pwhash_STRBYTES];
    unsigned long long ops = fast ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    std::size_t memory = fast ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str_alg(hash, password.c_str(), password.size(), ops, memory, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw engineFailure(msg::kHashNoMemory);
    return hash;
}

bool holdsPasswordHash(const std::string& text) {
    return text.find("$argon2id$v=") != std::string::npos || text.find("$argon2i$v=") != std::string::npos;
}

}  // namespace velloran::notes::access
