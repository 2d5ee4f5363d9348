#pragma once
// Base of the program's typed wrappers over the document-database
// component. A wrapper holds at most one component object: ConnectTo holds a
// given one, Disconnect drops it, destruction drops it. An operation on an
// empty wrapper first connects by creating a new object of the wrapper's
// class; only the session class can be created that way, so the other
// wrappers then fail with the component runtime's classic message. Every
// failure of the component reaches the caller as a platform::Failure: the
// component's own, which carries its message for the user and its English
// original, or one of Kind::Database with the message of any other
// exception.
#include "NotesApi.h"
#include "errors/Failure.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <utility>

namespace velloran::domino {

// A failure of the program's own use of the component: Kind::Database.
inline platform::Failure databaseFailure(const std::string& text) {
    return platform::Failure(platform::Failure::Kind::Database, text);
}

// The component's failure as a platform::Failure: the component's own
// Failure as it is, any other exception as a Failure of Kind::Database.
[[noreturn]] void throwComponentFailure(const std::exception& failure);

inline constexpr const char* kNotConnectedMessage =
    "DefaultInterface is NULL. Component is not connected to Server. You must call 'Connect' or "
    "'ConnectTo' before this operation";

std::string toUtf8(const QString& text);
// The same into `out`, reusing its storage; ASCII text, as most item names
// are, is copied without the general converter.
void toUtf8(const QString& text, std::string& out);
QString fromUtf8(const std::string& text);
QStringList fromUtf8(const notes::StringList& texts);

template <class Interface>
class NotesWrapper {
public:
    using InterfacePtr = std::shared_ptr<Interface>;

    NotesWrapper() = default;
    virtual ~NotesWrapper() = default;
    NotesWrapper(const NotesWrapper&) = delete;
    NotesWrapper& operator=(const NotesWrapper&) = delete;

    void ConnectTo(InterfacePtr object) { object_ = std::move(object); }
    void Disconnect() { object_.reset(); }
    bool IsConnected() const { return object_ != nullptr; }

    // The held object, connecting first when none is held.
    const InterfacePtr& DefaultInterface() {
        if (!object_) object_ = createObject();
        if (!object_) throw databaseFailure(kNotConnectedMessage);
        return object_;
    }

protected:
    // Creates a new object of the wrapper's class; none for classes that
    // cannot be created directly.
    virtual InterfacePtr createObject() { return nullptr; }

    // Runs one component call, turning its failures into platform::Failure.
    template <class Call>
    auto call(Call&& callOnObject) {
        const InterfacePtr& object = DefaultInterface();
        try {
            return callOnObject(*object);
        } catch (const platform::Failure&) {
            throw;
        } catch (const std::exception& e) {
            throwComponentFailure(e);
        }
    }

private:
    InterfacePtr object_;
};

}  // namespace velloran::domino
