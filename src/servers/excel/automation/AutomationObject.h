#pragma once
// Base of the application's objects: refuses every call once the
// application has quit, and hands the rest to the object's own members.
#include "Call.h"
#include "Session.h"

#include "component/Dispatch.h"

namespace velloran::excel {

class AutomationObject : public component::Dispatch {
public:
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) final {
        session_->checkRunning();
        return dispatch(Call(kind_, member, kind, args));
    }

protected:
    // `kind` names the object in messages ("Range", "Workbook", ...).
    AutomationObject(SessionPtr session, const char* kind) : session_(std::move(session)), kind_(kind) {}
    // Runs the member `call` names; Call::failUnknown when there is none.
    virtual component::Variant dispatch(const Call& call) = 0;

    const SessionPtr session_;

private:
    const std::string_view kind_;
};

}  // namespace velloran::excel
