#pragma once
// The one exception type of the program. Every layer throws it: what() is
// the text for the person using the program (Chinese) and says what failed;
// kind() tells failures apart where a caller treats them differently (a
// usage mistake ends a tool with status 2, a formula's error value is a
// value); subject() names the file or object concerned; original() is the
// failure in the words of whoever reported it first (the engine's English
// text, the system's message) and error() the system's error number, for
// the reason. describeFailure() words it all for a person.
//
// It crosses the boundary of the component libraries, so its type
// information is shared (VELLORAN_INTERFACE), and it copies without
// throwing, as an exception must.
#include "component/ComponentObject.h"

#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

namespace velloran::platform {

struct FailureDetails {
    std::string subject;   // the file or object concerned
    std::string original;  // the reporter's own words (the English text, the system's message)
    int error = 0;         // the system's error number, 0 when none
    // Whether `original` says more than the text: false when it is the
    // same message in other words, which the user then misses nothing of.
    bool originalSaysMore = true;
};

class VELLORAN_INTERFACE Failure : public std::runtime_error {
public:
    enum class Kind {
        Usage,         // a command line the tool cannot take
        Input,         // a file or text the user gave holds what cannot be used
        File,          // a file cannot be read or written
        Folder,        // a folder cannot be made or opened, or something else is in its place
        Registry,      // the registry hive
        Component,     // a component cannot be found, loaded or made
        Settings,      // a settings file
        Database,      // the document-database engine
        FormulaValue,  // a formula's error value (@Error, @TextToNumber("abc"))
        WorkLimit,     // a formula ran out of its work budget
        Workbook,      // the spreadsheet component
        Log,           // the export log
        Number,        // a text that is not a whole number
        System,        // the system refused a request (a signal handler, the core dump setting)
    };

    using Details = FailureDetails;

    Failure(Kind kind, const std::string& text, const Details& details = {})
        : std::runtime_error(text),
          kind_(kind),
          subject_(details.subject),
          original_(details.original),
          error_(details.error),
          originalSaysMore_(details.originalSaysMore) {}

    Kind kind() const noexcept { return kind_; }
    bool is(Kind kind) const noexcept { return kind_ == kind; }
    // The engine's failures, its formulas' error values and work limit included.
    bool fromEngine() const noexcept {
        return kind_ == Kind::Database || kind_ == Kind::FormulaValue || kind_ == Kind::WorkLimit;
    }
    const char* subject() const noexcept { return subject_.what(); }
    // The reporter's own words; what() when it gave none.
    const char* original() const noexcept { return *original_.what() ? original_.what() : what(); }
    int error() const noexcept { return error_; }
    // Whether original() holds what the text leaves out.
    bool originalSaysMore() const noexcept {
        return originalSaysMore_ && *original_.what() && std::strcmp(original_.what(), what()) != 0;
    }

    // The same reason under another text and kind: for a caller that says
    // what it was doing when this failed.
    Failure retold(Kind kind, const std::string& text, const std::string& subject = {}) const {
        return Failure(kind, text,
                       {subject.empty() ? std::string(subject_.what()) : subject, original(), error_,
                        originalSaysMore()});
    }

private:
    Kind kind_;
    // Copy without throwing, as std::runtime_error's message does.
    std::runtime_error subject_;
    std::runtime_error original_;
    int error_;
    bool originalSaysMore_;
};

// The kind of any exception: a Failure's own; Database for anything else
// the engine or a library threw.
Failure::Kind kindOf(const std::exception& error);

// The original words of any exception (a Failure's original(), else what()),
// whether they say more than its text, and its system error number (0 when
// it is no Failure).
std::string originalOf(const std::exception& error);
bool originalSaysMore(const std::exception& error);
int errorOf(const std::exception& error);

// Any exception as a Failure: a Failure as it is, another one as a Failure
// of Kind::Database with its message.
Failure asFailure(const std::exception& error);

// Whether `error` is a Failure of `kind`.
bool isFailure(const std::exception& error, Failure::Kind kind);

// The system's error number in words a person reads ("没有权限"), or empty
// when there are none for it.
std::string reasonInWords(int error);

// The error for a person: the text, the subject when the text does not
// name it, and the reason in Chinese words when there are some. With
// `verbose`, a second line gives the original words and the error's
// symbolic name ("EACCES"). Any exception is taken; one that is not a
// Failure is told by its what().
std::string describeFailure(const std::exception& error, bool verbose);

// Whether describeFailure without `verbose` leaves out something the
// person would want: words of the original that say more than the text (and
// than the reason shown for the system's error), or an error number there
// are no words for.
bool hidesDetail(const std::exception& error);

}  // namespace velloran::platform
