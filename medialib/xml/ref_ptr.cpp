#include "medialib/xml/ref_ptr.h"

#include <vector>

namespace rv {

namespace {

// Freeing a node frees its children, and theirs: done one by one from a queue rather than by
// nested destructor calls, so that no tree is too deep to free.
struct DestroyQueue {
    bool busy = false;
    std::vector<TXmlBase*> pending;
};

thread_local DestroyQueue destroyQueue;

}  // namespace

void TXmlBase::Release() {
    if (--refCount_ > 0) return;
    DestroyQueue& queue = destroyQueue;
    if (queue.busy) {
        queue.pending.push_back(this);
        return;
    }
    queue.busy = true;
    delete this;
    while (!queue.pending.empty()) {
        TXmlBase* next = queue.pending.back();
        queue.pending.pop_back();
        delete next;
    }
    queue.busy = false;
}

}  // namespace rv
