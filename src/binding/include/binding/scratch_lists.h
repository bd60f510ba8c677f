// Reusable id lists for query results, one per level of query nesting: a
// script answering "has_metallic_armor" may run another query while the
// outer one still fills its list. Lists keep their capacity, so steady-state
// queries allocate nothing.
#pragma once

#include <memory>
#include <vector>

#include "server/warfield.h"

namespace warfield::gde {

class ScratchLists {
public:
    // Holds the list of one nesting level for the lifetime of a query call.
    class Lease {
    public:
        explicit Lease(ScratchLists& owner) : owner_(owner), list_(owner.acquire()) {}
        ~Lease() { --owner_.depth_; }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        InstanceIdList& list() { return list_; }

    private:
        ScratchLists& owner_;
        InstanceIdList& list_;
    };

    size_t depth() const { return depth_; }
    size_t levels() const { return lists_.size(); }

private:
    InstanceIdList& acquire() {
        if (depth_ == lists_.size()) {
            lists_.push_back(std::make_unique<InstanceIdList>());  // may throw; depth unchanged then
        }
        InstanceIdList& list = *lists_[depth_];
        list.clear();
        ++depth_;
        return list;
    }

    // Pointers, so a deeper level added later never moves a list in use.
    std::vector<std::unique_ptr<InstanceIdList>> lists_;
    size_t depth_ = 0;
};

}  // namespace warfield::gde
