#pragma once

#include <exception>

#include "tree/base_tree.h"

namespace rv {

// Raises the tree's update count for its lifetime without OnUpdating or a redraw switch, as the
// structural operations do; lowering it back to 0 packs the selection and delivers a pending
// OnChange.
class TInternalUpdateScope {
public:
    explicit TInternalUpdateScope(TBaseVirtualTree& tree)
        : tree_(tree), exceptions_(std::uncaught_exceptions()) {
        tree_.StartInternalUpdate();
    }
    ~TInternalUpdateScope() noexcept(false) {
        // While an exception passes, a failing notification must not end the program.
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                tree_.EndInternalUpdate();
            } catch (...) {
            }
        } else {
            tree_.EndInternalUpdate();
        }
    }
    TInternalUpdateScope(const TInternalUpdateScope&) = delete;
    TInternalUpdateScope& operator=(const TInternalUpdateScope&) = delete;

private:
    TBaseVirtualTree& tree_;
    int exceptions_;
};

}  // namespace rv
