#pragma once
// The values of a list, found by hashing in constant time, so that @Unique
// and @IsMember stay linear in the lengths of their lists. Two values match
// as the operator "=" of the list type says: same kind, equal value (0 and
// -0 alike); NaN matches nothing, not even itself.
#include "api/NotesApi.h"

#include <unordered_set>

namespace velloran::notes::formula {

class ValueSet {
public:
    // True when the value was not there yet (always for NaN, which is not kept).
    // The set refers to `value`, which must outlive it.
    bool insert(const Value& value);
    bool contains(const Value& value) const;

private:
    struct Hash {
        std::size_t operator()(const Value* value) const;
    };
    struct Equal {
        bool operator()(const Value* a, const Value* b) const { return *a == *b; }
    };
    std::unordered_set<const Value*, Hash, Equal> values_;
};

}  // namespace velloran::notes::formula
