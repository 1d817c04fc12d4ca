#include "medialib/xml/ref_ptr.h"

#include <cstdlib>
#include <new>

namespace rv {

namespace {

// Freeing a node frees its children, and theirs: done one by one from a queue rather than by
// nested destructor calls, so that no tree is too deep to free. The queue has no destructor, so
// that objects released when a thread ends (its name table) may still use it; its room is given
// back whenever it runs empty.
struct DestroyQueue {
    bool busy;
    TXmlBase** items;
    size_t size, capacity;

    void Push(TXmlBase* object) {
        if (size == capacity) {
            const size_t grown = capacity ? capacity * 2 : 64;
            void* room = std::realloc(items, grown * sizeof *items);
            if (!room) throw std::bad_alloc();
            items = static_cast<TXmlBase**>(room);
            capacity = grown;
        }
        items[size++] = object;
    }
};

thread_local constinit DestroyQueue destroyQueue{};

}  // namespace

void TXmlBase::Release() {
    if (--refCount_ > 0) return;
    DestroyQueue& queue = destroyQueue;
    if (queue.busy) {
        queue.Push(this);
        return;
    }
    queue.busy = true;
    delete this;
    while (queue.size > 0) delete queue.items[--queue.size];
    std::free(queue.items);
    queue.items = nullptr;
    queue.capacity = 0;
    queue.busy = false;
}

}  // namespace rv
